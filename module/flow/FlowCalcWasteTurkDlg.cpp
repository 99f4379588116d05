#include "module/flow/FlowCalcWasteTurkDlg.h"

#include "module/flow/FlowStatusLine.h"
#include "module/flow/SelectionHighlight.h"
#include "module/manager/FunctionTrace.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

// Entry and exit lines of a handler, under its qualified name.
#define TRACE_HANDLER(name) FunctionTrace handlerTrace_(__FILE__, __LINE__, "CFlowCalcWasteTurkDlg::" name)

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 0xEE8001;
constexpr int kWholeDigits = 8;
constexpr int kDecimals = 4;
// Positions in a parameter-set record.
constexpr std::size_t kRecordConsumption = 0, kRecordPeak = 1, kRecordCoefficient = 2, kRecordSize = 3;
constexpr int kMsgTitle = 9344;
constexpr int kMsgGroupConfig = 2060;
constexpr int kMsgGroupValues = 2049;
constexpr int kMsgHousehold = 2092;
constexpr int kMsgConsumption = 2066;
constexpr int kMsgIndustrial = 2093;
constexpr int kMsgCoefficient = 9341;
constexpr int kMsgPeak = 9342;
constexpr int kMsgInfiltration = 9343;
constexpr int kMsgSave = 2428;
constexpr int kMsgClose = 235;
constexpr int kMsgHelp = 50156;
}  // namespace

const CConfigSets& CFlowCalcWasteTurkDlg::Sets() {
    static const CConfigSets sets = [] {
        CConfigSets s("ACH_FLOW_CONFIG_DATA_AREA_TURK", "", {"potrosnja", "peek", "koefPotrosnje"},
                      CConfigSets::NumberFormat::Fixed6);
        s.SetFormat("koefPotrosnje", CConfigSets::NumberFormat::Integer);
        return s;
    }();
    return sets;
}

CFlowCalcWasteTurkDlg::CFlowCalcWasteTurkDlg() : CAdUiBaseDialog(IDD) {
    Map(IDC_COMBO_CONFIG, Notification::SelChange, &CFlowCalcWasteTurkDlg::OnSelchangeComboConfig);
    Map(IDC_CHECK_HOME, Notification::Clicked, &CFlowCalcWasteTurkDlg::OnCheckHome);
    Map(IDC_CHECK_INDUSTRIAL, Notification::Clicked, &CFlowCalcWasteTurkDlg::OnCheckInd);
    Map(IDC_BUTTON_SAVE, Notification::Clicked, &CFlowCalcWasteTurkDlg::OnBnClickedBtnSave);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnButtonSel(w, l); });
}

void CFlowCalcWasteTurkDlg::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Check(pDX, IDC_CHECK_HOME, m_household);
    TAVUi::DDX_Check(pDX, IDC_CHECK_INDUSTRIAL, m_industry);
    TAVUi::DDX_Check(pDX, IDC_CHECK_INFILTRATION, m_infiltration);
}

bool CFlowCalcWasteTurkDlg::OnInitDialog() {
    TRACE_HANDLER("OnInitDialog");
    CAdUiBaseDialog::OnInitDialog();
    auto& coefficient = Item(IDC_COMBO_COEFFICIENT);
    coefficient.ResetContent();
    for (const auto& entry : CTurkishWasteWater::kCoefficientEntries)
        coefficient.AddString(entry.text, static_cast<std::uintptr_t>(entry.itemData));
    coefficient.SetCurSel(0);
    InitEdit();
    LoadConfigs();
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_GROUP_CONFIG, CModuleConfiguration::GetMsg(kMsgGroupConfig));
    SetDlgItemText(IDC_GROUP_VALUES, CModuleConfiguration::GetMsg(kMsgGroupValues));
    SetDlgItemText(IDC_CHECK_HOME, CModuleConfiguration::GetMsg(kMsgHousehold));
    SetDlgItemText(IDC_STATIC_CONSUMPTION, CModuleConfiguration::GetMsg(kMsgConsumption));
    SetDlgItemText(IDC_CHECK_INDUSTRIAL, CModuleConfiguration::GetMsg(kMsgIndustrial));
    SetDlgItemText(IDC_STATIC_COEFFICIENT, CModuleConfiguration::GetMsg(kMsgCoefficient));
    SetDlgItemText(IDC_STATIC_PEAK, CModuleConfiguration::GetMsg(kMsgPeak));
    SetDlgItemText(IDC_CHECK_INFILTRATION, CModuleConfiguration::GetMsg(kMsgInfiltration));
    SetDlgItemText(IDC_BUTTON_SAVE, CModuleConfiguration::GetMsg(kMsgSave));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgClose));
    SetDlgItemText(TAVUi::IDHELP, CModuleConfiguration::GetMsg(kMsgHelp));
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_sections = set.GetSections();
    EnableControls(set.GetSelectionType() != 0);
    HighlightSelection(m_sections);
    return true;
}

void CFlowCalcWasteTurkDlg::InitEdit() {
    TRACE_HANDLER("InitEdit");
    const TurkishWasteWaterInput defaults;
    m_consumption = CNumericEdit::Attach(*this, IDC_EDIT_CONSUMPTION, -kWholeDigits, kDecimals);
    m_peak = CNumericEdit::Attach(*this, IDC_EDIT_PEAK, -kWholeDigits, kDecimals);
    m_consumption->SetValue(defaults.consumption, true);
    m_peak->SetValue(defaults.peakFactor, true);
}

