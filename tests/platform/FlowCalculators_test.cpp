// The sewage core's flow calculators: the registry, the ISKI waste-water peak, rain by the time-of-flow
// method, and the record of which parameter set produced which sections.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/IskiCalculator.h"
#include "platform/sewage/PipeHydraulics.h"
#include "platform/sewage/RainItpCalculator.h"
#include "support/TestSupport.h"

namespace {

using namespace TAVGis::Sewage;
using TAVGis::Data::CDataBox;
using TAVGis::Topology::CSectionPtr;

class FlowCalculatorsTest : public testsupport::DrawingTest {
protected:
    // A catchment area of `ha` with the runoff coefficient and density, linked to the section.
    void Area(const CSectionPtr& s, int kind, double ha, double runoff, double density = 0.0) {
        auto a = Topo().AddCatchmentArea(s->GetName() + "_A" + std::to_string(++m_areas), system);
        a->kind = kind;
        a->areaHa = ha;
        a->runoffCoefficient = runoff;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, s->GetGuid());
    }
    double Value(const std::string& section, const std::string& attribute) {
        auto v = Get(section, attribute);
        EXPECT_TRUE(v.has_value()) << section << " " << attribute;
        return v.value_or(-1.0);
    }
    std::string CurveFile(const std::string& text) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("idf_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                           std::to_string(++m_files) + ".dat");
        std::ofstream(path, std::ios::binary) << text;
        m_paths.push_back(path);
        return path.string();
    }
    void TearDown() override {
        for (const auto& p : m_paths) std::filesystem::remove(p);
        DrawingTest::TearDown();
    }
    static void SetParam(const CFlowCalculatorParametersPtr& p, const std::string& tag, const CDataBox& v) {
        auto prop = p->GetProperties().GetPropertyExByTag(tag);
        ASSERT_TRUE(prop) << tag;
        prop->SetHiddenValue(v);
    }

private:
    int m_areas = 0;
    int m_files = 0;
    std::vector<std::filesystem::path> m_paths;
};

TEST_F(FlowCalculatorsTest, RegistryHoldsTheRainAndIskiCalculatorsInNameOrder) {
    auto* m = CFlowCalculatorManager::GetInstance();
    std::vector<std::string> names;
    for (const auto& [name, calc] : m->GetRegisteredFlowCalculators()) names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"001_RAIN_ITP", "002_WASTE_ISKI"}));
    auto iski = m->GetFlowCalculator("002_WASTE_ISKI");
    ASSERT_TRUE(iski);
    std::string display;
    iski->GetDisplayName(display);
    EXPECT_EQ(display, TAVGis::CModuleConfiguration::GetMsg(11162));
    // Every group and display name is a catalogue text.
    for (const auto& [name, calc] : m->GetRegisteredFlowCalculators()) {
        std::string group, shown;
        calc->GetGroupName(group);
        calc->GetDisplayName(shown);
        EXPECT_EQ(group.find("[message"), std::string::npos) << name;
        EXPECT_EQ(shown.find("[message"), std::string::npos) << name;
    }
    EXPECT_FALSE(m->GetFlowCalculator("nope"));
    // One default set per calculator (grid edits reach the next run); a created set is new.
    EXPECT_EQ(iski->GetDefaultCalculationParameters(), iski->GetDefaultCalculationParameters());
    EXPECT_NE(iski->CreateCalculationParameters(), iski->GetDefaultCalculationParameters());
}

// Hand calculation (q = 200 l/inhabitant/day, r = 0.8, kmax = 4):
//   S1 200 inhabitants:  Qavg = 200 x 160 / 86400 = 0.37037 l/s, k = 1.5 + 2.5/0.60858 = 5.61 -> 4,
//                        Qpeak = 1.48148 l/s
//   S2 3000 inhabitants: Qavg = 5.55556 l/s, k = 1.5 + 2.5/2.35702 = 2.56066, Qpeak = 14.22589 l/s
//   S3 (no own area, S1 and S2 join): 3200 inhabitants, Qavg = 5.92593 l/s, k = 2.52698, Qpeak = 14.97470 l/s
//   S4 below S3 with 1 ha household area of density 0: 3200 inhabitants again.
TEST_F(FlowCalculatorsTest, IskiPeakMatchesHandCalculation) {
    auto s1 = Section("S1", "A", "C");
    auto s2 = Section("S2", "B", "C");
    auto s3 = Section("S3", "C", "D");
    auto s4 = Section("S4", "D", "E");
    Area(s1, 2, 2.0, 0.5, 100.0);
    Area(s2, 2, 30.0, 0.5, 100.0);
    Area(s2, 1, 50.0, 0.9);  // rain areas bring no inhabitants
    Area(s4, 2, 1.0, 0.5, 0.0);
    auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("002_WASTE_ISKI");
    // Listed downstream first: the flow order does not depend on the list's order.
    ASSERT_EQ(
        calc->RunCalculation({s4, s3, s2, s1}, calc->CreateCalculationParameters(), true, false, nullptr), 1);
    struct {
        const char* name;
        double litresPerSecond;
    } const expected[] = {{"S1", 1.48148}, {"S2", 14.22589}, {"S3", 14.97470}, {"S4", 14.97470}};
    for (const auto& e : expected)
        EXPECT_NEAR(Value(e.name, "FLOW_ISKI_PEAK") * 1000.0, e.litresPerSecond, 5e-5) << e.name;
    EXPECT_TRUE(ui.alerts.empty());
}

