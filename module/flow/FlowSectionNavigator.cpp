#include "module/flow/FlowSectionNavigator.h"

#include "module/ui/NumericEdit.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/HostUi.h"
#include "platform/host/TAVCEdit.h"

using TAVGis::CModuleConfiguration;

CFlowSectionNavigator::CFlowSectionNavigator(TAVUi::CAdUiBaseDialog& dialog, const Ids& ids)
    : m_dialog(dialog), m_ids(ids) {}

void CFlowSectionNavigator::Init(int zoomWholeDigits, int zoomDecimals) {
    m_zoom = CNumericEdit::Attach(m_dialog, m_ids.zoomEdit, -zoomWholeDigits, zoomDecimals);
    double factor = kDefaultZoom;
    if (!CModuleConfiguration::GetGSValueDouble("DEFAULT_ZOOM", factor)) factor = kDefaultZoom;
    if (m_zoom) m_zoom->SetValue(factor, true);
    int zoomOn = 0;
    CModuleConfiguration::GetGSValueInt("ZOOM_ONOFF", zoomOn);
    m_dialog.CheckDlgButton(m_ids.zoomCheck, zoomOn != 0 ? 1 : 0);
}

void CFlowSectionNavigator::Take(const TAVGis::Selection::CSelectionSet& set) {
    m_sections = set.GetSections();
    m_nodes = set.GetNodes();
    m_index = 0;
}

bool CFlowSectionNavigator::All() const {
    return m_dialog.IsDlgButtonChecked(m_ids.all) == 1;
}

void CFlowSectionNavigator::SetAll(bool all) {
    m_dialog.CheckRadioButton(all ? m_ids.all : m_ids.single);
}

std::vector<TAVGis::Topology::CSectionPtr> CFlowSectionNavigator::Targets() const {
    if (All()) return m_sections;
    if (m_index < 0 || m_index >= static_cast<int>(m_sections.size())) return {};
    const auto& s = m_sections[static_cast<std::size_t>(m_index)];
    if (!s) return {};
    return {s};
}

std::vector<TAVHost::ObjectId> CFlowSectionNavigator::TargetIds() const {
    std::vector<TAVHost::ObjectId> ids;
    for (const auto& s : Targets()) ids.push_back(s->GetObjectId());
    return ids;
}

void CFlowSectionNavigator::Refresh(bool enabled) {
    m_enabled = enabled;
    const int n = static_cast<int>(m_sections.size());
    const bool single = !All();
    m_dialog.EnableItem(m_ids.previous, enabled && single && n > 1 && m_index > 0);
    m_dialog.EnableItem(m_ids.next, enabled && single && n > 1 && m_index < n - 1);
    std::string name;
    auto nameOf = [](const TAVGis::Topology::CSectionPtr& s) { return s ? s->GetName() : std::string(); };
    if (single) {
        if (m_index >= 0 && m_index < n) name = nameOf(m_sections[static_cast<std::size_t>(m_index)]);
    } else if (n > 0) {
        name = nameOf(m_sections.front()) + " - " + nameOf(m_sections.back());
    }
    m_dialog.SetDlgItemText(m_ids.name, name);
    m_dialog.Item(m_ids.name).bold = true;
}

void CFlowSectionNavigator::ZoomIfOn() {
    if (m_dialog.IsDlgButtonChecked(m_ids.zoomCheck) != 1 || !m_zoom) return;
    const auto ids = TargetIds();
    if (!ids.empty()) CTAVCEdit::zoom(ids, m_zoom->GetValue());
}

void CFlowSectionNavigator::Previous() {
    if (m_index > 0) --m_index;
    Refresh(m_enabled);
    ZoomIfOn();
}

void CFlowSectionNavigator::Next() {
    if (m_index + 1 < static_cast<int>(m_sections.size())) ++m_index;
    Refresh(m_enabled);
    ZoomIfOn();
}

void CFlowSectionNavigator::ModeChanged() {
    Refresh(m_enabled);
    ZoomIfOn();
}

void CFlowSectionNavigator::Show() {
    const auto ids = TargetIds();
    m_dialog.ShowWindow(false);
    if (!ids.empty()) CTAVCEdit::zoom(ids, kShowZoom);
    const int color = CModuleConfiguration::GetHighlightColor();
    for (auto id : ids) acedHighlightEntity(id, color);
    acedUpdateDisplay();
    TAVHost::GetHostUi().GetString(CModuleConfiguration::GetMsg(kMsgShowPrompt));
    m_dialog.ShowWindow(true);
}
