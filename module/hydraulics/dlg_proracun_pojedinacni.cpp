#include "module/hydraulics/dlg_proracun_pojedinacni.h"

#include "module/hydraulics/EditNumber.h"
#include "module/hydraulics/SinglePipeControls.h"
#include "module/hydraulics/calc/HydraulicSteps.h"
#include "module/hydraulics/calc/SectionDimensioning.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/Utility.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"
#include "platform/host/TAVCEdit.h"
#include "platform/network/PipeManager.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CCatalogItemPtr;
using TAVGis::Data::CPipeManager;
using TAVHost::NumberText::Fixed;
using TAVHost::NumberText::ParseOrZero;
using TAVUi::Notification;

namespace {

constexpr int kMsgModeDiameter = 7719, kMsgModeSlope = 7720, kTipModeDiameter = 2203, kTipModeSlope = 2204;
constexpr int kMsgGroupSection = 2226, kMsgZoom = 1344, kMsgFlow = 2227, kMsgGroupInputs = 994;
constexpr int kMsgViscosity = 2189, kMsgRoughness = 2188, kMsgPipeType = 50040, kMsgGroup = 2207;
constexpr int kMsgGroupResults = 2234, kTipReserved1 = 2228, kTipReserved2 = 2231;
constexpr int kMsgSave = 8, kTipSave = 2232, kMsgSaved = 60;
constexpr int kMsgColumnQuantity = 7790, kMsgColumnValue = 1257;
// Labels 251, 218, 259 and 219 by mode.
constexpr int kMsgSlope = 2190, kMsgMinDiameter = 2191, kMsgPipeOfGroup = 2233, kMsgChosenDiameter = 2192;
constexpr int kMsgPipeDiameter = 2193, kMsgMinSlope = 2194, kMsgPrecision = 2208, kMsgChosenSlope = 2195;
constexpr int kQuantityColumnWidth = 155, kValueColumnWidth = 60;

constexpr const char* kPrecisions[] = {"0", "0.0", "0.00", "0.000"};
constexpr int kPrecisionCount = 4;
constexpr int kValueDecimals = 4, kDiameterDecimals = 3, kRoughnessDecimals = 3;
constexpr int kViscosityDecimals = 10, kZoomDecimals = 2;
constexpr double kStartRoughness = 1.0;  // mm, when neither the section nor a pipe gives one

}  // namespace

dlg_proracun_pojedinacni::dlg_proracun_pojedinacni() : CAcUiTabChildDialog(IDD) {
    Map(IDC_RADIO_MIN_DIAMETER, Notification::Clicked, &dlg_proracun_pojedinacni::OnModeClicked);
    Map(IDC_RADIO_MIN_SLOPE, Notification::Clicked, &dlg_proracun_pojedinacni::OnModeClicked);
    Map(IDC_COMBO_GROUP, Notification::SelChange, &dlg_proracun_pojedinacni::OnGroupChanged);
    Map(IDC_COMBO_CHOICE, Notification::SelChange, &dlg_proracun_pojedinacni::ReChoose);
    Map(IDC_PREVIOUS, Notification::Clicked, &dlg_proracun_pojedinacni::OnPrevious);
    Map(IDC_NEXT, Notification::Clicked, &dlg_proracun_pojedinacni::OnNext);
    Map(IDC_RESERVED_1, Notification::Clicked, [] {});
    Map(IDC_RESERVED_2, Notification::Clicked, [] {});
    Map(IDC_EDIT_ROUGHNESS, Notification::Changed, &dlg_proracun_pojedinacni::RecalculateAll);
    Map(IDC_EDIT_VISCOSITY, Notification::Changed, &dlg_proracun_pojedinacni::RecalculateAll);
    Map(IDC_EDIT_CHOSEN, Notification::Changed, [this] {
        if (SlopeMode()) Results();
    });
    Map(IDC_CHECK_ZOOM, Notification::Clicked, &dlg_proracun_pojedinacni::OnZoomChecked);
    Map(IDC_SAVE, Notification::Clicked, &dlg_proracun_pojedinacni::OnSave);
}

