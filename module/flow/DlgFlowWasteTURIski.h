#pragma once
// CDlgFlowWasteTURIski: waste water by the ISKI method, the front end of one calculator of the sewage core
// (the one whose display name is message 11162). The dialog shows the calculator's default parameter set in
// a property grid (the set itself: what is typed there is what Run uses), runs the calculator on the selected
// sections (or on the whole active system when the calculator works on it), writes its input data, resets
// its results, and shows the calculator's preview of the selected sections with zoom and mark.
//
// Decisions:
// - Without the calculator (no registered calculator has the display name), Run, Write data and Reset data
//   are disabled and the grid stays empty: there is nothing to call.
// - The zoom field starts at "1.5" (the project's numbers use "." in every locale; "1,5" would read as 1),
//   and a field that is not a positive number zooms with 1.5 and shows it again.
// - The grid's change callback rewrites the grid from the set (the value as the grid formats it).
#include <memory>
#include <vector>

#include "module/res/DlgFlowWasteTURIskiIds.h"
#include "module/ui/NumericEdit.h"
#include "platform/selection/PreviewListCtrl.h"
#include "platform/selection/SelectionButton.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/PropertyExGridCtrl.h"
#include "platform/ui/AdUiBaseDialog.h"
#include "platform/ui/XTPResize.h"

class CDlgFlowWasteTURIski : public TAVUi::CAdUiBaseDialog,
                             public TAVGis::Data::CCallbackItemUpdated,
                             public TAVUi::CXTPResize,
                             public TAVGis::Sewage::IDialogToHide,
                             public DlgFlowWasteTURIskiIds {
public:
    static constexpr int WM_KEEP_FOCUS = 0x7101;
    static constexpr int kMsgDisplayName = 11162;
    // The minimum tracking size, 600 x 600 pixels, in dialog units at the nominal 1.5 x 1.625 pixels per
    // unit.
    static constexpr int kMinTrackWidth = 400;
    static constexpr int kMinTrackHeight = 370;
    static constexpr int kSelectionTopology = 1;
    static constexpr int kSelectionFlags = 0x2E84001;
    static constexpr int kGridDecimals = 6;
    static constexpr int kZoomWholeDigits = 8;
    static constexpr int kZoomDecimals = 1;
    static constexpr double kDefaultZoomFactor = 1.5;

    CDlgFlowWasteTURIski();

    bool OnInitDialog() override;

    // The handlers (public so that a test can call them as the controls do).
    void OnBnClickedButtonRun();
    void OnBnClickedButtonWriteData();
    void OnBnClickedButtonResetData();
    void OnZoom();
    void OnMark();
    // The dialog was resized (anchors the controls; never below the minimum tracking size); a host places
    // the controls where the anchors put them.
    void OnSize(int width, int height) override { Size(width, height); }
    TAVUi::ControlRect ItemRect(int id) const override { return RectOf(id); }
    TAVUi::DialogSize MinTrackSize() const override { return {MinWidth(), MinHeight()}; }

    void RestoreDialog() override { ShowWindow(true); }
    void HideDialog() override { ShowWindow(false); }
    void OnItemUpdated(const TAVGis::Data::CPropertyExPtr& property) override;

    const TAVGis::Sewage::IFlowCalculatorPtr& Calculator() const { return m_calculator; }
    TAVGis::Data::CPropertyExGridCtrl* Grid() const { return m_grid; }
    const TAVGis::Preview::CPreviewListCtrl& Preview() const { return m_preview; }
    const TAVGis::Sewage::SectionList& SelectedSections() const { return m_sections; }

private:
    void ShowPreview();
    void ReplaceSelection(const TAVGis::Selection::CSelectionSetPtr& set);
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);

    TAVGis::Sewage::IFlowCalculatorPtr m_calculator;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    TAVGis::Selection::CSelectionSetPtr m_selection;
    TAVGis::Sewage::SectionList m_sections;
    std::vector<TAVHost::ObjectId> m_sectionIds;
    TAVGis::Preview::CPreviewListCtrl m_preview;
    TAVGis::Data::CPropertyExGridCtrl* m_grid = nullptr;
    CNumericEdit* m_zoom = nullptr;
};
