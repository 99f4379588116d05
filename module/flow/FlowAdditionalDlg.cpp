#include "module/flow/FlowAdditionalDlg.h"

#include "module/data/DialogState.h"
#include "module/flow/FlowStatusLine.h"
#include "module/ui/NumericEdit.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVUi::Notification;

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 15630337;
constexpr int kWholeDigits = 8;
constexpr int kDecimals = 4;

// The edits in the order of the set's attributes, and where each attribute sits in the edits.
constexpr int kEditIds[7] = {CFlowAdditionalDlg::IDC_EDIT_KOEF_FLOW, CFlowAdditionalDlg::IDC_EDIT_FAKTOR_M,
                             CFlowAdditionalDlg::IDC_EDIT_SPECIFIC,  CFlowAdditionalDlg::IDC_EDIT_INFLOW,
                             CFlowAdditionalDlg::IDC_EDIT_OVERFLOW,  CFlowAdditionalDlg::IDC_EDIT_KOEF2,
                             CFlowAdditionalDlg::IDC_EDIT_USER};
constexpr std::size_t kKoefFlow = 0, kFaktorM = 1, kSpecific = 2, kUlaz = 3, kTockasti = 4, kKoef2 = 5,
                      kUser = 6;

// Dialog-state keys.
constexpr const char* kKeyAdditional = "TAVX_FLOW_ADD_CHECK_Dodatni";
constexpr const char* kKeyForeign = "TAVX_FLOW_ADD_CHECK_Strane";
constexpr const char* kKeyPoint = "TAVX_FLOW_ADD_CHECK_Tockasti";
constexpr const char* kKeyUser = "TAVX_FLOW_ADD_CHECK_Korisnicki";
constexpr const char* kKeyScope = "TAVX_FLOW_ADD_RADIO_SingleAll";
constexpr const char* kKeyForeignMethod = "TAVX_FLOW_ADD_RADIO_SumaUtjecajna";
constexpr const char* kKeyPointKind = "TAVX_FLOW_ADD_RADIO_UlaznaPreljevna";
}  // namespace

const CConfigSets& CFlowAdditionalDlg::Sets() {
    static const CConfigSets sets(
        "ACH_FLOW_CONFIG_DATA_ADD", "ACH_PARAM_CONFIG_ADD",
        {"koefFlow", "faktorM", "specificFlow", "ulaz", "koefTockasti", "koef2", "user"},
        CConfigSets::NumberFormat::Fixed4);
    return sets;
}

