// The free calculation of the hydraulic calculator without its dialog: slope units, the chosen slope in each
// unit, the comparisons in millimetres and per mille, and the published table typed as a person would
// type it (l/s shown, the slope as "1 in n").
#include "module/hydraulics/calc/HydraulicCalculator.h"

#include <cmath>

#include "module/hydraulics/calc/HydraulicSteps.h"
#include "tests/module/hydraulics/DrainTable.h"

namespace {

using draintable::kRows;
using draintable::Row;

TEST(HydraulicCalculatorUnits, ConvertBothWaysAndNeverGiveAnInfiniteSlope) {
    struct Case {
        double value;
        SlopeUnit unit;
        double perMille;
    } cases[] = {
        {5.0, SlopeUnit::PerMille, 5.0}, {0.5, SlopeUnit::Percent, 5.0},  {200.0, SlopeUnit::OneIn, 5.0},
        {250.0, SlopeUnit::OneIn, 4.0},  {1.0, SlopeUnit::OneIn, 1000.0}, {2.5, SlopeUnit::Percent, 25.0},
        {0.0, SlopeUnit::OneIn, 0.0},    {-40.0, SlopeUnit::OneIn, 0.0},  {-2.0, SlopeUnit::PerMille, -2.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << " in unit " << static_cast<int>(c.unit));
        EXPECT_DOUBLE_EQ(CHydraulicCalculator::ToPerMille(c.value, c.unit), c.perMille);
        if (c.perMille > 0.0) {
            EXPECT_DOUBLE_EQ(CHydraulicCalculator::FromPerMille(c.perMille, c.unit), c.value);
        }
    }
    EXPECT_EQ(CHydraulicCalculator::FromPerMille(0.0, SlopeUnit::OneIn), 0.0);
    EXPECT_EQ(CHydraulicCalculator::FromPerMille(-3.0, SlopeUnit::OneIn), 0.0);
}

TEST(HydraulicCalculatorUnits, TheChosenSlopeIsAWholeNumberOnTheSteepSide) {
    struct Case {
        double minimum;
        SlopeUnit unit;
        double chosen;
    } cases[] = {
        {1.1561, SlopeUnit::PerMille, 2.0}, {2.0, SlopeUnit::PerMille, 3.0},
        {0.2, SlopeUnit::Percent, 1.0},     {864.9484, SlopeUnit::OneIn, 864.0},
        {200.0, SlopeUnit::OneIn, 199.0},   {199.99999999999997, SlopeUnit::OneIn, 199.0},
        {1.5, SlopeUnit::OneIn, 1.0},       {0.8, SlopeUnit::OneIn, 0.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CHydraulicCalculator::ChosenSlope(c.minimum, c.unit), c.chosen)
            << c.minimum << " in unit " << static_cast<int>(c.unit);
}

class HydraulicCalculatorTest : public draintable::DrainTableTest {
protected:
    CalculatorInputs Typed(int mode, double flowLps, std::optional<double> slope, SlopeUnit unit,
                           double pipeMm) {
        CalculatorInputs in;
        in.mode = mode;
        in.flow = CHydraulicSteps::CubicMetresPerSecond(flowLps);
        in.slope = slope;
        in.unit = unit;
        in.roughness = draintable::kRoughnessMm;
        in.viscosity = draintable::kViscosity;
        in.group = group;
        in.pipe = Pipe(pipeMm);
        return in;
    }
};

TEST_F(HydraulicCalculatorTest, MinimumDiameterForTheTabulatedFlowTypedAsOneInN) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(::testing::PrintToString(row));
        const CalculatorInputs in =
            Typed(kModeMinimumDiameter, 0.99 * row.flowLps, row.gradientOneIn, SlopeUnit::OneIn, 300.0);
        const CalculatorMinimum m = CHydraulicCalculator::Minimum(in);
        ASSERT_EQ(m.status, 0);
        EXPECT_EQ(m.minimum, row.diameterMm);
        EXPECT_EQ(m.chosen, row.diameterMm);
        ASSERT_EQ(m.chosenPipe, Pipe(row.diameterMm));

        // The chosen pipe equals the minimum diameter and is accepted.
        CalculatorInputs chosen = in;
        chosen.pipe = m.chosenPipe;
        const PipeResults r = CHydraulicCalculator::Results(chosen, m.minimum, m.chosen);
        ASSERT_TRUE(r.Computed()) << r.status;
        EXPECT_NEAR(r.fullFlow, row.flowLps, draintable::kFlowTolerance * row.flowLps);
        EXPECT_NEAR(r.fullVelocity, row.velocity, draintable::kVelocityTolerance);
        EXPECT_NEAR(r.flowPercent, 99.0, 0.15);
        EXPECT_FALSE(r.flowTime);  // no section, no length
        // The same slope typed in per mille and in percent gives the same numbers.
        for (auto [value, unit] : {std::pair{row.SlopePerMille(), SlopeUnit::PerMille},
                                   std::pair{row.SlopePerMille() / 10.0, SlopeUnit::Percent}}) {
            CalculatorInputs other = chosen;
            other.slope = value;
            other.unit = unit;
            EXPECT_NEAR(CHydraulicCalculator::Results(other, m.minimum, m.chosen).fillingPercent,
                        r.fillingPercent, 1e-9);
        }
        // A smaller pipe than the minimum is refused.
        if (row.diameterMm > 300.0) {
            EXPECT_EQ(CHydraulicCalculator::Results(in, m.minimum, 300.0).status, kStatusPipeBelowMinimum);
        }
    }
}

