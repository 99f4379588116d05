#pragma once
// CDlgFlowWasteUneven: uneven waste-water flow along traced flow paths.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/DlgFlowWasteUnevenIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CDlgFlowWasteUneven : public TAVUi::CAdUiBaseDialog, public DlgFlowWasteUnevenIds {
public:
    CDlgFlowWasteUneven() : CAdUiBaseDialog(IDD) {}
};
