#include "module/flow/calc/TransitAccumulation.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "platform/gis/DataRW.h"
#include "platform/host/Progress.h"
#include "platform/network/TopologyMultiStorage.h"
#include "platform/network/TopologyStorage.h"

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

namespace {

// The attributes a calculation reads and writes, their definitions looked up once.
struct Schema {
    CFlowAttribute transit{"FLOW_TRANSIT"};
    CFlowAttribute ownFlow{"FLOW_SECT_TOTAL"};
    CFlowAttribute mainOut{"MAIN_SECT_OUT", TAVGis::Data::kEntityNode};
};

// The own flow: the ticked components' sum; a sum equal to the missing-value sentinel counts as 0.
double OwnFlowOf(const CFlowComponentSum& components, const TAVGis::Data::CAttributeStore& store, int row) {
    const double q = components.Sum(store, row);
    return q == kMissingValue ? 0.0 : q;
}

// What a calculation needs of every section of the topology, by section index, taken in one pass: its
// nodes and its row in the sections' attribute store.
struct SectionTable {
    std::vector<int> start, end, row;
    TAVGis::Data::CAttributeStore* store = nullptr;

    explicit SectionTable(const std::vector<CSectionPtr>& all)
        : start(all.size()), end(all.size()), row(all.size()) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            const auto& s = *all[i];
            start[i] = s.GetStartingNode()->Index();
            end[i] = s.GetEndingNode()->Index();
            row[i] = s.AttributeRow();
            if (!store) store = s.AttributeStore();
            // One drawing keeps the attributes of all its sections in one store.
            if (s.AttributeStore() != store)
                throw std::logic_error("sections of one topology in two attribute stores");
        }
    }
};

void LoadDirections(const Schema& schema, const std::vector<CNodePtr>& nodes, MainDirectionMap& map) {
    auto* topo = TAVGis::Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    for (const auto& node : nodes) {
        if (!node) continue;
        CDataBox box;
        schema.mainOut.Read(*node, box);
        CSectionPtr stored = box.IsNotNull() && topo ? topo->GetSectionByGuid(box.ToString()) : CSectionPtr();
        if (stored && stored->GetStartingNode() != node) stored.reset();
        CTransitAccumulation::EntryOf(map, node).section = stored;
    }
}

// Sections leaving each node (by node index), in the order the topology gives them.
class OutgoingIndex {
public:
    // `start`: the starting node of every section, by section index (sections in topology order).
    OutgoingIndex(const std::vector<int>& start, std::size_t nodeCount)
        : m_first(nodeCount + 1, 0), m_sections(start.size()) {
        for (int node : start) ++m_first[static_cast<std::size_t>(node) + 1];
        for (std::size_t i = 1; i < m_first.size(); ++i) m_first[i] += m_first[i - 1];
        std::vector<int> fill(m_first.begin(), m_first.end() - 1);
        for (std::size_t s = 0; s < start.size(); ++s)
            m_sections[static_cast<std::size_t>(fill[static_cast<std::size_t>(start[s])]++)] =
                static_cast<int>(s);
    }
    int Count(int node) const {
        return m_first[static_cast<std::size_t>(node) + 1] - m_first[static_cast<std::size_t>(node)];
    }
    int First(int node) const {
        return m_sections[static_cast<std::size_t>(m_first[static_cast<std::size_t>(node)])];
    }

private:
    std::vector<int> m_first;
    std::vector<int> m_sections;
};

}  // namespace

double CTransitAccumulation::OwnFlow(const CSectionPtr& section, const Flags& flags) {
    if (!section || !section->AttributeStore()) return 0.0;
    return OwnFlowOf(CFlowComponentSum(kComponents, flags), *section->AttributeStore(),
                     section->AttributeRow());
}