CFlowAdditionalDlg::CFlowAdditionalDlg()
    : CAdUiBaseDialog(IDD),
      m_navigator(*this, {IDC_RADIO_SINGLE, IDC_RADIO_ALL, IDC_BUTTON_PREVIOUS, IDC_BUTTON_NEXT,
                          IDC_STATIC_SECTION, IDC_CHECK_ZOOM, IDC_EDIT_ZOOM, IDC_BUTTON_SHOW}) {
    Map(IDC_COMBO_CONFIG, Notification::SelChange, &CFlowAdditionalDlg::OnConfigChanged);
    for (int id :
         {IDC_CHECK_ADDITIONAL, IDC_CHECK_FOREIGN, IDC_CHECK_POINT, IDC_CHECK_USER, IDC_RADIO_FOREIGN_AREAS,
          IDC_RADIO_FOREIGN_SHARE, IDC_RADIO_FOREIGN_SPECIFIC, IDC_RADIO_INFLOW, IDC_RADIO_OVERFLOW})
        Map(id, Notification::Clicked, &CFlowAdditionalDlg::ApplyEnabling);
    Map(IDC_BUTTON_PREVIOUS, Notification::Clicked, &CFlowAdditionalDlg::OnPrevious);
    Map(IDC_BUTTON_NEXT, Notification::Clicked, &CFlowAdditionalDlg::OnNext);
    Map(IDC_RADIO_SINGLE, Notification::Clicked, &CFlowAdditionalDlg::OnModeChanged);
    Map(IDC_RADIO_ALL, Notification::Clicked, &CFlowAdditionalDlg::OnModeChanged);
    Map(IDC_BUTTON_SHOW, Notification::Clicked, &CFlowAdditionalDlg::OnShow);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

bool CFlowAdditionalDlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    // Edits and their defaults, then the first stored set.
    const AdditionalFlowsInput defaults;
    const double values[7] = {defaults.koefFlow,     defaults.faktorM, defaults.specificFlow, defaults.ulaz,
                              defaults.koefTockasti, defaults.koef2,   defaults.userFlow};
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        m_edits[i] = CNumericEdit::Attach(*this, kEditIds[i], -kWholeDigits, kDecimals);
        m_edits[i]->SetValue(values[i], true);
    }
    if (const auto* record = Sets().LoadConfigs(Item(IDC_COMBO_CONFIG)))
        for (std::size_t i = 0; i < m_edits.size() && i < record->size(); ++i)
            m_edits[i]->SetValue((*record)[i], true);
    // The stored choices and the rules they enable.
    CDialogState state;
    state.LoadCheck(*this, IDC_CHECK_ADDITIONAL, kKeyAdditional, 0);
    state.LoadCheck(*this, IDC_CHECK_FOREIGN, kKeyForeign, 0);
    state.LoadCheck(*this, IDC_CHECK_POINT, kKeyPoint, 0);
    state.LoadCheck(*this, IDC_CHECK_USER, kKeyUser, 0);
    state.LoadRadio(*this, IDC_RADIO_SINGLE, kKeyScope, 0);
    state.LoadRadio(*this, IDC_RADIO_FOREIGN_AREAS, kKeyForeignMethod, 0);
    state.LoadRadio(*this, IDC_RADIO_INFLOW, kKeyPointKind, 0);
    ApplyEnabling();
    // Zoom, the selection button and every element of the active system.
    m_navigator.Init(kWholeDigits, kDecimals);
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_navigator.Take(set);
    EnableBySelection(set.GetSelectionType() != 0);
    return true;
}

void CFlowAdditionalDlg::ApplyEnabling() {
    auto on = [this](int id) { return IsDlgButtonChecked(id) == 1; };
    const bool additional = on(IDC_CHECK_ADDITIONAL);
    EnableItem(IDC_EDIT_KOEF2, additional);
    EnableItem(IDC_STATIC_KOEF2, additional);

    const bool foreign = on(IDC_CHECK_FOREIGN);
    for (int id : {IDC_RADIO_FOREIGN_AREAS, IDC_RADIO_FOREIGN_SHARE, IDC_RADIO_FOREIGN_SPECIFIC})
        EnableItem(id, foreign);
    for (int id : {IDC_EDIT_KOEF_FLOW, IDC_EDIT_FAKTOR_M, IDC_EDIT_SPECIFIC, IDC_STATIC_KOEF_FLOW,
                   IDC_STATIC_FAKTOR_M, IDC_STATIC_SPECIFIC})
        EnableItem(id, false);
    if (foreign) {
        if (on(IDC_RADIO_FOREIGN_AREAS)) {
            EnableItem(IDC_EDIT_KOEF_FLOW, true);
            EnableItem(IDC_STATIC_KOEF_FLOW, true);
        } else if (on(IDC_RADIO_FOREIGN_SHARE)) {
            EnableItem(IDC_EDIT_FAKTOR_M, true);
            EnableItem(IDC_STATIC_FAKTOR_M, true);
        } else if (on(IDC_RADIO_FOREIGN_SPECIFIC)) {
            EnableItem(IDC_EDIT_SPECIFIC, true);
            EnableItem(IDC_STATIC_SPECIFIC, true);
        }
    }

    const bool point = on(IDC_CHECK_POINT);
    EnableItem(IDC_RADIO_INFLOW, point);
    EnableItem(IDC_RADIO_OVERFLOW, point);
    EnableItem(IDC_EDIT_INFLOW, false);
    EnableItem(IDC_EDIT_OVERFLOW, false);
    if (point) {
        if (on(IDC_RADIO_INFLOW)) EnableItem(IDC_EDIT_INFLOW, true);
        if (on(IDC_RADIO_OVERFLOW)) EnableItem(IDC_EDIT_OVERFLOW, true);
    }

    const bool user = on(IDC_CHECK_USER);
    EnableItem(IDC_EDIT_USER, user);
    EnableItem(IDC_STATIC_USER, user);
}

