#pragma once
// CAcUiTabChildDialog: a page of a tab host, created from its own template when the host adds it.
#include "platform/ui/AdUiBaseDialog.h"

namespace TAVUi {

class CAcUiTabMainDialog;

class CAcUiTabChildDialog : public CAdUiBaseDialog {
public:
    explicit CAcUiTabChildDialog(int templateId, CAdUiBaseDialog* parent = nullptr)
        : CAdUiBaseDialog(templateId, parent) {}
    // Called when the page is shown (true) or hidden (false).
    virtual void OnTabActivation(bool active) {}
    CAcUiTabMainDialog* TabMain() const { return m_tabMain; }
    void SetTabMain(CAcUiTabMainDialog* main) { m_tabMain = main; }

private:
    CAcUiTabMainDialog* m_tabMain = nullptr;
};

}  // namespace TAVUi
