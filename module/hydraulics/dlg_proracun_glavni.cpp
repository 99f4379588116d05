#include "module/hydraulics/dlg_proracun_glavni.h"

#include "module/data/DialogState.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kMsgTitle = 2223, kMsgTabIndividual = 2224, kMsgTabAutomatic = 2225;
constexpr int kTipSelect = 663, kTipBitmap = 381, kMsgOk = 235, kMsgCancel = 67, kMsgHelp = 50156;
}  // namespace

dlg_proracun_glavni::dlg_proracun_glavni() : CAcUiTabMainDialog(IDD) {
    Map(IDC_TAB, Notification::SelChange, &dlg_proracun_glavni::OnTabChanged);
    Map(IDC_TAB, Notification::SelChanging, [] {});  // the change is allowed
    Map(TAVUi::IDHELP, Notification::Clicked, [] {});
    Map(IDC_BITMAP, Notification::Clicked, [] {});
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

bool dlg_proracun_glavni::OnInitDialog() {
    m_activeTabAtStart = CDialogState().GetInt("DIVODORHYDRAULICS_ACTIVETAB", kDefaultActiveTab);
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));

    m_selectButton =
        TAVGis::Selection::CSelectionButton::Attach(*this, IDC_SELECT, kTopologyType, kSelectionType);

    {
        TAVGis::Selection::CSelectionSet all;
        TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(all);
        m_sections = all.GetSections();
        m_otherElements = all.GetNodes();
    }
    if (m_sections.empty()) {
        EndDialog(TAVUi::IDCANCEL);
        return true;
    }

    m_tab.Attach(this, IDC_TAB);
    m_tab.AddTab(kTabIndividual, CModuleConfiguration::GetMsg(kMsgTabIndividual),
                 dlg_proracun_pojedinacni::IDD, &m_pagePojedinacni);
    m_tab.AddTab(kTabAutomatic, CModuleConfiguration::GetMsg(kMsgTabAutomatic), dlg_proracun_automatski::IDD,
                 &m_pageAutomatski);
    m_tab.SetActiveTab(m_activeTabAtStart);
    RefreshPages();

    if (auto* c = GetDlgItem(IDC_BITMAP)) {
        c->bitmap = "206";
        c->tooltip = CModuleConfiguration::GetMsg(kTipBitmap);
    }
    if (auto* c = GetDlgItem(IDC_SELECT)) c->tooltip = CModuleConfiguration::GetMsg(kTipSelect);
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgOk));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgCancel));
    SetDlgItemText(TAVUi::IDHELP, CModuleConfiguration::GetMsg(kMsgHelp));
    return true;
}

void dlg_proracun_glavni::RefreshPages() {
    auto& individual = m_pagePojedinacni;
    auto& automatic = m_pageAutomatski;
    if (m_sections.empty()) {
        individual.SectionList().clear();
        individual.SetCurrentIndex(-1);
        individual.UpdateNavigation();
        automatic.ClearSections();
        automatic.DeleteAllResults();
        return;
    }
    individual.SectionList().clear();
    individual.SetCurrentIndex(-1);
    const bool startedOnIndividual = m_activeTabAtStart == kTabIndividual;
    if (m_sections.front()) {
        individual.SetCurrentSection(m_sections.front());
        individual.SectionList() = m_sections;
        individual.SetCurrentIndex(0);
        if (startedOnIndividual) individual.UpdateNavigation();
        individual.RecalculateAll();
    } else if (startedOnIndividual) {
        individual.UpdateNavigation();
    }

    automatic.ClearSections();
    automatic.DeleteAllResults();
    automatic.EnableCalculate(true);
    automatic.SetSections(m_sections);
}

void dlg_proracun_glavni::OnTabChanged() {
    RefreshPages();
}

std::intptr_t dlg_proracun_glavni::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : TAVGis::Selection::CSelectionSetPtr();
    if (!set) return 0;
    m_sections = set->GetSections();
    m_otherElements = set->GetNodes();
    RefreshPages();
    return 0;
}

void dlg_proracun_glavni::OnOK() {
    acedRedraw(nullptr, kRedrawUnhighlight);
    {
        CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
        state.Write("DIVODORHYDRAULICS_ACTIVETAB", m_tab.GetCurSel());
        m_pagePojedinacni.UpdateData(true);
        m_pagePojedinacni.WriteState(state);
        m_pageAutomatski.UpdateData(true);
        m_pageAutomatski.WriteState(state);
    }
    EndDialog(TAVUi::IDOK);
}

void dlg_proracun_glavni::OnCancel() {
    acedRedraw(nullptr, kRedrawUnhighlight);
    EndDialog(TAVUi::IDCANCEL);
}
