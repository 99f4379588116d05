// Flow topology: sections in and out at a section's nodes and every section upstream, on chains, trees,
// divisions, joins and loops; lookups by GUID and name.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "support/TestSupport.h"

namespace {

class TopologyTest : public testsupport::DrawingTest {
protected:
    std::set<std::string> Names(const std::vector<TAVGis::Topology::CSectionPtr>& list) {
        std::set<std::string> out;
        for (const auto& s : list) out.insert(s->GetName());
        return out;
    }
    void Build(const std::vector<std::array<const char*, 3>>& sections) {
        for (const auto& s : sections) Section(s[0], s[1], s[2]);
    }
};

TEST_F(TopologyTest, NeighboursAndUpstreamOnTypicalShapes) {
    struct Case {
        const char* shape;
        std::vector<std::array<const char*, 3>> sections;  // name, from, to
        const char* probe;
        std::set<std::string> in, out, previous;
    };
    const std::vector<Case> cases = {
        {"chain", {{"A", "1", "2"}, {"B", "2", "3"}, {"C", "3", "4"}}, "C", {"B"}, {}, {"A", "B"}},
        {"chain middle", {{"A", "1", "2"}, {"B", "2", "3"}, {"C", "3", "4"}}, "B", {"A"}, {"C"}, {"A"}},
        {"join",
         {{"A1", "a", "j"}, {"B1", "b", "j"}, {"T1", "j", "t"}, {"T2", "t", "o"}},
         "T2",
         {"T1"},
         {},
         {"A1", "B1", "T1"}},
        {"join below",
         {{"A1", "a", "j"}, {"B1", "b", "j"}, {"T1", "j", "t"}},
         "T1",
         {"A1", "B1"},
         {},
         {"A1", "B1"}},
        {"division", {{"U", "1", "d"}, {"M", "d", "m"}, {"S", "d", "s"}}, "U", {}, {"M", "S"}, {}},
        {"below a division", {{"U", "1", "d"}, {"M", "d", "m"}, {"S", "d", "s"}}, "S", {"U"}, {}, {"U"}},
        {"diamond",
         {{"U", "1", "d"}, {"L", "d", "j"}, {"R", "d", "j"}, {"T", "j", "o"}},
         "T",
         {"L", "R"},
         {},
         {"U", "L", "R"}},
        {"loop", {{"A", "1", "2"}, {"B", "2", "3"}, {"C", "3", "1"}}, "A", {"C"}, {"B"}, {"B", "C"}},
        {"isolated", {{"X", "1", "2"}}, "X", {}, {}, {}},
    };
    for (const auto& c : cases) {
        TearDown();
        SetUp();
        Build(c.sections);
        auto s = Topo().FindSectionByName(c.probe);
        ASSERT_TRUE(s) << c.shape;
        EXPECT_EQ(Names(s->GetSectionsIn()), c.in) << c.shape;
        EXPECT_EQ(Names(s->GetSectionsOut()), c.out) << c.shape;
        auto prev = s->GetPreviousSections();
        EXPECT_EQ(Names(prev), c.previous) << c.shape;
        EXPECT_EQ(prev.size(), c.previous.size()) << c.shape << ": each upstream section once";
    }
}

TEST_F(TopologyTest, LookupsAndLengths) {
    auto a = Node("1", 0, 0);
    auto b = Node("001", 30, 40, 101.5);
    auto s = Topo().AddSection("Main St 1", a, b, system, {{30, 0}});
    EXPECT_EQ(Topo().FindNodeByName("1"), a);
    EXPECT_EQ(Topo().FindNodeByName("001"), b) << "node names are exact strings";
    EXPECT_EQ(Topo().FindSectionByName("main st 1"), s) << "section names ignore case";
    EXPECT_EQ(Topo().GetSectionByGuid(s->GetGuid()), s);
    EXPECT_FALSE(Topo().GetSectionByGuid(a->GetGuid())) << "a node's GUID names no section";
    EXPECT_NEAR(s->GetLength2D(), 30.0 + 40.0, 1e-12);
    // A positive given length (SECTION_LENGTH) is the length of the pipe; anything else is no length.
    struct SLengthCase {
        TAVGis::Data::CDataBox given;
        double length;  // m
    };
    for (const auto& c : std::vector<SLengthCase>{{125.5, 125.5}, {0.0, 70.0}, {-3.0, 70.0}, {{}, 70.0}}) {
        SCOPED_TRACE(c.given.ToString());
        Set("Main St 1", "SECTION_LENGTH", c.given);
        EXPECT_NEAR(s->GetLength2D(), c.length, 1e-12);
        EXPECT_NEAR(s->GetPlanLength(), 70.0, 1e-12);
    }
    double h = 0;
    EXPECT_TRUE(b->GetTerrainHeight(h));
    EXPECT_DOUBLE_EQ(h, 101.5);
    EXPECT_FALSE(a->GetTerrainHeight(h));
    EXPECT_THROW(Node("1", 5, 5), std::invalid_argument);
    EXPECT_THROW(Topo().AddSection("MAIN ST 1", a, b, system), std::invalid_argument);
    s->SetLevels(98.0, 97.5);
    double level = 0;
    EXPECT_TRUE(s->GetLevelLineAtNode(b->GetGuid(), level));
    EXPECT_DOUBLE_EQ(level, 97.5);
    EXPECT_FALSE(s->GetLevelLineAtNode("{nope}", level));
    EXPECT_NE(a->GetGuid(), b->GetGuid());
    EXPECT_EQ(a->GetGuid().size(), 38u);
}

}  // namespace
