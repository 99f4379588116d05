#include "module/hydraulics/SinglePipeControls.h"

#include <optional>

#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "platform/network/PipeManager.h"

using TAVGis::CModuleConfiguration;

namespace {
// Row captions (0: an empty row).
constexpr int kRowMsgs[SinglePipeControls::kRowsWithFlowTime] = {2196, 2197, 0,    2198, 2199,
                                                                 0,    2200, 2201, 2202, 7737};
constexpr int kValueDecimals = 4;
}  // namespace

namespace SinglePipeControls {

void FillGroups(TAVUi::CControl* combo, std::vector<TAVGis::Data::CCatalogItemPtr>& groups, int storedIndex) {
    groups.clear();
    if (!combo) return;
    combo->ResetContent();
    std::vector<TAVGis::Data::CCatalogItemPtr> all;
    TAVGis::Data::CPipeManager::GetInstance()->GetPipeGroups(all, TAVGis::Data::CPipeManager::kUsableOnly);
    for (const auto& g : all) {
        if (!g) break;
        combo->AddString(g->GetName(), reinterpret_cast<std::uintptr_t>(g.get()));
        groups.push_back(g);
    }
    if (groups.empty()) return;
    const int count = static_cast<int>(groups.size());
    combo->SetCurSel(storedIndex >= 0 && storedIndex < count ? storedIndex : 0);
}

void CreateRows(TAVUi::CControl* list, int rows, int columnMsg0, int width0, int columnMsg1, int width1) {
    if (!list || !list->columns.empty()) return;
    list->InsertColumn(0, CModuleConfiguration::GetMsg(columnMsg0), width0);
    list->InsertColumn(1, CModuleConfiguration::GetMsg(columnMsg1), width1);
    for (int r = 0; r < rows && r < kRowsWithFlowTime; ++r)
        list->InsertItem(r, kRowMsgs[r] ? CModuleConfiguration::GetMsg(kRowMsgs[r]) : std::string());
}

void ClearRows(TAVUi::CControl* list) {
    if (!list) return;
    for (int r = 0; r < list->GetItemCount(); ++r) list->SetItemText(r, 1, "");
}

void ShowRows(TAVUi::CControl* list, const PipeResults& r) {
    ClearRows(list);
    if (!list || !r.Computed()) return;
    const std::optional<double> values[kRowsWithFlowTime] = {
        r.fillingHeight, r.fillingPercent,  std::nullopt,   r.fullFlow,        r.flowPercent,
        std::nullopt,    r.partialVelocity, r.fullVelocity, r.velocityPercent, r.flowTime};
    for (int row = 0; row < kRowsWithFlowTime && row < list->GetItemCount(); ++row)
        if (values[row]) list->SetItemText(row, 1, TAVHost::NumberText::Fixed(*values[row], kValueDecimals));
}

}  // namespace SinglePipeControls
