#include "platform/store/SwmmReader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/store/ImportText.h"
#include "platform/store/NameIndex.h"

namespace TAVGis::Store {

namespace {

using ImportText::EqualsIgnoreCase;
using ImportText::ParseNumber;

constexpr double kFootToMetre = 0.3048;           // m per ft
constexpr double kAcreToHectare = 0.40468564224;  // ha per acre
constexpr double kPercentToFraction = 0.01;
constexpr double kLevelTolerance = 1.0e-9;  // m; a pipe level this far below the invert is not reported
constexpr std::size_t kMaxTokens = 12;      // fields kept per line; later fields are never read
constexpr double kPerMille = 1000.0;        // slope as a fraction -> SECTION_SLOPE (per mille)

// Shapes whose Geom2 is a width (top, bottom or largest, by shape), in metres like Geom1. The other
// shapes either have fixed proportions (EGG, HORSESHOE, ...), so the height says it all, or give
// something else in Geom2 (a sediment depth, a curve or transect name).
constexpr std::string_view kShapesWithWidth[] = {
    "RECT_CLOSED", "RECT_OPEN", "RECT_TRIANGULAR", "RECT_ROUND", "MODBASKETHANDLE", "TRAPEZOIDAL",
    "TRIANGULAR",  "PARABOLIC", "POWER",           "ARCH",       "HORIZ_ELLIPSE",   "VERT_ELLIPSE",
};

bool HasWidth(std::string_view shape) {
    return std::find(std::begin(kShapesWithWidth), std::end(kShapesWithWidth), shape) !=
           std::end(kShapesWithWidth);
}

enum class ESection {
    Unknown,
    Options,
    Map,
    Junctions,
    Outfalls,
    Storage,
    Dividers,
    Conduits,
    XSections,
    Coordinates,
    Vertices,
    Subcatchments,
    Polygons,
    OtherLinks,  // links the reader does not import; their names are remembered so that their
                 // cross-sections and vertices are not reported as dangling
    Skipped,     // known sections the reader does not import
};

struct SSectionName {
    std::string_view name;
    ESection kind;
};

constexpr SSectionName kSectionNames[] = {
    {"TITLE", ESection::Skipped},
    {"OPTIONS", ESection::Options},
    {"REPORT", ESection::Skipped},
    {"FILES", ESection::Skipped},
    {"RAINGAGES", ESection::Skipped},
    {"EVAPORATION", ESection::Skipped},
    {"TEMPERATURE", ESection::Skipped},
    {"ADJUSTMENTS", ESection::Skipped},
    {"SUBCATCHMENTS", ESection::Subcatchments},
    {"SUBAREAS", ESection::Skipped},
    {"INFILTRATION", ESection::Skipped},
    {"LID_CONTROLS", ESection::Skipped},
    {"LID_USAGE", ESection::Skipped},
    {"AQUIFERS", ESection::Skipped},
    {"GROUNDWATER", ESection::Skipped},
    {"GWF", ESection::Skipped},
    {"SNOWPACKS", ESection::Skipped},
    {"JUNCTIONS", ESection::Junctions},
    {"OUTFALLS", ESection::Outfalls},
    {"DIVIDERS", ESection::Dividers},
    {"STORAGE", ESection::Storage},
    {"CONDUITS", ESection::Conduits},
    {"PUMPS", ESection::OtherLinks},
    {"ORIFICES", ESection::OtherLinks},
    {"WEIRS", ESection::OtherLinks},
    {"OUTLETS", ESection::OtherLinks},
    {"XSECTIONS", ESection::XSections},
    {"TRANSECTS", ESection::Skipped},
    {"STREETS", ESection::Skipped},
    {"INLETS", ESection::Skipped},
    {"INLET_USAGE", ESection::Skipped},
    {"LOSSES", ESection::Skipped},
    {"CONTROLS", ESection::Skipped},
    {"POLLUTANTS", ESection::Skipped},
    {"LANDUSES", ESection::Skipped},
    {"COVERAGES", ESection::Skipped},
    {"LOADINGS", ESection::Skipped},
    {"BUILDUP", ESection::Skipped},
    {"WASHOFF", ESection::Skipped},
    {"TREATMENT", ESection::Skipped},
    {"INFLOWS", ESection::Skipped},
    {"DWF", ESection::Skipped},
    {"RDII", ESection::Skipped},
    {"HYDROGRAPHS", ESection::Skipped},
    {"CURVES", ESection::Skipped},
    {"TIMESERIES", ESection::Skipped},
    {"PATTERNS", ESection::Skipped},
    {"MAP", ESection::Map},
    {"COORDINATES", ESection::Coordinates},
    {"VERTICES", ESection::Vertices},
    {"POLYGONS", ESection::Polygons},
    {"SYMBOLS", ESection::Skipped},
    {"LABELS", ESection::Skipped},
    {"BACKDROP", ESection::Skipped},
    {"TAGS", ESection::Skipped},
    {"PROFILES", ESection::Skipped},
    {"EVENTS", ESection::Skipped},
};

ESection SectionKind(std::string_view upperName) {
    for (const SSectionName& entry : kSectionNames) {
        if (entry.name == upperName) return entry.kind;
    }
    return ESection::Unknown;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

std::string_view TrimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) --n;
    return text.substr(0, n);
}

// Walks the text line by line; lines end in LF, a CR before it is dropped by the callers' trimming.
class CLineCursor {
public:
    explicit CLineCursor(std::string_view text) : m_text(text) {}

