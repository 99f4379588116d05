#include "platform/store/GeoJsonReader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/store/ImportText.h"
#include "platform/store/NameIndex.h"

namespace TAVGis::Store {

namespace {

using Json = nlohmann::json;

constexpr double kSquareMetresPerHectare = 10000.0;
constexpr double kMaxCoordinate = 1.0e9;  // m; anything farther out is no projected coordinate
constexpr double kMinCellSize = 1.0e-3;   // m; smallest cell of the snap grid (keeps cell numbers in range)

using ImportText::Quote;

// A uniform grid over node positions for finding the nearest node within the snap tolerance. The cell
// is at least as large as the tolerance, so the 3 x 3 cells around a point hold every candidate.
class CSnapGrid {
public:
    CSnapGrid(double tolerance) : m_tolerance(tolerance), m_cell(std::max(tolerance, kMinCellSize)) {}

    void Add(const SImportPoint& point, std::size_t node) {
        m_cells[Key(Cell(point.x), Cell(point.y))].push_back(node);
    }

    // The nearest node within the tolerance (the first added on a tie), or npos.
    std::size_t Nearest(const SImportPoint& point, const std::vector<SImportNode>& nodes) const {
        std::size_t best = CNameIndex::npos;
        double bestDistance = m_tolerance * m_tolerance;
        const std::int64_t cx = Cell(point.x);
        const std::int64_t cy = Cell(point.y);
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                auto it = m_cells.find(Key(cx + dx, cy + dy));
                if (it == m_cells.end()) continue;
                for (const std::size_t node : it->second) {
                    const SImportPoint& p = *nodes[node].position;
                    const double distance =
                        (p.x - point.x) * (p.x - point.x) + (p.y - point.y) * (p.y - point.y);
                    if (distance < bestDistance ||
                        (distance == bestDistance && (best == CNameIndex::npos || node < best))) {
                        best = node;
                        bestDistance = distance;
                    }
                }
            }
        }
        return best;
    }

private:
    // Coordinates are limited to +-kMaxCoordinate, so cell numbers stay far inside int64.
    std::int64_t Cell(double value) const { return static_cast<std::int64_t>(std::floor(value / m_cell)); }

    struct SKey {
        std::int64_t x;
        std::int64_t y;
        bool operator==(const SKey&) const = default;
    };
    struct SKeyHash {
        std::size_t operator()(const SKey& key) const noexcept {
            const auto x = static_cast<std::uint64_t>(key.x);
            const auto y = static_cast<std::uint64_t>(key.y);
            return static_cast<std::size_t>((x * 0x9E3779B97F4A7C15ULL) ^
                                            (y + 0x632BE59BD9B4E019ULL + (x << 6) + (x >> 2)));
        }
    };
    static SKey Key(std::int64_t x, std::int64_t y) { return SKey{x, y}; }

    double m_tolerance;
    double m_cell;
    std::unordered_map<SKey, std::vector<std::size_t>, SKeyHash> m_cells;
};

enum class EGeometry { Point, Line, Polygon };

struct SFeatureRef {
    std::size_t number = 0;  // 1-based position in the collection
    const Json* feature = nullptr;
    const Json* coordinates = nullptr;  // of the single part
    std::string type;                   // the geometry type as written
};

class CGeoJsonParse {
public:
    CGeoJsonParse(double tolerance, SImportNetwork& network) : m_net(network), m_grid(tolerance) {}

    SImportStatus Run(const Json& root);

private:
    void Classify(const Json& feature, std::size_t number);
    void ReadPoint(const SFeatureRef& ref);
    void ReadLine(const SFeatureRef& ref);
    void ReadPolygon(const SFeatureRef& ref);

    std::string FeatureName(const Json& feature, std::string& nameKey) const;
    ImportProperties Properties(const Json& feature, const std::string& nameKey) const;
    std::string UniqueName(CNameIndex& index, std::string name, std::size_t number, std::string_view kind);
    std::size_t NodeAt(const SImportPoint& point, const std::string& name);
    void Skip(const std::string& kind, std::size_t number, const std::string& why);
    void Warn(std::size_t number, const std::string& message) {
        m_net.report.AddWarning(0, "feature " + std::to_string(number) + ": " + message);
    }

    SImportNetwork& m_net;
    CSnapGrid m_grid;
    CNameIndex m_nodeNames{CNameIndex::EMatch::Exact};
    CNameIndex m_sectionNames{CNameIndex::EMatch::IgnoreCase};
    CNameIndex m_catchmentNames{CNameIndex::EMatch::Exact};
    std::vector<SFeatureRef> m_points;
    std::vector<SFeatureRef> m_lines;
    std::vector<SFeatureRef> m_polygons;
};

