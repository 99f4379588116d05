// The transit accumulation against the route-by-route reference on many generated networks: the same
// sections get the same own and transit flows, the same main directions are stored, the same questions
// are asked in the same order, and the outcome (loop, status) is the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "module/flow/LiteralTransit.h"
#include "module/flow/calc/TransitAccumulation.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "support/TestSupport.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

using TAVGis::Bench::TransitNetworkOptions;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

struct Outcome {
    TransitResult result;
    std::vector<std::string> asked;
    std::map<std::string, std::optional<double>> own;
    std::map<std::string, std::optional<double>> transit;
    std::map<std::string, std::optional<std::string>> mainOut;  // by the name of the stored section
};

std::optional<double> Number(const TAVGis::Topology::CEntityPtr& e, const char* attribute) {
    TAVGis::Data::CDataBox box;
    TAVGis::Data::CDataRW::Read(attribute, e, box);
    return box.IsNull() ? std::nullopt : std::optional<double>(box.ToDouble());
}

// Builds the network in a new drawing and runs one of the two calculations on it.
Outcome Calculate(const TransitNetworkOptions& options, std::uint32_t orderSeed,
                  const CTransitAccumulation::Flags& flags, bool literal) {
    auto* previous = acDocManagerPtr()->curDocument();
    auto& doc = acDocManagerPtr()->NewDocument(literal ? "Literal.gpkg" : "Fast.gpkg");
    auto system = TAVGis::System::CSystemManager::AddSystem("town", 0);
    TAVGis::System::CSystemManager::SetActiveSystem(system);
    auto& topo = TAVGis::Topology::TopologyOf(doc);
    TAVGis::Bench::GenerateTransitNetwork(topo, system, options);

    std::vector<CSectionPtr> sections(topo.Sections().begin(), topo.Sections().end());
    std::mt19937 order(orderSeed);
    std::shuffle(sections.begin(), sections.end(), order);
    std::vector<CNodePtr> nodes(topo.Nodes().begin(), topo.Nodes().end());

    // A person who never answers at some nodes, answers only the second time at others, and otherwise
    // picks an outgoing section that depends on the node and on how often it was asked there.
    Outcome out;
    std::map<std::string, int> times;
    auto ask = [&](const CNodePtr& node, const std::vector<CSectionPtr>& outgoing) -> CSectionPtr {
        out.asked.push_back(node->GetName());
        const int k = times[node->GetName()]++;
        const std::size_t h = std::hash<std::string>{}(node->GetName());
        if (h % 5 == 0 || (h % 5 == 1 && k == 0)) return {};
        return outgoing[(h / 5 + static_cast<std::size_t>(k)) % outgoing.size()];
    };
    MainDirectionMap map;
    if (literal)
        out.result = literal::RunLiteralTransit(sections, nodes, map, flags, ask).result;
    else
        out.result = CTransitAccumulation::Run(sections, nodes, map, flags, ask);

    for (const auto& s : topo.Sections()) {
        out.own[s->GetName()] = Number(s, "FLOW_SECT_TOTAL");
        out.transit[s->GetName()] = Number(s, "FLOW_TRANSIT");
    }
    for (const auto& n : topo.Nodes()) {
        TAVGis::Data::CDataBox box;
        TAVGis::Data::CDataRW::Read("MAIN_SECT_OUT", n, box);
        if (box.IsNull()) continue;
        auto target = topo.GetSectionByGuid(box.ToString());
        out.mainOut[n->GetName()] = target ? target->GetName() : std::string("<unresolved>");
    }
    acDocManagerPtr()->CloseDocument(doc);
    if (previous) acDocManagerPtr()->SetCurrent(*previous);
    return out;
}

