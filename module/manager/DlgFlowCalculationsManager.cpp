#include "module/manager/DlgFlowCalculationsManager.h"

#include <boost/make_shared.hpp>
#include <cstdio>

#include "module/manager/FunctionTrace.h"
#include "module/manager/PreviewActions.h"
#include "platform/gis/DataDefinition.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Sewage::CFlowCalculatorParameters;
using TAVGis::Sewage::CFlowCalculatorParametersPtr;
using TAVGis::Sewage::IFlowCalculator;
using TAVUi::Notification;

// The trace of a handler, under its qualified name.
#define MANAGER_TRACE(name) \
    FunctionTrace functionTrace_(__FILE__, __LINE__, "CDlgFlowCalculationsManager::" name)

namespace {
constexpr int kMsgTitle = 11159, kMsgNoCalculator = 11158, kMsgSelected = 11160;
constexpr int kMsgRun = 2428, kMsgReset = 8946, kMsgDeleteConfig = 6043, kMsgPreview = 6204;
constexpr int kMsgInputData = 1885, kMsgClose = 235;

std::string PointerText(const void* p) {
    char text[32];
    std::snprintf(text, sizeof text, "%p", p);
    return text;
}
}  // namespace

CDlgFlowCalculationsManager::CDlgFlowCalculationsManager() : CAdUiBaseDialog(IDD) {
    Map(IDC_TREE_CALCULATORS, Notification::SelChange, &CDlgFlowCalculationsManager::OnTreeSelChanged);
    Map(IDC_BTN_RUN, Notification::Clicked, &CDlgFlowCalculationsManager::OnBnClickedBtnRun);
    Map(IDC_BTN_INPUT_DATA, Notification::Clicked, &CDlgFlowCalculationsManager::OnBnClickedBtnInputData);
    Map(IDC_BTN_RESET_DATA, Notification::Clicked, &CDlgFlowCalculationsManager::OnBnClickedBtnResetData);
    Map(IDC_BTN_DELETE_CONFIG, Notification::Clicked,
        &CDlgFlowCalculationsManager::OnBnClickedBtnDeleteConfig);
    Map(IDC_COMBO_PREVIEWS, Notification::SelChange,
        &CDlgFlowCalculationsManager::OnCbnSelchangeComboPreviews);
    Map(IDC_BTN_ZOOM, Notification::Clicked, &CDlgFlowCalculationsManager::OnZoom);
    Map(IDC_BTN_MARK, Notification::Clicked, &CDlgFlowCalculationsManager::OnMark);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
    MapMessage(WM_KEEP_FOCUS, [](std::intptr_t, std::intptr_t) -> std::intptr_t { return 1; });
}

bool CDlgFlowCalculationsManager::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    // 1. Anchors.
    Init(*this);
    SetMinTrackSize(kMinTrackWidth, kMinTrackHeight);
    for (int id : {IDC_PROPERTY_GRID, IDC_COMBO_PREVIEWS}) SetResize(id, TAVUi::SZ_STRETCH_RIGHT);
    for (int id : {IDC_GROUP_PREVIEW, IDC_PREVIEW_LIST}) SetResize(id, TAVUi::SZ_STRETCH_BOTH);
    for (int id : {IDC_BTN_RUN, IDC_BTN_RESET_DATA, IDC_BTN_DELETE_CONFIG, IDC_BTN_PREVIEW,
                   IDC_BTN_INPUT_DATA, IDC_BTN_ZOOM, IDC_BTN_MARK, IDC_BTN_C, IDC_EDIT_ZOOM, IDC_SEPARATOR})
        SetResize(id, TAVUi::SZ_TOP_RIGHT);
    for (int id : {IDC_BTN_SELECT, IDC_STATIC_SELECTED}) SetResize(id, TAVUi::SZ_BOTTOM_LEFT);
    for (int id : {TAVUi::IDOK, TAVUi::IDCANCEL}) SetResize(id, TAVUi::SZ_BOTTOM_RIGHT);
    // 2. The count label.
    SetCountLabel("");
    // 3. The preview list and its combo.
    m_preview.Create(*this, IDC_PREVIEW_LIST);
    ReloadPreviewCombo();
    Item(IDC_COMBO_PREVIEWS).SetCurSel(0);
    // 4. Texts and the tree's images.
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    const std::pair<int, int> texts[] = {{IDC_BTN_RUN, kMsgRun},
                                         {IDC_BTN_RESET_DATA, kMsgReset},
                                         {IDC_BTN_DELETE_CONFIG, kMsgDeleteConfig},
                                         {IDC_BTN_PREVIEW, kMsgPreview},
                                         {IDC_BTN_INPUT_DATA, kMsgInputData},
                                         {IDC_GROUP_PREVIEW, kMsgPreview},
                                         {TAVUi::IDCANCEL, kMsgClose}};
    for (const auto& [id, msg] : texts) SetDlgItemText(id, CModuleConfiguration::GetMsg(msg));
    m_zoom = CNumericEdit::Attach(*this, IDC_EDIT_ZOOM, -kZoomWholeDigits, kZoomDecimals);
    if (m_zoom) m_zoom->SetValue(kDefaultZoomFactor, true);
    // 5. The selection button.
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BTN_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    // 6. The tree (its image list is drawn with it).
    RefreshTree();
    // 7. The property grid.
    m_grid = PreviewActions::CreateParameterGrid(*this, IDC_PROPERTY_GRID, kGridDecimals, this);
    return true;
}

