#pragma once
// CDlgFlowCalculationsManager: the flow calculations manager. A tree of the sewage core's registered
// calculators, grouped by kind, with under each calculator the parameter sets that sections of the drawing
// were calculated with ("Configuration %d (%d sections)"); a property grid of the chosen calculator's default
// parameters or of the chosen set; a preview list of the selected sections; buttons to run a calculator or
// its input-data step, reset its written results, delete parameter-set tags from sections, zoom to and mark
// the marked preview rows.
//
// The tree's content is CFlowCalculatorTree (the model); the dialog draws it into the tree control after
// every rebuild and keeps, per tree item, a CFlowTreeItemData (kind 0 calculator, 1 parameter set).
// The grid shows the parameter object itself (shared, not copied), so a Run uses what was typed.
//
// Decisions:
// - After a rebuild the tree selects the active calculator again (or nothing) and the grid follows the
//   item the tree now has selected (the calculator's default set, or nothing), as a tree does when the
//   program selects an item; the selection of sections and the preview choice stay.
// - The zoom factor is read from its field; a field that is not a positive number zooms with 1.5 and shows
//   it again (a factor of 0 would zoom to nothing).
// - The "C" button moves right with its neighbours "Z", "M" and the zoom field when the dialog grows, so
//   they never overlap; "Preview" (344) and "C" (376) have no action.
// - The template has OK beside Close (both close the dialog), the two buttons that move right and down when
//   the dialog grows.
// - Expanding or collapsing a calculator in the tree control is read back into the model before each
//   rebuild, so what the person expanded survives a Run.
#include <list>
#include <memory>
#include <vector>

#include "module/manager/FlowCalculatorTree.h"
#include "module/res/DlgFlowCalculationsManagerIds.h"
#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/selection/PreviewListCtrl.h"
#include "platform/selection/RepositoryManager.h"
#include "platform/selection/SelectionButton.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/PropertyExGridCtrl.h"
#include "platform/ui/AdUiBaseDialog.h"
#include "platform/ui/XTPResize.h"

// The data of a tree item: a calculator (kind 0) or a parameter set (kind 1). Group items carry none.
struct CFlowTreeItemData {
    static constexpr std::int32_t kCalculator = 0;
    static constexpr std::int32_t kParameterSet = 1;
    std::int32_t kind = kCalculator;
    void* object = nullptr;  // IFlowCalculator* (kind 0) or CFlowCalculatorParameters* (kind 1)
};

class CDlgFlowCalculationsManager : public TAVUi::CAdUiBaseDialog,
                                    public TAVUi::CXTPResize,
                                    public TAVGis::Data::CCallbackItemUpdated,
                                    public TAVGis::Sewage::IDialogToHide,
                                    public DlgFlowCalculationsManagerIds {
public:
    static constexpr int WM_KEEP_FOCUS = 0x7101;
    // The minimum tracking size, 600 x 600 pixels, in dialog units at the nominal 1.5 x 1.625 pixels per
    // unit.
    static constexpr int kMinTrackWidth = 400;
    static constexpr int kMinTrackHeight = 370;
    static constexpr int kSelectionTopology = 1;
    static constexpr int kSelectionFlags = 0x2EEC001;
    static constexpr int kGridDecimals = 6;
    static constexpr int kZoomWholeDigits = 9;
    static constexpr int kZoomDecimals = 4;
    static constexpr double kDefaultZoomFactor = 1.5;

    CDlgFlowCalculationsManager();

    bool OnInitDialog() override;

    // The handlers (public so that a test can call them as the controls do).
    void RefreshTree();
    void OnTreeSelChanged();
    void OnBnClickedBtnRun();
    void OnBnClickedBtnInputData();
    void OnBnClickedBtnResetData();
    void OnBnClickedBtnDeleteConfig();
    void ReloadPreviewCombo();
    void OnCbnSelchangeComboPreviews();
    void OnZoom();
    void OnMark();
    // The dialog was resized (anchors the controls; never below the minimum tracking size); a host places
    // the controls where the anchors put them.
    void OnSize(int width, int height) override { Size(width, height); }
    TAVUi::ControlRect ItemRect(int id) const override { return RectOf(id); }
    TAVUi::DialogSize MinTrackSize() const override { return {MinWidth(), MinHeight()}; }
    TAVGis::Sewage::IFlowCalculator* GetActiveFlowCalculator() const;

    // IDialogToHide: a calculator lets the person pick in the drawing.
    void RestoreDialog() override { ShowWindow(true); }
    void HideDialog() override { ShowWindow(false); }
    // CCallbackItemUpdated: a value was edited in the grid.
    void OnItemUpdated(const TAVGis::Data::CPropertyExPtr& property) override;

    // What the dialog holds (for tests).
    const CFlowCalculatorTree& TreeModel() const { return m_tree; }
    TAVGis::Data::CPropertyExGridCtrl* Grid() const { return m_grid; }
    const TAVGis::Preview::CPreviewListCtrl& Preview() const { return m_preview; }
    const TAVGis::Selection::CSelectionSetPtr& Selection() const { return m_selection; }
    const std::vector<TAVHost::ObjectId>& SelectedSectionIds() const { return m_sectionIds; }
    const std::vector<std::string>& ImageNames() const { return m_tree.Images(); }
    // The parameter object the grid shows, or null.
    const TAVGis::Sewage::CFlowCalculatorParametersPtr& ShownParameters() const { return m_shown; }

private:
    const CFlowTreeItemData* SelectedItemData() const;
    TAVGis::Sewage::CFlowCalculatorParametersPtr SelectedParameters() const;
    void DrawTree();
    void ReadExpansionFromControl();
    void ShowParameters(const TAVGis::Sewage::CFlowCalculatorParametersPtr& params);
    void ReplaceSelection(const TAVGis::Selection::CSelectionSetPtr& set);
    void RebuildFromSelection();
    // "<message 11160> <count>" and then `after`.
    void SetCountLabel(const char* after);
    TAVGis::Sewage::SectionList SelectedSections() const;
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);

    CFlowCalculatorTree m_tree;
    std::list<std::shared_ptr<CFlowTreeItemData>> m_itemData;
    std::map<int, std::vector<std::size_t>> m_pathByHandle;
    std::vector<TAVGis::IconHandle> m_imageList;

    TAVGis::Data::CPropertyExGridCtrl* m_grid = nullptr;
    TAVGis::Sewage::CFlowCalculatorParametersPtr m_shown;
    TAVGis::Preview::CPreviewListCtrl m_preview;
    TAVGis::Preview::CPreviewDefinitionRepositoryPtr m_repository;
    bool m_repositoryLooked = false;
    std::vector<TAVGis::Preview::CPreviewDefinitionPtr> m_comboDefinitions;  // by combo entry
    std::string m_previewName;
    CNumericEdit* m_zoom = nullptr;

    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    TAVGis::Selection::CSelectionSetPtr m_selection;
    std::vector<TAVHost::ObjectId> m_sectionIds;
};
