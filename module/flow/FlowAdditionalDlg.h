#pragma once
// CFlowAdditionalDlg: additional, foreign, point and user flows.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CFlowAdditionalDlg : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 219;
    CFlowAdditionalDlg() : CAdUiBaseDialog(IDD) {}
};
