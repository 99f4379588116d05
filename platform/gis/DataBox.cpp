#include "platform/gis/DataBox.h"

#include <cstdlib>

#include "platform/host/NumberText.h"

namespace TAVGis::Data {

double CDataBox::ToDouble() const {
    if (auto* d = std::get_if<double>(&m_value)) return *d;
    if (auto* i = std::get_if<int>(&m_value)) return *i;
    if (auto* s = std::get_if<std::string>(&m_value)) return TAVHost::NumberText::ParseOrZero(*s);
    return 0.0;
}

int CDataBox::ToInt() const {
    if (auto* i = std::get_if<int>(&m_value)) return *i;
    if (auto* d = std::get_if<double>(&m_value)) return static_cast<int>(*d);
    if (auto* s = std::get_if<std::string>(&m_value))
        return static_cast<int>(std::strtol(s->c_str(), nullptr, 10));
    return 0;
}

std::string CDataBox::ToString() const {
    if (auto* s = std::get_if<std::string>(&m_value)) return *s;
    if (auto* d = std::get_if<double>(&m_value)) return TAVHost::NumberText::General(*d, 17);
    if (auto* i = std::get_if<int>(&m_value)) return std::to_string(*i);
    if (auto* l = std::get_if<std::vector<std::string>>(&m_value)) {
        std::string out;
        for (std::size_t k = 0; k < l->size(); ++k) out += (k ? ";" : "") + (*l)[k];
        return out;
    }
    return {};
}

const std::vector<std::string>& CDataBox::ToList() const {
    static const std::vector<std::string> empty;
    if (auto* l = std::get_if<std::vector<std::string>>(&m_value)) return *l;
    return empty;
}

}  // namespace TAVGis::Data
