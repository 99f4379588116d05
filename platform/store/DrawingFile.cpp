#include "platform/store/DrawingFile.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_map>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/host/AtomicFile.h"
#include "platform/host/NumberText.h"
#include "platform/host/Progress.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/DrawingLock.h"
#include "platform/store/GpkgGeometry.h"

namespace TAVGis::Store {
namespace {

namespace fs = std::filesystem;
using Data::CDataBox;
using Data::CDataDefinition;
using Data::ValueType;

constexpr std::int32_t kGpkgApplicationId = 0x47504B47;  // "GPKG"
constexpr int kGpkgUserVersion = 10300;                  // GeoPackage 1.3
constexpr std::size_t kSqliteHeaderSize = 100;
constexpr char kSqliteMagic[] = "SQLite format 3";  // 16 bytes with its NUL

constexpr const char* kNodesTable = "nodes";
constexpr const char* kSectionsTable = "sections";
constexpr const char* kCatchmentsTable = "catchment_areas";

// ---- SQLite wrappers: every failure becomes a CDrawingFileError naming the file ----

class Statement;

class Connection {
public:
    Connection(const fs::path& path, int flags) : m_file(path.string()) {
        int rc = sqlite3_open_v2(m_file.c_str(), &m_db, flags, nullptr);
        if (rc != SQLITE_OK) {
            std::string msg = m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc);
            sqlite3_close(m_db);
            m_db = nullptr;
            throw CDrawingFileError(m_file + ": cannot open: " + msg);
        }
        sqlite3_extended_result_codes(m_db, 1);
    }
    ~Connection() { Close(); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void Close() {
        if (m_db) sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    sqlite3* Handle() const { return m_db; }
    const std::string& File() const { return m_file; }

    // For statements without values (schema, pragmas, transaction control) only.
    void Exec(const std::string& sql) {
        char* err = nullptr;
        if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::string msg = err ? err : sqlite3_errmsg(m_db);
            sqlite3_free(err);
            throw CDrawingFileError(m_file + ": " + msg);
        }
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw CDrawingFileError(m_file + ": " + what + ": " + sqlite3_errmsg(m_db));
    }

private:
    std::string m_file;
    sqlite3* m_db = nullptr;
};

class Statement {
public:
    Statement(Connection& c, const std::string& sql) : m_c(c) {
        if (sqlite3_prepare_v2(c.Handle(), sql.c_str(), static_cast<int>(sql.size()), &m_s, nullptr) !=
            SQLITE_OK)
            c.Fail("cannot prepare \"" + sql.substr(0, 60) + "\"");
    }
    ~Statement() { sqlite3_finalize(m_s); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Null(int i) { Check(sqlite3_bind_null(m_s, i)); }
    void Int(int i, std::int64_t v) { Check(sqlite3_bind_int64(m_s, i, v)); }
    void Real(int i, double v) { Check(sqlite3_bind_double(m_s, i, v)); }
    void Text(int i, const std::string& v) {
        Check(sqlite3_bind_text64(m_s, i, v.data(), v.size(), SQLITE_TRANSIENT, SQLITE_UTF8));
    }
    void Blob(int i, const std::string& v) {
        Check(sqlite3_bind_blob64(m_s, i, v.data(), v.size(), SQLITE_TRANSIENT));
    }
    void OptReal(int i, const std::optional<double>& v) { v ? Real(i, *v) : Null(i); }
    void OptText(int i, const std::string& v) { v.empty() ? Null(i) : Text(i, v); }

    // Runs an insert or update to its end and makes the statement ready for the next values.
    void Run() {
        int rc = sqlite3_step(m_s);
        if (rc != SQLITE_DONE) m_c.Fail("cannot write");
        sqlite3_reset(m_s);
        sqlite3_clear_bindings(m_s);
    }
    // Steps a query: true while there is a row.
    bool Next() {
        int rc = sqlite3_step(m_s);
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        m_c.Fail("cannot read");
    }

    int Type(int col) const { return sqlite3_column_type(m_s, col); }
    bool IsNull(int col) const { return Type(col) == SQLITE_NULL; }
    std::string ColText(int col) const {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_s, col));
        return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(m_s, col))) : std::string();
    }
    std::int64_t ColInt(int col) const { return sqlite3_column_int64(m_s, col); }
    double ColReal(int col) const { return sqlite3_column_double(m_s, col); }
    const void* ColBlob(int col) const { return sqlite3_column_blob(m_s, col); }
    std::size_t ColBytes(int col) const { return static_cast<std::size_t>(sqlite3_column_bytes(m_s, col)); }

private:
    void Check(int rc) {
        if (rc != SQLITE_OK) m_c.Fail("cannot bind a value");
    }
    Connection& m_c;
    sqlite3_stmt* m_s = nullptr;
};

// A damaged or foreign file found while reading.
[[noreturn]] void Damaged(const std::string& file, const std::string& what) {
    throw CDrawingFileError(file + ": the drawing is damaged: " + what);
}

std::string QuoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// The value of an attribute column as the attribute store takes it: numbers and texts as stored, an
// integer in a text column as its digits, a real in a text column with all 17 significant digits. False
// for binary data, which no attribute holds.
bool AttributeValue(const Statement& st, int col, const CDataDefinition& def, CDataBox& box) {
    switch (st.Type(col)) {
        case SQLITE_NULL:
            box = CDataBox();
            return true;
        case SQLITE_INTEGER:
            box = def.GetValueType() == ValueType::Text ? CDataBox(std::to_string(st.ColInt(col)))
                                                        : CDataBox(static_cast<double>(st.ColInt(col)));
            return true;
        case SQLITE_FLOAT:
            box = def.GetValueType() == ValueType::Text
                      ? CDataBox(TAVHost::NumberText::General(st.ColReal(col), 17))
                      : CDataBox(st.ColReal(col));
            return true;
        case SQLITE_TEXT:
            box = CDataBox(st.ColText(col));
            return true;
        default:
            return false;
    }
}

std::string Lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char* ValueTypeWord(ValueType t) {
    switch (t) {
        case ValueType::Double:
            return "double";
        case ValueType::Int:
            return "int";
        case ValueType::Text:
            return "text";
    }
    return "text";
}

std::optional<ValueType> ValueTypeFromWord(const std::string& w) {
    if (w == "double") return ValueType::Double;
    if (w == "int") return ValueType::Int;
    if (w == "text") return ValueType::Text;
    return std::nullopt;
}

// ---- typed values (CDataBox) in two columns: type word and value ----

void BindBox(Statement& st, int typeIndex, const CDataBox& box) {
    if (box.IsNull()) {
        st.Text(typeIndex, "null");
        st.Null(typeIndex + 1);
    } else if (box.IsDouble()) {
        st.Text(typeIndex, "double");
        st.Real(typeIndex + 1, box.ToDouble());
    } else if (box.IsInt()) {
        st.Text(typeIndex, "int");
        st.Int(typeIndex + 1, box.ToInt());
    } else if (box.IsText()) {
        st.Text(typeIndex, "text");
        st.Text(typeIndex + 1, box.ToString());
    } else {
        st.Text(typeIndex, "list");
        st.Text(typeIndex + 1, nlohmann::json(box.ToList()).dump());
    }
}

CDataBox ReadBox(const Statement& st, int typeCol, const std::string& file, const std::string& what) {
    const std::string type = st.ColText(typeCol);
    const int valueCol = typeCol + 1;
    if (type == "null") return CDataBox();
    if (type == "double" && st.Type(valueCol) != SQLITE_NULL && st.Type(valueCol) != SQLITE_BLOB)
        return CDataBox(st.ColReal(valueCol));
    if (type == "int" && st.Type(valueCol) == SQLITE_INTEGER) {
        std::int64_t v = st.ColInt(valueCol);
        if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
            return CDataBox(static_cast<int>(v));
    }
    if (type == "text" && st.Type(valueCol) == SQLITE_TEXT) return CDataBox(st.ColText(valueCol));
    if (type == "list" && st.Type(valueCol) == SQLITE_TEXT) {
        auto j = nlohmann::json::parse(st.ColText(valueCol), nullptr, false);
        if (j.is_array() && std::all_of(j.begin(), j.end(), [](const auto& e) { return e.is_string(); }))
            return CDataBox(j.get<std::vector<std::string>>());
    }
    Damaged(file, "a value of " + what + " has the type '" + type + "' and cannot be read");
}

// ---- values the loader cannot read: left empty, reported in one warning line ----

CDrawingFile::WarningHandler& WarningSink() {
    static CDrawingFile::WarningHandler handler = [](const std::string& line) {
        std::fprintf(stderr, "warning: %s\n", line.c_str());
    };
    return handler;
}

// Collects what could not be read, for one warning line.
class Unreadable {
public:
    void Add(std::string what) {
        if (m_first.empty()) m_first = std::move(what);
        ++m_count;
    }
    void Report(const std::string& file) const {
        if (!m_count || !WarningSink()) return;
        WarningSink()(file + ": " + std::to_string(m_count) +
                      (m_count == 1 ? " value cannot be read and is" : " values cannot be read and are") +
                      " left empty (" + m_first + (m_count > 1 ? ", and others" : "") + ")");
    }

private:
    std::string m_first;
    std::size_t m_count = 0;
};

// ---- drawing entities that are not network entities: points as packed little-endian doubles ----

std::string PackPoints(const std::vector<TAVHost::Point2d>& pts) {
    std::string out(pts.size() * 16, '\0');
    for (std::size_t i = 0; i < pts.size(); ++i) {
        std::memcpy(&out[i * 16], &pts[i].x, 8);
        std::memcpy(&out[i * 16 + 8], &pts[i].y, 8);
    }
    return out;
}

// ---- the schema ----

constexpr const char* kGpkgSchema = R"SQL(
CREATE TABLE gpkg_spatial_ref_sys (
  srs_name TEXT NOT NULL, srs_id INTEGER NOT NULL PRIMARY KEY, organization TEXT NOT NULL,
  organization_coordsys_id INTEGER NOT NULL, definition TEXT NOT NULL, description TEXT);
CREATE TABLE gpkg_contents (
  table_name TEXT NOT NULL PRIMARY KEY, data_type TEXT NOT NULL, identifier TEXT UNIQUE,
  description TEXT DEFAULT '', last_change DATETIME NOT NULL DEFAULT (strftime('%Y-%m-%dT%H:%M:%fZ','now')),
  min_x DOUBLE, min_y DOUBLE, max_x DOUBLE, max_y DOUBLE, srs_id INTEGER,
  CONSTRAINT fk_gc_r_srs_id FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys(srs_id));
CREATE TABLE gpkg_geometry_columns (
  table_name TEXT NOT NULL, column_name TEXT NOT NULL, geometry_type_name TEXT NOT NULL, srs_id INTEGER NOT NULL,
  z TINYINT NOT NULL, m TINYINT NOT NULL,
  CONSTRAINT pk_geom_cols PRIMARY KEY (table_name, column_name),
  CONSTRAINT uk_gc_table_name UNIQUE (table_name),
  CONSTRAINT fk_gc_tn FOREIGN KEY (table_name) REFERENCES gpkg_contents(table_name),
  CONSTRAINT fk_gc_srs FOREIGN KEY (srs_id) REFERENCES gpkg_spatial_ref_sys (srs_id));
