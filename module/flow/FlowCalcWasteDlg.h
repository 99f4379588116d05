#pragma once
// CFlowCalcWasteDlg: household and industrial waste water from the catchment areas (command
// CalcWasteWaterArea). The person selects sections (all of the active system at first), ticks the flows to
// write with their coefficients kH and kI (kept as named parameter sets in "ACH_FLOW_CONFIG_DATA_AREA"),
// chooses the general or the Bulgarian standard and saves: CWasteWaterArea writes the flows, each section
// handled gets the set's name ("ACH_PARAM_CONFIG_AREA"). The dialog stays open for further saves. The two
// switches are not kept: both are off when the dialog opens.
#include <vector>

#include "module/data/ConfigSets.h"
#include "module/flow/calc/WasteWaterArea.h"
#include "module/res/FlowCalcWasteDlgIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CFlowCalcWasteDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcWasteDlgIds {
public:
    static constexpr const char* kBulgarianEntry = "BLG";
    static constexpr int kMsgMissingFactor = 6131;
    static constexpr int kMsgNothingWritten = 61031;

    CFlowCalcWasteDlg();

    bool OnInitDialog() override;
    void OnOK() override;  // Save: the dialog stays open
    void OnCancel() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    WasteWaterAreaInput ReadInput() const;
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    static const CConfigSets& Sets();

private:
    void OnConfigChanged();
    void OnSwitchClicked();
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);
    void EnableControls(bool enable);
    void ApplySwitches();

    CNumericEdit* m_home = nullptr;
    CNumericEdit* m_industrial = nullptr;
    int m_household = 0;
    int m_industry = 0;
    bool m_enabled = false;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
