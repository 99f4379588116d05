#include "module/flow/FlowComponentsTab.h"

#include "module/data/DialogState.h"
#include "module/flow/FlowStatusLine.h"
#include "platform/gis/ModuleConfiguration.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kMsgGroup = 2150;
constexpr int kMsgSelectAll = 2151;
constexpr int kMsgClearAll = 2152;
}  // namespace

CFlowComponentsTab::CFlowComponentsTab(int templateId, std::span<const FlowComponentControl> rows,
                                       const Controls& controls)
    : CAcUiTabChildDialog(templateId), m_rows(rows), m_controls(controls), m_ticks(rows.size(), 0) {
    for (const auto& row : m_rows)
        Map(row.checkId, Notification::Clicked, &CFlowComponentsTab::OnComponentClicked);
    Map(m_controls.selectAll, Notification::Clicked, [this] { SetAll(1); });
    Map(m_controls.clearAll, Notification::Clicked, [this] { SetAll(0); });
}

void CFlowComponentsTab::DoDataExchange(TAVUi::CDataExchange* pDX) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) TAVUi::DDX_Check(pDX, m_rows[i].checkId, m_ticks[i]);
}

void CFlowComponentsTab::SetUpControls(const char* calculateIcon, int calculateMsg) {
    Item(m_controls.calculate).icon = CModuleConfiguration::GetIcon(calculateIcon).name;
    Item(m_controls.selectAll).icon = CModuleConfiguration::GetIcon("CHECK_ALL_18").name;
    Item(m_controls.clearAll).icon = CModuleConfiguration::GetIcon("UNCHECK_ALL_18").name;
    SetDlgItemText(m_controls.group, CModuleConfiguration::GetMsg(kMsgGroup));
    SetDlgItemText(m_controls.calculate, CModuleConfiguration::GetMsg(calculateMsg));
    for (const auto& row : m_rows) SetDlgItemText(row.checkId, CModuleConfiguration::GetMsg(row.labelMsg));
    Item(m_controls.selectAll).tooltip = CModuleConfiguration::GetMsg(kMsgSelectAll);
    Item(m_controls.clearAll).tooltip = CModuleConfiguration::GetMsg(kMsgClearAll);
    Item(m_controls.status).bold = true;
    Item(m_controls.status).textColor = kFlowStatusColor;
}

void CFlowComponentsTab::LoadState() {
    CDialogState state;
    for (std::size_t i = 0; i < m_rows.size(); ++i) m_ticks[i] = state.GetInt(m_rows[i].stateKey, 0);
    UpdateData(false);
    ApplyEnableRule();
}

void CFlowComponentsTab::SaveState() {
    UpdateData(true);
    CDialogState state;
    state.UpgradeOpen();  // 0 or 83: upgraded; the writes follow in every case
    for (std::size_t i = 0; i < m_rows.size(); ++i) state.Write(m_rows[i].stateKey, m_ticks[i]);
}

void CFlowComponentsTab::ApplyEnableRule() {
    const bool any = std::find(m_ticks.begin(), m_ticks.end(), 1) != m_ticks.end();
    EnableItem(m_controls.calculate, any);
}

void CFlowComponentsTab::OnComponentClicked() {
    UpdateData(true);
    ApplyEnableRule();
}

void CFlowComponentsTab::SetAll(int value) {
    std::fill(m_ticks.begin(), m_ticks.end(), value);
    UpdateData(false);
    ApplyEnableRule();
}

void CFlowComponentsTab::ClearStatus() {
    CFlowStatusLine::Clear(*this, m_controls.status, kFlowStatusColor);
}

void CFlowComponentsTab::ShowWritten() {
    CFlowStatusLine::ShowWritten(*this, m_controls.status);
}