    bool Next(std::string_view& line) {
        if (m_pos >= m_text.size()) return false;
        const char* begin = m_text.data() + m_pos;
        const auto* newline = static_cast<const char*>(std::memchr(begin, '\n', m_text.size() - m_pos));
        const std::size_t length =
            newline ? static_cast<std::size_t>(newline - begin) : m_text.size() - m_pos;
        line = std::string_view(begin, length);
        m_pos += length + 1;
        ++m_lineNumber;
        return true;
    }

    std::size_t LineNumber() const { return m_lineNumber; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::size_t m_lineNumber = 0;
};

// The fields of one data line: blank-separated, ";" outside quotes ends the line, "..." is one field
// (without its quotes) that may hold blanks.
struct STokens {
    std::array<std::string_view, kMaxTokens> items{};
    std::size_t count = 0;  // all fields, may exceed kMaxTokens
    bool openQuote = false;

    std::string_view operator[](std::size_t i) const {
        return i < kMaxTokens && i < count ? items[i] : std::string_view{};
    }
    bool Has(std::size_t i) const { return i < count; }
};

void Tokenize(std::string_view line, STokens& tokens) {
    tokens.count = 0;
    tokens.openQuote = false;
    const std::size_t n = line.size();
    std::size_t i = 0;
    while (i < n) {
        const char c = line[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (c == ';') break;
        std::size_t start = i;
        std::size_t end = 0;
        if (c == '"') {
            start = i + 1;
            const std::size_t close = line.find('"', start);
            if (close == std::string_view::npos) {
                tokens.openQuote = true;
                end = n;
                i = n;
            } else {
                end = close;
                i = close + 1;
            }
        } else {
            while (i < n && !IsBlank(line[i]) && line[i] != ';') ++i;
            end = i;
        }
        if (tokens.count < kMaxTokens) tokens.items[tokens.count] = line.substr(start, end - start);
        ++tokens.count;
    }
}

// Recognises "[NAME]" (after leading blanks, before a comment); gives the upper-case NAME.
enum class EHeader { NotHeader, Header, Malformed };

EHeader ParseHeader(std::string_view line, std::string& upperName) {
    const std::string_view text = TrimLeft(line);
    if (text.empty() || text.front() != '[') return EHeader::NotHeader;
    const std::size_t close = text.find(']');
    const std::size_t comment = text.find(';');
    if (close == std::string_view::npos || (comment != std::string_view::npos && comment < close)) {
        upperName = ImportText::ToUpperAscii(TrimRight(text.substr(1, std::min(comment, text.size()) - 1)));
        return EHeader::Malformed;
    }
    upperName = ImportText::ToUpperAscii(TrimRight(TrimLeft(text.substr(1, close - 1))));
    return EHeader::Header;
}

bool IsMeaningful(std::string_view line) {
    const std::string_view text = TrimLeft(line);
    return !text.empty() && text.front() != ';';
}

using ImportText::Quote;

struct SConduitRef {
    std::size_t line = 0;
    std::string_view from;
    std::string_view to;
    std::size_t fromIndex = 0;  // node positions, set when the nodes are resolved
    std::size_t toIndex = 0;
    std::optional<double> offsetStart;  // m; depth above the invert or an elevation, per link offsets
    std::optional<double> offsetEnd;
    bool startAtInvert = false;  // "*" in elevation form
    bool endAtInvert = false;
    bool dropped = false;
};

struct SXSectionRef {
    std::size_t line = 0;
    std::string_view link;
    std::string shape;            // upper case
    std::optional<double> geom1;  // m
    std::optional<double> geom2;  // m, only for the shapes of kShapesWithWidth
    std::optional<double> barrels;
};

struct SPointRef {
    std::size_t line = 0;
    std::string_view name;
    SImportPoint point;  // m
};

struct SOutletRef {
    std::size_t line = 0;
    std::string_view outlet;
};

// One read: the state shared by the passes over the text.
class CSwmmParse {
public:
    CSwmmParse(std::string_view text, SImportNetwork& network) : m_text(text), m_net(network) {}

    SImportStatus Run();

private:
    SImportStatus ScanStructureAndOptions();
    void ReadOption(const STokens& tokens, std::size_t line);
    void ReadMapOption(const STokens& tokens, std::size_t line);
    void ReadElements();
    void ReadLine(ESection section, const STokens& tokens, std::size_t line);
    void Finish();

    void ReadJunction(const STokens& t, std::size_t line);
    void ReadOutfall(const STokens& t, std::size_t line);
    void ReadStorage(const STokens& t, std::size_t line);
    void ReadDivider(const STokens& t, std::size_t line);
    void ReadConduit(const STokens& t, std::size_t line);
    void ReadXSection(const STokens& t, std::size_t line);
    void ReadSubcatchment(const STokens& t, std::size_t line);
    void ReadPoint(const STokens& t, std::size_t line, std::vector<SPointRef>& into);

    bool NeedFields(const STokens& t, std::size_t minimum, std::size_t line, std::string_view what);
    std::optional<double> Number(const STokens& t, std::size_t index, std::size_t line,
                                 std::string_view element, std::string_view field);
    std::optional<double> NonNegative(std::optional<double> value, std::size_t line, std::string_view element,
                                      std::string_view field);
    std::optional<double> Positive(std::optional<double> value, std::size_t line, std::string_view element,
                                   std::string_view field);
    std::optional<double> Scaled(std::optional<double> value, double factor) const {
        return value ? std::optional<double>(*value * factor) : std::nullopt;
    }
    void SetNodeDepths(SImportNode& node, std::optional<double> maxDepth, std::size_t line);
    void AddNode(SImportNode&& node, std::size_t line);
    void Warn(std::size_t line, std::string message) { m_net.report.AddWarning(line, std::move(message)); }
    std::string Element(std::string_view name) const { return m_sectionLabel + " " + Quote(name); }

    void ApplyConduitNodes();
    void ApplyXSections();
    void ApplyVertices();
    void ApplyCoordinates();
    void ApplyLevels();
    void ApplyOutlets();
    void ApplyPolygons();
    void CountImported();

    std::string_view m_text;
    SImportNetwork& m_net;

    // Options.
    bool m_usUnits = true;  // SWMM's default flow unit is CFS
    bool m_flowUnitsGiven = false;
    bool m_elevationOffsets = false;  // LINK_OFFSETS ELEVATION
    double m_lengthFactor = kFootToMetre;
    double m_areaFactor = kAcreToHectare;
    double m_mapFactor = 1.0;

    std::string m_sectionLabel;  // "[CONDUITS]" while reading that section

    CNameIndex m_nodes{CNameIndex::EMatch::Exact};
    CNameIndex m_links{CNameIndex::EMatch::IgnoreCase};
    CNameIndex m_otherLinks{CNameIndex::EMatch::IgnoreCase};
    CNameIndex m_catchments{CNameIndex::EMatch::Exact};

    std::vector<SConduitRef> m_conduits;  // parallel to m_net.sections
    std::vector<SOutletRef> m_outlets;    // parallel to m_net.catchments
    std::vector<SXSectionRef> m_xsections;
    std::vector<SPointRef> m_coordinates;
    std::vector<SPointRef> m_vertices;
    std::vector<SPointRef> m_polygons;

    // Data lines per section kind, counted by the first pass to size the containers.
    std::array<std::size_t, static_cast<std::size_t>(ESection::Skipped) + 1> m_dataLines{};
    std::size_t DataLines(ESection section) const { return m_dataLines[static_cast<std::size_t>(section)]; }
};

SImportStatus CSwmmParse::Run() {
    SImportStatus status = ScanStructureAndOptions();
    if (!status.Ok()) return status;
    m_lengthFactor = m_usUnits ? kFootToMetre : 1.0;
    m_areaFactor = m_usUnits ? kAcreToHectare : 1.0;
    if (!m_flowUnitsGiven) Warn(0, "no [OPTIONS] FLOW_UNITS: US units (feet, acres) assumed, as SWMM does");
    ReadElements();
    Finish();
    return status;
}

// First pass: decides whether the text is an input file at all and reads [OPTIONS] and [MAP], so that
// units are known before any element is read, wherever those sections stand.
SImportStatus CSwmmParse::ScanStructureAndOptions() {
    if (const std::size_t nul = m_text.find('\0'); nul != std::string_view::npos) {
        const std::size_t line =
            1 + static_cast<std::size_t>(std::count(m_text.begin(), m_text.begin() + nul, '\n'));
        return {EImportError::NotSwmmInput, "not a SWMM input file: binary data (NUL byte)", line};
    }
    CLineCursor cursor(m_text);
    std::string_view line;
    std::string header;
    bool sawHeader = false;
    ESection section = ESection::Unknown;
    STokens tokens;
    while (cursor.Next(line)) {
        if (!IsMeaningful(line)) continue;
        const EHeader kind = ParseHeader(line, header);
        if (kind != EHeader::NotHeader) {
            section = kind == EHeader::Header ? SectionKind(header) : ESection::Unknown;
            if (!sawHeader && kind == EHeader::Malformed) {
                return {EImportError::NotSwmmInput, "not a SWMM input file: malformed section header",
                        cursor.LineNumber()};
            }
            if (!sawHeader && section == ESection::Unknown) {
                return {EImportError::NotSwmmInput,
                        "not a SWMM input file: \"[" + header + "]\" is not a SWMM section",
                        cursor.LineNumber()};
            }
            sawHeader = true;
            continue;
        }
        if (!sawHeader) {
            return {EImportError::NotSwmmInput, "not a SWMM input file: data before the first section header",
                    cursor.LineNumber()};
        }
        ++m_dataLines[static_cast<std::size_t>(section)];
        if (section == ESection::Options || section == ESection::Map) {
            Tokenize(line, tokens);
            if (tokens.count == 0) continue;
            if (section == ESection::Options)
                ReadOption(tokens, cursor.LineNumber());
            else
                ReadMapOption(tokens, cursor.LineNumber());
        }
    }
    if (!sawHeader) return {EImportError::NotSwmmInput, "not a SWMM input file: no section header", 0};
    return {};
}

void CSwmmParse::ReadOption(const STokens& t, std::size_t line) {
    if (EqualsIgnoreCase(t[0], "FLOW_UNITS")) {
        m_flowUnitsGiven = true;
        const std::string unit = ImportText::ToUpperAscii(t[1]);
        if (unit == "CFS" || unit == "GPM" || unit == "MGD") {
            m_usUnits = true;
        } else if (unit == "CMS" || unit == "LPS" || unit == "MLD") {
            m_usUnits = false;
        } else {
            Warn(line, "[OPTIONS] FLOW_UNITS " + Quote(t[1]) + " is not a SWMM flow unit; kept " +
                           (m_usUnits ? "US units (feet, acres)" : "SI units (metres, hectares)"));
        }
    } else if (EqualsIgnoreCase(t[0], "LINK_OFFSETS")) {
        if (EqualsIgnoreCase(t[1], "DEPTH")) {
            m_elevationOffsets = false;
        } else if (EqualsIgnoreCase(t[1], "ELEVATION")) {
            m_elevationOffsets = true;
        } else {
            Warn(line, "[OPTIONS] LINK_OFFSETS " + Quote(t[1]) + " is neither DEPTH nor ELEVATION; kept " +
                           (m_elevationOffsets ? "ELEVATION" : "DEPTH"));
        }
    }
}

void CSwmmParse::ReadMapOption(const STokens& t, std::size_t line) {
    if (!EqualsIgnoreCase(t[0], "UNITS")) return;
    if (EqualsIgnoreCase(t[1], "FEET")) {
        m_mapFactor = kFootToMetre;
    } else if (EqualsIgnoreCase(t[1], "METERS") || EqualsIgnoreCase(t[1], "NONE")) {
        m_mapFactor = 1.0;
    } else if (EqualsIgnoreCase(t[1], "DEGREES")) {
        m_mapFactor = 1.0;
        Warn(line, "[MAP] UNITS DEGREES: coordinates are taken as they stand, not projected to metres");
    } else {
        Warn(line, "[MAP] UNITS " + Quote(t[1]) + " is not a SWMM map unit; coordinates taken as they stand");
    }
}

void CSwmmParse::ReadElements() {
    const std::size_t nodes = DataLines(ESection::Junctions) + DataLines(ESection::Outfalls) +
                              DataLines(ESection::Storage) + DataLines(ESection::Dividers);
    m_nodes.Reserve(nodes);
    m_net.nodes.reserve(nodes);
    m_links.Reserve(DataLines(ESection::Conduits));
    m_net.sections.reserve(DataLines(ESection::Conduits));
    m_conduits.reserve(DataLines(ESection::Conduits));
    m_xsections.reserve(DataLines(ESection::XSections));
    m_coordinates.reserve(DataLines(ESection::Coordinates));
    m_vertices.reserve(DataLines(ESection::Vertices));
    m_catchments.Reserve(DataLines(ESection::Subcatchments));
    m_net.catchments.reserve(DataLines(ESection::Subcatchments));
    m_outlets.reserve(DataLines(ESection::Subcatchments));
    m_polygons.reserve(DataLines(ESection::Polygons));

    CLineCursor cursor(m_text);
    std::string_view line;
    std::string header;
    ESection section = ESection::Unknown;
    STokens tokens;
    while (cursor.Next(line)) {
        if (!IsMeaningful(line)) continue;
        const std::size_t lineNumber = cursor.LineNumber();
        const EHeader kind = ParseHeader(line, header);
        if (kind == EHeader::Malformed) {
            section = ESection::Unknown;
            m_sectionLabel = "[" + header;
            Warn(lineNumber,
                 "malformed section header " + Quote(TrimRight(TrimLeft(line))) + "; its lines are skipped");
            continue;
        }
        if (kind == EHeader::Header) {
            section = SectionKind(header);
            m_sectionLabel = "[" + header + "]";
            if (section == ESection::Unknown)
                Warn(lineNumber, "unknown section " + m_sectionLabel + "; its lines are skipped");
            continue;
        }
        switch (section) {
            case ESection::Options:
            case ESection::Map:
                break;  // read by the first pass
            case ESection::Unknown:
            case ESection::Skipped:
                ++m_net.report.skipped[m_sectionLabel];
                break;
            default:
                Tokenize(line, tokens);
                if (tokens.count == 0) break;  // a line holding only a quote-less comment or blanks
                if (tokens.openQuote)
                    Warn(lineNumber,
                         m_sectionLabel +
                             ": a double quote is not closed; the name runs to the end of the line");
                ReadLine(section, tokens, lineNumber);
                break;
        }
    }
}

void CSwmmParse::ReadLine(ESection section, const STokens& t, std::size_t line) {
    switch (section) {
        case ESection::Junctions:
            ReadJunction(t, line);
            break;
        case ESection::Outfalls:
            ReadOutfall(t, line);
            break;
        case ESection::Storage:
            ReadStorage(t, line);
            break;
        case ESection::Dividers:
            ReadDivider(t, line);
            break;
        case ESection::Conduits:
            ReadConduit(t, line);
            break;
        case ESection::XSections:
            ReadXSection(t, line);
            break;
        case ESection::Subcatchments:
            ReadSubcatchment(t, line);
            break;
        case ESection::Coordinates:
            ReadPoint(t, line, m_coordinates);
            break;
        case ESection::Vertices:
            ReadPoint(t, line, m_vertices);
            break;
        case ESection::Polygons:
            ReadPoint(t, line, m_polygons);
            break;
        case ESection::OtherLinks:
            ++m_net.report.skipped[m_sectionLabel];
            if (!t[0].empty()) m_otherLinks.Add(t[0], 0);
            break;
        default:
            break;
    }
}

bool CSwmmParse::NeedFields(const STokens& t, std::size_t minimum, std::size_t line, std::string_view what) {
    if (t.count >= minimum && !t[0].empty()) return true;
    if (t[0].empty())
        Warn(line, m_sectionLabel + ": empty name; line skipped");
    else
        Warn(line, Element(t[0]) + ": " + std::to_string(minimum) + " fields expected (" + std::string(what) +
                       "), found " + std::to_string(t.count) + "; line skipped");
    return false;
}

std::optional<double> CSwmmParse::Number(const STokens& t, std::size_t index, std::size_t line,
                                         std::string_view element, std::string_view field) {
    if (!t.Has(index)) return std::nullopt;
    std::optional<double> value = ParseNumber(t[index]);
    if (!value)
        Warn(line, Element(element) + ": " + std::string(field) + " " + Quote(t[index]) + " is not a number");
    return value;
}

std::optional<double> CSwmmParse::NonNegative(std::optional<double> value, std::size_t line,
                                              std::string_view element, std::string_view field) {
    if (value && *value < 0.0) {
        Warn(line, Element(element) + ": " + std::string(field) + " " + ImportText::FormatNumber(*value) +
                       " is negative; left empty");
        return std::nullopt;
    }
    return value;
}

std::optional<double> CSwmmParse::Positive(std::optional<double> value, std::size_t line,
                                           std::string_view element, std::string_view field) {
    if (value && *value <= 0.0) {
        Warn(line, Element(element) + ": " + std::string(field) + " " + ImportText::FormatNumber(*value) +
                       " is not positive; left empty");
        return std::nullopt;
    }
    return value;
}

void CSwmmParse::SetNodeDepths(SImportNode& node, std::optional<double> maxDepth, std::size_t line) {
    maxDepth = NonNegative(maxDepth, line, node.name, "maximum depth");
    // A maximum depth of 0 means "not given" in SWMM.
    if (maxDepth && *maxDepth > 0.0) node.maxDepth = *maxDepth * m_lengthFactor;
    if (node.invertElevation && node.maxDepth) node.terrainHeight = *node.invertElevation + *node.maxDepth;
}

void CSwmmParse::AddNode(SImportNode&& node, std::size_t line) {
    if (!m_nodes.Add(node.name, m_net.nodes.size())) {
        Warn(line, Element(node.name) + ": a node of this name is already defined; line skipped");
        return;
    }
    m_net.nodes.push_back(std::move(node));
}

// Name Elevation [MaxDepth InitDepth SurDepth PondedArea]
void CSwmmParse::ReadJunction(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 2, line, "name, invert elevation")) return;
    SImportNode node;
    node.name = std::string(t[0]);
    node.kind = EImportNodeKind::Junction;
    node.invertElevation = Scaled(Number(t, 1, line, t[0], "invert elevation"), m_lengthFactor);
    SetNodeDepths(node, Number(t, 2, line, t[0], "maximum depth"), line);
    AddNode(std::move(node), line);
}

// Name Elevation Type [StageData] [Gated] [RouteTo]
void CSwmmParse::ReadOutfall(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 3, line, "name, invert elevation, type")) return;
    SImportNode node;
    node.name = std::string(t[0]);
    node.kind = EImportNodeKind::Outfall;
    node.invertElevation = Scaled(Number(t, 1, line, t[0], "invert elevation"), m_lengthFactor);
    node.properties.emplace("SWMM_OUTFALL_TYPE", ImportText::ToUpperAscii(t[2]));
    AddNode(std::move(node), line);
}

