#include "module/flow/calc/WasteWaterPercent.h"

#include <cmath>

#include "module/data/SectionData.h"

namespace {
constexpr double kHoursPerDay = 24.0;
constexpr double kSecondsPerHour = 3600.0;
}  // namespace

double CWasteWaterPercent::DensityCoefficient(const TAVGis::Topology::CSectionPtr& section) {
    const double c = CSectionData::GetFLOW_COEFDEN(section);
    return c == kMissingValue ? 1.0 : c;
}

WasteWaterPercentResult CWasteWaterPercent::Compute(
    const WasteWaterPercentInput& in, const std::vector<TAVGis::Topology::CSectionPtr>& sections) {
    WasteWaterPercentResult r;
    for (const auto& s : sections) {
        if (!s) continue;
        const double length = s->GetLength2D();
        r.ltot += length;
        r.lw += length * DensityCoefficient(s);
    }
    r.growth = std::pow(1.0 + in.p / 100.0, in.t);
    r.nf = in.n * r.growth;
    if (!in.romanian) {
        r.qd = r.nf * in.q;
        r.qdmax = r.qd * in.kd;
        r.qhmax = r.qdmax * in.kh / kHoursPerDay;
        r.q = r.qhmax / kSecondsPerHour;
        // Without any flow (no inhabitants) the coefficient would divide by zero: it stays 1.
        if (in.fedorov && r.q > 0.0) {
            r.k = kFedorovFactor / std::pow(r.q, kFedorovExponent);
            r.q = r.q * r.k;
        }
    } else {
        r.qd = in.ks * in.kp * r.nf * in.q;
        r.qdmax = r.qd * in.kd;
        r.qhmax = r.qdmax * in.kh / kHoursPerDay * in.ku;
        r.q = r.qhmax / kSecondsPerHour;
    }
    r.qs = r.lw == 0.0 ? 0.0 : r.q / r.lw;
    r.qh = r.qd / kHoursPerDay;
    return r;
}

bool CWasteWaterPercent::Write(const std::vector<TAVGis::Topology::CSectionPtr>& sections, double qs,
                               const SectionWritten& written, CNonFiniteValues* notFinite) {
    bool ok = false;
    CNonFiniteValues skipped;
    for (const auto& s : sections) {
        if (!s) continue;
        const double specific = qs / kLitresPerCubicMetre;
        const double flow = s->GetLength2D() * DensityCoefficient(s) * qs / kLitresPerCubicMetre;
        const bool finite = skipped.Check(s->GetName(), "FLOW_WASTE_PER", flow) &&
                            skipped.Check(s->GetName(), "SPECIFIC_FLOW", specific);
        if (!finite) {
            ok = false;
            continue;
        }
        CSectionData::SetSectionValue("SPECIFIC_FLOW", s, specific);
        ok = CSectionData::SetFLOW_WASTE_PER(s, flow) != 0;
        if (written) written(s);
    }
    if (notFinite)
        for (const auto& v : skipped.Values()) notFinite->Check(v.section, v.attribute, v.value);
    return ok;
}
