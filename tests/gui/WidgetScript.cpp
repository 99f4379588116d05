#include "WidgetScript.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "GuiTestSupport.h"
#include "host/gui/DialogView.h"
#include "host/gui/PlanView.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopologyStorage.h"

namespace guitest {

using SewerGui::DialogWindow;

namespace {

std::optional<int> Whole(const std::string& word) {
    int v = 0;
    auto [p, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || p != word.data() + word.size()) return std::nullopt;
    return v;
}

// What a widget shows as its text.
std::string ShownText(QWidget* w) {
    if (auto* x = qobject_cast<QLabel*>(w)) return x->text().toStdString();
    if (auto* x = qobject_cast<QLineEdit*>(w)) return x->text().toStdString();
    if (auto* x = qobject_cast<QComboBox*>(w)) return x->currentText().toStdString();
    if (auto* x = qobject_cast<QAbstractButton*>(w)) return x->text().toStdString();
    if (auto* x = qobject_cast<QGroupBox*>(w)) return x->title().toStdString();
    return {};
}

// Where a person clicks an entity in the plan: a node on its point, a section in the middle of its middle
// piece.
std::optional<QPoint> PointOf(SewerGui::PlanView& plan, const std::string& name) {
    auto* doc = plan.Document();
    if (!doc) return std::nullopt;
    auto& topo = TAVGis::Topology::TopologyOf(*doc);
    if (auto n = topo.FindNodeByName(name)) return plan.ToScreen(n->X(), n->Y()).toPoint();
    auto s = topo.FindSectionByName(name);
    if (!s) return std::nullopt;
    std::vector<TAVHost::Point2d> pts{{s->GetStartingNode()->X(), s->GetStartingNode()->Y()}};
    pts.insert(pts.end(), s->Vertices().begin(), s->Vertices().end());
    pts.push_back({s->GetEndingNode()->X(), s->GetEndingNode()->Y()});
    const std::size_t i = (pts.size() - 1) / 2;
    return plan.ToScreen((pts[i].x + pts[i + 1].x) / 2, (pts[i].y + pts[i + 1].y) / 2).toPoint();
}

void PressKeys(QWidget* w, const std::string& keys) {
    static const std::map<std::string, std::pair<Qt::Key, Qt::KeyboardModifiers>> table = {
        {"ctrl+a", {Qt::Key_A, Qt::ControlModifier}},
        {"ctrl+c", {Qt::Key_C, Qt::ControlModifier}},
        {"ctrl+x", {Qt::Key_X, Qt::ControlModifier}},
        {"ctrl+v", {Qt::Key_V, Qt::ControlModifier}},
        {"ctrl+insert", {Qt::Key_Insert, Qt::ControlModifier}},
        {"shift+insert", {Qt::Key_Insert, Qt::ShiftModifier}},
        {"shift+delete", {Qt::Key_Delete, Qt::ShiftModifier}},
        {"delete", {Qt::Key_Delete, Qt::NoModifier}},
        {"backspace", {Qt::Key_Backspace, Qt::NoModifier}}};
    auto it = table.find(keys);
    if (it == table.end()) return ADD_FAILURE() << "no key combination " << keys;
    QTest::keyClick(w, it->second.first, it->second.second);
}

}  // namespace

WidgetScript::WidgetScript(SewerGui::MainWindow& window, const std::string& path)
    : m_window(window), m_path(path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    m_statements = ParseScript(text.str(), path);
}

std::string WidgetScript::Where(const Statement& st) const {
    return m_path + ":" + std::to_string(st.line);
}

void WidgetScript::Run() {
    m_window.dialogShown = [this](DialogWindow& w) { OnDialog(w); };
    m_window.pickStarted = [this](const TAVHost::PickRequest& r) { OnPick(r); };
    m_window.fileSink = [this](const TAVHost::FileRequest&) -> std::optional<std::string> {
        if (m_files.empty()) return std::nullopt;
        auto f = m_files.front();
        m_files.pop_front();
        return f;
    };
    while (m_next < m_statements.size()) {
        const Statement& st = m_statements[m_next++];
        if (st.words[0] == "command") {
            EXPECT_TRUE(st.words.size() > 1 && m_window.RunCommand(st.words[1])) << Where(st);
        } else if (!Other(st)) {
            ADD_FAILURE() << Where(st) << ": '" << st.words[0]
                          << "' needs an open dialog or is not supported";
        }
    }
    m_window.dialogShown = nullptr;
    m_window.pickStarted = nullptr;
    m_window.fileSink = nullptr;
}

void WidgetScript::OnDialog(DialogWindow& w) {
    while (!w.Dialog().IsEnded() && m_next < m_statements.size()) {
        const Statement& st = m_statements[m_next++];
        if (Other(st)) continue;
        if (st.words[0] == "command") {
            ADD_FAILURE() << Where(st) << ": a dialog is still open";
            break;
        }
        Dialog(st, w);
    }
    if (!w.Dialog().IsEnded()) w.reject();  // the script ended with the dialog open
}

void WidgetScript::OnPick(const TAVHost::PickRequest& request) {
    if (m_picks.empty()) return m_window.FinishPick(true);  // no answer: nothing picked
    auto names = m_picks.front();
    m_picks.pop_front();
    auto& plan = m_window.Plan();
    for (const auto& name : names) {
        auto at = PointOf(plan, name);
        if (!at) {
            ADD_FAILURE() << "no entity " << name << " in the plan";
            continue;
        }
        QTest::mouseClick(&plan, Qt::LeftButton, {}, *at);
        if (!plan.Picking()) return;  // a direction pick ends with its click
    }
    QTest::keyClick(&m_window.CommandLine(), Qt::Key_Return);  // an empty line ends the pick
}

bool WidgetScript::Other(const Statement& st) {
    const auto& w = st.words;
    const std::string& verb = w[0];
    if (verb == "echo" || verb == "print" || verb == "dump" || verb == "controls") return true;
    if (verb == "pick") {
        m_picks.emplace_back(w.begin() + 1, w.end());
        return true;
    }
    if (verb == "file" && w.size() > 1) {
        m_files.push_back(w[1]);
        return true;
    }
    if (verb == "expect-attr" && w.size() >= 4) {
        auto& topo = TAVGis::Topology::TopologyOf(*acDocManagerPtr()->curDocument());
        auto e = topo.FindEntityByName(w[1]);
        const auto* def =
            e ? TAVGis::Data::CDataConfiguration::GetInstance().GetDataDefinition(e->GetEntityType(), w[2])
              : nullptr;
        if (!def) {
            ADD_FAILURE() << Where(st) << ": no attribute " << w[2] << " of " << w[1];
            return true;
        }
        TAVGis::Data::CDataBox box;
        TAVGis::Data::CDataRW::Read(def, e, box);
        if (w[3] == "missing") {
            EXPECT_TRUE(box.IsNull()) << Where(st);
        } else if (def->GetValueType() == TAVGis::Data::ValueType::Text) {
            EXPECT_TRUE(box.IsNotNull() && box.ToString() == w[3]) << Where(st);
        } else {
            const double tolerance = w.size() > 4 ? std::stod(w[4]) : 1e-9;
            EXPECT_TRUE(box.IsNotNull() && std::fabs(box.ToDouble() - std::stod(w[3])) <= tolerance)
                << Where(st) << ": "
                << (box.IsNull() ? std::string("missing") : std::to_string(box.ToDouble()));
        }
        return true;
    }
    return false;
}

void WidgetScript::Dialog(const Statement& st, DialogWindow& window) {
    const auto& w = st.words;
    const std::string& verb = w[0];
    const std::string where = Where(st);
    if (verb == "close") return window.reject();
    if (verb == "expect-title") {
        EXPECT_EQ(window.windowTitle().toStdString(), w.at(1)) << where;
        return;
    }
    if (w.size() < 2) return ADD_FAILURE() << where << ": '" << verb << "' without a control";
    QWidget* widget = WidgetOf(window, w[1]);
    TAVUi::CControl* control = ControlOf(window, w[1]);
    if (!widget || !control) return ADD_FAILURE() << where;
    auto* table = qobject_cast<QTableView*>(widget);
    if (verb == "set") return TypeOver(window, w[1], w.at(2));
    if (verb == "type") {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if (!edit) return ADD_FAILURE() << where << ": not an edit";
        QTest::keyClicks(edit, QString::fromStdString(w.at(2)));
        return;
    }
    if (verb == "caret") {
        auto* edit = qobject_cast<QLineEdit*>(widget);
        if (!edit) return ADD_FAILURE() << where << ": not an edit";
        const int from = SewerGui::Utf8ToQtPosition(control->text, Whole(w.at(2)).value_or(0));
        const int to =
            w.size() > 3 ? SewerGui::Utf8ToQtPosition(control->text, Whole(w[3]).value_or(0)) : from;
        edit->setSelection(from, to - from);
        return;
    }
    if (verb == "check") return Check(window, w[1], w.at(2) == "1");
    if (verb == "click") return Click(window, w[1]);
    if (verb == "key") return PressKeys(widget, w.at(2));
    if (verb == "choose") {
        const auto index = Whole(w.at(2));
        if (auto* tree = qobject_cast<QTreeWidget*>(widget)) {
            auto found = tree->findItems(QString::fromStdString(w[2]), Qt::MatchExactly | Qt::MatchRecursive);
            if (found.isEmpty()) return ADD_FAILURE() << where << ": no item " << w[2];
            tree->setCurrentItem(found.front());
            return;
        }
        int i = index.value_or(-1);
        if (!index)
            for (std::size_t k = 0; k < control->items.size(); ++k)
                if (control->items[k].text == w[2]) i = static_cast<int>(k);
        if (i < 0) return ADD_FAILURE() << where << ": no entry " << w[2];
        if (table) {
            table->selectRow(i);
            return;
        }
        return Choose(window, w[1], i);
    }
    if (!table && (verb == "select" || verb == "check-row" || verb == "edit-cell" ||
                   verb == "expect-row-checked" || verb == "expect-cell"))
        return ADD_FAILURE() << where << ": not a list";
    if (verb == "select") {
        QItemSelection selection;
        for (std::size_t k = 2; k < w.size(); ++k) {
            const int row = Whole(w[k]).value_or(-1);
            selection.select(table->model()->index(row, 0),
                             table->model()->index(row, table->model()->columnCount() - 1));
        }
        table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        return;
    }
    if (verb == "check-row" || verb == "expect-row-checked") {
        const QModelIndex index = table->model()->index(Whole(w.at(2)).value_or(-1), 0);
        const bool want = w.at(3) == "1";
        const auto checked = [&] {
            return table->model()->data(index, Qt::CheckStateRole).toInt() == Qt::Checked;
        };
        if (verb == "expect-row-checked") {
            EXPECT_EQ(checked(), want) << where;
            return;
        }
        if (!(table->model()->flags(index) & Qt::ItemIsUserCheckable))
            return ADD_FAILURE() << where << ": the row has no check box";
        if (checked() == want) return;
        // A click on the row's box: the view hands the new state to the model.
        table->scrollTo(index);
        const QRect cell = table->visualRect(index);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
        EXPECT_EQ(checked(), want) << where << ": the click missed the box";
        return;
    }
    if (verb == "edit-cell") {
        const QModelIndex index =
            table->model()->index(Whole(w.at(2)).value_or(-1), Whole(w.at(3)).value_or(-1));
        table->scrollTo(index);
        table->setCurrentIndex(index);
        table->edit(index);
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        if (!editor) return ADD_FAILURE() << where << ": the cell opens no editor";
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromStdString(w.at(4)));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor hands its text over from the event loop
        return;
    }
    if (verb == "expect") {
        EXPECT_EQ(ShownText(widget), w.at(2)) << where;
        return;
    }
    if (verb == "expect-checked") {
        auto* button = qobject_cast<QAbstractButton*>(widget);
        EXPECT_TRUE(button && button->isChecked() == (w.at(2) == "1")) << where;
        return;
    }
    if (verb == "expect-enabled") {
        EXPECT_EQ(widget->isEnabled(), w.at(2) == "1") << where;
        return;
    }
    if (verb == "expect-count") {
        int count = -1;
        if (table) count = table->model()->rowCount();
        if (auto* combo = qobject_cast<QComboBox*>(widget)) count = combo->count();
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) count = tabs->count();
        EXPECT_EQ(count, Whole(w.at(2)).value_or(-2)) << where;
        return;
    }
    if (verb == "expect-cell") {
        const QModelIndex index =
            table->model()->index(Whole(w.at(2)).value_or(-1), Whole(w.at(3)).value_or(-1));
        EXPECT_EQ(table->model()->data(index, Qt::DisplayRole).toString().toStdString(), w.at(4)) << where;
        return;
    }
    ADD_FAILURE() << where << ": '" << verb << "' is not supported through the widgets";
}

}  // namespace guitest
