#pragma once
// The neutral in-memory model of an imported network: what the file readers (SWMM input files,
// GeoJSON) produce and what the drawing mapper consumes. It knows nothing of drawings, entities or
// attribute definitions.
//
// Conventions of the model:
// - All lengths, coordinates and levels are metres, areas hectares; the readers convert on the way in.
// - A value the source does not give (or gives in a form that cannot be read) is an empty optional,
//   never 0.
// - Names are UTF-8 strings compared as the readers document (SWMM: node names exactly, link names
//   without regard to letter case).
// - A section's geometry is its starting node, its interior vertices in order, its ending node; flow
//   runs from `fromNode` to `toNode`.
// - Every section's `fromNode` and `toNode` name a node of `nodes` exactly (the readers canonicalise
//   the spelling and drop, with a warning, sections whose nodes are unknown).
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace TAVGis::Store {

// A point of the drawing plane: x east, y north, metres.
struct SImportPoint {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const SImportPoint&) const = default;
};

// An extra property value: numbers stay numbers, texts stay texts.
using ImportValue = std::variant<double, std::string>;
// Extra properties by name, to be mapped onto attribute definitions by name later.
using ImportProperties = std::map<std::string, ImportValue, std::less<>>;

enum class EImportNodeKind { Junction, Outfall, Storage, Divider, Point };

// "junction", "outfall", "storage", "divider", "point".
const char* ImportNodeKindName(EImportNodeKind kind);

struct SImportNode {
    std::string name;
    EImportNodeKind kind = EImportNodeKind::Junction;
    std::optional<SImportPoint> position;   // m; empty when the source gives no coordinates
    std::optional<double> invertElevation;  // m
    std::optional<double> maxDepth;         // m, invert to ground
    std::optional<double> terrainHeight;    // m; invert + maximum depth when both are known
    ImportProperties properties;
};

struct SImportSection {
    std::string name;
    std::string fromNode;
    std::string toNode;
    std::vector<SImportPoint> vertices;  // interior vertices only, m
    std::optional<double> length;        // m
    std::optional<double> diameter;      // inner diameter of a circular profile, m (for PIPE_DIA_IN)
    std::optional<double> roughness;     // Manning n, s/m^(1/3)
    std::optional<double> levelStart;    // m, pipe invert level at fromNode
    std::optional<double> levelEnd;      // m, pipe invert level at toNode
    ImportProperties properties;
};

// What a catchment's `outlet` names.
enum class EImportOutletKind { None, Node, Catchment };

// Catchment kinds as the catchment-area manager numbers them.
constexpr int kImportCatchmentTotal = 1;  // total / rain
constexpr int kImportCatchmentHousehold = 2;
constexpr int kImportCatchmentIndustrial = 4;

struct SImportCatchment {
    std::string name;
    std::string outlet;  // node or catchment name, see outletKind
    EImportOutletKind outletKind = EImportOutletKind::None;
    std::string section;                      // linked section; see ResolveCatchmentSections
    std::optional<double> area;               // ha
    std::optional<double> runoffCoefficient;  // 0..1 (imperviousness)
    std::optional<double> inhabitantDensity;  // inhabitants/ha
    int kind = kImportCatchmentTotal;
    std::vector<SImportPoint> polygon;  // outer ring, m, open (last point != first point)
    ImportProperties properties;
};

struct SImportWarning {
    std::size_t line = 0;  // 1-based line of the source; 0 when no line applies
    std::string message;
};

struct SImportReport {
    // At most this many warnings are kept; `warningCount` counts all of them.
    static constexpr std::size_t kMaxStoredWarnings = 1000;

    // Elements imported, by element kind as the source names it ("[JUNCTIONS]", "LineString", ...).
    std::map<std::string, std::size_t> imported;
    // Elements or data lines not imported because the reader does not support them, by kind
    // ("[PUMPS]": 3, "MultiPolygon": 1).
    std::map<std::string, std::size_t> skipped;
    // Sections imported without a diameter because their cross-section shape is not circular, by shape.
    std::map<std::string, std::size_t> unsupportedShapes;
    std::vector<SImportWarning> warnings;
    std::size_t warningCount = 0;

    void AddWarning(std::size_t line, std::string message);
};

struct SImportNetwork {
    std::vector<SImportNode> nodes;
    std::vector<SImportSection> sections;
    std::vector<SImportCatchment> catchments;
    SImportReport report;
};

enum class EImportError {
    None,
    CannotOpen,    // the file cannot be opened or read
    NotSwmmInput,  // not an EPA SWMM 5 input file (binary, no section header, ...)
    InvalidJson,   // the text is not JSON
    NotGeoJson,    // JSON, but not a GeoJSON FeatureCollection or Feature
    NotUtf8,       // a byte of the text is not UTF-8 (and the file was not said to be in the code page)
};

// The result of a read: an expected failure is a status, not an exception.
struct SImportStatus {
    EImportError error = EImportError::None;
    std::string message;
    std::size_t line = 0;  // 1-based line where the reader gave up; 0 when none applies
    bool Ok() const { return error == EImportError::None; }
};

// Links every catchment whose `section` is empty to a section at its outlet node. A catchment whose
// outlet is another catchment follows that chain to its node (a cycle leaves it unlinked). At the
// node the rule is: the first section in model order that leaves the node (fromNode), else the first
// that enters it (toNode). Catchments with no outlet, an unknown outlet or a node without sections
// stay unlinked and get a warning in the report. Returns the number left unlinked.
std::size_t ResolveCatchmentSections(SImportNetwork& network);

}  // namespace TAVGis::Store
