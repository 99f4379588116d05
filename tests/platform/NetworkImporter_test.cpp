// Importing networks into a drawing: SWMM input in US units (offsets, storage-unit manholes, quoted names,
// names "1" and "001", a mixed-case [Polygons] header) and GeoJSON with attribute properties; counts of
// everything that was not imported.
#include "platform/store/NetworkImporter.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/DrawingFile.h"
#include "platform/store/GeoJsonReader.h"
#include "platform/store/GeoJsonWriter.h"
#include "platform/store/SwmmReader.h"
#include "support/TestSupport.h"

namespace {

using namespace TAVGis::Store;

constexpr double kFoot = 0.3048;         // m
constexpr double kAcre = 0.40468564224;  // ha
constexpr double kTol = 1e-9;

// A sewage system for a drawing other than the fixture's, as a new drawing gets one on import.
TAVGis::System::CGisSystemPtr NewSewageSystem(TAVHost::Document& d) {
    auto& gis = TAVGis::GisData(d);
    gis.systems.push_back(TAVGis::System::CGisSystemPtr(
        new TAVGis::System::CGisSystem(1, "town", TAVGis::System::kSystemFunctionSewage)));
    gis.activeSystem = gis.systems.back();
    return gis.activeSystem;
}

class NetworkImporterTest : public testsupport::DrawingTest {
protected:
    SNetworkImportResult ImportInp(SImportNetwork& net) {
        auto status =
            CSwmmReader().ReadFile(std::string(SEWER_SOURCE_DIR) + "/tests/data/store/small_us.inp", net);
        EXPECT_TRUE(status.Ok()) << status.message;
        return CNetworkImporter(*doc, system).Import(net);
    }
};

TEST_F(NetworkImporterTest, SwmmNetworkInUsUnitsBecomesNodesSectionsAndAreas) {
    SImportNetwork net;
    const auto r = ImportInp(net);
    EXPECT_EQ(r.nodesAdded, 5u);
    EXPECT_EQ(r.sectionsAdded, 4u);
    EXPECT_EQ(r.catchmentsAdded, 2u);
    EXPECT_EQ(r.catchmentsLinked, 2u);
    EXPECT_EQ(r.roughnessNotKept, 4u);
    EXPECT_EQ(r.lengthsDiffering, 1u);  // P3: 150 ft given, 100 ft drawn
    EXPECT_EQ(net.report.skipped.at("[PUMPS]"), 1u);
    EXPECT_EQ(net.report.unsupportedShapes.at("RECT_CLOSED"), 1u);
    EXPECT_EQ(r.unmappedProperties.at("SWMM_RAINGAGE"), 2u);

    auto& topo = Topo();
    // Terrain = invert + maximum depth; a maximum depth of 0 is "not given".
    struct NodeCase {
        const char* name;
        double x, y;
        std::optional<double> terrain;
    };
    for (const auto& c : std::vector<NodeCase>{{"Main St 1", 0, 700, 110.0},
                                               {"1", 0, 300, 106.0},
                                               {"001", 100, 0, std::nullopt},
                                               {"MH-9", 0, 0, 107.0},
                                               {"OUT", 0, -200, std::nullopt}}) {
        SCOPED_TRACE(c.name);
        auto n = topo.FindNodeByName(c.name);
        ASSERT_TRUE(n);
        EXPECT_NEAR(n->X(), c.x * kFoot, kTol);
        EXPECT_NEAR(n->Y(), c.y * kFoot, kTol);
        ASSERT_EQ(n->TerrainHeight().has_value(), c.terrain.has_value());
        if (c.terrain) {
            EXPECT_NEAR(*n->TerrainHeight(), *c.terrain * kFoot, kTol);
        }
        EXPECT_EQ(n->GetSystem(), system);
    }
    // Levels = node invert + offset; a circular profile gives PIPE_DIA_IN in metres.
    struct SectionCase {
        const char* name;
        const char* from;
        const char* to;
        double levelStart, levelEnd;
        std::optional<double> diameter;
        std::size_t vertices;
    };
    for (const auto& c : std::vector<SectionCase>{{"pipe a", "Main St 1", "1", 101.0, 98.5, 1.5, 1},
                                                  {"P2", "1", "MH-9", 98.0, 95.0, 2.0, 0},
                                                  {"P3", "001", "MH-9", 97.0, 97.0, std::nullopt, 0},
                                                  {"P4", "MH-9", "OUT", 95.0, 90.0, 3.0, 0}}) {
        SCOPED_TRACE(c.name);
        auto s = topo.FindSectionByName(c.name);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->GetStartingNode()->GetName(), c.from);
        EXPECT_EQ(s->GetEndingNode()->GetName(), c.to);
        EXPECT_NEAR(*s->LevelAtStart(), c.levelStart * kFoot, kTol);
        EXPECT_NEAR(*s->LevelAtEnd(), c.levelEnd * kFoot, kTol);
        EXPECT_EQ(s->Vertices().size(), c.vertices);
        auto d = Get(s->GetName(), "PIPE_DIA_IN");
        ASSERT_EQ(d.has_value(), c.diameter.has_value());
        if (c.diameter) {
            EXPECT_NEAR(*d, *c.diameter * kFoot, kTol);
        }
    }
    auto sc1 = topo.FindCatchmentByName("SC1");
    ASSERT_TRUE(sc1);
    EXPECT_NEAR(sc1->areaHa, 10 * kAcre, 1e-12);
    EXPECT_NEAR(sc1->runoffCoefficient, 0.65, kTol);
    EXPECT_EQ(sc1->kind, 1);
    ASSERT_EQ(sc1->polygon.size(), 3u);
    EXPECT_NEAR(sc1->polygon[2].y, 1700 * kFoot, kTol);
    // Linked to the first section leaving its outlet node.
    EXPECT_EQ(topo.GetSectionByGuid(sc1->sectionGuid)->GetName(), "Pipe A");
    EXPECT_EQ(topo.GetSectionByGuid(topo.FindCatchmentByName("SC2")->sectionGuid)->GetName(), "P4");

