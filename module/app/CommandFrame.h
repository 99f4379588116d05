#pragma once
// The command frame every exported command runs: an active sewage system (else alert 3449), the document
// lock, the module's resource handle pushed, one modal dialog, the handle popped (also when the dialog
// throws) and the lock released.
#include "module/app/ModuleResources.h"
#include "platform/gis/DocLock.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/host/Editor.h"

// Keeps the module's resource handle pushed for a scope.
class CModuleResourceScope {
public:
    CModuleResourceScope() { acDocManagerPtr()->pushResourceHandle(TavxModuleInstance()); }
    ~CModuleResourceScope() { acDocManagerPtr()->popResourceHandle(); }
    CModuleResourceScope(const CModuleResourceScope&) = delete;
    CModuleResourceScope& operator=(const CModuleResourceScope&) = delete;
};

constexpr int kMsgNoSewageSystem = 3449;

// True when the active system is a sewage system; otherwise shows alert 3449.
inline bool RequireActiveSewageSystem() {
    auto system = TAVGis::System::CSystemManager::GetActiveSystem();
    if (!system || system->GetSystemFunction() != TAVGis::System::kSystemFunctionSewage) {
        acedAlert(TAVGis::CModuleConfiguration::GetMsg(kMsgNoSewageSystem));
        return false;
    }
    return true;
}

template <class Dialog>
void RunWithModuleResources() {
    CModuleResourceScope resources;
    Dialog dialog;
    dialog.DoModal();
}

template <class Dialog>
void RunCommandDialog() {
    if (!RequireActiveSewageSystem()) return;
    CTAVCDocLock lock;
    RunWithModuleResources<Dialog>();
}
