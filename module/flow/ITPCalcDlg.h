#pragma once
// CITPCalcDlg: rain flow by intensity-duration curves (command CalcRainITP). The person chooses how the
// rain is described (curves from a file and a return period; Reinhold with the 15-minute intensity and the
// frequency n; or the Turkish standard with a station of the station list and a return period of its
// table), the hydraulic conditions, the time carried at branchings, and which sections to leave out
// (shown in colour 251 while left out). Calculate hands the values to the sewage core's calculator
// "001_RAIN_ITP" (CItpParameters fills its parameter set by tag) with every section of the active system
// but the excluded ones, and logs message 11211 to the workspace log when the run succeeds; the dialog
// stays open. Close gives every section its colour again and keeps the choices per user in the workspace
// store under "DLG_ITP_CALC" (the typed numbers start at their defaults every time).
//
// Decisions:
// - With the Turkish standard the return-period list holds the chosen station's return periods and is
//   enabled with its label: the calculator takes the station's curve of that return period, and the
//   person must be able to choose it. With the curves it holds the curve file's, as before.
// - The station shown is the station value: when the stored value names no station the first is shown
//   and used.
// - Stored radio choices out of their range count as the default (0).
// - Colours are also given back when the dialog ends without Close (an error leaving the command).
// - Enter moves the focus to the next control that takes it (as Tab) and never closes the dialog.
#include <string>
#include <unordered_set>
#include <vector>

#include "module/flow/calc/ItpParameters.h"
#include "module/res/ITPCalcDlgIds.h"
#include "platform/network/Section.h"
#include "platform/selection/SelectionButton.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/IDPTurkParams.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CITPCalcDlg : public TAVUi::CAdUiBaseDialog,
                    public ITPCalcDlgIds,
                    public TAVGis::Sewage::IDialogToHide {
public:
    static constexpr const char* kStateDialog = "DLG_ITP_CALC";
    static constexpr int kExcludedColor = 251;
    static constexpr int kNoColor = -100;  // a section whose colour could not be read

    CITPCalcDlg();
    ~CITPCalcDlg() override;

    bool OnInitDialog() override;
    void OnOK() override;      // Calculate
    void OnCancel() override;  // Close

    // IDialogToHide: the calculator hides the dialog while the person picks in the drawing.
    void RestoreDialog() override { ShowWindow(true); }
    void HideDialog() override { ShowWindow(false); }

    // The dialog's values as the calculation takes them.
    ItpDialogValues ReadValues() const;
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    std::size_t ExcludedCount() const { return m_excluded.size(); }

private:
    int RainMethod() const;
    void ApplyRainMethodRule();
    void ApplyConditionsRule();
    void ApplyStandardRule();
    void FillReturnPeriods(bool keepSelection);
    // The texts as the return-period list, the selection kept when asked and still listed, else the first.
    void ShowReturnPeriods(const std::vector<std::string>& texts, bool keepSelection);
    void FillStations();
    void LoadState();
    void SaveState();
    void Recolour();
    void UpdateExcludedLabel();
    void OnRainMethod();
    void OnConditions();
    void OnPartialArea();
    void OnExistingPipe();
    void OnBrowse();
    void OnStationChanged();
    void OnStations();
    void OnRomanian();
    void OnClearExcluded();
    void OnKey();
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);

    CNumericEdit* m_intensity15 = nullptr;
    CNumericEdit* m_frequency = nullptr;
    CNumericEdit* m_precision = nullptr;
    CNumericEdit* m_viscosity = nullptr;
    CNumericEdit* m_pipeFill = nullptr;
    CNumericEdit* m_minDiameter = nullptr;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<int> m_initialColors;  // per section of m_sections
    std::unordered_set<const TAVGis::Topology::CSection*> m_excluded;
    TAVGis::Sewage::CIDPTurkParams m_stations;
    int m_roInteger = 0;
    double m_roValues[3] = {1.0, 0.8, 0.9};
    bool m_coloursChanged = false;
};
