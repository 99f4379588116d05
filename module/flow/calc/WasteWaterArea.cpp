#include "module/flow/calc/WasteWaterArea.h"

#include <algorithm>
#include <cmath>

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "module/flow/calc/UpstreamSums.h"
#include "platform/network/CatchmentArea.h"
#include "platform/sewage/CatchmentAreaManager.h"

namespace {

using TAVGis::Sewage::CCatchmentAreaManager;
constexpr std::size_t kArea = 0;    // household area, ha
constexpr std::size_t kPeople = 1;  // density x household area, inhabitants

double HouseholdArea(const CWasteWaterArea::CSectionPtr& s) {
    double area = 0.0;
    CCatchmentAreaManager::GetInstance()->GetCATotalArea(s, area, TAVGis::Topology::kCatchmentHousehold);
    return area;
}

// The household area and its inhabitants of every section of the network, summed over each section and all
// sections upstream of it; indexed by section index.
std::vector<CUpstreamSums::Values> UpstreamHousehold(const TAVGis::Topology::CTopologyStorage& topology) {
    const auto& all = topology.Sections();
    std::vector<CUpstreamSums::Values> own(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const double a = HouseholdArea(all[i]);
        double d = 0.0;
        CCatchmentAreaManager::GetInstance()->GetCAAverageDensityInhab(all[i], d);
        own[i] = {a, d * a};
    }
    return CUpstreamSums::Compute(topology, own);
}

}  // namespace

double CWasteWaterArea::HouseholdPeak(double p) {
    if (!(p > 0.0)) return kHouseholdPeakCap;
    return std::min(1.0 + kPeakTerm / std::pow(p, kPeakExponent), kHouseholdPeakCap);
}

double CWasteWaterArea::BulgarianIndustrialFlow(double qi, double c) {
    if (!(qi > 0.0)) return 0.0;
    return (kPeakTerm / std::pow(qi, kPeakExponent) + 1.0) * qi * c;
}

WasteWaterAreaResult CWasteWaterArea::Run(const WasteWaterAreaInput& in,
                                          const std::vector<CSectionPtr>& sections, const SectionDone& tag) {
    WasteWaterAreaResult r;
    const bool bulgarian = in.standard == WasteStandard::Bulgarian;
    const CFlowAttribute blgWaste("FLOW_BLG_WASTE");
    const CFlowAttribute home("FLOW_WASTE_HOME");
    const CFlowAttribute homeBg("FLOW_WASTE_HOME_BG");
    const CFlowAttribute peak("FLOW_BLG_WASTE_HOME_KOMAX");
    const CFlowAttribute industrial("FLOW_WASTE_IND");
    auto* areas = CCatchmentAreaManager::GetInstance();

    // The upstream sums of each topology the sections belong to, computed once.
    const TAVGis::Topology::CTopologyStorage* summed = nullptr;
    std::vector<CUpstreamSums::Values> upstream;

    for (const auto& s : sections) {
        if (!s) continue;
        if (in.household && bulgarian) {
            const double c = blgWaste.Get(*s);
            if (s->Owner() != summed) {
                summed = s->Owner();
                upstream = summed ? UpstreamHousehold(*summed) : std::vector<CUpstreamSums::Values>();
            }
            const auto index = static_cast<std::size_t>(s->Index());
            const CUpstreamSums::Values sums =
                index < upstream.size() ? upstream[index] : CUpstreamSums::Values{};
            const double sumArea = sums[kArea];
            const double dm = sumArea == 0.0 ? 1.0 : sums[kPeople] / sumArea;
            if (c == kMissingValue) {
                r.factorMissing = true;
                continue;
            }
            const double p = std::max(dm * sumArea * in.kH / kPerThousand, 0.0);
            const double k = HouseholdPeak(p);
            peak.Set(*s, k);
            r.written = homeBg.Set(*s, k * p * c / kPerThousand) != 0;
            ++r.householdWrites;
        } else if (in.household) {
            const double a = HouseholdArea(s);
            double d = kMissingValue;
            areas->GetCAAverageDensityInhab(s, d);
            if (a > 0.0 && d != kMissingValue) {
                r.written = home.Set(*s, d * a * in.kH / kPerThousand / kPerThousand) != 0;
                ++r.householdWrites;
            }
        }
        if (in.industrial) {
            double ai = 0.0;
            areas->GetCATotalArea(s, ai, TAVGis::Topology::kCatchmentIndustrial);
            if (ai > 0.0) {
                double qi = in.kI * ai / kPerThousand;
                if (bulgarian) {
                    const double c = blgWaste.Get(*s);
                    if (c == kMissingValue) {
                        r.factorMissing = true;
                        continue;
                    }
                    qi = BulgarianIndustrialFlow(qi, c);
                }
                r.written = industrial.Set(*s, qi) != 0;
                ++r.industrialWrites;
            }
        }
        if (tag) tag(s);
        ++r.sectionsTagged;
    }
    return r;
}
