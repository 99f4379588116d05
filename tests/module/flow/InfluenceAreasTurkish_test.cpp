// The Turkish influence areas without their dialog: the hourly peak table, whole inhabitants, Set
// parameters, a small network against a hand calculation (a chain, an interpolated hourly peak, a winter
// flow above the summer flow, point flows on and off, a relief pipe that rejoins, a section of another
// system), a missing parameter, the units the transit and total flows read, and the one-pass sums against
// a literal walk upstream from every section on generated networks.
#include "module/flow/calc/InfluenceAreasTurkish.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "module/flow/calc/TotalFlow.h"
#include "module/flow/calc/TransitAccumulation.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/sessions/WsManager.h"
#include "support/TestSupport.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

using TAVGis::Topology::CSectionPtr;

const char* const kResults[] = {
    "TUR_INF_FLOW_PER_SECT",    "AREA_CUMULATIVE_INF",      "POP_PER_SECTION_C", "FLOW_TUR_WASTE_HOME",
    "FLOW_TUR_WASTE_INF",       "TUR_INF_FLOW_ADDITIONAL",  "TUR_KMIN_H",        "TUR_KMAX_H",
    "TUR_INF_FLOW_SECT_SUMMER", "TUR_INF_FLOW_SECT_WINTER", "FLOW_TOTAL"};

// The table's points, between them and beyond both ends. Between 5 and 10: 7.5 is half way, so
// 2.5 + (2.1 - 2.5) / 2 = 2.3 and 0.38 + (0.45 - 0.38) / 2 = 0.415; between 20 and 50, 35 is half way:
// 1.8 and 0.525; between 1000 and 5000, 2000 is a quarter: 1.47 - 0.03 / 4 = 1.4625, 0.69 + 0.02 / 4 = 0.695.
TEST(InfluenceAreasTurkishTable, HourlyPeaksInterpolateAndHoldBeyondTheEnds) {
    struct Case {
        double qh, kmax, kmin;
    } cases[] = {
        {-3.0, 2.5, 0.38},    {0.0, 2.5, 0.38},     {5.0, 2.5, 0.38},    {7.5, 2.3, 0.415},
        {10.0, 2.1, 0.45},    {35.0, 1.8, 0.525},   {300.0, 1.55, 0.62}, {2000.0, 1.4625, 0.695},
        {5000.0, 1.44, 0.71}, {6000.0, 1.44, 0.71}, {1e12, 1.44, 0.71},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qh);
        const auto k = CInfluenceAreasTurkish::HourlyPeak(c.qh);
        EXPECT_NEAR(k.kmax, c.kmax, 1e-12);
        EXPECT_NEAR(k.kmin, c.kmin, 1e-12);
    }
}

TEST(InfluenceAreasTurkishTable, PopulationIsRoundedHalfAwayFromZero) {
    struct Case {
        double density, area;
        int population;
    } cases[] = {
        {12.4, 1.0, 12}, {12.6, 1.0, 13}, {2.5, 1.0, 3},       {0.5, 5.0, 3},
        {100.0, 0.0, 0}, {-2.5, 1.0, -3}, {1e6, 1e6, INT_MAX}, {-1e6, 1e6, INT_MIN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.density) + " x " + std::to_string(c.area));
        EXPECT_EQ(CInfluenceAreasTurkish::Population(c.density, c.area), c.population);
    }
}

class InfluenceAreasTurkishTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        TAVGis::Workspace::CWsManager::ClearMessages();
    }
    // A section with its household area and density (nothing stored where negative) and the parameters.
    CSectionPtr Pipe(const std::string& name, const std::string& from, const std::string& to, double area,
                     double density, const InfluenceParameters& p = {}) {
        auto s = Section(name, from, to);
        if (area >= 0.0) Set(name, "HOUSE_WASTE", area);
        if (density >= 0.0) Set(name, "POP_DENSITY_AREA", density);
        Set(name, "TUR_INF_FLOW_PER_POP", p.consumption);
        Set(name, "TUR_COEFF_INF", p.infiltration);
        Set(name, "TUR_COEFF_ADD", p.additional);
        Set(name, "TUR_KMIN_D", p.kminDaily);
        Set(name, "TUR_KMAX_D", p.kmaxDaily);
        return s;
    }
    std::vector<CSectionPtr> Ours() {
        std::vector<CSectionPtr> list;
        for (const auto& s : Topo().Sections())
            if (s->GetSystem() == system) list.push_back(s);
        return list;
    }
    double Value(const std::string& section, const std::string& attribute) {
        const auto v = Get(section, attribute);
        EXPECT_TRUE(v) << section << " " << attribute;
        return v.value_or(NAN);
    }
    std::vector<std::string> Log() { return TAVGis::Workspace::CWsManager::Messages(); }
};

TEST_F(InfluenceAreasTurkishTest, SetParametersWritesTheFiveValuesOnTheSelectionOnly) {
    auto a = Section("A", "a", "b");
    auto b = Section("B", "b", "c");
    InfluenceParameters p{150.0, 0.2, 0.3, 0.6, 1.4};
    const auto none = CInfluenceAreasTurkish::SetParameters(p, nullptr);
    EXPECT_FALSE(none.selection);
    EXPECT_FALSE(Get("A", "TUR_INF_FLOW_PER_POP"));
    EXPECT_TRUE(Log().empty());

    const std::vector<CSectionPtr> picked{b};
    const auto r = CInfluenceAreasTurkish::SetParameters(p, &picked);
    EXPECT_EQ(r.sectionsWritten, 1);
    EXPECT_TRUE(r.logged);
    struct Expect {
        const char* name;
        double value;
    } expected[] = {{"TUR_INF_FLOW_PER_POP", 150.0},
                    {"TUR_COEFF_INF", 0.2},
                    {"TUR_COEFF_ADD", 0.3},
                    {"TUR_KMIN_D", 0.6},
                    {"TUR_KMAX_D", 1.4}};
    for (const auto& e : expected) {
        EXPECT_EQ(Get("B", e.name), e.value) << e.name;
        EXPECT_FALSE(Get("A", e.name)) << e.name;
    }
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0], TAVGis::CModuleConfiguration::GetMsg(2050));

    // A selection without sections writes nothing and reports nothing.
    const std::vector<CSectionPtr> empty;
    EXPECT_FALSE(CInfluenceAreasTurkish::SetParameters(p, &empty).logged);
    EXPECT_EQ(Log().size(), 1u);
}

