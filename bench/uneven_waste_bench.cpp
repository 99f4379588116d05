// Uneven waste water (Fedorov) on generated trees whose branches join and whose divisions are decided by
// the larger inner diameter (the direction a person would pick), as the dialog runs it on the whole
// network: populations spread from N, p and T and written, paths traced, mean flows accumulated,
// FLOW_QSR_TOTAL, FLOW_FEDOROV and FLOW_WASTE_UNEVEN written on every section. items_per_second = sections
// per second; the complexity fit over the sizes shows how the time grows. For comparison, the path-by-path
// reference of the tests on the smallest size.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchNetworks.h"
#include "module/flow/LiteralUneven.h"
#include "module/flow/calc/UnevenWasteWater.h"

namespace {

constexpr int kDivisionEvery = 40;  // one division per this many sections

using Network = TAVGis::Bench::BenchNetwork;

const Network& NetworkOf(int sections) {
    return TAVGis::Bench::CachedNetwork("UnevenBench", sections, TAVGis::Bench::BenchShape::Divisions,
                                        kDivisionEvery);
}

// The person picks the larger pipe at every division.
CUnevenWasteWater::DirectionAsker PicksTheLargerPipe() {
    return [](const auto&, const std::vector<TAVGis::Topology::CSectionPtr>& outgoing) {
        auto picked = CTransitAccumulation::DirectionByDiameter(outgoing);
        if (!picked) throw std::logic_error("a division not decided by diameter");
        return picked;
    };
}

void BM_UnevenWasteWater(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MainDirectionMap
            table;  // a new dialog each time: main outlets from MAIN_SECT_OUT after the first run
        const auto r =
            CUnevenWasteWater::Run(UnevenWasteWaterInput(), n.sections, n.nodes, table, PicksTheLargerPipe());
        if (r.status != 0 || r.unevenWrites == 0) state.SkipWithError("nothing written");
        benchmark::DoNotOptimize(r.sections.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UnevenWasteWater)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_UnevenPathByPath(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MainDirectionMap table;
        const auto r = literal::RunLiteralUneven(UnevenWasteWaterInput(), n.sections, n.nodes, table,
                                                 PicksTheLargerPipe());
        if (r.status != 0 || r.unevenWrites == 0) state.SkipWithError("nothing written");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UnevenPathByPath)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
