// Tests of the GeoJSON reader.
#include "platform/store/GeoJsonReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

using namespace TAVGis::Store;

namespace {

constexpr double kTol = 1e-9;  // m or ha

SImportNetwork ReadGeo(const std::string& text, double tolerance = CGeoJsonReader::kDefaultSnapTolerance) {
    SImportNetwork network;
    const SImportStatus status = CGeoJsonReader(tolerance).ReadText(text, network);
    EXPECT_TRUE(status.Ok()) << status.message << " (line " << status.line << ")";
    return network;
}

// The element of `list` named `name`, or null.
template <class T>
const T* Find(const std::vector<T>& list, const std::string& name) {
    const auto it = std::find_if(list.begin(), list.end(), [&](const T& e) { return e.name == name; });
    return it == list.end() ? nullptr : &*it;
}

bool GeoWarning(const SImportNetwork& network, const std::string& text) {
    return std::any_of(network.report.warnings.begin(), network.report.warnings.end(),
                       [&](const SImportWarning& w) { return w.message.find(text) != std::string::npos; });
}

std::string Collection(const std::string& features) {
    return R"({"type": "FeatureCollection", "features": [)" + features + "]}";
}

const std::string kTown = Collection(R"(
  {"type": "Feature", "properties": {"name": "P1", "PIPE_DIA_IN": 300, "material": "PVC-U", "laid": true,
                                     "note": null, "extra": {"a": [1, 2]}},
   "geometry": {"type": "LineString", "coordinates": [[0.004, 0.003], [50, 5], [100, 0.02]]}},
  {"type": "Feature", "properties": {"name": "MH1", "depth": 2.5},
   "geometry": {"type": "Point", "coordinates": [0, 0, 312.5]}},
  {"type": "Feature", "properties": {"name": "MH2"}, "geometry": {"type": "Point", "coordinates": [100, 0]}},
  {"type": "Feature", "properties": {"name": "P2"},
   "geometry": {"type": "MultiLineString", "coordinates": [[[100, 0.02], [150, 0]]]}},
  {"type": "Feature", "properties": {"name": "P3"},
   "geometry": {"type": "MultiLineString", "coordinates": [[[0, 0], [1, 1]], [[2, 2], [3, 3]]]}},
  {"type": "Feature", "properties": {"name": "Area 1", "density": 120},
   "geometry": {"type": "Polygon", "coordinates": [[[0, 0], [100, 0], [100, 100], [0, 100], [0, 0]],
                                                   [[10, 10], [20, 10], [20, 20], [10, 20], [10, 10]]]}},
  {"type": "Feature", "properties": {"name": "Lake"},
   "geometry": {"type": "MultiPolygon", "coordinates": [[[[0, 0], [1, 0], [1, 1]]], [[[5, 5], [6, 5], [6, 6]]]]}},
  {"type": "Feature", "properties": {"name": "Nothing"}, "geometry": null}
)");

TEST(GeoJsonReader, ReadsFeaturesSnapsLineEndsAndMapsProperties) {
    const SImportNetwork net = ReadGeo(kTown);
    EXPECT_EQ(
        net.report.imported,
        (std::map<std::string, std::size_t>{
            {"Point", 2}, {"LineString", 1}, {"MultiLineString", 1}, {"Polygon", 1}, {"line-end node", 2}}));
    EXPECT_EQ(net.report.skipped, (std::map<std::string, std::size_t>{
                                      {"MultiLineString", 1}, {"MultiPolygon", 1}, {"no geometry", 1}}));
    ASSERT_EQ(net.nodes.size(), 4u);
    ASSERT_EQ(net.sections.size(), 2u);

    const SImportSection* p1 = Find(net.sections, "P1");
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1->fromNode, "MH1");  // 0.005 m from MH1: within the default 0.01 m
    EXPECT_EQ(p1->toNode, "P1_B");   // 0.02 m from MH2: a new node
    EXPECT_EQ(p1->vertices, (std::vector<SImportPoint>{{50, 5}}));
    EXPECT_EQ(*Find(net.nodes, "P1_B")->position, (SImportPoint{100, 0.02}));
    EXPECT_EQ(Find(net.nodes, "P1_B")->kind, EImportNodeKind::Point);
    EXPECT_DOUBLE_EQ(std::get<double>(p1->properties.at("PIPE_DIA_IN")), 300.0);
    EXPECT_EQ(std::get<std::string>(p1->properties.at("material")), "PVC-U");
    EXPECT_DOUBLE_EQ(std::get<double>(p1->properties.at("laid")), 1.0);
    EXPECT_EQ(std::get<std::string>(p1->properties.at("extra")), R"({"a":[1,2]})");
    EXPECT_EQ(p1->properties.count("note"), 0u);  // null: no value
    EXPECT_EQ(p1->properties.count("name"), 0u);
    EXPECT_FALSE(p1->length.has_value());

