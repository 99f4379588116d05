#pragma once
// The host command stack: commands registered by group and global name, looked up and invoked by name.
#include <string>
#include <vector>

#include "platform/host/ResourceModule.h"

namespace TAVHost {

using CommandFunction = void (*)();

constexpr int kCmdTransparent = 1;  // may run while another command is active

struct CommandEntry {
    std::string group;
    std::string globalName;
    std::string localName;
    int flags = 0;
    CommandFunction function = nullptr;
    void* uiContext = nullptr;
    int functionCode = -1;
    HINSTANCE resource = nullptr;
};

// Status codes of the command stack.
enum class CmdStatus { Ok = 0, DuplicateCommandName = 1, InvalidInput = 2, NotFound = 3 };

class AcRxObject {
public:
    virtual ~AcRxObject() = default;
};

class AcEdCommandStack : public AcRxObject {
public:
    CmdStatus addCommand(const std::string& group, const std::string& globalName,
                         const std::string& localName, int flags, CommandFunction function,
                         void* uiContext = nullptr, int functionCode = -1, HINSTANCE resource = nullptr);
    CmdStatus removeCmd(const std::string& group, const std::string& globalName);
    CmdStatus removeGroup(const std::string& group);
    // Global names compare case-insensitively, as command names do in the host.
    const CommandEntry* lookupGlobalCmd(const std::string& globalName) const;
    const std::vector<CommandEntry>& Commands() const { return m_commands; }

private:
    std::vector<CommandEntry> m_commands;
};

// The system registry, where the host keeps its services by name ("ACAD_REGISTERED_COMMANDS").
class SystemRegistry {
public:
    AcRxObject* at(const std::string& name) const;
};

}  // namespace TAVHost

TAVHost::SystemRegistry* acrxSysRegistry();
TAVHost::AcEdCommandStack* acedRegCmds();
