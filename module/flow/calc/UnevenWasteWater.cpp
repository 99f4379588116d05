#include "module/flow/calc/UnevenWasteWater.h"

#include <cmath>
#include <cstdint>

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "module/flow/calc/WasteWaterPercent.h"
#include "platform/gis/DataBox.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/Progress.h"
#include "platform/network/TopoEditor.h"
#include "platform/network/TopologyStorage.h"
#include "platform/sessions/WsManager.h"

using TAVGis::Data::CDataBox;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

namespace {

constexpr double kPercent = 100.0;

TAVGis::Topology::CTopologyStorage* TopologyOf(const std::vector<CSectionPtr>& sections) {
    for (const auto& s : sections)
        if (s) return s->Owner();
    return nullptr;
}

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

}  // namespace

double CUnevenWasteWater::MeanFlow(double population, double q, double t) {
    return population * q / (t * kSecondsPerHour);
}

double CUnevenWasteWater::FedorovCoefficient(double qm) {
    return qm != 0.0 ? kFedorovFactor / std::pow(qm, kFedorovExponent) : 0.0;
}

double CUnevenWasteWater::FuturePopulation(double n, double p, double years) {
    return n * std::pow(1.0 + p / kPercent, years);
}

std::vector<double> CUnevenWasteWater::Populations(const UnevenWasteWaterInput& in,
                                                   const std::vector<CSectionPtr>& selected,
                                                   UnevenWasteWaterResult& result) {
    auto* topo = TopologyOf(selected);
    std::vector<double> pop(topo ? topo->Sections().size() : 0, 0.0);
    const CFlowAttribute population("FLOW_SECTION_POPULATION");
    if (in.mode == UnevenWasteWaterInput::kModeFromTotal) {
        double lw = 0.0;  // m
        for (const auto& s : selected)
            if (s) lw += s->GetLength2D() * CWasteWaterPercent::DensityCoefficient(s);
        result.weightedLength = lw;
        result.futurePopulation = FuturePopulation(in.n, in.p, in.years);
        const double density = lw != 0.0 ? result.futurePopulation / lw : 0.0;  // inhabitants per m
        for (const auto& s : selected) {
            if (!s) continue;
            const double value = s->GetLength2D() * density * CWasteWaterPercent::DensityCoefficient(s);
            if (result.notFinite.Check(s->GetName(), population.Name(), value)) population.Set(*s, value);
            pop[At(s->Index())] = value;
        }
    } else if (in.mode == UnevenWasteWaterInput::kModeFromAttribute) {
        for (const auto& s : selected) {
            if (!s) continue;
            CDataBox box;
            population.Read(*s, box);
            pop[At(s->Index())] = box.IsNotNull() ? box.ToDouble() : 0.0;
        }
    }
    // Any other mode: no section has a population of its own.
    return pop;
}

void CUnevenWasteWater::DeleteResults(const std::vector<CSectionPtr>& selected) {
    const CFlowAttribute uneven("FLOW_WASTE_UNEVEN");
    for (const auto& s : selected)
        if (s) uneven.Erase(*s);
}

CSectionPtr CUnevenWasteWater::MainOutlet(const CNodePtr& node, MainDirectionMap& mainOutlets) {
    auto& entry = CTransitAccumulation::EntryOf(mainOutlets, node);
    if (!entry.section) CTransitAccumulation::LoadMainDirections({node}, mainOutlets);
    return CTransitAccumulation::EntryOf(mainOutlets, node).section;
}

