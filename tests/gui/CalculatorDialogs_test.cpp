// The flow calculations manager and the ISKI dialog in real widgets: the property grid is a table whose value
// cells a person edits (a value that is not a number is refused with an alert and changes nothing), the tree
// a tree widget whose choice fills the grid, the preview list a table whose rows a person marks, several at a
// time.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QTableView>
#include <QTreeWidget>

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

}  // namespace
