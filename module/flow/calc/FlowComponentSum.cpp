#include "module/flow/calc/FlowComponentSum.h"

#include <stdexcept>

#include "module/data/SectionData.h"

CFlowComponentSum::CFlowComponentSum(std::span<const FlowComponent> rows, std::span<const int> flags) {
    if (flags.size() != rows.size()) throw std::logic_error("one flag per flow component expected");
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (flags[i] == 1) m_terms.push_back({CFlowAttribute(rows[i].attribute), rows[i].read});
}

double CFlowComponentSum::Sum(const TAVGis::Data::CAttributeStore& store, int row) const {
    double sum = 0.0;
    for (const Term& term : m_terms) {
        if (term.read == FlowRead::Typed) {
            const double v = term.attribute.Get(store, row);
            if (v != kMissingValue) sum += v;
        } else {
            TAVGis::Data::CDataBox box;
            term.attribute.Read(store, row, box);
            if (box.IsNotNull()) sum += box.ToDouble();
        }
    }
    return sum;
}

double CFlowComponentSum::Sum(const TAVGis::Data::CAttributeHolder& entity) const {
    const auto* store = entity.AttributeStore();
    return store ? Sum(*store, entity.AttributeRow()) : 0.0;
}

void CFlowComponentSum::ReadAhead(const TAVGis::Data::CAttributeStore& store,
                                  std::initializer_list<const CFlowAttribute*> more) const {
    std::vector<const TAVGis::Data::CDataDefinition*> defs;
    for (const auto& t : m_terms)
        if (const auto* def = t.attribute.Definition(); def && def->GetEntityType() == store.EntityType())
            defs.push_back(def);
    for (const auto* a : more)
        if (const auto* def = a->Definition(); def && def->GetEntityType() == store.EntityType())
            defs.push_back(def);
    store.LoadPending(defs);
}
