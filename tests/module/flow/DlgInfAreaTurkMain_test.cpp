// The Turkish influence-area dialog driven as a person would: texts, the fields' defaults and their memory
// in "TAV_LSD", the numeric rule, Set parameters with and without a pick, and Calculate with its alert.
// The calculation itself is tested without the dialog.
#include "module/flow/DlgInfAreaTurkMain.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "platform/gis/ModuleConfiguration.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;
using Input = CDlgInfAreaTurkChild_Input;
using Calculation = CDlgInfAreaTurkChild_Calculation;

constexpr int kEdits[] = {Input::IDC_EDIT_HOUSE_WASTE_WATER_FLOW, Input::IDC_EDIT_INFILTRATION,
                          Input::IDC_EDIT_ADDITIONAL_WATER, Input::IDC_EDIT_KMIN, Input::IDC_EDIT_KMAX};

class InfluenceDialogTest : public testsupport::DrawingTest {
protected:
    void Open(std::function<void(CDlgInfAreaTurkMain&)> driver) {
        ui.drivers.push_back(
            [driver](TAVUi::CAdUiBaseDialog& d) { driver(dynamic_cast<CDlgInfAreaTurkMain&>(d)); });
        CSewageCalculations::CalcInfluenceAreasTurkish();
        ASSERT_TRUE(ui.drivers.empty()) << "the dialog did not open";
    }
    static std::optional<double> Stored(const std::string& key) {
        double v = 0.0;
        if (!CDialogState(CDialogState::kLegacyDictionary).Read(key, v)) return std::nullopt;
        return v;
    }
};

TEST_F(InfluenceDialogTest, OpensWithCatalogueTextsAndDefaults) {
    Open([](CDlgInfAreaTurkMain& d) {
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(10563));
        const auto& tab = d.Item(CDlgInfAreaTurkMain::IDC_TAB);
        ASSERT_EQ(tab.items.size(), 2u);
        EXPECT_EQ(tab.items[0].text, CModuleConfiguration::GetMsg(61028));
        EXPECT_EQ(tab.items[1].text, CModuleConfiguration::GetMsg(3564));
        EXPECT_EQ(d.ActivePage(), &d.InputPage());
        EXPECT_EQ(d.GetDlgItemText(TAVUi::IDCANCEL), CModuleConfiguration::GetMsg(235));
        EXPECT_EQ(d.SendMessage(CDlgInfAreaTurkMain::WM_KEEP_FOCUS), 1);
        auto& input = d.InputPage();
        const char* defaults[] = {"144", "0.1", "0.25", "0.7", "1.3"};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(input.GetDlgItemText(kEdits[i]), defaults[i]);
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_STATIC_HOUSE_WASTE_WATER_FLOW),
                  CModuleConfiguration::GetMsg(3899));
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_STATIC_INFILTRATION), CModuleConfiguration::GetMsg(10562));
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_STATIC_ADDITIONAL_WATER),
                  CModuleConfiguration::GetMsg(10561));
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_STATIC_KMIN), CModuleConfiguration::GetMsg(10550));
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_STATIC_KMAX), CModuleConfiguration::GetMsg(10552));
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_BUTTON_SET_PARAMETERS), CModuleConfiguration::GetMsg(6095));
        auto& calculation = d.CalculationPage();
        EXPECT_EQ(calculation.GetDlgItemText(Calculation::IDC_CHECK_POINT_FLOW),
                  CModuleConfiguration::GetMsg(10672));
        EXPECT_EQ(calculation.IsDlgButtonChecked(Calculation::IDC_CHECK_POINT_FLOW), 0);
        EXPECT_EQ(calculation.GetDlgItemText(Calculation::IDC_BUTTON_CALCULATE),
                  CModuleConfiguration::GetMsg(3085));
    });
}

