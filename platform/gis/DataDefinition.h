#pragma once
// CDataDefinition: one attribute definition per name and entity type, with its value type.
#include <string>

namespace TAVGis::Data {

// Entity types of the network.
constexpr int kEntityNode = 1;
constexpr int kEntitySection = 2;
constexpr int kEntityCatchment = 3;

enum class ValueType { Double, Int, Text };

class CDataDefinition {
public:
    CDataDefinition(std::string id, int entityType, ValueType type, int column, std::string unit = {})
        : m_id(std::move(id)),
          m_entityType(entityType),
          m_type(type),
          m_column(column),
          m_unit(std::move(unit)) {}
    const std::string& GetID() const { return m_id; }
    int GetEntityType() const { return m_entityType; }
    ValueType GetValueType() const { return m_type; }
    // Position of the definition's column in the attribute store of its entity type.
    int GetColumn() const { return m_column; }
    const std::string& GetUnit() const { return m_unit; }

private:
    std::string m_id;
    int m_entityType;
    ValueType m_type;
    int m_column;
    std::string m_unit;
};

}  // namespace TAVGis::Data
