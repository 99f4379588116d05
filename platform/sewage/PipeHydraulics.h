#pragma once
// Pure hydraulic formulas for circular gravity sewers: full bore and partial filling by
// Prandtl-Colebrook, filling height for a flow, minimum diameter and minimum slope.
// No dependency on the network model; every function is a static, side-effect-free computation.
//
// Units at the boundary (SI throughout):
//   flow Q                     m3/s
//   slope J                    fraction (m/m; 5 per mille = 0.005)
//   roughness kb               m (operational roughness; 1.5 mm = 0.0015)
//   kinematic viscosity nu     m2/s (water at 10 degC: 1.31e-6)
//   diameter D, height h       m (inner diameter; filling height above the invert)
//   velocity v                 m/s
//   length L                   m
//   flow time                  minutes
//   percentages                0..100 (flow and velocity percentages may exceed 100 near the crown)
//
// Formulas:
//   Full bore (Prandtl-Colebrook), g = 9.81 m/s2:
//     v = -2 log10( 2.51 nu / (D sqrt(2 g D J)) + kb / (3.71 D) ) sqrt(2 g D J),  Q = v pi D^2 / 4
//   Partial filling at height h (0 < h <= D):
//     theta = 2 acos(1 - 2h/D)   (evaluated as 4 asin(sqrt(h/D)), or 2 pi - 4 asin(sqrt(1 - h/D))
//                                 above half filling, which is the same angle without the loss of
//                                 precision of acos near 1 and -1)
//     A = D^2/8 (theta - sin theta), P = D theta / 2, R = A / P  (theta - sin theta cancels for
//                                 small angles, but at the shallowest depth at which the formula
//                                 gives a velocity at all the loss is still below 1e-10 relative)
//     v = the full-bore formula with D replaced by the hydraulic diameter 4R,  Q = v A.
//   At h = D/2 the hydraulic diameter is D, so v equals the full-bore velocity and Q is exactly
//   half the full-bore flow.
//
// Range of the formula: when the argument of the logarithm is 1 or more (extremely small pipes,
// extremely small slopes or shallow fillings, or kb/(3.71 D) >= 1) the formula gives no positive
// velocity. Public functions fail there. The searches below treat such points as carrying
// no flow (Q = 0), which keeps Q monotone in D, in J and on the rising branch of Q(h).
//
// Maximum of Q(h): Q(h) rises from 0, peaks at about h/D = 0.94 with roughly 1.07 times the
// full-bore flow, and falls back to the full-bore flow at h = D. Up to h/D = 0.8128, where the
// hydraulic radius is largest, area and velocity both rise, so the peak lies in [0.8, 1]; beyond,
// the area still rises and the radius falls, and Q has a single maximum there (the search returns
// the best point it evaluated in any case). The peak is found for each call by Brent's
// minimisation of -Q(h) over h in [0.8 D, D] (golden-section steps with parabolic steps where they
// are safe), stopped when the location is known to kPeakTolerance relative (about the square root
// of the machine precision: the top is flat, so a finer location is meaningless) or after
// kMaxPeakIterations steps. "The maximum of Q(h)" is the largest Q evaluated in that search; its
// value is exact to rounding. A flow above it cannot run with a free surface: FillingHeight fails.
//
// Root searches (filling height, minimum diameter, minimum slope) use Brent's bracketing method
// (bisection with secant and inverse quadratic steps) on a non-decreasing function, bounded by
// kMaxRootIterations (a search took 13 steps on average and 47 at most over 200,000 random pipes,
// flows and slopes; reaching the limit is a failure, not an approximate answer). Of the final
// bracket the end that carries the flow is returned, so the result never under-sizes:
//   Filling height: h in [0, h_peak], bracket narrower than kHeightTolerance x D; the search
//     evaluates Q exactly as PartialFilling does, so PartialFilling(h) gives Q >= the requested
//     flow, and the peak flow itself is reachable. Near the peak the height is only as well
//     determined as the flat curve allows.
//   Minimum diameter: smallest D in [kMinSearchDiameter, kMaxSearchDiameter] whose full-bore flow
//     is at least Q, searched on log D to kRelativeSearchTolerance. Fails when even
//     kMaxSearchDiameter does not carry Q; returns kMinSearchDiameter when that already carries Q.
//   Minimum slope: likewise, smallest J in [kMinSearchSlope, kMaxSearchSlope] at which pipe D
//     carries Q at full bore; fails above kMaxSearchSlope (45 degrees, beyond gravity-sewer
//     design), returns kMinSearchSlope when that already carries Q.
//
// Inputs: flow, diameter, slope, viscosity, length and velocity must be finite and > 0; the
// roughness must be finite and >= 0 (kb = 0 is the hydraulically smooth pipe, for which the
// formula is defined). Anything else (zero, negative, NaN, infinity) makes the function fail.
// A function never returns NaN or infinity: a non-finite intermediate result is a failure.
// Every loop is bounded by the named iteration limits below.

