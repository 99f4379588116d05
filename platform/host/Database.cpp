#include "platform/host/Database.h"

#include <stdexcept>

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

}  // namespace TAVHost
