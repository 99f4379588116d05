// The waste water by percent dialog driven as a person would: what it adds to the calculation (its
// controls, parsing, formatting, the parameter sets, the tags and the status line).
#include "module/flow/FlowCalcDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "module/app/SewageCalculations.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVUi::CAdUiBaseDialog;
using TAVUi::Notification;

class FlowCalcDlgTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        // Sections of 30, 40 and 50 m; B counts twice per metre, C has no coefficient.
        Node("n1", 0, 0);
        Node("n2", 30, 0);
        Node("n3", 30, 40);
        Node("n4", 80, 40);
        Topo().AddSection("A", Topo().FindNodeByName("n1"), Topo().FindNodeByName("n2"), system);
        Topo().AddSection("B", Topo().FindNodeByName("n2"), Topo().FindNodeByName("n3"), system);
        Topo().AddSection("C", Topo().FindNodeByName("n3"), Topo().FindNodeByName("n4"), system);
        Set("A", "FLOW_COEFDEN", 1.0);
        Set("B", "FLOW_COEFDEN", 2.0);
    }
    void Open(std::function<void(CFlowCalcDlg&)> driver) {
        ui.drivers.push_back([driver](CAdUiBaseDialog& d) { driver(dynamic_cast<CFlowCalcDlg&>(d)); });
        CSewageCalculations::CalcWasteWaterPercent();
        ASSERT_TRUE(ui.drivers.empty());
    }
    static void Save(CFlowCalcDlg& d, const std::string& name) {
        d.Item(CFlowCalcDlg::IDC_COMBO_CONFIG).text = name;
        d.Notify(TAVUi::IDOK, Notification::Clicked);
    }
    std::string Document() {
        CTAVCDictionaryPtr dict("ACH_FLOW", AcDb::kForRead);
        std::string text;
        dctRead(dict, "ACH_FLOW_CONFIG_DATA", text, false);
        return text;
    }
    std::string Tag(const std::string& section) {
        CTAVCEntityPtr e(Topo().FindSectionByName(section)->GetObjectId(), AcDb::kForRead);
        const auto* chain = e.isValid() ? e.getXData("ACH_PARAM_CONFIG") : nullptr;
        if (!chain || chain->empty() || (*chain)[0].code != 1000) return {};
        return std::get<std::string>((*chain)[0].value);
    }
};

TEST_F(FlowCalcDlgTest, OpensWithDefaultsAndTheResultRows) {
    Open([](CFlowCalcDlg& d) {
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(7649));
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_Q), "150");
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_KD), "1.5");
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_KU), "0.8");
        EXPECT_EQ(d.Sections().size(), 3u);
        const auto& combo = d.Item(CFlowCalcDlg::IDC_COMBO_CONFIG);
        ASSERT_EQ(combo.items.size(), 1u);
        EXPECT_EQ(combo.text, "Default");
        const auto& list = d.Item(CFlowCalcDlg::IDC_LIST_RESULTS);
        ASSERT_EQ(list.columns.size(), 2u);
        EXPECT_EQ(list.columns[0].header, CModuleConfiguration::GetMsg(464));
        EXPECT_EQ(list.columns[0].width, 280);
        EXPECT_EQ(list.columns[1].width, 94);
        ASSERT_EQ(list.GetItemCount(), 16);
        EXPECT_EQ(list.GetItemText(0, 0), CModuleConfiguration::GetMsg(2066));
        EXPECT_EQ(list.GetItemText(6, 0), std::string(48, '='));
        EXPECT_EQ(list.GetItemText(12, 0), CModuleConfiguration::GetMsg(6930));
        EXPECT_EQ(list.GetItemText(15, 0), CModuleConfiguration::GetMsg(2058));
        // The Romanian coefficients are off: their fields and labels are disabled until the switch is on.
        EXPECT_TRUE(d.Item(CFlowCalcDlg::IDC_EDIT_Q).enabled);
        EXPECT_FALSE(d.Item(CFlowCalcDlg::IDC_EDIT_KP).enabled);
        EXPECT_FALSE(d.Item(CFlowCalcDlg::IDC_STATIC_KU).enabled);
        d.Notify(CFlowCalcDlg::IDC_CHECK_ROMANIAN, Notification::Clicked);
        EXPECT_TRUE(d.Item(CFlowCalcDlg::IDC_EDIT_KS).enabled);
        EXPECT_TRUE(d.Item(CFlowCalcDlg::IDC_STATIC_KS).enabled);
        d.Notify(CFlowCalcDlg::IDC_CHECK_ROMANIAN, Notification::Clicked);
        EXPECT_FALSE(d.Item(CFlowCalcDlg::IDC_EDIT_KS).enabled);
        // The growth may be negative, the consumption may not; 8 whole digits and 4 decimals.
        d.Item(CFlowCalcDlg::IDC_EDIT_P).SetWindowText("-1.25");
        d.Item(CFlowCalcDlg::IDC_EDIT_Q).SetWindowText("-123456789.123456");
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_P), "-1.25");
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_Q), "12345678.1234");
    });
}