void dlg_proracun_pojedinacni::ReadState() {
    CDialogState state;
    m_nPipeGroup = state.GetInt("DIVODORHYDRAULICS_PIPEGRUP", m_nPipeGroup);
    m_nPrecision = state.GetInt("DIVODORHYDRAULICS_TOCNOST", m_nPrecision);
    m_dViscosity = state.GetDouble("DIVODORHYDRAULICS_VISKOZITET", m_dViscosity);
    m_nType = state.GetInt("DIVODORHYDRAULICS_TYPE", m_nType);
    if (m_nType != kModeMinimumDiameter && m_nType != kModeMinimumSlope) m_nType = kModeMinimumDiameter;
    if (m_nPrecision < 0 || m_nPrecision >= kPrecisionCount) m_nPrecision = 0;
}

void dlg_proracun_pojedinacni::WriteState(CDialogState& state) {
    state.Write("DIVODORHYDRAULICS_TYPE", m_nType);
    state.Write("DIVODORHYDRAULICS_PIPEGRUP", m_nPipeGroup);
    state.Write("DIVODORHYDRAULICS_TOCNOST", m_nPrecision);
    state.WriteNumberText("DIVODORHYDRAULICS_VISKOZITET", m_strViscosity);
}

double dlg_proracun_pojedinacni::Viscosity() const {
    return ParseOrZero(m_strViscosity);
}

void dlg_proracun_pojedinacni::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Radio(pDX, IDC_RADIO_MIN_DIAMETER, m_nType);
    TAVUi::DDX_CBIndex(pDX, IDC_COMBO_GROUP, m_nPipeGroup);
    TAVUi::DDX_Text(pDX, IDC_EDIT_VISCOSITY, m_strViscosity);
    if (m_choiceHoldsPrecisions) {
        int precision = m_nPrecision;
        TAVUi::DDX_CBIndex(pDX, IDC_COMBO_CHOICE, precision);
        if (precision >= 0 && precision < kPrecisionCount) m_nPrecision = precision;
    }
}

bool dlg_proracun_pojedinacni::OnInitDialog() {
    ReadState();
    CheckRadioButton(m_nType == kModeMinimumSlope ? IDC_RADIO_MIN_SLOPE : IDC_RADIO_MIN_DIAMETER);
    SetTexts();
    m_strViscosity = Fixed(m_dViscosity, kViscosityDecimals);
    SetDlgItemText(IDC_EDIT_VISCOSITY, m_strViscosity);
    CreateResultRows();

    CModuleConfiguration::GetGSValueInt("MARK_COLOR_1", m_markColor);
    CModuleConfiguration::GetGSValueDouble("DEFAULT_ZOOM", m_defaultZoom);
    if (!(m_defaultZoom > 0.0)) m_defaultZoom = kDefaultZoom;
    int zoomOn = 0;
    CModuleConfiguration::GetGSValueInt("ZOOM_ONOFF", zoomOn);
    m_zoomOn = zoomOn != 0;
    CheckDlgButton(IDC_CHECK_ZOOM, m_zoomOn ? 1 : 0);
    SetDlgItemText(IDC_EDIT_ZOOM, Fixed(m_defaultZoom, kZoomDecimals));

    // The combos first: loading a section pulls their selections.
    FillGroupCombo();
    ApplyMode();
    UpdateNavigation();
    return true;
}

