#pragma once
// CDlgInfAreaTurkChild_Input: the input tab of the Turkish influence areas. Five numeric fields (8 whole
// digits, 4 decimals, no negatives) for q, ci, ca, Kmin,d and Kmax,d, their defaults replaced by the values
// stored in the drawing ("TAV_LSD", keys "m_ed..."); a selection button (its parent the main dialog, which
// hides while the person picks); Set parameters writes the five values on the picked sections
// (CInfluenceAreasTurkish::SetParameters). Without a pick nothing is written.
#include <array>

#include "module/flow/calc/InfluenceAreasTurkish.h"
#include "module/res/DlgInfAreaTurkChild_InputIds.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AcUiTabChildDialog.h"

class CNumericEdit;

class CDlgInfAreaTurkChild_Input : public TAVUi::CAcUiTabChildDialog, public DlgInfAreaTurkChild_InputIds {
public:
    static constexpr int kFields = 5;
    // The state keys, in the order of the fields.
    static constexpr std::array<const char*, kFields> kStateKeys = {
        "m_edHouseWasteWaterFlow", "m_edInfiltration", "m_edAdditionalWater", "m_edKmin", "m_edKmax"};

    CDlgInfAreaTurkChild_Input();

    bool OnInitDialog() override;

    // The five values as typed.
    InfluenceParameters ReadParameters() const;
    // Stores the five values in "TAV_LSD".
    void SaveState();
    const InfluenceSetResult& LastResult() const { return m_lastResult; }

private:
    void OnSetParameters();

    std::array<CNumericEdit*, kFields> m_edits{};
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    InfluenceSetResult m_lastResult;
};
