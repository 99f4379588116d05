// The calculations of waste water by area, simple rain, additional flows and flow input data, without
// their dialogs, against hand calculations.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "module/flow/calc/AdditionalFlows.h"
#include "module/flow/calc/FlowInputData.h"
#include "module/flow/calc/SimpleRainFlow.h"
#include "module/flow/calc/WasteWaterArea.h"
#include "platform/gis/DataRW.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Topology::CSectionPtr;

class AreaFlowsTest : public testsupport::DrawingTest {
protected:
    void Area(const std::string& name, const std::string& section, int kind, double ha, double density = 0.0,
              double runoff = 1.0) {
        auto a = Topo().AddCatchmentArea(name, system);
        a->kind = kind;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        a->runoffCoefficient = runoff;
        Topo().LinkCatchment(a, Topo().FindSectionByName(section)->GetGuid());
    }
    std::vector<CSectionPtr> Named(const std::vector<std::string>& names) {
        std::vector<CSectionPtr> out;
        for (const auto& n : names) out.push_back(Topo().FindSectionByName(n));
        return out;
    }
    std::vector<std::string> tagged;
    std::function<void(const CSectionPtr&)> Tagger() {
        return [this](const CSectionPtr& s) { tagged.push_back(s->GetName()); };
    }
};

// ---- waste water by area ----

TEST(WasteWaterAreaCoefficients, BulgarianPeaksAgainstHandValues) {
    struct {
        double p;
        double k;
    } households[] = {
        {4.0, 1.0 + 2.5 / 1.356604},  // 4^0.22 = 1.356604: K = 2.8428
        {0.04, 3.5},                  // 1 + 2.5 / 0.04^0.22 = 6.08: capped
        {1000.0, 1.0 + 2.5 / 4.570882},
        {0.0, 3.5},  // no inhabitants: the cap the coefficient reaches as P falls, no division by zero
        {-2.0, 3.5},
    };
    for (const auto& h : households) EXPECT_NEAR(CWasteWaterArea::HouseholdPeak(h.p), h.k, 1e-6) << h.p;
    EXPECT_NEAR(CWasteWaterArea::HouseholdPeak(4.0), 2.8428, 1e-4);
    // Industrial: QI = 0.001 gives the coefficient 1 + 2.5 / 0.001^0.22 = 12.427, not capped.
    EXPECT_NEAR(CWasteWaterArea::BulgarianIndustrialFlow(0.001, 1.0) / 0.001, 12.4272, 1e-4);
    EXPECT_NEAR(CWasteWaterArea::BulgarianIndustrialFlow(0.001, 0.5), 0.5 * 0.0124272, 1e-7);
    // kI = 0: the flow tends to 0 (QI + 2.5 QI^0.78), never NaN.
    EXPECT_EQ(CWasteWaterArea::BulgarianIndustrialFlow(0.0, 1.0), 0.0);
}

TEST_F(AreaFlowsTest, GeneralStandardWritesHouseholdAndIndustrialFlows) {
    Section("S", "A", "B");
    Section("BARE", "B", "C");
    Area("H", "S", 2, 10.0, 100.0);
    Area("I", "S", 4, 2.0);
    WasteWaterAreaInput in;
    in.household = in.industrial = true;
    const auto r = CWasteWaterArea::Run(in, Named({"S", "BARE"}), Tagger());
    EXPECT_NEAR(*Get("S", "FLOW_WASTE_HOME"), 100.0 * 10.0 * 4.0 / 1e6, 1e-15);  // 4 / 1000
    EXPECT_NEAR(*Get("S", "FLOW_WASTE_IND"), 1.0 * 2.0 / 1000.0, 1e-15);
    EXPECT_FALSE(Get("BARE", "FLOW_WASTE_HOME"));  // no household area: nothing written
    EXPECT_FALSE(Get("S", "FLOW_WASTE_HOME_BG"));
    EXPECT_TRUE(r.written);
    EXPECT_EQ(tagged, (std::vector<std::string>{"S", "BARE"}));
}

