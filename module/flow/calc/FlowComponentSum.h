#pragma once
// CFlowComponentSum: the sum of the flow results a person ticks, one row per component in the order of
// summation. A row names the attribute it adds and how it is read:
//   - Typed: through the typed getter, which gives the missing-value sentinel -1000000.0 for a missing
//     value; the sentinel adds nothing;
//   - Direct: the stored box, added when not null, whatever it holds (a stored sentinel too).
// Values are summed as stored (m3/s); no unit is converted. The attributes' definitions are looked up
// once, when the object is made.
#include <span>
#include <vector>

#include "module/flow/calc/FlowAttribute.h"

enum class FlowRead { Typed, Direct };

struct FlowComponent {
    const char* attribute;
    FlowRead read;
};

class CFlowComponentSum {
public:
    explicit CFlowComponentSum(std::span<const FlowComponent> rows);

    // The ticked rows (flag 1, one flag per row) summed in row order, for an entity's row of an attribute
    // store or for an entity.
    double Sum(const TAVGis::Data::CAttributeStore& store, int row, std::span<const int> flags) const;
    double Sum(const TAVGis::Data::CAttributeHolder& entity, std::span<const int> flags) const;

private:
    std::vector<CFlowAttribute> m_attributes;
    std::vector<FlowRead> m_reads;
};
