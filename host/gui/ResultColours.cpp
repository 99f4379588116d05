#include "ResultColours.h"

#include <algorithm>
#include <cmath>

#include "platform/host/NumberText.h"

namespace SewerGui {

ClassColour RampColour(double t) {
    static const ClassColour stops[] = {
        {43, 87, 200}, {0, 170, 200}, {40, 180, 60}, {240, 210, 0}, {220, 30, 30}};
    t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
    const double scaled = t * 4.0;
    const int i = std::min(3, static_cast<int>(scaled));
    const double f = scaled - i;
    auto mix = [f](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * f));
    };
    return {mix(stops[i].r, stops[i + 1].r), mix(stops[i].g, stops[i + 1].g),
            mix(stops[i].b, stops[i + 1].b)};
}

Classification Classify(const std::vector<std::optional<double>>& values, int classCount) {
    Classification out;
    double lo = 0.0, hi = 0.0;
    bool any = false;
    for (const auto& v : values) {
        if (!v || !std::isfinite(*v)) {
            ++out.missing;
            continue;
        }
        lo = any ? std::min(lo, *v) : *v;
        hi = any ? std::max(hi, *v) : *v;
        any = true;
    }
    if (!any) return out;
    const int n = hi > lo ? std::max(1, classCount) : 1;
    const double width = (hi - lo) / n;
    for (int i = 0; i < n; ++i) {
        ValueClass c;
        c.from = lo + width * i;
        c.to = i + 1 == n ? hi : lo + width * (i + 1);
        c.colour = RampColour(n == 1 ? 1.0 : static_cast<double>(i) / (n - 1));
        out.classes.push_back(c);
    }
    for (const auto& v : values) {
        const int k = out.ClassOf(v);
        if (k >= 0) ++out.classes[static_cast<std::size_t>(k)].count;
    }
    return out;
}

int Classification::ClassOf(const std::optional<double>& value) const {
    if (!value || !std::isfinite(*value) || classes.empty()) return -1;
    // Classes of equal width: the index follows from the value; the bounds decide at the edges.
    const double lo = classes.front().from, hi = classes.back().to;
    const int n = static_cast<int>(classes.size());
    if (hi <= lo || *value <= lo) return 0;
    if (*value >= hi) return n - 1;
    int k = std::clamp(static_cast<int>((*value - lo) / (hi - lo) * n), 0, n - 1);
    while (k > 0 && *value < classes[static_cast<std::size_t>(k)].from) --k;
    while (k + 1 < n && *value >= classes[static_cast<std::size_t>(k) + 1].from) ++k;
    return k;
}

std::string Classification::RangeText(std::size_t index) const {
    if (index >= classes.size()) return {};
    return TAVHost::NumberText::General(classes[index].from, 4) + " - " +
           TAVHost::NumberText::General(classes[index].to, 4);
}

}  // namespace SewerGui
