#include "platform/host/CommandStack.h"

#include <algorithm>
#include <cctype>

namespace TAVHost {
namespace {
bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

CmdStatus AcEdCommandStack::addCommand(const std::string& group, const std::string& globalName,
                                       const std::string& localName, int flags, CommandFunction function,
                                       void* uiContext, int functionCode, HINSTANCE resource) {
    if (group.empty() || globalName.empty() || function == nullptr) return CmdStatus::InvalidInput;
    if (lookupGlobalCmd(globalName)) return CmdStatus::DuplicateCommandName;
    m_commands.push_back({group, globalName, localName, flags, function, uiContext, functionCode, resource});
    return CmdStatus::Ok;
}

CmdStatus AcEdCommandStack::removeCmd(const std::string& group, const std::string& globalName) {
    auto it = std::find_if(m_commands.begin(), m_commands.end(), [&](const CommandEntry& e) {
        return EqualNoCase(e.group, group) && EqualNoCase(e.globalName, globalName);
    });
    if (it == m_commands.end()) return CmdStatus::NotFound;
    m_commands.erase(it);
    return CmdStatus::Ok;
}

CmdStatus AcEdCommandStack::removeGroup(const std::string& group) {
    auto n = std::erase_if(m_commands, [&](const CommandEntry& e) { return EqualNoCase(e.group, group); });
    return n ? CmdStatus::Ok : CmdStatus::NotFound;
}

const CommandEntry* AcEdCommandStack::lookupGlobalCmd(const std::string& globalName) const {
    for (const auto& e : m_commands)
        if (EqualNoCase(e.globalName, globalName)) return &e;
    return nullptr;
}

AcRxObject* SystemRegistry::at(const std::string& name) const {
    if (name == "ACAD_REGISTERED_COMMANDS") return acedRegCmds();
    return nullptr;
}

}  // namespace TAVHost

TAVHost::SystemRegistry* acrxSysRegistry() {
    static TAVHost::SystemRegistry registry;
    return &registry;
}

TAVHost::AcEdCommandStack* acedRegCmds() {
    static TAVHost::AcEdCommandStack stack;
    return &stack;
}
