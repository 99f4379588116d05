#pragma once
// CPreviewDefinitionRepository: the preview definitions of a GIS system, in the order they were added.
#include <vector>

#include "platform/selection/PreviewDefinition.h"

namespace TAVGis::Preview {

class CPreviewDefinitionRepository {
public:
    void Add(const CPreviewDefinitionPtr& definition);
    const std::vector<CPreviewDefinitionPtr>& GetDefinitions() const { return m_definitions; }
    // The definitions of one entity type, in order.
    std::vector<CPreviewDefinitionPtr> GetDefinitions(int entityType) const;
    // The first definition with that name, or null.
    CPreviewDefinitionPtr Find(const std::string& name) const;

private:
    std::vector<CPreviewDefinitionPtr> m_definitions;
};
using CPreviewDefinitionRepositoryPtr = boost::shared_ptr<CPreviewDefinitionRepository>;

}  // namespace TAVGis::Preview
