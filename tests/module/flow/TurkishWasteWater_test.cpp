// The Turkish waste-water calculation: the industrial and infiltration flows against hand values, what each
// switch and each missing definition writes, the count of successful writes, the one transaction with both
// update sessions, and every written value against a literal per-section calculation (GetPreviousSections)
// on generated networks with divisions and rejoins.
#include "module/flow/calc/TurkishWasteWater.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "platform/gis/DataConfiguration.h"
#include "platform/network/CatchmentArea.h"
#include "platform/network/TopologyStorage.h"
#include "platform/sessions/UpdateSessions.h"
#include "platform/sewage/CatchmentAreaManager.h"
#include "support/TestSupport.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

using TAVGis::Topology::kCatchmentHousehold;
using TAVGis::Topology::kCatchmentIndustrial;

// c from the drop-down's item data (tenths; 1.0 with nothing chosen) and the industrial flow with F = 2 and
// A4 = 10 ha: 10 x c x 2 / 1000. Infiltration: A2 x 0.1 / 1000.
TEST(TurkishWasteWaterFormulas, CoefficientEntriesIndustrialAndInfiltrationAgainstHandValues) {
    struct Case {
        std::optional<int> itemData;
        double c, industrial;
    } cases[] = {{5, 0.5, 0.01}, {10, 1.0, 0.02}, {15, 1.5, 0.03}, {std::nullopt, 1.0, 0.02}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.itemData.value_or(-1));
        const double c = CTurkishWasteWater::ConsumptionCoefficient(k.itemData);
        EXPECT_DOUBLE_EQ(c, k.c);
        EXPECT_NEAR(CTurkishWasteWater::IndustrialFlow(10.0, c, 2.0), k.industrial, 1e-15);
    }
    ASSERT_EQ(CTurkishWasteWater::kCoefficientEntries.size(), 3u);
    EXPECT_STREQ(CTurkishWasteWater::kCoefficientEntries[2].text, "1.5");
    EXPECT_EQ(CTurkishWasteWater::kCoefficientEntries[2].itemData, 15);
    EXPECT_NEAR(CTurkishWasteWater::InfiltrationFlow(10.0), 0.001, 1e-15);
    EXPECT_EQ(CTurkishWasteWater::InfiltrationFlow(0.0), 0.0);
}

class TurkishWasteWaterTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        // U (10 ha of houses at 600 inhabitants/ha: 6000) drains into S (10 ha at 400: 4000, and 10 ha of
        // industry); BARE has no catchment at all.
        Section("U", "A", "B");
        Section("S", "B", "C");
        Section("BARE", "D", "E");
        Area("h1", "U", kCatchmentHousehold, 10.0, 600.0);
        Area("h2", "S", kCatchmentHousehold, 10.0, 400.0);
        Area("i1", "S", kCatchmentIndustrial, 10.0, 0.0);
    }
    void Area(const std::string& name, const std::string& section, int kind, double ha, double density) {
        auto a = Topo().AddCatchmentArea(name, system);
        a->kind = kind;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, Topo().FindSectionByName(section)->GetGuid());
    }
    std::vector<TAVGis::Topology::CSectionPtr> Sections(std::initializer_list<const char*> names) {
        std::vector<TAVGis::Topology::CSectionPtr> out;
        for (const char* n : names) out.push_back(Topo().FindSectionByName(n));
        return out;
    }
    TAVGis::Topology::NetworkDrawingData& Network() {
        return doc->Extension<TAVGis::Topology::NetworkDrawingData>(
            TAVGis::Topology::NetworkDrawingData::kKey);
    }
};

