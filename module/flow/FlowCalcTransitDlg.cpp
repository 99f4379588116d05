#include "module/flow/FlowCalcTransitDlg.h"

#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/TAVCEdit.h"
#include "platform/selection/Selector.h"
#include "platform/ui/AcUiTabMainDialog.h"

using TAVGis::CModuleConfiguration;
using TAVGis::Topology::CNodePtr;
using TAVGis::Topology::CSectionPtr;
using TAVUi::Notification;

namespace {

// Rows in the calculation's order of summation.
constexpr std::array<FlowComponentControl, CTransitAccumulation::kComponentCount> kTransitControls = {{
    {CFlowCalcTransitDlg::IDC_CHECK_ADDITIONAL, "TAVX_FLOW_TRANSIT_CHECK_Additional", 2139,
     "FLOW_ADDITIONAL"},
    {CFlowCalcTransitDlg::IDC_CHECK_HOME_AREA, "TAVX_FLOW_TRANSIT_CHECK_HomeArea", 2148, "FLOW_WASTE_HOME"},
    {CFlowCalcTransitDlg::IDC_CHECK_HOME_PERCENT, "TAVX_FLOW_TRANSIT_CHECK_HomePercent", 2147,
     "FLOW_WASTE_PER"},
    {CFlowCalcTransitDlg::IDC_CHECK_IND, "TAVX_FLOW_TRANSIT_CHECK_Ind", 2149, "FLOW_WASTE_IND"},
    {CFlowCalcTransitDlg::IDC_CHECK_SIMPLE, "TAVX_FLOW_TRANSIT_CHECK_Simple", 2129, "FLOW_RAIN"},
    {CFlowCalcTransitDlg::IDC_CHECK_STRANE, "TAVX_FLOW_TRANSIT_CHECK_Strane", 2132, "FLOW_FOREIGN"},
    {CFlowCalcTransitDlg::IDC_CHECK_TOCKASTI, "TAVX_FLOW_TRANSIT_CHECK_Tockasti", 2136, "FLOW_POINT"},
    {CFlowCalcTransitDlg::IDC_CHECK_USER, "TAVX_FLOW_TRANSIT_CHECK_User", 2141, "FLOW_USER"},
    {CFlowCalcTransitDlg::IDC_CHECK_WASTE_IND_TUR, "TAVX_FLOW_TRANSIT_CHECK_WasteIndTur", 9339,
     "FLOW_TUR_WASTE_IND"},
    {CFlowCalcTransitDlg::IDC_CHECK_INFILTRATION, "TAVX_FLOW_TRANSIT_CHECK_Infiltration", 9340,
     "FLOW_TUR_WASTE_INF"},
}};
static_assert(RowsLineUp(kTransitControls, CTransitAccumulation::kComponents));

constexpr int kMsgWindowText = 2430;
constexpr int kMsgCalculate = 2153;
constexpr int kMsgClosedLoop = 688;
constexpr double kDirectionZoomFactor = 3.0;
}  // namespace

CFlowCalcTransitDlg::CFlowCalcTransitDlg()
    : CFlowComponentsTab(
          IDD, kTransitControls,
          {IDC_GROUP_FLOWS, IDC_BUTTON_SELECT_ALL, IDC_BUTTON_CLEAR_ALL, TAVUi::IDOK, IDC_STATIC_STATUS}) {
    Map(TAVUi::IDOK, Notification::Clicked, &CFlowCalcTransitDlg::OnCalculate);
}

bool CFlowCalcTransitDlg::OnInitDialog() {
    CAcUiTabChildDialog::OnInitDialog();
    // Every section of a sewage system, and every node, in the order the selection gives them.
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectAllElements(set, 1);
    m_sections.clear();
    for (const auto& s : set.GetSections())
        if (s && s->GetSystem() &&
            s->GetSystem()->GetSystemFunction() == TAVGis::System::kSystemFunctionSewage)
            m_sections.push_back(s);
    m_nodes = set.GetNodes();

    SetWindowText(CModuleConfiguration::GetMsg(kMsgWindowText));
    SetUpControls("FLOW_TRANSIT_CALCULATE_24", kMsgCalculate);
    LoadState();
    return true;
}

CSectionPtr CFlowCalcTransitDlg::AskDirection(const CNodePtr& node,
                                              const std::vector<CSectionPtr>& outgoing) {
    TAVUi::CAdUiBaseDialog* main = TabMain() ? static_cast<TAVUi::CAdUiBaseDialog*>(TabMain()) : Parent();
    if (main) main->ShowWindow(false);
    std::vector<TAVHost::ObjectId> ids;
    for (const auto& s : outgoing) ids.push_back(s->GetObjectId());
    CTAVCEdit::zoom(ids, kDirectionZoomFactor);
    CSectionPtr picked = TAVGis::Selection::CSelector::LoopInstance()->selectDirection(node);
    if (main) {
        main->ShowWindow(true);
        main->EnableWindow(true);
    }
    return picked;
}

void CFlowCalcTransitDlg::OnCalculate() {
    UpdateData(true);
    ClearStatus();
    m_lastResult =
        CTransitAccumulation::Run(m_sections, m_nodes, m_mainDirections, Flags(),
                                  [this](const CNodePtr& node, const std::vector<CSectionPtr>& outgoing) {
                                      return AskDirection(node, outgoing);
                                  });
    if (m_lastResult.loop) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgClosedLoop));
        return;
    }
    if (!m_lastResult.notFinite.Empty()) acedAlert(m_lastResult.notFinite.AlertText());
    if (m_lastResult.written) ShowWritten();
    SaveState();
}
