#pragma once
// Synthetic sewer networks for benchmarks and tests: chains, trees whose branches join towards one outlet,
// and trees with divisions (a node with two outgoing sections). Generation is deterministic for a seed.
//
// Shapes:
// - Chain: N1 -> N2 -> ... one section after another.
// - Tree: sections are added so that each new section ends at the start node of a random earlier section
//   (branches join downstream); one outlet.
// - Divisions: like Tree, and every `divisionEvery`-th section gets a sibling leaving the same node, with a
//   smaller PIPE_DIA_IN than the main one, so the main direction can be decided by diameter.
#include <cstdint>
#include <string>

#include "platform/gis/GisSystem.h"
#include "platform/network/TopologyStorage.h"

namespace TAVGis::Bench {

enum class NetworkShape { Chain, Tree, Divisions };

struct NetworkOptions {
    int sections = 1000;
    NetworkShape shape = NetworkShape::Tree;
    int divisionEvery = 50;  // Divisions: one division per this many sections
    std::uint32_t seed = 12345;
    bool withFlows = true;      // write FLOW_WASTE_PER and FLOW_RAIN on every section
    bool withSlopes = true;     // write SECTION_SLOPE (per mille) on every section
    bool withDiameters = true;  // write PIPE_DIA_IN (m) on every section
    std::string prefix = "S";   // section names: prefix + number; nodes: "N" + number
};

struct GeneratedNetwork {
    int sections = 0;
    int nodes = 0;
    int divisions = 0;
};

// Adds the network to the topology, in the given system.
GeneratedNetwork GenerateNetwork(Topology::CTopologyStorage& topology, const System::CGisSystemPtr& system,
                                 const NetworkOptions& options);

}  // namespace TAVGis::Bench
