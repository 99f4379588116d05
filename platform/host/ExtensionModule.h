#pragma once
// Extension-module bookkeeping of a plug-in library: its instance handle and its place in the chain of
// libraries searched for resources.
#include <vector>

#include "platform/host/ResourceModule.h"

struct AFX_EXTENSION_MODULE {
    bool bInitialized = false;
    HINSTANCE hModule = nullptr;
    HINSTANCE hResource = nullptr;
};

// Attaches the module; false when the handle is null.
bool AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HINSTANCE hInstance);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state);
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE h);

// Links a module into the resource chain for as long as it lives.
class CDynLinkLibrary {
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    ~CDynLinkLibrary();
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
    HINSTANCE Resource() const { return m_resource; }

private:
    HINSTANCE m_resource;
};

const std::vector<CDynLinkLibrary*>& AfxResourceChain();
void InitAcUiDLL();
