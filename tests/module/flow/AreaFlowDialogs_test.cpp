// The dialogs of flow input data, additional flows, simple rain and waste water by area, and the
// Romanian-standard sub-dialog, driven as a person would: what they add to their calculations (the
// editable list, navigation, zoom and show, enabling rules, parameter sets, dialog state, tags, alerts and
// the status line).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "module/flow/FlowAdditionalDlg.h"
#include "module/flow/FlowCalcRainSimpleDlg.h"
#include "module/flow/FlowCalcWasteDlg.h"
#include "module/flow/FlowInputDataDlg.h"
#include "module/flow/StandardRODlg.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Document.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVUi::CAdUiBaseDialog;
using TAVUi::Notification;

class AreaFlowDialogsTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        Node("n1", 0, 0);
        Node("n2", 400, 0);
        Node("n3", 430, 0);
        Node("n4", 460, 0);
        Section("A", "n1", "n2");  // 400 m
        Section("B", "n2", "n3");
        Section("C", "n3", "n4");
    }
    template <class Dialog>
    void Open(void (*command)(), std::function<void(Dialog&)> driver) {
        ui.drivers.push_back([driver](CAdUiBaseDialog& d) { driver(dynamic_cast<Dialog&>(d)); });
        command();
        ASSERT_TRUE(ui.drivers.empty());
    }
    std::string Tag(const std::string& section, const char* application) {
        CTAVCEntityPtr e(Topo().FindSectionByName(section)->GetObjectId(), AcDb::kForRead);
        const auto* chain = e.isValid() ? e.getXData(application) : nullptr;
        if (!chain || chain->empty() || (*chain)[0].code != 1000) return {};
        return std::get<std::string>((*chain)[0].value);
    }
    std::string Document(const char* key) {
        CTAVCDictionaryPtr dict("ACH_FLOW", AcDb::kForRead);
        std::string text;
        dctRead(dict, key, text, false);
        return text;
    }
    TAVHost::EditorState& Editor() { return doc->Editor(); }
};

// ---- flow input data and its editable list ----