CREATE TABLE tav_metadata (key TEXT NOT NULL PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE tav_attribute_definitions (
  entity_type INTEGER NOT NULL, position INTEGER NOT NULL, name TEXT NOT NULL, value_type TEXT NOT NULL,
  unit TEXT NOT NULL, column_name TEXT NOT NULL, PRIMARY KEY (entity_type, name));
CREATE TABLE tav_systems (
  system_id INTEGER NOT NULL PRIMARY KEY, position INTEGER NOT NULL, name TEXT NOT NULL,
  function INTEGER NOT NULL, active INTEGER NOT NULL);
CREATE TABLE tav_entities (
  object_id INTEGER NOT NULL PRIMARY KEY, kind INTEGER NOT NULL, layer TEXT NOT NULL, color_index INTEGER NOT NULL,
  points BLOB NOT NULL);
CREATE TABLE tav_registered_apps (name TEXT NOT NULL PRIMARY KEY);
CREATE TABLE tav_xdata (
  object_id INTEGER NOT NULL, app TEXT NOT NULL, position INTEGER NOT NULL, code INTEGER NOT NULL,
  value_type TEXT NOT NULL, value BLOB, PRIMARY KEY (object_id, app, position));
CREATE TABLE tav_dictionaries (name TEXT NOT NULL PRIMARY KEY);
CREATE TABLE tav_dictionary_entries (
  dictionary TEXT NOT NULL, key TEXT NOT NULL, code INTEGER NOT NULL, value BLOB, PRIMARY KEY (dictionary, key));
CREATE TABLE tav_catalogs (name TEXT NOT NULL PRIMARY KEY);
CREATE TABLE tav_catalog_items (
  catalog TEXT NOT NULL, position INTEGER NOT NULL, guid TEXT NOT NULL, parent_guid TEXT, name TEXT NOT NULL,
  PRIMARY KEY (catalog, guid));
CREATE TABLE tav_catalog_properties (
  catalog TEXT NOT NULL, item_guid TEXT NOT NULL, name TEXT NOT NULL, value_type TEXT NOT NULL, value BLOB,
  PRIMARY KEY (catalog, item_guid, name));
CREATE TABLE tav_settings (key TEXT NOT NULL PRIMARY KEY, value_type TEXT NOT NULL, value BLOB);
)SQL";

struct LayerLayout {
    const char* table;
    const char* geometryType;
    int entityType;
    std::vector<std::pair<const char*, const char*>> fixedColumns;  // after fid and geom
};

const LayerLayout& NodeLayer() {
    static const LayerLayout s{kNodesTable,
                               "POINT",
                               Data::kEntityNode,
                               {{"guid", "TEXT NOT NULL"},
                                {"name", "TEXT NOT NULL"},
                                {"system_id", "INTEGER"},
                                {"object_id", "INTEGER NOT NULL"},
                                {"layer", "TEXT"},
                                {"color_index", "INTEGER"},
                                {"terrain_height", "REAL"}}};
    return s;
}
const LayerLayout& SectionLayer() {
    static const LayerLayout s{kSectionsTable,
                               "LINESTRING",
                               Data::kEntitySection,
                               {{"guid", "TEXT NOT NULL"},
                                {"name", "TEXT NOT NULL"},
                                {"system_id", "INTEGER"},
                                {"object_id", "INTEGER NOT NULL"},
                                {"layer", "TEXT"},
                                {"color_index", "INTEGER"},
                                {"start_node_guid", "TEXT NOT NULL"},
                                {"end_node_guid", "TEXT NOT NULL"},
                                {"level_start", "REAL"},
                                {"level_end", "REAL"}}};
    return s;
}
const LayerLayout& CatchmentLayer() {
    static const LayerLayout s{kCatchmentsTable,
                               "POLYGON",
                               Data::kEntityCatchment,
                               {{"guid", "TEXT NOT NULL"},
                                {"name", "TEXT NOT NULL"},
                                {"system_id", "INTEGER"},
                                {"object_id", "INTEGER NOT NULL"},
                                {"layer", "TEXT"},
                                {"color_index", "INTEGER"},
                                {"kind", "INTEGER NOT NULL"},
                                {"area_ha", "REAL"},
                                {"inhabitant_density", "REAL"},
                                {"runoff_coefficient", "REAL"},
                                {"section_guid", "TEXT"}}};
    return s;
}

// Attribute definitions of one entity type with the column each is stored in.
struct AttributeColumns {
    std::vector<const CDataDefinition*> defs;
    std::vector<std::string> columns;
    std::vector<std::string> types, units;  // as the file declares them
};

AttributeColumns ColumnsFor(const LayerLayout& layer) {
    AttributeColumns out;
    std::set<std::string> used{"fid", "geom"};
    for (const auto& [name, type] : layer.fixedColumns) used.insert(name);
    for (const CDataDefinition* def : Data::CDataConfiguration::GetInstance().Definitions(layer.entityType)) {
        if (def->GetID().find('\0') != std::string::npos) continue;
        std::string column = def->GetID();
        if (used.count(Lower(column))) {
            const std::string base = "attr_" + def->GetID();
            column = base;
            for (int k = 2; used.count(Lower(column)); ++k) column = base + "_" + std::to_string(k);
        }
        used.insert(Lower(column));
        out.defs.push_back(def);
        out.columns.push_back(column);
        out.types.push_back(ValueTypeWord(def->GetValueType()));
        out.units.push_back(def->GetUnit());
    }
    return out;
}

constexpr int kLayerCount = 3;  // nodes, sections, catchment areas

const LayerLayout& LayerAt(int layer) {
    return layer == 0 ? NodeLayer() : layer == 1 ? SectionLayer() : CatchmentLayer();
}

std::size_t EntitiesIn(const Topology::CTopologyStorage& topo, int layer) {
    return layer == 0   ? topo.Nodes().size()
           : layer == 1 ? topo.Sections().size()
                        : topo.CatchmentAreas().size();
}

using Box = std::vector<TAVHost::Point2d>;  // empty, or {min, max}

void Extend(Box& box, const TAVHost::Point2d& p) {
    if (box.empty()) {
        box = {p, p};
        return;
    }
    box[0].x = std::min(box[0].x, p.x);
    box[0].y = std::min(box[0].y, p.y);
    box[1].x = std::max(box[1].x, p.x);
    box[1].y = std::max(box[1].y, p.y);
}

// The extent gpkg_contents gives a layer.
Box LayerBox(Topology::CTopologyStorage& topo, int layer) {
    Box box;
    if (layer == 0) {
        for (const auto& n : topo.Nodes()) Extend(box, {n->X(), n->Y()});
    } else if (layer == 1) {
        for (const auto& n : topo.Nodes())
            if (!topo.SectionsStartingAt(*n).empty() || !topo.SectionsEndingAt(*n).empty())
                Extend(box, {n->X(), n->Y()});
        for (const auto& s : topo.Sections())
            for (const auto& v : s->Vertices()) Extend(box, v);
    } else {
        for (const auto& a : topo.CatchmentAreas())
            for (const auto& p : a->polygon) Extend(box, p);
    }
    return box;
}

// ---- what the file holds, remembered after an open or a save, so the next save writes only changes ----

// A fingerprint of the values that make up a row or a table: equal fingerprints mean unchanged content.
// Each step is a bijection of the state for a given value and of the value for a given state, so changing
// one number among the same values always changes the fingerprint; texts enter through their 64-bit hash,
// and any other change goes unnoticed with a chance of about one in 2^64.
class Fingerprint {
public:
    void Int(std::int64_t v) {
        m_h = (m_h ^ static_cast<std::uint64_t>(v)) * 0x9E3779B97F4A7C15ULL;
        m_h ^= m_h >> 32;
    }
    void Real(double v) {
        std::int64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        Int(bits);
    }
    void Text(const std::string& s) {
        Int(static_cast<std::int64_t>(s.size()));
        Int(static_cast<std::int64_t>(std::hash<std::string_view>{}(s)));
    }
    void OptReal(const std::optional<double>& v) {
        Int(v ? 1 : 0);
        if (v) Real(*v);
    }
    void Point(const TAVHost::Point2d& p) {
        Real(p.x);
        Real(p.y);
    }
    void Points(const std::vector<TAVHost::Point2d>& pts) {
        Int(static_cast<std::int64_t>(pts.size()));
        for (const auto& p : pts) Point(p);
    }
    void Value(const CDataBox& b) {
        if (b.IsNull()) {
            Int(0);
        } else if (b.IsDouble()) {
            Int(1);
            Real(b.ToDouble());
        } else if (b.IsInt()) {
            Int(2);
            Int(b.ToInt());
        } else if (b.IsText()) {
            Int(3);
            Text(b.ToString());
        } else {
            Int(4);
            Int(static_cast<std::int64_t>(b.ToList().size()));
            for (const auto& t : b.ToList()) Text(t);
        }
    }
    void XData(const TAVHost::DbEntity& e) {
        Int(static_cast<std::int64_t>(e.xdata.size()));
        for (const auto& [app, chain] : e.xdata) {
            Text(app);
            Int(static_cast<std::int64_t>(chain.size()));
            for (const auto& rb : chain) {
                Int(rb.code);
                Int(static_cast<std::int64_t>(rb.value.index()));
                if (const auto* t = std::get_if<std::string>(&rb.value)) Text(*t);
                if (const auto* d = std::get_if<double>(&rb.value)) Real(*d);
                if (const auto* i = std::get_if<std::int32_t>(&rb.value)) Int(*i);
            }
        }
    }
    std::uint64_t Get() const { return m_h; }

private:
    std::uint64_t m_h = 0x243F6A8885A308D3ULL;
};

// What a layer's row holds besides the attributes: geometry, fixed columns, and the drawing entity's layer,
// colour and extended data. One fingerprint per entity, in the order of the layer.
std::vector<std::uint64_t> RowFingerprints(TAVHost::Document& doc, int layer) {
    auto& topo = Topology::TopologyOf(doc);
    const auto& db = doc.Db();
    std::vector<std::uint64_t> out;
    out.reserve(EntitiesIn(topo, layer));
    auto common = [&](Fingerprint& f, const Topology::CEntity& e) {
        f.Text(e.GetGuid());
        f.Text(e.GetName());
        f.Int(e.GetSystem() ? e.GetSystem()->GetId() : std::numeric_limits<std::int64_t>::min());
        f.Int(static_cast<std::int64_t>(e.GetObjectId()));
        if (const auto* ent = db.GetEntity(e.GetObjectId())) {
            f.Int(1);
            f.Text(ent->layer);
            f.Int(ent->colorIndex);
            f.XData(*ent);
        } else {
            f.Int(0);
        }
    };
    if (layer == 0) {
        for (const auto& n : topo.Nodes()) {
            Fingerprint f;
            common(f, *n);
            f.Point({n->X(), n->Y()});
            f.OptReal(n->TerrainHeight());
            out.push_back(f.Get());
        }
    } else if (layer == 1) {
        for (const auto& s : topo.Sections()) {
            Fingerprint f;
            common(f, *s);
            for (const auto& n : {s->GetStartingNode(), s->GetEndingNode()}) {
                f.Text(n->GetGuid());
                f.Point({n->X(), n->Y()});
            }
            f.Points(s->Vertices());
            f.OptReal(s->LevelAtStart());
            f.OptReal(s->LevelAtEnd());
            out.push_back(f.Get());
        }
    } else {
        for (const auto& a : topo.CatchmentAreas()) {
            Fingerprint f;
            common(f, *a);
            f.Points(a->polygon);
            f.Int(a->kind);
            f.Real(a->areaHa);
            f.Real(a->densityInhabPerHa);
            f.Real(a->runoffCoefficient);
            f.Text(a->sectionGuid);
            out.push_back(f.Get());
        }
    }
    return out;
}

// Fingerprints of the small tables, each rewritten whole when it changed.
struct TableFingerprints {
    std::uint64_t systems = 0, settings = 0, catalogs = 0, dictionaries = 0, apps = 0, otherEntities = 0;
    bool operator==(const TableFingerprints&) const = default;
};

