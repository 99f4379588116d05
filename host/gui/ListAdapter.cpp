#include "ListAdapter.h"

#include <QHeaderView>
#include <QItemSelection>
#include <algorithm>

#include "DialogView.h"

namespace SewerGui {

using TAVUi::Notification;

namespace {
QColor ToColor(const TAVUi::Rgb& c) {
    return QColor(c.r, c.g, c.b);
}
}  // namespace

int ListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(Report() ? m_control.rows.size() : m_control.items.size());
}

int ListModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return Report() ? static_cast<int>(m_control.columns.size()) : 1;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<std::size_t>(index.row());
    const auto column = static_cast<std::size_t>(index.column());
    if (!Report()) {
        if (role == Qt::DisplayRole && row < m_control.items.size()) return ToQt(m_control.items[row].text);
        return {};
    }
    if (row >= m_control.rows.size()) return {};
    const auto& cells = m_control.rows[row].cells;
    if (column >= cells.size()) return {};
    const auto& cell = cells[column];
    if (role == Qt::DisplayRole || role == Qt::EditRole) return ToQt(cell.text);
    if (role == Qt::ForegroundRole && cell.textColor) return ToColor(*cell.textColor);
    if (role == Qt::BackgroundRole && cell.backColor) return ToColor(*cell.backColor);
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && Report() && section >= 0 &&
        section < static_cast<int>(m_control.columns.size()))
        return ToQt(m_control.columns[static_cast<std::size_t>(section)].header);
    return {};
}

void ListModel::Refresh() {
    const int rows = rowCount({}), columns = columnCount({});
    if (rows != m_rows || columns != m_columns) {
        beginResetModel();
        m_rows = rows;
        m_columns = columns;
        endResetModel();
    } else if (rows > 0 && columns > 0) {
        emit dataChanged(index(0, 0), index(rows - 1, columns - 1));
        emit headerDataChanged(Qt::Horizontal, 0, columns - 1);
    }
}

ListAdapter::ListAdapter(DialogView& view, TAVUi::CControl& control, QWidget* parent, ListModel* model)
    : ControlAdapter(view, control),
      m_table(new QTableView(parent)),
      m_model(model ? model : new ListModel(control)) {
    m_model->setParent(m_table);
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    FilterKeys(m_table);
    QObject::connect(m_table, &QTableView::doubleClicked, [this] { Act(Notification::DoubleClick); });
    QObject::connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, [this] {
        std::vector<int> rows;
        for (const auto& index : m_table->selectionModel()->selectedRows()) rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        Selected(rows);
    });
}

void ListAdapter::Selected(const std::vector<int>& rows) {
    if (m_model->Report()) {
        for (auto& r : m_control.rows) r.selected = false;
        for (int row : rows)
            if (row < static_cast<int>(m_control.rows.size()))
                m_control.rows[static_cast<std::size_t>(row)].selected = true;
        Act(Notification::ItemChanged);
    } else {
        m_control.SetCurSel(rows.empty() ? -1 : rows.front());
        Act(Notification::SelChange);
    }
}

void ListAdapter::Push() {
    const QSignalBlocker block(m_table->selectionModel());
    const bool report = m_model->Report();
    m_table->horizontalHeader()->setVisible(report);
    m_table->setSelectionMode(report && !m_oneRow ? QAbstractItemView::ExtendedSelection
                                                  : QAbstractItemView::SingleSelection);
    const int before = m_model->rowCount({});
    m_model->Refresh();
    if (before != m_model->rowCount({}) || m_widthsShown != m_control.columns.size()) {
        m_widthsShown = m_control.columns.size();
        for (std::size_t i = 0; i < m_control.columns.size(); ++i)
            if (m_control.columns[i].width > 0)
                m_table->setColumnWidth(static_cast<int>(i),
                                        static_cast<int>(m_control.columns[i].width * m_view.UnitX()));
        if (!report) m_table->horizontalHeader()->setStretchLastSection(true);
    }
    // The selection the control holds, as ranges of rows.
    QItemSelection selection;
    auto select = [&](int from, int to) {
        selection.select(m_model->index(from, 0), m_model->index(to, m_model->columnCount({}) - 1));
    };
    if (report) {
        int from = -1;
        const int count = static_cast<int>(m_control.rows.size());
        for (int r = 0; r <= count; ++r) {
            const bool on = r < count && m_control.rows[static_cast<std::size_t>(r)].selected;
            if (on && from < 0) from = r;
            if (!on && from >= 0) {
                select(from, r - 1);
                from = -1;
            }
        }
    } else if (m_control.curSel >= 0 && m_control.curSel < m_model->rowCount({})) {
        select(m_control.curSel, m_control.curSel);
    }
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_table->viewport()->update();
}

}  // namespace SewerGui
