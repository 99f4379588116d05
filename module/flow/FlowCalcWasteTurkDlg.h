#pragma once
// CFlowCalcWasteTurkDlg: Turkish waste water with the peak coefficient.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/FlowCalcWasteTurkDlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcWasteTurkDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcWasteTurkDlgIds {
public:
    CFlowCalcWasteTurkDlg() : CAdUiBaseDialog(IDD) {}
};