TableFingerprints TablesOf(TAVHost::Document& doc) {
    TableFingerprints out;
    auto& gis = GisData(doc);
    auto& topo = Topology::TopologyOf(doc);
    {
        Fingerprint f;
        for (const auto& s : gis.systems) {
            f.Int(s->GetId());
            f.Text(s->GetName());
            f.Int(s->GetSystemFunction());
            f.Int(s == gis.activeSystem ? 1 : 0);
        }
        out.systems = f.Get();
    }
    {
        Fingerprint f;
        for (const auto& [key, value] : gis.settings) {
            f.Text(key);
            f.Value(value);
        }
        out.settings = f.Get();
    }
    {
        Fingerprint f;
        auto& net = doc.Extension<Topology::NetworkDrawingData>(Topology::NetworkDrawingData::kKey);
        for (const auto& [name, catalog] : net.catalogs) {
            if (!catalog) continue;
            f.Text(name);
            std::vector<Data::CCatalogItemPtr> stack(catalog->GetRootItems().rbegin(),
                                                     catalog->GetRootItems().rend());
            while (!stack.empty()) {
                auto it = stack.back();
                stack.pop_back();
                f.Text(it->GetGUID());
                f.Text(it->GetParentItem() ? it->GetParentItem()->GetGUID() : std::string("\0"));
                f.Text(it->GetName());
                for (const auto& [pname, value] : it->Properties()) {
                    f.Text(pname);
                    f.Value(value);
                }
                f.Int(-1);
                const auto& subs = it->GetSubItems();
                for (auto s = subs.rbegin(); s != subs.rend(); ++s) stack.push_back(*s);
            }
            f.Int(-2);
        }
        out.catalogs = f.Get();
    }
    {
        Fingerprint f;
        for (const auto& [name, entries] : doc.Db().Dictionaries()) {
            f.Text(name);
            f.Int(static_cast<std::int64_t>(entries.size()));
            for (const auto& [key, e] : entries) {
                f.Text(key);
                f.Int(e.code);
                f.Int(static_cast<std::int64_t>(e.value.index()));
                if (const auto* t = std::get_if<std::string>(&e.value)) f.Text(*t);
                if (const auto* d = std::get_if<double>(&e.value)) f.Real(*d);
                if (const auto* i = std::get_if<std::int16_t>(&e.value)) f.Int(*i);
            }
        }
        out.dictionaries = f.Get();
    }
    {
        Fingerprint f;
        for (const auto& a : doc.Db().RegisteredApps()) f.Text(a);
        out.apps = f.Get();
    }
    {
        std::vector<const TAVHost::DbEntity*> others;
        doc.Db().ForEachEntity([&](const TAVHost::DbEntity& e) {
            if (!e.erased && !topo.GetEntityByObjectId(e.id)) others.push_back(&e);
        });
        std::sort(others.begin(), others.end(), [](auto* a, auto* b) { return a->id < b->id; });
        Fingerprint f;
        for (const auto* e : others) {
            f.Int(static_cast<std::int64_t>(e->id));
            f.Int(static_cast<int>(e->kind));
            f.Text(e->layer);
            f.Int(e->colorIndex);
            f.Points(e->points);
            f.XData(*e);
        }
        out.otherEntities = f.Get();
    }
    return out;
}

// Identifies the file on disk: another program replacing or writing it changes the stamp.
// SQLite's file change counter (bytes 24-27 of the header) goes up with every transaction another program
// commits in rollback-journal mode, even one that leaves size and modification time as they were; a
// write-ahead log beside the file holds changes the file itself does not show yet.
struct FileStamp {
    std::uint64_t device = 0, inode = 0, size = 0;
    std::int64_t mtimeSec = 0, mtimeNsec = 0;
    std::uint32_t changeCounter = 0;
    bool walPending = false;
    bool operator==(const FileStamp&) const = default;
};

std::optional<FileStamp> StampOf(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    FileStamp stamp{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
                    static_cast<std::uint64_t>(st.st_size), static_cast<std::int64_t>(st.st_mtim.tv_sec),
                    static_cast<std::int64_t>(st.st_mtim.tv_nsec)};
    if (int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        unsigned char counter[4] = {};
        if (::pread(fd, counter, sizeof counter, 24) == static_cast<ssize_t>(sizeof counter))
            stamp.changeCounter = (std::uint32_t{counter[0]} << 24) | (std::uint32_t{counter[1]} << 16) |
                                  (std::uint32_t{counter[2]} << 8) | std::uint32_t{counter[3]};
        ::close(fd);
    }
    struct stat wal {};
    fs::path walPath = path;
    walPath += "-wal";
    stamp.walPending = ::stat(walPath.c_str(), &wal) == 0 && wal.st_size > 0;
    return stamp;
}

std::string Canonical(const fs::path& path) {
    std::error_code ec;
    auto p = fs::weakly_canonical(path, ec);
    return ec ? fs::absolute(path).lexically_normal().string() : p.string();
}

fs::path JournalPath(const fs::path& path) {
    fs::path p = path;
    p += "-journal";
    return p;
}

struct LayerState {
    std::vector<std::int64_t> fidByRow;  // attribute row -> fid of its row in the file, -1 when none
    bool everyRowHasFid = false;
    std::size_t entities = 0;
    std::vector<std::uint64_t> rows;  // RowFingerprints
    AttributeColumns columns;         // the attribute columns the file has
    // fid -> attribute row, sorted by fid; made when a pending column is first read.
    std::vector<std::pair<std::int64_t, int>> rowByFid;
};

// The drawing as the file at `path` holds it, after the last open or save.
class SavedFileState : public TAVHost::DocumentExtension {
public:
    static constexpr const char* kKey = "store.savedFile";
    std::string path;  // Canonical
    FileStamp stamp;
    std::array<LayerState, kLayerCount> layers;
    std::size_t dbEntities = 0;
    TableFingerprints tables;
};

// After a complete open or save: remembers what the file holds and clears the attribute stores' change
// tracking. Without a stamp of the file nothing is remembered, and the next save rewrites the file.
void Remember(TAVHost::Document& doc, const fs::path& path,
              std::array<std::vector<std::int64_t>, kLayerCount> fids,
              std::array<AttributeColumns, kLayerCount> columns) {
    auto& gis = GisData(doc);
    auto& topo = Topology::TopologyOf(doc);
    auto stamp = StampOf(path);
    if (!stamp) {
        doc.SetExtension(SavedFileState::kKey, nullptr);
        return;
    }
    auto state = std::make_unique<SavedFileState>();
    state->path = Canonical(path);
    state->stamp = *stamp;
    for (int i = 0; i < kLayerCount; ++i) {
        LayerState& l = state->layers[i];
        l.fidByRow = std::move(fids[i]);
        const int rows = gis.StoreFor(LayerAt(i).entityType).RowCount();
        l.fidByRow.resize(static_cast<std::size_t>(rows), -1);
        l.everyRowHasFid = std::all_of(l.fidByRow.begin(), l.fidByRow.end(), [](auto f) { return f > 0; });
        l.entities = EntitiesIn(topo, i);
        l.rows = RowFingerprints(doc, i);
        l.columns = std::move(columns[i]);
    }
    state->dbEntities = doc.Db().EntityCount();
    state->tables = TablesOf(doc);
    doc.SetExtension(SavedFileState::kKey, std::move(state));
    for (int i = 0; i < kLayerCount; ++i) gis.StoreFor(LayerAt(i).entityType).ClearChanges();
}

void RecordFid(std::vector<std::int64_t>& fids, int row, std::int64_t fid) {
    if (row < 0) return;
    if (fids.size() <= static_cast<std::size_t>(row)) fids.resize(static_cast<std::size_t>(row) + 1, -1);
    fids[static_cast<std::size_t>(row)] = fid;
}

// ---- saving ----

class Saver {
public:
    Saver(TAVHost::Document& doc, Connection& c)
        : m_doc(doc), m_c(c), m_gis(GisData(doc)), m_topo(Topology::TopologyOf(doc)) {}

    std::array<std::vector<std::int64_t>, kLayerCount>& Fids() { return m_fids; }
    std::array<AttributeColumns, kLayerCount>& Columns() { return m_columns; }

    void Write() {
        m_c.Exec("PRAGMA application_id = " + std::to_string(kGpkgApplicationId) +
                 "; PRAGMA user_version = " + std::to_string(kGpkgUserVersion) + ";");
        m_c.Exec("BEGIN");
        m_c.Exec(kGpkgSchema);
        WriteSpatialRefSys();
        WriteMetadata();
        WriteSystems();
        WriteNodes();
        WriteSections();
        WriteCatchments();
        WriteOtherEntities();
        WriteXData();
        WriteDictionaries();
        WriteCatalogs();
        WriteSettings();
        m_c.Exec("COMMIT");
    }

    // ---- writing in place: what changed since the file was opened or saved ----

    // Updates the attribute values that changed, by fid, one prepared statement per column.
    void UpdateAttributes(int layer, const LayerState& state) {
        const auto& attrs = state.columns;
        auto& store = m_gis.StoreFor(LayerAt(layer).entityType);
        // Columns rewritten whole (what a calculation over the network does) are written together, one
        // UPDATE per row, so that each row is rewritten once however many of them changed.
        std::vector<std::size_t> whole;
        for (std::size_t i = 0; i < attrs.defs.size(); ++i)
            if (store.ColumnChangedWhole(*attrs.defs[i])) whole.push_back(i);
        if (!whole.empty()) {
            std::string sql = "UPDATE " + QuoteIdentifier(LayerAt(layer).table) + " SET ";
            for (std::size_t k = 0; k < whole.size(); ++k)
                sql += (k ? ", " : "") + QuoteIdentifier(attrs.columns[whole[k]]) + " = ?";
            Statement st(m_c, sql + " WHERE fid = ?");
            const int fidIndex = static_cast<int>(whole.size()) + 1;
            for (int row = 0; row < store.RowCount(); ++row) {
                for (std::size_t k = 0; k < whole.size(); ++k)
                    BindAttribute(st, static_cast<int>(k) + 1, *attrs.defs[whole[k]], store, row);
                st.Int(fidIndex, state.fidByRow[static_cast<std::size_t>(row)]);
                st.Run();
            }
        }
        for (std::size_t i = 0; i < attrs.defs.size(); ++i) {
            if (store.ColumnChangedWhole(*attrs.defs[i])) continue;
            std::optional<Statement> st;
            store.ForEachChangedRow(*attrs.defs[i], [&](int row) {
                if (!st)
                    st.emplace(m_c, "UPDATE " + QuoteIdentifier(LayerAt(layer).table) + " SET " +
                                        QuoteIdentifier(attrs.columns[i]) + " = ? WHERE fid = ?");
                BindAttribute(*st, 1, *attrs.defs[i], store, row);
                st->Int(2, state.fidByRow[static_cast<std::size_t>(row)]);
                st->Run();
            });
        }
    }

    // Rewrites the geometry and fixed columns of the rows whose fingerprint changed, with the entities'
    // extended data, and the layer's extent.
    void UpdateRows(int layer, const LayerState& state, const std::vector<std::uint64_t>& now) {
        const LayerLayout& layerSpec = LayerAt(layer);
        std::string sql = "UPDATE " + QuoteIdentifier(layerSpec.table) + " SET geom = ?";
        for (const auto& [name, type] : layerSpec.fixedColumns) sql += std::string(", ") + name + " = ?";
        sql += " WHERE fid = ?";
        const int fidIndex = 2 + static_cast<int>(layerSpec.fixedColumns.size());
        std::optional<Statement> st;
        std::optional<Statement> dropXData;
        std::optional<Statement> xdata;
        auto update = [&](std::size_t k, const Topology::CEntity& e, auto&& bind) {
            if (now[k] == state.rows[k]) return;
            if (!st) {
                st.emplace(m_c, sql);
                dropXData.emplace(m_c, "DELETE FROM tav_xdata WHERE object_id = ?");
                xdata.emplace(m_c, kInsertXData);
            }
            bind(*st);
            st->Int(fidIndex, state.fidByRow[static_cast<std::size_t>(e.AttributeRow())]);
            st->Run();
            dropXData->Int(1, static_cast<std::int64_t>(e.GetObjectId()));
            dropXData->Run();
            if (const auto* ent = m_doc.Db().GetEntity(e.GetObjectId())) WriteXDataOf(*xdata, *ent);
        };
        if (layer == 0) {
            for (std::size_t k = 0; k < m_topo.Nodes().size(); ++k)
                update(k, *m_topo.Nodes()[k], [&](Statement& s) { BindNode(s, *m_topo.Nodes()[k]); });
        } else if (layer == 1) {
            std::vector<TAVHost::Point2d> pts;
            for (std::size_t k = 0; k < m_topo.Sections().size(); ++k)
                update(k, *m_topo.Sections()[k],
                       [&](Statement& s) { BindSection(s, *m_topo.Sections()[k], pts); });
        } else {
            for (std::size_t k = 0; k < m_topo.CatchmentAreas().size(); ++k)
                update(k, *m_topo.CatchmentAreas()[k],
                       [&](Statement& s) { BindCatchment(s, *m_topo.CatchmentAreas()[k]); });
        }
        if (!st) return;
        const Box box = LayerBox(m_topo, layer);
        Statement contents(m_c,
                           "UPDATE gpkg_contents SET min_x = ?, min_y = ?, max_x = ?, max_y = ? WHERE "
                           "table_name = ?");
        for (int i = 0; i < 4; ++i) {
            if (box.empty())
                contents.Null(i + 1);
            else
                contents.Real(i + 1, i % 2 == 0 ? box[i / 2].x : box[i / 2].y);
        }
        contents.Text(5, layerSpec.table);
        contents.Run();
    }

