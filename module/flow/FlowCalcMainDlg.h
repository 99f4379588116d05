#pragma once
// CFlowCalcMainDlg: the flow main dialog of the command CalcFlowTotal, a tab host with the transit tab and
// the total flow tab. It builds the tabs and sets its texts; closed with Cancel it stores the ticks of both
// tabs (also of a tab never shown). All calculation happens in the tabs.
#include "module/flow/FlowCalcTotalDlg.h"
#include "module/flow/FlowCalcTransitDlg.h"
#include "module/res/FlowCalcMainDlgIds.h"
#include "platform/ui/AcUiTabMainDialog.h"
#include "platform/ui/AdUiTab.h"

class CFlowCalcMainDlg : public TAVUi::CAcUiTabMainDialog, public FlowCalcMainDlgIds {
public:
    CFlowCalcMainDlg();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    CFlowCalcTransitDlg& TransitPage() { return m_transit; }
    CFlowCalcTotalDlg& TotalPage() { return m_total; }

private:
    TAVUi::CAdUiTab m_tab;
    CFlowCalcTransitDlg m_transit;
    CFlowCalcTotalDlg m_total;
};
