#include "ModuleHost.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <sstream>
#include <stdexcept>

#include "platform/host/CommandStack.h"
#include "platform/host/ExtensionModule.h"

#ifndef SEWER_MODULE_FILE
#define SEWER_MODULE_FILE "TAVXSewageCalculations.so"
#endif

namespace {
constexpr const char* kModuleName = "TAVXSewageCalculations";
constexpr const char* kExportClass = "CSewageCalculations";

// The exported name of a static member function without arguments of the commands class.
std::string ExportedName(const std::string& function) {
    std::string cls = kExportClass;
    return "_ZN" + std::to_string(cls.size()) + cls + std::to_string(function.size()) + function + "Ev";
}
}  // namespace

ModuleHost::~ModuleHost() {
    try {
        Unload();
    } catch (...) {
    }
}

std::string ModuleHost::DefaultModulePath() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return SEWER_MODULE_FILE;
    std::string exe(buf, static_cast<std::size_t>(n));
    return exe.substr(0, exe.find_last_of('/') + 1) + SEWER_MODULE_FILE;
}

void ModuleHost::Load(const std::string& path) {
    if (m_handle) return;
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) throw std::runtime_error(std::string("cannot load the module: ") + dlerror());
    m_entry =
        reinterpret_cast<AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*)>(dlsym(m_handle, "acrxEntryPoint"));
    if (!m_entry) {
        dlclose(m_handle);
        m_handle = nullptr;
        throw std::runtime_error("the module has no acrxEntryPoint");
    }
    for (auto* lib : AfxResourceChain())
        if (lib->Resource() && lib->Resource()->moduleName == kModuleName) m_resources = lib->Resource();
    m_packet = AppPacket{kModuleName};
    m_entry(AcRx::kInitAppMsg, &m_packet);
}

void ModuleHost::Unload() {
    if (!m_handle) return;
    m_entry(AcRx::kUnloadAppMsg, &m_packet);
    dlclose(m_handle);
    m_handle = nullptr;
    m_entry = nullptr;
    m_resources = nullptr;
}

std::vector<HostCommand> ModuleHost::Commands() const {
    std::vector<HostCommand> out;
    for (const auto& e : acedRegCmds()->Commands())
        if (e.resource == m_resources || e.group == kModuleName)
            out.push_back({e.globalName, "registered command", true});
    if (!m_resources) return out;
    auto it = m_resources->files.find("menu.txt");
    if (it == m_resources->files.end()) return out;
    std::istringstream in(it->second);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        auto tab = line.find('\t');
        out.push_back({line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1), false});
    }
    return out;
}

bool ModuleHost::Invoke(const std::string& name) {
    if (const auto* entry = acedRegCmds()->lookupGlobalCmd(name)) {
        entry->function();
        return true;
    }
    if (!m_handle) return false;
    for (const auto& c : Commands()) {
        if (c.registered || c.name != name) continue;
        auto fn = reinterpret_cast<void (*)()>(dlsym(m_handle, ExportedName(name).c_str()));
        if (!fn) return false;
        fn();
        return true;
    }
    return false;
}
