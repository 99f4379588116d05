#include "platform/sewage/PipeHydraulics.h"

#include <cmath>
#include <numbers>

namespace TAVGis::Sewage {

namespace {

using H = CPipeHydraulics;

constexpr double kSmallAngle = 0.1;  // rad; below it theta - sin(theta) comes from its series
constexpr double kInverseGolden = 0.6180339887498949;  // (sqrt(5) - 1) / 2
constexpr double kPeakSearchStart = 0.5;  // h/D; Q(h) is unimodal on [0.5, 1]

bool IsPositive(double dValue)
{
    return std::isfinite(dValue) && dValue > 0.0;
}

bool IsRoughness(double dValue)
{
    return std::isfinite(dValue) && dValue >= 0.0;
}

// Prandtl-Colebrook velocity (m/s) for hydraulic diameter dHydraulic (m). Where the formula gives
// no positive velocity (argument of the logarithm 1 or more, or not a number) the result is 0.
double Velocity(double dHydraulic, double dSlope, double dRoughness, double dViscosity)
{
    const double dShear = std::sqrt(2.0 * H::kGravity * dHydraulic * dSlope);
    const double dArgument = H::kViscousTerm * dViscosity / (dHydraulic * dShear) +
                             dRoughness / (H::kRoughnessTerm * dHydraulic);
    if (!(dArgument < 1.0))
        return 0.0;
    return -2.0 * std::log10(dArgument) * dShear;
}

double FullBoreFlow(double dDiameter, double dSlope, double dRoughness, double dViscosity)
{
    return Velocity(dDiameter, dSlope, dRoughness, dViscosity) * std::numbers::pi * dDiameter * dDiameter / 4.0;
}

struct SSegment {
    double dArea = 0.0;       // m2
    double dPerimeter = 0.0;  // m
};

// Wetted circular segment of pipe dDiameter filled to the relative height dRatio = h/D in (0, 1].
SSegment Segment(double dRatio, double dDiameter)
{
    const double dTheta = dRatio <= 0.5 ? 4.0 * std::asin(std::sqrt(dRatio))
                                        : 2.0 * std::numbers::pi - 4.0 * std::asin(std::sqrt(1.0 - dRatio));
    double dThetaMinusSine = 0.0;
    if (dTheta < kSmallAngle) {
        const double dSquare = dTheta * dTheta;
        dThetaMinusSine = dTheta * dSquare / 6.0 *
                          (1.0 - dSquare / 20.0 * (1.0 - dSquare / 42.0 * (1.0 - dSquare / 72.0)));
    } else {
        dThetaMinusSine = dTheta - std::sin(dTheta);
    }
    return {dDiameter * dDiameter / 8.0 * dThetaMinusSine, dDiameter * dTheta / 2.0};
}

struct SWetted {
    double dArea = 0.0;       // m2
    double dPerimeter = 0.0;  // m
    double dRadius = 0.0;     // m, hydraulic radius
    double dVelocity = 0.0;   // m/s, 0 where the formula gives none
    double dFlow = 0.0;       // m3/s
};

// Partial filling at relative height dRatio in (0, 1]. Every caller goes through this one path, so
// the peak found by the search and the values reported for its height are bit-identical.
SWetted Wetted(double dRatio, double dDiameter, double dSlope, double dRoughness, double dViscosity)
{
    SWetted wetted;
    if (!(dRatio > 0.0))
        return wetted;
    const SSegment segment = Segment(dRatio, dDiameter);
    if (!(segment.dArea > 0.0 && segment.dPerimeter > 0.0))
        return wetted;
    wetted.dArea = segment.dArea;
    wetted.dPerimeter = segment.dPerimeter;
    wetted.dRadius = segment.dArea / segment.dPerimeter;
    wetted.dVelocity = Velocity(4.0 * wetted.dRadius, dSlope, dRoughness, dViscosity);
    wetted.dFlow = wetted.dVelocity * wetted.dArea;
    return wetted;
}

// Flow (m3/s) at relative height dRatio; 0 at or below the invert and where the formula gives no
// positive velocity, so that the function is non-decreasing up to its peak.
double PartialFlow(double dRatio, double dDiameter, double dSlope, double dRoughness, double dViscosity)
{
    return Wetted(dRatio, dDiameter, dSlope, dRoughness, dViscosity).dFlow;
}

struct SPeak {
    double dRatio = 0.0;  // h/D
    SWetted wetted;       // values at that height; wetted.dFlow is "the maximum of Q(h)"
};

// Golden-section search for the maximum of Q(h) over h/D in [0.5, 1].
SPeak FindPeak(double dDiameter, double dSlope, double dRoughness, double dViscosity)
{
    SPeak best;
    auto flowAt = [&](double dRatio) {
        const SWetted wetted = Wetted(dRatio, dDiameter, dSlope, dRoughness, dViscosity);
        if (wetted.dFlow > best.wetted.dFlow)
            best = {dRatio, wetted};
        return wetted.dFlow;
    };
    flowAt(1.0);
    double dLow = kPeakSearchStart;
    double dHigh = 1.0;
    flowAt(dLow);
    double dLeft = dHigh - kInverseGolden * (dHigh - dLow);
    double dRight = dLow + kInverseGolden * (dHigh - dLow);
    double dLeftFlow = flowAt(dLeft);
    double dRightFlow = flowAt(dRight);
    for (int i = 0; i < H::kMaxPeakIterations && dHigh - dLow > H::kPeakTolerance; ++i) {
        if (dLeftFlow >= dRightFlow) {
            dHigh = dRight;
            dRight = dLeft;
            dRightFlow = dLeftFlow;
            dLeft = dHigh - kInverseGolden * (dHigh - dLow);
            dLeftFlow = flowAt(dLeft);
        } else {
            dLow = dLeft;
            dLeft = dRight;
            dLeftFlow = dRightFlow;
            dRight = dLow + kInverseGolden * (dHigh - dLow);
            dRightFlow = flowAt(dRight);
        }
    }
    return best;
}

bool ValidPipe(double dDiameter, double dSlope, double dRoughness, double dViscosity)
{
    return IsPositive(dDiameter) && IsPositive(dSlope) && IsRoughness(dRoughness) && IsPositive(dViscosity);
}

// Smallest x in [dLowest, dHighest] with flowOf(x) >= dFlow, flowOf non-decreasing; bisection on log x.
template <typename FlowOf>
std::optional<double> SmallestCarrying(double dFlow, double dLowest, double dHighest, FlowOf flowOf)
{
    if (!(flowOf(dHighest) >= dFlow))
        return std::nullopt;
    if (flowOf(dLowest) >= dFlow)
        return dLowest;
    double dLow = dLowest;
    double dHigh = dHighest;
    for (int i = 0; i < H::kMaxBisectionIterations && dHigh / dLow - 1.0 > H::kRelativeSearchTolerance; ++i) {
        const double dMiddle = std::sqrt(dLow * dHigh);
        if (flowOf(dMiddle) >= dFlow)
            dHigh = dMiddle;
        else
            dLow = dMiddle;
    }
    return dHigh;
}

}  // namespace

std::optional<CPipeHydraulics::SFullBore> CPipeHydraulics::FullBore(double dDiameter, double dSlope,
                                                                    double dRoughness, double dViscosity)
{
    if (!ValidPipe(dDiameter, dSlope, dRoughness, dViscosity))
        return std::nullopt;
    const double dVelocity = Velocity(dDiameter, dSlope, dRoughness, dViscosity);
    const double dFlow = dVelocity * std::numbers::pi * dDiameter * dDiameter / 4.0;
    if (!IsPositive(dVelocity) || !IsPositive(dFlow))
        return std::nullopt;
    return SFullBore{dVelocity, dFlow};
}

std::optional<CPipeHydraulics::SPartialFlow> CPipeHydraulics::PartialFilling(double dHeight, double dDiameter,
                                                                             double dSlope, double dRoughness,
                                                                             double dViscosity)
{
    if (!ValidPipe(dDiameter, dSlope, dRoughness, dViscosity) || !IsPositive(dHeight) || dHeight > dDiameter)
        return std::nullopt;
    const SWetted wetted = Wetted(dHeight / dDiameter, dDiameter, dSlope, dRoughness, dViscosity);
    if (!IsPositive(wetted.dArea) || !IsPositive(wetted.dPerimeter) || !IsPositive(wetted.dRadius) ||
        !IsPositive(wetted.dVelocity) || !IsPositive(wetted.dFlow))
        return std::nullopt;
    return SPartialFlow{dHeight, wetted.dArea, wetted.dPerimeter, wetted.dRadius, wetted.dVelocity, wetted.dFlow};
}

std::optional<CPipeHydraulics::SPartialFlow> CPipeHydraulics::PeakPartialFlow(double dDiameter, double dSlope,
                                                                              double dRoughness, double dViscosity)
{
    if (!ValidPipe(dDiameter, dSlope, dRoughness, dViscosity))
        return std::nullopt;
    const SPeak peak = FindPeak(dDiameter, dSlope, dRoughness, dViscosity);
    const SWetted& wetted = peak.wetted;
    const double dHeight = peak.dRatio * dDiameter;
    if (!IsPositive(dHeight) || !IsPositive(wetted.dRadius) || !IsPositive(wetted.dVelocity) ||
        !IsPositive(wetted.dFlow))
        return std::nullopt;
    return SPartialFlow{dHeight, wetted.dArea, wetted.dPerimeter, wetted.dRadius, wetted.dVelocity, wetted.dFlow};
}

std::optional<double> CPipeHydraulics::FillingHeight(double dFlow, double dDiameter, double dSlope,
                                                     double dRoughness, double dViscosity)
{
    if (!IsPositive(dFlow) || !ValidPipe(dDiameter, dSlope, dRoughness, dViscosity))
        return std::nullopt;
    const SPeak peak = FindPeak(dDiameter, dSlope, dRoughness, dViscosity);
    if (!IsPositive(peak.wetted.dFlow) || dFlow > peak.wetted.dFlow)
        return std::nullopt;
    double dLow = 0.0;  // Q(0) = 0 < dFlow
    double dHigh = peak.dRatio;  // Q(peak) >= dFlow
    for (int i = 0; i < kMaxBisectionIterations && dHigh - dLow > kHeightTolerance; ++i) {
        const double dMiddle = 0.5 * (dLow + dHigh);
        if (PartialFlow(dMiddle, dDiameter, dSlope, dRoughness, dViscosity) >= dFlow)
            dHigh = dMiddle;
        else
            dLow = dMiddle;
    }
    const double dHeight = dHigh * dDiameter;
    if (!IsPositive(dHeight))
        return std::nullopt;
    return dHeight;
}

std::optional<double> CPipeHydraulics::MinimumDiameter(double dFlow, double dSlope, double dRoughness,
                                                       double dViscosity)
{
    if (!IsPositive(dFlow) || !IsPositive(dSlope) || !IsRoughness(dRoughness) || !IsPositive(dViscosity))
        return std::nullopt;
    return SmallestCarrying(dFlow, kMinSearchDiameter, kMaxSearchDiameter, [&](double dDiameter) {
        return FullBoreFlow(dDiameter, dSlope, dRoughness, dViscosity);
    });
}

std::optional<double> CPipeHydraulics::MinimumSlope(double dFlow, double dDiameter, double dRoughness,
                                                    double dViscosity)
{
    if (!IsPositive(dFlow) || !IsPositive(dDiameter) || !IsRoughness(dRoughness) || !IsPositive(dViscosity))
        return std::nullopt;
    return SmallestCarrying(dFlow, kMinSearchSlope, kMaxSearchSlope, [&](double dSlope) {
        return FullBoreFlow(dDiameter, dSlope, dRoughness, dViscosity);
    });
}

std::optional<double> CPipeHydraulics::PartialFillVelocity(double dFlow, double dDiameter, double dSlope,
                                                           double dRoughness, double dViscosity)
{
    const auto height = FillingHeight(dFlow, dDiameter, dSlope, dRoughness, dViscosity);
    if (!height)
        return std::nullopt;
    const auto partial = PartialFilling(*height, dDiameter, dSlope, dRoughness, dViscosity);
    if (!partial)
        return std::nullopt;
    return partial->dVelocity;
}

std::optional<CPipeHydraulics::SHydraulicValues> CPipeHydraulics::HydraulicValues(double dFlow, double dDiameter,
                                                                                  double dSlope, double dRoughness,
                                                                                  double dViscosity)
{
    const auto full = FullBore(dDiameter, dSlope, dRoughness, dViscosity);
    if (!full)
        return std::nullopt;
    const auto height = FillingHeight(dFlow, dDiameter, dSlope, dRoughness, dViscosity);
    if (!height)
        return std::nullopt;
    const auto partial = PartialFilling(*height, dDiameter, dSlope, dRoughness, dViscosity);
    if (!partial)
        return std::nullopt;
    SHydraulicValues values;
    values.dFillingHeight = *height;
    values.dFillingPercent = 100.0 * *height / dDiameter;
    values.dFullFlow = full->dFlow;
    values.dFullVelocity = full->dVelocity;
    values.dPartialVelocity = partial->dVelocity;
    values.dFlowPercent = 100.0 * dFlow / full->dFlow;
    values.dVelocityPercent = 100.0 * partial->dVelocity / full->dVelocity;
    if (!IsPositive(values.dFillingPercent) || !IsPositive(values.dFlowPercent) ||
        !IsPositive(values.dVelocityPercent))
        return std::nullopt;
    return values;
}

std::optional<double> CPipeHydraulics::FlowTime(double dLength, double dVelocity)
{
    if (!IsPositive(dLength) || !IsPositive(dVelocity))
        return std::nullopt;
    const double dMinutes = dLength / dVelocity / kSecondsPerMinute;
    if (!IsPositive(dMinutes))
        return std::nullopt;
    return dMinutes;
}

}  // namespace TAVGis::Sewage