void CFlowCalcWasteTurkDlg::LoadConfigs() {
    TRACE_HANDLER("LoadConfigs");
    if (const auto* record = Sets().LoadConfigs(Item(IDC_COMBO_CONFIG))) ApplyRecord(*record);
}

void CFlowCalcWasteTurkDlg::ApplyRecord(const CConfigSets::Record& record) {
    if (record.size() != kRecordSize) return;
    m_consumption->SetValue(record[kRecordConsumption], true);
    m_peak->SetValue(record[kRecordPeak], true);
    // A stored index outside the entries (a hand-edited document) selects nothing: c is then 1.0.
    Item(IDC_COMBO_COEFFICIENT).SetCurSel(static_cast<int>(record[kRecordCoefficient]));
}

void CFlowCalcWasteTurkDlg::OnSelchangeComboConfig() {
    TRACE_HANDLER("OnSelchangeComboConfig");
    auto& combo = Item(IDC_COMBO_CONFIG);
    if (const auto* record = CConfigSets::GetRecord(combo, combo.curSel)) ApplyRecord(*record);
}

void CFlowCalcWasteTurkDlg::OnCheckHome() {
    TRACE_HANDLER("OnCheckHome");
    UpdateData(true);
    ApplySwitches();
}

void CFlowCalcWasteTurkDlg::OnCheckInd() {
    TRACE_HANDLER("OnCheckInd");
    UpdateData(true);
    ApplySwitches();
}

void CFlowCalcWasteTurkDlg::EnableControls(bool enable) {
    m_enabled = enable;
    for (int id : {IDC_GROUP_CONFIG, IDC_COMBO_CONFIG, IDC_GROUP_VALUES, IDC_CHECK_HOME, IDC_CHECK_INDUSTRIAL,
                   IDC_CHECK_INFILTRATION, IDC_BUTTON_SAVE})
        EnableItem(id, enable);
    ApplySwitches();
}

void CFlowCalcWasteTurkDlg::ApplySwitches() {
    const bool home = m_enabled && IsDlgButtonChecked(IDC_CHECK_HOME) == 1;
    const bool industrial = m_enabled && IsDlgButtonChecked(IDC_CHECK_INDUSTRIAL) == 1;
    EnableItem(IDC_EDIT_CONSUMPTION, home);
    EnableItem(IDC_STATIC_CONSUMPTION, home);
    for (int id : {IDC_COMBO_COEFFICIENT, IDC_STATIC_COEFFICIENT, IDC_EDIT_PEAK, IDC_STATIC_PEAK})
        EnableItem(id, industrial);
}

TurkishWasteWaterInput CFlowCalcWasteTurkDlg::ReadInput() const {
    TurkishWasteWaterInput in;
    in.consumption = m_consumption->GetValue();
    in.peakFactor = m_peak->GetValue();
    const auto& coefficient = GetDlgItem(IDC_COMBO_COEFFICIENT);
    std::optional<int> itemData;
    if (coefficient->curSel >= 0 && coefficient->curSel < static_cast<int>(coefficient->items.size()))
        itemData = static_cast<int>(coefficient->items[static_cast<std::size_t>(coefficient->curSel)].data);
    in.consumptionCoefficient = CTurkishWasteWater::ConsumptionCoefficient(itemData);
    in.household = IsDlgButtonChecked(IDC_CHECK_HOME) == 1;
    in.industrial = IsDlgButtonChecked(IDC_CHECK_INDUSTRIAL) == 1;
    in.infiltration = IsDlgButtonChecked(IDC_CHECK_INFILTRATION) == 1;
    return in;
}

void CFlowCalcWasteTurkDlg::OnBnClickedBtnSave() {
    TRACE_HANDLER("OnBnClickedBtnSave");
    UpdateData(true);
    const auto in = ReadInput();
    const int coefficientIndex = Item(IDC_COMBO_COEFFICIENT).curSel;
    const auto saved =
        Sets().Save(Item(IDC_COMBO_CONFIG).text, {in.consumption, in.peakFactor, double(coefficientIndex)});
    if (!saved.Proceed()) return;  // empty (alert 2059) or unstorable name: nothing stored or written
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    TRACE_MESSAGE("Calculation...");
    const auto definitions = TurkishWasteDefinitions::LookUp();
    FunctionTrace::Verify(definitions.home != nullptr, "pDDefHome != 0", __FILE__, __LINE__);
    FunctionTrace::Verify(definitions.industrial != nullptr, "pDDefInd != 0", __FILE__, __LINE__);
    FunctionTrace::Verify(definitions.infiltration != nullptr, "pDDefInfiltration != 0", __FILE__, __LINE__);
    const auto r = CTurkishWasteWater::Run(in, m_sections, definitions);
    if (!r.notFinite.Empty()) acedAlert(r.notFinite.AlertText());
    if (r.written > 0) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
}

std::intptr_t CFlowCalcWasteTurkDlg::OnButtonSel(std::intptr_t, std::intptr_t) {
    TRACE_HANDLER("OnButtonSel");
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlue);
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    m_sections = set ? set->GetSections() : std::vector<TAVGis::Topology::CSectionPtr>();
    EnableControls(set && set->GetSelectionType() != 0);
    HighlightSelection(m_sections);
    return 0;
}

void CFlowCalcWasteTurkDlg::OnCancel() {
    acedRedraw(nullptr, kRedrawUnhighlight);  // the selection is no longer highlighted once the dialog closes
    CAdUiBaseDialog::OnCancel();
}
