#include "module/flow/FlowCalcTotalDlg.h"

#include "module/data/SectionData.h"
#include "module/flow/FlowAttribute.h"
#include "module/flow/FlowStatusLine.h"
#include "platform/gis/DataBox.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Topology::CSectionPtr;
using TAVUi::Notification;

// Rows in the order of summation. The key of row 2 ends in "Retardacija" although the row adds the
// Bulgarian household flow: drawings keep their ticks under that key.
const std::array<TotalComponent, kTotalComponentCount> kTotalComponents = {{
    {283, "TAVX_FLOW_TOTAL_CHECK_ITP", "FLOW_RAIN_IDF", 2145, true},
    {284, "TAVX_FLOW_TOTAL_CHECK_Retardacija", "FLOW_WASTE_HOME_BG", 8939, false},
    {288, "TAVX_FLOW_TOTAL_CHECK_Uneven", "FLOW_WASTE_UNEVEN", 9010, false},
    {285, "TAVX_FLOW_TOTAL_CHECK_Tranzit", "FLOW_TRANSIT", 2144, true},
    {281, "TAVX_FLOW_TOTAL_CHECK_Vlastiti", "FLOW_SECT_TOTAL", 2143, true},
    {289, "TAVX_FLOW_TOTAL_CHECK_Tur", "FLOW_TUR_WASTE_HOME", 9338, false},
    {290, "TAVX_FLOW_TOTAL_CHECK_Iski", "FLOW_ISKI_PEAK", 11162, false},
}};

namespace {
constexpr const char* kStateDictionary = "TAVX_LSD2";
constexpr int kMsgGroup = 2150;
constexpr int kMsgSelectAll = 2151;
constexpr int kMsgClearAll = 2152;
constexpr int kMsgCalculate = 2154;
}  // namespace

CFlowCalcTotalDlg::CFlowCalcTotalDlg() : CAcUiTabChildDialog(IDD) {
    for (const auto& row : kTotalComponents)
        Map(row.checkId, Notification::Clicked, &CFlowCalcTotalDlg::OnComponentClicked);
    Map(IDC_BUTTON_SELECT_ALL, Notification::Clicked, &CFlowCalcTotalDlg::OnSelectAll);
    Map(IDC_BUTTON_CLEAR_ALL, Notification::Clicked, &CFlowCalcTotalDlg::OnClearAll);
    Map(IDC_BUTTON_CALCULATE, Notification::Clicked, &CFlowCalcTotalDlg::OnCalculate);
}

void CFlowCalcTotalDlg::DoDataExchange(TAVUi::CDataExchange* pDX) {
    for (std::size_t i = 0; i < kTotalComponents.size(); ++i)
        TAVUi::DDX_Check(pDX, kTotalComponents[i].checkId, m_flags[i]);
}

bool CFlowCalcTotalDlg::OnInitDialog() {
    CAcUiTabChildDialog::OnInitDialog();
    Item(IDC_BUTTON_CALCULATE).icon = CModuleConfiguration::GetIcon("FLOW_TOTAL_CALCULATE_24").name;
    Item(IDC_BUTTON_SELECT_ALL).icon = CModuleConfiguration::GetIcon("CHECK_ALL_18").name;
    Item(IDC_BUTTON_CLEAR_ALL).icon = CModuleConfiguration::GetIcon("UNCHECK_ALL_18").name;
    SetDlgItemText(IDC_GROUP_FLOWS, CModuleConfiguration::GetMsg(kMsgGroup));
    SetDlgItemText(IDC_BUTTON_CALCULATE, CModuleConfiguration::GetMsg(kMsgCalculate));
    for (const auto& row : kTotalComponents)
        SetDlgItemText(row.checkId, CModuleConfiguration::GetMsg(row.labelMsg));
    Item(IDC_BUTTON_SELECT_ALL).tooltip = CModuleConfiguration::GetMsg(kMsgSelectAll);
    Item(IDC_BUTTON_CLEAR_ALL).tooltip = CModuleConfiguration::GetMsg(kMsgClearAll);
    Item(IDC_STATIC_STATUS).bold = true;
    Item(IDC_STATIC_STATUS).textColor = kFlowStatusColor;

    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_sections = set.GetSections();
    m_nodes = set.GetNodes();
    LoadState();
    return true;
}

void CFlowCalcTotalDlg::LoadState() {
    CTAVCDictionaryPtr dict(kStateDictionary, AcDb::kForRead);
    for (std::size_t i = 0; i < kTotalComponents.size(); ++i) {
        int value = 0;
        m_flags[i] = dctRead(dict, kTotalComponents[i].stateKey, value, false) ? value : 0;
    }
    UpdateData(false);
    ApplyEnableRule();
}

void CFlowCalcTotalDlg::SaveState() {
    UpdateData(true);
    CTAVCDictionaryPtr dict(kStateDictionary, AcDb::kForRead);
    dict.upgradeOpen();  // 0 or 83: upgraded; the writes follow in every case
    for (std::size_t i = 0; i < kTotalComponents.size(); ++i)
        dctWrite(dict, kTotalComponents[i].stateKey, m_flags[i], false, true, TAVHost::kDictCodeInt16);
}

void CFlowCalcTotalDlg::ApplyEnableRule() {
    bool any = false;
    for (int f : m_flags) any = any || f == 1;
    EnableItem(IDC_BUTTON_CALCULATE, any);
}

void CFlowCalcTotalDlg::OnComponentClicked() {
    UpdateData(true);
    ApplyEnableRule();
}

void CFlowCalcTotalDlg::SetAllFlags(int value) {
    m_flags.fill(value);
    UpdateData(false);
    ApplyEnableRule();
}

void CFlowCalcTotalDlg::OnSelectAll() {
    SetAllFlags(1);
}
void CFlowCalcTotalDlg::OnClearAll() {
    SetAllFlags(0);
}

namespace {

// The seven terms' attributes, their definitions looked up once per calculation.
std::vector<CFlowAttribute> TermAttributes() {
    std::vector<CFlowAttribute> terms;
    for (const auto& row : kTotalComponents) terms.emplace_back(row.attribute);
    return terms;
}

double TotalOf(const std::vector<CFlowAttribute>& terms, const TAVGis::Topology::CSection& section,
               const TotalFlags& flags) {
    double total = 0.0;
    for (std::size_t i = 0; i < kTotalComponents.size(); ++i) {
        if (flags[i] != 1) continue;
        if (kTotalComponents[i].typedGetter) {
            const double v = terms[i].Get(section);
            if (v != kMissingValue) total += v;
        } else {
            TAVGis::Data::CDataBox box;  // a direct read: added when present, whatever it holds
            terms[i].Read(section, box);
            if (box.IsNotNull()) total += box.ToDouble();
        }
    }
    return total;
}

}  // namespace

double CFlowCalcTotalDlg::TotalFlow(const CSectionPtr& section, const TotalFlags& flags) {
    return section ? TotalOf(TermAttributes(), *section, flags) : 0.0;
}

bool CFlowCalcTotalDlg::WriteTotals(const std::vector<CSectionPtr>& sections, const TotalFlags& flags) {
    const auto terms = TermAttributes();
    const CFlowAttribute total("FLOW_TOTAL");
    bool written = false;
    for (const auto& s : sections) {
        if (!s) continue;
        written = total.Set(*s, TotalOf(terms, *s, flags)) != 0;
    }
    return written;
}

void CFlowCalcTotalDlg::OnCalculate() {
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    const bool written = WriteTotals(m_sections, m_flags);
    if (!m_sections.empty() && written) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
    SaveState();
}
