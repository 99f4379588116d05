// The uneven waste-water calculation against the path-by-path reference on many generated networks with
// joins, divisions (decided by a stored main outlet, stale stored outlets, or asked), branches that rejoin,
// isolated sections and loops, on random selections: the same sections get the same mean flows,
// coefficients, peak flows and populations, the same main outlets are stored, the same questions are asked
// in the same order, and the outcome is the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "module/flow/LiteralUneven.h"
#include "module/flow/calc/UnevenWasteWater.h"
#include "platform/gis/DataRW.h"
#include "platform/gis/SystemManager.h"
#include "support/TestSupport.h"
#include "testing/TransitNetworkGenerator.h"

namespace {

using TAVGis::Bench::TransitNetworkOptions;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;

constexpr const char* kCompared[] = {"FLOW_QSR_TOTAL", "FLOW_FEDOROV", "FLOW_WASTE_UNEVEN",
                                     "FLOW_SECTION_POPULATION"};

struct Outcome {
    int status = 0;
    int starts = 0;
    std::vector<std::string> asked;
    std::map<std::string, std::optional<double>> values;  // "section attribute" -> value
    std::map<std::string, std::string> mainOut;           // node -> section name
};

std::optional<double> Number(const TAVGis::Topology::CEntityPtr& e, const char* attribute) {
    TAVGis::Data::CDataBox box;
    TAVGis::Data::CDataRW::Read(attribute, e, box);
    return box.IsNull() ? std::nullopt : std::optional<double>(box.ToDouble());
}

Outcome Calculate(const TransitNetworkOptions& options, std::uint32_t seed, const UnevenWasteWaterInput& in,
                  bool literal) {
    auto* previous = acDocManagerPtr()->curDocument();
    auto& doc = acDocManagerPtr()->NewDocument(literal ? "Literal.gpkg" : "Fast.gpkg");
    auto system = TAVGis::System::CSystemManager::AddSystem("town", 0);
    TAVGis::System::CSystemManager::SetActiveSystem(system);
    auto& topo = TAVGis::Topology::TopologyOf(doc);
    TAVGis::Bench::GenerateTransitNetwork(topo, system, options);

    // Populations, density coefficients and mean flows stored by an earlier calculation; a selection of
    // about two thirds of the sections in random order, with the nodes of the network.
    std::mt19937 rng(seed);
    auto uniform = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<CSectionPtr> selected;
    for (const auto& s : topo.Sections()) {
        if (uniform(0, 4) > 0)
            TAVGis::Data::CDataRW::Write("FLOW_SECTION_POPULATION", s,
                                         TAVGis::Data::CDataBox(1.0 * uniform(0, 400)));
        if (uniform(0, 3) == 0)
            TAVGis::Data::CDataRW::Write("FLOW_COEFDEN", s, TAVGis::Data::CDataBox(0.5 * uniform(1, 4)));
        if (uniform(0, 2) == 0)
            TAVGis::Data::CDataRW::Write("FLOW_QSR_TOTAL", s, TAVGis::Data::CDataBox(0.01 * uniform(1, 300)));
        if (uniform(0, 2) > 0) selected.push_back(s);
    }
    std::shuffle(selected.begin(), selected.end(), rng);
    std::vector<CNodePtr> nodes(topo.Nodes().begin(), topo.Nodes().end());

    // A person who never answers at some nodes and otherwise picks an outgoing section that depends on the
    // node.
    Outcome out;
    auto ask = [&](const CNodePtr& node, const std::vector<CSectionPtr>& outgoing) -> CSectionPtr {
        out.asked.push_back(node->GetName());
        const std::size_t h = std::hash<std::string>{}(node->GetName());
        if (h % 4 == 0) return {};
        return outgoing[(h / 4) % outgoing.size()];
    };
    MainDirectionMap table;
    const auto r = literal ? literal::RunLiteralUneven(in, selected, nodes, table, ask)
                           : CUnevenWasteWater::Run(in, selected, nodes, table, ask);
    out.status = r.status;
    out.starts = r.starts;
    for (const auto& s : topo.Sections())
        for (const char* attribute : kCompared)
            out.values[s->GetName() + " " + attribute] = Number(s, attribute);
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

TransitNetworkOptions Options(double divisionShare, int recent, int byStored, int asked, int stale, int loops,
                              int isolated) {
    TransitNetworkOptions o;
    o.sections = 150;
    o.divisionShare = divisionShare;
    o.recentNodes = recent;
    o.byDiameter = 0;  // diameters decide nothing here: such divisions are asked
    o.byStored = byStored;
    o.equalDiameters = asked;
    o.noDiameters = 0;
    o.staleStored = stale;
    o.loops = loops;
    o.isolated = isolated;
    return o;
}

class UnevenLiteralComparisonTest : public testsupport::DrawingTest {};

TEST_F(UnevenLiteralComparisonTest, SameResultsAsPathByPath) {
    struct Shape {
        const char* name;
        TransitNetworkOptions options;
        int seeds;
    };
    const std::vector<Shape> shapes = {
        {"chain", Options(0.0, 1, 0, 0, 0, 0, 0), 3},
        {"tree with joins", Options(0.0, 12, 0, 0, 0, 0, 0), 10},
        {"divisions by stored outlet, rejoining", Options(0.2, 8, 1, 0, 1, 0, 0), 20},
        {"divisions asked, rejoining", Options(0.2, 8, 0, 1, 0, 0, 0), 20},
        {"everything", Options(0.25, 10, 2, 1, 1, 0, 5), 20},
        {"loops", Options(0.15, 10, 1, 1, 0, 2, 2), 20},
    };
    int loops = 0, asked = 0, compared = 0;
    for (const auto& shape : shapes) {
        for (int seed = 1; seed <= shape.seeds; ++seed) {
            SCOPED_TRACE(std::string(shape.name) + " seed " + std::to_string(seed));
            auto options = shape.options;
            options.seed = static_cast<std::uint32_t>(seed);
            UnevenWasteWaterInput in;
            in.mode = seed % 2;  // both population modes
            in.t = seed % 3 == 0 ? 12.0 : 24.0;
            const auto seedRng = static_cast<std::uint32_t>(seed * 7919);
            const Outcome fast = Calculate(options, seedRng, in, false);
            const Outcome slow = Calculate(options, seedRng, in, true);
            ASSERT_EQ(fast.status, slow.status);
            EXPECT_EQ(fast.starts, slow.starts);
            EXPECT_EQ(fast.asked, slow.asked);
            EXPECT_EQ(fast.mainOut, slow.mainOut);
            ASSERT_EQ(fast.values.size(), slow.values.size());
            for (const auto& [key, value] : slow.values) {
                const auto& mine = fast.values.at(key);
                ASSERT_EQ(mine.has_value(), value.has_value()) << key;
                if (!value) continue;
                // The same terms summed in another order: equal up to rounding.
                EXPECT_NEAR(*mine, *value, 1e-10 + 1e-12 * std::fabs(*value)) << key;
                ++compared;
            }
            loops += fast.status == CUnevenWasteWater::kMsgClosedLoop;
            asked += static_cast<int>(fast.asked.size());
        }
    }
    // The shapes did what they are for: some runs met loops, people were asked, results were compared.
    EXPECT_GT(loops, 0);
    EXPECT_GT(asked, 0);
    EXPECT_GT(compared, 10000);
}

}  // namespace
