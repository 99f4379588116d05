#include "module/flow/ITPCalcDlg.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <stdexcept>

#include "module/flow/StandardRODlg.h"
#include "module/flow/TurkishParamsDilaog.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/selection/Selector.h"
#include "platform/sessions/WsBaseDialog.h"
#include "platform/sessions/WsManager.h"
#include "platform/sewage/RainItpCalculator.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CDataBox;
using TAVGis::Workspace::CWsBaseDialog;
using TAVUi::ControlKind;
using TAVUi::Notification;

namespace {
constexpr int kSelectionTopology = 5;
constexpr int kSelectionFlags = 49209345;
constexpr int kMsgTitle = 7652;
constexpr int kMsgStationStore = 14309;
constexpr int kMsgCurveFile = 2285;
constexpr int kMsgExcluded = 11096;
constexpr int kMsgClearTooltip = 11094;
constexpr int kMsgLogDone = 11211;
constexpr int kMethodTurkish = 2;
constexpr int kMethodCount = 3;
constexpr int kStandardRomanian = 2;
constexpr int kFileOpen = 0;
const char* const kStandardNames[] = {"Fluvena Classic", "BLG", "RO"};

// Whole and decimal digits of the numeric fields; a negative whole count forbids negative numbers.
struct NumberField {
    int id;
    int whole;
    int decimals;
    double initial;
};

// Label texts by control.
const std::pair<int, int> kCaptions[] = {
    {ITPCalcDlgIds::IDC_GROUP_RAIN, 2482},
    {ITPCalcDlgIds::IDC_GROUP_CALCULATION, 2286},
    {ITPCalcDlgIds::IDC_STATIC_PRECISION, 2287},
    {ITPCalcDlgIds::IDC_STATIC_VISCOSITY, 2288},
    {ITPCalcDlgIds::IDC_GROUP_CONDITIONS, 2289},
    {ITPCalcDlgIds::IDC_STATIC_RETURN_PERIOD, 2290},
    {ITPCalcDlgIds::IDC_STATIC_PIPE_GROUP, 2291},
    {ITPCalcDlgIds::IDC_RADIO_NO_CONDITIONS, 2292},
    {ITPCalcDlgIds::IDC_RADIO_CONDITIONS, 2293},
    {ITPCalcDlgIds::IDC_CHECK_PIPE_FILL, 2294},
    {ITPCalcDlgIds::IDC_CHECK_MIN_DIAMETER, 2295},
    {ITPCalcDlgIds::IDC_RADIO_CURVES, 2481},
    {ITPCalcDlgIds::IDC_STATIC_CURVE_FILE, 2285},
    {ITPCalcDlgIds::IDC_RADIO_REINHOLD, 2484},
    {ITPCalcDlgIds::IDC_STATIC_INTENSITY15, 2483},
    {ITPCalcDlgIds::IDC_STATIC_FREQUENCY, 2485},
    {ITPCalcDlgIds::IDC_STATIC_STATION, 11210},
    {ITPCalcDlgIds::IDC_STATIC_EXISTING_PIPE, 11087},
    {ITPCalcDlgIds::IDC_RADIO_LONGER, 11089},
    {ITPCalcDlgIds::IDC_RADIO_SHORTER, 11088},
    {ITPCalcDlgIds::IDC_CHECK_EXISTING_PIPE, 11262},
    {ITPCalcDlgIds::IDC_CHECK_ASSIGN_PIPES, 11048},
    {ITPCalcDlgIds::IDC_CHECK_PARTIAL_AREA, 11264},
    {ITPCalcDlgIds::IDC_CHECK_IGNORE_CARRIER, 11092},
    {ITPCalcDlgIds::IDC_STATIC_CONC_TIME, 11084},
    {ITPCalcDlgIds::IDC_GROUP_BRANCHING, 11093},
    {ITPCalcDlgIds::IDC_RADIO_TURKISH, 9455},
    {ITPCalcDlgIds::IDC_STATIC_STANDARD, 6129},
    {TAVUi::IDOK, 2428},
    {TAVUi::IDHELP, 50156},
    {TAVUi::IDCANCEL, 235},
};

// State keys, in the order they are written.
constexpr const char* kKeyPipeGroup = "IPTCALC_PIPE_GROUP";
constexpr const char* kKeyPath = "IPTCALC_PATH";
constexpr const char* kKeyMethod = "IPTCALC_RADIO_CURVE";
constexpr const char* kKeyBranching = "IPTCALC_RADIO_TT";
constexpr const char* kKeyConditions = "IPTCALC_RADIO_CD";
constexpr const char* kKeyMinDiameter = "IPTCALC_RADIO_MD";
constexpr const char* kKeyPartialArea = "IPTCALC_RADIO_OP";
constexpr const char* kKeyPipeFill = "IPTCALC_RADIO_PF";
constexpr const char* kKeyAssignPipes = "IPTCALC_RADIO_SP";
constexpr const char* kKeyIgnoreCarrier = "IPTCALC_RADIO_ICP";
constexpr const char* kKeyExistingPipe = "IPTCALC_RADIO_EP";
constexpr const char* kKeyStation = "IPTCALC_TURK_STATION";

int StateInt(const char* key) {
    const CDataBox box = CWsBaseDialog::GetStateValue(CITPCalcDlg::kStateDialog, key, CDataBox(0));
    if (box.IsInt()) return box.ToInt();
    if (box.IsDouble() && std::isfinite(box.ToDouble()) && std::fabs(box.ToDouble()) < 1e9)
        return static_cast<int>(box.ToDouble());
    return 0;
}

std::string StateText(const char* key) {
    const CDataBox box =
        CWsBaseDialog::GetStateValue(CITPCalcDlg::kStateDialog, key, CDataBox(std::string()));
    return box.IsText() ? box.ToString() : std::string();
}

std::string SelectedText(const TAVUi::CControl& combo) {
    if (combo.curSel < 0 || combo.curSel >= static_cast<int>(combo.items.size())) return {};
    return combo.items[static_cast<std::size_t>(combo.curSel)].text;
}

int SelectedData(const TAVUi::CControl& combo, int fallback) {
    if (combo.curSel < 0 || combo.curSel >= static_cast<int>(combo.items.size())) return fallback;
    return static_cast<int>(combo.items[static_cast<std::size_t>(combo.curSel)].data);
}

bool TakesFocus(const TAVUi::CControl& c) {
    switch (c.kind) {
        case ControlKind::Static:
        case ControlKind::Group:
        case ControlKind::Bitmap:
        case ControlKind::Placeholder:
            return false;
        default:
            return c.enabled && c.visible;
    }
}

bool IsEnter(const std::string& key) {
    return key == "enter" || key == "return";
}
}  // namespace

