#include "testing/TransitNetworkGenerator.h"

#include <algorithm>
#include <random>
#include <vector>

#include "platform/gis/DataRW.h"

namespace TAVGis::Bench {

namespace {
constexpr double kNodeSpacing = 25.0;                        // m
constexpr double kDiameters[] = {0.25, 0.3, 0.4, 0.5, 0.6};  // m
}  // namespace

TransitNetworkSummary GenerateTransitNetwork(Topology::CTopologyStorage& topo,
                                             const System::CGisSystemPtr& system,
                                             const TransitNetworkOptions& o) {
    std::mt19937 rng(o.seed);
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto chance = [&rng](double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng) < p; };
    TransitNetworkSummary summary;
    std::vector<Topology::CNodePtr> nodes;
    std::vector<Topology::CSectionPtr> sections;
    std::vector<std::vector<int>> outAt;  // node -> outgoing section numbers

    auto newNode = [&]() {
        const int n = static_cast<int>(nodes.size());
        nodes.push_back(topo.AddNode(o.prefix + "N" + std::to_string(n), kNodeSpacing * n,
                                     kNodeSpacing * (n % 7), system, 100.0));
        outAt.emplace_back();
        return n;
    };
    auto newSection = [&](int from, int to) {
        const int k = static_cast<int>(sections.size());
        auto s = topo.AddSection(o.prefix + std::to_string(k + 1), nodes[static_cast<std::size_t>(from)],
                                 nodes[static_cast<std::size_t>(to)], system);
        sections.push_back(s);
        outAt[static_cast<std::size_t>(from)].push_back(k);
        // Flows (m3/s): mostly present, sometimes missing, now and then the missing-value sentinel itself.
        const int r = uniform(0, 19);
        if (r < 16) Data::CDataRW::Write("FLOW_WASTE_PER", *s, Data::CDataBox(0.0001 * uniform(1, 100)));
        if (r == 17) Data::CDataRW::Write("FLOW_WASTE_PER", *s, Data::CDataBox(-1000000.0));
        if (uniform(0, 2) == 0) Data::CDataRW::Write("FLOW_RAIN", *s, Data::CDataBox(0.001 * uniform(1, 50)));
        if (uniform(0, 4) == 0)
            Data::CDataRW::Write("FLOW_TUR_WASTE_IND", *s, Data::CDataBox(0.0002 * uniform(1, 9)));
        Data::CDataRW::Write("PIPE_DIA_IN", *s, Data::CDataBox(kDiameters[uniform(0, 4)]));
        return k;
    };

    newNode();  // the outlet
    const int isolated = std::min(o.isolated, o.sections);
    const int loops = std::min(o.loops, o.sections - isolated);
    const int tree = o.sections - isolated - loops;
    for (int k = 0; k < tree; ++k) {
        const int count = static_cast<int>(nodes.size());
        std::vector<int> candidates;  // nodes that could start a division
        if (k > 0 && chance(o.divisionShare))
            for (int n = std::max(1, count - o.recentNodes * 4); n < count; ++n)
                if (!outAt[static_cast<std::size_t>(n)].empty()) candidates.push_back(n);
        if (!candidates.empty()) {
            const int from =
                candidates[static_cast<std::size_t>(uniform(0, static_cast<int>(candidates.size()) - 1))];
            newSection(from, uniform(std::max(0, from - o.recentNodes), from - 1));
        } else {
            const int to = uniform(std::max(0, count - o.recentNodes), count - 1);
            newSection(newNode(), to);
        }
    }
    for (int k = 0; k < isolated; ++k) {
        const int a = newNode();
        newSection(a, newNode());
    }
    // Loops: from a node some steps downstream of a section back to that section's start.
    auto position = [&nodes](const Topology::CNodePtr& node) {
        return static_cast<int>(std::find(nodes.begin(), nodes.end(), node) - nodes.begin());
    };
    for (int k = 0; k < loops && tree > 0; ++k) {
        const auto& first = sections[static_cast<std::size_t>(uniform(0, tree - 1))];
        const int back = position(first->GetStartingNode());
        int at = position(first->GetEndingNode());
        for (int steps = uniform(0, 3); steps > 0 && !outAt[static_cast<std::size_t>(at)].empty(); --steps)
            at = position(sections[static_cast<std::size_t>(outAt[static_cast<std::size_t>(at)].front())]
                              ->GetEndingNode());
        newSection(at, back);
        ++summary.loops;
    }

    // Divisions: decide how each one's main direction is found.
    const int weights[] = {o.byDiameter, o.byStored, o.equalDiameters, o.noDiameters, o.staleStored};
    std::discrete_distribution<int> way(std::begin(weights), std::end(weights));
    const bool anyWay = std::any_of(std::begin(weights), std::end(weights), [](int w) { return w > 0; });
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        const auto& outs = outAt[n];
        if (outs.size() < 2) continue;
        ++summary.divisions;
        if (!anyWay) continue;
        auto sec = [&](std::size_t i) { return sections[static_cast<std::size_t>(outs[i])]; };
        const std::size_t main = static_cast<std::size_t>(uniform(0, static_cast<int>(outs.size()) - 1));
        switch (way(rng)) {
            case 0:  // the largest diameter decides
                for (std::size_t i = 0; i < outs.size(); ++i)
                    Data::CDataRW::Write("PIPE_DIA_IN", *sec(i), Data::CDataBox(i == main ? 0.8 : 0.3));
                break;
            case 1:  // stored, with equal diameters behind it
                for (std::size_t i = 0; i < outs.size(); ++i)
                    Data::CDataRW::Write("PIPE_DIA_IN", *sec(i), Data::CDataBox(0.4));
                Data::CDataRW::Write("MAIN_SECT_OUT", *nodes[n], Data::CDataBox(sec(main)->GetGuid()));
                break;
            case 2:  // two largest equal: the person is asked
                for (std::size_t i = 0; i < outs.size(); ++i)
                    Data::CDataRW::Write("PIPE_DIA_IN", *sec(i), Data::CDataBox(i < 2 ? 0.5 : 0.3));
                break;
            case 3:  // no diameters: the person is asked
                for (std::size_t i = 0; i < outs.size(); ++i)
                    Data::CDataRW::Write("PIPE_DIA_IN", *sec(i), Data::CDataBox());
                break;
            default: {  // stored, naming a section elsewhere
                const auto& other =
                    sections[static_cast<std::size_t>(uniform(0, static_cast<int>(sections.size()) - 1))];
                Data::CDataRW::Write("MAIN_SECT_OUT", *nodes[n], Data::CDataBox(other->GetGuid()));
                for (std::size_t i = 0; i < outs.size(); ++i)
                    Data::CDataRW::Write("PIPE_DIA_IN", *sec(i), Data::CDataBox(0.4));
                break;
            }
        }
    }
    summary.sections = static_cast<int>(sections.size());
    summary.nodes = static_cast<int>(nodes.size());
    return summary;
}

}  // namespace TAVGis::Bench
