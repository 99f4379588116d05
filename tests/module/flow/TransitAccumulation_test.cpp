// The transit accumulation run directly on drawings: no dialog.
#include "module/flow/calc/TransitAccumulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "module/data/SectionData.h"
#include "platform/gis/DataRW.h"
#include "platform/selection/Selector.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

constexpr double kTol = 1e-12;  // m3/s
constexpr std::size_t kRowWastePercent = 2;
constexpr std::size_t kRowRainSimple = 4;
constexpr std::size_t kRowTurIndustrial = 8;
constexpr std::size_t kRowTurInfiltration = 9;

CTransitAccumulation::Flags OnlyWastePercent() {
    CTransitAccumulation::Flags f{};
    f[kRowWastePercent] = 1;
    return f;
}

class TransitTest : public testsupport::DrawingTest {
protected:
    // A section carrying its own waste-water flow (m3/s).
    CSectionPtr Pipe(const std::string& name, const std::string& from, const std::string& to, double own,
                     std::optional<double> diameter = std::nullopt) {
        auto s = Section(name, from, to);
        Set(name, "FLOW_WASTE_PER", own);
        if (diameter) Set(name, "PIPE_DIA_IN", *diameter);
        return s;
    }
    TransitResult Run(const CTransitAccumulation::Flags& flags = OnlyWastePercent()) {
        std::vector<CSectionPtr> sections(Topo().Sections().begin(), Topo().Sections().end());
        std::vector<CNodePtr> nodes(Topo().Nodes().begin(), Topo().Nodes().end());
        return CTransitAccumulation::Run(
            sections, nodes, map, flags, [this](const CNodePtr& node, const auto&) {
                askedAt.push_back(node->GetName());
                return TAVGis::Selection::CSelector::LoopInstance()->selectDirection(node);
            });
    }
    std::optional<std::string> MainOut(const std::string& node) {
        auto guid = GetText(node, "MAIN_SECT_OUT");
        if (!guid) return std::nullopt;
        auto s = Topo().GetSectionByGuid(*guid);
        return s ? s->GetName() : std::string("?");
    }
    void ExpectFlow(const std::string& section, const char* attribute, std::optional<double> want) {
        auto have = Get(section, attribute);
        if (!want) {
            EXPECT_FALSE(have) << section << " " << attribute << " = " << *have;
            return;
        }
        ASSERT_TRUE(have) << section << " " << attribute << " missing";
        EXPECT_NEAR(*have, *want, kTol) << section << " " << attribute;
    }

    MainDirectionMap map;
    std::vector<std::string> askedAt;
};

TEST_F(TransitTest, ChainCarriesEveryUpstreamOwnFlow) {
    Pipe("A", "N1", "N2", 0.001);
    Pipe("B", "N2", "N3", 0.002);
    Pipe("C", "N3", "N4", 0.004);
    Set("A", "FLOW_TRANSIT", 9.0);  // a stale result is deleted first
    auto r = Run();
    EXPECT_FALSE(r.loop);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.routes, 1);
    ExpectFlow("A", "FLOW_TRANSIT", std::nullopt);
    ExpectFlow("B", "FLOW_TRANSIT", 0.001);
    ExpectFlow("C", "FLOW_TRANSIT", 0.003);
    ExpectFlow("A", "FLOW_SECT_TOTAL", 0.001);
    ExpectFlow("C", "FLOW_SECT_TOTAL", 0.004);
    EXPECT_TRUE(askedAt.empty());
}

TEST_F(TransitTest, JoiningBranchesAreCarriedOnceEach) {
    Pipe("A1", "a1", "a2", 0.001);
    Pipe("A2", "a2", "J", 0.002);
    Pipe("B1", "b1", "b2", 0.010);
    Pipe("B2", "b2", "J", 0.020);
    Pipe("T1", "J", "t", 0.100);
    Pipe("T2", "t", "out", 0.200);
    auto r = Run();
    EXPECT_EQ(r.routes, 2);
    EXPECT_EQ(r.processed, 6);
    ExpectFlow("T1", "FLOW_TRANSIT", 0.033);
    ExpectFlow("T2", "FLOW_TRANSIT", 0.133);
    ExpectFlow("B2", "FLOW_TRANSIT", 0.010);
    ExpectFlow("B1", "FLOW_TRANSIT", std::nullopt);
}

