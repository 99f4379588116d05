// The sample town's main job (examples/town/NN_*.sc: the flow chain and the dimensioning) run through the
// desktop host's widgets gives exactly the section attributes, alerts and export file that the same
// scripts give through sewercalc.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "WidgetScript.h"
#include "host/gui/MainWindow.h"
#include "host/gui/PlanView.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/host/Document.h"
#include "platform/network/TopologyStorage.h"

namespace {

namespace fs = std::filesystem;

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

using GuiTown = guitest::WindowTest;

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
    // Every script of the main job, in name order, as make demo runs them.
    std::vector<fs::path> scripts;
    for (const auto& entry : fs::directory_iterator(src + "/examples/town")) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 3 && std::isdigit(static_cast<unsigned char>(name[0])) &&
            std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == '_' &&
            entry.path().extension() == ".sc")
            scripts.push_back(entry.path());
    }
    std::sort(scripts.begin(), scripts.end());
    ASSERT_GE(scripts.size(), 2u);
    std::vector<std::string> scriptAlerts;
    for (const auto& script : scripts) {
        auto r = guitest::Sewercalc("run '" + bySewercalc.string() + "' '" + script.string() + "'", work);
        ASSERT_EQ(r.code, 0) << r.output;
        for (auto& a : AlertsOf(r.output)) scriptAlerts.push_back(a);
    }
    const fs::path scriptExport = dir.Path() / "build" / "demo" / "town_export.txt";
    ASSERT_TRUE(fs::exists(scriptExport));
    const std::string scriptExportText = Bytes(scriptExport);
    fs::remove(scriptExport);

    // The same scripts through the widgets, from the same folder (their paths are relative).
    ASSERT_TRUE(window->OpenDrawing(byGui.string()));
    const fs::path before = fs::current_path();
    fs::current_path(work);
    for (const auto& script : scripts) guitest::WidgetScript(*window, script.string()).Run();
    fs::current_path(before);
    ASSERT_TRUE(window->SaveDrawing());
    EXPECT_EQ(alerts, scriptAlerts);

    const std::string expected = ShowAll(bySewercalc), actual = ShowAll(byGui);
    EXPECT_EQ(actual, expected);
    // Results are there at all: the plant's total flow and filling (checked by hand in the scripts).
    EXPECT_NE(expected.find("MS-PLANT,"), std::string::npos);
    EXPECT_EQ(Bytes(scriptExport), scriptExportText);
    EXPECT_GT(scriptExportText.size(), 1000u);

    // The plan coloured by the filling: every section has a class.
    window->ColourBy("FILLING_PERCENT");
    std::size_t coloured = 0;
    for (const auto& c : window->Plan().Legend().classes) coloured += c.count;
    EXPECT_EQ(coloured, 126u);
    EXPECT_EQ(window->Plan().Legend().missing, 0u);
}

}  // namespace
