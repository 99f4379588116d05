#include "module/manager/PreviewActions.h"

#include <boost/make_shared.hpp>

#include "module/ui/NumericEdit.h"
#include "platform/gis/DataDefinition.h"
#include "platform/gis/DocLock.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/TAVCEdit.h"
#include "platform/selection/Selector.h"

namespace PreviewActions {

namespace {
constexpr int kMsgNoSelection = 658;

void Highlight(const std::vector<TAVHost::ObjectId>& ids) {
    const int color = TAVGis::CModuleConfiguration::GetHighlightColor();
    for (TAVHost::ObjectId id : ids) acedHighlightEntity(id, color);
}
}  // namespace

TAVGis::Data::CPropertyExGridCtrl* CreateParameterGrid(TAVUi::CAdUiBaseDialog& dialog, int placeholderId,
                                                       int decimals,
                                                       TAVGis::Data::CCallbackItemUpdated* callback) {
    auto* grid = TAVGis::Data::CPropertyExGridCtrl::CreatePropertyGrid(dialog, placeholderId);
    if (!grid) return nullptr;
    grid->SetDoubleValuePrecision(decimals);
    grid->ShowToolBar(false);
    grid->ShowHelp(false);
    grid->SetCallbackUpdate(callback);
    return grid;
}

void ShowParameters(TAVGis::Data::CPropertyExGridCtrl& grid,
                    const TAVGis::Sewage::CFlowCalculatorParametersPtr& parameters) {
    // The aliasing pointer shares the set's ownership.
    grid.SetDataToShow(
        parameters ? boost::shared_ptr<TAVGis::Data::CPropertiesEx>(parameters, &parameters->GetProperties())
                   : boost::shared_ptr<TAVGis::Data::CPropertiesEx>());
}

bool HasSelection(const TAVGis::Selection::CSelectionSetPtr& selection) {
    if (selection) return true;
    acedAlert(TAVGis::CModuleConfiguration::GetMsg(kMsgNoSelection));
    return false;
}

TAVGis::Selection::CSelectionSetPtr RunSelection(const TAVGis::Sewage::IFlowCalculator& calculator,
                                                 const TAVGis::Selection::CSelectionSetPtr& selection) {
    if (calculator.UsesWholeSystem()) {
        auto all = boost::make_shared<TAVGis::Selection::CSelectionSet>();
        TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(*all);
        return all;
    }
    return HasSelection(selection) ? selection : nullptr;
}

TAVGis::Preview::CPreviewDefinitionPtr CalculatorPreview(const TAVGis::Sewage::IFlowCalculator& calculator) {
    const auto own = calculator.GetPreviewDefinition();
    return boost::make_shared<TAVGis::Preview::CPreviewDefinition>(own.name, TAVGis::Data::kEntitySection,
                                                                   own.columns);
}

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
