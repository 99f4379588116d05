// The Turkish waste-water save on generated networks: what the dialog's save does after reading its
// controls: the parameter set stored, then every section of the network calculated and written (household
// flow with the upstream populations of the whole network, industrial and infiltration flows) in one
// transaction with both update sessions. Two shapes: trees with divisions (a division every tenth section),
// and networks whose divisions rejoin (relief pipes, loops). items_per_second = sections per second.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "bench/BenchNetworks.h"
#include "module/data/ConfigSets.h"
#include "module/flow/calc/TurkishHousehold.h"
#include "module/flow/calc/TurkishWasteWater.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/network/CatchmentArea.h"
#include "platform/network/TopologyStorage.h"

namespace {

using TAVGis::Topology::CSectionPtr;

using Network = TAVGis::Bench::BenchNetwork;

// A household area on every section (about 100 inhabitants), an industrial area on every tenth.
void AddCatchments(TAVGis::Topology::CTopologyStorage& topology,
                   const TAVGis::System::CGisSystemPtr& system) {
    int k = 0;
    const auto& sections = topology.Sections();
    for (std::size_t i = 0; i < sections.size(); ++i) {
        auto add = [&](int kind, double ha, double density) {
            auto a = topology.AddCatchmentArea("CA" + std::to_string(++k), system);
            a->kind = kind;
            a->areaHa = ha;
            a->densityInhabPerHa = density;
            topology.LinkCatchment(a, sections[i]->GetGuid());
        };
        add(TAVGis::Topology::kCatchmentHousehold, 0.5 + 0.01 * static_cast<double>(i % 7),
            150.0 + static_cast<double>(i % 50));
        if (i % 10 == 0) add(TAVGis::Topology::kCatchmentIndustrial, 1.5, 0.0);
    }
}

// shape 0: trees with divisions; shape 1: divisions that rejoin (1 % of the sections).
const Network& NetworkOf(int count, int shape) {
    return TAVGis::Bench::CachedNetwork(
        "TurkishBench", count,
        shape == 0 ? TAVGis::Bench::BenchShape::Divisions : TAVGis::Bench::BenchShape::Rejoining, 10,
        AddCatchments);
}

const CConfigSets& Sets() {
    static const CConfigSets sets = [] {
        CConfigSets s("BENCH_TURK", "", {"potrosnja", "peek", "koefPotrosnje"},
                      CConfigSets::NumberFormat::Fixed6);
        s.SetFormat("koefPotrosnje", CConfigSets::NumberFormat::Integer);
        return s;
    }();
    return sets;
}

// The save with all three switches on, over every section of the network.
void BM_SaveTurkishWasteWater(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    TurkishWasteWaterInput in;
    in.consumption = 150.0;
    in.consumptionCoefficient = 1.5;
    in.household = in.industrial = in.infiltration = true;
    const auto definitions = TurkishWasteDefinitions::LookUp();
    for (auto _ : state) {
        if (!Sets().Save("Bench set", {in.consumption, in.peakFactor, 2.0}).Proceed())
            state.SkipWithError("set not stored");
        const auto r = CTurkishWasteWater::Run(in, n.sections, definitions);
        if (r.written != 3 * static_cast<int>(n.sections.size()))
            state.SkipWithError("not every flow written");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveTurkishWasteWater)
    ->Args({2000, 0})
    ->Args({10000, 0})
    ->Args({200000, 0})
    ->Args({200000, 1})
    ->Unit(benchmark::kMillisecond);

// The household flows of the whole network alone (populations, upstream sums, Babbitt), for the linearity.
void BM_TurkishHouseholdForNetwork(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)), 0);
    const auto& topology = *n.sections.front()->Owner();
    for (auto _ : state) benchmark::DoNotOptimize(CTurkishHousehold::ForNetwork(topology, 150.0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TurkishHouseholdForNetwork)
    ->Arg(2000)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
