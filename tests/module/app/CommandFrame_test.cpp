// The command frame: the system test, the lock, the resource handle, one modal dialog, and the module's
// registration of its own command.
#include "module/app/CommandFrame.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "module/app/ModuleResources.h"
#include "module/app/RoreduVododezidevi2App.h"
#include "module/app/SewageCalculations.h"
#include "module/data/SectionData.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/CommandStack.h"
#include "platform/network/TopoEditor.h"
#include "platform/sessions/UpdateSessions.h"
#include "platform/ui/AcUiTabMainDialog.h"
#include "platform/ui/DialogTemplate.h"
#include "support/TestSupport.h"
#include "testing/DrawingDump.h"

namespace {

struct ExportedCommand {
    const char* name;
    void (*function)();
    int templateId;  // 0: no dialog
};

const ExportedCommand kExported[] = {
    {"RunFlowCalcManager", &CSewageCalculations::RunFlowCalcManager, 348},
    {"CalcFlowTotal", &CSewageCalculations::CalcFlowTotal, 222},
    {"CalcWasteWaterPercent", &CSewageCalculations::CalcWasteWaterPercent, 209},
    {"CalcWasteWaterArea", &CSewageCalculations::CalcWasteWaterArea, 217},
    {"CalcWasteWaterTurkish", &CSewageCalculations::CalcWasteWaterTurkish, 337},
    {"CalcWasteWaterTurkishISKI", &CSewageCalculations::CalcWasteWaterTurkishISKI, 350},
    {"CalcWasteWaterUneven", &CSewageCalculations::CalcWasteWaterUneven, 336},
    {"CalcInfluenceAreasTurkish", &CSewageCalculations::CalcInfluenceAreasTurkish, 342},
    {"CalcRainITP", &CSewageCalculations::CalcRainITP, 225},
    {"CalcRainSimple", &CSewageCalculations::CalcRainSimple, 218},
    {"CalcFlowAdditional", &CSewageCalculations::CalcFlowAdditional, 219},
    {"InputSewageData", &CSewageCalculations::InputSewageData, 226},
    {"CalcHydraulicsSewage", &CSewageCalculations::CalcHydraulicsSewage, 205},
    {"WriteHydraulicsToFile", &CSewageCalculations::WriteHydraulicsToFile, 200},
    {"CalcHydraulicsSewage_Calculator", &CSewageCalculations::CalcHydraulicsSewage_Calculator, 202},
};

class CommandFrameTest : public testsupport::DrawingTest {};

TEST_F(CommandFrameTest, CommandsNeedAnActiveSewageSystem) {
    const std::string msg3449 = TAVGis::CModuleConfiguration::GetMsg(3449);
    struct Case {
        const char* what;
        int function;  // -1: no active system
    };
    for (const Case c : {Case{"no active system", -1}, Case{"water system", 1}, Case{"gas system", 7}}) {
        if (c.function < 0) {
            TAVGis::System::CSystemManager::SetActiveSystem({});
        } else {
            auto other = TAVGis::System::CSystemManager::AddSystem(
                std::string("other") + std::to_string(c.function), c.function);
            TAVGis::System::CSystemManager::SetActiveSystem(other);
        }
        for (const auto& cmd : kExported) {
            ui.alerts.clear();
            ui.modalRuns = 0;
            cmd.function();
            EXPECT_EQ(ui.alerts, std::vector<std::string>{msg3449}) << c.what << ": " << cmd.name;
            EXPECT_EQ(ui.modalRuns, 0) << c.what << ": " << cmd.name;
            EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);
            EXPECT_EQ(doc->LockCount(), 0);
        }
        ui.alerts.clear();
        CSewageCalculations::InputPipeRoughness();
        EXPECT_EQ(ui.alerts, std::vector<std::string>{msg3449}) << c.what;
    }
}

