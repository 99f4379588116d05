// CCatchmentAreaManager over the catchment areas a drawing's topology links to its sections.
#include "platform/sewage/CatchmentAreaManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/store/GeoJsonReader.h"
#include "platform/store/NetworkImporter.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Sewage::CCatchmentAreaManager;
using TAVGis::Topology::CCatchmentAreaPtr;
using TAVGis::Topology::CSectionPtr;

constexpr double kSentinel = -1000000.0;

class CatchmentAreaManagerTest : public testsupport::DrawingTest {
protected:
    CCatchmentAreaPtr Area(const std::string& name, const CSectionPtr& section, int kind, double area,
                           double density = 0.0, double runoff = 1.0) {
        auto a = Topo().AddCatchmentArea(name, system);
        a->kind = kind;
        a->areaHa = area;
        a->densityInhabPerHa = density;
        a->runoffCoefficient = runoff;
        if (section) Topo().LinkCatchment(a, section->GetGuid());
        return a;
    }

    static std::vector<std::string> Names(const std::vector<CCatchmentAreaPtr>& list) {
        std::vector<std::string> out;
        for (const auto& a : list) out.push_back(a->GetName());
        return out;
    }

    CCatchmentAreaManager* ca = CCatchmentAreaManager::GetInstance();
};

TEST_F(CatchmentAreaManagerTest, SumsByKindCorrectedAreaAndDensity) {
    auto s1 = Section("S1", "A", "B");
    auto s2 = Section("S2", "B", "C");
    Area("R1", s1, 1, 2.5, 0.0, 0.9);
    Area("H1", s1, 2, 1.2, 150.0, 0.4);
    Area("H2", s1, 2, 0.8, 50.0, 0.5);
    Area("I1", s1, 4, 0.5, 0.0, 0.8);
    Area("Other", s2, 2, 7.0, 300.0, 1.0);  // another section's area counts nowhere here
    Area("Loose", nullptr, 2, 9.0, 300.0, 1.0);

    struct SKind {
        int kind;
        double dExpected;
    };
    for (const SKind& k : {SKind{1, 2.5}, SKind{2, 2.0}, SKind{4, 0.5}, SKind{3, 0.0}}) {
        double area = -1.0;
        EXPECT_EQ(ca->GetCATotalArea(s1, area, k.kind), 1) << "kind " << k.kind;
        EXPECT_NEAR(area, k.dExpected, 1e-12) << "kind " << k.kind;
    }
    double corrected = 0.0;
    EXPECT_EQ(ca->GetCATotalCorectedArea(s1, corrected), 1);
    EXPECT_NEAR(corrected, 2.5 * 0.9 + 1.2 * 0.4 + 0.8 * 0.5 + 0.5 * 0.8, 1e-12);
    // Weighted by area over the household areas: (1.2 x 150 + 0.8 x 50) / (1.2 + 0.8) = 110 inhabitants/ha,
    // so density x household area gives back the 220 inhabitants of H1 and H2.
    double density = 0.0;
    EXPECT_EQ(ca->GetCAAverageDensityInhab(s1, density), 1);
    EXPECT_NEAR(density, 110.0, 1e-12);

    std::vector<CCatchmentAreaPtr> list;
    EXPECT_EQ(ca->GetCABySection(s1, list, 2), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"H1", "H2"}));
    EXPECT_EQ(ca->GetCABySection(s1, list, 4), 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"I1"}));  // replaced, not appended
}

TEST_F(CatchmentAreaManagerTest, DensityOfRainAndIndustrialAreasDoesNotCount) {
    auto s = Section("S", "A", "B");
    Area("R", s, 1, 10.0, 40.0);
    Area("I", s, 4, 5.0, 900.0);
    double density = kSentinel;
    EXPECT_EQ(ca->GetCAAverageDensityInhab(s, density), 0);  // no household area: no density
    EXPECT_EQ(density, kSentinel);
    Area("H", s, 2, 2.0, 120.0);
    EXPECT_EQ(ca->GetCAAverageDensityInhab(s, density), 1);
    EXPECT_NEAR(density, 120.0, 1e-12);
}

