#pragma once
// CAdUiTab: the tab control of a tab host: pages with captions, each a child dialog created from its
// template when it is added (so every page is initialised even if it is never shown).
#include <string>
#include <vector>

#include "platform/ui/AcUiTabChildDialog.h"

namespace TAVUi {

class CAcUiTabMainDialog;

class CAdUiTab {
public:
    // Binds the tab to the tab control with that id in its host dialog.
    void Attach(CAcUiTabMainDialog* host, int controlId);
    // Creates the page from its template, initialises it and appends the caption; false on failure.
    bool AddTab(int index, const std::string& caption, int templateId, CAcUiTabChildDialog* page);
    int GetTabCount() const { return static_cast<int>(m_pages.size()); }
    int GetCurSel() const;
    // Shows the page at index (the hidden page gets OnTabActivation(false), the shown one true).
    void SetActiveTab(int index);
    CAcUiTabChildDialog* GetDialogPtr(int index) const;
    CAcUiTabChildDialog* ActivePage() const;
    int ControlId() const { return m_controlId; }

private:
    CAcUiTabMainDialog* m_host = nullptr;
    int m_controlId = 0;
    std::vector<CAcUiTabChildDialog*> m_pages;
};

}  // namespace TAVUi
