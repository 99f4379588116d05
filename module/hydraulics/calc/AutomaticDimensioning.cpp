#include "module/hydraulics/calc/AutomaticDimensioning.h"

#include "module/data/SectionData.h"
#include "module/hydraulics/calc/UpstreamVisit.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Progress.h"
#include "platform/network/PipeManager.h"
#include "platform/network/TopologyMultiStorage.h"

using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVGis::Topology::CSectionPtr;
using Status = AutomaticDimensioningStatus;

namespace {

// The sections of the active system in the topology's order (what selecting all elements of the active
// system gives); false when there is no active system or no drawing topology.
bool SectionsOfSystem(const TAVGis::System::CGisSystemPtr& system, std::vector<CSectionPtr>& sections) {
    auto* topology = TAVGis::Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    if (!system || !topology) return false;
    for (const auto& s : topology->Sections())
        if (s->GetSystem() == system) sections.push_back(s);
    return true;
}

bool IsRoot(const CSectionPtr& section, const TAVGis::System::CGisSystemPtr& system) {
    for (const auto& out : section->GetSectionsOut())
        if (out && out->GetSystem() == system) return false;
    return true;
}

}  // namespace

DimensioningGroup CAutomaticDimensioning::DescribeGroup(const TAVGis::Data::CCatalogItemPtr& group) {
    DimensioningGroup g;
    if (!group) return g;
    const auto* pm = TAVGis::Data::CPipeManager::GetInstance();
    g.item = group;
    g.guid = group->GetGUID();
    g.name = group->GetName();
    pm->GetSortedPipesForGroupGUID(g.guid, g.pipes, 1);
    if (g.pipes.empty() || !g.pipes.front()) {
        g.pipes.clear();
        return g;
    }
    g.roughness = pm->GetPipeRoughness(g.pipes.front());
    g.typeId = pm->GetPipeTypeID(g.pipes.front());
    return g;
}

AutomaticDimensioningResult CAutomaticDimensioning::Run(const AutomaticDimensioningInputs& in,
                                                        const Callbacks& callbacks) {
    AutomaticDimensioningResult result;
    auto system = TAVGis::System::CSystemManager::GetActiveSystem();

    if (in.sections.empty()) {
        result.status = Status::NoSections;
        return result;
    }
    const char* filledName = in.mode == kModeMinimumSlope ? "SECTION_SLOPE" : "PIPE_REF";
    for (const auto& s : in.sections) {
        if (!s) continue;
        if (in.missingOnly) {
            CDataBox box;
            if (CDataRW::Read(filledName, s, box, 0, {}) && box.IsNotNull()) continue;
        }
        result.toCalculate.insert(s->GetGuid());
    }

    std::vector<CSectionPtr> all;
    if (!SectionsOfSystem(system, all) || all.empty()) {
        result.status = Status::NoRoots;
        return result;
    }
    for (const auto& s : all)
        if (s && IsRoot(s, system)) result.roots.push_back(s);

    CUpdateSessionsFrame sessions;  // closed on every path out of the run
    if (callbacks.onStarted) callbacks.onStarted();

    DimensioningSettings settings;
    if (!in.group) {
        result.status = Status::NoGroup;
        return result;
    }
    settings.group = DescribeGroup(in.group);
    if (settings.group.pipes.empty()) {
        result.status = Status::NoPipes;
        return result;
    }
    if (!in.viscosity || *in.viscosity == 0.0) {
        result.status = Status::NoViscosity;
        return result;
    }
    settings.system = system;
    settings.viscosity = *in.viscosity;
    settings.mode = in.mode;
    settings.method = in.method;
    settings.upstreamCriterion = in.upstreamCriterion;
    settings.fillingCriterion = in.fillingCriterion;
    settings.minimumCriterion = in.minimumCriterion;
    settings.filling = in.filling;
    settings.minimum = in.minimum;
    settings.precision = in.precision;
    const CSectionDimensioning rules(std::move(settings));

    // A section's dimensioning reads and writes a good part of its attributes: a drawing opened from a file
    // reads them for the whole network in one pass rather than one column at a time.
    if (!result.roots.empty() && result.roots.front()->AttributeStore()) {
        const auto& store = *result.roots.front()->AttributeStore();
        store.LoadPending(TAVGis::Data::CDataConfiguration::GetInstance().Definitions(store.EntityType()));
    }
    result.rows.reserve(result.toCalculate.size());  // one row each
    CUpstreamVisit visit;                            // one for all roots: a section is handed over once
    TAVHost::CProgress progress("dimensioning", result.toCalculate.size());
    auto dimension = [&](const CSectionPtr& s) {
        if (result.toCalculate.find(s->GetGuid()) == result.toCalculate.end()) return;
        progress.Advance();
        result.rows.push_back(rules.Dimension(s));
        if (callbacks.onRow) callbacks.onRow(result.rows.back());
    };
    for (const auto& root : result.roots) visit.Visit(root, dimension);
    return result;
}
