// The intensity-duration curve file reader: its rules, line ends, and the malformed files it refuses.
#include "platform/sewage/IdfCurveFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TAVGis::Sewage::CIdfCurveFile;
using TAVGis::Sewage::IdfCurve;
using TAVGis::Sewage::IdfReadError;

struct Point {
    double duration, intensity;
    bool operator==(const Point&) const = default;
};
struct Curve {
    double period;
    std::vector<Point> points;
    bool operator==(const Curve&) const = default;
};

std::vector<Curve> Read(const std::string& text) {
    IdfReadError error;
    auto set = CIdfCurveFile::Parse(text, error);
    EXPECT_TRUE(set) << text << " -> line " << error.line << ": " << error.reason;
    std::vector<Curve> out;
    if (set)
        for (const auto& c : set->curves) {
            Curve k{c.returnPeriod, {}};
            for (const auto& [d, i] : c.points) k.points.push_back({d, i});
            out.push_back(k);
        }
    return out;
}

TEST(IdfCurveFile, AcceptedFiles) {
    struct {
        const char* name;
        std::string text;
        std::vector<Curve> expected;
    } const cases[] = {
        {"two curves in order",
         "#2\n5 200\n10 150\n#5\n5 300\n10 220\n",
         {{2, {{5, 200}, {10, 150}}}, {5, {{5, 300}, {10, 220}}}}},
        {"sorted by period and duration",
         "#5\n10 220\n5 300\n#2\n5 200\n",
         {{2, {{5, 200}}}, {5, {{5, 300}, {10, 220}}}}},
        {"three fields ignored", "#2\n5 200 7\n10 150\n", {{2, {{10, 150}}}}},
        {"duplicate period keeps the first curve", "#2\n5 200\n#2\n5 999\n10 1\n", {{2, {{5, 200}}}}},
        {"duplicate duration keeps the first point", "#2\n5 200\n5 100\n", {{2, {{5, 200}}}}},
        {"points before any # belong to period 0", "5 50\n#2\n5 200\n", {{0, {{5, 50}}}, {2, {{5, 200}}}}},
        {"empty curve dropped", "#1\n#2\n5 200\n", {{2, {{5, 200}}}}},
        {"comments, tabs, runs of blanks, CR LF",
         "* rain\r\n#10 years\r\n5\t\t200\r\n  10   150  \r\n",
         {{10, {{5, 200}, {10, 150}}}}},
        {"CR alone ends lines, no final line end", "#2\r5 200\r10 150", {{2, {{5, 200}, {10, 150}}}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.text), c.expected) << c.name;
}

TEST(IdfCurveFile, RefusedFilesNameTheLine) {
    struct {
        const char* name;
        std::string text;
        std::size_t line;
    } const cases[] = {
        {"last curve without points", "#2\n5 200\n#5\n* none\n", 3},
        {"nothing at all", "", 0},
        {"comments only", "* a\n* b\n", 0},
        {"intensity not a number", "#2\n5 200\n10 abc\n", 3},
        {"number out of range", "#2\n5 1e999\n", 2},
        {"negative intensity", "#2\n5 -1\n", 2},
        {"negative return period", "#-2\n5 1\n", 1},
        {"NUL byte", std::string("#2\n5 2\0000\n", 9), 2},
        {"line too long", "#2\n5 200\n" + std::string(1000, ' ') + "\n", 3},
    };
    for (const auto& c : cases) {
        IdfReadError error;
        EXPECT_FALSE(CIdfCurveFile::Parse(c.text, error)) << c.name;
        EXPECT_EQ(error.line, c.line) << c.name;
        EXPECT_FALSE(error.reason.empty()) << c.name;
    }
    IdfReadError error;
    EXPECT_TRUE(CIdfCurveFile::Parse("#2\n5 200\n" + std::string(999, ' ') + "\n", error)) << error.reason;
    EXPECT_FALSE(CIdfCurveFile::Load("/nonexistent/curves.dat", error));
    EXPECT_FALSE(CIdfCurveFile::Load("/tmp", error));
}

TEST(IdfCurveFile, IntensityIsLinearBetweenPointsAndHeldBeyondThem) {
    const IdfCurve c{2, {{5, 200}, {10, 150}, {20, 100}}};
    struct {
        double t, i;
    } const cases[] = {{0, 200}, {5, 200}, {7.5, 175}, {10, 150}, {12, 140}, {20, 100}, {60, 100}};
    for (const auto& k : cases) EXPECT_DOUBLE_EQ(c.IntensityAt(k.t), k.i) << k.t;
}

}  // namespace
