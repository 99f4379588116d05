#include "platform/gis/DataConfiguration.h"

#include <stdexcept>

namespace TAVGis::Data {
namespace {

struct VocabularyEntry {
    const char* name;
    ValueType type;
    const char* unit;
};

// The section attributes the sewage module reads and writes.
const VocabularyEntry kSectionVocabulary[] = {
    {"FLOW_WASTE_PER", ValueType::Double, "m3/s"},
    {"SPECIFIC_FLOW", ValueType::Double, "m3/s/m"},
    {"FLOW_COEFDEN", ValueType::Double, ""},
    {"FLOW_WASTE_HOME", ValueType::Double, "m3/s"},
    {"FLOW_WASTE_IND", ValueType::Double, "m3/s"},
    {"FLOW_WASTE_HOME_BG", ValueType::Double, "m3/s"},
    {"FLOW_BLG_WASTE_HOME_KOMAX", ValueType::Double, ""},
    {"FLOW_BLG_WASTE", ValueType::Double, ""},
    {"FLOW_BLG_RET", ValueType::Double, ""},
    {"FLOW_TUR_WASTE_HOME", ValueType::Double, "m3/s"},
    {"FLOW_TUR_WASTE_IND", ValueType::Double, "m3/s"},
    {"FLOW_TUR_WASTE_INF", ValueType::Double, "m3/s"},
    {"FLOW_BABBIT", ValueType::Double, ""},
    {"FLOW_ISKI_PEAK", ValueType::Double, "m3/s"},
    {"FLOW_WASTE_UNEVEN", ValueType::Double, "m3/s"},
    {"FLOW_FEDOROV", ValueType::Double, ""},
    {"FLOW_QSR_TOTAL", ValueType::Double, "m3/s"},
    {"FLOW_SECTION_POPULATION", ValueType::Double, "inhabitants"},
    {"FLOW_RAIN", ValueType::Double, "m3/s"},
    {"FLOW_RAIN_IDF", ValueType::Double, "m3/s"},
    {"FLOW_IDF_INTENSITY", ValueType::Double, "l/s/ha"},
    {"FLOW_IDF_CONC_TIME", ValueType::Double, "min"},
    {"FLOW_IDF_TIME", ValueType::Double, "min"},
    {"FLOW_IDF_MJ_TIME", ValueType::Double, "min"},
    {"FLOW_IDF_AREA_CORRECTED_SECT", ValueType::Double, "ha"},
    {"FLOW_IDF_AREA_CORRECTED_TOTAL", ValueType::Double, "ha"},
    {"FLOW_INTIME", ValueType::Double, "min"},
    {"FLOW_COEFRED", ValueType::Double, ""},
    {"FLOW_COEFRET", ValueType::Double, ""},
    {"FLOW_ATV_N", ValueType::Double, ""},
    {"FLOW_ATV_T", ValueType::Double, "min"},
    {"FLOW_ADDITIONAL", ValueType::Double, "m3/s"},
    {"FLOW_FOREIGN", ValueType::Double, "m3/s"},
    {"FLOW_POINT", ValueType::Double, "m3/s"},
    {"FLOW_USER", ValueType::Double, "m3/s"},
    {"FLOW_SECT_TOTAL", ValueType::Double, "m3/s"},
    {"FLOW_TRANSIT", ValueType::Double, "m3/s"},
    {"FLOW_TOTAL", ValueType::Double, "m3/s"},
    {"PIPE_ROUGHNESS", ValueType::Double, "mm"},
    {"SECTION_SLOPE", ValueType::Double, "permille"},
    {"PIPE_REF", ValueType::Text, "guid"},
    {"PIPE_DIA_IN", ValueType::Double, "m"},
    {"FILLING_HEIGHT", ValueType::Double, "m"},
    {"FILLING_PERCENT", ValueType::Double, "%"},
    {"FLOW_FULLFILLED", ValueType::Double, "m3/s"},
    {"FLOW_PERCENT", ValueType::Double, "%"},
    {"VELOCITY_PARTIALFILLED", ValueType::Double, "m/s"},
    {"VELOCITY_FULLFILLED", ValueType::Double, "m/s"},
    {"VELOCITY_PERCENT", ValueType::Double, "%"},
    {"FLOWTIME", ValueType::Double, "min"},
    {"POP_PER_SECTION_C", ValueType::Double, ""},
    {"AREA_CUMULATIVE_INF", ValueType::Double, ""},
    {"HOUSE_WASTE", ValueType::Double, ""},
    {"POP_DENSITY_AREA", ValueType::Double, ""},
    {"TUR_COEFF_ADD", ValueType::Double, ""},
    {"TUR_COEFF_INF", ValueType::Double, ""},
    {"TUR_INF_FLOW_ADDITIONAL", ValueType::Double, ""},
    {"TUR_INF_FLOW_PER_POP", ValueType::Double, ""},
    {"TUR_INF_FLOW_PER_SECT", ValueType::Double, ""},
    {"TUR_INF_FLOW_SECT_SUMMER", ValueType::Double, ""},
    {"TUR_INF_FLOW_SECT_WINTER", ValueType::Double, ""},
    {"TUR_KMAX_D", ValueType::Double, ""},
    {"TUR_KMAX_H", ValueType::Double, ""},
    {"TUR_KMIN_D", ValueType::Double, ""},
    {"TUR_KMIN_H", ValueType::Double, ""},
    // What an imported network gives of its pipes. SECTION_LENGTH is the length of the pipe as built,
    // which calculations use instead of the plan length (CSection::GetLength2D). A pipe that is not
    // circular has no PIPE_DIA_IN; it keeps the name of its cross-section shape as the source file gives
    // it (EPA SWMM: "EGG", "RECT_CLOSED", ...), its full height and, for shapes whose source gives one, its
    // width (top, bottom or largest width, as the shape defines it).
    {"SECTION_LENGTH", ValueType::Double, "m"},
    {"PIPE_SHAPE", ValueType::Text, ""},
    {"PIPE_HEIGHT", ValueType::Double, "m"},
    {"PIPE_WIDTH", ValueType::Double, "m"},
};

const VocabularyEntry kNodeVocabulary[] = {
    {"MAIN_SECT_OUT", ValueType::Text, "guid"},
};

constexpr int kMaxEntityType = kEntityCatchment;

}  // namespace

CDataConfiguration& CDataConfiguration::GetInstance() {
    static CDataConfiguration config;
    return config;
}

CDataConfiguration::CDataConfiguration() : m_types(kMaxEntityType + 1) {
    for (const auto& v : kSectionVocabulary) AddDefinition(kEntitySection, v.name, v.type, v.unit);
    for (const auto& v : kNodeVocabulary) AddDefinition(kEntityNode, v.name, v.type, v.unit);
}

CDataConfiguration::PerType& CDataConfiguration::Type(int entityType) {
    if (entityType < 0 || entityType > kMaxEntityType) throw std::invalid_argument("unknown entity type");
    return m_types[static_cast<std::size_t>(entityType)];
}

const CDataConfiguration::PerType* CDataConfiguration::FindType(int entityType) const {
    if (entityType < 0 || entityType > kMaxEntityType) return nullptr;
    return &m_types[static_cast<std::size_t>(entityType)];
}

const CDataDefinition* CDataConfiguration::GetDataDefinition(int entityType, const std::string& name) const {
    const PerType* t = FindType(entityType);
    if (!t) return nullptr;
    auto it = t->byName.find(name);
    return it == t->byName.end() ? nullptr : it->second.get();
}

const CDataDefinition* CDataConfiguration::GetDataDefinitionByID(const std::string& name) const {
    for (int type : {kEntitySection, kEntityNode, kEntityCatchment})
        if (auto* d = GetDataDefinition(type, name)) return d;
    return nullptr;
}

const CDataDefinition* CDataConfiguration::AddDefinition(int entityType, const std::string& name,
                                                         ValueType type, const std::string& unit) {
    PerType& t = Type(entityType);
    auto it = t.byName.find(name);
    if (it != t.byName.end()) return it->second.get();
    auto def =
        std::make_unique<CDataDefinition>(name, entityType, type, static_cast<int>(t.ordered.size()), unit);
    const CDataDefinition* raw = def.get();
    t.byName.emplace(name, std::move(def));
    t.ordered.push_back(raw);
    return raw;
}

const std::vector<const CDataDefinition*>& CDataConfiguration::Definitions(int entityType) const {
    static const std::vector<const CDataDefinition*> none;
    const PerType* t = FindType(entityType);
    return t ? t->ordered : none;
}

}  // namespace TAVGis::Data
