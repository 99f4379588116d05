#include "platform/sewage/IdfCurveFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace TAVGis::Sewage {

namespace {
constexpr double kSameReturnPeriod = 1e-9;

// The whole field as a finite number, or nothing.
std::optional<double> Number(const std::string& field) {
    if (field.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(field.c_str(), &end);
    if (end != field.c_str() + field.size() || errno == ERANGE || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::vector<std::string> Fields(std::string line) {
    std::replace(line.begin(), line.end(), '\t', ' ');
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string f; in >> f;) out.push_back(f);
    return out;
}

struct RawCurve {
    double returnPeriod = 0.0;
    std::size_t line = 0;
    std::map<double, double> points;  // first point of each duration kept
};
}  // namespace

std::string IdfReadError::Describe(const std::string& path) const {
    return path + (line ? ", line " + std::to_string(line) : std::string()) + ": " + reason;
}

double IdfCurve::IntensityAt(double duration) const {
    if (points.empty()) return 0.0;
    if (duration <= points.front().first) return points.front().second;
    if (duration >= points.back().first) return points.back().second;
    auto hi = std::upper_bound(points.begin(), points.end(), duration,
                               [](double d, const std::pair<double, double>& p) { return d < p.first; });
    auto lo = std::prev(hi);
    const double t = (duration - lo->first) / (hi->first - lo->first);
    return lo->second + t * (hi->second - lo->second);
}

const IdfCurve* IdfCurveSet::Find(double returnPeriod) const {
    for (const auto& c : curves)
        if (std::fabs(c.returnPeriod - returnPeriod) <= kSameReturnPeriod) return &c;
    return nullptr;
}

std::optional<IdfCurveSet> CIdfCurveFile::Parse(std::string_view text, IdfReadError& error) {
    std::vector<RawCurve> raw;
    raw.push_back(RawCurve{0.0, 0, {}});  // points before the first '#' line
    std::size_t lineNo = 0;
    std::size_t pos = 0;
    auto fail = [&](std::string reason) -> std::optional<IdfCurveSet> {
        error = IdfReadError{lineNo, std::move(reason)};
        return std::nullopt;
    };
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string line(text.substr(pos, end - pos));
        pos = end + 1;  // past LF or CR (or past the end)
        if (end < text.size() && text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
        ++lineNo;
        if (line.size() > kMaxLineLength) return fail("line longer than 999 characters");
        if (line.find('\0') != std::string::npos) return fail("NUL byte");
        if (line.empty() || line[0] == '*') continue;
        if (line[0] == '#') {
            const double period = std::atof(line.c_str() + 1);
            if (!std::isfinite(period) || period < 0.0)
                return fail("return period not a number of 0 or more");
            raw.push_back(RawCurve{period, lineNo, {}});
            continue;
        }
        const auto f = Fields(line);
        if (f.size() != 2) continue;
        const auto duration = Number(f[0]);
        const auto intensity = Number(f[1]);
        if (!duration || !intensity) return fail("duration and intensity must be numbers");
        if (*duration < 0.0 || *intensity < 0.0) return fail("negative duration or intensity");
        raw.back().points.emplace(*duration, *intensity);  // an earlier point of the same duration stays
    }
    if (raw.back().points.empty()) {
        lineNo = raw.back().line;
        return fail(raw.size() == 1 ? "no curve points" : "the last curve has no points");
    }
    IdfCurveSet set;
    for (const auto& r : raw) {
        if (r.points.empty()) continue;
        bool seen = false;
        for (const auto& c : set.curves)
            seen = seen || std::fabs(c.returnPeriod - r.returnPeriod) <= kSameReturnPeriod;
        if (seen) continue;
        set.curves.push_back(IdfCurve{r.returnPeriod, {r.points.begin(), r.points.end()}});
    }
    std::stable_sort(set.curves.begin(), set.curves.end(),
                     [](const IdfCurve& a, const IdfCurve& b) { return a.returnPeriod < b.returnPeriod; });
    return set;
}

std::optional<IdfCurveSet> CIdfCurveFile::Load(const std::string& path, IdfReadError& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = IdfReadError{0, "not a readable file"};
        return std::nullopt;
    }
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) {
        error = IdfReadError{0, "larger than 16 MiB"};
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = IdfReadError{0, "not a readable file"};
        return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(text, error);
}

}  // namespace TAVGis::Sewage