#include <optional>

namespace TAVGis::Sewage {

class CPipeHydraulics {
public:
    CPipeHydraulics() = delete;

    static constexpr double kGravity = 9.81;      // m/s2
    static constexpr double kViscousTerm = 2.51;  // Prandtl-Colebrook constants
    static constexpr double kRoughnessTerm = 3.71;

    static constexpr double kPeakTolerance = 1e-8;             // relative location of the peak of Q(h)
    static constexpr int kMaxPeakIterations = 100;             // golden steps alone need about 35
    static constexpr double kHeightTolerance = 1e-12;          // x D, final bracket width of h
    static constexpr double kRelativeSearchTolerance = 1e-12;  // bracket width of log D and log J
    static constexpr int kMaxRootIterations = 200;             // pure bisection would need about 45
    static constexpr double kMinSearchDiameter = 0.001;        // m
    static constexpr double kMaxSearchDiameter = 20.0;         // m
    static constexpr double kMinSearchSlope = 1e-8;            // fraction (1e-5 per mille)
    static constexpr double kMaxSearchSlope = 1.0;             // fraction (45 degrees)
    static constexpr double kSecondsPerMinute = 60.0;

    struct SFullBore {
        double dVelocity = 0.0;  // m/s
        double dFlow = 0.0;      // m3/s
    };

    struct SPartialFlow {
        double dHeight = 0.0;           // m, filling height
        double dArea = 0.0;             // m2, wetted cross-section
        double dWettedPerimeter = 0.0;  // m
        double dHydraulicRadius = 0.0;  // m, A / P
        double dVelocity = 0.0;         // m/s
        double dFlow = 0.0;             // m3/s
    };

    struct SHydraulicValues {
        double dFillingHeight = 0.0;    // m
        double dFillingPercent = 0.0;   // 100 h / D
        double dFullFlow = 0.0;         // m3/s
        double dFullVelocity = 0.0;     // m/s
        double dPartialVelocity = 0.0;  // m/s, at the filling height
        double dFlowPercent = 0.0;      // 100 Q / Q_full
        double dVelocityPercent = 0.0;  // 100 v / v_full
    };

    // Full-bore velocity and flow of pipe D at slope J.
    static std::optional<SFullBore> FullBore(double dDiameter, double dSlope, double dRoughness,
                                             double dViscosity);

    // Geometry, velocity and flow at filling height h, 0 < h <= D.
    static std::optional<SPartialFlow> PartialFilling(double dHeight, double dDiameter, double dSlope,
                                                      double dRoughness, double dViscosity);

    // The peak of Q(h) (see above): its height, velocity and flow.
    static std::optional<SPartialFlow> PeakPartialFlow(double dDiameter, double dSlope, double dRoughness,
                                                       double dViscosity);

    // Filling height h (m) at which flow Q runs, on the rising branch up to the peak of Q(h).
    static std::optional<double> FillingHeight(double dFlow, double dDiameter, double dSlope,
                                               double dRoughness, double dViscosity);

    // Smallest inner diameter (m) whose full-bore flow carries Q at slope J.
    static std::optional<double> MinimumDiameter(double dFlow, double dSlope, double dRoughness,
                                                 double dViscosity);

    // Smallest slope (fraction) at which pipe D carries Q at full bore.
    static std::optional<double> MinimumSlope(double dFlow, double dDiameter, double dRoughness,
                                              double dViscosity);

    // Velocity (m/s) of flow Q at its filling height.
    static std::optional<double> PartialFillVelocity(double dFlow, double dDiameter, double dSlope,
                                                     double dRoughness, double dViscosity);

    // Filling, full-bore values and percentages of flow Q in pipe D at slope J.
    static std::optional<SHydraulicValues> HydraulicValues(double dFlow, double dDiameter, double dSlope,
                                                           double dRoughness, double dViscosity);

    // Flow time in minutes over dLength (m) at dVelocity (m/s).
    static std::optional<double> FlowTime(double dLength, double dVelocity);
};

}  // namespace TAVGis::Sewage
