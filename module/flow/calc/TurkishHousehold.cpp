#include "module/flow/calc/TurkishHousehold.h"

#include <algorithm>
#include <cmath>

#include "module/flow/calc/UpstreamSums.h"
#include "platform/network/CatchmentArea.h"
#include "platform/sewage/CatchmentAreaManager.h"

double CTurkishHousehold::BabbittPeak(double population) {
    if (!(population > 0.0)) return kPeakMax;  // no inhabitants: the limit as P falls, not 5 / 0
    const double m = kPeakNumerator / std::pow(population / kPopulationUnit, kPeakExponent);
    return std::clamp(m, kPeakMin, kPeakMax);
}

TurkishHouseholdFlow CTurkishHousehold::ForPopulation(double population, double consumption) {
    TurkishHouseholdFlow r;
    r.population = std::max(population, 0.0);
    r.peak = BabbittPeak(r.population);
    r.flow = r.population * consumption / kSecondsPerDay * r.peak / kLitresPerCubicMetre;
    return r;
}

std::vector<double> CTurkishHousehold::OwnPopulations(const TAVGis::Topology::CTopologyStorage& topology) {
    auto* areas = TAVGis::Sewage::CCatchmentAreaManager::GetInstance();
    const auto& all = topology.Sections();
    std::vector<double> own(all.size(), 0.0);
    for (std::size_t i = 0; i < all.size(); ++i) {
        double area = 0.0, density = 0.0;
        areas->GetCATotalArea(all[i], area, TAVGis::Topology::kCatchmentHousehold);
        areas->GetCAAverageDensityInhab(all[i], density);
        own[i] = area * density;
    }
    return own;
}

std::vector<TurkishHouseholdFlow> CTurkishHousehold::ForNetwork(
    const TAVGis::Topology::CTopologyStorage& topology, const std::vector<double>& own, double consumption) {
    std::vector<CUpstreamSums::Values> values(std::min(own.size(), topology.Sections().size()));
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = {own[i], 0.0};
    const auto sums = CUpstreamSums::Compute(topology, values);
    std::vector<TurkishHouseholdFlow> out;
    out.reserve(sums.size());
    for (const auto& s : sums) out.push_back(ForPopulation(s[0], consumption));
    return out;
}

std::vector<TurkishHouseholdFlow> CTurkishHousehold::ForNetwork(
    const TAVGis::Topology::CTopologyStorage& topology, double consumption) {
    return ForNetwork(topology, OwnPopulations(topology), consumption);
}
