#pragma once
// dlg_calculatorAll: the free-standing hydraulic calculator.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class dlg_calculatorAll : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 202;
    dlg_calculatorAll() : CAdUiBaseDialog(IDD) {}
};