MainDirectionEntry& CTransitAccumulation::EntryOf(MainDirectionMap& map, const CNodePtr& node) {
    const auto index = static_cast<std::size_t>(node->Index());
    if (map.size() <= index) map.resize(index + 1);
    MainDirectionEntry& e = map[index];
    if (!e.node) e.node = node;
    return e;
}

void CTransitAccumulation::LoadMainDirections(const std::vector<CNodePtr>& nodes, MainDirectionMap& map) {
    LoadDirections(Schema(), nodes, map);
}

void CTransitAccumulation::WriteMainDirections(const MainDirectionMap& map) {
    for (const auto& e : map)
        if (e.node && e.section) CSectionData::SetMAIN_SECT_OUT(e.node, e.section);
}

CSectionPtr CTransitAccumulation::DirectionByDiameter(const std::vector<CSectionPtr>& outgoing) {
    std::multimap<double, CSectionPtr> byDiameter;  // inner diameter (m) -> section
    for (const auto& s : outgoing) {
        CDataBox box;
        CDataRW::Read("PIPE_DIA_IN", s, box);
        if (box.IsNull()) continue;
        const double d = box.ToDouble();
        if (std::isnan(d)) continue;  // not comparable: cannot decide a direction
        byDiameter.emplace(d, s);
    }
    if (byDiameter.empty()) return {};
    const auto largest = std::prev(byDiameter.end());
    if (byDiameter.count(largest->first) != 1) return {};
    return largest->second;
}

namespace {

// The forest of steps taken by the routes: next[s] is the section a route went to from s (-1: none yet);
// uf[s] points towards the last section of s's chain (path halving keeps the chains short).
class StepForest {
public:
    explicit StepForest(std::size_t n) : m_next(n, -1), m_uf(n, -1), m_seen(n, 0) {}
    bool Seen(int s) const { return m_seen[static_cast<std::size_t>(s)] != 0; }
    void See(int s) {
        m_seen[static_cast<std::size_t>(s)] = 1;
        m_uf[static_cast<std::size_t>(s)] = s;
    }
    void Link(int from, int to) {
        m_next[static_cast<std::size_t>(from)] = to;
        m_uf[static_cast<std::size_t>(from)] = to;
    }
    int Find(int s) {
        while (m_uf[static_cast<std::size_t>(s)] != s) {
            const int up = m_uf[static_cast<std::size_t>(s)];
            m_uf[static_cast<std::size_t>(s)] = m_uf[static_cast<std::size_t>(up)];
            s = up;
        }
        return s;
    }
    int Next(int s) const { return m_next[static_cast<std::size_t>(s)]; }
    std::size_t Size() const { return m_next.size(); }

private:
    std::vector<int> m_next;
    std::vector<int> m_uf;
    std::vector<std::uint8_t> m_seen;
};

struct Route {
    std::size_t firstNew = 0;  // into the list of new sections
    std::size_t newCount = 0;  // sections this route is the first to contain, in route order
    int last = -1;             // the route's last section
};

}  // namespace

