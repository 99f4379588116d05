// Network core benchmarks: building a 200,000-section network, reading and writing one attribute on every
// section, neighbours of every section, and the memory of 60 attributes on 200,000 sections.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "testing/NetworkGenerator.h"

namespace {

using namespace TAVGis;

struct Drawing {
    TAVHost::Document* doc;
    System::CGisSystemPtr system;
    explicit Drawing(int sections, Bench::NetworkShape shape = Bench::NetworkShape::Tree) {
        doc = &acDocManagerPtr()->NewDocument("bench.gpkg");
        system = System::CSystemManager::AddSystem("town", 0);
        System::CSystemManager::SetActiveSystem(system);
        Bench::NetworkOptions o;
        o.sections = sections;
        o.shape = shape;
        o.withFlows = o.withSlopes = o.withDiameters = false;
        Bench::GenerateNetwork(Topology::TopologyOf(*doc), system, o);
    }
    ~Drawing() { acDocManagerPtr()->CloseDocument(*doc); }
    Topology::CTopologyStorage& Topo() { return Topology::TopologyOf(*doc); }
};

long ResidentKiB() {
    std::ifstream in("/proc/self/status");
    std::string key;
    long value = 0;
    while (in >> key) {
        if (key == "VmRSS:") {
            in >> value;
            return value;
        }
        in.ignore(1 << 12, '\n');
    }
    return 0;
}

void BM_BuildNetwork(benchmark::State& state) {
    for (auto _ : state) {
        Drawing d(static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(d.Topo().Sections().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildNetwork)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_AttributeWriteEverySection(benchmark::State& state) {
    Drawing d(static_cast<int>(state.range(0)));
    double v = 0.0;
    for (auto _ : state)
        for (const auto& s : d.Topo().Sections())
            Data::CDataRW::Write("FLOW_TOTAL", s, Data::CDataBox(v += 1.0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AttributeWriteEverySection)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_AttributeReadEverySection(benchmark::State& state) {
    Drawing d(static_cast<int>(state.range(0)));
    for (const auto& s : d.Topo().Sections()) Data::CDataRW::Write("FLOW_TOTAL", s, Data::CDataBox(1.0));
    double sum = 0;
    Data::CDataBox box;
    for (auto _ : state) {
        for (const auto& s : d.Topo().Sections()) {
            Data::CDataRW::Read("FLOW_TOTAL", s, box);
            sum += box.ToDouble();
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AttributeReadEverySection)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_InAndOutOfEverySection(benchmark::State& state) {
    Drawing d(static_cast<int>(state.range(0)));
    std::size_t n = 0;
    for (auto _ : state)
        for (const auto& s : d.Topo().Sections()) n += s->GetSectionsIn().size() + s->GetSectionsOut().size();
    benchmark::DoNotOptimize(n);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_InAndOutOfEverySection)->Arg(200000)->Unit(benchmark::kMillisecond);

// Every section upstream of each section: the answer itself is quadratic in size on deep networks, so the
// walk is measured on the outlet (the whole network) and per section over a sample.
void BM_PreviousSectionsOfOutlet(benchmark::State& state) {
    Drawing d(static_cast<int>(state.range(0)));
    const auto& outlet = d.Topo().Sections().front();
    std::size_t n = 0;
    for (auto _ : state) n += outlet->GetPreviousSections().size();
    benchmark::DoNotOptimize(n);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PreviousSectionsOfOutlet)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_PreviousSectionsSample(benchmark::State& state) {
    Drawing d(static_cast<int>(state.range(0)));
    const auto& all = d.Topo().Sections();
    std::size_t n = 0;
    for (auto _ : state)
        for (std::size_t i = 0; i < all.size(); i += all.size() / 1000)
            n += all[i]->GetPreviousSections().size();
    benchmark::DoNotOptimize(n);
    state.counters["upstream_per_query"] =
        benchmark::Counter(static_cast<double>(n) / state.iterations() / 1000.0);
}
BENCHMARK(BM_PreviousSectionsSample)->Arg(200000)->Unit(benchmark::kMillisecond);

// 60 attributes on every one of 200,000 sections: resident memory of the whole process after filling.
void BM_SixtyAttributesMemory(benchmark::State& state) {
    for (auto _ : state) {
        long before = ResidentKiB();
        Drawing d(static_cast<int>(state.range(0)));
        const auto& defs = Data::CDataConfiguration::GetInstance().Definitions(Data::kEntitySection);
        int written = 0;
        for (const auto* def : defs) {
            if (written == 60) break;
            if (def->GetValueType() != Data::ValueType::Double) continue;
            for (const auto& s : d.Topo().Sections()) Data::CDataRW::Write(def, s, Data::CDataBox(1.5));
            ++written;
        }
        long after = ResidentKiB();
        state.counters["attributes"] = written;
        state.counters["network_MiB"] = static_cast<double>(after - before) / 1024.0;
        state.counters["process_MiB"] = static_cast<double>(after) / 1024.0;
    }
}
BENCHMARK(BM_SixtyAttributesMemory)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
