#pragma once
// CFlowCalcRainSimpleDlg: rain flow by the simple intensity method.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/FlowCalcRainSimpleDlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcRainSimpleDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcRainSimpleDlgIds {
public:
    CFlowCalcRainSimpleDlg() : CAdUiBaseDialog(IDD) {}
};
