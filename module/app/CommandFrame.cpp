#include "module/app/CommandFrame.h"

#include <exception>
#include <string>

#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Editor.h"
#include "platform/host/HostUi.h"
#include "platform/host/UndoJournal.h"
#include "platform/network/TopoEditor.h"
#include "platform/sessions/UpdateSessions.h"

namespace {

// What was open when the command started: the command closes what it opens, on every path.
struct OpenAtStart {
    int label = TAVGis::Label::CNetworkLabelUtility::Counts().open;
    int longitudinal = TAVGis::Longitudinal::CLSEditor::Counts().open;
    int transactions = TAVGis::Topology::CTopoEditor::TransactionDepth();

    // Cancels what the command left open (innermost first), then takes its changes back.
    void Abandon(TAVHost::UndoJournal& journal) const {
        while (TAVGis::Longitudinal::CLSEditor::Counts().open > longitudinal)
            TAVGis::Longitudinal::CLSEditor::CancelUpdateSession();
        while (TAVGis::Topology::CTopoEditor::TransactionDepth() > transactions)
            TAVGis::Topology::CTopoEditor::AbortTransaction(0);
        while (TAVGis::Label::CNetworkLabelUtility::Counts().open > label)
            TAVGis::Label::CNetworkLabelUtility::CancelUpdateSession();
        journal.Rollback();
        acedRedraw(nullptr, kRedrawUnhighlight);
    }
};

}  // namespace

bool RequireActiveSewageSystem() {
    auto system = TAVGis::System::CSystemManager::GetActiveSystem();
    if (!system || system->GetSystemFunction() != TAVGis::System::kSystemFunctionSewage) {
        acedAlert(TAVGis::CModuleConfiguration::GetMsg(kMsgNoSewageSystem));
        return false;
    }
    return true;
}

void RunCommandBody(const std::function<void()>& body) {
    const OpenAtStart open;
    TAVHost::UndoJournal journal;
    std::string failure;
    try {
        body();
        return;
    } catch (const TAVHost::HostInterrupt&) {
        open.Abandon(journal);
        throw;
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown error";
    }
    open.Abandon(journal);
    acedAlert(TAVGis::CModuleConfiguration::GetMsg(kMsgCommandFailed) + " " + failure);
}
