// The total flow run directly on drawings: no dialog.
#include "module/flow/calc/TotalFlow.h"

#include <gtest/gtest.h>

#include <vector>

#include "module/data/SectionData.h"
#include "support/TestSupport.h"

namespace {

// Rows of CTotalFlow::kComponents.
constexpr std::size_t kRowRainIdf = 0;  // typed
constexpr std::size_t kRowBlg = 1;      // direct
constexpr std::size_t kRowUneven = 2;   // direct, never stored here
constexpr std::size_t kRowTransit = 3;  // typed
constexpr std::size_t kRowOwn = 4;      // typed
constexpr std::size_t kRowTur = 5;      // direct, never stored here
constexpr std::size_t kRowIski = 6;     // direct

class TotalFlowTest : public testsupport::DrawingTest {};

// The ticked terms added in row order; a missing typed term (absent, or stored as the sentinel) adds
// nothing, a direct term adds whatever is stored; FLOW_TOTAL is written also when it is 0.
TEST_F(TotalFlowTest, SumsTheTickedTerms) {
    auto head = Section("H", "a", "b");  // a head: no transit, no own flow stored
    auto s = Section("S", "b", "c");
    Set("S", "FLOW_TRANSIT", 0.010);
    Set("S", "FLOW_SECT_TOTAL", 0.002);
    Set("S", "FLOW_RAIN_IDF", kMissingValue);
    Set("S", "FLOW_WASTE_HOME_BG", kMissingValue);
    Set("S", "FLOW_ISKI_PEAK", 0.100);
    struct Case {
        const char* name;
        std::vector<std::size_t> rows;
        double head, s;
    };
    for (const Case& c : {
             Case{"nothing", {}, 0.0, 0.0},
             Case{"transit only: a head gets 0", {kRowTransit}, 0.0, 0.010},
             Case{"own plus transit", {kRowTransit, kRowOwn}, 0.0, 0.012},
             Case{"a stored sentinel is missing", {kRowRainIdf, kRowOwn}, 0.0, 0.002},
             Case{"a direct read adds the sentinel", {kRowBlg}, 0.0, kMissingValue},
             Case{"everything but BLG",
                  {kRowRainIdf, kRowUneven, kRowTransit, kRowOwn, kRowTur, kRowIski},
                  0.0,
                  0.112},
         }) {
        SCOPED_TRACE(c.name);
        CTotalFlow::Flags f{};
        for (auto r : c.rows) f[r] = 1;
        EXPECT_TRUE(CTotalFlow::Write({head, nullptr, s}, f));
        ASSERT_TRUE(Get("H", "FLOW_TOTAL"));
        EXPECT_NEAR(*Get("H", "FLOW_TOTAL"), c.head, 1e-12);
        EXPECT_NEAR(*Get("S", "FLOW_TOTAL"), c.s, 1e-12);
        EXPECT_NEAR(CTotalFlow::Of(s, f), c.s, 1e-12);
    }
    EXPECT_FALSE(CTotalFlow::Write({}, CTotalFlow::Flags{}));
}

}  // namespace