void CDlgFlowCalculationsManager::SetCountLabel(const char* after) {
    const int count = m_selection ? m_selection->Count() : 0;
    SetDlgItemText(IDC_STATIC_SELECTED,
                   CModuleConfiguration::GetMsg(kMsgSelected) + " " + std::to_string(count) + after);
}

const CFlowTreeItemData* CDlgFlowCalculationsManager::SelectedItemData() const {
    const auto* tree = GetDlgItem(IDC_TREE_CALCULATORS);
    if (!tree || tree->selectedTreeItem == 0) return nullptr;
    for (const auto& t : tree->treeItems)
        if (t.handle == tree->selectedTreeItem) return reinterpret_cast<const CFlowTreeItemData*>(t.data);
    return nullptr;
}

CFlowCalculatorParametersPtr CDlgFlowCalculationsManager::SelectedParameters() const {
    const CFlowCalculatorTree::Node* node = m_tree.SelectedNode();
    if (!node) return {};
    if (node->kind == CFlowCalculatorTree::Kind::ParameterSet) return node->parameters;
    if (node->kind == CFlowCalculatorTree::Kind::Calculator && node->calculator)
        return node->calculator->GetDefaultCalculationParameters();
    return {};
}

IFlowCalculator* CDlgFlowCalculationsManager::GetActiveFlowCalculator() const {
    MANAGER_TRACE("GetActiveFlowCalculator");
    const auto* tree = GetDlgItem(IDC_TREE_CALCULATORS);
    const CFlowTreeItemData* data = SelectedItemData();
    if (!tree || !data) return nullptr;
    if (data->kind == CFlowTreeItemData::kCalculator) return static_cast<IFlowCalculator*>(data->object);
    if (data->kind != CFlowTreeItemData::kParameterSet) return nullptr;
    // A set's calculator is its parent item's.
    for (const auto& t : tree->treeItems) {
        if (t.handle != tree->selectedTreeItem) continue;
        for (const auto& p : tree->treeItems) {
            if (p.handle != t.parent) continue;
            const auto* parent = reinterpret_cast<const CFlowTreeItemData*>(p.data);
            if (parent && parent->kind == CFlowTreeItemData::kCalculator)
                return static_cast<IFlowCalculator*>(parent->object);
        }
    }
    return nullptr;
}

void CDlgFlowCalculationsManager::ReadExpansionFromControl() {
    const auto* tree = GetDlgItem(IDC_TREE_CALCULATORS);
    if (!tree) return;
    for (const auto& t : tree->treeItems) {
        auto it = m_pathByHandle.find(t.handle);
        if (it != m_pathByHandle.end() && it->second.size() == 2) m_tree.SetExpanded(it->second, t.expanded);
    }
}

void CDlgFlowCalculationsManager::DrawTree() {
    auto& tree = Item(IDC_TREE_CALCULATORS);
    tree.DeleteAllTreeItems();
    m_itemData.clear();
    m_pathByHandle.clear();
    m_imageList.clear();
    for (const auto& name : m_tree.Images()) m_imageList.push_back(CModuleConfiguration::GetIcon(name));
    const auto& roots = m_tree.Roots();
    int selected = 0;
    for (std::size_t g = 0; g < roots.size(); ++g) {
        const int gh = tree.InsertTreeItem(roots[g].text, 0, 0, roots[g].image);
        tree.FindTreeItem(gh)->expanded = roots[g].expanded;
        m_pathByHandle[gh] = {g};
        for (std::size_t c = 0; c < roots[g].children.size(); ++c) {
            const auto& calc = roots[g].children[c];
            auto data = std::make_shared<CFlowTreeItemData>();
            data->kind = CFlowTreeItemData::kCalculator;
            data->object = calc.calculator;
            m_itemData.push_back(data);
            const int ch =
                tree.InsertTreeItem(calc.text, gh, reinterpret_cast<std::uintptr_t>(data.get()), calc.image);
            tree.FindTreeItem(ch)->expanded = calc.expanded;
            m_pathByHandle[ch] = {g, c};
            if (m_tree.Selected() == std::vector<std::size_t>{g, c}) selected = ch;
            for (std::size_t s = 0; s < calc.children.size(); ++s) {
                const auto& set = calc.children[s];
                auto setData = std::make_shared<CFlowTreeItemData>();
                setData->kind = CFlowTreeItemData::kParameterSet;
                setData->object = set.parameters.get();
                m_itemData.push_back(setData);
                const int sh = tree.InsertTreeItem(
                    set.text, ch, reinterpret_cast<std::uintptr_t>(setData.get()), set.image);
                m_pathByHandle[sh] = {g, c, s};
                if (m_tree.Selected() == std::vector<std::size_t>{g, c, s}) selected = sh;
            }
        }
    }
    tree.selectedTreeItem = selected;
}