TransitResult CTransitAccumulation::Run(const std::vector<CSectionPtr>& sections,
                                        const std::vector<CNodePtr>& nodes, MainDirectionMap& map,
                                        const Flags& flags, const DirectionAsker& ask) {
    TransitResult result;
    const Schema schema;
    const CFlowComponentSum components(kComponents, flags);
    TAVGis::Topology::CTopologyStorage* topo = nullptr;
    for (const auto& s : sections)
        if (s) {
            topo = s->Owner();
            break;
        }
    if (!topo) {
        LoadDirections(schema, nodes, map);
        WriteMainDirections(map);
        return result;
    }
    const auto& all = topo->Sections();
    auto sectionAt = [&all](int index) -> const CSectionPtr& { return all[static_cast<std::size_t>(index)]; };
    const SectionTable table(all);
    auto& store = *table.store;
    components.ReadAhead(store, {&schema.transit, &schema.ownFlow});
    // Each section is reached once by the routes and written once: two steps per section.
    TAVHost::CProgress progress("transit flows", 2 * all.size());
    auto rowOf = [&table](int index) { return table.row[static_cast<std::size_t>(index)]; };

    // Heads (sections without incoming sections: nothing ends at their starting node), and FLOW_TRANSIT
    // deleted on every section of the list.
    std::vector<std::uint8_t> somethingEndsAt(topo->Nodes().size(), 0);
    for (int node : table.end) somethingEndsAt[static_cast<std::size_t>(node)] = 1;
    std::vector<int> heads;
    std::vector<int> headCount(all.size(), 0);
    for (const auto& s : sections) {
        if (!s) continue;
        schema.transit.Erase(*s);
        if (!somethingEndsAt[static_cast<std::size_t>(table.start[static_cast<std::size_t>(s->Index())])]) {
            heads.push_back(s->Index());
            ++headCount[static_cast<std::size_t>(s->Index())];
        }
    }
    LoadDirections(schema, nodes, map);

    // Routes.
    const OutgoingIndex leaving(table.start, topo->Nodes().size());
    StepForest forest(all.size());
    std::vector<Route> routes;
    std::vector<int> newSections;
    bool chosenNow = false;  // a direction was chosen in this calculation (MAIN_SECT_OUT written then)
    // Dividing nodes whose other outgoing sections have been queued as heads in this calculation.
    std::vector<std::uint8_t> queuedAt(topo->Nodes().size(), 0);
    for (std::size_t k = 0; k < heads.size(); ++k) {
        Route route;
        route.firstNew = newSections.size();
        const int head = heads[k];
        int cur = head;  // the route's last section so far, always the end of its chain in the forest
        if (!forest.Seen(head)) {
            forest.See(head);
            newSections.push_back(head);
            progress.Advance();
        } else {
            cur = forest.Find(head);
        }
        for (;;) {
            const int endNode = table.end[static_cast<std::size_t>(cur)];
            const int count = leaving.Count(endNode);
            if (count == 0) break;
            int n = -1;
            bool choice = false;  // chosen now
            bool queue = false;   // the other outgoing sections become heads
            std::vector<CSectionPtr> outgoing;
            CNodePtr node;
            if (count == 1) {
                n = leaving.First(endNode);
            } else {
                const CSectionPtr& current = sectionAt(cur);
                outgoing = current->GetSectionsOut();
                node = current->GetEndingNode();
                CSectionPtr next = EntryOf(map, node).section;
                if (next) {
                    queue = queuedAt[static_cast<std::size_t>(endNode)] == 0;
                } else {
                    next = DirectionByDiameter(outgoing);
                    if (!next) {
                        ++result.asked;
                        next = ask ? ask(node, outgoing) : CSectionPtr();
                    }
                    if (!next) break;  // nothing picked: the route ends at this node
                    choice = true;
                    queue = true;
                }
                n = next->Index();
            }
            // A step into the route's own chain comes back to a section of this route: a closed loop.
            if (forest.Seen(n) && forest.Find(n) == cur) {
                if (chosenNow) WriteMainDirections(map);
                result.loop = true;
                result.heads = static_cast<int>(heads.size());
                result.routes = static_cast<int>(routes.size());
                return result;
            }
            if (queue) {
                queuedAt[static_cast<std::size_t>(endNode)] = 1;
                constexpr std::size_t kNone = static_cast<std::size_t>(-1);
                const std::size_t base = heads.size();
                std::size_t chosenAt = kNone;
                for (std::size_t i = 0; i < outgoing.size(); ++i) {
                    const int o = outgoing[i]->Index();
                    heads.push_back(o);
                    ++headCount[static_cast<std::size_t>(o)];
                    if (o == n && chosenAt == kNone) chosenAt = base + i;
                }
                // The first entry that is the chosen section leaves the head list (normally the one just
                // appended; an earlier one only when the head list held it already).
                if (headCount[static_cast<std::size_t>(n)] > 1 || chosenAt == kNone) {
                    chosenAt = kNone;
                    for (std::size_t i = 0; i < heads.size(); ++i)
                        if (heads[i] == n) {
                            chosenAt = i;
                            break;
                        }
                }
                if (chosenAt != kNone) {
                    heads.erase(heads.begin() + static_cast<std::ptrdiff_t>(chosenAt));
                    --headCount[static_cast<std::size_t>(n)];
                }
            }
            if (choice) {
                EntryOf(map, node).section = sectionAt(n);
                chosenNow = true;
            }
            if (!forest.Seen(n)) {
                forest.See(n);
                newSections.push_back(n);
                progress.Advance();
                forest.Link(cur, n);
                cur = n;
            } else {
                forest.Link(cur, n);
                cur = forest.Find(n);
            }
        }
        route.newCount = newSections.size() - route.firstNew;
        route.last = cur;
        routes.push_back(route);
    }
    result.heads = static_cast<int>(heads.size());
    result.routes = static_cast<int>(routes.size());

    // Own flows, and the additions each route makes, recorded at both ends of their forest paths.
    std::vector<double> added(all.size(), 0.0);     // m3/s entering the chain at this section
    std::vector<double> endsHere(all.size(), 0.0);  // m3/s of the additions whose path ends here
    std::vector<int> covered(all.size(), 0);        // additions (also of 0) passing this section
    std::vector<int> coveredEnds(all.size(), 0);
    int lastTarget = -1;
    for (const Route& route : routes) {
        double sum = 0.0;
        int count = 0;
        for (std::size_t i = route.firstNew; i < route.firstNew + route.newCount; ++i) {
            const int s = newSections[i];
            const double q = OwnFlowOf(components, store, rowOf(s));
            if (result.notFinite.Check(sectionAt(s)->GetName(), schema.ownFlow.Name(), q))
                schema.ownFlow.Set(store, rowOf(s), q);
            ++result.processed;
            if (s == route.last) continue;
            const auto to = static_cast<std::size_t>(forest.Next(s));
            added[to] += q;
            ++covered[to];
            sum += q;
            ++count;
        }
        if (count > 0) {
            endsHere[static_cast<std::size_t>(route.last)] += sum;
            coveredEnds[static_cast<std::size_t>(route.last)] += count;
            lastTarget = route.last;
        }
    }

    // One pass from the leaves of the forest downstream: each section's transit, written once.
    std::vector<int> pending(all.size(), 0);
    std::vector<int> order;
    order.reserve(newSections.size());
    for (int s : newSections)
        if (forest.Next(s) >= 0) ++pending[static_cast<std::size_t>(forest.Next(s))];
    for (int s : newSections)
        if (pending[static_cast<std::size_t>(s)] == 0) order.push_back(s);
    progress.Advance(all.size() - newSections.size());  // sections no route reached
    for (std::size_t i = 0; i < order.size(); ++i) {
        progress.Advance();
        const int s = order[i];
        const auto si = static_cast<std::size_t>(s);
        if (covered[si] > 0) {
            double initial = schema.transit.Get(store, rowOf(s));
            if (initial == kMissingValue) initial = 0.0;
            const double transit = initial + added[si];
            const int ok = result.notFinite.Check(sectionAt(s)->GetName(), schema.transit.Name(), transit)
                               ? schema.transit.Set(store, rowOf(s), transit)
                               : 0;
            ++result.transitWrites;
            if (s == lastTarget) result.written = ok != 0;
        }
        const int to = forest.Next(s);
        if (to < 0) continue;
        const auto ti = static_cast<std::size_t>(to);
        added[ti] += added[si] - endsHere[si];
        covered[ti] += covered[si] - coveredEnds[si];
        if (--pending[ti] == 0) order.push_back(to);
    }

    WriteMainDirections(map);
    return result;
}
