#pragma once
// CCatchmentAreaManager: the catchment areas draining into a section. Callers preset the out value to 0 and
// use it only when it is above 0.
//
// Decisions:
// - A section's catchment areas are those its topology links to it (CTopologyStorage::CatchmentAreasOf, of
//   the section's own topology), taken in creation order.
// - Kinds are matched exactly (1 total/rain, 2 household, 4 industrial; see CatchmentArea.h).
// - The area of a catchment area (ha) is its stated area when that is above 0, else the plane area of its
//   outline (the drawing's metres, m2 / 10,000; 0 without an outline of three points). An area drawn as an
//   outline alone and the same area imported (where the importer states the outline's area, or the area the
//   source file gives) answer the same, and so does a drawing reopened from its file.
// - The corrected area is the area times the runoff coefficient, summed over every catchment area of the
//   section whatever its kind: rain falls on household and industrial areas as much as on the areas drawn
//   for rain alone (the outlines of one section do not overlap).
// - The average inhabitant density is the area-weighted mean over the section's household areas (kind 2):
//   sum of density x area over sum of area. Its product with GetCATotalArea(kind 2) is therefore exactly
//   the number of inhabitants of those areas, which is how every flow method uses the pair. Densities
//   stated on rain or industrial areas do not dilute or inflate it.
// - Values that are not finite (area, density, runoff coefficient) are left out, so one broken area
//   cannot turn a sum or an average into NaN; other values are taken as stored.
// - Results: a null section gives 0 and leaves the out value as it was. The sums and the list of a known
//   section are always produced (a section without areas gives 0 and an empty list) and return 1. The
//   density weighs each household area by its area; areas of 0 ha or less have no weight. It exists only
//   when the section has a household area above 0 ha; otherwise the out value is left as it was (the
//   caller's preset: 0, or the missing-value sentinel) and 0 is returned.
#include <vector>

#include "platform/network/CatchmentArea.h"
#include "platform/network/Section.h"

namespace TAVGis::Sewage {

class CCatchmentAreaManager {
public:
    static constexpr double kSquareMetresPerHectare = 10000.0;
    // The area (ha) the manager counts for one catchment area: stated, else its outline's.
    static double AreaHa(const Topology::CCatchmentArea& area);

    static CCatchmentAreaManager* GetInstance();
    // Sum of the areas (ha) of the section's catchment areas of one kind (1, 2 or 4).
    int GetCATotalArea(const Topology::CSectionPtr& section, double& area, int kind) const;
    // Sum of the corrected areas (area x runoff coefficient, ha) of all the section's catchment areas.
    int GetCATotalCorectedArea(const Topology::CSectionPtr& section, double& area) const;
    // Area-weighted average inhabitant density (inhabitants/ha) of the section's household areas (kind 2).
    int GetCAAverageDensityInhab(const Topology::CSectionPtr& section, double& density) const;
    // The section's catchment areas of one kind, in creation order (the list is replaced).
    int GetCABySection(const Topology::CSectionPtr& section, std::vector<Topology::CCatchmentAreaPtr>& list,
                       int kind) const;
};

}  // namespace TAVGis::Sewage
