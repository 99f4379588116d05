#pragma once
// CFlowCalcWasteDlg: household and industrial waste water from catchment areas.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcWasteDlg : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 217;
    CFlowCalcWasteDlg() : CAdUiBaseDialog(IDD) {}
};
