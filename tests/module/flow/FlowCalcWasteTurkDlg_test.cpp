// The Turkish waste-water dialog driven as a person would: the consumption-coefficient drop-down, what each
// switch enables, the parameter-set document and applying a stored set, the empty name, the status line,
// the values the save writes, a new selection, and the function-trace lines of the handlers.
#include "module/flow/FlowCalcWasteTurkDlg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "module/app/SewageCalculations.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/network/CatchmentArea.h"
#include "platform/sessions/LogEngine.h"
#include "support/TestSupport.h"

namespace {

using D = CFlowCalcWasteTurkDlg;
using TAVGis::CModuleConfiguration;
using TAVGis::Logging::CLogEngine;
using TAVUi::CAdUiBaseDialog;
using TAVUi::Notification;

constexpr TAVUi::Rgb kOrange = TAVUi::RGB(255, 91, 0);
constexpr TAVUi::Rgb kBlue = TAVUi::RGB(0, 0, 255);

class FlowCalcWasteTurkDlgTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        // U: 10 ha of houses at 600 inhabitants/ha; S below it: 10 ha at 400 and 10 ha of industry.
        Section("U", "A", "B");
        Section("S", "B", "C");
        Area("h1", "U", TAVGis::Topology::kCatchmentHousehold, 10.0, 600.0);
        Area("h2", "S", TAVGis::Topology::kCatchmentHousehold, 10.0, 400.0);
        Area("i1", "S", TAVGis::Topology::kCatchmentIndustrial, 10.0, 0.0);
    }
    void Area(const std::string& name, const std::string& section, int kind, double ha, double density) {
        auto a = Topo().AddCatchmentArea(name, system);
        a->kind = kind;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, Topo().FindSectionByName(section)->GetGuid());
    }
    void Open(std::function<void(D&)> driver) {
        ui.drivers.push_back([driver](CAdUiBaseDialog& d) { driver(dynamic_cast<D&>(d)); });
        CSewageCalculations::CalcWasteWaterTurkish();
        ASSERT_TRUE(ui.drivers.empty());
    }
    static void Save(D& d, const std::string& name) {
        d.Item(D::IDC_COMBO_CONFIG).text = name;
        d.Notify(D::IDC_BUTTON_SAVE, Notification::Clicked);
    }
    // A click on a check box toggles it, as a person's would.
    static void Tick(D& d, int id) { d.Notify(id, Notification::Clicked); }
    std::string Document() {
        CTAVCDictionaryPtr dict("ACH_FLOW", AcDb::kForRead);
        std::string text;
        dctRead(dict, "ACH_FLOW_CONFIG_DATA_AREA_TURK", text, false);
        return text;
    }
    void StoreDocument(const std::string& text) {
        CTAVCDictionaryPtr dict("ACH_FLOW", AcDb::kForWrite);
        dctWrite(dict, "ACH_FLOW_CONFIG_DATA_AREA_TURK", text, false, true, 1);
    }
};

TEST_F(FlowCalcWasteTurkDlgTest, OpensWithItsEntriesDefaultsAndEnablingRules) {
    Open([this](D& d) {
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(9344));
        EXPECT_EQ(d.GetDlgItemText(D::IDC_BUTTON_SAVE), CModuleConfiguration::GetMsg(2428));
        EXPECT_EQ(D::IDC_BUTTON_SAVE, 216);
        const auto& coefficient = d.Item(D::IDC_COMBO_COEFFICIENT);
        ASSERT_EQ(coefficient.items.size(), 3u);
        const std::pair<const char*, std::uintptr_t> entries[] = {{"0.5", 5}, {"1.0", 10}, {"1.5", 15}};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(coefficient.items[i].text, entries[i].first);
            EXPECT_EQ(coefficient.items[i].data, entries[i].second);
        }
        EXPECT_EQ(coefficient.curSel, 0);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_CONSUMPTION), "1");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_PEAK), "2");
        EXPECT_EQ(d.Item(D::IDC_COMBO_CONFIG).text, "Default");
        EXPECT_EQ(d.Sections().size(), 2u);
        EXPECT_EQ(doc->Editor().highlighted.size(), 2u);
        // All switches off: the three checks and Save enabled, the fields behind the switches not.
        for (int id : {D::IDC_CHECK_HOME, D::IDC_CHECK_INDUSTRIAL, D::IDC_CHECK_INFILTRATION,
                       D::IDC_BUTTON_SAVE, D::IDC_COMBO_CONFIG})
            EXPECT_TRUE(d.Item(id).enabled) << id;
        const int homeFields[] = {D::IDC_EDIT_CONSUMPTION, D::IDC_STATIC_CONSUMPTION};
        const int industrialFields[] = {D::IDC_COMBO_COEFFICIENT, D::IDC_STATIC_COEFFICIENT, D::IDC_EDIT_PEAK,
                                        D::IDC_STATIC_PEAK};
        auto expectEnabled = [&d](const auto& ids, bool on) {
            for (int id : ids) EXPECT_EQ(d.Item(id).enabled, on) << id;
        };
        expectEnabled(homeFields, false);
        expectEnabled(industrialFields, false);
        Tick(d, D::IDC_CHECK_INFILTRATION);  // enables nothing
        expectEnabled(homeFields, false);
        expectEnabled(industrialFields, false);
        Tick(d, D::IDC_CHECK_HOME);
        expectEnabled(homeFields, true);
        expectEnabled(industrialFields, false);
        Tick(d, D::IDC_CHECK_INDUSTRIAL);
        expectEnabled(industrialFields, true);
        Tick(d, D::IDC_CHECK_HOME);
        expectEnabled(homeFields, false);
        expectEnabled(industrialFields, true);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_TRUE(doc->Editor().highlighted.empty());  // closing removes the highlighting
}