bool ReadPosition(const Json& json, SImportPoint& point) {
    if (!json.is_array() || json.size() < 2 || !json[0].is_number() || !json[1].is_number()) return false;
    const double x = json[0].get<double>();
    const double y = json[1].get<double>();
    if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kMaxCoordinate ||
        std::fabs(y) > kMaxCoordinate)
        return false;
    point = SImportPoint{x, y};
    return true;
}

bool ReadPositions(const Json& json, std::vector<SImportPoint>& points) {
    points.clear();
    if (!json.is_array()) return false;
    points.reserve(json.size());
    for (const Json& position : json) {
        SImportPoint point;
        if (!ReadPosition(position, point)) return false;
        points.push_back(point);
    }
    return true;
}

// Plane area of a ring (closed or open), m².
double RingArea(const std::vector<SImportPoint>& ring) {
    double twice = 0.0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const SImportPoint& a = ring[i];
        const SImportPoint& b = ring[(i + 1) % ring.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::fabs(twice) / 2.0;
}

// Drops the closing position of a ring; false when fewer than three positions remain.
bool OpenRing(std::vector<SImportPoint>& ring) {
    if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    return ring.size() >= 3;
}

SImportStatus CGeoJsonParse::Run(const Json& root) {
    if (!root.is_object())
        return {EImportError::NotGeoJson, "not GeoJSON: the top level is not an object", 0};
    const auto type = root.find("type");
    if (type == root.end() || !type->is_string())
        return {EImportError::NotGeoJson, "not GeoJSON: the top-level object has no \"type\"", 0};
    const std::string& typeName = type->get_ref<const std::string&>();
    if (typeName == "FeatureCollection") {
        const auto features = root.find("features");
        if (features == root.end() || !features->is_array())
            return {EImportError::NotGeoJson, "not GeoJSON: the FeatureCollection has no \"features\" array",
                    0};
        std::size_t number = 0;
        for (const Json& feature : *features) Classify(feature, ++number);
    } else if (typeName == "Feature") {
        Classify(root, 1);
    } else {
        return {EImportError::NotGeoJson,
                "not a GeoJSON FeatureCollection or Feature: the top-level type is " + Quote(typeName), 0};
    }
    // Nodes first, so that line ends snap to them wherever they stand in the collection.
    m_net.nodes.reserve(m_points.size() + 2 * m_lines.size());
    m_net.sections.reserve(m_lines.size());
    m_net.catchments.reserve(m_polygons.size());
    for (const SFeatureRef& ref : m_points) ReadPoint(ref);
    for (const SFeatureRef& ref : m_lines) ReadLine(ref);
    for (const SFeatureRef& ref : m_polygons) ReadPolygon(ref);
    return {};
}

void CGeoJsonParse::Skip(const std::string& kind, std::size_t number, const std::string& why) {
    ++m_net.report.skipped[kind];
    Warn(number, why + "; skipped");
}

void CGeoJsonParse::Classify(const Json& feature, std::size_t number) {
    if (!feature.is_object() || feature.value("type", Json()) != "Feature") {
        Skip("invalid feature", number, "not a GeoJSON Feature object");
        return;
    }
    const auto geometry = feature.find("geometry");
    if (geometry == feature.end() || geometry->is_null()) {
        Skip("no geometry", number, "the feature has no geometry");
        return;
    }
    if (!geometry->is_object() || !geometry->contains("type") || !(*geometry)["type"].is_string()) {
        Skip("invalid geometry", number, "the geometry has no type");
        return;
    }
    const std::string type = (*geometry)["type"].get<std::string>();
    const auto coordinates = geometry->find("coordinates");
    const bool known = type == "Point" || type == "MultiPoint" || type == "LineString" ||
                       type == "MultiLineString" || type == "Polygon" || type == "MultiPolygon";
    if (!known) {
        Skip(type, number, "geometry type " + Quote(type) + " is not imported");
        return;
    }
    if (coordinates == geometry->end() || !coordinates->is_array()) {
        Skip("invalid " + type, number, "the " + type + " has no coordinates array");
        return;
    }
    SFeatureRef ref{number, &feature, &*coordinates, type};
    const bool multi = type.rfind("Multi", 0) == 0;
    if (multi) {
        if (coordinates->size() != 1) {
            Skip(type, number,
                 "a " + type + " of " + std::to_string(coordinates->size()) +
                     " parts is not imported (only single parts are)");
            return;
        }
        ref.coordinates = &(*coordinates)[0];
    }
    if (type == "Point" || type == "MultiPoint")
        m_points.push_back(ref);
    else if (type == "LineString" || type == "MultiLineString")
        m_lines.push_back(ref);
    else
        m_polygons.push_back(ref);
}

std::string CGeoJsonParse::FeatureName(const Json& feature, std::string& nameKey) const {
    nameKey.clear();
    auto asName = [](const Json& value) -> std::string {
        if (value.is_string()) return value.get<std::string>();
        if (value.is_number_integer()) return value.dump();
        if (value.is_number()) return ImportText::FormatNumber(value.get<double>());
        return {};
    };
    const auto properties = feature.find("properties");
    if (properties != feature.end() && properties->is_object()) {
        std::string found;
        if (const auto it = properties->find("name"); it != properties->end()) {
            found = asName(*it);
            if (!found.empty()) nameKey = "name";
        } else {
            for (auto it = properties->begin(); it != properties->end(); ++it) {
                if (ImportText::EqualsIgnoreCase(it.key(), "name")) {
                    found = asName(it.value());
                    if (!found.empty()) {
                        nameKey = it.key();
                        break;
                    }
                }
            }
        }
        if (!found.empty()) return found;
    }
    if (const auto id = feature.find("id"); id != feature.end()) return asName(*id);
    return {};
}

ImportProperties CGeoJsonParse::Properties(const Json& feature, const std::string& nameKey) const {
    ImportProperties out;
    const auto properties = feature.find("properties");
    if (properties == feature.end() || !properties->is_object()) return out;
    for (auto it = properties->begin(); it != properties->end(); ++it) {
        if (!nameKey.empty() && it.key() == nameKey) continue;
        const Json& value = it.value();
        if (value.is_null()) continue;
        if (value.is_number()) {
            const double number = value.get<double>();
            if (std::isfinite(number)) out.emplace(it.key(), number);  // 1e999 is no value
        } else if (value.is_string())
            out.emplace(it.key(), value.get<std::string>());
        else if (value.is_boolean())
            out.emplace(it.key(), value.get<bool>() ? 1.0 : 0.0);
        else
            out.emplace(it.key(), value.dump());
    }
    return out;
}

std::string CGeoJsonParse::UniqueName(CNameIndex& index, std::string name, std::size_t number,
                                      std::string_view kind) {
    if (index.Find(name) == CNameIndex::npos) return name;
    for (std::size_t suffix = 2;; ++suffix) {
        std::string candidate = name + "_" + std::to_string(suffix);
        if (index.Find(candidate) == CNameIndex::npos) {
            Warn(number, "the " + std::string(kind) + " name " + Quote(name) + " is already used; renamed " +
                             Quote(candidate));
            return candidate;
        }
    }
}

void CGeoJsonParse::ReadPoint(const SFeatureRef& ref) {
    SImportPoint point;
    if (!ReadPosition(*ref.coordinates, point)) {
        Skip("invalid " + ref.type, ref.number, "malformed or out-of-range point coordinates");
        return;
    }
    std::string nameKey;
    std::string name = FeatureName(*ref.feature, nameKey);
    if (name.empty()) name = "N" + std::to_string(ref.number);
    SImportNode node;
    node.name = UniqueName(m_nodeNames, std::move(name), ref.number, "node");
    node.kind = EImportNodeKind::Point;
    node.position = point;
    node.properties = Properties(*ref.feature, nameKey);
    m_nodeNames.Add(node.name, m_net.nodes.size());
    m_grid.Add(point, m_net.nodes.size());
    m_net.nodes.push_back(std::move(node));
    ++m_net.report.imported[ref.type];
}

std::size_t CGeoJsonParse::NodeAt(const SImportPoint& point, const std::string& name) {
    const std::size_t nearest = m_grid.Nearest(point, m_net.nodes);
    if (nearest != CNameIndex::npos) return nearest;
    SImportNode node;
    node.name = name;
    for (std::size_t suffix = 2; m_nodeNames.Find(node.name) != CNameIndex::npos; ++suffix)
        node.name = name + "_" + std::to_string(suffix);
    node.kind = EImportNodeKind::Point;
    node.position = point;
    const std::size_t index = m_net.nodes.size();
    m_nodeNames.Add(node.name, index);
    m_grid.Add(point, index);
    m_net.nodes.push_back(std::move(node));
    ++m_net.report.imported["line-end node"];
    return index;
}

void CGeoJsonParse::ReadLine(const SFeatureRef& ref) {
    std::vector<SImportPoint> points;
    if (!ReadPositions(*ref.coordinates, points) || points.size() < 2) {
        Skip("invalid " + ref.type, ref.number, "a line needs at least two well-formed positions");
        return;
    }
    std::string nameKey;
    std::string name = FeatureName(*ref.feature, nameKey);
    if (name.empty()) name = "S" + std::to_string(ref.number);
    SImportSection section;
    section.name = UniqueName(m_sectionNames, std::move(name), ref.number, "section");
    section.properties = Properties(*ref.feature, nameKey);
    const std::size_t from = NodeAt(points.front(), section.name + "_A");
    const std::size_t to = NodeAt(points.back(), section.name + "_B");
    section.fromNode = m_net.nodes[from].name;
    section.toNode = m_net.nodes[to].name;
    if (from == to)
        Warn(ref.number, "section " + Quote(section.name) + " starts and ends at the same node " +
                             Quote(section.fromNode));
    section.vertices.assign(points.begin() + 1, points.end() - 1);
    m_sectionNames.Add(section.name, m_net.sections.size());
    m_net.sections.push_back(std::move(section));
    ++m_net.report.imported[ref.type];
}

void CGeoJsonParse::ReadPolygon(const SFeatureRef& ref) {
    const Json& rings = *ref.coordinates;
    std::vector<SImportPoint> outer;
    if (!rings.is_array() || rings.empty() || !ReadPositions(rings[0], outer) || !OpenRing(outer)) {
        Skip("invalid " + ref.type, ref.number,
             "a polygon needs an outer ring of at least three well-formed positions");
        return;
    }
    double area = RingArea(outer);
    std::vector<SImportPoint> hole;
    for (std::size_t i = 1; i < rings.size(); ++i) {
        if (!ReadPositions(rings[i], hole) || !OpenRing(hole)) {
            Skip("invalid " + ref.type, ref.number,
                 "hole " + std::to_string(i) + " of the polygon is malformed");
            return;
        }
        area -= RingArea(hole);
    }
    std::string nameKey;
    std::string name = FeatureName(*ref.feature, nameKey);
    if (name.empty()) name = "A" + std::to_string(ref.number);
    SImportCatchment catchment;
    catchment.name = UniqueName(m_catchmentNames, std::move(name), ref.number, "catchment area");
    if (rings.size() > 1)
        Warn(ref.number, "the holes of catchment area " + Quote(catchment.name) +
                             " are not kept in its outline (its area excludes them)");
    catchment.kind = kImportCatchmentTotal;
    catchment.polygon = std::move(outer);
    catchment.area = std::max(area, 0.0) / kSquareMetresPerHectare;
    catchment.properties = Properties(*ref.feature, nameKey);
    m_catchmentNames.Add(catchment.name, m_net.catchments.size());
    m_net.catchments.push_back(std::move(catchment));
    ++m_net.report.imported[ref.type];
}

}  // namespace