void dlg_proracun_pojedinacni::SetTexts() {
    auto text = [this](int id, int msg) { SetDlgItemText(id, CModuleConfiguration::GetMsg(msg)); };
    auto tip = [this](int id, int msg) {
        if (auto* c = GetDlgItem(id)) c->tooltip = CModuleConfiguration::GetMsg(msg);
    };
    text(IDC_RADIO_MIN_DIAMETER, kMsgModeDiameter);
    text(IDC_RADIO_MIN_SLOPE, kMsgModeSlope);
    tip(IDC_RADIO_MIN_DIAMETER, kTipModeDiameter);
    tip(IDC_RADIO_MIN_SLOPE, kTipModeSlope);
    text(IDC_GROUP_SECTION, kMsgGroupSection);
    SetDlgItemText(IDC_SECTION_NAME, "-");
    if (auto* c = GetDlgItem(IDC_PREVIOUS)) c->icon = "IDI_NAV_LEFT";
    if (auto* c = GetDlgItem(IDC_NEXT)) c->icon = "IDI_NAV_RIGHT";
    tip(IDC_RESERVED_1, kTipReserved1);
    tip(IDC_RESERVED_2, kTipReserved2);
    text(IDC_CHECK_ZOOM, kMsgZoom);
    text(IDC_LABEL_FLOW, kMsgFlow);
    text(IDC_GROUP_INPUTS, kMsgGroupInputs);
    text(IDC_LABEL_VISCOSITY, kMsgViscosity);
    text(IDC_LABEL_ROUGHNESS, kMsgRoughness);
    text(IDC_LABEL_PIPE_TYPE, kMsgPipeType);
    text(IDC_LABEL_GROUP, kMsgGroup);
    text(IDC_GROUP_RESULTS, kMsgGroupResults);
    if (auto* c = GetDlgItem(IDC_SAVE)) {
        c->text = CModuleConfiguration::GetMsg(kMsgSave);
        c->icon = "IDI_SAVE";
        c->tooltip = CModuleConfiguration::GetMsg(kTipSave);
    }
}

void dlg_proracun_pojedinacni::CreateResultRows() {
    SinglePipeControls::CreateRows(GetDlgItem(IDC_RESULTS), kResultRows, kMsgColumnQuantity,
                                   kQuantityColumnWidth, kMsgColumnValue, kValueColumnWidth);
}

void dlg_proracun_pojedinacni::ClearResults() {
    SinglePipeControls::ClearRows(GetDlgItem(IDC_RESULTS));
}

bool dlg_proracun_pojedinacni::SlopeMode() const {
    return m_nType == kModeMinimumSlope;
}

bool dlg_proracun_pojedinacni::HasCurrent() const {
    return m_currentSection && m_currentIndex >= 0 && m_currentIndex < static_cast<int>(m_sections.size());
}

CCatalogItemPtr dlg_proracun_pojedinacni::SelectedGroup() const {
    const auto* c = GetDlgItem(IDC_COMBO_GROUP);
    if (!c || c->curSel < 0 || c->curSel >= static_cast<int>(m_groups.size())) return {};
    return m_groups[static_cast<std::size_t>(c->curSel)];
}

CCatalogItemPtr dlg_proracun_pojedinacni::SelectedPipe() const {
    const auto* c = GetDlgItem(IDC_COMBO_CHOICE);
    if (m_choiceHoldsPrecisions || !c || c->curSel < 0 || c->curSel >= static_cast<int>(m_pipes.size()))
        return {};
    return m_pipes[static_cast<std::size_t>(c->curSel)];
}

int dlg_proracun_pojedinacni::SelectedPrecision() const {
    const auto* c = GetDlgItem(IDC_COMBO_CHOICE);
    // The entries are "0", "0.0", "0.00", "0.000": an entry's index is its number of decimals.
    if (!m_choiceHoldsPrecisions || !c || c->curSel < 0 || c->curSel >= kPrecisionCount) return 0;
    return c->curSel;
}

