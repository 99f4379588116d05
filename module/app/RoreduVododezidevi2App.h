#pragma once
// The application object: registers the module's own command "fman" when the host initialises the
// application and removes it on unload.
#include "platform/host/ArxApp.h"
#include "platform/host/CommandStack.h"

class CRoreduVododezidevi2App : public AcRxArxApp {
public:
    CRoreduVododezidevi2App() : AcRxArxApp(true, true) {}
    AcRx::AppRetCode On_kInitAppMsg(void* pkt) override;
    AcRx::AppRetCode On_kUnloadAppMsg(void* pkt) override;
    void RegisterServerComponents() override {}
};

// One entry of the module's command table.
struct ModuleCommandEntry {
    const char* group;
    const char* globalName;
    const char* localName;
    int flags;
    TAVHost::CommandFunction function;
    void* uiContext;
    int localNameStringId;
};

// The command table: the one command the module registers itself.
const ModuleCommandEntry* ModuleCommandTable(int& count);

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* pkt);