// Name Elevation MaxDepth InitDepth Shape ...
void CSwmmParse::ReadStorage(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 5, line, "name, invert elevation, maximum depth, initial depth, shape")) return;
    SImportNode node;
    node.name = std::string(t[0]);
    node.kind = EImportNodeKind::Storage;
    node.invertElevation = Scaled(Number(t, 1, line, t[0], "invert elevation"), m_lengthFactor);
    SetNodeDepths(node, Number(t, 2, line, t[0], "maximum depth"), line);
    node.properties.emplace("SWMM_STORAGE_SHAPE", ImportText::ToUpperAscii(t[4]));
    AddNode(std::move(node), line);
}

// Name Elevation DivertedLink Type Parameters... [MaxDepth InitDepth SurDepth PondedArea]
void CSwmmParse::ReadDivider(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 4, line, "name, invert elevation, diverted link, type")) return;
    SImportNode node;
    node.name = std::string(t[0]);
    node.kind = EImportNodeKind::Divider;
    node.invertElevation = Scaled(Number(t, 1, line, t[0], "invert elevation"), m_lengthFactor);
    const std::string type = ImportText::ToUpperAscii(t[3]);
    node.properties.emplace("SWMM_DIVERTED_LINK", std::string(t[2]));
    node.properties.emplace("SWMM_DIVIDER_TYPE", type);
    // The maximum depth follows the type's parameters.
    std::size_t depthField = 0;
    if (type == "OVERFLOW")
        depthField = 4;
    else if (type == "CUTOFF" || type == "TABULAR")
        depthField = 5;
    else if (type == "WEIR")
        depthField = 7;
    else
        Warn(line, Element(t[0]) + ": divider type " + Quote(t[3]) + " is unknown; maximum depth not read");
    if (depthField != 0) SetNodeDepths(node, Number(t, depthField, line, t[0], "maximum depth"), line);
    AddNode(std::move(node), line);
}