TEST_F(FlowCalculatorsTest, IskiRefusesUnusableParametersAndLeavesLoopsUnwritten) {
    auto s1 = Section("S1", "A", "B");
    auto s2 = Section("S2", "B", "C");
    auto s3 = Section("S3", "C", "B");  // S2 and S3 form a loop
    auto s4 = Section("S4", "X", "Y");
    Area(s4, 2, 1.0, 0.5, 432.0);
    auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("002_WASTE_ISKI");
    struct {
        const char* tag;
        double value;
    } const bad[] = {{"WATER_CONSUMPTION", 0.0}, {"RETURN_FACTOR", std::nan("")}, {"PEAK_FACTOR_MAX", 0.5}};
    for (const auto& [tag, value] : bad) {
        auto p = calc->CreateCalculationParameters();
        SetParam(p, tag, CDataBox(value));
        ui.alerts.clear();
        EXPECT_EQ(calc->RunCalculation({s1, s4}, p, true, false, nullptr), 0) << tag;
        EXPECT_EQ(ui.alerts.size(), 1u) << tag;
        EXPECT_FALSE(Get("S4", "FLOW_ISKI_PEAK")) << tag;
    }
    ui.alerts.clear();
    ASSERT_EQ(
        calc->RunCalculation({s1, s2, s3, s4}, calc->CreateCalculationParameters(), true, false, nullptr), 1);
    EXPECT_TRUE(Get("S1", "FLOW_ISKI_PEAK"));
    EXPECT_FALSE(Get("S2", "FLOW_ISKI_PEAK"));
    EXPECT_FALSE(Get("S3", "FLOW_ISKI_PEAK"));
    // 432 inhabitants x 160 l / 86400 s = 0.8 l/s; k = 1.5 + 2.5 / 0.894427 = 4.295 -> 4: 3.2 l/s.
    EXPECT_NEAR(Value("S4", "FLOW_ISKI_PEAK"), 0.0032, 1e-12);
    ASSERT_EQ(ui.alerts.size(), 1u);
    EXPECT_NE(ui.alerts[0].find(" 2"), std::string::npos);
}

TEST_F(FlowCalculatorsTest, SourceDataGroupsSectionsByParameterSetAndResets) {
    auto s1 = Section("S1", "A", "B");
    auto s2 = Section("S2", "B", "C");
    auto s3 = Section("S3", "C", "D");
    Area(s1, 2, 1.0, 0.5, 100.0);
    auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("002_WASTE_ISKI");
    auto a = calc->CreateCalculationParameters();
    auto b = calc->CreateCalculationParameters();
    SetParam(b, "WATER_CONSUMPTION", CDataBox(150.0));
    ASSERT_EQ(calc->RunCalculation({s1, s2}, a, true, false, nullptr), 1);
    ASSERT_EQ(calc->RunCalculation({s3}, b, true, false, nullptr), 1);
    calc->ReloadSourceData({s3, s1, s2});
    const auto& configs = calc->GetSourceDataConfigurations();
    ASSERT_EQ(configs.size(), 2u);
    EXPECT_EQ(configs[0].first->GetProperties().GetDouble("WATER_CONSUMPTION", 0), 150.0);
    EXPECT_EQ(configs[0].second, (SectionList{s3}));
    EXPECT_EQ(configs[1].second, (SectionList{s1, s2}));
    SectionList sections;
    calc->GetSectionsForCalculationParameters(configs[1].first, sections);
    EXPECT_EQ(sections, (SectionList{s1, s2}));

    // A run without tagging leaves the record as it was.
    auto c = calc->CreateCalculationParameters();
    SetParam(c, "RETURN_FACTOR", CDataBox(0.9));
    ASSERT_EQ(calc->RunCalculation({s3}, c, false, false, nullptr), 1);
    calc->ReloadSourceData({s1, s2, s3});
    EXPECT_EQ(calc->GetSourceDataConfigurations().size(), 2u);

    calc->ResetSourceData({s1});
    calc->ReloadSourceData({s1, s2, s3});
    ASSERT_EQ(calc->GetSourceDataConfigurations().size(), 2u);
    EXPECT_EQ(calc->GetSourceDataConfigurations()[0].second, (SectionList{s2}));
    EXPECT_EQ(calc->GetSourceDataConfigurations()[1].second, (SectionList{s3}));
    EXPECT_TRUE(Get("S1", "FLOW_ISKI_PEAK"));
    calc->ResetWrittenData({s1, s3});
    EXPECT_FALSE(Get("S1", "FLOW_ISKI_PEAK"));
    EXPECT_FALSE(Get("S3", "FLOW_ISKI_PEAK"));
    EXPECT_TRUE(Get("S2", "FLOW_ISKI_PEAK"));
}

