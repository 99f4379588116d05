#include "module/flow/DlgFlowWasteUneven.h"

#include <boost/make_shared.hpp>

#include "module/data/DialogState.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/HostUi.h"
#include "platform/host/TAVCEdit.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;
using TAVUi::Notification;

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 0xE60001;
constexpr int kWholeDigits = 8;  // negative in Attach: no negative numbers (all but the growth)
constexpr int kDecimals = 4;
constexpr double kDirectionZoomFactor = 3.0;

constexpr const char* kKeyWaterAmount = "TAVX_FLOW_U_m_edWaterAmount";
constexpr const char* kKeyFlowTime = "TAVX_FLOW_U_m_edFlowTime";
constexpr const char* kKeyPopulation = "TAVX_FLOW_U_m_edPopulation";
constexpr const char* kKeyIncrement = "TAVX_FLOW_U_m_edIncrement";
constexpr const char* kKeyPeriod = "TAVX_FLOW_U_m_edPeriod";
constexpr const char* kKeyMode = "TAVX_FLOW_U_m_comboMode";

constexpr int kMsgTitle = 9009;
constexpr int kMsgWaterAmount = 2066;
constexpr int kMsgFlowTime = 9012;
constexpr int kMsgMode = 9011;
constexpr int kMsgPopulation = 3900;
constexpr int kMsgIncrement = 2064;
constexpr int kMsgPeriod = 2065;
constexpr int kMsgModeFromAttribute = 9014;
constexpr int kMsgModeFromTotal = 3564;
constexpr int kMsgCalculate = 2428;
constexpr int kMsgClose = 235;
}  // namespace

CDlgFlowWasteUneven::CDlgFlowWasteUneven() : CAdUiBaseDialog(IDD) {
    Map(IDC_COMBO_MODE, Notification::SelChange, &CDlgFlowWasteUneven::OnModeChanged);
}

bool CDlgFlowWasteUneven::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_STATIC_WATER_AMOUNT, CModuleConfiguration::GetMsg(kMsgWaterAmount));
    SetDlgItemText(IDC_STATIC_FLOW_TIME, CModuleConfiguration::GetMsg(kMsgFlowTime));
    SetDlgItemText(IDC_STATIC_MODE, CModuleConfiguration::GetMsg(kMsgMode));
    SetDlgItemText(IDC_STATIC_POPULATION, CModuleConfiguration::GetMsg(kMsgPopulation));
    SetDlgItemText(IDC_STATIC_INCREMENT, CModuleConfiguration::GetMsg(kMsgIncrement));
    SetDlgItemText(IDC_STATIC_PERIOD, CModuleConfiguration::GetMsg(kMsgPeriod));
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgCalculate));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgClose));

    const UnevenWasteWaterInput defaults;
    m_edWaterAmount = CNumericEdit::Attach(*this, IDC_EDIT_WATER_AMOUNT, -kWholeDigits, kDecimals);
    m_edFlowTime = CNumericEdit::Attach(*this, IDC_EDIT_FLOW_TIME, -kWholeDigits, kDecimals);
    m_edPopulation = CNumericEdit::Attach(*this, IDC_EDIT_POPULATION, -kWholeDigits, kDecimals);
    m_edIncrement = CNumericEdit::Attach(*this, IDC_EDIT_INCREMENT, kWholeDigits, kDecimals);
    m_edPeriod = CNumericEdit::Attach(*this, IDC_EDIT_PERIOD, -kWholeDigits, kDecimals);
    m_edWaterAmount->SetValue(defaults.q, true);
    m_edFlowTime->SetValue(defaults.t, true);
    m_edPopulation->SetValue(defaults.n, true);
    m_edIncrement->SetValue(defaults.p, true);
    m_edPeriod->SetValue(defaults.years, true);

    auto& mode = Item(IDC_COMBO_MODE);
    mode.ResetContent();
    mode.AddString(CModuleConfiguration::GetMsg(kMsgModeFromAttribute),
                   UnevenWasteWaterInput::kModeFromAttribute);
    mode.AddString(CModuleConfiguration::GetMsg(kMsgModeFromTotal), UnevenWasteWaterInput::kModeFromTotal);
    mode.SetCurSel(UnevenWasteWaterInput::kModeFromTotal);
    ApplyMode();

    // The values stored in the drawing replace the defaults.
    CDialogState state;
    const std::pair<CNumericEdit*, const char*> stored[] = {{m_edWaterAmount, kKeyWaterAmount},
                                                            {m_edFlowTime, kKeyFlowTime},
                                                            {m_edPopulation, kKeyPopulation},
                                                            {m_edIncrement, kKeyIncrement},
                                                            {m_edPeriod, kKeyPeriod}};
    for (const auto& [edit, key] : stored)
        if (double value = 0.0; state.Read(key, value)) edit->SetValue(value, true);
    if (int index = 0; state.Read(kKeyMode, index)) mode.SetCurSel(index);
    // A stored index the drop-down does not have (a damaged drawing) selects the default.
    if (mode.curSel < 0) mode.SetCurSel(defaults.mode);
    // The stored mode decides which fields are enabled.
    ApplyMode();
    return true;
}