PipeCalculationInputs dlg_proracun_pojedinacni::Inputs() const {
    PipeCalculationInputs in;
    if (HasCurrent()) in.sectionGuid = m_currentSection->GetGuid();
    if (auto flow = EditNumber(GetDlgItemText(IDC_EDIT_FLOW)))
        in.flow = CHydraulicSteps::CubicMetresPerSecond(*flow);
    in.roughness = EditNumber(GetDlgItemText(IDC_EDIT_ROUGHNESS));
    in.viscosity = EditNumber(GetDlgItemText(IDC_EDIT_VISCOSITY));
    return in;
}

void dlg_proracun_pojedinacni::FillGroupCombo() {
    SinglePipeControls::FillGroups(GetDlgItem(IDC_COMBO_GROUP), m_groups, m_nPipeGroup);
}

void dlg_proracun_pojedinacni::FillChoiceCombo() {
    auto* combo = GetDlgItem(IDC_COMBO_CHOICE);
    if (!combo) return;
    combo->ResetContent();
    m_pipes.clear();
    if (SlopeMode()) {
        m_choiceHoldsPrecisions = true;
        for (const char* p : kPrecisions) combo->AddString(p);
        combo->SetCurSel(m_nPrecision);
        return;
    }
    m_choiceHoldsPrecisions = false;
    const auto group = SelectedGroup();
    if (!group) return;
    const auto* pm = CPipeManager::GetInstance();
    pm->GetSortedPipesForGroupGUID(group->GetGUID(), m_pipes, CPipeManager::kUsableOnly);
    for (const auto& p : m_pipes)
        combo->AddString(Fixed(pm->GetInnerDiameter(p), kDiameterDecimals),
                         reinterpret_cast<std::uintptr_t>(p.get()));
    if (!m_pipes.empty()) combo->SetCurSel(0);
}

void dlg_proracun_pojedinacni::ApplyMode() {
    const bool slope = SlopeMode();
    auto text = [this](int id, int msg) { SetDlgItemText(id, CModuleConfiguration::GetMsg(msg)); };
    text(IDC_LABEL_SECTION_VALUE, slope ? kMsgPipeDiameter : kMsgSlope);
    text(IDC_LABEL_MINIMUM, slope ? kMsgMinSlope : kMsgMinDiameter);
    text(IDC_LABEL_CHOICE, slope ? kMsgPrecision : kMsgPipeOfGroup);
    text(IDC_LABEL_CHOSEN, slope ? kMsgChosenSlope : kMsgChosenDiameter);
    EnableItem(IDC_LABEL_GROUP, !slope);
    EnableItem(IDC_COMBO_GROUP, !slope);
    if (auto* c = GetDlgItem(IDC_EDIT_CHOSEN)) c->readOnly = !slope;
    FillChoiceCombo();
}

void dlg_proracun_pojedinacni::UpdateNavigation() {
    if (m_currentIndex < 0 || m_currentIndex >= static_cast<int>(m_sections.size())) {
        EnableItem(IDC_PREVIOUS, false);
        EnableItem(IDC_NEXT, false);
        EnableItem(IDC_SAVE, false);
    } else {
        const int last = static_cast<int>(m_sections.size()) - 1;
        EnableItem(IDC_SAVE, true);
        EnableItem(IDC_PREVIOUS, m_currentIndex != 0 && m_sections.size() != 1);
        EnableItem(IDC_NEXT, m_currentIndex != last);
    }
    LoadCurrentSection();
}

