#include "module/manager/PreviewActions.h"

#include "module/ui/NumericEdit.h"
#include "platform/gis/DocLock.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/TAVCEdit.h"

namespace PreviewActions {

namespace {
void Highlight(const std::vector<TAVHost::ObjectId>& ids) {
    const int color = TAVGis::CModuleConfiguration::GetHighlightColor();
    for (TAVHost::ObjectId id : ids) acedHighlightEntity(id, color);
}
}  // namespace

double ZoomFactor(CNumericEdit* field, double fallback) {
    const double factor = field ? field->GetValue() : 0.0;
    if (factor > 0.0) return factor;
    if (field) field->SetValue(fallback, true);
    return fallback;
}

void Zoom(const std::vector<TAVHost::ObjectId>& ids, double factor, bool highlight) {
    TAVGis::Utility::CDocLock lock;
    acedRedraw(nullptr, kRedrawUnhighlight);
    if (ids.empty()) return;
    if (highlight) Highlight(ids);
    CTAVCEdit::zoom(ids, factor);
}

void Mark(const std::vector<TAVHost::ObjectId>& ids) {
    TAVGis::Utility::CDocLock lock;
    acedRedraw(nullptr, kRedrawUnhighlight);
    Highlight(ids);
    acedRefreshView();
    acedUpdateDisplay();
}

}  // namespace PreviewActions
