#pragma once
// CWasteWaterPercent: the design waste-water flow of a catchment's whole population, and its share per
// metre of the selected sections, each section's length weighted by its density coefficient.
//
// Units: q in l per inhabitant and day, T in years, p in % per year; Qd and Qdmax in l/day, Qh and Qhmax
// in l/h, Q in l/s; lengths in m; qs in l/s per m. The sections receive SPECIFIC_FLOW = qs / 1000
// (m3/s per m) and FLOW_WASTE_PER = length x c x qs / 1000 (m3/s).
#include <functional>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "platform/network/Section.h"

struct WasteWaterPercentInput {
    double q = 150.0;   // specific consumption, l/inhabitant/day
    double n = 5000.0;  // present inhabitants
    double p = 2.0;     // annual growth, %
    double t = 30.0;    // design period, years
    double kd = 1.5;    // daily variation coefficient
    double kh = 1.5;    // hourly variation coefficient
    double kp = 1.1;    // own needs of the system (Romanian standard)
    double ks = 1.1;    // system maintenance (Romanian standard)
    double ku = 0.8;    // reduction (Romanian standard)
    bool romanian = false;
    bool fedorov = false;  // ignored when the Romanian coefficients are on
};

struct WasteWaterPercentResult {
    double growth = 0;  // G = (1 + p/100)^T
    double nf = 0;      // future inhabitants
    double qd = 0;      // average daily flow, l/day
    double qh = 0;      // average hourly flow, l/h (shown only)
    double qdmax = 0;   // maximum daily flow, l/day
    double qhmax = 0;   // maximum hourly flow, l/h
    double k = 1;       // Fedorov non-uniformity coefficient
    double q = 0;       // design flow, l/s
    double ltot = 0;    // total length, m
    double lw = 0;      // length weighted by the density coefficients, m
    double qs = 0;      // specific flow, l/s per m
};

class CWasteWaterPercent {
public:
    static constexpr double kFedorovFactor = 2.69;
    static constexpr double kFedorovExponent = 0.121;
    static constexpr double kLitresPerCubicMetre = 1000.0;

    // The section's FLOW_COEFDEN, or 1.0 when it has none.
    static double DensityCoefficient(const TAVGis::Topology::CSectionPtr& section);
    static WasteWaterPercentResult Compute(const WasteWaterPercentInput& in,
                                           const std::vector<TAVGis::Topology::CSectionPtr>& sections);
    // Called after a section's two attributes are written (the dialog tags the section with its set).
    using SectionWritten = std::function<void(const TAVGis::Topology::CSectionPtr&)>;
    // Writes SPECIFIC_FLOW and FLOW_WASTE_PER of every section (empty handles skipped), in list order,
    // each section's writes followed by `written`; true when the last FLOW_WASTE_PER write succeeded. A
    // section whose two values are not both finite (a population grown beyond the range of a double) gets
    // neither, is not passed to `written`, and is recorded in `notFinite` when given.
    static bool Write(const std::vector<TAVGis::Topology::CSectionPtr>& sections, double qs,
                      const SectionWritten& written = {}, CNonFiniteValues* notFinite = nullptr);
};
