#include "platform/gis/DataRW.h"

#include "platform/gis/DataConfiguration.h"

namespace TAVGis::Data {
namespace {
// Loops read and write one name on many entities: the last definition found per entity type is kept so
// such a loop compares the name instead of hashing it. Definitions are never removed, so the kept
// pointer stays valid.
const CDataDefinition* DefinitionFor(const std::string& name, const CAttributeHolder& e) {
    struct Last {
        std::string name;
        const CDataDefinition* def = nullptr;
    };
    thread_local Last last[kEntityCatchment + 1];
    const int type = e.GetEntityType();
    if (type < 0 || type > kEntityCatchment) return nullptr;
    Last& l = last[type];
    if (l.def && l.name == name) return l.def;
    const CDataDefinition* def = CDataConfiguration::GetInstance().GetDataDefinition(type, name);
    if (def) {
        l.name = name;
        l.def = def;
    }
    return def;
}
bool Fits(const CDataDefinition* def, const CAttributeHolder& e) {
    return def && e.AttributeStore() && def->GetEntityType() == e.GetEntityType();
}
}  // namespace

int CDataRW::Read(const std::string& name, const CAttributeHolder& entity, CDataBox& box) {
    box.SetNull();
    const CDataDefinition* def = DefinitionFor(name, entity);
    if (!Fits(def, entity)) return 0;
    entity.AttributeStore()->Get(*def, entity.AttributeRow(), box);
    return 1;
}

int CDataRW::Write(const std::string& name, const CAttributeHolder& entity, const CDataBox& box) {
    const CDataDefinition* def = DefinitionFor(name, entity);
    if (!Fits(def, entity)) return 0;
    return entity.AttributeStore()->Set(*def, entity.AttributeRow(), box) ? 1 : 0;
}

int CDataRW::Read(const std::string& name, const EntityPtr& entity, CDataBox& box, int,
                  const System::CGisSystemPtr&) {
    box.SetNull();
    return entity ? Read(name, *entity, box) : 0;
}

int CDataRW::Read(const CDataDefinition* def, const EntityPtr& entity, CDataBox& box, int,
                  const System::CGisSystemPtr&) {
    box.SetNull();
    if (!entity || !Fits(def, *entity)) return 0;
    entity->AttributeStore()->Get(*def, entity->AttributeRow(), box);
    return 1;
}

int CDataRW::Write(const std::string& name, const EntityPtr& entity, const CDataBox& box,
                   const System::CGisSystemPtr&) {
    return entity ? Write(name, *entity, box) : 0;
}

int CDataRW::Write(const CDataDefinition* def, const EntityPtr& entity, const CDataBox& box,
                   const System::CGisSystemPtr&) {
    if (!entity || !Fits(def, *entity)) return 0;
    return entity->AttributeStore()->Set(*def, entity->AttributeRow(), box) ? 1 : 0;
}

int CDataRW::Delete(const std::string& name, const EntityPtr& entity, const System::CGisSystemPtr&) {
    if (!entity) return 0;
    const CDataDefinition* def = DefinitionFor(name, *entity);
    if (!Fits(def, *entity)) return 0;
    entity->AttributeStore()->Erase(*def, entity->AttributeRow());
    return 1;
}

}  // namespace TAVGis::Data