TEST_F(HydraulicCalculatorTest, MinimumSlopeInEachUnitAndTheComparisonInPerMille) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(::testing::PrintToString(row));
        for (SlopeUnit unit : {SlopeUnit::PerMille, SlopeUnit::Percent, SlopeUnit::OneIn}) {
            SCOPED_TRACE(static_cast<int>(unit));
            const CalculatorInputs in =
                Typed(kModeMinimumSlope, row.flowLps, std::nullopt, unit, row.diameterMm);
            const CalculatorMinimum m = CHydraulicCalculator::Minimum(in);
            ASSERT_EQ(m.status, 0);
            ASSERT_TRUE(m.minimum && m.chosen);
            const double minimumPerMille = CHydraulicCalculator::ToPerMille(*m.minimum, unit);
            EXPECT_NEAR(minimumPerMille, row.SlopePerMille(),
                        draintable::kSlopeTolerance * row.SlopePerMille());
            EXPECT_EQ(*m.chosen, std::round(*m.chosen));
            // The chosen slope is steeper than the minimum in every unit, so the pipe runs part full.
            EXPECT_GT(CHydraulicCalculator::ToPerMille(*m.chosen, unit), minimumPerMille);
            const PipeResults r = CHydraulicCalculator::Results(in, m.minimum, m.chosen);
            ASSERT_TRUE(r.Computed());
            EXPECT_LT(r.flowPercent, 100.0);
        }
        // In "1 in n" a larger n is a flatter slope: 1 in (n + 10) lies below the minimum, 1 in (n - 10) not.
        const CalculatorInputs in =
            Typed(kModeMinimumSlope, row.flowLps, std::nullopt, SlopeUnit::OneIn, row.diameterMm);
        const double n = *CHydraulicCalculator::Minimum(in).minimum;
        EXPECT_EQ(CHydraulicCalculator::Results(in, n, n + 10.0).status, kStatusSlopeBelowMinimum);
        EXPECT_TRUE(CHydraulicCalculator::Results(in, n, n - 10.0).Computed());
    }
}

TEST_F(HydraulicCalculatorTest, InputsTheCoreCannotCalculateSayWhy) {
    const CalculatorInputs good = Typed(kModeMinimumDiameter, 100.0, 5.0, SlopeUnit::PerMille, 450.0);
    struct Case {
        const char* what;
        std::function<void(CalculatorInputs&)> change;
        int minimumStatus;
    } cases[] = {
        {"no flow", [](CalculatorInputs& in) { in.flow.reset(); }, kStatusEnterFlow},
        {"zero roughness", [](CalculatorInputs& in) { in.roughness = 0.0; }, kStatusEnterRoughness},
        {"negative viscosity", [](CalculatorInputs& in) { in.viscosity = -1.0; }, kStatusEnterViscosity},
        {"no pipe", [](CalculatorInputs& in) { in.pipe.reset(); }, kStatusChoosePipe},
        {"no group", [](CalculatorInputs& in) { in.group.reset(); }, kStatusChoosePipe},
        {"no unit", [](CalculatorInputs& in) { in.unit.reset(); }, kStatusEnterSlope},
        {"no slope", [](CalculatorInputs& in) { in.slope.reset(); }, kStatusEnterSlope},
        {"1 in 0", [](CalculatorInputs& in) { in.slope = 0.0, in.unit = SlopeUnit::OneIn; },
         kStatusEnterSlope},
        {"more than the largest pipe carries", [](CalculatorInputs& in) { in.flow = 5.0; },
         kStatusNoCataloguePipe},
        {"more than any pipe up to 20 m carries",
         [](CalculatorInputs& in) { in.flow = 1e4, in.slope = 0.001; }, kStatusMinDiameterFailed},
        {"minimum slope of a pipe too small at any slope",
         [](CalculatorInputs& in) {
             in.mode = kModeMinimumSlope;
             in.flow = 1.6;
             in.pipe = in.group->GetSubItems().front();
         },
         kStatusNoSlopeForPipe},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CalculatorInputs in = good;
        c.change(in);
        const CalculatorMinimum m = CHydraulicCalculator::Minimum(in);
        EXPECT_EQ(m.status, c.minimumStatus);
        EXPECT_FALSE(m.chosen);
    }
    // A flow the pipe cannot carry at the typed slope: 300 mm at 1 in 200 runs full at 78.3 l/s.
    CalculatorInputs over = Typed(kModeMinimumDiameter, 90.0, 200.0, SlopeUnit::OneIn, 300.0);
    EXPECT_EQ(CHydraulicCalculator::Results(over, std::nullopt, 300.0).status, kStatusFillingHeightFailed);
    EXPECT_EQ(CHydraulicCalculator::Results(over, std::nullopt, std::nullopt).status, kStatusNoChosenValue);
}

}  // namespace
