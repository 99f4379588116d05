#pragma once
// CDataConfiguration: the attribute schema. Every name of the sewage module's vocabulary is defined for
// sections (and MAIN_SECT_OUT for nodes); further definitions may be added (an import brings its own).
// Units: flows in m3/s, slopes in per mille, roughness in mm, diameters and heights as named per attribute.
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gis/DataDefinition.h"

namespace TAVGis::Data {

class CDataConfiguration {
public:
    static CDataConfiguration& GetInstance();

    // The definition of a name for sections, else for nodes, else for catchment areas; null when none.
    const CDataDefinition* GetDataDefinitionByID(const std::string& name) const;
    const CDataDefinition* GetDataDefinition(int entityType, const std::string& name) const;
    // Adds a definition (or returns the existing one of that name and entity type).
    const CDataDefinition* AddDefinition(int entityType, const std::string& name, ValueType type,
                                         const std::string& unit = {});
    // Definitions of one entity type in column order.
    const std::vector<const CDataDefinition*>& Definitions(int entityType) const;

private:
    CDataConfiguration();
    struct PerType {
        std::unordered_map<std::string, std::unique_ptr<CDataDefinition>> byName;
        std::vector<const CDataDefinition*> ordered;
    };
    PerType& Type(int entityType);
    const PerType* FindType(int entityType) const;
    std::vector<PerType> m_types;  // index = entity type
};

}  // namespace TAVGis::Data
