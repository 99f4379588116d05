// A run of the automatic dimensioning without any dialog: the order of the results, their statuses, what is
// written, how a run stops, and one row per section on networks that divide.
#include "module/hydraulics/calc/AutomaticDimensioning.h"

#include <functional>
#include <map>
#include <set>

#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/sessions/UpdateSessions.h"
#include "testing/TestPipeCatalogue.h"
#include "tests/support/TestSupport.h"

namespace {

// Rows of the published full-bore table for drain pipes (Colebrook-White, ks 0.6 mm; see
// tests/platform/SewageHydraulics_test.cpp for the source), reproduced with a viscosity of 1.01e-6 m2/s.
// Tolerances as there: Q 0.15 %, v 0.007 m/s.
struct TableRow {
    double diameterMm;
    double gradientOneIn;
    double velocity;  // m/s, full bore
    double flowLps;   // l/s, full bore
};
constexpr TableRow kPipe600{600, 250, 1.54, 434.1};
constexpr TableRow kPipe900{900, 150, 2.56, 1625.9};
constexpr TableRow kPipe375{375, 60, 2.34, 258.7};
constexpr double kTableViscosity = 1.01e-6;  // m2/s
constexpr double kLoad = 0.99;               // share of the tabulated full-bore flow a section carries

// The pipes of the table as one group.
class TableGroupTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        std::vector<testpipes::SPipeRow> rows;
        for (double d : {300.0, 375.0, 450.0, 600.0, 750.0, 900.0})
            rows.push_back({"Table", "DN " + std::to_string(static_cast<int>(d)), d, d, 0.6, "TABLE"});
        auto catalog = testpipes::LoadPipeCatalogue(rows);
        group = catalog->GetRootItems().front();
        for (const auto& p : group->GetSubItems()) pipeOf[p->GetName()] = p->GetGUID();
    }

    // Each section so loaded carries 99 % of the full-bore flow of the row at the row's gradient, so the
    // row's pipe is the smallest pipe of the group that carries it.
    void Load(const std::string& s, const TableRow& row) {
        Set(s, "FLOW_TOTAL", kLoad * row.flowLps / 1000.0);
        Set(s, "SECTION_SLOPE", 1000.0 / row.gradientOneIn);
    }

    AutomaticDimensioningInputs Inputs() {
        AutomaticDimensioningInputs in;
        in.sections = Topo().Sections();
        in.group = group;
        in.viscosity = kTableViscosity;
        return in;
    }

    static std::vector<std::string> Names(const AutomaticDimensioningResult& r) {
        std::vector<std::string> names;
        for (const auto& row : r.rows) names.push_back(row.name);
        return names;
    }

    TAVGis::Data::CCatalogItemPtr group;
    std::map<std::string, std::string> pipeOf;
};

// A division at N3: S1 and S2 join there and the flow leaves by S3 and by S4, two roots. S1, S3 and S4 are
// loaded by one table row each; S2 has a flow of 0.
class AutomaticDimensioningTest : public TableGroupTest {
protected:
    void SetUp() override {
        TableGroupTest::SetUp();
        Section("S1", "N1", "N3");
        Section("S2", "N2", "N3");
        Section("S3", "N3", "N4");
        Section("S4", "N3", "N5");
        Load("S1", kPipe600);
        Load("S3", kPipe900);
        Load("S4", kPipe375);
        Set("S2", "FLOW_TOTAL", 0.0);
        Set("S2", "SECTION_SLOPE", 5.0);
    }
};

