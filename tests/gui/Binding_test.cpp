// Every dialog of the module in real widgets: each template opens with every control bound to a widget of
// its kind at its place; every command's dialog (with its tab pages) is bound the same way; the numeric
// fields apply their typing rules as the person types into the widget.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <map>
#include <set>

#include "GuiTestSupport.h"
#include "host/gui/DrawingActions.h"
#include "host/gui/MainWindow.h"
#include "platform/host/Document.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/EditableList.h"

namespace {

using TAVUi::ControlKind;

// The Qt class a person sees for each kind of control.
const std::map<ControlKind, const char*> kWidgetOfKind = {
    {ControlKind::Button, "QPushButton"}, {ControlKind::Check, "QCheckBox"},
    {ControlKind::Radio, "QRadioButton"}, {ControlKind::Edit, "QLineEdit"},
    {ControlKind::Static, "QLabel"},      {ControlKind::Group, "QGroupBox"},
    {ControlKind::Combo, "QComboBox"},    {ControlKind::List, "QTableView"},
    {ControlKind::Tree, "QTreeWidget"},   {ControlKind::Tab, "QTabWidget"},
    {ControlKind::Placeholder, "QFrame"}, {ControlKind::Selection, "QToolButton"},
    {ControlKind::Bitmap, "QLabel"},
};

// Every control of the view's dialog has a widget of its kind; returns how many were checked.
int ExpectBound(const SewerGui::DialogView& view) {
    int checked = 0;
    for (auto* c : view.Dialog().Controls()) {
        const auto kind = kWidgetOfKind.find(c->kind);
        if (kind == kWidgetOfKind.end()) {
            ADD_FAILURE() << "no widget named for kind " << TAVUi::ControlKindName(c->kind);
            continue;
        }
        QWidget* w = view.WidgetFor(c->id);
        EXPECT_TRUE(w && w->inherits(kind->second))
            << "dialog " << view.Dialog().TemplateId() << " control " << c->name << " ("
            << TAVUi::ControlKindName(c->kind) << ") is a " << (w ? w->metaObject()->className() : "nothing");
        ++checked;
    }
    return checked;
}

TEST(DialogBinding, EveryTemplateOpensWithEveryControlInAWidgetOfItsKindAtItsPlace) {
    const auto& templates = TAVUi::DialogTemplatesOf(guitest::Module().Resources());
    ASSERT_GE(templates.size(), 19u);
    acDocManagerPtr()->pushResourceHandle(guitest::Module().Resources());
    for (const auto& [id, t] : templates) {
        TAVUi::CAdUiBaseDialog dialog(id);
        ASSERT_TRUE(dialog.Create(nullptr)) << id;
        SewerGui::DialogView view(dialog, nullptr);
        EXPECT_EQ(ExpectBound(view), static_cast<int>(t.controls.size())) << id;
        for (const auto& c : t.controls) {
            QWidget* w = view.WidgetFor(c.id);
            ASSERT_NE(w, nullptr) << id << " " << c.name;
            const QRect place = view.Place(c.x, c.y, c.width, c.height);
            EXPECT_EQ(w->geometry().topLeft(), place.topLeft()) << id << " " << c.name;
            EXPECT_EQ(w->width(), place.width()) << id << " " << c.name;
            // A combo box's template height includes its drop-down list; the box itself is one line.
            if (c.kind == ControlKind::Combo)
                EXPECT_LE(w->height(), place.height()) << id << " " << c.name;
            else
                EXPECT_EQ(w->height(), place.height()) << id << " " << c.name;
        }
        // The template's captions are what the widgets show.
        for (const auto& c : t.controls) {
            if (c.kind != ControlKind::Button || c.caption.empty()) continue;
            auto* button = qobject_cast<QAbstractButton*>(view.WidgetFor(c.id));
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text().toStdString(), c.caption) << id << " " << c.name;
        }
    }
    acDocManagerPtr()->popResourceHandle();
}

class CommandDialogs : public guitest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        auto& doc = *acDocManagerPtr()->curDocument();
        SewerGui::Drawing::Import(doc, std::string(SEWER_SOURCE_DIR) + "/examples/town/town.geojson");
        SewerGui::Drawing::Import(doc, std::string(SEWER_SOURCE_DIR) + "/examples/catalogue/pipe_series.csv");
    }
};

TEST_F(CommandDialogs, EveryCommandsDialogAndItsTabPagesAreBound) {
    std::set<int> seen;
    int dialogs = 0, alerted = 0;
    for (const auto& command : guitest::Module().Commands()) {
        if (command.registered) continue;
        bool shown = false;
        window->dialogShown = [&](SewerGui::DialogWindow& w) {
            shown = true;
            EXPECT_TRUE(w.isVisible()) << command.name;
            seen.insert(w.Dialog().TemplateId());
            ExpectBound(w.View());
            for (auto* page : w.View().Pages()) {
                seen.insert(page->Dialog().TemplateId());
                ExpectBound(*page);
            }
            w.reject();  // the close box
            if (!w.Dialog().IsEnded()) {
                w.Dialog().EndDialog(TAVUi::IDCANCEL);
                w.AfterAction();
            }
        };
        alerts.clear();
        ASSERT_TRUE(window->RunCommand(command.name)) << command.name;
        // A command shows its dialog, or tells the person why not (a command without a dialog alerts).
        EXPECT_TRUE(shown || !alerts.empty()) << command.name << " showed nothing";
        shown ? ++dialogs : ++alerted;
    }
    EXPECT_GE(dialogs, 15);
    EXPECT_LE(alerted, 1);
    // The tab hosts' pages were bound too: the flow pages and the hydraulics pages.
    for (int page : {220, 221, 204}) EXPECT_TRUE(seen.count(page)) << "page " << page << " was not shown";
}

