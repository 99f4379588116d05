#include "module/flow/calc/FlowAttribute.h"

#include <cmath>

#include "module/data/SectionData.h"
#include "platform/gis/DataConfiguration.h"

CFlowAttribute::CFlowAttribute(const std::string& name, int entityType)
    : m_name(name),
      m_def(TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(entityType, name)) {}

bool CFlowAttribute::Fits(const TAVGis::Data::CAttributeHolder& entity) const {
    return m_def && entity.AttributeStore() && m_def->GetEntityType() == entity.GetEntityType();
}

void CFlowAttribute::Read(const TAVGis::Data::CAttributeHolder& entity, TAVGis::Data::CDataBox& box) const {
    box.SetNull();
    if (Fits(entity)) entity.AttributeStore()->Get(*m_def, entity.AttributeRow(), box);
}

double CFlowAttribute::Get(const TAVGis::Data::CAttributeHolder& entity) const {
    TAVGis::Data::CDataBox box;
    Read(entity, box);
    return box.IsNotNull() ? box.ToDouble() : kMissingValue;
}

int CFlowAttribute::Set(const TAVGis::Data::CAttributeHolder& entity, double value) const {
    if (!Fits(entity) || !std::isfinite(value)) return 0;
    return entity.AttributeStore()->Set(*m_def, entity.AttributeRow(), TAVGis::Data::CDataBox(value)) ? 1 : 0;
}

int CFlowAttribute::Erase(const TAVGis::Data::CAttributeHolder& entity) const {
    if (!Fits(entity)) return 0;
    entity.AttributeStore()->Erase(*m_def, entity.AttributeRow());
    return 1;
}

bool CFlowAttribute::Fits(const TAVGis::Data::CAttributeStore& store) const {
    return m_def && m_def->GetEntityType() == store.EntityType();
}

void CFlowAttribute::Read(const TAVGis::Data::CAttributeStore& store, int row,
                          TAVGis::Data::CDataBox& box) const {
    box.SetNull();
    if (Fits(store)) store.Get(*m_def, row, box);
}

double CFlowAttribute::Get(const TAVGis::Data::CAttributeStore& store, int row) const {
    TAVGis::Data::CDataBox box;
    Read(store, row, box);
    return box.IsNotNull() ? box.ToDouble() : kMissingValue;
}

int CFlowAttribute::Set(TAVGis::Data::CAttributeStore& store, int row, double value) const {
    return Fits(store) && std::isfinite(value) && store.Set(*m_def, row, TAVGis::Data::CDataBox(value)) ? 1
                                                                                                        : 0;
}

int CFlowAttribute::Erase(TAVGis::Data::CAttributeStore& store, int row) const {
    if (!Fits(store)) return 0;
    store.Erase(*m_def, row);
    return 1;
}
