#include "platform/ui/EditableList.h"

#include <memory>

namespace TAVUi {

CEditableList* CEditableList::Attach(CAdUiBaseDialog& dialog, int id) {
    CControl* control = dialog.GetDlgItem(id);
    if (!control) return nullptr;
    auto list = std::make_shared<CEditableList>();
    list->Bind(&dialog, *control, list);
    return list.get();
}

void CEditableList::Bind(CAdUiBaseDialog* dialog, CControl& control,
                         const std::shared_ptr<CEditableList>& self) {
    m_dialog = dialog;
    m_control = &control;
    control.behavior = self;
    control.DeleteAllItems();
    control.columns.clear();
    m_rows.clear();
    m_editableColumns.clear();
}

CEditableList* CEditableList::Of(const CControl& control) {
    return dynamic_cast<CEditableList*>(control.behavior.get());
}

bool CEditableList::ValidRow(int row) const {
    return row >= 0 && row < RowCount();
}

bool CEditableList::ValidColumn(int column) const {
    return column >= 0 && column < ColumnCount();
}

CEditableList::RowState* CEditableList::State(int row) {
    if (!ValidRow(row)) return nullptr;
    // Rows someone inserted through the control itself get the default state.
    if (m_rows.size() < m_control->rows.size()) m_rows.resize(m_control->rows.size());
    return &m_rows[static_cast<std::size_t>(row)];
}

const CEditableList::RowState* CEditableList::State(int row) const {
    if (!ValidRow(row)) return nullptr;
    static const RowState kDefault;
    return static_cast<std::size_t>(row) < m_rows.size() ? &m_rows[static_cast<std::size_t>(row)] : &kDefault;
}

void CEditableList::SetColumns(const std::vector<ListColumn>& columns) {
    EndEdit(false);
    m_control->columns = columns;
    m_editableColumns.assign(columns.size(), false);
    for (auto& row : m_control->rows) row.cells.resize(columns.size());
}

int CEditableList::AddRow(const std::vector<std::string>& cells, bool checkable, bool checked) {
    ListRow row;
    row.cells.resize(static_cast<std::size_t>(ColumnCount()));
    for (std::size_t k = 0; k < row.cells.size() && k < cells.size(); ++k) row.cells[k].text = cells[k];
    m_control->rows.push_back(std::move(row));
    m_rows.resize(m_control->rows.size());
    m_rows.back() = RowState{checkable, checkable && checked, false};
    return RowCount() - 1;
}

void CEditableList::DeleteAllRows() {
    EndEdit(false);
    m_control->DeleteAllItems();
    m_rows.clear();
}

int CEditableList::RowCount() const {
    return m_control ? m_control->GetItemCount() : 0;
}

int CEditableList::ColumnCount() const {
    return m_control ? static_cast<int>(m_control->columns.size()) : 0;
}

std::string CEditableList::GetText(int row, int column) const {
    if (!ValidRow(row) || !ValidColumn(column)) return {};
    return m_control->GetItemText(row, column);
}

bool CEditableList::SetText(int row, int column, const std::string& text) {
    if (!ValidRow(row) || !ValidColumn(column)) return false;
    m_control->SetItemText(row, column, text);
    return true;
}

bool CEditableList::HasCheck(int row) const {
    const RowState* s = State(row);
    return s && s->checkable;
}

bool CEditableList::IsChecked(int row) const {
    const RowState* s = State(row);
    return s && s->checkable && s->checked;
}

bool CEditableList::SetChecked(int row, bool checked) {
    RowState* s = State(row);
    if (!s || !s->checkable) return false;
    s->checked = checked;
    return true;
}

void CEditableList::SetEditableColumn(int column, bool editable) {
    if (!ValidColumn(column)) return;
    m_editableColumns.resize(static_cast<std::size_t>(ColumnCount()), false);
    m_editableColumns[static_cast<std::size_t>(column)] = editable;
}

void CEditableList::SetRowReadOnly(int row, bool readOnly) {
    if (RowState* s = State(row)) s->readOnly = readOnly;
}

bool CEditableList::IsEditable(int row, int column) const {
    const RowState* s = State(row);
    if (!s || s->readOnly || !ValidColumn(column)) return false;
    const auto k = static_cast<std::size_t>(column);
    return k < m_editableColumns.size() && m_editableColumns[k];
}

int CEditableList::SelectedRow() const {
    for (int row = 0; row < RowCount(); ++row)
        if (m_control->rows[static_cast<std::size_t>(row)].selected) return row;
    return -1;
}

bool CEditableList::Select(int row) {
    if (row != -1 && !ValidRow(row)) return false;
    for (int r = 0; r < RowCount(); ++r) m_control->rows[static_cast<std::size_t>(r)].selected = r == row;
    return true;
}

void CEditableList::Notify(Notification notification) {
    if (m_dialog) m_dialog->Notify(m_control->id, notification);
}

bool CEditableList::SelectRow(int row) {
    if (!ValidRow(row)) return false;
    Select(row);
    Notify(Notification::ItemChanged);
    return true;
}

bool CEditableList::ClickCheck(int row) {
    RowState* s = State(row);
    if (!s || !s->checkable) return false;
    s->checked = !s->checked;
    m_lastRow = row;
    m_lastColumn = 0;
    Notify(Notification::Clicked);
    return true;
}

bool CEditableList::BeginEdit(int row, int column) {
    EndEdit(false);
    if (!IsEditable(row, column)) return false;
    m_editRow = row;
    m_editColumn = column;
    m_editText = GetText(row, column);
    return true;
}

void CEditableList::SetEditText(const std::string& text) {
    if (IsEditing()) m_editText = text;
}

bool CEditableList::EndEdit(bool commit) {
    if (!IsEditing()) return false;
    const int row = m_editRow, column = m_editColumn;
    m_editRow = m_editColumn = -1;
    std::string text = std::move(m_editText);
    m_editText.clear();
    // The rows may have changed under an open editor; a cell that is gone takes nothing.
    if (!commit || !IsEditable(row, column)) return false;
    if (!AcceptEdit(row, column, text)) return false;
    SetText(row, column, text);
    m_lastRow = row;
    m_lastColumn = column;
    EditCommitted(row, column);
    Notify(Notification::Changed);
    return true;
}

bool CEditableList::EditCell(int row, int column, const std::string& text) {
    if (!BeginEdit(row, column)) return false;
    SetEditText(text);
    return EndEdit(true);
}

}  // namespace TAVUi
