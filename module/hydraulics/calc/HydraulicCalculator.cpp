#include "module/hydraulics/calc/HydraulicCalculator.h"

#include <cmath>
#include <limits>

#include "module/hydraulics/calc/HydraulicSteps.h"
#include "platform/network/PipeManager.h"

using TAVGis::Data::CPipeManager;

namespace {

constexpr double kPerMillePerPercent = 10.0;
constexpr double kPerMilleOfOneInOne = 1000.0;  // 1 in n is 1000 / n per mille
constexpr double kSnapUlps = 8.0;               // distance to a whole n treated as exact

bool Positive(const std::optional<double>& v) {
    return v && *v > 0.0;
}

}  // namespace

double CHydraulicCalculator::ToPerMille(double value, SlopeUnit unit) {
    switch (unit) {
        case SlopeUnit::Percent:
            return value * kPerMillePerPercent;
        case SlopeUnit::OneIn:
            return value > 0.0 ? kPerMilleOfOneInOne / value : 0.0;
        case SlopeUnit::PerMille:
            break;
    }
    return value;
}

double CHydraulicCalculator::FromPerMille(double perMille, SlopeUnit unit) {
    switch (unit) {
        case SlopeUnit::Percent:
            return perMille / kPerMillePerPercent;
        case SlopeUnit::OneIn:
            return perMille > 0.0 ? kPerMilleOfOneInOne / perMille : 0.0;
        case SlopeUnit::PerMille:
            break;
    }
    return perMille;
}

double CHydraulicCalculator::ChosenSlope(double minimum, SlopeUnit unit) {
    if (unit != SlopeUnit::OneIn) return CHydraulicSteps::RoundUp(minimum, 0);
    // The whole n below the minimum's n; an n within a few units of the last place of a whole number counts
    // as that number (and moves down by one), as the round-up rule treats exact values.
    double n = minimum;
    const double whole = std::nearbyint(n);
    if (std::fabs(n - whole) <=
        kSnapUlps * std::numeric_limits<double>::epsilon() * std::fmax(1.0, std::fabs(whole)))
        n = whole;
    return std::ceil(n) - 1.0;
}

int CHydraulicCalculator::CheckInputs(const CalculatorInputs& in) {
    if (!Positive(in.flow)) return kStatusEnterFlow;
    if (!Positive(in.roughness)) return kStatusEnterRoughness;
    if (!Positive(in.viscosity)) return kStatusEnterViscosity;
    if (!in.group || !in.pipe || !CPipeManager::GetInstance()->GetPipe(in.pipe->GetGUID()))
        return kStatusChoosePipe;
    if (!in.unit) return kStatusEnterSlope;
    return 0;
}

PipeCalculationInputs CHydraulicCalculator::Common(const CalculatorInputs& in) {
    PipeCalculationInputs common;
    common.flow = in.flow;
    common.roughness = in.roughness;
    common.viscosity = in.viscosity;
    return common;
}

CalculatorMinimum CHydraulicCalculator::Minimum(const CalculatorInputs& in) {
    CalculatorMinimum result;
    if ((result.status = CheckInputs(in)) != 0) return result;
    CPipeCalculation calculation;
    if (in.mode == kModeMinimumSlope) {
        const double diameter = CPipeManager::GetInstance()->GetInnerDiameter(in.pipe);
        const PipeMinimum m = calculation.MinimumSlope(Common(in), in.pipe->GetGUID(), diameter);
        result.status = m.status == kStatusSlopeModeNoPipe ? kStatusChoosePipe : m.status;
        if (!m.value) return result;
        result.minimum = FromPerMille(*m.value, *in.unit);
        result.chosen = ChosenSlope(*result.minimum, *in.unit);
        return result;
    }
    std::optional<double> slope;
    if (in.slope) slope = ToPerMille(*in.slope, *in.unit);
    const PipeMinimum m = calculation.MinimumDiameter(Common(in), slope, in.pipe);
    result.status = m.status;
    if (!m.value) return result;
    result.minimum = m.value;
    result.chosenPipe = CPipeCalculation::ChosenPipe(in.group->GetName(), *m.value);
    if (!result.chosenPipe) {
        result.status = kStatusNoCataloguePipe;
        return result;
    }
    result.chosen = CPipeManager::GetInstance()->GetInnerDiameter(result.chosenPipe);
    return result;
}

PipeResults CHydraulicCalculator::Results(const CalculatorInputs& in, std::optional<double> minimum,
                                          std::optional<double> chosen) {
    PipeResults r;
    if ((r.status = CheckInputs(in)) != 0) return r;
    if (!Positive(chosen)) {
        r.status = kStatusNoChosenValue;
        return r;
    }
    const bool slopeMode = in.mode == kModeMinimumSlope;
    if (minimum) {
        // Compared in mm and per mille: the chosen value may not lie below the minimum.
        const double least = slopeMode ? ToPerMille(*minimum, *in.unit) : *minimum;
        const double value = slopeMode ? ToPerMille(*chosen, *in.unit) : *chosen;
        if (value < least) {
            r.status = slopeMode ? kStatusSlopeBelowMinimum : kStatusPipeBelowMinimum;
            return r;
        }
    }
    const std::optional<double> typed = slopeMode ? chosen : in.slope;
    std::optional<double> slope;
    if (typed) slope = ToPerMille(*typed, *in.unit);
    return CPipeCalculation::Calculate(Common(in), in.pipe, slope);
}
