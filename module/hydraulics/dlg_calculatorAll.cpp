#include "module/hydraulics/dlg_calculatorAll.h"

#include "module/data/DialogState.h"
#include "module/hydraulics/EditNumber.h"
#include "module/hydraulics/SinglePipeControls.h"
#include "module/hydraulics/calc/HydraulicSteps.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "platform/network/PipeManager.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CCatalogItemPtr;
using TAVGis::Data::CPipeManager;
using TAVHost::NumberText::Fixed;
using TAVHost::NumberText::ParseOrZero;
using TAVUi::Notification;

namespace {

constexpr int kMsgModeDiameter = 7719, kMsgModeSlope = 7720, kTipModeDiameter = 2203, kTipModeSlope = 2204;
constexpr int kMsgGroup = 2291, kMsgPipe = 1130, kMsgFlow = 2187, kMsgSlopeUnit = 4560, kMsgSlope = 1271;
constexpr int kMsgRoughness = 2188, kMsgViscosity = 2189, kMsgPick = 2206, kTipPick = 2205;
constexpr int kMsgGroupInputs = 2062, kMsgClose = 235, kMsgRecalculate = 2213;
constexpr int kMsgColumnQuantity = 7790, kMsgColumnValue = 464;
// Labels 218 and 219 by mode.
constexpr int kMsgMinDiameter = 2191, kMsgChosenDiameter = 2192, kMsgMinSlope = 8695, kMsgChosenSlope = 8694;
constexpr int kQuantityColumnWidth = 180, kValueColumnWidth = 60;

constexpr const char* kUnits[kSlopeUnitCount] = {"o/oo", "o/o", "1/n"};
constexpr int kValueDecimals = 4, kViscosityDecimals = 10;

}  // namespace

dlg_calculatorAll::dlg_calculatorAll() : CAdUiBaseDialog(IDD) {
    Map(IDC_RADIO_MIN_DIAMETER, Notification::Clicked, &dlg_calculatorAll::OnModeClicked);
    Map(IDC_RADIO_MIN_SLOPE, Notification::Clicked, &dlg_calculatorAll::OnModeClicked);
    Map(IDC_COMBO_GROUP, Notification::SelChange, &dlg_calculatorAll::OnGroupChanged);
    Map(IDC_COMBO_PIPE, Notification::SelChange, &dlg_calculatorAll::OnPipeChanged);
    Map(IDC_COMBO_SLOPE_UNIT, Notification::SelChange, &dlg_calculatorAll::OnUnitChanged);
    for (int id : {IDC_EDIT_FLOW, IDC_EDIT_SLOPE, IDC_EDIT_ROUGHNESS, IDC_EDIT_VISCOSITY})
        Map(id, Notification::Changed, &dlg_calculatorAll::ComputeMinimum);
    Map(IDC_EDIT_CHOSEN, Notification::Changed, &dlg_calculatorAll::ComputeResults);
    Map(IDC_RECALCULATE, Notification::Clicked, &dlg_calculatorAll::ComputeResults);
    Map(IDC_CLOSE, Notification::Clicked, &dlg_calculatorAll::OnClose);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSectionPicked(w, l); });
}

void dlg_calculatorAll::ReadState() {
    CDialogState state;
    m_nType = state.GetInt("DIVODORHYDRAULICS_CAL_TYPE", m_nType);
    m_dFlow = state.GetDouble("DIVODORHYDRAULICS_CAL_FLOW", m_dFlow);
    m_dSlope = state.GetDouble("DIVODORHYDRAULICS_CAL_SLOPE", m_dSlope);
    m_dRoughness = state.GetDouble("DIVODORHYDRAULICS_CAL_ROUGHNESS", m_dRoughness);
    m_dViscosity = state.GetDouble("DIVODORHYDRAULICS_CAL_VIS", m_dViscosity);
    m_nCatPipe = state.GetInt("DIVODORHYDRAULICS_CATPIPE", m_nCatPipe);
    m_nSlopeUnit = state.GetInt("DIVODORHYDRAULICS_SLOPEUNIT", m_nSlopeUnit);
    if (m_nType != kModeMinimumDiameter && m_nType != kModeMinimumSlope) m_nType = kModeMinimumDiameter;
    if (m_nSlopeUnit < 0 || m_nSlopeUnit >= kSlopeUnitCount) m_nSlopeUnit = 0;
}

