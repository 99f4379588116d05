#pragma once
// CTurkishWasteWater: the waste water of the Turkish method for a list of sections, written in one topology
// transaction inside the label and longitudinal-profile update sessions (CBatchWriteFrame). Three flows, each
// with its switch:
//
//   household     P = A2 x D of the section and of every section upstream of it (CTurkishHousehold)
//                 M = 5 / (P / 1000)^0.2 within 1.72 .. 5                      -> FLOW_BABBIT
//                 Q = P x q / 86400 x M / 1000                                -> FLOW_TUR_WASTE_HOME
//   industrial    A4 x c x F / 1000                                           -> FLOW_TUR_WASTE_IND
//   infiltration  A2 x 0.1 / 1000                                             -> FLOW_TUR_WASTE_INF
//
// Units: areas in ha (A2 household, A4 industrial catchment area of the section itself), densities in
// inhabitants/ha, q in l per inhabitant and day, c (the industrial consumption coefficient, l/s per ha) and
// the peak factor F as typed, the infiltration 0.1 l/s per ha; every flow is written in m3/s, the unit in
// which the transit and total flows read the FLOW_TUR_WASTE_* attributes. FLOW_BABBIT has no unit.
//
// Writing: FLOW_BABBIT through the attribute writer (not counted); the three flows through the topology
// editor (CTopoEditor::WriteData, section entity type, with the definitions given), each successful write
// counted in `written`. A flow whose definition is missing (null) is skipped on every section. The
// populations of the household flow are summed for the whole network in one pass (CUpstreamSums), once per
// network the sections belong to, never by an upstream walk per section.
//
// Decisions:
// - P = 0 (no household area or density upstream): M = 5, the cap, and Q = 0; both are written (see
//   CTurkishHousehold), so a section without inhabitants shows the coefficient 5 and no flow.
// - A value that is not finite (only from a stored density or area that is not finite) is never written: it
//   is recorded in `notFinite` and not counted; on such a section FLOW_BABBIT is not written either.
#include <array>
#include <optional>
#include <vector>

#include "module/data/NonFiniteValues.h"
#include "platform/gis/DataDefinition.h"
#include "platform/network/Section.h"

struct TurkishWasteWaterInput {
    double consumption = 1.0;             // q, l per inhabitant and day
    double peakFactor = 2.0;              // F, industrial peak factor
    double consumptionCoefficient = 0.5;  // c, industrial consumption coefficient
    bool household = false;
    bool industrial = false;
    bool infiltration = false;
};

// The definitions the three flows are written through; a null one skips its flow.
struct TurkishWasteDefinitions {
    const TAVGis::Data::CDataDefinition* home = nullptr;          // FLOW_TUR_WASTE_HOME
    const TAVGis::Data::CDataDefinition* industrial = nullptr;    // FLOW_TUR_WASTE_IND
    const TAVGis::Data::CDataDefinition* infiltration = nullptr;  // FLOW_TUR_WASTE_INF

    // The definitions of the attribute schema (GetDataDefinitionByID).
    static TurkishWasteDefinitions LookUp();
};

struct TurkishWasteWaterResult {
    int written = 0;  // W: successful writes of the three flows
    int householdWrites = 0;
    int industrialWrites = 0;
    int infiltrationWrites = 0;
    CNonFiniteValues notFinite;
};

class CTurkishWasteWater {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;

    static constexpr double kInfiltrationPerHectare = 0.1;  // l/s per ha of household area
    static constexpr double kLitresPerCubicMetre = 1000.0;
    static constexpr double kCoefficientScale = 10.0;  // the drop-down's item data are tenths

    // The entries of the consumption-coefficient drop-down, in order: text and item data.
    struct CoefficientEntry {
        const char* text;
        int itemData;
    };
    static constexpr std::array<CoefficientEntry, 3> kCoefficientEntries{
        {{"0.5", 5}, {"1.0", 10}, {"1.5", 15}}};

    // c from the item data of the chosen entry: item data / 10; 1.0 when no entry is chosen.
    static double ConsumptionCoefficient(std::optional<int> itemData);
    // The industrial flow (m3/s) of an industrial area A4 (ha).
    static double IndustrialFlow(double industrialArea, double coefficient, double peakFactor);
    // The infiltration flow (m3/s) of a household area A2 (ha).
    static double InfiltrationFlow(double householdArea);

    // Computes and writes the switched-on flows of every section of the list, in list order (empty handles
    // skipped). The transaction and both update sessions are opened and closed also for an empty list.
    static TurkishWasteWaterResult Run(const TurkishWasteWaterInput& in,
                                       const std::vector<CSectionPtr>& sections,
                                       const TurkishWasteDefinitions& definitions);
};