TEST_F(FlowCalcDlgTest, PreviewShowsTheResultsAndWritesNothing) {
    Open([this](CFlowCalcDlg& d) {
        d.Notify(CFlowCalcDlg::IDC_BUTTON_PREVIEW, Notification::Clicked);
        const auto& list = d.Item(CFlowCalcDlg::IDC_LIST_RESULTS);
        EXPECT_EQ(list.GetItemText(0, 1), "150.0000");
        EXPECT_EQ(list.GetItemText(6, 1), "");
        EXPECT_EQ(list.GetItemText(12, 1), "1.0000");
        EXPECT_EQ(list.GetItemText(13, 1), "120.0000");  // Ltot
        EXPECT_EQ(list.GetItemText(14, 1), "160.0000");  // Lw: 30 + 2 x 40 + 50
        EXPECT_EQ(list.GetItemText(15, 1), "0.2211");    // qs: about 35.38 l/s over 160 m
        EXPECT_FALSE(Get("A", "FLOW_WASTE_PER"));
        // Copy: every row, the headers first, each cell followed by a tab.
        d.SetLastKey("ctrl+a");
        d.Notify(CFlowCalcDlg::IDC_LIST_RESULTS, Notification::KeyDown);
        d.SetLastKey("ctrl+insert");
        d.Notify(CFlowCalcDlg::IDC_LIST_RESULTS, Notification::KeyDown);
        const std::string head =
            CModuleConfiguration::GetMsg(464) + "\t" + CModuleConfiguration::GetMsg(1257) + "\t\r\n";
        const std::string rows = CModuleConfiguration::GetMsg(2066) + "\t150.0000\t\r\n" +
                                 CModuleConfiguration::GetMsg(2067) + "\t5000.0000\t\r\n";
        EXPECT_EQ(ui.clipboard.substr(0, head.size() + rows.size()), head + rows);
        EXPECT_NE(ui.clipboard.find(std::string(48, '=') + "\t\t\r\n"), std::string::npos);
    });
    EXPECT_FALSE(Get("B", "SPECIFIC_FLOW"));
}

TEST_F(FlowCalcDlgTest, SaveStoresTheSetWritesAndTagsTheSections) {
    Open([this](CFlowCalcDlg& d) {
        Save(d, "  Town 2050 ");
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        EXPECT_EQ(d.Item(CFlowCalcDlg::IDC_STATIC_STATUS).textColor, TAVUi::RGB(255, 91, 0));
        EXPECT_FALSE(d.IsEnded());  // the dialog stays open
    });
    for (const char* section : {"A", "B", "C"}) {
        EXPECT_TRUE(Get(section, "FLOW_WASTE_PER")) << section;
        EXPECT_TRUE(Get(section, "SPECIFIC_FLOW")) << section;
        EXPECT_EQ(Tag(section), "Town 2050") << section;
    }
    EXPECT_NE(Document().find("<config name=\"Town 2050\" potrosnja=\"150.0000\" brStanovnika=\"5000.0000\" "
                              "prirast=\"2.0000\" period=\"30.0000\" koefD=\"1.5000\" koefH=\"1.5000\" "
                              "koefKP=\"1.1000\" koefKS=\"1.1000\" koefKU=\"0.8000\""),
              std::string::npos)
        << Document();
}