TEST_F(AreaFlowsTest, BothSwitchesOffOnlyTags) {
    Section("S", "A", "B");
    Area("H", "S", 2, 10.0, 100.0);
    const auto r = CWasteWaterArea::Run(WasteWaterAreaInput{}, Named({"S"}), Tagger());
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(Get("S", "FLOW_WASTE_HOME"));
    EXPECT_EQ(tagged.size(), 1u);
}

// Two streets of 4 ha and 6 ha at 50 and 150 inhabitants/ha join into D (no area of its own): D's Dm is
// (200 + 900) / 10 = 110, P = 110 x 10 x 4 / 1000 = 4.4.
TEST_F(AreaFlowsTest, BulgarianHouseholdFlowSumsEverythingUpstream) {
    Section("U1", "A", "J");
    Section("U2", "B", "J");
    Section("D", "J", "E");
    Area("H1", "U1", 2, 4.0, 50.0);
    Area("H2", "U2", 2, 6.0, 150.0);
    Area("R", "U2", 1, 20.0, 900.0);  // rain areas carry no inhabitants into the sums
    for (const char* s : {"U1", "U2", "D"}) Set(s, "FLOW_BLG_WASTE", 0.8);
    WasteWaterAreaInput in;
    in.household = true;
    in.standard = WasteStandard::Bulgarian;
    const auto r = CWasteWaterArea::Run(in, Named({"D", "U1"}), Tagger());
    const double kD = 1.0 + 2.5 / std::pow(4.4, 0.22);
    EXPECT_NEAR(*Get("D", "FLOW_BLG_WASTE_HOME_KOMAX"), kD, 1e-12);
    EXPECT_NEAR(*Get("D", "FLOW_WASTE_HOME_BG"), kD * 4.4 * 0.8 / 1000.0, 1e-12);
    // U1 alone: P = 50 x 4 x 4 / 1000 = 0.8, K = 1 + 2.5 / 0.8^0.22 = 3.63 -> capped at 3.5.
    EXPECT_NEAR(*Get("U1", "FLOW_BLG_WASTE_HOME_KOMAX"), 3.5, 1e-12);
    EXPECT_NEAR(*Get("U1", "FLOW_WASTE_HOME_BG"), 3.5 * 0.8 * 0.8 / 1000.0, 1e-12);
    EXPECT_FALSE(Get("U2", "FLOW_WASTE_HOME_BG"));  // not selected
    EXPECT_TRUE(r.written);
    EXPECT_FALSE(r.factorMissing);
}

TEST_F(AreaFlowsTest, BulgarianSectionWithoutFactorIsLeftAndUntagged) {
    Section("S", "A", "B");
    Section("T", "B", "C");
    Area("I", "S", 4, 1.0);
    Area("J", "T", 4, 1.0);
    Set("T", "FLOW_BLG_WASTE", 1.0);
    Set("S", "FLOW_WASTE_IND", 0.123);
    WasteWaterAreaInput in;
    in.household = in.industrial = true;
    in.standard = WasteStandard::Bulgarian;
    in.kI = 0.0;  // QI = 0: the industrial flow written is 0, not NaN
    const auto r = CWasteWaterArea::Run(in, Named({"S", "T"}), Tagger());
    EXPECT_TRUE(r.factorMissing);
    EXPECT_EQ(*Get("S", "FLOW_WASTE_IND"), 0.123);
    EXPECT_FALSE(Get("S", "FLOW_BLG_WASTE_HOME_KOMAX"));
    EXPECT_EQ(*Get("T", "FLOW_WASTE_IND"), 0.0);
    // T has no household area anywhere upstream: P = 0, K = 3.5 and the flow 0.
    EXPECT_EQ(*Get("T", "FLOW_BLG_WASTE_HOME_KOMAX"), 3.5);
    EXPECT_EQ(*Get("T", "FLOW_WASTE_HOME_BG"), 0.0);
    EXPECT_EQ(tagged, (std::vector<std::string>{"T"}));
}

// ---- simple rain ----

