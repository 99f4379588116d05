#pragma once
// CTotalFlow: the flow the pipes are dimensioned for. For every section it adds up the ticked results
// (rain by intensity curves, the waste-water results, transit, own flow) and writes the sum as
// FLOW_TOTAL (m3/s as stored), also when it is 0. A missing term adds nothing.
#include <array>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "module/flow/calc/FlowComponentSum.h"
#include "platform/network/Section.h"

class CTotalFlow {
public:
    static constexpr int kComponentCount = 7;
    // The terms in the order of summation.
    static constexpr std::array<FlowComponent, kComponentCount> kComponents = {{
        {"FLOW_RAIN_IDF", FlowRead::Typed},
        {"FLOW_WASTE_HOME_BG", FlowRead::Direct},
        {"FLOW_WASTE_UNEVEN", FlowRead::Direct},
        {"FLOW_TRANSIT", FlowRead::Typed},
        {"FLOW_SECT_TOTAL", FlowRead::Typed},
        {"FLOW_TUR_WASTE_HOME", FlowRead::Direct},
        {"FLOW_ISKI_PEAK", FlowRead::Direct},
    }};
    // One flag per term, 1 when it is ticked.
    using Flags = std::array<int, kComponentCount>;

    // The total of one section: the ticked terms in row order.
    static double Of(const TAVGis::Topology::CSectionPtr& section, const Flags& flags);
    // Writes FLOW_TOTAL on every section of the list (empty handles skipped); true when the last write
    // succeeded. A sum that is not finite (flows of 1e308 adding up to infinity, a NaN stored by an older
    // drawing) is not written: the section keeps its old FLOW_TOTAL and is recorded in `notFinite`.
    static bool Write(const std::vector<TAVGis::Topology::CSectionPtr>& sections, const Flags& flags,
                      CNonFiniteValues* notFinite = nullptr);
};