void CFlowAdditionalDlg::EnableBySelection(bool enable) {
    for (int id : {IDC_COMBO_CONFIG, TAVUi::IDOK, IDC_GROUP_FOREIGN, IDC_CHECK_POINT, IDC_GROUP_POINT,
                   IDC_CHECK_ADDITIONAL, IDC_RADIO_SINGLE, IDC_RADIO_ALL, IDC_GROUP_CONFIG, IDC_CHECK_FOREIGN,
                   IDC_CHECK_ZOOM, IDC_EDIT_ZOOM, IDC_BUTTON_SHOW, IDC_CHECK_USER})
        EnableItem(id, enable);
    m_navigator.Refresh(enable);
}

AdditionalFlowsInput CFlowAdditionalDlg::ReadInput() const {
    auto on = [this](int id) { return IsDlgButtonChecked(id) == 1; };
    AdditionalFlowsInput in;
    in.foreign = on(IDC_CHECK_FOREIGN);
    in.foreignMethod = on(IDC_RADIO_FOREIGN_SPECIFIC) ? ForeignWaterMethod::SpecificFlow
                       : on(IDC_RADIO_FOREIGN_SHARE)  ? ForeignWaterMethod::ShareOfWaste
                                                      : ForeignWaterMethod::InfluenceAreas;
    in.koefFlow = m_edits[kKoefFlow]->GetValue();
    in.faktorM = m_edits[kFaktorM]->GetValue();
    in.specificFlow = m_edits[kSpecific]->GetValue();
    in.point = on(IDC_CHECK_POINT);
    in.pointKind = on(IDC_RADIO_OVERFLOW) ? PointFlowKind::Overflow : PointFlowKind::Inflow;
    in.ulaz = m_edits[kUlaz]->GetValue();
    in.koefTockasti = m_edits[kTockasti]->GetValue();
    in.additional = on(IDC_CHECK_ADDITIONAL);
    in.koef2 = m_edits[kKoef2]->GetValue();
    in.user = on(IDC_CHECK_USER);
    in.userFlow = m_edits[kUser]->GetValue();
    return in;
}

void CFlowAdditionalDlg::OnConfigChanged() {
    auto& combo = Item(IDC_COMBO_CONFIG);
    if (const auto* record = CConfigSets::GetRecord(combo, combo.curSel))
        for (std::size_t i = 0; i < m_edits.size() && i < record->size(); ++i)
            m_edits[i]->SetValue((*record)[i], true);
}

void CFlowAdditionalDlg::OnOK() {
    const auto in = ReadInput();
    const auto saved = Sets().Save(
        Item(IDC_COMBO_CONFIG).text,
        {in.koefFlow, in.faktorM, in.specificFlow, in.ulaz, in.koefTockasti, in.koef2, in.userFlow});
    if (!saved.Proceed()) return;  // empty (alert 2059) or unstorable name
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    const auto r = CAdditionalFlows::Run(
        in, m_navigator.Targets(),
        [&saved](const TAVGis::Topology::CSectionPtr& s) { Sets().Tag(s, saved.name); });
    if (r.written) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
}

std::intptr_t CFlowAdditionalDlg::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    m_navigator.Take(set ? *set : TAVGis::Selection::CSelectionSet());
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlue);
    EnableBySelection(set && set->GetSelectionType() != 0);
    return 0;
}

void CFlowAdditionalDlg::SaveState() {
    CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
    state.SaveCheck(*this, IDC_CHECK_ADDITIONAL, kKeyAdditional);
    state.SaveCheck(*this, IDC_CHECK_FOREIGN, kKeyForeign);
    state.SaveCheck(*this, IDC_CHECK_POINT, kKeyPoint);
    state.SaveCheck(*this, IDC_CHECK_USER, kKeyUser);
    state.SaveRadio(*this, IDC_RADIO_SINGLE, kKeyScope);
    state.SaveRadio(*this, IDC_RADIO_FOREIGN_AREAS, kKeyForeignMethod);
    state.SaveRadio(*this, IDC_RADIO_INFLOW, kKeyPointKind);
}

void CFlowAdditionalDlg::OnCancel() {
    SaveState();
    acedRedraw(nullptr, kRedrawUnhighlight);
    CAdUiBaseDialog::OnCancel();
}
