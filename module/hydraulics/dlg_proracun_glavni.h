#pragma once
// dlg_proracun_glavni: the hydraulic calculation dialog hosting the individual and automatic pages.
// The dialog opens from its template; its controls and handlers are built with the calculation it serves.
#include "platform/ui/AdUiBaseDialog.h"

class dlg_proracun_glavni : public TAVUi::CAdUiBaseDialog {
public:
    static constexpr int IDD = 205;
    dlg_proracun_glavni() : CAdUiBaseDialog(IDD) {}
};
