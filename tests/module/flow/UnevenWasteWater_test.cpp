// The uneven waste-water calculation run directly on drawings, without its dialog: hand values on small
// networks, where paths start, what comes in from outside the selection, divisions, loops and refusals.
#include "module/flow/calc/UnevenWasteWater.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "module/data/SectionData.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/network/TopoEditor.h"
#include "platform/sessions/UpdateSessions.h"
#include "platform/sessions/WsManager.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

constexpr double kTol = 1e-12;
// Hand values: one section of 100 inhabitants at q = 250 l/day over t = 24 h.
constexpr double kQ1 = 100.0 * 250.0 / 86400.0;  // l/s, about 0.2894

double Fedorov(double qm) {
    return 2.69 / std::pow(qm, 0.121);
}

UnevenWasteWaterInput FromAttribute() {
    UnevenWasteWaterInput in;
    in.mode = UnevenWasteWaterInput::kModeFromAttribute;
    return in;
}

class UnevenTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        TAVGis::Workspace::CWsManager::ClearMessages();
    }
    // A section with its population (mode 0).
    CSectionPtr Pipe(const std::string& name, const std::string& from, const std::string& to,
                     double population = 100.0) {
        auto s = Section(name, from, to);
        Set(name, "FLOW_SECTION_POPULATION", population);
        return s;
    }
    std::vector<CSectionPtr> Sections(const std::vector<std::string>& names) {
        std::vector<CSectionPtr> out;
        for (const auto& n : names) out.push_back(Topo().FindSectionByName(n));
        return out;
    }
    std::vector<CSectionPtr> All() { return {Topo().Sections().begin(), Topo().Sections().end()}; }
    std::vector<CNodePtr> AllNodes() { return {Topo().Nodes().begin(), Topo().Nodes().end()}; }
    // Runs on a selection; the person answers each question from `answers` (node -> section name, "" for
    // nothing), and the questions are recorded.
    UnevenWasteWaterResult Run(const UnevenWasteWaterInput& in, const std::vector<CSectionPtr>& selected,
                               const std::vector<CNodePtr>& nodes = {}) {
        return CUnevenWasteWater::Run(
            in, selected, nodes, table, [this](const CNodePtr& node, const std::vector<CSectionPtr>&) {
                asked.push_back(node->GetName());
                const auto it = answers.find(node->GetName());
                return it == answers.end() ? CSectionPtr() : Topo().FindSectionByName(it->second);
            });
    }
    void ExpectMeanFlow(const std::string& section, std::optional<double> want) {
        const auto have = Get(section, "FLOW_QSR_TOTAL");
        if (!want) {
            EXPECT_FALSE(have) << section << " FLOW_QSR_TOTAL = " << *have;
            return;
        }
        ASSERT_TRUE(have) << section << " FLOW_QSR_TOTAL missing";
        EXPECT_NEAR(*have, *want, kTol) << section;
    }
    std::optional<std::string> MainOut(const std::string& node) {
        auto s = CSectionData::GetMAIN_SECT_OUT(Topo().FindNodeByName(node));
        return s ? std::optional<std::string>(s->GetName()) : std::nullopt;
    }

    MainDirectionMap table;
    std::map<std::string, std::string> answers;
    std::vector<std::string> asked;
};

TEST_F(UnevenTest, ChainOfThreeAccumulatesWithHandValues) {
    Pipe("A", "n1", "n2");
    Pipe("B", "n2", "n3");
    Pipe("C", "n3", "n4");
    const auto r = Run(FromAttribute(), All());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.starts, 1);
    ExpectMeanFlow("A", kQ1);
    ExpectMeanFlow("B", 2 * kQ1);
    ExpectMeanFlow("C", 3 * kQ1);
    // K of the last section: 2.69 / 0.8681^0.121, about 2.74 (hand value 2.7365).
    EXPECT_NEAR(*Get("C", "FLOW_FEDOROV"), Fedorov(3 * kQ1), kTol);
    EXPECT_NEAR(*Get("C", "FLOW_FEDOROV"), 2.7365, 5e-5);
    EXPECT_NEAR(*Get("C", "FLOW_WASTE_UNEVEN"), 3 * kQ1 * Fedorov(3 * kQ1) / 1000.0, kTol);
    EXPECT_NEAR(*Get("A", "FLOW_WASTE_UNEVEN"), kQ1 * Fedorov(kQ1) / 1000.0, kTol);
    ASSERT_EQ(r.sections.size(), 3u);
    EXPECT_EQ(r.sections[2].section->GetName(), "C");
    EXPECT_NEAR(r.sections[2].qmax, 3 * kQ1 * Fedorov(3 * kQ1), kTol);  // l/s
    EXPECT_EQ(r.unevenWrites, 3);
    // Mode 0 reads the populations and leaves them.
    EXPECT_EQ(Get("B", "FLOW_SECTION_POPULATION"), 100.0);
    // The completion message goes to the workspace log, once.
    ASSERT_EQ(TAVGis::Workspace::CWsManager::Messages().size(), 1u);
    EXPECT_EQ(TAVGis::Workspace::CWsManager::Messages()[0],
              TAVGis::CModuleConfiguration::GetMsg(CUnevenWasteWater::kMsgResultsWritten));
    // Each section reached is drawn highlighted in colour 2.
    EXPECT_EQ(doc->Editor().highlighted.at(Topo().FindSectionByName("B")->GetObjectId()), 2);
}

