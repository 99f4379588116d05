#pragma once
// CUnevenWasteWater: the waste-water flow of a network with the Fedorov non-uniformity coefficient, carried
// downstream along flow paths.
//
// Each selected section's population produces a mean flow spread over the outflow duration; the mean
// flows are accumulated along the flow paths, and every section a path reaches receives its accumulated
// mean flow, its Fedorov coefficient and its peak flow:
//
//   own mean flow      Q    = pop x q / (t x 3600)             l/s   (q l per inhabitant and day, t in h)
//   accumulated        Qm   = own Q of the section and of every section upstream of it on the paths
//   Fedorov            K    = 2.69 / Qm^0.121  (0 when Qm = 0)
//   peak               Qmax = Qm x K                            l/s
//
// Written: FLOW_QSR_TOTAL = Qm (l/s) through the attribute writer; FLOW_FEDOROV = K and FLOW_WASTE_UNEVEN =
// Qmax / 1000 (m3/s, the unit in which the total flow reads it) through the topology editor. The whole run
// is one batch write frame (transaction and update sessions), closed on every way out.
//
// Population (mode 1): Nf = N x (1 + p/100)^T inhabitants spread over the selection by length weighted by
// the density coefficient c (FLOW_COEFDEN, 1 when missing): pop = length x c x Nf / Σ(length x c), written
// to FLOW_SECTION_POPULATION. Mode 0 reads FLOW_SECTION_POPULATION (0 when empty). Sections a path reaches
// outside the selection have no population of their own.
//
// Paths. A path follows each section to its successor: the one outgoing section, or at a division the
// main outgoing section of the node (the dialog's table, filled from MAIN_SECT_OUT; a node met outside the
// selection is looked up when first met). Where no main outlet is known the person picks one (the asker);
// the pick is kept in the table and written back to MAIN_SECT_OUT after the run. A division where the
// person picks nothing ends the path there and is not asked about again in the same run.
//
// Where a path starts, and what comes in from outside the calculation:
// - A path starts at every selected section none of whose incoming sections is selected, so a selection
//   fed from upstream sections outside it is calculated (its top sections start paths).
// - All flow at a division goes to its main outlet. A selected section that no path reaches (below a
//   division's other outlets, or below a division where nobody picked a direction) starts a path of its
//   own after those, in selection order, carrying only the flows that arise from it on.
// - An incoming section that no path reaches and that carries FLOW_QSR_TOTAL (calculated earlier) adds
//   that mean flow once: to its only outgoing section, or at a division to the node's main outlet (when
//   none is known, to the first outgoing section a path reaches).
// - Each section's own flow counts once, however many paths pass it.
// - A section met again on the path being traced (a closed loop) stops the run: alert 688, no results
//   written (the populations of mode 1 and the deleted FLOW_WASTE_UNEVEN stay).
// - An outflow duration t of 0 or less would make every mean flow infinite: the run is refused before
//   anything is written.
// - A result that is not finite (a population beyond the range of a double, a negative mean flow from
//   negative stored values, whose power is undefined) is not written; the section is named in alert 3455.
//
// How the accumulation is computed: the successor steps the paths take form a forest (a section points to
// its successor). A path is traced until it reaches a section an earlier path reached; from there on its
// continuation is that path's, already traced. Every section's Qm is then the sum of the own flows of the
// section and of all sections that drain into it in the forest, summed in one pass from the leaves down,
// O(N) instead of adding each own flow to every later section of its path.
#include <functional>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "module/flow/calc/TransitAccumulation.h"
#include "platform/network/Section.h"

struct UnevenWasteWaterInput {
    static constexpr int kModeFromAttribute = 0;  // population read from FLOW_SECTION_POPULATION
    static constexpr int kModeFromTotal = 1;      // population spread from N, p and T, and written

    double q = 250.0;     // specific water consumption, l per inhabitant and day
    double t = 24.0;      // outflow duration, h
    double n = 1000.0;    // present inhabitants (mode 1)
    double p = 3.0;       // annual growth, % (mode 1)
    double years = 30.0;  // design period T, years (mode 1)
    int mode = kModeFromTotal;
};

