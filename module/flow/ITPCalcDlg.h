#pragma once
// CITPCalcDlg: rain flow by intensity-duration curves.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/ITPCalcDlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CITPCalcDlg : public TAVUi::CAdUiBaseDialog, public ITPCalcDlgIds {
public:
    CITPCalcDlg() : CAdUiBaseDialog(IDD) {}
};