void CDlgFlowCalculationsManager::RefreshTree() {
    MANAGER_TRACE("RefreshTree");
    ReadExpansionFromControl();
    TAVGis::Selection::CSelectionSet all;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(all);
    m_tree.Rebuild(TAVGis::Sewage::CFlowCalculatorManager::GetInstance()->GetRegisteredFlowCalculators(),
                   all.GetSections());
    DrawTree();
    if (m_grid) ShowParameters(SelectedParameters());
}

void CDlgFlowCalculationsManager::ShowParameters(const CFlowCalculatorParametersPtr& params) {
    m_shown = params;
    if (m_grid) PreviewActions::ShowParameters(*m_grid, params);
}

void CDlgFlowCalculationsManager::OnTreeSelChanged() {
    const auto& tree = Item(IDC_TREE_CALCULATORS);
    auto it = m_pathByHandle.find(tree.selectedTreeItem);
    m_tree.Select(it == m_pathByHandle.end() ? std::vector<std::size_t>{} : it->second);
    const CFlowTreeItemData* data = SelectedItemData();
    if (data && data->kind == CFlowTreeItemData::kCalculator) {
        ShowParameters(SelectedParameters());
    } else if (data && data->kind == CFlowTreeItemData::kParameterSet) {
        const CFlowCalculatorParametersPtr params = SelectedParameters();
        ShowParameters(params);
        if (IFlowCalculator* calc = GetActiveFlowCalculator()) {
            auto set = boost::make_shared<TAVGis::Selection::CSelectionSet>();
            TAVGis::Sewage::SectionList sections;
            calc->GetSectionsForCalculationParameters(params, sections);
            for (const auto& s : sections) set->AddSection(s);
            ReplaceSelection(set);
        }
    } else {
        ShowParameters({});
    }
    ReloadPreviewCombo();
    OnCbnSelchangeComboPreviews();
}

TAVGis::Sewage::SectionList CDlgFlowCalculationsManager::SelectedSections() const {
    return m_selection ? m_selection->GetSections() : TAVGis::Sewage::SectionList{};
}

void CDlgFlowCalculationsManager::OnBnClickedBtnRun() {
    MANAGER_TRACE("OnBnClickedBtnRun");
    if (Item(IDC_TREE_CALCULATORS).selectedTreeItem == 0) return;
    IFlowCalculator* calc = GetActiveFlowCalculator();
    TRACE_VALUE("pRV", PointerText(calc));
    if (!calc) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgNoCalculator));
        return;
    }
    const auto set = PreviewActions::RunSelection(*calc, m_selection);
    if (!set) return;
    if (set != m_selection) ReplaceSelection(set);
    const CFlowCalculatorParametersPtr params = SelectedParameters();
    if (!params) return;
    TRACE_MARKER();
    if (!calc->RunCalculation(SelectedSections(), params, true, false, this)) return;
    TRACE_MARKER();
    OnCbnSelchangeComboPreviews();
    RefreshTree();
}

void CDlgFlowCalculationsManager::OnBnClickedBtnInputData() {
    MANAGER_TRACE("OnBnClickedBtnInputData");
    if (Item(IDC_TREE_CALCULATORS).selectedTreeItem == 0) return;
    IFlowCalculator* calc = GetActiveFlowCalculator();
    TRACE_VALUE("pRV", PointerText(calc));
    if (!calc) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgNoCalculator));
        return;
    }
    if (!PreviewActions::HasSelection(m_selection)) return;
    TRACE_MARKER();
    if (!calc->InputData(SelectedSections(), SelectedParameters(), true, false)) return;
    TRACE_MARKER();
    OnCbnSelchangeComboPreviews();
    RefreshTree();
}