// Reinhold, no pipes (flow times 0), inlet time 10 min: phi(10, 1) = 38 / 19 x (1 - 0.3684) = 1.2632,
// i = 100 x 1.2632 = 126.32 l/s/ha. Corrected areas: S1 2 ha x 0.75 = 1.5, S2 1.0, S3 0.5 below both: 3.0 ha,
// Q3 = 3.0 x 126.32 / 1000 = 0.37896 m3/s.
TEST_F(FlowCalculatorsTest, RainReinholdWithoutPipesMatchesHandCalculation) {
    auto s1 = Section("S1", "A", "C");
    auto s2 = Section("S2", "B", "C");
    auto s3 = Section("S3", "C", "D");
    Area(s1, 1, 2.0, 0.75);
    Area(s2, 1, 1.0, 1.0);
    Area(s3, 1, 0.5, 1.0);
    auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("001_RAIN_ITP");
    auto p = calc->CreateCalculationParameters();
    SetParam(p, "RAINFALL_MODE", CDataBox(2484));
    SetParam(p, "RAIN_INTESITY", CDataBox(100.0));
    SetParam(p, "FREQUENCY_N", CDataBox(1.0));
    SetParam(p, "INLET_TIME", CDataBox(10.0));
    ASSERT_EQ(calc->RunCalculation({s3, s1, s2}, p, true, false, nullptr), 1);
    EXPECT_NEAR(Value("S3", "FLOW_IDF_INTENSITY"), 126.32, 1e-9);
    EXPECT_NEAR(Value("S3", "FLOW_RAIN_IDF"), 0.37896, 1e-9);
    EXPECT_NEAR(Value("S1", "FLOW_RAIN_IDF"), 0.18948, 1e-9);
    EXPECT_NEAR(Value("S3", "FLOW_IDF_AREA_CORRECTED_SECT"), 0.5, 1e-12);
    EXPECT_NEAR(Value("S3", "FLOW_IDF_AREA_CORRECTED_TOTAL"), 3.0, 1e-12);
    EXPECT_NEAR(Value("S3", "FLOW_IDF_CONC_TIME"), 10.0, 1e-12);
    EXPECT_NEAR(Value("S3", "FLOW_IDF_TIME"), 0.0, 1e-12);
    ASSERT_EQ(ui.alerts.size(), 1u);  // the three sections without a pipe are named by their count
    EXPECT_EQ(ui.alerts[0].substr(ui.alerts[0].size() - 2), " 3");
    calc->ReloadSourceData({s1, s2, s3});
    ASSERT_EQ(calc->GetSourceDataConfigurations().size(), 1u);
    EXPECT_EQ(calc->GetSourceDataConfigurations()[0].second.size(), 3u);
}