    // Rewrites the small tables whose content changed.
    void UpdateTables(const TableFingerprints& was, const TableFingerprints& now) {
        if (was.systems != now.systems) {
            m_c.Exec("DELETE FROM tav_systems");
            WriteSystems();
        }
        if (was.settings != now.settings) {
            m_c.Exec("DELETE FROM tav_settings");
            WriteSettings();
        }
        if (was.catalogs != now.catalogs) {
            m_c.Exec(
                "DELETE FROM tav_catalog_properties; DELETE FROM tav_catalog_items; DELETE FROM "
                "tav_catalogs");
            WriteCatalogs();
        }
        if (was.dictionaries != now.dictionaries) {
            m_c.Exec("DELETE FROM tav_dictionary_entries; DELETE FROM tav_dictionaries");
            WriteDictionaries();
        }
        if (was.apps != now.apps) {
            m_c.Exec("DELETE FROM tav_registered_apps");
            WriteRegisteredApps();
        }
        if (was.otherEntities != now.otherEntities) {
            m_c.Exec(
                "DELETE FROM tav_xdata WHERE object_id IN (SELECT object_id FROM tav_entities); DELETE FROM "
                "tav_entities");
            const auto others = WriteOtherEntities();
            Statement xdata(m_c, kInsertXData);
            for (const auto* e : others) WriteXDataOf(xdata, *e);
        }
    }

private:
    static constexpr const char* kInsertXData =
        "INSERT INTO tav_xdata(object_id, app, position, code, value_type, value) VALUES (?, ?, ?, ?, ?, ?)";

    void WriteSpatialRefSys() {
        Statement st(
            m_c,
            "INSERT INTO gpkg_spatial_ref_sys(srs_name, srs_id, organization, organization_coordsys_id, "
            "definition, description) VALUES (?, ?, ?, ?, ?, ?)");
        struct Srs {
            const char* name;
            int id;
            const char* org;
            int orgId;
            const char* def;
            const char* desc;
        };
        static const Srs kRows[] = {
            {"Undefined cartesian SRS", -1, "NONE", -1, "undefined",
             "undefined cartesian coordinate reference system"},
            {"Undefined geographic SRS", 0, "NONE", 0, "undefined",
             "undefined geographic coordinate reference system"},
            {"WGS 84 geodetic", 4326, "EPSG", 4326,
             "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS "
             "84\",6378137,298.257223563,AUTHORITY[\"EPSG\","
             "\"7030\"]],AUTHORITY[\"EPSG\",\"6326\"]],PRIMEM[\"Greenwich\",0,AUTHORITY[\"EPSG\",\"8901\"]],"
             "UNIT[\"degree\",0.0174532925199433,AUTHORITY[\"EPSG\",\"9122\"]],AXIS[\"Latitude\",NORTH],"
             "AXIS[\"Longitude\",EAST],AUTHORITY[\"EPSG\",\"4326\"]]",
             "longitude/latitude coordinates in decimal degrees on the WGS 84 spheroid"},
        };
        for (const auto& r : kRows) {
            st.Text(1, r.name);
            st.Int(2, r.id);
            st.Text(3, r.org);
            st.Int(4, r.orgId);
            st.Text(5, r.def);
            st.Text(6, r.desc);
            st.Run();
        }
    }

    void WriteMetadata() {
        Statement st(m_c, "INSERT INTO tav_metadata(key, value) VALUES (?, ?)");
        for (const auto& [k, v] : {std::pair<std::string, std::string>{"format", CDrawingFile::kFormatName},
                                   {"schema_version", std::to_string(CDrawingFile::kSchemaVersion)}}) {
            st.Text(1, k);
            st.Text(2, v);
            st.Run();
        }
    }

    void WriteSystems() {
        Statement st(
            m_c,
            "INSERT INTO tav_systems(system_id, position, name, function, active) VALUES (?, ?, ?, ?, ?)");
        int pos = 0;
        for (const auto& s : m_gis.systems) {
            st.Int(1, s->GetId());
            st.Int(2, pos++);
            st.Text(3, s->GetName());
            st.Int(4, s->GetSystemFunction());
            st.Int(5, s == m_gis.activeSystem ? 1 : 0);
            st.Run();
        }
    }

    // Creates a feature table with its attribute columns and registers it; returns the insert statement's
    // text for the fixed columns plus attributes.
    std::string CreateLayer(const LayerLayout& layer, const AttributeColumns& attrs, const Box& box) {
        std::string sql = "CREATE TABLE " + QuoteIdentifier(layer.table) +
                          " (fid INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, geom " + layer.geometryType;
        std::string insert = "INSERT INTO " + QuoteIdentifier(layer.table) + " (geom";
        std::string values = "?";
        for (const auto& [name, type] : layer.fixedColumns) {
            sql += std::string(", ") + name + " " + type;
            insert += std::string(", ") + name;
            values += ", ?";
        }
        for (std::size_t i = 0; i < attrs.defs.size(); ++i) {
            const char* sqlType = attrs.defs[i]->GetValueType() == ValueType::Text  ? "TEXT"
                                  : attrs.defs[i]->GetValueType() == ValueType::Int ? "INTEGER"
                                                                                    : "REAL";
            sql += ", " + QuoteIdentifier(attrs.columns[i]) + " " + sqlType;
            insert += ", " + QuoteIdentifier(attrs.columns[i]);
            values += ", ?";
        }
        m_c.Exec(sql + ")");

        Statement contents(
            m_c,
            "INSERT INTO gpkg_contents(table_name, data_type, identifier, description, min_x, min_y, "
            "max_x, max_y, srs_id) VALUES (?, 'features', ?, ?, ?, ?, ?, ?, ?)");
        contents.Text(1, layer.table);
        contents.Text(2, layer.table);
        contents.Text(3, std::string("sewer network ") + layer.table);
        if (!box.empty()) {
            contents.Real(4, box[0].x);
            contents.Real(5, box[0].y);
            contents.Real(6, box[1].x);
            contents.Real(7, box[1].y);
        } else {
            for (int i = 4; i <= 7; ++i) contents.Null(i);
        }
        contents.Int(8, CDrawingFile::kSrsId);
        contents.Run();
        Statement geom(
            m_c,
            "INSERT INTO gpkg_geometry_columns(table_name, column_name, geometry_type_name, srs_id, z, m) "
            "VALUES (?, 'geom', ?, ?, 0, 0)");
        geom.Text(1, layer.table);
        geom.Text(2, layer.geometryType);
        geom.Int(3, CDrawingFile::kSrsId);
        geom.Run();

        Statement defs(m_c,
                       "INSERT INTO tav_attribute_definitions(entity_type, position, name, value_type, unit, "
                       "column_name) VALUES (?, ?, ?, ?, ?, ?)");
        for (std::size_t i = 0; i < attrs.defs.size(); ++i) {
            defs.Int(1, layer.entityType);
            defs.Int(2, static_cast<std::int64_t>(i));
            defs.Text(3, attrs.defs[i]->GetID());
            defs.Text(4, ValueTypeWord(attrs.defs[i]->GetValueType()));
            defs.Text(5, attrs.defs[i]->GetUnit());
            defs.Text(6, attrs.columns[i]);
            defs.Run();
        }
        return insert + ") VALUES (" + values + ")";
    }

    // Binds the columns every layer has (guid .. color_index at 2..7); returns the next index.
    int BindCommon(Statement& st, const Topology::CEntity& e) {
        st.Text(2, e.GetGuid());
        st.Text(3, e.GetName());
        if (e.GetSystem())
            st.Int(4, e.GetSystem()->GetId());
        else
            st.Null(4);
        st.Int(5, static_cast<std::int64_t>(e.GetObjectId()));
        if (const auto* ent = m_doc.Db().GetEntity(e.GetObjectId())) {
            st.Text(6, ent->layer);
            st.Int(7, ent->colorIndex);
        } else {
            st.Null(6);
            st.Null(7);
        }
        return 8;
    }

    static void BindAttribute(Statement& st, int idx, const CDataDefinition& def,
                              const Data::CAttributeStore& store, int row) {
        CDataBox box;
        store.Get(def, row, box);
        if (box.IsNull())
            st.Null(idx);
        else if (def.GetValueType() == ValueType::Text)
            st.Text(idx, box.ToString());
        else if (def.GetValueType() == ValueType::Int)
            st.Int(idx, box.ToInt());
        else
            st.Real(idx, box.ToDouble());
    }

    void BindAttributes(Statement& st, int first, const AttributeColumns& attrs,
                        const Data::CAttributeStore& store, const Topology::CEntity& e) {
        for (std::size_t i = 0; i < attrs.defs.size(); ++i)
            BindAttribute(st, first + static_cast<int>(i), *attrs.defs[i], store, e.AttributeRow());
    }

    // Bind the geometry and the fixed columns of a row (indices 1..); return the next index.
    int BindNode(Statement& st, const Topology::CNode& n) {
        st.Blob(1, CGpkgGeometry::EncodePoint(CDrawingFile::kSrsId, {n.X(), n.Y()}));
        int i = BindCommon(st, n);
        st.OptReal(i++, n.TerrainHeight());
        return i;
    }

    int BindSection(Statement& st, const Topology::CSection& s, std::vector<TAVHost::Point2d>& pts) {
        pts.clear();
        pts.push_back({s.GetStartingNode()->X(), s.GetStartingNode()->Y()});
        pts.insert(pts.end(), s.Vertices().begin(), s.Vertices().end());
        pts.push_back({s.GetEndingNode()->X(), s.GetEndingNode()->Y()});
        st.Blob(1, CGpkgGeometry::EncodeLineString(CDrawingFile::kSrsId, pts));
        int i = BindCommon(st, s);
        st.Text(i++, s.GetStartingNode()->GetGuid());
        st.Text(i++, s.GetEndingNode()->GetGuid());
        st.OptReal(i++, s.LevelAtStart());
        st.OptReal(i++, s.LevelAtEnd());
        return i;
    }

    int BindCatchment(Statement& st, const Topology::CCatchmentArea& a) {
        if (a.polygon.empty())
            st.Null(1);
        else
            st.Blob(1, CGpkgGeometry::EncodePolygon(CDrawingFile::kSrsId, a.polygon));
        int i = BindCommon(st, a);
        st.Int(i++, a.kind);
        st.Real(i++, a.areaHa);
        st.Real(i++, a.densityInhabPerHa);
        st.Real(i++, a.runoffCoefficient);
        st.OptText(i++, a.sectionGuid);
        return i;
    }

    void RecordFid(int layer, const Topology::CEntity& e) {
        Store::RecordFid(m_fids[layer], e.AttributeRow(), sqlite3_last_insert_rowid(m_c.Handle()));
    }

    void WriteNodes() {
        m_columns[0] = ColumnsFor(NodeLayer());
        const auto& attrs = m_columns[0];
        Statement st(m_c, CreateLayer(NodeLayer(), attrs, LayerBox(m_topo, 0)));
        TAVHost::CProgress progress("saving nodes", m_topo.Nodes().size());
        for (const auto& n : m_topo.Nodes()) {
            progress.Advance();
            const int i = BindNode(st, *n);
            BindAttributes(st, i, attrs, m_gis.nodeStore, *n);
            st.Run();
            RecordFid(0, *n);
        }
    }