// The numeric fields of waste water by percent, typed into as a person types: each key goes through the
// field's rules (the same rules the script verbs `type` and `key` exercise).
TEST_F(CommandDialogs, NumericFieldsApplyTheirRulesAsThePersonTypes) {
    struct Case {
        const char* field;
        const char* before;      // set as the program sets it ("" keeps what the dialog shows)
        int caretFrom, caretTo;  // -1: the whole text selected
        const char* keys;        // typed; "<bs>" a backspace, "<paste>" ctrl+v of "1a2.3c"
        const char* after;
    };
    const Case cases[] = {
        {"IDC_EDIT_Q", "150", -1, -1, "-2.5", "2.5"},    // no negatives: the minus is refused
        {"IDC_EDIT_P", "1", -1, -1, "-2.5", "-2.5"},     // negatives allowed
        {"IDC_EDIT_N", "1", -1, -1, "12a3", "123"},      // letters refused
        {"IDC_EDIT_KD", "12.5", 0, 0, ".7", "12.75"},    // a second point moves past the first
        {"IDC_EDIT_KD", "12.75", 5, 5, "<bs>", "12.7"},  // backspace at the end
        {"IDC_EDIT_Q", "150", 0, 3, "<paste>", "12.3"},  // a paste keeps what the rules allow
    };
    bool shown = false;
    window->dialogShown = [&](SewerGui::DialogWindow& w) {
        shown = true;
        for (const auto& c : cases) {
            auto* edit = qobject_cast<QLineEdit*>(guitest::WidgetOf(w, c.field));
            auto* control = guitest::ControlOf(w, c.field);
            ASSERT_TRUE(edit && control) << c.field;
            // From the control to the widget: the text the program sets is what the field shows.
            control->SetWindowText(c.before);
            w.AfterAction();
            EXPECT_EQ(edit->text().toStdString(), control->text) << c.field;
            if (c.caretFrom < 0)
                edit->selectAll();
            else
                edit->setSelection(c.caretFrom, c.caretTo - c.caretFrom);
            const std::string keys = c.keys;
            if (keys == "<bs>") {
                QTest::keyClick(edit, Qt::Key_Backspace);
            } else if (keys == "<paste>") {
                QApplication::clipboard()->setText("1a2.3c");
                QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            } else {
                QTest::keyClicks(edit, QString::fromStdString(keys));
            }
            // From the widget to the control, and back: both hold the text the rules left.
            EXPECT_EQ(control->text, c.after) << c.field << " typed " << c.keys;
            EXPECT_EQ(edit->text().toStdString(), c.after) << c.field << " typed " << c.keys;
        }
        w.reject();
    };
    ASSERT_TRUE(window->RunCommand("CalcWasteWaterPercent"));
    EXPECT_TRUE(shown);
}

// A report list shows its cells' colours and takes several selected rows, both ways: rows the person
// selects in the table are the control's selected rows, rows the dialog selects are selected in the table.
TEST_F(CommandDialogs, ReportListsShowCellColoursAndSeveralSelectedRows) {
    bool shown = false;
    window->dialogShown = [&](SewerGui::DialogWindow& w) {
        shown = true;
        guitest::Choose(w, "IDC_TAB", 1);
        guitest::Click(w, "IDC_RADIO_MIN_DIAMETER");
        guitest::Click(w, "IDC_RADIO_WITHOUT_CONDITIONS");
        guitest::Choose(w, "IDC_COMBO_GROUP", 0);
        guitest::Click(w, "IDC_CALCULATE");
        auto* control = guitest::ControlOf(w, "IDC_RESULTS");
        auto* table = qobject_cast<QTableView*>(guitest::WidgetOf(w, "IDC_RESULTS"));
        ASSERT_TRUE(control && table);
        ASSERT_GE(control->rows.size(), 3u);
        ASSERT_EQ(table->model()->rowCount(), static_cast<int>(control->rows.size()));
        int coloured = 0;
        for (std::size_t r = 0; r < control->rows.size(); ++r)
            for (std::size_t k = 0; k < control->rows[r].cells.size(); ++k) {
                const auto& cell = control->rows[r].cells[k];
                const QModelIndex index = table->model()->index(static_cast<int>(r), static_cast<int>(k));
                EXPECT_EQ(table->model()->data(index).toString().toStdString(), cell.text);
                if (!cell.textColor) continue;
                ++coloured;
                EXPECT_EQ(table->model()->data(index, Qt::ForegroundRole).value<QColor>(),
                          QColor(cell.textColor->r, cell.textColor->g, cell.textColor->b));
            }
        EXPECT_GT(coloured, 0) << "the statuses are coloured";
        // The person selects rows 0 and 2 (a click and a ctrl+click).
        QItemSelection rows;
        for (int r : {0, 2}) rows.select(table->model()->index(r, 0), table->model()->index(r, 1));
        table->selectionModel()->select(rows,
                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        EXPECT_EQ(control->SelectedRows(), (std::vector<int>{0, 2}));
        // The dialog selects row 1 only.
        for (auto& row : control->rows) row.selected = false;
        control->rows[1].selected = true;
        w.AfterAction();
        const auto selected = table->selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.front().row(), 1);
        w.reject();
    };
    ASSERT_TRUE(window->RunCommand("CalcHydraulicsSewage"));
    EXPECT_TRUE(shown);
}

