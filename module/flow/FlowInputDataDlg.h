#pragma once
// CFlowInputDataDlg: per-section input data of the flow methods (command InputSewageData). A list of
// eleven rows (name, value, a check box per row; two separators) whose value cells the person edits in
// place; Save data writes the ticked rows (CFlowInputData) on the current section or on every selected
// section. The value texts are kept in the dialog state ("TAVX_FLOW_INPUT_DATA_<n>"). Navigation, zoom and
// show as in the additional-flows dialog (CFlowSectionNavigator).
//
// A ticked value that is not a number, or a negative area exponent, stops the save before anything is
// written to the sections (alert 3452 naming the row, or 3453); the texts are stored all the same, so
// nothing typed is lost.
#include <memory>
#include <optional>

#include "module/flow/FlowSectionNavigator.h"
#include "module/flow/calc/FlowInputData.h"
#include "module/res/FlowInputDataDlgIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AdUiBaseDialog.h"
#include "platform/ui/EditableList.h"

class CFlowInputDataDlg : public TAVUi::CAdUiBaseDialog, public FlowInputDataDlgIds {
public:
    static constexpr const char* kSeparatorText = "========================================================";

    CFlowInputDataDlg();

    bool OnInitDialog() override;
    void OnCancel() override;

    TAVUi::CEditableList* List() const { return m_list; }
    const CFlowSectionNavigator& Navigator() const { return m_navigator; }
    // The ticked rows' values as the calculation takes them; empty (and the alert shown) when a ticked
    // row holds no number or the area exponent is negative.
    std::optional<CFlowInputData::Values> ReadValues();

private:
    void OnRowSelected();
    void OnSave();
    void OnPrevious() { m_navigator.Previous(); }
    void OnNext() { m_navigator.Next(); }
    void OnModeChanged() { m_navigator.ModeChanged(); }
    void OnShow() { m_navigator.Show(); }
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);
    void StoreTexts();

    TAVUi::CEditableList* m_list = nullptr;
    CFlowSectionNavigator m_navigator;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
};
