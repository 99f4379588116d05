#include "platform/host/TAVCEdit.h"

#include <cmath>

#include "platform/host/Document.h"

bool CTAVCEdit::zoom(const std::vector<TAVHost::ObjectId>& ids, double factor) {
    auto* doc = acDocManagerPtr()->curDocument();
    if (!doc || ids.empty() || !std::isfinite(factor) || factor <= 0.0) return false;
    auto& editor = doc->Editor();
    editor.lastZoomIds = ids;
    editor.lastZoomFactor = factor;
    ++editor.zoomCount;
    return true;
}

bool CTAVCEdit::zoom(TAVHost::ObjectId id, double factor) {
    return zoom(std::vector<TAVHost::ObjectId>{id}, factor);
}
