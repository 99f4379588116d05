// The one-pass upstream sums against the literal rule (each section's own value plus that of every section
// GetPreviousSections returns), on hand-built divisions, rejoins and loops and on generated networks whose
// divisions rejoin downstream.
#include "module/flow/calc/UpstreamSums.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "testing/NetworkGenerator.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

using Values = CUpstreamSums::Values;

// The literal rule, one upstream walk per section.
std::vector<Values> Literal(const TAVGis::Topology::CTopologyStorage& topology,
                            const std::vector<Values>& own) {
    std::vector<Values> out;
    for (const auto& s : topology.Sections()) {
        Values v = own[static_cast<std::size_t>(s->Index())];
        for (const auto& up : s->GetPreviousSections())
            for (std::size_t k = 0; k < v.size(); ++k) v[k] += own[static_cast<std::size_t>(up->Index())][k];
        out.push_back(v);
    }
    return out;
}

// Distinct values per section (powers of two would hide double counting of two sections with the same
// value; random weights do not).
std::vector<Values> RandomWeights(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> area(0.1, 10.0), density(20.0, 300.0);
    std::vector<Values> own(n);
    for (auto& v : own) {
        v[0] = area(rng);
        v[1] = v[0] * density(rng);
    }
    return own;
}

class UpstreamSumsTest : public testsupport::DrawingTest {
protected:
    // Compares every section; returns the stats of the fast pass.
    CUpstreamSums::Stats ExpectLiteral(unsigned seed) {
        const auto own = RandomWeights(Topo().Sections().size(), seed);
        CUpstreamSums::Stats stats;
        const auto fast = CUpstreamSums::Compute(Topo(), own, &stats);
        const auto literal = Literal(Topo(), own);
        EXPECT_EQ(fast.size(), literal.size());
        int wrong = 0;
        for (std::size_t i = 0; i < fast.size() && i < literal.size(); ++i)
            for (std::size_t k = 0; k < 2; ++k)
                if (std::fabs(fast[i][k] - literal[i][k]) > 1e-9 * (1.0 + std::fabs(literal[i][k])) &&
                    ++wrong <= 5)
                    ADD_FAILURE() << Topo().Sections()[i]->GetName() << " quantity " << k << ": "
                                  << fast[i][k] << " vs literal " << literal[i][k];
        return stats;
    }
    // Sums of own = 1 per section: the number of sections counted for each.
    std::vector<double> Counts() {
        std::vector<Values> own(Topo().Sections().size(), Values{1.0, 0.0});
        std::vector<double> out;
        for (const auto& v : CUpstreamSums::Compute(Topo(), own)) out.push_back(v[0]);
        return out;
    }
    double CountOf(const std::string& name) {
        return Counts()[static_cast<std::size_t>(Topo().FindSectionByName(name)->Index())];
    }
};

// A relief pipe: the trunk divides at D and rejoins at R; everything above D is upstream of the section
// below R once, not twice.
TEST_F(UpstreamSumsTest, ARejoinCountsTheSharedPartOnce) {
    Section("UP1", "A", "B");
    Section("UP2", "B", "D");
    Section("MAIN1", "D", "M");
    Section("MAIN2", "M", "R");
    Section("RELIEF", "D", "R");
    Section("OUT", "R", "E");
    EXPECT_EQ(CountOf("OUT"), 6.0);
    EXPECT_EQ(CountOf("MAIN2"), 4.0);   // MAIN2, MAIN1, UP2, UP1
    EXPECT_EQ(CountOf("RELIEF"), 3.0);  // RELIEF, UP2, UP1
    const auto stats = ExpectLiteral(1);
    EXPECT_EQ(stats.joinsWithOverlap, 1);
    EXPECT_EQ(stats.explicitUnions, 0);
}