TEST_F(AutomaticDimensioningTest, UpstreamFirstOnceEachWithTheTabulatedPipes) {
    std::vector<std::string> reported;
    int startedBeforeRows = -1;
    CAutomaticDimensioning::Callbacks callbacks;
    callbacks.onStarted = [&] { startedBeforeRows = static_cast<int>(reported.size()); };
    callbacks.onRow = [&](const DimensioningRow& row) { reported.push_back(row.name); };
    const auto result = CAutomaticDimensioning::Run(Inputs(), callbacks);

    ASSERT_EQ(result.status, AutomaticDimensioningStatus::Done);
    EXPECT_EQ(startedBeforeRows, 0);
    // S1 and S2 lie upstream of both roots; the visit from S4 does not dimension them again.
    const std::vector<std::string> order = {"S1", "S2", "S3", "S4"};
    EXPECT_EQ(Names(result), order);
    EXPECT_EQ(reported, order);
    ASSERT_EQ(result.roots.size(), 2u);
    EXPECT_EQ(result.roots[0]->GetName(), "S3");

    const std::map<std::string, TableRow> expected = {{"S1", kPipe600}, {"S3", kPipe900}, {"S4", kPipe375}};
    for (const auto& row : result.rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.section->GetName(), row.name);
        if (row.name == "S2") {
            EXPECT_EQ(row.status, kStatusZeroFlow);
            EXPECT_TRUE(row.failed);
            EXPECT_FALSE(row.written);
            EXPECT_FALSE(row.diameter);
            continue;
        }
        const TableRow& t = expected.at(row.name);
        EXPECT_EQ(row.status, kStatusSuccess);
        EXPECT_FALSE(row.failed);
        EXPECT_TRUE(row.written);
        EXPECT_EQ(row.diameter, t.diameterMm);
        EXPECT_NEAR(row.slope.value_or(0.0), 1000.0 / t.gradientOneIn, 1e-12);
        // Near full bore: well above half filled, faster than full bore (the partial-fill maximum).
        EXPECT_GT(row.filling.value_or(0.0), 75.0);
        EXPECT_GT(row.velocity.value_or(0.0), t.velocity);
        EXPECT_EQ(GetText(row.name, "PIPE_REF"),
                  pipeOf.at("DN " + std::to_string(static_cast<int>(t.diameterMm))));
        EXPECT_NEAR(Get(row.name, "FLOW_FULLFILLED").value_or(0.0), t.flowLps / 1000.0,
                    0.0015 * t.flowLps / 1000.0);
        EXPECT_NEAR(Get(row.name, "VELOCITY_FULLFILLED").value_or(0.0), t.velocity, 0.007);
        EXPECT_NEAR(Get(row.name, "FLOW_PERCENT").value_or(0.0), 100.0 * kLoad, 0.15);
        EXPECT_EQ(Get(row.name, "SECTION_SLOPE"), 1000.0 / t.gradientOneIn);  // kept in this mode
        // The other results, each under its own attribute.
        const double v = row.velocity.value_or(0.0),
                     vFull = Get(row.name, "VELOCITY_FULLFILLED").value_or(1.0);
        EXPECT_EQ(Get(row.name, "FILLING_PERCENT"), row.filling);
        EXPECT_EQ(Get(row.name, "VELOCITY_PARTIALFILLED"), v);
        EXPECT_NEAR(Get(row.name, "VELOCITY_PERCENT").value_or(0.0), 100.0 * v / vFull, 1e-6);
        EXPECT_NEAR(Get(row.name, "FILLING_HEIGHT").value_or(0.0),
                    *row.filling / 100.0 * t.diameterMm / 1000.0, 1e-6);
        EXPECT_NEAR(Get(row.name, "FLOWTIME").value_or(0.0), row.section->GetLength2D() / v / 60.0, 1e-9);
    }
    EXPECT_FALSE(Get("S2", "FILLING_HEIGHT"));
    EXPECT_FALSE(GetText("S2", "PIPE_REF"));
}

