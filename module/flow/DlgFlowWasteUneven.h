#pragma once
// CDlgFlowWasteUneven: uneven waste water with the Fedorov coefficient (command CalcWasteWaterUneven). The
// person selects sections (none selected: the whole active system), types the consumption and the outflow
// duration, chooses where the populations come from (the sections' FLOW_SECTION_POPULATION, or N, p and T
// spread over the selection) and calculates (CUnevenWasteWater); the dialog stays open. At a division
// without a main outlet the dialog hides while the person picks the direction in the drawing. The values
// are kept in the drawing (TAVX_LSD2) after each calculation and on Close.
#include <vector>

#include "module/flow/calc/UnevenWasteWater.h"
#include "module/res/DlgFlowWasteUnevenIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CDlgFlowWasteUneven : public TAVUi::CAdUiBaseDialog, public DlgFlowWasteUnevenIds {
public:
    CDlgFlowWasteUneven();

    bool OnInitDialog() override;
    void OnOK() override;      // Calculate: the dialog stays open
    void OnCancel() override;  // Close: the values are kept

    // The inputs as the controls hold them.
    UnevenWasteWaterInput ReadInput() const;
    const UnevenWasteWaterResult& LastResult() const { return m_lastResult; }
    const MainDirectionMap& MainOutlets() const { return m_mainOutlets; }

private:
    void OnModeChanged();
    void ApplyMode();
    void SaveState();
    // Hides the dialog, zooms to the outgoing sections and lets the person pick the main outlet at a node.
    TAVGis::Topology::CSectionPtr AskDirection(const TAVGis::Topology::CNodePtr& node,
                                               const std::vector<TAVGis::Topology::CSectionPtr>& outgoing);

    CNumericEdit* m_edWaterAmount = nullptr;
    CNumericEdit* m_edFlowTime = nullptr;
    CNumericEdit* m_edPopulation = nullptr;
    CNumericEdit* m_edIncrement = nullptr;
    CNumericEdit* m_edPeriod = nullptr;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    MainDirectionMap m_mainOutlets;  // node -> main outlet, for the dialog's lifetime
    UnevenWasteWaterResult m_lastResult;
};