    void WriteSections() {
        m_columns[1] = ColumnsFor(SectionLayer());
        const auto& attrs = m_columns[1];
        Statement st(m_c, CreateLayer(SectionLayer(), attrs, LayerBox(m_topo, 1)));
        std::vector<TAVHost::Point2d> pts;
        TAVHost::CProgress progress("saving sections", m_topo.Sections().size());
        for (const auto& s : m_topo.Sections()) {
            progress.Advance();
            const int i = BindSection(st, *s, pts);
            BindAttributes(st, i, attrs, m_gis.sectionStore, *s);
            st.Run();
            RecordFid(1, *s);
        }
    }

    void WriteCatchments() {
        m_columns[2] = ColumnsFor(CatchmentLayer());
        const auto& attrs = m_columns[2];
        Statement st(m_c, CreateLayer(CatchmentLayer(), attrs, LayerBox(m_topo, 2)));
        for (const auto& a : m_topo.CatchmentAreas()) {
            const int i = BindCatchment(st, *a);
            BindAttributes(st, i, attrs, m_gis.catchmentStore, *a);
            st.Run();
            RecordFid(2, *a);
        }
    }

    // Drawing entities that are not network entities, by object id; returns them.
    std::vector<const TAVHost::DbEntity*> WriteOtherEntities() {
        Statement st(
            m_c,
            "INSERT INTO tav_entities(object_id, kind, layer, color_index, points) VALUES (?, ?, ?, ?, ?)");
        std::vector<const TAVHost::DbEntity*> others;
        m_doc.Db().ForEachEntity([&](const TAVHost::DbEntity& e) {
            if (!e.erased && !m_topo.GetEntityByObjectId(e.id)) others.push_back(&e);
        });
        std::sort(others.begin(), others.end(), [](auto* a, auto* b) { return a->id < b->id; });
        for (const auto* e : others) {
            st.Int(1, static_cast<std::int64_t>(e->id));
            st.Int(2, static_cast<int>(e->kind));
            st.Text(3, e->layer);
            st.Int(4, e->colorIndex);
            st.Blob(5, PackPoints(e->points));
            st.Run();
        }
        return others;
    }

    void WriteRegisteredApps() {
        Statement apps(m_c, "INSERT INTO tav_registered_apps(name) VALUES (?)");
        for (const auto& a : m_doc.Db().RegisteredApps()) {
            apps.Text(1, a);
            apps.Run();
        }
    }

    void WriteXDataOf(Statement& st, const TAVHost::DbEntity& e) {
        for (const auto& [app, chain] : e.xdata) {
            for (std::size_t k = 0; k < chain.size(); ++k) {
                const auto& rb = chain[k];
                st.Int(1, static_cast<std::int64_t>(e.id));
                st.Text(2, app);
                st.Int(3, static_cast<std::int64_t>(k));
                st.Int(4, rb.code);
                if (const auto* s = std::get_if<std::string>(&rb.value)) {
                    st.Text(5, "text");
                    st.Text(6, *s);
                } else if (const auto* d = std::get_if<double>(&rb.value)) {
                    st.Text(5, "double");
                    st.Real(6, *d);
                } else if (const auto* i = std::get_if<std::int32_t>(&rb.value)) {
                    st.Text(5, "int");
                    st.Int(6, *i);
                } else {
                    st.Text(5, "null");
                    st.Null(6);
                }
                st.Run();
            }
        }
    }

    void WriteXData() {
        WriteRegisteredApps();
        Statement st(m_c, kInsertXData);
        m_doc.Db().ForEachEntity([&](const TAVHost::DbEntity& e) {
            if (!e.erased) WriteXDataOf(st, e);
        });
    }

    void WriteDictionaries() {
        Statement dict(m_c, "INSERT INTO tav_dictionaries(name) VALUES (?)");
        Statement entry(
            m_c, "INSERT INTO tav_dictionary_entries(dictionary, key, code, value) VALUES (?, ?, ?, ?)");
        for (const auto& [name, entries] : m_doc.Db().Dictionaries()) {
            dict.Text(1, name);
            dict.Run();
            for (const auto& [key, e] : entries) {
                entry.Text(1, name);
                entry.Text(2, key);
                entry.Int(3, e.code);
                if (const auto* s = std::get_if<std::string>(&e.value))
                    entry.Text(4, *s);
                else if (const auto* d = std::get_if<double>(&e.value))
                    entry.Real(4, *d);
                else
                    entry.Int(4, std::get<std::int16_t>(e.value));
                entry.Run();
            }
        }
    }

    void WriteCatalogs() {
        auto& net = m_doc.Extension<Topology::NetworkDrawingData>(Topology::NetworkDrawingData::kKey);
        Statement cat(m_c, "INSERT INTO tav_catalogs(name) VALUES (?)");
        Statement item(m_c,
                       "INSERT INTO tav_catalog_items(catalog, position, guid, parent_guid, name) VALUES (?, "
                       "?, ?, ?, ?)");
        Statement prop(m_c,
                       "INSERT INTO tav_catalog_properties(catalog, item_guid, name, value_type, value) "
                       "VALUES (?, ?, ?, ?, ?)");
        for (const auto& [name, catalog] : net.catalogs) {
            if (!catalog) continue;
            cat.Text(1, name);
            cat.Run();
            std::int64_t position = 0;
            // Pre-order, so every parent precedes its sub-items.
            std::vector<Data::CCatalogItemPtr> stack(catalog->GetRootItems().rbegin(),
                                                     catalog->GetRootItems().rend());
            while (!stack.empty()) {
                auto it = stack.back();
                stack.pop_back();
                item.Text(1, name);
                item.Int(2, position++);
                item.Text(3, it->GetGUID());
                if (auto parent = it->GetParentItem())
                    item.Text(4, parent->GetGUID());
                else
                    item.Null(4);
                item.Text(5, it->GetName());
                item.Run();
                for (const auto& [pname, value] : it->Properties()) {
                    prop.Text(1, name);
                    prop.Text(2, it->GetGUID());
                    prop.Text(3, pname);
                    BindBox(prop, 4, value);
                    prop.Run();
                }
                const auto& subs = it->GetSubItems();
                for (auto s = subs.rbegin(); s != subs.rend(); ++s) stack.push_back(*s);
            }
        }
    }

    void WriteSettings() {
        Statement st(m_c, "INSERT INTO tav_settings(key, value_type, value) VALUES (?, ?, ?)");
        for (const auto& [key, value] : m_gis.settings) {
            st.Text(1, key);
            BindBox(st, 2, value);
            st.Run();
        }
    }

    TAVHost::Document& m_doc;
    Connection& m_c;
    GisDrawingData& m_gis;
    Topology::CTopologyStorage& m_topo;
    std::array<std::vector<std::int64_t>, kLayerCount> m_fids;  // by layer: attribute row -> fid written
    std::array<AttributeColumns, kLayerCount> m_columns;        // by layer: the attribute columns written
};

// ---- opening ----