TEST_F(AreaFlowsTest, SimpleRainByBothMethods) {
    Section("S", "A", "B");
    Area("R", "S", 1, 4.0, 0.0, 0.5);  // corrected 2 ha
    SimpleRainInput in;
    in.intensity = 120.0;
    EXPECT_TRUE(CSimpleRainFlow::Run(in, Named({"S"})).written);
    EXPECT_NEAR(*Get("S", "FLOW_RAIN"), 0.24, 1e-12);
    EXPECT_EQ(*Get("S", "FLOW_IDF_INTENSITY"), 120.0);
    Set("S", "FLOW_COEFRET", 0.5);
    Set("S", "FLOW_COEFRED", 0.9);
    CSimpleRainFlow::Run(in, Named({"S"}));
    EXPECT_NEAR(*Get("S", "FLOW_RAIN"), 0.9 * 0.5 * 0.24, 1e-12);
    // ATV with n = 1, T = 1: phi = (1 - 0.3684) x 38 / 10 = 2.40008; the coefficients play no part.
    Set("S", "FLOW_ATV_N", 1.0);
    Set("S", "FLOW_ATV_T", 1.0);
    in.method = RainMethod::Atv;
    CSimpleRainFlow::Run(in, Named({"S"}));
    EXPECT_NEAR(*Get("S", "FLOW_RAIN"), 0.12 * 2.40008 * 2.0, 1e-12);
}

TEST(SimpleRainCoefficient, AtvFrequenciesAndDurationsThatGiveNoFlow) {
    struct {
        double n, t;
        std::optional<double> phi;
    } cases[] = {
        {1.0, 1.0, 2.40008},         {1.0, 0.0, (1.0 - 0.3684) * 38.0 / 9.0},
        {0.0, 15.0, std::nullopt},    // 1 / 0^0.25
        {-1.0, 15.0, std::nullopt},   // not a frequency
        {1.0, -9.0, std::nullopt},    // divides by zero
        {1.0, -1.0, std::nullopt},    // a negative duration
        {100.0, 15.0, std::nullopt},  // 1 / 100^0.25 = 0.316 < 0.3684: a negative coefficient
    };
    for (const auto& c : cases) {
        const auto phi = CSimpleRainFlow::AtvCoefficient(c.n, c.t);
        ASSERT_EQ(phi.has_value(), c.phi.has_value()) << c.n << " " << c.t;
        if (phi) {
            EXPECT_NEAR(*phi, *c.phi, 1e-12);
        }
    }
}

TEST_F(AreaFlowsTest, SimpleRainLeavesSectionsWithoutAreaOrValidAtvValuesAlone) {
    Section("S", "A", "B");
    Section("DRY", "B", "C");
    Area("R", "S", 1, 2.0);
    Set("S", "FLOW_RAIN", 0.5);
    Set("S", "FLOW_ATV_N", 0.0);
    SimpleRainInput in;
    in.method = RainMethod::Atv;
    const auto r = CSimpleRainFlow::Run(in, Named({"S", "DRY"}), Tagger());
    EXPECT_EQ(r.invalidAtv, 1);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(*Get("S", "FLOW_RAIN"), 0.5);
    EXPECT_FALSE(Get("S", "FLOW_IDF_INTENSITY"));
    EXPECT_FALSE(Get("DRY", "FLOW_RAIN"));
    EXPECT_EQ(tagged, (std::vector<std::string>{"S", "DRY"}));
}

// ---- additional flows ----

TEST_F(AreaFlowsTest, AdditionalFlowsAgainstHandValues) {
    Node("A", 0, 0);
    Node("B", 150, 0);
    Section("S", "A", "B");  // 150 m
    Area("H", "S", 2, 2.0, 50.0);
    struct {
        const char* what;
        AdditionalFlowsInput in;
        const char* attribute;
        std::optional<double> expected;
    } cases[] = {
        {"overflow of 5 l/s",
         {.point = true, .pointKind = PointFlowKind::Overflow, .koefTockasti = 5.0},
         "FLOW_POINT",
         -0.005},
        {"inflow of 10 l/s", {.point = true}, "FLOW_POINT", 0.01},
        {"specific 0.2 l/s/m over 150 m",
         {.foreign = true, .foreignMethod = ForeignWaterMethod::SpecificFlow, .specificFlow = 0.2},
         "FLOW_FOREIGN",
         0.03},
        {"influence areas: 100 inhabitants x 1 / 1000", {.foreign = true}, "FLOW_FOREIGN", 0.1},
        {"additional rain: 100 inhabitants / 1000 x 0.2", {.additional = true}, "FLOW_ADDITIONAL", 0.02},
        {"user flow of 3 l/s", {.user = true, .userFlow = 3.0}, "FLOW_USER", 0.003},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TAVGis::Data::CDataRW::Delete(c.attribute, Topo().FindSectionByName("S"));
        CAdditionalFlows::Run(c.in, Named({"S"}));
        ASSERT_TRUE(Get("S", c.attribute));
        EXPECT_NEAR(*Get("S", c.attribute), *c.expected, 1e-12);
    }
}

