// Colouring sections by a result: classes of equal width between the smallest and the largest value,
// missing values apart, the ramp's ends blue and red.
#include "host/gui/ResultColours.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using SewerGui::Classify;

TEST(ResultColours, ClassesOfEqualWidthCountTheirValues) {
    // 0..60 in six classes of 10: 0 and 9.99 in the first, 10 in the second, 60 (the top) in the last.
    const std::vector<std::optional<double>> values{0.0, 9.99, 10.0, 35.0, 59.0, 60.0, std::nullopt, NAN};
    const auto c = Classify(values, 6);
    ASSERT_EQ(c.classes.size(), 6u);
    EXPECT_EQ(c.missing, 2u);
    const std::size_t counts[] = {2, 1, 0, 1, 0, 2};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_DOUBLE_EQ(c.classes[i].from, 10.0 * i) << i;
        EXPECT_DOUBLE_EQ(c.classes[i].to, 10.0 * (i + 1)) << i;
        EXPECT_EQ(c.classes[i].count, counts[i]) << i;
    }
    EXPECT_EQ(c.RangeText(1), "10 - 20");
    struct {
        std::optional<double> value;
        int cls;
    } table[] = {{0.0, 0}, {19.999, 1}, {20.0, 2}, {60.0, 5}, {-5.0, 0}, {75.0, 5}, {std::nullopt, -1}};
    for (const auto& row : table) EXPECT_EQ(c.ClassOf(row.value), row.cls) << (row.value ? *row.value : -1);
}

TEST(ResultColours, EqualValuesMakeOneClassAndNoValuesNone) {
    const auto one = Classify({41.0, 41.0, std::nullopt}, 6);
    ASSERT_EQ(one.classes.size(), 1u);
    EXPECT_EQ(one.classes[0].count, 2u);
    EXPECT_EQ(one.missing, 1u);
    EXPECT_EQ(one.ClassOf(41.0), 0);
    const auto none = Classify({std::nullopt, std::nullopt}, 6);
    EXPECT_TRUE(none.classes.empty());
    EXPECT_EQ(none.missing, 2u);
    EXPECT_EQ(none.ClassOf(1.0), -1);
}

TEST(ResultColours, TheRampRunsFromBlueToRed) {
    const auto low = SewerGui::RampColour(0.0), high = SewerGui::RampColour(1.0),
               mid = SewerGui::RampColour(0.5);
    EXPECT_GT(low.b, low.r);
    EXPECT_GT(high.r, high.b);
    EXPECT_GT(mid.g, mid.r);  // green in the middle
    EXPECT_EQ(SewerGui::RampColour(-1.0), low);
    EXPECT_EQ(SewerGui::RampColour(2.0), high);
}

}  // namespace