std::uint32_t BigEndian32(const unsigned char* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// Checks, before SQLite sees the file, that it is a whole SQLite database.
void CheckFileHeader(const fs::path& path) {
    const std::string file = path.string();
    std::error_code ec;
    if (!fs::exists(path, ec)) throw CDrawingFileError(file + ": no such drawing");
    if (!fs::is_regular_file(path, ec)) throw CDrawingFileError(file + ": is not a file");
    const auto size = fs::file_size(path, ec);
    if (ec) throw CDrawingFileError(file + ": cannot read: " + ec.message());
    if (size == 0) throw CDrawingFileError(file + ": is not a drawing (the file is empty)");
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, kSqliteHeaderSize> h{};
    in.read(reinterpret_cast<char*>(h.data()), static_cast<std::streamsize>(h.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (!in && !in.eof()) throw CDrawingFileError(file + ": cannot read");
    if (got < sizeof kSqliteMagic || std::memcmp(h.data(), kSqliteMagic, sizeof kSqliteMagic) != 0)
        throw CDrawingFileError(file + ": is not a drawing (not a GeoPackage / SQLite database)");
    if (got < kSqliteHeaderSize)
        throw CDrawingFileError(file + ": the drawing is truncated (incomplete header)");
    std::uint32_t pageSize = (static_cast<std::uint32_t>(h[16]) << 8) | h[17];
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        throw CDrawingFileError(file + ": the drawing is damaged (invalid page size)");
    if (h[18] != 1 || h[19] != 1)
        throw CDrawingFileError(
            file +
            ": is in a journal mode this program does not read; open it in a GIS tool and "
            "turn write-ahead logging off, or save it again");
    const std::uint32_t changeCounter = BigEndian32(&h[24]);
    const std::uint32_t pages = BigEndian32(&h[28]);
    const std::uint32_t validFor = BigEndian32(&h[92]);
    if (changeCounter == validFor && pages != 0 && size < static_cast<std::uint64_t>(pages) * pageSize)
        throw CDrawingFileError(file + ": the drawing is truncated (" + std::to_string(size) + " of " +
                                std::to_string(static_cast<std::uint64_t>(pages) * pageSize) + " bytes)");
    if (size % pageSize != 0)
        throw CDrawingFileError(file + ": the drawing is truncated (partial last page)");
}

class Loader {
public:
    Loader(Connection& c, TAVHost::Document& doc)
        : m_c(c), m_file(c.File()), m_doc(doc), m_gis(GisData(doc)), m_topo(Topology::TopologyOf(doc)) {}

    // The file's schema version, the fids of the rows read by layer and attribute row, and the attribute
    // columns of each layer.
    int SchemaVersion() const { return m_schemaVersion; }
    std::array<std::vector<std::int64_t>, kLayerCount>& Fids() { return m_fids; }
    std::array<AttributeColumns, kLayerCount> Columns() {
        std::array<AttributeColumns, kLayerCount> out;
        for (int i = 0; i < kLayerCount; ++i) out[i] = m_columns[LayerAt(i).entityType];
        return out;
    }

    // With `lazy`, a file of the current schema leaves its attribute columns to be read on first use.
    void Read(bool lazy) {
        CheckFormat();
        m_lazy = lazy && m_schemaVersion == CDrawingFile::kSchemaVersion;
        ReadDefinitions();
        ReadSystems();
        const std::size_t nodes = RowCount(NodeLayer()), sections = RowCount(SectionLayer());
        m_topo.Reserve(nodes, sections, RowCount(CatchmentLayer()));
        ReadNodes(nodes);
        ReadSections(sections);
        ReadCatchments();
        ReadOtherEntities();
        ReadXData();
        ReadDictionaries();
        ReadCatalogs();
        ReadSettings();
        m_unreadable.Report(m_file);
    }

private:
    void CheckFormat() {
        bool hasMeta = false;
        {
            Statement st(m_c, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ?");
            st.Text(1, "tav_metadata");
            hasMeta = st.Next() && st.ColInt(0) == 1;
        }
        if (!hasMeta)
            throw CDrawingFileError(m_file + ": is not a drawing (a database without drawing tables)");
        Statement st(m_c, "SELECT key, value FROM tav_metadata");
        std::string format, version;
        while (st.Next()) {
            if (st.ColText(0) == "format") format = st.ColText(1);
            if (st.ColText(0) == "schema_version") version = st.ColText(1);
        }
        if (format != CDrawingFile::kFormatName)
            throw CDrawingFileError(m_file + ": is not a drawing of this program (format '" + format + "')");
        int v = 0;
        try {
            std::size_t used = 0;
            v = std::stoi(version, &used);
            if (used != version.size()) v = 0;
        } catch (const std::exception&) {
            v = 0;
        }
        if (v < 1) Damaged(m_file, "invalid schema version '" + version + "'");
        m_schemaVersion = v;
        if (v > CDrawingFile::kSchemaVersion)
            throw CDrawingFileError(m_file + ": was written by a newer version of this program (schema " +
                                    std::to_string(v) + "; this program reads up to schema " +
                                    std::to_string(CDrawingFile::kSchemaVersion) + ")");
    }

    void ReadDefinitions() {
        auto& config = Data::CDataConfiguration::GetInstance();
        Statement st(m_c,
                     "SELECT entity_type, name, value_type, unit, column_name FROM tav_attribute_definitions "
                     "ORDER BY entity_type, position");
        while (st.Next()) {
            const int type = static_cast<int>(st.ColInt(0));
            if (type != Data::kEntityNode && type != Data::kEntitySection && type != Data::kEntityCatchment)
                Damaged(m_file, "attribute definition of unknown entity type " + std::to_string(type));
            const std::string name = st.ColText(1);
            auto vt = ValueTypeFromWord(st.ColText(2));
            if (!vt || name.empty()) Damaged(m_file, "invalid attribute definition '" + name + "'");
            const CDataDefinition* def = config.GetDataDefinition(type, name);
            if (!def) def = config.AddDefinition(type, name, *vt, st.ColText(3));
            m_columns[type].defs.push_back(def);
            m_columns[type].columns.push_back(st.ColText(4));
            m_columns[type].types.push_back(st.ColText(2));
            m_columns[type].units.push_back(st.ColText(3));
        }
    }

    void ReadSystems() {
        Statement st(m_c, "SELECT system_id, name, function, active FROM tav_systems ORDER BY position");
        while (st.Next()) {
            const auto id = st.ColInt(0);
            if (m_systems.count(id)) Damaged(m_file, "system id " + std::to_string(id) + " is used twice");
            System::CGisSystemPtr sys(
                new System::CGisSystem(static_cast<int>(id), st.ColText(1), static_cast<int>(st.ColInt(2))));
            m_systems[id] = sys;
            m_gis.systems.push_back(sys);
            if (st.ColInt(3)) m_gis.activeSystem = sys;
        }
    }

    // SELECT of a layer: geom, the fixed columns, the attribute columns.
    std::string SelectLayer(const LayerLayout& layer) {
        std::string sql = "SELECT geom";
        for (const auto& [name, type] : layer.fixedColumns) sql += std::string(", ") + name;
        if (!m_lazy)
            for (const auto& c : m_columns[layer.entityType].columns) sql += ", " + QuoteIdentifier(c);
        return sql + ", fid FROM " + QuoteIdentifier(layer.table) + " ORDER BY fid";
    }

    struct Common {
        std::string guid, name, layer;
        System::CGisSystemPtr system;
        TAVHost::ObjectId objectId = 0;
        std::optional<int> color;
    };

    Common ReadCommon(const Statement& st, const char* what) {
        Common c;
        if (st.Type(1) != SQLITE_TEXT || st.Type(2) != SQLITE_TEXT || st.Type(4) != SQLITE_INTEGER)
            Damaged(m_file, std::string("a ") + what + " lacks its guid, name or object id");
        c.guid = st.ColText(1);
        c.name = st.ColText(2);
        if (!st.IsNull(3)) {
            auto it = m_systems.find(st.ColInt(3));
            if (it == m_systems.end())
                Damaged(m_file, std::string(what) + " '" + c.name + "' belongs to an unknown system");
            c.system = it->second;
        }
        const auto id = st.ColInt(4);
        if (id <= 0) Damaged(m_file, std::string(what) + " '" + c.name + "' has an invalid object id");
        c.objectId = static_cast<TAVHost::ObjectId>(id);
        c.layer = st.ColText(5);
        if (!st.IsNull(6)) c.color = static_cast<int>(st.ColInt(6));
        return c;
    }

    void ApplyCommon(const Common& c) {
        if (auto* e = m_doc.Db().GetEntity(c.objectId)) {
            if (!c.layer.empty()) e->layer = c.layer;
            if (c.color) e->colorIndex = *c.color;
        }
    }

    std::optional<double> OptReal(const Statement& st, int col, const std::string& what) {
        if (st.IsNull(col)) return std::nullopt;
        if (st.Type(col) != SQLITE_FLOAT && st.Type(col) != SQLITE_INTEGER)
            Damaged(m_file, what + " is not a number");
        return st.ColReal(col);
    }

    std::vector<TAVHost::Point2d> Geometry(const Statement& st, CGpkgGeometry::EType type,
                                           const std::string& what) {
        std::vector<TAVHost::Point2d> pts;
        if (st.IsNull(0)) return pts;
        std::string error;
        if (st.Type(0) != SQLITE_BLOB ||
            !CGpkgGeometry::Decode(st.ColBlob(0), st.ColBytes(0), type, pts, error))
            Damaged(m_file,
                    "the geometry of " + what + " cannot be read" + (error.empty() ? "" : ": " + error));
        for (const auto& p : pts)
            if (!std::isfinite(p.x) || !std::isfinite(p.y))
                Damaged(m_file, "the geometry of " + what + " is not finite");
        return pts;
    }

    void ReadAttributes(const Statement& st, int first, int entityType, const Topology::CEntity& e) {
        if (m_lazy) return;
        const auto& cols = m_columns[entityType];
        auto& store = m_gis.StoreFor(entityType);
        for (std::size_t i = 0; i < cols.defs.size(); ++i) {
            const int col = first + static_cast<int>(i);
            CDataBox box;
            if (!AttributeValue(st, col, *cols.defs[i], box) ||
                (!box.IsNull() && !store.Set(*cols.defs[i], e.AttributeRow(), box)))
                m_unreadable.Add("attribute " + cols.defs[i]->GetID() + " of '" + e.GetName() + "'");
        }
    }

    // The fid is the last column of a layer's SELECT.
    void ReadFid(const Statement& st, int layer, const Topology::CEntity& e) {
        const int col =
            1 + static_cast<int>(LayerAt(layer).fixedColumns.size() +
                                 (m_lazy ? 0 : m_columns[LayerAt(layer).entityType].columns.size()));
        RecordFid(m_fids[layer], e.AttributeRow(), st.ColInt(col));
    }

    // The rows of a layer: room reserved for them, and the progress of reading them.
    std::size_t RowCount(const LayerLayout& layer) {
        Statement st(m_c, "SELECT count(*) FROM " + QuoteIdentifier(layer.table));
        return st.Next() ? static_cast<std::size_t>(st.ColInt(0)) : 0;
    }

    void ReadNodes(std::size_t count) {
        Statement st(m_c, SelectLayer(NodeLayer()));
        TAVHost::CProgress progress("opening nodes", count);
        while (st.Next()) {
            progress.Advance();
            Common c = ReadCommon(st, "node");
            auto pts = Geometry(st, CGpkgGeometry::EType::Point, "node '" + c.name + "'");
            if (pts.size() != 1) Damaged(m_file, "node '" + c.name + "' has no position");
            auto terrain = OptReal(st, 7, "the terrain height of node '" + c.name + "'");
            auto node = m_topo.AddNode(c.name, pts[0].x, pts[0].y, c.system, terrain, c.guid, c.objectId);
            ApplyCommon(c);
            ReadAttributes(st, 1 + static_cast<int>(NodeLayer().fixedColumns.size()), Data::kEntityNode,
                           *node);
            ReadFid(st, 0, *node);
        }
    }

    void ReadSections(std::size_t count) {
        Statement st(m_c, SelectLayer(SectionLayer()));
        TAVHost::CProgress progress("opening sections", count);
        while (st.Next()) {
            progress.Advance();
            Common c = ReadCommon(st, "section");
            auto pts = Geometry(st, CGpkgGeometry::EType::LineString, "section '" + c.name + "'");
            auto start = m_topo.GetNodeByGuid(st.ColText(7));
            auto end = m_topo.GetNodeByGuid(st.ColText(8));
            if (!start || !end)
                Damaged(m_file, "section '" + c.name + "' refers to a node that is not in the drawing");
            std::vector<TAVHost::Point2d> vertices;
            if (pts.size() > 2) vertices.assign(pts.begin() + 1, pts.end() - 1);
            auto s = m_topo.AddSection(c.name, start, end, c.system, std::move(vertices), c.guid, c.objectId);
            s->SetLevels(OptReal(st, 9, "the start level of section '" + c.name + "'"),
                         OptReal(st, 10, "the end level of section '" + c.name + "'"));
            ApplyCommon(c);
            ReadAttributes(st, 1 + static_cast<int>(SectionLayer().fixedColumns.size()), Data::kEntitySection,
                           *s);
            ReadFid(st, 1, *s);
        }
    }

    void ReadCatchments() {
        Statement st(m_c, SelectLayer(CatchmentLayer()));
        while (st.Next()) {
            Common c = ReadCommon(st, "catchment area");
            auto pts = Geometry(st, CGpkgGeometry::EType::Polygon, "catchment area '" + c.name + "'");
            auto a = m_topo.AddCatchmentArea(c.name, c.system, std::move(pts), c.guid, c.objectId);
            a->kind = static_cast<int>(st.ColInt(7));
            const std::string what = "catchment area '" + c.name + "'";
            a->areaHa = OptReal(st, 8, "the area of " + what).value_or(0.0);
            a->densityInhabPerHa = OptReal(st, 9, "the density of " + what).value_or(0.0);
            a->runoffCoefficient = OptReal(st, 10, "the runoff coefficient of " + what).value_or(1.0);
            if (!st.IsNull(11)) {
                const std::string section = st.ColText(11);
                if (!m_topo.GetSectionByGuid(section))
                    Damaged(m_file, what + " drains into an unknown section");
                m_topo.LinkCatchment(a, section);
            }
            ApplyCommon(c);
            ReadAttributes(st, 1 + static_cast<int>(CatchmentLayer().fixedColumns.size()),
                           Data::kEntityCatchment, *a);
            ReadFid(st, 2, *a);
        }
    }

    void ReadOtherEntities() {
        Statement st(
            m_c, "SELECT object_id, kind, layer, color_index, points FROM tav_entities ORDER BY object_id");
        while (st.Next()) {
            const auto id = st.ColInt(0);
            const auto kind = st.ColInt(1);
            if (id <= 0 || kind < 0 || kind > static_cast<int>(TAVHost::GeometryKind::Polygon))
                Damaged(m_file, "invalid drawing entity " + std::to_string(id));
            if (st.Type(4) != SQLITE_BLOB && !st.IsNull(4))
                Damaged(m_file, "invalid points of entity " + std::to_string(id));
            const std::size_t bytes = st.IsNull(4) ? 0 : st.ColBytes(4);
            if (bytes % 16 != 0) Damaged(m_file, "invalid points of entity " + std::to_string(id));
            std::vector<TAVHost::Point2d> pts(bytes / 16);
            const auto* p = static_cast<const char*>(st.ColBlob(4));
            for (std::size_t i = 0; i < pts.size(); ++i) {
                std::memcpy(&pts[i].x, p + i * 16, 8);
                std::memcpy(&pts[i].y, p + i * 16 + 8, 8);
            }
            if (m_doc.Db().GetEntity(static_cast<TAVHost::ObjectId>(id)))
                Damaged(m_file, "object id " + std::to_string(id) + " is used twice");
            auto& e = m_doc.Db().AddEntityWithId(static_cast<TAVHost::ObjectId>(id),
                                                 static_cast<TAVHost::GeometryKind>(kind), std::move(pts),
                                                 st.ColText(2));
            e.colorIndex = static_cast<int>(st.ColInt(3));
        }
    }

    void ReadXData() {
        {
            Statement st(m_c, "SELECT name FROM tav_registered_apps");
            while (st.Next()) m_doc.Db().RegisterApp(st.ColText(0));
        }
        Statement st(m_c,
                     "SELECT object_id, app, code, value_type, value FROM tav_xdata ORDER BY object_id, app, "
                     "position");
        while (st.Next()) {
            auto* e = m_doc.Db().GetEntity(static_cast<TAVHost::ObjectId>(st.ColInt(0)));
            if (!e) Damaged(m_file, "extended data for an entity that is not in the drawing");
            TAVHost::ResultBuffer rb;
            rb.code = static_cast<int>(st.ColInt(2));
            const std::string type = st.ColText(3);
            if (type == "text" && st.Type(4) == SQLITE_TEXT)
                rb.value = st.ColText(4);
            else if (type == "double" && (st.Type(4) == SQLITE_FLOAT || st.Type(4) == SQLITE_INTEGER))
                rb.value = st.ColReal(4);
            else if (type == "int" && st.Type(4) == SQLITE_INTEGER && st.ColInt(4) >= INT32_MIN &&
                     st.ColInt(4) <= INT32_MAX)
                rb.value = static_cast<std::int32_t>(st.ColInt(4));
            else if (type != "null") {
                m_unreadable.Add("extended data of application '" + st.ColText(1) + "'");
                continue;
            }
            e->xdata[st.ColText(1)].push_back(std::move(rb));
        }
    }

    void ReadDictionaries() {
        {
            Statement st(m_c, "SELECT name FROM tav_dictionaries");
            while (st.Next()) m_doc.Db().GetOrCreateDictionary(st.ColText(0));
        }
        Statement st(m_c, "SELECT dictionary, key, code, value FROM tav_dictionary_entries");
        while (st.Next()) {
            auto* dict = m_doc.Db().GetDictionary(st.ColText(0));
            if (!dict) Damaged(m_file, "an entry of the unknown dictionary '" + st.ColText(0) + "'");
            TAVHost::DictionaryEntry e;
            e.code = static_cast<int>(st.ColInt(2));
            const std::string key = st.ColText(1);
            if (e.code == TAVHost::kDictCodeText && st.Type(3) == SQLITE_TEXT)
                e.value = st.ColText(3);
            else if (e.code == TAVHost::kDictCodeDouble &&
                     (st.Type(3) == SQLITE_FLOAT || st.Type(3) == SQLITE_INTEGER))
                e.value = st.ColReal(3);
            else if (e.code == TAVHost::kDictCodeInt16 && st.Type(3) == SQLITE_INTEGER &&
                     st.ColInt(3) >= INT16_MIN && st.ColInt(3) <= INT16_MAX)
                e.value = static_cast<std::int16_t>(st.ColInt(3));
            else {
                m_unreadable.Add("entry '" + key + "' of dictionary '" + st.ColText(0) + "'");
                continue;
            }
            (*dict)[key] = std::move(e);
        }
    }

    void ReadCatalogs() {
        auto& net = m_doc.Extension<Topology::NetworkDrawingData>(Topology::NetworkDrawingData::kKey);
        {
            Statement st(m_c, "SELECT name FROM tav_catalogs");
            while (st.Next())
                net.catalogs[st.ColText(0)] = Data::CCatalogPtr(new Data::CCatalog(st.ColText(0)));
        }
        {
            Statement st(
                m_c,
                "SELECT catalog, guid, parent_guid, name FROM tav_catalog_items ORDER BY catalog, position");
            while (st.Next()) {
                auto it = net.catalogs.find(st.ColText(0));
                if (it == net.catalogs.end())
                    Damaged(m_file, "an item of the unknown catalogue '" + st.ColText(0) + "'");
                const std::string guid = st.ColText(1);
                if (it->second->FindItem(guid)) Damaged(m_file, "catalogue item " + guid + " appears twice");
                Data::CCatalogItemPtr item(new Data::CCatalogItem(guid, st.ColText(3)));
                if (st.IsNull(2)) {
                    it->second->AddRootItem(item);
                } else {
                    auto parent = it->second->FindItem(st.ColText(2));
                    if (!parent) Damaged(m_file, "catalogue item " + guid + " comes before its parent");
                    it->second->AddItem(parent, item);
                }
            }
        }
        Statement st(m_c, "SELECT catalog, item_guid, name, value_type, value FROM tav_catalog_properties");
        while (st.Next()) {
            auto it = net.catalogs.find(st.ColText(0));
            auto item =
                it == net.catalogs.end() ? Data::CCatalogItemPtr() : it->second->FindItem(st.ColText(1));
            if (!item) Damaged(m_file, "a property of an unknown catalogue item");
            try {
                item->SetProperty(st.ColText(2),
                                  ReadBox(st, 3, m_file, "catalogue property " + st.ColText(2)));
            } catch (const CDrawingFileError&) {
                m_unreadable.Add("catalogue property " + st.ColText(2));
            }
        }
    }

    void ReadSettings() {
        Statement st(m_c, "SELECT key, value_type, value FROM tav_settings");
        while (st.Next()) {
            try {
                m_gis.settings[st.ColText(0)] = ReadBox(st, 1, m_file, "setting " + st.ColText(0));
            } catch (const CDrawingFileError&) {
                m_unreadable.Add("setting " + st.ColText(0));
            }
        }
    }

    Connection& m_c;
    std::string m_file;
    TAVHost::Document& m_doc;
    GisDrawingData& m_gis;
    Topology::CTopologyStorage& m_topo;
    std::map<std::int64_t, System::CGisSystemPtr> m_systems;
    std::map<int, AttributeColumns> m_columns;
    std::array<std::vector<std::int64_t>, kLayerCount> m_fids;
    int m_schemaVersion = 0;
    bool m_lazy = false;
    Unreadable m_unreadable;
};

void SyncFile(const fs::path& path, bool directory) {
    int fd = ::open(path.c_str(), directory ? O_RDONLY | O_DIRECTORY : O_RDONLY);
    if (fd < 0) {
        if (directory) return;  // some file systems do not open directories; the rename is still atomic
        throw CDrawingFileError(path.string() + ": cannot open for flushing: " + std::strerror(errno));
    }
    int rc = ::fsync(fd);
    int err = errno;
    ::close(fd);
    if (rc != 0 && !directory)
        throw CDrawingFileError(path.string() + ": cannot flush to disk: " + std::strerror(err));
}

// An in-place save that was interrupted leaves SQLite's rollback journal beside the drawing. Taking a write
// lock on the file rolls the drawing back to what it was before that save when the journal is complete;
// a journal that is not (the save was killed before it wrote any page, or after it committed) holds
// nothing to restore and is removed while the lock is held.
void RollBackInterruptedSave(const fs::path& path) {
    std::error_code ec;
    const fs::path journal = JournalPath(path);
    if (!fs::exists(journal, ec)) return;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) ==
            SQLITE_OK &&
        sqlite3_exec(db, "BEGIN IMMEDIATE; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) ==
            SQLITE_OK) {
        fs::remove(journal, ec);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close_v2(db);
}

// Writes what changed since the document was opened from or saved to `path`, in one transaction on the
// file itself. Returns false, with the file untouched, when the drawing must be written whole instead.
bool SaveInPlace(TAVHost::Document& doc, const fs::path& path) {
    auto* state = doc.FindExtension<SavedFileState>(SavedFileState::kKey);
    if (!state || state->path != Canonical(path)) return false;
    const auto stamp = StampOf(path);
    std::error_code ec;
    if (!stamp || !(*stamp == state->stamp) || fs::exists(JournalPath(path), ec)) return false;
    if (doc.Db().EntityCount() != state->dbEntities) return false;
    auto& gis = GisData(doc);
    auto& topo = Topology::TopologyOf(doc);
    std::array<std::vector<std::uint64_t>, kLayerCount> rows;
    bool changed = false;
    for (int i = 0; i < kLayerCount; ++i) {
        const LayerState& l = state->layers[i];
        const auto& store = gis.StoreFor(LayerAt(i).entityType);
        if (!l.everyRowHasFid || EntitiesIn(topo, i) != l.entities ||
            static_cast<std::size_t>(store.RowCount()) != l.fidByRow.size())
            return false;
        const AttributeColumns now = ColumnsFor(LayerAt(i));
        if (now.defs != l.columns.defs || now.columns != l.columns.columns || now.types != l.columns.types ||
            now.units != l.columns.units)
            return false;
        rows[i] = RowFingerprints(doc, i);
        changed = changed || store.HasChanges() || rows[i] != l.rows;
    }
    const TableFingerprints tables = TablesOf(doc);
    changed = changed || !(tables == state->tables);
    if (changed) {
        Connection c(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX);
        // SQLite's rollback journal makes the transaction atomic: deleting the journal commits it.
        c.Exec("PRAGMA journal_mode = DELETE; PRAGMA synchronous = FULL; PRAGMA cache_size = -65536;");
        c.Exec("BEGIN IMMEDIATE");
        Saver saver(doc, c);
        for (int i = 0; i < kLayerCount; ++i) {
            saver.UpdateAttributes(i, state->layers[i]);
            saver.UpdateRows(i, state->layers[i], rows[i]);
        }
        saver.UpdateTables(state->tables, tables);
        c.Exec("COMMIT");
        c.Close();
    }
    const auto after = StampOf(path);
    if (!after) throw CDrawingFileError(path.string() + ": the drawing vanished while it was saved");
    state->stamp = *after;
    for (int i = 0; i < kLayerCount; ++i) {
        state->layers[i].rows = std::move(rows[i]);
        gis.StoreFor(LayerAt(i).entityType).ClearChanges();
    }
    state->tables = tables;
    return true;
}

// Reads the attribute columns `defs` of one layer (those not in the file have no values) from the file the
// document was opened from or last saved to, in one pass, under the file's read lock. Refuses, reading
// nothing, when another program changed the file since: its values would not belong to this drawing.
void ReadColumns(TAVHost::Document& doc, int layer, const std::vector<const CDataDefinition*>& defs) {
    if (defs.empty()) return;
    const LayerLayout& layout = LayerAt(layer);
    auto& store = GisData(doc).StoreFor(layout.entityType);
    auto* state = doc.FindExtension<SavedFileState>(SavedFileState::kKey);
    if (!state)
        throw CDrawingFileError(doc.Path() +
                                ": the drawing's file is gone; values not read yet cannot be read");
    LayerState& l = state->layers[layer];
    std::vector<std::pair<const CDataDefinition*, std::string>> cols;
    for (const auto* def : defs) {
        auto it = std::find(l.columns.defs.begin(), l.columns.defs.end(), def);
        if (it != l.columns.defs.end())
            cols.emplace_back(def, l.columns.columns[it - l.columns.defs.begin()]);
    }
    if (!cols.empty()) {
        const fs::path path = state->path;
        auto unchanged = [&] {
            std::error_code ec;
            const auto now = StampOf(path);
            return now && *now == state->stamp && !fs::exists(JournalPath(path), ec);
        };
        auto changed = [&] {
            return CDrawingFileError(
                path.string() +
                ": the drawing was changed by another program since it was opened or saved "
                "here, so its values of " +
                cols.front().first->GetID() + (cols.size() > 1 ? " and others" : "") +
                " cannot be read; open it again");
        };
        if (!unchanged()) throw changed();
        if (l.rowByFid.empty()) {
            for (std::size_t row = 0; row < l.fidByRow.size(); ++row)
                if (l.fidByRow[row] > 0) l.rowByFid.emplace_back(l.fidByRow[row], static_cast<int>(row));
            if (!std::is_sorted(l.rowByFid.begin(), l.rowByFid.end()))
                std::sort(l.rowByFid.begin(), l.rowByFid.end());
        }
        try {
            Connection c(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
            c.Exec("PRAGMA query_only = 1; BEGIN");
            std::string sql = "SELECT fid";
            for (const auto& [def, column] : cols) sql += ", " + QuoteIdentifier(column);
            sql += " FROM " + QuoteIdentifier(layout.table);
            if (cols.size() == 1) sql += " WHERE " + QuoteIdentifier(cols.front().second) + " IS NOT NULL";
            Statement st(c, sql);
            CDataBox box;
            Unreadable unreadable;
            while (st.Next()) {
                const std::int64_t fid = st.ColInt(0);
                auto at =
                    std::lower_bound(l.rowByFid.begin(), l.rowByFid.end(), std::make_pair(fid, INT_MIN));
                if (at == l.rowByFid.end() || at->first != fid) throw changed();
                for (std::size_t k = 0; k < cols.size(); ++k) {
                    if (st.IsNull(static_cast<int>(k) + 1)) continue;  // most values of a wide layer
                    const CDataDefinition& def = *cols[k].first;
                    if (!AttributeValue(st, static_cast<int>(k) + 1, def, box) ||
                        !store.LoadValue(def, at->second, box))
                        unreadable.Add("attribute " + def.GetID() + " of row " + std::to_string(fid) +
                                       " of " + layout.table);
                }
            }
            // Still under the read lock taken by the first step: nobody wrote the file while it was read.
            if (!unchanged()) throw changed();
            c.Exec("COMMIT");
            unreadable.Report(path.string());
        } catch (...) {
            for (const auto& [def, column] : cols) store.UnloadColumn(*def);
            throw;
        }
    }
    for (const auto* def : defs) store.MarkLoaded(*def);
}

// Leaves every attribute column of the file that the document remembers to be read on first use.
void ReadColumnsOnFirstUse(TAVHost::Document& doc) {
    auto* state = doc.FindExtension<SavedFileState>(SavedFileState::kKey);
    if (!state) return;
    auto& gis = GisData(doc);
    for (int i = 0; i < kLayerCount; ++i) {
        auto& store = gis.StoreFor(LayerAt(i).entityType);
        store.SetColumnLoader(
            [&doc, i](Data::CAttributeStore&, const std::vector<const CDataDefinition*>& defs) {
                ReadColumns(doc, i, defs);
            });
        for (const auto* def : state->layers[i].columns.defs) store.MarkPending(*def);
    }
}

// Copies into a drawing being written whole (its own tables complete) everything of `source` that this
// program does not write itself: other programs' tables and layers (a layer added with a GIS, a style
// table) with their rows, indexes, triggers and views, and their GeoPackage registrations (contents,
// geometry columns, the spatial reference systems they use, extensions). What belongs to the drawing's own
// tables (a spatial index of a drawing layer, a trigger on it) is not copied: it would describe the old
// rows. A source that is not an SQLite file has nothing to copy.
void CopyForeignTables(Connection& c, const fs::path& source) {
    {
        std::ifstream in(source, std::ios::binary);
        char magic[sizeof kSqliteMagic] = {};
        if (!in.read(magic, sizeof magic) || std::memcmp(magic, kSqliteMagic, sizeof magic) != 0) return;
    }
    std::set<std::string> own;
    {
        Statement st(c, "SELECT name FROM main.sqlite_master WHERE type = 'table'");
        while (st.Next()) own.insert(Lower(st.ColText(0)));
    }
    {
        Statement attach(c, "ATTACH DATABASE ? AS foreign_source");
        attach.Text(1, source.string());
        attach.Run();
    }
    struct Object {
        std::string type, name, table, sql;
    };
    std::vector<Object> objects;
    try {
        Statement st(
            c,
            "SELECT type, name, tbl_name, sql FROM foreign_source.sqlite_master WHERE sql IS NOT NULL "
            "ORDER BY rowid");
        while (st.Next()) objects.push_back({st.ColText(0), st.ColText(1), st.ColText(2), st.ColText(3)});
    } catch (const CDrawingFileError&) {
        c.Exec("DETACH DATABASE foreign_source");
        return;  // not a database this program can read: nothing to keep
    }
    auto isOwn = [&](const std::string& table) {
        const std::string t = Lower(table);
        if (own.count(t) || t.rfind("sqlite_", 0) == 0) return true;
        // The spatial index of a drawing layer (rtree_<layer>_<column>) and its shadow tables.
        for (const auto* layer : {kNodesTable, kSectionsTable, kCatchmentsTable})
            if (t.rfind(std::string("rtree_") + layer + "_", 0) == 0) return true;
        return false;
    };
    // Shadow tables of a virtual table are made by the virtual table itself.
    std::vector<std::string> virtualTables;
    for (const auto& o : objects)
        if (o.type == "table" && Lower(o.sql).rfind("create virtual table", 0) == 0)
            virtualTables.push_back(o.name);
    auto isShadow = [&](const std::string& name) {
        for (const auto& v : virtualTables)
            if (name.size() > v.size() + 1 && Lower(name).rfind(Lower(v) + "_", 0) == 0) return true;
        return false;
    };
    std::vector<std::string> copied;
    c.Exec("BEGIN");
    for (const auto& o : objects) {
        if (o.type != "table" || isOwn(o.name) || isShadow(o.name)) continue;
        c.Exec(o.sql);
        c.Exec("INSERT INTO main." + QuoteIdentifier(o.name) + " SELECT * FROM foreign_source." +
               QuoteIdentifier(o.name));
        copied.push_back(o.name);
    }
    for (const auto& o : objects) {
        if (o.type == "table" || isOwn(o.table) || isShadow(o.table)) continue;
        if (o.type == "view" || std::find(copied.begin(), copied.end(), o.table) != copied.end())
            c.Exec(o.sql);
    }
    c.Exec(
        "INSERT OR IGNORE INTO main.gpkg_spatial_ref_sys (srs_name, srs_id, organization, "
        "organization_coordsys_id, definition, description) SELECT srs_name, srs_id, organization, "
        "organization_coordsys_id, definition, description FROM foreign_source.gpkg_spatial_ref_sys");
    for (const auto& name : copied) {
        Statement contents(
            c,
            "INSERT OR IGNORE INTO main.gpkg_contents (table_name, data_type, identifier, "
            "description, last_change, min_x, min_y, max_x, max_y, srs_id) SELECT table_name, "
            "data_type, identifier, description, last_change, min_x, min_y, max_x, max_y, srs_id "
            "FROM foreign_source.gpkg_contents WHERE table_name = ?");
        contents.Text(1, name);
        contents.Run();
        Statement geometry(c,
                           "INSERT OR IGNORE INTO main.gpkg_geometry_columns (table_name, column_name, "
                           "geometry_type_name, srs_id, z, m) SELECT table_name, column_name, "
                           "geometry_type_name, srs_id, z, m FROM foreign_source.gpkg_geometry_columns WHERE "
                           "table_name = ?");
        geometry.Text(1, name);
        geometry.Run();
    }
    // Registrations of extensions on the drawing's own layers describe what was not copied, and feature
    // counts kept by a GIS for them count the old rows.
    for (const char* registry : {"gpkg_extensions", "gpkg_ogr_contents"})
        if (std::find_if(copied.begin(), copied.end(),
                         [&](const std::string& n) { return Lower(n) == registry; }) != copied.end())
            c.Exec(std::string("DELETE FROM main.") + registry +
                   " WHERE lower(table_name) IN ('nodes', 'sections', 'catchment_areas')");
    c.Exec("COMMIT");
    c.Exec("DETACH DATABASE foreign_source");
}

}  // namespace

void CDrawingFile::SetWarningHandler(WarningHandler handler) {
    WarningSink() = std::move(handler);
}

void CDrawingFile::ReadAllColumns(TAVHost::Document& doc) {
    auto& gis = GisData(doc);
    for (int i = 0; i < kLayerCount; ++i) {
        const auto& store = gis.StoreFor(LayerAt(i).entityType);
        std::vector<const CDataDefinition*> pending;
        for (const auto* def : Data::CDataConfiguration::GetInstance().Definitions(LayerAt(i).entityType))
            if (store.IsPending(*def)) pending.push_back(def);
        ReadColumns(doc, i, pending);
    }
}

fs::path CDrawingFile::SavingPath(const fs::path& path) {
    fs::path p = path;
    p += ".saving";
    return p;
}

std::unique_ptr<TAVHost::Document> CDrawingFile::Open(const fs::path& path) {
    RollBackInterruptedSave(path);
    CheckFileHeader(path);
    auto doc = std::make_unique<TAVHost::Document>(path.filename().string());
    std::error_code ec;
    auto absolute = fs::absolute(path, ec);
    doc->SetPath(ec ? path.string() : absolute.lexically_normal().string());
    Connection c(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    try {
        c.Exec("PRAGMA query_only = 1");
        Loader loader(c, *doc);
        loader.Read(true);
        if (loader.SchemaVersion() == kSchemaVersion) {
            Remember(*doc, path, std::move(loader.Fids()), loader.Columns());
            ReadColumnsOnFirstUse(*doc);
        }
    } catch (const CDrawingFileError& e) {
        const int code = sqlite3_extended_errcode(c.Handle());
        if ((code & 0xFF) == SQLITE_NOTADB)
            throw CDrawingFileError(path.string() +
                                    ": is not a drawing (not a GeoPackage / SQLite database)");
        if ((code & 0xFF) == SQLITE_CORRUPT)
            throw CDrawingFileError(path.string() + ": the drawing is damaged (" + e.what() + ")");
        throw;
    } catch (const std::exception& e) {
        throw CDrawingFileError(path.string() + ": the drawing is damaged: " + e.what());
    }
    return doc;
}

void CDrawingFile::Save(TAVHost::Document& doc, const fs::path& requested) {
    // A link is followed: the file it names is saved and the link stays.
    const fs::path path = TAVHost::ResolveTarget(requested);
    std::string refusal;
    if (!TAVHost::CheckWritableTarget(path, {}, refusal)) throw CDrawingFileError(refusal);
    // One writer at a time: the lock a writing process took when it opened the drawing, else one for this
    // save.
    std::unique_ptr<CDrawingLock> saveLock;
    if (!CDrawingLock::Holds(doc, path)) saveLock = CDrawingLock::Acquire(path);
    {
        // A whole-drawing save killed midway left its temporary file; only the lock holder removes it.
        std::error_code ec;
        fs::remove(SavingPath(path), ec);
    }
    // The file this drawing was read from or saved to, written since by another program: saving over it
    // would lose that program's change without a word.
    if (const auto* state = doc.FindExtension<SavedFileState>(SavedFileState::kKey);
        state && state->path == Canonical(path)) {
        std::error_code ec;
        const auto now = StampOf(path);
        // A committed write shows in SQLite's change counter (an interrupted one that was rolled back does
        // not, though it changed the file's time), a replacement in the file's identity.
        const FileStamp& was = state->stamp;
        if (now && !fs::exists(JournalPath(path), ec) &&
            (now->device != was.device || now->inode != was.inode ||
             now->changeCounter != was.changeCounter || now->walPending))
            throw CDrawingFileError(
                path.string() +
                ": the drawing was changed by another program since it was opened or saved "
                "here; saving would overwrite that change (save it under another name, or "
                "open it again)");
    }
    try {
        if (SaveInPlace(doc, path)) return;
    } catch (const CDrawingFileError&) {
        throw;
    } catch (const std::exception& e) {
        throw CDrawingFileError(path.string() + ": cannot save: " + e.what());
    }
    // The whole drawing is written: first every value still in the file it was read from.
    ReadAllColumns(doc);
    // What other programs added to the drawing travels with it: from the file being replaced, else from
    // the file the drawing was read from.
    fs::path foreignSource;
    {
        std::error_code ec;
        if (fs::exists(path, ec))
            foreignSource = path;
        else if (const auto* state = doc.FindExtension<SavedFileState>(SavedFileState::kKey);
                 state && fs::exists(state->path, ec))
            foreignSource = state->path;
    }
    const fs::path saving = SavingPath(path);
    std::error_code ec;
    fs::remove(saving, ec);
    try {
        // The journal of an interrupted save in place belongs to the drawing being replaced: roll it back
        // first, so that it is never applied to the new file.
        RollBackInterruptedSave(path);
        if (fs::exists(JournalPath(path), ec))
            throw CDrawingFileError(
                path.string() + ": an interrupted save left " + JournalPath(path).string() +
                ", which cannot be rolled back; open the drawing with write access first");
        std::array<std::vector<std::int64_t>, kLayerCount> fids;
        std::array<AttributeColumns, kLayerCount> columns;
        {
            Connection c(saving, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX);
            // The file is new and renamed into place only when complete, so it needs no journal of its own.
            c.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA locking_mode = EXCLUSIVE;");
            Saver saver(doc, c);
            saver.Write();
            fids = std::move(saver.Fids());
            columns = std::move(saver.Columns());
            if (!foreignSource.empty()) CopyForeignTables(c, foreignSource);
            c.Close();
        }
        TAVHost::KeepPermissions(path, saving);
        SyncFile(saving, false);
        if (::rename(saving.c_str(), path.c_str()) != 0)
            throw CDrawingFileError(path.string() + ": cannot replace the drawing: " + std::strerror(errno));
        fs::path dir = path.parent_path();
        SyncFile(dir.empty() ? fs::path(".") : dir, true);
        Remember(doc, path, std::move(fids), std::move(columns));
    } catch (const CDrawingFileError&) {
        fs::remove(saving, ec);
        throw;
    } catch (const std::exception& e) {
        fs::remove(saving, ec);
        throw CDrawingFileError(path.string() + ": cannot save: " + e.what());
    }
}

}  // namespace TAVGis::Store