// The network (q = 144, ci = 0.1, ca = 0.25, Kmin,d = 0.7, Kmax,d = 1.3 unless said otherwise):
//   S1 -> S2 -> X (another system) -> S3        a chain through a section the calculation leaves out
//   T -> {R1, R2} -> OUT                        a relief pipe: T divides and rejoins above OUT
//   M                                            alone, Qh = 7.5 l/s (interpolated hourly peaks)
//   W                                            alone, ca = 5: the winter flow is the larger
// Hand values (l/s unless said otherwise):
//   S1: A 10, D 100: P 1000, Qo = Qh = 144 x 1000 / 86400 = 1.666667, Qinf = 1, Qadd = 0.416667;
//       Qh < 5: Kmax,h 2.5, Kmin,h 0.38; summer = 1.666667 x 1.3 x 2.5 + 1 = 6.416667,
//       winter = 1.666667 x 0.7 x 0.38 + 1 + 0.416667 = 1.86; FLOW_TOTAL = 0.006416667 m3/s.
//   S2: A 5, D 60: P 300, Qo 0.5; SA 15, SP 1300, Qh = 2.166667, Qinf = 1.5, Qadd = 0.541667;
//       summer = 2.166667 x 3.25 + 1.5 = 8.541667, winter = 2.166667 x 0.266 + 1.5 + 0.541667 = 2.618.
//   S3: no area or density stored: P 0, Qo 0; the sums of S1 and S2 (X counts nothing).
//   OUT: T's 1000 inhabitants on 10 ha once, not twice: the values of S1.
//   M: A 45, D 100: P 4500, Qh 7.5, Kmax,h 2.3, Kmin,h 0.415; Qinf 4.5, Qadd 1.875;
//      summer = 7.5 x 1.3 x 2.3 + 4.5 = 26.925, winter = 7.5 x 0.7 x 0.415 + 4.5 + 1.875 = 8.55375.
//   W: A 2, D 43.2 (P 86.4 -> 86): Qo = Qh = 0.143333, Qinf 0.2, Qadd = 5 x 0.143333 = 0.716667;
//      summer = 0.143333 x 3.25 + 0.2 = 0.665833, winter = 0.143333 x 0.266 + 0.2 + 0.716667 = 0.954793.
TEST_F(InfluenceAreasTurkishTest, SmallNetworkAgainstAHandCalculation) {
    Pipe("S1", "n1", "n2", 10.0, 100.0);
    Pipe("S2", "n2", "n3", 5.0, 60.0);
    auto other = TAVGis::System::CSystemManager::AddSystem("rain", 0);
    Topo().AddSection("X", Topo().FindNodeByName("n3"), Node("n4", 40, 0), other);
    Pipe("S3", "n4", "n5", -1.0, -1.0);
    Pipe("T", "t1", "t2", 10.0, 100.0);
    Pipe("R1", "t2", "t3", 0.0, 0.0);
    Pipe("R2", "t2", "t4", 0.0, 0.0);
    Pipe("J1", "t3", "t5", 0.0, 0.0);
    Pipe("J2", "t4", "t5", 0.0, 0.0);
    Pipe("OUT", "t5", "t6", 0.0, 0.0);
    Pipe("M", "m1", "m2", 45.0, 100.0);
    InfluenceParameters wet;
    wet.additional = 5.0;
    Pipe("W", "w1", "w2", 2.0, 43.2, wet);
    Set("S1", "FLOW_POINT", 0.002);
    Set("S3", "FLOW_TOTAL", 9.0);  // the total of another method: replaced

    struct Expect {
        const char* name;
        double ownFlow, area, population, qh, qinf, qadd, kmaxH, kminH, summer, winter;
    } expected[] = {
        {"S1", 1.666667, 10, 1000, 1.666667, 1.0, 0.416667, 2.5, 0.38, 6.416667, 1.86},
        {"S2", 0.5, 15, 1300, 2.166667, 1.5, 0.541667, 2.5, 0.38, 8.541667, 2.618},
        {"S3", 0.0, 15, 1300, 2.166667, 1.5, 0.541667, 2.5, 0.38, 8.541667, 2.618},
        {"OUT", 0.0, 10, 1000, 1.666667, 1.0, 0.416667, 2.5, 0.38, 6.416667, 1.86},
        {"M", 7.5, 45, 4500, 7.5, 4.5, 1.875, 2.3, 0.415, 26.925, 8.55375},
        {"W", 0.143333, 2, 86, 0.143333, 0.2, 0.716667, 2.5, 0.38, 0.665833, 0.954793},
    };
    for (bool pointFlow : {false, true}) {
        SCOPED_TRACE(pointFlow ? "point flow on" : "point flow off");
        const auto r = CInfluenceAreasTurkish::Calculate(Ours(), pointFlow);
        ASSERT_FALSE(r.MissingParameters());
        EXPECT_EQ(r.sectionsWritten, static_cast<int>(Ours().size()));
        EXPECT_TRUE(r.logged);
        for (const auto& e : expected) {
            SCOPED_TRACE(e.name);
            const double tol = 1e-6;
            EXPECT_NEAR(Value(e.name, "TUR_INF_FLOW_PER_SECT"), e.ownFlow, tol);
            EXPECT_NEAR(Value(e.name, "AREA_CUMULATIVE_INF"), e.area, tol);
            EXPECT_EQ(Value(e.name, "POP_PER_SECTION_C"), e.population);
            EXPECT_NEAR(Value(e.name, "FLOW_TUR_WASTE_HOME"), e.qh / 1000.0, tol / 1000.0);   // m3/s
            EXPECT_NEAR(Value(e.name, "FLOW_TUR_WASTE_INF"), e.qinf / 1000.0, tol / 1000.0);  // m3/s
            EXPECT_NEAR(Value(e.name, "TUR_INF_FLOW_ADDITIONAL"), e.qadd, tol);
            EXPECT_NEAR(Value(e.name, "TUR_KMAX_H"), e.kmaxH, 1e-12);
            EXPECT_NEAR(Value(e.name, "TUR_KMIN_H"), e.kminH, 1e-12);
            EXPECT_NEAR(Value(e.name, "TUR_INF_FLOW_SECT_SUMMER"), e.summer, tol);
            EXPECT_NEAR(Value(e.name, "TUR_INF_FLOW_SECT_WINTER"), e.winter, tol);
            // S1's point flow of 0.002 m3/s reaches S1, S2 and S3 when asked for.
            const bool reached = pointFlow && e.name[0] == 'S';
            EXPECT_NEAR(Value(e.name, "FLOW_TOTAL"),
                        std::max(e.summer, e.winter) / 1000.0 + (reached ? 0.002 : 0.0), 1e-9);
        }
        EXPECT_FALSE(Get("X", "FLOW_TOTAL"));  // another system: not calculated
    }
}