// Name FromNode ToNode Length Roughness InOffset OutOffset [InitFlow MaxFlow]
void CSwmmParse::ReadConduit(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 7, line, "name, from node, to node, length, roughness, offsets")) return;
    if (!m_links.Add(t[0], m_net.sections.size())) {
        Warn(line, Element(t[0]) +
                       ": a conduit of this name (letter case ignored) is already defined; line skipped");
        return;
    }
    SImportSection section;
    section.name = std::string(t[0]);
    section.length =
        Scaled(Positive(Number(t, 3, line, t[0], "length"), line, t[0], "length"), m_lengthFactor);
    section.roughness = Positive(Number(t, 4, line, t[0], "roughness"), line, t[0], "roughness");

    SConduitRef ref;
    ref.line = line;
    ref.from = t[1];
    ref.to = t[2];
    auto offset = [&](std::size_t index, std::string_view field, bool& atInvert) -> std::optional<double> {
        if (m_elevationOffsets && t[index] == "*") {
            atInvert = true;
            return std::nullopt;
        }
        std::optional<double> value = Number(t, index, line, t[0], field);
        if (!m_elevationOffsets) value = NonNegative(value, line, t[0], field);
        return Scaled(value, m_lengthFactor);
    };
    ref.offsetStart = offset(5, "inlet offset", ref.startAtInvert);
    ref.offsetEnd = offset(6, "outlet offset", ref.endAtInvert);
    m_net.sections.push_back(std::move(section));
    m_conduits.push_back(ref);
}

