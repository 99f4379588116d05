// Whole-network saves of waste water by area, simple rain, additional flows and flow input data on
// generated trees with divisions (one household area per section, a rain area on every second and an
// industrial area on every tenth): what each dialog's Save does after reading its controls: the parameter
// set stored, every section calculated, written and tagged with the set's name. The Bulgarian run includes
// the upstream household sums of the whole network. items_per_second = sections per second.
#include <benchmark/benchmark.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchNetworks.h"
#include "module/data/ConfigSets.h"
#include "module/flow/calc/AdditionalFlows.h"
#include "module/flow/calc/FlowInputData.h"
#include "module/flow/calc/SimpleRainFlow.h"
#include "module/flow/calc/UpstreamSums.h"
#include "module/flow/calc/WasteWaterArea.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/network/TopologyStorage.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

using TAVGis::Topology::CSectionPtr;

using Network = TAVGis::Bench::BenchNetwork;

// One household area per section, a rain area on every second, an industrial area on every tenth, a
// Bulgarian waste-water value on every third.
void AddAreas(TAVGis::Topology::CTopologyStorage& topology, const TAVGis::System::CGisSystemPtr& system) {
    const auto& sections = topology.Sections();
    int k = 0;
    auto area = [&](const CSectionPtr& s, int kind, double ha, double density, double runoff) {
        auto a = topology.AddCatchmentArea("CA" + std::to_string(++k), system);
        a->kind = kind;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        a->runoffCoefficient = runoff;
        topology.LinkCatchment(a, s->GetGuid());
    };
    for (std::size_t i = 0; i < sections.size(); ++i) {
        area(sections[i], 2, 0.2 + 0.01 * static_cast<double>(i % 7), 80.0 + static_cast<double>(i % 50),
             0.4);
        if (i % 2 == 0) area(sections[i], 1, 0.3, 0.0, 0.7);
        if (i % 10 == 0) area(sections[i], 4, 1.5, 0.0, 0.85);
        if (i % 3 == 0)
            TAVGis::Data::CDataRW::Write("FLOW_BLG_WASTE", sections[i], TAVGis::Data::CDataBox(1.1));
    }
}

const Network& NetworkOf(int count) {
    return TAVGis::Bench::CachedNetwork("AreaFlowsBench", count, TAVGis::Bench::BenchShape::Divisions, 10,
                                        AddAreas);
}

const CConfigSets& Sets() {
    static const CConfigSets sets("BENCH_CONFIG", "BENCH_TAG", {"value"}, CConfigSets::NumberFormat::Fixed4);
    return sets;
}

// The dialog's Save: the set stored, then the calculation with a tag per section.
template <class Run>
void Save(benchmark::State& state, Run run) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto saved = Sets().Save("Bench set", {1.0});
        if (!saved.Proceed()) state.SkipWithError("set not stored");
        const bool written = run(n.sections, [&saved](const CSectionPtr& s) { Sets().Tag(s, saved.name); });
        if (!written) state.SkipWithError("nothing written");
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SaveWasteWaterAreaBulgarian(benchmark::State& state) {
    Save(state, [](const auto& sections, const auto& tag) {
        WasteWaterAreaInput in;
        in.household = in.industrial = true;
        in.standard = WasteStandard::Bulgarian;
        // Two thirds of the sections have no factor: left alone, as the dialog would.
        return CWasteWaterArea::Run(in, sections, tag).householdWrites > 0;
    });
}
BENCHMARK(BM_SaveWasteWaterAreaBulgarian)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_SaveWasteWaterAreaGeneral(benchmark::State& state) {
    Save(state, [](const auto& sections, const auto& tag) {
        WasteWaterAreaInput in;
        in.household = in.industrial = true;
        return CWasteWaterArea::Run(in, sections, tag).written;
    });
}
BENCHMARK(BM_SaveWasteWaterAreaGeneral)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_SaveSimpleRain(benchmark::State& state) {
    Save(state, [](const auto& sections, const auto& tag) {
        return CSimpleRainFlow::Run(SimpleRainInput{}, sections, tag).written;
    });
}
BENCHMARK(BM_SaveSimpleRain)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_SaveAdditionalFlows(benchmark::State& state) {
    Save(state, [](const auto& sections, const auto& tag) {
        AdditionalFlowsInput in;
        in.foreign = in.point = in.additional = in.user = true;
        return CAdditionalFlows::Run(in, sections, tag).written;
    });
}
BENCHMARK(BM_SaveAdditionalFlows)->Arg(200000)->Unit(benchmark::kMillisecond);

// Flow input data tags nothing; every row ticked.
void BM_SaveFlowInputData(benchmark::State& state) {
    Save(state, [](const auto& sections, const auto&) {
        CFlowInputData::Values values;
        for (int row = 0; row < CFlowInputData::kRows; ++row)
            if (!CFlowInputData::IsSeparator(row)) values[static_cast<std::size_t>(row)] = 6.0;
        return CFlowInputData::Write(values, sections).written;
    });
}
BENCHMARK(BM_SaveFlowInputData)->Arg(200000)->Unit(benchmark::kMillisecond);

// The upstream sums alone, for the linearity.
void BM_UpstreamSums(benchmark::State& state) {
    const Network& n = NetworkOf(static_cast<int>(state.range(0)));
    const auto& topology = *n.sections.front()->Owner();
    std::vector<CUpstreamSums::Values> own(n.sections.size(), CUpstreamSums::Values{1.0, 2.0});
    for (auto _ : state) benchmark::DoNotOptimize(CUpstreamSums::Compute(topology, own));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_UpstreamSums)
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The upstream sums on networks whose divisions rejoin: a share of the sections (the second argument, per
// mille) leave a node that has an outgoing section already and end at one of the twelve most recent nodes,
// so the branches of a division run apart until they meet somewhere downstream.
void BM_UpstreamSumsRejoining(benchmark::State& state) {
    static std::map<std::pair<int, int>, TAVHost::Document*> docs;
    const int count = static_cast<int>(state.range(0));
    const int perMille = static_cast<int>(state.range(1));
    auto it = docs.find({count, perMille});
    if (it == docs.end()) {
        auto* doc = &acDocManagerPtr()->NewDocument("UpstreamBench" + std::to_string(count) + "_" +
                                                    std::to_string(perMille) + ".gpkg");
        auto system = TAVGis::System::CSystemManager::AddSystem("rejoin", 0);
        TAVGis::Bench::TransitNetworkOptions o;
        o.sections = count;
        o.divisionShare = perMille / 1000.0;
        TAVGis::Bench::GenerateTransitNetwork(TAVGis::Topology::TopologyOf(*doc), system, o);
        it = docs.emplace(std::make_pair(count, perMille), doc).first;
    }
    acDocManagerPtr()->SetCurrent(*it->second);
    const auto& topology = TAVGis::Topology::TopologyOf(*it->second);
    std::vector<CUpstreamSums::Values> own(topology.Sections().size(), CUpstreamSums::Values{1.0, 2.0});
    CUpstreamSums::Stats stats;
    for (auto _ : state) benchmark::DoNotOptimize(CUpstreamSums::Compute(topology, own, &stats));
    state.counters["overlaps"] = stats.joinsWithOverlap;
    state.counters["walked"] = stats.explicitUnions;
    state.counters["longest_list"] = static_cast<double>(stats.longestOpenList);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UpstreamSumsRejoining)
    ->Args({10000, 150})
    ->Args({200000, 1})
    ->Args({200000, 10})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