// One section without a parameter: alert data for the first one, and nothing changed anywhere: the
// results of an earlier calculation and another method's FLOW_TOTAL stay.
TEST_F(InfluenceAreasTurkishTest, AMissingParameterChangesNothing) {
    Pipe("A", "a", "b", 10.0, 100.0);
    Pipe("B", "b", "c", 5.0, 60.0);
    Pipe("C", "c", "d", 1.0, 1.0);
    ASSERT_EQ(CInfluenceAreasTurkish::Calculate(Ours(), false).sectionsWritten, 3);
    const double before = Value("A", "FLOW_TOTAL");
    TAVGis::Workspace::CWsManager::ClearMessages();
    Set("A", "HOUSE_WASTE", 20.0);
    for (const char* name : {"TUR_KMIN_D", "TUR_COEFF_INF"}) {
        SCOPED_TRACE(name);
        TAVGis::Data::CDataRW::Delete(name, Topo().FindSectionByName("B"));
        TAVGis::Data::CDataRW::Delete(name, Topo().FindSectionByName("C"));
        const auto r = CInfluenceAreasTurkish::Calculate(Ours(), false);
        EXPECT_EQ(r.sectionsMissingParameters, 2);
        EXPECT_EQ(r.firstMissingSection, "B");
        EXPECT_EQ(r.sectionsWritten, 0);
        EXPECT_FALSE(r.logged);
        EXPECT_TRUE(r.results.empty());
        EXPECT_EQ(Value("A", "FLOW_TOTAL"), before);  // not recalculated with the new area, not deleted
        for (const char* result : kResults) EXPECT_TRUE(Get("C", result)) << result;
        EXPECT_TRUE(Log().empty());
    }
}