// Each switch alone, all of them, none; and each with its definition missing. q = 150, F = 2, c = 1.5.
// S: P = 10,000, M = 5 / 10^0.2 = 3.154787, Q = 10000 x 150 / 86400 x 3.154787 / 1000 = 0.054770603 m3/s;
// industrial 10 x 1.5 x 2 / 1000 = 0.03; infiltration 10 x 0.1 / 1000 = 0.001.
// BARE: P = 0, so M = 5 and Q = 0 (written, and counted); its industrial and infiltration flows are 0.
TEST_F(TurkishWasteWaterTest, SwitchesAndDefinitionsDecideWhatIsWrittenAndCounted) {
    const auto all = TurkishWasteDefinitions::LookUp();
    ASSERT_TRUE(all.home && all.industrial && all.infiltration);
    struct Case {
        const char* what;
        bool home, industrial, infiltration;
        TurkishWasteDefinitions defs;
        int written;
    } cases[] = {
        {"none", false, false, false, all, 0},
        {"household", true, false, false, all, 2},
        {"industrial", false, true, false, all, 2},
        {"infiltration", false, false, true, all, 2},
        {"all", true, true, true, all, 6},
        {"all, household undefined", true, true, true, {nullptr, all.industrial, all.infiltration}, 4},
        {"all, industrial undefined", true, true, true, {all.home, nullptr, all.infiltration}, 4},
        {"all, infiltration undefined", true, true, true, {all.home, all.industrial, nullptr}, 4},
        {"household on, only its definition missing",
         true,
         false,
         false,
         {nullptr, all.industrial, nullptr},
         0},
    };
    const char* attributes[] = {"FLOW_BABBIT", "FLOW_TUR_WASTE_HOME", "FLOW_TUR_WASTE_IND",
                                "FLOW_TUR_WASTE_INF"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* s : {"S", "BARE"})
            for (const char* a : attributes) Set(s, a, TAVGis::Data::CDataBox());
        TurkishWasteWaterInput in;
        in.consumption = 150.0;
        in.peakFactor = 2.0;
        in.consumptionCoefficient = 1.5;
        in.household = c.home;
        in.industrial = c.industrial;
        in.infiltration = c.infiltration;
        const auto r = CTurkishWasteWater::Run(in, Sections({"S", "BARE"}), c.defs);
        EXPECT_EQ(r.written, c.written);
        EXPECT_EQ(r.written, r.householdWrites + r.industrialWrites + r.infiltrationWrites);
        EXPECT_TRUE(r.notFinite.Empty());
        const bool home = c.home && c.defs.home, ind = c.industrial && c.defs.industrial,
                   inf = c.infiltration && c.defs.infiltration;
        EXPECT_EQ(Get("S", "FLOW_BABBIT").has_value(), home);
        EXPECT_EQ(Get("S", "FLOW_TUR_WASTE_HOME").has_value(), home);
        EXPECT_EQ(Get("S", "FLOW_TUR_WASTE_IND").has_value(), ind);
        EXPECT_EQ(Get("S", "FLOW_TUR_WASTE_INF").has_value(), inf);
        if (home) {
            EXPECT_NEAR(*Get("S", "FLOW_BABBIT"), 3.154787, 1e-6);
            EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_HOME"), 0.054770603, 1e-9);
            EXPECT_EQ(*Get("BARE", "FLOW_BABBIT"), 5.0);
            EXPECT_EQ(*Get("BARE", "FLOW_TUR_WASTE_HOME"), 0.0);
        }
        if (ind) {
            EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_IND"), 0.03, 1e-15);
            EXPECT_EQ(*Get("BARE", "FLOW_TUR_WASTE_IND"), 0.0);
        }
        if (inf) {
            EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_INF"), 0.001, 1e-15);
            EXPECT_EQ(*Get("BARE", "FLOW_TUR_WASTE_INF"), 0.0);
        }
        EXPECT_FALSE(Get("U", "FLOW_BABBIT"));  // not selected: upstream, but not written
    }
}

// One transaction and one session of each kind per run, all closed, also when the list is empty; the
// upstream section outside the list still counts in the population.
TEST_F(TurkishWasteWaterTest, OneTransactionWithBothSessionsPerRun) {
    using TAVGis::Label::CNetworkLabelUtility;
    using TAVGis::Longitudinal::CLSEditor;
    TurkishWasteWaterInput in;
    in.household = true;
    for (const auto& list : {Sections({}), Sections({"S"})}) {
        const auto begun = Network().transactionsBegun, ended = Network().transactionsEnded;
        const auto labels = CNetworkLabelUtility::Counts(), profiles = CLSEditor::Counts();
        const auto r = CTurkishWasteWater::Run(in, list, TurkishWasteDefinitions::LookUp());
        EXPECT_EQ(r.written, static_cast<int>(list.size()));
        EXPECT_EQ(Network().transactionsBegun, begun + 1);
        EXPECT_EQ(Network().transactionsEnded, ended + 1);
        EXPECT_EQ(Network().transactionDepth, 0);
        EXPECT_EQ(CNetworkLabelUtility::Counts().committed, labels.committed + 1);
        EXPECT_EQ(CLSEditor::Counts().committed, profiles.committed + 1);
        EXPECT_EQ(CNetworkLabelUtility::Counts().open, 0);
        EXPECT_EQ(CLSEditor::Counts().open, 0);
    }
    // q = 1 (the default): 10,000 x 1 / 86400 x 3.1547867224 / 1000.
    EXPECT_NEAR(*Get("S", "FLOW_TUR_WASTE_HOME"), 10000.0 / 86400.0 * 3.1547867224 / 1000.0, 1e-14);
}

