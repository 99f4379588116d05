#include "module/flow/calc/SimpleRainFlow.h"

#include <cmath>

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "platform/sewage/CatchmentAreaManager.h"

namespace {
double OrOne(double v) {
    return v == kMissingValue ? CSimpleRainFlow::kMissingCoefficient : v;
}
}  // namespace

std::optional<double> CSimpleRainFlow::AtvCoefficient(double n, double t) {
    if (!(n > 0.0) || !(t >= 0.0)) return std::nullopt;
    const double phi = (1.0 / std::pow(n, kAtvExponent) - kAtvOffset) * kAtvFactor / (t + kAtvMinutes);
    if (!std::isfinite(phi) || phi < 0.0) return std::nullopt;
    return phi;
}

SimpleRainResult CSimpleRainFlow::Run(const SimpleRainInput& in, const std::vector<CSectionPtr>& sections,
                                      const SectionDone& tag) {
    SimpleRainResult r;
    const CFlowAttribute runoff("FLOW_COEFRET"), reduction("FLOW_COEFRED");
    const CFlowAttribute frequency("FLOW_ATV_N"), duration("FLOW_ATV_T");
    const CFlowAttribute intensity("FLOW_IDF_INTENSITY"), rain("FLOW_RAIN");
    auto* areas = TAVGis::Sewage::CCatchmentAreaManager::GetInstance();
    for (const auto& s : sections) {
        if (!s) continue;
        double a = 0.0;  // ha
        areas->GetCATotalCorectedArea(s, a);
        if (a > 0.0) {
            std::optional<double> q;
            if (in.method == RainMethod::Standard) {
                q = OrOne(reduction.Get(*s)) * OrOne(runoff.Get(*s)) * a * in.intensity / kPerThousand;
            } else if (auto phi = AtvCoefficient(OrOne(frequency.Get(*s)), OrOne(duration.Get(*s)))) {
                q = in.intensity / kPerThousand * *phi * a;
            } else {
                ++r.invalidAtv;
            }
            if (q) {
                intensity.Set(*s, in.intensity);
                r.written = rain.Set(*s, *q) != 0;
                ++r.flowsWritten;
            }
        }
        if (tag) tag(s);
        ++r.sectionsTagged;
    }
    return r;
}
