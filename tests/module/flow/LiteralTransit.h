#pragma once
// The transit accumulation followed step by step, route by route: the reference the fast calculation is
// compared with (tests and the benchmark). It builds every route in full, keeps the processed list and
// rewrites FLOW_TRANSIT of every later section of a route for every section it processes, so its cost grows
// with the square of the route lengths. Main directions chosen on the way are written at every choice; a
// dividing node queues its other outgoing sections as heads the first time a route passes it.
#include <map>
#include <set>
#include <vector>

#include "module/data/SectionData.h"
#include "module/flow/calc/TransitAccumulation.h"
#include "platform/gis/DataRW.h"

namespace literal {

struct LiteralResult {
    TransitResult result;
    std::vector<std::vector<TAVGis::Topology::CSectionPtr>> routes;
};

inline void WriteAllDirections(const MainDirectionMap& map) {
    for (const auto& e : map)
        if (e.node && e.section) CSectionData::SetMAIN_SECT_OUT(e.node, e.section);
}

inline LiteralResult RunLiteralTransit(const std::vector<TAVGis::Topology::CSectionPtr>& sections,
                                       const std::vector<TAVGis::Topology::CNodePtr>& nodes,
                                       MainDirectionMap& map, const CTransitAccumulation::Flags& flags,
                                       const CTransitAccumulation::DirectionAsker& ask) {
    using TAVGis::Topology::CSection;
    using TAVGis::Topology::CSectionPtr;
    LiteralResult out;
    TransitResult& r = out.result;
    std::vector<CSectionPtr> heads;
    for (const auto& s : sections) {
        if (!s) continue;
        auto in = s->GetSectionsIn();
        TAVGis::Data::CDataRW::Delete("FLOW_TRANSIT", s);
        if (in.empty()) heads.push_back(s);
    }
    CTransitAccumulation::LoadMainDirections(nodes, map);

    std::set<const TAVGis::Topology::CNode*> queued;  // dividing nodes whose other branches are heads already
    for (std::size_t k = 0; k < heads.size(); ++k) {
        std::vector<CSectionPtr> route{heads[k]};
        std::set<const CSection*> visited;
        CSectionPtr current = heads[k];
        auto outgoing = current->GetSectionsOut();
        auto node = current->GetEndingNode();
        while (!outgoing.empty()) {
            CSectionPtr next;
            bool choice = false;
            bool queue = false;
            if (outgoing.size() == 1) {
                next = outgoing.front();
            } else if (CTransitAccumulation::EntryOf(map, node).section) {
                next = CTransitAccumulation::EntryOf(map, node).section;
                queue = !queued.count(node.get());
            } else {
                std::multimap<double, CSectionPtr> byDiameter;
                for (const auto& o : outgoing) {
                    TAVGis::Data::CDataBox box;
                    TAVGis::Data::CDataRW::Read("PIPE_DIA_IN", o, box);
                    if (box.IsNotNull()) byDiameter.emplace(box.ToDouble(), o);
                }
                if (!byDiameter.empty() && byDiameter.count(byDiameter.rbegin()->first) == 1)
                    next = byDiameter.rbegin()->second;
                if (!next) {
                    ++r.asked;
                    next = ask(node, outgoing);
                }
                if (!next) break;
                choice = true;
                queue = true;
            }
            if (visited.count(next.get())) {
                r.loop = true;
                r.heads = static_cast<int>(heads.size());
                r.routes = static_cast<int>(out.routes.size());
                return out;
            }
            visited.insert(next.get());
            if (queue) {
                queued.insert(node.get());
                for (const auto& o : outgoing) heads.push_back(o);
                for (auto it = heads.begin(); it != heads.end(); ++it)
                    if (*it == next) {
                        heads.erase(it);
                        break;
                    }
            }
            if (choice) {
                CTransitAccumulation::EntryOf(map, node).section = next;
                WriteAllDirections(map);
            }
            route.push_back(next);
            current = next;
            outgoing = current->GetSectionsOut();
            node = current->GetEndingNode();
        }
        out.routes.push_back(route);
    }
    r.heads = static_cast<int>(heads.size());
    r.routes = static_cast<int>(out.routes.size());

    std::set<const CSection*> processed;
    std::set<const CSection*> written;
    for (const auto& route : out.routes) {
        for (std::size_t i = 0; i < route.size(); ++i) {
            if (processed.count(route[i].get())) continue;
            const double q = CTransitAccumulation::OwnFlow(route[i], flags);
            CSectionData::SetFLOW_SECT_TOTAL(route[i], q);
            processed.insert(route[i].get());
            for (std::size_t j = i + 1; j < route.size(); ++j) {
                double t = CSectionData::GetFLOW_TRANSIT(route[j]);
                if (t == kMissingValue) t = 0.0;
                r.written = CSectionData::SetFLOW_TRANSIT(route[j], t + q) != 0;
                written.insert(route[j].get());
            }
        }
    }
    r.processed = static_cast<int>(processed.size());
    r.transitWrites = static_cast<int>(written.size());
    WriteAllDirections(map);
    return out;
}

}  // namespace literal
