#include "module/flow/FlowCalcRainSimpleDlg.h"

#include "module/flow/FlowStatusLine.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 13533185;
constexpr int kWholeDigits = 8;
constexpr int kDecimals = 4;
constexpr int kRedrawAll = 1;
constexpr int kMsgTitle = 7651;
constexpr int kMsgGroupConfig = 2060;
constexpr int kMsgGroupValues = 2049;
constexpr int kMsgStandard = 2625;
constexpr int kMsgAtv = 2627;
constexpr int kMsgIntensity = 2128;
constexpr int kMsgCalculate = 2037;
constexpr int kMsgCancel = 235;
constexpr int kMsgHelp = 50156;
constexpr int kMsgInvalidAtv = 3454;
}  // namespace

const CConfigSets& CFlowCalcRainSimpleDlg::Sets() {
    static const CConfigSets sets("ACH_FLOW_CONFIG_DATA_RAIN_SIMPLE", "ACH_PARAM_CONFIG_RAIN_SIMPLE",
                                  {"intenzitet"}, CConfigSets::NumberFormat::Fixed4);
    return sets;
}

CFlowCalcRainSimpleDlg::CFlowCalcRainSimpleDlg() : CAdUiBaseDialog(IDD) {
    Map(IDC_COMBO_CONFIG, Notification::SelChange, &CFlowCalcRainSimpleDlg::OnConfigChanged);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

bool CFlowCalcRainSimpleDlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_intensity = CNumericEdit::Attach(*this, IDC_EDIT_INTENSITY, -kWholeDigits, kDecimals);
    const auto* record = Sets().LoadConfigs(Item(IDC_COMBO_CONFIG));
    m_intensity->SetValue(record && !record->empty() ? record->front() : kDefaultIntensity, true);
    CheckRadioButton(IDC_RADIO_STANDARD);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_GROUP_CONFIG, CModuleConfiguration::GetMsg(kMsgGroupConfig));
    SetDlgItemText(IDC_GROUP_VALUES, CModuleConfiguration::GetMsg(kMsgGroupValues));
    SetDlgItemText(IDC_RADIO_STANDARD, CModuleConfiguration::GetMsg(kMsgStandard));
    SetDlgItemText(IDC_RADIO_ATV, CModuleConfiguration::GetMsg(kMsgAtv));
    SetDlgItemText(IDC_STATIC_INTENSITY, CModuleConfiguration::GetMsg(kMsgIntensity));
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgCalculate));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgCancel));
    SetDlgItemText(TAVUi::IDHELP, CModuleConfiguration::GetMsg(kMsgHelp));
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_sections = set.GetSections();
    m_nodes = set.GetNodes();
    EnableBySelection(set.GetSelectionType() != 0);
    return true;
}

void CFlowCalcRainSimpleDlg::EnableBySelection(bool enable) {
    for (int id : {IDC_GROUP_CONFIG, IDC_GROUP_VALUES, IDC_RADIO_STANDARD, IDC_RADIO_ATV, IDC_COMBO_CONFIG,
                   TAVUi::IDOK, IDC_EDIT_INTENSITY, IDC_STATIC_INTENSITY})
        EnableItem(id, enable);
}

SimpleRainInput CFlowCalcRainSimpleDlg::ReadInput() const {
    SimpleRainInput in;
    in.intensity = m_intensity->GetValue();
    in.method = IsDlgButtonChecked(IDC_RADIO_ATV) == 1 ? RainMethod::Atv : RainMethod::Standard;
    return in;
}

void CFlowCalcRainSimpleDlg::OnConfigChanged() {
    auto& combo = Item(IDC_COMBO_CONFIG);
    if (const auto* record = CConfigSets::GetRecord(combo, combo.curSel))
        if (!record->empty()) m_intensity->SetValue(record->front(), true);
}

void CFlowCalcRainSimpleDlg::OnOK() {
    const auto in = ReadInput();
    const auto saved = Sets().Save(Item(IDC_COMBO_CONFIG).text, {in.intensity});
    if (!saved.Proceed()) return;  // empty (alert 2059) or unstorable name: nothing written
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    const auto r = CSimpleRainFlow::Run(
        in, m_sections, [&saved](const TAVGis::Topology::CSectionPtr& s) { Sets().Tag(s, saved.name); });
    if (r.invalidAtv > 0)
        acedAlert(CModuleConfiguration::GetMsg(kMsgInvalidAtv) + " " + std::to_string(r.invalidAtv));
    if (r.written) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
    acedRedraw(nullptr, kRedrawAll);
}

std::intptr_t CFlowCalcRainSimpleDlg::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    m_sections = set ? set->GetSections() : std::vector<TAVGis::Topology::CSectionPtr>();
    m_nodes = set ? set->GetNodes() : std::vector<TAVGis::Topology::CNodePtr>();
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlue);
    EnableBySelection(set && set->GetSelectionType() != 0);
    return 0;
}

void CFlowCalcRainSimpleDlg::OnCancel() {
    acedRedraw(nullptr, kRedrawUnhighlight);
    CAdUiBaseDialog::OnCancel();
}