void ExpectSameFlows(const std::map<std::string, std::optional<double>>& fast,
                     const std::map<std::string, std::optional<double>>& slow, const char* what) {
    ASSERT_EQ(fast.size(), slow.size());
    for (const auto& [name, value] : slow) {
        const auto& mine = fast.at(name);
        ASSERT_EQ(mine.has_value(), value.has_value()) << what << " of " << name;
        if (!value) continue;
        // Sums of the same terms in another order: equal up to rounding (m3/s).
        EXPECT_NEAR(*mine, *value, 1e-12 + 1e-12 * std::fabs(*value)) << what << " of " << name;
    }
}

struct Shape {
    const char* name;
    TransitNetworkOptions options;
    int seeds;
};

TransitNetworkOptions Options(double divisionShare, int recent, int byDiameter, int byStored, int equal,
                              int none, int stale = 0, int loops = 0, int isolated = 0) {
    TransitNetworkOptions o;
    o.sections = 120;
    o.divisionShare = divisionShare;
    o.recentNodes = recent;
    o.byDiameter = byDiameter;
    o.byStored = byStored;
    o.equalDiameters = equal;
    o.noDiameters = none;
    o.staleStored = stale;
    o.loops = loops;
    o.isolated = isolated;
    return o;
}

class TransitLiteralComparisonTest : public testsupport::DrawingTest {};

TEST_F(TransitLiteralComparisonTest, SameResultsAsRouteByRoute) {
    const std::vector<Shape> shapes = {
        {"chain", Options(0.0, 1, 1, 0, 0, 0), 3},
        {"tree with joins", Options(0.0, 12, 1, 0, 0, 0), 12},
        {"divisions by diameter", Options(0.2, 8, 1, 0, 0, 0), 20},
        {"divisions by stored direction", Options(0.2, 8, 0, 1, 0, 0, 1), 20},
        {"divisions by pick", Options(0.2, 8, 0, 0, 1, 1), 25},
        {"everything", Options(0.25, 10, 1, 1, 1, 1, 1, 0, 5), 25},
        {"loops", Options(0.15, 10, 1, 1, 1, 1, 0, 2, 2), 30},
    };
    CTransitAccumulation::Flags flags{};
    flags[2] = flags[4] = flags[8] = 1;  // waste by percent, simple rain, Turkish industrial (direct read)
    int loops = 0, asked = 0, partial = 0;
    for (const auto& shape : shapes) {
        for (int seed = 1; seed <= shape.seeds; ++seed) {
            SCOPED_TRACE(std::string(shape.name) + " seed " + std::to_string(seed));
            TransitNetworkOptions o = shape.options;
            o.seed = static_cast<std::uint32_t>(seed * 7919);
            const Outcome slow = Calculate(o, static_cast<std::uint32_t>(seed), flags, true);
            const Outcome fast = Calculate(o, static_cast<std::uint32_t>(seed), flags, false);
            EXPECT_EQ(fast.result.loop, slow.result.loop);
            EXPECT_EQ(fast.result.written, slow.result.written);
            EXPECT_EQ(fast.result.heads, slow.result.heads);
            EXPECT_EQ(fast.result.routes, slow.result.routes);
            EXPECT_EQ(fast.result.asked, slow.result.asked);
            EXPECT_EQ(fast.result.processed, slow.result.processed);
            EXPECT_EQ(fast.result.transitWrites, slow.result.transitWrites);
            EXPECT_EQ(fast.asked, slow.asked);
            EXPECT_EQ(fast.mainOut, slow.mainOut);
            ExpectSameFlows(fast.own, slow.own, "FLOW_SECT_TOTAL");
            ExpectSameFlows(fast.transit, slow.transit, "FLOW_TRANSIT");
            loops += slow.result.loop ? 1 : 0;
            asked += slow.result.asked > 0 ? 1 : 0;
            partial += std::count_if(slow.own.begin(), slow.own.end(),
                                     [](const auto& kv) { return !kv.second; }) > 0;
            if (HasFailure()) return;
        }
    }
    // The generated networks reach every case the comparison is meant for.
    EXPECT_GT(loops, 5);
    EXPECT_GT(asked, 20);
    EXPECT_GT(partial, 10);  // networks in which some sections stay outside every route
}

}  // namespace
