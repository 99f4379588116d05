#include "platform/gis/Utility.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace TAVGis::Utility {

double CUtility::RoundDouble(double value, int digits) {
    if (!std::isfinite(value)) return value;
    const double scale = std::pow(10.0, digits);
    return std::round(value * scale) / scale;
}

void CUtility::SplitString(const std::string& text, std::vector<std::string>& parts,
                           const std::string& separator) {
    parts.clear();
    if (separator.empty()) {
        parts.push_back(text);
        return;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t pos = text.find(separator, start);
        if (pos == std::string::npos) {
            parts.push_back(text.substr(start));
            return;
        }
        parts.push_back(text.substr(start, pos - start));
        start = pos + separator.size();
    }
}

void CUtility::Delay(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace TAVGis::Utility
