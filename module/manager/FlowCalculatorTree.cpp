#include "module/manager/FlowCalculatorTree.h"

#include <set>

namespace {
CFlowCalculatorTree::Node MakeNode(CFlowCalculatorTree::Kind kind, std::string text, int image,
                                   TAVGis::Sewage::IFlowCalculator* calculator = nullptr,
                                   TAVGis::Sewage::CFlowCalculatorParametersPtr parameters = {}) {
    CFlowCalculatorTree::Node n;
    n.kind = kind;
    n.text = std::move(text);
    n.image = image;
    n.calculator = calculator;
    n.parameters = std::move(parameters);
    return n;
}
}  // namespace

int CFlowCalculatorTree::ImageOf(const std::string& key) {
    auto it = m_imageByKey.find(key);
    if (it != m_imageByKey.end()) return it->second;
    const int index = static_cast<int>(m_images.size());
    m_images.push_back(key.substr(key.find(':') + 1));
    m_imageByKey.emplace(key, index);
    return index;
}

void CFlowCalculatorTree::Rebuild(
    const std::map<std::string, TAVGis::Sewage::IFlowCalculatorPtr>& calculators,
    const TAVGis::Sewage::SectionList& allSections) {
    std::set<const TAVGis::Sewage::IFlowCalculator*> wasExpanded;
    for (const auto& g : m_roots)
        for (const auto& c : g.children)
            if (c.expanded) wasExpanded.insert(c.calculator);
    if (const auto* active = ActiveCalculator())
        m_active = const_cast<TAVGis::Sewage::IFlowCalculator*>(active);
    m_roots.clear();
    m_selected.clear();
    bool activeFound = false;
    for (const auto& [name, calc] : calculators) {
        if (!calc) continue;
        std::string group, groupIcon, display, icon;
        calc->GetGroupName(group);
        calc->GetGroupIconName(groupIcon);
        calc->GetDisplayName(display);
        calc->GetIconName(icon);
        std::size_t g = 0;
        while (g < m_roots.size() && m_roots[g].text != group) ++g;
        if (g == m_roots.size())
            m_roots.push_back(MakeNode(Kind::Group, group, ImageOf("group:" + group + ":" + groupIcon)));
        Node node = MakeNode(Kind::Calculator, display, ImageOf("calc:" + name + ":" + icon), calc.get());
        calc->ReloadSourceData(allSections);
        int number = 0;
        for (const auto& [params, sections] : calc->GetSourceDataConfigurations()) {
            node.children.push_back(MakeNode(Kind::ParameterSet,
                                             "Configuration " + std::to_string(++number) + " (" +
                                                 std::to_string(sections.size()) + " sections)",
                                             kSetImage, calc.get(), params));
        }
        node.expanded = !node.children.empty() || wasExpanded.count(calc.get()) != 0;
        m_roots[g].children.push_back(std::move(node));
        m_roots[g].expanded = true;
        if (calc.get() == m_active) {
            m_selected = {g, m_roots[g].children.size() - 1};
            activeFound = true;
        }
    }
    if (!activeFound) m_active = nullptr;
}

void CFlowCalculatorTree::Select(std::vector<std::size_t> path) {
    m_selected = std::move(path);
    if (!At(m_selected)) m_selected.clear();
    m_active = const_cast<TAVGis::Sewage::IFlowCalculator*>(ActiveCalculator());
}

CFlowCalculatorTree::Node* CFlowCalculatorTree::At(const std::vector<std::size_t>& path) {
    if (path.empty()) return nullptr;
    std::vector<Node>* level = &m_roots;
    Node* node = nullptr;
    for (std::size_t i : path) {
        if (i >= level->size()) return nullptr;
        node = &(*level)[i];
        level = &node->children;
    }
    return node;
}

const CFlowCalculatorTree::Node* CFlowCalculatorTree::SelectedNode() const {
    return const_cast<CFlowCalculatorTree*>(this)->At(m_selected);
}

TAVGis::Sewage::IFlowCalculator* CFlowCalculatorTree::ActiveCalculator() const {
    const Node* n = SelectedNode();
    if (!n || n->kind == Kind::Group) return nullptr;
    return n->calculator;
}

void CFlowCalculatorTree::SetExpanded(const std::vector<std::size_t>& path, bool expanded) {
    if (Node* n = At(path)) n->expanded = expanded;
}
