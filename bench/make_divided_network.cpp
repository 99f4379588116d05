// make_divided_network: writes an EPA SWMM 5 input file of a sewer network that divides, for trying the
// calculations on networks as large as wanted.
//   make_divided_network CONDUITS FILE.inp
//
// The network: junctions "J1".."Jn" in a tree draining to the outfall "OUT"; conduit "Ci" runs from "Ji"
// down to its parent junction (J((i-1)/3), the outfall for the first three). Every tenth junction also
// has a relief conduit "Ri" leaving it, as a relief sewer does: it bypasses the parent and rejoins the tree
// at the grandparent (the tenth junction and later ones all have one). So a junction every ten has two
// outgoing conduits, and the divisions nest along the longer paths. Inverts
// rise upstream by 5 per mille of the conduit length, so every conduit, relief conduits included, falls
// towards its downstream end; every conduit has a CIRCULAR cross-section and every node coordinates.
// CONDUITS counts main and relief conduits together.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "platform/host/NumberText.h"

namespace {

constexpr std::size_t kBranching = 3;
constexpr std::size_t kDivisionEvery = 10;
constexpr double kOutfallInvert = 100.0;  // m
constexpr double kSlope = 0.005;          // m/m, invert rise per metre upstream
constexpr double kMaxDepth = 3.0;         // m
constexpr double kManningN = 0.013;
constexpr double kDiameters[] = {0.2, 0.25, 0.3, 0.4, 0.5, 0.6, 0.8, 1.0};  // m, upstream to outfall

std::string Text(double value, int decimals) {
    return TAVHost::NumberText::Fixed(value, decimals);
}

struct Junction {
    std::size_t parent = 0;  // 0: the outfall
    std::size_t depth = 0;   // conduits from the outfall
    double x = 0.0, y = 0.0, invert = kOutfallInvert, length = 0.0;
};

struct Network {
    std::vector<Junction> nodes;       // index 0: the outfall
    std::vector<std::size_t> reliefs;  // junctions with a relief conduit
};

Network Build(std::size_t conduits) {
    Network n;
    n.nodes.emplace_back();
    std::size_t written = 0;
    for (std::size_t i = 1; written < conduits; ++i) {
        Junction j;
        j.parent = (i - 1) / kBranching;
        const Junction& p = n.nodes[j.parent];
        j.depth = p.depth + 1;
        j.length = 40.0 + static_cast<double>(i % 7) * 5.0;
        j.invert = p.invert + kSlope * j.length;
        const double angle = static_cast<double>(i % kBranching) * 2.0 * std::numbers::pi / kBranching +
                             0.3 * static_cast<double>(j.depth);
        j.x = p.x + j.length * std::cos(angle);
        j.y = p.y + j.length * std::sin(angle);
        n.nodes.push_back(j);
        ++written;
        if (i % kDivisionEvery == 0 && written < conduits) {
            n.reliefs.push_back(i);
            ++written;
        }
    }
    return n;
}

constexpr double kReliefShare = 0.8;  // a relief conduit's diameter, of the conduit it bypasses

double Diameter(std::size_t depth) {
    constexpr std::size_t count = sizeof kDiameters / sizeof kDiameters[0];
    return kDiameters[depth >= count ? 0 : count - depth];
}

std::string JunctionName(std::size_t i) {
    return i == 0 ? std::string("OUT") : "J" + std::to_string(i);
}

void Write(const Network& n, std::ostream& out) {
    const std::size_t junctions = n.nodes.size() - 1;
    // A relief conduit ends at the grandparent of its junction (junctions from the tenth on have one).
    auto reliefEnd = [&](std::size_t i) { return n.nodes[n.nodes[i].parent].parent; };

    out << "[TITLE]\nSynthetic network of " << junctions + n.reliefs.size() << " conduits with "
        << n.reliefs.size() << " divisions\n\n[OPTIONS]\nFLOW_UNITS LPS\nLINK_OFFSETS DEPTH\n\n";
    out << "[JUNCTIONS]\n;;Name Elevation MaxDepth InitDepth SurDepth Aponded\n";
    for (std::size_t i = 1; i <= junctions; ++i)
        out << JunctionName(i) << ' ' << Text(n.nodes[i].invert, 4) << ' ' << Text(kMaxDepth, 4)
            << " 0 0 0\n";
    out << "\n[OUTFALLS]\nOUT " << Text(kOutfallInvert, 4) << " FREE NO\n";

    out << "\n[CONDUITS]\n;;Name From To Length Roughness InOffset OutOffset\n";
    for (std::size_t i = 1; i <= junctions; ++i)
        out << 'C' << i << " J" << i << ' ' << JunctionName(n.nodes[i].parent) << ' '
            << Text(n.nodes[i].length, 4) << ' ' << Text(kManningN, 3) << " 0 0\n";
    for (std::size_t i : n.reliefs) {
        // The plan distance is at most the two conduits it bypasses, so the relief falls at least as
        // steeply as they do.
        const Junction &from = n.nodes[i], &to = n.nodes[reliefEnd(i)];
        const double length = std::fmax(1.0, std::hypot(from.x - to.x, from.y - to.y));
        out << 'R' << i << " J" << i << ' ' << JunctionName(reliefEnd(i)) << ' ' << Text(length, 4) << ' '
            << Text(kManningN, 3) << " 0 0\n";
    }

    out << "\n[XSECTIONS]\n;;Link Shape Geom1 Geom2 Geom3 Geom4 Barrels\n";
    for (std::size_t i = 1; i <= junctions; ++i)
        out << 'C' << i << " CIRCULAR " << Text(Diameter(n.nodes[i].depth), 4) << " 0 0 0 1\n";
    for (std::size_t i : n.reliefs)
        // Smaller than the conduit it bypasses, so the main direction at the division follows the larger
        // pipe and no calculation has to ask for it.
        out << 'R' << i << " CIRCULAR " << Text(kReliefShare * Diameter(n.nodes[i].depth), 4) << " 0 0 0 1\n";

    out << "\n[COORDINATES]\n";
    for (std::size_t i = 0; i <= junctions; ++i)
        out << JunctionName(i) << ' ' << Text(n.nodes[i].x, 3) << ' ' << Text(n.nodes[i].y, 3) << '\n';
    out << "\n[MAP]\nUNITS METERS\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_divided_network CONDUITS FILE.inp\n";
        return 2;
    }
    const auto count = TAVHost::NumberText::ParseWhole(argv[1]);
    if (!count || *count < 1 || *count != std::floor(*count)) {
        std::cerr << "make_divided_network: CONDUITS must be a whole number of at least 1\n";
        return 2;
    }
    const Network network = Build(static_cast<std::size_t>(*count));
    std::ofstream out(argv[2], std::ios::binary);
    if (out) Write(network, out);
    out.flush();
    if (!out) {
        std::cerr << "make_divided_network: cannot write " << argv[2] << '\n';
        return 1;
    }
    std::cout << network.nodes.size() - 1 + network.reliefs.size() << " conduits, " << network.reliefs.size()
              << " divisions: " << argv[2] << '\n';
    return 0;
}
