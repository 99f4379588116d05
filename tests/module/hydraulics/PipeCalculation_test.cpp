// The single-pipe calculation of the individual section page without its dialog: minimum diameter and slope
// against the published table, the chosen values, the results, the statuses of what cannot be calculated,
// and the save by the sewage core.
#include "module/hydraulics/calc/PipeCalculation.h"

#include <cmath>

#include "module/hydraulics/calc/SectionDimensioning.h"
#include "platform/sessions/UpdateSessions.h"
#include "tests/module/hydraulics/DrainTable.h"

namespace {

using draintable::kRows;
using draintable::Row;

class PipeCalculationTest : public draintable::DrainTableTest {
protected:
    PipeCalculationInputs Inputs(double flowM3s) {
        PipeCalculationInputs in;
        in.sectionGuid = Topo().FindSectionByName("S1")->GetGuid();
        in.flow = flowM3s;
        in.roughness = draintable::kRoughnessMm;
        in.viscosity = draintable::kViscosity;
        return in;
    }
};

TEST_F(PipeCalculationTest, MinimumDiameterAndResultsOfTheTabulatedPipes) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(::testing::PrintToString(row));
        // 99 % of the tabulated full-bore flow at the tabulated slope: the row's pipe is the smallest that
        // carries it.
        CPipeCalculation calc;
        const PipeMinimum m = calc.MinimumDiameter(Inputs(0.99 * row.flowLps / 1000.0), row.SlopePerMille(),
                                                   group->GetSubItems().front());
        ASSERT_EQ(m.status, 0);
        EXPECT_EQ(m.value, row.diameterMm);
        const auto chosen = CPipeCalculation::ChosenPipe("Table", *m.value);
        ASSERT_TRUE(chosen);
        EXPECT_EQ(chosen, Pipe(row.diameterMm));

        const PipeResults r = calc.ResultsForPipe(chosen);
        ASSERT_TRUE(r.Computed());
        EXPECT_NEAR(r.fullFlow, row.flowLps, draintable::kFlowTolerance * row.flowLps);
        EXPECT_NEAR(r.fullVelocity, row.velocity, draintable::kVelocityTolerance);
        EXPECT_NEAR(r.flowPercent, 99.0, 0.15);
        // Near full bore the water runs faster than at full bore, in the upper part of the pipe.
        EXPECT_GT(r.partialVelocity, r.fullVelocity);
        EXPECT_GT(r.fillingPercent, 75.0);
        EXPECT_NEAR(r.fillingHeight, r.fillingPercent / 100.0 * row.diameterMm, 1e-9 * row.diameterMm);
        EXPECT_NEAR(r.velocityPercent, 100.0 * r.partialVelocity / r.fullVelocity, 1e-9);
        ASSERT_TRUE(r.flowTime);
        EXPECT_NEAR(*r.flowTime, draintable::kSectionLength / r.partialVelocity / 60.0, 1e-9);

        // A pipe below the minimum gives no results.
        const PipeResults smaller = calc.ResultsForPipe(group->GetSubItems().front());
        if (row.diameterMm > 300.0) {
            EXPECT_EQ(smaller.status, kStatusPipeBelowMinimum);
        }
    }
}

TEST_F(PipeCalculationTest, MinimumSlopeOfTheTabulatedFlowAndItsRoundedChoice) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(::testing::PrintToString(row));
        CPipeCalculation calc;
        const auto& pipe = Pipe(row.diameterMm);
        const PipeMinimum m =
            calc.MinimumSlope(Inputs(row.flowLps / 1000.0), pipe->GetGUID(), row.diameterMm);
        ASSERT_EQ(m.status, 0);
        ASSERT_TRUE(m.value);
        EXPECT_NEAR(*m.value, row.SlopePerMille(), draintable::kSlopeTolerance * row.SlopePerMille());

        for (int decimals = 0; decimals <= 3; ++decimals) {
            const double chosen = CPipeCalculation::ChosenSlope(*m.value, decimals);
            const double unit = std::pow(10.0, -decimals);
            EXPECT_GT(chosen, *m.value);
            EXPECT_LE(chosen, *m.value + unit + 1e-12);
            EXPECT_NEAR(chosen / unit, std::round(chosen / unit), 1e-9);
            const PipeResults r = calc.ResultsForSlope(chosen);
            ASSERT_TRUE(r.Computed()) << decimals;
            // Steeper than the minimum: the pipe carries the flow below full bore.
            EXPECT_LT(r.flowPercent, 100.0);
        }
        EXPECT_EQ(calc.ResultsForSlope(*m.value * 0.99).status, kStatusSlopeBelowMinimum);
        EXPECT_EQ(calc.ResultsForSlope(std::nullopt).status, kStatusNoChosenValue);
    }
}

