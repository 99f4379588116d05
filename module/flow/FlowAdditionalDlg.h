#pragma once
// CFlowAdditionalDlg: additional, foreign, point and user flows.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/FlowAdditionalDlgIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CFlowAdditionalDlg : public TAVUi::CAdUiBaseDialog, public FlowAdditionalDlgIds {
public:
    CFlowAdditionalDlg() : CAdUiBaseDialog(IDD) {}
};
