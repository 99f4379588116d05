// Automatic dimensioning as the page runs it: roots of the active system, the upstream-first visit, the rules
// for every section (a fresh sewage-core object each), one result row, the writes and the display requests
// per section. Generated trees of 10,000 and 200,000 sections with FLOW_TOTAL, SECTION_SLOPE and the sample
// pipe catalogue. items_per_second = sections dimensioned per second.
//   BM_DimensionMinimumDiameter: minimum-diameter mode, method 0 (without conditions), first pipe group.
//   BM_DimensionFillingCriterion: minimum-diameter mode, method 2 with the filling criterion; the second
//     argument is the target filling (%): 90 (the default, met by the first pipe tried) and 50 (the walk
//     goes on through larger pipes).
//   BM_DimensionChain: method 0 on a chain of 200,000 sections (the deepest visit).
//   BM_DimensionDivisions: method 0 on trees of 10,000 and 200,000 sections with a division at every tenth
//     section (a second section leaving the same node, ending at a node of its own: another root above
//     which the whole network upstream of the division lies). Every section still gets one row.
//   BM_DimensionWithoutPage: minimum-diameter mode, method 0, the run (CAutomaticDimensioning) alone: no
//     result list and no display requests; the difference to BM_DimensionMinimumDiameter is the page's share.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <tuple>

#include "module/app/ModuleResources.h"
#include "module/hydraulics/calc/AutomaticDimensioning.h"
#include "module/hydraulics/dlg_proracun_automatski.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/network/PipeManager.h"
#include "platform/network/TopologyStorage.h"
#include "testing/NetworkGenerator.h"
#include "testing/TestPipeCatalogue.h"

