#pragma once
// CFlowCalcTransitDlg: the transit tab of the flow main dialog. The person ticks the components of the
// sections' own flow; the calculation writes each section's own flow (FLOW_SECT_TOTAL) and carries it
// downstream into FLOW_TRANSIT (CTransitAccumulation), asking for the main direction at a division that
// neither a stored MAIN_SECT_OUT nor the pipe diameters decide. The ticks are kept in the drawing.
#include <vector>

#include "module/flow/TransitAccumulation.h"
#include "platform/ui/AcUiTabChildDialog.h"

class CFlowCalcTransitDlg : public TAVUi::CAcUiTabChildDialog {
public:
    static constexpr int IDD = 220;
    static constexpr int IDC_GROUP_FLOWS = 287;
    static constexpr int IDC_BUTTON_SELECT_ALL = 279;
    static constexpr int IDC_BUTTON_CLEAR_ALL = 280;
    static constexpr int IDC_BUTTON_CALCULATE = TAVUi::IDOK;
    static constexpr int IDC_STATIC_STATUS = 286;

    CFlowCalcTransitDlg();

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // Reads the ten flags from the drawing (default 0), shows them and applies the enable rule.
    void LoadState();
    // Takes the check boxes into the flags and writes the ten keys.
    void SaveState();

    const TransitFlags& Flags() const { return m_flags; }
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    const TransitResult& LastResult() const { return m_lastResult; }

private:
    void OnComponentClicked();
    void OnSelectAll();
    void OnClearAll();
    void OnCalculate();
    void SetAllFlags(int value);
    void ApplyEnableRule();
    // Hides the main dialog, zooms to the outgoing sections and lets the person pick the main direction.
    TAVGis::Topology::CSectionPtr AskDirection(const TAVGis::Topology::CNodePtr& node,
                                               const std::vector<TAVGis::Topology::CSectionPtr>& outgoing);

    TransitFlags m_flags{};
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_nodes;
    MainDirectionMap m_mainDirections;
    TransitResult m_lastResult;
};