TEST_F(CommandFrameTest, EachCommandOpensItsDialogInsideTheFrame) {
    for (const auto& cmd : kExported) {
        ui.modalTemplates.clear();
        ui.alerts.clear();
        std::size_t depthSeen = 0;
        int lockSeen = 0;
        HINSTANCE handleSeen = nullptr;
        ui.drivers.push_back([&](TAVUi::CAdUiBaseDialog& dlg) {
            depthSeen = acDocManagerPtr()->ResourceStackDepth();
            lockSeen = doc->LockCount();
            handleSeen = acDocManagerPtr()->curResourceHandle();
            dlg.OnCancel();
        });
        cmd.function();
        ui.drivers.clear();
        if (ui.modalTemplates.empty()) {
            // A dialog may close itself at start (an empty network); it still ran inside the frame.
            EXPECT_TRUE(ui.alerts.empty()) << cmd.name;
            continue;
        }
        EXPECT_EQ(ui.modalTemplates.front(), cmd.templateId) << cmd.name;
        EXPECT_EQ(depthSeen, 1u) << cmd.name;
        EXPECT_EQ(lockSeen, 1) << cmd.name;
        EXPECT_EQ(handleSeen, TavxModuleInstance()) << cmd.name;
        EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u) << cmd.name;
        EXPECT_EQ(doc->LockCount(), 0) << cmd.name;
    }
}

// Control ids have one source, the templates: every id a dialog's code names (its handlers, its data
// exchange both ways) is a control of its template, on every dialog and every tab page of the module.
TEST_F(CommandFrameTest, EveryDialogNamesOnlyControlsOfItsTemplate) {
    Section("S1", "N1", "N2");  // dialogs that close themselves on an empty network stay open
    for (const auto& cmd : kExported) {
        ui.alerts.clear();
        int checked = 0;
        ui.drivers.push_back([&](TAVUi::CAdUiBaseDialog& dlg) {
            std::vector<TAVUi::CAdUiBaseDialog*> dialogs{&dlg};
            if (auto* host = dynamic_cast<TAVUi::CAcUiTabMainDialog*>(&dlg);
                host && host->GetAcadTabPointer())
                for (int i = 0; i < host->GetAcadTabPointer()->GetTabCount(); ++i)
                    dialogs.push_back(host->GetAcadTabPointer()->GetDialogPtr(i));
            for (auto* d : dialogs) {
                EXPECT_EQ(d->MappedControlsMissing(), std::vector<int>{})
                    << cmd.name << " " << d->TemplateId();
                EXPECT_NO_THROW(d->UpdateData(true)) << cmd.name << " " << d->TemplateId();
                EXPECT_NO_THROW(d->UpdateData(false)) << cmd.name << " " << d->TemplateId();
                ++checked;
            }
            dlg.OnCancel();
        });
        cmd.function();
        ui.drivers.clear();
        EXPECT_GT(checked, 0) << cmd.name;
        EXPECT_TRUE(ui.alerts.empty()) << cmd.name;
    }
}

TEST_F(CommandFrameTest, InputPipeRoughnessOnlyAlerts) {
    CSewageCalculations::InputPipeRoughness();
    EXPECT_EQ(ui.alerts, std::vector<std::string>{"hrapavost"});
    EXPECT_EQ(ui.modalRuns, 0);
    EXPECT_EQ(doc->LockCount(), 0);
    EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);
}

TEST_F(CommandFrameTest, ADialogThatThrowsLeavesTheFrameAsItWas) {
    const std::string failed = TAVGis::CModuleConfiguration::GetMsg(kMsgCommandFailed) + " handler failed";
    for (const auto& cmd : kExported) {
        ui.alerts.clear();
        ui.drivers.push_back([](TAVUi::CAdUiBaseDialog&) { throw std::runtime_error("handler failed"); });
        const int modalBefore = ui.modalRuns;
        EXPECT_NO_THROW(cmd.function()) << cmd.name;
        ui.drivers.clear();
        if (ui.modalRuns == modalBefore) continue;  // closed itself before running
        EXPECT_EQ(ui.alerts, std::vector<std::string>{failed}) << cmd.name;
        EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u) << cmd.name;
        EXPECT_EQ(doc->LockCount(), 0) << cmd.name;
        EXPECT_EQ(TAVUi::CurrentModalDialog(), nullptr) << cmd.name;
    }
}

