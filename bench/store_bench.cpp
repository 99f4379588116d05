// Drawing files and imports at the size of a large town: a drawing of 200,000 sections saved whole, saved
// in place after one attribute changed on every section, and opened, and an EPA SWMM input file of 200,000
// conduits read and put into a new drawing. Target: each under 5 s.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/DrawingFile.h"
#include "platform/store/NetworkImporter.h"
#include "platform/store/SwmmReader.h"
#include "testing/InpGenerator.h"
#include "testing/NetworkGenerator.h"

namespace {

namespace fs = std::filesystem;
constexpr int kSections = 200000;

fs::path BenchDir() {
    auto dir = fs::temp_directory_path() / ("store_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

TAVGis::System::CGisSystemPtr SewageSystem(TAVHost::Document& doc) {
    auto& gis = TAVGis::GisData(doc);
    gis.systems.push_back(TAVGis::System::CGisSystemPtr(new TAVGis::System::CGisSystem(1, "town", 0)));
    gis.activeSystem = gis.systems.back();
    return gis.activeSystem;
}

std::unique_ptr<TAVHost::Document> BigDrawing() {
    auto doc = std::make_unique<TAVHost::Document>("big.gpkg");
    TAVGis::Bench::NetworkOptions options;
    options.sections = kSections;
    options.shape = TAVGis::Bench::NetworkShape::Divisions;
    TAVGis::Bench::GenerateNetwork(TAVGis::Topology::TopologyOf(*doc), SewageSystem(*doc), options);
    return doc;
}

// The whole drawing written: each iteration saves to another file than the one before.
void BM_SaveDrawing200k(benchmark::State& state) {
    auto doc = BigDrawing();
    const fs::path dir = BenchDir();
    int k = 0;
    for (auto _ : state)
        TAVGis::Store::CDrawingFile::Save(*doc, dir / ("save" + std::to_string(++k % 2) + ".gpkg"));
    state.counters["sections"] = kSections;
    state.counters["MB"] = static_cast<double>(fs::file_size(dir / "save1.gpkg")) / 1e6;
    fs::remove_all(dir);
}
BENCHMARK(BM_SaveDrawing200k)->Unit(benchmark::kMillisecond)->Iterations(3);

// Saved again to its file after changing one attribute on every section: written in place.
void BM_SaveChangedAttribute200k(benchmark::State& state) {
    auto doc = BigDrawing();
    const fs::path file = BenchDir() / "save.gpkg";
    TAVGis::Store::CDrawingFile::Save(*doc, file);
    const auto* flow = TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(
        TAVGis::Data::kEntitySection, "FLOW_TOTAL");
    auto& store = TAVGis::GisData(*doc).sectionStore;
    double value = 0.0;
    for (auto _ : state) {
        state.PauseTiming();  // changing the values is not part of saving them
        value += 1.0;
        for (int row = 0; row < store.RowCount(); ++row) store.Set(*flow, row, TAVGis::Data::CDataBox(value));
        state.ResumeTiming();
        TAVGis::Store::CDrawingFile::Save(*doc, file);
    }
    state.counters["sections"] = kSections;
    state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
    fs::remove_all(file.parent_path());
}
BENCHMARK(BM_SaveChangedAttribute200k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OpenDrawing200k(benchmark::State& state) {
    const fs::path file = BenchDir() / "open.gpkg";
    TAVGis::Store::CDrawingFile::Save(*BigDrawing(), file);
    std::size_t sections = 0;
    for (auto _ : state) {
        auto doc = TAVGis::Store::CDrawingFile::Open(file);
        sections = TAVGis::Topology::TopologyOf(*doc).Sections().size();
        state.PauseTiming();  // freeing the drawing is not part of opening it
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["sections"] = static_cast<double>(sections);
    fs::remove_all(file.parent_path());
}
BENCHMARK(BM_OpenDrawing200k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportInp200k(benchmark::State& state) {
    TAVGis::Bench::SInpGeneratorOptions options;
    options.conduits = kSections;
    options.subcatchmentEvery = 10;
    const fs::path file = BenchDir() / "big.inp";
    TAVGis::Bench::CInpGenerator(options).WriteFile(file);
    std::size_t sections = 0;
    for (auto _ : state) {
        auto doc = std::make_unique<TAVHost::Document>("import.gpkg");
        auto network = std::make_unique<TAVGis::Store::SImportNetwork>();
        TAVGis::Store::CSwmmReader().ReadFile(file, *network);
        auto result = TAVGis::Store::CNetworkImporter(*doc, SewageSystem(*doc)).Import(*network);
        sections = result.sectionsAdded;
        state.PauseTiming();  // freeing the drawing and the model is not part of the import
        network.reset();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["sections"] = static_cast<double>(sections);
    fs::remove_all(file.parent_path());
}
BENCHMARK(BM_ImportInp200k)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
