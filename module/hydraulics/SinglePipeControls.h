#pragma once
// What the individual section page and the hydraulic calculator show alike: the pipe-group combo box and the
// result list of one pipe (two columns, one row per result with its caption, the values with four decimals).
#include <cstdint>
#include <vector>

#include "module/hydraulics/calc/PipeCalculation.h"
#include "platform/network/CatalogItem.h"
#include "platform/ui/Control.h"

namespace SinglePipeControls {

// Fills the combo with the pipe groups that have a usable pipe (CPipeManager::GetPipeGroups, flag 1), each
// with its group as item data, keeps them in `groups` by entry, and selects `storedIndex` when the combo has
// it, else the first entry.
void FillGroups(TAVUi::CControl* combo, std::vector<TAVGis::Data::CCatalogItemPtr>& groups, int storedIndex);

// The results as rows: filling height (mm), filling (%), an empty row, full-bore flow (l/s), flow (%), an
// empty row, partial-fill velocity, full-bore velocity (m/s), velocity (%), and with `rows` 10 the flow time
// (min).
constexpr int kRowsWithoutFlowTime = 9;
constexpr int kRowsWithFlowTime = 10;
void CreateRows(TAVUi::CControl* list, int rows, int columnMsg0, int width0, int columnMsg1, int width1);
void ClearRows(TAVUi::CControl* list);
void ShowRows(TAVUi::CControl* list, const PipeResults& results);

}  // namespace SinglePipeControls