    const SImportSection* p2 = Find(net.sections, "P2");
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->fromNode, "P1_B");  // snaps to the node made for P1's end
    EXPECT_EQ(p2->toNode, "P2_B");
    EXPECT_TRUE(p2->vertices.empty());

    const SImportNode* mh1 = Find(net.nodes, "MH1");
    ASSERT_NE(mh1, nullptr);
    EXPECT_EQ(*mh1->position, (SImportPoint{0, 0}));
    EXPECT_DOUBLE_EQ(std::get<double>(mh1->properties.at("depth")), 2.5);

    ASSERT_EQ(net.catchments.size(), 1u);
    const SImportCatchment& area = net.catchments[0];
    EXPECT_EQ(area.name, "Area 1");
    EXPECT_EQ(area.kind, kImportCatchmentTotal);
    EXPECT_NEAR(*area.area, (100.0 * 100.0 - 10.0 * 10.0) / 10000.0, kTol);
    EXPECT_EQ(area.polygon.size(), 4u);  // closing position dropped, hole not in the outline
    EXPECT_DOUBLE_EQ(std::get<double>(area.properties.at("density")), 120.0);
    EXPECT_TRUE(GeoWarning(net, "holes"));
    EXPECT_TRUE(GeoWarning(net, "feature 5: a MultiLineString of 2 parts"));
}

TEST(GeoJsonReader, SnapToleranceDecidesBetweenNodeAndNewNode) {
    struct SCase {
        double tolerance;
        double offset;  // m, distance of the line end from the node
        bool snaps;
    };
    const SCase cases[] = {
        {0.01, 0.0, true},  {0.01, 0.005, true},  {0.01, 0.0099, true}, {0.01, 0.0101, false},
        {0.0, 0.0, true},   {0.0, 1e-7, false},   {1.0, 0.7, true},     {0.5, 0.7, false},
        {25.0, 24.0, true}, {25.0, -26.0, false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.tolerance) + " / " + std::to_string(c.offset));
        // Far from the origin, where cell arithmetic and rounding matter.
        const double x = 5432109.87;
        const double y = 4567890.12;
        char features[512];
        std::snprintf(features, sizeof features,
                      R"({"type": "Feature", "properties": {"name": "L"},
                          "geometry": {"type": "LineString", "coordinates": [[%.10f, %.10f], [%.10f, %.10f]]}},
                         {"type": "Feature", "properties": {"name": "N"},
                          "geometry": {"type": "Point", "coordinates": [%.10f, %.10f]}})",
                      x, y + c.offset, x + 100.0, y, x, y);
        const SImportNetwork net = ReadGeo(Collection(features), c.tolerance);
        ASSERT_EQ(net.sections.size(), 1u);
        EXPECT_EQ(net.sections[0].fromNode, c.snaps ? "N" : "L_A");
        EXPECT_EQ(net.nodes.size(), c.snaps ? 2u : 3u);
    }
    // The nearest of several nodes within the tolerance wins.
    const SImportNetwork nearest = ReadGeo(Collection(R"(
      {"type": "Feature", "properties": {"name": "FAR"}, "geometry": {"type": "Point", "coordinates": [0.8, 0]}},
      {"type": "Feature", "properties": {"name": "NEAR"}, "geometry": {"type": "Point", "coordinates": [0, 0.3]}},
      {"type": "Feature", "properties": {"name": "L"},
       "geometry": {"type": "LineString", "coordinates": [[0, 0], [9, 9]]}})"),
                                           1.0);
    EXPECT_EQ(nearest.sections[0].fromNode, "NEAR");
    EXPECT_THROW(CGeoJsonReader(-0.01), std::invalid_argument);
    EXPECT_THROW(CGeoJsonReader(std::nan("")), std::invalid_argument);
}

