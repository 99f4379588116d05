#include "platform/sewage/IDPTurkParams.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <system_error>

#include "platform/host/AtomicFile.h"
#include "platform/sessions/WsBaseDialog.h"

namespace TAVGis::Sewage {

namespace {
using nlohmann::json;
namespace fs = std::filesystem;

constexpr int kFormatVersion = 1;
constexpr int kJsonIndent = 2;
constexpr double kSamePoint = 1e-9;  // years or minutes

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Name order: ASCII letters without case, then bytes.
bool NameLess(const std::string& a, const std::string& b) {
    const auto less = [](char x, char y) {
        return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) return false;
    return a < b;
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Usable(double v) {
    return std::isfinite(v) && v >= 0.0;
}

std::string Number(double v) {
    json j = v;
    return j.dump();
}

// One curve of a station read from JSON, or an error text.
std::optional<IdfCurve> ReadCurve(const json& c, std::string& why) {
    if (!c.is_object()) {
        why = "a curve is not an object";
        return std::nullopt;
    }
    const auto period = c.find("returnPeriod");
    if (period == c.end() || !period->is_number() || !Usable(period->get<double>())) {
        why = "the return period is not a number of 0 or more";
        return std::nullopt;
    }
    IdfCurve curve;
    curve.returnPeriod = period->get<double>();
    const auto points = c.find("points");
    if (points == c.end() || !points->is_array() || points->empty()) {
        why = "the curve has no points";
        return std::nullopt;
    }
    if (points->size() > CIDPTurkParams::kMaxPoints) {
        why = "more than " + std::to_string(CIDPTurkParams::kMaxPoints) + " points";
        return std::nullopt;
    }
    std::size_t n = 0;
    for (const auto& p : *points) {
        ++n;
        if (!p.is_array() || p.size() != 2 || !p[0].is_number() || !p[1].is_number() ||
            !Usable(p[0].get<double>()) || !Usable(p[1].get<double>())) {
            why = "point " + std::to_string(n) + ": not [duration, intensity] as two numbers of 0 or more";
            return std::nullopt;
        }
        curve.points.emplace_back(p[0].get<double>(), p[1].get<double>());
    }
    std::sort(curve.points.begin(), curve.points.end());
    for (std::size_t i = 1; i < curve.points.size(); ++i)
        if (curve.points[i].first - curve.points[i - 1].first <= kSamePoint) {
            why = "the duration " + Number(curve.points[i].first) + " is given twice";
            return std::nullopt;
        }
    return curve;
}
}  // namespace

fs::path CIDPTurkParams::StorePath() {
    const fs::path workspace = Workspace::CWsBaseDialog::StorePath();
    if (workspace.empty()) return {};
    return workspace.parent_path() / kFileName;
}

std::string CIDPTurkParams::CleanName(const std::string& name) {
    const auto first = name.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = name.find_last_not_of(" \t");
    std::string clean = name.substr(first, last - first + 1);
    if (clean.size() > kMaxNameLength) return {};
    for (unsigned char c : clean)
        if (c < 0x20 || c == 0x7f) return {};
    return clean;
}

std::vector<std::string> CIDPTurkParams::Names() const {
    std::vector<std::string> names;
    names.reserve(m_stations.size());
    for (const auto& s : m_stations) names.push_back(s.name);
    return names;
}

const TurkishStation* CIDPTurkParams::Find(const std::string& name) const {
    for (const auto& s : m_stations)
        if (s.name == name) return &s;
    return nullptr;
}

TurkishStation* CIDPTurkParams::FindMutable(const std::string& name) {
    return const_cast<TurkishStation*>(Find(name));
}

bool CIDPTurkParams::NameTaken(const std::string& name, const TurkishStation* except) const {
    for (const auto& s : m_stations)
        if (&s != except && SameName(s.name, name)) return true;
    return false;
}

void CIDPTurkParams::Sort() {
    std::stable_sort(
        m_stations.begin(), m_stations.end(),
        [](const TurkishStation& a, const TurkishStation& b) { return NameLess(a.name, b.name); });
}

bool CIDPTurkParams::Load(std::string& error) {
    const fs::path path = StorePath();
    if (path.empty()) {
        m_stations.clear();
        return true;
    }
    return LoadFrom(path, error);
}

bool CIDPTurkParams::LoadFrom(const fs::path& path, std::string& error) {
    m_stations.clear();
    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        if (!ec || ec == std::errc::no_such_file_or_directory) return true;  // no stations yet
        error = path.string() + ": " + ec.message();
        return false;
    }
    if (!fs::is_regular_file(status)) {
        error = path.string() + ": not a regular file";
        return false;
    }
    const auto size = fs::file_size(path, ec);
    if (ec || size > kMaxFileBytes) {
        error = path.string() + ": " +
                (ec ? ec.message() : "larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        error = path.string() + ": cannot be read";
        return false;
    }
    return Parse(text, path.string(), error);
}

bool CIDPTurkParams::Parse(std::string_view text, const std::string& fileName, std::string& error) {
    m_stations.clear();
    auto fail = [&](const std::string& where, const std::string& why) {
        m_stations.clear();
        error = fileName + (where.empty() ? "" : ", " + where) + ": " + why;
        return false;
    };
    bool tooDeep = false;
    const json::parser_callback_t depthLimit = [&tooDeep](int depth, json::parse_event_t, json&) {
        if (depth > kMaxDepth) tooDeep = true;
        return !tooDeep;
    };
    const json doc = json::parse(text.begin(), text.end(), depthLimit, /*allow_exceptions=*/false);
    if (tooDeep) return fail("", "nested deeper than " + std::to_string(kMaxDepth) + " levels");
    if (doc.is_discarded()) return fail("", "not JSON text (or not UTF-8)");
    if (!doc.is_object()) return fail("", "not a JSON object");
    const auto version = doc.find("version");
    if (version != doc.end() &&
        !(version->is_number_integer() && version->get<long long>() == kFormatVersion))
        return fail("", "version " + version->dump() + " is not one this program reads");
    const auto stations = doc.find("stations");
    if (stations == doc.end()) return true;
    if (!stations->is_array()) return fail("", "\"stations\" is not a list");
    if (stations->size() > kMaxStations)
        return fail("", "more than " + std::to_string(kMaxStations) + " stations");
    std::size_t n = 0;
    for (const auto& s : *stations) {
        ++n;
        std::string where = "station " + std::to_string(n);
        if (!s.is_object()) return fail(where, "not an object");
        const auto name = s.find("name");
        if (name == s.end() || !name->is_string()) return fail(where, "no name");
        TurkishStation station;
        station.name = CleanName(name->get<std::string>());
        if (station.name.empty() || station.name != name->get<std::string>())
            return fail(where, "the name " + name->dump() +
                                   " is empty, too long, has blanks at its ends or control characters");
        where += " (" + station.name + ")";
        if (NameTaken(station.name, nullptr)) return fail(where, "the name is given twice");
        if (const auto curves = s.find("curves"); curves != s.end()) {
            if (!curves->is_array()) return fail(where, "\"curves\" is not a list");
            if (curves->size() > kMaxCurves)
                return fail(where, "more than " + std::to_string(kMaxCurves) + " curves");
            std::size_t k = 0;
            for (const auto& c : *curves) {
                ++k;
                std::string why;
                auto curve = ReadCurve(c, why);
                if (!curve) return fail(where + ", curve " + std::to_string(k), why);
                if (station.table.Find(curve->returnPeriod))
                    return fail(where + ", curve " + std::to_string(k),
                                "the return period " + Number(curve->returnPeriod) + " is given twice");
                station.table.curves.push_back(std::move(*curve));
            }
            std::sort(station.table.curves.begin(), station.table.curves.end(),
                      [](const IdfCurve& a, const IdfCurve& b) { return a.returnPeriod < b.returnPeriod; });
        }
        m_stations.push_back(std::move(station));
    }
    Sort();
    return true;
}

std::string CIDPTurkParams::ToText() const {
    json stations = json::array();
    for (const auto& s : m_stations) {
        json curves = json::array();
        for (const auto& c : s.table.curves) {
            json points = json::array();
            for (const auto& [d, i] : c.points) points.push_back(json::array({d, i}));
            curves.push_back({{"returnPeriod", c.returnPeriod}, {"points", std::move(points)}});
        }
        stations.push_back({{"name", s.name}, {"curves", std::move(curves)}});
    }
    const json doc = {{"version", kFormatVersion}, {"stations", std::move(stations)}};
    return doc.dump(kJsonIndent, ' ', false, json::error_handler_t::replace) + "\n";
}

bool CIDPTurkParams::Save(std::string& error) const {
    const fs::path path = StorePath();
    if (path.empty()) {
        error = "no configuration folder for " + std::string(kFileName);
        return false;
    }
    return SaveTo(path, error);
}

bool CIDPTurkParams::SaveTo(const fs::path& path, std::string& error) const {
    std::error_code ec;
    if (!path.parent_path().empty()) fs::create_directories(path.parent_path(), ec);
    const std::string text = ToText();
    return TAVHost::WriteFileAtomically(
        path, [&text](std::ostream& out) { out << text; }, error);
}

CIDPTurkParams::EditResult CIDPTurkParams::AddStation(const std::string& name) {
    const std::string clean = CleanName(name);
    if (clean.empty()) return kEditNoName;
    if (NameTaken(clean, nullptr)) return kEditNameTaken;
    if (m_stations.size() >= kMaxStations) return kEditTooLarge;
    m_stations.push_back(TurkishStation{clean, {}});
    Sort();
    return kEditDone;
}

CIDPTurkParams::EditResult CIDPTurkParams::RenameStation(const std::string& from, const std::string& to) {
    TurkishStation* s = FindMutable(from);
    if (!s) return kEditNoStation;
    const std::string clean = CleanName(to);
    if (clean.empty()) return kEditNoName;
    if (NameTaken(clean, s)) return kEditNameTaken;
    s->name = clean;
    if (m_value == from) m_value = clean;
    Sort();
    return kEditDone;
}

CIDPTurkParams::EditResult CIDPTurkParams::RemoveStation(const std::string& name) {
    const auto it = std::find_if(m_stations.begin(), m_stations.end(),
                                 [&name](const TurkishStation& s) { return s.name == name; });
    if (it == m_stations.end()) return kEditNoStation;
    m_stations.erase(it);
    return kEditDone;
}

CIDPTurkParams::EditResult CIDPTurkParams::SetPoint(const std::string& station, double returnPeriod,
                                                    double duration, double intensity) {
    TurkishStation* s = FindMutable(station);
    if (!s) return kEditNoStation;
    if (!Usable(returnPeriod) || !Usable(duration) || !Usable(intensity)) return kEditBadNumber;
    auto& curves = s->table.curves;
    auto curve = std::find_if(curves.begin(), curves.end(), [returnPeriod](const IdfCurve& c) {
        return std::fabs(c.returnPeriod - returnPeriod) <= kSamePoint;
    });
    if (curve == curves.end()) {
        if (curves.size() >= kMaxCurves) return kEditTooLarge;
        curve =
            curves.insert(std::upper_bound(curves.begin(), curves.end(), returnPeriod,
                                           [](double t, const IdfCurve& c) { return t < c.returnPeriod; }),
                          IdfCurve{returnPeriod, {}});
    }
    auto& points = curve->points;
    auto at = std::lower_bound(points.begin(), points.end(), duration - kSamePoint,
                               [](const std::pair<double, double>& p, double d) { return p.first < d; });
    if (at != points.end() && std::fabs(at->first - duration) <= kSamePoint) {
        at->second = intensity;
        return kEditDone;
    }
    if (points.size() >= kMaxPoints) return kEditTooLarge;
    points.insert(at, {duration, intensity});
    return kEditDone;
}

CIDPTurkParams::EditResult CIDPTurkParams::RemovePoint(const std::string& station, double returnPeriod,
                                                       double duration) {
    TurkishStation* s = FindMutable(station);
    if (!s) return kEditNoStation;
    auto& curves = s->table.curves;
    for (auto c = curves.begin(); c != curves.end(); ++c) {
        if (std::fabs(c->returnPeriod - returnPeriod) > kSamePoint) continue;
        for (auto p = c->points.begin(); p != c->points.end(); ++p) {
            if (std::fabs(p->first - duration) > kSamePoint) continue;
            c->points.erase(p);
            if (c->points.empty()) curves.erase(c);
            return kEditDone;
        }
    }
    return kEditNoPoint;
}

CIDPTurkParams::EditResult CIDPTurkParams::SetTable(const std::string& station, const IdfCurveSet& table) {
    TurkishStation* s = FindMutable(station);
    if (!s) return kEditNoStation;
    if (table.curves.size() > kMaxCurves) return kEditTooLarge;
    for (const auto& c : table.curves)
        if (c.points.size() > kMaxPoints) return kEditTooLarge;
    s->table = table;
    return kEditDone;
}

}  // namespace TAVGis::Sewage