// Two divisions whose branches meet pairwise at P and Q, which join at V: the two sides at V share both
// divisions. Where Z1 lies above Z2 (listed open there), Z1 adds nothing and the shared part is what lies
// above Z2; where the two divide the flow of a third division T side by side, the shared part is walked.
TEST_F(UpstreamSumsTest, SidesSharingSeveralDivisions) {
    Section("TOP", "T", "Z1");
    Section("Z1Z2", "Z1", "Z2");
    Section("X1", "Z1", "P");
    Section("X2", "Z1", "Q");
    Section("Y1", "Z2", "P");
    Section("Y2", "Z2", "Q");
    Section("PV", "P", "V");
    Section("QV", "Q", "V");
    Section("OUT", "V", "W");
    EXPECT_EQ(CountOf("OUT"), 9.0);
    EXPECT_EQ(CountOf("PV"), 5.0);  // PV, X1, Y1, Z1Z2, TOP
    EXPECT_EQ(ExpectLiteral(2).explicitUnions, 0);

    Section("TOP2", "T0", "S");
    Section("SA", "S", "A1");
    Section("SB", "S", "B1");
    Section("A1P", "A1", "P2");
    Section("A1Q", "A1", "Q2");
    Section("B1P", "B1", "P2");
    Section("B1Q", "B1", "Q2");
    Section("P2V", "P2", "V2");
    Section("Q2V", "Q2", "V2");
    Section("OUT2", "V2", "W2");
    EXPECT_EQ(CountOf("OUT2"), 10.0);
    EXPECT_EQ(CountOf("P2V"), 6.0);  // P2V, A1P, B1P, SA, SB, TOP2
    EXPECT_GE(ExpectLiteral(3).explicitUnions, 1);
}

// A closed loop L1 -> L2 -> L3 -> L1 fed by IN and drained by OUT, and a section that loops on its own node:
// a section on the loop has the whole loop and its inflow upstream, itself not counted twice.
TEST_F(UpstreamSumsTest, LoopsCountEverySectionOnce) {
    Section("IN", "A", "L1");
    Section("L12", "L1", "L2");
    Section("L23", "L2", "L3");
    Section("L31", "L3", "L1");
    Section("SELF", "L2", "L2");
    Section("OUT", "L3", "E");
    Section("BELOW", "E", "F");
    EXPECT_EQ(CountOf("L23"), 5.0);  // L23 itself, L12, L31, SELF, IN
    EXPECT_EQ(CountOf("OUT"), 6.0);
    EXPECT_EQ(CountOf("BELOW"), 7.0);
    const auto stats = ExpectLiteral(3);
    EXPECT_EQ(stats.loopNodes, 3);
}

TEST_F(UpstreamSumsTest, GeneratedNetworksWithRejoiningDivisionsAgreeWithTheLiteralRule) {
    const TAVGis::Bench::SeededCase cases[] = {
        {300, 0.15, 0, 1}, {300, 0.4, 0, 2}, {600, 0.25, 0, 3}, {400, 0.3, 4, 4}, {250, 0.6, 2, 5}};
    int overlaps = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const auto o = c.Options();
        const auto summary = TAVGis::Bench::GenerateTransitNetwork(Topo(), system, o);
        EXPECT_GT(summary.divisions, 0);
        overlaps += ExpectLiteral(c.seed).joinsWithOverlap;
    }
    EXPECT_GT(overlaps, 0);  // the rejoins were there to be taken off
}

TEST_F(UpstreamSumsTest, DivisionsThatNeverRejoinCostNothingMore) {
    TAVGis::Bench::NetworkOptions o;
    o.sections = 2000;
    o.shape = TAVGis::Bench::NetworkShape::Divisions;
    o.divisionEvery = 10;
    TAVGis::Bench::GenerateNetwork(Topo(), system, o);
    const auto stats = ExpectLiteral(7);
    EXPECT_EQ(stats.joinsWithOverlap, 0);
    EXPECT_EQ(stats.longestOpenList, 0u);  // a side pipe to a dead end is never listed
}

}  // namespace
