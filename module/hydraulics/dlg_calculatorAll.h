#pragma once
// dlg_calculatorAll: the free-standing hydraulic calculator.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/dlg_calculatorAllIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class dlg_calculatorAll : public TAVUi::CAdUiBaseDialog, public dlg_calculatorAllIds {
public:
    dlg_calculatorAll() : CAdUiBaseDialog(IDD) {}
};
