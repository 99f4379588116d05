#include "module/flow/FlowCalcWasteDlg.h"

#include "module/flow/FlowStatusLine.h"
#include "module/flow/SelectionHighlight.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 0xEE8001;
constexpr int kWholeDigits = 8;
constexpr int kDecimals = 4;
constexpr TAVUi::Rgb kStatusRed = TAVUi::RGB(255, 0, 0);
constexpr int kMsgTitle = 7650;
constexpr int kMsgGroupConfig = 2060;
constexpr int kMsgGroupValues = 2049;
constexpr int kMsgHousehold = 2092;
constexpr int kMsgIndustrial = 2093;
constexpr int kMsgHouseholdCoefficient = 2106;
constexpr int kMsgIndustrialCoefficient = 2107;
constexpr int kMsgStandard = 6129;
constexpr int kMsgGeneral = 376;
constexpr int kMsgCatalogueStandard = 0;
constexpr int kMsgSave = 2037;
constexpr int kMsgClose = 235;
constexpr int kMsgHelp = 50156;

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
}  // namespace

const CConfigSets& CFlowCalcWasteDlg::Sets() {
    static const CConfigSets sets("ACH_FLOW_CONFIG_DATA_AREA", "ACH_PARAM_CONFIG_AREA",
                                  {"home", "industrial"}, CConfigSets::NumberFormat::Fixed6);
    return sets;
}

CFlowCalcWasteDlg::CFlowCalcWasteDlg() : CAdUiBaseDialog(IDD) {
    Map(IDC_COMBO_CONFIG, Notification::SelChange, &CFlowCalcWasteDlg::OnConfigChanged);
    Map(IDC_CHECK_HOME, Notification::Clicked, &CFlowCalcWasteDlg::OnSwitchClicked);
    Map(IDC_CHECK_INDUSTRIAL, Notification::Clicked, &CFlowCalcWasteDlg::OnSwitchClicked);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

void CFlowCalcWasteDlg::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Check(pDX, IDC_CHECK_HOME, m_household);
    TAVUi::DDX_Check(pDX, IDC_CHECK_INDUSTRIAL, m_industry);
}

bool CFlowCalcWasteDlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    const WasteWaterAreaInput defaults;
    m_home = CNumericEdit::Attach(*this, IDC_EDIT_HOME, -kWholeDigits, kDecimals);
    m_industrial = CNumericEdit::Attach(*this, IDC_EDIT_INDUSTRIAL, -kWholeDigits, kDecimals);
    m_home->SetValue(defaults.kH, true);
    m_industrial->SetValue(defaults.kI, true);
    if (const auto* record = Sets().LoadConfigs(Item(IDC_COMBO_CONFIG)); record && record->size() == 2) {
        m_home->SetValue((*record)[0], true);
        m_industrial->SetValue((*record)[1], true);
    }
    auto& standard = Item(IDC_COMBO_STANDARD);
    standard.ResetContent();
    standard.AddString(CModuleConfiguration::GetMsg(kMsgGeneral), static_cast<int>(WasteStandard::General));
    standard.AddString(kBulgarianEntry, static_cast<int>(WasteStandard::Bulgarian));
    standard.SetCurSel(
        EqualsIgnoringCase(CModuleConfiguration::GetMsg(kMsgCatalogueStandard), kBulgarianEntry) ? 1 : 0);
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_sections = set.GetSections();
    EnableControls(set.GetSelectionType() != 0);
    HighlightSelection(m_sections);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_GROUP_CONFIG, CModuleConfiguration::GetMsg(kMsgGroupConfig));
    SetDlgItemText(IDC_GROUP_VALUES, CModuleConfiguration::GetMsg(kMsgGroupValues));
    SetDlgItemText(IDC_CHECK_HOME, CModuleConfiguration::GetMsg(kMsgHousehold));
    SetDlgItemText(IDC_CHECK_INDUSTRIAL, CModuleConfiguration::GetMsg(kMsgIndustrial));
    SetDlgItemText(IDC_STATIC_HOME, CModuleConfiguration::GetMsg(kMsgHouseholdCoefficient));
    SetDlgItemText(IDC_STATIC_INDUSTRIAL, CModuleConfiguration::GetMsg(kMsgIndustrialCoefficient));
    SetDlgItemText(IDC_STATIC_STANDARD, CModuleConfiguration::GetMsg(kMsgStandard));
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgSave));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgClose));
    SetDlgItemText(TAVUi::IDHELP, CModuleConfiguration::GetMsg(kMsgHelp));
    return true;
}

