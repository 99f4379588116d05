#pragma once
// CSimpleRainFlow: the rain flow of each section from one rain intensity and the section's corrected
// catchment area (CCatchmentAreaManager::GetCATotalCorectedArea), by the standard method or the ATV method.
//
// Units: i in l/s/ha, A in ha, the flow written in m3/s.
//   standard  Q = s x r x A x i / 1000     (r FLOW_COEFRET, s FLOW_COEFRED; each 1.0 when missing)
//   ATV       phi = (1 / n^0.25 - 0.3684) x 38 / (T + 9); Q = i / 1000 x phi x A
//             (n FLOW_ATV_N, the rain's frequency per year; T FLOW_ATV_T, its duration in minutes; each 1.0
//             when missing)
// Every section with A > 0 gets FLOW_IDF_INTENSITY = i and FLOW_RAIN = Q; every section is tagged.
//
// Decision for the ATV method: a stored n of 0 or less is no frequency (1 / n^0.25 divides by zero or
// is not a number), a stored T below 0 is no duration (at T = -9 the coefficient divides by zero, below
// it turns negative), and a frequency above about 54 per year gives a negative coefficient. Such a
// section gets neither FLOW_RAIN nor FLOW_IDF_INTENSITY (what it had stays), it is still tagged, and the
// result counts it (the dialog names the count): no section receives a rain flow that is infinite, not a
// number or negative.
#include <functional>
#include <optional>
#include <vector>

#include "platform/network/Section.h"

enum class RainMethod { Standard = 0, Atv = 1 };

struct SimpleRainInput {
    double intensity = 120.0;  // l/s/ha
    RainMethod method = RainMethod::Standard;
};

struct SimpleRainResult {
    bool written = false;  // the last FLOW_RAIN write succeeded
    int flowsWritten = 0;
    int sectionsTagged = 0;
    int invalidAtv = 0;  // ATV sections left without a flow (n <= 0, T < 0 or a negative coefficient)
};

class CSimpleRainFlow {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    static constexpr double kPerThousand = 1000.0;
    static constexpr double kAtvExponent = 0.25;
    static constexpr double kAtvOffset = 0.3684;
    static constexpr double kAtvFactor = 38.0;
    static constexpr double kAtvMinutes = 9.0;
    static constexpr double kMissingCoefficient = 1.0;

    // The ATV time coefficient phi, or empty where n and T give none (see above).
    static std::optional<double> AtvCoefficient(double n, double t);

    using SectionDone = std::function<void(const CSectionPtr&)>;
    static SimpleRainResult Run(const SimpleRainInput& in, const std::vector<CSectionPtr>& sections,
                                const SectionDone& tag = {});
};
