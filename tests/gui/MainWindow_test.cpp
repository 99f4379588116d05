// The main window's own work: drawing files (new, import, save, open, export, with errors shown to the
// person), progress on long work, the command line, prompts answered on it and redraw requests coalesced.
#include "host/gui/MainWindow.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <cmath>
#include <fstream>

#include "GuiTestSupport.h"
#include "host/gui/PlanView.h"
#include "platform/host/Editor.h"
#include "platform/host/TAVCEdit.h"
#include "platform/network/TopologyStorage.h"

namespace {

namespace fs = std::filesystem;

class GuiMainWindow : public guitest::WindowTest {
protected:
    std::string Output() const { return window->Output().toPlainText().toStdString(); }
    std::size_t Sections() const {
        return TAVGis::Topology::TopologyOf(*acDocManagerPtr()->curDocument()).Sections().size();
    }

    guitest::TempDir dir{"mainwindow"};
};

TEST_F(GuiMainWindow, ImportSaveOpenAndExportADrawingWithProgress) {
    const std::string src = SEWER_SOURCE_DIR;
    ASSERT_TRUE(window->ImportFile(src + "/examples/town/town.geojson"));
    EXPECT_EQ(Sections(), 126u);
    EXPECT_GT(window->progressReports["importing nodes"], 0);  // the import showed its progress
    EXPECT_FALSE(window->Progress().isVisible());              // and the bar went away at the end
    ASSERT_TRUE(window->ImportFile(src + "/examples/catalogue/pipe_series.csv"));
    EXPECT_NE(Output().find("pipes: 40 (40 new, 0 updated)"), std::string::npos) << Output();
    const fs::path drawing = dir.Path() / "town.gpkg";
    ASSERT_TRUE(window->SaveDrawing(drawing.string()));
    ASSERT_TRUE(fs::exists(drawing));

    ASSERT_TRUE(window->NewDrawing());
    EXPECT_EQ(Sections(), 0u);
    window->progressReports.clear();
    ASSERT_TRUE(window->OpenDrawing(drawing.string()));
    EXPECT_EQ(Sections(), 126u);
    EXPECT_EQ(window->Plan().Document(), acDocManagerPtr()->curDocument());
    // Opening shows its progress over the sections; the bar moves in steps of a whole hundredth of the work
    // (at least one item), so a piece of work moves it at most about two hundred times, never once per item
    // of a large network.
    EXPECT_GT(window->progressReports["opening sections"], 0);
    for (const auto& [what, reports] : window->progressReports) EXPECT_LE(reports, 201) << what;
    // The drawing knows its file: a save without a path goes back there.
    ASSERT_TRUE(window->SaveDrawing());
    const fs::path exported = dir.Path() / "town.geojson";
    ASSERT_TRUE(window->ExportFile(exported.string()));
    EXPECT_NE(Output().find("126 sections"), std::string::npos) << Output();
    EXPECT_TRUE(alerts.empty());
}

TEST_F(GuiMainWindow, FileErrorsAreShownAndChangeNothing) {
    const std::string src = SEWER_SOURCE_DIR;
    ASSERT_TRUE(window->ImportFile(src + "/examples/town/town.geojson"));
    auto* before = acDocManagerPtr()->curDocument();
    struct {
        std::function<bool()> action;
        const char* says;
    } cases[] = {
        {[&] { return window->OpenDrawing((dir.Path() / "missing.gpkg").string()); }, "missing.gpkg"},
        {[&] { return window->ImportFile((dir.Path() / "notes.txt").string()); }, "unknown kind of file"},
        {[&] {
             std::ofstream(dir.Path() / "bad.gpkg") << "not a drawing";
             return window->OpenDrawing((dir.Path() / "bad.gpkg").string());
         },
         "bad.gpkg"},
    };
    for (const auto& c : cases) {
        alerts.clear();
        EXPECT_FALSE(c.action()) << c.says;
        ASSERT_EQ(alerts.size(), 1u) << c.says;
        EXPECT_NE(alerts[0].find(c.says), std::string::npos) << alerts[0];
        // The drawing that was open stays open, whole.
        EXPECT_EQ(acDocManagerPtr()->curDocument(), before);
        EXPECT_EQ(Sections(), 126u);
    }
}

TEST_F(GuiMainWindow, TheCommandLineRunsCommandsAndAnswersPrompts) {
    int dialogs = 0;
    window->dialogShown = [&](SewerGui::DialogWindow& w) {
        ++dialogs;
        w.reject();
    };
    ASSERT_TRUE(window->ImportFile(std::string(SEWER_SOURCE_DIR) + "/examples/town/town.geojson"));
    QTest::keyClicks(&window->CommandLine(), "calcwastewaterpercent");
    QTest::keyClick(&window->CommandLine(), Qt::Key_Return);
    EXPECT_EQ(dialogs, 1);
    QTest::keyClicks(&window->CommandLine(), "nonsense");
    QTest::keyClick(&window->CommandLine(), Qt::Key_Return);
    EXPECT_EQ(dialogs, 1);
    EXPECT_NE(Output().find("Unknown command \"nonsense\""), std::string::npos) << Output();

    // A prompt waits on the command line: Enter answers it, Escape answers nothing.
    window->promptShown = [&](const std::string&) {
        QTest::keyClicks(&window->CommandLine(), "MS24");
        QTest::keyClick(&window->CommandLine(), Qt::Key_Return);
    };
    EXPECT_EQ(window->GetString("Section to show"), std::optional<std::string>("MS24"));
    window->promptShown = [&](const std::string&) {
        QTest::keyClick(&window->CommandLine(), Qt::Key_Escape);
    };
    EXPECT_EQ(window->GetString("Section to show"), std::nullopt);
    EXPECT_NE(Output().find("Section to show"), std::string::npos);
}

TEST_F(GuiMainWindow, AZoomToEntitiesCentresThemWithTheirFactor) {
    ASSERT_TRUE(window->ImportFile(std::string(SEWER_SOURCE_DIR) + "/examples/town/town.geojson"));
    auto& plan = window->Plan();
    plan.resize(800, 600);
    plan.ZoomExtents();
    auto s = TAVGis::Topology::TopologyOf(*acDocManagerPtr()->curDocument()).FindSectionByName("RELIEF2");
    ASSERT_TRUE(s);
    const auto* a = s->GetStartingNode().get();
    const auto* b = s->GetEndingNode().get();
    const double length = std::hypot(b->X() - a->X(), b->Y() - a->Y());
    for (double factor : {2.0, 4.0}) {
        ASSERT_TRUE(CTAVCEdit::zoom(s->GetObjectId(), factor));
        ASSERT_TRUE(plan.Poll());
        const QPointF start = plan.ToScreen(a->X(), a->Y()), end = plan.ToScreen(b->X(), b->Y());
        const QPointF middle = (start + end) / 2;
        EXPECT_NEAR(middle.x(), 400, 1) << factor;
        EXPECT_NEAR(middle.y(), 300, 1) << factor;
        // The section's extent times the factor fills the shorter side of the view (less a margin).
        const double shown = std::hypot(end.x() - start.x(), end.y() - start.y());
        const double extent = std::max(std::fabs(b->X() - a->X()), std::fabs(b->Y() - a->Y())) * factor;
        EXPECT_NEAR(shown / length, (600 - 20) / extent, 1e-6) << factor;
    }
}

TEST_F(GuiMainWindow, ManyRedrawRequestsRepaintOnce) {
    ASSERT_TRUE(window->ImportFile(std::string(SEWER_SOURCE_DIR) + "/examples/town/town.geojson"));
    window->Plan().Poll();
    for (int i = 0; i < 1000; ++i) acedRedraw(nullptr, 0);
    acedUpdateDisplay();
    EXPECT_TRUE(window->Plan().Poll());   // one repaint for all of them
    EXPECT_FALSE(window->Plan().Poll());  // and nothing more until the next request
}

}  // namespace