TEST_F(PipeCalculationTest, WhatCannotBeCalculatedSaysWhyAndKeepsNoEarlierObject) {
    const Row& row = kRows[0];
    const auto pipe = Pipe(row.diameterMm);
    struct Case {
        const char* what;
        std::optional<double> flow, roughness, viscosity, slope;
        int status;
    } cases[] = {
        {"no flow", std::nullopt, 0.6, 1.01e-6, 4.0, kStatusEnterFlow},
        {"zero flow", 0.0, 0.6, 1.01e-6, 4.0, kStatusEnterFlow},
        {"negative flow", -0.1, 0.6, 1.01e-6, 4.0, kStatusEnterFlow},
        {"no roughness", 0.4, std::nullopt, 1.01e-6, 4.0, kStatusEnterRoughness},
        {"zero roughness", 0.4, 0.0, 1.01e-6, 4.0, kStatusEnterRoughness},
        {"zero viscosity", 0.4, 0.6, 0.0, 4.0, kStatusEnterViscosity},
        {"no slope", 0.4, 0.6, 1.01e-6, std::nullopt, kStatusEnterSlope},
        {"negative slope", 0.4, 0.6, 1.01e-6, -2.0, kStatusEnterSlope},
        {"a flow no pipe up to 20 m carries", 1e4, 0.6, 1.01e-6, 0.001, kStatusMinDiameterFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CPipeCalculation calc;
        // A calculation that worked first: its object must not serve the next one.
        ASSERT_EQ(calc.MinimumDiameter(Inputs(0.4), 4.0, pipe).status, 0);
        ASSERT_TRUE(calc.ResultsForPipe(pipe).Computed());
        PipeCalculationInputs in = Inputs(0.0);
        in.flow = c.flow;
        in.roughness = c.roughness;
        in.viscosity = c.viscosity;
        const PipeMinimum m = calc.MinimumDiameter(in, c.slope, pipe);
        EXPECT_EQ(m.status, c.status);
        EXPECT_FALSE(m.value);
        EXPECT_FALSE(calc.ResultsForPipe(pipe).Computed());
    }
    CPipeCalculation calc;
    EXPECT_EQ(calc.MinimumDiameter(Inputs(0.4), 4.0, nullptr).status, kStatusChoosePipe);
    EXPECT_EQ(calc.MinimumSlope(Inputs(0.4), pipe->GetGUID(), std::nullopt).status, kStatusSlopeModeNoPipe);
    // A 300 mm pipe carries 1.6 m3/s at no slope up to 45 degrees.
    EXPECT_EQ(calc.MinimumSlope(Inputs(1.6), Pipe(300)->GetGUID(), 300.0).status, kStatusNoSlopeForPipe);
    // Over capacity: the 300 mm pipe at 1 in 200 carries 78.3 l/s full, about 84 l/s at most.
    ASSERT_EQ(calc.MinimumDiameter(Inputs(0.09), 5.0, pipe).status, 0);
    EXPECT_EQ(calc.ResultsForPipe(Pipe(300)).status, kStatusPipeBelowMinimum);
    EXPECT_EQ(CPipeCalculation::Calculate(Inputs(0.09), Pipe(300), 5.0).status, kStatusFillingHeightFailed);
    EXPECT_TRUE(CPipeCalculation::Calculate(Inputs(0.075), Pipe(300), 5.0).Computed());
}

TEST_F(PipeCalculationTest, SaveWritesThroughTheSewageCoreInsideBothUpdateSessions) {
    const Row& row = kRows[3];  // 450 mm at 1 in 200
    const auto label = TAVGis::Label::CNetworkLabelUtility::Counts();
    const auto profile = TAVGis::Longitudinal::CLSEditor::Counts();

    CPipeCalculation calc;
    EXPECT_EQ(calc.Save(false), kStatusNoMinimum);
    ASSERT_EQ(
        calc.MinimumDiameter(Inputs(0.99 * row.flowLps / 1000.0), row.SlopePerMille(), Pipe(450)).status, 0);
    const PipeResults r = calc.ResultsForPipe(Pipe(450));
    ASSERT_TRUE(r.Computed());
    int openWhileSaving = -1;
    bool toldSaved = false;
    EXPECT_EQ(calc.Save(false,
                        [&](bool saved) {
                            toldSaved = saved;
                            openWhileSaving = TAVGis::Label::CNetworkLabelUtility::Counts().open +
                                              TAVGis::Longitudinal::CLSEditor::Counts().open;
                        }),
              0);
    EXPECT_TRUE(toldSaved);
    EXPECT_EQ(openWhileSaving, 2);
    EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().open, 0);
    EXPECT_EQ(TAVGis::Label::CNetworkLabelUtility::Counts().committed, label.committed + 1);
    EXPECT_EQ(TAVGis::Longitudinal::CLSEditor::Counts().committed, profile.committed + 1);

    EXPECT_EQ(GetText("S1", "PIPE_REF"), Pipe(450)->GetGUID());
    EXPECT_NEAR(Get("S1", "FLOW_FULLFILLED").value_or(0.0), row.flowLps / 1000.0,
                draintable::kFlowTolerance * row.flowLps / 1000.0);
    EXPECT_NEAR(Get("S1", "FILLING_HEIGHT").value_or(0.0) * 1000.0, r.fillingHeight, 1e-9);
    EXPECT_EQ(Get("S1", "VELOCITY_PARTIALFILLED"), r.partialVelocity);
    EXPECT_EQ(Get("S1", "FLOWTIME"), r.flowTime);
    EXPECT_FALSE(Get("S1", "SECTION_SLOPE"));  // minimum-diameter mode writes the pipe, not the slope

    // Minimum-slope mode writes the chosen slope and keeps the pipe.
    Set("S1", "PIPE_REF", Pipe(600)->GetGUID());
    ASSERT_EQ(calc.MinimumSlope(Inputs(0.3), Pipe(600)->GetGUID(), 600.0).status, 0);
    ASSERT_TRUE(calc.ResultsForSlope(2.4).Computed());
    EXPECT_EQ(calc.Save(true), 0);
    EXPECT_NEAR(Get("S1", "SECTION_SLOPE").value_or(0.0), 2.4, 1e-12);
    EXPECT_EQ(GetText("S1", "PIPE_REF"), Pipe(600)->GetGUID());
}

