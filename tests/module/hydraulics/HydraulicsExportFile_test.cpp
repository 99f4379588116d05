// The hydraulics export file, byte for byte, and the export dialog.
#include "module/hydraulics/calc/HydraulicsExportFile.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "module/hydraulics/dlg_atvFile.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "tests/module/hydraulics/HydraulicsTestSupport.h"

namespace {

namespace fs = std::filesystem;
using TAVUi::Notification;

class ExportTest : public hydraulicstest::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        dir = fs::temp_directory_path() / ("hydraulics_export_" + std::to_string(::getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir, ec);
        CatalogueTest::TearDown();
    }

    void Catchment(const std::string& name, const std::string& section, int kind, double area,
                   double density) {
        auto a = Topo().AddCatchmentArea(name, system);
        a->kind = kind;
        a->areaHa = area;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, Topo().FindSectionByName(section)->GetGuid());
    }

    // The network of the hand-checked file data/small_export.txt.
    void BuildSmallTown() {
        Node("A", 0, 0, 101.5);
        Node("B", 30, 40, 100.0);
        Node("C", 30, 100);
        Section(
            "\xC5\xA0"
            "alata 1",
            "A", "B");  // "Šalata 1"
        Section("S2", "B", "C");
        const std::string s1 =
            "\xC5\xA0"
            "alata 1";
        Topo().FindSectionByName(s1)->SetLevels(98.2, 97.975);
        Catchment("K1", s1, 1, 1.25, 0.0);
        Catchment("K2", s1, 1, 0.5, 0.0);
        Catchment("H1", s1, 2, 2.0, 120.0);
        Catchment("I1", s1, 4, 0.75, 0.0);
        const std::pair<const char*, double> values[] = {{"FLOW_WASTE_IND", 0.002},
                                                         {"FLOW_WASTE_HOME", 0.0031},
                                                         {"FLOW_FOREIGN", 0.0004},
                                                         {"FLOW_IDF_INTENSITY", 180.5},
                                                         {"FLOW_RAIN_IDF", 0.0456},
                                                         {"FLOW_TOTAL", 0.0511},
                                                         {"SECTION_SLOPE", 4.5},
                                                         {"FILLING_HEIGHT", 0.1234},
                                                         {"VELOCITY_FULLFILLED", 1.1},
                                                         {"FLOW_FULLFILLED", 0.0777},
                                                         {"VELOCITY_PARTIALFILLED", 0.95},
                                                         {"FLOW_INTIME", 10.0},
                                                         {"FLOW_IDF_TIME", 12.5},
                                                         {"FLOW_IDF_MJ_TIME", 3.0},
                                                         {"FLOW_IDF_CONC_TIME", 15.25},
                                                         {"FLOW_PERCENT", 65.7657},
                                                         {"FLOW_IDF_AREA_CORRECTED_SECT", 0.6},
                                                         {"FLOW_IDF_AREA_CORRECTED_TOTAL", 1.2345678}};
        for (const auto& [name, v] : values) Set(s1, name, v);
        Set(s1, "PIPE_REF", PipeGuid(300.0));
    }

    std::vector<TAVGis::Topology::CSectionPtr> All() { return Topo().Sections(); }

    static std::string Legend() {
        std::string legend;
        for (int n = 4495; n <= 4533; ++n)
            legend += (n > 4495 ? "\r\n" : "") + TAVGis::CModuleConfiguration::GetMsg(n);
        return legend;
    }

    // Runs the export command; the driver acts on the dialog.
    void RunExport(std::function<void(dlg_atvFile&)> driver) {
        ui.drivers.push_back([driver](TAVUi::CAdUiBaseDialog& d) { driver(dynamic_cast<dlg_atvFile&>(d)); });
        CSewageCalculations::WriteHydraulicsToFile();
    }

    fs::path dir;
};