// The command boundary: whatever a command wrote before an exception left it is taken back, the sessions
// and transactions it opened are cancelled, and the person is told what failed.
class CommandBoundaryTest : public testsupport::DrawingTest {
protected:
    // A division at N2 into two sections without diameters: the transit calculation must ask there.
    void BuildDivision() {
        Section("S1", "N1", "N2");
        Section("S2", "N2", "N3");
        Section("S3", "N2", "N4");
        Section("S4", "N3", "N5");
        for (const char* s : {"S1", "S2", "S3", "S4"}) {
            Set(s, "FLOW_ADDITIONAL", TAVGis::Data::CDataBox(0.01));
            Set(s, "FLOW_TRANSIT", TAVGis::Data::CDataBox(7.0));  // deleted first by a calculation
        }
    }
    std::string Failed(const std::string& what) const {
        return TAVGis::CModuleConfiguration::GetMsg(kMsgCommandFailed) + " " + what;
    }
    void ExpectNothingOpen() const {
        EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().open, 0);
        EXPECT_EQ(TAVGis::Longitudinal::CLSEditor::Counts().open, 0);
        EXPECT_EQ(TAVGis::Topology::CTopoEditor::TransactionDepth(), 0);
        EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);
        EXPECT_EQ(doc->LockCount(), 0);
    }
};

TEST_F(CommandBoundaryTest, AnExceptionInsideAHandlerLeavesTheDrawingAsItWas) {
    BuildDivision();
    const std::string before = testsupport::DumpDrawing(*doc);
    // The transit tab (template 220): select every component (279), calculate (1). The calculation deletes
    // every FLOW_TRANSIT, then asks for the direction at N2, where the pick fails.
    ui.onPick = [](const TAVHost::PickRequest&) { throw std::runtime_error("pick failed"); };
    ui.drivers.push_back([](TAVUi::CAdUiBaseDialog& main) {
        TAVUi::CAdUiBaseDialog* page = main.ActivePage();
        ASSERT_NE(page, nullptr);
        page->Notify(279, TAVUi::Notification::Clicked);
        page->Notify(TAVUi::IDOK, TAVUi::Notification::Clicked);
    });
    CSewageCalculations::CalcFlowTotal();
    EXPECT_EQ(ui.pickRequests.size(), 1u);
    EXPECT_EQ(ui.alerts, std::vector<std::string>{Failed("pick failed")});
    EXPECT_EQ(testsupport::DumpDrawing(*doc), before);
    EXPECT_EQ(Get("S2", "FLOW_TRANSIT"), 7.0);
    ExpectNothingOpen();
}

TEST_F(CommandBoundaryTest, WritesOfEveryKindAreTakenBack) {
    BuildDivision();
    const std::string before = testsupport::DumpDrawing(*doc);
    // Waste water by percent (template 209), saved: a parameter set in a dictionary, SPECIFIC_FLOW and
    // FLOW_WASTE_PER on every section, the set's name as extended data; then the dialog fails.
    struct Case {
        const char* what;
        bool interrupt;  // a host abandons the command on purpose
    };
    for (const Case c : {Case{"failure after a save", false}, Case{"host interrupt after a save", true}}) {
        ui.alerts.clear();
        bool saved = false;
        ui.drivers.push_back([&](TAVUi::CAdUiBaseDialog& dlg) {
            dlg.Notify(TAVUi::IDOK, TAVUi::Notification::Clicked);
            saved = testsupport::DumpDrawing(*doc) != before;
            if (c.interrupt) throw TAVHost::HostInterrupt("script error");
            throw std::runtime_error("after save");
        });
        if (c.interrupt) {
            EXPECT_THROW(CSewageCalculations::CalcWasteWaterPercent(), TAVHost::HostInterrupt) << c.what;
            EXPECT_TRUE(ui.alerts.empty()) << c.what;
        } else {
            EXPECT_NO_THROW(CSewageCalculations::CalcWasteWaterPercent()) << c.what;
            EXPECT_EQ(ui.alerts, std::vector<std::string>{Failed("after save")}) << c.what;
        }
        EXPECT_TRUE(saved) << c.what << ": the save wrote nothing, so the test proves nothing";
        EXPECT_EQ(testsupport::DumpDrawing(*doc), before) << c.what;
        ExpectNothingOpen();
    }
}