TEST_F(UnevenTest, HalvingTheDurationDoublesEveryMeanFlow) {
    Pipe("A", "n1", "n2", 120.0);
    Pipe("B", "n2", "n3", 40.0);
    Pipe("C", "n4", "n3", 75.0);
    Pipe("D", "n3", "n5", 0.0);
    auto in = FromAttribute();
    Run(in, All());
    std::map<std::string, double> day;
    for (const auto& s : All()) day[s->GetName()] = *Get(s->GetName(), "FLOW_QSR_TOTAL");
    in.t = 12.0;
    Run(in, All());
    for (const auto& [name, qm] : day) {
        EXPECT_NEAR(*Get(name, "FLOW_QSR_TOTAL"), 2.0 * qm, kTol) << name;
        EXPECT_NEAR(*Get(name, "FLOW_WASTE_UNEVEN"), 2.0 * qm * Fedorov(2.0 * qm) / 1000.0, kTol) << name;
    }
    EXPECT_NEAR(day["D"], (120.0 + 40.0 + 75.0) * 250.0 / 86400.0, kTol);
}

// A path goes on below the selection; those sections get results without a population of their own, and
// only the selection's FLOW_WASTE_UNEVEN is deleted first.
TEST_F(UnevenTest, SectionsBelowTheSelectionReceiveResults) {
    Pipe("A", "n1", "n2");
    Pipe("B", "n2", "n3", 500.0);
    Pipe("C", "n3", "n4", 500.0);
    Pipe("X", "x1", "x2");  // elsewhere, not selected, not reached
    Set("A", "FLOW_WASTE_UNEVEN", 9.0);
    Set("X", "FLOW_WASTE_UNEVEN", 9.0);
    const auto r = Run(FromAttribute(), Sections({"A"}));
    EXPECT_EQ(r.status, 0);
    ExpectMeanFlow("A", kQ1);
    ExpectMeanFlow("B", kQ1);
    ExpectMeanFlow("C", kQ1);
    EXPECT_NEAR(*Get("C", "FLOW_FEDOROV"), Fedorov(kQ1), kTol);
    EXPECT_NEAR(*Get("A", "FLOW_WASTE_UNEVEN"), kQ1 * Fedorov(kQ1) / 1000.0, kTol);
    EXPECT_EQ(Get("X", "FLOW_WASTE_UNEVEN"), 9.0);
    ExpectMeanFlow("X", std::nullopt);
}

// Branches A1-A2 and B1 join into J then T: J and T carry every branch once; a section reached by the
// second path adds nothing of its own again.
TEST_F(UnevenTest, JoiningBranchesCountEverySectionOnce) {
    Pipe("A1", "a1", "a2", 100.0);
    Pipe("A2", "a2", "j", 200.0);
    Pipe("B1", "b1", "j", 400.0);
    Pipe("J", "j", "t", 800.0);
    Pipe("T", "t", "o", 1600.0);
    const auto r = Run(FromAttribute(), All());
    EXPECT_EQ(r.starts, 2);
    const double per = 250.0 / 86400.0;  // l/s per inhabitant
    ExpectMeanFlow("A2", 300.0 * per);
    ExpectMeanFlow("B1", 400.0 * per);
    ExpectMeanFlow("J", 1500.0 * per);
    ExpectMeanFlow("T", 3100.0 * per);
}