void CUnevenWasteWater::WriteResults(const std::vector<std::pair<CSectionPtr, double>>& qm,
                                     const MainDirectionMap& mainOutlets, UnevenWasteWaterResult& result) {
    const CFlowAttribute meanFlow("FLOW_QSR_TOTAL");
    const CFlowAttribute fedorov("FLOW_FEDOROV");
    const CFlowAttribute uneven("FLOW_WASTE_UNEVEN");
    constexpr int kSection = TAVGis::Data::kEntitySection;
    TAVHost::CProgress progress("uneven waste water", qm.size());
    result.sections.reserve(qm.size());
    for (const auto& [section, value] : qm) {
        progress.Advance();
        UnevenSectionResult r;
        r.section = section;
        r.qm = value;
        r.k = FedorovCoefficient(value);
        r.qmax = value * r.k;
        result.sections.push_back(r);
        if (!result.notFinite.Check(section->GetName(), meanFlow.Name(), r.qm)) continue;
        meanFlow.Set(*section, r.qm);
        const double peak = r.qmax / kLitresPerCubicMetre;  // m3/s
        if (!result.notFinite.Check(section->GetName(), fedorov.Name(), r.k) ||
            !result.notFinite.Check(section->GetName(), uneven.Name(), peak))
            continue;
        TAVGis::Topology::CTopoEditor::WriteData(kSection, fedorov.Definition(), section, CDataBox(r.k),
                                                 section->GetSystem());
        if (TAVGis::Topology::CTopoEditor::WriteData(kSection, uneven.Definition(), section, CDataBox(peak),
                                                     section->GetSystem()))
            ++result.unevenWrites;
    }
    if (result.unevenWrites > 0)
        TAVGis::Workspace::CWsManager::LogMessage(TAVGis::CModuleConfiguration::GetMsg(kMsgResultsWritten));
    CTransitAccumulation::WriteMainDirections(mainOutlets);
}

namespace {

// The paths of one run: which path first reached each section (-1: none) and the successor it took (-1:
// the path ended there), by section index.
class PathForest {
public:
    explicit PathForest(std::size_t n) : m_pathOf(n, -1), m_next(n, -1) {}
    bool Reached(int s) const { return m_pathOf[At(s)] >= 0; }
    int PathOf(int s) const { return m_pathOf[At(s)]; }
    int Next(int s) const { return m_next[At(s)]; }
    void Reach(int s, int path) {
        m_pathOf[At(s)] = path;
        m_order.push_back(s);
    }
    void Link(int from, int to) { m_next[At(from)] = to; }
    // Every reached section, in the order the paths first reached them.
    const std::vector<int>& Order() const { return m_order; }

private:
    std::vector<int> m_pathOf;
    std::vector<int> m_next;
    std::vector<int> m_order;
};

}  // namespace