TEST_F(CommandBoundaryTest, SessionsAndTransactionsLeftOpenAreCancelledNotCommitted) {
    Section("S1", "N1", "N2");
    const auto label = TAVGis::Label::CNetworkLabelUtility::Counts();
    const auto longitudinal = TAVGis::Longitudinal::CLSEditor::Counts();
    RunCommandBody([&] {
        CBatchWriteFrame frame;
        CSectionData::SetFLOW_TOTAL(Topo().FindSectionByName("S1"), 0.5);
        TAVGis::Label::CNetworkLabelUtility::StartUpdateSession(0);  // never closed by the body
        TAVGis::Topology::CTopoEditor::BeginTransaction(0);
        throw std::logic_error("broken invariant");
    });
    EXPECT_EQ(ui.alerts, std::vector<std::string>{Failed("broken invariant")});
    EXPECT_EQ(Get("S1", "FLOW_TOTAL"), std::nullopt);
    ExpectNothingOpen();
    EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().committed, label.committed);
    EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().cancelled, label.cancelled + 2);
    EXPECT_EQ(TAVGis::Longitudinal::CLSEditor::Counts().committed, longitudinal.committed);
    EXPECT_EQ(TAVGis::Longitudinal::CLSEditor::Counts().cancelled, longitudinal.cancelled + 1);
}

TEST_F(CommandBoundaryTest, ACommandThatSucceedsKeepsItsChanges) {
    Section("S1", "N1", "N2");
    RunCommandBody([&] { CSectionData::SetFLOW_TOTAL(Topo().FindSectionByName("S1"), 0.5); });
    EXPECT_TRUE(ui.alerts.empty());
    EXPECT_EQ(Get("S1", "FLOW_TOTAL"), 0.5);
    // Undo records of a finished command do not linger: a later failure takes back only its own writes.
    RunCommandBody([&] {
        CSectionData::SetFLOW_TOTAL(Topo().FindSectionByName("S1"), 0.7);
        throw std::runtime_error("later failure");
    });
    EXPECT_EQ(Get("S1", "FLOW_TOTAL"), 0.5);
}

TEST_F(CommandFrameTest, RegisteredCommandLivesFromInitialiseToUnload) {
    AppPacket packet{"TAVXSewageCalculations"};
    auto* stack = acedRegCmds();
    ASSERT_EQ(stack->lookupGlobalCmd("fman"), nullptr);
    ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &packet), AcRx::kRetOK);
    EXPECT_TRUE(packet.unlocked);
    EXPECT_TRUE(packet.mdiAware);
    const auto* entry = stack->lookupGlobalCmd("fman");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->group, "TAVXSewageCalculations");
    EXPECT_EQ(entry->localName, "fman");
    EXPECT_EQ(entry->flags, TAVHost::kCmdTransparent);
    EXPECT_EQ(entry->functionCode, -1);
    EXPECT_EQ(entry->resource, TavxModuleInstance());

    // fman runs without a system test and without a lock.
    TAVGis::System::CSystemManager::SetActiveSystem({});
    int lockSeen = -1;
    ui.drivers.push_back([&](TAVUi::CAdUiBaseDialog& dlg) {
        lockSeen = doc->LockCount();
        dlg.OnCancel();
    });
    entry->function();
    EXPECT_TRUE(ui.alerts.empty());
    ASSERT_EQ(ui.modalTemplates, std::vector<int>{348});
    EXPECT_EQ(lockSeen, 0);
    EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);

    // Messages without work answer success; unknown codes too.
    for (int code : {3, 4, 5, 14, 99})
        EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(code), &packet), AcRx::kRetOK) << code;

    ASSERT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &packet), AcRx::kRetOK);
    EXPECT_EQ(stack->lookupGlobalCmd("fman"), nullptr);
}

TEST(ModuleResourcesTest, StringTableAndTemplatesAreShipped) {
    EXPECT_EQ(TavxModuleString(100), "RoreduVododezidevi2");
    for (const auto& cmd : kExported)
        EXPECT_NE(TAVUi::FindDialogTemplate(TavxModuleInstance(), cmd.templateId), nullptr) << cmd.name;
}

}  // namespace
