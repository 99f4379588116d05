#pragma once
// CFlowCalcTotalDlg: the total flow tab of the flow main dialog. The person ticks the results to add up;
// the calculation (CTotalFlow) writes their sum as every section's FLOW_TOTAL, the flow the pipes are
// dimensioned for. The ticks are kept in the drawing.
#include <vector>

#include "module/flow/FlowComponentsTab.h"
#include "module/flow/calc/TotalFlow.h"
#include "module/res/FlowCalcTotalDlgIds.h"

class CFlowCalcTotalDlg : public CFlowComponentsTab, public FlowCalcTotalDlgIds {
public:
    CFlowCalcTotalDlg();

    bool OnInitDialog() override;

    CTotalFlow::Flags Flags() const { return TicksAs<CTotalFlow::Flags>(); }
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }

private:
    void OnCalculate();

    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_nodes;  // kept with the selection; the calculation needs none
};
