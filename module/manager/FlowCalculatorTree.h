#pragma once
// CFlowCalculatorTree: what the flow calculations manager shows in its tree, without the tree control: group
// nodes (by GetGroupName, in the order first met), under each its calculators (GetDisplayName, in the
// registry's name order), under each calculator one node per parameter set of its source data,
// "Configuration %d (%d sections)" numbered from 1 in the order the calculator returns them.
//
// Rebuild (the manager's RefreshTree):
// 1. remembers which calculator nodes are expanded;
// 2. drops every node;
// 3. for each registered calculator: finds or appends its group, appends the calculator, reloads its source
//    data from the sections given (all elements of the active system) and appends the set nodes; a
//    calculator node with sets is expanded, every group node is expanded;
// 4. expands again every calculator node that was expanded before, and selects the node of the active
//    calculator (when it is still registered).
// Images: index 0 "IDI_CALCULATOR", 1 "TAV_IDI_TOPOLOGYTREE" (the set nodes), then one per calculator and
// one per new group in the order met, by icon name.
#include <map>
#include <string>
#include <vector>

#include "platform/sewage/FlowCalculator.h"

class CFlowCalculatorTree {
public:
    enum class Kind { Group, Calculator, ParameterSet };
    struct Node {
        Kind kind = Kind::Group;
        std::string text;
        int image = 0;
        TAVGis::Sewage::IFlowCalculator* calculator = nullptr;    // the calculator (also of a set's node)
        TAVGis::Sewage::CFlowCalculatorParametersPtr parameters;  // set nodes only
        bool expanded = false;
        std::vector<Node> children;
    };
    static constexpr int kSetImage = 1;

    void Rebuild(const std::map<std::string, TAVGis::Sewage::IFlowCalculatorPtr>& calculators,
                 const TAVGis::Sewage::SectionList& allSections);
    const std::vector<Node>& Roots() const { return m_roots; }
    const std::vector<std::string>& Images() const { return m_images; }

    // Selection: a path of child indexes from the roots, empty for none.
    void Select(std::vector<std::size_t> path);
    const std::vector<std::size_t>& Selected() const { return m_selected; }
    const Node* SelectedNode() const;
    // The calculator of the selected node: its own for a calculator node, its parent's for a set node,
    // else none (GetActiveFlowCalculator).
    TAVGis::Sewage::IFlowCalculator* ActiveCalculator() const;
    // Expands or collapses the node at the path (what the user does in the tree).
    void SetExpanded(const std::vector<std::size_t>& path, bool expanded);

private:
    Node* At(const std::vector<std::size_t>& path);
    int ImageOf(const std::string& icon);

    std::vector<Node> m_roots;
    std::vector<std::string> m_images{"IDI_CALCULATOR", "TAV_IDI_TOPOLOGYTREE"};
    std::map<std::string, int> m_imageByKey;
    std::vector<std::size_t> m_selected;
    TAVGis::Sewage::IFlowCalculator* m_active = nullptr;
};
