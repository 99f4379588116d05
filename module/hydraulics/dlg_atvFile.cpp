#include "module/hydraulics/dlg_atvFile.h"

#include "module/data/DialogState.h"
#include "module/hydraulics/calc/HydraulicsExportFile.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/HostUi.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr const char* kPathKey = "DIVODORHYDRAULICS_ATVFILE";
constexpr const char* kExtension = ".txt";
constexpr int kMsgBrowseTitle = 4490, kMsgLabel = 4491, kMsgNoPath = 4493, kMsgCannotCreate = 4494;
constexpr int kMsgTitle = 7700, kMsgHelp = 50156, kMsgOk = 60, kMsgCancel = 67;
}  // namespace

dlg_atvFile::dlg_atvFile() : CAdUiBaseDialog(IDD) {
    Map(IDC_BROWSE, Notification::Clicked, &dlg_atvFile::OnBrowse);
    Map(IDC_HELP_BUTTON, Notification::Clicked, [] {});
    Map(IDC_BITMAP, Notification::Clicked, [] {});
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

std::string dlg_atvFile::DefaultFolder() {
    std::string folder;
    if (!CModuleConfiguration::GetGSValueString("DEFAULT_PATH", folder)) folder = kFallbackFolder;
    return folder;
}

std::string dlg_atvFile::DrawingName() {
    std::string name;
    if (!acedGetVar("DWGNAME", name)) return kFallbackDrawingName;
    const auto dot = name.find_last_of('.');
    const auto slash = name.find_last_of("/\\");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) name.erase(dot);
    return name;
}

bool dlg_atvFile::OnInitDialog() {
    m_defaultFolder = DefaultFolder();
    std::string path = CDialogState().GetText(kPathKey, "");
    if (path.empty()) path = m_defaultFolder + DrawingName() + kExtension;
    SetWindowText(CModuleConfiguration::GetMsg(kMsgTitle));
    SetDlgItemText(IDC_LABEL_PATH, CModuleConfiguration::GetMsg(kMsgLabel));
    SetDlgItemText(IDC_EDIT_PATH, path);
    if (auto* c = GetDlgItem(IDC_BROWSE)) c->icon = "IDI_OPEN";
    if (auto* c = GetDlgItem(IDC_BITMAP)) c->bitmap = "206";
    SetDlgItemText(IDC_HELP_BUTTON, CModuleConfiguration::GetMsg(kMsgHelp));
    SetDlgItemText(TAVUi::IDOK, CModuleConfiguration::GetMsg(kMsgOk));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgCancel));

    m_selectButton =
        TAVGis::Selection::CSelectionButton::Attach(*this, IDC_SELECT, kTopologyType, kSelectionType);

    TAVGis::Selection::CSelectionSet all;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(all);
    m_sections = all.GetSections();
    m_otherElements = all.GetNodes();
    if (m_sections.empty()) EndDialog(TAVUi::IDCANCEL);
    return true;
}

void dlg_atvFile::OnBrowse() {
    std::string chosen;
    if (acedGetFileD(CModuleConfiguration::GetMsg(kMsgBrowseTitle),
                     m_defaultFolder + DrawingName() + kExtension, "TXT", kFileDialogFlags, chosen) == RTNORM)
        SetDlgItemText(IDC_EDIT_PATH, chosen);
}

std::intptr_t dlg_atvFile::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : TAVGis::Selection::CSelectionSetPtr();
    if (!set) return 0;
    m_sections = set->GetSections();
    m_otherElements = set->GetNodes();
    return 0;
}

void dlg_atvFile::OnOK() {
    const std::string path = GetDlgItemText(IDC_EDIT_PATH);
    if (path.empty()) {
        acedAlert(CModuleConfiguration::GetMsg(kMsgNoPath));
        EndDialog(TAVUi::IDCANCEL);
        return;
    }
    {
        CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
        state.Write(kPathKey, path);
    }
    EndDialog(TAVUi::IDOK);
    TAVHost::ScopedWaitCursor wait;
    if (!CHydraulicsExportFile::Write(path, m_sections))
        acedAlert(CModuleConfiguration::GetMsg(kMsgCannotCreate));
}