TEST(GeoJsonReader, NamesAreGeneratedAndMadeUnique) {
    const SImportNetwork net = ReadGeo(Collection(R"(
      {"type": "Feature", "properties": {"name": "X"}, "geometry": {"type": "LineString", "coordinates": [[0, 0], [1, 0]]}},
      {"type": "Feature", "properties": {"name": "x"}, "geometry": {"type": "LineString", "coordinates": [[1, 0], [2, 0]]}},
      {"type": "Feature", "properties": {}, "geometry": {"type": "LineString", "coordinates": [[2, 0], [3, 0]]}},
      {"type": "Feature", "id": 17, "geometry": {"type": "LineString", "coordinates": [[3, 0], [4, 0]]}},
      {"type": "Feature", "properties": {"NAME": 12.5}, "geometry": {"type": "Point", "coordinates": [10, 10]}},
      {"type": "Feature", "properties": {"name": "X_A"}, "geometry": {"type": "Point", "coordinates": [20, 20]}},
      {"type": "Feature", "properties": {"name": "n1"}, "geometry": {"type": "Point", "coordinates": [30, 30]}},
      {"type": "Feature", "properties": {"name": "N1"}, "geometry": {"type": "Point", "coordinates": [40, 40]}},
      {"type": "Feature", "geometry": {"type": "MultiPoint", "coordinates": [[50, 50]]}}
    )"));
    std::vector<std::string> sections;
    for (const SImportSection& s : net.sections) sections.push_back(s.name);
    EXPECT_EQ(sections, (std::vector<std::string>{"X", "x_2", "S3", "17"}));  // section names ignore case
    EXPECT_TRUE(GeoWarning(net, "feature 2: the section name \"x\" is already used; renamed \"x_2\""));
    for (const char* name : {"12.5", "X_A", "n1", "N1", "N9", "X_A_2", "X_B", "x_2_B", "S3_B", "17_B"})
        EXPECT_NE(Find(net.nodes, name), nullptr) << name;
    EXPECT_EQ(net.sections[0].fromNode, "X_A_2");  // "X_A" was taken by a point feature
    EXPECT_EQ(net.sections[1].fromNode, "X_B");    // consecutive lines share their joint node
    EXPECT_EQ(net.nodes.size(), 10u);
}

TEST(GeoJsonReader, MalformedFeaturesAreSkippedWithWarnings) {
    const SImportNetwork net = ReadGeo(Collection(R"(
      {"type": "Feature", "properties": {"name": "A"}, "geometry": {"type": "Point", "coordinates": ["a", 1]}},
      {"type": "Feature", "properties": {"name": "B"}, "geometry": {"type": "Point", "coordinates": [1]}},
      {"type": "Feature", "properties": {"name": "C"}, "geometry": {"type": "Point", "coordinates": [1e300, 0]}},
      {"type": "Feature", "properties": {"name": "D"}, "geometry": {"type": "LineString", "coordinates": [[0, 0]]}},
      {"type": "Feature", "properties": {"name": "E"}, "geometry": {"type": "LineString", "coordinates": [[0, 0], [[1, 1]]]}},
      {"type": "Feature", "properties": {"name": "F"}, "geometry": {"type": "Polygon", "coordinates": [[[0, 0], [1, 1], [0, 0]]]}},
      {"type": "Feature", "properties": {"name": "G"}, "geometry": {"type": "GeometryCollection", "geometries": []}},
      {"type": "Feature", "properties": {"name": "H"}, "geometry": {"type": "Point"}},
      {"type": "Feature", "properties": {"name": "I"}, "geometry": {"coordinates": [0, 0]}},
      {"type": "Place", "geometry": {"type": "Point", "coordinates": [0, 0]}},
      42,
      {"type": "Feature", "properties": {"name": "OK"}, "geometry": {"type": "Point", "coordinates": [0, 0]}},
      {"type": "Feature", "properties": {"name": "L"}, "geometry": {"type": "LineString", "coordinates": [[0, 0], [0, 0.001]]}}
    )"));
    EXPECT_EQ(net.report.skipped, (std::map<std::string, std::size_t>{{"invalid Point", 4},
                                                                      {"invalid LineString", 2},
                                                                      {"invalid Polygon", 1},
                                                                      {"GeometryCollection", 1},
                                                                      {"invalid geometry", 1},
                                                                      {"invalid feature", 2}}));
    ASSERT_EQ(net.nodes.size(), 1u);
    EXPECT_EQ(net.nodes[0].name, "OK");
    ASSERT_EQ(net.sections.size(), 1u);  // both ends at one node: kept, with a warning
    EXPECT_EQ(net.sections[0].fromNode, "OK");
    EXPECT_EQ(net.sections[0].toNode, "OK");
    EXPECT_TRUE(GeoWarning(net, "feature 13: section \"L\" starts and ends at the same node"));
    EXPECT_TRUE(GeoWarning(net, "feature 3: malformed or out-of-range point coordinates; skipped"));
}

TEST(GeoJsonReader, RejectsTextThatIsNoGeoJson) {
    struct SCase {
        std::string text;
        EImportError error;
        std::size_t line;  // checked for invalid JSON
    };
    const SCase cases[] = {
        {"", EImportError::InvalidJson, 1},
        {"{", EImportError::InvalidJson, 1},
        {"{\n\"type\": \"FeatureCollection\",\n\"features\": [\n}\n", EImportError::InvalidJson, 4},
        {"[JUNCTIONS]\nJ1 1\n", EImportError::InvalidJson, 1},
        {"{\"type\": \"Feature\",\n\"properties\": {\"name\": \"\xC3\x28\"}}", EImportError::NotUtf8, 2},
        {std::string("\x89PNG\r\n\x1A\n\0\0", 10), EImportError::NotUtf8, 1},
        {std::string("\0\0", 2), EImportError::InvalidJson, 1},
        {"[]", EImportError::NotGeoJson, 0},
        {"42", EImportError::NotGeoJson, 0},
        {"{}", EImportError::NotGeoJson, 0},
        {R"({"type": "Point", "coordinates": [0, 0]})", EImportError::NotGeoJson, 0},
        {R"({"type": "FeatureCollection"})", EImportError::NotGeoJson, 0},
        {R"({"type": "FeatureCollection", "features": {}})", EImportError::NotGeoJson, 0},
        {std::string(200000, '[') + std::string(200000, ']'), EImportError::InvalidJson, 1},
        {"{\"a\":\n" + std::string(64, '[') + std::string(64, ']') + "}", EImportError::InvalidJson, 2},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        SImportNetwork net;
        net.sections.push_back(SImportSection{});  // replaced by the read
        const SImportStatus status = CGeoJsonReader().ReadText(c.text, net);
        EXPECT_EQ(status.error, c.error) << status.message;
        if (c.error == EImportError::InvalidJson || c.error == EImportError::NotUtf8) {
            EXPECT_EQ(status.line, c.line) << status.message;
        }
        EXPECT_FALSE(status.message.empty());
        EXPECT_TRUE(net.sections.empty());
    }
    SImportNetwork net;
    EXPECT_EQ(CGeoJsonReader().ReadFile("/nonexistent/dir/file.geojson", net).error,
              EImportError::CannotOpen);
}

TEST(GeoJsonReader, SurvivesRandomAndTruncatedInput) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::string bytes(2048, '\0');
        for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
        SImportNetwork net;
        EXPECT_FALSE(CGeoJsonReader().ReadText(bytes, net).Ok());
    }
    for (std::size_t length = 0; length < kTown.size(); ++length) {
        SImportNetwork net;
        const SImportStatus status =
            CGeoJsonReader().ReadText(std::string_view(kTown).substr(0, length), net);
        EXPECT_EQ(status.error, EImportError::InvalidJson) << length;
    }
    // Nesting deeper than the bound refuses the file with the line, before any parse; a property nested
    // 200,000 arrays deep (which would overflow the stack when turned into text) included.
    for (const std::string& where : {std::string(R"("geometry": {"type": "LineString", "coordinates": )"),
                                     std::string(R"("geometry": null, "properties": {"p": )")}) {
        const std::string deep = std::string(200000, '[') + std::string(200000, ']');
        SImportNetwork net;
        const SImportStatus status = CGeoJsonReader().ReadText(Collection(R"({"type": "Feature",)"
                                                                          "\n" +
                                                                          where + deep + "}}"),
                                                               net);
        EXPECT_EQ(status.error, EImportError::InvalidJson);
        EXPECT_NE(status.message.find("nested deeper than 64"), std::string::npos) << status.message;
        EXPECT_TRUE(net.sections.empty());
    }
    // Brackets inside texts do not count; 64 levels are read.
    const SImportNetwork names = ReadGeo(Collection(
        R"({"type": "Feature", "properties": {"name": "[[[[{{{{", "deep": )" + std::string(60, '[') +
        std::string(60, ']') + R"(}, "geometry": {"type": "Point", "coordinates": [1, 2]}})"));
    ASSERT_EQ(names.nodes.size(), 1u);
    EXPECT_EQ(names.nodes[0].name, "[[[[{{{{");
}

}  // namespace
