#include "platform/store/GeoJsonWriter.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/host/AtomicFile.h"
#include "platform/network/TopologyStorage.h"

namespace TAVGis::Store {
namespace {

using json = nlohmann::ordered_json;

json Position(double x, double y) {
    return json::array({x, y});
}

json Common(const Topology::CEntity& e, const char* entity) {
    json p;
    p["name"] = e.GetName();
    p["guid"] = e.GetGuid();
    p["entity"] = entity;
    if (e.GetSystem()) p["system"] = e.GetSystem()->GetName();
    return p;
}

void Attributes(json& p, const Topology::CEntity& e, const Data::CAttributeStore& store) {
    Data::CDataBox box;
    for (const auto* def : Data::CDataConfiguration::GetInstance().Definitions(e.GetEntityType())) {
        store.Get(*def, e.AttributeRow(), box);
        if (box.IsNull()) continue;
        switch (def->GetValueType()) {
            case Data::ValueType::Text:
                p[def->GetID()] = box.ToString();
                break;
            case Data::ValueType::Int:
                p[def->GetID()] = box.ToInt();
                break;
            case Data::ValueType::Double:
                p[def->GetID()] = box.ToDouble();
                break;
        }
    }
}

json Feature(json geometry, json properties) {
    json f;
    f["type"] = "Feature";
    f["geometry"] = std::move(geometry);
    f["properties"] = std::move(properties);
    return f;
}

}  // namespace

void CGeoJsonWriter::Write(TAVHost::Document& doc, std::ostream& out) {
    auto& topo = Topology::TopologyOf(doc);
    auto& gis = GisData(doc);
    json features = json::array();
    for (const auto& n : topo.Nodes()) {
        json p = Common(*n, "node");
        if (n->TerrainHeight()) p["terrain_height"] = *n->TerrainHeight();
        Attributes(p, *n, gis.nodeStore);
        features.push_back(
            Feature(json{{"type", "Point"}, {"coordinates", Position(n->X(), n->Y())}}, std::move(p)));
    }
    for (const auto& s : topo.Sections()) {
        json p = Common(*s, "section");
        p["from_node"] = s->GetStartingNode()->GetName();
        p["to_node"] = s->GetEndingNode()->GetName();
        if (s->LevelAtStart()) p["level_start"] = *s->LevelAtStart();
        if (s->LevelAtEnd()) p["level_end"] = *s->LevelAtEnd();
        p["length_2d"] = s->GetPlanLength();  // m
        Attributes(p, *s, gis.sectionStore);
        json coords = json::array();
        coords.push_back(Position(s->GetStartingNode()->X(), s->GetStartingNode()->Y()));
        for (const auto& v : s->Vertices()) coords.push_back(Position(v.x, v.y));
        coords.push_back(Position(s->GetEndingNode()->X(), s->GetEndingNode()->Y()));
        features.push_back(
            Feature(json{{"type", "LineString"}, {"coordinates", std::move(coords)}}, std::move(p)));
    }
    for (const auto& a : topo.CatchmentAreas()) {
        json p = Common(*a, "catchment_area");
        p["kind"] = a->kind;
        p["area_ha"] = a->areaHa;
        p["inhabitant_density"] = a->densityInhabPerHa;
        p["runoff_coefficient"] = a->runoffCoefficient;
        if (auto s = topo.GetSectionByGuid(a->sectionGuid)) p["section"] = s->GetName();
        Attributes(p, *a, gis.catchmentStore);
        json geometry;  // null without an outline
        if (!a->polygon.empty()) {
            json ring = json::array();
            for (const auto& q : a->polygon) ring.push_back(Position(q.x, q.y));
            ring.push_back(Position(a->polygon.front().x, a->polygon.front().y));
            geometry = json{{"type", "Polygon"}, {"coordinates", json::array({std::move(ring)})}};
        }
        features.push_back(Feature(std::move(geometry), std::move(p)));
    }
    json root;
    root["type"] = "FeatureCollection";
    root["name"] = doc.Name();
    root["features"] = std::move(features);
    // Text that is not UTF-8 cannot enter a drawing any more, but an older drawing may hold some: each such
    // byte is written as U+FFFD, so an export never stops on a name.
    out << root.dump(1, ' ', false, json::error_handler_t::replace) << "\n";
}

bool CGeoJsonWriter::WriteFile(TAVHost::Document& doc, const std::filesystem::path& path,
                               std::string& error) {
    std::vector<std::filesystem::path> protect;
    if (!doc.Path().empty()) protect.push_back(doc.Path());
    return TAVHost::WriteFileAtomically(
        path, [&doc](std::ostream& out) { Write(doc, out); }, error, protect);
}

}  // namespace TAVGis::Store