TEST_F(TransitTest, DivisionByDiameterSendsEverythingIntoTheLargerPipe) {
    Pipe("U", "n0", "D", 0.001);
    Pipe("Big", "D", "x", 0.002, 0.4);
    Pipe("Small", "D", "y", 0.004, 0.3);
    Pipe("Below", "y", "z", 0.008);
    auto r = Run();
    EXPECT_TRUE(askedAt.empty());
    EXPECT_EQ(r.routes, 2);  // the small branch starts its own route
    ExpectFlow("Big", "FLOW_TRANSIT", 0.001);
    ExpectFlow("Small", "FLOW_TRANSIT", std::nullopt);
    ExpectFlow("Below", "FLOW_TRANSIT", 0.004);
    ExpectFlow("Small", "FLOW_SECT_TOTAL", 0.004);
    EXPECT_EQ(MainOut("D"), "Big");
}

// Equal diameters, or none at all: the person is asked; the answer holds for the rest of the calculation,
// for the next calculation of the dialog and (stored) for later dialogs. A single diameter decides.
TEST_F(TransitTest, UndecidedDivisionAsksThePerson) {
    struct Case {
        std::string p;  // prefix of the names of this case's network
        std::optional<double> left, right;
        bool asks;
    };
    for (const Case& c : {Case{"e", 0.3, 0.3, true}, Case{"n", std::nullopt, std::nullopt, true},
                          Case{"o", std::nullopt, 0.3, false}}) {
        SCOPED_TRACE(c.p);
        map.clear();
        askedAt.clear();
        ui.pickRequests.clear();
        Pipe(c.p + "U1", c.p + "u1", c.p + "D", 0.001);
        Pipe(c.p + "U2", c.p + "u2", c.p + "D", 0.002);  // two routes reach D: only the first asks
        Pipe(c.p + "L", c.p + "D", c.p + "l", 0.010, c.left);
        Pipe(c.p + "R", c.p + "D", c.p + "r", 0.020, c.right);
        if (c.asks) ui.picks.push_back({c.p + "R"});
        Run();
        EXPECT_EQ(askedAt, c.asks ? std::vector<std::string>{c.p + "D"} : std::vector<std::string>{});
        if (c.asks) {
            ASSERT_EQ(ui.pickRequests.size(), 1u);
            EXPECT_EQ(ui.pickRequests[0].candidates, (std::vector<std::string>{c.p + "L", c.p + "R"}));
        }
        EXPECT_EQ(MainOut(c.p + "D"), c.p + "R");
        ExpectFlow(c.p + "R", "FLOW_TRANSIT", 0.003);
        ExpectFlow(c.p + "L", "FLOW_TRANSIT", std::nullopt);
        ExpectFlow(c.p + "L", "FLOW_SECT_TOTAL", 0.010);
        // Again in the same dialog: the choice holds, nothing more is asked.
        const auto asked = askedAt.size();
        Run();
        EXPECT_EQ(askedAt.size(), asked);
        ExpectFlow(c.p + "R", "FLOW_TRANSIT", 0.003);
    }
}

