#include "module/app/ModuleResources.h"

#include <cstdlib>
#include <memory>
#include <sstream>

#include "platform/host/ExtensionModule.h"
#include "platform/ui/DialogTemplate.h"

const TAVHost::ResourceModule& TavxModuleResourceData();

namespace {

constexpr int DLL_PROCESS_DETACH = 0;
constexpr int DLL_PROCESS_ATTACH = 1;

AFX_EXTENSION_MODULE g_extensionModule;
HINSTANCE g_instance = nullptr;
HINSTANCE g_defaultResource = nullptr;
HINSTANCE g_moduleResource = nullptr;
std::unique_ptr<CDynLinkLibrary> g_dynLink;

// Library entry on process attach and detach; always reports success.
bool DllMain(HINSTANCE instance, int reason) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_instance = instance;
        if (!g_extensionModule.bInitialized) {
            if (AfxInitExtensionModule(g_extensionModule, instance)) {
                g_defaultResource = AfxGetResourceHandle();
                g_moduleResource = instance;
                g_dynLink = std::make_unique<CDynLinkLibrary>(g_extensionModule);
            }
            InitAcUiDLL();
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        if (g_extensionModule.bInitialized) {
            g_dynLink.reset();
            AfxTermExtensionModule(g_extensionModule);
        }
    }
    return true;
}

struct ProcessAttachment {
    ProcessAttachment() { DllMain(&TavxModuleResourceData(), DLL_PROCESS_ATTACH); }
    ~ProcessAttachment() { DllMain(&TavxModuleResourceData(), DLL_PROCESS_DETACH); }
} g_attachment;

}  // namespace

HINSTANCE TavxModuleInstance() {
    return g_instance;
}

std::string TavxModuleString(int id) {
    if (!g_instance) return {};
    auto it = g_instance->files.find("strings.txt");
    if (it == g_instance->files.end()) return {};
    std::istringstream in(it->second);
    std::string line;
    const std::string prefix = std::to_string(id) + "\t";
    while (std::getline(in, line))
        if (line.starts_with(prefix)) return line.substr(prefix.size());
    return {};
}
