#include "platform/selection/PreviewDefinitionRepository.h"

namespace TAVGis::Preview {

void CPreviewDefinitionRepository::Add(const CPreviewDefinitionPtr& definition) {
    if (definition) m_definitions.push_back(definition);
}

std::vector<CPreviewDefinitionPtr> CPreviewDefinitionRepository::GetDefinitions(int entityType) const {
    std::vector<CPreviewDefinitionPtr> out;
    for (const auto& d : m_definitions)
        if (d->GetEntityType() == entityType) out.push_back(d);
    return out;
}

CPreviewDefinitionPtr CPreviewDefinitionRepository::Find(const std::string& name) const {
    for (const auto& d : m_definitions)
        if (d->GetName() == name) return d;
    return {};
}

}  // namespace TAVGis::Preview
