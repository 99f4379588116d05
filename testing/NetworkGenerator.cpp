#include "testing/NetworkGenerator.h"

#include <random>
#include <vector>

#include "platform/gis/DataRW.h"

namespace TAVGis::Bench {

namespace {
constexpr double kSectionLength = 40.0;  // m, plan distance between generated nodes
}

GeneratedNetwork GenerateNetwork(Topology::CTopologyStorage& topo, const System::CGisSystemPtr& system,
                                 const NetworkOptions& o) {
    std::mt19937 rng(o.seed);
    GeneratedNetwork g;
    std::vector<Topology::CNodePtr> nodes;
    std::vector<Topology::CSectionPtr> sections;
    auto newNode = [&](double x, double y) {
        auto n = topo.AddNode("N" + std::to_string(nodes.size() + 1), x, y, system, 100.0 + 0.001 * y);
        nodes.push_back(n);
        return n;
    };
    auto newSection = [&](const Topology::CNodePtr& a, const Topology::CNodePtr& b, double dia) {
        auto s = topo.AddSection(o.prefix + std::to_string(sections.size() + 1), a, b, system);
        sections.push_back(s);
        if (o.withFlows) {
            Data::CDataRW::Write("FLOW_WASTE_PER", *s,
                                 Data::CDataBox(0.0005 + 0.00001 * (sections.size() % 7)));
            Data::CDataRW::Write("FLOW_RAIN", *s, Data::CDataBox(0.002));
        }
        if (o.withSlopes)
            Data::CDataRW::Write("SECTION_SLOPE", *s, Data::CDataBox(3.0 + (sections.size() % 5)));
        if (o.withDiameters) Data::CDataRW::Write("PIPE_DIA_IN", *s, Data::CDataBox(dia));
        return s;
    };

    // The outlet: the first section ends at node 1.
    auto outlet = newNode(0.0, 0.0);
    auto first = newNode(kSectionLength, 0.0);
    newSection(first, outlet, 0.5);
    while (static_cast<int>(sections.size()) < o.sections) {
        const int k = static_cast<int>(sections.size());
        Topology::CSectionPtr below;
        if (o.shape == NetworkShape::Chain) {
            below = sections.back();
        } else {
            std::uniform_int_distribution<int> pick(std::max(0, k - 64), k - 1);
            below = sections[static_cast<std::size_t>(pick(rng))];
        }
        // A new section ending where `below` starts.
        auto end = below->GetStartingNode();
        auto start = newNode(end->X() + kSectionLength, end->Y() + (static_cast<double>(k % 9) - 4.0) * 3.0);
        auto s = newSection(start, end, 0.4);
        if (o.shape == NetworkShape::Divisions && o.divisionEvery > 0 && k % o.divisionEvery == 0 &&
            static_cast<int>(sections.size()) < o.sections) {
            // A second, smaller pipe leaving the same start node: a division decided by diameter.
            auto side = newNode(start->X() + 5.0, start->Y() - kSectionLength);
            newSection(start, side, 0.25);
            ++g.divisions;
        }
    }
    g.sections = static_cast<int>(sections.size());
    g.nodes = static_cast<int>(nodes.size());
    return g;
}

}  // namespace TAVGis::Bench
