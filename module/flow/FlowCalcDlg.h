#pragma once
// CFlowCalcDlg: waste water by percent of a catchment's population (command CalcWasteWaterPercent). The
// person selects sections (all of the active system at first), chooses or types a parameter set, previews
// the flows and saves: the set is stored in the drawing, every selected section gets SPECIFIC_FLOW and
// FLOW_WASTE_PER (CWasteWaterPercent) and the set's name as its tag. The dialog stays open for further
// saves.
#include <array>
#include <memory>
#include <vector>

#include "module/data/ConfigSets.h"
#include "module/flow/calc/WasteWaterPercent.h"
#include "module/res/FlowCalcDlgIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CFlowCalcDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcDlgIds {
public:
    static constexpr int kResultRows = 16;
    static constexpr const char* kSeparatorRow = "================================================";

    CFlowCalcDlg();

    bool OnInitDialog() override;
    void OnOK() override;      // Save: the dialog stays open
    void OnCancel() override;  // Close
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // The nine parameters and the two switches as the controls hold them.
    WasteWaterPercentInput ReadInput() const;
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    // The parameter-set document attributes, in the order they are written.
    static const CConfigSets& Sets();

private:
    void OnConfigChanged();
    void OnPreview();
    void OnRomanianClicked();
    void OnFedorovClicked();
    void OnInputChanged();
    void OnResultKey();
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);

    void ApplyRecord(const CConfigSets::Record& record);
    void EnableInputs(bool enable);
    void ApplyRomanianRule();
    void ShowResult(const WasteWaterPercentResult& r, const WasteWaterPercentInput& in);
    void CopySelectedRows();

    std::array<CNumericEdit*, 9> m_edits{};
    int m_romanian = 0;
    int m_fedorov = 0;
    bool m_inputsEnabled = false;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