TEST_F(AreaFlowDialogsTest, InputDataListRowsChecksAndDescriptions) {
    Open<CFlowInputDataDlg>(&CSewageCalculations::InputSewageData, [](CFlowInputDataDlg& d) {
        auto* list = d.List();
        ASSERT_TRUE(list);
        ASSERT_EQ(list->RowCount(), 11);
        const char* defaults[] = {"1.0", "6.0", "5.0", "1.0", "15.0", "1.2", "1.0", "", "1.0", "", "1.0"};
        for (int row = 0; row < 11; ++row) {
            EXPECT_EQ(list->GetText(row, 1), defaults[row]) << row;
            const bool separator = row == 7 || row == 9;
            EXPECT_EQ(list->HasCheck(row), !separator) << row;
            EXPECT_EQ(list->IsEditable(row, 1), !separator) << row;
            EXPECT_FALSE(list->IsEditable(row, 0)) << row;
            EXPECT_FALSE(list->IsChecked(row)) << row;
        }
        EXPECT_EQ(list->GetText(7, 0), CFlowInputDataDlg::kSeparatorText);
        EXPECT_FALSE(list->ClickCheck(7));
        EXPECT_FALSE(list->EditCell(9, 1, "5"));
        EXPECT_FALSE(list->SelectRow(11));
        // Row selection shows the description of the row; an empty one clears it; the population row
        // keeps what is shown.
        const struct {
            int row;
            std::string shown;
        } steps[] = {{1, CModuleConfiguration::GetMsg(2046)},
                     {10, CModuleConfiguration::GetMsg(2046)},
                     {9, CModuleConfiguration::GetMsg(3894)},
                     {5, ""},
                     {0, CModuleConfiguration::GetMsg(2045)}};
        for (const auto& s : steps) {
            ASSERT_TRUE(list->SelectRow(s.row));
            EXPECT_EQ(list->SelectedRow(), s.row);
            EXPECT_EQ(d.GetDlgItemText(CFlowInputDataDlg::IDC_STATIC_DESCRIPTION), s.shown) << s.row;
        }
        // An edit dropped is not written; one committed is.
        ASSERT_TRUE(list->BeginEdit(2, 1));
        EXPECT_EQ(list->EditText(), "5.0");
        list->SetEditText("8");
        list->EndEdit(false);
        EXPECT_EQ(list->GetText(2, 1), "5.0");
        EXPECT_TRUE(list->EditCell(2, 1, "8"));
        EXPECT_EQ(list->GetText(2, 1), "8");
        EXPECT_EQ(list->LastRow(), 2);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
}

TEST_F(AreaFlowDialogsTest, InputDataSavesTextsAndWritesTheCurrentSection) {
    Open<CFlowInputDataDlg>(&CSewageCalculations::InputSewageData, [this](CFlowInputDataDlg& d) {
        auto* list = d.List();
        list->ClickCheck(2);
        // An edit still open when Save is clicked counts as typed.
        list->BeginEdit(2, 1);
        list->SetEditText("7.5");
        d.Notify(CFlowInputDataDlg::IDC_BUTTON_SAVE, Notification::Clicked);
        EXPECT_EQ(d.GetDlgItemText(CFlowInputDataDlg::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        EXPECT_EQ(*Get("A", "FLOW_INTIME"), 7.5);
        EXPECT_FALSE(Get("B", "FLOW_INTIME"));
        // Not a number: alert 3452 with the row, nothing written, the text kept.
        d.Notify(CFlowInputDataDlg::IDC_BUTTON_NEXT, Notification::Clicked);
        list->EditCell(2, 1, "seven");
        d.Notify(CFlowInputDataDlg::IDC_BUTTON_SAVE, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(ui.alerts[0],
                  CModuleConfiguration::GetMsg(3452) + " " + CModuleConfiguration::GetMsg(2044));
        EXPECT_FALSE(Get("B", "FLOW_INTIME"));
        // A negative area exponent: alert 3453.
        list->EditCell(2, 1, "5");
        list->ClickCheck(1);
        list->EditCell(1, 1, "-6");
        d.Notify(CFlowInputDataDlg::IDC_BUTTON_SAVE, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 2u);
        EXPECT_EQ(ui.alerts[1], CModuleConfiguration::GetMsg(3453));
        EXPECT_FALSE(Get("B", "FLOW_INTIME"));
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    CDialogState state;
    EXPECT_EQ(state.GetText("TAVX_FLOW_INPUT_DATA_3", ""), "5");
    EXPECT_EQ(state.GetText("TAVX_FLOW_INPUT_DATA_2", ""), "-6");
    EXPECT_EQ(state.GetText("TAVX_FLOW_INPUT_DATA_10", ""), "1.0");
    EXPECT_EQ(state.GetText("TAVX_FLOW_INPUT_DATA_9", "none"), "none");
}

// ---- navigation, zoom and show (additional flows) ----

TEST_F(AreaFlowDialogsTest, NavigationZoomAndShow) {
    Open<CFlowAdditionalDlg>(&CSewageCalculations::CalcFlowAdditional, [this](CFlowAdditionalDlg& d) {
        using D = CFlowAdditionalDlg;
        auto state = [&d] {
            return std::string(d.Item(D::IDC_BUTTON_PREVIOUS).enabled ? "<" : "-") +
                   (d.Item(D::IDC_BUTTON_NEXT).enabled ? ">" : "-") + " " +
                   d.GetDlgItemText(D::IDC_STATIC_SECTION);
        };
        EXPECT_EQ(state(), "-> A");
        EXPECT_TRUE(d.Item(D::IDC_STATIC_SECTION).bold);
        d.CheckDlgButton(D::IDC_CHECK_ZOOM, 1);
        d.SetDlgItemText(D::IDC_EDIT_ZOOM, "2.5");
        d.Notify(D::IDC_BUTTON_NEXT, Notification::Clicked);
        EXPECT_EQ(state(), "<> B");
        EXPECT_EQ(Editor().lastZoomIds,
                  (std::vector<TAVHost::ObjectId>{Topo().FindSectionByName("B")->GetObjectId()}));
        EXPECT_EQ(Editor().lastZoomFactor, 2.5);
        d.Notify(D::IDC_BUTTON_NEXT, Notification::Clicked);
        EXPECT_EQ(state(), "<- C");
        d.CheckRadioButton(D::IDC_RADIO_ALL);
        d.Notify(D::IDC_RADIO_ALL, Notification::Clicked);
        EXPECT_EQ(state(), "-- A - C");
        EXPECT_EQ(Editor().lastZoomIds.size(), 3u);
        // Show: zoom 1.0 on all, highlighted, the prompt at the command line, the dialog shown again.
        const long zooms = Editor().zoomCount;
        d.Notify(D::IDC_BUTTON_SHOW, Notification::Clicked);
        EXPECT_EQ(Editor().zoomCount, zooms + 1);
        EXPECT_EQ(Editor().lastZoomFactor, 1.0);
        EXPECT_EQ(Editor().highlighted.size(), 3u);
        EXPECT_NE(ui.printed.find(CModuleConfiguration::GetMsg(50200)), std::string::npos);
        EXPECT_TRUE(d.IsWindowVisible());
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
}

TEST_F(AreaFlowDialogsTest, AdditionalFlowsEnablingSingleModeSetsAndState) {
    Open<CFlowAdditionalDlg>(&CSewageCalculations::CalcFlowAdditional, [this](CFlowAdditionalDlg& d) {
        using D = CFlowAdditionalDlg;
        auto enabled = [&d](std::initializer_list<int> ids) {
            std::string s;
            for (int id : ids) s += d.Item(id).enabled ? "1" : "0";
            return s;
        };
        const auto foreignEdits = {D::IDC_EDIT_KOEF_FLOW, D::IDC_EDIT_FAKTOR_M, D::IDC_EDIT_SPECIFIC};
        EXPECT_EQ(enabled(foreignEdits), "000");
        EXPECT_EQ(
            enabled({D::IDC_RADIO_FOREIGN_AREAS, D::IDC_EDIT_INFLOW, D::IDC_EDIT_KOEF2, D::IDC_EDIT_USER}),
            "0000");
        d.Notify(D::IDC_CHECK_FOREIGN, Notification::Clicked);  // the check box ticks itself, then notifies
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_FOREIGN), 1);
        EXPECT_EQ(enabled(foreignEdits), "100");
        d.Notify(D::IDC_RADIO_FOREIGN_SPECIFIC, Notification::Clicked);
        EXPECT_EQ(enabled(foreignEdits), "001");
        d.Notify(D::IDC_CHECK_POINT, Notification::Clicked);
        EXPECT_EQ(enabled({D::IDC_EDIT_INFLOW, D::IDC_EDIT_OVERFLOW}), "10");
        d.Notify(D::IDC_RADIO_OVERFLOW, Notification::Clicked);
        EXPECT_EQ(enabled({D::IDC_EDIT_INFLOW, D::IDC_EDIT_OVERFLOW}), "01");
        d.SetDlgItemText(D::IDC_EDIT_SPECIFIC, "0.2");
        d.SetDlgItemText(D::IDC_EDIT_OVERFLOW, "5");
        d.SetDlgItemText(D::IDC_EDIT_USER, "3");
        d.Item(D::IDC_COMBO_CONFIG).text = "Set one";
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        // Single mode: only A, 400 m.
        EXPECT_NEAR(*Get("A", "FLOW_FOREIGN"), 0.08, 1e-12);
        EXPECT_NEAR(*Get("A", "FLOW_POINT"), -0.005, 1e-12);
        EXPECT_FALSE(Get("B", "FLOW_FOREIGN"));
        EXPECT_EQ(Tag("A", "ACH_PARAM_CONFIG_ADD"), "Set one");
        EXPECT_EQ(Tag("B", "ACH_PARAM_CONFIG_ADD"), "");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_NE(Document("ACH_FLOW_CONFIG_DATA_ADD").find("specificFlow=\"0.2000\""), std::string::npos);
    // The set comes back whole, the choices as they were left.
    Open<CFlowAdditionalDlg>(&CSewageCalculations::CalcFlowAdditional, [](CFlowAdditionalDlg& d) {
        using D = CFlowAdditionalDlg;
        EXPECT_EQ(d.Item(D::IDC_COMBO_CONFIG).text, "Set one");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_SPECIFIC), "0.2");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_USER), "3");
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_FOREIGN), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_RADIO_FOREIGN_SPECIFIC), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_RADIO_OVERFLOW), 1);
        EXPECT_TRUE(d.Item(D::IDC_EDIT_SPECIFIC).enabled);
        EXPECT_FALSE(d.Item(D::IDC_EDIT_KOEF_FLOW).enabled);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
}

// ---- simple rain ----

TEST_F(AreaFlowDialogsTest, SimpleRainStoresTheIntensityTagsAndCountsAtvSectionsWithoutFlow) {
    for (const char* s : {"A", "B"}) {
        auto a = Topo().AddCatchmentArea(std::string("R") + s, system);
        a->kind = 1;
        a->areaHa = 2.0;
        Topo().LinkCatchment(a, Topo().FindSectionByName(s)->GetGuid());
    }
    Set("A", "FLOW_ATV_T", -5.0);
    Open<CFlowCalcRainSimpleDlg>(&CSewageCalculations::CalcRainSimple, [this](CFlowCalcRainSimpleDlg& d) {
        using D = CFlowCalcRainSimpleDlg;
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(7651));
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_INTENSITY), "120");
        d.Item(D::IDC_COMBO_CONFIG).text = "  ";
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 1u);  // 2059: nothing written
        EXPECT_FALSE(Get("A", "FLOW_RAIN"));
        d.Item(D::IDC_COMBO_CONFIG).text = "Rain";
        d.SetDlgItemText(D::IDC_EDIT_INTENSITY, "150");
        d.CheckRadioButton(D::IDC_RADIO_ATV);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 2u);
        EXPECT_EQ(ui.alerts[1], CModuleConfiguration::GetMsg(3454) + " 1");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_FALSE(Get("A", "FLOW_RAIN"));
    // B: n and T missing count as 1: phi = (1 - 0.3684) x 38 / 10.
    EXPECT_NEAR(*Get("B", "FLOW_RAIN"), 0.15 * (1.0 - 0.3684) * 3.8 * 2.0, 1e-12);
    for (const char* s : {"A", "B", "C"}) EXPECT_EQ(Tag(s, "ACH_PARAM_CONFIG_RAIN_SIMPLE"), "Rain") << s;
    EXPECT_NE(Document("ACH_FLOW_CONFIG_DATA_RAIN_SIMPLE").find("intenzitet=\"150.0000\""),
              std::string::npos);
}

