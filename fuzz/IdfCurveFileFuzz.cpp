// Fuzz target: any bytes as an intensity-duration curve file.
// Properties: no crash or hang; an accepted file has at least one curve, every curve has points, return
// periods strictly ascending, durations strictly ascending, every number finite and not negative, and
// the intensity between points lies between its neighbours; a refused file names a line that exists
// (or 0) and a reason.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/sewage/IdfCurveFile.h"

namespace {
void Require(bool condition) {
    if (!condition) __builtin_trap();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TAVGis::Sewage::IdfReadError error;
    const auto set = TAVGis::Sewage::CIdfCurveFile::Parse(text, error);
    if (!set) {
        std::size_t lines = 1;
        for (char c : text) lines += (c == '\n' || c == '\r') ? 1 : 0;
        Require(error.line <= lines);
        Require(!error.reason.empty());
        return 0;
    }
    Require(!set->curves.empty());
    double lastPeriod = -1.0;
    for (const auto& c : set->curves) {
        Require(std::isfinite(c.returnPeriod) && c.returnPeriod > lastPeriod);
        lastPeriod = c.returnPeriod;
        Require(!c.points.empty());
        double lastDuration = -1.0;
        for (const auto& [d, i] : c.points) {
            Require(std::isfinite(d) && std::isfinite(i) && d >= 0.0 && i >= 0.0 && d > lastDuration);
            lastDuration = d;
        }
        for (std::size_t k = 1; k < c.points.size(); ++k) {
            const auto& [d0, i0] = c.points[k - 1];
            const auto& [d1, i1] = c.points[k];
            const double mid = c.IntensityAt(d0 + (d1 - d0) / 2.0);
            Require(std::isfinite(mid) && mid >= std::fmin(i0, i1) - 1e-9 * std::fabs(i0 + i1) &&
                    mid <= std::fmax(i0, i1) + 1e-9 * std::fabs(i0 + i1));
        }
    }
    return 0;
}
