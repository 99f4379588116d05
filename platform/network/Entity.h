#pragma once
// CEntity: a network entity of a drawing (node, section, catchment area) with a GUID, a name, its system
// and its drawing entity. Attribute values live in the drawing's attribute store under the entity's row.
#include <boost/shared_ptr.hpp>
#include <string>

#include "platform/gis/AttributeStore.h"
#include "platform/gis/GisSystem.h"
#include "platform/host/Database.h"

namespace TAVGis::Topology {

class CTopologyStorage;

class CEntity : public Data::CAttributeHolder {
public:
    CEntity(int entityType, Data::CAttributeStore* store, CTopologyStorage* owner, std::string guid,
            std::string name, System::CGisSystemPtr system, TAVHost::ObjectId objectId, int index)
        : CAttributeHolder(entityType, store),
          m_owner(owner),
          m_guid(std::move(guid)),
          m_name(std::move(name)),
          m_system(std::move(system)),
          m_objectId(objectId),
          m_index(index) {}

    const std::string& GetGuid() const { return m_guid; }
    const std::string& GetName() const { return m_name; }
    const System::CGisSystemPtr& GetSystem() const { return m_system; }
    TAVHost::ObjectId GetObjectId() const { return m_objectId; }
    // Dense index of the entity among the entities of its kind in its topology.
    int Index() const { return m_index; }
    CTopologyStorage* Owner() const { return m_owner; }

private:
    CTopologyStorage* m_owner;
    std::string m_guid;
    std::string m_name;
    System::CGisSystemPtr m_system;
    TAVHost::ObjectId m_objectId;
    int m_index;
};

using CEntityPtr = boost::shared_ptr<CEntity>;

// A new GUID text in the usual braced upper-case form.
std::string NewGuid();

}  // namespace TAVGis::Topology