TEST_F(FlowCalcDlgTest, ANewNameAddsASetAndAnExistingNameUpdatesIt) {
    Open([](CFlowCalcDlg& d) {
        Save(d, "Default");
        d.Item(CFlowCalcDlg::IDC_EDIT_N).SetWindowText("8000");
        Save(d, "Second");
        d.Item(CFlowCalcDlg::IDC_EDIT_N).SetWindowText("9000");
        Save(d, "Default");                                                  // updated in place
        EXPECT_EQ(d.Item(CFlowCalcDlg::IDC_COMBO_CONFIG).items.size(), 1u);  // not refilled by a save
    });
    // Reopened: both sets are listed; the first one's values replace the defaults, choosing fills the
    // other's.
    Open([](CFlowCalcDlg& d) {
        auto& combo = d.Item(CFlowCalcDlg::IDC_COMBO_CONFIG);
        ASSERT_EQ(combo.items.size(), 2u);
        EXPECT_EQ(combo.items[1].text, "Second");
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_N), "9000");
        combo.SetCurSel(1);
        d.Notify(CFlowCalcDlg::IDC_COMBO_CONFIG, Notification::SelChange);
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_EDIT_N), "8000");
    });
}

TEST_F(FlowCalcDlgTest, EmptyNameAlertsAndWritesNothing) {
    Open([this](CFlowCalcDlg& d) {
        Save(d, "   ");
        ASSERT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(2059));
        EXPECT_EQ(d.GetDlgItemText(CFlowCalcDlg::IDC_STATIC_STATUS), "");
    });
    EXPECT_FALSE(Get("A", "FLOW_WASTE_PER"));
    EXPECT_EQ(Document(), "");
}

TEST_F(FlowCalcDlgTest, NewSelectionTakesOnlyItsSectionsAndClearsTheStatusInBlue) {
    Open([this](CFlowCalcDlg& d) {
        ui.picks.push_back({"B", "n1"});
        d.Notify(CFlowCalcDlg::IDC_BUTTON_SELECT, Notification::Clicked);
        ASSERT_EQ(d.Sections().size(), 1u);
        EXPECT_EQ(d.Item(CFlowCalcDlg::IDC_STATIC_STATUS).textColor, TAVUi::RGB(0, 0, 255));
        Save(d, "B only");
        // A selection of nodes only: nothing can be calculated.
        ui.picks.push_back({"n2"});
        d.Notify(CFlowCalcDlg::IDC_BUTTON_SELECT, Notification::Clicked);
        EXPECT_TRUE(d.Sections().empty());
        EXPECT_FALSE(d.Item(TAVUi::IDOK).enabled);
        EXPECT_FALSE(d.Item(CFlowCalcDlg::IDC_BUTTON_PREVIEW).enabled);
        EXPECT_FALSE(d.Item(CFlowCalcDlg::IDC_COMBO_CONFIG).enabled);
        EXPECT_FALSE(d.Item(CFlowCalcDlg::IDC_EDIT_Q).enabled);
        // Typing into an input clears the status in black.
        d.Notify(CFlowCalcDlg::IDC_EDIT_Q, Notification::Changed);
        EXPECT_EQ(d.Item(CFlowCalcDlg::IDC_STATIC_STATUS).textColor, TAVUi::RGB(0, 0, 0));
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    // The whole flow on B: its weighted length is all of Lw.
    EXPECT_NEAR(*Get("B", "FLOW_WASTE_PER"), 0.03538, 1e-5);  // about 35.38 l/s, in m3/s
    EXPECT_FALSE(Get("A", "FLOW_WASTE_PER"));
    EXPECT_EQ(Tag("A"), "");
    EXPECT_EQ(doc->Editor().lastRedrawMode, 4);  // Close removes the highlighting
}

// The typed texts are what the calculation gets: twice the inhabitants, twice the flow on every section.
TEST_F(FlowCalcDlgTest, TypedValuesReachTheCalculation) {
    double before = 0, after = 0;
    Open([&](CFlowCalcDlg& d) {
        Save(d, "Town");
        before = *Get("C", "FLOW_WASTE_PER");
        d.Item(CFlowCalcDlg::IDC_EDIT_N).SetWindowText("10,000");
        Save(d, "Town");
        after = *Get("C", "FLOW_WASTE_PER");
    });
    EXPECT_NEAR(after, 2.0 * before, 1e-15);
}

}  // namespace
