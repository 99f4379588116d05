// The hydraulic chain per section as the dimensioning runs it: a fresh CSewageHydraulics with the section's
// flow, slope, pipe (from the catalogue by GUID) and roughness, then filling height, partial-fill velocity,
// hydraulic values and flow time (section length from the topology). items_per_second = sections per
// second. For comparison, the same values computed with the pure formulas where each of them searches the
// filling height on its own.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

#include "platform/gis/SystemManager.h"
#include "platform/host/Document.h"
#include "platform/network/PipeManager.h"
#include "platform/network/TopologyStorage.h"
#include "platform/sewage/PipeHydraulics.h"
#include "platform/sewage/SewageHydraulics.h"
#include "testing/NetworkGenerator.h"
#include "testing/TestPipeCatalogue.h"

namespace {

using TAVGis::Sewage::CPipeHydraulics;
using TAVGis::Sewage::CSewageHydraulics;

constexpr int kSections = 10000;
constexpr double kViscosity = 1.31e-6;  // m2/s
constexpr double kMinFillRatio = 0.05;  // flow as a share of the pipe's full-bore flow
constexpr double kMaxFillRatio = 1.0;

struct SCase {
    std::string sectionGuid;
    std::string pipeGuid;
    double dFlow = 0.0;       // m3/s
    double dSlope = 0.0;      // fraction
    double dRoughness = 0.0;  // m
    double dDiameter = 0.0;   // m (for the pure-formula comparison)
    double dLength = 0.0;     // m
};

// One drawing with a chain of sections and the sample catalogue, built once.
const std::vector<SCase>& Cases() {
    static const std::vector<SCase> cases = [] {
        acDocManagerPtr()->NewDocument("HydraulicsBench.gpkg");
        auto system = TAVGis::System::CSystemManager::AddSystem("bench", 0);
        TAVGis::System::CSystemManager::SetActiveSystem(system);
        auto& topology = TAVGis::Topology::TopologyOf(*acDocManagerPtr()->curDocument());
        TAVGis::Bench::NetworkOptions options;
        options.sections = kSections;
        options.shape = TAVGis::Bench::NetworkShape::Chain;
        options.withFlows = options.withSlopes = options.withDiameters = false;
        TAVGis::Bench::GenerateNetwork(topology, system, options);
        testpipes::LoadPipeCatalogue(testpipes::ReadPipeSeries());

        auto* pipes = TAVGis::Data::CPipeManager::GetInstance();
        std::vector<TAVGis::Data::CCatalogItemPtr> all;
        std::vector<TAVGis::Data::CCatalogItemPtr> groups;
        pipes->GetPipeGroups(groups, 1);
        for (const auto& group : groups) {
            std::vector<TAVGis::Data::CCatalogItemPtr> list;
            pipes->GetSortedPipesForGroupGUID(group->GetGUID(), list, 1);
            all.insert(all.end(), list.begin(), list.end());
        }
        std::mt19937 random(20240601);
        std::uniform_int_distribution<std::size_t> pickPipe(0, all.size() - 1);
        std::uniform_real_distribution<double> slopePerMille(1.0, 30.0);
        std::uniform_real_distribution<double> fill(kMinFillRatio, kMaxFillRatio);
        std::vector<SCase> out;
        for (const auto& section : topology.Sections()) {
            const auto& pipe = all[pickPipe(random)];
            SCase c;
            c.sectionGuid = section->GetGuid();
            c.pipeGuid = pipe->GetGUID();
            c.dSlope = slopePerMille(random) / 1000.0;
            c.dRoughness = pipes->GetPipeRoughness(pipe) / 1000.0;
            c.dDiameter = pipes->GetInnerDiameter(pipe) / 1000.0;
            c.dLength = section->GetLength2D();
            const auto full = CPipeHydraulics::FullBore(c.dDiameter, c.dSlope, c.dRoughness, kViscosity);
            if (!full) throw std::runtime_error("a sample pipe has no full-bore flow");
            c.dFlow = fill(random) * full->dFlow;
            out.push_back(c);
        }
        return out;
    }();
    return cases;
}

void BM_SectionChain(benchmark::State& state) {
    const auto& cases = Cases();
    std::int64_t failures = 0;
    for (auto _ : state) {
        for (const SCase& c : cases) {
            CSewageHydraulics h;
            h.SetStrSectionGuid(c.sectionGuid);
            h.SetStrPipeGuid(c.pipeGuid);
            h.SetDProtok(c.dFlow);
            h.SetDPad(c.dSlope);
            h.SetDHrapavost(c.dRoughness);
            h.SetDViskozitet(kViscosity);
            const bool ok = h.CalculateFillingHeight() && h.CalculateVelocityForPartiallyFilled() &&
                            h.CalculateHydraulicsValues() && h.CalculateFlowTime();
            if (!ok) ++failures;
            benchmark::DoNotOptimize(h.GetDVrijemeTecenja());
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cases.size()));
    state.counters["failures"] = static_cast<double>(failures);
}
BENCHMARK(BM_SectionChain)->Unit(benchmark::kMillisecond);

// The same values from the pure formulas, each call searching the filling height again.
void BM_PureFormulasSearchingEachTime(benchmark::State& state) {
    const auto& cases = Cases();
    for (auto _ : state) {
        for (const SCase& c : cases) {
            const auto height =
                CPipeHydraulics::FillingHeight(c.dFlow, c.dDiameter, c.dSlope, c.dRoughness, kViscosity);
            const auto velocity = CPipeHydraulics::PartialFillVelocity(c.dFlow, c.dDiameter, c.dSlope,
                                                                       c.dRoughness, kViscosity);
            const auto values =
                CPipeHydraulics::HydraulicValues(c.dFlow, c.dDiameter, c.dSlope, c.dRoughness, kViscosity);
            const auto time = CPipeHydraulics::FlowTime(
                c.dLength,
                CPipeHydraulics::PartialFillVelocity(c.dFlow, c.dDiameter, c.dSlope, c.dRoughness, kViscosity)
                    .value_or(0.0));
            benchmark::DoNotOptimize(height);
            benchmark::DoNotOptimize(velocity);
            benchmark::DoNotOptimize(values);
            benchmark::DoNotOptimize(time);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(cases.size()));
}
BENCHMARK(BM_PureFormulasSearchingEachTime)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
