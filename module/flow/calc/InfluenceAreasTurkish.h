#pragma once
// CInfluenceAreasTurkish: waste water from Turkish influence areas, for every section of the active system:
// the household flow, infiltration and additional water of the section and of every section upstream of it
// (CSection::GetPreviousSections: each upstream section once), hourly peak coefficients from a table, a
// summer and a winter design flow and the total flow.
//
// Inputs on each section: HOUSE_WASTE (household area A, ha; 0 when empty), POP_DENSITY_AREA (density D,
// inhabitants/ha; 0 when empty) and the five parameters SetParameters writes (each required):
//   TUR_INF_FLOW_PER_POP  q       household waste water, l per inhabitant and day
//   TUR_COEFF_INF         ci      infiltration, l/s per ha
//   TUR_COEFF_ADD         ca      share of additional water
//   TUR_KMIN_D, TUR_KMAX_D        daily variation coefficients
// and, when asked for, the point flow FLOW_POINT (m3/s, as the additional flows write it).
//
// Per section S, with U every section upstream of S:
//   P    = D x A rounded to whole inhabitants (half away from zero), as a 32-bit integer
//   Qo   = q x P / 86400                                   l/s   TUR_INF_FLOW_PER_SECT
//   SA   = A(S) + sum A(U)                                 ha    AREA_CUMULATIVE_INF
//   SP   = P(S) + sum P(U)                                       POP_PER_SECTION_C
//   Qh   = SP x q(S) / 86400                               l/s   FLOW_TUR_WASTE_HOME (written in m3/s)
//   Qinf = A(S) x ci(S) + sum A(U) x ci(U)                 l/s   FLOW_TUR_WASTE_INF (written in m3/s)
//   Qadd = ca(S) x Qo(S) + sum ca(U) x Qo(U)               l/s   TUR_INF_FLOW_ADDITIONAL
//   Kmax,h and Kmin,h from Qh by the hourly table (HourlyPeak) TUR_KMAX_H, TUR_KMIN_H
//   summer = Qh x Kmax,d x Kmax,h + Qinf                   l/s   TUR_INF_FLOW_SECT_SUMMER
//   winter = Qh x Kmin,d x Kmin,h + Qinf + Qadd            l/s   TUR_INF_FLOW_SECT_WINTER
//   FLOW_TOTAL = max(summer, winter) / 1000 + FP(S) + sum FP(U)   m3/s
//
// Units: the method's own TUR_* flows stay in l/s. FLOW_TUR_WASTE_HOME and FLOW_TUR_WASTE_INF are shared
// with the Turkish waste-water method, and the transit and total flows read them in m3/s, so they are
// written in m3/s (Qh / 1000, Qinf / 1000); in l/s they would count a thousand times too much there.
// FLOW_POINT is in m3/s, the unit of FLOW_TOTAL, so it is added as it is.
//
// Decisions:
// - All five parameters are checked on every section before anything is changed: a section without one of
//   them stops the calculation with nothing deleted and nothing written (the result names the first such
//   section and counts them), instead of leaving the results of earlier sections deleted and the others
//   stale.
// - A population beyond the range of a 32-bit integer (densities or areas far out of range in the drawing)
//   is held at the nearest limit instead of overflowing.
// - The upstream sums are computed for the whole network in one pass (CUpstreamSums), not by a walk
//   upstream from every section, so the cost stays linear on large networks. Sections that are not in the
//   calculated list (another system) contribute nothing, but the sums run through them.
// - A result that is not a finite number is not written (the section keeps that attribute deleted) and is
//   recorded in the result's notFinite.
#include <string>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "platform/network/Section.h"

// The five design parameters Set parameters writes.
struct InfluenceParameters {
    double consumption = 144.0;  // q, l per inhabitant and day
    double infiltration = 0.1;   // ci, l/s per ha
    double additional = 0.25;    // ca
    double kminDaily = 0.7;      // Kmin,d
    double kmaxDaily = 1.3;      // Kmax,d
};

struct HourlyPeaks {
    double kmax = 0.0;
    double kmin = 0.0;
};

// The results of one section (flows in l/s unless said otherwise).
struct InfluenceSectionResult {
    double area = 0.0;          // SA, ha
    double population = 0.0;    // SP, inhabitants
    double ownFlow = 0.0;       // Qo
    double household = 0.0;     // Qh
    double infiltration = 0.0;  // Qinf
    double additional = 0.0;    // Qadd
    double pointFlow = 0.0;     // sum of FP, m3/s
    HourlyPeaks hourly;
    double summer = 0.0;
    double winter = 0.0;
    double total = 0.0;  // FLOW_TOTAL, m3/s
};

struct InfluenceSetResult {
    bool selection = false;   // a selection was given
    int sectionsWritten = 0;  // sections on which all five parameters were written
    bool logged = false;      // message 2050 went to the workspace log
};

struct InfluenceCalculationResult {
    // A section without one of the five parameters: nothing was changed.
    int sectionsMissingParameters = 0;
    std::string firstMissingSection;
    int sectionsWritten = 0;  // sections on which every result was written
    bool logged = false;      // message 2050 went to the workspace log
    CNonFiniteValues notFinite;
    // One per section of the list, in list order (empty when parameters were missing).
    std::vector<InfluenceSectionResult> results;

    bool MissingParameters() const { return sectionsMissingParameters > 0; }
};

class CInfluenceAreasTurkish {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    static constexpr double kSecondsPerDay = 86400.0;
    static constexpr double kLitresPerCubicMetre = 1000.0;
    static constexpr int kMsgWritten = 2050;
    static constexpr int kMsgParametersMissing = 2155;

    // The hourly peak coefficients for a mean household flow Qh (l/s): linear between the table's points,
    // the first point's values below it and the last point's above it.
    static HourlyPeaks HourlyPeak(double householdFlow);
    // Whole inhabitants of a density (inhabitants/ha) on an area (ha).
    static int Population(double density, double area);

    // Writes the five parameters on every section of the selection (TUR_INF_FLOW_PER_POP, TUR_COEFF_INF,
    // TUR_COEFF_ADD, TUR_KMAX_D, TUR_KMIN_D, in that order) inside the batch write frame and logs message
    // 2050 when something was written. Without a selection (null) nothing is written and nothing logged.
    static InfluenceSetResult SetParameters(const InfluenceParameters& parameters,
                                            const std::vector<CSectionPtr>* selection);

    // Calculates and writes every section of the list (the active system's sections, in their order; empty
    // handles skipped), adding the stored point flows when `pointFlow` is set; logs message 2050 when
    // something was written.
    static InfluenceCalculationResult Calculate(const std::vector<CSectionPtr>& sections, bool pointFlow);
};