struct UnevenSectionResult {
    TAVGis::Topology::CSectionPtr section;
    double qm = 0.0;    // accumulated mean flow, l/s (FLOW_QSR_TOTAL)
    double k = 0.0;     // Fedorov coefficient (FLOW_FEDOROV)
    double qmax = 0.0;  // peak flow, l/s (FLOW_WASTE_UNEVEN holds qmax / 1000, m3/s)
};

struct UnevenWasteWaterResult {
    // 0: calculated; CUnevenWasteWater::kMsgClosedLoop: stopped at a closed loop, no results;
    // CUnevenWasteWater::kMsgNoDuration: refused, nothing written.
    int status = 0;
    double futurePopulation = 0.0;  // Nf (mode 1)
    double weightedLength = 0.0;    // Σ length x c over the selection, m (mode 1)
    // Every section a path reached, in the order the paths first reached them; empty after a loop.
    std::vector<UnevenSectionResult> sections;
    int starts = 0;        // paths started at a section no earlier path had reached
    int asked = 0;         // times the person was asked for a direction
    int unevenWrites = 0;  // successful FLOW_WASTE_UNEVEN writes
    CNonFiniteValues notFinite;
};

class CUnevenWasteWater {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    using CNodePtr = TAVGis::Topology::CNodePtr;
    // Asks the person for the main outlet at a node; an empty handle when nothing was picked.
    using DirectionAsker = CTransitAccumulation::DirectionAsker;

    static constexpr double kFedorovFactor = 2.69;
    static constexpr double kFedorovExponent = 0.121;
    static constexpr double kSecondsPerHour = 3600.0;
    static constexpr double kLitresPerCubicMetre = 1000.0;
    static constexpr int kHighlightColor = 2;
    static constexpr int kMsgClosedLoop = 688;
    static constexpr int kMsgResultsWritten = 9013;  // to the workspace log
    static constexpr int kMsgNoDuration = 9015;

    // Own mean flow of a population, l/s.
    static double MeanFlow(double population, double q, double t);
    // K for an accumulated mean flow Qm (l/s): 2.69 / Qm^0.121, 0 when Qm is 0 (not finite below 0).
    static double FedorovCoefficient(double qm);
    // Nf = N x (1 + p/100)^T.
    static double FuturePopulation(double n, double p, double years);

    // One calculation on the selected sections (in selection order) and the selection's nodes. The table
    // is the dialog's: it is filled from MAIN_SECT_OUT, grows with the person's picks and is written back
    // to MAIN_SECT_OUT after a completed run.
    static UnevenWasteWaterResult Run(const UnevenWasteWaterInput& in,
                                      const std::vector<CSectionPtr>& selected,
                                      const std::vector<CNodePtr>& nodes, MainDirectionMap& mainOutlets,
                                      const DirectionAsker& ask);

    // The pieces a run is made of, for a reference that traces the paths another way (the tests).
    // Step 1: the population of every section of the topology, by section index (0 outside the selection);
    // mode 1 writes FLOW_SECTION_POPULATION of the selected sections.
    static std::vector<double> Populations(const UnevenWasteWaterInput& in,
                                           const std::vector<CSectionPtr>& selected,
                                           UnevenWasteWaterResult& result);
    // Step 2: FLOW_WASTE_UNEVEN deleted on every selected section.
    static void DeleteResults(const std::vector<CSectionPtr>& selected);
    // The main outlet at a node: the table's entry, else the node's stored MAIN_SECT_OUT (taken into the
    // table); empty when neither names a section leaving the node.
    static CSectionPtr MainOutlet(const CNodePtr& node, MainDirectionMap& mainOutlets);
    // The last step: Qm of each reached section (in the given order) written with K and the peak flow,
    // message 9013 logged after at least one FLOW_WASTE_UNEVEN write, the table written to MAIN_SECT_OUT.
    static void WriteResults(const std::vector<std::pair<CSectionPtr, double>>& qm,
                             const MainDirectionMap& mainOutlets, UnevenWasteWaterResult& result);
};