// ---- waste water by area ----

TEST_F(AreaFlowDialogsTest, WasteByAreaSwitchesStatusAndTags) {
    auto a = Topo().AddCatchmentArea("H", system);
    a->kind = 2;
    a->areaHa = 10.0;
    a->densityInhabPerHa = 100.0;
    Topo().LinkCatchment(a, Topo().FindSectionByName("A")->GetGuid());
    Set("B", "FLOW_BLG_WASTE", 1.0);
    Open<CFlowCalcWasteDlg>(&CSewageCalculations::CalcWasteWaterArea, [this](CFlowCalcWasteDlg& d) {
        using D = CFlowCalcWasteDlg;
        EXPECT_EQ(d.Item(D::IDC_COMBO_STANDARD).text, CModuleConfiguration::GetMsg(376));
        EXPECT_FALSE(d.Item(D::IDC_EDIT_HOME).enabled);
        EXPECT_EQ(Editor().highlighted.size(), 3u);
        const TAVUi::Rgb red = TAVUi::RGB(255, 0, 0);
        d.Item(D::IDC_COMBO_CONFIG).text = "Area set";
        d.Notify(TAVUi::IDOK, Notification::Clicked);  // both switches off: tags, nothing written
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(61031));
        EXPECT_EQ(*d.Item(D::IDC_STATIC_STATUS).textColor, red);
        EXPECT_EQ(Tag("C", "ACH_PARAM_CONFIG_AREA"), "Area set");
        EXPECT_TRUE(Editor().highlighted.empty());  // the save removes the highlighting
        d.Notify(D::IDC_CHECK_HOME, Notification::Clicked);
        EXPECT_TRUE(d.Item(D::IDC_EDIT_HOME).enabled);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        EXPECT_NEAR(*Get("A", "FLOW_WASTE_HOME"), 0.004, 1e-15);
        // Bulgarian: A and C have no factor (alert 6131), B has; A keeps its old tag.
        d.Item(D::IDC_COMBO_STANDARD).SetCurSel(1);
        d.Item(D::IDC_COMBO_CONFIG).text = "Bulgarian";
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(6131));
        EXPECT_EQ(Tag("A", "ACH_PARAM_CONFIG_AREA"), "Area set");
        EXPECT_EQ(Tag("B", "ACH_PARAM_CONFIG_AREA"), "Bulgarian");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    // B below A: P = 100 x 10 x 4 / 1000 = 4, K = 2.8428.
    EXPECT_NEAR(*Get("B", "FLOW_BLG_WASTE_HOME_KOMAX"), 2.8428, 1e-4);
    EXPECT_NE(Document("ACH_FLOW_CONFIG_DATA_AREA").find("home=\"4.000000\" industrial=\"1.000000\""),
              std::string::npos);
}

