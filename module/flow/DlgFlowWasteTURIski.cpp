#include "module/flow/DlgFlowWasteTURIski.h"

#include "module/manager/FunctionTrace.h"
#include "module/manager/PreviewActions.h"
#include "platform/gis/ModuleConfiguration.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kMsgRun = 3085, kMsgWriteData = 6095, kMsgReset = 8946, kMsgClose = 235;
}  // namespace

CDlgFlowWasteTURIski::CDlgFlowWasteTURIski() : CAdUiBaseDialog(IDD) {
    Map(IDC_BUTTON_RUN, Notification::Clicked, &CDlgFlowWasteTURIski::OnBnClickedButtonRun);
    Map(IDC_BUTTON_WRITE_DATA, Notification::Clicked, &CDlgFlowWasteTURIski::OnBnClickedButtonWriteData);
    Map(IDC_BUTTON_RESET_DATA, Notification::Clicked, &CDlgFlowWasteTURIski::OnBnClickedButtonResetData);
    Map(IDC_BUTTON_ZOOM, Notification::Clicked, &CDlgFlowWasteTURIski::OnZoom);
    Map(IDC_BUTTON_MARK, Notification::Clicked, &CDlgFlowWasteTURIski::OnMark);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
    MapMessage(WM_KEEP_FOCUS, [](std::intptr_t, std::intptr_t) -> std::intptr_t { return 1; });
}

bool CDlgFlowWasteTURIski::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    m_grid = PreviewActions::CreateParameterGrid(*this, IDC_PROPERTY_GRID, kGridDecimals, this);
    m_preview.Create(*this, IDC_PREVIEW_LIST);
    m_zoom = CNumericEdit::Attach(*this, IDC_EDIT_ZOOM, -kZoomWholeDigits, kZoomDecimals);
    if (m_zoom) m_zoom->SetValue(kDefaultZoomFactor, true);

    const std::string name = CModuleConfiguration::GetMsg(kMsgDisplayName);
    SetWindowText(name);
    SetDlgItemText(IDC_BUTTON_RUN, CModuleConfiguration::GetMsg(kMsgRun));
    SetDlgItemText(IDC_BUTTON_WRITE_DATA, CModuleConfiguration::GetMsg(kMsgWriteData));
    SetDlgItemText(IDC_BUTTON_RESET_DATA, CModuleConfiguration::GetMsg(kMsgReset));
    SetDlgItemText(TAVUi::IDCANCEL, CModuleConfiguration::GetMsg(kMsgClose));
    if (auto* c = GetDlgItem(IDC_BUTTON_ZOOM)) c->icon = "IDI_SHOWSEL";
    if (auto* c = GetDlgItem(IDC_BUTTON_MARK)) c->icon = "IDI_PAINTBRUSH";

    Init(*this);
    SetMinTrackSize(kMinTrackWidth, kMinTrackHeight);
    SetResize(IDC_PROPERTY_GRID, TAVUi::SZ_STRETCH_RIGHT);
    SetResize(IDC_PREVIEW_LIST, TAVUi::SZ_STRETCH_BOTH);
    for (int id : {IDC_BUTTON_WRITE_DATA, IDC_BUTTON_RESET_DATA}) SetResize(id, TAVUi::SZ_TOP_RIGHT);
    for (int id : {IDC_BUTTON_RUN, IDC_BUTTON_SELECT}) SetResize(id, TAVUi::SZ_BOTTOM_LEFT);
    for (int id : {TAVUi::IDOK, TAVUi::IDCANCEL}) SetResize(id, TAVUi::SZ_BOTTOM_RIGHT);

    for (const auto& [key, calc] :
         TAVGis::Sewage::CFlowCalculatorManager::GetInstance()->GetRegisteredFlowCalculators()) {
        std::string display;
        if (calc) calc->GetDisplayName(display);
        if (calc && display == name) {
            m_calculator = calc;
            break;
        }
    }
    if (m_calculator && m_grid)
        PreviewActions::ShowParameters(*m_grid, m_calculator->GetDefaultCalculationParameters());
    for (int id : {IDC_BUTTON_RUN, IDC_BUTTON_WRITE_DATA, IDC_BUTTON_RESET_DATA})
        EnableItem(id, m_calculator != nullptr);
    return true;
}

void CDlgFlowWasteTURIski::ShowPreview() {
    if (!m_calculator) return;
    m_preview.ShowPreview(PreviewActions::CalculatorPreview(*m_calculator), m_sectionIds);
}

void CDlgFlowWasteTURIski::ReplaceSelection(const TAVGis::Selection::CSelectionSetPtr& set) {
    m_selection = set;
    m_sections = set ? set->GetSections() : TAVGis::Sewage::SectionList{};
    m_sectionIds = set ? set->GetSectionsAsVector() : std::vector<TAVHost::ObjectId>{};
}

void CDlgFlowWasteTURIski::OnBnClickedButtonRun() {
    FunctionTrace trace(__FILE__, __LINE__, "CDlgFlowWasteTURIski::OnBnClickedButtonRun");
    if (!m_calculator) return;
    const auto params = m_calculator->GetDefaultCalculationParameters();
    const auto set = PreviewActions::RunSelection(*m_calculator, m_selection);
    if (!set) return;
    if (set != m_selection) ReplaceSelection(set);
    TRACE_MARKER();
    if (!m_calculator->RunCalculation(m_sections, params, true, false, this)) return;
    TRACE_MARKER();
    ShowPreview();
}

void CDlgFlowWasteTURIski::OnBnClickedButtonWriteData() {
    FunctionTrace trace(__FILE__, __LINE__, "CDlgFlowWasteTURIski::OnBnClickedButtonWriteData");
    if (!m_calculator) return;
    if (!PreviewActions::HasSelection(m_selection)) return;
    TRACE_MARKER();
    if (!m_calculator->InputData(m_sections, m_calculator->GetDefaultCalculationParameters(), true, false))
        return;
    TRACE_MARKER();
    ShowPreview();
}

void CDlgFlowWasteTURIski::OnBnClickedButtonResetData() {
    if (!m_calculator) return;
    if (!PreviewActions::HasSelection(m_selection)) return;
    m_calculator->ResetWrittenData(m_sections);
    ShowPreview();
}

std::intptr_t CDlgFlowWasteTURIski::OnSelectionMade(std::intptr_t, std::intptr_t) {
    if (m_selectButton && m_selectButton->GetSelectionSet())
        ReplaceSelection(m_selectButton->GetSelectionSet());
    return 0;
}

void CDlgFlowWasteTURIski::OnItemUpdated(const TAVGis::Data::CPropertyExPtr&) {
    if (m_grid) m_grid->Refresh();
}

void CDlgFlowWasteTURIski::OnZoom() {
    PreviewActions::Zoom(m_preview.GetMarkedEntities(),
                         PreviewActions::ZoomFactor(m_zoom, kDefaultZoomFactor), false);
}

void CDlgFlowWasteTURIski::OnMark() {
    PreviewActions::Mark(m_preview.GetMarkedEntities());
}
