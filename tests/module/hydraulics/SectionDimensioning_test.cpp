// The rules for one section: statuses, the pipes and slopes chosen, and what is written.
#include "module/hydraulics/calc/SectionDimensioning.h"

#include <cmath>
#include <functional>
#include <limits>

#include "platform/gis/DataRW.h"
#include "tests/module/hydraulics/HydraulicsTestSupport.h"

namespace {

using hydraulicstest::kViscosity;

constexpr const char* kResults[] = {
    "FILLING_HEIGHT",         "FILLING_PERCENT",     "FLOW_FULLFILLED",  "FLOW_PERCENT",
    "VELOCITY_PARTIALFILLED", "VELOCITY_FULLFILLED", "VELOCITY_PERCENT", "FLOWTIME"};

class SectionDimensioningTest : public hydraulicstest::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        Node("A", 0, 0, 100.0);
        Node("B", 60, 80, 99.0);  // S1 is 100 m long
        Section("S1", "A", "B");
    }

    DimensioningRow Dimension(const DimensioningSettings& s, const std::string& name = "S1") {
        return CSectionDimensioning(s).Dimension(Topo().FindSectionByName(name));
    }

    bool AnyResultWritten(const std::string& name = "S1") {
        for (const char* r : kResults)
            if (Get(name, r)) return true;
        return false;
    }
};