CITPCalcDlg::CITPCalcDlg() : CAdUiBaseDialog(IDD) {
    for (int id : {IDC_RADIO_CURVES, IDC_RADIO_REINHOLD, IDC_RADIO_TURKISH})
        Map(id, Notification::Clicked, &CITPCalcDlg::OnRainMethod);
    for (int id :
         {IDC_RADIO_NO_CONDITIONS, IDC_RADIO_CONDITIONS, IDC_CHECK_PIPE_FILL, IDC_CHECK_MIN_DIAMETER})
        Map(id, Notification::Clicked, &CITPCalcDlg::OnConditions);
    Map(IDC_CHECK_PARTIAL_AREA, Notification::Clicked, &CITPCalcDlg::OnPartialArea);
    Map(IDC_CHECK_EXISTING_PIPE, Notification::Clicked, &CITPCalcDlg::OnExistingPipe);
    Map(IDC_COMBO_STANDARD, Notification::SelChange, &CITPCalcDlg::ApplyStandardRule);
    Map(IDC_BUTTON_RO, Notification::Clicked, &CITPCalcDlg::OnRomanian);
    Map(IDC_BUTTON_BROWSE, Notification::Clicked, &CITPCalcDlg::OnBrowse);
    Map(IDC_COMBO_STATION, Notification::SelChange, &CITPCalcDlg::OnStationChanged);
    Map(IDC_BUTTON_STATIONS, Notification::Clicked, &CITPCalcDlg::OnStations);
    Map(IDC_BUTTON_CLEAR, Notification::Clicked, &CITPCalcDlg::OnClearExcluded);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

CITPCalcDlg::~CITPCalcDlg() {
    // A dialog that ends without Close (an error leaving the command) still gives the colours back.
    if (!m_coloursChanged) return;
    try {
        m_excluded.clear();
        Recolour();
    } catch (...) {
    }
}

bool CITPCalcDlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    // 1. The selection button and the clear button.
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    Item(IDC_BUTTON_CLEAR).icon = "IDI_DELETE";
    Item(IDC_BUTTON_CLEAR).tooltip = CModuleConfiguration::GetMsg(kMsgClearTooltip);
    // 2. The standards and the concentration-time methods.
    auto& standard = Item(IDC_COMBO_STANDARD);
    for (int i = 0; i < 3; ++i) standard.AddString(kStandardNames[i], static_cast<std::uintptr_t>(i));
    auto& concTime = Item(IDC_COMBO_CONC_TIME);
    for (int msg : {11090, 11091}) concTime.AddString(CModuleConfiguration::GetMsg(msg), msg);
    concTime.SetCurSel(0);
    const std::string language = CModuleConfiguration::GetMsg(0);
    auto same = [&language](const char* code) {
        return language.size() == std::string(code).size() &&
               std::equal(language.begin(), language.end(), code, [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b));
               });
    };
    standard.SetCurSel(same("BLG") ? 1 : same("RO") ? 2 : 0);
    ApplyStandardRule();
    // 3. The numeric fields.
    const NumberField fields[] = {{IDC_EDIT_INTENSITY15, 5, 4, 100.0}, {IDC_EDIT_FREQUENCY, 3, 4, 1.0},
                                  {IDC_EDIT_PRECISION, 3, 4, 0.5},     {IDC_EDIT_VISCOSITY, 1, 8, 1.31e-6},
                                  {IDC_EDIT_PIPE_FILL, 3, 4, 50.0},    {IDC_EDIT_MIN_DIAMETER, 5, 4, 0.0}};
    CNumericEdit** edits[] = {&m_intensity15, &m_frequency, &m_precision,
                              &m_viscosity,   &m_pipeFill,  &m_minDiameter};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        *edits[i] = CNumericEdit::Attach(*this, fields[i].id, -fields[i].whole, fields[i].decimals);
        // Shown with the field's own decimals: the viscosity's 1.31e-06 needs 8 (six would give 1e-06).
        SetDlgItemText(fields[i].id, TAVHost::NumberText::Trimmed(fields[i].initial, fields[i].decimals));
    }
    // 4. The pipe groups.
    auto& groups = Item(IDC_COMBO_PIPE_GROUP);
    for (const auto& name : CItpParameters::SortedPipeGroupNames()) groups.AddString(name);
    if (!groups.items.empty()) groups.SetCurSel(0);
    // 5. The sections of the active system and their colours.
    TAVGis::Selection::CSelectionSet all;
    if (!TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(all)) {
        EndDialog(TAVUi::IDCANCEL);
        return true;
    }
    m_sections = all.GetSections();
    m_initialColors.reserve(m_sections.size());
    for (const auto& s : m_sections) {
        CTAVCEntityPtr entity(s ? s->GetObjectId() : TAVHost::kNullObjectId, AcDb::kForRead);
        m_initialColors.push_back(entity.isValid() ? entity.entity()->colorIndex : kNoColor);
    }
    // 6. Captions and the two mode lists.
    for (const auto& [id, msg] : kCaptions) SetDlgItemText(id, CModuleConfiguration::GetMsg(msg));
    for (int msg : {11086, 11261}) Item(IDC_COMBO_EXISTING_PIPE).AddString(CModuleConfiguration::GetMsg(msg));
    for (int msg : {11266, 11267}) Item(IDC_COMBO_PARTIAL_AREA).AddString(CModuleConfiguration::GetMsg(msg));
    UpdateExcludedLabel();
    // 7. The stored choices; 8. the stations; 9. the rules.
    LoadState();
    FillStations();
    ApplyConditionsRule();
    ApplyRainMethodRule();
    if (RainMethod() == kMethodTurkish) FillReturnPeriods(false);
    // Enter moves the focus on every control.
    for (auto* c : Controls()) Map(c->id, Notification::KeyDown, &CITPCalcDlg::OnKey);
    return true;
}