// Link Shape Geom1 [Geom2 Geom3 Geom4 Barrels Culvert]   (IRREGULAR, CUSTOM, STREET take names)
void CSwmmParse::ReadXSection(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 2, line, "link, shape")) return;
    SXSectionRef ref;
    ref.line = line;
    ref.link = t[0];
    ref.shape = ImportText::ToUpperAscii(t[1]);
    const bool namedGeometry = ref.shape == "IRREGULAR" || ref.shape == "STREET";
    if (!namedGeometry) {
        ref.geom1 = Scaled(Positive(Number(t, 2, line, t[0], "Geom1"), line, t[0], "Geom1"), m_lengthFactor);
        if (HasWidth(ref.shape))
            ref.geom2 =
                Scaled(Positive(Number(t, 3, line, t[0], "Geom2"), line, t[0], "Geom2"), m_lengthFactor);
        if (ref.shape != "CUSTOM") ref.barrels = Number(t, 6, line, t[0], "barrels");
    }
    m_xsections.push_back(std::move(ref));
}

// Name RainGage Outlet Area %Imperv [Width %Slope CurbLength SnowPack]
void CSwmmParse::ReadSubcatchment(const STokens& t, std::size_t line) {
    if (!NeedFields(t, 5, line, "name, rain gage, outlet, area, imperviousness")) return;
    if (!m_catchments.Add(t[0], m_net.catchments.size())) {
        Warn(line, Element(t[0]) + ": a subcatchment of this name is already defined; line skipped");
        return;
    }
    SImportCatchment catchment;
    catchment.name = std::string(t[0]);
    catchment.kind = kImportCatchmentTotal;
    catchment.area = Scaled(NonNegative(Number(t, 3, line, t[0], "area"), line, t[0], "area"), m_areaFactor);
    std::optional<double> imperv = Number(t, 4, line, t[0], "imperviousness");
    if (imperv && (*imperv < 0.0 || *imperv > 100.0)) {
        Warn(line, Element(t[0]) + ": imperviousness " + ImportText::FormatNumber(*imperv) +
                       " % is outside 0..100; left empty");
        imperv.reset();
    }
    if (imperv) catchment.runoffCoefficient = *imperv * kPercentToFraction;
    catchment.properties.emplace("SWMM_RAINGAGE", std::string(t[1]));
    if (auto width = NonNegative(Number(t, 5, line, t[0], "width"), line, t[0], "width"))
        catchment.properties.emplace("SWMM_WIDTH", *width * m_lengthFactor);
    if (auto slope = Number(t, 6, line, t[0], "slope")) catchment.properties.emplace("SWMM_SLOPE", *slope);
    if (auto curb = NonNegative(Number(t, 7, line, t[0], "curb length"), line, t[0], "curb length"))
        catchment.properties.emplace("SWMM_CURB_LENGTH", *curb * m_lengthFactor);
    m_net.catchments.push_back(std::move(catchment));
    m_outlets.push_back(SOutletRef{line, t[2]});
}