UnevenWasteWaterResult CUnevenWasteWater::Run(const UnevenWasteWaterInput& in,
                                              const std::vector<CSectionPtr>& selected,
                                              const std::vector<CNodePtr>& nodes,
                                              MainDirectionMap& mainOutlets, const DirectionAsker& ask) {
    UnevenWasteWaterResult result;
    // Every mean flow is divided by t: without a positive duration nothing can be calculated.
    if (!(in.t > 0.0)) {
        result.status = kMsgNoDuration;
        return result;
    }
    auto* topo = TopologyOf(selected);
    if (!topo) return result;
    const auto& all = topo->Sections();
    auto sectionAt = [&all](int index) -> const CSectionPtr& { return all[At(index)]; };

    CBatchWriteFrame frame;
    const std::vector<double> pop = Populations(in, selected, result);

    // Starts: selected sections none of whose incoming sections is selected.
    std::vector<std::uint8_t> isSelected(all.size(), 0);
    for (const auto& s : selected)
        if (s) isSelected[At(s->Index())] = 1;
    DeleteResults(selected);
    std::vector<int> starts;
    for (const auto& s : selected) {
        if (!s) continue;
        bool fedBySelection = false;
        for (const auto& u : s->GetSectionsIn())
            fedBySelection = fedBySelection || isSelected[At(u->Index())];
        if (!fedBySelection) starts.push_back(s->Index());
    }
    CTransitAccumulation::LoadMainDirections(nodes, mainOutlets);

    // Paths: each traced until it ends or reaches a section an earlier path reached.
    PathForest forest(all.size());
    std::vector<std::uint8_t> declined(topo->Nodes().size(), 0);  // nobody picked a direction here
    bool loop = false;
    auto trace = [&](int head) {
        if (forest.Reached(head)) return;
        const int path = result.starts++;
        forest.Reach(head, path);
        for (int cur = head;;) {
            const CSectionPtr& current = sectionAt(cur);
            const auto outgoing = current->GetSectionsOut();
            if (outgoing.empty()) return;
            CSectionPtr next;
            if (outgoing.size() == 1) {
                next = outgoing.front();
            } else {
                const CNodePtr& node = current->GetEndingNode();
                next = MainOutlet(node, mainOutlets);
                if (!next) {
                    if (declined[At(node->Index())]) return;
                    ++result.asked;
                    next = ask ? ask(node, outgoing) : CSectionPtr();
                    if (!next || next->GetStartingNode() != node) {
                        declined[At(node->Index())] = 1;
                        return;
                    }
                    CTransitAccumulation::EntryOf(mainOutlets, node).section = next;
                }
            }
            const int n = next->Index();
            if (forest.PathOf(n) == path) {
                loop = true;
                return;
            }
            forest.Link(cur, n);
            if (forest.Reached(n)) return;  // the rest of the way is an earlier path's
            forest.Reach(n, path);
            cur = n;
        }
    };
    for (int s : starts) {
        trace(s);
        if (loop) break;
    }
    // Selected sections no path reached start paths of their own.
    for (const auto& s : selected) {
        if (loop) break;
        if (s) trace(s->Index());
    }
    if (loop) {
        result.status = kMsgClosedLoop;
        return result;
    }

    // Own mean flows (l/s): the population's, and the stored mean flow of incoming sections outside the
    // calculation, each of those counted once, where its flow goes.
    const CFlowAttribute meanFlow("FLOW_QSR_TOTAL");
    const auto& order = forest.Order();
    std::vector<double> sum(all.size(), 0.0);
    for (int s : order) {
        const CSectionPtr& section = sectionAt(s);
        acedHighlightEntity(section->GetObjectId(), kHighlightColor);
        double q = MeanFlow(pop[At(s)], in.q, in.t);
        for (const auto& u : section->GetSectionsIn()) {
            if (forest.Reached(u->Index())) continue;
            CDataBox box;
            meanFlow.Read(*u, box);
            if (box.IsNull()) continue;
            // The section u's flow goes to: its only outgoing section, the node's main outlet, or (no main
            // outlet known) the first outgoing section in the calculation.
            const auto outgoing = u->GetSectionsOut();
            CSectionPtr receiver =
                outgoing.size() == 1 ? outgoing.front() : MainOutlet(u->GetEndingNode(), mainOutlets);
            if (!receiver)
                for (const auto& o : outgoing)
                    if (forest.Reached(o->Index())) {
                        receiver = o;
                        break;
                    }
            if (receiver == section) q += box.ToDouble();
        }
        sum[At(s)] = q;
    }

    // Accumulation down the forest, from the leaves: each section's Qm is its own flow plus the Qm of the
    // sections whose successor it is.
    std::vector<int> pending(all.size(), 0);
    for (int s : order)
        if (forest.Next(s) >= 0) ++pending[At(forest.Next(s))];
    std::vector<int> ready;
    ready.reserve(order.size());
    for (int s : order)
        if (pending[At(s)] == 0) ready.push_back(s);
    for (std::size_t i = 0; i < ready.size(); ++i) {
        const int to = forest.Next(ready[i]);
        if (to < 0) continue;
        sum[At(to)] += sum[At(ready[i])];
        if (--pending[At(to)] == 0) ready.push_back(to);
    }

    std::vector<std::pair<CSectionPtr, double>> qm;
    qm.reserve(order.size());
    for (int s : order) qm.emplace_back(sectionAt(s), sum[At(s)]);
    WriteResults(qm, mainOutlets, result);
    return result;
}
