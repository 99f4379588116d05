#pragma once
// CPipeManager: the pipe catalogue "PIPE" of the current drawing seen as pipe groups and pipes.
// Diameters and roughness are in mm, as the catalogue holds them.
#include <string>
#include <vector>

#include "platform/network/CatalogItem.h"

namespace TAVGis::Data {

class CPipeManager {
public:
    static CPipeManager* GetInstance();

    // The pipe (a sub-item of a group) with that GUID, or null.
    CCatalogItemPtr GetPipe(const std::string& guid) const;
    // flag 1: the smallest pipe of the group (by name) whose inner diameter is at least diameterMm; null
    // when none. Other flags: the pipe whose inner diameter equals diameterMm.
    CCatalogItemPtr GetPipeByInnerDiameter(const std::string& groupName, double diameterMm, int flag) const;
    double GetInnerDiameter(const CCatalogItemPtr& pipe) const;  // mm; 0 when unknown
    double GetPipeRoughness(const CCatalogItemPtr& pipe) const;  // kb in mm; 0 when unknown
    std::string GetPipeTypeID(const CCatalogItemPtr& pipe) const;
    // The pipe groups in catalogue order; returns their number.
    int GetPipeGroups(std::vector<CCatalogItemPtr>& groups, int flag) const;
    // The pipes of a group sorted by inner diameter (ascending, stable); returns their number.
    int GetSortedPipesForGroupGUID(const std::string& groupGuid, std::vector<CCatalogItemPtr>& pipes, int flag) const;
    // "NAME DN" for display, e.g. "PVC-U SN8 DN 200".
    std::string GetPipeNameWithNominalDiameter(const CCatalogItemPtr& pipe) const;
    // The smallest standard inner diameter (mm) of the pipes of that pipe type that is at least diameterMm;
    // diameterMm itself when no pipe of the type is large enough.
    double CalculateMinDiameter(const std::string& pipeTypeId, double diameterMm) const;
};

}  // namespace TAVGis::Data
