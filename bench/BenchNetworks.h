#pragma once
// The generated drawings the benchmarks run on: one drawing per name, size and shape, generated once in a
// benchmark program and made the current drawing again on every later use.
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/network/TopologyStorage.h"
#include "testing/NetworkGenerator.h"
#include "testing/TransitNetworkGenerator.h"

namespace TAVGis::Bench {

enum class BenchShape {
    Divisions,  // a tree with a division (two outgoing sections) at every divisionEvery-th section
    Rejoining,  // divisions that rejoin: 1 % of the sections leave a node that has an outgoing section
                // already
};

struct BenchNetwork {
    TAVHost::Document* doc = nullptr;
    std::vector<Topology::CSectionPtr> sections;
    std::vector<Topology::CNodePtr> nodes;
};

using BenchPreparation = std::function<void(Topology::CTopologyStorage&, const System::CGisSystemPtr&)>;

// `prepare` runs once, on the new drawing after generation (attributes, catchment areas); `withSlopes`
// writes SECTION_SLOPE on every section of a tree with divisions.
inline const BenchNetwork& CachedNetwork(const std::string& name, int sections, BenchShape shape,
                                         int divisionEvery, const BenchPreparation& prepare = {},
                                         bool withSlopes = false) {
    static std::map<std::tuple<std::string, int, BenchShape, int, bool>, BenchNetwork> networks;
    const auto key = std::make_tuple(name, sections, shape, divisionEvery, withSlopes);
    if (auto it = networks.find(key); it != networks.end()) {
        acDocManagerPtr()->SetCurrent(*it->second.doc);
        return it->second;
    }
    BenchNetwork n;
    n.doc = &acDocManagerPtr()->NewDocument(name + std::to_string(sections) + "_" +
                                            std::to_string(static_cast<int>(shape)) + ".gpkg");
    auto system = System::CSystemManager::AddSystem("bench", 0);
    System::CSystemManager::SetActiveSystem(system);
    auto& topology = Topology::TopologyOf(*n.doc);
    if (shape == BenchShape::Divisions) {
        NetworkOptions options;
        options.sections = sections;
        options.shape = NetworkShape::Divisions;
        options.divisionEvery = divisionEvery;
        options.withSlopes = withSlopes;
        if (GenerateNetwork(topology, system, options).divisions == 0)
            throw std::logic_error("the generated network has no division");
    } else {
        TransitNetworkOptions options;
        options.sections = sections;
        options.divisionShare = 0.01;
        GenerateTransitNetwork(topology, system, options);
    }
    if (prepare) prepare(topology, system);
    n.sections.assign(topology.Sections().begin(), topology.Sections().end());
    n.nodes.assign(topology.Nodes().begin(), topology.Nodes().end());
    return networks.emplace(key, std::move(n)).first->second;
}

}  // namespace TAVGis::Bench
