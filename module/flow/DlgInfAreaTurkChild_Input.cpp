#include "module/flow/DlgInfAreaTurkChild_Input.h"

#include "module/data/DialogState.h"
#include "module/flow/FlowStatusLine.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/HostUi.h"
#include "platform/ui/AcUiTabMainDialog.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;
using Ids = DlgInfAreaTurkChild_InputIds;

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 0xEEA001;
constexpr int kWholeDigits = 8;
constexpr int kDecimals = 4;
constexpr int kMsgSetParameters = 6095;
constexpr int kMsgConsumption = 3899, kMsgInfiltration = 10562, kMsgAdditional = 10561, kMsgKmin = 10550,
              kMsgKmax = 10552;

// The fields in the order of the parameters: edit, label, label's message.
struct Field {
    int edit, label, message;
};
constexpr Field kFieldControls[CDlgInfAreaTurkChild_Input::kFields] = {
    {Ids::IDC_EDIT_HOUSE_WASTE_WATER_FLOW, Ids::IDC_STATIC_HOUSE_WASTE_WATER_FLOW, kMsgConsumption},
    {Ids::IDC_EDIT_INFILTRATION, Ids::IDC_STATIC_INFILTRATION, kMsgInfiltration},
    {Ids::IDC_EDIT_ADDITIONAL_WATER, Ids::IDC_STATIC_ADDITIONAL_WATER, kMsgAdditional},
    {Ids::IDC_EDIT_KMIN, Ids::IDC_STATIC_KMIN, kMsgKmin},
    {Ids::IDC_EDIT_KMAX, Ids::IDC_STATIC_KMAX, kMsgKmax},
};
}  // namespace

CDlgInfAreaTurkChild_Input::CDlgInfAreaTurkChild_Input() : CAcUiTabChildDialog(IDD) {
    Map(IDC_BUTTON_SET_PARAMETERS, Notification::Clicked, &CDlgInfAreaTurkChild_Input::OnSetParameters);
}

bool CDlgInfAreaTurkChild_Input::OnInitDialog() {
    CAcUiTabChildDialog::OnInitDialog();
    const InfluenceParameters defaults;
    const double values[kFields] = {defaults.consumption, defaults.infiltration, defaults.additional,
                                    defaults.kminDaily, defaults.kmaxDaily};
    CDialogState state(CDialogState::kLegacyDictionary);
    for (int i = 0; i < kFields; ++i) {
        const Field& f = kFieldControls[i];
        m_edits[static_cast<std::size_t>(i)] = CNumericEdit::Attach(*this, f.edit, -kWholeDigits, kDecimals);
        m_edits[static_cast<std::size_t>(i)]->SetValue(values[i], true);
        state.LoadNumber(*this, f.edit, kStateKeys[static_cast<std::size_t>(i)], values[i]);
        SetDlgItemText(f.label, CModuleConfiguration::GetMsg(f.message));
    }
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT);
    m_selectButton->SetParentDialog(TabMain() ? static_cast<TAVUi::CAdUiBaseDialog*>(TabMain()) : Parent(),
                                    true);
    m_selectButton->SetTopologyType(kSelectionTopology);
    m_selectButton->SetSelectionType(kSelectionFlags);
    m_selectButton->SetHideDisabledMenuOptions(true);
    SetDlgItemText(IDC_BUTTON_SET_PARAMETERS, CModuleConfiguration::GetMsg(kMsgSetParameters));
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    return true;
}

InfluenceParameters CDlgInfAreaTurkChild_Input::ReadParameters() const {
    InfluenceParameters p;
    p.consumption = m_edits[0]->GetValue();
    p.infiltration = m_edits[1]->GetValue();
    p.additional = m_edits[2]->GetValue();
    p.kminDaily = m_edits[3]->GetValue();
    p.kmaxDaily = m_edits[4]->GetValue();
    return p;
}

void CDlgInfAreaTurkChild_Input::SaveState() {
    CDialogState state(CDialogState::kLegacyDictionary);
    state.UpgradeOpen();
    for (int i = 0; i < kFields; ++i)
        state.SaveNumber(*this, kFieldControls[i].edit, kStateKeys[static_cast<std::size_t>(i)]);
}

void CDlgInfAreaTurkChild_Input::OnSetParameters() {
    TAVHost::ScopedWaitCursor wait;
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    const auto selection = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    std::vector<TAVGis::Topology::CSectionPtr> sections;
    if (selection) sections = selection->GetSections();
    m_lastResult = CInfluenceAreasTurkish::SetParameters(ReadParameters(), selection ? &sections : nullptr);
    if (m_lastResult.logged) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
}