void CFlowCalcWasteDlg::EnableControls(bool enable) {
    m_enabled = enable;
    for (int id : {IDC_GROUP_CONFIG, IDC_COMBO_CONFIG, IDC_GROUP_VALUES, IDC_CHECK_HOME, IDC_CHECK_INDUSTRIAL,
                   IDC_COMBO_STANDARD, IDC_STATIC_STANDARD, TAVUi::IDOK})
        EnableItem(id, enable);
    ApplySwitches();
}

void CFlowCalcWasteDlg::ApplySwitches() {
    const bool home = m_enabled && IsDlgButtonChecked(IDC_CHECK_HOME) == 1;
    const bool industrial = m_enabled && IsDlgButtonChecked(IDC_CHECK_INDUSTRIAL) == 1;
    EnableItem(IDC_EDIT_HOME, home);
    EnableItem(IDC_STATIC_HOME, home);
    EnableItem(IDC_EDIT_INDUSTRIAL, industrial);
    EnableItem(IDC_STATIC_INDUSTRIAL, industrial);
}

WasteWaterAreaInput CFlowCalcWasteDlg::ReadInput() const {
    WasteWaterAreaInput in;
    in.kH = m_home->GetValue();
    in.kI = m_industrial->GetValue();
    in.household = IsDlgButtonChecked(IDC_CHECK_HOME) == 1;
    in.industrial = IsDlgButtonChecked(IDC_CHECK_INDUSTRIAL) == 1;
    const auto& standard = GetDlgItem(IDC_COMBO_STANDARD);
    const bool bulgarian = standard->curSel >= 0 &&
                           standard->curSel < static_cast<int>(standard->items.size()) &&
                           standard->items[static_cast<std::size_t>(standard->curSel)].data ==
                               static_cast<std::uintptr_t>(WasteStandard::Bulgarian);
    in.standard = bulgarian ? WasteStandard::Bulgarian : WasteStandard::General;
    return in;
}

void CFlowCalcWasteDlg::OnConfigChanged() {
    auto& combo = Item(IDC_COMBO_CONFIG);
    if (const auto* record = CConfigSets::GetRecord(combo, combo.curSel); record && record->size() == 2) {
        m_home->SetValue((*record)[0], true);
        m_industrial->SetValue((*record)[1], true);
    }
}

void CFlowCalcWasteDlg::OnSwitchClicked() {
    UpdateData(true);
    ApplySwitches();
}

void CFlowCalcWasteDlg::OnOK() {
    UpdateData(true);
    const auto in = ReadInput();
    const auto saved = Sets().Save(Item(IDC_COMBO_CONFIG).text, {in.kH, in.kI});
    if (!saved.Proceed()) return;  // empty (alert 2059) or unstorable name: nothing stored or written
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    if (m_sections.empty()) {
        CFlowStatusLine::Show(*this, IDC_STATIC_STATUS, CModuleConfiguration::GetMsg(kMsgNothingWritten),
                              kStatusRed);
    } else {
        const auto r = CWasteWaterArea::Run(
            in, m_sections, [&saved](const TAVGis::Topology::CSectionPtr& s) { Sets().Tag(s, saved.name); });
        if (r.factorMissing)
            acedAlert(CModuleConfiguration::GetMsg(kMsgMissingFactor));
        else if (r.written)
            CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
        else
            CFlowStatusLine::Show(*this, IDC_STATIC_STATUS, CModuleConfiguration::GetMsg(kMsgNothingWritten),
                                  kStatusRed);
    }
    acedRedraw(nullptr, kRedrawUnhighlight);
}

std::intptr_t CFlowCalcWasteDlg::OnSelectionMade(std::intptr_t, std::intptr_t) {
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlue);
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    m_sections = set ? set->GetSections() : std::vector<TAVGis::Topology::CSectionPtr>();
    EnableControls(set && set->GetSelectionType() != 0);
    HighlightSelection(m_sections);
    return 0;
}

void CFlowCalcWasteDlg::OnCancel() {
    acedRedraw(nullptr, kRedrawUnhighlight);
    CAdUiBaseDialog::OnCancel();
}