void dlg_proracun_pojedinacni::LoadCurrentSection() {
    UpdateData(true);
    if (!HasCurrent()) {
        for (int id : {IDC_EDIT_FLOW, IDC_EDIT_ROUGHNESS, IDC_EDIT_PIPE_TYPE, IDC_EDIT_SECTION_VALUE})
            SetDlgItemText(id, "");
        SetDlgItemText(IDC_SECTION_NAME, "-");
        m_pipeGuid.clear();
        if (m_highlighted) acedHighlightEntity(*m_highlighted, 0);
        m_highlighted.reset();
        return;
    }
    const SectionHydraulicData d = CPipeCalculation::ReadSection(m_currentSection);
    SetDlgItemText(IDC_SECTION_NAME, d.name);
    SetDlgItemText(IDC_EDIT_FLOW,
                   d.flow ? Fixed(CHydraulicSteps::LitresPerSecond(*d.flow), kValueDecimals) : std::string());
    m_pipeGuid = d.pipeGuid;

    // The pipe's roughness and type: the section's pipe, or without one the pipe chosen in combo 260.
    double pipeRoughness = 0.0;
    std::string typeId;
    if (!d.pipeGuid.empty()) {
        pipeRoughness = d.pipeRoughness;
        typeId = d.pipeTypeId;
    } else if (const auto pipe = SelectedPipe()) {
        const auto* pm = CPipeManager::GetInstance();
        pipeRoughness = pm->GetPipeRoughness(pipe);
        typeId = pm->GetPipeTypeID(pipe);
    }
    const double roughness = d.roughness           ? *d.roughness
                             : pipeRoughness > 0.0 ? pipeRoughness
                                                   : kStartRoughness;
    SetDlgItemText(IDC_EDIT_ROUGHNESS, Fixed(roughness, kRoughnessDecimals));
    SetDlgItemText(IDC_EDIT_PIPE_TYPE, typeId);
    if (SlopeMode())
        SetDlgItemText(IDC_EDIT_SECTION_VALUE,
                       d.pipe ? Fixed(d.pipeDiameter, kDiameterDecimals) : std::string());
    else
        SetDlgItemText(IDC_EDIT_SECTION_VALUE, d.slope ? Fixed(*d.slope, kValueDecimals) : std::string());

    const TAVHost::ObjectId id = m_currentSection->GetObjectId();
    if (m_highlighted && *m_highlighted != id) acedHighlightEntity(*m_highlighted, 0);
    acedHighlightEntity(id, m_markColor);
    m_highlighted = id;
    acedUpdateDisplay();
    if (m_zoomOn) ZoomToCurrent();
}

void dlg_proracun_pojedinacni::ZoomToCurrent() {
    if (!HasCurrent()) return;
    const auto typed = EditNumber(GetDlgItemText(IDC_EDIT_ZOOM));
    CTAVCEdit::zoom(m_currentSection->GetObjectId(), typed && *typed > 0.0 ? *typed : m_defaultZoom);
}

void dlg_proracun_pojedinacni::RecalculateAll() {
    Minimum();
    Chosen();
    Results();
}

void dlg_proracun_pojedinacni::Minimum() {
    UpdateData(true);
    ClearResults();
    EnableItem(IDC_SAVE, false);
    SetDlgItemText(IDC_EDIT_MINIMUM, "");
    SetDlgItemText(IDC_EDIT_CHOSEN, "");
    const auto typed = EditNumber(GetDlgItemText(IDC_EDIT_SECTION_VALUE));
    const PipeMinimum m = SlopeMode() ? m_calc.MinimumSlope(Inputs(), m_pipeGuid, typed)
                                      : m_calc.MinimumDiameter(Inputs(), typed, SelectedPipe());
    if (m.value) SetDlgItemText(IDC_EDIT_MINIMUM, Fixed(*m.value, kValueDecimals));
}

void dlg_proracun_pojedinacni::Chosen() {
    const std::string text = GetDlgItemText(IDC_EDIT_MINIMUM);
    if (text.empty()) return;
    const double minimum = ParseOrZero(text);
    if (SlopeMode()) return ShowChosenSlope(minimum);
    const auto group = SelectedGroup();
    const auto pipe = group ? CPipeCalculation::ChosenPipe(group->GetName(), minimum) : CCatalogItemPtr();
    if (!pipe) return;
    for (std::size_t i = 0; i < m_pipes.size(); ++i) {
        if (m_pipes[i]->GetGUID() != pipe->GetGUID()) continue;
        Item(IDC_COMBO_CHOICE).SetCurSel(static_cast<int>(i));
        SetDlgItemText(IDC_EDIT_CHOSEN,
                       Fixed(CPipeManager::GetInstance()->GetInnerDiameter(pipe), kValueDecimals));
        break;
    }
}