void CITPCalcDlg::LoadState() {
    SetDlgItemText(IDC_EDIT_PATH, StateText(kKeyPath));
    const std::string path = GetDlgItemText(IDC_EDIT_PATH);
    std::vector<std::string> periods;
    TAVGis::Sewage::IdfReadError error;
    if (!path.empty() && CItpParameters::ReturnPeriodTexts(path, periods, error))
        ShowReturnPeriods(periods, false);
    auto& groups = Item(IDC_COMBO_PIPE_GROUP);
    const int group = groups.FindStringExact(StateText(kKeyPipeGroup));
    if (group >= 0) groups.SetCurSel(group);
    const int partial = StateInt(kKeyPartialArea);
    CheckDlgButton(IDC_CHECK_PARTIAL_AREA, partial != 0 ? 1 : 0);
    Item(IDC_COMBO_PARTIAL_AREA).SetCurSel(partial > 0 && partial <= 2 ? partial - 1 : 0);
    EnableItem(IDC_COMBO_PARTIAL_AREA, partial != 0);
    const int existing = StateInt(kKeyExistingPipe);
    CheckDlgButton(IDC_CHECK_EXISTING_PIPE, existing != 0 ? 1 : 0);
    Item(IDC_COMBO_EXISTING_PIPE).SetCurSel(existing > 0 && existing <= 2 ? existing - 1 : 0);
    EnableItem(IDC_COMBO_EXISTING_PIPE, existing != 0);
    auto radio = [](int value, int count) { return value >= 0 && value < count ? value : 0; };
    const int method = radio(StateInt(kKeyMethod), kMethodCount);
    CheckRadioButton(method == 0 ? IDC_RADIO_CURVES : method == 1 ? IDC_RADIO_REINHOLD : IDC_RADIO_TURKISH);
    CheckRadioButton(radio(StateInt(kKeyBranching), 2) == 1 ? IDC_RADIO_SHORTER : IDC_RADIO_LONGER);
    CheckRadioButton(radio(StateInt(kKeyConditions), 2) == 1 ? IDC_RADIO_CONDITIONS
                                                             : IDC_RADIO_NO_CONDITIONS);
    CheckDlgButton(IDC_CHECK_MIN_DIAMETER, StateInt(kKeyMinDiameter) != 0 ? 1 : 0);
    CheckDlgButton(IDC_CHECK_PIPE_FILL, StateInt(kKeyPipeFill) != 0 ? 1 : 0);
    CheckDlgButton(IDC_CHECK_ASSIGN_PIPES, StateInt(kKeyAssignPipes) != 0 ? 1 : 0);
    CheckDlgButton(IDC_CHECK_IGNORE_CARRIER, StateInt(kKeyIgnoreCarrier) != 0 ? 1 : 0);
    m_stations.SetValue(StateText(kKeyStation));
}

