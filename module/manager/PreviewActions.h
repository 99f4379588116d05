#pragma once
// What the "Z" (zoom) and "M" (mark) buttons beside a preview list do with the entities of its marked rows,
// shared by the flow calculations manager and the ISKI waste-water dialog. Both work under the document
// lock, remove every highlight first (redraw mode 4) and highlight in the platform's highlight colour
// (CModuleConfiguration::GetHighlightColor).
#include <vector>

#include "platform/host/Database.h"

class CNumericEdit;

namespace PreviewActions {

// The zoom factor typed in the field; a field that is not a positive number (or no field) gives `fallback`,
// which the field then shows.
double ZoomFactor(CNumericEdit* field, double fallback);

// Zooms to the entities with the factor (CTAVCEdit::zoom), highlighting them first when asked; nothing
// happens without entities.
void Zoom(const std::vector<TAVHost::ObjectId>& ids, double factor, bool highlight);
// Highlights the entities and updates the display.
void Mark(const std::vector<TAVHost::ObjectId>& ids);

}  // namespace PreviewActions
