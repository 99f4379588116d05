#pragma once
// The steps the flow calculations manager and the ISKI waste-water dialog share around a calculator, its
// parameter grid and its preview list: the grid and the parameter set it shows, the selection a run or an
// input-data step works on, the calculator's own preview, and what
// the "Z" (zoom) and "M" (mark) buttons do with the entities of the marked rows. Zoom and mark work under
// the document lock, remove every highlight first (redraw mode 4) and highlight in the platform's highlight
// colour (CModuleConfiguration::GetHighlightColor).
#include <vector>

#include "platform/host/Database.h"
#include "platform/selection/PreviewDefinition.h"
#include "platform/selection/SelectionSet.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/PropertyExGridCtrl.h"

class CNumericEdit;

namespace PreviewActions {

// Creates the parameter grid in the placeholder: numbers with `decimals` decimals, no tool bar or help
// pane, edits reported to `callback`; null when the dialog has no such control.
TAVGis::Data::CPropertyExGridCtrl* CreateParameterGrid(TAVUi::CAdUiBaseDialog& dialog, int placeholderId,
                                                       int decimals,
                                                       TAVGis::Data::CCallbackItemUpdated* callback);
// Shows the set's own property list in the grid (the set itself, kept alive while shown); null empties it.
void ShowParameters(TAVGis::Data::CPropertyExGridCtrl& grid,
                    const TAVGis::Sewage::CFlowCalculatorParametersPtr& parameters);

// True when there is a selection; else alerts with message 658.
bool HasSelection(const TAVGis::Selection::CSelectionSetPtr& selection);
// The sections a run works on: a new set of the whole active system for a calculator that works on it,
// else `selection`; null (after the alert of HasSelection) when there is none.
TAVGis::Selection::CSelectionSetPtr RunSelection(const TAVGis::Sewage::IFlowCalculator& calculator,
                                                 const TAVGis::Selection::CSelectionSetPtr& selection);
// The calculator's own preview (its name and columns) as a definition for sections.
TAVGis::Preview::CPreviewDefinitionPtr CalculatorPreview(const TAVGis::Sewage::IFlowCalculator& calculator);

// The zoom factor typed in the field; a field that is not a positive number (or no field) gives `fallback`,
// which the field then shows.
double ZoomFactor(CNumericEdit* field, double fallback);

// Zooms to the entities with the factor (CTAVCEdit::zoom), highlighting them first when asked; nothing
// happens without entities.
void Zoom(const std::vector<TAVHost::ObjectId>& ids, double factor, bool highlight);
// Highlights the entities and updates the display.
void Mark(const std::vector<TAVHost::ObjectId>& ids);

}  // namespace PreviewActions
