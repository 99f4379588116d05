// The flow calculations manager and the ISKI dialog in real widgets: the property grid is a table whose value
// cells a person edits (a value that is not a number is refused with an alert and changes nothing), the tree
// a tree widget whose choice fills the grid, the preview list a table whose rows a person marks, several at a
// time; resizing the window moves and stretches the controls by their anchors, down to the minimum size.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QTableView>
#include <QTreeWidget>
#include <cmath>
#include <vector>

#include "GuiTestSupport.h"
#include "host/gui/DrawingActions.h"
#include "host/gui/MainWindow.h"
#include "platform/ui/EditableList.h"

namespace {

class CalculatorDialogs : public guitest::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        auto& doc = *acDocManagerPtr()->curDocument();
        SewerGui::Drawing::Import(doc, std::string(SEWER_SOURCE_DIR) + "/examples/town/town.geojson");
    }
    // Runs the command and hands its dialog to the check, then closes it.
    void Open(const std::string& command, std::function<void(SewerGui::DialogWindow&)> check) {
        bool shown = false;
        window->dialogShown = [&](SewerGui::DialogWindow& w) {
            shown = true;
            check(w);
            w.reject();
            if (!w.Dialog().IsEnded()) {
                w.Dialog().EndDialog(TAVUi::IDCANCEL);
                w.AfterAction();
            }
        };
        ASSERT_TRUE(window->RunCommand(command));
        EXPECT_TRUE(shown) << command;
    }
};

TEST_F(CalculatorDialogs, TheIskiGridIsATableWithEditableValues) {
    Open("CalcWasteWaterTurkishISKI", [&](SewerGui::DialogWindow& w) {
        auto* table = qobject_cast<QTableView*>(guitest::WidgetOf(w, "IDC_PROPERTY_GRID"));
        ASSERT_NE(table, nullptr);
        QAbstractItemModel* model = table->model();
        ASSERT_EQ(model->rowCount(), 3);
        ASSERT_EQ(model->columnCount(), 3);
        EXPECT_FALSE(model->flags(model->index(2, 0)) & Qt::ItemIsEditable);
        EXPECT_TRUE(model->flags(model->index(2, 1)) & Qt::ItemIsEditable);
        EXPECT_FALSE(model->flags(model->index(2, 2)) & Qt::ItemIsEditable);
        // A person types 3 into the largest peak factor: the grid shows it as the grid formats numbers.
        EXPECT_TRUE(model->setData(model->index(2, 1), QString("3"), Qt::EditRole));
        EXPECT_EQ(model->data(model->index(2, 1), Qt::DisplayRole).toString(), QString("3.000000"));
        // "3,5" is not a number: refused, the value stays, the person is told.
        alerts.clear();
        EXPECT_FALSE(model->setData(model->index(2, 1), QString("3,5"), Qt::EditRole));
        EXPECT_EQ(model->data(model->index(2, 1), Qt::DisplayRole).toString(), QString("3.000000"));
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_NE(alerts[0].find("3,5"), std::string::npos) << alerts[0];
        // The registry's set lives as long as the module: give it its default back.
        EXPECT_TRUE(model->setData(model->index(2, 1), QString("4"), Qt::EditRole));
    });
}

TEST_F(CalculatorDialogs, TheManagerShowsTheChosenCalculatorsSetInItsGrid) {
    Open("RunFlowCalcManager", [&](SewerGui::DialogWindow& w) {
        auto* tree = qobject_cast<QTreeWidget*>(guitest::WidgetOf(w, "IDC_TREE_CALCULATORS"));
        ASSERT_NE(tree, nullptr);
        EXPECT_EQ(tree->topLevelItemCount(), 2);
        auto* grid = qobject_cast<QTableView*>(guitest::WidgetOf(w, "IDC_PROPERTY_GRID"));
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->model()->rowCount(), 0);
        // Choosing the ISKI calculator in the tree widget fills the grid with its three parameters.
        QTreeWidgetItem* iski = nullptr;
        for (int g = 0; g < tree->topLevelItemCount(); ++g)
            for (int c = 0; c < tree->topLevelItem(g)->childCount(); ++c)
                if (tree->topLevelItem(g)->child(c)->text(0).contains("ISKI"))
                    iski = tree->topLevelItem(g)->child(c);
        ASSERT_NE(iski, nullptr);
        tree->setCurrentItem(iski);
        EXPECT_EQ(grid->model()->rowCount(), 3);
        auto* control = guitest::ControlOf(w, "IDC_PROPERTY_GRID");
        ASSERT_TRUE(control && TAVUi::CEditableList::Of(*control));
        EXPECT_EQ(TAVUi::CEditableList::Of(*control)->GetText(0, 1), "200.000000");
        // The preview shows the calculator's own preview (no section selected yet): a table with its columns,
        // in which several rows can be marked.
        auto* preview = qobject_cast<QTableView*>(guitest::WidgetOf(w, "IDC_PREVIEW_LIST"));
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->model()->columnCount(), 2);
        EXPECT_EQ(preview->selectionMode(), QAbstractItemView::ExtendedSelection);
    });
}

