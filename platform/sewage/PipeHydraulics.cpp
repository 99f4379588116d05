#include "platform/sewage/PipeHydraulics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace TAVGis::Sewage {

namespace {

using H = CPipeHydraulics;

constexpr double kGoldenStep = 0.3819660112501051;  // (3 - sqrt(5)) / 2
constexpr double kPeakSearchStart = 0.8;            // h/D; Q rises at least up to 0.8128, where R peaks

bool IsPositive(double dValue) {
    return std::isfinite(dValue) && dValue > 0.0;
}

bool IsRoughness(double dValue) {
    return std::isfinite(dValue) && dValue >= 0.0;
}

// Prandtl-Colebrook velocity (m/s) for hydraulic diameter dHydraulic (m). Where the formula gives
// no positive velocity (argument of the logarithm 1 or more, or not a number) the result is 0.
double Velocity(double dHydraulic, double dSlope, double dRoughness, double dViscosity) {
    const double dShear = std::sqrt(2.0 * H::kGravity * dHydraulic * dSlope);
    const double dArgument =
        H::kViscousTerm * dViscosity / (dHydraulic * dShear) + dRoughness / (H::kRoughnessTerm * dHydraulic);
    if (!(dArgument < 1.0)) return 0.0;
    return -2.0 * std::log10(dArgument) * dShear;
}

double FullBoreFlow(double dDiameter, double dSlope, double dRoughness, double dViscosity) {
    return Velocity(dDiameter, dSlope, dRoughness, dViscosity) * std::numbers::pi * dDiameter * dDiameter /
           4.0;
}

struct SSegment {
    double dArea = 0.0;       // m2
    double dPerimeter = 0.0;  // m
};

// Wetted circular segment of pipe dDiameter filled to the relative height dRatio = h/D in (0, 1].
SSegment Segment(double dRatio, double dDiameter) {
    const double dTheta = dRatio <= 0.5 ? 4.0 * std::asin(std::sqrt(dRatio))
                                        : 2.0 * std::numbers::pi - 4.0 * std::asin(std::sqrt(1.0 - dRatio));
    const double dThetaMinusSine = dTheta - std::sin(dTheta);
    return {dDiameter * dDiameter / 8.0 * dThetaMinusSine, dDiameter * dTheta / 2.0};
}

struct SWetted {
    double dArea = 0.0;       // m2
    double dPerimeter = 0.0;  // m
    double dRadius = 0.0;     // m, hydraulic radius
    double dVelocity = 0.0;   // m/s, 0 where the formula gives none
    double dFlow = 0.0;       // m3/s
};

// Partial filling at height dHeight in (0, D]. Every caller (the searches and PartialFilling) goes
// through this one path with the height itself as the variable, so a height returned by a search
// gives bit-identical values when PartialFilling is asked about it.
SWetted Wetted(double dHeight, double dDiameter, double dSlope, double dRoughness, double dViscosity) {
    SWetted wetted;
    if (!(dHeight > 0.0)) return wetted;
    const SSegment segment = Segment(dHeight / dDiameter, dDiameter);
    if (!(segment.dArea > 0.0 && segment.dPerimeter > 0.0)) return wetted;
    wetted.dArea = segment.dArea;
    wetted.dPerimeter = segment.dPerimeter;
    wetted.dRadius = segment.dArea / segment.dPerimeter;
    wetted.dVelocity = Velocity(4.0 * wetted.dRadius, dSlope, dRoughness, dViscosity);
    wetted.dFlow = wetted.dVelocity * wetted.dArea;
    return wetted;
}

// Flow (m3/s) at height dHeight; 0 at or below the invert and where the formula gives no positive
// velocity, so that the function is non-decreasing up to its peak.
double PartialFlow(double dHeight, double dDiameter, double dSlope, double dRoughness, double dViscosity) {
    return Wetted(dHeight, dDiameter, dSlope, dRoughness, dViscosity).dFlow;
}

struct SPeak {
    double dHeight = 0.0;  // m
    SWetted wetted;        // values at that height; wetted.dFlow is "the maximum of Q(h)"
};

// Maximum of Q(h) over h in [kPeakSearchStart D, D] by Brent's minimisation of -Q (golden-section
// steps, parabolic steps where they are safe). The result is the best point evaluated.
SPeak FindPeak(double dDiameter, double dSlope, double dRoughness, double dViscosity) {
    SPeak best;
    auto negativeFlow = [&](double dHeight) {
        const SWetted wetted = Wetted(dHeight, dDiameter, dSlope, dRoughness, dViscosity);
        if (wetted.dFlow > best.wetted.dFlow) best = {dHeight, wetted};
        return -wetted.dFlow;
    };
    negativeFlow(dDiameter);
    double dLow = kPeakSearchStart * dDiameter;
    double dHigh = dDiameter;
    double x = dLow + kGoldenStep * (dHigh - dLow);  // best point so far
    double w = x;                                    // second best
    double v = x;                                    // previous value of w
    double fx = negativeFlow(x);
    double fw = fx;
    double fv = fx;
    double d = 0.0;  // last step
    double e = 0.0;  // step before last
    for (int i = 0; i < H::kMaxPeakIterations; ++i) {
        const double xm = 0.5 * (dLow + dHigh);
        const double tol1 = H::kPeakTolerance * std::fabs(x);
        const double tol2 = 2.0 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (dHigh - dLow)) break;
        bool golden = true;
        if (std::fabs(e) > tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) p = -p;
            q = std::fabs(q);
            const double dOlder = e;
            e = d;
            if (std::fabs(p) < std::fabs(0.5 * q * dOlder) && p > q * (dLow - x) && p < q * (dHigh - x)) {
                d = p / q;
                const double u = x + d;
                if (u - dLow < tol2 || dHigh - u < tol2) d = std::copysign(tol1, xm - x);
                golden = false;
            }
        }
        if (golden) {
            e = x >= xm ? dLow - x : dHigh - x;
            d = kGoldenStep * e;
        }
        const double u = std::fabs(d) >= tol1 ? x + d : x + std::copysign(tol1, d);
        const double fu = negativeFlow(u);
        if (fu <= fx) {
            if (u >= x)
                dLow = x;
            else
                dHigh = x;
            v = w;
            fv = fw;
            w = x;
            fw = fx;
            x = u;
            fx = fu;
        } else {
            if (u < x)
                dLow = u;
            else
                dHigh = u;
            if (fu <= fw || w == x) {
                v = w;
                fv = fw;
                w = u;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return best;
}

// Brent's root bracketing (bisection, secant and inverse quadratic interpolation) for a
// non-decreasing excess(x) = flow(x) - Q on [dLow, dHigh]. Returns the end of the final bracket
// whose excess is >= 0 (it carries the flow), within dTolerance of the crossing; dLow itself when
// it already carries; nothing when dHigh does not carry or the iteration limit is reached.
template <typename Excess>
std::optional<double> CarryingEnd(Excess excess, double dLow, double dHigh, double dTolerance) {
    double a = dLow;
    double b = dHigh;
    double fa = excess(a);
    double fb = excess(b);
    if (!(fb >= 0.0)) return std::nullopt;
    if (fa >= 0.0) return a;
    double c = a;
    double fc = fa;
    double d = b - a;
    double e = d;
    for (int i = 0; i < H::kMaxRootIterations; ++i) {
        if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
            c = a;
            fc = fa;
            d = b - a;
            e = d;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol1 = 2.0 * std::numeric_limits<double>::epsilon() * std::fabs(b) + 0.5 * dTolerance;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) return fb >= 0.0 ? b : c;
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p = 0.0;
            double q = 0.0;
            if (a == c) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                const double qa = fa / fc;
                const double r = fb / fc;
                p = s * (2.0 * xm * qa * (qa - r) - (b - a) * (r - 1.0));
                q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < std::min(3.0 * xm * q - std::fabs(tol1 * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        b += std::fabs(d) > tol1 ? d : std::copysign(tol1, xm);
        fb = excess(b);
    }
    return std::nullopt;
}

// A flow usable in differences: infinity is capped at the largest double.
double Capped(double dFlow) {
    return std::min(dFlow, std::numeric_limits<double>::max());
}

bool ValidPipe(double dDiameter, double dSlope, double dRoughness, double dViscosity) {
    return IsPositive(dDiameter) && IsPositive(dSlope) && IsRoughness(dRoughness) && IsPositive(dViscosity);
}

// Smallest x in [dLowest, dHighest] with flowOf(x) >= dFlow, flowOf non-decreasing; searched on log x.
template <typename FlowOf>
std::optional<double> SmallestCarrying(double dFlow, double dLowest, double dHighest, FlowOf flowOf) {
    if (!(flowOf(dHighest) >= dFlow)) return std::nullopt;
    if (flowOf(dLowest) >= dFlow) return dLowest;
    auto excess = [&](double dLog) { return Capped(flowOf(std::exp(dLog))) - dFlow; };
    const auto dLog = CarryingEnd(excess, std::log(dLowest), std::log(dHighest), H::kRelativeSearchTolerance);
    if (!dLog) return std::nullopt;
    const double dResult = std::exp(*dLog);
    if (!IsPositive(dResult)) return std::nullopt;
    return dResult;
}

}  // namespace

std::optional<CPipeHydraulics::SFullBore> CPipeHydraulics::FullBore(double dDiameter, double dSlope,
                                                                    double dRoughness, double dViscosity) {
    if (!ValidPipe(dDiameter, dSlope, dRoughness, dViscosity)) return std::nullopt;
    const double dVelocity = Velocity(dDiameter, dSlope, dRoughness, dViscosity);
    const double dFlow = dVelocity * std::numbers::pi * dDiameter * dDiameter / 4.0;
    if (!IsPositive(dVelocity) || !IsPositive(dFlow)) return std::nullopt;
    return SFullBore{dVelocity, dFlow};
}

std::optional<CPipeHydraulics::SPartialFlow> CPipeHydraulics::PartialFilling(double dHeight, double dDiameter,
                                                                             double dSlope, double dRoughness,
                                                                             double dViscosity) {
    if (!ValidPipe(dDiameter, dSlope, dRoughness, dViscosity) || !IsPositive(dHeight) || dHeight > dDiameter)
        return std::nullopt;
    const SWetted wetted = Wetted(dHeight, dDiameter, dSlope, dRoughness, dViscosity);
    if (!IsPositive(wetted.dArea) || !IsPositive(wetted.dPerimeter) || !IsPositive(wetted.dRadius) ||
        !IsPositive(wetted.dVelocity) || !IsPositive(wetted.dFlow))
        return std::nullopt;
    return SPartialFlow{dHeight,        wetted.dArea,     wetted.dPerimeter,
                        wetted.dRadius, wetted.dVelocity, wetted.dFlow};
}

std::optional<CPipeHydraulics::SPartialFlow> CPipeHydraulics::PeakPartialFlow(double dDiameter, double dSlope,
                                                                              double dRoughness,
                                                                              double dViscosity) {
    if (!ValidPipe(dDiameter, dSlope, dRoughness, dViscosity)) return std::nullopt;
    const SPeak peak = FindPeak(dDiameter, dSlope, dRoughness, dViscosity);
    const SWetted& wetted = peak.wetted;
    const double dHeight = peak.dHeight;
    if (!IsPositive(dHeight) || !IsPositive(wetted.dRadius) || !IsPositive(wetted.dVelocity) ||
        !IsPositive(wetted.dFlow))
        return std::nullopt;
    return SPartialFlow{dHeight,        wetted.dArea,     wetted.dPerimeter,
                        wetted.dRadius, wetted.dVelocity, wetted.dFlow};
}

std::optional<double> CPipeHydraulics::FillingHeight(double dFlow, double dDiameter, double dSlope,
                                                     double dRoughness, double dViscosity) {
    if (!IsPositive(dFlow) || !ValidPipe(dDiameter, dSlope, dRoughness, dViscosity)) return std::nullopt;
    const SPeak peak = FindPeak(dDiameter, dSlope, dRoughness, dViscosity);
    if (!IsPositive(peak.wetted.dFlow) || dFlow > peak.wetted.dFlow) return std::nullopt;
    auto excess = [&](double dHeight) {
        return Capped(PartialFlow(dHeight, dDiameter, dSlope, dRoughness, dViscosity)) - dFlow;
    };
    // Q(0) = 0 < dFlow <= Q(peak)
    const auto dHeight = CarryingEnd(excess, 0.0, peak.dHeight, kHeightTolerance * dDiameter);
    if (!dHeight || !IsPositive(*dHeight)) return std::nullopt;
    return *dHeight;
}

std::optional<double> CPipeHydraulics::MinimumDiameter(double dFlow, double dSlope, double dRoughness,
                                                       double dViscosity) {
    if (!IsPositive(dFlow) || !IsPositive(dSlope) || !IsRoughness(dRoughness) || !IsPositive(dViscosity))
        return std::nullopt;
    return SmallestCarrying(dFlow, kMinSearchDiameter, kMaxSearchDiameter, [&](double dDiameter) {
        return FullBoreFlow(dDiameter, dSlope, dRoughness, dViscosity);
    });
}

std::optional<double> CPipeHydraulics::MinimumSlope(double dFlow, double dDiameter, double dRoughness,
                                                    double dViscosity) {
    if (!IsPositive(dFlow) || !IsPositive(dDiameter) || !IsRoughness(dRoughness) || !IsPositive(dViscosity))
        return std::nullopt;
    return SmallestCarrying(dFlow, kMinSearchSlope, kMaxSearchSlope, [&](double dSlope) {
        return FullBoreFlow(dDiameter, dSlope, dRoughness, dViscosity);
    });
}

std::optional<double> CPipeHydraulics::PartialFillVelocity(double dFlow, double dDiameter, double dSlope,
                                                           double dRoughness, double dViscosity) {
    const auto height = FillingHeight(dFlow, dDiameter, dSlope, dRoughness, dViscosity);
    if (!height) return std::nullopt;
    const auto partial = PartialFilling(*height, dDiameter, dSlope, dRoughness, dViscosity);
    if (!partial) return std::nullopt;
    return partial->dVelocity;
}

std::optional<CPipeHydraulics::SHydraulicValues> CPipeHydraulics::HydraulicValues(
    double dFlow, double dDiameter, double dSlope, double dRoughness, double dViscosity) {
    const auto full = FullBore(dDiameter, dSlope, dRoughness, dViscosity);
    if (!full) return std::nullopt;
    const auto height = FillingHeight(dFlow, dDiameter, dSlope, dRoughness, dViscosity);
    if (!height) return std::nullopt;
    const auto partial = PartialFilling(*height, dDiameter, dSlope, dRoughness, dViscosity);
    if (!partial) return std::nullopt;
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

std::optional<double> CPipeHydraulics::FlowTime(double dLength, double dVelocity) {
    if (!IsPositive(dLength) || !IsPositive(dVelocity)) return std::nullopt;
    const double dMinutes = dLength / dVelocity / kSecondsPerMinute;
    if (!IsPositive(dMinutes)) return std::nullopt;
    return dMinutes;
}

}  // namespace TAVGis::Sewage
