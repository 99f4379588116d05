#pragma once
// CFlowCalcDlg: waste water by percent of a catchment's population.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CFlowCalcDlg : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 209;
    CFlowCalcDlg() : CAdUiBaseDialog(IDD) {}
};
