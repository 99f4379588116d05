#include "platform/host/Database.h"

#include <stdexcept>

#include "platform/host/UndoJournal.h"

namespace TAVHost {

DbEntity& Database::AddEntity(GeometryKind kind, std::vector<Point2d> points, const std::string& layer) {
    return AddEntityWithId(m_nextId, kind, std::move(points), layer);
}

DbEntity& Database::AddEntityWithId(ObjectId id, GeometryKind kind, std::vector<Point2d> points,
                                    const std::string& layer) {
    if (id == kNullObjectId || m_entities.count(id) != 0)
        throw std::logic_error("drawing entity id is null or already taken");
    auto e = std::make_unique<DbEntity>();
    e->id = id;
    e->kind = kind;
    e->points = std::move(points);
    e->layer = layer;
    DbEntity& ref = *e;
    m_entities.emplace(id, std::move(e));
    if (id >= m_nextId) m_nextId = id + 1;
    Touch();
    return ref;
}

DbEntity* Database::GetEntity(ObjectId id) {
    auto it = m_entities.find(id);
    return it == m_entities.end() || it->second->erased ? nullptr : it->second.get();
}

const DbEntity* Database::GetEntity(ObjectId id) const {
    auto it = m_entities.find(id);
    return it == m_entities.end() || it->second->erased ? nullptr : it->second.get();
}

NamedDictionary* Database::GetDictionary(const std::string& name) {
    auto it = m_dictionaries.find(name);
    return it == m_dictionaries.end() ? nullptr : &it->second;
}

NamedDictionary& Database::GetOrCreateDictionary(const std::string& name) {
    Touch();
    return m_dictionaries[name];
}

void Database::RemoveDictionary(const std::string& name) {
    auto it = m_dictionaries.find(name);
    if (it == m_dictionaries.end()) return;
    if (auto* journal = UndoJournal::ActiveFor(m_bornAfter))
        journal->Record([this, name, saved = it->second] { m_dictionaries[name] = saved; });
    m_dictionaries.erase(it);
    Touch();
}

void Database::SetDictionaryEntry(const std::string& name, const std::string& key, DictionaryEntry entry) {
    if (auto* journal = UndoJournal::ActiveFor(m_bornAfter)) {
        std::optional<DictionaryEntry> previous;
        const bool dictionaryExisted = m_dictionaries.count(name) != 0;
        if (const auto* dict = GetDictionary(name)) {
            auto it = dict->find(key);
            if (it != dict->end()) previous = it->second;
        }
        journal->Record([this, name, key, previous, dictionaryExisted] {
            if (!dictionaryExisted) {
                m_dictionaries.erase(name);
                return;
            }
            auto& dict = m_dictionaries[name];
            if (previous)
                dict[key] = *previous;
            else
                dict.erase(key);
        });
    }
    GetOrCreateDictionary(name)[key] = std::move(entry);
}

void Database::RegisterApp(const std::string& app) {
    if (!m_regApps.insert(app).second) return;
    if (auto* journal = UndoJournal::ActiveFor(m_bornAfter))
        journal->Record([this, app] { m_regApps.erase(app); });
}

void Database::SetXData(DbEntity& entity, const std::string& app, XDataChain chain) {
    if (auto* journal = UndoJournal::ActiveFor(m_bornAfter)) {
        std::optional<XDataChain> previous;
        auto it = entity.xdata.find(app);
        if (it != entity.xdata.end()) previous = it->second;
        journal->Record([this, id = entity.id, app, previous] {
            DbEntity* e = GetEntity(id);
            if (!e) return;
            if (previous)
                e->xdata[app] = *previous;
            else
                e->xdata.erase(app);
        });
    }
    entity.xdata[app] = std::move(chain);
    Touch();
}

}  // namespace TAVHost