void dlg_calculatorAll::WriteState() {
    CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
    state.Write("DIVODORHYDRAULICS_CAL_TYPE", m_nType);
    state.WriteNumberText("DIVODORHYDRAULICS_CAL_FLOW", m_strFlow);
    state.Write("DIVODORHYDRAULICS_CAL_SLOPE",
                CHydraulicCalculator::ToPerMille(ParseOrZero(m_strSlope), m_shownUnit));
    state.WriteNumberText("DIVODORHYDRAULICS_CAL_ROUGHNESS", m_strRoughness);
    state.WriteNumberText("DIVODORHYDRAULICS_CAL_VIS", m_strViscosity);
    if (m_nCatPipe >= 0) state.Write("DIVODORHYDRAULICS_CATPIPE", m_nCatPipe);
    if (m_nSlopeUnit >= 0) state.Write("DIVODORHYDRAULICS_SLOPEUNIT", m_nSlopeUnit);
}

void dlg_calculatorAll::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Radio(pDX, IDC_RADIO_MIN_DIAMETER, m_nType);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_GROUP, m_nCatPipe);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_SLOPE_UNIT, m_nSlopeUnit);
    TAVUi::DDX_Text(pDX, IDC_EDIT_FLOW, m_strFlow);
    TAVUi::DDX_Text(pDX, IDC_EDIT_SLOPE, m_strSlope);
    TAVUi::DDX_Text(pDX, IDC_EDIT_ROUGHNESS, m_strRoughness);
    TAVUi::DDX_Text(pDX, IDC_EDIT_VISCOSITY, m_strViscosity);
}

bool dlg_calculatorAll::OnInitDialog() {
    ReadState();
    SetTexts();
    FillGroupCombo();
    FillPipeCombo();
    FillUnitCombo();
    CheckRadioButton(m_nType == kModeMinimumSlope ? IDC_RADIO_MIN_SLOPE : IDC_RADIO_MIN_DIAMETER);
    ApplyMode();
    SetDlgItemText(IDC_EDIT_FLOW, Fixed(m_dFlow, kValueDecimals));
    SetDlgItemText(IDC_EDIT_SLOPE,
                   Fixed(CHydraulicCalculator::FromPerMille(m_dSlope, m_shownUnit), kValueDecimals));
    SetDlgItemText(IDC_EDIT_ROUGHNESS, Fixed(m_dRoughness, kValueDecimals));
    SetDlgItemText(IDC_EDIT_VISCOSITY, Fixed(m_dViscosity, kViscosityDecimals));
    SetDlgItemText(IDC_EDIT_MINIMUM, "");
    SetDlgItemText(IDC_EDIT_CHOSEN, "");
    CreateResultRows();
    m_selectButton =
        TAVGis::Selection::CSelectionButton::Attach(*this, IDC_PICK_SECTION, kTopologyType, kSelectionType);
    ComputeMinimum();
    return true;
}

void dlg_calculatorAll::SetTexts() {
    auto text = [this](int id, int msg) { SetDlgItemText(id, CModuleConfiguration::GetMsg(msg)); };
    auto tip = [this](int id, int msg) {
        if (auto* c = GetDlgItem(id)) c->tooltip = CModuleConfiguration::GetMsg(msg);
    };
    text(IDC_RADIO_MIN_DIAMETER, kMsgModeDiameter);
    text(IDC_RADIO_MIN_SLOPE, kMsgModeSlope);
    tip(IDC_RADIO_MIN_DIAMETER, kTipModeDiameter);
    tip(IDC_RADIO_MIN_SLOPE, kTipModeSlope);
    text(IDC_LABEL_GROUP, kMsgGroup);
    text(IDC_LABEL_PIPE, kMsgPipe);
    text(IDC_LABEL_FLOW, kMsgFlow);
    text(IDC_LABEL_SLOPE_UNIT, kMsgSlopeUnit);
    text(IDC_LABEL_SLOPE, kMsgSlope);
    text(IDC_LABEL_ROUGHNESS, kMsgRoughness);
    text(IDC_LABEL_VISCOSITY, kMsgViscosity);
    text(IDC_PICK_SECTION, kMsgPick);
    tip(IDC_PICK_SECTION, kTipPick);
    text(IDC_GROUP_INPUTS, kMsgGroupInputs);
    text(IDC_CLOSE, kMsgClose);
    text(IDC_RECALCULATE, kMsgRecalculate);
    SetDlgItemText(IDC_STATUS, "");
}

void dlg_calculatorAll::FillGroupCombo() {
    SinglePipeControls::FillGroups(GetDlgItem(IDC_COMBO_GROUP), m_groups, m_nCatPipe);
}

