// The sewage core's calculators on generated trees with divisions: rain by the time-of-flow method
// (001_RAIN_ITP, Reinhold intensities, every section with its own pipe, slope and a rain area, so every
// section runs the flow-time steps of the pipe hydraulics) and the ISKI waste-water peak; each run writes
// every section and tags it with the parameter set. items_per_second = sections per second.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchNetworks.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopologyStorage.h"
#include "platform/sewage/FlowCalculator.h"

namespace {

using TAVGis::Data::CDataBox;
using TAVGis::Topology::CSectionPtr;

using Network = TAVGis::Bench::BenchNetwork;

// Every section with a pipe and one catchment area (rain and household areas in turn).
void AddPipesAndAreas(TAVGis::Topology::CTopologyStorage& topology,
                      const TAVGis::System::CGisSystemPtr& system) {
    const auto& sections = topology.Sections();
    int k = 0;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto& s = sections[i];
        // Pipes large enough for the whole tree's rain at the outlet.
        TAVGis::Data::CDataRW::Write("PIPE_DIA_IN", s, CDataBox(3.0));
        TAVGis::Data::CDataRW::Write("PIPE_ROUGHNESS", s, CDataBox(1.5));
        auto a = topology.AddCatchmentArea("CA" + std::to_string(++k), system);
        a->kind = i % 2 ? 1 : 2;
        a->areaHa = 0.02 + 0.001 * static_cast<double>(i % 7);
        a->densityInhabPerHa = 80.0;
        a->runoffCoefficient = 0.6;
        topology.LinkCatchment(a, s->GetGuid());
    }
}

const Network& NetworkOf(int count) {
    return TAVGis::Bench::CachedNetwork("FlowCalculatorsBench", count, TAVGis::Bench::BenchShape::Divisions,
                                        10, AddPipesAndAreas, true);
}

void Run(benchmark::State& state, const std::string& name, bool reinhold) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    auto calc = TAVGis::Sewage::CFlowCalculatorManager::GetInstance()->GetFlowCalculator(name);
    auto params = calc->CreateCalculationParameters();
    if (reinhold) params->GetProperties().GetPropertyExByTag("RAINFALL_MODE")->SetHiddenValue(CDataBox(2484));
    for (auto _ : state)
        if (!calc->RunCalculation(n.sections, params, true, true, nullptr))
            state.SkipWithError("not calculated");
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_RainItp(benchmark::State& state) {
    Run(state, "001_RAIN_ITP", true);
}
BENCHMARK(BM_RainItp)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_Iski(benchmark::State& state) {
    Run(state, "002_WASTE_ISKI", false);
}
BENCHMARK(BM_Iski)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
