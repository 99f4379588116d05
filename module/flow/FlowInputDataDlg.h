#pragma once
// CFlowInputDataDlg: per-section input data of the flow methods.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/FlowInputDataDlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CFlowInputDataDlg : public TAVUi::CAdUiBaseDialog, public FlowInputDataDlgIds {
public:
    CFlowInputDataDlg() : CAdUiBaseDialog(IDD) {}
};