// ---- the Romanian-standard sub-dialog ----

TEST_F(AreaFlowDialogsTest, RomanianSubDialogOpensWithItsDefaultsAndReturnsOnlyOnOk) {
    testsupport::ModuleResources resources;
    CStandardRODlg dlg;
    dlg.m_nChoice = 1;
    dlg.m_dSensitive = 7.0;
    ui.drivers.push_back([](CAdUiBaseDialog& base) {
        auto& d = dynamic_cast<CStandardRODlg&>(base);
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(6130));
        EXPECT_EQ(d.GetDlgItemText(CStandardRODlg::IDC_EDIT_SENSITIVE), "1");
        EXPECT_EQ(d.GetDlgItemText(CStandardRODlg::IDC_EDIT_SHORT), "0.8");
        EXPECT_EQ(d.GetDlgItemText(CStandardRODlg::IDC_EDIT_LONG), "0.9");
        EXPECT_EQ(d.IsDlgButtonChecked(CStandardRODlg::IDC_RADIO_OTHER), 1);
        d.SetDlgItemText(CStandardRODlg::IDC_EDIT_SHORT, "0.75");
        d.CheckRadioButton(CStandardRODlg::IDC_RADIO_SENSITIVE);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_EQ(dlg.DoModal(), TAVUi::IDCANCEL);
    EXPECT_EQ(dlg.m_nChoice, 1);
    EXPECT_EQ(dlg.m_dSensitive, 7.0);
    ui.drivers.push_back([](CAdUiBaseDialog& base) {
        auto& d = dynamic_cast<CStandardRODlg&>(base);
        EXPECT_EQ(d.GetDlgItemText(CStandardRODlg::IDC_EDIT_SENSITIVE), "1");  // not the member's 7
        d.SetDlgItemText(CStandardRODlg::IDC_EDIT_SHORT, "0.75");
        d.CheckRadioButton(CStandardRODlg::IDC_RADIO_SENSITIVE);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
    });
    EXPECT_EQ(dlg.DoModal(), TAVUi::IDOK);
    EXPECT_EQ(dlg.m_nChoice, 0);
    EXPECT_EQ(dlg.m_dSensitive, 1.0);
    EXPECT_EQ(dlg.m_dOtherShort, 0.75);
    EXPECT_EQ(dlg.m_dOtherLong, 0.9);
}

}  // namespace