// Close keeps the five values in "TAV_LSD" (not in the current dictionary); the fields hold no negative
// number, at most 8 whole digits and 4 decimals; the point-flow check is not kept.
TEST_F(InfluenceDialogTest, CloseKeepsTheFiveValuesInTheOlderDictionary) {
    Open([](CDlgInfAreaTurkMain& d) {
        auto& input = d.InputPage();
        input.SetDlgItemText(Input::IDC_EDIT_HOUSE_WASTE_WATER_FLOW, "150.5");
        input.SetDlgItemText(Input::IDC_EDIT_KMAX, "1.45");
        // The sign is dropped, a fifth decimal cut, a ninth whole digit dropped.
        input.SetDlgItemText(Input::IDC_EDIT_INFILTRATION, "-3");
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_EDIT_INFILTRATION), "3");
        input.SetDlgItemText(Input::IDC_EDIT_ADDITIONAL_WATER, "0.12345");
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_EDIT_ADDITIONAL_WATER), "0.1234");
        input.SetDlgItemText(Input::IDC_EDIT_KMIN, "123456789");
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_EDIT_KMIN), "12345678");
        d.CalculationPage().CheckDlgButton(Calculation::IDC_CHECK_POINT_FLOW, 1);
        d.OnCancel();
    });
    EXPECT_EQ(Stored("m_edHouseWasteWaterFlow"), 150.5);
    EXPECT_EQ(Stored("m_edInfiltration"), 3.0);
    EXPECT_EQ(Stored("m_edAdditionalWater"), 0.1234);
    EXPECT_EQ(Stored("m_edKmin"), 12345678.0);
    EXPECT_EQ(Stored("m_edKmax"), 1.45);
    double v = 0.0;
    EXPECT_FALSE(CDialogState().Read("m_edKmax", v));  // not in "TAVX_LSD2"
    Open([](CDlgInfAreaTurkMain& d) {
        EXPECT_EQ(d.InputPage().GetDlgItemText(Input::IDC_EDIT_HOUSE_WASTE_WATER_FLOW), "150.5");
        EXPECT_EQ(d.InputPage().GetDlgItemText(Input::IDC_EDIT_KMAX), "1.45");
        EXPECT_EQ(d.InputPage().GetDlgItemText(Input::IDC_EDIT_KMIN), "12345678");
        EXPECT_EQ(d.CalculationPage().IsDlgButtonChecked(Calculation::IDC_CHECK_POINT_FLOW), 0);
    });
}

// Set parameters writes nothing before a pick; after one, the picked sections get the values (the main
// dialog hides while the person picks); then Calculate writes the whole system, and a section without
// parameters stops it with alert 2155 naming the section.
TEST_F(InfluenceDialogTest, SetParametersThenCalculate) {
    Section("A", "a", "b");
    Section("B", "b", "c");
    Set("A", "HOUSE_WASTE", 10.0);
    Set("A", "POP_DENSITY_AREA", 100.0);
    std::optional<bool> visibleDuringPick;
    CDlgInfAreaTurkMain* open = nullptr;
    ui.onPick = [&](const TAVHost::PickRequest&) { visibleDuringPick = open && open->IsWindowVisible(); };
    Open([&](CDlgInfAreaTurkMain& d) {
        open = &d;
        auto& input = d.InputPage();
        input.Notify(Input::IDC_BUTTON_SET_PARAMETERS, Notification::Clicked);
        EXPECT_FALSE(input.LastResult().selection);
        EXPECT_FALSE(Get("A", "TUR_INF_FLOW_PER_POP"));

        ui.picks.push_back({"A"});
        input.Notify(Input::IDC_BUTTON_SELECT, Notification::Clicked);
        EXPECT_EQ(visibleDuringPick, false);
        EXPECT_TRUE(d.IsWindowVisible());
        input.Notify(Input::IDC_BUTTON_SET_PARAMETERS, Notification::Clicked);
        EXPECT_EQ(Get("A", "TUR_INF_FLOW_PER_POP"), 144.0);
        EXPECT_EQ(Get("A", "TUR_KMAX_D"), 1.3);
        EXPECT_FALSE(Get("B", "TUR_INF_FLOW_PER_POP"));
        EXPECT_EQ(input.GetDlgItemText(Input::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));

        d.ChooseTab(1);
        auto& calculation = d.CalculationPage();
        calculation.Notify(Calculation::IDC_BUTTON_CALCULATE, Notification::Clicked);
        ASSERT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(2155) + " B");
        EXPECT_FALSE(Get("A", "FLOW_TOTAL"));
        EXPECT_EQ(calculation.GetDlgItemText(Calculation::IDC_STATIC_STATUS), "");

        d.ChooseTab(0);
        ui.picks.push_back({"A", "B"});
        input.Notify(Input::IDC_BUTTON_SELECT, Notification::Clicked);
        input.Notify(Input::IDC_BUTTON_SET_PARAMETERS, Notification::Clicked);
        d.ChooseTab(1);
        calculation.Notify(Calculation::IDC_BUTTON_CALCULATE, Notification::Clicked);
        EXPECT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(calculation.GetDlgItemText(Calculation::IDC_STATIC_STATUS),
                  CModuleConfiguration::GetMsg(2050));
        EXPECT_FALSE(d.IsEnded());
    });
    // A: 1000 inhabitants, Qh = 1.666667 l/s, summer 6.416667 l/s (see the calculation's tests).
    ASSERT_TRUE(Get("B", "FLOW_TOTAL"));
    EXPECT_NEAR(*Get("A", "FLOW_TOTAL"), 0.006416667, 1e-9);
    EXPECT_NEAR(*Get("B", "FLOW_TOTAL"), 0.006416667, 1e-9);
    EXPECT_EQ(Get("B", "POP_PER_SECTION_C"), 1000.0);
}

}  // namespace
