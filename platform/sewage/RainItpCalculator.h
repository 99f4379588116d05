#pragma once
// CRainItpCalculator ("001_RAIN_ITP"): rain flows by the time-of-flow method (rational method with
// times of concentration), after Imhoff, "Taschenbuch der Stadtentwässerung", and ATV-A 118 (the
// time-of-flow method, "Zeitbeiwertverfahren"), also Butler & Davies, "Urban Drainage", ch. 11 (the
// Lloyd-Davies / rational method).
//
// For every section in flow order (every section after all sections of the run that flow into it):
//   t_in   time carried into the section (min): the inlet time INLET_TIME for a section nothing flows into;
//          else over the sections flowing into it, their time of concentration: the longest
//          (BRANCHING_FLOW_TIME 11089, the default) or the shortest (11088).
//   A      corrected area (ha) of the section (CCatchmentAreaManager::GetCATotalCorectedArea);
//   A_tot  A plus A_tot of every section flowing into it.
//   t_f    flow time of the section (min): length / partial-fill velocity of the flow in the section's pipe
//          (Prandtl-Colebrook, CPipeHydraulics); 0 when the section has no pipe, no slope or no length.
//   t_c    = t_in + t_f, the time of concentration at the section's end and the rain duration;
//   i      rain intensity (l/s/ha) of duration t_c:
//            RAINFALL_MODE 2481  the curve of return period FREQUENCY from the curve file FILE_PATH,
//                                linear between its points (CIdfCurveFile);
//            RAINFALL_MODE 9455  the Turkish station TURKISH (its name; CIDPTurkParams, the per-user
//                                station store): its curve of return period FREQUENCY, by the same rules
//                                as the curve file's (linear between points, the end point's intensity
//                                outside them);
//            RAINFALL_MODE 2484  Reinhold: i = r15 x phi, phi = 38 / (t_c + 9) x (n^-0.25 - 0.3684)
//                                (r15 RAIN_INTESITY, the 15-minute intensity of frequency 1/year;
//                                n FREQUENCY_N per year; 0.3684 makes phi(15, 1) = 1, as the module's
//                                simple rain method does);
//   Q      = A_tot x i / 1000 (m3/s).
//   t_f depends on Q and Q on t_f: per section t_f is found by fixed-point steps starting from 0 until it
//   changes by at most PRECISION % (at most 50 steps); each section is visited once, so the run is linear
//   in the number of sections.
// Pipe of a section: with USE_EXISTING_PIPE not 0 or without a pipe group (PIPE_GROUP), the section's own
// pipe: the catalogue pipe of PIPE_REF (inner diameter, roughness), else PIPE_DIA_IN (m) and
// PIPE_ROUGHNESS (mm). Otherwise the smallest pipe of the group with an inner diameter of at least
// MINIMAL_DIAMETAR (mm) that carries Q filled at most PIPE_FILL %; with SAVE_PIPE not 0 it is written to
// PIPE_REF. Slope: SECTION_SLOPE (per mille), else the fall of the invert levels over the length.
//
// Written per section: FLOW_RAIN_IDF (Q), FLOW_IDF_INTENSITY (i), FLOW_IDF_CONC_TIME (t_c),
// FLOW_IDF_TIME (t_f), FLOW_IDF_MJ_TIME (t_in), FLOW_IDF_AREA_CORRECTED_SECT (A),
// FLOW_IDF_AREA_CORRECTED_TOTAL (A_tot); every calculated section is tagged with the parameter set.
//
// Decisions:
// - INLET_TIME (default 5 min) is a parameter of its own: the dialog's set does not name one.
// - Outside the curve's durations the intensity of the nearest end point is used.
// - A node where the flow divides gives every outgoing section the whole upstream area.
// - Sections on or below a closed loop are not calculated; the run alerts with their count.
// - A section whose flow time cannot be found (no pipe, slope or length, or more flow than its pipe
//   carries with a free surface) is calculated with a flow time of 0; the run alerts with their count.
// - Without a section of the run, a usable curve (file unreadable: an alert naming the file and line; no
//   curve of the return period), a frequency n above 0, a readable station store (an alert naming the
//   file and the entry), a station of the name TURKISH, or a curve of the station for FREQUENCY, nothing
//   is written and the run returns 0.
#include <functional>

#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/IdfCurveFile.h"

namespace TAVGis::Sewage {

struct RainItpInput {
    std::function<double(double)> intensity;  // l/s/ha for a duration in min
    double inletTime = 5.0;                   // min
    bool carryLonger = true;
    double precisionPercent = 0.5;
    double viscosity = 1.31e-6;  // m2/s
    bool useExistingPipe = true;
    std::string pipeGroupGuid;
    double pipeFillPercent = 100.0;
    double minDiameterMm = 0.0;
    bool savePipe = false;
};

struct RainItpResult {
    int written = 0;
    int withoutHydraulics = 0;  // sections whose flow time is 0 for want of pipe, slope or length
    int inLoop = 0;
    std::vector<std::size_t> calculated;  // indexes of the sections written
};

class CRainItpCalculator : public IFlowCalculator {
public:
    static constexpr const char* kName = "001_RAIN_ITP";
    static constexpr int kModeCurves = 2481;
    static constexpr int kModeReinhold = 2484;
    static constexpr int kModeTurkish = 9455;
    static constexpr int kCarryLonger = 11089;
    static constexpr int kCarryShorter = 11088;
    static constexpr double kReinholdFactor = 38.0;
    static constexpr double kReinholdMinutes = 9.0;
    static constexpr double kReinholdExponent = 0.25;
    static constexpr double kReinholdOffset = 0.3684;
    static constexpr int kMaxSteps = 50;

    CRainItpCalculator() : IFlowCalculator(kName) {}
    void GetDisplayName(std::string& text) const override;
    void GetGroupName(std::string& text) const override;
    std::vector<std::string> GetWrittenAttributes() const override;
    int RunCalculation(const SectionList& sections, const CFlowCalculatorParametersPtr& params, bool tag,
                       bool silent, IDialogToHide* dialog) override;

    // Reinhold's time coefficient for a duration (min) and frequency n (per year).
    static double ReinholdCoefficient(double duration, double n);
    static RainItpResult Run(const RainItpInput& in, const SectionList& sections);

protected:
    void FillDefaults(Data::CPropertiesEx& properties) const override;
};

}  // namespace TAVGis::Sewage