// The transit and total flows read FLOW_TUR_WASTE_INF and FLOW_TUR_WASTE_HOME in m3/s, as the Turkish
// waste-water method writes them: after this calculation they read S1's 1 l/s of infiltration as 0.001 and
// its 1.666667 l/s of household water as 0.001666667, beside FLOW_TOTAL (0.006416667).
TEST_F(InfluenceAreasTurkishTest, TransitAndTotalReadTheSharedFlowsInCubicMetres) {
    auto s1 = Pipe("S1", "n1", "n2", 10.0, 100.0);
    CInfluenceAreasTurkish::Calculate(Ours(), false);
    CTransitAccumulation::Flags transit{};
    transit[9] = 1;  // FLOW_TUR_WASTE_INF
    ASSERT_STREQ(CTransitAccumulation::kComponents[9].attribute, "FLOW_TUR_WASTE_INF");
    EXPECT_NEAR(CTransitAccumulation::OwnFlow(s1, transit), 0.001, 1e-12);
    CTotalFlow::Flags total{};
    total[5] = 1;  // FLOW_TUR_WASTE_HOME
    ASSERT_STREQ(CTotalFlow::kComponents[5].attribute, "FLOW_TUR_WASTE_HOME");
    EXPECT_NEAR(CTotalFlow::Of(s1, total), 0.001666667, 1e-9);
    EXPECT_NEAR(Value("S1", "FLOW_TOTAL"), 0.006416667, 1e-9);
}

// The literal method: for each section, its own record plus the record of every section
// GetPreviousSections returns that is in the list, then the formulas as written.
struct LiteralResult {
    double area, population, qh, qinf, qadd, fp, summer, winter, total;
};

std::vector<LiteralResult> Literal(const std::vector<CSectionPtr>& list, bool pointFlow) {
    struct Rec {
        double a, p, q, ci, ca, kmin, kmax, qo, fp;
    };
    auto read = [](const CSectionPtr& s, const char* name) {
        TAVGis::Data::CDataBox box;
        TAVGis::Data::CDataRW::Read(name, s, box);
        return box.IsNull() ? 0.0 : box.ToDouble();
    };
    std::map<const TAVGis::Topology::CSection*, Rec> table;
    for (const auto& s : list) {
        Rec r;
        r.a = read(s, "HOUSE_WASTE");
        r.p = static_cast<int>(std::round(read(s, "POP_DENSITY_AREA") * r.a));
        r.q = read(s, "TUR_INF_FLOW_PER_POP");
        r.ci = read(s, "TUR_COEFF_INF");
        r.ca = read(s, "TUR_COEFF_ADD");
        r.kmin = read(s, "TUR_KMIN_D");
        r.kmax = read(s, "TUR_KMAX_D");
        r.qo = r.q * r.p / 86400.0;
        r.fp = pointFlow ? read(s, "FLOW_POINT") : 0.0;
        table[s.get()] = r;
    }
    const double table_q[] = {5, 10, 20, 50, 100, 300, 500, 1000, 5000};
    const double table_max[] = {2.5, 2.1, 1.9, 1.7, 1.6, 1.55, 1.5, 1.47, 1.44};
    const double table_min[] = {0.38, 0.45, 0.5, 0.55, 0.59, 0.62, 0.66, 0.69, 0.71};
    std::vector<LiteralResult> out;
    for (const auto& s : list) {
        const Rec& own = table[s.get()];
        double a = own.a, p = own.p, qinf = own.a * own.ci, qadd = own.ca * own.qo, fp = own.fp;
        for (const auto& u : s->GetPreviousSections()) {
            auto it = table.find(u.get());
            if (it == table.end()) continue;
            a += it->second.a;
            p += it->second.p;
            qinf += it->second.a * it->second.ci;
            qadd += it->second.ca * it->second.qo;
            fp += it->second.fp;
        }
        const double qh = p * own.q / 86400.0;
        double kmax = table_max[0], kmin = table_min[0];
        if (qh >= table_q[8]) {
            kmax = table_max[8];
            kmin = table_min[8];
        } else {
            for (int i = 0; i < 8; ++i)
                if (qh > table_q[i] && qh <= table_q[i + 1]) {
                    const double t = (qh - table_q[i]) / (table_q[i + 1] - table_q[i]);
                    kmax = table_max[i] + t * (table_max[i + 1] - table_max[i]);
                    kmin = table_min[i] + t * (table_min[i + 1] - table_min[i]);
                }
        }
        const double summer = qh * own.kmax * kmax + qinf;
        const double winter = qh * own.kmin * kmin + qinf + qadd;
        out.push_back({a, p, qh, qinf, qadd, fp, summer, winter, std::max(summer, winter) / 1000.0 + fp});
    }
    return out;
}

