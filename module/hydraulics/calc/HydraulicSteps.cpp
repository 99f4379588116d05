#include "module/hydraulics/calc/HydraulicSteps.h"

#include <cmath>
#include <limits>

#include "module/hydraulics/calc/SectionDimensioning.h"

using TAVGis::Sewage::CSewageHydraulics;

namespace {
constexpr double kSnapUlps = 8.0;  // RoundUp: distance to a whole number treated as exact
}  // namespace

std::optional<double> CHydraulicSteps::MinimumDiameter(CSewageHydraulics& core, double flow,
                                                       double slopePerMille, double roughnessMm,
                                                       double viscosity) {
    core.SetDProtok(flow);
    core.SetDPad(slopePerMille / kPerMille);
    core.SetDHrapavost(roughnessMm / kMmPerMetre);
    core.SetDViskozitet(viscosity);
    if (!core.CalculateMinimumDiameterMinHidRad()) return std::nullopt;
    return core.GetDMinPromjerHidRad() * kMmPerMetre;
}

std::optional<double> CHydraulicSteps::MinimumSlope(CSewageHydraulics& core, double flow,
                                                    const std::string& pipeGuid, double roughnessMm,
                                                    double viscosity) {
    core.SetDProtok(flow);
    core.SetStrPipeGuid(pipeGuid);
    core.SetDHrapavost(roughnessMm / kMmPerMetre);
    core.SetDViskozitet(viscosity);
    if (!core.CalculateMinimumSlope()) return std::nullopt;
    return core.GetDMinPad() * kPerMille;
}

int CHydraulicSteps::Chain(CSewageHydraulics& core, bool* flowTime) {
    if (flowTime) *flowTime = false;
    if (!core.CalculateFillingHeight()) return kStatusFillingHeightFailed;
    if (!core.CalculateVelocityForPartiallyFilled()) return kStatusVelocityFailed;
    if (!core.CalculateHydraulicsValues()) return kStatusHydraulicsFailed;
    const bool timed = core.CalculateFlowTime();
    if (flowTime) *flowTime = timed;
    return 0;
}

double CHydraulicSteps::RoundUp(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    double scaled = x * scale;
    const double whole = std::nearbyint(scaled);
    if (std::fabs(scaled - whole) <=
        kSnapUlps * std::numeric_limits<double>::epsilon() * std::fmax(1.0, std::fabs(whole)))
        scaled = whole;
    const double moved = x < 0.0 ? std::trunc(scaled - 1.0) : std::trunc(scaled + 1.0);
    return moved / scale;
}
