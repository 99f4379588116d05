#pragma once
// CWasteWaterArea: household and industrial waste water of each section from the catchment areas draining
// into it (CCatchmentAreaManager), by the general standard or the Bulgarian one.
//
// Units: kH and kI as typed (the household coefficient in l per inhabitant and second per 1000, the
// industrial one in l/s per ha, both divided by 1000 here); areas in ha; densities in inhabitants/ha; the
// flows written in m3/s.
//   general household     FLOW_WASTE_HOME = D x A x kH / 1000 / 1000            (A household area, D density)
//   Bulgarian household   P = Dm x SA x kH / 1000; K = 1 + 2.5 / P^0.22, at most 3.5;
//                         FLOW_BLG_WASTE_HOME_KOMAX = K; FLOW_WASTE_HOME_BG = K x P x c / 1000
//                         (SA: household area of the section and of every section upstream of it, Dm their
//                         area-weighted density, c the section's FLOW_BLG_WASTE)
//   industrial            QI = kI x AI / 1000 (AI industrial area); Bulgarian: QI = (2.5 / QI^0.22 + 1) x QI
//   x c
//                         with no upper limit; FLOW_WASTE_IND = QI
//
// Decisions where the formulas divide by zero:
// - Bulgarian household flow at P = 0 (no inhabitants upstream, or kH = 0): K is the limit 3.5 (the cap the
//   coefficient reaches as P falls) and the flow K x P x c is 0; nothing divides by zero. A P below 0 (only
//   from negative densities stored in the drawing) counts as 0.
// - Bulgarian industrial flow at QI = 0 (kI = 0): (2.5 / QI^0.22 + 1) x QI = QI + 2.5 x QI^0.78 tends to 0,
//   so FLOW_WASTE_IND = 0 is written instead of the NaN the literal formula gives.
// The upstream sums of the Bulgarian household flow are computed for the whole network in one pass
// (CUpstreamSums) before the sections are visited.
#include <functional>
#include <vector>

#include "platform/network/Section.h"

enum class WasteStandard { General = 0, Bulgarian = 1 };

struct WasteWaterAreaInput {
    double kH = 4.0;  // household waste-flow coefficient
    double kI = 1.0;  // industrial waste-flow coefficient
    bool household = false;
    bool industrial = false;
    WasteStandard standard = WasteStandard::General;
};

struct WasteWaterAreaResult {
    bool written = false;        // the last household or industrial flow write succeeded
    bool factorMissing = false;  // Bulgarian: a section without FLOW_BLG_WASTE was left unchanged
    int sectionsTagged = 0;
    int householdWrites = 0;
    int industrialWrites = 0;
};

class CWasteWaterArea {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    static constexpr double kPeakTerm = 2.5;
    static constexpr double kPeakExponent = 0.22;
    static constexpr double kHouseholdPeakCap = 3.5;
    static constexpr double kPerThousand = 1000.0;

    // The Bulgarian household peak coefficient K for P inhabitant-units (capped; 3.5 at P <= 0).
    static double HouseholdPeak(double p);
    // The Bulgarian industrial flow for QI (no cap; 0 at QI <= 0).
    static double BulgarianIndustrialFlow(double qi, double c);

    // Called for each section to tag (the dialog tags it with the parameter set's name).
    using SectionDone = std::function<void(const CSectionPtr&)>;
    // Computes and writes every section of the list, in list order (empty handles skipped).
    static WasteWaterAreaResult Run(const WasteWaterAreaInput& in, const std::vector<CSectionPtr>& sections,
                                    const SectionDone& tag = {});
};
