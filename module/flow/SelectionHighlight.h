#pragma once
// HighlightSelection: how the waste-water dialogs show their selection in the drawing: the whole drawing is
// redrawn without highlighting (redraw mode 4), every selected section is drawn highlighted in the GIS core's
// highlight colour, and the display is updated.
#include <vector>

#include "platform/network/Section.h"

void HighlightSelection(const std::vector<TAVGis::Topology::CSectionPtr>& sections);