// The same catchment area drawn as an outline only (no area stated), stated in hectares, or read from a
// GeoJSON file, answers the same for its section: 120 m x 50 m = 0.6 ha.
TEST_F(CatchmentAreaManagerTest, DrawnAndImportedAreasAnswerAlike) {
    const std::vector<TAVHost::Point2d> outline = {{0, 0}, {120, 0}, {120, 50}, {0, 50}};
    auto drawn = Section("DRAWN", "A", "B");
    auto stated = Section("STATED", "B", "C");
    auto d = Topo().AddCatchmentArea("D", system, outline);
    d->kind = 2;
    d->densityInhabPerHa = 80.0;
    d->runoffCoefficient = 0.5;
    Topo().LinkCatchment(d, drawn->GetGuid());
    Area("S", stated, 2, 0.6, 80.0, 0.5);

    TAVGis::Store::SImportNetwork net;
    const auto status = TAVGis::Store::CGeoJsonReader().ReadText(
        R"({"type": "FeatureCollection", "features": [
        {"type": "Feature", "properties": {"name": "N1"}, "geometry": {"type": "Point", "coordinates": [500, 0]}},
        {"type": "Feature", "properties": {"name": "N2"}, "geometry": {"type": "Point", "coordinates": [540, 0]}},
        {"type": "Feature", "properties": {"name": "IMPORTED", "from_node": "N1", "to_node": "N2"},
         "geometry": {"type": "LineString", "coordinates": [[500, 0], [540, 0]]}},
        {"type": "Feature", "properties": {"name": "CA-IMP", "kind": 2, "inhabitant_density": 80,
         "runoff_coefficient": 0.5, "section": "IMPORTED"},
         "geometry": {"type": "Polygon", "coordinates": [[[500, 0], [620, 0], [620, 50], [500, 50], [500, 0]]]}}
        ]})",
        net);
    ASSERT_TRUE(status.Ok()) << status.message;
    TAVGis::Store::CNetworkImporter(*doc, system).Import(net);
    auto imported = Topo().FindSectionByName("IMPORTED");
    ASSERT_TRUE(imported);

    for (const auto& s : {drawn, stated, imported}) {
        SCOPED_TRACE(s->GetName());
        double area = 0.0, corrected = 0.0, density = 0.0;
        ca->GetCATotalArea(s, area, 2);
        ca->GetCATotalCorectedArea(s, corrected);
        ca->GetCAAverageDensityInhab(s, density);
        EXPECT_NEAR(area, 0.6, 1e-9);
        EXPECT_NEAR(corrected, 0.3, 1e-9);
        EXPECT_NEAR(density, 80.0, 1e-9);
    }
}

TEST_F(CatchmentAreaManagerTest, ListsAreInCreationOrderAfterRelinking) {
    auto s1 = Section("S1", "A", "B");
    auto s2 = Section("S2", "B", "C");
    auto first = Area("First", s2, 1, 1.0);
    Area("Second", s1, 1, 1.0);
    Topo().LinkCatchment(first, s1->GetGuid());  // moved over after "Second" was linked
    std::vector<CCatchmentAreaPtr> list;
    ca->GetCABySection(s1, list, 1);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"First", "Second"}));
    ca->GetCABySection(s2, list, 1);
    EXPECT_TRUE(list.empty());
    double area = 0.0;
    ca->GetCATotalArea(s2, area, 1);
    EXPECT_EQ(area, 0.0);
}

TEST_F(CatchmentAreaManagerTest, SectionWithoutAreasAndNullSection) {
    auto empty = Section("Empty", "A", "B");
    double area = 7.0;
    EXPECT_EQ(ca->GetCATotalArea(empty, area, 1), 1);
    EXPECT_EQ(area, 0.0);
    area = 7.0;
    EXPECT_EQ(ca->GetCATotalCorectedArea(empty, area), 1);
    EXPECT_EQ(area, 0.0);
    // No area, no average: the caller's preset stays, whichever it is.
    for (double preset : {0.0, kSentinel}) {
        double density = preset;
        EXPECT_EQ(ca->GetCAAverageDensityInhab(empty, density), 0);
        EXPECT_EQ(density, preset);
    }
    std::vector<CCatchmentAreaPtr> list;
    EXPECT_EQ(ca->GetCABySection(empty, list, 2), 1);
    EXPECT_TRUE(list.empty());

    area = 7.0;
    double density = 7.0;
    EXPECT_EQ(ca->GetCATotalArea(CSectionPtr(), area, 1), 0);
    EXPECT_EQ(ca->GetCATotalCorectedArea(CSectionPtr(), area), 0);
    EXPECT_EQ(ca->GetCAAverageDensityInhab(CSectionPtr(), density), 0);
    EXPECT_EQ(ca->GetCABySection(CSectionPtr(), list, 1), 0);
    EXPECT_EQ(area, 7.0);
    EXPECT_EQ(density, 7.0);
}

TEST_F(CatchmentAreaManagerTest, BrokenValuesDoNotPoisonTheResults) {
    constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
    auto s = Section("S", "A", "B");
    Area("Good", s, 2, 2.0, 100.0, 0.5);
    Area("NaN area", s, 2, kNan, 100.0, 0.5);
    Area("NaN density", s, 2, 1.0, kNan, 0.5);
    Area("NaN runoff", s, 2, 1.0, 100.0, kNan);
    Area("Zero area", s, 2, 0.0, 900.0, 0.5);
    double area = 0.0, corrected = 0.0, density = 0.0;
    ca->GetCATotalArea(s, area, 2);
    ca->GetCATotalCorectedArea(s, corrected);
    ASSERT_EQ(ca->GetCAAverageDensityInhab(s, density), 1);
    EXPECT_NEAR(area, 4.0, 1e-12);
    EXPECT_NEAR(corrected, 1.0 + 0.5, 1e-12);
    EXPECT_NEAR(density, 100.0, 1e-12);  // "Good" and "NaN runoff" carry weight, both at 100
    // Only areas of 0 ha: no average.
    auto bare = Section("Bare", "B", "C");
    Area("Nothing", bare, 2, 0.0, 500.0);
    density = kSentinel;
    EXPECT_EQ(ca->GetCAAverageDensityInhab(bare, density), 0);
    EXPECT_EQ(density, kSentinel);
}

}  // namespace