// Name X Y   ([COORDINATES], [VERTICES], [POLYGONS])
void CSwmmParse::ReadPoint(const STokens& t, std::size_t line, std::vector<SPointRef>& into) {
    if (!NeedFields(t, 3, line, "name, X, Y")) return;
    const std::optional<double> x = Number(t, 1, line, t[0], "X");
    const std::optional<double> y = Number(t, 2, line, t[0], "Y");
    if (!x || !y) return;  // warned; a point with one coordinate is no point
    into.push_back(SPointRef{line, t[0], SImportPoint{*x * m_mapFactor, *y * m_mapFactor}});
}

void CSwmmParse::Finish() {
    ApplyConduitNodes();
    ApplyXSections();
    ApplyVertices();
    ApplyCoordinates();
    ApplyLevels();
    ApplyOutlets();
    ApplyPolygons();

    // Drop the conduits whose nodes are unknown (warned in ApplyConduitNodes).
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_net.sections.size(); ++i) {
        if (m_conduits[i].dropped) continue;
        if (kept != i) m_net.sections[kept] = std::move(m_net.sections[i]);
        ++kept;
    }
    m_net.sections.resize(kept);
    CountImported();

    // Warnings in line order; the summaries without a line come last.
    std::stable_sort(
        m_net.report.warnings.begin(), m_net.report.warnings.end(),
        [](const SImportWarning& a, const SImportWarning& b) {
            const std::size_t la = a.line == 0 ? std::numeric_limits<std::size_t>::max() : a.line;
            const std::size_t lb = b.line == 0 ? std::numeric_limits<std::size_t>::max() : b.line;
            return la < lb;
        });
}

