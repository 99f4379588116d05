#pragma once
// The drawing database: entities with object ids, a layer, a colour index and geometry; extended entity
// data per registered application; the named-object dictionary with named dictionaries whose entries hold
// one typed value.
//
// Decisions:
// - Object ids are positive 64-bit numbers handed out in creation order; 0 is the null id.
// - Extended entity data is kept per application as the chain of (group code, value) that follows the
//   1001 application-name group; the 1001 group itself is implied by the key.
// - Dictionary entries hold exactly one value with its group code: 1 text, 38 double, 60 16-bit integer.
// - Changes of dictionaries, extended data and registered applications are recorded in the active undo
//   journal (UndoJournal), so a failed command can be taken back.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "platform/host/UndoJournal.h"

namespace TAVHost {

using ObjectId = std::uint64_t;
constexpr ObjectId kNullObjectId = 0;

struct Point2d {
    double x = 0.0;  // m
    double y = 0.0;  // m
    bool operator==(const Point2d&) const = default;
};

enum class GeometryKind { None, Point, Polyline, Polygon };

// One (group code, value) item of extended entity data or of a dictionary entry.
struct ResultBuffer {
    int code = 0;
    std::variant<std::monostate, std::string, double, std::int32_t> value;
    bool operator==(const ResultBuffer&) const = default;
};
using XDataChain = std::vector<ResultBuffer>;

class DbEntity {
public:
    ObjectId id = kNullObjectId;
    std::string layer = "0";
    int colorIndex = 256;  // 256 = by layer
    GeometryKind kind = GeometryKind::None;
    std::vector<Point2d> points;
    bool erased = false;
    // Application name -> the groups that follow its 1001 group.
    std::map<std::string, XDataChain> xdata;
};

// Group codes of dictionary entries.
constexpr int kDictCodeText = 1;
constexpr int kDictCodeDouble = 38;
constexpr int kDictCodeInt16 = 60;

struct DictionaryEntry {
    int code = kDictCodeText;
    std::variant<std::string, double, std::int16_t> value;
    bool operator==(const DictionaryEntry&) const = default;
};
using NamedDictionary = std::map<std::string, DictionaryEntry>;

class Database {
public:
    Database() : m_bornAfter(UndoJournal::LatestSerial()) {}
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    DbEntity& AddEntity(GeometryKind kind, std::vector<Point2d> points, const std::string& layer);
    // Adds an entity with a given id (used when a drawing is read back); ids stay unique.
    DbEntity& AddEntityWithId(ObjectId id, GeometryKind kind, std::vector<Point2d> points,
                              const std::string& layer);
    DbEntity* GetEntity(ObjectId id);
    const DbEntity* GetEntity(ObjectId id) const;
    std::size_t EntityCount() const { return m_entities.size(); }
    void Reserve(std::size_t entities) { m_entities.reserve(entities); }
    template <class F>
    void ForEachEntity(F&& f) const {
        for (const auto& [id, e] : m_entities) f(*e);
    }

    // Registered applications (names of extended entity data owners).
    bool IsAppRegistered(const std::string& app) const { return m_regApps.count(app) != 0; }
    void RegisterApp(const std::string& app);
    // Replaces an entity's extended data of one application (recorded in the active undo journal).
    void SetXData(DbEntity& entity, const std::string& app, XDataChain chain);
    const std::set<std::string>& RegisteredApps() const { return m_regApps; }

    // The named-object dictionary.
    NamedDictionary* GetDictionary(const std::string& name);
    NamedDictionary& GetOrCreateDictionary(const std::string& name);
    const std::map<std::string, NamedDictionary>& Dictionaries() const { return m_dictionaries; }
    void RemoveDictionary(const std::string& name);
    // Stores one entry, creating the dictionary when missing (recorded in the active undo journal).
    void SetDictionaryEntry(const std::string& name, const std::string& key, DictionaryEntry entry);

    // Counts every change, so a host can tell whether a drawing needs saving.
    std::uint64_t ChangeCount() const { return m_changes; }
    void Touch() { ++m_changes; }

private:
    std::unordered_map<ObjectId, std::unique_ptr<DbEntity>> m_entities;
    ObjectId m_nextId = 1;
    std::set<std::string> m_regApps;
    std::map<std::string, NamedDictionary> m_dictionaries;
    std::uint64_t m_changes = 0;
    std::uint64_t m_bornAfter;  // UndoJournal::LatestSerial() when the database was made
};

}  // namespace TAVHost