UnevenWasteWaterInput CDlgFlowWasteUneven::ReadInput() const {
    UnevenWasteWaterInput in;
    in.q = m_edWaterAmount->GetValue();
    in.t = m_edFlowTime->GetValue();
    in.n = m_edPopulation->GetValue();
    in.p = m_edIncrement->GetValue();
    in.years = m_edPeriod->GetValue();
    in.mode = GetDlgItem(IDC_COMBO_MODE)->curSel;
    return in;
}

void CDlgFlowWasteUneven::ApplyMode() {
    const bool fromTotal = GetDlgItem(IDC_COMBO_MODE)->curSel == UnevenWasteWaterInput::kModeFromTotal;
    for (int id : {IDC_EDIT_POPULATION, IDC_STATIC_POPULATION, IDC_EDIT_INCREMENT, IDC_STATIC_INCREMENT,
                   IDC_EDIT_PERIOD, IDC_STATIC_PERIOD})
        EnableItem(id, fromTotal);
}

void CDlgFlowWasteUneven::OnModeChanged() {
    UpdateData(true);
    ApplyMode();
}

CSectionPtr CDlgFlowWasteUneven::AskDirection(const CNodePtr& node,
                                              const std::vector<CSectionPtr>& outgoing) {
    std::vector<TAVHost::ObjectId> ids;
    for (const auto& s : outgoing) ids.push_back(s->GetObjectId());
    CTAVCEdit::zoom(ids, kDirectionZoomFactor);
    ShowWindow(false);
    CSectionPtr picked = TAVGis::Selection::CSelector::LoopInstance()->selectDirection(node);
    ShowWindow(true);
    EnableWindow(true);
    return picked;
}

void CDlgFlowWasteUneven::OnOK() {
    TAVHost::ScopedWaitCursor wait;
    UpdateData(true);
    const auto in = ReadInput();
    // The sections the person selected; none selected: every element of the active system.
    TAVGis::Selection::CSelectionSetPtr selection =
        m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    if (!selection || selection->GetSections().empty()) {
        selection = boost::make_shared<TAVGis::Selection::CSelectionSet>();
        TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(*selection);
    }
    m_lastResult =
        CUnevenWasteWater::Run(in, selection->GetSections(), selection->GetNodes(), m_mainOutlets,
                               [this](const CNodePtr& node, const std::vector<CSectionPtr>& outgoing) {
                                   return AskDirection(node, outgoing);
                               });
    if (m_lastResult.status != 0) {
        acedAlert(CModuleConfiguration::GetMsg(m_lastResult.status));
        return;
    }
    if (!m_lastResult.notFinite.Empty()) acedAlert(m_lastResult.notFinite.AlertText());
    SaveState();
    acedRefreshView();
    acedUpdateDisplay();
}

void CDlgFlowWasteUneven::SaveState() {
    CDialogState state;
    state.UpgradeOpen();
    state.SaveNumber(*this, IDC_EDIT_WATER_AMOUNT, kKeyWaterAmount);
    state.SaveNumber(*this, IDC_EDIT_FLOW_TIME, kKeyFlowTime);
    state.SaveNumber(*this, IDC_EDIT_POPULATION, kKeyPopulation);
    state.SaveNumber(*this, IDC_EDIT_INCREMENT, kKeyIncrement);
    state.SaveNumber(*this, IDC_EDIT_PERIOD, kKeyPeriod);
    state.SaveComboIndex(*this, IDC_COMBO_MODE, kKeyMode);
}

void CDlgFlowWasteUneven::OnCancel() {
    SaveState();
    acedRedraw(nullptr, kRedrawUnhighlight);  // the sections calculated were shown highlighted
    CAdUiBaseDialog::OnCancel();
}
