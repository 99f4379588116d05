// Results that are not finite numbers are never written: waste water by percent, transit and total flows
// skip the section, keep what it held and name it with its value for the dialog's alert (3455).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "module/data/SectionData.h"
#include "module/flow/calc/TotalFlow.h"
#include "module/flow/calc/TransitAccumulation.h"
#include "module/flow/calc/WasteWaterPercent.h"
#include "platform/gis/ModuleConfiguration.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

constexpr double kHuge = 1e308;  // two of them add up beyond the largest double (about 1.8e308)
constexpr double kInf = std::numeric_limits<double>::infinity();

class NonFiniteResultsTest : public testsupport::DrawingTest {
protected:
    std::vector<std::string> Named(const CNonFiniteValues& values, const std::string& attribute) {
        std::vector<std::string> names;
        for (const auto& v : values.Values())
            if (v.attribute == attribute) names.push_back(v.section);
        return names;
    }
};

// 2^1100 inhabitants per inhabitant: the growth factor overflows, so does every section's share.
TEST_F(NonFiniteResultsTest, WasteWaterByPercentGrowingBeyondDoublesWritesNothing) {
    auto x = Section("X", "a", "b");
    auto y = Section("Y", "b", "c");
    Set("X", "FLOW_WASTE_PER", 0.004);
    WasteWaterPercentInput in;
    in.p = 100.0;
    in.t = 1100.0;
    const auto r = CWasteWaterPercent::Compute(in, {x, y});
    EXPECT_TRUE(std::isinf(r.growth));
    int tagged = 0;
    CNonFiniteValues notFinite;
    EXPECT_FALSE(CWasteWaterPercent::Write(
        {x, nullptr, y}, r.qs, [&](const CSectionPtr&) { ++tagged; }, &notFinite));
    EXPECT_EQ(tagged, 0);
    EXPECT_EQ(*Get("X", "FLOW_WASTE_PER"), 0.004);  // kept as it was
    EXPECT_FALSE(Get("Y", "FLOW_WASTE_PER"));
    EXPECT_FALSE(Get("X", "SPECIFIC_FLOW"));
    ASSERT_EQ(notFinite.Count(), 2u);
    EXPECT_EQ(notFinite.Values()[0].section, "X");
    EXPECT_EQ(notFinite.Values()[1].section, "Y");
    EXPECT_TRUE(std::isinf(notFinite.Values()[1].value));

    // 30 years at 2 % is an ordinary calculation: written, nothing recorded.
    CNonFiniteValues none;
    EXPECT_TRUE(CWasteWaterPercent::Write({x, y}, CWasteWaterPercent::Compute({}, {x, y}).qs, {}, &none));
    EXPECT_TRUE(none.Empty());
    EXPECT_TRUE(Get("Y", "FLOW_WASTE_PER"));
}

// Two heads of 1e308 m3/s join: their own flows are stored, the transit below the junction is infinite
// and is not; a branch apart from them is carried as usual.
TEST_F(NonFiniteResultsTest, TransitOfFlowsJoiningBeyondDoublesIsNotWritten) {
    for (const auto& [name, from, to, own] :
         std::vector<std::tuple<const char*, const char*, const char*, double>>{{"A", "a", "j", kHuge},
                                                                                {"B", "b", "j", kHuge},
                                                                                {"C", "j", "k", 0.001},
                                                                                {"D", "k", "o", 0.0},
                                                                                {"E", "e", "f", 0.002},
                                                                                {"F", "f", "g", 0.003}}) {
        Section(name, from, to);
        Set(name, "FLOW_WASTE_PER", own);
    }
    Set("D", "FLOW_TRANSIT", 7.0);  // deleted by the calculation, never replaced by inf
    std::vector<CSectionPtr> sections(Topo().Sections().begin(), Topo().Sections().end());
    std::vector<CNodePtr> nodes(Topo().Nodes().begin(), Topo().Nodes().end());
    MainDirectionMap map;
    CTransitAccumulation::Flags flags{};
    flags[2] = 1;  // FLOW_WASTE_PER
    const TransitResult r = CTransitAccumulation::Run(
        sections, nodes, map, flags, [](const CNodePtr&, const auto&) { return CSectionPtr(); });
    EXPECT_FALSE(r.loop);
    EXPECT_EQ(Named(r.notFinite, "FLOW_TRANSIT"), (std::vector<std::string>{"C", "D"}));
    EXPECT_TRUE(Named(r.notFinite, "FLOW_SECT_TOTAL").empty());
    EXPECT_FALSE(Get("C", "FLOW_TRANSIT"));
    EXPECT_FALSE(Get("D", "FLOW_TRANSIT"));
    EXPECT_EQ(*Get("A", "FLOW_SECT_TOTAL"), kHuge);
    EXPECT_EQ(*Get("C", "FLOW_SECT_TOTAL"), 0.001);
    EXPECT_NEAR(*Get("F", "FLOW_TRANSIT"), 0.002, 1e-15);
    for (const auto* s : {"A", "B", "C", "D", "E", "F"})
        for (const auto* a : {"FLOW_TRANSIT", "FLOW_SECT_TOTAL"})
            if (auto v = Get(s, a)) {
                EXPECT_TRUE(std::isfinite(*v)) << s << " " << a;
            }
    const std::string alert = r.notFinite.AlertText();
    EXPECT_NE(alert.find("C FLOW_TRANSIT = inf; D FLOW_TRANSIT = inf"), std::string::npos) << alert;
}