void dlg_calculatorAll::FillPipeCombo() {
    auto* combo = GetDlgItem(IDC_COMBO_PIPE);
    if (!combo) return;
    combo->ResetContent();
    m_pipes.clear();
    const auto group = SelectedGroup();
    if (!group) return;
    const auto* pm = CPipeManager::GetInstance();
    pm->GetSortedPipesForGroupGUID(group->GetGUID(), m_pipes, CPipeManager::kUsableOnly);
    for (const auto& p : m_pipes)
        combo->AddString(pm->GetPipeNameWithNominalDiameter(p), reinterpret_cast<std::uintptr_t>(p.get()));
    if (!m_pipes.empty()) combo->SetCurSel(0);
}

void dlg_calculatorAll::FillUnitCombo() {
    auto* combo = GetDlgItem(IDC_COMBO_SLOPE_UNIT);
    if (!combo) return;
    combo->ResetContent();
    for (const char* u : kUnits) combo->AddString(u);
    combo->SetCurSel(m_nSlopeUnit);
    m_shownUnit = static_cast<SlopeUnit>(m_nSlopeUnit);
}

void dlg_calculatorAll::CreateResultRows() {
    SinglePipeControls::CreateRows(GetDlgItem(IDC_RESULTS), kResultRows, kMsgColumnQuantity,
                                   kQuantityColumnWidth, kMsgColumnValue, kValueColumnWidth);
}

void dlg_calculatorAll::ClearResults() {
    SinglePipeControls::ClearRows(GetDlgItem(IDC_RESULTS));
}

void dlg_calculatorAll::ShowStatus(int status) {
    SetDlgItemText(IDC_STATUS, status != 0 ? CModuleConfiguration::GetMsg(status) : std::string());
}

void dlg_calculatorAll::ApplyMode() {
    const bool slope = IsDlgButtonChecked(IDC_RADIO_MIN_SLOPE) != 0;
    EnableItem(IDC_LABEL_SLOPE, !slope);
    EnableItem(IDC_EDIT_SLOPE, !slope);
    SetDlgItemText(IDC_LABEL_MINIMUM, CModuleConfiguration::GetMsg(slope ? kMsgMinSlope : kMsgMinDiameter));
    SetDlgItemText(IDC_LABEL_CHOSEN,
                   CModuleConfiguration::GetMsg(slope ? kMsgChosenSlope : kMsgChosenDiameter));
    if (auto* c = GetDlgItem(IDC_EDIT_CHOSEN)) c->readOnly = !slope;
    SetDlgItemText(IDC_EDIT_MINIMUM, "");
    SetDlgItemText(IDC_EDIT_CHOSEN, "");
    ClearResults();
}

CCatalogItemPtr dlg_calculatorAll::SelectedGroup() const {
    const auto* c = GetDlgItem(IDC_COMBO_GROUP);
    if (!c || c->curSel < 0 || c->curSel >= static_cast<int>(m_groups.size())) return {};
    return m_groups[static_cast<std::size_t>(c->curSel)];
}

CCatalogItemPtr dlg_calculatorAll::SelectedPipe() const {
    const auto* c = GetDlgItem(IDC_COMBO_PIPE);
    if (!c || c->curSel < 0 || c->curSel >= static_cast<int>(m_pipes.size())) return {};
    return m_pipes[static_cast<std::size_t>(c->curSel)];
}

CalculatorInputs dlg_calculatorAll::Inputs() const {
    CalculatorInputs in;
    in.mode = IsDlgButtonChecked(IDC_RADIO_MIN_SLOPE) != 0 ? kModeMinimumSlope : kModeMinimumDiameter;
    if (auto flow = EditNumber(GetDlgItemText(IDC_EDIT_FLOW)))
        in.flow = CHydraulicSteps::CubicMetresPerSecond(*flow);
    in.slope = EditNumber(GetDlgItemText(IDC_EDIT_SLOPE));
    const auto* unit = GetDlgItem(IDC_COMBO_SLOPE_UNIT);
    if (unit && unit->curSel >= 0 && unit->curSel < kSlopeUnitCount)
        in.unit = static_cast<SlopeUnit>(unit->curSel);
    in.roughness = EditNumber(GetDlgItemText(IDC_EDIT_ROUGHNESS));
    in.viscosity = EditNumber(GetDlgItemText(IDC_EDIT_VISCOSITY));
    in.group = SelectedGroup();
    in.pipe = SelectedPipe();
    return in;
}

