#pragma once
// dlg_proracun_glavni: the hydraulic calculation dialog. It owns the section selection of the whole
// calculation (all sections of the active system at start, replaced by each pick of the selection button),
// hosts the individual page and the automatic dimensioning page, hands the selection to both, and on OK
// stores the settings of both pages in the dialog state store (CDialogState).
//
// Decisions:
// - A stored active tab that names no page leaves the first page shown.
// - Refreshing the pages follows the tab stored at start, not the one now shown (the individual page
//   updates its navigation only when the dialog started on it).
#include <vector>

#include "module/hydraulics/dlg_proracun_automatski.h"
#include "module/hydraulics/dlg_proracun_pojedinacni.h"
#include "module/res/dlg_proracun_glavniIds.h"
#include "platform/network/Node.h"
#include "platform/network/Section.h"
#include "platform/selection/SelectionButton.h"
#include "platform/ui/AcUiTabMainDialog.h"
#include "platform/ui/AdUiTab.h"

class dlg_proracun_glavni : public TAVUi::CAcUiTabMainDialog, public dlg_proracun_glavniIds {
public:
    static constexpr int kTabIndividual = 0;
    static constexpr int kTabAutomatic = 1;
    static constexpr int kTopologyType = 1;
    static constexpr int kSelectionType = 0xCE8001;
    static constexpr int kDefaultActiveTab = kTabAutomatic;

    dlg_proracun_glavni();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    dlg_proracun_pojedinacni& IndividualPage() { return m_pagePojedinacni; }
    dlg_proracun_automatski& AutomaticPage() { return m_pageAutomatski; }
    const std::vector<TAVGis::Topology::CSectionPtr>& SelectedSections() const { return m_sections; }
    int StartTab() const { return m_activeTabAtStart; }

private:
    void RefreshPages();
    void OnTabChanged();
    std::intptr_t OnSelectionMade(std::intptr_t, std::intptr_t);

    dlg_proracun_pojedinacni m_pagePojedinacni;
    dlg_proracun_automatski m_pageAutomatski;
    TAVUi::CAdUiTab m_tab;
    TAVGis::Selection::CSelectionButtonPtr m_selectButton;
    std::vector<TAVGis::Topology::CSectionPtr> m_sections;
    std::vector<TAVGis::Topology::CNodePtr> m_otherElements;  // kept, not used by the pages
    int m_activeTabAtStart = kDefaultActiveTab;
};
