#include "platform/gis/SystemManager.h"

#include <algorithm>

#include "platform/gis/GisDrawingData.h"

namespace TAVGis::System {

CGisSystemPtr CSystemManager::GetActiveSystem() {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc) return {};
    return GisData(*doc).activeSystem;
}

bool CSystemManager::SetActiveSystem(const CGisSystemPtr& system) {
    auto& data = CurrentGisData();
    if (system && std::find(data.systems.begin(), data.systems.end(), system) == data.systems.end())
        return false;
    data.activeSystem = system;
    return true;
}

CGisSystemPtr CSystemManager::AddSystem(const std::string& name, int function) {
    auto& data = CurrentGisData();
    if (auto existing = FindSystem(name)) return existing;
    int id = 1;
    for (auto& s : data.systems) id = std::max(id, s->GetId() + 1);
    data.systems.push_back(CGisSystemPtr(new CGisSystem(id, name, function)));
    return data.systems.back();
}

CGisSystemPtr CSystemManager::FindSystem(const std::string& name) {
    for (auto& s : CurrentGisData().systems)
        if (s->GetName() == name) return s;
    return {};
}

const std::vector<CGisSystemPtr>& CSystemManager::GetSystems() {
    return CurrentGisData().systems;
}

}  // namespace TAVGis::System
