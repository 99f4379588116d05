#include "module/flow/calc/AdditionalFlows.h"

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "platform/network/CatchmentArea.h"
#include "platform/sewage/CatchmentAreaManager.h"

AdditionalFlowsResult CAdditionalFlows::Run(const AdditionalFlowsInput& in,
                                            const std::vector<CSectionPtr>& sections,
                                            const SectionDone& tag) {
    AdditionalFlowsResult r;
    const CFlowAttribute home("FLOW_WASTE_HOME"), industrial("FLOW_WASTE_IND");
    const CFlowAttribute foreign("FLOW_FOREIGN"), point("FLOW_POINT"), additional("FLOW_ADDITIONAL");
    const CFlowAttribute user("FLOW_USER");
    auto* areas = TAVGis::Sewage::CCatchmentAreaManager::GetInstance();
    auto record = [&r](int ok) {
        r.written = ok != 0;
        ++r.writes;
    };
    for (const auto& s : sections) {
        if (!s) continue;
        double a = 0.0;  // ha
        double d = 1.0;  // inhabitants/ha
        auto areaAndDensity = [&] {
            areas->GetCATotalArea(s, a, TAVGis::Topology::kCatchmentHousehold);
            areas->GetCAAverageDensityInhab(s, d);
        };
        if (in.foreign) {
            switch (in.foreignMethod) {
                case ForeignWaterMethod::InfluenceAreas:
                    areaAndDensity();
                    if (a * d > 0.0) record(foreign.Set(*s, in.koefFlow * a * d / kPerThousand));
                    break;
                case ForeignWaterMethod::ShareOfWaste: {
                    const double h = home.Get(*s), p = industrial.Get(*s);
                    if (h != kMissingValue && p != kMissingValue)
                        record(foreign.Set(*s, (h + p) * in.faktorM));
                    break;
                }
                case ForeignWaterMethod::SpecificFlow:
                    record(foreign.Set(*s, in.specificFlow * s->GetLength2D() / kPerThousand));
                    break;
            }
        }
        if (in.point)
            record(point.Set(*s, in.pointKind == PointFlowKind::Inflow ? in.ulaz / kPerThousand
                                                                       : -(in.koefTockasti / kPerThousand)));
        if (in.additional) {
            areaAndDensity();
            record(additional.Set(*s, d * a / kPerThousand * in.koef2));
        }
        if (in.user) record(user.Set(*s, in.userFlow / kPerThousand));
        if (tag) tag(s);
        ++r.sectionsTagged;
    }
    return r;
}
