#pragma once
// CFlowCalcTransitDlg: the transit tab of the flow main dialog. The person ticks the components of the
// sections' own flow; the calculation (CTransitAccumulation) writes each section's own flow
// (FLOW_SECT_TOTAL) and carries it downstream into FLOW_TRANSIT. The tab asks for the main direction at
// a division that neither a stored MAIN_SECT_OUT nor the pipe diameters decide. The ticks are kept in the
// drawing.
#include <vector>

#include "module/flow/FlowComponentsTab.h"
#include "module/flow/calc/TransitAccumulation.h"
#include "module/res/FlowCalcTransitDlgIds.h"

class CFlowCalcTransitDlg : public CFlowComponentsTab, public FlowCalcTransitDlgIds {
public:
    CFlowCalcTransitDlg();

    bool OnInitDialog() override;

    CTransitAccumulation::Flags Flags() const { return TicksAs<CTransitAccumulation::Flags>(); }
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    const TransitResult& LastResult() const { return m_lastResult; }

private:
    void OnCalculate();
    // Hides the main dialog, zooms to the outgoing sections and lets the person pick the main direction.
    TAVGis::Topology::CSectionPtr AskDirection(const TAVGis::Topology::CNodePtr& node,
                                               const std::vector<TAVGis::Topology::CSectionPtr>& outgoing);

    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_nodes;
    MainDirectionMap m_mainDirections;
    TransitResult m_lastResult;
};