// How a control follows a resize of its dialog: the fractions of the growth across (dx) and down (dy) by
// which it moves and by which it grows.
struct Follows {
    const char* name;
    int moveX, moveY, growX, growY;
};

// The anchors as the person sees them: buttons at the right move right, the preview list grows both ways,
// the tree and the zoom buttons stay where they are.
const struct {
    const char* command;
    std::vector<Follows> controls;
} kResizeCases[] = {
    {"RunFlowCalcManager",
     {{"IDC_TREE_CALCULATORS", 0, 0, 0, 0},
      {"IDC_PROPERTY_GRID", 0, 0, 1, 0},
      {"IDC_BTN_RUN", 1, 0, 0, 0},
      {"IDC_BTN_INPUT_DATA", 1, 0, 0, 0},
      {"IDC_EDIT_ZOOM", 1, 0, 0, 0},
      {"IDC_COMBO_PREVIEWS", 0, 0, 1, 0},
      {"IDC_GROUP_PREVIEW", 0, 0, 1, 1},
      {"IDC_PREVIEW_LIST", 0, 0, 1, 1},
      {"IDC_BTN_SELECT", 0, 1, 0, 0},
      {"IDOK", 1, 1, 0, 0},
      {"IDCANCEL", 1, 1, 0, 0}}},
    {"CalcWasteWaterTurkishISKI",
     {{"IDC_PROPERTY_GRID", 0, 0, 1, 0},
      {"IDC_BUTTON_WRITE_DATA", 1, 0, 0, 0},
      {"IDC_BUTTON_ZOOM", 0, 0, 0, 0},
      {"IDC_EDIT_ZOOM", 0, 0, 0, 0},
      {"IDC_PREVIEW_LIST", 0, 0, 1, 1},
      {"IDC_BUTTON_RUN", 0, 1, 0, 0},
      {"IDCANCEL", 1, 1, 0, 0}}},
};

TEST_F(CalculatorDialogs, ResizingTheWindowMovesAndStretchesTheControlsDownToTheMinimumSize) {
    for (const auto& c : kResizeCases) {
        SCOPED_TRACE(c.command);
        Open(c.command, [&](SewerGui::DialogWindow& w) {
            SewerGui::DialogView& view = w.View();
            // 600 x 600 pixels at the nominal 1.5 x 1.625 pixels per dialog unit.
            EXPECT_EQ(w.Dialog().MinTrackSize(), (TAVUi::DialogSize{400, 370}));
            const QSize minimum = view.Place(0, 0, 400, 370).size();
            EXPECT_EQ(view.minimumSize(), minimum);
            std::vector<QRect> before;
            for (const auto& f : c.controls) {
                ASSERT_NE(guitest::WidgetOf(w, f.name), nullptr) << f.name;
                before.push_back(guitest::WidgetOf(w, f.name)->geometry());
            }
            const QSize start = view.size();
            ASSERT_EQ(start, minimum);  // the window opens at its template size, which is the minimum
            w.resize(w.width() + 240, w.height() + 160);
            QApplication::processEvents();
            const int dx = view.width() - start.width(), dy = view.height() - start.height();
            ASSERT_EQ(dx, 240);
            ASSERT_EQ(dy, 160);
            // The growth is applied in whole dialog units: off by up to one unit and a pixel of rounding.
            const int slackX = static_cast<int>(std::ceil(view.UnitX())) + 1;
            const int slackY = static_cast<int>(std::ceil(view.UnitY())) + 1;
            for (std::size_t i = 0; i < c.controls.size(); ++i) {
                const Follows& f = c.controls[i];
                const QRect now = guitest::WidgetOf(w, f.name)->geometry(), was = before[i];
                SCOPED_TRACE(f.name);
                EXPECT_NEAR(now.x() - was.x(), f.moveX * dx, f.moveX ? slackX : 0);
                EXPECT_NEAR(now.y() - was.y(), f.moveY * dy, f.moveY ? slackY : 0);
                EXPECT_NEAR(now.width() - was.width(), f.growX * dx, f.growX ? slackX : 0);
                EXPECT_NEAR(now.height() - was.height(), f.growY * dy, f.growY ? slackY : 0);
            }
            // Smaller than the minimum is refused: the view keeps its minimum and every control is back at
            // its template place.
            w.resize(100, 100);
            QApplication::processEvents();
            EXPECT_EQ(view.size(), minimum);
            EXPECT_GE(w.width(), minimum.width());
            EXPECT_GE(w.height(), minimum.height());
            for (std::size_t i = 0; i < c.controls.size(); ++i)
                EXPECT_EQ(guitest::WidgetOf(w, c.controls[i].name)->geometry(), before[i])
                    << c.controls[i].name;
        });
    }
}

}  // namespace
