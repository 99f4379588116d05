#pragma once
// CIskiCalculator: the peak waste-water flow of each section by the ISKI method, written to FLOW_ISKI_PEAK
// (m3/s). Display name: message 11162.
//
// Method (the peak-factor form used in Turkish sewer design practice for household waste water, e.g. the
// design rules of the Istanbul water administration; the same form as the household peak factor of the
// German design literature, Imhoff, "Taschenbuch der Stadtentwässerung"):
//   P      inhabitants draining through the section: for every section of the run, its household area
//          (catchment areas of kind 2, ha) x their average density (inhabitants/ha), summed over the
//          section and every section upstream of it (flow order: a section's upstream sections are the
//          sections of the run that end at its starting node, and theirs).
//   Qavg   = P x q x r / 86,400                       l/s    (q WATER_CONSUMPTION l/inhabitant/day,
//                                                             r RETURN_FACTOR, the share reaching the sewer)
//   k      = min(kmax, 1.5 + 2.5 / sqrt(Qavg))            (kmax PEAK_FACTOR_MAX; Qavg in l/s)
//   Qpeak  = k x Qavg / 1000                          m3/s   (0 when P is 0)
// The peak factor applies to the accumulated mean flow, never to a sum of peaks: the peaks of two
// branches do not coincide.
//
// Decisions:
// - kmax (default 4.0) bounds the factor, which grows without limit as the mean flow goes to 0 (a single
//   house would otherwise get a peak of ten times its mean).
// - A node where the flow divides gives every outgoing section the whole upstream population (the pipes
//   below a division are designed for everything that may reach them).
// - Sections on or below a closed loop get no value (their upstream sum has no end); the run alerts with
//   their count and writes the others.
// - Parameters that are not finite or not above 0 (q, r, kmax below 1) stop the run with an alert; nothing
//   is written.
#include "platform/sewage/FlowCalculator.h"

namespace TAVGis::Sewage {

struct IskiInput {
    double consumption = 200.0;  // l/inhabitant/day
    double returnFactor = 0.8;
    double peakFactorMax = 4.0;
};

struct IskiResult {
    int written = 0;
    int inLoop = 0;
    std::vector<std::size_t> calculated;  // indexes of the sections written
};

class CIskiCalculator : public IFlowCalculator {
public:
    static constexpr const char* kName = "002_WASTE_ISKI";
    static constexpr int kDisplayNameMsg = 11162;
    static constexpr double kSecondsPerDay = 86400.0;
    static constexpr double kBase = 1.5;
    static constexpr double kCoefficient = 2.5;
    static constexpr double kLitresPerCubicMetre = 1000.0;

    CIskiCalculator() : IFlowCalculator(kName) {}
    void GetDisplayName(std::string& text) const override;
    void GetGroupName(std::string& text) const override;
    std::vector<std::string> GetWrittenAttributes() const override { return {"FLOW_ISKI_PEAK"}; }
    int RunCalculation(const SectionList& sections, const CFlowCalculatorParametersPtr& params, bool tag,
                       bool silent, IDialogToHide* dialog) override;

    // The peak factor for a mean flow in l/s (above 0).
    static double PeakFactor(double meanLitresPerSecond, double peakFactorMax);
    // The calculation itself; writes FLOW_ISKI_PEAK and returns the counts.
    static IskiResult Run(const IskiInput& in, const SectionList& sections);

protected:
    void FillDefaults(Data::CPropertiesEx& properties) const override;
};

}  // namespace TAVGis::Sewage