void CITPCalcDlg::SaveState() {
    auto set = [](const char* key, const CDataBox& box) {
        CWsBaseDialog::SetStateValue(kStateDialog, key, box);
    };
    const ItpDialogValues v = ReadValues();
    set(kKeyPipeGroup, CDataBox(SelectedText(Item(IDC_COMBO_PIPE_GROUP))));
    set(kKeyPath, CDataBox(v.curveFile));
    set(kKeyMethod, CDataBox(v.rainMethod));
    set(kKeyBranching, CDataBox(v.branchingRule));
    set(kKeyConditions, CDataBox(v.hydraulicConditions));
    set(kKeyMinDiameter, CDataBox(IsDlgButtonChecked(IDC_CHECK_MIN_DIAMETER)));
    set(kKeyPartialArea, CDataBox(CItpParameters::OnePlusIndex(v.partialAreaEffect, v.partialAreaMode)));
    set(kKeyPipeFill, CDataBox(IsDlgButtonChecked(IDC_CHECK_PIPE_FILL)));
    set(kKeyAssignPipes, CDataBox(v.assignPipes ? 1 : 0));
    set(kKeyIgnoreCarrier, CDataBox(IsDlgButtonChecked(IDC_CHECK_IGNORE_CARRIER)));
    set(kKeyExistingPipe, CDataBox(CItpParameters::OnePlusIndex(v.useExistingPipe, v.existingPipeMode)));
    set(kKeyStation, CDataBox(v.turkishStation));
}

