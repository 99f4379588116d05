// The upstream-first visit: every section once, in the order of the plain recursive visit without its
// repetitions; cycles cut, long chains.
#include "module/hydraulics/calc/UpstreamVisit.h"

#include <set>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "testing/NetworkGenerator.h"

namespace {

using TAVGis::Topology::CSection;
using TAVGis::Topology::CSectionPtr;

// The reference: the visit written the straightforward way, recursion with the sections of the current
// path excluded. It visits a section again for every downstream path that reaches it.
void RecursiveVisit(const CSectionPtr& s, std::set<const CSection*>& onPath, std::vector<std::string>& out) {
    onPath.insert(s.get());
    for (const auto& up : s->GetSectionsIn()) {
        if (!up || onPath.count(up.get())) continue;
        RecursiveVisit(up, onPath, out);
    }
    onPath.erase(s.get());
    out.push_back(s->GetName());
}

class UpstreamVisitTest : public testsupport::DrawingTest {
protected:
    // Roots as the run finds them: sections none of whose downstream sections is in the system.
    std::vector<CSectionPtr> Roots() {
        std::vector<CSectionPtr> roots;
        for (const auto& s : Topo().Sections()) {
            bool root = true;
            for (const auto& out : s->GetSectionsOut())
                if (out && out->GetSystem() == system) root = false;
            if (root) roots.push_back(s);
        }
        return roots;
    }
    std::vector<std::string> Iterative() {
        std::vector<std::string> out;
        CUpstreamVisit visit;
        for (const auto& r : Roots())
            visit.Visit(r, [&](const CSectionPtr& s) { out.push_back(s->GetName()); });
        return out;
    }
    std::vector<std::string> Recursive() {
        std::vector<std::string> out;
        std::set<const CSection*> onPath;
        for (const auto& r : Roots()) RecursiveVisit(r, onPath, out);
        return out;
    }
    static std::vector<std::string> FirstOccurrences(const std::vector<std::string>& names) {
        std::vector<std::string> out;
        std::set<std::string> seen;
        for (const auto& n : names)
            if (seen.insert(n).second) out.push_back(n);
        return out;
    }
};

struct GeneratedCase {
    TAVGis::Bench::NetworkShape shape;
    int sections;
    std::uint32_t seed;
};

class GeneratedNetworks : public UpstreamVisitTest, public ::testing::WithParamInterface<GeneratedCase> {};

TEST_P(GeneratedNetworks, EverySectionOnceInTheOrderOfTheRecursiveVisit) {
    TAVGis::Bench::NetworkOptions o;
    o.shape = GetParam().shape;
    o.sections = GetParam().sections;
    o.seed = GetParam().seed;
    o.divisionEvery = 40;
    o.withFlows = o.withSlopes = o.withDiameters = false;
    TAVGis::Bench::GenerateNetwork(Topo(), system, o);
    const auto perPath = Recursive();
    const auto expected = FirstOccurrences(perPath);
    ASSERT_EQ(expected.size(), Topo().Sections().size());
    if (GetParam().shape == TAVGis::Bench::NetworkShape::Divisions)
        ASSERT_GT(perPath.size(), expected.size());  // the case is worth its name
    else
        ASSERT_EQ(perPath, expected);  // a tree keeps the recursive order exactly
    EXPECT_EQ(Iterative(), expected);
}

INSTANTIATE_TEST_SUITE_P(Shapes, GeneratedNetworks,
                         ::testing::Values(GeneratedCase{TAVGis::Bench::NetworkShape::Chain, 500, 1},
                                           GeneratedCase{TAVGis::Bench::NetworkShape::Tree, 3000, 7},
                                           GeneratedCase{TAVGis::Bench::NetworkShape::Tree, 3000, 99},
                                           GeneratedCase{TAVGis::Bench::NetworkShape::Divisions, 2000, 3},
                                           GeneratedCase{TAVGis::Bench::NetworkShape::Divisions, 2000, 42}));

TEST_F(UpstreamVisitTest, ACycleIsCutAtTheSectionAlreadyOnThePath) {
    // N1 -> N2 -> N3 -> N1 is a loop; T leaves it at N3.
    Section("L1", "N1", "N2");
    Section("L2", "N2", "N3");
    Section("L3", "N3", "N1");
    Section("T", "N3", "N4");
    CUpstreamVisit visit;
    std::vector<std::string> order;
    visit.Visit(Topo().FindSectionByName("T"), [&](const CSectionPtr& s) { order.push_back(s->GetName()); });
    const std::vector<std::string> expected = {"L3", "L1", "L2", "T"};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(visit.CyclesCut(), 1);
    EXPECT_EQ(Recursive(), expected);  // T is the only root
    // The same visit hands nothing over again.
    visit.Visit(Topo().FindSectionByName("T"), [&](const CSectionPtr& s) { order.push_back(s->GetName()); });
    EXPECT_EQ(order, expected);
    EXPECT_EQ(visit.CyclesCut(), 1);
}

// The sections handed over stay handed over; those still on the path are free again, not taken for a cycle.
TEST_F(UpstreamVisitTest, ACallbackThatThrowsLeavesNoSectionOnThePath) {
    Section("S1", "N0", "N1");
    Section("S2", "N1", "N2");
    Section("S3", "N2", "N3");
    Section("S4", "N3", "N4");
    CUpstreamVisit visit;
    EXPECT_THROW(visit.Visit(Topo().FindSectionByName("S4"),
                             [](const CSectionPtr& s) {
                                 if (s->GetName() == "S2") throw std::runtime_error("stop");
                             }),
                 std::runtime_error);
    std::vector<std::string> order;
    visit.Visit(Topo().FindSectionByName("S4"), [&](const CSectionPtr& s) { order.push_back(s->GetName()); });
    EXPECT_EQ(order, (std::vector<std::string>{"S3", "S4"}));
    EXPECT_EQ(visit.CyclesCut(), 0);
}

TEST_F(UpstreamVisitTest, AChainOf200000SectionsIsVisitedWithoutDeepRecursion) {
    TAVGis::Bench::NetworkOptions o;
    o.shape = TAVGis::Bench::NetworkShape::Chain;
    o.sections = 200000;
    o.withFlows = o.withSlopes = o.withDiameters = false;
    TAVGis::Bench::GenerateNetwork(Topo(), system, o);
    CUpstreamVisit visit;
    long count = 0;
    bool inOrder = true;
    // The generator numbers a chain from the outlet upstream: S200000 is visited first, S1 last.
    visit.Visit(Topo().FindSectionByName("S1"), [&](const CSectionPtr& s) {
        ++count;
        inOrder = inOrder && s->GetName() == "S" + std::to_string(200001 - count);
    });
    EXPECT_EQ(count, 200000);
    EXPECT_TRUE(inOrder);
}

}  // namespace
