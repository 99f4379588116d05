// The Turkish rain stations (CIDPTurkParams): the per-user store, its edits and its reading of bad files,
// and rain by a station's data in the calculator "001_RAIN_ITP".
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gis/ModuleConfiguration.h"
#include "platform/sessions/WsBaseDialog.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/IDPTurkParams.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace TAVGis::Sewage;
using TAVGis::CModuleConfiguration;
using TAVGis::Data::CDataBox;

// A scratch configuration folder for the test's lifetime (TAVX_CONFIG_DIR).
class ConfigFolder {
public:
    ConfigFolder() {
        m_dir = fs::temp_directory_path() /
                ("tavx_stations_" + std::to_string(::getpid()) + "_" + std::to_string(++s_count));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        const char* old = std::getenv(TAVGis::Workspace::CWsBaseDialog::kConfigDirVariable);
        if (old) m_old = old;
        m_had = old != nullptr;
        ::setenv(TAVGis::Workspace::CWsBaseDialog::kConfigDirVariable, m_dir.c_str(), 1);
    }
    ~ConfigFolder() {
        if (m_had)
            ::setenv(TAVGis::Workspace::CWsBaseDialog::kConfigDirVariable, m_old.c_str(), 1);
        else
            ::unsetenv(TAVGis::Workspace::CWsBaseDialog::kConfigDirVariable);
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    const fs::path& Dir() const { return m_dir; }
    fs::path Store() const { return m_dir / CIDPTurkParams::kFileName; }
    void Write(const std::string& text) const { std::ofstream(Store(), std::ios::binary) << text; }

private:
    static inline int s_count = 0;
    fs::path m_dir;
    std::string m_old;
    bool m_had = false;
};

TEST(TurkishStations, StoreLiesBesideTheWorkspaceStore) {
    ConfigFolder folder;
    EXPECT_EQ(CIDPTurkParams::StorePath(), folder.Dir() / "turkish_stations.json");
    EXPECT_EQ(CIDPTurkParams::StorePath().parent_path(),
              TAVGis::Workspace::CWsBaseDialog::StorePath().parent_path());
}

TEST(TurkishStations, EditsSaveAndLoadBackInNameOrder) {
    ConfigFolder folder;
    CIDPTurkParams a;
    std::string error;
    ASSERT_TRUE(a.Load(error)) << error;  // no file yet: no stations
    EXPECT_TRUE(a.Stations().empty());
    for (const char* name : {"Zonguldak", " izmir ", "Ankara"}) EXPECT_EQ(a.AddStation(name), 0) << name;
    // ASCII case does not count in the order: byte order would put "Zonguldak" before "izmir".
    EXPECT_EQ(a.Names(), (std::vector<std::string>{"Ankara", "izmir", "Zonguldak"}));
    const double awkward = 0.1 + 0.2;  // not a short decimal: must come back bit for bit
    EXPECT_EQ(a.SetPoint("Ankara", 5, 30, 120), 0);
    EXPECT_EQ(a.SetPoint("Ankara", 5, 5, 300), 0);
    EXPECT_EQ(a.SetPoint("Ankara", 2, 15, awkward), 0);
    EXPECT_EQ(a.SetPoint("Ankara", 5, 15, 999), 0);
    EXPECT_EQ(a.SetPoint("Ankara", 5, 15, 200), 0);  // the same duration again replaces its intensity
    ASSERT_TRUE(a.Save(error)) << error;

    CIDPTurkParams b;
    ASSERT_TRUE(b.Load(error)) << error;
    EXPECT_EQ(b.Names(), a.Names());
    const TurkishStation* ankara = b.Find("Ankara");
    ASSERT_TRUE(ankara);
    ASSERT_EQ(ankara->table.curves.size(), 2u);
    EXPECT_EQ(ankara->table.curves[0].returnPeriod, 2.0);
    EXPECT_EQ(ankara->table.curves[0].points, (std::vector<std::pair<double, double>>{{15, awkward}}));
    EXPECT_EQ(ankara->table.curves[1].points,
              (std::vector<std::pair<double, double>>{{5, 300}, {15, 200}, {30, 120}}));
    EXPECT_FALSE(b.Find("ankara"));  // the value names a station exactly
    EXPECT_TRUE(b.Find("izmir")->table.curves.empty());
}

TEST(TurkishStations, EditsAreRefusedWithTheirReason) {
    CIDPTurkParams p;
    p.AddStation("Ankara");
    p.AddStation("Bursa");
    p.SetValue("Bursa");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct {
        const char* what;
        int result;
        int expected;
    } const cases[] = {
        {"empty name", p.AddStation("   "), CIDPTurkParams::kEditNoName},
        {"control character", p.AddStation("An\tkara\n"), CIDPTurkParams::kEditNoName},
        {"too long", p.AddStation(std::string(201, 'x')), CIDPTurkParams::kEditNoName},
        {"same name in other case", p.AddStation("ANKARA"), CIDPTurkParams::kEditNameTaken},
        {"rename onto another", p.RenameStation("Bursa", "ankara"), CIDPTurkParams::kEditNameTaken},
        {"rename of none", p.RenameStation("Izmir", "Van"), CIDPTurkParams::kEditNoStation},
        {"negative intensity", p.SetPoint("Ankara", 2, 5, -1), CIDPTurkParams::kEditBadNumber},
        {"intensity not a number", p.SetPoint("Ankara", 2, 5, nan), CIDPTurkParams::kEditBadNumber},
        {"infinite duration", p.SetPoint("Ankara", 2, HUGE_VAL, 10), CIDPTurkParams::kEditBadNumber},
        {"point of no station", p.SetPoint("Van", 2, 5, 10), CIDPTurkParams::kEditNoStation},
        {"no such point", p.RemovePoint("Ankara", 2, 5), CIDPTurkParams::kEditNoPoint},
        {"delete of none", p.RemoveStation("Van"), CIDPTurkParams::kEditNoStation},
    };
    for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
    for (const auto& c : cases)
        EXPECT_EQ(CModuleConfiguration::GetMsg(c.expected).find("[message"), std::string::npos) << c.what;
    EXPECT_EQ(p.Names(), (std::vector<std::string>{"Ankara", "Bursa"}));
    EXPECT_TRUE(p.Find("Ankara")->table.curves.empty());
    // A rename of the chosen station follows it; removing a curve's last point removes the curve.
    EXPECT_EQ(p.RenameStation("Bursa", "Antalya"), 0);
    EXPECT_EQ(p.GetValue(), "Antalya");
    EXPECT_EQ(p.Names(), (std::vector<std::string>{"Ankara", "Antalya"}));
    p.SetPoint("Ankara", 2, 5, 10);
    EXPECT_EQ(p.RemovePoint("Ankara", 2, 5), 0);
    EXPECT_TRUE(p.Find("Ankara")->table.curves.empty());
    EXPECT_EQ(p.RemoveStation("Ankara"), 0);
    EXPECT_EQ(p.Names(), std::vector<std::string>{"Antalya"});
}

// Every malformed file is refused with the file and the entry named, and nothing is read from it.
TEST(TurkishStations, MalformedFilesAreRefusedNamingFileAndEntry) {
    const std::string good = R"({"name": "Bursa", "curves": [{"returnPeriod": 2, "points": [[5, 100]]}]})";
    auto one = [&good](const std::string& station) {
        return R"({"version": 1, "stations": [)" + good + ", " + station + "]}";
    };
    struct {
        const char* what;
        std::string text;
        std::string where;  // expected in the error after the file name
    } const cases[] = {
        {"not JSON", "{\"stations\": [", "not JSON"},
        {"not UTF-8", "{\"stations\": [{\"name\": \"\xff\"}]}", "not JSON"},
        {"not an object", "[1, 2]", "not a JSON object"},
        {"another version", R"({"version": 2, "stations": []})", "version 2"},
        {"stations not a list", R"({"stations": {"name": "x"}})", "\"stations\" is not a list"},
        {"station without name", one(R"({"curves": []})"), "station 2: no name"},
        {"name with blanks", one(R"({"name": " Van"})"), "station 2: the name \" Van\""},
        {"name twice", one(R"({"name": "BURSA"})"), "station 2 (BURSA): the name is given twice"},
        {"curves not a list", one(R"({"name": "Van", "curves": 3})"), "station 2 (Van): \"curves\""},
        {"negative intensity",
         one(R"({"name": "Van", "curves": [{"returnPeriod": 5, "points": [[5, 1], [10, -2]]}]})"),
         "station 2 (Van), curve 1: point 2"},
        {"point of three", one(R"({"name": "Van", "curves": [{"returnPeriod": 5, "points": [[5, 1, 3]]}]})"),
         "station 2 (Van), curve 1: point 1"},
        {"text for a number",
         one(R"({"name": "Van", "curves": [{"returnPeriod": "5", "points": [[5, 1]]}]})"),
         "station 2 (Van), curve 1: the return period"},
        {"no points", one(R"({"name": "Van", "curves": [{"returnPeriod": 5, "points": []}]})"),
         "station 2 (Van), curve 1: the curve has no points"},
        {"duration twice",
         one(R"({"name": "Van", "curves": [{"returnPeriod": 5, "points": [[5, 1], [5, 2]]}]})"),
         "station 2 (Van), curve 1: the duration 5.0 is given twice"},
        {"return period twice",
         one(R"({"name": "Van", "curves": [{"returnPeriod": 5, "points": [[5, 1]]}, {"returnPeriod": 5.0, "points": [[5, 1]]}]})"),
         "station 2 (Van), curve 2: the return period 5.0 is given twice"},
        {"nested too deep", "{\"stations\": [[[[[[[[[[[[1]]]]]]]]]]]]}", "nested deeper than 8 levels"},
    };
    ConfigFolder folder;
    const std::string file = folder.Store().string();
    for (const auto& c : cases) {
        folder.Write(c.text);
        CIDPTurkParams p;
        std::string error;
        EXPECT_FALSE(p.Load(error)) << c.what;
        EXPECT_TRUE(p.Stations().empty()) << c.what;
        EXPECT_EQ(error.rfind(file, 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.where), std::string::npos) << c.what << ": " << error;
    }
    // Too many points; a file too large to be a station list; a folder in the file's place.
    std::string many = R"({"stations": [{"name": "Van", "curves": [{"returnPeriod": 5, "points": [)";
    for (std::size_t i = 0; i <= CIDPTurkParams::kMaxPoints; ++i)
        many += (i ? ", [" : "[") + std::to_string(i) + ", 1]";
    many += "]}]}]}";
    folder.Write(many);
    CIDPTurkParams p;
    std::string error;
    EXPECT_FALSE(p.Load(error));
    EXPECT_NE(error.find("station 1 (Van), curve 1: more than 1000 points"), std::string::npos) << error;
    folder.Write(std::string(CIDPTurkParams::kMaxFileBytes + 1, ' '));
    EXPECT_FALSE(p.Load(error));
    EXPECT_NE(error.find("larger than 8 MiB"), std::string::npos) << error;
    fs::remove(folder.Store());
    fs::create_directory(folder.Store());
    EXPECT_FALSE(p.Load(error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    // A save that cannot replace the file says so and names it.
    EXPECT_FALSE(p.Save(error));
    EXPECT_NE(error.find(file), std::string::npos) << error;
}

// ---- rain by a station's data ----

class TurkishStationRainTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        m_folder.emplace();
        CIDPTurkParams stations;
        stations.AddStation("Ankara");
        // T = 5 years: (5, 300) (15, 200) (30, 120); T = 2 years: (5, 250) (15, 160).
        for (auto [t, d, i] : {std::tuple{5.0, 5.0, 300.0},
                               {5.0, 15.0, 200.0},
                               {5.0, 30.0, 120.0},
                               {2.0, 5.0, 250.0},
                               {2.0, 15.0, 160.0}})
            stations.SetPoint("Ankara", t, d, i);
        std::string error;
        ASSERT_TRUE(stations.Save(error)) << error;
        s1 = Section("S1", "A", "C");
        s2 = Section("S2", "B", "C");
        s3 = Section("S3", "C", "D");
        Area(s1, 2.0, 0.75);
        Area(s2, 1.0, 1.0);
        Area(s3, 0.5, 1.0);
    }
    void TearDown() override {
        m_folder.reset();
        DrawingTest::TearDown();
    }
    void Area(const TAVGis::Topology::CSectionPtr& s, double ha, double runoff) {
        auto a = Topo().AddCatchmentArea(s->GetName() + "_A", system);
        a->kind = 1;
        a->areaHa = ha;
        a->runoffCoefficient = runoff;
        Topo().LinkCatchment(a, s->GetGuid());
    }
    int Run(const std::string& station, double period, double inletTime) {
        auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("001_RAIN_ITP");
        auto p = calc->CreateCalculationParameters();
        auto set = [&p](const char* tag, const CDataBox& v) {
            p->GetProperties().GetPropertyExByTag(tag)->SetHiddenValue(v);
        };
        set("RAINFALL_MODE", CDataBox(9455));
        set("TURKISH", CDataBox(station));
        set("FREQUENCY", CDataBox(period));
        set("INLET_TIME", CDataBox(inletTime));
        return calc->RunCalculation({s3, s1, s2}, p, true, false, nullptr);
    }
    std::optional<ConfigFolder> m_folder;
    TAVGis::Topology::CSectionPtr s1, s2, s3;
};

// No pipes, so every flow time is 0 and t_c is the inlet time. Corrected areas: S1 2 x 0.75 = 1.5 ha,
// S2 1.0 ha, S3 0.5 ha below both: 3.0 ha. The intensity by hand from the station's table:
//   T = 5, t = 10: 300 + (10 - 5) / (15 - 5) x (200 - 300) = 250;  Q3 = 3.0 x 250 / 1000 = 0.75 m3/s
//   T = 5, t = 40: after the last point, its intensity 120;       Q3 = 0.36
//   T = 5, t = 3:  before the first point, its intensity 300;     Q3 = 0.9
//   T = 2, t = 10: 250 + 0.5 x (160 - 250) = 205;                 Q3 = 0.615, Q1 = 1.5 x 205 / 1000 = 0.3075
TEST_F(TurkishStationRainTest, IntensityFromTheStationsCurveMatchesHandCalculation) {
    struct {
        double period, inlet, intensity, q3, q1;
    } const cases[] = {{5, 10, 250, 0.75, 0.375},
                       {5, 40, 120, 0.36, 0.18},
                       {5, 3, 300, 0.9, 0.45},
                       {2, 10, 205, 0.615, 0.3075}};
    for (const auto& c : cases) {
        ui.alerts.clear();
        ASSERT_EQ(Run("Ankara", c.period, c.inlet), 1) << c.period << " " << c.inlet;
        EXPECT_NEAR(*Get("S3", "FLOW_IDF_INTENSITY"), c.intensity, 1e-9) << c.period << " " << c.inlet;
        EXPECT_NEAR(*Get("S3", "FLOW_RAIN_IDF"), c.q3, 1e-12) << c.period << " " << c.inlet;
        EXPECT_NEAR(*Get("S1", "FLOW_RAIN_IDF"), c.q1, 1e-12) << c.period << " " << c.inlet;
        EXPECT_NEAR(*Get("S3", "FLOW_IDF_CONC_TIME"), c.inlet, 1e-12);
        ASSERT_EQ(ui.alerts.size(), 1u);  // the three sections without a pipe, by their count
    }
}

TEST_F(TurkishStationRainTest, AStationOrCurveThatIsNotThereWritesNothing) {
    struct {
        const char* what;
        std::string station;
        double period;
        std::string alert;
    } const cases[] = {
        {"unknown station", "Sivas", 5, CModuleConfiguration::GetMsg(14005) + " Sivas"},
        {"station named in another case", "ankara", 5, CModuleConfiguration::GetMsg(14005) + " ankara"},
        {"no curve of the period", "Ankara", 10, CModuleConfiguration::GetMsg(14308) + " Ankara, 10.00"},
    };
    for (const auto& c : cases) {
        ui.alerts.clear();
        EXPECT_EQ(Run(c.station, c.period, 10), 0) << c.what;
        EXPECT_EQ(ui.alerts, std::vector<std::string>{c.alert}) << c.what;
        EXPECT_FALSE(Get("S3", "FLOW_RAIN_IDF")) << c.what;
    }
    // A station store that cannot be read: the alert names the file and the entry.
    std::ofstream(m_folder->Store(), std::ios::binary) << R"({"stations": [{"name": 7}]})";
    ui.alerts.clear();
    EXPECT_EQ(Run("Ankara", 5, 10), 0);
    ASSERT_EQ(ui.alerts.size(), 1u);
    EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(14307) + " " + m_folder->Store().string() +
                                ", station 1: no name");
    EXPECT_FALSE(Get("S3", "FLOW_RAIN_IDF"));
}

}  // namespace
