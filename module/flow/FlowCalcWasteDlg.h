#pragma once
// CFlowCalcWasteDlg: household and industrial waste water from catchment areas.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/FlowCalcWasteDlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcWasteDlg : public TAVUi::CAdUiBaseDialog, public FlowCalcWasteDlgIds {
public:
    CFlowCalcWasteDlg() : CAdUiBaseDialog(IDD) {}
};
