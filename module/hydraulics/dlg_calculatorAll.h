#pragma once
// dlg_calculatorAll: the hydraulic calculator, a free-standing dialog that calculates one catalogue pipe for
// typed values or for the values of a section picked in the drawing: the minimum diameter for a flow at a
// slope (and the group's pipe for it), or the minimum slope of the chosen pipe (and a whole-numbered slope
// above it), with the hydraulic results of the choice. It never writes to the drawing; it keeps its inputs
// in the dialog state store (CDialogState) when closed with its Close button. The calculation is
// CHydraulicCalculator; the dialog parses its fields, formats the results and keeps its settings.
//
// Decisions:
// - What the calculator shows when nothing can be calculated: the minimum, the chosen value or the result
//   rows stay empty, as always, and a status line under the results names the reason in words (a missing
//   or non-positive input, no pipe chosen, a minimum the sewage core cannot find, no pipe of the group large
//   enough, a chosen value below the minimum, a flow the pipe cannot carry at the slope); it is empty when
//   the results are shown. No alert interrupts the person.
// - Changing the slope unit converts the typed slope into the new unit, so the slope stays the same; the
//   minimum is then calculated again.
// - In minimum-diameter mode the chosen value is the inner diameter of the pipe chosen in the pipe combo and
//   cannot be typed; in minimum-slope mode it can. Choosing another pipe in minimum-slope mode calculates its
//   minimum slope again (the chosen value there is a slope, not a diameter).
// - A minimum that cannot be calculated also empties the minimum and the chosen value, not only the rows.
// - After the minimum has filled the chosen value, and after a pick, the results or the minimum are
//   calculated at once, as after a person's own change of those fields.
// - A stored group or unit index out of range selects the first entry.
// - Button 9 recalculates the results and says so (message 2213, "Calculate"), not "Help".
#include <string>
#include <vector>

#include "module/hydraulics/SinglePipeControls.h"
#include "module/hydraulics/calc/HydraulicCalculator.h"
#include "module/res/dlg_calculatorAllIds.h"
#include "platform/network/CatalogItem.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class dlg_calculatorAll : public TAVUi::CAdUiBaseDialog, public dlg_calculatorAllIds {
public:
    static constexpr int kTopologyType = 1;
    static constexpr int kSelectionType = 0x8000;
    static constexpr int kResultRows = SinglePipeControls::kRowsWithoutFlowTime;
    static constexpr double kDefaultRoughness = 1.0;      // mm
    static constexpr double kDefaultViscosity = 1.31e-6;  // m2/s

    dlg_calculatorAll();

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // The inputs as the fields show them now.
    CalculatorInputs Inputs() const;

private:
    void ReadState();
    void WriteState();
    void SetTexts();
    void FillGroupCombo();
    void FillPipeCombo();
    void FillUnitCombo();
    void CreateResultRows();
    void ClearResults();
    void ShowStatus(int status);
    void ApplyMode();
    void ComputeMinimum();
    void ComputeResults();
    bool SelectPipe(const std::string& guid);

    void OnModeClicked();
    void OnGroupChanged();
    void OnPipeChanged();
    void OnUnitChanged();
    void OnClose();
    std::intptr_t OnSectionPicked(std::intptr_t, std::intptr_t);

    TAVGis::Data::CCatalogItemPtr SelectedGroup() const;
    TAVGis::Data::CCatalogItemPtr SelectedPipe() const;

    std::vector<TAVGis::Data::CCatalogItemPtr> m_groups;  // by entry of the group combo
    std::vector<TAVGis::Data::CCatalogItemPtr> m_pipes;   // by entry of the pipe combo
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    SlopeUnit m_shownUnit = SlopeUnit::PerMille;  // the unit the slope field shows

    // Settings (stored in the drawing on Close).
    int m_nType = kModeMinimumDiameter;
    double m_dFlow = 0.0;   // l/s, as typed
    double m_dSlope = 0.0;  // per mille
    double m_dRoughness = kDefaultRoughness;
    double m_dViscosity = kDefaultViscosity;
    int m_nCatPipe = 0;
    int m_nSlopeUnit = 0;

    // Field texts pulled by the data exchange.
    std::string m_strFlow;
    std::string m_strSlope;
    std::string m_strRoughness;
    std::string m_strViscosity;
};
