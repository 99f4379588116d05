// Picks in the plan view while the dialog hides: the main direction at a division (one click on one of
// the outgoing sections) and the selection button (sections clicked and named on the command line).
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "GuiTestSupport.h"
#include "host/gui/MainWindow.h"
#include "host/gui/PlanView.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopologyStorage.h"

namespace {

namespace fs = std::filesystem;
using SewerGui::DialogWindow;

// The network of tests/scripts/flow_transit_routes.sc (its statements before the first command): a division
// at node d decided by the larger pipe, one at node e between LEFT and RIGHT of equal diameters that the
// person decides.
std::string RoutesNetwork() {
    std::ifstream in(std::string(SEWER_SOURCE_DIR) + "/tests/scripts/flow_transit_routes.sc");
    std::string network;
    for (std::string line; std::getline(in, line) && line.rfind("command", 0) != 0;) network += line + "\n";
    return network;
}

std::optional<double> Attr(const std::string& section, const std::string& attribute) {
    auto& topo = TAVGis::Topology::TopologyOf(*acDocManagerPtr()->curDocument());
    auto s = topo.FindSectionByName(section);
    if (!s) return std::nullopt;
    TAVGis::Data::CDataBox box;
    TAVGis::Data::CDataRW::Read(attribute, s, box);
    if (box.IsNull()) return std::nullopt;
    return box.ToDouble();
}

class GuiPick : public guitest::WindowTest {
protected:
    void SetUp() override {
        const fs::path script = dir.Path() / "network.sc";
        std::ofstream(script) << RoutesNetwork();
        auto r = guitest::Sewercalc("run '" + drawing.string() + "' '" + script.string() + "'");
        ASSERT_EQ(r.code, 0) << r.output;
        WindowTest::SetUp();
        window->show();  // the plan has its size: clicks land where the sections are drawn
        ASSERT_TRUE(window->OpenDrawing(drawing.string()));
    }
    // Clicks the plan where the middle of a section (given by its two ends) is drawn.
    void ClickBetween(double x0, double y0, double x1, double y1) {
        const QPointF at = window->Plan().ToScreen((x0 + x1) / 2, (y0 + y1) / 2);
        QTest::mouseClick(&window->Plan(), Qt::LeftButton, {}, at.toPoint());
    }
    bool AnyDialogVisible() const {
        for (auto* w : DialogWindow::Running())
            if (w->isVisible()) return true;
        return false;
    }

