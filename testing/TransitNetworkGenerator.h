#pragma once
// Random sewer networks for the transit accumulation: trees with joins, divisions whose main direction is
// decided in every way the calculation knows (by the largest inner diameter, by a stored MAIN_SECT_OUT, by
// asking: equal diameters or none), stale stored directions, isolated sections and sections that close
// loops. Generation is deterministic for a seed.
//
// Construction: node 0 is the outlet; nodes are ranked in creation order and a section normally runs from
// a higher-ranked node to a lower-ranked one, so the network drains without loops. A new section either
// starts at a new node (ending at one of the recent nodes, so branches join there) or, as a division,
// leaves an existing node that has an outgoing section already. Loop sections run the other way: from a
// node downstream of a section back to that section's starting node.
#include <cstdint>
#include <string>

#include "platform/gis/GisSystem.h"
#include "platform/network/TopologyStorage.h"

namespace TAVGis::Bench {

struct TransitNetworkOptions {
    int sections = 200;
    std::uint32_t seed = 1;
    double divisionShare = 0.15;  // share of sections that leave a node with an outgoing section already
    int recentNodes = 12;         // a new section ends at one of this many most recent nodes (depth grows)
    // Weights of the ways a division is decided.
    int byDiameter = 1;
    int byStored = 1;
    int equalDiameters = 1;
    int noDiameters = 1;
    int staleStored = 0;       // a stored MAIN_SECT_OUT naming a section that does not leave the node
    int loops = 0;             // sections closing a loop
    int isolated = 0;          // sections without neighbours
    std::string prefix = "T";  // sections prefix + number, nodes prefix + "N" + number
};

struct TransitNetworkSummary {
    int sections = 0;
    int nodes = 0;
    int divisions = 0;  // nodes with two or more outgoing sections
    int loops = 0;
};

TransitNetworkSummary GenerateTransitNetwork(Topology::CTopologyStorage& topology,
                                             const System::CGisSystemPtr& system,
                                             const TransitNetworkOptions& options);

// One of several generated networks in one drawing, for comparisons on generated networks: its sections and
// nodes are named "G<seed>_..." (SeededCase::Prefix), the other options are the defaults.
struct SeededCase {
    int sections = 200;
    double divisionShare = 0.15;
    int loops = 0;
    std::uint32_t seed = 1;

    std::string Prefix() const { return "G" + std::to_string(seed) + "_"; }
    TransitNetworkOptions Options() const {
        TransitNetworkOptions o;
        o.sections = sections;
        o.divisionShare = divisionShare;
        o.loops = loops;
        o.seed = seed;
        o.prefix = Prefix();
        return o;
    }
};

}  // namespace TAVGis::Bench
