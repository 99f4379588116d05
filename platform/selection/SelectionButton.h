#pragma once
// CSelectionButton: a button of a dialog with which a person picks sections and nodes in the drawing.
// A click hides the parent dialog (when asked to), lets the person pick through HostUi, shows the parent
// again and, when something was picked, sends the parent the message "selection made" (0x762).
#include <memory>

#include "platform/selection/SelectionSet.h"
#include "platform/ui/AdUiBaseDialog.h"

namespace TAVGis::Selection {

constexpr int WM_SELECTION_MADE = 0x762;

class CSelectionButton : public TAVUi::CControlBehavior {
public:
    // Binds the button to a control of a dialog.
    static std::shared_ptr<CSelectionButton> Attach(TAVUi::CAdUiBaseDialog& dialog, int controlId);
    // Binds and configures the button as the dialogs use it: the dialog is its parent and hides while the
    // person picks, the topology type and selection flags are passed through, disabled menu options hidden.
    static std::shared_ptr<CSelectionButton> Attach(TAVUi::CAdUiBaseDialog& dialog, int controlId,
                                                    int topologyType, int selectionType);

    void SetParentDialog(TAVUi::CAdUiBaseDialog* parent, bool hideOnSelect) {
        m_parent = parent;
        m_hide = hideOnSelect;
    }
    void SetTopologyType(int type) { m_topologyType = type; }
    void SetSelectionType(int flags) { m_selectionType = flags; }
    void SetHideDisabledMenuOptions(bool hide) { m_hideDisabled = hide; }
    int TopologyType() const { return m_topologyType; }
    int SelectionType() const { return m_selectionType; }

    // The selection of the last pick, or null when nothing has been picked.
    CSelectionSetPtr GetSelectionSet() const { return m_selection; }
    bool OnClick(TAVUi::CControl& control) override;

private:
    TAVUi::CAdUiBaseDialog* m_parent = nullptr;
    bool m_hide = true;
    int m_topologyType = 1;
    int m_selectionType = 0;
    bool m_hideDisabled = false;
    CSelectionSetPtr m_selection;
};

using CSelectionButtonPtr = std::shared_ptr<CSelectionButton>;

}  // namespace TAVGis::Selection