// Where the calculation meets the rest of the network: stored mean flows of sections outside it, and
// selections whose top is fed from outside.
TEST_F(UnevenTest, StoredMeanFlowsFromOutsideCountOnceWhereTheirFlowGoes) {
    struct Case {
        const char* name;
        std::vector<std::string> selected;
        std::map<std::string, double> want;  // l/s
    };
    // U (outside, 5 l/s stored) -> S1 -> node d -> M (main outlet) -> M2, and d -> SIDE.
    const double p = kQ1;
    const std::vector<Case> cases = {
        {"the top of the selection is fed from outside",
         {"S1", "M"},
         {{"S1", 5 + p}, {"M", 5 + 2 * p}, {"M2", 5 + 2 * p}}},
        {"everything selected: the stored value of U is not used",
         {"U", "S1", "M", "SIDE"},
         {{"U", p}, {"S1", 2 * p}, {"M", 3 * p}, {"SIDE", p}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& s : Topo().Sections()) TAVGis::Data::CDataRW::Delete("FLOW_QSR_TOTAL", s);
        if (!Topo().FindSectionByName("U")) {
            Pipe("U", "u", "s");
            Pipe("S1", "s", "d");
            Pipe("M", "d", "m");
            Pipe("SIDE", "d", "e");
            Pipe("M2", "m", "z", 0.0);
            CSectionData::SetMAIN_SECT_OUT(Topo().FindNodeByName("d"), Topo().FindSectionByName("M"));
        }
        Set("U", "FLOW_QSR_TOTAL", 5.0);
        table.clear();
        const auto r = Run(FromAttribute(), Sections(c.selected));
        EXPECT_EQ(r.status, 0);
        for (const auto& [name, qm] : c.want) ExpectMeanFlow(name, qm);
    }
    // A section outside that flows into a division's two outlets: only the main outlet takes its value.
    for (const auto& s : Topo().Sections()) TAVGis::Data::CDataRW::Delete("FLOW_QSR_TOTAL", s);
    Set("S1", "FLOW_QSR_TOTAL", 7.0);
    table.clear();
    Run(FromAttribute(), Sections({"M", "SIDE"}));
    ExpectMeanFlow("M", 7 + p);
    ExpectMeanFlow("SIDE", p);
    EXPECT_TRUE(asked.empty());
}

// All flow at a division goes to its main outlet; a selected section below another outlet starts a path of
// its own with only the flows that arise from it on.
TEST_F(UnevenTest, OtherOutletsOfADivisionStartPathsOfTheirOwn) {
    Pipe("A", "a", "d");
    Pipe("M", "d", "m");
    Pipe("S", "d", "s");
    Pipe("S2", "s", "z");
    CSectionData::SetMAIN_SECT_OUT(Topo().FindNodeByName("d"), Topo().FindSectionByName("M"));
    const auto r = Run(FromAttribute(), All());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.starts, 2);
    EXPECT_TRUE(asked.empty());
    ExpectMeanFlow("M", 2 * kQ1);
    ExpectMeanFlow("S", kQ1);
    ExpectMeanFlow("S2", 2 * kQ1);
}

TEST_F(UnevenTest, TheDirectionPickedIsKeptAndStoredOnTheNode) {
    Pipe("A", "a", "d");
    Pipe("B", "b", "d");
    Pipe("L", "d", "l");
    Pipe("R", "d", "r");
    answers["d"] = "R";
    auto r = Run(FromAttribute(), All(), AllNodes());
    // Two paths come to d: the person is asked once.
    EXPECT_EQ(asked, std::vector<std::string>{"d"});
    EXPECT_EQ(r.asked, 1);
    EXPECT_EQ(MainOut("d"), "R");
    ExpectMeanFlow("R", 3 * kQ1);
    ExpectMeanFlow("L", kQ1);
    // The same dialog again, then a new dialog: the table, then MAIN_SECT_OUT, decide.
    Run(FromAttribute(), All(), AllNodes());
    table.clear();
    Run(FromAttribute(), All(), AllNodes());
    EXPECT_EQ(asked.size(), 1u);
    ExpectMeanFlow("R", 3 * kQ1);
}

// Nobody picks a direction: the paths end at the division, and the selected outlets below it start paths
// of their own; unselected ones get nothing.
TEST_F(UnevenTest, NoPickEndsThePathsAtTheDivision) {
    Pipe("A", "a", "d");
    Pipe("L", "d", "l");
    Pipe("R", "d", "r");
    const auto r = Run(FromAttribute(), Sections({"A", "L"}), AllNodes());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(asked, std::vector<std::string>{"d"});
    ExpectMeanFlow("A", kQ1);
    ExpectMeanFlow("L", kQ1);
    ExpectMeanFlow("R", std::nullopt);
    EXPECT_EQ(MainOut("d"), std::nullopt);
}

