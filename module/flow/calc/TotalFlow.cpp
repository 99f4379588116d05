#include "module/flow/calc/TotalFlow.h"

#include <cmath>

#include "platform/host/Progress.h"

double CTotalFlow::Of(const TAVGis::Topology::CSectionPtr& section, const Flags& flags) {
    return section ? CFlowComponentSum(kComponents, flags).Sum(*section) : 0.0;
}

bool CTotalFlow::Write(const std::vector<TAVGis::Topology::CSectionPtr>& sections, const Flags& flags,
                       CNonFiniteValues* notFinite) {
    const CFlowComponentSum terms(kComponents, flags);
    const CFlowAttribute total("FLOW_TOTAL");
    bool written = false;
    for (const auto& s : sections)
        if (s && s->AttributeStore()) {
            terms.ReadAhead(*s->AttributeStore(), {&total});
            break;
        }
    TAVHost::CProgress progress("total flows", sections.size());
    for (const auto& s : sections) {
        progress.Advance();
        if (!s) continue;
        const double sum = terms.Sum(*s);
        if (!std::isfinite(sum)) {
            if (notFinite) notFinite->Check(s->GetName(), total.Name(), sum);
            written = false;
            continue;
        }
        written = total.Set(*s, sum) != 0;
    }
    return written;
}