TEST(SectionDimensioningRoundUp, MovesUpByOneUnitAtThePrecision) {
    struct Case {
        double x;
        int decimals;
        double expected;
    } cases[] = {
        {2.31, 1, 2.4}, {2.3, 1, 2.4}, {0.0, 2, 0.01},     {0.29, 2, 0.30},  {2.3999, 1, 2.4},
        {5.0, 0, 6.0},  {4.7, 0, 5.0}, {1.2345, 3, 1.235}, {-2.31, 1, -2.4}, {0.001, 3, 0.002},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(CSectionDimensioning::RoundUp(c.x, c.decimals), c.expected, 1e-12)
            << c.x << " at " << c.decimals;
}

// One row of the status table: what the section carries, how the run is set, what the row shows.
struct StatusCase {
    const char* what;
    std::function<void()> prepare;
    int mode;
    int method;
    std::function<void(DimensioningSettings&)> adjust;
    int status;
    bool written;
};

class StatusTable : public SectionDimensioningTest {};

TEST_F(StatusTable, EveryFailureHasItsStatusAndWritesNothing) {
    auto flowAndSlope = [this](double flow, double slope) {
        return [=, this] {
            Set("S1", "FLOW_TOTAL", flow);
            Set("S1", "SECTION_SLOPE", slope);
        };
    };
    auto withPipe = [this](double flow, double innerMm) {
        return [=, this] {
            Set("S1", "FLOW_TOTAL", flow);
            Set("S1", "PIPE_REF", PipeGuid(innerMm));
        };
    };
    auto none = [](DimensioningSettings&) {};
    const StatusCase cases[] = {
        {"no flow", [this] { Set("S1", "SECTION_SLOPE", 5.0); }, 0, 0, none, 3417, false},
        {"zero flow", flowAndSlope(0.0, 5.0), 0, 0, none, 3418, false},
        {"no slope", [this] { Set("S1", "FLOW_TOTAL", 0.05); }, 0, 0, none, 3419, false},
        {"zero slope", flowAndSlope(0.05, 0.0), 0, 0, none, 3238, false},
        {"negative slope", flowAndSlope(0.05, -2.0), 0, 0, none, 3238, false},
        {"no pipe large enough", flowAndSlope(5.0, 5.0), 0, 0, none, 3421, false},
        {"method 1 without pipe", flowAndSlope(0.05, 5.0), 0, 1, none, 3425, false},
        {"method 1 pipe too small",
         [this] {
             Set("S1", "FLOW_TOTAL", 0.05);
             Set("S1", "SECTION_SLOPE", 5.0);
             Set("S1", "PIPE_REF", PipeGuid(150.0));
         },
         0, 1, none, 3426, false},
        {"method 2 without criteria", flowAndSlope(0.05, 5.0), 0, 2, none, 3428, false},
        {"filling without target", flowAndSlope(0.05, 5.0), 0, 2,
         [](DimensioningSettings& s) { s.fillingCriterion = true; }, 3429, false},
        {"minimum diameter without text", flowAndSlope(0.05, 5.0), 0, 2,
         [](DimensioningSettings& s) { s.minimumCriterion = true; }, 3431, false},
        {"minimum diameter above the group", flowAndSlope(0.05, 5.0), 0, 2,
         [](DimensioningSettings& s) {
             s.minimumCriterion = true;
             s.minimum = 5000.0;
         },
         3432, false},
        {"unknown method", flowAndSlope(0.05, 5.0), 0, 7, none, 3439, false},
        {"slope mode without pipe", flowAndSlope(0.05, 5.0), 1, 0, none, 3433, false},
        {"slope mode, flow beyond any slope", withPipe(20.0, 150.0), 1, 0, none, 3434, false},
        {"slope mode with method 1", withPipe(0.05, 400.0), 1, 1, none, 3439, false},
        {"slope mode method 2 without criteria", withPipe(0.05, 400.0), 1, 2, none, 3428, false},
        {"slope mode filling without target", withPipe(0.05, 400.0), 1, 2,
         [](DimensioningSettings& s) { s.fillingCriterion = true; }, 3429, false},
        {"slope mode velocity without text", withPipe(0.05, 400.0), 1, 2,
         [](DimensioningSettings& s) { s.minimumCriterion = true; }, 3437, false},
        {"slope mode unreachable filling", withPipe(0.05, 400.0), 1, 2,
         [](DimensioningSettings& s) {
             s.fillingCriterion = true;
             s.filling = 0.0;
         },
         3430, false},
        {"slope mode unreachable velocity", withPipe(0.05, 400.0), 1, 2,
         [](DimensioningSettings& s) {
             s.minimumCriterion = true;
             s.minimum = 1000.0;
         },
         3438, false},
        {"success", flowAndSlope(0.05, 5.0), 0, 0, none, 3440, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // A fresh section per case.
        for (const char* name : {"FLOW_TOTAL", "SECTION_SLOPE", "PIPE_REF"})
            TAVGis::Data::CDataRW::Delete(name, Topo().FindSectionByName("S1"));
        for (const char* r : kResults) TAVGis::Data::CDataRW::Delete(r, Topo().FindSectionByName("S1"));
        c.prepare();
        auto s = Settings(c.mode, c.method, pvc);
        c.adjust(s);
        const auto row = Dimension(s);
        EXPECT_EQ(row.name, "S1");
        EXPECT_EQ(row.status, c.status);
        EXPECT_EQ(row.failed, c.status != kStatusSuccess);
        EXPECT_EQ(row.written, c.written);
        EXPECT_EQ(AnyResultWritten(), c.written);
    }
}

TEST_F(SectionDimensioningTest, SectionRoughnessOverridesThePipeRoughness) {
    Set("S1", "FLOW_TOTAL", 0.03);
    Set("S1", "SECTION_SLOPE", 5.0);
    const double smooth =
        Dimension(Settings(0, 0, pvc)).status == kStatusSuccess ? *Get("S1", "VELOCITY_FULLFILLED") : 0;
    Set("S1", "PIPE_ROUGHNESS", 3.0);
    ASSERT_EQ(Dimension(Settings(0, 0, pvc)).status, kStatusSuccess);
    EXPECT_LT(*Get("S1", "VELOCITY_FULLFILLED"), smooth - 0.05);
    EXPECT_EQ(Get("S1", "PIPE_ROUGHNESS"), 3.0);  // never written
}

TEST_F(SectionDimensioningTest, FillingWalkTakesTheFirstPipeBelowTheTarget) {
    Set("S1", "FLOW_TOTAL", 0.05);
    Set("S1", "SECTION_SLOPE", 5.0);
    auto s = Settings(0, 2, pvc);
    s.fillingCriterion = true;
    s.filling = 50.0;
    const auto row = Dimension(s);
    ASSERT_EQ(row.status, kStatusSuccess);
    // The walk starts at the candidate (300 mm) and stops at the first pipe filled below 50 %.
    const double chosen = row.diameter.value_or(0.0);
    EXPECT_LT(Core("S1", 0.05, 0.005, chosen).GetDPostotakIspunjnosti(), 50.0);
    for (double d : {300.0, 400.0, 500.0}) {
        if (d < chosen) {
            EXPECT_GE(Core("S1", 0.05, 0.005, d).GetDPostotakIspunjnosti(), 50.0) << d;
        }
    }
    EXPECT_EQ(GetText("S1", "PIPE_REF"), PipeGuid(chosen));
}

TEST_F(SectionDimensioningTest, UnreachedFillingShows3430AndWritesTheLargestPipe) {
    Set("S1", "FLOW_TOTAL", 0.05);
    Set("S1", "SECTION_SLOPE", 5.0);
    auto s = Settings(0, 2, pvc);
    s.fillingCriterion = true;
    s.filling = 1.0;
    const auto row = Dimension(s);
    EXPECT_EQ(row.status, kStatusFillingNotMet);
    EXPECT_TRUE(row.failed);
    EXPECT_FALSE(row.diameter);
    EXPECT_EQ(GetText("S1", "PIPE_REF"), PipeGuid(500.0));
    EXPECT_NEAR(*Get("S1", "FILLING_PERCENT"), Core("S1", 0.05, 0.005, 500.0).GetDPostotakIspunjnosti(),
                1e-9);
}

TEST_F(SectionDimensioningTest, AnySucceededStageWinsOverAFailedFillingStage) {
    Section("S0", "Z", "A");
    Set("S0", "PIPE_REF", PipeGuid(400.0));
    Set("S1", "FLOW_TOTAL", 0.01);
    Set("S1", "SECTION_SLOPE", 5.0);
    auto s = Settings(0, 2, pvc);
    s.upstreamCriterion = true;
    s.fillingCriterion = true;
    s.filling = 1.0;
    const auto row = Dimension(s);
    EXPECT_EQ(row.status, kStatusSuccess);
    EXPECT_FALSE(row.failed);
    // The walk went on from the upstream pipe (400 mm) to the largest one.
    EXPECT_EQ(row.diameter, 500.0);
    EXPECT_EQ(GetText("S1", "PIPE_REF"), PipeGuid(500.0));
}

TEST_F(SectionDimensioningTest, UpstreamStageTakesTheLargestUpstreamPipe) {
    Section("S0a", "Z1", "A");
    Section("S0b", "Z2", "A");
    Set("S0a", "PIPE_REF", PipeGuid(250.0));
    Set("S0b", "PIPE_REF", PipeGuid(400.0));
    Set("S1", "FLOW_TOTAL", 0.005);  // needs far less than 400 mm
    Set("S1", "SECTION_SLOPE", 5.0);
    auto s = Settings(0, 2, pvc);
    s.upstreamCriterion = true;
    const auto row = Dimension(s);
    ASSERT_EQ(row.status, kStatusSuccess);
    EXPECT_EQ(row.diameter, 400.0);
    EXPECT_EQ(GetText("S1", "PIPE_REF"), PipeGuid(400.0));
}

class MinimumSlopeTest : public SectionDimensioningTest {
protected:
    void SetUp() override {
        SectionDimensioningTest::SetUp();
        Set("S1", "FLOW_TOTAL", 0.02);
        Set("S1", "PIPE_REF", PipeGuid(300.0));
    }
    double MinimumSlopePerMille() {
        TAVGis::Sewage::CSewageHydraulics core;
        core.SetStrPipeGuid(PipeGuid(300.0));
        core.SetDProtok(0.02);
        core.SetDHrapavost(hydraulicstest::kRoughnessMm / 1000.0);
        core.SetDViskozitet(kViscosity);
        EXPECT_TRUE(core.CalculateMinimumSlope());
        return core.GetDMinPad() * 1000.0;
    }
};

TEST_F(MinimumSlopeTest, MethodZeroWritesTheMinimumSlopeRoundedUpAtEachPrecision) {
    const double sMin = MinimumSlopePerMille();
    for (int p = 0; p <= 3; ++p) {
        auto s = Settings(1, 0, pvc);
        s.precision = p;
        const auto row = Dimension(s);
        ASSERT_EQ(row.status, kStatusSuccess) << p;
        const double written = *Get("S1", "SECTION_SLOPE");
        EXPECT_NEAR(written, CSectionDimensioning::RoundUp(sMin, p), 1e-12) << p;
        EXPECT_GT(written, sMin);
        EXPECT_LE(written - sMin, std::pow(10.0, -p) + 1e-12);
        EXPECT_EQ(row.diameter, 300.0);
        EXPECT_NEAR(row.slope.value_or(0.0), written, 1e-9);
        EXPECT_EQ(GetText("S1", "PIPE_REF"), PipeGuid(300.0));  // the pipe stays
        EXPECT_NEAR(*Get("S1", "FILLING_PERCENT"),
                    Core("S1", 0.02, written / 1000.0, 300.0).GetDPostotakIspunjnosti(), 1e-9);
    }
}

TEST_F(MinimumSlopeTest, FillingSearchMeetsTheTargetWithinItsTolerance) {
    auto s = Settings(1, 2, pvc);
    s.fillingCriterion = true;
    for (double target : {30.0, 50.0, 70.0}) {
        s.filling = target;
        const auto row = Dimension(s);
        ASSERT_EQ(row.status, kStatusSuccess) << target;
        const double slope = *Get("S1", "SECTION_SLOPE");
        EXPECT_GT(slope, MinimumSlopePerMille());
        EXPECT_NEAR(*Get("S1", "FILLING_PERCENT"), target, CSectionDimensioning::kFillingTolerance) << target;
        EXPECT_NEAR(Core("S1", 0.02, slope / 1000.0, 300.0).GetDPostotakIspunjnosti(), target,
                    CSectionDimensioning::kFillingTolerance);
    }
}

TEST_F(MinimumSlopeTest, VelocitySearchMeetsTheMinimumWithinItsTolerance) {
    auto s = Settings(1, 2, pvc);
    s.minimumCriterion = true;
    for (double v : {1.0, 1.5, 2.5}) {
        s.minimum = v;
        const auto row = Dimension(s);
        ASSERT_EQ(row.status, kStatusSuccess) << v;
        EXPECT_NEAR(*Get("S1", "VELOCITY_PARTIALFILLED"), v, CSectionDimensioning::kVelocityTolerance) << v;
    }
}

}  // namespace
