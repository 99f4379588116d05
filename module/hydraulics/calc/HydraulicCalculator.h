#pragma once
// CHydraulicCalculator: the free calculation of one catalogue pipe that the hydraulic calculator dialog
// makes for typed values: the minimum (the standard inner diameter for the flow at a slope, or the slope at
// which the pipe carries the flow), the chosen value offered from it, and the results of the pipe at the
// slope typed or chosen. Slopes are typed and shown in a unit of the person's choice; the calculation works
// in per mille. It writes nothing. The steps are those of the individual section page (CPipeCalculation).
//
// Slope units: "o/oo" per mille; "o/o" percent (v % is 10 v per mille); "1/n" one in n (n is 1000 / n per
// mille).
//
// Decisions:
// - A slope of 0 or below has no "1 in n": it converts to 0 in both directions (never to an infinite or
//   negative n), and 0 means no slope.
// - The chosen slope is a whole number in the unit shown, on the safe side of the minimum: in per mille and
//   percent the minimum rounded up (trunc(x + 1), an exact whole number also moving up by one); in "1/n"
//   the minimum's n rounded down to the next whole n below it (an exact whole n also moving down by one),
//   which is a steeper slope. Rounding n up, as the rule for the other units would do on the shown number,
//   would offer a slope below the minimum.
// - The chosen value is compared with the minimum in millimetres and per mille, as both are shown (the
//   numbers of their fields): results are calculated only when the chosen value is not below the minimum.
//   In "1/n" the shown numbers run opposite to the slopes, so they are converted before comparing. A chosen
//   pipe equal to the minimum diameter is accepted: the minimum is a standard inner diameter, so the
//   group's pipe chosen for it usually equals it.
// - When the minimum field is empty (no minimum could be calculated) the chosen value is not compared.
#include <optional>

#include "module/hydraulics/calc/PipeCalculation.h"
#include "module/hydraulics/calc/SectionDimensioning.h"
#include "platform/network/CatalogItem.h"

enum class SlopeUnit { PerMille = 0, Percent = 1, OneIn = 2 };
constexpr int kSlopeUnitCount = 3;

// What the calculator is given, as typed: the flow in m3/s, the slope in its unit, roughness mm, viscosity
// m2/s, the group and the pipe chosen from the catalogue (null when none).
struct CalculatorInputs {
    int mode = kModeMinimumDiameter;
    std::optional<double> flow;
    std::optional<double> slope;
    std::optional<SlopeUnit> unit;
    std::optional<double> roughness;
    std::optional<double> viscosity;
    TAVGis::Data::CCatalogItemPtr group;
    TAVGis::Data::CCatalogItemPtr pipe;
};

// A minimum as the calculator shows it: in minimum-diameter mode the standard diameter and the inner
// diameter of the group's pipe for it (mm, `chosenPipe` that pipe); in minimum-slope mode the minimum slope
// and the chosen slope in the unit.
struct CalculatorMinimum {
    int status = 0;  // 0: calculated
    std::optional<double> minimum;
    std::optional<double> chosen;
    TAVGis::Data::CCatalogItemPtr chosenPipe;
};

class CHydraulicCalculator {
public:
    static double ToPerMille(double value, SlopeUnit unit);
    static double FromPerMille(double perMille, SlopeUnit unit);
    // The chosen slope, in the unit, for a minimum slope given in the unit.
    static double ChosenSlope(double minimum, SlopeUnit unit);

    static CalculatorMinimum Minimum(const CalculatorInputs& in);
    // The results for the minimum and the chosen value as their fields show them (empty when a field is):
    // the pipe at the typed slope (minimum-diameter mode) or at the chosen slope (minimum-slope mode).
    static PipeResults Results(const CalculatorInputs& in, std::optional<double> minimum,
                               std::optional<double> chosen);

private:
    // 0 when flow, roughness, viscosity, pipe and unit are given, else the status of the first missing.
    static int CheckInputs(const CalculatorInputs& in);
    static PipeCalculationInputs Common(const CalculatorInputs& in);
};
