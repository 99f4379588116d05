#pragma once
// CIDPTurkParams: the Turkish rain stations and the station value a rain calculation uses. Each station is
// a name with its intensity-duration table, as the Turkish meteorological service publishes them per
// station: for a set of return periods (years), the rain intensity (l/s/ha) for durations (min). A table
// is an IdfCurveSet, so a station's intensity for a duration follows the same rules as the curve file's
// (linear between points, the end point's intensity outside them: IdfCurve::IntensityAt).
//
// The station value is the chosen station's name: what the rain dialog's station list shows and what the
// calculator "001_RAIN_ITP" looks up (parameter TURKISH) with the return period FREQUENCY.
//
// Store: one JSON file per user, "turkish_stations.json", beside the workspace store (the folder of
// TAVGis::Workspace::CWsBaseDialog::StorePath()), so the stations follow the person from drawing to drawing:
//   {"version": 1,
//    "stations": [{"name": "Ankara",
//                  "curves": [{"returnPeriod": 2, "points": [[5, 250.5], [10, 180]]}, ...]}, ...]}
// Decisions:
// - Load orders the stations by name, ignoring the case of ASCII letters (then byte order), whatever the
//   file's order; curves by return period, points by duration. Save writes them in that order.
// - Names are trimmed, not empty, at most kMaxNameLength bytes, without control characters, and unique
//   ignoring the case of ASCII letters ("ANKARA" and "Ankara" would be one station to a person).
// - Reading is bounded like the other readers: a regular file of at most kMaxFileBytes, JSON nested at
//   most kMaxDepth levels, at most kMaxStations stations, kMaxCurves curves per station and kMaxPoints
//   points per curve. Return periods, durations and intensities are finite numbers of 0 or more; a curve
//   has at least one point; a return period or a duration given twice is an error (the program never
//   writes one). A station may have no curves yet (just added).
// - Bad input never passes silently and never crashes: Load fails with an error naming the file and the
//   entry ("station 2 (Izmir), curve 1, point 3: ...") and holds no stations then. A missing file is no
//   stations, not an error.
// - Save replaces the file atomically (TAVHost::WriteFileAtomically): a failure leaves the previous file.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sewage/IdfCurveFile.h"

namespace TAVGis::Sewage {

struct TurkishStation {
    std::string name;
    IdfCurveSet table;  // one curve per return period, ascending
};

class CIDPTurkParams {
public:
    static constexpr const char* kFileName = "turkish_stations.json";
    static constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{8} << 20;
    static constexpr int kMaxDepth = 8;  // the store writes 6 levels
    static constexpr std::size_t kMaxStations = 10000;
    static constexpr std::size_t kMaxCurves = 100;
    static constexpr std::size_t kMaxPoints = 1000;
    static constexpr std::size_t kMaxNameLength = 200;

    // Why an edit was refused: a catalogue message number (0: done).
    enum EditResult {
        kEditDone = 0,
        kEditNoName = 14301,     // the name is empty or holds control characters or is too long
        kEditNameTaken = 14302,  // another station has that name
        kEditNoStation = 14303,  // no station of that name
        kEditBadNumber = 14304,  // a return period, duration or intensity that is not a number of 0 or more
        kEditTooLarge = 14305,   // the limits above
        kEditNoPoint = 14306,    // no such point
    };

    // The store file: beside the workspace store; empty when there is no configuration folder.
    static std::filesystem::path StorePath();

    const std::string& GetValue() const { return m_value; }
    void SetValue(const std::string& value) { m_value = value; }

    // Reads the stations from the store (StorePath). False with `error` naming the file and the entry.
    bool Load(std::string& error);
    bool LoadFrom(const std::filesystem::path& path, std::string& error);
    // Reads the stations from JSON text; `fileName` names it in errors.
    bool Parse(std::string_view text, const std::string& fileName, std::string& error);
    // Writes the stations to the store; false with `error` naming the file.
    bool Save(std::string& error) const;
    bool SaveTo(const std::filesystem::path& path, std::string& error) const;
    std::string ToText() const;

    const std::vector<TurkishStation>& Stations() const { return m_stations; }
    std::vector<std::string> Names() const;
    // The station of exactly that name, or null.
    const TurkishStation* Find(const std::string& name) const;

    EditResult AddStation(const std::string& name);
    EditResult RenameStation(const std::string& from, const std::string& to);
    EditResult RemoveStation(const std::string& name);
    // Sets the intensity of a duration on the curve of a return period (made when missing).
    EditResult SetPoint(const std::string& station, double returnPeriod, double duration, double intensity);
    // Removes a point; a curve left without points goes with it.
    EditResult RemovePoint(const std::string& station, double returnPeriod, double duration);
    // Replaces a station's whole table (an imported curve file).
    EditResult SetTable(const std::string& station, const IdfCurveSet& table);

    // The name as it is stored (blanks at both ends removed), or empty when it is not a usable name.
    static std::string CleanName(const std::string& name);

private:
    TurkishStation* FindMutable(const std::string& name);
    bool NameTaken(const std::string& name, const TurkishStation* except) const;
    void Sort();

    std::vector<TurkishStation> m_stations;
    std::string m_value;
};

}  // namespace TAVGis::Sewage
