#pragma once
// dlg_proracun_automatski: the automatic dimensioning page of the hydraulic calculation dialog. For every
// section of the selection it chooses a pipe from one pipe group (minimum-diameter mode) or the slope for
// the section's pipe (minimum-slope mode), upstream sections first, shows one result row per section and
// writes the results (the rules for one section: CSectionDimensioning). Results can be marked and zoomed
// to from the list.
//
// Decisions:
// - The update sessions of a run are opened before the group and viscosity checks and closed on every
//   path out of the run, also when a check stops it or an exception leaves it.
// - The run reads mode, method and the missing-data check from the page's members (what the last pull of
//   the controls gave: button 341 runs without a pull) and everything else from the controls.
// - When the mode changes, the minimum edit's text is kept for the mode it was typed in, so switching
//   back shows it again; the stored keys are still written only for the mode the page is in.
// - A stored group or precision index that is negative counts as out of range (index 0 is chosen).
// - Per section the display is refreshed with one redraw request for the whole drawing, one display
//   update and one highlight: each costs O(1) in the number of sections (the host coalesces them), so
//   a run stays linear.
#include <set>
#include <string>
#include <vector>

#include "module/hydraulics/ResultListCtrl.h"
#include "module/hydraulics/SectionDimensioning.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/network/CatalogItem.h"
#include "platform/ui/AcUiTabChildDialog.h"

class dlg_proracun_automatski : public TAVUi::CAcUiTabChildDialog {
public:
    static constexpr int IDD = 204;

    static constexpr int IDC_RADIO_MIN_DIAMETER = 224;
    static constexpr int IDC_RADIO_MIN_SLOPE = 225;
    static constexpr int IDC_RADIO_WITHOUT_CONDITIONS = 241;
    static constexpr int IDC_RADIO_EXISTING_DIAMETERS = 242;
    static constexpr int IDC_RADIO_CONDITIONS = 243;
    static constexpr int IDC_EDIT_VISCOSITY = 204;
    static constexpr int IDC_COMBO_GROUP = 239;
    static constexpr int IDC_COMBO_PRECISION = 240;
    static constexpr int IDC_CHECK_FILLING = 244;
    static constexpr int IDC_EDIT_FILLING = 233;
    static constexpr int IDC_CHECK_MINIMUM = 245;
    static constexpr int IDC_EDIT_MINIMUM = 222;
    static constexpr int IDC_CHECK_UPSTREAM = 342;
    static constexpr int IDC_CHECK_MISSING_ONLY = 390;
    static constexpr int IDC_CALCULATE = 270;
    static constexpr int IDC_CALCULATE_NO_PULL = 341;
    static constexpr int IDC_RESULTS = 217;
    static constexpr int IDC_ZOOM = 385;
    static constexpr int IDC_MARK = 386;
    static constexpr int IDC_MARK_COLOR = 387;
    static constexpr int IDC_EDIT_ZOOM = 336;
    static constexpr int IDC_LABEL_VISCOSITY = 266;
    static constexpr int IDC_LABEL_GROUP = 267;
    static constexpr int IDC_LABEL_PRECISION = 268;

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
    void WriteState(CTAVCDictionaryPtr& dict);

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
    // The sections of the last run's set to calculate (GUIDs) and its roots.
    const std::set<std::string>& SectionsToCalculate() const { return m_toCalculate; }
    const std::vector<TAVGis::Topology::CSectionPtr>& Roots() const { return m_roots; }

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
    void AddResultRow(const TAVGis::Topology::CSectionPtr& section, const DimensioningRow& row);
    bool BuildSettings(DimensioningSettings& settings);

    CResultListCtrl m_results;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::set<std::string> m_toCalculate;
    std::vector<TAVGis::Topology::CSectionPtr> m_roots;
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
