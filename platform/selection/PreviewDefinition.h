#pragma once
// CPreviewDefinition: a named table of attributes for one kind of entity (TAVGis::Data::kEntitySection,
// kEntityNode): the columns are attribute names, shown in order after the entity's name.
#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

namespace TAVGis::Preview {

class CPreviewDefinition {
public:
    CPreviewDefinition(std::string name, int entityType, std::vector<std::string> columns)
        : m_name(std::move(name)), m_entityType(entityType), m_columns(std::move(columns)) {}
    const std::string& GetName() const { return m_name; }
    int GetEntityType() const { return m_entityType; }
    const std::vector<std::string>& GetColumns() const { return m_columns; }

private:
    std::string m_name;
    int m_entityType;
    std::vector<std::string> m_columns;
};
using CPreviewDefinitionPtr = boost::shared_ptr<CPreviewDefinition>;

}  // namespace TAVGis::Preview
