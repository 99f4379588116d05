#pragma once
// CFlowCalcWasteTurkDlg: Turkish waste water with the peak coefficient.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcWasteTurkDlg : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 337;
    CFlowCalcWasteTurkDlg() : CAdUiBaseDialog(IDD) {}
};
