#pragma once
// CPipeManager: the pipe catalogue "PIPE" of the current drawing seen as pipe groups and pipes.
// Diameters and roughness are in mm, as the catalogue holds them.
//
// Decisions:
// - Groups are the root items of the catalogue, pipes their sub-items. A pipe's properties are "DN"
//   (nominal diameter), "DI" (inner diameter), "KB" (roughness kb) and "TYPE_ID" (see CatalogItem.h).
// - A pipe is usable for sizing when its inner diameter is above 0 (a missing, non-numeric, zero, negative
//   or non-finite "DI" reads as 0). The diameter queries (GetPipeByInnerDiameter, CalculateMinDiameter)
//   consider usable pipes only.
// - Diameters are compared exactly: what is passed is a catalogue value or a computed requirement, and a
//   tolerance would let a pipe slightly smaller than a requirement count as large enough.
// - Sorting by inner diameter is stable, so pipes of equal inner diameter keep their catalogue order, and
//   every query that picks "the smallest" picks the first of equals in that order.
// - Group names are matched exactly (case-sensitive); of two groups with the same name the first in
//   catalogue order is used.
// - A pipe without "TYPE_ID" has the pipe type ID of its group.
// - Flags: flag 1 of GetPipeGroups gives only groups with at least one usable pipe, and flag 1 of
//   GetSortedPipesForGroupGUID only the usable pipes; any other flag gives every group or every pipe (pipes
//   without an inner diameter sort first, as 0).
// - Every query answers "none" (null, 0, empty text, empty list) when the drawing has no "PIPE" catalogue.
#include <string>
#include <vector>

#include "platform/network/CatalogItem.h"

namespace TAVGis::Data {

class CPipeManager {
public:
    static CPipeManager* GetInstance();

    static constexpr int kUsableOnly = 1;  // flag of GetPipeGroups and GetSortedPipesForGroupGUID
    static constexpr int kAtLeast = 1;     // flag of GetPipeByInnerDiameter

    // The pipe (a sub-item of a group) with that GUID, or null (also for a group's GUID).
    CCatalogItemPtr GetPipe(const std::string& guid) const;
    // flag 1: the smallest pipe of the group (by name) whose inner diameter is at least diameterMm; null
    // when none. Other flags: the pipe whose inner diameter equals diameterMm.
    CCatalogItemPtr GetPipeByInnerDiameter(const std::string& groupName, double diameterMm, int flag) const;
    double GetInnerDiameter(const CCatalogItemPtr& pipe) const;  // mm; 0 when unknown
    double GetPipeRoughness(const CCatalogItemPtr& pipe) const;  // kb in mm; 0 when unknown
    // The pipe's "TYPE_ID", else its group's; empty when neither has one or the pipe is null.
    std::string GetPipeTypeID(const CCatalogItemPtr& pipe) const;
    // The pipe groups in catalogue order (the list is replaced); returns their number.
    int GetPipeGroups(std::vector<CCatalogItemPtr>& groups, int flag) const;
    // The pipes of a group sorted by inner diameter (ascending, stable; the list is replaced); returns their
    // number (0 for an unknown group).
    int GetSortedPipesForGroupGUID(const std::string& groupGuid, std::vector<CCatalogItemPtr>& pipes,
                                   int flag) const;
    // "NAME DN n" for display, e.g. "PVC-U SN8 DN 200" for a pipe named "PVC-U SN8" with nominal diameter
    // 200 (n in its shortest decimal form: 200, 103.6); the name alone when the pipe has no nominal diameter
    // above 0; empty for a null pipe.
    std::string GetPipeNameWithNominalDiameter(const CCatalogItemPtr& pipe) const;
    // The smallest standard inner diameter (mm) of the catalogue's usable pipes of that pipe type (by
    // GetPipeTypeID, over every group) that is at least diameterMm; diameterMm itself when no pipe of the
    // type is large enough.
    double CalculateMinDiameter(const std::string& pipeTypeId, double diameterMm) const;
};

}  // namespace TAVGis::Data
