#pragma once
// CDlgFlowWasteUneven: uneven waste-water flow along traced flow paths.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CDlgFlowWasteUneven : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 336;
    CDlgFlowWasteUneven() : CAdUiBaseDialog(IDD) {}
};
