// The flow main dialog with its transit and total tabs, driven as a person would: texts, the enable rule,
// the ticks kept in the drawing, the status line and the question at a division. The calculations
// themselves are tested without dialogs.
#include "module/flow/FlowCalcMainDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "module/data/SectionData.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVUi::CAdUiBaseDialog;
using TAVUi::Notification;

using Transit = CFlowCalcTransitDlg;
using Total = CFlowCalcTotalDlg;
constexpr int kCheckWastePercent = Transit::IDC_CHECK_HOME_PERCENT;

std::optional<int> StoredInt(const std::string& key) {
    int v = 0;
    if (!CDialogState().Read(key, v)) return std::nullopt;
    return v;
}

class FlowMainDialogTest : public testsupport::DrawingTest {
protected:
    // Runs the command; the driver acts on the open dialog.
    void Open(std::function<void(CFlowCalcMainDlg&)> driver) {
        ui.drivers.push_back([driver](CAdUiBaseDialog& d) { driver(dynamic_cast<CFlowCalcMainDlg&>(d)); });
        CSewageCalculations::CalcFlowTotal();
        ASSERT_TRUE(ui.drivers.empty()) << "the dialog did not open";
    }
    void Pipe(const std::string& name, const std::string& from, const std::string& to, double own) {
        Section(name, from, to);
        Set(name, "FLOW_WASTE_PER", own);
    }
};

TEST_F(FlowMainDialogTest, OpensOnTheTransitTabWithCatalogueTexts) {
    Open([](CFlowCalcMainDlg& d) {
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(2430));
        const auto& tab = d.Item(CFlowCalcMainDlg::IDC_TAB);
        ASSERT_EQ(tab.items.size(), 2u);
        EXPECT_EQ(tab.items[0].text, CModuleConfiguration::GetMsg(2144));
        EXPECT_EQ(tab.items[1].text, CModuleConfiguration::GetMsg(50052));
        EXPECT_EQ(tab.curSel, 0);
        EXPECT_EQ(d.ActivePage(), &d.TransitPage());
        EXPECT_EQ(d.GetDlgItemText(TAVUi::IDCANCEL), CModuleConfiguration::GetMsg(235));
        EXPECT_EQ(d.GetDlgItemText(TAVUi::IDHELP), CModuleConfiguration::GetMsg(50156));
        EXPECT_EQ(d.GetDlgItemText(TAVUi::IDOK), "OK");
        auto& transit = d.TransitPage();
        EXPECT_EQ(transit.GetWindowText(), CModuleConfiguration::GetMsg(2430));
        EXPECT_EQ(transit.GetDlgItemText(kCheckWastePercent), CModuleConfiguration::GetMsg(2147));
        EXPECT_EQ(transit.GetDlgItemText(Transit::IDC_CHECK_WASTE_IND_TUR),
                  CModuleConfiguration::GetMsg(9339));
        EXPECT_EQ(transit.GetDlgItemText(TAVUi::IDOK), CModuleConfiguration::GetMsg(2153));
        EXPECT_EQ(transit.Item(Transit::IDC_BUTTON_SELECT_ALL).tooltip, CModuleConfiguration::GetMsg(2151));
        EXPECT_EQ(d.TotalPage().GetDlgItemText(Total::IDC_CHECK_BLG), CModuleConfiguration::GetMsg(8939));
        EXPECT_EQ(d.TotalPage().GetDlgItemText(Total::IDC_BUTTON_CALC_TOTAL),
                  CModuleConfiguration::GetMsg(2154));
        // Nothing ticked in a new drawing: neither calculate button can be pressed.
        EXPECT_FALSE(transit.Item(TAVUi::IDOK).enabled);
        EXPECT_FALSE(d.TotalPage().Item(Total::IDC_BUTTON_CALC_TOTAL).enabled);
        EXPECT_TRUE(transit.Item(Transit::IDC_STATIC_STATUS).bold);
        EXPECT_EQ(transit.Item(Transit::IDC_STATIC_STATUS).textColor, TAVUi::RGB(255, 91, 0));
    });
}