TEST_F(AutomaticDimensioningTest, MissingOnlyLeavesOutSectionsWithAStoredResultButStillVisitsThem) {
    auto in = Inputs();
    in.missingOnly = true;
    // Minimum diameter: sections with a PIPE_REF are left out.
    Set("S1", "PIPE_REF", pipeOf.at("DN 900"));
    Set("S4", "PIPE_REF", pipeOf.at("DN 900"));
    auto result = CAutomaticDimensioning::Run(in);
    EXPECT_EQ(Names(result), (std::vector<std::string>{"S2", "S3"}));
    EXPECT_EQ(result.toCalculate.size(), 2u);
    EXPECT_EQ(GetText("S1", "PIPE_REF"), pipeOf.at("DN 900"));

    // Minimum slope: sections with a SECTION_SLOPE are left out.
    TAVGis::Data::CDataRW::Delete("SECTION_SLOPE", Topo().FindSectionByName("S1"));
    TAVGis::Data::CDataRW::Delete("SECTION_SLOPE", Topo().FindSectionByName("S2"));
    in.mode = kModeMinimumSlope;
    result = CAutomaticDimensioning::Run(in);
    EXPECT_EQ(Names(result), (std::vector<std::string>{"S1", "S2"}));
    EXPECT_EQ(result.rows.front().status, kStatusSuccess);
    EXPECT_TRUE(Get("S1", "SECTION_SLOPE"));
}

