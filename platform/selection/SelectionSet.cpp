#include "platform/selection/SelectionSet.h"

namespace TAVGis::Selection {

void CSelectionSet::AddSection(const Topology::CSectionPtr& s) {
    if (s) m_sections.push_back(s);
}
void CSelectionSet::AddNode(const Topology::CNodePtr& n) {
    if (n) m_nodes.push_back(n);
}
void CSelectionSet::Clear() {
    m_sections.clear();
    m_nodes.clear();
}

std::vector<TAVHost::ObjectId> CSelectionSet::GetSectionsAsVector() const {
    std::vector<TAVHost::ObjectId> out;
    out.reserve(m_sections.size());
    for (const auto& s : m_sections) out.push_back(s->GetObjectId());
    return out;
}

std::vector<TAVHost::ObjectId> CSelectionSet::GetSectionNodesAsVector() const {
    std::vector<TAVHost::ObjectId> out;
    out.reserve(m_nodes.size());
    for (const auto& n : m_nodes) out.push_back(n->GetObjectId());
    return out;
}

int CSelectionSet::GetSelectionType() const {
    return (m_sections.empty() ? 0 : kSelectionHasSections) | (m_nodes.empty() ? 0 : kSelectionHasNodes);
}

}  // namespace TAVGis::Selection
