#include "module/flow/StandardRODlg.h"

#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"

using TAVGis::CModuleConfiguration;

namespace {
constexpr int kWholeDigits = 1;
constexpr int kDecimals = 4;
constexpr int kMsgTitle = 6130;
constexpr int kMsgGroup = 4673;
constexpr int kMsgSensitive = 4674;
constexpr int kMsgOther = 4675;
constexpr int kMsgOk = 60;
constexpr int kMsgCancel = 67;
}  // namespace

CStandardRODlg::CStandardRODlg() : CAdUiBaseDialog(IDD) {}

bool CStandardRODlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_sensitive = CNumericEdit::Attach(*this, IDC_EDIT_SENSITIVE, -kWholeDigits, kDecimals);
    m_otherShort = CNumericEdit::Attach(*this, IDC_EDIT_SHORT, -kWholeDigits, kDecimals);
    m_otherLong = CNumericEdit::Attach(*this, IDC_EDIT_LONG, -kWholeDigits, kDecimals);
    m_sensitive->SetValue(kDefaultSensitive, true);
    m_otherShort->SetValue(kDefaultOtherShort, true);
    m_otherLong->SetValue(kDefaultOtherLong, true);
    CheckRadioButton(m_nChoice == 1 ? IDC_RADIO_OTHER : IDC_RADIO_SENSITIVE);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_GROUP_AREAS, CModuleConfiguration::GetMsg(kMsgGroup));
    SetDlgItemText(IDC_RADIO_SENSITIVE, CModuleConfiguration::GetMsg(kMsgSensitive));
    SetDlgItemText(IDC_RADIO_OTHER, CModuleConfiguration::GetMsg(kMsgOther));
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgOk));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgCancel));
    return true;
}

void CStandardRODlg::OnOK() {
    m_dSensitive = m_sensitive->GetValue();
    m_dOtherShort = m_otherShort->GetValue();
    m_dOtherLong = m_otherLong->GetValue();
    m_nChoice = IsDlgButtonChecked(IDC_RADIO_OTHER) == 1 ? 1 : 0;
    CAdUiBaseDialog::OnOK();
}