TEST_F(InfluenceAreasTurkishTest, GeneratedNetworksAgreeWithTheLiteralUpstreamWalk) {
    const TAVGis::Bench::SeededCase cases[] = {{300, 0.2, 0, 21}, {400, 0.4, 0, 22}, {300, 0.3, 3, 23}};
    for (const auto& c : cases) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        const auto o = c.Options();
        const auto summary = TAVGis::Bench::GenerateTransitNetwork(Topo(), system, o);
        EXPECT_GT(summary.divisions, 0);
        std::mt19937 rng(c.seed);
        std::uniform_real_distribution<double> ha(0.0, 20.0), density(0.0, 3000.0), q(100.0, 1000.0),
            coefficient(0.0, 1.0), pick(0.0, 1.0);
        std::vector<CSectionPtr> list;
        for (const auto& s : Topo().Sections()) {
            if (s->GetName().rfind(o.prefix, 0) != 0) continue;
            list.push_back(s);
            if (pick(rng) < 0.8) TAVGis::Data::CDataRW::Write("HOUSE_WASTE", s, ha(rng));
            if (pick(rng) < 0.8) TAVGis::Data::CDataRW::Write("POP_DENSITY_AREA", s, density(rng));
            if (pick(rng) < 0.1) TAVGis::Data::CDataRW::Write("FLOW_POINT", s, coefficient(rng) / 100.0);
            TAVGis::Data::CDataRW::Write("TUR_INF_FLOW_PER_POP", s, q(rng));
            TAVGis::Data::CDataRW::Write("TUR_COEFF_INF", s, coefficient(rng));
            TAVGis::Data::CDataRW::Write("TUR_COEFF_ADD", s, coefficient(rng));
            TAVGis::Data::CDataRW::Write("TUR_KMIN_D", s, 0.5 + coefficient(rng) / 2.0);
            TAVGis::Data::CDataRW::Write("TUR_KMAX_D", s, 1.0 + coefficient(rng));
        }
        const auto fast = CInfluenceAreasTurkish::Calculate(list, true);
        const auto literal = Literal(list, true);
        ASSERT_EQ(fast.results.size(), literal.size());
        int wrong = 0, interpolated = 0, beyond = 0;
        auto close = [](double x, double y) { return std::fabs(x - y) <= 1e-9 * (1.0 + std::fabs(y)); };
        for (std::size_t i = 0; i < literal.size(); ++i) {
            const auto& f = fast.results[i];
            const auto& l = literal[i];
            interpolated += l.qh > 5.0 && l.qh < 5000.0;
            beyond += l.qh >= 5000.0;
            const bool same =
                close(f.area, l.area) && f.population == l.population && close(f.household, l.qh) &&
                close(f.infiltration, l.qinf) && close(f.additional, l.qadd) && close(f.pointFlow, l.fp) &&
                close(f.summer, l.summer) && close(f.winter, l.winter) && close(f.total, l.total);
            if (!same && ++wrong <= 5)
                ADD_FAILURE() << list[i]->GetName() << ": P " << f.population << " vs " << l.population
                              << ", Qh " << f.household << " vs " << l.qh << ", total " << f.total << " vs "
                              << l.total;
            EXPECT_NEAR(*Get(list[i]->GetName(), "FLOW_TOTAL"), l.total, 1e-9 * (1.0 + l.total));
        }
        // The comparison reached the interpolated part of the table and sections beyond its end.
        EXPECT_GT(interpolated, 0);
        EXPECT_GT(beyond, 0);
    }
}

}  // namespace