int CITPCalcDlg::RainMethod() const {
    if (IsDlgButtonChecked(IDC_RADIO_REINHOLD)) return 1;
    if (IsDlgButtonChecked(IDC_RADIO_TURKISH)) return kMethodTurkish;
    return 0;
}

ItpDialogValues CITPCalcDlg::ReadValues() const {
    ItpDialogValues v;
    auto item = [this](int id) -> const TAVUi::CControl& {
        const auto* c = GetDlgItem(id);
        if (!c) throw std::logic_error("the rain dialog has no control " + std::to_string(id));
        return *c;
    };
    v.rainMethod = RainMethod();
    v.curveFile = GetDlgItemText(IDC_EDIT_PATH);
    v.returnPeriodText = SelectedText(item(IDC_COMBO_RETURN_PERIOD));
    v.turkishStation = m_stations.GetValue();
    v.rainIntensity15 = m_intensity15->GetValue();
    v.frequencyN = m_frequency->GetValue();
    v.partialAreaEffect = IsDlgButtonChecked(IDC_CHECK_PARTIAL_AREA) != 0;
    v.partialAreaMode = std::max(item(IDC_COMBO_PARTIAL_AREA).curSel, 0);
    v.useExistingPipe = IsDlgButtonChecked(IDC_CHECK_EXISTING_PIPE) != 0;
    v.existingPipeMode = std::max(item(IDC_COMBO_EXISTING_PIPE).curSel, 0);
    v.assignPipes = IsDlgButtonChecked(IDC_CHECK_ASSIGN_PIPES) != 0;
    v.precisionPercent = m_precision->GetValue();
    v.viscosity = m_viscosity->GetValue();
    v.ignoreCarrierPipes = IsDlgButtonChecked(IDC_CHECK_IGNORE_CARRIER) != 0;
    v.branchingRule = IsDlgButtonChecked(IDC_RADIO_SHORTER) ? 1 : 0;
    v.pipeGroupGuid = CItpParameters::PipeGroupGuid(SelectedText(item(IDC_COMBO_PIPE_GROUP)));
    v.stormCad = SelectedData(item(IDC_COMBO_CONC_TIME), 11090);
    v.calcStandard = SelectedData(item(IDC_COMBO_STANDARD), 0);
    v.roInteger = m_roInteger;
    for (int i = 0; i < 3; ++i) v.roValues[i] = m_roValues[i];
    v.hydraulicConditions = IsDlgButtonChecked(IDC_RADIO_CONDITIONS) ? 1 : 0;
    v.pipeFillLimit = IsDlgButtonChecked(IDC_CHECK_PIPE_FILL) != 0;
    v.pipeFillPercent = m_pipeFill->GetValue();
    v.minDiameterLimit = IsDlgButtonChecked(IDC_CHECK_MIN_DIAMETER) != 0;
    v.minDiameter = m_minDiameter->GetValue();
    return v;
}

void CITPCalcDlg::ApplyRainMethodRule() {
    const int method = RainMethod();
    const int curves[] = {IDC_STATIC_CURVE_FILE, IDC_STATIC_RETURN_PERIOD, IDC_EDIT_PATH, IDC_BUTTON_BROWSE,
                          IDC_COMBO_RETURN_PERIOD};
    const int reinhold[] = {IDC_STATIC_INTENSITY15, IDC_STATIC_FREQUENCY, IDC_EDIT_INTENSITY15,
                            IDC_EDIT_FREQUENCY};
    const int turkish[] = {IDC_COMBO_STATION, IDC_BUTTON_STATIONS, IDC_STATIC_STATION};
    for (int id : curves) EnableItem(id, method == 0);
    for (int id : reinhold) EnableItem(id, method == 1);
    for (int id : turkish) EnableItem(id, method == kMethodTurkish);
    if (method == kMethodTurkish) {
        // The station's return periods are chosen in the same list (see the header).
        EnableItem(IDC_STATIC_RETURN_PERIOD, true);
        EnableItem(IDC_COMBO_RETURN_PERIOD, true);
        CheckDlgButton(IDC_CHECK_IGNORE_CARRIER, 0);
    }
    EnableItem(IDC_CHECK_PARTIAL_AREA, method != kMethodTurkish);
    EnableItem(IDC_CHECK_IGNORE_CARRIER, method != kMethodTurkish);
}