    guitest::TempDir dir{"pick"};
    fs::path drawing = dir.Path() / "routes.gpkg";
};

TEST_F(GuiPick, TheDirectionAtADivisionIsClickedInThePlanWhileTheDialogHides) {
    std::vector<TAVHost::PickRequest> requests;
    window->pickStarted = [&](const TAVHost::PickRequest& request) {
        requests.push_back(request);
        EXPECT_FALSE(AnyDialogVisible()) << "the dialog stays in sight during the pick";
        EXPECT_TRUE(window->Plan().Picking());
        ClickBetween(60, 10, 70, 0);  // RIGHT, from node e to node r: the pick ends with the click
    };
    bool shown = false, resumed = false;
    window->dialogShown = [&](DialogWindow& w) {
        shown = true;
        guitest::Click(w, "IDC_BUTTON_CLEAR_ALL");
        guitest::Check(w, "IDC_CHECK_HOME_PERCENT", true);
        guitest::Click(w, "IDOK");
        // The person goes on once the window has had its events: the dialog still runs after the pick.
        QTimer::singleShot(0, &w, [&] {
            resumed = true;
            EXPECT_TRUE(w.isVisible()) << "the dialog is back after the pick";
            EXPECT_EQ(guitest::Shown(w, "IDC_STATIC_STATUS"),
                      "Calculation finished: the results were written to the sections.");
            guitest::Choose(w, "IDC_TAB", 1);
            guitest::Check(w, "IDC_CHECK_VLASTITI", true);
            guitest::Check(w, "IDC_CHECK_TRANZIT", true);
            guitest::Click(w, "IDC_BUTTON_CALC_TOTAL");
            w.reject();
        });
    };
    ASSERT_TRUE(window->RunCommand("CalcFlowTotal"));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(resumed) << "the dialog closed after the pick";
    ASSERT_EQ(requests.size(), 1u);  // at e only: at d the larger pipe decides
    EXPECT_EQ(requests[0].kind, TAVHost::PickRequest::Kind::Direction);
    std::vector<std::string> candidates = requests[0].candidates;
    std::sort(candidates.begin(), candidates.end());
    EXPECT_EQ(candidates, (std::vector<std::string>{"LEFT", "RIGHT"}));
    EXPECT_TRUE(alerts.empty());
    // Everything upstream of e goes on along RIGHT (hand sums in flow_transit_routes.sc).
    EXPECT_NEAR(Attr("RIGHT", "FLOW_TRANSIT").value_or(-1), 0.383, 1e-9);
    EXPECT_FALSE(Attr("LEFT", "FLOW_TRANSIT"));
    EXPECT_NEAR(Attr("R2", "FLOW_TOTAL").value_or(-1), 5.503, 1e-9);
}

// Escape answers the question with nothing, as a script without a `pick` answer does: the results are
// those sewercalc gives for the same steps.
TEST_F(GuiPick, EscapeAtTheDirectionQuestionPicksNothingAsAScriptWithoutAnAnswer) {
    const fs::path byScript = dir.Path() / "by_script.gpkg", steps = dir.Path() / "steps.sc";
    fs::copy_file(drawing, byScript);
    std::ofstream(steps)
        << "command CalcFlowTotal\nclick IDC_BUTTON_CLEAR_ALL\ncheck IDC_CHECK_HOME_PERCENT 1\n"
           "click IDOK\nclose\n";
    auto r = guitest::Sewercalc("run '" + byScript.string() + "' '" + steps.string() + "'");
    ASSERT_EQ(r.code, 0) << r.output;

    int asked = 0;
    window->pickStarted = [&](const TAVHost::PickRequest&) {
        ++asked;
        EXPECT_FALSE(AnyDialogVisible());
        QTest::keyClick(&window->CommandLine(), Qt::Key_Escape);
    };
    window->dialogShown = [&](DialogWindow& w) {
        guitest::Click(w, "IDC_BUTTON_CLEAR_ALL");
        guitest::Check(w, "IDC_CHECK_HOME_PERCENT", true);
        guitest::Click(w, "IDOK");
        EXPECT_TRUE(w.isVisible());
        w.reject();
    };
    ASSERT_TRUE(window->RunCommand("CalcFlowTotal"));
    EXPECT_GE(asked, 1);
    EXPECT_FALSE(window->Plan().Picking());
    ASSERT_TRUE(window->SaveDrawing());
    const std::string show = " --format csv --attr FLOW_SECT_TOTAL FLOW_TRANSIT FLOW_TOTAL";
    auto expected = guitest::Sewercalc("show '" + byScript.string() + "'" + show);
    auto actual = guitest::Sewercalc("show '" + drawing.string() + "'" + show);
    ASSERT_EQ(expected.code, 0) << expected.output;
    EXPECT_EQ(actual.output, expected.output);
}

TEST_F(GuiPick, TheSelectionButtonTakesClickedAndTypedSections) {
    std::vector<std::string> picked;
    window->pickStarted = [&](const TAVHost::PickRequest& request) {
        EXPECT_EQ(request.kind, TAVHost::PickRequest::Kind::Entities);
        EXPECT_FALSE(AnyDialogVisible());
        ClickBetween(0, 0, 10, 0);    // A1
        ClickBetween(0, 20, 10, 20);  // B1
        ClickBetween(0, 20, 10, 20);  // B1 again: taken out
        QTest::keyClicks(&window->CommandLine(), "T2 nothing");
        QTest::keyClick(&window->CommandLine(), Qt::Key_Return);
        picked = window->Plan().picked;
        QTest::keyClick(&window->CommandLine(), Qt::Key_Return);  // an empty line ends the pick
    };
    bool visibleAfter = false;
    window->dialogShown = [&](DialogWindow& w) {
        guitest::Click(w, "IDC_BUTTON_SELECT");
        visibleAfter = w.isVisible();
        w.reject();
    };
    ASSERT_TRUE(window->RunCommand("CalcWasteWaterPercent"));
    EXPECT_EQ(picked, (std::vector<std::string>{"A1", "T2"}));
    EXPECT_TRUE(visibleAfter);
    EXPECT_NE(window->Output().toPlainText().toStdString().find("no entity 'nothing'"), std::string::npos);
}

}  // namespace
