#pragma once
// CSystemManager: the systems of the current drawing and the active one.
#include <string>
#include <vector>

#include "platform/gis/GisSystem.h"

namespace TAVGis::System {

class CSystemManager {
public:
    // The active system of the current drawing, or null (also when no drawing is open).
    static CGisSystemPtr GetActiveSystem();
    static bool SetActiveSystem(const CGisSystemPtr& system);
    static CGisSystemPtr AddSystem(const std::string& name, int function);
    static CGisSystemPtr FindSystem(const std::string& name);
    static const std::vector<CGisSystemPtr>& GetSystems();
};

}  // namespace TAVGis::System
