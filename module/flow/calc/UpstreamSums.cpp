#include "module/flow/calc/UpstreamSums.h"

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

using Values = CUpstreamSums::Values;
// Shared divisions at one join up to this many are first reduced to those not above another (pairwise).
constexpr std::size_t kMostPruned = 200;

void Add(Values& to, const Values& v) {
    for (std::size_t k = 0; k < to.size(); ++k) to[k] += v[k];
}
void Subtract(Values& from, const Values& v) {
    for (std::size_t k = 0; k < from.size(); ++k) from[k] -= v[k];
}

// An open dividing node (a group of nodes on a loop counts as one) and the outgoing sections one side
// holds, one bit each by their position among the node's outgoing sections.
struct OpenDivision {
    int group;
    std::uint64_t branches;
};
using OpenList = std::shared_ptr<const std::vector<OpenDivision>>;

// Compressed adjacency: for each group, the positions [begin[g], begin[g + 1]) in `items`.
struct Adjacency {
    std::vector<int> begin;
    std::vector<int> items;
    int Count(int g) const {
        return begin[static_cast<std::size_t>(g) + 1] - begin[static_cast<std::size_t>(g)];
    }
};

Adjacency Build(int groups, const std::vector<std::pair<int, int>>& pairs) {  // (group, item)
    Adjacency a;
    a.begin.assign(static_cast<std::size_t>(groups) + 1, 0);
    for (const auto& [g, item] : pairs) ++a.begin[static_cast<std::size_t>(g) + 1];
    for (std::size_t g = 0; g < static_cast<std::size_t>(groups); ++g) a.begin[g + 1] += a.begin[g];
    a.items.resize(pairs.size());
    std::vector<int> next(a.begin.begin(), a.begin.end() - 1);
    for (const auto& [g, item] : pairs)
        a.items[static_cast<std::size_t>(next[static_cast<std::size_t>(g)]++)] = item;
    return a;
}

// Strongly connected groups of nodes (iterative Tarjan), numbered so that every group comes after the
// groups it drains from: sources first.
std::vector<int> GroupNodes(int nodes, const Adjacency& downstream, int& groups) {
    std::vector<int> index(static_cast<std::size_t>(nodes), -1), low(static_cast<std::size_t>(nodes), 0);
    std::vector<int> group(static_cast<std::size_t>(nodes), -1);
    std::vector<char> onStack(static_cast<std::size_t>(nodes), 0);
    std::vector<int> stack, order;
    std::vector<std::pair<int, int>> calls;  // (node, next edge position)
    int counter = 0, completed = 0;
    for (int root = 0; root < nodes; ++root) {
        if (index[static_cast<std::size_t>(root)] >= 0) continue;
        calls.push_back({root, downstream.begin[static_cast<std::size_t>(root)]});
        index[static_cast<std::size_t>(root)] = low[static_cast<std::size_t>(root)] = counter++;
        stack.push_back(root);
        onStack[static_cast<std::size_t>(root)] = 1;
        while (!calls.empty()) {
            auto& [v, pos] = calls.back();
            const auto vi = static_cast<std::size_t>(v);
            if (pos < downstream.begin[vi + 1]) {
                const int w = downstream.items[static_cast<std::size_t>(pos++)];
                const auto wi = static_cast<std::size_t>(w);
                if (index[wi] < 0) {
                    index[wi] = low[wi] = counter++;
                    stack.push_back(w);
                    onStack[wi] = 1;
                    calls.push_back({w, downstream.begin[wi]});
                } else if (onStack[wi]) {
                    low[vi] = std::min(low[vi], index[wi]);
                }
                continue;
            }
            if (low[vi] == index[vi]) {
                int w;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[static_cast<std::size_t>(w)] = 0;
                    group[static_cast<std::size_t>(w)] = completed;
                } while (w != v);
                ++completed;
            }
            const int done = v;
            calls.pop_back();
            if (!calls.empty()) {
                const auto pi = static_cast<std::size_t>(calls.back().first);
                low[pi] = std::min(low[pi], low[static_cast<std::size_t>(done)]);
            }
        }
    }
    // Tarjan completes a group after every group it drains into: reverse for sources first.
    groups = completed;
    for (auto& g : group) g = completed - 1 - g;
    return group;
}

}  // namespace