TEST_F(TransitTest, UnansweredPickEndsTheRouteAndAsksAgainLater) {
    Pipe("U1", "u1", "D", 0.001);
    Pipe("U2", "u2", "D", 0.002);
    Pipe("L", "D", "l", 0.010);
    Pipe("R", "D", "r", 0.020);
    ui.picks.push_back({});     // first route: nothing picked
    ui.picks.push_back({"L"});  // second route: L
    auto r = Run();
    EXPECT_EQ(askedAt, (std::vector<std::string>{"D", "D"}));
    EXPECT_EQ(MainOut("D"), "L");
    // U1's route ended at D, so only U2 reaches L; R is queued as a head at the choice.
    ExpectFlow("L", "FLOW_TRANSIT", 0.002);
    ExpectFlow("R", "FLOW_SECT_TOTAL", 0.020);
    ExpectFlow("R", "FLOW_TRANSIT", std::nullopt);
    EXPECT_EQ(r.routes, 3);
}

// A direction stored by an earlier calculation is followed without asking, and the other outgoing sections
// are queued as heads all the same, so the branches below them are calculated as in the first calculation.
TEST_F(TransitTest, StoredMainDirectionStillQueuesTheOtherBranches) {
    Pipe("U", "u", "D", 0.001);
    auto left = Pipe("L", "D", "l", 0.010, 0.3);
    Pipe("R", "D", "r", 0.020, 0.3);
    Pipe("RB", "r", "rr", 0.040);
    CSectionData::SetMAIN_SECT_OUT(Topo().FindNodeByName("D"), left);
    Set("RB", "FLOW_TRANSIT", 5.0);
    auto r = Run();
    EXPECT_TRUE(askedAt.empty());
    EXPECT_EQ(r.routes, 2);
    ExpectFlow("L", "FLOW_TRANSIT", 0.001);
    ExpectFlow("R", "FLOW_SECT_TOTAL", 0.020);
    ExpectFlow("R", "FLOW_TRANSIT", std::nullopt);
    ExpectFlow("RB", "FLOW_TRANSIT", 0.020);
    EXPECT_EQ(MainOut("D"), "L");
}

// A calculation repeated in the same dialog, or in a new one that reads the stored directions, gives what
// the first one gave (the first one asked at the division).
TEST_F(TransitTest, RepeatedCalculationGivesTheSameResults) {
    Pipe("U1", "u1", "D", 0.001);
    Pipe("U2", "u2", "D", 0.002);
    Pipe("L", "D", "l", 0.010);
    Pipe("R", "D", "r", 0.020);
    Pipe("LB", "l", "x", 0.040);
    Pipe("RB", "r", "x", 0.080);
    Pipe("Out", "x", "o", 0.160);
    ui.picks.push_back({"R"});
    Run();
    auto snapshot = [this] {
        std::map<std::string, std::optional<double>> m;
        for (const auto& s : Topo().Sections()) {
            m[s->GetName() + " own"] = Get(s->GetName(), "FLOW_SECT_TOTAL");
            m[s->GetName() + " transit"] = Get(s->GetName(), "FLOW_TRANSIT");
        }
        return m;
    };
    const auto first = snapshot();
    ASSERT_TRUE(first.at("LB transit"));
    EXPECT_NEAR(*first.at("LB transit"), 0.010, kTol);
    EXPECT_NEAR(*first.at("Out transit"), 0.003 + 0.010 + 0.020 + 0.040 + 0.080, kTol);
    Run();  // same dialog
    EXPECT_EQ(snapshot(), first);
    map.clear();  // a new dialog
    Run();
    EXPECT_EQ(snapshot(), first);
    EXPECT_EQ(askedAt.size(), 1u);
}

// A stored direction naming a section that does not leave the node (the network was edited since) is
// not followed: the division is decided as if nothing were stored.
TEST_F(TransitTest, StoredDirectionNotLeavingTheNodeIsIgnored) {
    Pipe("U", "u", "D", 0.001);
    Pipe("L", "D", "l", 0.010, 0.5);
    Pipe("R", "D", "r", 0.020, 0.3);
    auto elsewhere = Pipe("X", "x1", "x2", 0.100);
    Set("D", "MAIN_SECT_OUT", elsewhere->GetGuid());
    Run();
    EXPECT_TRUE(askedAt.empty());
    EXPECT_EQ(MainOut("D"), "L");
    ExpectFlow("L", "FLOW_TRANSIT", 0.001);
    ExpectFlow("X", "FLOW_TRANSIT", std::nullopt);
}