TEST_F(ExportTest, ASmallExportEqualsTheHandCheckedFileByteForByte) {
    BuildSmallTown();
    const fs::path path = dir / "town.txt";
    ASSERT_TRUE(CHydraulicsExportFile::Write(path.string(), All()));
    const std::string expected = testsupport::ReadTextFile(std::string(SEWER_SOURCE_DIR) +
                                                           "/tests/module/hydraulics/data/small_export.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(testsupport::ReadTextFile(path.string()), expected);
}

TEST_F(ExportTest, ASectionWithOnlyItsNameAndNodesStillGives39Fields) {
    Node("A", 0, 0);
    Node("B", 3, 4);
    Section("BARE", "A", "B");
    ASSERT_EQ(CHydraulicsExportFile::Fields(Topo().FindSectionByName("BARE")).size(), 39u);
    std::ostringstream out;
    CHydraulicsExportFile::WriteTo(out, All());
    EXPECT_NE(out.str().find("\r\nBARE;;;A;B;;;;;;;;;;;;BARE;5.0000;;;;;;;;;;;;;;;;;;;;;\r\n\r\n"),
              std::string::npos);
}

TEST_F(ExportTest, FieldRulesForMissingZeroAndStoredSentinelValues) {
    Node("A", 0, 0);
    Node("B", 3, 4);
    Section("S", "A", "B");
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, double>> values;
        int field;
        std::string expected;
    } cases[] = {
        {"household flow only", {{"FLOW_WASTE_HOME", 0.0123}}, 10, ""},
        {"household flow only", {{"FLOW_WASTE_HOME", 0.0123}}, 11, "12.3000"},
        {"household flow only", {{"FLOW_WASTE_HOME", 0.0123}}, 12, "12.3000"},
        {"industrial only", {{"FLOW_WASTE_IND", 0.001}}, 11, ""},
        {"industrial only", {{"FLOW_WASTE_IND", 0.001}}, 12, "1.0000"},
        {"household and foreign cancel", {{"FLOW_WASTE_HOME", 0.002}, {"FLOW_FOREIGN", -0.002}}, 11, ""},
        {"sentinel total flow is missing", {{"FLOW_TOTAL", -1000000.0}}, 16, ""},
        {"sentinel slope is a stored value", {{"SECTION_SLOPE", -1000000.0}}, 19, "-1000000.0000"},
        {"zero slope is written", {{"SECTION_SLOPE", 0.0}}, 19, "0.0000"},
        {"filling without a start level", {{"FILLING_HEIGHT", 0.2}}, 26, ""},
        // Values that are not finite (an older drawing, a flow too large for l/s) are empty, never "inf".
        {"an infinite total flow", {{"FLOW_TOTAL", std::numeric_limits<double>::infinity()}}, 16, ""},
        {"a slope that is not a number",
         {{"SECTION_SLOPE", std::numeric_limits<double>::quiet_NaN()}},
         19,
         ""},
        {"1e308 m3/s in l/s", {{"FLOW_WASTE_HOME", 1e308}}, 12, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto s = Topo().FindSectionByName("S");
        for (const char* n : {"FLOW_WASTE_HOME", "FLOW_WASTE_IND", "FLOW_FOREIGN", "FLOW_TOTAL",
                              "SECTION_SLOPE", "FILLING_HEIGHT"})
            TAVGis::Data::CDataRW::Delete(n, s);
        for (const auto& [name, v] : c.values) Set("S", name, v);
        EXPECT_EQ(CHydraulicsExportFile::Fields(s)[static_cast<std::size_t>(c.field - 1)], c.expected)
            << c.field;
    }
}

TEST_F(ExportTest, AnEmptySelectionWritesHeaderLineEndsAndLegend) {
    std::ostringstream out;
    CHydraulicsExportFile::WriteTo(out, {});
    EXPECT_EQ(out.str(), "\r\n" + CHydraulicsExportFile::Header() + "\r\n\r\n" + Legend());
    EXPECT_EQ(CHydraulicsExportFile::Header().substr(0, 8), "1;2;3;4;");
    const std::string legend = Legend();
    EXPECT_EQ(std::count(legend.begin(), legend.end(), '\n'), 38);
}

TEST_F(ExportTest, TheDialogProposesTheDrawingNameAndWritesThePathItStores) {
    BuildSmallTown();
    const fs::path target = dir / "out.txt";
    RunExport([&](dlg_atvFile& d) {
        EXPECT_EQ(d.GetWindowText(), TAVGis::CModuleConfiguration::GetMsg(7700));
        EXPECT_EQ(d.GetDlgItemText(dlg_atvFile::IDC_EDIT_PATH), "C:\\Test.txt");
        EXPECT_EQ(d.SelectedSections().size(), 2u);
        d.SetDlgItemText(dlg_atvFile::IDC_EDIT_PATH, target.string());
        d.Notify(TAVUi::IDOK, Notification::Clicked);
    });
    EXPECT_TRUE(ui.alerts.empty());
    EXPECT_EQ(testsupport::ReadTextFile(target.string()),
              testsupport::ReadTextFile(std::string(SEWER_SOURCE_DIR) +
                                        "/tests/module/hydraulics/data/small_export.txt"));
    // The next start proposes the stored path; Browse proposes the default name and replaces the edit.
    TAVGis::CModuleConfiguration::SetGSValue("DEFAULT_PATH", dir.string() + "/");
    ui.files.push_back((dir / "picked.txt").string());
    RunExport([&](dlg_atvFile& d) {
        EXPECT_EQ(d.GetDlgItemText(dlg_atvFile::IDC_EDIT_PATH), target.string());
        d.Notify(dlg_atvFile::IDC_BROWSE, Notification::Clicked);
        EXPECT_EQ(d.GetDlgItemText(dlg_atvFile::IDC_EDIT_PATH), (dir / "picked.txt").string());
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_FALSE(fs::exists(dir / "picked.txt"));
}

// An empty path is not stored; a path that cannot be written is stored all the same.
TEST_F(ExportTest, AnUnusablePathGivesItsAlertAndNoFile) {
    BuildSmallTown();
    const std::string missingFolder = (dir / "missing" / "out.txt").string();
    struct Case {
        std::string path;
        int alert;
        std::optional<std::string> stored;
    } cases[] = {{"", 4493, std::nullopt}, {missingFolder, 4494, missingFolder}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alert);
        ui.alerts.clear();
        RunExport([&](dlg_atvFile& d) {
            d.SetDlgItemText(dlg_atvFile::IDC_EDIT_PATH, c.path);
            d.Notify(TAVUi::IDOK, Notification::Clicked);
            EXPECT_TRUE(d.IsEnded());
        });
        EXPECT_EQ(ui.alerts, std::vector<std::string>{TAVGis::CModuleConfiguration::GetMsg(c.alert)});
        EXPECT_FALSE(fs::exists(missingFolder));
        std::string stored;
        EXPECT_EQ(
            CDialogState().Read("DIVODORHYDRAULICS_ATVFILE", stored) ? std::optional(stored) : std::nullopt,
            c.stored);
    }
}

TEST_F(ExportTest, NoSectionsClosesTheDialogAtOnce) {
    bool ran = false;
    RunExport([&](dlg_atvFile&) { ran = true; });
    EXPECT_FALSE(ran);
    ui.drivers.clear();
}

}  // namespace
