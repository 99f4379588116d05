#pragma once
// CFlowAdditionalDlg: additional, foreign, point and user flows (command CalcFlowAdditional). The person
// ticks the kinds of flow to write, chooses their methods, types the values (kept as named parameter sets
// in "ACH_FLOW_CONFIG_DATA_ADD") and saves them on the current section or on every selected section
// (CAdditionalFlows); each section is tagged with the set's name ("ACH_PARAM_CONFIG_ADD"). The checks and
// radio choices are kept in the dialog state and saved when the dialog closes. Navigation, zoom and show
// through CFlowSectionNavigator.
//
// Choosing a parameter set fills all seven values of the set (its specific flow and user flow too), so a
// save after choosing a set never stores the set back with values it did not hold.
#include <array>

#include "module/data/ConfigSets.h"
#include "module/flow/FlowSectionNavigator.h"
#include "module/flow/calc/AdditionalFlows.h"
#include "module/res/FlowAdditionalDlgIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CFlowAdditionalDlg : public TAVUi::CAdUiBaseDialog, public FlowAdditionalDlgIds {
public:
    CFlowAdditionalDlg();

    bool OnInitDialog() override;
    void OnOK() override;      // Save data: the dialog stays open
    void OnCancel() override;  // saves the state, redraws, closes

    AdditionalFlowsInput ReadInput() const;
    const CFlowSectionNavigator& Navigator() const { return m_navigator; }
    // The parameter-set document attributes, in the order they are written.
    static const CConfigSets& Sets();

private:
    void OnConfigChanged();
    void ApplyEnabling();
    void OnPrevious() { m_navigator.Previous(); }
    void OnNext() { m_navigator.Next(); }
    void OnModeChanged() { m_navigator.ModeChanged(); }
    void OnShow() { m_navigator.Show(); }
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);
    void EnableBySelection(bool enable);
    void SaveState();

    std::array<CNumericEdit*, 7> m_edits{};  // in the order of the set's attributes
    CFlowSectionNavigator m_navigator;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
