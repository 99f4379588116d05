#pragma once
// CAcUiTabMainDialog: a dialog hosting tab pages. Choosing a tab (a selection change of the tab control)
// asks SelChanging, switches the page and then sends SelChange, both to the host's handlers.
#include "platform/ui/AdUiTab.h"

namespace TAVUi {

class CAcUiTabMainDialog : public CAdUiBaseDialog {
public:
    explicit CAcUiTabMainDialog(int templateId, CAdUiBaseDialog* parent = nullptr)
        : CAdUiBaseDialog(templateId, parent) {}
    void SetAcadTabPointer(CAdUiTab* tab) { m_tab = tab; }
    CAdUiTab* GetAcadTabPointer() const { return m_tab; }
    CAdUiBaseDialog* ActivePage() override { return m_tab ? m_tab->ActivePage() : nullptr; }

    // A person chooses a tab: the switch happens unless a SelChanging handler vetoes it by returning false
    // from AllowTabChange.
    void ChooseTab(int index);
    virtual bool AllowTabChange() { return true; }

private:
    CAdUiTab* m_tab = nullptr;
};

}  // namespace TAVUi