TEST_F(AreaFlowsTest, ForeignWaterNeedsAreasOrBothWasteFlows) {
    Section("S", "A", "B");
    Set("S", "FLOW_WASTE_HOME", 0.004);
    AdditionalFlowsInput areas{.foreign = true};
    EXPECT_FALSE(CAdditionalFlows::Run(areas, Named({"S"})).written);
    EXPECT_FALSE(Get("S", "FLOW_FOREIGN"));
    AdditionalFlowsInput share{.foreign = true, .foreignMethod = ForeignWaterMethod::ShareOfWaste};
    CAdditionalFlows::Run(share, Named({"S"}));
    EXPECT_FALSE(Get("S", "FLOW_FOREIGN"));  // no industrial flow stored
    Set("S", "FLOW_WASTE_IND", 0.001);
    CAdditionalFlows::Run(share, Named({"S"}));
    EXPECT_NEAR(*Get("S", "FLOW_FOREIGN"), 0.0005, 1e-15);
}

// ---- flow input data ----

TEST(FlowInputCoefficients, RunoffAndReductionAgainstHandValues) {
    EXPECT_NEAR(*CFlowInputData::RunoffCoefficient(6.0, 64.0), 0.5, 1e-12);  // 64^(1/6) = 2
    EXPECT_EQ(*CFlowInputData::RunoffCoefficient(6.0, 0.5), 1.0);
    EXPECT_EQ(*CFlowInputData::RunoffCoefficient(6.0, 1.0), 1.0);
    EXPECT_FALSE(CFlowInputData::RunoffCoefficient(0.0, 64.0));
    EXPECT_FALSE(CFlowInputData::RunoffCoefficient(6.0, 0.0));
    EXPECT_NEAR(*CFlowInputData::ReductionCoefficient(400.0), 0.9, 1e-12);
    EXPECT_FALSE(CFlowInputData::ReductionCoefficient(0.0));
}

TEST_F(AreaFlowsTest, FlowInputDataWritesOnlyTheTickedRows) {
    Node("A", 0, 0);
    Node("B", 400, 0);
    Section("S", "A", "B");
    Area("R", "S", 1, 64.0);
    CFlowInputData::Values values;
    values[10] = 120.0;
    EXPECT_TRUE(CFlowInputData::Write(values, Named({"S"})).written);
    EXPECT_EQ(*Get("S", "FLOW_SECTION_POPULATION"), 120.0);
    for (const char* a : {"FLOW_COEFDEN", "FLOW_COEFRET", "FLOW_COEFRED", "FLOW_INTIME", "PIPE_ROUGHNESS"})
        EXPECT_FALSE(Get("S", a)) << a;
    values = {};
    values[1] = 6.0;
    values[8] = 1.5;
    values[7] = 9.0;  // a separator is never written
    CFlowInputData::Write(values, Named({"S"}));
    EXPECT_NEAR(*Get("S", "FLOW_COEFRET"), 0.5, 1e-12);
    EXPECT_NEAR(*Get("S", "FLOW_COEFRED"), 0.9, 1e-12);
    EXPECT_EQ(*Get("S", "PIPE_ROUGHNESS"), 1.5);
    // n = 0 writes neither coefficient.
    Set("S", "FLOW_COEFRET", 0.7);
    values = {};
    values[1] = 0.0;
    EXPECT_FALSE(CFlowInputData::Write(values, Named({"S"})).written);
    EXPECT_EQ(*Get("S", "FLOW_COEFRET"), 0.7);
}

}  // namespace