// The literal method, section by section: P over GetPreviousSections, the formulas as written.
struct LiteralFlows {
    double babbitt, home, industrial, infiltration;
};
LiteralFlows Literal(const TAVGis::Topology::CSectionPtr& s, const TurkishWasteWaterInput& in) {
    auto* areas = TAVGis::Sewage::CCatchmentAreaManager::GetInstance();
    auto people = [areas](const TAVGis::Topology::CSectionPtr& x) {
        double a = 0.0, d = 0.0;
        areas->GetCATotalArea(x, a, kCatchmentHousehold);
        areas->GetCAAverageDensityInhab(x, d);
        return a * d;
    };
    double p = people(s);
    for (const auto& up : s->GetPreviousSections()) p += people(up);
    double m = 5.0 / std::pow(p / 1000.0, 0.2);  // +inf at P = 0, then limited to 5
    m = m < 1.72 ? 1.72 : (m > 5.0 ? 5.0 : m);
    double a4 = 0.0, a2 = 0.0;
    areas->GetCATotalArea(s, a4, kCatchmentIndustrial);
    areas->GetCATotalArea(s, a2, kCatchmentHousehold);
    return {m, p * in.consumption / 86400.0 * m / 1000.0,
            a4 * in.consumptionCoefficient * in.peakFactor / 1000.0, a2 * 0.1 / 1000.0};
}

TEST_F(TurkishWasteWaterTest, WrittenValuesAgreeWithTheLiteralCalculationOnGeneratedNetworks) {
    const TAVGis::Bench::SeededCase cases[] = {{300, 0.25, 0, 21}, {350, 0.4, 2, 22}};
    for (const auto& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const auto o = c.Options();
        const auto summary = TAVGis::Bench::GenerateTransitNetwork(Topo(), system, o);
        ASSERT_GT(summary.divisions, 0);
        std::mt19937 rng(c.seed);
        std::uniform_real_distribution<double> ha(0.1, 30.0), density(10.0, 400.0), pick(0.0, 1.0);
        std::vector<TAVGis::Topology::CSectionPtr> generated;
        int n = 0;
        for (const auto& s : Topo().Sections()) {
            if (s->GetName().rfind(o.prefix, 0) != 0) continue;
            generated.push_back(s);
            const double p = pick(rng);
            if (p < 0.3) continue;
            Area(o.prefix + "c" + std::to_string(n++), s->GetName(),
                 p < 0.45 ? kCatchmentIndustrial : kCatchmentHousehold, ha(rng), density(rng));
            if (p > 0.85)
                Area(o.prefix + "c" + std::to_string(n++), s->GetName(), kCatchmentIndustrial, ha(rng), 0.0);
        }
        // Every other section selected, in reverse order: the selection is not the network, nor in its order.
        std::vector<TAVGis::Topology::CSectionPtr> selected;
        for (std::size_t i = generated.size(); i-- > 0;)
            if (i % 2 == 0) selected.push_back(generated[i]);
        TurkishWasteWaterInput in;
        in.consumption = 180.0;
        in.peakFactor = 1.8;
        in.consumptionCoefficient = 1.0;
        in.household = in.industrial = in.infiltration = true;
        const auto r = CTurkishWasteWater::Run(in, selected, TurkishWasteDefinitions::LookUp());
        EXPECT_EQ(r.written, 3 * static_cast<int>(selected.size()));
        int wrong = 0;
        for (const auto& s : selected) {
            const auto l = Literal(s, in);
            const double got[] = {
                *Get(s->GetName(), "FLOW_BABBIT"), *Get(s->GetName(), "FLOW_TUR_WASTE_HOME"),
                *Get(s->GetName(), "FLOW_TUR_WASTE_IND"), *Get(s->GetName(), "FLOW_TUR_WASTE_INF")};
            const double want[] = {l.babbitt, l.home, l.industrial, l.infiltration};
            for (int k = 0; k < 4; ++k)
                if (std::fabs(got[k] - want[k]) > 1e-9 * (1.0 + std::fabs(want[k])) && ++wrong <= 5)
                    ADD_FAILURE() << s->GetName() << " value " << k << ": " << got[k] << " vs " << want[k];
        }
        for (std::size_t i = 1; i < generated.size(); i += 2)
            EXPECT_FALSE(Get(generated[i]->GetName(), "FLOW_BABBIT")) << "not selected";
    }
}

}  // namespace
