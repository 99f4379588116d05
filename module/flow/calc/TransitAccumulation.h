#pragma once
// CTransitAccumulation: carries the own flow of every section downstream along the routes of the network.
//
// A calculation deletes FLOW_TRANSIT on every section of the list, starts a route at every head (a section
// without incoming sections) and follows each route downstream: through a node with one outgoing section,
// into the stored main direction of a dividing node, or into a main direction chosen now (the unique
// largest PIPE_DIA_IN, else the person picks it). The first time a route passes a dividing node in a
// calculation, the node's other outgoing sections are queued as new heads, whether the main direction was
// chosen now or stored before: were a stored direction not to queue them, every calculation after the
// first would delete FLOW_TRANSIT below the side branches and never write it again, so a repeated
// calculation would lose results the first one wrote. Routes are processed in order; the first route that
// contains a section writes the section's own flow FLOW_SECT_TOTAL and adds it to FLOW_TRANSIT of every
// section after it on that route. A section met twice on one route (a closed loop) stops the calculation
// before anything but the deletions and the main directions chosen so far is written.
//
// How the results are computed: every step of a route goes from a section to its successor, and a
// successor, once taken, never changes within a calculation. The steps taken form a forest (a section
// points to its successor). A route walks new sections one by one and jumps over sections walked by
// earlier routes to the end of their chain (union-find with path halving), so building all routes costs
// O(N log N) instead of the sum of the route lengths. A route R adds the own flow q(s) of each section s it
// is the first to contain to the forest path from s's successor up to R's last section; such path additions
// are recorded at their two ends and summed in one pass from the leaves down the forest, so each section
// gets one FLOW_SECT_TOTAL and one FLOW_TRANSIT write. FLOW_TRANSIT is written exactly where the
// route-by-route rule writes it (also where 0 is added), and "written" is the result of the write the
// route-by-route rule makes last: the one to the last section of the last route that adds anything.
// Sums may differ from the route-by-route order of additions in the last bits (floating-point rounding).
#include <array>
#include <functional>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "module/flow/calc/FlowComponentSum.h"
#include "platform/network/Section.h"

// The main direction chosen at a node, kept by node index (CEntity::Index); the section may be empty.
struct MainDirectionEntry {
    TAVGis::Topology::CNodePtr node;
    TAVGis::Topology::CSectionPtr section;
};
using MainDirectionMap = std::vector<MainDirectionEntry>;

struct TransitResult {
    bool loop = false;     // a closed loop stopped the calculation
    bool written = false;  // the last FLOW_TRANSIT write succeeded
    int heads = 0;         // entries the head list held at the end
    int routes = 0;
    int processed = 0;      // sections that received FLOW_SECT_TOTAL
    int transitWrites = 0;  // sections that received FLOW_TRANSIT
    int asked = 0;          // times the person was asked for a direction
    // Own flows and transit flows that are not finite (flows of 1e308 joining): not written, the section
    // keeps no FLOW_SECT_TOTAL / its FLOW_TRANSIT stays deleted; the value still flows downstream, so every
    // section below gets no finite transit either and is named here too.
    CNonFiniteValues notFinite;
};

class CTransitAccumulation {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    using CNodePtr = TAVGis::Topology::CNodePtr;
    // Asks the person for the main direction at a node; an empty handle when nothing was picked.
    using DirectionAsker =
        std::function<CSectionPtr(const CNodePtr& node, const std::vector<CSectionPtr>& outgoing)>;

    static constexpr int kComponentCount = 10;
    // The components of a section's own flow, in the order in which they are summed.
    static constexpr std::array<FlowComponent, kComponentCount> kComponents = {{
        {"FLOW_ADDITIONAL", FlowRead::Typed},
        {"FLOW_WASTE_HOME", FlowRead::Typed},
        {"FLOW_WASTE_PER", FlowRead::Typed},
        {"FLOW_WASTE_IND", FlowRead::Typed},
        {"FLOW_RAIN", FlowRead::Typed},
        {"FLOW_FOREIGN", FlowRead::Typed},
        {"FLOW_POINT", FlowRead::Typed},
        {"FLOW_USER", FlowRead::Typed},
        {"FLOW_TUR_WASTE_IND", FlowRead::Direct},
        {"FLOW_TUR_WASTE_INF", FlowRead::Direct},
    }};
    // One flag per component, 1 when it is ticked.
    using Flags = std::array<int, kComponentCount>;

    // Own flow of a section (m3/s): the ticked components summed in row order; a result equal to the
    // missing-value sentinel counts as 0.
    static double OwnFlow(const CSectionPtr& section, const Flags& flags);

    // Reads MAIN_SECT_OUT of every node into the map. A stored section that does not leave the node (the
    // network was edited after it was stored) is not a direction there: the entry stays empty.
    static void LoadMainDirections(const std::vector<CNodePtr>& nodes, MainDirectionMap& map);
    // Writes MAIN_SECT_OUT for every entry with a node and a section.
    static void WriteMainDirections(const MainDirectionMap& map);
    // The entry of a node, created empty when missing.
    static MainDirectionEntry& EntryOf(MainDirectionMap& map, const CNodePtr& node);

    // The main direction chosen by diameter: the only outgoing section with the largest PIPE_DIA_IN, or
    // empty when no outgoing section has one or the largest occurs more than once.
    static CSectionPtr DirectionByDiameter(const std::vector<CSectionPtr>& outgoing);

    // Runs one calculation on the sections (in list order) and nodes; the map is the dialog's and keeps the
    // directions for the next calculation.
    static TransitResult Run(const std::vector<CSectionPtr>& sections, const std::vector<CNodePtr>& nodes,
                             MainDirectionMap& map, const Flags& flags, const DirectionAsker& ask);
};
