#pragma once
// CFlowCalcWasteTurkDlg: waste water by the Turkish method (command CalcWasteWaterTurkish). The person
// selects sections (all of the active system at first), ticks the flows to write (household with the Babbitt
// coefficient, industrial, infiltration), types the consumption q and the industrial peak factor F, chooses
// the industrial consumption coefficient ("0.5", "1.0", "1.5") and saves: the three values are kept as a
// named parameter set in "ACH_FLOW_CONFIG_DATA_AREA_TURK" (no section tags) and CTurkishWasteWater writes the
// flows. The dialog stays open for further saves; the switches are not kept (all off when it opens).
//
// The handlers write entry and exit lines to the function-trace log while logging is on, under the names
// "CFlowCalcWasteTurkDlg::<handler>"; the save also logs "Calculation..." and a failed check for each flow
// attribute the schema does not define ("pDDefHome != 0", "pDDefInd != 0", "pDDefInfiltration != 0").
#include <vector>

#include "module/data/ConfigSets.h"
#include "module/flow/calc/TurkishWasteWater.h"
#include "module/res/FlowCalcWasteTurkDlgIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CFlowCalcWasteTurkDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcWasteTurkDlgIds {
public:
    CFlowCalcWasteTurkDlg();

    bool OnInitDialog() override;
    void OnCancel() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // The calculation's input as the controls hold it.
    TurkishWasteWaterInput ReadInput() const;
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    static const CConfigSets& Sets();

private:
    void InitEdit();
    void LoadConfigs();
    void ApplyRecord(const CConfigSets::Record& record);
    void OnSelchangeComboConfig();
    void OnCheckHome();
    void OnCheckInd();
    std::intptr_t OnButtonSel(std::intptr_t, std::intptr_t);
    void OnBnClickedBtnSave();
    void EnableControls(bool enable);
    void ApplySwitches();

    CNumericEdit* m_consumption = nullptr;
    CNumericEdit* m_peak = nullptr;
    int m_household = 0;
    int m_industry = 0;
    int m_infiltration = 0;
    bool m_enabled = false;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