TEST_F(NonFiniteResultsTest, TotalFlowBeyondDoublesKeepsTheOldTotal) {
    Section("S", "a", "b");
    Section("T", "b", "c");
    Set("S", "FLOW_TRANSIT", kHuge);
    Set("S", "FLOW_SECT_TOTAL", kHuge);
    Set("S", "FLOW_TOTAL", 5.0);
    Set("T", "FLOW_TRANSIT", -kHuge);
    Set("T", "FLOW_SECT_TOTAL", -kHuge);
    CTotalFlow::Flags flags{};
    flags[3] = flags[4] = 1;  // transit and own flow
    CNonFiniteValues notFinite;
    const auto s = Topo().FindSectionByName("S");
    const auto t = Topo().FindSectionByName("T");
    EXPECT_FALSE(CTotalFlow::Write({s, t}, flags, &notFinite));
    EXPECT_EQ(*Get("S", "FLOW_TOTAL"), 5.0);
    EXPECT_FALSE(Get("T", "FLOW_TOTAL"));
    ASSERT_EQ(notFinite.Count(), 2u);
    EXPECT_EQ(notFinite.Values()[0].value, kInf);
    EXPECT_EQ(notFinite.Values()[1].value, -kInf);
}

TEST(NonFiniteValuesTest, TheAlertNamesTheFirstFiveAndCountsTheRest) {
    CNonFiniteValues values;
    EXPECT_TRUE(values.Check("S0", "FLOW_TOTAL", 1.0));
    EXPECT_TRUE(values.AlertText().empty());
    for (int i = 1; i <= 7; ++i)
        EXPECT_FALSE(values.Check("S" + std::to_string(i), "FLOW_TOTAL", i % 2 ? kInf : std::nan("")));
    const std::string text = values.AlertText();
    EXPECT_EQ(text.find(TAVGis::CModuleConfiguration::GetMsg(CNonFiniteValues::kMsgNotFinite)), 0u) << text;
    EXPECT_NE(text.find(" S1 FLOW_TOTAL = inf; S2 FLOW_TOTAL = NaN;"), std::string::npos) << text;
    EXPECT_NE(text.find("S5 FLOW_TOTAL = inf; and 2 more"), std::string::npos) << text;
    EXPECT_EQ(text.find("S6"), std::string::npos);
    EXPECT_EQ(CNonFiniteValues::ValueText(-kInf), "-inf");
}

// The typed accessor refuses what the calculations must never store.
TEST_F(NonFiniteResultsTest, SectionValuesThatAreNotFiniteAreNeverStored) {
    auto s = Section("S", "a", "b");
    Set("S", "FLOW_TOTAL", 1.5);
    for (double v : {kInf, -kInf, std::nan("")}) {
        EXPECT_EQ(CSectionData::SetFLOW_TOTAL(s, v), 0);
        EXPECT_EQ(*Get("S", "FLOW_TOTAL"), 1.5);
    }
}

}  // namespace
