#pragma once
// CDlgFlowWasteTURIski: waste water by the ISKI method.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CDlgFlowWasteTURIski : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 350;
    CDlgFlowWasteTURIski() : CAdUiBaseDialog(IDD) {}
};
