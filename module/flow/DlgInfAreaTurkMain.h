#pragma once
// CDlgInfAreaTurkMain: flows from Turkish influence areas.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "module/res/DlgInfAreaTurkMainIds.h"
#include "platform/ui/AdUiBaseDialog.h"

class CDlgInfAreaTurkMain : public TAVUi::CAdUiBaseDialog, public DlgInfAreaTurkMainIds {
public:
    CDlgInfAreaTurkMain() : CAdUiBaseDialog(IDD) {}
};
