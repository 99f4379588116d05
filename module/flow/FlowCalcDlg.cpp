#include "module/flow/FlowCalcDlg.h"

#include "module/flow/FlowStatusLine.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/HostUi.h"
#include "platform/host/NumberText.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
// Edits and their labels, in the order q, N, p, T, kd, kh, KP, KS, KU (the order of the set's records).
constexpr int kEditIds[9] = {CFlowCalcDlg::IDC_EDIT_Q,  CFlowCalcDlg::IDC_EDIT_N,  CFlowCalcDlg::IDC_EDIT_P,
                             CFlowCalcDlg::IDC_EDIT_T,  CFlowCalcDlg::IDC_EDIT_KD, CFlowCalcDlg::IDC_EDIT_KH,
                             CFlowCalcDlg::IDC_EDIT_KP, CFlowCalcDlg::IDC_EDIT_KS, CFlowCalcDlg::IDC_EDIT_KU};
constexpr int kLabelIds[9] = {
    CFlowCalcDlg::IDC_STATIC_Q,  CFlowCalcDlg::IDC_STATIC_N,  CFlowCalcDlg::IDC_STATIC_P,
    CFlowCalcDlg::IDC_STATIC_T,  CFlowCalcDlg::IDC_STATIC_KD, CFlowCalcDlg::IDC_STATIC_KH,
    CFlowCalcDlg::IDC_STATIC_KP, CFlowCalcDlg::IDC_STATIC_KS, CFlowCalcDlg::IDC_STATIC_KU};
// Edit positions in kEditIds.
constexpr std::size_t kQ = 0, kN = 1, kP = 2, kT = 3, kKd = 4, kKh = 5, kKp = 6, kKs = 7, kKu = 8;
constexpr int kLabelMsgs[9] = {2066, 2067, 2064, 2065, 2068, 2069, 4685, 4686, 4687};
constexpr int kWholeDigits = 8;        // at most 8 whole digits ...
constexpr int kGrowthWholeDigits = 4;  // ... the growth 4, and it may be negative
constexpr int kDecimals = 4;
constexpr int kResultDecimals = 4;  // the result list shows "%.4f"
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 0xCEE001;

constexpr int kMsgTitle = 7649;
constexpr int kMsgGroupConfig = 2060;
constexpr int kMsgGroupInput = 2062;
constexpr int kMsgGroupResults = 2063;
constexpr int kMsgRomanian = 4688;
constexpr int kMsgFedorov = 6930;
constexpr int kMsgPreview = 2070;
constexpr int kMsgSave = 2037;
constexpr int kMsgClose = 235;
constexpr int kMsgHelp = 50156;
constexpr int kMsgColumnName = 464;
constexpr int kMsgColumnValue = 1257;
constexpr int kColumnNameWidth = 280;
constexpr int kColumnValueWidth = 94;
constexpr int kSeparatorRowIndex = 6;
// Row captions: the six inputs, the separator, Nf, Qd, Qh, Qdmax, Qhmax, K, Ltot, Lw, qs.
constexpr int kRowMsgs[CFlowCalcDlg::kResultRows] = {2066, 2067, 2064, 2065, 2068, 2069, 0,    2051,
                                                     2052, 2053, 2054, 2055, 6930, 2056, 2057, 2058};

}  // namespace

const CConfigSets& CFlowCalcDlg::Sets() {
    static const CConfigSets sets(
        "ACH_FLOW_CONFIG_DATA", "ACH_PARAM_CONFIG",
        {"potrosnja", "brStanovnika", "prirast", "period", "koefD", "koefH", "koefKP", "koefKS", "koefKU"},
        CConfigSets::NumberFormat::Fixed4);
    return sets;
}

CFlowCalcDlg::CFlowCalcDlg() : CAdUiBaseDialog(IDD) {
    Map(IDC_COMBO_CONFIG, Notification::SelChange, &CFlowCalcDlg::OnConfigChanged);
    Map(IDC_BUTTON_PREVIEW, Notification::Clicked, &CFlowCalcDlg::OnPreview);
    Map(IDC_CHECK_ROMANIAN, Notification::Clicked, &CFlowCalcDlg::OnRomanianClicked);
    Map(IDC_CHECK_FEDOROV, Notification::Clicked, &CFlowCalcDlg::OnFedorovClicked);
    for (std::size_t i = kQ; i <= kKh; ++i)
        Map(kEditIds[i], Notification::Changed, &CFlowCalcDlg::OnInputChanged);
    Map(IDC_LIST_RESULTS, Notification::KeyDown, &CFlowCalcDlg::OnResultKey);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

void CFlowCalcDlg::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Check(pDX, IDC_CHECK_ROMANIAN, m_romanian);
    TAVUi::DDX_Check(pDX, IDC_CHECK_FEDOROV, m_fedorov);
}

