#pragma once
// The command frame every exported command runs: an active sewage system (else alert 3449), the document
// lock, the module's resource handle pushed, one modal dialog, the handle popped and the lock released.
//
// The frame is also the command boundary. Everything the command changes in the drawing is recorded in an
// undo journal; an exception that leaves the command's body is caught here: the update sessions and
// transactions the command left open are cancelled, every change is taken back, highlighting is removed,
// and the person sees alert 3450 with what failed. The host goes on as if the command had not run. An
// exception a host raises on purpose to abandon the command (TAVHost::HostInterrupt, such as an error in
// a script driving the dialog) is treated the same, without the alert, and goes on to the host.
#include <functional>

#include "module/app/ModuleResources.h"
#include "platform/gis/DocLock.h"
#include "platform/host/Document.h"

constexpr int kMsgNoSewageSystem = 3449;
constexpr int kMsgCommandFailed = 3450;

// Keeps the module's resource handle pushed for a scope.
class CModuleResourceScope {
public:
    CModuleResourceScope() { acDocManagerPtr()->pushResourceHandle(TavxModuleInstance()); }
    ~CModuleResourceScope() { acDocManagerPtr()->popResourceHandle(); }
    CModuleResourceScope(const CModuleResourceScope&) = delete;
    CModuleResourceScope& operator=(const CModuleResourceScope&) = delete;
};

// True when the active system is a sewage system; otherwise shows alert 3449.
bool RequireActiveSewageSystem();

// Runs a command's body inside the boundary described above.
void RunCommandBody(const std::function<void()>& body);

template <class Dialog>
void RunWithModuleResources() {
    RunCommandBody([] {
        CModuleResourceScope resources;
        Dialog dialog;
        dialog.DoModal();
    });
}

template <class Dialog>
void RunCommandDialog() {
    if (!RequireActiveSewageSystem()) return;
    CTAVCDocLock lock;
    RunWithModuleResources<Dialog>();
}
