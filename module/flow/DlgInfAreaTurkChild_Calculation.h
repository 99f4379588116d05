#pragma once
// CDlgInfAreaTurkChild_Calculation: the calculation tab of the Turkish influence areas. Calculate runs
// CInfluenceAreasTurkish over every section of the active system, adding the stored point flows when the
// check box is ticked (off at opening, not kept). A section without its parameters stops the calculation
// with an alert naming it; nothing is changed then.
#include "module/flow/calc/InfluenceAreasTurkish.h"
#include "module/res/DlgInfAreaTurkChild_CalculationIds.h"
#include "platform/ui/AcUiTabChildDialog.h"

class CDlgInfAreaTurkChild_Calculation : public TAVUi::CAcUiTabChildDialog,
                                         public DlgInfAreaTurkChild_CalculationIds {
public:
    CDlgInfAreaTurkChild_Calculation();

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    const InfluenceCalculationResult& LastResult() const { return m_lastResult; }

private:
    void OnCalculate();

    int m_pointFlow = 0;
    InfluenceCalculationResult m_lastResult;
};
