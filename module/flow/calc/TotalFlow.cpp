#include "module/flow/calc/TotalFlow.h"

double CTotalFlow::Of(const TAVGis::Topology::CSectionPtr& section, const Flags& flags) {
    return section ? CFlowComponentSum(kComponents).Sum(*section, flags) : 0.0;
}

bool CTotalFlow::Write(const std::vector<TAVGis::Topology::CSectionPtr>& sections, const Flags& flags) {
    const CFlowComponentSum terms(kComponents);
    const CFlowAttribute total("FLOW_TOTAL");
    bool written = false;
    for (const auto& s : sections) {
        if (!s) continue;
        written = total.Set(*s, terms.Sum(*s, flags)) != 0;
    }
    return written;
}
