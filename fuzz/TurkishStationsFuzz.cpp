// Fuzz target: any bytes as the Turkish rain stations' file (turkish_stations.json).
// Properties: no crash or hang; a refused file gives an error that starts with the file's name and holds
// no stations; an accepted file holds stations in name order with clean, unique names, curves of
// ascending return periods, each with points of strictly ascending durations, every number finite and
// not negative; what it writes reads back to the same stations.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sewage/IDPTurkParams.h"

namespace {
void Require(bool condition) {
    if (!condition) __builtin_trap();
}

// The name with ASCII letters in lower case.
std::string Folded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

bool Same(const TAVGis::Sewage::CIDPTurkParams& a, const TAVGis::Sewage::CIDPTurkParams& b) {
    if (a.Stations().size() != b.Stations().size()) return false;
    for (std::size_t s = 0; s < a.Stations().size(); ++s) {
        const auto& x = a.Stations()[s];
        const auto& y = b.Stations()[s];
        if (x.name != y.name || x.table.curves.size() != y.table.curves.size()) return false;
        for (std::size_t c = 0; c < x.table.curves.size(); ++c)
            if (x.table.curves[c].returnPeriod != y.table.curves[c].returnPeriod ||
                x.table.curves[c].points != y.table.curves[c].points)
                return false;
    }
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    TAVGis::Sewage::CIDPTurkParams stations;
    std::string error;
    if (!stations.Parse(text, "fuzz.json", error)) {
        Require(error.rfind("fuzz.json", 0) == 0);
        Require(stations.Stations().empty());
        return 0;
    }
    std::string last;
    for (const auto& s : stations.Stations()) {
        Require(!s.name.empty() && TAVGis::Sewage::CIDPTurkParams::CleanName(s.name) == s.name);
        const std::string folded = Folded(s.name);
        Require(last.empty() || last < folded);  // name order, and no two names equal ignoring case
        last = folded;
        double lastPeriod = -1.0;
        for (const auto& c : s.table.curves) {
            Require(std::isfinite(c.returnPeriod) && c.returnPeriod > lastPeriod);
            lastPeriod = c.returnPeriod;
            Require(!c.points.empty());
            double lastDuration = -1.0;
            for (const auto& [d, i] : c.points) {
                Require(std::isfinite(d) && std::isfinite(i) && d >= 0.0 && i >= 0.0 && d > lastDuration);
                lastDuration = d;
            }
        }
    }
    TAVGis::Sewage::CIDPTurkParams again;
    std::string againError;
    Require(again.Parse(stations.ToText(), "again.json", againError));
    Require(Same(stations, again));
    return 0;
}
