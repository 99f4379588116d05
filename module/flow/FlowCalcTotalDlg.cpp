#include "module/flow/FlowCalcTotalDlg.h"

#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVUi::Notification;

namespace {

// Rows in the calculation's order of summation. The key of the BLG row ends in "Retardacija": drawings
// keep their ticks under that key.
constexpr std::array<FlowComponentControl, CTotalFlow::kComponentCount> kTotalControls = {{
    {CFlowCalcTotalDlg::IDC_CHECK_ITP, "TAVX_FLOW_TOTAL_CHECK_ITP", 2145, "FLOW_RAIN_IDF"},
    {CFlowCalcTotalDlg::IDC_CHECK_BLG, "TAVX_FLOW_TOTAL_CHECK_Retardacija", 8939, "FLOW_WASTE_HOME_BG"},
    {CFlowCalcTotalDlg::IDC_CHECK_UNEVEN, "TAVX_FLOW_TOTAL_CHECK_Uneven", 9010, "FLOW_WASTE_UNEVEN"},
    {CFlowCalcTotalDlg::IDC_CHECK_TRANZIT, "TAVX_FLOW_TOTAL_CHECK_Tranzit", 2144, "FLOW_TRANSIT"},
    {CFlowCalcTotalDlg::IDC_CHECK_VLASTITI, "TAVX_FLOW_TOTAL_CHECK_Vlastiti", 2143, "FLOW_SECT_TOTAL"},
    {CFlowCalcTotalDlg::IDC_CHECK_TUR, "TAVX_FLOW_TOTAL_CHECK_Tur", 9338, "FLOW_TUR_WASTE_HOME"},
    {CFlowCalcTotalDlg::IDC_CHECK_ISKI, "TAVX_FLOW_TOTAL_CHECK_Iski", 11162, "FLOW_ISKI_PEAK"},
}};
static_assert(RowsLineUp(kTotalControls, CTotalFlow::kComponents));

constexpr int kMsgCalculate = 2154;

}  // namespace

CFlowCalcTotalDlg::CFlowCalcTotalDlg()
    : CFlowComponentsTab(IDD, kTotalControls,
                         {IDC_GROUP_FLOWS, IDC_BUTTON_SELECT_ALL, IDC_BUTTON_CLEAR_ALL, IDC_BUTTON_CALC_TOTAL,
                          IDC_STATIC_STATUS}) {
    Map(IDC_BUTTON_CALC_TOTAL, Notification::Clicked, &CFlowCalcTotalDlg::OnCalculate);
}

bool CFlowCalcTotalDlg::OnInitDialog() {
    CAcUiTabChildDialog::OnInitDialog();
    SetUpControls("FLOW_TOTAL_CALCULATE_24", kMsgCalculate);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_sections = set.GetSections();
    m_nodes = set.GetNodes();
    LoadState();
    return true;
}

void CFlowCalcTotalDlg::OnCalculate() {
    UpdateData(true);
    ClearStatus();
    CNonFiniteValues notFinite;
    const bool written = CTotalFlow::Write(m_sections, Flags(), &notFinite);
    if (!notFinite.Empty()) acedAlert(notFinite.AlertText());
    if (!m_sections.empty() && written) ShowWritten();
    SaveState();
}