void CSwmmParse::ApplyConduitNodes() {
    for (std::size_t i = 0; i < m_net.sections.size(); ++i) {
        SConduitRef& ref = m_conduits[i];
        SImportSection& section = m_net.sections[i];
        const std::size_t from = m_nodes.FindLenient(ref.from);
        const std::size_t to = m_nodes.FindLenient(ref.to);
        if (from == CNameIndex::npos || to == CNameIndex::npos) {
            const std::string_view missing = from == CNameIndex::npos ? ref.from : ref.to;
            Warn(ref.line, "[CONDUITS] " + Quote(section.name) + ": node " + Quote(missing) +
                               " is not defined; conduit skipped");
            ref.dropped = true;
            continue;
        }
        ref.fromIndex = from;
        ref.toIndex = to;
        section.fromNode = m_net.nodes[from].name;
        section.toNode = m_net.nodes[to].name;
        if (from == to)
            Warn(ref.line, "[CONDUITS] " + Quote(section.name) + ": starts and ends at the same node " +
                               Quote(section.fromNode));
    }
}

void CSwmmParse::ApplyXSections() {
    std::vector<bool> seen(m_net.sections.size(), false);
    for (const SXSectionRef& ref : m_xsections) {
        const std::size_t index = m_links.Find(ref.link);
        if (index == CNameIndex::npos) {
            if (m_otherLinks.Find(ref.link) == CNameIndex::npos)
                Warn(ref.line, "[XSECTIONS] " + Quote(ref.link) + ": no conduit of this name; line skipped");
            continue;
        }
        SImportSection& section = m_net.sections[index];
        if (seen[index]) {
            Warn(ref.line, "[XSECTIONS] " + Quote(ref.link) +
                               ": a second cross-section for this conduit; it replaces the first");
            section.diameter.reset();
            for (const char* key : {"PIPE_SHAPE", "PIPE_HEIGHT", "PIPE_WIDTH", "SWMM_BARRELS"})
                section.properties.erase(key);
        }
        seen[index] = true;
        if (ref.shape == "CIRCULAR" || ref.shape == "FORCE_MAIN") {
            section.diameter = ref.geom1;
        } else {
            ++m_net.report.unsupportedShapes[ref.shape];
            section.properties.insert_or_assign("PIPE_SHAPE", ref.shape);
            if (ref.geom1) section.properties.insert_or_assign("PIPE_HEIGHT", *ref.geom1);
            if (ref.geom2) section.properties.insert_or_assign("PIPE_WIDTH", *ref.geom2);
        }
        if (ref.barrels && *ref.barrels > 1.0)
            section.properties.insert_or_assign("SWMM_BARRELS", *ref.barrels);
    }
    std::size_t missing = 0;
    for (std::size_t i = 0; i < seen.size(); ++i) {
        if (!seen[i] && !m_conduits[i].dropped) ++missing;
    }
    if (missing > 0)
        Warn(0, std::to_string(missing) + " conduit(s) have no [XSECTIONS] entry and no diameter");
}

void CSwmmParse::ApplyVertices() {
    for (const SPointRef& ref : m_vertices) {
        const std::size_t index = m_links.Find(ref.name);
        if (index == CNameIndex::npos) {
            if (m_otherLinks.Find(ref.name) == CNameIndex::npos)
                Warn(ref.line, "[VERTICES] " + Quote(ref.name) + ": no conduit of this name; line skipped");
            continue;
        }
        m_net.sections[index].vertices.push_back(ref.point);
    }
}

void CSwmmParse::ApplyCoordinates() {
    for (const SPointRef& ref : m_coordinates) {
        const std::size_t index = m_nodes.FindLenient(ref.name);
        if (index == CNameIndex::npos) {
            Warn(ref.line, "[COORDINATES] " + Quote(ref.name) + ": no node of this name; line skipped");
            continue;
        }
        SImportNode& node = m_net.nodes[index];
        if (node.position)
            Warn(ref.line, "[COORDINATES] " + Quote(ref.name) +
                               ": second coordinates for this node; they replace the first");
        node.position = ref.point;
    }
    const std::size_t without = static_cast<std::size_t>(std::count_if(
        m_net.nodes.begin(), m_net.nodes.end(), [](const SImportNode& node) { return !node.position; }));
    if (without > 0) Warn(0, std::to_string(without) + " node(s) have no [COORDINATES] entry");
}

