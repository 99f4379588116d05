#include "platform/gis/ModuleConfiguration.h"

#include <cstdlib>
#include <unordered_map>

#include "platform/gis/GisDrawingData.h"
#include "platform/host/NumberText.h"

namespace TAVGis {
namespace detail {
extern const std::pair<int, const char*> kMessageCatalog[];
extern const int kMessageCatalogSize;
}  // namespace detail

namespace {

struct Catalog {
    std::unordered_map<int, std::string> byNumber;
    std::unordered_map<std::string, int> byText;
    Catalog() {
        for (int i = 0; i < detail::kMessageCatalogSize; ++i) {
            const auto& [n, t] = detail::kMessageCatalog[i];
            byNumber.emplace(n, t);
            byText.emplace(t, n);
        }
    }
};

const Catalog& TheCatalog() {
    static const Catalog c;
    return c;
}

const std::unordered_map<std::string, std::string>& PlatformDefaults() {
    static const std::unordered_map<std::string, std::string> d = {
        {"DEFAULT_ZOOM", "1.5"}, {"ZOOM_ONOFF", "1"}, {"MARK_COLOR_1", "1"}};
    return d;
}

bool LookupSetting(const std::string& key, std::string& value) {
    if (auto* doc = acDocManagerPtr()->curDocument()) {
        auto& s = GisData(*doc).settings;
        auto it = s.find(key);
        if (it != s.end() && it->second.IsNotNull()) {
            value = it->second.ToString();
            return true;
        }
    }
    auto it = PlatformDefaults().find(key);
    if (it == PlatformDefaults().end()) return false;
    value = it->second;
    return true;
}

}  // namespace

std::string CModuleConfiguration::GetMsg(int id) {
    const auto& c = TheCatalog();
    auto it = c.byNumber.find(id);
    return it != c.byNumber.end() ? it->second : "[message " + std::to_string(id) + "]";
}

bool CModuleConfiguration::HasMsg(int id) {
    return TheCatalog().byNumber.count(id) != 0;
}

std::optional<int> CModuleConfiguration::FindMsgNumber(const std::string& text) {
    const auto& c = TheCatalog();
    auto it = c.byText.find(text);
    if (it == c.byText.end()) return std::nullopt;
    return it->second;
}

std::vector<std::pair<int, std::string>> CModuleConfiguration::AllMessages() {
    std::vector<std::pair<int, std::string>> out;
    for (int i = 0; i < detail::kMessageCatalogSize; ++i)
        out.emplace_back(detail::kMessageCatalog[i].first, detail::kMessageCatalog[i].second);
    return out;
}

IconHandle CModuleConfiguration::GetIcon(const std::string& name) {
    return IconHandle{name};
}

int CModuleConfiguration::GetHighlightColor() {
    int color = 1;
    GetGSValueInt("MARK_COLOR_1", color);
    return color;
}

int CModuleConfiguration::GetGSValueDouble(const std::string& key, double& value) {
    std::string text;
    if (!LookupSetting(key, text)) return 0;
    value = TAVHost::NumberText::ParseOrZero(text);
    return 1;
}

int CModuleConfiguration::GetGSValueInt(const std::string& key, int& value) {
    std::string text;
    if (!LookupSetting(key, text)) return 0;
    value = static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
    return 1;
}

int CModuleConfiguration::GetGSValueString(const std::string& key, std::string& value) {
    return LookupSetting(key, value) ? 1 : 0;
}

void CModuleConfiguration::SetGSValue(const std::string& key, const std::string& value) {
    CurrentGisData().settings[key] = Data::CDataBox(value);
}

}  // namespace TAVGis
