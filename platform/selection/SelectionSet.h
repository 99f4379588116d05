#pragma once
// CSelectionSet: the elements a person selected: sections, and beside them the other elements (nodes), in
// selection order, with a selection type telling what it holds (0: nothing).
#include <boost/shared_ptr.hpp>
#include <vector>

#include "platform/network/Section.h"

namespace TAVGis::Selection {

constexpr int kSelectionHasSections = 0x1;
constexpr int kSelectionHasNodes = 0x2;

class CSelectionSet {
public:
    void AddSection(const Topology::CSectionPtr& s);
    void AddNode(const Topology::CNodePtr& n);
    void Clear();

    const std::vector<Topology::CSectionPtr>& GetSections() const { return m_sections; }
    const std::vector<Topology::CNodePtr>& GetNodes() const { return m_nodes; }
    // Object ids of the selected sections and of the selected nodes.
    std::vector<TAVHost::ObjectId> GetSectionsAsVector() const;
    std::vector<TAVHost::ObjectId> GetSectionNodesAsVector() const;
    int GetSelectionType() const;
    int Count() const { return static_cast<int>(m_sections.size() + m_nodes.size()); }

private:
    std::vector<Topology::CSectionPtr> m_sections;
    std::vector<Topology::CNodePtr> m_nodes;
};

using CSelectionSetPtr = boost::shared_ptr<CSelectionSet>;

}  // namespace TAVGis::Selection
