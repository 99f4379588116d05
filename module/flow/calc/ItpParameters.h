#pragma once
// CItpParameters: what the rain dialog (CITPCalcDlg) hands to the flow calculator "001_RAIN_ITP": its values
// written into the calculator's parameter set by tag, and the return periods of a curve file as the dialog
// lists them.
//
// Each entry is set by tag (CPropertiesEx::GetPropertyExByTag, CPropertyEx::SetHiddenValue), in this order:
//   RAINFALL_MODE        int    2481 for method 0 (curves), 2484 for 1 (Reinhold), 9455 for 2 (Turkish
//                               station), 2481 for any other value
//   FILE_PATH            text   curve file path
//   FREQUENCY            double the leading number of the selected return-period text (0 without one)
//   TURKISH              text   Turkish station value
//   RAIN_INTESITY        double 15-minute rain intensity
//   FREQUENCY_N          double frequency n
//   PARTIAL_AREA_EFFECT  int    0 when off, else 1 + the mode index
//   USE_EXISTING_PIPE    int    0 when off, else 1 + the mode index
//   SAVE_PIPE            int    assign pipes
//   PRECISION            double precision [%]
//   WATER_VISCOSITY      double water viscosity [m2/s]
//   IGNORE_CARRIER_PIPES int    ignore carrier pipes (always 0 with the Turkish standard)
//   BRANCHING_FLOW_TIME  int    11089 for rule 0, 11088 for rule 1; an empty box for any other value
//   PIPE_GROUP           list   one element: the GUID of the pipe group, "" when none
//   STORM_CAD            int    11090 or 11091
//   CALC_STANDARD        int    0, 1 or 2
//   RO                   text   "%d;%.6f;%.6f;%.6f" of the Romanian standard values
//   PIPE_FILL            double pipe fill [%] with hydraulic conditions 1 and the pipe-fill limit on,
//                               else 100.0
//   MINIMAL_DIAMETAR     double minimum diameter with hydraulic conditions 1 and the minimum-diameter
//                               limit on, else 0.0
// A tag the set does not hold is skipped.
// Decision: a limit the person switched off is not applied (its field is greyed out and may still hold a
// value; passing that value on would limit the pipes all the same).
#include <string>
#include <vector>

#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/IdfCurveFile.h"
#include "platform/sewage/RainItpCalculator.h"

struct ItpDialogValues {
    int rainMethod = 0;  // 0 curves, 1 Reinhold, 2 Turkish standard
    std::string curveFile;
    std::string returnPeriodText;  // the selected entry of the return-period list ("" when empty)
    std::string turkishStation;
    double rainIntensity15 = 100.0;  // l/s/ha
    double frequencyN = 1.0;
    bool partialAreaEffect = false;
    int partialAreaMode = 0;
    bool useExistingPipe = false;
    int existingPipeMode = 0;
    bool assignPipes = false;
    double precisionPercent = 0.5;
    double viscosity = 1.31e-6;
    bool ignoreCarrierPipes = false;
    int branchingRule = 0;  // 0 carry the longer time, 1 the shorter
    std::string pipeGroupGuid;
    int stormCad = 11090;
    int calcStandard = 0;
    int roInteger = 0;
    double roValues[3] = {1.0, 0.8, 0.9};
    int hydraulicConditions = 0;  // 0 without, 1 by conditions
    bool pipeFillLimit = true;
    double pipeFillPercent = 50.0;
    bool minDiameterLimit = true;
    double minDiameter = 0.0;
};

class CItpParameters {
public:
    using Calculator = TAVGis::Sewage::CRainItpCalculator;
    static constexpr int kMethodCodes[3] = {Calculator::kModeCurves, Calculator::kModeReinhold,
                                            Calculator::kModeTurkish};
    static constexpr int kBranchingCodes[2] = {Calculator::kCarryLonger, Calculator::kCarryShorter};
    static constexpr double kNoFillLimit = 100.0;

    // 0 when off, else 1 + the mode index: the form of the partial-area and existing-pipe choices.
    static int OnePlusIndex(bool on, int index) { return on ? 1 + index : 0; }
    // The "RO" text of the Romanian standard values.
    static std::string RomanianText(int integer, const double values[3]);
    // Fills the set by tag (see above).
    static void Fill(const ItpDialogValues& values, TAVGis::Sewage::CFlowCalculatorParameters& params);
    // The return periods of a curve file as the dialog lists them ("%.2f", ascending); false when the file
    // does not load (the list is then left to the caller as it was) with the reason in `error`.
    static bool ReturnPeriodTexts(const std::string& path, std::vector<std::string>& texts,
                                  TAVGis::Sewage::IdfReadError& error);
    // The return periods of a table (a Turkish station's) as the dialog lists them.
    static std::vector<std::string> ReturnPeriodTexts(const TAVGis::Sewage::IdfCurveSet& table);
    // The names of the root elements of the "PIPE" catalogue (the pipe groups), sorted.
    static std::vector<std::string> SortedPipeGroupNames();
    // The GUID of the pipe group (among the groups with usable pipes) of that name; "" when none.
    static std::string PipeGroupGuid(const std::string& name);
};
