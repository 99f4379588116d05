#include "module/flow/DlgInfAreaTurkMain.h"

#include "platform/gis/ModuleConfiguration.h"

using TAVGis::CModuleConfiguration;

namespace {
constexpr int kMsgTitle = 10563;
constexpr int kMsgInputTab = 61028;
constexpr int kMsgCalculationTab = 3564;
constexpr int kMsgClose = 235;
}  // namespace

CDlgInfAreaTurkMain::CDlgInfAreaTurkMain() : CAcUiTabMainDialog(IDD) {
    MapMessage(WM_KEEP_FOCUS, [](std::intptr_t, std::intptr_t) -> std::intptr_t { return 1; });
}

bool CDlgInfAreaTurkMain::OnInitDialog() {
    CAcUiTabMainDialog::OnInitDialog();
    m_tab.Attach(this, IDC_TAB);
    m_tab.AddTab(0, CModuleConfiguration::GetMsg(kMsgInputTab), CDlgInfAreaTurkChild_Input::IDD, &m_input);
    m_tab.AddTab(1, CModuleConfiguration::GetMsg(kMsgCalculationTab), CDlgInfAreaTurkChild_Calculation::IDD,
                 &m_calculation);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgClose));
    return true;
}

void CDlgInfAreaTurkMain::OnCancel() {
    m_input.SaveState();
    CAcUiTabMainDialog::OnCancel();
}