void CITPCalcDlg::ApplyConditionsRule() {
    const bool conditions = IsDlgButtonChecked(IDC_RADIO_CONDITIONS) != 0;
    EnableItem(IDC_CHECK_PIPE_FILL, conditions);
    EnableItem(IDC_CHECK_MIN_DIAMETER, conditions);
    EnableItem(IDC_EDIT_PIPE_FILL, conditions && IsDlgButtonChecked(IDC_CHECK_PIPE_FILL));
    EnableItem(IDC_EDIT_MIN_DIAMETER, conditions && IsDlgButtonChecked(IDC_CHECK_MIN_DIAMETER));
}

void CITPCalcDlg::ApplyStandardRule() {
    EnableItem(IDC_BUTTON_RO, SelectedData(Item(IDC_COMBO_STANDARD), 0) == kStandardRomanian);
}

void CITPCalcDlg::FillReturnPeriods(bool keepSelection) {
    std::vector<std::string> texts;
    if (RainMethod() == kMethodTurkish) {
        if (const auto* station = m_stations.Find(m_stations.GetValue()))
            texts = CItpParameters::ReturnPeriodTexts(station->table);
    } else {
        TAVGis::Sewage::IdfReadError error;
        const std::string path = GetDlgItemText(IDC_EDIT_PATH);
        if (path.empty() || !CItpParameters::ReturnPeriodTexts(path, texts, error)) texts.clear();
    }
    ShowReturnPeriods(texts, keepSelection);
}

void CITPCalcDlg::ShowReturnPeriods(const std::vector<std::string>& texts, bool keepSelection) {
    auto& combo = Item(IDC_COMBO_RETURN_PERIOD);
    const std::string before = SelectedText(combo);
    combo.ResetContent();
    for (const auto& t : texts) combo.AddString(t);
    const int kept = keepSelection ? combo.FindStringExact(before) : -1;
    combo.SetCurSel(kept >= 0 ? kept : (combo.items.empty() ? -1 : 0));
}

void CITPCalcDlg::FillStations() {
    std::string error;
    if (!m_stations.Load(error)) acedAlert(CModuleConfiguration::GetMsg(kMsgStationStore) + " " + error);
    auto& combo = Item(IDC_COMBO_STATION);
    combo.ResetContent();
    for (const auto& name : m_stations.Names()) combo.AddString(name);
    if (combo.items.empty()) return;
    const int found = combo.FindStringExact(m_stations.GetValue());
    combo.SetCurSel(found >= 0 ? found : 0);
    m_stations.SetValue(SelectedText(combo));
}

void CITPCalcDlg::OnRainMethod() {
    ApplyRainMethodRule();
    if (RainMethod() != 1) FillReturnPeriods(true);
}

void CITPCalcDlg::OnConditions() {
    ApplyConditionsRule();
}

void CITPCalcDlg::OnPartialArea() {
    EnableItem(IDC_COMBO_PARTIAL_AREA, IsDlgButtonChecked(IDC_CHECK_PARTIAL_AREA) != 0);
}

void CITPCalcDlg::OnExistingPipe() {
    EnableItem(IDC_COMBO_EXISTING_PIPE, IsDlgButtonChecked(IDC_CHECK_EXISTING_PIPE) != 0);
}

void CITPCalcDlg::OnBrowse() {
    std::string chosen;
    if (acedGetFileD(CModuleConfiguration::GetMsg(kMsgCurveFile), GetDlgItemText(IDC_EDIT_PATH), "dat",
                     kFileOpen, chosen) != RTNORM)
        return;
    SetDlgItemText(IDC_EDIT_PATH, chosen);
    std::vector<std::string> periods;
    TAVGis::Sewage::IdfReadError error;
    if (!CItpParameters::ReturnPeriodTexts(chosen, periods, error)) return;  // the list stays as it was
    ShowReturnPeriods(periods, false);
}

