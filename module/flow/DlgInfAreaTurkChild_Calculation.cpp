#include "module/flow/DlgInfAreaTurkChild_Calculation.h"

#include <string>

#include "module/flow/FlowStatusLine.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kMsgPointFlow = 10672;
constexpr int kMsgCalculate = 3085;
}  // namespace

CDlgInfAreaTurkChild_Calculation::CDlgInfAreaTurkChild_Calculation() : CAcUiTabChildDialog(IDD) {
    Map(IDC_BUTTON_CALCULATE, Notification::Clicked, &CDlgInfAreaTurkChild_Calculation::OnCalculate);
}

void CDlgInfAreaTurkChild_Calculation::DoDataExchange(TAVUi::CDataExchange* pDX) {
    TAVUi::DDX_Check(pDX, IDC_CHECK_POINT_FLOW, m_pointFlow);
}

bool CDlgInfAreaTurkChild_Calculation::OnInitDialog() {
    CAcUiTabChildDialog::OnInitDialog();
    m_pointFlow = 0;
    UpdateData(false);
    SetDlgItemText(IDC_CHECK_POINT_FLOW, CModuleConfiguration::GetMsg(kMsgPointFlow));
    SetDlgItemText(IDC_BUTTON_CALCULATE, CModuleConfiguration::GetMsg(kMsgCalculate));
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    return true;
}

void CDlgInfAreaTurkChild_Calculation::OnCalculate() {
    UpdateData(true);
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_lastResult = CInfluenceAreasTurkish::Calculate(set.GetSections(), m_pointFlow == 1);
    if (m_lastResult.MissingParameters()) {
        acedAlert(CModuleConfiguration::GetMsg(CInfluenceAreasTurkish::kMsgParametersMissing) + " " +
                  m_lastResult.firstMissingSection +
                  (m_lastResult.sectionsMissingParameters > 1
                       ? " and " + std::to_string(m_lastResult.sectionsMissingParameters - 1) + " more"
                       : std::string()));
        return;
    }
    if (!m_lastResult.notFinite.Empty()) acedAlert(m_lastResult.notFinite.AlertText());
    if (m_lastResult.logged) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
}