    const std::string report = CNetworkImporter::FormatReport(net.report, r);
    for (const char* line :
         {"read [CONDUITS]: 4\n", "not supported, skipped [PUMPS]: 1\n",
          "sections without a diameter (shape RECT_CLOSED): 1\n", "sections added: 4\n",
          "Manning roughness not kept (no attribute for it): 4\n", "unmapped property SWMM_WIDTH: 2\n"})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
}

// Schematic networks (every conduit drawn 10 m long) with offsets as depths and as elevations: the given
// lengths, the levels, the slopes over the given lengths and the cross-sections the file states survive
// the import, a save and reopen, and a GeoJSON export read into another drawing.
TEST_F(NetworkImporterTest, SchematicNetworkKeepsGivenLengthsSlopesAndShapes) {
    using TAVGis::Data::CDataBox;
    struct SExpected {
        const char* name;
        double length;                // m, from [CONDUITS]
        double levelStart, levelEnd;  // m
        double slope;                 // per mille, (start - end) / length
        std::optional<double> diameter;
        const char* shape;
        std::optional<double> height, width;  // m
    };
    const SExpected expected[] = {
        {"C1", 80, 100.2, 99.1, 1.1 / 80 * 1000, 0.4, "", std::nullopt, std::nullopt},
        {"E2", 120, 99.0, 98.5, 0.5 / 120 * 1000, std::nullopt, "EGG", 0.9, std::nullopt},
        {"R3", 60, 98.0, 98.0, 0.0, std::nullopt, "RECT_CLOSED", 1.2, 1.5},
        {"N4", 40, 97.0, 98.0, -1.0 / 40 * 1000, std::nullopt, "RECT_OPEN", 0.5, 0.8},
    };
    auto check = [&](TAVHost::Document& d, const std::string& stage) {
        auto& topo = TAVGis::Topology::TopologyOf(d);
        const auto& store = TAVGis::GisData(d).sectionStore;
        auto value = [&](const TAVGis::Topology::CSectionPtr& s, const char* name) {
            CDataBox box;
            store.Get(*TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(
                          TAVGis::Data::kEntitySection, name),
                      s->AttributeRow(), box);
            return box;
        };
        auto expectNumber = [&](const CDataBox& box, std::optional<double> want, const char* name) {
            ASSERT_EQ(box.IsNotNull(), want.has_value()) << name;
            if (want) {
                EXPECT_NEAR(box.ToDouble(), *want, kTol) << name;
            }
        };
        ASSERT_EQ(topo.Sections().size(), std::size(expected)) << stage;
        for (const auto& e : expected) {
            SCOPED_TRACE(stage + " " + e.name);
            auto s = topo.FindSectionByName(e.name);
            ASSERT_TRUE(s);
            EXPECT_NEAR(s->GetPlanLength(), 10.0, kTol);
            EXPECT_NEAR(s->GetLength2D(), e.length, kTol);
            EXPECT_NEAR(*s->LevelAtStart(), e.levelStart, kTol);
            EXPECT_NEAR(*s->LevelAtEnd(), e.levelEnd, kTol);
            expectNumber(value(s, "SECTION_LENGTH"), e.length, "SECTION_LENGTH");
            expectNumber(value(s, "SECTION_SLOPE"), e.slope, "SECTION_SLOPE");
            expectNumber(value(s, "PIPE_DIA_IN"), e.diameter, "PIPE_DIA_IN");
            EXPECT_EQ(value(s, "PIPE_SHAPE").ToString(), e.shape);
            expectNumber(value(s, "PIPE_HEIGHT"), e.height, "PIPE_HEIGHT");
            expectNumber(value(s, "PIPE_WIDTH"), e.width, "PIPE_WIDTH");
        }
    };
    const std::string notes[] = {
        "given lengths used instead of the drawn length (differing by more than 1 %): 4\n",
        "sections without a circular diameter: 3 ('E2', 'R3', 'N4')\n"};
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("network_importer_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    for (const char* file : {"schematic_depth.inp", "schematic_elevation.inp"}) {
        SCOPED_TRACE(file);
        TAVHost::Document imported(file);
        SImportNetwork net;
        ASSERT_TRUE(
            CSwmmReader().ReadFile(std::string(SEWER_SOURCE_DIR) + "/tests/data/store/" + file, net).Ok());
        EXPECT_EQ(net.report.warningCount, 0u) << net.report.warnings.front().message;
        const auto r = CNetworkImporter(imported, NewSewageSystem(imported)).Import(net);
        const std::string report = CNetworkImporter::FormatReport(net.report, r);
        for (const auto& note : notes) EXPECT_NE(report.find(note), std::string::npos) << report;
        check(imported, "imported");

        CDrawingFile::Save(imported, dir / "schematic.gpkg");
        const auto reopened = CDrawingFile::Open(dir / "schematic.gpkg");
        check(*reopened, "reopened");

        std::ostringstream geojson;
        CGeoJsonWriter::Write(*reopened, geojson);
        SImportNetwork back;
        ASSERT_TRUE(CGeoJsonReader().ReadText(geojson.str(), back).Ok());
        TAVHost::Document copy("copy");
        const auto rb = CNetworkImporter(copy, NewSewageSystem(copy)).Import(back);
        EXPECT_TRUE(rb.unmappedProperties.empty());
        EXPECT_EQ(rb.valuesRejected, 0u);
        const std::string reportBack = CNetworkImporter::FormatReport(back.report, rb);
        for (const auto& note : notes) EXPECT_NE(reportBack.find(note), std::string::npos) << reportBack;
        check(copy, "GeoJSON");
    }
    std::filesystem::remove_all(dir);
}

