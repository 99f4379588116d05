#pragma once
// CFlowCalcMainDlg: the flow main dialog hosting the transit and total flow pages.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcMainDlg : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 222;
    CFlowCalcMainDlg() : CAdUiBaseDialog(IDD) {}
};