std::vector<Values> CUpstreamSums::Compute(const TAVGis::Topology::CTopologyStorage& topology,
                                           const std::vector<Values>& own, Stats* stats) {
    Stats st;
    const auto& sections = topology.Sections();
    const int nodeCount = static_cast<int>(topology.Nodes().size());
    const int sectionCount = static_cast<int>(sections.size());
    auto ownOf = [&own](int i) {
        return static_cast<std::size_t>(i) < own.size() ? own[static_cast<std::size_t>(i)] : Values{};
    };
    std::vector<int> from(static_cast<std::size_t>(sectionCount)), to(static_cast<std::size_t>(sectionCount));
    std::vector<std::pair<int, int>> edges;
    edges.reserve(sections.size());
    for (int i = 0; i < sectionCount; ++i) {
        const auto& s = sections[static_cast<std::size_t>(i)];
        from[static_cast<std::size_t>(i)] = s->GetStartingNode()->Index();
        to[static_cast<std::size_t>(i)] = s->GetEndingNode()->Index();
        edges.push_back({from[static_cast<std::size_t>(i)], to[static_cast<std::size_t>(i)]});
    }
    int groupCount = 0;
    const std::vector<int> group = GroupNodes(nodeCount, Build(nodeCount, edges), groupCount);
    std::vector<int> groupSize(static_cast<std::size_t>(groupCount), 0);
    for (int g : group) ++groupSize[static_cast<std::size_t>(g)];

    // Per group: the weight of the sections inside it, the sections entering it and leaving it.
    std::vector<Values> inside(static_cast<std::size_t>(groupCount), Values{});
    std::vector<char> hasInside(static_cast<std::size_t>(groupCount), 0);
    std::vector<std::pair<int, int>> entering, leaving;
    for (int i = 0; i < sectionCount; ++i) {
        const int gf = group[static_cast<std::size_t>(from[static_cast<std::size_t>(i)])];
        const int gt = group[static_cast<std::size_t>(to[static_cast<std::size_t>(i)])];
        if (gf == gt) {
            Add(inside[static_cast<std::size_t>(gf)], ownOf(i));
            hasInside[static_cast<std::size_t>(gf)] = 1;
        } else {
            entering.push_back({gt, i});
            leaving.push_back({gf, i});
        }
    }
    for (int n : groupSize)
        if (n > 1) st.loopNodes += n;
    const Adjacency in = Build(groupCount, entering);
    const Adjacency out = Build(groupCount, leaving);
    // The bit of each leaving section among its group's leaving sections.
    std::vector<std::uint64_t> bit(static_cast<std::size_t>(sectionCount), 0);
    std::vector<std::uint64_t> allBranches(static_cast<std::size_t>(groupCount), 0);
    for (int g = 0; g < groupCount; ++g) {
        const int n = out.Count(g);
        for (int k = 0; k < n; ++k) {
            const int i = out.items[static_cast<std::size_t>(out.begin[static_cast<std::size_t>(g)] + k)];
            bit[static_cast<std::size_t>(i)] = std::uint64_t{1} << std::min(k, 63);
        }
        // More than 63 branches: the division never closes (kept open is always safe, only slower).
        allBranches[static_cast<std::size_t>(g)] = n <= 63 ? (std::uint64_t{1} << n) - 1 : 0;
    }

    // A division matters only if two of its branches can meet again. The first node two such paths share is
    // entered by two sections, so a branch whose flow never reaches a node entered by two or more sections
    // (or a loop) below it meets nothing: a division with fewer than two branches that meet anything is
    // never listed (a relief to an outfall, a branch to a dead end).
    std::vector<char> meets(static_cast<std::size_t>(groupCount), 0);
    for (int g = groupCount - 1; g >= 0; --g) {
        const auto gi = static_cast<std::size_t>(g);
        bool m = in.Count(g) >= 2 || groupSize[gi] > 1 || hasInside[gi] != 0;
        for (int p = out.begin[gi]; p < out.begin[gi + 1] && !m; ++p) {
            const int i = out.items[static_cast<std::size_t>(p)];
            m = meets[static_cast<std::size_t>(
                    group[static_cast<std::size_t>(to[static_cast<std::size_t>(i)])])] != 0;
        }
        meets[gi] = m ? 1 : 0;
    }
    std::vector<char> listed(static_cast<std::size_t>(groupCount), 0);
    for (int g = 0; g < groupCount; ++g) {
        int branchesThatMeet = 0;
        for (int p = out.begin[static_cast<std::size_t>(g)]; p < out.begin[static_cast<std::size_t>(g) + 1];
             ++p) {
            const int i = out.items[static_cast<std::size_t>(p)];
            branchesThatMeet += meets[static_cast<std::size_t>(
                group[static_cast<std::size_t>(to[static_cast<std::size_t>(i)])])];
        }
        listed[static_cast<std::size_t>(g)] = branchesThatMeet >= 2 ? 1 : 0;
    }

    std::vector<Values> above(static_cast<std::size_t>(groupCount), Values{});  // everything ending in g
    std::vector<OpenList> open(static_cast<std::size_t>(groupCount));
    std::vector<int> seen(static_cast<std::size_t>(groupCount), -1);  // walk stamps
    std::vector<int> walk;
    int stamps = 0;

    // The union of what lies above several groups, walked.
    auto unionAbove = [&](const std::vector<int>& tops, int stamp) {
        Values sum{};
        walk.assign(tops.begin(), tops.end());
        for (int g : tops) seen[static_cast<std::size_t>(g)] = stamp;
        for (std::size_t head = 0; head < walk.size(); ++head) {
            const int g = walk[head];
            Add(sum, inside[static_cast<std::size_t>(g)]);
            for (int p = in.begin[static_cast<std::size_t>(g)]; p < in.begin[static_cast<std::size_t>(g) + 1];
                 ++p) {
                const int i = in.items[static_cast<std::size_t>(p)];
                Add(sum, ownOf(i));
                const int up = group[static_cast<std::size_t>(from[static_cast<std::size_t>(i)])];
                if (seen[static_cast<std::size_t>(up)] != stamp) {
                    seen[static_cast<std::size_t>(up)] = stamp;
                    walk.push_back(up);
                }
            }
        }
        return sum;
    };

    std::vector<OpenDivision> merged;
    std::vector<int> shared;
    for (int g = 0; g < groupCount; ++g) {
        Values sum = inside[static_cast<std::size_t>(g)];
        OpenList list;
        for (int p = in.begin[static_cast<std::size_t>(g)]; p < in.begin[static_cast<std::size_t>(g) + 1];
             ++p) {
            const int i = in.items[static_cast<std::size_t>(p)];
            const int up = group[static_cast<std::size_t>(from[static_cast<std::size_t>(i)])];
            // This side: section i and everything above its start; open: the divisions open above, and
            // the start itself when it divides.
            Values side = above[static_cast<std::size_t>(up)];
            Add(side, ownOf(i));
            OpenList sideList = open[static_cast<std::size_t>(up)];
            if (listed[static_cast<std::size_t>(up)]) {
                auto copy = std::make_shared<std::vector<OpenDivision>>();
                if (sideList) copy->reserve(sideList->size() + 1);
                bool placed = false;
                if (sideList)
                    for (const auto& d : *sideList) {
                        if (!placed && d.group > up) {
                            copy->push_back({up, bit[static_cast<std::size_t>(i)]});
                            placed = true;
                        }
                        copy->push_back(d);
                    }
                if (!placed) copy->push_back({up, bit[static_cast<std::size_t>(i)]});
                sideList = std::move(copy);
            }
            Add(sum, side);
            if (!list || list->empty()) {
                list = sideList;
                continue;
            }
            if (!sideList || sideList->empty()) continue;
            // Both sides have open divisions: merge the lists, take off what they share.
            merged.clear();
            shared.clear();
            auto a = list->begin(), b = sideList->begin();
            while (a != list->end() || b != sideList->end()) {
                if (b == sideList->end() || (a != list->end() && a->group < b->group)) {
                    merged.push_back(*a++);
                } else if (a == list->end() || b->group < a->group) {
                    merged.push_back(*b++);
                } else {
                    shared.push_back(a->group);
                    merged.push_back({a->group, a->branches | b->branches});
                    ++a;
                    ++b;
                }
            }
            if (!shared.empty()) {
                ++st.joinsWithOverlap;
                // A shared division listed as open above another shared one lies above it: what lies above
                // it is inside the other's, so it adds nothing to the union (each pair is tried; more shared
                // divisions than kMostPruned are walked as they are).
                if (shared.size() > 1 && shared.size() <= kMostPruned) {
                    auto listedAbove = [&](int z, int other) {
                        const auto& l = open[static_cast<std::size_t>(other)];
                        if (!l) return false;
                        auto at = std::lower_bound(l->begin(), l->end(), z,
                                                   [](const OpenDivision& d, int g) { return d.group < g; });
                        return at != l->end() && at->group == z;
                    };
                    std::vector<int> kept;
                    for (int z : shared) {
                        bool inside = false;
                        for (int other : shared) inside = inside || (other != z && listedAbove(z, other));
                        if (!inside) kept.push_back(z);
                    }
                    shared.swap(kept);
                }
                if (shared.size() == 1) {
                    Subtract(sum, above[static_cast<std::size_t>(shared.front())]);
                } else {
                    ++st.explicitUnions;
                    Subtract(sum, unionAbove(shared, stamps++));
                }
            }
            std::erase_if(merged, [&](const OpenDivision& d) {
                return d.branches == allBranches[static_cast<std::size_t>(d.group)];
            });
            list = std::make_shared<const std::vector<OpenDivision>>(merged);
        }
        if (list) st.longestOpenList = std::max(st.longestOpenList, list->size());
        above[static_cast<std::size_t>(g)] = sum;
        open[static_cast<std::size_t>(g)] = std::move(list);
    }

    std::vector<Values> result(static_cast<std::size_t>(sectionCount));
    for (int i = 0; i < sectionCount; ++i) {
        const int gf = group[static_cast<std::size_t>(from[static_cast<std::size_t>(i)])];
        const int gt = group[static_cast<std::size_t>(to[static_cast<std::size_t>(i)])];
        if (gf == gt) {
            // On a loop: everything ending in the loop's nodes and above them, the section itself included
            // once.
            result[static_cast<std::size_t>(i)] = above[static_cast<std::size_t>(gf)];
        } else {
            result[static_cast<std::size_t>(i)] = above[static_cast<std::size_t>(gf)];
            Add(result[static_cast<std::size_t>(i)], ownOf(i));
        }
    }
    if (stats) *stats = st;
    return result;
}
