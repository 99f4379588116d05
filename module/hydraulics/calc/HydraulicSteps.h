#pragma once
// CHydraulicSteps: the steps every hydraulic calculation of the module makes with the sewage core, kept in
// one place for the automatic dimensioning, the individual section page and the hydraulic calculator: the
// inputs of the minimum diameter and of the minimum slope with their unit conversions, the chain of
// calculations that gives a pipe's hydraulics at a slope, and the round-up rule of the chosen slope.
//
// Units at this boundary: flow m3/s (passed to the core as it is), slope per mille (a fraction in the
// core), roughness kb mm (m in the core), kinematic viscosity m2/s (passed as it is), diameters mm (m in
// the core). Flows are shown to a person in l/s.
#include <optional>
#include <string>

#include "platform/sewage/SewageHydraulics.h"

class CHydraulicSteps {
public:
    static constexpr double kPerMille = 1000.0;             // per mille per unit fraction
    static constexpr double kMmPerMetre = 1000.0;           // mm per m
    static constexpr double kLitresPerCubicMetre = 1000.0;  // l per m3

    // A flow in l/s from m3/s, and back.
    static double LitresPerSecond(double cubicMetresPerSecond) {
        return cubicMetresPerSecond * kLitresPerCubicMetre;
    }
    static double CubicMetresPerSecond(double litresPerSecond) {
        return litresPerSecond / kLitresPerCubicMetre;
    }

    // Sets flow, slope, roughness and viscosity and runs CalculateMinimumDiameterMinHidRad: the core's
    // minimum diameter in mm, or nothing when the core could not calculate it.
    static std::optional<double> MinimumDiameter(TAVGis::Sewage::CSewageHydraulics& core, double flow,
                                                 double slopePerMille, double roughnessMm, double viscosity);
    // Sets flow, pipe, roughness and viscosity and runs CalculateMinimumSlope: the minimum slope in per
    // mille, or nothing when the core could not calculate it.
    static std::optional<double> MinimumSlope(TAVGis::Sewage::CSewageHydraulics& core, double flow,
                                              const std::string& pipeGuid, double roughnessMm,
                                              double viscosity);

    // The hydraulics of the core's pipe at its slope: filling height, partial-fill velocity, full-bore
    // values, then the flow time (its failure is not one of the chain: without a section of some length there
    // is only no flow time; `flowTime`, when given, tells whether it was calculated). 0 when the first three
    // ran through, else the status of the first that failed (3422 filling height, 3423 velocity, 3424
    // full-bore values).
    static int Chain(TAVGis::Sewage::CSewageHydraulics& core, bool* flowTime = nullptr);

    // x rounded up at `decimals` places: trunc(x * 10^p + 1) / 10^p (the unit is subtracted for a negative
    // x); an exact value also moves up by one unit. A scaled value within a few units of the last place of a
    // whole number counts as that number, so that 0.29 at two decimals (28.999999999999996 hundredths)
    // moves up to 0.30 as an exact value does.
    static double RoundUp(double x, int decimals);
};