void dlg_proracun_pojedinacni::ShowChosenSlope(double minimum) {
    const int p = SelectedPrecision();
    SetDlgItemText(IDC_EDIT_CHOSEN, Fixed(CPipeCalculation::ChosenSlope(minimum, p), p));
}

void dlg_proracun_pojedinacni::Results() {
    ClearResults();
    EnableItem(IDC_SAVE, false);
    const PipeResults r = SlopeMode() ? m_calc.ResultsForSlope(EditNumber(GetDlgItemText(IDC_EDIT_CHOSEN)))
                                      : m_calc.ResultsForPipe(SelectedPipe());
    SinglePipeControls::ShowRows(GetDlgItem(IDC_RESULTS), r);
    if (!r.Computed()) return;
    EnableItem(IDC_SAVE, true);
}

void dlg_proracun_pojedinacni::ReChoose() {
    UpdateData(true);
    const double minimum = ParseOrZero(GetDlgItemText(IDC_EDIT_MINIMUM));
    if (SlopeMode()) {
        if (!GetDlgItemText(IDC_EDIT_MINIMUM).empty()) ShowChosenSlope(minimum);
        Results();
        return;
    }
    const auto pipe = SelectedPipe();
    const double d = pipe ? CPipeManager::GetInstance()->GetInnerDiameter(pipe) : 0.0;
    if (!(d > minimum)) {
        SetDlgItemText(IDC_EDIT_CHOSEN, "");
        ClearResults();
        EnableItem(IDC_SAVE, false);
        return;
    }
    SetDlgItemText(IDC_EDIT_CHOSEN, Fixed(d, kValueDecimals));
    Results();
}

void dlg_proracun_pojedinacni::OnModeClicked() {
    UpdateData(true);
    ApplyMode();
    LoadCurrentSection();
    RecalculateAll();
}

void dlg_proracun_pojedinacni::OnGroupChanged() {
    UpdateData(true);
    if (!SlopeMode()) FillChoiceCombo();
    RecalculateAll();
}

void dlg_proracun_pojedinacni::OnPrevious() {
    if (m_currentIndex <= 0 || m_currentIndex > static_cast<int>(m_sections.size())) return;
    --m_currentIndex;
    m_currentSection = m_sections[static_cast<std::size_t>(m_currentIndex)];
    UpdateNavigation();
    RecalculateAll();
}

void dlg_proracun_pojedinacni::OnNext() {
    if (m_currentIndex < 0 || m_currentIndex + 1 >= static_cast<int>(m_sections.size())) return;
    ++m_currentIndex;
    m_currentSection = m_sections[static_cast<std::size_t>(m_currentIndex)];
    UpdateNavigation();
    RecalculateAll();
}

void dlg_proracun_pojedinacni::OnZoomChecked() {
    m_zoomOn = IsDlgButtonChecked(IDC_CHECK_ZOOM) != 0;
    if (m_zoomOn) ZoomToCurrent();
}

void dlg_proracun_pojedinacni::OnSave() {
    auto* button = GetDlgItem(IDC_SAVE);
    const int status = m_calc.Save(SlopeMode(), [button](bool saved) {
        if (!saved || !button) return;
        button->text = CModuleConfiguration::GetMsg(kMsgSaved);
        button->icon = "IDI_OK";
        TAVGis::Utility::CUtility::Delay(kSaveConfirmationMs);
        button->text = CModuleConfiguration::GetMsg(kMsgSave);
        button->icon = "IDI_SAVE";
        button->enabled = false;
    });
    if (status == kStatusSaveFailed) acedAlert(CModuleConfiguration::GetMsg(kStatusSaveFailed));
}
