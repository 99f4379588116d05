#pragma once
// CTurkishHousehold: the household waste water of the Turkish method for every section of a network, from
// the population served by the section's household catchment and by those of all sections upstream of it
// (CSection::GetPreviousSections: each upstream section once), peaked by the Babbitt coefficient.
//
//   P = A2 x D of the section + the same over every upstream section   (A2 household area in ha, D average
//                                                                        density in inhabitants/ha)
//   M = 5 / (P / 1000)^0.2, kept within 1.72 .. 5                       (FLOW_BABBIT)
//   Q = P x q / 86400 x M / 1000                                        (FLOW_TUR_WASTE_HOME)
//
// Units: q in l per inhabitant and day, so P x q / 86400 is in l/s; the division by 1000 gives m3/s, the
// unit in which the transit and total flows read FLOW_TUR_WASTE_HOME.
//
// Decisions:
// - P = 0 (no household area or no density upstream): M is 5, the cap the coefficient reaches as P falls
//   towards 0, taken explicitly rather than through 5 / 0; Q is 0. A P below 0 (only from negative densities
//   stored in the drawing) counts as 0.
// - The populations are summed for the whole network in one pass (CUpstreamSums), not by one upstream walk
//   per section, so the cost stays linear on large networks.
//
// Nothing is written here: the results are typed values for the caller (the dialog) to write.
#include <vector>

#include "platform/network/Section.h"
#include "platform/network/TopologyStorage.h"

struct TurkishHouseholdFlow {
    double population = 0.0;  // P, inhabitants served (the section and everything upstream)
    double peak = 5.0;        // M, Babbitt coefficient
    double flow = 0.0;        // Q, m3/s
};

class CTurkishHousehold {
public:
    static constexpr double kPeakNumerator = 5.0;
    static constexpr double kPeakExponent = 0.2;
    static constexpr double kPeakMin = 1.72;
    static constexpr double kPeakMax = 5.0;
    static constexpr double kPopulationUnit = 1000.0;  // P is taken in thousands of inhabitants
    static constexpr double kSecondsPerDay = 86400.0;
    static constexpr double kLitresPerCubicMetre = 1000.0;

    // The Babbitt coefficient for P inhabitants (5 at P <= 0).
    static double BabbittPeak(double population);
    // P, M and Q for P inhabitants and a consumption of q l per inhabitant and day.
    static TurkishHouseholdFlow ForPopulation(double population, double consumption);

    // The population of each section's own household catchments (A2 x D), indexed by section index.
    static std::vector<double> OwnPopulations(const TAVGis::Topology::CTopologyStorage& topology);
    // P, M and Q of every section of the network, indexed by section index; `own` as OwnPopulations gives
    // (a shorter vector counts as zeros for the missing sections).
    static std::vector<TurkishHouseholdFlow> ForNetwork(const TAVGis::Topology::CTopologyStorage& topology,
                                                        const std::vector<double>& own, double consumption);
    // The same from the catchment areas of the network.
    static std::vector<TurkishHouseholdFlow> ForNetwork(const TAVGis::Topology::CTopologyStorage& topology,
                                                        double consumption);
};