namespace {

using TAVUi::Notification;

constexpr double kMinFlow = 0.002;  // m3/s
constexpr double kMaxFlow = 0.25;   // m3/s, carried by the largest pipes of the first group at 3 per mille

struct Drawing {
    TAVHost::Document* doc = nullptr;
    int sections = 0;
};

// One drawing per network, built once and kept.
Drawing& NetworkOf(int sections, TAVGis::Bench::NetworkShape shape, int divisionEvery = 0) {
    static std::map<std::tuple<int, int, int>, Drawing> drawings;
    auto& d = drawings[{sections, static_cast<int>(shape), divisionEvery}];
    if (d.doc) {
        acDocManagerPtr()->SetCurrent(*d.doc);
        return d;
    }
    d.doc = &acDocManagerPtr()->NewDocument("Dimensioning" + std::to_string(sections) + ".gpkg");
    auto system = TAVGis::System::CSystemManager::AddSystem("bench", 0);
    TAVGis::System::CSystemManager::SetActiveSystem(system);
    auto& topology = TAVGis::Topology::TopologyOf(*d.doc);
    TAVGis::Bench::NetworkOptions options;
    options.sections = sections;
    options.shape = shape;
    options.divisionEvery = divisionEvery;
    options.withFlows = false;
    options.withDiameters = false;
    options.withSlopes = true;  // SECTION_SLOPE 3 to 7 per mille
    d.sections = TAVGis::Bench::GenerateNetwork(topology, system, options).sections;
    std::mt19937 random(4711);
    std::uniform_real_distribution<double> flow(kMinFlow, kMaxFlow);
    for (const auto& s : topology.Sections())
        TAVGis::Data::CDataRW::Write("FLOW_TOTAL", *s, TAVGis::Data::CDataBox(flow(random)));
    testpipes::LoadPipeCatalogue(testpipes::ReadPipeSeries());
    return d;
}

// The automatic page, created from its template with every section of the drawing handed over.
std::unique_ptr<dlg_proracun_automatski> Page() {
    acDocManagerPtr()->pushResourceHandle(TavxModuleInstance());
    auto page = std::make_unique<dlg_proracun_automatski>();
    const bool created = page->Create(nullptr);
    acDocManagerPtr()->popResourceHandle();
    if (!created) throw std::runtime_error("the automatic page's template is missing");
    const auto& sections = TAVGis::Topology::TopologyOf(CurrentDocument()).Sections();
    page->SetSections(sections);
    page->EnableCalculate(true);
    return page;
}

void RunPage(benchmark::State& state, dlg_proracun_automatski& page, int sections) {
    for (auto _ : state) {
        page.Notify(dlg_proracun_automatski::IDC_CALCULATE, Notification::Clicked);
        benchmark::DoNotOptimize(page.Results().GetItemCount());
    }
    if (page.Results().GetItemCount() != sections) state.SkipWithError("not every section got a row");
    int dimensioned = 0;
    const auto* list = page.Results().Control();
    for (int r = 0; r < list->GetItemCount(); ++r)
        if (!list->GetItemText(r, 1).empty()) ++dimensioned;
    state.counters["dimensioned"] = dimensioned;
    state.SetItemsProcessed(state.iterations() * sections);
}

void BM_DimensionMinimumDiameter(benchmark::State& state) {
    auto& d = NetworkOf(static_cast<int>(state.range(0)), TAVGis::Bench::NetworkShape::Tree);
    auto page = Page();
    page->Notify(dlg_proracun_automatski::IDC_RADIO_MIN_DIAMETER, Notification::Clicked);
    page->Notify(dlg_proracun_automatski::IDC_RADIO_WITHOUT_CONDITIONS, Notification::Clicked);
    RunPage(state, *page, d.sections);
}

void BM_DimensionFillingCriterion(benchmark::State& state) {
    auto& d = NetworkOf(static_cast<int>(state.range(0)), TAVGis::Bench::NetworkShape::Tree);
    auto page = Page();
    page->Notify(dlg_proracun_automatski::IDC_RADIO_MIN_DIAMETER, Notification::Clicked);
    page->Notify(dlg_proracun_automatski::IDC_RADIO_CONDITIONS, Notification::Clicked);
    if (!page->IsDlgButtonChecked(dlg_proracun_automatski::IDC_CHECK_FILLING))
        page->Notify(dlg_proracun_automatski::IDC_CHECK_FILLING, Notification::Clicked);
    page->SetDlgItemText(dlg_proracun_automatski::IDC_EDIT_FILLING, std::to_string(state.range(1)));
    RunPage(state, *page, d.sections);
}

void BM_DimensionChain(benchmark::State& state) {
    auto& d = NetworkOf(static_cast<int>(state.range(0)), TAVGis::Bench::NetworkShape::Chain);
    auto page = Page();
    RunPage(state, *page, d.sections);
}

void BM_DimensionDivisions(benchmark::State& state) {
    auto& d = NetworkOf(static_cast<int>(state.range(0)), TAVGis::Bench::NetworkShape::Divisions, 10);
    auto page = Page();
    page->Notify(dlg_proracun_automatski::IDC_RADIO_MIN_DIAMETER, Notification::Clicked);
    page->Notify(dlg_proracun_automatski::IDC_RADIO_WITHOUT_CONDITIONS, Notification::Clicked);
    RunPage(state, *page, d.sections);
}

void BM_DimensionWithoutPage(benchmark::State& state) {
    auto& d = NetworkOf(static_cast<int>(state.range(0)), TAVGis::Bench::NetworkShape::Tree);
    AutomaticDimensioningInputs in;
    in.sections = TAVGis::Topology::TopologyOf(CurrentDocument()).Sections();
    std::vector<TAVGis::Data::CCatalogItemPtr> groups;
    TAVGis::Data::CPipeManager::GetInstance()->GetPipeGroups(groups, 1);
    if (groups.empty()) return state.SkipWithError("no pipe group");
    in.group = groups.front();
    in.viscosity = dlg_proracun_automatski::kDefaultViscosity;
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = CAutomaticDimensioning::Run(in).rows.size();
        benchmark::DoNotOptimize(rows);
    }
    if (rows != static_cast<std::size_t>(d.sections))
        state.SkipWithError("not every section was dimensioned");
    state.SetItemsProcessed(state.iterations() * d.sections);
}

BENCHMARK(BM_DimensionMinimumDiameter)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DimensionFillingCriterion)
    ->Args({10000, 90})
    ->Args({200000, 90})
    ->Args({10000, 50})
    ->Args({200000, 50})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK(BM_DimensionChain)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_DimensionDivisions)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DimensionWithoutPage)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
