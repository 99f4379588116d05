#include "module/flow/FlowCalcTransitDlg.h"

#include "module/flow/FlowStatusLine.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/host/TAVCEdit.h"
#include "platform/selection/Selector.h"
#include "platform/ui/AcUiTabMainDialog.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;
using TAVUi::Notification;

namespace {
constexpr const char* kStateDictionary = "TAVX_LSD2";
constexpr int kMsgWindowText = 2430;
constexpr int kMsgGroup = 2150;
constexpr int kMsgSelectAll = 2151;
constexpr int kMsgClearAll = 2152;
constexpr int kMsgCalculate = 2153;
constexpr int kMsgClosedLoop = 688;
constexpr double kDirectionZoomFactor = 3.0;
}  // namespace

CFlowCalcTransitDlg::CFlowCalcTransitDlg() : CAcUiTabChildDialog(IDD) {
    for (const auto& row : kTransitComponents)
        Map(row.checkId, Notification::Clicked, &CFlowCalcTransitDlg::OnComponentClicked);
    Map(IDC_BUTTON_SELECT_ALL, Notification::Clicked, &CFlowCalcTransitDlg::OnSelectAll);
    Map(IDC_BUTTON_CLEAR_ALL, Notification::Clicked, &CFlowCalcTransitDlg::OnClearAll);
    Map(IDC_BUTTON_CALCULATE, Notification::Clicked, &CFlowCalcTransitDlg::OnCalculate);
}

void CFlowCalcTransitDlg::DoDataExchange(TAVUi::CDataExchange* pDX) {
    for (std::size_t i = 0; i < kTransitComponents.size(); ++i)
        TAVUi::DDX_Check(pDX, kTransitComponents[i].checkId, m_flags[i]);
}

bool CFlowCalcTransitDlg::OnInitDialog() {
    CAcUiTabChildDialog::OnInitDialog();
    Item(IDC_BUTTON_CALCULATE).icon = CModuleConfiguration::GetIcon("FLOW_TRANSIT_CALCULATE_24").name;
    Item(IDC_BUTTON_SELECT_ALL).icon = CModuleConfiguration::GetIcon("CHECK_ALL_18").name;
    Item(IDC_BUTTON_CLEAR_ALL).icon = CModuleConfiguration::GetIcon("UNCHECK_ALL_18").name;

    // Every section of a sewage system, and every node, in the order the selection gives them.
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectAllElements(set, 1);
    m_sections.clear();
    for (const auto& s : set.GetSections())
        if (s && s->GetSystem() &&
            s->GetSystem()->GetSystemFunction() == TAVGis::System::kSystemFunctionSewage)
            m_sections.push_back(s);
    m_nodes = set.GetNodes();

    SetWindowText(CModuleConfiguration::GetMsg(kMsgWindowText));
    SetDlgItemText(IDC_GROUP_FLOWS, CModuleConfiguration::GetMsg(kMsgGroup));
    SetDlgItemText(IDC_BUTTON_CALCULATE, CModuleConfiguration::GetMsg(kMsgCalculate));
    for (const auto& row : kTransitComponents)
        SetDlgItemText(row.checkId, CModuleConfiguration::GetMsg(row.labelMsg));
    Item(IDC_BUTTON_SELECT_ALL).tooltip = CModuleConfiguration::GetMsg(kMsgSelectAll);
    Item(IDC_BUTTON_CLEAR_ALL).tooltip = CModuleConfiguration::GetMsg(kMsgClearAll);
    Item(IDC_STATIC_STATUS).bold = true;
    Item(IDC_STATIC_STATUS).textColor = kFlowStatusColor;
    LoadState();
    return true;
}

void CFlowCalcTransitDlg::LoadState() {
    CTAVCDictionaryPtr dict(kStateDictionary, AcDb::kForRead);
    for (std::size_t i = 0; i < kTransitComponents.size(); ++i) {
        int value = 0;
        m_flags[i] = dctRead(dict, kTransitComponents[i].stateKey, value, false) ? value : 0;
    }
    UpdateData(false);
    ApplyEnableRule();
}

void CFlowCalcTransitDlg::SaveState() {
    UpdateData(true);
    CTAVCDictionaryPtr dict(kStateDictionary, AcDb::kForRead);
    dict.upgradeOpen();  // 0 or 83: upgraded; the writes follow in every case
    for (std::size_t i = 0; i < kTransitComponents.size(); ++i)
        dctWrite(dict, kTransitComponents[i].stateKey, m_flags[i], false, true, TAVHost::kDictCodeInt16);
}

void CFlowCalcTransitDlg::ApplyEnableRule() {
    bool any = false;
    for (int f : m_flags) any = any || f == 1;
    EnableItem(IDC_BUTTON_CALCULATE, any);
}

void CFlowCalcTransitDlg::OnComponentClicked() {
    UpdateData(true);
    ApplyEnableRule();
}

void CFlowCalcTransitDlg::SetAllFlags(int value) {
    m_flags.fill(value);
    UpdateData(false);
    ApplyEnableRule();
}

void CFlowCalcTransitDlg::OnSelectAll() {
    SetAllFlags(1);
}
void CFlowCalcTransitDlg::OnClearAll() {
    SetAllFlags(0);
}

CSectionPtr CFlowCalcTransitDlg::AskDirection(const CNodePtr& node,
                                              const std::vector<CSectionPtr>& outgoing) {
    TAVUi::CAdUiBaseDialog* main = TabMain() ? static_cast<TAVUi::CAdUiBaseDialog*>(TabMain()) : Parent();
    if (main) main->ShowWindow(false);
    std::vector<TAVHost::ObjectId> ids;
    for (const auto& s : outgoing) ids.push_back(s->GetObjectId());
    CTAVCEdit::zoom(ids, kDirectionZoomFactor);
    CSectionPtr picked = TAVGis::Selection::CSelector::LoopInstance()->selectDirection(node);
    if (main) {
        main->ShowWindow(true);
        main->EnableWindow(true);
    }
    return picked;
}

void CFlowCalcTransitDlg::OnCalculate() {
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    m_lastResult =
        CTransitAccumulation::Run(m_sections, m_nodes, m_mainDirections, m_flags,
                                  [this](const CNodePtr& node, const std::vector<CSectionPtr>& outgoing) {
                                      return AskDirection(node, outgoing);
                                  });
    if (m_lastResult.loop) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgClosedLoop));
        return;
    }
    if (m_lastResult.written) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
    SaveState();
}