void CDlgFlowCalculationsManager::OnBnClickedBtnResetData() {
    if (!PreviewActions::HasSelection(m_selection)) return;
    IFlowCalculator* calc = GetActiveFlowCalculator();
    if (!calc) return;
    calc->ResetWrittenData(SelectedSections());
    OnCbnSelchangeComboPreviews();
}

void CDlgFlowCalculationsManager::OnBnClickedBtnDeleteConfig() {
    const CFlowTreeItemData* data = SelectedItemData();
    if (!data || !m_selection) return;
    if (data->kind == CFlowTreeItemData::kCalculator) {
        static_cast<IFlowCalculator*>(data->object)->ResetSourceData(SelectedSections());
    } else if (data->kind == CFlowTreeItemData::kParameterSet) {
        if (IFlowCalculator* calc = GetActiveFlowCalculator()) {
            TAVGis::Sewage::SectionList sections;
            calc->GetSectionsForCalculationParameters(SelectedParameters(), sections);
            calc->ResetSourceData(sections);
        }
    }
    RefreshTree();
}

void CDlgFlowCalculationsManager::ReloadPreviewCombo() {
    MANAGER_TRACE("ReloadPreviewCombo");
    auto& combo = Item(IDC_COMBO_PREVIEWS);
    combo.ResetContent();
    m_comboDefinitions.clear();
    if (!m_repositoryLooked) {
        m_repository = TAVGis::Preview::CRepositoryManager::GetSystemRepository(
            TAVGis::Preview::CRepositoryManager::kPreviewRepository,
            TAVGis::Preview::CRepositoryManager::kPreviewVersion);
        m_repositoryLooked = true;
    }
    if (!m_repository) return;
    for (const auto& d : m_repository->GetDefinitions(TAVGis::Data::kEntitySection)) {
        combo.AddString(d->GetName(), reinterpret_cast<std::uintptr_t>(d.get()));
        m_comboDefinitions.push_back(d);
    }
    if (IFlowCalculator* calc = GetActiveFlowCalculator()) {
        const auto d = PreviewActions::CalculatorPreview(*calc);
        TRACE_VALUE("pPrevDef", PointerText(d.get()));
        combo.AddString(d->GetName(), reinterpret_cast<std::uintptr_t>(d.get()));
        m_comboDefinitions.push_back(d);
    }
    const int found = m_previewName.empty() ? -1 : combo.FindStringExact(m_previewName);
    combo.SetCurSel(found >= 0 ? found : static_cast<int>(combo.items.size()) - 1);
}

void CDlgFlowCalculationsManager::OnCbnSelchangeComboPreviews() {
    MANAGER_TRACE("OnCbnSelchangeComboPreviews");
    const auto& combo = Item(IDC_COMBO_PREVIEWS);
    if (combo.curSel < 0 || combo.curSel >= static_cast<int>(m_comboDefinitions.size())) return;
    const auto& d = m_comboDefinitions[static_cast<std::size_t>(combo.curSel)];
    TRACE_VALUE("pPrevDef", PointerText(d.get()));
    m_previewName = d->GetName();
    if (d->GetEntityType() == TAVGis::Data::kEntitySection) m_preview.ShowPreview(d, m_sectionIds);
}

void CDlgFlowCalculationsManager::ReplaceSelection(const TAVGis::Selection::CSelectionSetPtr& set) {
    m_selection = set;
    RebuildFromSelection();
}

void CDlgFlowCalculationsManager::RebuildFromSelection() {
    m_sectionIds = m_selection ? m_selection->GetSectionsAsVector() : std::vector<TAVHost::ObjectId>{};
    SetCountLabel(" ");
    OnCbnSelchangeComboPreviews();
}

std::intptr_t CDlgFlowCalculationsManager::OnSelectionMade(std::intptr_t, std::intptr_t) {
    if (m_selectButton && m_selectButton->GetSelectionSet())
        ReplaceSelection(m_selectButton->GetSelectionSet());
    return 0;
}

void CDlgFlowCalculationsManager::OnItemUpdated(const TAVGis::Data::CPropertyExPtr&) {
    if (!GetActiveFlowCalculator() || !m_grid) return;
    m_grid->Refresh();
    m_grid->UpdateGridData(0);
}

void CDlgFlowCalculationsManager::OnZoom() {
    PreviewActions::Zoom(m_preview.GetMarkedEntities(),
                         PreviewActions::ZoomFactor(m_zoom, kDefaultZoomFactor), true);
}

void CDlgFlowCalculationsManager::OnMark() {
    PreviewActions::Mark(m_preview.GetMarkedEntities());
}
