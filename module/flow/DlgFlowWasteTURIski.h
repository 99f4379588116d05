#pragma once
// CDlgFlowWasteTURIski: waste water by the ISKI method.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/DlgFlowWasteTURIskiIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CDlgFlowWasteTURIski : public TAVUi::CAdUiBaseDialog, public DlgFlowWasteTURIskiIds {
public:
    CDlgFlowWasteTURIski() : CAdUiBaseDialog(IDD) {}
};
