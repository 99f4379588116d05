#include "module/data/NonFiniteValues.h"

#include <algorithm>
#include <cmath>

#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"

bool CNonFiniteValues::Check(const std::string& section, const std::string& attribute, double value) {
    if (std::isfinite(value)) return true;
    m_values.push_back({section, attribute, value});
    return false;
}

std::string CNonFiniteValues::ValueText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    return TAVHost::NumberText::General(value, 6);
}

std::string CNonFiniteValues::AlertText() const {
    if (m_values.empty()) return {};
    std::string text = TAVGis::CModuleConfiguration::GetMsg(kMsgNotFinite);
    const std::size_t named = std::min(m_values.size(), kNamedInAlert);
    for (std::size_t i = 0; i < named; ++i) {
        const auto& v = m_values[i];
        text += (i == 0 ? " " : "; ") + v.section + " " + v.attribute + " = " + ValueText(v.value);
    }
    if (m_values.size() > named) text += "; and " + std::to_string(m_values.size() - named) + " more";
    return text;
}
