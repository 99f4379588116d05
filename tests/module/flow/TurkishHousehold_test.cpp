// The Turkish household flow: the Babbitt coefficient and the flow against hand calculations, P = 0, a
// relief pipe that rejoins (its top counted once), and the one-pass network result against one literal
// upstream walk per section (GetPreviousSections) on generated networks with divisions and rejoins.
#include "module/flow/calc/TurkishHousehold.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "platform/network/CatchmentArea.h"
#include "platform/sewage/CatchmentAreaManager.h"
#include "support/TestSupport.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

// Hand values, q = 150 l/inhabitant/day. 10^0.2 = 1.584893, 5 / 1.584893 = 3.154787;
// 10000 x 150 / 86400 = 17.361111 l/s, x 3.154787 = 54.770603 l/s = 0.054770603 m3/s.
// 100: 5 / 0.1^0.2 = 7.92 -> 5; 100 x 150 / 86400 x 5 = 0.868056 l/s.
// 10^6: 5 / 1000^0.2 = 1.2559 -> 1.72; 10^6 x 150 / 86400 x 1.72 = 2986.1111 l/s.
// 0: the cap 5 and no flow.
TEST(TurkishHouseholdCoefficients, BabbittAgainstHandValues) {
    struct Case {
        double population, peak, flow;
    } cases[] = {
        {10000.0, 3.154787, 0.054770603},
        {100.0, 5.0, 0.000868056},
        {1e6, 1.72, 2.9861111},
        {0.0, 5.0, 0.0},
        {-50.0, 5.0, 0.0},  // negative densities in the drawing count as no inhabitants
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.population);
        const auto r = CTurkishHousehold::ForPopulation(c.population, 150.0);
        EXPECT_NEAR(r.peak, c.peak, 1e-6);
        EXPECT_NEAR(r.flow, c.flow, 1e-9 + 1e-6 * c.flow);
        EXPECT_GE(r.population, 0.0);
    }
    // The bounds are reached where 5 / (P/1000)^0.2 crosses them: 5 at P = 1000, 1.72 at
    // P = 1000 x (5 / 1.72)^5 = 207,270.
    EXPECT_NEAR(CTurkishHousehold::BabbittPeak(999.0), 5.0, 1e-12);
    EXPECT_LT(CTurkishHousehold::BabbittPeak(1001.0), 5.0);
    EXPECT_GT(CTurkishHousehold::BabbittPeak(207000.0), 1.72);
    EXPECT_NEAR(CTurkishHousehold::BabbittPeak(208000.0), 1.72, 1e-12);
}

class TurkishHouseholdTest : public testsupport::DrawingTest {
protected:
    void Area(const std::string& name, const std::string& section, int kind, double ha, double density) {
        auto a = Topo().AddCatchmentArea(name, system);
        a->kind = kind;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, Topo().FindSectionByName(section)->GetGuid());
    }
    TurkishHouseholdFlow Of(const std::vector<TurkishHouseholdFlow>& all, const std::string& name) {
        return all[static_cast<std::size_t>(Topo().FindSectionByName(name)->Index())];
    }
};

// A chain reaching 10,000 inhabitants, a relief pipe that divides below it and rejoins (the top counted
// once below the rejoin, not twice), a small separate sewer of 100 and one of 10^6, and a section without
// any catchment (P = 0). Industrial areas are not inhabitants.
TEST_F(TurkishHouseholdTest, UpstreamPopulationsOfAHandBuiltNetwork) {
    Section("U", "A", "B");
    Section("S", "B", "C");
    Section("R1", "C", "D");  // the division at C
    Section("R2", "C", "E");
    Section("J1", "D", "F");
    Section("J2", "E", "F");
    Section("OUT", "F", "G");  // below the rejoin
    Section("SMALL", "H", "I");
    Section("BIG", "K", "L");
    Section("BARE", "M", "N");
    Area("a1", "U", TAVGis::Topology::kCatchmentHousehold, 40.0, 150.0);  // 6000
    Area("a2", "S", TAVGis::Topology::kCatchmentHousehold, 20.0, 200.0);  // 4000
    Area("i1", "S", TAVGis::Topology::kCatchmentIndustrial, 50.0, 500.0);
    Area("a3", "SMALL", TAVGis::Topology::kCatchmentHousehold, 0.5, 200.0);
    Area("a4", "BIG", TAVGis::Topology::kCatchmentHousehold, 1000.0, 1000.0);

    const auto all = CTurkishHousehold::ForNetwork(Topo(), 150.0);
    ASSERT_EQ(all.size(), Topo().Sections().size());
    struct Expect {
        const char* name;
        double population, peak, flow;
    } expected[] = {
        {"U", 6000.0, 5.0 / std::pow(6.0, 0.2),
         6000.0 * 150.0 / 86400.0 * (5.0 / std::pow(6.0, 0.2)) / 1000.0},
        {"S", 10000.0, 3.154787, 0.054770603},
        {"R2", 10000.0, 3.154787, 0.054770603},
        {"OUT", 10000.0, 3.154787, 0.054770603},
        {"SMALL", 100.0, 5.0, 0.000868056},
        {"BIG", 1e6, 1.72, 2.9861111},
        {"BARE", 0.0, 5.0, 0.0},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.name);
        const auto r = Of(all, e.name);
        EXPECT_NEAR(r.population, e.population, 1e-6);
        EXPECT_NEAR(r.peak, e.peak, 1e-6);
        EXPECT_NEAR(r.flow, e.flow, 1e-9 + 1e-6 * e.flow);
    }
}

