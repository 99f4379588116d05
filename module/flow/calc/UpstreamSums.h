#pragma once
// CUpstreamSums: for every section of a network, a quantity summed over the section itself and every
// section upstream of it (CSection::GetPreviousSections: each upstream section once, however many paths
// lead from it), for all sections in one pass.
//
// The literal way, a walk upstream from every section, costs the sum of all upstream set sizes: quadratic
// on a long trunk. Here the sums travel downstream node by node in topological order. Where several
// sections end at one node, their upstream sets are added and what they share is taken off once. They
// share something only because of a division (a node with two or more outgoing sections) above both, and
// then exactly the union of the upstream sets of the dividing nodes that are "open" on both sides: a node
// of which one side holds some outgoing sections but not all of them. (Take a section both sides hold,
// follow the network down while both still hold it; where that stops is a node whose outgoing sections
// lead into one side and not the other, open on both; conversely everything above such a node is on both
// sides.) Every node carries the list of open dividing nodes above it, with the outgoing sections seen so
// far; a division drops out of the lists once all its outgoing sections have joined again. So:
//   - a tree, or a division whose branches never meet again, costs nothing more than a tree;
//   - a division whose branches rejoin (a relief pipe, a loop of pipes) is taken off once at the rejoin:
//     the sum above the dividing node, already known;
//   - where the two sides share several open divisions, those listed open above another shared one add
//     nothing (what lies above them lies above the other); only what is left is walked explicitly.
// A division whose branches cannot meet again is never listed: the first node two paths share is entered
// by two sections, so a branch whose flow never reaches such a node (or a loop) meets nothing (a relief to
// an outfall, a side pipe to a dead end).
// The lists are shared along chains and copied only at divisions and joins, so the cost is linear in the
// sections plus, per division and join, the length of the list of open divisions there (and the walks):
// linear on trees and on divisions that rejoin soon or never; it grows where many divisions keep their
// branches apart over long stretches.
// Closed loops: the nodes that reach each other (strongly connected, found once) count as one node, and the
// sections between them as its own; a section on a loop has everything that drains into the loop upstream
// of it, itself excepted (as in GetPreviousSections, a loop back to the section is not upstream).
//
// Sums are in the order of the pass, so they may differ from the literal order of additions in the last
// bits (floating-point rounding).
#include <array>
#include <vector>

#include "platform/network/TopologyStorage.h"

class CUpstreamSums {
public:
    static constexpr std::size_t kQuantities = 2;
    using Values = std::array<double, kQuantities>;

    // How a Compute went, for tests and benchmarks.
    struct Stats {
        int joinsWithOverlap = 0;  // joins where the sides shared something
        int explicitUnions = 0;    // of those, the ones that walked the shared part
        int loopNodes = 0;         // nodes that lie on a closed loop
        std::size_t longestOpenList = 0;
    };

    // `own[i]` belongs to the section topology.Sections()[i]; the result likewise: own[i] plus own[j] for
    // every section j upstream of section i. A shorter `own` counts as zeros for the missing sections.
    static std::vector<Values> Compute(const TAVGis::Topology::CTopologyStorage& topology,
                                       const std::vector<Values>& own, Stats* stats = nullptr);
};
