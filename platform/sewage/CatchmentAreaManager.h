#pragma once
// CCatchmentAreaManager: the catchment areas draining into a section. Callers preset the out value to 0 and
// use it only when it is above 0; each query returns non-zero when the section is known.
#include <vector>

#include "platform/network/CatchmentArea.h"
#include "platform/network/Section.h"

namespace TAVGis::Sewage {

class CCatchmentAreaManager {
public:
    static CCatchmentAreaManager* GetInstance();
    // Sum of the areas (ha) of the section's catchment areas of one kind (1, 2 or 4).
    int GetCATotalArea(const Topology::CSectionPtr& section, double& area, int kind) const;
    // Sum of the corrected areas (area x runoff coefficient, ha) of all the section's catchment areas.
    int GetCATotalCorectedArea(const Topology::CSectionPtr& section, double& area) const;
    // Area-weighted average inhabitant density (inhabitants/ha) of the section's catchment areas.
    int GetCAAverageDensityInhab(const Topology::CSectionPtr& section, double& density) const;
    // The section's catchment areas of one kind, in creation order.
    int GetCABySection(const Topology::CSectionPtr& section, std::vector<Topology::CCatchmentAreaPtr>& list,
                       int kind) const;
};

}  // namespace TAVGis::Sewage
