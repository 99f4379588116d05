#include "platform/sewage/PropertiesEx.h"

#include <boost/make_shared.hpp>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

namespace TAVGis::Data {

namespace {
std::string Clean(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

std::vector<std::string> Split(const std::string& line, char sep) {
    std::vector<std::string> out;
    std::string::size_type start = 0;
    for (;;) {
        const auto pos = line.find(sep, start);
        out.push_back(line.substr(start, pos == std::string::npos ? std::string::npos : pos - start));
        if (pos == std::string::npos) break;
        start = pos + 1;
    }
    return out;
}

bool ParseBox(const std::vector<std::string>& f, CDataBox& box) {
    const std::string& type = f[1];
    if (type == "n") {
        box.SetNull();
        return f.size() == 2;
    }
    if (type == "l") {
        box = CDataBox(std::vector<std::string>(f.begin() + 2, f.end()));
        return true;
    }
    if (f.size() != 3) return false;
    if (type == "s") {
        box = CDataBox(f[2]);
        return true;
    }
    char* end = nullptr;
    errno = 0;
    if (type == "d") {
        const double v = std::strtod(f[2].c_str(), &end);
        if (f[2].empty() || *end != '\0' || !std::isfinite(v)) return false;
        box = CDataBox(v);
        return true;
    }
    if (type == "i") {
        const long v = std::strtol(f[2].c_str(), &end, 10);
        if (f[2].empty() || *end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
        box = CDataBox(static_cast<int>(v));
        return true;
    }
    return false;
}
}  // namespace

CPropertyExPtr CPropertiesEx::Add(const std::string& tag, const std::string& name, const CDataBox& value) {
    if (auto p = GetPropertyExByTag(tag)) {
        p->SetHiddenValue(value);
        return p;
    }
    m_items.push_back(boost::make_shared<CPropertyEx>(tag, name, value));
    return m_items.back();
}

CPropertyExPtr CPropertiesEx::GetPropertyExByTag(const std::string& tag) const {
    for (const auto& p : m_items)
        if (p->GetTag() == tag) return p;
    return {};
}

double CPropertiesEx::GetDouble(const std::string& tag, double fallback) const {
    const auto p = GetPropertyExByTag(tag);
    if (!p) return fallback;
    const CDataBox& b = p->GetHiddenValue();
    if (b.IsDouble() || b.IsInt()) {
        const double v = b.ToDouble();
        return std::isfinite(v) ? v : fallback;
    }
    return fallback;
}

int CPropertiesEx::GetInt(const std::string& tag, int fallback) const {
    const auto p = GetPropertyExByTag(tag);
    if (!p) return fallback;
    const CDataBox& b = p->GetHiddenValue();
    return b.IsInt() ? b.ToInt() : fallback;
}

std::string CPropertiesEx::GetText(const std::string& tag) const {
    const auto p = GetPropertyExByTag(tag);
    if (!p) return {};
    const CDataBox& b = p->GetHiddenValue();
    if (b.IsList()) {
        const auto& list = b.ToList();
        return list.empty() ? std::string() : list.front();
    }
    return b.IsText() ? b.ToString() : std::string();
}

std::string CPropertiesEx::ToText() const {
    std::string out;
    for (const auto& p : m_items) {
        const CDataBox& b = p->GetHiddenValue();
        out += Clean(p->GetTag());
        if (b.IsNull()) {
            out += "\tn";
        } else if (b.IsDouble()) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.17g", b.ToDouble());
            out += "\td\t";
            out += buf;
        } else if (b.IsInt()) {
            out += "\ti\t" + std::to_string(b.ToInt());
        } else if (b.IsText()) {
            out += "\ts\t" + Clean(b.ToString());
        } else {
            out += "\tl";
            for (const auto& e : b.ToList()) out += "\t" + Clean(e);
        }
        out += "\n";
    }
    return out;
}

bool CPropertiesEx::FromText(const std::string& text) {
    std::map<std::string, CDataBox> values;
    for (const auto& line : Split(text, '\n')) {
        if (line.empty()) continue;
        const auto f = Split(line, '\t');
        if (f.size() < 2) return false;
        CDataBox box;
        if (!ParseBox(f, box)) return false;
        values[f[0]] = box;
    }
    for (const auto& [tag, box] : values)
        if (auto p = GetPropertyExByTag(tag)) p->SetHiddenValue(box);
    return true;
}

bool CPropertiesEx::SameValues(const CPropertiesEx& other) const {
    if (m_items.size() != other.m_items.size()) return false;
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->GetTag() != other.m_items[i]->GetTag() ||
            !(m_items[i]->GetHiddenValue() == other.m_items[i]->GetHiddenValue()))
            return false;
    return true;
}

}  // namespace TAVGis::Data
