#include "module/flow/FlowCalcMainDlg.h"

#include "platform/gis/ModuleConfiguration.h"

using TAVGis::CModuleConfiguration;

namespace {
constexpr int kMsgTransitTab = 2144;
constexpr int kMsgTotalTab = 50052;
constexpr int kMsgTitle = 2430;
constexpr int kMsgCancel = 235;
constexpr int kMsgHelp = 50156;
}  // namespace

CFlowCalcMainDlg::CFlowCalcMainDlg() : CAcUiTabMainDialog(IDD) {}

bool CFlowCalcMainDlg::OnInitDialog() {
    CAcUiTabMainDialog::OnInitDialog();
    m_tab.Attach(this, IDC_TAB);
    m_tab.AddTab(0, CModuleConfiguration::GetMsg(kMsgTransitTab), CFlowCalcTransitDlg::IDD, &m_transit);
    m_tab.AddTab(1, CModuleConfiguration::GetMsg(kMsgTotalTab), CFlowCalcTotalDlg::IDD, &m_total);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgCancel));
    SetDlgItemText(TAVUi::IDHELP, CModuleConfiguration::GetMsg(kMsgHelp));
    return true;
}

void CFlowCalcMainDlg::OnOK() {
    CAcUiTabMainDialog::OnOK();
}

void CFlowCalcMainDlg::OnCancel() {
    UpdateData(true);
    m_transit.SaveState();
    m_total.SaveState();
    CAcUiTabMainDialog::OnCancel();
}
