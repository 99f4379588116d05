#include "platform/host/ExtensionModule.h"

#include <algorithm>

namespace {
std::vector<CDynLinkLibrary*> g_chain;
HINSTANCE g_defaultResource = nullptr;
}  // namespace

bool AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE hInstance) {
    if (!hInstance) return false;
    state.bInitialized = true;
    state.hModule = hInstance;
    state.hResource = hInstance;
    return true;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state) {
    state.bInitialized = false;
    state.hModule = nullptr;
    state.hResource = nullptr;
}

HINSTANCE AfxGetResourceHandle() {
    return g_defaultResource;
}
void AfxSetResourceHandle(HINSTANCE h) {
    g_defaultResource = h;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state) : m_resource(state.hResource) {
    g_chain.push_back(this);
}
CDynLinkLibrary::~CDynLinkLibrary() {
    std::erase(g_chain, this);
}

const std::vector<CDynLinkLibrary*>& AfxResourceChain() {
    return g_chain;
}
void InitAcUiDLL() {}
