#include "platform/selection/Selector.h"

#include "platform/gis/SystemManager.h"
#include "platform/host/HostUi.h"
#include "platform/network/TopologyMultiStorage.h"

namespace TAVGis::Selection {

CSelector* CSelector::LoopInstance() {
    static CSelector instance;
    return &instance;
}

bool CSelector::selectActSysAllElements(CSelectionSet& set) {
    auto system = System::CSystemManager::GetActiveSystem();
    auto* topo = Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    if (!system || !topo) return false;
    for (const auto& s : topo->Sections())
        if (s->GetSystem() == system) set.AddSection(s);
    for (const auto& n : topo->Nodes())
        if (n->GetSystem() == system) set.AddNode(n);
    return true;
}

bool CSelector::selectAllElements(CSelectionSet& set, int) {
    auto* topo = Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    if (!topo) return false;
    for (const auto& s : topo->Sections()) set.AddSection(s);
    for (const auto& n : topo->Nodes()) set.AddNode(n);
    return true;
}

Topology::CSectionPtr CSelector::selectDirection(const Topology::CNodePtr& node) {
    if (!node) return {};
    auto* topo = node->Owner();
    auto out = topo->SectionsStartingAt(*node);
    TAVHost::PickRequest req;
    req.kind = TAVHost::PickRequest::Kind::Direction;
    req.prompt = "Pick the main direction at node " + node->GetName();
    for (const auto& s : out) req.candidates.push_back(s->GetName());
    auto picked = TAVHost::GetHostUi().Pick(req);
    if (picked.empty()) return {};
    auto section = topo->FindSectionByName(picked.front());
    for (const auto& s : out)
        if (s == section) return s;
    return {};
}

}  // namespace TAVGis::Selection
