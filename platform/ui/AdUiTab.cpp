#include "platform/ui/AdUiTab.h"

#include "platform/ui/AcUiTabMainDialog.h"

namespace TAVUi {

void CAdUiTab::Attach(CAcUiTabMainDialog* host, int controlId) {
    m_host = host;
    m_controlId = controlId;
    if (host) host->SetAcadTabPointer(this);
}

bool CAdUiTab::AddTab(int index, const std::string& caption, int templateId, CAcUiTabChildDialog* page) {
    if (!m_host || !page) return false;
    CControl* tab = m_host->GetDlgItem(m_controlId);
    if (!tab) return false;
    (void)templateId;  // the page knows its template; the id is checked against it
    if (page->TemplateId() != templateId) return false;
    page->SetTabMain(m_host);
    if (!page->Create(m_host)) return false;
    if (index < 0 || index > static_cast<int>(m_pages.size())) index = static_cast<int>(m_pages.size());
    m_pages.insert(m_pages.begin() + index, page);
    tab->items.insert(tab->items.begin() + index, ListItem{caption, 0});
    page->ShowWindow(false);
    if (tab->curSel < 0) {
        tab->curSel = 0;
        m_pages[0]->ShowWindow(true);
    }
    return true;
}

int CAdUiTab::GetCurSel() const {
    const CControl* tab = m_host ? m_host->GetDlgItem(m_controlId) : nullptr;
    return tab ? tab->curSel : -1;
}

void CAdUiTab::SetActiveTab(int index) {
    CControl* tab = m_host ? m_host->GetDlgItem(m_controlId) : nullptr;
    if (!tab || index < 0 || index >= static_cast<int>(m_pages.size())) return;
    if (auto* old = ActivePage()) {
        old->ShowWindow(false);
        old->OnTabActivation(false);
    }
    tab->curSel = index;
    m_pages[static_cast<std::size_t>(index)]->ShowWindow(true);
    m_pages[static_cast<std::size_t>(index)]->OnTabActivation(true);
}

CAcUiTabChildDialog* CAdUiTab::GetDialogPtr(int index) const {
    return index >= 0 && index < static_cast<int>(m_pages.size()) ? m_pages[static_cast<std::size_t>(index)]
                                                                  : nullptr;
}

CAcUiTabChildDialog* CAdUiTab::ActivePage() const {
    return GetDialogPtr(GetCurSel());
}

void CAcUiTabMainDialog::ChooseTab(int index) {
    if (!m_tab || index < 0 || index >= m_tab->GetTabCount() || index == m_tab->GetCurSel()) return;
    Notify(m_tab->ControlId(), Notification::SelChanging);
    if (!AllowTabChange()) return;
    m_tab->SetActiveTab(index);
    Notify(m_tab->ControlId(), Notification::SelChange);
}

}  // namespace TAVUi
