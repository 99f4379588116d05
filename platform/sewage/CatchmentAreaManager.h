#pragma once
// CCatchmentAreaManager: the catchment areas draining into a section. Callers preset the out value to 0 and
// use it only when it is above 0.
//
// Decisions:
// - A section's catchment areas are those its topology links to it (CTopologyStorage::CatchmentAreasOf, of
//   the section's own topology), taken in creation order.
// - Kinds are matched exactly (1 total/rain, 2 household, 4 industrial; see CatchmentArea.h).
// - Values that are not finite (area, density, runoff coefficient) are left out, so one broken area
//   cannot turn a sum or an average into NaN; other values are taken as stored.
// - Results: a null section gives 0 and leaves the out value as it was. The sums and the list of a known
//   section are always produced (a section without areas gives 0 and an empty list) and return 1. The
//   density weighs each area by its area; areas of 0 ha or less have no weight. It exists only when the
//   section has an area above 0 ha; otherwise the out value is left as it was (the caller's preset: 0, or
//   the missing-value sentinel) and 0 is returned.
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
    // Area-weighted average inhabitant density (inhabitants/ha) of the section's catchment areas (all kinds):
    // sum of density x area over sum of area.
    int GetCAAverageDensityInhab(const Topology::CSectionPtr& section, double& density) const;
    // The section's catchment areas of one kind, in creation order (the list is replaced).
    int GetCABySection(const Topology::CSectionPtr& section, std::vector<Topology::CCatchmentAreaPtr>& list,
                       int kind) const;
};

}  // namespace TAVGis::Sewage