TEST_F(TransitTest, ClosedLoopWritesNothingButTheDeletionsAndEarlierChoices) {
    // A division decided by diameter first, then a loop on the main direction.
    Pipe("U", "u", "D", 0.001);
    Pipe("M", "D", "a", 0.002, 0.5);
    Pipe("S", "D", "s", 0.004, 0.3);
    Pipe("A", "a", "b", 0.008);
    Pipe("Back", "b", "a2", 0.016);
    Pipe("Close", "a2", "a", 0.032);  // a -> b -> a2 -> a
    Set("A", "FLOW_TRANSIT", 7.0);
    Set("U", "FLOW_SECT_TOTAL", 7.0);
    auto r = Run();
    EXPECT_TRUE(r.loop);
    EXPECT_FALSE(r.written);
    ExpectFlow("A", "FLOW_TRANSIT", std::nullopt);
    ExpectFlow("U", "FLOW_SECT_TOTAL", 7.0);
    ExpectFlow("M", "FLOW_SECT_TOTAL", std::nullopt);
    EXPECT_EQ(MainOut("D"), "M");  // written at the choice, before the loop was met
}

TEST_F(TransitTest, SelfLoopAndLoopThroughTheHeadAreFound) {
    Pipe("H", "h", "k", 0.001);
    Pipe("Self", "k", "k", 0.002);
    EXPECT_TRUE(Run().loop);
}

TEST_F(TransitTest, IsolatedSectionsGetOwnFlowButNoTransit) {
    Pipe("I1", "i1", "i2", 0.001);
    Pipe("I2", "i3", "i4", 0.002);
    auto r = Run();
    EXPECT_FALSE(r.loop);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(r.transitWrites, 0);
    ExpectFlow("I1", "FLOW_SECT_TOTAL", 0.001);
    ExpectFlow("I2", "FLOW_TRANSIT", std::nullopt);
}

// Typed rows skip a missing value (read as the sentinel), direct rows add whatever is stored; a sum equal to
// the sentinel counts as 0. Checked on OwnFlow and on what a calculation writes as FLOW_SECT_TOTAL.
TEST_F(TransitTest, OwnFlowSumsTheTickedComponents) {
    Pipe("S", "a", "b", 0.001);
    Set("S", "FLOW_RAIN", kMissingValue);  // the sentinel stored by a user reads as missing
    Set("S", "FLOW_TUR_WASTE_IND", 0.010);
    Set("S", "FLOW_TUR_WASTE_INF", kMissingValue);  // a direct read adds what is stored
    constexpr std::size_t kRowUser = 7;             // FLOW_USER: never stored here
    struct Case {
        const char* name;
        std::vector<std::size_t> rows;
        double want;
    };
    for (const Case& c : {
             Case{"nothing ticked", {}, 0.0},
             Case{"one typed row", {kRowWastePercent}, 0.001},
             Case{"missing typed rows add nothing", {kRowWastePercent, kRowRainSimple, kRowUser}, 0.001},
             Case{"typed and direct", {kRowWastePercent, kRowTurIndustrial}, 0.011},
             Case{"a sum equal to the sentinel is 0", {kRowTurInfiltration}, 0.0},
             Case{"a direct sentinel is added",
                  {kRowWastePercent, kRowTurInfiltration},
                  0.001 + kMissingValue},
         }) {
        SCOPED_TRACE(c.name);
        CTransitAccumulation::Flags f{};
        for (auto row : c.rows) f[row] = 1;
        EXPECT_NEAR(CTransitAccumulation::OwnFlow(Topo().FindSectionByName("S"), f), c.want, kTol);
        Run(f);
        ExpectFlow("S", "FLOW_SECT_TOTAL", c.want);
    }
}

}  // namespace
