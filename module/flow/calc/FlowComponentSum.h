#pragma once
// CFlowComponentSum: the sum of the flow results a person ticks, one row per component in the order of
// summation. A row names the attribute it adds and how it is read:
//   - Typed: through the typed getter, which gives the missing-value sentinel -1000000.0 for a missing
//     value; the sentinel adds nothing;
//   - Direct: the stored box, added when not null, whatever it holds (a stored sentinel too).
// Values are summed as stored (m3/s); no unit is converted. The object is made for one set of ticks (one
// flag per row, 1 when ticked): the ticked rows' attribute definitions are looked up once, and a sum reads
// only those rows.
#include <initializer_list>
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
    CFlowComponentSum(std::span<const FlowComponent> rows, std::span<const int> flags);

    // The ticked rows summed in row order, for an entity's row of an attribute store or for an entity.
    double Sum(const TAVGis::Data::CAttributeStore& store, int row) const;
    double Sum(const TAVGis::Data::CAttributeHolder& entity) const;
    // Has the store read the ticked rows' columns, and those of `more`, in one pass before a calculation
    // sums them over the whole network (a drawing opened from a file reads its columns on first use).
    void ReadAhead(const TAVGis::Data::CAttributeStore& store,
                   std::initializer_list<const CFlowAttribute*> more = {}) const;

private:
    struct Term {
        CFlowAttribute attribute;
        FlowRead read;
    };
    std::vector<Term> m_terms;  // the ticked rows, in row order
};
