#pragma once
// dlg_proracun_pojedinacni: the individual section page of the hydraulic calculation dialog. It walks through
// the selected sections one at a time, shows the current section's flow, slope or pipe diameter, roughness
// and pipe type as editable inputs, computes on every relevant change the minimum (diameter or slope), offers
// the chosen value (the group's pipe for the minimum diameter, or the minimum slope rounded at the chosen
// precision), shows the hydraulic results of the choice in ten rows, and on request lets the sewage core save
// them to the section. The calculation is CPipeCalculation; the page parses its fields into its inputs,
// formats its results and keeps its settings (written by the hydraulic calculation dialog on OK).
//
// Decisions:
// - Combo 260 holds the group's pipes in minimum-diameter mode and the precisions in minimum-slope mode; the
//   stored precision (DIVODORHYDRAULICS_TOCNOST) is the precision last chosen there, never the index of a
//   pipe. Filled with pipes, it selects the group's smallest pipe, so that a section without a pipe has a
//   roughness and a pipe type to start from.
// - Loading a section takes the highlight off the section shown before, so that only the current section is
//   marked in colour MARK_COLOR_1; the hydraulic calculation dialog removes it on closing.
// - The zoom uses the factor in edit 262 (DEFAULT_ZOOM at start) when it is above 0, else DEFAULT_ZOOM.
// - A section's remembered pipe is forgotten when the next section has none, and a pipe roughness of 0 (the
//   catalogue's "unknown") counts as none: the roughness field then starts at 1.000 mm.
// - Choosing in combo 260 a pipe that is not larger than the minimum empties the chosen value and with it the
//   results and the save button: the results shown always belong to the pipe shown.
// - A save that the sewage core reports as failed shows alert 3442 and keeps the save button as it was; the
//   confirmation on the button is shown only after a save that succeeded.
// - Without a current index (no selection) the page shows no section, even if one was handed over before.
#include <string>
#include <vector>

#include "module/data/DialogState.h"
#include "module/hydraulics/SinglePipeControls.h"
#include "module/hydraulics/calc/PipeCalculation.h"
#include "module/res/dlg_proracun_pojedinacniIds.h"
#include "platform/host/Database.h"
#include "platform/network/CatalogItem.h"
#include "platform/network/Section.h"
#include "platform/ui/AcUiTabChildDialog.h"

class dlg_proracun_pojedinacni : public TAVUi::CAcUiTabChildDialog, public dlg_proracun_pojedinacniIds {
public:
    static constexpr double kDefaultViscosity = 1.31e-6;  // m2/s
    static constexpr int kDefaultMarkColor = 2;
    static constexpr double kDefaultZoom = 1.5;
    static constexpr int kResultRows = SinglePipeControls::kRowsWithFlowTime;
    static constexpr int kSaveConfirmationMs = 500;

    dlg_proracun_pojedinacni();

    bool OnInitDialog() override;
    void DoDataExchange(TAVUi::CDataExchange* pDX) override;

    // Hand-over from the hydraulic calculation dialog.
    std::vector<TAVGis::Topology::CSectionPtr>& SectionList() { return m_sections; }
    void SetCurrentIndex(int index) { m_currentIndex = index; }
    int CurrentIndex() const { return m_currentIndex; }
    void SetCurrentSection(const TAVGis::Topology::CSectionPtr& s) { m_currentSection = s; }
    const TAVGis::Topology::CSectionPtr& CurrentSection() const { return m_currentSection; }
    // Enables the navigation and save buttons for the current index and loads the current section.
    void UpdateNavigation();
    // The minimum, the chosen value and the results, in this order.
    void RecalculateAll();

    // Writes the page's settings (after the controls were pulled), in the dialog's order.
    void WriteState(CDialogState& state);

    int Mode() const { return m_nType; }
    int PipeGroupIndex() const { return m_nPipeGroup; }
    int PrecisionIndex() const { return m_nPrecision; }
    double Viscosity() const;
    const CPipeCalculation& Calculation() const { return m_calc; }

private:
    void ReadState();
    void SetTexts();
    void CreateResultRows();
    void ClearResults();
    void ApplyMode();
    void FillGroupCombo();
    void FillChoiceCombo();
    void LoadCurrentSection();
    void Minimum();
    void Chosen();
    void Results();
    void ReChoose();
    void ShowChosenSlope(double minimum);
    void ZoomToCurrent();

    void OnModeClicked();
    void OnGroupChanged();
    void OnPrevious();
    void OnNext();
    void OnZoomChecked();
    void OnSave();

    bool SlopeMode() const;
    bool HasCurrent() const;
    TAVGis::Data::CCatalogItemPtr SelectedGroup() const;
    TAVGis::Data::CCatalogItemPtr SelectedPipe() const;
    int SelectedPrecision() const;
    PipeCalculationInputs Inputs() const;

    CPipeCalculation m_calc;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    TAVGis::Topology::CSectionPtr m_currentSection;
    int m_currentIndex = -1;
    std::string m_pipeGuid;  // PIPE_REF of the current section; empty when it has none
    std::optional<TAVHost::ObjectId> m_highlighted;
    std::vector<TAVGis::Data::CCatalogItemPtr> m_groups;  // by entry of combo 254
    std::vector<TAVGis::Data::CCatalogItemPtr> m_pipes;   // by entry of combo 260 in minimum-diameter mode
    bool m_choiceHoldsPrecisions = false;

    // Settings (stored in the drawing by the hydraulic calculation dialog on OK).
    int m_nType = 0;
    int m_nPipeGroup = 0;
    int m_nPrecision = 0;
    std::string m_strViscosity;
    double m_dViscosity = kDefaultViscosity;

    // Global settings, read only.
    int m_markColor = kDefaultMarkColor;
    double m_defaultZoom = kDefaultZoom;
    bool m_zoomOn = false;
};