TEST_F(FlowMainDialogTest, EnableRuleFollowsTicksSelectAllAndClearAll) {
    Open([](CFlowCalcMainDlg& d) {
        struct Page {
            CAdUiBaseDialog* page;
            int calculate, check, checks;
        };
        for (const Page& p : {Page{&d.TransitPage(), TAVUi::IDOK, Transit::IDC_CHECK_SIMPLE, 10},
                              Page{&d.TotalPage(), Total::IDC_BUTTON_CALC_TOTAL, Total::IDC_CHECK_ITP, 7}}) {
            p.page->Notify(p.check, Notification::Clicked);
            EXPECT_TRUE(p.page->Item(p.calculate).enabled);
            p.page->Notify(p.check, Notification::Clicked);
            EXPECT_FALSE(p.page->Item(p.calculate).enabled);
            p.page->Notify(Transit::IDC_BUTTON_SELECT_ALL, Notification::Clicked);
            int ticked = 0;
            for (auto* c : p.page->Controls())
                ticked += c->kind == TAVUi::ControlKind::Check ? c->checked : 0;
            EXPECT_EQ(ticked, p.checks);
            EXPECT_TRUE(p.page->Item(p.calculate).enabled);
            p.page->Notify(Transit::IDC_BUTTON_CLEAR_ALL, Notification::Clicked);
            ticked = 0;
            for (auto* c : p.page->Controls())
                ticked += c->kind == TAVUi::ControlKind::Check ? c->checked : 0;
            EXPECT_EQ(ticked, 0);
            EXPECT_FALSE(p.page->Item(p.calculate).enabled);
        }
    });
}

TEST_F(FlowMainDialogTest, CancelStoresTheTicksOfBothTabs) {
    // The total tab is never shown: its ticks (the defaults of a new drawing) are stored all the same.
    Open([](CFlowCalcMainDlg& d) {
        d.TransitPage().Notify(kCheckWastePercent, Notification::Clicked);
        d.OnCancel();
    });
    EXPECT_EQ(StoredInt("TAVX_FLOW_TRANSIT_CHECK_HomePercent"), 1);
    EXPECT_EQ(StoredInt("TAVX_FLOW_TRANSIT_CHECK_Simple"), 0);
    EXPECT_EQ(StoredInt("TAVX_FLOW_TOTAL_CHECK_Tranzit"), 0);
    EXPECT_EQ(StoredInt("TAVX_FLOW_TOTAL_CHECK_Retardacija"), 0);

    // Ticks on the total tab, then close with Cancel from the transit tab.
    Open([](CFlowCalcMainDlg& d) {
        EXPECT_EQ(d.TransitPage().Item(kCheckWastePercent).checked, 1);
        d.ChooseTab(1);
        d.TotalPage().Notify(Total::IDC_CHECK_TRANZIT, Notification::Clicked);
        d.TotalPage().Notify(Total::IDC_CHECK_BLG, Notification::Clicked);
        d.ChooseTab(0);
        d.OnCancel();
    });
    // Reopened: both tabs show what was stored, and the dialog opens on the transit tab again.
    Open([](CFlowCalcMainDlg& d) {
        EXPECT_EQ(d.Item(CFlowCalcMainDlg::IDC_TAB).curSel, 0);
        EXPECT_EQ(d.TransitPage().Item(kCheckWastePercent).checked, 1);
        EXPECT_EQ(d.TotalPage().Item(Total::IDC_CHECK_TRANZIT).checked, 1);
        EXPECT_EQ(d.TotalPage().Item(Total::IDC_CHECK_BLG).checked, 1);
        EXPECT_EQ(d.TotalPage().Item(Total::IDC_CHECK_ITP).checked, 0);
        EXPECT_TRUE(d.TotalPage().Item(Total::IDC_BUTTON_CALC_TOTAL).enabled);
        d.EndDialog(TAVUi::IDOK);  // OK stores nothing
    });
    EXPECT_EQ(StoredInt("TAVX_FLOW_TOTAL_CHECK_Retardacija"), 1);
}