// The literal method: for each section, its own A2 x D plus that of every section GetPreviousSections
// returns, then the formula as written (at P = 0 the division by zero gives +inf, which the upper limit
// turns into 5).
std::vector<TurkishHouseholdFlow> Literal(const TAVGis::Topology::CTopologyStorage& topology, double q) {
    auto* areas = TAVGis::Sewage::CCatchmentAreaManager::GetInstance();
    auto people = [areas](const TAVGis::Topology::CSectionPtr& s) {
        double a = 0.0, d = 0.0;
        areas->GetCATotalArea(s, a, TAVGis::Topology::kCatchmentHousehold);
        areas->GetCAAverageDensityInhab(s, d);
        return a * d;
    };
    std::vector<TurkishHouseholdFlow> out;
    for (const auto& s : topology.Sections()) {
        TurkishHouseholdFlow r;
        r.population = people(s);
        for (const auto& up : s->GetPreviousSections()) r.population += people(up);
        double m = 5.0 / std::pow(r.population / 1000.0, 0.2);
        if (m < 1.72) m = 1.72;
        if (m > 5.0) m = 5.0;
        r.peak = m;
        r.flow = r.population * q / 86400.0 * m / 1000.0;
        out.push_back(r);
    }
    return out;
}

TEST_F(TurkishHouseholdTest, GeneratedNetworksAgreeWithTheLiteralUpstreamWalk) {
    const TAVGis::Bench::SeededCase cases[] = {{300, 0.2, 0, 11}, {400, 0.4, 0, 12}, {300, 0.3, 3, 13}};
    for (const auto& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const auto o = c.Options();
        const auto summary = TAVGis::Bench::GenerateTransitNetwork(Topo(), system, o);
        EXPECT_GT(summary.divisions, 0);
        // Catchments on about two thirds of the sections, some with two (the density averaged by area),
        // some industrial only; the rest have none.
        std::mt19937 rng(c.seed);
        std::uniform_real_distribution<double> ha(0.1, 30.0), density(10.0, 400.0), pick(0.0, 1.0);
        int n = 0;
        for (const auto& s : Topo().Sections()) {
            if (s->GetName().rfind(o.prefix, 0) != 0) continue;
            const double p = pick(rng);
            if (p < 0.33) continue;
            const int kind =
                p < 0.4 ? TAVGis::Topology::kCatchmentIndustrial : TAVGis::Topology::kCatchmentHousehold;
            Area(o.prefix + "c" + std::to_string(n++), s->GetName(), kind, ha(rng), density(rng));
            if (p > 0.9)
                Area(o.prefix + "c" + std::to_string(n++), s->GetName(),
                     TAVGis::Topology::kCatchmentHousehold, ha(rng), density(rng));
        }
        const auto fast = CTurkishHousehold::ForNetwork(Topo(), 180.0);
        const auto literal = Literal(Topo(), 180.0);
        ASSERT_EQ(fast.size(), literal.size());
        int wrong = 0, capped = 0, floored = 0;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            const auto& f = fast[i];
            const auto& l = literal[i];
            capped += l.peak == 5.0;
            floored += l.peak == 1.72;
            const bool same = std::fabs(f.population - l.population) <= 1e-9 * (1.0 + l.population) &&
                              std::fabs(f.peak - l.peak) <= 1e-9 &&
                              std::fabs(f.flow - l.flow) <= 1e-9 * (1.0 + l.flow);
            if (!same && ++wrong <= 5)
                ADD_FAILURE() << Topo().Sections()[i]->GetName() << ": P " << f.population << " vs "
                              << l.population << ", M " << f.peak << " vs " << l.peak << ", Q " << f.flow
                              << " vs " << l.flow;
        }
        EXPECT_GT(capped, 0);  // the comparison reached the cap and the sections far downstream
        EXPECT_LT(capped + floored, static_cast<int>(fast.size()));
    }
}

}  // namespace
