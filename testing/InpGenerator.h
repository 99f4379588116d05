#pragma once
// CInpGenerator: writes a synthetic EPA SWMM 5 input file of a tree-shaped sewer network, for the
// import benchmark and the import tests.
//
// The network: one outfall "OUT" and junctions "J1".."JN"; conduit "Ci" runs from "Ji" down to its
// parent, "J((i-1)/branching)" or "OUT" for the first `branching` conduits. Every junction has
// coordinates, an invert that rises upstream at a slope of 5 per mille and a maximum depth of 3 m;
// every conduit has a CIRCULAR cross-section whose diameter grows towards the outfall. Optionally
// every k-th junction drains a square subcatchment with a polygon.
#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>

namespace TAVGis::Bench {

struct SInpGeneratorOptions {
    std::size_t conduits = 1000;
    std::size_t branching = 3;          // conduits joining at each junction from upstream (>= 1)
    bool usUnits = false;               // FLOW_UNITS CFS with feet and acres instead of LPS with metres
    std::size_t subcatchmentEvery = 0;  // one subcatchment per this many junctions; 0 for none
};

class CInpGenerator {
public:
    explicit CInpGenerator(SInpGeneratorOptions options = {});

    void Write(std::ostream& out) const;
    std::string Text() const;
    // False when the file cannot be written.
    bool WriteFile(const std::filesystem::path& path) const;

    // Sizes of the generated network.
    std::size_t NodeCount() const { return m_options.conduits + 1; }
    std::size_t SubcatchmentCount() const;

    // The values written for junction i (1..conduits) and conduit i, in metres.
    static constexpr double kMaxDepth = 3.0;         // m
    static constexpr double kOutfallInvert = 100.0;  // m
    static constexpr double kSlope = 0.005;          // m/m
    static double ConduitLength(std::size_t i);      // m
    std::size_t Parent(std::size_t i) const { return (i - 1) / m_options.branching; }

private:
    SInpGeneratorOptions m_options;
};

}  // namespace TAVGis::Bench
