#pragma once
// CEditableList: a report list whose rows a person ticks and whose cells a person edits in place, as the
// behaviour of a list control (kind "list") of a headless dialog. The rows and their cells stay the
// control's own state (CControl::columns, rows, cells, selected), so everything that shows a report list
// shows this one; the list adds what a report list lacks:
//   - a check box in the first column of every row that has one (a separator row may have none);
//   - cells that a person edits in place, in the columns (and rows) the dialog makes editable;
//   - one selected row, and a notification to the dialog when a person selects a row.
//
// Two kinds of calls:
//   - the program's (filling, SetText, SetChecked, Select): change the state, notify nobody;
//   - a person's (ClickCheck, SelectRow, BeginEdit/EndEdit or EditCell): change the state and notify the
//     dialog through its handlers, as a click on a real list would:
//       a row selected      -> Notification::ItemChanged (SelectedRow() is the row)
//       a check box clicked -> Notification::Clicked     (LastRow() is the row)
//       an edit committed   -> Notification::Changed     (LastRow(), LastColumn() are the cell)
// A desktop host binds a real list widget to the same state: it draws columns, rows, cells and checks,
// forwards a click on a check box to ClickCheck, a row selection to SelectRow, and an in-place editor to
// BeginEdit / EndEdit. Rows that are not checkable ignore ClickCheck; cells that are not editable refuse
// BeginEdit. An out-of-range row or column is refused (false), never undefined.
//
// Attaching, in a dialog's OnInitDialog:
//     m_list = TAVUi::CEditableList::Attach(*this, IDC_LIST_DATA);
//     m_list->SetColumns({{"name", 200}, {"value", 80}});
//     m_list->SetEditableColumn(1, true);
//     int row = m_list->AddRow({"Runoff exponent", "6.0"});          // checkable, unchecked
//     m_list->AddRow({"=========", ""}, /*checkable=*/false);           // a separator
// The control owns the behaviour; the pointer stays valid as long as the dialog's controls.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AdUiBaseDialog.h"
#include "platform/ui/Control.h"

namespace TAVUi {

class CEditableList : public CControlBehavior {
public:
    // Attaches a new editable list to the list control `id` of `dialog` (replacing its behaviour and
    // emptying it); null when the dialog has no such control.
    static CEditableList* Attach(CAdUiBaseDialog& dialog, int id);
    // The editable list behind a control, or null.
    static CEditableList* Of(const CControl& control);

    // ---- the program's calls (no notification) ----
    void SetColumns(const std::vector<ListColumn>& columns);
    // Appends a row; cells beyond the columns are dropped, missing ones are empty. Returns its index.
    int AddRow(const std::vector<std::string>& cells, bool checkable = true, bool checked = false);
    void DeleteAllRows();
    int RowCount() const;
    int ColumnCount() const;
    std::string GetText(int row, int column) const;
    bool SetText(int row, int column, const std::string& text);
    bool HasCheck(int row) const;
    bool IsChecked(int row) const;
    bool SetChecked(int row, bool checked);
    // Cells a person may edit: a whole column, minus the rows made read-only.
    void SetEditableColumn(int column, bool editable);
    void SetRowReadOnly(int row, bool readOnly);
    bool IsEditable(int row, int column) const;
    // The selected row, or -1; Select(-1) clears the selection.
    int SelectedRow() const;
    bool Select(int row);

    // ---- a person's actions (the dialog is notified) ----
    // Selects the row (and only it) and notifies ItemChanged.
    bool SelectRow(int row);
    // Toggles the row's check box and notifies Clicked; false for a row without one.
    bool ClickCheck(int row);
    // In-place editing: BeginEdit opens the editor on an editable cell with the cell's text; SetEditText
    // changes what the editor holds; EndEdit(true) writes it to the cell and notifies Changed, EndEdit(false)
    // drops it. Beginning another edit ends the open one without writing it.
    bool BeginEdit(int row, int column);
    bool IsEditing() const { return m_editRow >= 0; }
    int EditRow() const { return m_editRow; }
    int EditColumn() const { return m_editColumn; }
    const std::string& EditText() const { return m_editText; }
    void SetEditText(const std::string& text);
    bool EndEdit(bool commit);
    // BeginEdit, SetEditText and EndEdit(true) in one.
    bool EditCell(int row, int column, const std::string& text);

    // The cell of the last check click or committed edit (-1 before any).
    int LastRow() const { return m_lastRow; }
    int LastColumn() const { return m_lastColumn; }

protected:
    // Binds this list to a control (what Attach does for a new list): the control takes shared ownership,
    // is emptied, and the dialog (null for a control outside a dialog) is the one notified.
    void Bind(CAdUiBaseDialog* dialog, CControl& control, const std::shared_ptr<CEditableList>& self);
    // A list that checks what a person typed: called by EndEdit(true) before the cell is written; false
    // refuses the edit (the cell keeps its text, nobody is notified); the text may be rewritten (a number
    // shown in its own format).
    virtual bool AcceptEdit(int row, int column, std::string& text) { return true; }
    // Called after an accepted edit was written to its cell, before the dialog is notified.
    virtual void EditCommitted(int row, int column) {}

private:
    struct RowState {
        bool checkable = true;
        bool checked = false;
        bool readOnly = false;
    };
    bool ValidRow(int row) const;
    bool ValidColumn(int column) const;
    RowState* State(int row);
    const RowState* State(int row) const;
    void Notify(Notification notification);

    CAdUiBaseDialog* m_dialog = nullptr;
    CControl* m_control = nullptr;
    std::vector<RowState> m_rows;  // beside m_control->rows, row for row
    std::vector<bool> m_editableColumns;
    int m_editRow = -1;
    int m_editColumn = -1;
    std::string m_editText;
    int m_lastRow = -1;
    int m_lastColumn = -1;
};

}  // namespace TAVUi
