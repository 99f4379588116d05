#include "testing/InpGenerator.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>
#include <vector>

namespace TAVGis::Bench {

namespace {

constexpr double kFootToMetre = 0.3048;                                     // m per ft
constexpr double kAcreToHectare = 0.40468564224;                            // ha per acre
constexpr double kDiameters[] = {0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.8, 1.0};  // m, upstream to outfall
constexpr double kManningN = 0.013;
constexpr double kSubcatchmentArea = 0.5;       // ha
constexpr double kSubcatchmentHalfSide = 20.0;  // m

std::string NodeName(std::size_t i) {
    if (i == 0) return "OUT";
    std::string name = "J";
    name += std::to_string(i);
    return name;
}

}  // namespace

CInpGenerator::CInpGenerator(SInpGeneratorOptions options) : m_options(options) {
    if (m_options.branching == 0) m_options.branching = 1;
}

double CInpGenerator::ConduitLength(std::size_t i) {
    return 40.0 + static_cast<double>(i % 7) * 5.0;
}

std::size_t CInpGenerator::SubcatchmentCount() const {
    return m_options.subcatchmentEvery == 0 ? 0 : m_options.conduits / m_options.subcatchmentEvery;
}

void CInpGenerator::Write(std::ostream& out) const {
    const std::size_t n = m_options.conduits;
    const double length = m_options.usUnits ? 1.0 / kFootToMetre : 1.0;  // file units per metre
    const double area = m_options.usUnits ? 1.0 / kAcreToHectare : 1.0;  // file units per hectare

    // Geometry of the tree: depth, invert (m) and position (m) of every node.
    std::vector<std::size_t> depth(n + 1, 0);
    std::vector<double> invert(n + 1, kOutfallInvert);
    std::vector<double> x(n + 1, 0.0);
    std::vector<double> y(n + 1, 0.0);
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t p = Parent(i);
        depth[i] = depth[p] + 1;
        invert[i] = invert[p] + kSlope * ConduitLength(i);
        const double angle = static_cast<double>(i % m_options.branching) * 2.0 * std::numbers::pi /
                                 static_cast<double>(m_options.branching) +
                             0.3 * static_cast<double>(depth[i]);
        x[i] = x[p] + ConduitLength(i) * std::cos(angle);
        y[i] = y[p] + ConduitLength(i) * std::sin(angle);
    }

    char buffer[256];
    auto line = [&](int length) { out.write(buffer, length); };

    out << "[TITLE]\nSynthetic tree network of " << n << " conduits\n\n[OPTIONS]\n";
    out << "FLOW_UNITS " << (m_options.usUnits ? "CFS" : "LPS") << "\nLINK_OFFSETS DEPTH\n\n";
    out << "[JUNCTIONS]\n;;Name Elevation MaxDepth InitDepth SurDepth Aponded\n";
    for (std::size_t i = 1; i <= n; ++i)
        line(std::snprintf(buffer, sizeof buffer, "J%zu %.4f %.4f 0 0 0\n", i, invert[i] * length,
                           kMaxDepth * length));
    out << "\n[OUTFALLS]\n";
    line(std::snprintf(buffer, sizeof buffer, "OUT %.4f FREE NO\n\n", invert[0] * length));
    out << "[CONDUITS]\n;;Name From To Length Roughness InOffset OutOffset\n";
    for (std::size_t i = 1; i <= n; ++i) {
        const std::string to = NodeName(Parent(i));
        line(std::snprintf(buffer, sizeof buffer, "C%zu J%zu %s %.4f %.3f 0 0\n", i, i, to.c_str(),
                           ConduitLength(i) * length, kManningN));
    }
    out << "\n[XSECTIONS]\n;;Link Shape Geom1 Geom2 Geom3 Geom4 Barrels\n";
    constexpr std::size_t kDiameterCount = sizeof kDiameters / sizeof kDiameters[0];
    for (std::size_t i = 1; i <= n; ++i) {
        const std::size_t index = depth[i] >= kDiameterCount ? 0 : kDiameterCount - depth[i];
        line(std::snprintf(buffer, sizeof buffer, "C%zu CIRCULAR %.4f 0 0 0 1\n", i,
                           kDiameters[index] * length));
    }
    if (m_options.subcatchmentEvery > 0) {
        out << "\n[SUBCATCHMENTS]\n;;Name RainGage Outlet Area %Imperv Width %Slope CurbLen\n";
        for (std::size_t k = 1; k <= SubcatchmentCount(); ++k) {
            const std::size_t j = k * m_options.subcatchmentEvery;
            line(std::snprintf(buffer, sizeof buffer, "S%zu RG1 J%zu %.4f 40 %.4f 1 0\n", k, j,
                               kSubcatchmentArea * area, 2.0 * kSubcatchmentHalfSide * length));
        }
    }
    out << "\n[COORDINATES]\n";
    for (std::size_t i = 0; i <= n; ++i)
        line(std::snprintf(buffer, sizeof buffer, "%s %.3f %.3f\n", NodeName(i).c_str(), x[i], y[i]));
    if (m_options.subcatchmentEvery > 0) {
        out << "\n[POLYGONS]\n";
        constexpr double kCorners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (std::size_t k = 1; k <= SubcatchmentCount(); ++k) {
            const std::size_t j = k * m_options.subcatchmentEvery;
            for (const auto& corner : kCorners)
                line(std::snprintf(buffer, sizeof buffer, "S%zu %.3f %.3f\n", k,
                                   x[j] + corner[0] * kSubcatchmentHalfSide,
                                   y[j] + corner[1] * kSubcatchmentHalfSide));
        }
    }
    out << "\n[MAP]\nUNITS METERS\n";
}

std::string CInpGenerator::Text() const {
    std::ostringstream out;
    Write(out);
    return std::move(out).str();
}

bool CInpGenerator::WriteFile(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    Write(out);
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace TAVGis::Bench
