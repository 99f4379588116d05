// Numbers as text: the one parser and formatter behind edits, data exchange, settings and attribute texts.
// Formatting is checked against printf in the "C" locale, the format every file and field of the system
// was specified in.
#include "platform/host/NumberText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <optional>

namespace {

namespace NumberText = TAVHost::NumberText;

std::string Printf(const char* format, int precision, double value) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, precision, value);
    return buffer;
}

TEST(NumberTextTest, FixedAndGeneralEqualPrintf) {
    const double values[] = {0.0,  -0.0,    1.5,     -1.5,    0.125,   2.5,     0.00005, 0.00015,
                             1e-7, 123.456, 1e15,    1e300,   -1e-300, 35.3845, 61.8123, 1.31e-6,
                             0.29, 100.0,   1.0 / 3, 2.0 / 3, 1e21,    7e-5};
    for (double v : values) {
        for (int decimals : {0, 1, 2, 4, 6, 10})
            EXPECT_EQ(NumberText::Fixed(v, decimals), Printf("%.*f", decimals, v)) << v << " " << decimals;
        for (int precision : {1, 6, 17})
            EXPECT_EQ(NumberText::General(v, precision), Printf("%.*g", precision, v))
                << v << " " << precision;
    }
}

TEST(NumberTextTest, TypedTextsParseAsDecimalNumbers) {
    struct Case {
        const char* text;
        std::optional<double> leading;  // ParseLeading
        std::optional<double> whole;    // ParseWhole
    };
    const Case cases[] = {
        {"12.5", 12.5, 12.5},  {"  -3", -3.0, -3.0}, {"+4.25", 4.25, 4.25},
        {".5", 0.5, 0.5},      {"7.", 7.0, 7.0},     {"1e3", 1000.0, 1000.0},
        {"12.5 m", 12.5, {}},  {"1,5", 1.0, {}},     {"abc", {}, {}},
        {"", {}, {}},          {"-", {}, {}},        {"--1", {}, {}},
        {"+-1", {}, {}},       {"1e400", {}, {}},    {"nan", {}, {}},
        {"inf", {}, {}},       {"-inf", {}, {}},     {"0x10", 0.0, {}},
        {"\t\n 2", 2.0, 2.0},  {"- 2", {}, {}},      {"-0.000001", -1e-6, -1e-6},
        {" 3.5 \t", 3.5, 3.5}, {"1e-400", {}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NumberText::ParseLeading(c.text), c.leading) << '"' << c.text << '"';
        EXPECT_EQ(NumberText::ParseWhole(c.text), c.whole) << '"' << c.text << '"';
        EXPECT_EQ(NumberText::ParseOrZero(c.text), c.leading.value_or(0.0)) << '"' << c.text << '"';
    }
}

TEST(NumberTextTest, NumbersAreShownAsAFieldShowsThem) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {1.5, "1.5"},
        {3.0, "3"},
        {-0.25, "-0.25"},
        {0.0, "0"},
        {-0.0, "0"},
        {-1e-9, "0"},
        {100.0, "100"},
        {0.1234567, "0.123457"},
        {1e6, "1000000"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {std::numeric_limits<double>::infinity(), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(NumberText::Trimmed(c.value), c.expected) << c.value;
}

}  // namespace