void CITPCalcDlg::OnStationChanged() {
    m_stations.SetValue(SelectedText(Item(IDC_COMBO_STATION)));
    if (RainMethod() == kMethodTurkish) FillReturnPeriods(true);
}

void CITPCalcDlg::OnStations() {
    m_stations.SetValue(CTurkishParamsDilaog::OpenITPTurParamDialog(m_stations.GetValue()));
    FillStations();
    if (RainMethod() == kMethodTurkish) FillReturnPeriods(true);
}

void CITPCalcDlg::OnRomanian() {
    CStandardRODlg dlg;
    dlg.m_nChoice = m_roInteger;
    if (dlg.DoModal() != TAVUi::IDOK) return;
    m_roInteger = dlg.m_nChoice;
    m_roValues[0] = dlg.m_dSensitive;
    m_roValues[1] = dlg.m_dOtherShort;
    m_roValues[2] = dlg.m_dOtherLong;
}

void CITPCalcDlg::UpdateExcludedLabel() {
    SetDlgItemText(IDC_STATIC_EXCLUDED,
                   CModuleConfiguration::GetMsg(kMsgExcluded) + " " + std::to_string(m_excluded.size()));
}

void CITPCalcDlg::Recolour() {
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (m_initialColors[i] == kNoColor) continue;
        CTAVCEntityPtr entity(m_sections[i]->GetObjectId(), AcDb::kForWrite);
        if (entity.isValid()) entity.entity()->colorIndex = m_initialColors[i];
    }
    for (const auto& s : m_sections) {
        if (!m_excluded.count(s.get())) continue;
        CTAVCEntityPtr entity(s->GetObjectId(), AcDb::kForWrite);
        if (entity.isValid()) entity.entity()->colorIndex = kExcludedColor;
    }
    m_coloursChanged = !m_excluded.empty();
    acedUpdateDisplay();
}

std::intptr_t CITPCalcDlg::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : TAVGis::Selection::CSelectionSetPtr();
    if (!set) return 0;
    m_excluded.clear();
    for (const auto& s : set->GetSections())
        if (s) m_excluded.insert(s.get());
    UpdateExcludedLabel();
    Recolour();
    return 0;
}

void CITPCalcDlg::OnClearExcluded() {
    m_excluded.clear();
    UpdateExcludedLabel();
    Recolour();
}

void CITPCalcDlg::OnKey() {
    if (!IsEnter(LastKey())) return;
    const auto controls = Controls();
    const std::size_t n = controls.size();
    std::size_t current = n;
    for (std::size_t i = 0; i < n; ++i)
        if (controls[i]->focused) current = i;
    for (std::size_t step = 1; step <= n; ++step) {
        auto* next = controls[(current == n ? step - 1 : current + step) % n];
        if (!TakesFocus(*next)) continue;
        for (auto* c : controls) c->focused = false;
        next->focused = true;
        return;
    }
}

void CITPCalcDlg::OnOK() {
    auto* manager = TAVGis::Sewage::CFlowCalculatorManager::GetInstance();
    const auto& registered = manager->GetRegisteredFlowCalculators();
    if (registered.empty()) return;
    const auto calculator = manager->GetFlowCalculator(TAVGis::Sewage::CRainItpCalculator::kName);
    if (!calculator) return;
    const auto params = calculator->CreateCalculationParameters();
    CItpParameters::Fill(ReadValues(), *params);
    TAVGis::Sewage::SectionList sections;
    sections.reserve(m_sections.size());
    for (const auto& s : m_sections)
        if (!m_excluded.count(s.get())) sections.push_back(s);
    if (calculator->RunCalculation(sections, params, true, false, this) != 0)
        TAVGis::Workspace::CWsManager::LogMessage(CModuleConfiguration::GetMsg(kMsgLogDone));
}

void CITPCalcDlg::OnCancel() {
    m_excluded.clear();
    UpdateExcludedLabel();
    Recolour();
    SaveState();
    CAdUiBaseDialog::OnCancel();
}
