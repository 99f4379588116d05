#pragma once
// The uneven waste-water calculation followed path by path: the reference the one-pass accumulation is
// compared with (tests and the benchmark). Every path is walked in full to its end, also over the sections
// an earlier path walked, with its own set of sections met (a section met twice on one path is a closed
// loop); then, path by path and position by position, each section's own mean flow is added, the first
// time a path meets the section, to the section's entry and to the entry of every later section of the same
// path. Its cost grows with the square of the path lengths.
//
// It follows the same rules as the calculation: paths start at the selected sections none of whose incoming
// sections is selected, then at the selected sections no path reached; a division is decided by the main
// outlet (table or MAIN_SECT_OUT) or asked, a division where nothing was picked ends every path that comes
// to it and is not asked about again; a stored FLOW_QSR_TOTAL of an incoming section outside the paths
// counts once, for the section its flow goes to.
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "module/data/SectionData.h"
#include "module/flow/calc/UnevenWasteWater.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopologyStorage.h"

namespace literal {

inline UnevenWasteWaterResult RunLiteralUneven(const UnevenWasteWaterInput& in,
                                               const std::vector<TAVGis::Topology::CSectionPtr>& selected,
                                               const std::vector<TAVGis::Topology::CNodePtr>& nodes,
                                               MainDirectionMap& table,
                                               const CUnevenWasteWater::DirectionAsker& ask) {
    using TAVGis::Topology::CNode;
    using TAVGis::Topology::CSection;
    using TAVGis::Topology::CSectionPtr;
    UnevenWasteWaterResult result;
    if (!(in.t > 0.0)) {
        result.status = CUnevenWasteWater::kMsgNoDuration;
        return result;
    }
    if (selected.empty()) return result;
    const auto pop = CUnevenWasteWater::Populations(in, selected, result);
    CUnevenWasteWater::DeleteResults(selected);
    std::set<const CSection*> isSelected;
    for (const auto& s : selected) isSelected.insert(s.get());
    std::vector<CSectionPtr> starts;
    for (const auto& s : selected) {
        bool fed = false;
        for (const auto& u : s->GetSectionsIn()) fed = fed || isSelected.count(u.get());
        if (!fed) starts.push_back(s);
    }
    CTransitAccumulation::LoadMainDirections(nodes, table);

    std::vector<std::vector<CSectionPtr>> paths;
    std::set<const CSection*> onAPath;
    std::set<const CNode*> declined;
    auto trace = [&](const CSectionPtr& s0) -> bool {  // false: a closed loop
        if (!onAPath.count(s0.get())) ++result.starts;
        std::vector<CSectionPtr> path{s0};
        std::set<const CSection*> local{s0.get()};
        for (CSectionPtr s = s0;;) {
            const auto out = s->GetSectionsOut();
            const auto n = s->GetEndingNode();
            CSectionPtr next;
            if (out.empty()) break;
            if (out.size() == 1) {
                next = out.front();
            } else {
                next = CUnevenWasteWater::MainOutlet(n, table);
                if (!next) {
                    if (declined.count(n.get())) break;
                    ++result.asked;
                    next = ask(n, out);
                    if (!next || next->GetStartingNode() != n) {
                        declined.insert(n.get());
                        break;
                    }
                    CTransitAccumulation::EntryOf(table, n).section = next;
                }
            }
            if (local.count(next.get())) return false;
            path.push_back(next);
            local.insert(next.get());
            s = next;
        }
        for (const auto& s : path) onAPath.insert(s.get());
        paths.push_back(path);
        return true;
    };
    for (const auto& s : starts)
        if (!trace(s)) {
            result.status = CUnevenWasteWater::kMsgClosedLoop;
            return result;
        }
    for (const auto& s : selected)
        if (!onAPath.count(s.get()) && !trace(s)) {
            result.status = CUnevenWasteWater::kMsgClosedLoop;
            return result;
        }

    std::set<const CSection*> visited;
    std::map<const CSection*, double> entry;
    std::vector<CSectionPtr> firstOrder;
    for (const auto& path : paths) {
        for (std::size_t i = 0; i < path.size(); ++i) {
            const auto& s = path[i];
            if (!visited.insert(s.get()).second) continue;
            firstOrder.push_back(s);
            double q = CUnevenWasteWater::MeanFlow(pop[static_cast<std::size_t>(s->Index())], in.q, in.t);
            for (const auto& u : s->GetSectionsIn()) {
                if (onAPath.count(u.get())) continue;
                TAVGis::Data::CDataBox box;
                TAVGis::Data::CDataRW::Read("FLOW_QSR_TOTAL", u, box);
                if (box.IsNull()) continue;
                const auto out = u->GetSectionsOut();
                CSectionPtr receiver =
                    out.size() == 1 ? out.front() : CUnevenWasteWater::MainOutlet(u->GetEndingNode(), table);
                for (std::size_t k = 0; !receiver && k < out.size(); ++k)
                    if (onAPath.count(out[k].get())) receiver = out[k];
                if (receiver == s) q += box.ToDouble();
            }
            for (std::size_t j = i; j < path.size(); ++j) entry[path[j].get()] += q;
        }
    }
    std::vector<std::pair<CSectionPtr, double>> qm;
    for (const auto& s : firstOrder) qm.emplace_back(s, entry[s.get()]);
    CBatchWriteFrame frame;
    CUnevenWasteWater::WriteResults(qm, table, result);
    return result;
}

}  // namespace literal