void CSwmmParse::ApplyLevels() {
    for (std::size_t i = 0; i < m_net.sections.size(); ++i) {
        const SConduitRef& ref = m_conduits[i];
        if (ref.dropped) continue;
        SImportSection& section = m_net.sections[i];
        auto level = [&](std::size_t node, std::optional<double> offset, bool atInvert,
                         std::string_view end) -> std::optional<double> {
            const std::string& nodeName = m_net.nodes[node].name;
            const std::optional<double> invert = m_net.nodes[node].invertElevation;
            if (!m_elevationOffsets)
                return invert && offset ? std::optional<double>(*invert + *offset) : std::nullopt;
            if (atInvert) return invert;
            if (offset && invert && *offset < *invert - kLevelTolerance)
                Warn(ref.line, "[CONDUITS] " + Quote(section.name) + ": " + std::string(end) + " level " +
                                   ImportText::FormatNumber(*offset) + " m lies below the invert of node " +
                                   Quote(nodeName));
            return offset;
        };
        section.levelStart = level(ref.fromIndex, ref.offsetStart, ref.startAtInvert, "inlet");
        section.levelEnd = level(ref.toIndex, ref.offsetEnd, ref.endAtInvert, "outlet");
        // The fall over the given length (positive, see ReadConduit), whatever its sign: a slope of 0 or
        // below is stored as it is, and the dimensioning reports its own status for it.
        if (section.levelStart && section.levelEnd && section.length)
            section.properties.insert_or_assign(
                "SECTION_SLOPE", (*section.levelStart - *section.levelEnd) / *section.length * kPerMille);
    }
}

void CSwmmParse::ApplyOutlets() {
    for (std::size_t i = 0; i < m_net.catchments.size(); ++i) {
        SImportCatchment& catchment = m_net.catchments[i];
        const SOutletRef& ref = m_outlets[i];
        if (const std::size_t node = m_nodes.FindLenient(ref.outlet); node != CNameIndex::npos) {
            catchment.outlet = m_net.nodes[node].name;
            catchment.outletKind = EImportOutletKind::Node;
        } else if (const std::size_t other = m_catchments.FindLenient(ref.outlet);
                   other != CNameIndex::npos) {
            catchment.outlet = m_net.catchments[other].name;
            catchment.outletKind = EImportOutletKind::Catchment;
        } else {
            catchment.outlet = std::string(ref.outlet);
            catchment.outletKind = EImportOutletKind::None;
            Warn(ref.line, "[SUBCATCHMENTS] " + Quote(catchment.name) + ": outlet " + Quote(ref.outlet) +
                               " is neither a node nor a subcatchment");
        }
    }
}

void CSwmmParse::ApplyPolygons() {
    for (const SPointRef& ref : m_polygons) {
        const std::size_t index = m_catchments.FindLenient(ref.name);
        if (index == CNameIndex::npos) {
            Warn(ref.line, "[POLYGONS] " + Quote(ref.name) + ": no subcatchment of this name; line skipped");
            continue;
        }
        m_net.catchments[index].polygon.push_back(ref.point);
    }
    for (SImportCatchment& catchment : m_net.catchments) {
        std::vector<SImportPoint>& ring = catchment.polygon;
        if (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
    }
}

void CSwmmParse::CountImported() {
    std::map<std::string, std::size_t>& imported = m_net.report.imported;
    for (const SImportNode& node : m_net.nodes) {
        switch (node.kind) {
            case EImportNodeKind::Junction:
                ++imported["[JUNCTIONS]"];
                break;
            case EImportNodeKind::Outfall:
                ++imported["[OUTFALLS]"];
                break;
            case EImportNodeKind::Storage:
                ++imported["[STORAGE]"];
                break;
            case EImportNodeKind::Divider:
                ++imported["[DIVIDERS]"];
                break;
            case EImportNodeKind::Point:
                break;
        }
    }
    if (!m_net.sections.empty()) imported["[CONDUITS]"] = m_net.sections.size();
    if (!m_net.catchments.empty()) imported["[SUBCATCHMENTS]"] = m_net.catchments.size();
}

}  // namespace

SImportStatus CSwmmReader::ReadFile(const std::filesystem::path& path, SImportNetwork& network) const {
    network = SImportNetwork{};
    std::string text;
    std::string error;
    if (!ImportText::ReadWholeFile(path, text, error)) return {EImportError::CannotOpen, error, 0};
    return ReadText(text, network);
}

SImportStatus CSwmmReader::ReadText(std::string_view bytes, SImportNetwork& network) const {
    network = SImportNetwork{};
    std::string text;
    std::size_t badLine = 0;
    if (!ImportText::DecodeText(bytes, m_encoding, text, badLine))
        return {EImportError::NotUtf8, "a byte on this line is not UTF-8 text", badLine};
    CSwmmParse parse(text, network);
    SImportStatus status = parse.Run();
    if (!status.Ok()) network = SImportNetwork{};
    return status;
}

}  // namespace TAVGis::Store