TEST_F(NetworkImporterTest, SecondImportExtendsAndSkipsWhatIsThere) {
    SImportNetwork first, second;
    ImportInp(first);
    const auto r = ImportInp(second);
    EXPECT_EQ(r.nodesAdded, 0u);
    EXPECT_EQ(r.nodesReused, 5u);
    EXPECT_EQ(r.sectionsSkipped, 4u);
    EXPECT_EQ(r.catchmentsSkipped, 2u);
    EXPECT_EQ(r.messageCount, 6u);
    EXPECT_EQ(Topo().Sections().size(), 4u);
}

TEST_F(NetworkImporterTest, GeoJsonPropertiesMapToAttributesByName) {
    const char* text = R"({"type": "FeatureCollection", "features": [
 {"type": "Feature", "properties": {"name": "N1", "terrain_height": 12.5, "MAIN_SECT_OUT": "{S}"},
  "geometry": {"type": "Point", "coordinates": [0, 0]}},
 {"type": "Feature", "properties": {"name": "L1", "PIPE_DIA_IN": 0.3, "FLOW_COEFDEN": "1.5", "COLOR": "red",
   "SECTION_SLOPE": "steep", "level_start": 10.0, "level_end": 9.5},
  "geometry": {"type": "LineString", "coordinates": [[0, 0], [5, 5], [10, 0]]}},
 {"type": "Feature", "properties": {"name": "A1", "kind": 4, "inhabitant_density": 12, "runoff_coefficient": 0.8,
   "section": "l1"},
  "geometry": {"type": "Polygon", "coordinates": [[[0, 0], [100, 0], [100, 100], [0, 100], [0, 0]]]}},
 {"type": "Feature", "properties": {"name": "bad kind", "kind": 3},
  "geometry": {"type": "Polygon", "coordinates": [[[0, 0], [1, 0], [1, 1], [0, 0]]]}},
 {"type": "Feature", "properties": {"name": "M"}, "geometry": {"type": "MultiPoint", "coordinates": [[0, 0], [1, 1]]}}
]})";
    SImportNetwork net;
    ASSERT_TRUE(CGeoJsonReader().ReadText(text, net).Ok());
    const auto r = CNetworkImporter(*doc, system).Import(net);
    EXPECT_EQ(r.nodesAdded, 2u);  // N1 and the new node at the free line end
    EXPECT_EQ(r.sectionsAdded, 1u);
    EXPECT_EQ(r.catchmentsAdded, 2u);
    EXPECT_EQ(r.valuesRejected, 2u);  // SECTION_SLOPE "steep", kind 3
    EXPECT_EQ(r.unmappedProperties.size(), 1u);
    EXPECT_EQ(r.unmappedProperties.at("COLOR"), 1u);
    EXPECT_EQ(net.report.skipped.at("MultiPoint"), 1u);

    auto s = Topo().FindSectionByName("L1");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->GetStartingNode()->GetName(), "N1");
    EXPECT_EQ(s->GetEndingNode()->GetName(), "L1_B");
    EXPECT_EQ(s->Vertices().size(), 1u);
    EXPECT_EQ(*s->LevelAtStart(), 10.0);
    EXPECT_EQ(*s->LevelAtEnd(), 9.5);
    EXPECT_EQ(Get("L1", "PIPE_DIA_IN"), 0.3);
    EXPECT_EQ(Get("L1", "FLOW_COEFDEN"), 1.5);
    EXPECT_FALSE(Get("L1", "SECTION_SLOPE"));
    EXPECT_EQ(GetText("N1", "MAIN_SECT_OUT"), "{S}");
    EXPECT_EQ(*Topo().FindNodeByName("N1")->TerrainHeight(), 12.5);
    auto a = Topo().FindCatchmentByName("A1");
    EXPECT_EQ(a->kind, 4);
    EXPECT_NEAR(a->areaHa, 1.0, 1e-12);
    EXPECT_EQ(a->densityInhabPerHa, 12.0);
    EXPECT_EQ(a->runoffCoefficient, 0.8);
    EXPECT_EQ(a->sectionGuid, s->GetGuid());
    auto bad = Topo().FindCatchmentByName("bad kind");
    EXPECT_EQ(bad->kind, 1);
    EXPECT_TRUE(bad->sectionGuid.empty());
}

TEST_F(NetworkImporterTest, NodesWithoutCoordinatesAreCountedWithTheirSections) {
    SImportNetwork net;
    ASSERT_TRUE(CSwmmReader()
                    .ReadText("[JUNCTIONS]\nA 10 2\nB 9 2\n[OUTFALLS]\nC 8 FREE\n[CONDUITS]\n"
                              "AB A B 10 0.013 0 0\nBC B C 10 0.013 0 0\n[COORDINATES]\nA 0 0\nB 10 0\n",
                              net)
                    .Ok());
    const auto r = CNetworkImporter(*doc, system).Import(net);
    EXPECT_EQ(r.nodesAdded, 2u);
    EXPECT_EQ(r.nodesWithoutPosition, 1u);
    EXPECT_EQ(r.sectionsAdded, 1u);
    EXPECT_EQ(r.sectionsSkipped, 1u);
    const std::string report = CNetworkImporter::FormatReport(net.report, r);
    EXPECT_NE(report.find("node 'C' has no coordinates"), std::string::npos) << report;
    EXPECT_NE(report.find("section 'BC' is not imported"), std::string::npos) << report;
}

}  // namespace