bool CFlowCalcDlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    // 1. Numeric edits and their defaults.
    const WasteWaterPercentInput defaults;
    const double values[9] = {defaults.q,  defaults.n,  defaults.p,  defaults.t, defaults.kd,
                              defaults.kh, defaults.kp, defaults.ks, defaults.ku};
    for (std::size_t i = 0; i < 9; ++i) {
        const int whole = i == kP ? kGrowthWholeDigits : -kWholeDigits;  // negative: no negative numbers
        m_edits[i] = CNumericEdit::Attach(*this, kEditIds[i], whole, kDecimals);
        m_edits[i]->SetValue(values[i], true);
    }
    // 2. The result list.
    auto& list = Item(IDC_LIST_RESULTS);
    list.columns.clear();
    list.DeleteAllItems();
    list.InsertColumn(0, CModuleConfiguration::GetMsg(kMsgColumnName), kColumnNameWidth);
    list.InsertColumn(1, CModuleConfiguration::GetMsg(kMsgColumnValue), kColumnValueWidth);
    for (int row = 0; row < kResultRows; ++row)
        list.InsertItem(
            row, row == kSeparatorRowIndex ? kSeparatorRow : CModuleConfiguration::GetMsg(kRowMsgs[row]));
    // 3. The selection button, and every element of the active system selected.
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_sections = set.GetSections();
    EnableInputs(set.GetSelectionType() != 0);
    // 4. The parameter sets; the first stored set replaces the defaults.
    if (const auto* record = Sets().LoadConfigs(Item(IDC_COMBO_CONFIG))) ApplyRecord(*record);
    // 5. Captions.
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_GROUP_CONFIG, CModuleConfiguration::GetMsg(kMsgGroupConfig));
    SetDlgItemText(IDC_GROUP_INPUT, CModuleConfiguration::GetMsg(kMsgGroupInput));
    SetDlgItemText(IDC_GROUP_RESULTS, CModuleConfiguration::GetMsg(kMsgGroupResults));
    for (std::size_t i = 0; i < 9; ++i)
        SetDlgItemText(kLabelIds[i], CModuleConfiguration::GetMsg(kLabelMsgs[i]));
    SetDlgItemText(IDC_CHECK_ROMANIAN, CModuleConfiguration::GetMsg(kMsgRomanian));
    SetDlgItemText(IDC_CHECK_FEDOROV, CModuleConfiguration::GetMsg(kMsgFedorov));
    SetDlgItemText(IDC_BUTTON_PREVIEW, CModuleConfiguration::GetMsg(kMsgPreview));
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgSave));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgClose));
    SetDlgItemText(TAVUi::IDHELP, CModuleConfiguration::GetMsg(kMsgHelp));
    return true;
}

void CFlowCalcDlg::ApplyRecord(const CConfigSets::Record& record) {
    // Records hold the parameters in attribute order, which is the order of the edits.
    for (std::size_t i = 0; i < m_edits.size() && i < record.size(); ++i)
        m_edits[i]->SetValue(record[i], true);
}

void CFlowCalcDlg::EnableInputs(bool enable) {
    m_inputsEnabled = enable;
    for (std::size_t i = kQ; i <= kKh; ++i) {
        EnableItem(kEditIds[i], enable);
        EnableItem(kLabelIds[i], enable);
    }
    for (int id : {IDC_CHECK_ROMANIAN, IDC_CHECK_FEDOROV, IDC_COMBO_CONFIG, IDC_BUTTON_PREVIEW, TAVUi::IDOK})
        EnableItem(id, enable);
    ApplyRomanianRule();
}

void CFlowCalcDlg::ApplyRomanianRule() {
    const bool on = m_inputsEnabled && m_romanian == 1;
    for (std::size_t i : {kKp, kKs, kKu}) {
        EnableItem(kEditIds[i], on);
        EnableItem(kLabelIds[i], on);
    }
}

