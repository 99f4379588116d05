#include "module/app/RoreduVododezidevi2App.h"

#include "module/app/CommandFrame.h"
#include "module/app/ModuleResources.h"
#include "module/manager/DlgFlowCalculationsManager.h"

namespace {

// The registered command: only the resource part of the command frame, no system test and no lock.
void fman() {
    RunWithModuleResources<CDlgFlowCalculationsManager>();
}

constexpr int kCmdModal = 0;
constexpr int kCmdUsePickSet = 0;
constexpr int kCmdAppContext = 0x200000;  // flag marking an application-context command

const ModuleCommandEntry kCommands[] = {
    {"TAVXSewageCalculations", "fman", "fman", TAVHost::kCmdTransparent | kCmdModal | kCmdUsePickSet, &fman,
     nullptr, -1},
};

CRoreduVododezidevi2App theApp;

}  // namespace

const ModuleCommandEntry* ModuleCommandTable(int& count) {
    count = static_cast<int>(sizeof(kCommands) / sizeof(kCommands[0]));
    return kCommands;
}

AcRx::AppRetCode CRoreduVododezidevi2App::On_kInitAppMsg(void* pkt) {
    AcRx::AppRetCode ret = AcRxArxApp::On_kInitAppMsg(pkt);
    acrxUnlockApplication(pkt);
    acrxRegisterAppMDIAware(pkt);
    auto* stack = static_cast<TAVHost::AcEdCommandStack*>(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
    if (stack) {
        for (const auto& e : kCommands) {
            HINSTANCE resource = (e.flags & kCmdAppContext) ? nullptr : TavxModuleInstance();
            stack->addCommand(e.group, e.globalName, e.localName, e.flags, e.function, e.uiContext, -1,
                              resource);
        }
    }
    return ret;
}

AcRx::AppRetCode CRoreduVododezidevi2App::On_kUnloadAppMsg(void* pkt) {
    AcRx::AppRetCode ret = AcRxArxApp::On_kUnloadAppMsg(pkt);
    auto* stack = static_cast<TAVHost::AcEdCommandStack*>(acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS"));
    if (stack)
        for (const auto& e : kCommands) stack->removeCmd(e.group, e.globalName);
    return ret;
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    return theApp.acrxEntryPoint(msg, pkt);
}