CGeoJsonReader::CGeoJsonReader(double snapTolerance) : m_snapTolerance(snapTolerance) {
    if (!std::isfinite(snapTolerance) || snapTolerance < 0.0)
        throw std::invalid_argument("CGeoJsonReader: the snap tolerance must be a finite number >= 0 m");
}

SImportStatus CGeoJsonReader::ReadFile(const std::filesystem::path& path, SImportNetwork& network) const {
    network = SImportNetwork{};
    std::string text;
    std::string error;
    if (!ImportText::ReadWholeFile(path, text, error)) return {EImportError::CannotOpen, error, 0};
    return ReadText(text, network);
}

SImportStatus CGeoJsonReader::ReadText(std::string_view bytes, SImportNetwork& network) const {
    network = SImportNetwork{};
    std::string text;
    std::size_t badLine = 0;
    if (!ImportText::DecodeText(bytes, m_encoding, text, badLine))
        return {EImportError::NotUtf8, "a byte on this line is not UTF-8 text", badLine};
    if (const std::size_t deep = ImportText::LineOfJsonDepthBeyond(text, ImportText::kMaxJsonDepth))
        return {EImportError::InvalidJson,
                "arrays and objects are nested deeper than " + std::to_string(ImportText::kMaxJsonDepth) +
                    " levels",
                deep};
    Json root;
    try {
        root = Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        const std::size_t at = std::min<std::size_t>(e.byte, text.size());
        const std::size_t line =
            1 + static_cast<std::size_t>(std::count(
                    text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at > 0 ? at - 1 : 0), '\n'));
        return {EImportError::InvalidJson, std::string("not valid JSON: ") + e.what(), line};
    } catch (const Json::exception& e) {
        return {EImportError::InvalidJson, std::string("not valid JSON: ") + e.what(), 0};
    }
    CGeoJsonParse parse(m_snapTolerance, network);
    SImportStatus status = parse.Run(root);
    if (!status.Ok()) network = SImportNetwork{};
    return status;
}

}  // namespace TAVGis::Store
