#pragma once
// CFlowCalcRainSimpleDlg: rain flow by the simple intensity method (command CalcRainSimple). The person
// selects sections (all of the active system at first), chooses the standard or the ATV method, types a
// rain intensity (kept as a named parameter set in "ACH_FLOW_CONFIG_DATA_RAIN_SIMPLE") and calculates:
// every section with a corrected catchment area gets FLOW_IDF_INTENSITY and FLOW_RAIN (CSimpleRainFlow),
// every section the set's name ("ACH_PARAM_CONFIG_RAIN_SIMPLE"). The dialog stays open.
// Sections the ATV method cannot give a flow (their frequency or duration is no such thing) are counted
// in alert 3454.
#include "module/data/ConfigSets.h"
#include "module/flow/calc/SimpleRainFlow.h"
#include "module/res/FlowCalcRainSimpleDlgIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CFlowCalcRainSimpleDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcRainSimpleDlgIds {
public:
    static constexpr double kDefaultIntensity = 120.0;  // l/s/ha

    CFlowCalcRainSimpleDlg();

    bool OnInitDialog() override;
    void OnOK() override;  // Calculate: the dialog stays open
    void OnCancel() override;

    SimpleRainInput ReadInput() const;
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    static const CConfigSets& Sets();

private:
    void OnConfigChanged();
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);
    void EnableBySelection(bool enable);

    CNumericEdit* m_intensity = nullptr;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_nodes;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
