#pragma once
// CTopologyMultiStorage: the storage of topologies; its single instance gives the current drawing's.
#include "platform/network/TopologyStorage.h"

namespace TAVGis::Topology {

class CTopologyMultiStorage {
public:
    static CTopologyMultiStorage* GetInstance();
    // The current drawing's topology, or null when no drawing is open.
    CTopologyStorage* GetTopology() const;
};

}  // namespace TAVGis::Topology
