#pragma once
// CFlowAttribute: one attribute of the network's entities, its definition looked up by name once, then
// read and written through the drawing's attribute store without a name lookup per entity. Reads and
// writes give exactly what CDataRW gives by name (a name without a definition for the entity's type reads
// as nothing and cannot be written), so a calculation over 200,000 sections does not hash a name for
// every value.
#include <string>

#include "platform/gis/AttributeStore.h"
#include "platform/gis/DataBox.h"
#include "platform/gis/DataDefinition.h"

class CFlowAttribute {
public:
    explicit CFlowAttribute(const std::string& name, int entityType = TAVGis::Data::kEntitySection);

    const std::string& Name() const { return m_name; }
    // The attribute's definition; null when no entity type defines it.
    const TAVGis::Data::CDataDefinition* Definition() const { return m_def; }
    // The stored value in the box, null when nothing is stored (a direct read).
    void Read(const TAVGis::Data::CAttributeHolder& entity, TAVGis::Data::CDataBox& box) const;
    // The stored number, or the missing-value sentinel -1000000.0 (the typed getters' read).
    double Get(const TAVGis::Data::CAttributeHolder& entity) const;
    // Stores the number; non-zero on success. A value that is not finite is never stored (0).
    int Set(const TAVGis::Data::CAttributeHolder& entity, double value) const;
    // Removes the value; non-zero when the attribute is defined for the entity.
    int Erase(const TAVGis::Data::CAttributeHolder& entity) const;

    // The same by row of an attribute store (CAttributeHolder::AttributeRow), for a calculation that has
    // taken the rows of its entities once.
    void Read(const TAVGis::Data::CAttributeStore& store, int row, TAVGis::Data::CDataBox& box) const;
    double Get(const TAVGis::Data::CAttributeStore& store, int row) const;
    int Set(TAVGis::Data::CAttributeStore& store, int row, double value) const;
    int Erase(TAVGis::Data::CAttributeStore& store, int row) const;

private:
    bool Fits(const TAVGis::Data::CAttributeHolder& entity) const;
    bool Fits(const TAVGis::Data::CAttributeStore& store) const;

    std::string m_name;
    const TAVGis::Data::CDataDefinition* m_def;
};
