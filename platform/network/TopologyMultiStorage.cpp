#include "platform/network/TopologyMultiStorage.h"

namespace TAVGis::Topology {

CTopologyMultiStorage* CTopologyMultiStorage::GetInstance() {
    static CTopologyMultiStorage instance;
    return &instance;
}

CTopologyStorage* CTopologyMultiStorage::GetTopology() const {
    auto* doc = acDocManagerPtr()->curDocument();
    return doc ? &TopologyOf(*doc) : nullptr;
}

}  // namespace TAVGis::Topology
