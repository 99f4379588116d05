#include "module/flow/SelectionHighlight.h"

#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"

void HighlightSelection(const std::vector<TAVGis::Topology::CSectionPtr>& sections) {
    acedRedraw(nullptr, kRedrawUnhighlight);
    const int color = TAVGis::CModuleConfiguration::GetHighlightColor();
    for (const auto& s : sections)
        if (s) acedHighlightEntity(s->GetObjectId(), color);
    acedUpdateDisplay();
}
