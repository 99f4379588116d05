// The adapter of an editable list (a list control with TAVUi::CEditableList as its behaviour): the rows'
// check boxes in the first column, the editable cells edited in place (double click or F2), one selected
// row. Every change goes through the list's own calls for a person's actions (ClickCheck, EditCell,
// SelectRow), which notify the dialog.
#include <QAbstractItemView>

#include "DialogView.h"
#include "ListAdapter.h"
#include "platform/ui/EditableList.h"

namespace SewerGui {

namespace {

class EditableListModel final : public ListModel {
public:
    EditableListModel(DialogView& view, const TAVUi::CControl& control) : ListModel(control), m_view(view) {}
    TAVUi::CEditableList* List() const { return TAVUi::CEditableList::Of(m_control); }
    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = ListModel::flags(index);
        auto* list = List();
        if (!list || !index.isValid()) return f;
        if (index.column() == 0 && list->HasCheck(index.row())) f |= Qt::ItemIsUserCheckable;
        if (list->IsEditable(index.row(), index.column())) f |= Qt::ItemIsEditable;
        return f;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        auto* list = List();
        if (role == Qt::CheckStateRole && list && index.column() == 0 && list->HasCheck(index.row()))
            return list->IsChecked(index.row()) ? Qt::Checked : Qt::Unchecked;
        return ListModel::data(index, role);
    }
    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        auto* list = List();
        if (!list || !index.isValid()) return false;
        bool done = false;
        if (role == Qt::CheckStateRole && index.column() == 0) {
            const bool want = value.toInt() == Qt::Checked;
            if (list->IsChecked(index.row()) != want)
                m_view.Run([&] { done = list->ClickCheck(index.row()); });
        } else if (role == Qt::EditRole) {
            m_view.Run([&] { done = list->EditCell(index.row(), index.column(), FromQt(value.toString())); });
        }
        return done;
    }

private:
    DialogView& m_view;
};

class EditableListAdapter final : public ListAdapter {
public:
    EditableListAdapter(DialogView& view, TAVUi::CControl& control, QWidget* parent)
        : ListAdapter(view, control, parent, new EditableListModel(view, control)) {
        m_oneRow = true;
        m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    }

protected:
    void Selected(const std::vector<int>& rows) override {
        auto* list = TAVUi::CEditableList::Of(m_control);
        if (!list || rows.empty()) return;
        m_view.Run([&] { list->SelectRow(rows.front()); });
    }
};

}  // namespace

void RegisterEditableListAdapter() {
    RegisterAdapter([](const TAVUi::CControl& c) { return TAVUi::CEditableList::Of(c) != nullptr; },
                    [](DialogView& view, TAVUi::CControl& control, QWidget* parent) {
                        return std::make_unique<EditableListAdapter>(view, control, parent);
                    });
}

}  // namespace SewerGui