// The run's early stops: nothing is calculated; the update sessions are opened only once the roots are
// known (before the group and viscosity checks) and are closed again on every path.
TEST_F(AutomaticDimensioningTest, EarlyStopsReportTheirStatusAndLeaveNoSessionOpen) {
    auto& label = TAVGis::Label::CNetworkLabelUtility::Counts();
    auto& profile = TAVGis::Longitudinal::CLSEditor::Counts();
    auto emptyGroup = testpipes::NewItem("Empty");
    auto other = TAVGis::System::CSystemManager::AddSystem("empty", 0);
    struct Case {
        const char* what;
        std::function<void(AutomaticDimensioningInputs&)> change;
        AutomaticDimensioningStatus status;
        bool sessions;
    } cases[] = {
        {"nothing selected", [](auto& in) { in.sections.clear(); }, AutomaticDimensioningStatus::NoSections,
         false},
        {"an active system without sections",
         [&](auto&) { TAVGis::System::CSystemManager::SetActiveSystem(other); },
         AutomaticDimensioningStatus::NoRoots, false},
        {"no group", [](auto& in) { in.group = nullptr; }, AutomaticDimensioningStatus::NoGroup, true},
        {"a group without pipes", [&](auto& in) { in.group = emptyGroup; },
         AutomaticDimensioningStatus::NoPipes, true},
        {"no viscosity", [](auto& in) { in.viscosity.reset(); }, AutomaticDimensioningStatus::NoViscosity,
         true},
        {"viscosity 0", [](auto& in) { in.viscosity = 0.0; }, AutomaticDimensioningStatus::NoViscosity, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TAVGis::System::CSystemManager::SetActiveSystem(system);
        auto in = Inputs();
        c.change(in);
        const long labelStarted = label.started, profileStarted = profile.started;
        bool started = false;
        CAutomaticDimensioning::Callbacks callbacks;
        callbacks.onStarted = [&] {
            started = true;
            EXPECT_EQ(label.open, 1);
            EXPECT_EQ(profile.open, 1);
        };
        const auto result = CAutomaticDimensioning::Run(in, callbacks);
        EXPECT_EQ(result.status, c.status);
        EXPECT_TRUE(result.rows.empty());
        EXPECT_EQ(started, c.sessions);
        EXPECT_EQ(label.started - labelStarted, c.sessions ? 1 : 0);
        EXPECT_EQ(profile.started - profileStarted, c.sessions ? 1 : 0);
        EXPECT_EQ(label.open, 0);
        EXPECT_EQ(profile.open, 0);
    }
    EXPECT_FALSE(GetText("S1", "PIPE_REF"));
}

// A ladder of nested divisions: the inlet IN ends at L0; at every level i the flow divides at Li into the
// direct section Di and the relief Ri, which comes back by Bi to the next level's node; OUT leaves the last
// one. Visited once per downstream path, every level doubles the work of everything above it.
class LadderTest : public TableGroupTest {
protected:
    // The sections' names in creation order.
    std::vector<std::string> Ladder(int levels) {
        std::vector<std::string> names = {"IN"};
        Section("IN", "A", "L0");
        for (int i = 0; i < levels; ++i) {
            const std::string n = std::to_string(i), next = "L" + std::to_string(i + 1);
            Section("D" + n, "L" + n, next);
            Section("R" + n, "L" + n, "M" + n);
            Section("B" + n, "M" + n, next);
            names.insert(names.end(), {"D" + n, "R" + n, "B" + n});
        }
        Section("OUT", "L" + std::to_string(levels), "Z");
        names.push_back("OUT");
        return names;
    }
};

// Dimensioned once per downstream path, a section got its result again each time, its upstream sections
// dimensioned anew just before it; what stayed was the last pass. A section's result depends only on its
// own data and on the pipes above it, so the single pass gives every section that same result. Method 2
// with the upstream criterion makes each pipe depend on the pipes above it: a section dimensioned before
// its upstream sections would get a smaller pipe.
TEST_F(LadderTest, EachSectionGetsThePipeThatDimensioningOncePerPathLeft) {
    const auto names = Ladder(4);
    for (const auto& n : names) Load(n, kPipe375);
    Load("IN", kPipe600);
    Load("R2", kPipe900);
    auto in = Inputs();
    in.method = kMethodConditions;
    in.upstreamCriterion = true;

    DimensioningSettings settings;
    settings.system = system;
    settings.method = kMethodConditions;
    settings.upstreamCriterion = true;
    settings.group = CAutomaticDimensioning::DescribeGroup(group);
    settings.viscosity = kTableViscosity;
    const CSectionDimensioning rules(settings);
    std::map<std::string, DimensioningRow> last;
    std::function<void(const TAVGis::Topology::CSectionPtr&)> oncePerPath =
        [&](const TAVGis::Topology::CSectionPtr& s) {
            for (const auto& up : s->GetSectionsIn()) oncePerPath(up);
            last[s->GetName()] = rules.Dimension(s);
        };
    oncePerPath(Topo().FindSectionByName("OUT"));
    std::map<std::string, std::optional<std::string>> left;
    for (const auto& n : names) {
        left[n] = GetText(n, "PIPE_REF");
        TAVGis::Data::CDataRW::Delete("PIPE_REF", Topo().FindSectionByName(n));
    }

    const auto result = CAutomaticDimensioning::Run(in);
    EXPECT_EQ(Names(result), names);
    for (const auto& row : result.rows) {
        SCOPED_TRACE(row.name);
        const auto& before = last.at(row.name);
        EXPECT_EQ(row.status, kStatusSuccess);
        EXPECT_EQ(row.status, before.status);
        EXPECT_EQ(row.diameter, before.diameter);
        EXPECT_EQ(row.filling, before.filling);
        EXPECT_EQ(GetText(row.name, "PIPE_REF"), left.at(row.name));
    }
    // The relief's pipe was carried down: OUT's own flow needs only DN 375.
    EXPECT_EQ(GetText("OUT", "PIPE_REF"), pipeOf.at("DN 900"));
}

// Twenty nested divisions: 62 sections, which a visit per downstream path dimensioned 4,194,302 times.
TEST_F(LadderTest, TwentyNestedDivisionsGiveOneRowPerSection) {
    const auto names = Ladder(20);
    for (const auto& n : names) Load(n, kPipe375);
    long reported = 0;
    CAutomaticDimensioning::Callbacks callbacks;
    callbacks.onRow = [&](const DimensioningRow&) { ++reported; };
    const auto result = CAutomaticDimensioning::Run(Inputs(), callbacks);
    EXPECT_EQ(reported, 62);
    EXPECT_EQ(Names(result), names);
}

}  // namespace