WasteWaterPercentInput CFlowCalcDlg::ReadInput() const {
    WasteWaterPercentInput in;
    in.q = m_edits[kQ]->GetValue();
    in.n = m_edits[kN]->GetValue();
    in.p = m_edits[kP]->GetValue();
    in.t = m_edits[kT]->GetValue();
    in.kd = m_edits[kKd]->GetValue();
    in.kh = m_edits[kKh]->GetValue();
    in.kp = m_edits[kKp]->GetValue();
    in.ks = m_edits[kKs]->GetValue();
    in.ku = m_edits[kKu]->GetValue();
    in.romanian = IsDlgButtonChecked(IDC_CHECK_ROMANIAN) == 1;
    in.fedorov = IsDlgButtonChecked(IDC_CHECK_FEDOROV) == 1;
    return in;
}

void CFlowCalcDlg::OnConfigChanged() {
    auto& combo = Item(IDC_COMBO_CONFIG);
    if (const auto* record = CConfigSets::GetRecord(combo, combo.curSel)) ApplyRecord(*record);
}

void CFlowCalcDlg::ShowResult(const WasteWaterPercentResult& r, const WasteWaterPercentInput& in) {
    auto& list = Item(IDC_LIST_RESULTS);
    for (int row = 0; row < list.GetItemCount(); ++row) list.SetItemText(row, 1, "");
    const std::pair<int, double> cells[] = {{0, in.q},     {1, in.n}, {2, in.p},    {3, in.t},  {4, in.kd},
                                            {5, in.kh},    {7, r.nf}, {8, r.qd},    {9, r.qh},  {10, r.qdmax},
                                            {11, r.qhmax}, {12, r.k}, {13, r.ltot}, {14, r.lw}, {15, r.qs}};
    for (const auto& [row, value] : cells)
        list.SetItemText(row, 1, TAVHost::NumberText::Fixed(value, kResultDecimals));
}

void CFlowCalcDlg::OnPreview() {
    UpdateData(true);
    const auto in = ReadInput();
    ShowResult(CWasteWaterPercent::Compute(in, m_sections), in);
}

void CFlowCalcDlg::OnOK() {
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    const auto in = ReadInput();
    const auto saved =
        Sets().Save(Item(IDC_COMBO_CONFIG).text, {in.q, in.n, in.p, in.t, in.kd, in.kh, in.kp, in.ks, in.ku});
    if (!saved.Proceed()) return;  // empty (alert 2059) or unstorable name: nothing stored or written
    const auto r = CWasteWaterPercent::Compute(in, m_sections);
    CNonFiniteValues notFinite;
    const bool written = CWasteWaterPercent::Write(
        m_sections, r.qs, [&saved](const TAVGis::Topology::CSectionPtr& s) { Sets().Tag(s, saved.name); },
        &notFinite);
    if (!notFinite.Empty()) acedAlert(notFinite.AlertText());
    if (written) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
}

void CFlowCalcDlg::OnCancel() {
    acedRedraw(nullptr, kRedrawUnhighlight);
    CAdUiBaseDialog::OnCancel();
}

void CFlowCalcDlg::OnRomanianClicked() {
    UpdateData(true);
    ApplyRomanianRule();
}

void CFlowCalcDlg::OnFedorovClicked() {
    UpdateData(true);
}

void CFlowCalcDlg::OnInputChanged() {
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlack);
}

std::intptr_t CFlowCalcDlg::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    m_sections = set ? set->GetSections() : std::vector<TAVGis::Topology::CSectionPtr>();
    EnableInputs(!m_sections.empty());
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlue);
    return 0;
}

void CFlowCalcDlg::OnResultKey() {
    const std::string& key = LastKey();
    auto& list = Item(IDC_LIST_RESULTS);
    if (key == "ctrl+a") {
        for (auto& row : list.rows) row.selected = true;
    } else if (key == "ctrl+c" || key == "ctrl+insert") {
        CopySelectedRows();
    }
}

void CFlowCalcDlg::CopySelectedRows() {
    const auto& list = Item(IDC_LIST_RESULTS);
    std::string text;
    for (const auto& column : list.columns) text += column.header + "\t";
    text += "\r\n";
    for (int row : list.SelectedRows()) {
        for (int column = 0; column < static_cast<int>(list.columns.size()); ++column)
            text += list.GetItemText(row, column) + "\t";
        text += "\r\n";
    }
    TAVHost::GetHostUi().SetClipboardText(text);
}
