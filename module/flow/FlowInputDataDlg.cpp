#include "module/flow/FlowInputDataDlg.h"

#include "module/data/DialogState.h"
#include "module/flow/FlowStatusLine.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/host/NumberText.h"
#include "platform/selection/Selector.h"

using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

namespace {
constexpr int kSelectionTopology = 1;
constexpr int kSelectionFlags = 13537281;
constexpr int kZoomWholeDigits = 4;
constexpr int kZoomDecimals = 4;
constexpr int kValueColumn = 1;
constexpr int kMsgColumnName = 464;
constexpr int kMsgColumnValue = 1257;
constexpr int kMsgNotANumber = 3452;
constexpr int kMsgNegativeExponent = 3453;
constexpr int kColumnNameWidth = 300;
constexpr int kColumnValueWidth = 90;

std::string LabelOf(int row) {
    const auto& r = CFlowInputData::Rows()[static_cast<std::size_t>(row)];
    return r.labelMsg ? CModuleConfiguration::GetMsg(r.labelMsg) : CFlowInputDataDlg::kSeparatorText;
}
}  // namespace

CFlowInputDataDlg::CFlowInputDataDlg()
    : CAdUiBaseDialog(IDD),
      m_navigator(*this, {IDC_RADIO_SINGLE, IDC_RADIO_ALL, IDC_BUTTON_PREVIOUS, IDC_BUTTON_NEXT,
                          IDC_STATIC_SECTION, IDC_CHECK_ZOOM, IDC_EDIT_ZOOM, IDC_BUTTON_SHOW}) {
    Map(IDC_LIST_DATA, Notification::ItemChanged, &CFlowInputDataDlg::OnRowSelected);
    Map(IDC_BUTTON_SAVE, Notification::Clicked, &CFlowInputDataDlg::OnSave);
    Map(IDC_BUTTON_PREVIOUS, Notification::Clicked, &CFlowInputDataDlg::OnPrevious);
    Map(IDC_BUTTON_NEXT, Notification::Clicked, &CFlowInputDataDlg::OnNext);
    Map(IDC_RADIO_SINGLE, Notification::Clicked, &CFlowInputDataDlg::OnModeChanged);
    Map(IDC_RADIO_ALL, Notification::Clicked, &CFlowInputDataDlg::OnModeChanged);
    Map(IDC_BUTTON_SHOW, Notification::Clicked, &CFlowInputDataDlg::OnShow);
    MapMessage(TAVGis::Selection::WM_SELECTION_MADE,
               [this](std::intptr_t w, std::intptr_t l) { return OnSelectionMade(w, l); });
}

bool CFlowInputDataDlg::OnInitDialog() {
    CAdUiBaseDialog::OnInitDialog();
    // The list: columns, the rows with their labels, the values stored or their defaults.
    m_list = TAVUi::CEditableList::Attach(*this, IDC_LIST_DATA);
    m_list->SetColumns({{CModuleConfiguration::GetMsg(kMsgColumnName), kColumnNameWidth},
                        {CModuleConfiguration::GetMsg(kMsgColumnValue), kColumnValueWidth}});
    m_list->SetEditableColumn(kValueColumn, true);
    CDialogState state;
    for (int row = 0; row < CFlowInputData::kRows; ++row) {
        const auto& r = CFlowInputData::Rows()[static_cast<std::size_t>(row)];
        const bool separator = CFlowInputData::IsSeparator(row);
        const std::string value = separator ? "" : state.GetText(r.stateKey, r.defaultText);
        m_list->AddRow({LabelOf(row), value}, !separator);
        if (separator) m_list->SetRowReadOnly(row, true);
    }
    // Selection, scope and zoom.
    m_navigator.Init(kZoomWholeDigits, kZoomDecimals);
    m_navigator.SetAll(false);
    m_selectButton = TAVGis::Selection::CSelectionButton::Attach(*this, IDC_BUTTON_SELECT, kSelectionTopology,
                                                                 kSelectionFlags);
    TAVGis::Selection::CSelectionSet set;
    TAVGis::Selection::CSelector::LoopInstance()->selectActSysAllElements(set);
    m_navigator.Take(set);
    m_navigator.Refresh();
    return true;
}

void CFlowInputDataDlg::OnRowSelected() {
    const int row = m_list->SelectedRow();
    if (row < 0 || row >= CFlowInputData::kRows) return;
    const int msg = CFlowInputData::Rows()[static_cast<std::size_t>(row)].descriptionMsg;
    if (msg < 0) return;  // the population row keeps what is shown
    SetDlgItemText(IDC_STATIC_DESCRIPTION, msg ? CModuleConfiguration::GetMsg(msg) : std::string());
}

void CFlowInputDataDlg::StoreTexts() {
    CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
    for (int row = 0; row < CFlowInputData::kRows; ++row)
        if (const char* key = CFlowInputData::Rows()[static_cast<std::size_t>(row)].stateKey)
            state.Write(key, m_list->GetText(row, kValueColumn));
}

std::optional<CFlowInputData::Values> CFlowInputDataDlg::ReadValues() {
    CFlowInputData::Values values;
    for (int row = 0; row < CFlowInputData::kRows; ++row) {
        if (CFlowInputData::IsSeparator(row) || !m_list->IsChecked(row)) continue;
        const auto value = TAVHost::NumberText::ParseWhole(m_list->GetText(row, kValueColumn));
        if (!value) {
            acedAlert(CModuleConfiguration::GetMsg(kMsgNotANumber) + " " + LabelOf(row));
            return std::nullopt;
        }
        if (row == CFlowInputData::kAreaExponentRow && *value < 0.0) {
            acedAlert(CModuleConfiguration::GetMsg(kMsgNegativeExponent));
            return std::nullopt;
        }
        values[static_cast<std::size_t>(row)] = *value;
    }
    return values;
}

void CFlowInputDataDlg::OnSave() {
    m_list->EndEdit(true);  // an open in-place edit counts as typed
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusColor);
    StoreTexts();
    const auto values = ReadValues();
    if (!values) return;
    const auto r = CFlowInputData::Write(*values, m_navigator.Targets());
    if (r.written) CFlowStatusLine::ShowWritten(*this, IDC_STATIC_STATUS);
}

std::intptr_t CFlowInputDataDlg::OnSelectionMade(std::intptr_t, std::intptr_t) {
    auto set = m_selectButton ? m_selectButton->GetSelectionSet() : nullptr;
    m_navigator.Take(set ? *set : TAVGis::Selection::CSelectionSet());
    CFlowStatusLine::Clear(*this, IDC_STATIC_STATUS, kFlowStatusBlue);
    m_navigator.Refresh();
    return 0;
}

void CFlowInputDataDlg::OnCancel() {
    m_list->EndEdit(false);
    acedRedraw(nullptr, kRedrawUnhighlight);
    CAdUiBaseDialog::OnCancel();
}