TEST_F(UnevenTest, PopulationSpreadByWeightedLength) {
    // Lengths 100 m and 200 m (c = 2): Lw = 100 + 400 = 500 m; Nf = 1000 x 1.03^30 = 2427.26 inhabitants.
    Pipe("A", "n1", "n2", 0.0);
    Pipe("B", "n2", "n3", 0.0);
    Set("A", "SECTION_LENGTH", 100.0);
    Set("B", "SECTION_LENGTH", 200.0);
    Set("B", "FLOW_COEFDEN", 2.0);
    UnevenWasteWaterInput in;  // mode 1: N = 1000, p = 3, T = 30
    const auto r = Run(in, All());
    const double nf = 1000.0 * std::pow(1.03, 30.0);
    EXPECT_NEAR(nf, 2427.26, 0.005);
    EXPECT_NEAR(r.futurePopulation, nf, 1e-9);
    EXPECT_NEAR(r.weightedLength, 500.0, 1e-9);
    EXPECT_NEAR(*Get("A", "FLOW_SECTION_POPULATION"), nf / 5.0, 1e-9);
    EXPECT_NEAR(*Get("B", "FLOW_SECTION_POPULATION"), nf * 4.0 / 5.0, 1e-9);
    ExpectMeanFlow("B", nf * 250.0 / 86400.0);
}

TEST_F(UnevenTest, AClosedLoopStopsWithoutResults) {
    Pipe("IN", "s", "a");
    Pipe("A", "a", "b");
    Pipe("B", "b", "c");
    Pipe("C", "c", "a");
    Set("A", "FLOW_WASTE_UNEVEN", 9.0);
    const auto r = Run(UnevenWasteWaterInput(), All(), AllNodes());
    EXPECT_EQ(r.status, CUnevenWasteWater::kMsgClosedLoop);
    EXPECT_TRUE(r.sections.empty());
    for (const char* s : {"IN", "A", "B", "C"}) ExpectMeanFlow(s, std::nullopt);
    EXPECT_FALSE(Get("A", "FLOW_WASTE_UNEVEN"));       // deleted before the paths were traced
    EXPECT_TRUE(Get("A", "FLOW_SECTION_POPULATION"));  // mode 1 wrote the populations first
    EXPECT_TRUE(TAVGis::Workspace::CWsManager::Messages().empty());
    // The frame is closed on the way out.
    EXPECT_EQ(TAVGis::Topology::CTopoEditor::TransactionDepth(), 0);
    EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().open, 0);
}

// A loop no section enters from outside is found too: its selected sections start paths of their own.
TEST_F(UnevenTest, ALoopWithoutEntryIsFound) {
    Pipe("A", "a", "b");
    Pipe("B", "b", "a");
    EXPECT_EQ(Run(FromAttribute(), All()).status, CUnevenWasteWater::kMsgClosedLoop);
}

TEST_F(UnevenTest, AnOutflowDurationOfZeroIsRefusedBeforeAnythingIsWritten) {
    Pipe("A", "n1", "n2");
    Set("A", "FLOW_WASTE_UNEVEN", 9.0);
    Set("A", "FLOW_SECTION_POPULATION", 3.0);
    UnevenWasteWaterInput in;
    in.t = 0.0;
    const auto begun = TAVGis::Label::CNetworkLabelUtility::Counts().started;
    const auto r = Run(in, All());
    EXPECT_EQ(r.status, CUnevenWasteWater::kMsgNoDuration);
    EXPECT_EQ(Get("A", "FLOW_WASTE_UNEVEN"), 9.0);
    EXPECT_EQ(Get("A", "FLOW_SECTION_POPULATION"), 3.0);
    ExpectMeanFlow("A", std::nullopt);
    EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().started, begun);
}

// Results that are not finite numbers are not stored: a negative mean flow has no Fedorov coefficient, a
// population beyond the range of a double no flow.
TEST_F(UnevenTest, ResultsThatAreNotFiniteAreNamedAndNotWritten) {
    Pipe("NEG", "n1", "n2", -100.0);
    Pipe("POS", "p1", "p2", 100.0);
    auto r = Run(FromAttribute(), All());
    EXPECT_EQ(r.status, 0);
    ExpectMeanFlow("NEG", -kQ1);  // the mean flow itself is a number
    EXPECT_FALSE(Get("NEG", "FLOW_FEDOROV"));
    EXPECT_FALSE(Get("NEG", "FLOW_WASTE_UNEVEN"));
    ASSERT_EQ(r.notFinite.Count(), 1u);
    EXPECT_EQ(r.notFinite.Values()[0].section, "NEG");
    EXPECT_TRUE(Get("POS", "FLOW_WASTE_UNEVEN"));
    EXPECT_EQ(r.unevenWrites, 1);

    UnevenWasteWaterInput huge;
    huge.n = 1e300;
    huge.p = 1000.0;
    huge.years = 1000.0;
    r = Run(huge, All());
    EXPECT_EQ(r.notFinite.Count(), 4u);  // two populations, two mean flows
    EXPECT_EQ(r.unevenWrites, 0);
    EXPECT_EQ(Get("POS", "FLOW_SECTION_POPULATION"), 100.0);
    EXPECT_EQ(TAVGis::Workspace::CWsManager::Messages().size(), 1u);  // only the first run wrote
}

}  // namespace
