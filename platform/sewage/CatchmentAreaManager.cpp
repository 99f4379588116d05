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

// Plane area (m2) of a closed outline, by the shoelace formula.
double OutlineArea(const std::vector<TAVHost::Point2d>& outline) {
    if (outline.size() < 3) return 0.0;
    double twice = 0.0;
    for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++)
        twice += outline[j].x * outline[i].y - outline[i].x * outline[j].y;
    return std::fabs(twice) / 2.0;
}

}  // namespace

double CCatchmentAreaManager::AreaHa(const Topology::CCatchmentArea& area) {
    if (area.areaHa > 0.0) return area.areaHa;  // false for NaN too
    if (std::isnan(area.areaHa)) return area.areaHa;
    return OutlineArea(area.polygon) / kSquareMetresPerHectare;
}

CCatchmentAreaManager* CCatchmentAreaManager::GetInstance() {
    static CCatchmentAreaManager instance;
    return &instance;
}

int CCatchmentAreaManager::GetCATotalArea(const Topology::CSectionPtr& section, double& area,
                                          int kind) const {
    if (!section) return 0;
    double dSum = 0.0;  // ha
    for (const auto& a : AreasOf(*section)) {
        const double dArea = AreaHa(*a);
        if (a->kind == kind && std::isfinite(dArea)) dSum += dArea;
    }
    area = dSum;
    return 1;
}

int CCatchmentAreaManager::GetCATotalCorectedArea(const Topology::CSectionPtr& section, double& area) const {
    if (!section) return 0;
    double dSum = 0.0;  // ha
    for (const auto& a : AreasOf(*section)) {
        const double dCorrected = AreaHa(*a) * a->runoffCoefficient;
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
        if (a->kind != Topology::kCatchmentHousehold) continue;
        const double dAreaHa = AreaHa(*a);
        if (!std::isfinite(dAreaHa) || dAreaHa <= 0.0 || !std::isfinite(a->densityInhabPerHa)) continue;
        dWeighted += a->densityInhabPerHa * dAreaHa;
        dArea += dAreaHa;
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
