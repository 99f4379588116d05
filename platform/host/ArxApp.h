#pragma once
// The host's application framework: application message codes, the application base classes with their
// message dispatch, and the calls an application makes on initialisation.
#include <string>

namespace AcRx {
enum AppMsgCode {
    kNullMsg = 0,
    kInitAppMsg = 1,
    kUnloadAppMsg = 2,
    kLoadDwgMsg = 3,
    kUnloadDwgMsg = 4,
    kInvkSubrMsg = 5,
    kCfgMsg = 6,
    kEndMsg = 7,
    kQuitMsg = 8,
    kSaveMsg = 9,
    kDependencyMsg = 10,
    kNoDependencyMsg = 11,
    kOleUnloadAppMsg = 12,
    kPreQuitMsg = 13,
    kInitDialogMsg = 14,
    kEndDialogMsg = 15,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// What the host passes with an application message: the application it is meant for.
struct AppPacket {
    std::string appName;
    bool unlocked = false;
    bool mdiAware = false;
};

class AcRxDbxApp {
public:
    AcRxDbxApp(bool unlockFlag, bool mdiAwareFlag) : m_unlock(unlockFlag), m_mdiAware(mdiAwareFlag) {}
    virtual ~AcRxDbxApp() = default;
    // Hands a message to its handler (codes 0 to 15); any other code answers kRetOK.
    AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);

    virtual AcRx::AppRetCode On_kInitAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kUnloadAppMsg(void* pkt);
    virtual AcRx::AppRetCode On_kLoadDwgMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kUnloadDwgMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kInvkSubrMsg(void*) { return AcRx::kRetOK; }
    virtual AcRx::AppRetCode On_kOtherMsg(AcRx::AppMsgCode, void*) { return AcRx::kRetOK; }
    virtual void RegisterServerComponents() {}

    bool UnlockFlag() const { return m_unlock; }
    bool MdiAwareFlag() const { return m_mdiAware; }

private:
    bool m_unlock;
    bool m_mdiAware;
};

class AcRxArxApp : public AcRxDbxApp {
public:
    using AcRxDbxApp::AcRxDbxApp;
};

void acrxUnlockApplication(void* pkt);
void acrxRegisterAppMDIAware(void* pkt);