TEST_F(PipeCalculationTest, ASectionOffersItsFlowSlopeRoughnessAndCataloguePipe) {
    Set("S1", "FLOW_TOTAL", 0.035);
    Set("S1", "SECTION_SLOPE", 3.5);
    Set("S1", "PIPE_ROUGHNESS", 1.5);
    Set("S1", "PIPE_REF", Pipe(375)->GetGUID());
    SectionHydraulicData d = CPipeCalculation::ReadSection(Topo().FindSectionByName("S1"));
    EXPECT_EQ(d.name, "S1");
    EXPECT_EQ(d.flow, 0.035);
    EXPECT_EQ(d.slope, 3.5);
    EXPECT_EQ(d.roughness, 1.5);
    EXPECT_EQ(d.pipe, Pipe(375));
    EXPECT_EQ(d.group, group);
    EXPECT_EQ(d.pipeDiameter, 375.0);
    EXPECT_EQ(d.pipeRoughness, 0.6);
    EXPECT_EQ(d.pipeTypeId, "TABLE");

    // A reference the catalogue does not know is kept as text, without a pipe.
    Set("S1", "PIPE_REF", std::string("{00000000-0000-0000-0000-000000000000}"));
    TAVGis::Data::CDataBox none;
    Set("S1", "FLOW_TOTAL", none);
    d = CPipeCalculation::ReadSection(Topo().FindSectionByName("S1"));
    EXPECT_FALSE(d.flow);
    EXPECT_EQ(d.pipeGuid, "{00000000-0000-0000-0000-000000000000}");
    EXPECT_FALSE(d.pipe);
}

}  // namespace
