// Waste water by percent run directly: the design flow, and its share written on the sections.
#include "module/flow/calc/WasteWaterPercent.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "platform/gis/DataRW.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::Topology::CSectionPtr;

// The worked example: 5000 inhabitants growing 2 % a year for 30 years, 150 l a day, kd = kh = 1.5 give a
// design flow of about 35.4 l/s; the Fedorov coefficient K = 2.69 / Q^0.121 of about 1.75 raises it to
// about 61.8 l/s.
TEST(WasteWaterPercentTest, DesignFlowByTheSwitches) {
    WasteWaterPercentInput fedorov;
    fedorov.fedorov = true;
    WasteWaterPercentInput romanian;  // the Fedorov switch is ignored under the Romanian coefficients
    romanian.romanian = true;
    romanian.fedorov = true;
    WasteWaterPercentInput shrinking;
    shrinking.p = -1.0;
    shrinking.t = 10.0;
    WasteWaterPercentInput nobody;
    nobody.n = 0.0;
    nobody.fedorov = true;
    struct Case {
        const char* name;
        WasteWaterPercentInput in;
        double growth, q, k;  // q in l/s
        double tol;
    };
    for (const Case& c : {
             Case{"defaults", {}, 1.8114, 35.38, 1.0, 0.01},
             Case{"Fedorov", fedorov, 1.8114, 61.81, 1.747, 0.01},
             // KS x KP x KU = 1.1 x 1.1 x 0.8 = 0.968 of the plain design flow.
             Case{"Romanian", romanian, 1.8114, 34.25, 1.0, 0.01},
             Case{"negative growth", shrinking, 0.9044, 17.67, 1.0, 0.01},
             Case{"nobody lives there: no division by zero", nobody, 1.8114, 0.0, 1.0, 0.0},
         }) {
        SCOPED_TRACE(c.name);
        const auto r = CWasteWaterPercent::Compute(c.in, {});
        EXPECT_NEAR(r.growth, c.growth, 1e-4);
        EXPECT_NEAR(r.q, c.q, c.tol);
        EXPECT_NEAR(r.k, c.k, 1e-3);
        EXPECT_NEAR(r.qh * 24.0, r.qd, 1e-9);  // average hourly flow, l/h
        EXPECT_EQ(r.qs, 0.0);                  // no sections: nothing to spread the flow over
    }
}

class WasteWaterPercentWriteTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        // Sections of 30, 40 and 50 m.
        Node("n1", 0, 0);
        Node("n2", 30, 0);
        Node("n3", 30, 40);
        Node("n4", 80, 40);
        for (const auto& [name, from, to] :
             {std::tuple{"A", "n1", "n2"}, {"B", "n2", "n3"}, {"C", "n3", "n4"}})
            sections.push_back(
                Topo().AddSection(name, Topo().FindNodeByName(from), Topo().FindNodeByName(to), system));
    }
    std::vector<CSectionPtr> sections;
};

// The design flow is spread over the length weighted by each section's density coefficient (1 when it has
// none): a section with coefficient 2 receives twice the flow per metre, and the shares add up to Q.
TEST_F(WasteWaterPercentWriteTest, SharesFollowTheDensityCoefficients) {
    struct Case {
        const char* name;
        std::optional<double> cA, cB, cC;
        double lw;              // m
        double shareA, shareB;  // of Q
    };
    for (const Case& c : {
             Case{"no coefficients", std::nullopt, std::nullopt, std::nullopt, 120.0, 30.0 / 120, 40.0 / 120},
             Case{"B counts twice", 1.0, 2.0, std::nullopt, 160.0, 30.0 / 160, 80.0 / 160},
             Case{"all zero: nothing to spread over", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
         }) {
        SCOPED_TRACE(c.name);
        for (const auto& [name, coef] : {std::pair{"A", c.cA}, {"B", c.cB}, {"C", c.cC}}) {
            if (coef)
                Set(name, "FLOW_COEFDEN", *coef);
            else
                TAVGis::Data::CDataRW::Delete("FLOW_COEFDEN", Topo().FindSectionByName(name));
        }
        const auto r = CWasteWaterPercent::Compute({}, sections);
        EXPECT_NEAR(r.ltot, 120.0, 1e-9);
        EXPECT_NEAR(r.lw, c.lw, 1e-9);
        std::vector<std::string> tagged;
        EXPECT_TRUE(CWasteWaterPercent::Write(sections, r.qs,
                                              [&](const CSectionPtr& s) { tagged.push_back(s->GetName()); }));
        EXPECT_EQ(tagged, (std::vector<std::string>{"A", "B", "C"}));
        const double q = r.q / 1000.0;  // m3/s
        EXPECT_NEAR(*Get("A", "FLOW_WASTE_PER"), c.shareA * q, 1e-15);
        EXPECT_NEAR(*Get("B", "FLOW_WASTE_PER"), c.shareB * q, 1e-15);
        const double sum =
            *Get("A", "FLOW_WASTE_PER") + *Get("B", "FLOW_WASTE_PER") + *Get("C", "FLOW_WASTE_PER");
        EXPECT_NEAR(sum, c.lw > 0 ? q : 0.0, 1e-12);
        EXPECT_NEAR(*Get("C", "SPECIFIC_FLOW"), c.lw > 0 ? q / c.lw : 0.0, 1e-15);  // m3/s per m
    }
}

}  // namespace
