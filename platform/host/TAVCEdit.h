#pragma once
// CTAVCEdit: the drawing wrapper's view operations. zoom shows the given entities with a margin: the view
// is fitted to their extents and then widened by the factor (1.0 fits exactly, 2.0 shows twice the extents).
//
// Decisions:
// - The view itself belongs to the host; what a zoom asked for is recorded in the current document's
//   EditorState (lastZoomIds, lastZoomFactor, zoomCount), which a desktop host turns into a view change.
// - A zoom with no identifiers, without a current document, or with a factor that is not a positive
//   finite number does nothing and answers false.
#include <vector>

#include "platform/host/Database.h"

class CTAVCEdit {
public:
    static bool zoom(const std::vector<TAVHost::ObjectId>& ids, double factor);
    static bool zoom(TAVHost::ObjectId id, double factor);
};
