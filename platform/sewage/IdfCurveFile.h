#pragma once
// The intensity-duration curve file: rain intensity (l/s/ha) against rain duration (min), one curve per
// return period (years). A text file in the system's ANSI code page, read line by line:
// - LF, CR LF and CR end lines; the line end is dropped. A line may hold at most 999 characters.
// - A line starting with '*' is a comment; an empty or blank line is skipped.
// - A line starting with '#' starts a new curve: the number after '#' (read as atof reads it, so
//   "#2 years" is 2) is its return period.
// - Any other line is a point: tabs count as spaces and the line is split at spaces; with exactly two
//   fields the first is the duration, the second the intensity. Lines with any other number of fields
//   are ignored.
// - Points before the first '#' line belong to a curve with return period 0.
// - A curve without points is dropped; curves are sorted by return period, points by duration. A point
//   whose duration an earlier point of its curve has is ignored; a curve whose return period an earlier
//   curve has is ignored with all its points.
// - The file is accepted only when its last curve has at least one point.
//
// Decisions (bad input must not pass silently or be read as numbers it does not hold):
// - Runs of blanks separate two fields once ("10   120" is a point): aligned columns are the usual way
//   these tables are written, and splitting at every single blank would drop such points without a word.
// - A point line whose two fields are not whole numbers (e.g. "10 abc", "10 1e999"), a negative duration
//   or intensity, a return period that is negative or not finite, a NUL byte, or a line over 999
//   characters make the file malformed: the error names the line and nothing is read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace TAVGis::Sewage {

struct IdfCurve {
    double returnPeriod = 0.0;                      // years
    std::vector<std::pair<double, double>> points;  // (duration min, intensity l/s/ha), durations ascending

    // The intensity for a duration: linear between points; before the first point the first intensity,
    // after the last the last intensity.
    double IntensityAt(double duration) const;
};

struct IdfCurveSet {
    std::vector<IdfCurve> curves;  // ascending return periods
    // The curve for a return period (equal within 1e-9 years), or null.
    const IdfCurve* Find(double returnPeriod) const;
};

struct IdfReadError {
    std::size_t line = 0;  // 1-based; 0 for the file as a whole
    std::string reason;

    // "<path>, line <n>: <reason>" ("<path>: <reason>" for the file as a whole), as alerts name it.
    std::string Describe(const std::string& path) const;
};

class CIdfCurveFile {
public:
    static constexpr std::size_t kMaxLineLength = 999;
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    // Reads the text; on failure `error` says where and why and the result is empty.
    static std::optional<IdfCurveSet> Parse(std::string_view text, IdfReadError& error);
    // Reads the file (a regular file of at most 16 MiB).
    static std::optional<IdfCurveSet> Load(const std::string& path, IdfReadError& error);
};

}  // namespace TAVGis::Sewage