// A handler that fails: the window closes and the exception goes on to the command that opened the dialog
// (whose frame takes its changes back), instead of being lost in the window's event loop.
class FailingDialog : public TAVUi::CAdUiBaseDialog {
public:
    FailingDialog() : CAdUiBaseDialog(348) {
        Map(TAVUi::IDOK, TAVUi::Notification::Clicked,
            [] { throw std::runtime_error("the handler failed"); });
    }
};

TEST_F(CommandDialogs, AHandlerThatThrowsClosesTheWindowAndTheErrorReachesTheCommand) {
    acDocManagerPtr()->pushResourceHandle(guitest::Module().Resources());
    FailingDialog dialog;
    bool clicked = false;
    window->dialogShown = [&](SewerGui::DialogWindow& w) {
        guitest::Click(w, "IDOK");
        clicked = true;
    };
    std::string error;
    try {
        dialog.DoModal();
    } catch (const std::runtime_error& e) {
        error = e.what();
    }
    acDocManagerPtr()->popResourceHandle();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(error, "the handler failed");
    EXPECT_TRUE(SewerGui::DialogWindow::Running().empty());
    EXPECT_EQ(TAVUi::CurrentModalDialog(), nullptr);
}

// The editable list of the flow input data in a table: a row's box ticked by a click, a value edited in
// place, a separator row without a box and not editable; the list's state follows, and the table follows
// the list.
TEST_F(CommandDialogs, TheEditableListTicksRowsAndEditsCellsInPlace) {
    bool shown = false;
    window->dialogShown = [&](SewerGui::DialogWindow& w) {
        shown = true;
        auto* control = guitest::ControlOf(w, "IDC_LIST_DATA");
        auto* table = qobject_cast<QTableView*>(guitest::WidgetOf(w, "IDC_LIST_DATA"));
        auto* list = control ? TAVUi::CEditableList::Of(*control) : nullptr;
        ASSERT_TRUE(table && list);
        ASSERT_EQ(table->model()->rowCount(), list->RowCount());
        int checkable = -1, separator = -1;
        for (int r = 0; r < list->RowCount(); ++r) {
            const auto flags = table->model()->flags(table->model()->index(r, 0));
            EXPECT_EQ(static_cast<bool>(flags & Qt::ItemIsUserCheckable), list->HasCheck(r)) << r;
            EXPECT_EQ(
                static_cast<bool>(table->model()->flags(table->model()->index(r, 1)) & Qt::ItemIsEditable),
                list->IsEditable(r, 1))
                << r;
            if (list->HasCheck(r) && checkable < 0) checkable = r;
            if (!list->HasCheck(r) && separator < 0) separator = r;
        }
        ASSERT_GE(checkable, 0);
        ASSERT_GE(separator, 0);
        EXPECT_FALSE(list->IsEditable(separator, 1));

        // A click on the row's box ticks it, through the list.
        const bool before = list->IsChecked(checkable);
        const QModelIndex box = table->model()->index(checkable, 0);
        table->scrollTo(box);
        const QRect cell = table->visualRect(box);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
        EXPECT_EQ(list->IsChecked(checkable), !before);
        EXPECT_EQ(list->LastRow(), checkable);

        // The value typed into the cell's editor is the cell's text.
        const QModelIndex value = table->model()->index(checkable, 1);
        table->setCurrentIndex(value);
        table->edit(value);
        auto* editor = table->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, "7.5");
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the editor hands its text over from the event loop
        EXPECT_EQ(list->GetText(checkable, 1), "7.5");
        EXPECT_EQ(list->LastColumn(), 1);

        // The dialog's own changes show in the table.
        list->SetChecked(checkable, before);
        list->SetText(checkable, 1, "3");
        w.AfterAction();
        EXPECT_EQ(table->model()->data(box, Qt::CheckStateRole).toInt(),
                  before ? Qt::Checked : Qt::Unchecked);
        EXPECT_EQ(table->model()->data(value).toString(), "3");
        w.reject();
    };
    ASSERT_TRUE(window->RunCommand("InputSewageData"));
    EXPECT_TRUE(shown);
}

}  // namespace
