#pragma once
// dlg_proracun_automatski: the automatic dimensioning page of the hydraulic calculation dialog. For every
// section of the selection it chooses a pipe from one pipe group (minimum-diameter mode) or the slope for
// the section's pipe (minimum-slope mode), upstream sections first, shows one result row per section and
// writes the results. The run is CAutomaticDimensioning; the page reads its controls into the run's inputs,
// shows each section's result as a row as soon as it is known (with the progress highlight in the drawing),
// keeps its settings, and marks and zooms to the sections of selected rows.
//
// Decisions:
// - The run reads mode, method and the missing-data check from the page's members (what the last pull of
//   the controls gave: button 341 runs without a pull) and everything else from the controls.
// - When the mode changes, the minimum edit's text is kept for the mode it was typed in, so switching
//   back shows it again; the stored keys are still written only for the mode the page is in.
// - A stored group or precision index that is negative counts as out of range (index 0 is chosen).
// - Per section the display is refreshed with one redraw request for the whole drawing, one display
//   update and one highlight: each costs O(1) in the number of sections (the host coalesces them), so
//   a run stays linear.
#include <string>
#include <vector>

#include "module/data/DialogState.h"
#include "module/hydraulics/ResultListCtrl.h"
#include "module/hydraulics/calc/AutomaticDimensioning.h"
#include "module/res/dlg_proracun_automatskiIds.h"
#include "platform/network/CatalogItem.h"
#include "platform/ui/AcUiTabChildDialog.h"

class dlg_proracun_automatski : public TAVUi::CAcUiTabChildDialog, public dlg_proracun_automatskiIds {
public:
    static constexpr TAVUi::Rgb kFailureRed = TAVUi::RGB(255, 0, 0);
    static constexpr TAVUi::Rgb kSuccessBlue = TAVUi::RGB(0, 0, 255);
    static constexpr int kProgressHighlightColor = 3;
    static constexpr double kMinZoomFactor = 0.5;
    static constexpr double kMaxZoomFactor = 10.0;

    // Defaults of the stored settings.
    static constexpr double kDefaultFilling = 90.0;       // %
    static constexpr double kDefaultViscosity = 1.31e-6;  // m2/s
    static constexpr double kDefaultMinVelocity = 0.2;    // m/s
    static constexpr double kDefaultMinDiameter = 200.0;  // mm
    static constexpr double kDefaultZoomFactor = 1.5;
    static constexpr int kDefaultMarkColor = 1;

    dlg_proracun_automatski();

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // Hand-over from the hydraulic calculation dialog.
    void ClearSections() { m_sections.clear(); }
    void SetSections(const std::vector<TAVGis::Topology::CSectionPtr>& sections) { m_sections = sections; }
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    void DeleteAllResults() { m_results.DeleteAllItems(); }
    void EnableCalculate(bool enable) { EnableItem(IDC_CALCULATE, enable); }

    // Writes the page's settings (after the controls were pulled), in the dialog's order.
    void WriteState(CDialogState& state);

    // What the handlers do; public so that a test can drive a run without the dialog.
    void Run();
    void Zoom();
    void Mark();
    void ChooseMarkColor();

    int Mode() const { return m_nType; }
    int Method() const { return m_nNacin; }
    int MarkColor() const { return m_nMarkColor; }
    double ZoomFactor() const { return m_dZoomFactor; }
    const CResultListCtrl& Results() const { return m_results; }
    // The inputs of a run as the controls give them now (mode, method and the missing-data check as last
    // pulled).
    AutomaticDimensioningInputs Inputs() const;

private:
    void ReadState();
    void ApplyModeRules();
    void ApplyMethodRules();
    void FillPrecisionCombo();
    void FillGroupCombo();
    void CreateColumns();
    void PaintColorButton();
    void OnModeClicked();
    void OnMethodClicked();
    void OnFillingChecked();
    void OnMinimumChecked();
    void OnCalculate();
    void ShowRow(const DimensioningRow& row);

    CResultListCtrl m_results;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Data::CCatalogItemPtr> m_groups;  // by entry of the group combo

    // Settings (stored in the drawing by the dialog on OK).
    int m_nType = kModeMinimumDiameter;
    int m_nNacin = kMethodWithoutConditions;
    int m_nMarkColor = kDefaultMarkColor;
    double m_dZoomFactor = kDefaultZoomFactor;
    double m_dIspunjenost = kDefaultFilling;
    double m_dViskozitet = kDefaultViscosity;
    double m_dBrzina = kDefaultMinVelocity;
    double m_dPromjer = kDefaultMinDiameter;
    int m_nSekcija = 0;
    int m_nTocnost = 0;
    int m_nCheckIsp = 0;
    int m_nCheckMin = 0;
    int m_nCheckDimUp = 0;
    int m_nCheckMissing = 0;

    // Control texts pulled by the data exchange.
    std::string m_strViskozitet;
    std::string m_strIspunjenost;
    std::string m_strMinimum;
    std::string m_strZoom;
};
