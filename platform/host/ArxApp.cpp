#include "platform/host/ArxApp.h"

AcRx::AppRetCode AcRxDbxApp::acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt) {
    switch (msg) {
        case AcRx::kInitAppMsg:
            return On_kInitAppMsg(pkt);
        case AcRx::kUnloadAppMsg:
            return On_kUnloadAppMsg(pkt);
        case AcRx::kLoadDwgMsg:
            return On_kLoadDwgMsg(pkt);
        case AcRx::kUnloadDwgMsg:
            return On_kUnloadDwgMsg(pkt);
        case AcRx::kInvkSubrMsg:
            return On_kInvkSubrMsg(pkt);
        default:
            if (msg >= 0 && msg <= 15) return On_kOtherMsg(msg, pkt);
            return AcRx::kRetOK;
    }
}

AcRx::AppRetCode AcRxDbxApp::On_kInitAppMsg(void*) {
    return AcRx::kRetOK;
}
AcRx::AppRetCode AcRxDbxApp::On_kUnloadAppMsg(void*) {
    return AcRx::kRetOK;
}

void acrxUnlockApplication(void* pkt) {
    if (pkt) static_cast<AppPacket*>(pkt)->unlocked = true;
}
void acrxRegisterAppMDIAware(void* pkt) {
    if (pkt) static_cast<AppPacket*>(pkt)->mdiAware = true;
}
