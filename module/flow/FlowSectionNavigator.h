#pragma once
// CFlowSectionNavigator: the part the additional-flows and flow-input-data dialogs share: the sections and
// nodes a person selected (every element of the active system at first), the choice between the current
// section ("single", radio 0) and all of them ("all", radio 1), the previous and next buttons with the
// current section's name (bold), zooming on navigation, and "show": the dialog hides, the current or all
// sections are zoomed to and highlighted, the person answers a prompt at the command line (message
// 50200), the dialog shows again.
//
// Rules: previous and next are enabled only in single mode with more than one section, previous not at
// the first and next not at the last. In all mode the name label shows "first - last". With the zoom
// check on, every navigation (previous, next, a change of mode) zooms with the factor of the zoom edit to
// the current section in single mode, to all selected sections in all mode.
#include <vector>

#include "platform/network/Node.h"
#include "platform/network/Section.h"
#include "platform/selection/SelectionSet.h"
#include "platform/ui/AdUiBaseDialog.h"

class CNumericEdit;

class CFlowSectionNavigator {
public:
    struct Ids {
        int single, all, previous, next, name, zoomCheck, zoomEdit, show;
    };
    static constexpr double kDefaultZoom = 1.5;  // without the setting "DEFAULT_ZOOM"
    static constexpr double kShowZoom = 1.0;
    static constexpr int kMsgShowPrompt = 50200;

    CFlowSectionNavigator(TAVUi::CAdUiBaseDialog& dialog, const Ids& ids);

    // Attaches the zoom edit (whole digits, decimals) and loads the zoom settings.
    void Init(int zoomWholeDigits, int zoomDecimals);
    // Takes a selection: its sections and nodes; the current index becomes 0.
    void Take(const TAVGis::Selection::CSelectionSet& set);

    bool All() const;
    void SetAll(bool all);
    int Index() const { return m_index; }
    const std::vector<TAVGis::Topology::CSectionPtr>& Sections() const { return m_sections; }
    const std::vector<TAVGis::Topology::CNodePtr>& Nodes() const { return m_nodes; }
    // What a save processes: every section in all mode; the current one in single mode (none when the
    // list is empty or the handle is empty).
    std::vector<TAVGis::Topology::CSectionPtr> Targets() const;

    void Previous();
    void Next();
    void ModeChanged();  // after a click on one of the two radios
    void Show();
    // Enables the buttons and writes the name label as the rules say; `enabled` false disables both buttons.
    void Refresh(bool enabled = true);

private:
    void ZoomIfOn();
    std::vector<TAVHost::ObjectId> TargetIds() const;

    TAVUi::CAdUiBaseDialog& m_dialog;
    Ids m_ids;
    CNumericEdit* m_zoom = nullptr;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_nodes;
    int m_index = 0;
    bool m_enabled = true;
};
