#pragma once
// The adapter of a list control: a report list (columns, rows, cells with their colours, several selected
// rows) or a list box (items in one column, one selection), in a table view whose model reads the
// control's state directly, so only the rows in sight are asked for and long result lists stay quick.
// Lists with a behaviour of their own (the editable list) derive from it and change what the model
// allows and what a selection does.
#include <QAbstractTableModel>
#include <QTableView>

#include "ControlBinding.h"

namespace SewerGui {

class ListModel : public QAbstractTableModel {
public:
    explicit ListModel(const TAVUi::CControl& control) : m_control(control) {}
    bool Report() const { return !m_control.columns.empty(); }
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Shows what the control holds now: a new shape resets the view, the same shape repaints it.
    void Refresh();

protected:
    const TAVUi::CControl& m_control;

private:
    int m_rows = -1;
    int m_columns = -1;
};

class ListAdapter : public ControlAdapter {
public:
    // `model` (owned by the table) replaces the plain model of the control's rows.
    ListAdapter(DialogView& view, TAVUi::CControl& control, QWidget* parent, ListModel* model = nullptr);
    QWidget* Widget() const override { return m_table; }
    void Push() override;

protected:
    // The person selected these rows (in order): a report list marks them and notifies ItemChanged, a list
    // box selects the first and notifies SelChange.
    virtual void Selected(const std::vector<int>& rows);

    QTableView* m_table;
    ListModel* m_model;
    bool m_oneRow = false;  // one selected row at most, even in a report list

private:
    std::size_t m_widthsShown = static_cast<std::size_t>(-1);
};

}  // namespace SewerGui
