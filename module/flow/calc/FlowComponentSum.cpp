#include "module/flow/calc/FlowComponentSum.h"

#include <stdexcept>

#include "module/data/SectionData.h"

CFlowComponentSum::CFlowComponentSum(std::span<const FlowComponent> rows) {
    m_attributes.reserve(rows.size());
    m_reads.reserve(rows.size());
    for (const auto& row : rows) {
        m_attributes.emplace_back(row.attribute);
        m_reads.push_back(row.read);
    }
}

double CFlowComponentSum::Sum(const TAVGis::Data::CAttributeStore& store, int row,
                              std::span<const int> flags) const {
    if (flags.size() != m_attributes.size()) throw std::logic_error("one flag per flow component expected");
    double sum = 0.0;
    for (std::size_t i = 0; i < m_attributes.size(); ++i) {
        if (flags[i] != 1) continue;
        if (m_reads[i] == FlowRead::Typed) {
            const double v = m_attributes[i].Get(store, row);
            if (v != kMissingValue) sum += v;
        } else {
            TAVGis::Data::CDataBox box;
            m_attributes[i].Read(store, row, box);
            if (box.IsNotNull()) sum += box.ToDouble();
        }
    }
    return sum;
}

double CFlowComponentSum::Sum(const TAVGis::Data::CAttributeHolder& entity,
                              std::span<const int> flags) const {
    const auto* store = entity.AttributeStore();
    return store ? Sum(*store, entity.AttributeRow(), flags) : 0.0;
}