// An empty name stores and writes nothing; switches off store the set and write nothing (the status line
// stays empty); all switches on write the hand values, show 2050 in orange and bold; "1.5" with F = 2 and
// A4 = 10 gives 0.03, infiltration on A2 = 10 gives 0.001; S serves 10,000 inhabitants with U above it.
TEST_F(FlowCalcWasteTurkDlgTest, SaveStoresTheSetWritesTheFlowsAndShowsTheStatus) {
    Open([this](D& d) {
        Save(d, "   ");
        ASSERT_EQ(ui.alerts.size(), 1u);
        EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(2059));
        EXPECT_EQ(Document(), "");

        Save(d, " Town ");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), "");
        EXPECT_EQ(*d.Item(D::IDC_STATIC_STATUS).textColor, kOrange);
        EXPECT_TRUE(d.Item(D::IDC_STATIC_STATUS).bold);
        EXPECT_FALSE(Get("S", "FLOW_TUR_WASTE_IND"));
        EXPECT_NE(Document(), "");

        Tick(d, D::IDC_CHECK_HOME);
        Tick(d, D::IDC_CHECK_INDUSTRIAL);
        Tick(d, D::IDC_CHECK_INFILTRATION);
        d.SetDlgItemText(D::IDC_EDIT_CONSUMPTION, "150");
        d.Item(D::IDC_COMBO_COEFFICIENT).SetCurSel(2);
        Save(d, "Town");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        EXPECT_EQ(*d.Item(D::IDC_STATIC_STATUS).textColor, kOrange);
        EXPECT_TRUE(d.Item(D::IDC_STATIC_STATUS).bold);
        EXPECT_EQ(ui.alerts.size(), 1u);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_NEAR(*Get("S", "FLOW_BABBIT"), 3.154787, 1e-6);
    EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_HOME"), 0.054770603, 1e-9);
    EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_IND"), 0.03, 1e-15);
    EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_INF"), 0.001, 1e-15);
    // U alone: 6000 inhabitants, M = 5 / 6^0.2; no industry.
    EXPECT_NEAR(*Get("U", "FLOW_BABBIT"), 5.0 / std::pow(6.0, 0.2), 1e-12);
    EXPECT_EQ(*Get("U", "FLOW_TUR_WASTE_IND"), 0.0);
    // One element, updated in place, its attributes in order, the index as an integer; no section tags.
    EXPECT_EQ(
        Document(),
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?><configs><config name=\"Town\" potrosnja=\"150.000000\" "
        "peek=\"2.000000\" koefPotrosnje=\"2\"/></configs>");
}

// A stored set fills the fields and the coefficient's entry when the dialog opens and when it is chosen; a
// stored index outside the entries selects none, and the flow then uses c = 1.0.
TEST_F(FlowCalcWasteTurkDlgTest, StoredSetsAreAppliedWithTheirCoefficientEntry) {
    StoreDocument(
        "<?xml version=\"1.0\" encoding=\"utf-8\" ?><configs>"
        "<config name=\"First\" potrosnja=\"120.500000\" peek=\"1.500000\" koefPotrosnje=\"1\"/>"
        "<config name=\"Odd\" potrosnja=\"80.000000\" peek=\"3.000000\" koefPotrosnje=\"7\"/></configs>");
    Open([this](D& d) {
        auto& combo = d.Item(D::IDC_COMBO_CONFIG);
        ASSERT_EQ(combo.items.size(), 2u);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_CONSUMPTION), "120.5");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_PEAK), "1.5");
        EXPECT_EQ(d.Item(D::IDC_COMBO_COEFFICIENT).curSel, 1);
        EXPECT_DOUBLE_EQ(d.ReadInput().consumptionCoefficient, 1.0);
        combo.SetCurSel(1);
        d.Notify(D::IDC_COMBO_CONFIG, Notification::SelChange);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_CONSUMPTION), "80");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_PEAK), "3");
        EXPECT_EQ(d.Item(D::IDC_COMBO_COEFFICIENT).curSel, -1);
        Tick(d, D::IDC_CHECK_INDUSTRIAL);
        d.Notify(D::IDC_BUTTON_SAVE, Notification::Clicked);  // saves "Odd" again, nothing chosen: -1
        combo.SetCurSel(0);
        d.Notify(D::IDC_COMBO_CONFIG, Notification::SelChange);
        EXPECT_EQ(d.Item(D::IDC_COMBO_COEFFICIENT).curSel, 1);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_PEAK), "1.5");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_IND"), 10.0 * 1.0 * 3.0 / 1000.0, 1e-15);
    EXPECT_NE(Document().find(
                  "<config name=\"Odd\" potrosnja=\"80.000000\" peek=\"3.000000\" koefPotrosnje=\"-1\"/>"),
              std::string::npos);
}

