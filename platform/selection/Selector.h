#pragma once
// CSelector: selections made by the program: every element of the active system or of the drawing, and
// the direction a person picks at a division of the network.
#include "platform/selection/SelectionSet.h"

namespace TAVGis::Selection {

class CSelector {
public:
    static CSelector* LoopInstance();
    // Every section and node of the active system, in network order; false when there is no active system.
    bool selectActSysAllElements(CSelectionSet& set);
    // Every section and node of the drawing; the topology type is passed through.
    bool selectAllElements(CSelectionSet& set, int topologyType = 1);
    // Asks the person to pick one of the sections leaving the node; empty when nothing (or another entity)
    // was picked.
    Topology::CSectionPtr selectDirection(const Topology::CNodePtr& node);
};

}  // namespace TAVGis::Selection
