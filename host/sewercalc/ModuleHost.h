#pragma once
// Loads the sewage-calculations module as a plug-in (dlopen), sends it the application messages, finds its
// resources and invokes its commands: the registered ones through the command stack, the exported ones by
// their exported names.
#include <string>
#include <vector>

#include "platform/host/ArxApp.h"
#include "platform/host/ResourceModule.h"

struct HostCommand {
    std::string name;
    std::string title;
    bool registered = false;  // in the command stack (else an exported function)
};

class ModuleHost {
public:
    ModuleHost() = default;
    ~ModuleHost();
    ModuleHost(const ModuleHost&) = delete;
    ModuleHost& operator=(const ModuleHost&) = delete;

    // Loads the module file and initialises it; throws std::runtime_error with the loader's message.
    void Load(const std::string& path);
    // Sends the unload message and closes the library.
    void Unload();
    bool IsLoaded() const { return m_handle != nullptr; }

    HINSTANCE Resources() const { return m_resources; }
    std::vector<HostCommand> Commands() const;
    // Runs a command by name; false when there is no such command.
    bool Invoke(const std::string& name);

    // Where the module file is looked for: next to the running program.
    static std::string DefaultModulePath();

private:
    void* m_handle = nullptr;
    AcRx::AppRetCode (*m_entry)(AcRx::AppMsgCode, void*) = nullptr;
    HINSTANCE m_resources = nullptr;
    AppPacket m_packet;
};