// A new selection clears the status line in blue and takes only its sections; an empty selection disables
// the inputs and Save.
TEST_F(FlowCalcWasteTurkDlgTest, NewSelectionTakesItsSectionsAndClearsTheStatusInBlue) {
    Open([this](D& d) {
        Tick(d, D::IDC_CHECK_INFILTRATION);
        Tick(d, D::IDC_CHECK_HOME);
        Save(d, "Town");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), CModuleConfiguration::GetMsg(2050));
        ui.picks.push_back({"U"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        ASSERT_EQ(d.Sections().size(), 1u);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), "");
        EXPECT_EQ(*d.Item(D::IDC_STATIC_STATUS).textColor, kBlue);
        EXPECT_TRUE(d.Item(D::IDC_STATIC_STATUS).bold);
        EXPECT_EQ(doc->Editor().highlighted.size(), 1u);
        EXPECT_TRUE(d.Item(D::IDC_EDIT_CONSUMPTION).enabled);
        // Nodes only: the selection is not empty, so the controls stay enabled, but there is no section
        // to write: the set is stored, the status line stays empty.
        ui.picks.push_back({"A"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        EXPECT_TRUE(d.Sections().empty());
        EXPECT_TRUE(d.Item(D::IDC_BUTTON_SAVE).enabled);
        Set("U", "FLOW_TUR_WASTE_INF", TAVGis::Data::CDataBox());
        Save(d, "Nodes");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_STATUS), "");
        EXPECT_FALSE(Get("U", "FLOW_TUR_WASTE_INF"));
        EXPECT_NE(Document().find("name=\"Nodes\""), std::string::npos);
        // A pick that holds no element of the network: everything but the selection button is disabled.
        ui.picks.push_back({"no such element"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        for (int id : {D::IDC_BUTTON_SAVE, D::IDC_COMBO_CONFIG, D::IDC_CHECK_HOME, D::IDC_EDIT_CONSUMPTION,
                       D::IDC_CHECK_INFILTRATION})
            EXPECT_FALSE(d.Item(id).enabled) << id;
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
}

// With logging on, each handler writes its entry and exit lines under its qualified name and the save its
// step and checks; the three definitions exist, so no failed check is written.
TEST_F(FlowCalcWasteTurkDlgTest, HandlersWriteTheirTraceLines) {
    const std::string path = (std::filesystem::temp_directory_path() / "turkish_waste_trace.log").string();
    std::filesystem::remove(path);
    const bool wasOn = CLogEngine::GetLoggingOnOff();
    const std::string oldPath = CLogEngine::GetLogFileFullPath();
    CLogEngine::SetLogging(true, path);
    Open([](D& d) {
        Tick(d, D::IDC_CHECK_HOME);
        Tick(d, D::IDC_CHECK_INDUSTRIAL);
        Tick(d, D::IDC_CHECK_INFILTRATION);
        d.Item(D::IDC_COMBO_CONFIG).SetCurSel(0);
        d.Notify(D::IDC_COMBO_CONFIG, Notification::SelChange);
        Save(d, "Traced");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    CLogEngine::SetLogging(wasOn, oldPath);
    std::istringstream in(testsupport::ReadTextFile(path));
    std::filesystem::remove(path);
    std::vector<std::string> messages;
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ(line.find("FlowCalcWasteTurkDlg.cpp"), 11u) << line;  // after "[HH:MM:SS] "
        messages.push_back(line.substr(line.find("], ") + 3));
    }
    const std::string entering = "Entering function , CFlowCalcWasteTurkDlg::";
    const std::string exiting = "Exiting function , CFlowCalcWasteTurkDlg::";
    const std::vector<std::string> expected = {
        entering + "OnInitDialog",
        entering + "InitEdit",
        exiting + "InitEdit",
        entering + "LoadConfigs",
        exiting + "LoadConfigs",
        exiting + "OnInitDialog",
        entering + "OnCheckHome",
        exiting + "OnCheckHome",
        entering + "OnCheckInd",
        exiting + "OnCheckInd",
        entering + "OnSelchangeComboConfig",
        exiting + "OnSelchangeComboConfig",
        entering + "OnBnClickedBtnSave",
        "Calculation...",
        exiting + "OnBnClickedBtnSave",
    };
    EXPECT_EQ(messages, expected);
}

}  // namespace
