// GeoJSON export: the network with all attributes, read back through the GeoJSON reader and the importer
// into a new drawing, is the same network.
#include "platform/store/GeoJsonWriter.h"

#include <gtest/gtest.h>

#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/gis/GisDrawingData.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/GeoJsonReader.h"
#include "platform/store/NetworkImporter.h"
#include "support/TestSupport.h"
#include "testing/DrawingDump.h"

namespace {

using namespace TAVGis::Store;
using TAVGis::Data::CDataBox;

class GeoJsonWriterTest : public testsupport::DrawingTest {};

TEST_F(GeoJsonWriterTest, ExportReadBackGivesTheSameNetwork) {
    auto a = Node("MH 'A'", 1000.25, 2000.5, 120.0);
    auto b = Node("B", 1040.0, 1990.0);
    auto c = Node("C", 1080.0, 1985.0, 118.5);
    auto s1 = Topo().AddSection("S1 \"main\"", a, b, system, {{1020.0, 1999.0}});
    s1->SetLevels(117.5, 117.3);
    auto s2 = Topo().AddSection("S2", b, c, system);
    s2->SetLevels(117.2, std::nullopt);
    Set("S1 \"main\"", "PIPE_DIA_IN", CDataBox(0.3));
    Set("S1 \"main\"", "PIPE_REF", CDataBox(std::string("{PIPE}")));
    Set("S2", "FLOW_TOTAL", CDataBox(0.0125));
    Set("B", "MAIN_SECT_OUT", CDataBox(s2->GetGuid()));
    auto area = Topo().AddCatchmentArea("CA", system, {{1000, 2010}, {1040, 2010}, {1040, 2050}});
    area->kind = 2;
    area->areaHa = 0.08;
    area->densityInhabPerHa = 95.5;
    area->runoffCoefficient = 0.4;
    Topo().LinkCatchment(area, s2->GetGuid());

    std::ostringstream out;
    CGeoJsonWriter::Write(*doc, out);
    const auto json = nlohmann::json::parse(out.str());
    ASSERT_EQ(json["features"].size(), 6u);
    EXPECT_EQ(json["features"][3]["properties"]["PIPE_DIA_IN"], 0.3);
    EXPECT_EQ(json["features"][3]["properties"]["from_node"], "MH 'A'");
    EXPECT_EQ(json["features"][5]["properties"]["section"], "S2");
    EXPECT_EQ(json["features"][5]["geometry"]["coordinates"][0].size(), 4u);  // ring closed

    SImportNetwork net;
    ASSERT_TRUE(CGeoJsonReader().ReadText(out.str(), net).Ok());
    TAVHost::Document copy("copy.gpkg");
    auto& gis = TAVGis::GisData(copy);
    gis.systems.push_back(TAVGis::System::CGisSystemPtr(new TAVGis::System::CGisSystem(1, "town", 0)));
    gis.activeSystem = gis.systems.back();
    const auto r = CNetworkImporter(copy, gis.activeSystem).Import(net);
    EXPECT_TRUE(r.unmappedProperties.empty());
    EXPECT_EQ(r.valuesRejected, 0u);
    EXPECT_EQ(testsupport::DumpDrawing(copy, false), testsupport::DumpDrawing(*doc, false));
}

// Bytes that are not UTF-8 (only an older drawing can hold them now) and values that are not finite never
// stop an export: U+FFFD stands for each such byte and null for such a value, and the result reads back.
TEST_F(GeoJsonWriterTest, TextThatIsNotUtf8AndValuesThatAreNotFiniteAreWritten) {
    auto a = Node("A\xFF", 0.0, 0.0);
    auto b = Node("B", 10.0, 0.0);
    Topo().AddSection("S\xC3", a, b, system);
    Set("S\xC3", "PIPE_REF", CDataBox(std::string("\x8A")));
    Set("S\xC3", "FLOW_TOTAL", CDataBox(std::numeric_limits<double>::infinity()));
    std::ostringstream out;
    ASSERT_NO_THROW(CGeoJsonWriter::Write(*doc, out));
    const auto json = nlohmann::json::parse(out.str());
    const auto& section = json["features"][2]["properties"];
    EXPECT_EQ(section["name"], "S\xEF\xBF\xBD");
    EXPECT_EQ(section["from_node"], "A\xEF\xBF\xBD");
    EXPECT_EQ(section["PIPE_REF"], "\xEF\xBF\xBD");
    EXPECT_TRUE(section["FLOW_TOTAL"].is_null());
    SImportNetwork net;
    EXPECT_TRUE(CGeoJsonReader().ReadText(out.str(), net).Ok());
}

TEST_F(GeoJsonWriterTest, UnwritableFileIsReported) {
    std::string error;
    EXPECT_FALSE(CGeoJsonWriter::WriteFile(*doc, "/nonexistent/folder/x.geojson", error));
    EXPECT_NE(error.find("cannot write"), std::string::npos);
}

}  // namespace
