// The Turkish influence areas over the whole network: what Calculate does after reading its check box:
// every section's parameters read, the sums over each section and everything upstream of it, the hourly
// peaks, the old results deleted and the eleven new ones written. On generated trees with divisions (a
// division at every tenth section) and on networks whose divisions rejoin; Set parameters on every
// section. items_per_second = sections per second.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/BenchNetworks.h"
#include "module/flow/calc/InfluenceAreasTurkish.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/network/TopologyStorage.h"

namespace {

using TAVGis::Topology::CSectionPtr;

using Network = TAVGis::Bench::BenchNetwork;

// Household areas, densities and the five parameters on every section, a point flow on every twentieth.
void Fill(const std::vector<CSectionPtr>& sections) {
    using TAVGis::Data::CDataBox;
    using TAVGis::Data::CDataRW;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto& s = sections[i];
        CDataRW::Write("HOUSE_WASTE", s, CDataBox(0.2 + 0.01 * static_cast<double>(i % 7)));
        CDataRW::Write("POP_DENSITY_AREA", s, CDataBox(80.0 + static_cast<double>(i % 50)));
        CDataRW::Write("TUR_INF_FLOW_PER_POP", s, CDataBox(144.0));
        CDataRW::Write("TUR_COEFF_INF", s, CDataBox(0.1));
        CDataRW::Write("TUR_COEFF_ADD", s, CDataBox(0.25));
        CDataRW::Write("TUR_KMIN_D", s, CDataBox(0.7));
        CDataRW::Write("TUR_KMAX_D", s, CDataBox(1.3));
        if (i % 20 == 0) CDataRW::Write("FLOW_POINT", s, CDataBox(0.001));
    }
}

// shape 0: a tree with a division at every tenth section; shape 1: divisions that rejoin (10 per mille of
// the sections leave a node that has an outgoing section already).
const Network& NetworkOf(int count, int shape) {
    return TAVGis::Bench::CachedNetwork(
        "InfluenceBench", count,
        shape == 0 ? TAVGis::Bench::BenchShape::Divisions : TAVGis::Bench::BenchShape::Rejoining, 10,
        [](auto& topology, const auto&) { Fill(topology.Sections()); });
}

void BM_InfluenceAreasCalculate(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const auto r = CInfluenceAreasTurkish::Calculate(n.sections, true);
        if (r.sectionsWritten != static_cast<int>(n.sections.size())) state.SkipWithError("not all written");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_InfluenceAreasCalculate)
    ->Args({10000, 0})
    ->Args({50000, 0})
    ->Args({200000, 0})
    ->Args({200000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_InfluenceAreasSetParameters(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)), 0);
    for (auto _ : state) {
        const auto r = CInfluenceAreasTurkish::SetParameters(InfluenceParameters{}, &n.sections);
        if (r.sectionsWritten != static_cast<int>(n.sections.size())) state.SkipWithError("not all written");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InfluenceAreasSetParameters)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