TEST_F(FlowMainDialogTest, TransitThenTotalThroughTheTabs) {
    Pipe("A", "a", "b", 0.001);
    Pipe("B", "b", "c", 0.002);
    Open([this](CFlowCalcMainDlg& d) {
        auto& transit = d.TransitPage();
        EXPECT_EQ(transit.Sections().size(), 2u);
        transit.Notify(kCheckWastePercent, Notification::Clicked);
        transit.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_FALSE(d.IsEnded());  // the tab stays open
        EXPECT_EQ(transit.GetDlgItemText(Transit::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        EXPECT_EQ(transit.Item(Transit::IDC_STATIC_STATUS).textColor, TAVUi::RGB(255, 91, 0));
        EXPECT_TRUE(transit.Item(Transit::IDC_STATIC_STATUS).bold);
        EXPECT_EQ(StoredInt("TAVX_FLOW_TRANSIT_CHECK_HomePercent"), 1);  // saved by the calculation

        d.ChooseTab(1);
        auto& total = d.TotalPage();
        total.Notify(Total::IDC_CHECK_TRANZIT, Notification::Clicked);
        total.Notify(Total::IDC_CHECK_VLASTITI, Notification::Clicked);
        total.Notify(Total::IDC_BUTTON_CALC_TOTAL, Notification::Clicked);
        EXPECT_EQ(total.GetDlgItemText(Total::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        EXPECT_EQ(StoredInt("TAVX_FLOW_TOTAL_CHECK_Vlastiti"), 1);
        d.EndDialog(TAVUi::IDOK);
    });
    ASSERT_TRUE(Get("B", "FLOW_TOTAL"));
    EXPECT_NEAR(*Get("B", "FLOW_TOTAL"), 0.003, 1e-12);
    EXPECT_NEAR(*Get("A", "FLOW_TOTAL"), 0.001, 1e-12);
}

TEST_F(FlowMainDialogTest, LoopAlertsAndLeavesStatusAndStateAlone) {
    Pipe("A", "a", "b", 0.001);
    Pipe("B", "b", "c", 0.002);
    Pipe("C", "c", "b", 0.004);
    Open([this](CFlowCalcMainDlg& d) {
        auto& transit = d.TransitPage();
        transit.Notify(kCheckWastePercent, Notification::Clicked);
        transit.Notify(TAVUi::IDOK, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(688));
        EXPECT_EQ(transit.GetDlgItemText(Transit::IDC_STATIC_STATUS), "");
        EXPECT_FALSE(StoredInt("TAVX_FLOW_TRANSIT_CHECK_HomePercent"));
        d.EndDialog(TAVUi::IDOK);
    });
    EXPECT_FALSE(Get("A", "FLOW_SECT_TOTAL"));
}

// While the person picks the main direction the main dialog is hidden and the drawing shows the outgoing
// sections zoomed by 3.

TEST_F(FlowMainDialogTest, PickingTheDirectionHidesTheDialogAndZooms) {
    Pipe("U", "u", "D", 0.001);
    auto left = Section("L", "D", "l");
    auto right = Section("R", "D", "r");
    std::optional<bool> visibleDuringPick;
    CFlowCalcMainDlg* open = nullptr;
    ui.onPick = [&](const TAVHost::PickRequest&) { visibleDuringPick = open && open->IsWindowVisible(); };
    ui.picks.push_back({"L"});
    ui.drivers.push_back([&](CAdUiBaseDialog& d) {
        open = &dynamic_cast<CFlowCalcMainDlg&>(d);
        open->TransitPage().Notify(kCheckWastePercent, Notification::Clicked);
        open->TransitPage().Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_TRUE(open->IsWindowVisible());
        d.EndDialog(TAVUi::IDOK);
    });
    CSewageCalculations::CalcFlowTotal();
    ASSERT_TRUE(visibleDuringPick.has_value());
    EXPECT_FALSE(*visibleDuringPick);
    const auto& editor = doc->Editor();
    EXPECT_EQ(editor.lastZoomFactor, 3.0);
    EXPECT_EQ(editor.lastZoomIds,
              (std::vector<TAVHost::ObjectId>{left->GetObjectId(), right->GetObjectId()}));
    EXPECT_EQ(CSectionData::GetMAIN_SECT_OUT(Topo().FindNodeByName("D")), left);
}

TEST_F(FlowMainDialogTest, TransitTakesOnlySewageSections) {
    Pipe("A", "a", "b", 0.001);
    auto water = TAVGis::System::CSystemManager::AddSystem("water", 1);
    Topo().AddSection("W", Topo().FindNodeByName("a"), Topo().FindNodeByName("b"), water);
    Open([](CFlowCalcMainDlg& d) {
        ASSERT_EQ(d.TransitPage().Sections().size(), 1u);
        EXPECT_EQ(d.TransitPage().Sections()[0]->GetName(), "A");
        d.EndDialog(TAVUi::IDOK);
    });
}

}  // namespace
