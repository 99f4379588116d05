// The sample town's flow chain and dimensioning driven through the desktop host's widgets give exactly the
// attributes (and the same export file) that examples/town/20_flows.sc and 30_hydraulics.sc give through
// sewercalc; a direction at a division is picked in the plan view while the dialog hides.
#include <gtest/gtest.h>

#include <QTableView>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "host/gui/MainWindow.h"
#include "host/gui/PlanView.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/host/Document.h"
#include "platform/network/TopologyStorage.h"

namespace {

namespace fs = std::filesystem;
using SewerGui::DialogWindow;

std::string Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every numeric and text attribute of every section, as sewercalc shows it.
std::string ShowAll(const fs::path& drawing) {
    std::string attrs;
    for (const auto* def :
         TAVGis::Data::CDataConfiguration::GetInstance().Definitions(TAVGis::Data::kEntitySection))
        attrs += " " + def->GetID();
    auto r = guitest::Sewercalc("show '" + drawing.string() + "' --format csv --attr" + attrs);
    EXPECT_EQ(r.code, 0) << r.output;
    return r.output;
}

// The alert lines of a sewercalc run, as the person would have seen them.
std::vector<std::string> AlertsOf(const std::string& output) {
    std::vector<std::string> alerts;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("alert", 0) == 0) alerts.push_back(line.substr(line.find(": ") + 2));
    return alerts;
}

class GuiTown : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<SewerGui::MainWindow>(guitest::Module());
        ui = std::make_unique<TAVHost::ScopedHostUi>(*window);
        window->alertSink = [this](const std::string& text) { alerts.push_back(text); };
        window->pickStarted = [this](const TAVHost::PickRequest&) {
            ++picks;
            window->FinishPick(true);  // as a script with no answer queued: nothing picked
        };
    }
    void TearDown() override {
        ui.reset();
        window.reset();
    }
    // Runs a command and drives the dialogs it shows, one driver per dialog, in order.
    void Drive(const std::string& command, std::vector<std::function<void(DialogWindow&)>> drivers) {
        std::size_t next = 0;
        window->dialogShown = [&](DialogWindow& w) {
            ASSERT_LT(next, drivers.size())
                << command << ": an unexpected dialog " << w.Dialog().TemplateId();
            drivers[next++](w);
        };
        ASSERT_TRUE(window->RunCommand(command)) << command;
        EXPECT_EQ(next, drivers.size()) << command << ": fewer dialogs than expected";
        window->dialogShown = nullptr;
    }
    std::unique_ptr<SewerGui::MainWindow> window;
    std::unique_ptr<TAVHost::ScopedHostUi> ui;
    std::vector<std::string> alerts;
    int picks = 0;
};

