#include "platform/sewage/CatchmentAreaManager.h"

#include <algorithm>
#include <cmath>

#include "platform/network/TopologyMultiStorage.h"

namespace TAVGis::Sewage {

namespace {

using Topology::CCatchmentAreaPtr;

// The section's catchment areas in creation order, without empty entries.
std::vector<CCatchmentAreaPtr> AreasOf(const Topology::CSection& section) {
    const Topology::CTopologyStorage* topology = section.Owner();
    if (!topology) topology = Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    if (!topology) return {};
    std::vector<CCatchmentAreaPtr> areas = topology->CatchmentAreasOf(section.GetGuid());
    std::erase_if(areas, [](const CCatchmentAreaPtr& area) { return !area; });
    std::stable_sort(areas.begin(), areas.end(), [](const CCatchmentAreaPtr& a, const CCatchmentAreaPtr& b) {
        return a->Index() < b->Index();
    });
    return areas;
}

}  // namespace

CCatchmentAreaManager* CCatchmentAreaManager::GetInstance() {
    static CCatchmentAreaManager instance;
    return &instance;
}

int CCatchmentAreaManager::GetCATotalArea(const Topology::CSectionPtr& section, double& area,
                                          int kind) const {
    if (!section) return 0;
    double dSum = 0.0;  // ha
    for (const auto& a : AreasOf(*section))
        if (a->kind == kind && std::isfinite(a->areaHa)) dSum += a->areaHa;
    area = dSum;
    return 1;
}

int CCatchmentAreaManager::GetCATotalCorectedArea(const Topology::CSectionPtr& section, double& area) const {
    if (!section) return 0;
    double dSum = 0.0;  // ha
    for (const auto& a : AreasOf(*section)) {
        const double dCorrected = a->CorrectedAreaHa();
        if (std::isfinite(dCorrected)) dSum += dCorrected;
    }
    area = dSum;
    return 1;
}

int CCatchmentAreaManager::GetCAAverageDensityInhab(const Topology::CSectionPtr& section,
                                                    double& density) const {
    if (!section) return 0;
    double dWeighted = 0.0;  // inhabitants
    double dArea = 0.0;      // ha
    for (const auto& a : AreasOf(*section)) {
        if (!std::isfinite(a->areaHa) || a->areaHa <= 0.0 || !std::isfinite(a->densityInhabPerHa)) continue;
        dWeighted += a->densityInhabPerHa * a->areaHa;
        dArea += a->areaHa;
    }
    if (!(dArea > 0.0)) return 0;
    const double dDensity = dWeighted / dArea;
    if (!std::isfinite(dDensity)) return 0;
    density = dDensity;
    return 1;
}

int CCatchmentAreaManager::GetCABySection(const Topology::CSectionPtr& section,
                                          std::vector<Topology::CCatchmentAreaPtr>& list, int kind) const {
    if (!section) return 0;
    list.clear();
    for (auto& a : AreasOf(*section))
        if (a->kind == kind) list.push_back(std::move(a));
    return 1;
}

}  // namespace TAVGis::Sewage
