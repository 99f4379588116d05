#pragma once
// CCatchmentArea: a polygon draining into one section, with a kind (1 total/rain, 2 household,
// 4 industrial), an area (ha), an inhabitant density (inhabitants/ha) and a runoff coefficient; its
// corrected area is area x runoff coefficient.
#include <vector>

#include "platform/network/Entity.h"

namespace TAVGis::Topology {

constexpr int kCatchmentTotal = 1;
constexpr int kCatchmentHousehold = 2;
constexpr int kCatchmentIndustrial = 4;

class CCatchmentArea : public CEntity {
public:
    CCatchmentArea(Data::CAttributeStore* store, CTopologyStorage* owner, std::string guid, std::string name,
                   System::CGisSystemPtr system, TAVHost::ObjectId objectId, int index)
        : CEntity(Data::kEntityCatchment, store, owner, std::move(guid), std::move(name), std::move(system),
                  objectId, index) {}

    int kind = kCatchmentTotal;
    double areaHa = 0.0;
    double densityInhabPerHa = 0.0;
    double runoffCoefficient = 1.0;
    std::string sectionGuid;  // the section it drains into ("" when not linked)
    std::vector<TAVHost::Point2d> polygon;

    double CorrectedAreaHa() const { return areaHa * runoffCoefficient; }
};

using CCatchmentAreaPtr = boost::shared_ptr<CCatchmentArea>;

}  // namespace TAVGis::Topology
