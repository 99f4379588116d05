#pragma once
// CDlgFlowCalculationsManager: the flow calculations manager: the sewage core's flow calculators, their
// parameter sets and previews. The dialog opens from its template; its controls and handlers are built with
// the calculation it serves.
#include "module/res/DlgFlowCalculationsManagerIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CDlgFlowCalculationsManager : public TAVUi::CAdUiBaseDialog, public DlgFlowCalculationsManagerIds {
public:
    CDlgFlowCalculationsManager() : CAdUiBaseDialog(IDD) {}
};