bool dlg_calculatorAll::SelectPipe(const std::string& guid) {
    for (std::size_t i = 0; i < m_pipes.size(); ++i) {
        if (m_pipes[i]->GetGUID() != guid) continue;
        Item(IDC_COMBO_PIPE).SetCurSel(static_cast<int>(i));
        return true;
    }
    return false;
}

void dlg_calculatorAll::ComputeMinimum() {
    ClearResults();
    SetDlgItemText(IDC_EDIT_MINIMUM, "");
    SetDlgItemText(IDC_EDIT_CHOSEN, "");
    const CalculatorMinimum m = CHydraulicCalculator::Minimum(Inputs());
    if (m.minimum) SetDlgItemText(IDC_EDIT_MINIMUM, Fixed(*m.minimum, kValueDecimals));
    if (m.chosenPipe) SelectPipe(m.chosenPipe->GetGUID());
    if (!m.chosen) return ShowStatus(m.status);
    SetDlgItemText(IDC_EDIT_CHOSEN, Fixed(*m.chosen, kValueDecimals));
    ComputeResults();
}

void dlg_calculatorAll::ComputeResults() {
    ClearResults();
    const PipeResults r = CHydraulicCalculator::Results(
        Inputs(), EditNumber(GetDlgItemText(IDC_EDIT_MINIMUM)), EditNumber(GetDlgItemText(IDC_EDIT_CHOSEN)));
    ShowStatus(r.status);
    SinglePipeControls::ShowRows(GetDlgItem(IDC_RESULTS), r);  // nine rows: no section, no flow time
}

void dlg_calculatorAll::OnModeClicked() {
    ApplyMode();
    ComputeMinimum();
}

void dlg_calculatorAll::OnGroupChanged() {
    FillPipeCombo();
    ComputeMinimum();
}

void dlg_calculatorAll::OnPipeChanged() {
    if (IsDlgButtonChecked(IDC_RADIO_MIN_SLOPE) != 0) return ComputeMinimum();
    const auto pipe = SelectedPipe();
    SetDlgItemText(
        IDC_EDIT_CHOSEN,
        pipe ? Fixed(CPipeManager::GetInstance()->GetInnerDiameter(pipe), kValueDecimals) : std::string());
    ComputeResults();
}

void dlg_calculatorAll::OnUnitChanged() {
    const auto* unit = GetDlgItem(IDC_COMBO_SLOPE_UNIT);
    if (unit && unit->curSel >= 0 && unit->curSel < kSlopeUnitCount) {
        const auto next = static_cast<SlopeUnit>(unit->curSel);
        if (const auto typed = EditNumber(GetDlgItemText(IDC_EDIT_SLOPE))) {
            const double perMille = CHydraulicCalculator::ToPerMille(*typed, m_shownUnit);
            SetDlgItemText(IDC_EDIT_SLOPE,
                           Fixed(CHydraulicCalculator::FromPerMille(perMille, next), kValueDecimals));
        }
        m_shownUnit = next;
    }
    ComputeMinimum();
}

void dlg_calculatorAll::OnClose() {
    UpdateData(true);
    WriteState();
    EndDialog(TAVUi::IDOK);
}

std::intptr_t dlg_calculatorAll::OnSectionPicked(std::intptr_t, std::intptr_t) {
    const auto set =
        m_selectButton ? m_selectButton->GetSelectionSet() : TAVGis::Selection::CSelectionSetPtr();
    if (!set || set->GetSections().empty()) return 0;
    const SectionHydraulicData d = CPipeCalculation::ReadSection(set->GetSections().front());
    if (d.flow)
        SetDlgItemText(IDC_EDIT_FLOW, Fixed(CHydraulicSteps::LitresPerSecond(*d.flow), kValueDecimals));
    if (d.slope)
        SetDlgItemText(IDC_EDIT_SLOPE,
                       Fixed(CHydraulicCalculator::FromPerMille(*d.slope, m_shownUnit), kValueDecimals));
    if (d.pipe && d.group) {
        for (std::size_t i = 0; i < m_groups.size(); ++i) {
            if (m_groups[i]->GetGUID() != d.group->GetGUID()) continue;
            Item(IDC_COMBO_GROUP).SetCurSel(static_cast<int>(i));
            FillPipeCombo();
            SelectPipe(d.pipe->GetGUID());
            break;
        }
        SetDlgItemText(IDC_EDIT_ROUGHNESS, Fixed(d.pipeRoughness, kValueDecimals));
    }
    if (d.roughness) SetDlgItemText(IDC_EDIT_ROUGHNESS, Fixed(*d.roughness, kValueDecimals));
    ComputeMinimum();
    return 0;
}
