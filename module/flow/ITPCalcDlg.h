#pragma once
// CITPCalcDlg: rain flow by intensity-duration curves.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class CITPCalcDlg : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 225;
    CITPCalcDlg() : CAdUiBaseDialog(IDD) {}
};