TEST_F(GuiTown, FlowsAndDimensioningThroughTheWidgetsEqualTheScriptsThroughSewercalc) {
    guitest::TempDir dir("town");
    // The export file path of 30_hydraulics.sc is relative: ../../build/demo/town_export.txt.
    const fs::path work = dir.Path() / "a" / "b";
    fs::create_directories(work);
    fs::create_directories(dir.Path() / "build" / "demo");
    const fs::path bySewercalc = dir.Path() / "by_sewercalc.gpkg", byGui = dir.Path() / "by_gui.gpkg";
    const std::string src = SEWER_SOURCE_DIR;
    for (const char* input : {"/examples/town/town.geojson", "/examples/catalogue/pipe_series.csv"}) {
        auto r = guitest::Sewercalc("import '" + bySewercalc.string() + "' '" + src + input + "'");
        ASSERT_EQ(r.code, 0) << r.output;
    }
    fs::copy_file(bySewercalc, byGui);
    std::vector<std::string> scriptAlerts;
    for (const char* script : {"/examples/town/20_flows.sc", "/examples/town/30_hydraulics.sc"}) {
        auto r = guitest::Sewercalc("run '" + bySewercalc.string() + "' '" + src + script + "'", work);
        ASSERT_EQ(r.code, 0) << r.output;
        for (auto& a : AlertsOf(r.output)) scriptAlerts.push_back(a);
    }
    const fs::path scriptExport = dir.Path() / "build" / "demo" / "town_export.txt";
    ASSERT_TRUE(fs::exists(scriptExport));
    const std::string scriptExportText = Bytes(scriptExport);
    fs::remove(scriptExport);

    ASSERT_TRUE(window->OpenDrawing(byGui.string()));
    const std::string finished = "Calculation finished: the results were written to the sections.";
    Drive("CalcWasteWaterPercent", {[&](DialogWindow& w) {
              guitest::TypeOver(w, "IDC_COMBO_CONFIG", "Town 2055");
              guitest::TypeOver(w, "IDC_EDIT_N", "14500");
              guitest::TypeOver(w, "IDC_EDIT_Q", "160");
              guitest::TypeOver(w, "IDC_EDIT_P", "0.8");
              guitest::TypeOver(w, "IDC_EDIT_T", "30");
              guitest::TypeOver(w, "IDC_EDIT_KD", "1.4");
              guitest::TypeOver(w, "IDC_EDIT_KH", "1.6");
              guitest::Click(w, "IDC_BUTTON_PREVIEW");
              guitest::Click(w, "IDOK");
              EXPECT_EQ(guitest::Shown(w, "IDC_STATIC_STATUS"), finished);
              w.reject();
          }});
    Drive("CalcFlowTotal", {[&](DialogWindow& w) {
              guitest::Click(w, "IDC_BUTTON_CLEAR_ALL");
              guitest::Check(w, "IDC_CHECK_HOME_PERCENT", true);
              guitest::Click(w, "IDOK");
              EXPECT_EQ(guitest::Shown(w, "IDC_STATIC_STATUS"), finished);
              guitest::Choose(w, "IDC_TAB", 1);
              guitest::Click(w, "IDC_BUTTON_CLEAR_ALL");
              guitest::Check(w, "IDC_CHECK_TRANZIT", true);
              guitest::Check(w, "IDC_CHECK_VLASTITI", true);
              guitest::Click(w, "IDC_BUTTON_CALC_TOTAL");
              EXPECT_EQ(guitest::Shown(w, "IDC_STATIC_STATUS"), finished);
              w.reject();
          }});
    Drive("CalcHydraulicsSewage", {[&](DialogWindow& w) {
              guitest::Choose(w, "IDC_TAB", 1);
              guitest::Click(w, "IDC_RADIO_MIN_DIAMETER");
              guitest::Click(w, "IDC_RADIO_WITHOUT_CONDITIONS");
              guitest::Choose(w, "IDC_COMBO_GROUP", 0);
              EXPECT_EQ(guitest::ControlOf(w, "IDC_COMBO_GROUP")->text, "PVC-U SN8 EN 1401");
              guitest::Click(w, "IDC_CALCULATE");
              // One row per section, and the report list shows them all.
              auto* results = guitest::ControlOf(w, "IDC_RESULTS");
              EXPECT_EQ(results->rows.size(), 126u);
              EXPECT_EQ(qobject_cast<QTableView*>(guitest::WidgetOf(w, "IDC_RESULTS"))->model()->rowCount(),
                        126);
              guitest::Click(w, "IDOK");
          }});
    const fs::path guiExport = dir.Path() / "gui_export.txt";
    Drive("WriteHydraulicsToFile", {[&](DialogWindow& w) {
              guitest::TypeOver(w, "IDC_EDIT_PATH", guiExport.string());
              guitest::Click(w, "IDOK");
          }});
    ASSERT_TRUE(window->SaveDrawing());
    EXPECT_EQ(alerts, scriptAlerts);

    const std::string expected = ShowAll(bySewercalc), actual = ShowAll(byGui);
    EXPECT_EQ(actual, expected);
    // Results are there at all: the plant's total flow and filling (checked by hand in the scripts).
    EXPECT_NE(expected.find("MS-PLANT,"), std::string::npos);
    EXPECT_EQ(Bytes(guiExport), scriptExportText);
    EXPECT_GT(scriptExportText.size(), 1000u);

    // The plan coloured by the filling: every section has a class.
    window->ColourBy("FILLING_PERCENT");
    std::size_t coloured = 0;
    for (const auto& c : window->Plan().Legend().classes) coloured += c.count;
    EXPECT_EQ(coloured, 126u);
    EXPECT_EQ(window->Plan().Legend().missing, 0u);
}

}  // namespace
