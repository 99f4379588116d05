#pragma once
// CDlgInfAreaTurkMain: flows from Turkish influence areas (command CalcInfluenceAreasTurkish), a tab host
// with the input tab (the five design parameters set on selected sections) and the calculation tab (the
// whole active system calculated by CInfluenceAreasTurkish). Close stores the input tab's values in the
// drawing ("TAV_LSD"), then closes. The dialog answers the host's keep-focus message.
#include <cstdint>

#include "module/flow/DlgInfAreaTurkChild_Calculation.h"
#include "module/flow/DlgInfAreaTurkChild_Input.h"
#include "module/res/DlgInfAreaTurkMainIds.h"
#include "platform/ui/AcUiTabMainDialog.h"
#include "platform/ui/AdUiTab.h"

class CDlgInfAreaTurkMain : public TAVUi::CAcUiTabMainDialog, public DlgInfAreaTurkMainIds {
public:
    static constexpr int WM_KEEP_FOCUS = 0x7101;

    CDlgInfAreaTurkMain();

    bool OnInitDialog() override;
    void OnCancel() override;  // Close

    CDlgInfAreaTurkChild_Input& InputPage() { return m_input; }
    CDlgInfAreaTurkChild_Calculation& CalculationPage() { return m_calculation; }

private:
    TAVUi::CAdUiTab m_tab;
    CDlgInfAreaTurkChild_Input m_input;
    CDlgInfAreaTurkChild_Calculation m_calculation;
};
