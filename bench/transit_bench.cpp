// Transit accumulation plus total flow on generated trees whose branches join and whose divisions are
// decided by the larger inner diameter, as the flow main dialog runs them: every section's own flow,
// FLOW_TRANSIT and FLOW_TOTAL written. items_per_second = sections per second; the complexity fit over
// the sizes shows how the time grows. For comparison, the route-by-route reference on the smallest size.
#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchNetworks.h"
#include "module/flow/LiteralTransit.h"
#include "module/flow/calc/TotalFlow.h"
#include "module/flow/calc/TransitAccumulation.h"

namespace {

constexpr int kDivisionEvery = 40;  // one division by diameter per this many sections

using Network = TAVGis::Bench::BenchNetwork;

const Network& NetworkOf(int sections) {
    return TAVGis::Bench::CachedNetwork("TransitBench", sections, TAVGis::Bench::BenchShape::Divisions,
                                        kDivisionEvery);
}

CTransitAccumulation::Flags Flags() {
    CTransitAccumulation::Flags f{};
    f[2] = 1;  // waste water by percent
    f[4] = 1;  // rain, simple method
    return f;
}

CTotalFlow::Flags TotalOwnPlusTransit() {
    CTotalFlow::Flags f{};
    f[3] = 1;  // transit
    f[4] = 1;  // own flow
    return f;
}

CTransitAccumulation::DirectionAsker NobodyAsked() {
    return [](const auto&, const auto&) -> TAVGis::Topology::CSectionPtr {
        throw std::logic_error("a division not decided by diameter");
    };
}

void BM_TransitPlusTotal(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MainDirectionMap
            map;  // a new dialog each time: directions come from MAIN_SECT_OUT after the first run
        const TransitResult r = CTransitAccumulation::Run(n.sections, n.nodes, map, Flags(), NobodyAsked());
        if (r.loop || !r.written) state.SkipWithError("transit not written");
        benchmark::DoNotOptimize(CTotalFlow::Write(n.sections, TotalOwnPlusTransit()));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TransitPlusTotal)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_TransitRouteByRoute(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        MainDirectionMap map;
        const auto r = literal::RunLiteralTransit(n.sections, n.nodes, map, Flags(), NobodyAsked());
        if (r.result.loop || !r.result.written) state.SkipWithError("transit not written");
        benchmark::DoNotOptimize(CTotalFlow::Write(n.sections, TotalOwnPlusTransit()));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TransitRouteByRoute)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
