#include "module/flow/calc/TurkishWasteWater.h"

#include <map>

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "module/flow/calc/TurkishHousehold.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/host/Progress.h"
#include "platform/network/CatchmentArea.h"
#include "platform/network/TopoEditor.h"
#include "platform/sewage/CatchmentAreaManager.h"

namespace {

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataDefinition;

// One flow written through the topology editor: not finite values are recorded and never written; a
// successful write counts in W and in the flow's own count.
void WriteFlow(const CTurkishWasteWater::CSectionPtr& s, const CDataDefinition* def, double value,
               TurkishWasteWaterResult& r, int& count) {
    if (!r.notFinite.Check(s->GetName(), def->GetID(), value)) return;
    if (TAVGis::Topology::CTopoEditor::WriteData(TAVGis::Data::kEntitySection, def, s, CDataBox(value),
                                                 s->GetSystem()) != 0) {
        ++r.written;
        ++count;
    }
}

}  // namespace

TurkishWasteDefinitions TurkishWasteDefinitions::LookUp() {
    const auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
    return {config.GetDataDefinitionByID("FLOW_TUR_WASTE_HOME"),
            config.GetDataDefinitionByID("FLOW_TUR_WASTE_IND"),
            config.GetDataDefinitionByID("FLOW_TUR_WASTE_INF")};
}

double CTurkishWasteWater::ConsumptionCoefficient(std::optional<int> itemData) {
    return itemData ? *itemData / kCoefficientScale : 1.0;
}

double CTurkishWasteWater::IndustrialFlow(double industrialArea, double coefficient, double peakFactor) {
    return industrialArea * coefficient * peakFactor / kLitresPerCubicMetre;
}

double CTurkishWasteWater::InfiltrationFlow(double householdArea) {
    return householdArea * kInfiltrationPerHectare / kLitresPerCubicMetre;
}

TurkishWasteWaterResult CTurkishWasteWater::Run(const TurkishWasteWaterInput& in,
                                                const std::vector<CSectionPtr>& sections,
                                                const TurkishWasteDefinitions& definitions) {
    TurkishWasteWaterResult r;
    const bool household = in.household && definitions.home;
    const bool industrial = in.industrial && definitions.industrial;
    const bool infiltration = in.infiltration && definitions.infiltration;
    const CFlowAttribute babbitt("FLOW_BABBIT");
    auto* areas = TAVGis::Sewage::CCatchmentAreaManager::GetInstance();

    // The household flows of each network the sections belong to, computed once for the whole network.
    std::map<const TAVGis::Topology::CTopologyStorage*, std::vector<TurkishHouseholdFlow>> flowsOf;

    CBatchWriteFrame frame;
    TAVHost::CProgress progress("Turkish waste water", sections.size());
    for (const auto& s : sections) {
        progress.Advance();
        if (!s) continue;
        if (household) {
            auto it = flowsOf.find(s->Owner());
            if (it == flowsOf.end())
                it = flowsOf
                         .emplace(s->Owner(), s->Owner()
                                                  ? CTurkishHousehold::ForNetwork(*s->Owner(), in.consumption)
                                                  : std::vector<TurkishHouseholdFlow>())
                         .first;
            const auto& flows = it->second;
            const auto index = static_cast<std::size_t>(s->Index());
            const TurkishHouseholdFlow f = index < flows.size() ? flows[index] : TurkishHouseholdFlow{};
            if (r.notFinite.Check(s->GetName(), definitions.home->GetID(), f.flow)) {
                babbitt.Set(*s, f.peak);
                WriteFlow(s, definitions.home, f.flow, r, r.householdWrites);
            }
        }
        if (industrial) {
            double a4 = 0.0;
            areas->GetCATotalArea(s, a4, TAVGis::Topology::kCatchmentIndustrial);
            WriteFlow(s, definitions.industrial, IndustrialFlow(a4, in.consumptionCoefficient, in.peakFactor),
                      r, r.industrialWrites);
        }
        if (infiltration) {
            double a2 = 0.0;
            areas->GetCATotalArea(s, a2, TAVGis::Topology::kCatchmentHousehold);
            WriteFlow(s, definitions.infiltration, InfiltrationFlow(a2), r, r.infiltrationWrites);
        }
    }
    return r;
}
