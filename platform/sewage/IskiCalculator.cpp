#include "platform/sewage/IskiCalculator.h"

#include <algorithm>
#include <cmath>

#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/HostUi.h"
#include "platform/sewage/CatchmentAreaManager.h"

namespace TAVGis::Sewage {

namespace {
constexpr int kMsgBadParameters = 14001;
constexpr int kMsgInLoop = 14002;
constexpr int kHouseholdKind = 2;
}  // namespace

void CIskiCalculator::GetDisplayName(std::string& text) const {
    text = CModuleConfiguration::GetMsg(kDisplayNameMsg);
}

void CIskiCalculator::GetGroupName(std::string& text) const {
    text = CModuleConfiguration::GetMsg(14008);
}

void CIskiCalculator::FillDefaults(Data::CPropertiesEx& p) const {
    const IskiInput d;
    p.Add("WATER_CONSUMPTION", "Water consumption [l/inhabitant/day]", d.consumption);
    p.Add("RETURN_FACTOR", "Share reaching the sewer [-]", d.returnFactor);
    p.Add("PEAK_FACTOR_MAX", "Largest peak factor [-]", d.peakFactorMax);
}

double CIskiCalculator::PeakFactor(double mean, double peakFactorMax) {
    return std::min(peakFactorMax, kBase + kCoefficient / std::sqrt(mean));
}

IskiResult CIskiCalculator::Run(const IskiInput& in, const SectionList& sections) {
    IskiResult r;
    const FlowOrder order = MakeFlowOrder(sections);
    auto* areas = CCatchmentAreaManager::GetInstance();
    std::vector<double> people(sections.size(), 0.0);
    for (std::size_t i : order.order) {
        const auto& s = sections[i];
        double area = 0.0, density = 0.0;
        areas->GetCATotalArea(s, area, kHouseholdKind);
        double own = 0.0;
        if (area > 0.0 && areas->GetCAAverageDensityInhab(s, density) && density > 0.0) own = area * density;
        double total = own;
        for (std::size_t up : order.incoming[i]) total += people[up];
        people[i] = total;
        const double mean = total * in.consumption * in.returnFactor / kSecondsPerDay;  // l/s
        const double peak =
            mean > 0.0 ? PeakFactor(mean, in.peakFactorMax) * mean / kLitresPerCubicMetre : 0.0;
        if (std::isfinite(peak) && Data::CDataRW::Write("FLOW_ISKI_PEAK", *s, Data::CDataBox(peak))) {
            ++r.written;
            r.calculated.push_back(i);
        }
    }
    r.inLoop = static_cast<int>(order.inCycle.size());
    return r;
}

int CIskiCalculator::RunCalculation(const SectionList& sections, const CFlowCalculatorParametersPtr& params,
                                    bool tag, bool silent, IDialogToHide*) {
    if (!params || sections.empty()) return 0;
    const auto& p = params->GetProperties();
    IskiInput in;
    in.consumption = p.GetDouble("WATER_CONSUMPTION", -1.0);
    in.returnFactor = p.GetDouble("RETURN_FACTOR", -1.0);
    in.peakFactorMax = p.GetDouble("PEAK_FACTOR_MAX", -1.0);
    if (!(in.consumption > 0.0) || !(in.returnFactor > 0.0) || !(in.peakFactorMax >= 1.0)) {
        if (!silent) TAVHost::GetHostUi().Alert(CModuleConfiguration::GetMsg(kMsgBadParameters));
        return 0;
    }
    const IskiResult r = Run(in, sections);
    if (tag) TagSections(sections, r.calculated, *params);
    if (r.inLoop > 0 && !silent)
        TAVHost::GetHostUi().Alert(CModuleConfiguration::GetMsg(kMsgInLoop) + " " + std::to_string(r.inLoop));
    return 1;
}

}  // namespace TAVGis::Sewage