// Curve of 2 years: (5, 200) (10, 150) (20, 100) (30, 80). Pipes D 0.6 m, kb 1.5 mm, 5 per mille.
// S1 (400 m) and S2 (50 m) join into S3 (100 m). Each section's written values must satisfy, by hand:
// t_c = t_in + t_f; i = the curve at t_c; Q = A_tot x i / 1000; t_f = L / v(Q) within the precision; and
// t_in of S3 is the longer (or the shorter) t_c of S1 and S2.
TEST_F(FlowCalculatorsTest, RainCurvesWithFlowTimesAndBranchingRule) {
    const std::string path =
        CurveFile("* test curve\r\n#1\r\n5 300\r\n#2 years\r\n5\t200\r\n10 150\r\n20  100\r\n30 80\r\n");
    auto s1 = Section("S1", "A", "C");
    auto s2 = Section("S2", "B", "C");
    auto s3 = Section("S3", "C", "D");
    const double lengths[] = {400.0, 50.0, 100.0};
    int k = 0;
    for (const char* n : {"S1", "S2", "S3"}) {
        Set(n, "SECTION_LENGTH", CDataBox(lengths[k++]));
        Set(n, "PIPE_DIA_IN", CDataBox(0.6));
        Set(n, "PIPE_ROUGHNESS", CDataBox(1.5));
        Set(n, "SECTION_SLOPE", CDataBox(5.0));
    }
    Area(s1, 1, 2.0, 0.5);
    Area(s2, 1, 1.0, 0.5);
    Area(s3, 1, 0.4, 0.5);
    auto curve = [](double t) {
        const double pts[][2] = {{5, 200}, {10, 150}, {20, 100}, {30, 80}};
        if (t <= 5) return 200.0;
        for (int j = 1; j < 4; ++j)
            if (t <= pts[j][0])
                return pts[j - 1][1] +
                       (t - pts[j - 1][0]) / (pts[j][0] - pts[j - 1][0]) * (pts[j][1] - pts[j - 1][1]);
        return 80.0;
    };
    auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("001_RAIN_ITP");
    for (int rule : {11089, 11088}) {
        auto p = calc->CreateCalculationParameters();
        SetParam(p, "FILE_PATH", CDataBox(path));
        SetParam(p, "FREQUENCY", CDataBox(2.0));
        SetParam(p, "INLET_TIME", CDataBox(5.0));
        SetParam(p, "PRECISION", CDataBox(0.01));
        SetParam(p, "BRANCHING_FLOW_TIME", CDataBox(rule));
        ASSERT_EQ(calc->RunCalculation({s1, s2, s3}, p, true, false, nullptr), 1)
            << testing::PrintToString(ui.alerts);
        const double areaTotal[] = {1.0, 0.5, 1.7};
        k = 0;
        for (const char* n : {"S1", "S2", "S3"}) {
            const double tin = Value(n, "FLOW_IDF_MJ_TIME"), tf = Value(n, "FLOW_IDF_TIME"),
                         tc = Value(n, "FLOW_IDF_CONC_TIME"), i = Value(n, "FLOW_IDF_INTENSITY"),
                         q = Value(n, "FLOW_RAIN_IDF");
            EXPECT_NEAR(tc, tin + tf, 1e-12) << n;
            EXPECT_GT(tf, 0.0) << n;
            EXPECT_NEAR(i, curve(tc), 1e-9) << n;
            EXPECT_NEAR(Value(n, "FLOW_IDF_AREA_CORRECTED_TOTAL"), areaTotal[k], 1e-12) << n;
            EXPECT_NEAR(q, areaTotal[k] * i / 1000.0, 1e-12) << n;
            const auto v = CPipeHydraulics::PartialFillVelocity(q, 0.6, 0.005, 0.0015, 1.31e-6);
            ASSERT_TRUE(v) << n;
            EXPECT_NEAR(tf, lengths[k] / *v / 60.0, tf * 2e-4) << n;
            ++k;
        }
        EXPECT_TRUE(ui.alerts.empty()) << testing::PrintToString(ui.alerts);
        EXPECT_NEAR(Value("S1", "FLOW_IDF_MJ_TIME"), 5.0, 1e-12);
        const double t1 = Value("S1", "FLOW_IDF_CONC_TIME"), t2 = Value("S2", "FLOW_IDF_CONC_TIME");
        EXPECT_GT(t1, t2);  // 400 m against 50 m of the same pipe
        EXPECT_NEAR(Value("S3", "FLOW_IDF_MJ_TIME"), rule == 11089 ? t1 : t2, 1e-12) << rule;
    }
}

TEST_F(FlowCalculatorsTest, RainRefusesAMalformedCurveFileNamingFileAndLineAndWritesNothing) {
    auto s1 = Section("S1", "A", "B");
    Area(s1, 1, 1.0, 1.0);
    Set("S1", "FLOW_RAIN_IDF", CDataBox(0.123));
    auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("001_RAIN_ITP");
    struct {
        std::string text;
        double frequency;
        std::string mustSay;
    } const cases[] = {
        {"#2\n5 100\n10 abc\n", 2.0, ", line 3"},
        {"#2\n5 100\n#5\n", 2.0, ", line 3"},
        {"#2\n5 100\n10 90\n", 5.0, ""},  // no curve of 5 years
        {"", 2.0, ""},
    };
    for (const auto& c : cases) {
        const std::string path = CurveFile(c.text);
        auto p = calc->CreateCalculationParameters();
        SetParam(p, "FILE_PATH", CDataBox(path));
        SetParam(p, "FREQUENCY", CDataBox(c.frequency));
        ui.alerts.clear();
        EXPECT_EQ(calc->RunCalculation({s1}, p, true, false, nullptr), 0) << c.text;
        ASSERT_EQ(ui.alerts.size(), 1u) << c.text;
        EXPECT_NE(ui.alerts[0].find(path + c.mustSay), std::string::npos) << ui.alerts[0];
        EXPECT_NEAR(Value("S1", "FLOW_RAIN_IDF"), 0.123, 0.0) << c.text;
        calc->ReloadSourceData({s1});
        EXPECT_TRUE(calc->GetSourceDataConfigurations().empty());
    }
}

}  // namespace
