#pragma once
// dlg_atvFile: the export of sections and hydraulic results to a text file.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class dlg_atvFile : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 200;
    dlg_atvFile() : CAdUiBaseDialog(IDD) {}
};
