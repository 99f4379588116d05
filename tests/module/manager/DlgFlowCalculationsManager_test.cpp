// The flow calculations manager driven as a person would: the tree of calculators and parameter sets, what a
// set node selects, what survives a Run, the preview choice, grid edits reaching a Run, the alerts, zoom and
// mark, anchoring, and the same results with the trace log off and on.
#include "module/manager/DlgFlowCalculationsManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

#include "module/app/SewageCalculations.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "platform/sessions/LogEngine.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CDataBox;
using TAVGis::Sewage::CFlowCalculatorManager;
using TAVUi::Notification;
using Dlg = CDlgFlowCalculationsManager;

// ISKI by hand: P inhabitants, q l/inhabitant/day, return 0.8: Qavg = P q 0.8 / 86400 l/s,
// k = min(4, 1.5 + 2.5 / sqrt(Qavg)), peak = k Qavg / 1000 m3/s.
double IskiPeak(double inhabitants, double consumption) {
    const double q = inhabitants * consumption * 0.8 / 86400.0;
    return std::min(4.0, 1.5 + 2.5 / std::sqrt(q)) * q / 1000.0;
}

class ManagerTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        u1 = Section("U1", "n1", "n3");
        u2 = Section("U2", "n2", "n3");
        d = Section("D", "n3", "n4");
        Area(u1, 10, 100);  // 1000 inhabitants
        Area(u2, 5, 200);   // 1000 inhabitants
    }
    void TearDown() override {
        // The registry's calculators keep their default sets between tests: put the defaults back.
        for (const auto& [name, calc] : CFlowCalculatorManager::GetInstance()->GetRegisteredFlowCalculators())
            calc->GetDefaultCalculationParameters()->GetProperties().FromText(
                calc->CreateCalculationParameters()->GetProperties().ToText());
        DrawingTest::TearDown();
    }
    void Area(const TAVGis::Topology::CSectionPtr& s, double ha, double density) {
        auto a = Topo().AddCatchmentArea(s->GetName() + "_H", system);
        a->kind = 2;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, s->GetGuid());
    }
    void Open(std::function<void(Dlg&)> driver) {
        ui.drivers.push_back([driver](TAVUi::CAdUiBaseDialog& dlg) {
            driver(dynamic_cast<Dlg&>(dlg));
            dlg.OnCancel();
        });
        CSewageCalculations::RunFlowCalcManager();
        ASSERT_TRUE(ui.drivers.empty());
    }
    static bool Choose(Dlg& dlg, const std::string& text) {
        auto& tree = dlg.Item(Dlg::IDC_TREE_CALCULATORS);
        for (const auto& t : tree.treeItems)
            if (t.text == text) {
                tree.selectedTreeItem = t.handle;
                dlg.Notify(Dlg::IDC_TREE_CALCULATORS, Notification::SelChange);
                return true;
            }
        return false;
    }
    static const TAVUi::TreeItem* Node(Dlg& dlg, const std::string& text) {
        for (const auto& t : dlg.Item(Dlg::IDC_TREE_CALCULATORS).treeItems)
            if (t.text == text) return &t;
        return nullptr;
    }
    void Pick(Dlg& dlg, std::vector<std::string> names) {
        ui.picks.push_back(std::move(names));
        dlg.Notify(Dlg::IDC_BTN_SELECT, Notification::Clicked);
    }
    static std::string Iski() { return CModuleConfiguration::GetMsg(11162); }
    static std::string Rain() {
        std::string text;
        CFlowCalculatorManager::GetInstance()->GetFlowCalculator("001_RAIN_ITP")->GetDisplayName(text);
        return text;
    }
    static std::string Selected(int n) {
        return CModuleConfiguration::GetMsg(11160) + " " + std::to_string(n);
    }

    TAVGis::Topology::CSectionPtr u1, u2, d;
};

TEST_F(ManagerTest, OpensWithTitleLabelPreviewsAndCollapsedCalculatorsWithoutSets) {
    Open([&](Dlg& dlg) {
        EXPECT_EQ(dlg.GetWindowText(), CModuleConfiguration::GetMsg(11159));
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::IDC_STATIC_SELECTED), Selected(0));
        // Section definitions only (the node definition is left out), entry 0 chosen.
        const auto& combo = dlg.Item(Dlg::IDC_COMBO_PREVIEWS);
        ASSERT_EQ(combo.items.size(), 4u);
        EXPECT_EQ(combo.curSel, 0);
        for (int msg : {14110, 14111, 14112, 14113})
            EXPECT_GE(combo.FindStringExact(CModuleConfiguration::GetMsg(msg)), 0);
        // No calculator has sets yet: calculator nodes collapsed and childless, groups expanded.
        auto& tree = dlg.Item(Dlg::IDC_TREE_CALCULATORS);
        ASSERT_EQ(tree.treeItems.size(), 4u);
        for (const auto& t : tree.treeItems) {
            EXPECT_EQ(t.expanded, t.parent == 0) << t.text;
            if (t.parent != 0) {
                EXPECT_TRUE(tree.TreeChildren(t.handle).empty()) << t.text;
            }
        }
        EXPECT_EQ(dlg.ImageNames().front(), "IDI_CALCULATOR");
        EXPECT_EQ(dlg.ImageNames()[1], "TAV_IDI_TOPOLOGYTREE");
        // Nothing selected in the tree: Run does nothing at all.
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        EXPECT_TRUE(ui.alerts.empty());
        EXPECT_EQ(dlg.Grid()->RowCount(), 0);
    });
}

TEST_F(ManagerTest, NoRegisteredCalculatorsGiveAnEmptyTreeAndRunDoesNothing) {
    auto* registry = CFlowCalculatorManager::GetInstance();
    const auto saved = registry->GetRegisteredFlowCalculators();
    for (const auto& [name, calc] : saved) registry->Unregister(name);
    Open([&](Dlg& dlg) {
        EXPECT_TRUE(dlg.Item(Dlg::IDC_TREE_CALCULATORS).treeItems.empty());
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        dlg.Notify(Dlg::IDC_BTN_INPUT_DATA, Notification::Clicked);
        dlg.Notify(Dlg::IDC_BTN_DELETE_CONFIG, Notification::Clicked);
        EXPECT_EQ(dlg.Item(Dlg::IDC_COMBO_PREVIEWS).items.size(), 4u);
    });
    for (const auto& [name, calc] : saved) registry->Register(calc);
    EXPECT_TRUE(ui.alerts.empty());
    EXPECT_FALSE(Get("D", "FLOW_ISKI_PEAK"));
}

TEST_F(ManagerTest, AlertsOfRunInputDataAndResetWithoutCalculatorOrSelection) {
    Open([&](Dlg& dlg) {
        // A group node resolves to no calculator.
        ASSERT_TRUE(Choose(dlg, CModuleConfiguration::GetMsg(14008)));
        EXPECT_EQ(dlg.GetActiveFlowCalculator(), nullptr);
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        dlg.Notify(Dlg::IDC_BTN_INPUT_DATA, Notification::Clicked);
        // A calculator without a selection.
        ASSERT_TRUE(Choose(dlg, Iski()));
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        dlg.Notify(Dlg::IDC_BTN_INPUT_DATA, Notification::Clicked);
        dlg.Notify(Dlg::IDC_BTN_RESET_DATA, Notification::Clicked);
    });
    const std::vector<std::string> expected = {
        CModuleConfiguration::GetMsg(11158), CModuleConfiguration::GetMsg(11158),
        CModuleConfiguration::GetMsg(658), CModuleConfiguration::GetMsg(658),
        CModuleConfiguration::GetMsg(658)};
    EXPECT_EQ(ui.alerts, expected);
    EXPECT_FALSE(Get("D", "FLOW_ISKI_PEAK"));
}

TEST_F(ManagerTest, GridEditsReachRunAndSetNodesSelectExactlyTheirSections) {
    Open([&](Dlg& dlg) {
        ASSERT_TRUE(Choose(dlg, Iski()));
        auto* calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("002_WASTE_ISKI").get();
        // The grid shows the calculator's own default set, not a copy.
        EXPECT_EQ(dlg.ShownParameters(), calc->GetDefaultCalculationParameters());
        Pick(dlg, {"U1", "U2", "D"});
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::IDC_STATIC_SELECTED), Selected(3) + " ");
        ASSERT_TRUE(dlg.Grid()->SetPropertyValue("WATER_CONSUMPTION", "150"));
        EXPECT_EQ(dlg.Grid()->GetText(0, 1), "150.000000");
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        // A second run on U1 alone with another consumption gives a second set.
        Pick(dlg, {"U1"});
        ASSERT_TRUE(dlg.Grid()->SetPropertyValue("WATER_CONSUMPTION", "250"));
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        // Sets in the order of their first section: U1 (250) first, then U2 and D (150).
        const auto* iski = Node(dlg, Iski());
        ASSERT_TRUE(iski);
        EXPECT_TRUE(iski->expanded);
        EXPECT_EQ(dlg.Item(Dlg::IDC_TREE_CALCULATORS).selectedTreeItem, iski->handle);
        ASSERT_TRUE(Node(dlg, "Configuration 1 (1 sections)"));
        ASSERT_TRUE(Choose(dlg, "Configuration 2 (2 sections)"));
        EXPECT_EQ(dlg.GetActiveFlowCalculator(), calc);
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::IDC_STATIC_SELECTED), Selected(2) + " ");
        EXPECT_EQ(dlg.Selection()->GetSections(), (TAVGis::Sewage::SectionList{u2, d}));
        EXPECT_EQ(dlg.Grid()->GetText(0, 1), "150.000000");
        // Editing the set's grid and running the set node uses the edited set.
        ASSERT_TRUE(dlg.Grid()->SetPropertyValue("WATER_CONSUMPTION", "100"));
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
    });
    EXPECT_TRUE(ui.alerts.empty()) << ui.alerts.front();
    EXPECT_NEAR(*Get("U1", "FLOW_ISKI_PEAK"), IskiPeak(1000, 250), 1e-12);
    EXPECT_NEAR(*Get("U2", "FLOW_ISKI_PEAK"), IskiPeak(1000, 100), 1e-12);
    EXPECT_NEAR(*Get("D", "FLOW_ISKI_PEAK"), IskiPeak(1000, 100), 1e-12);  // U1 is not in the set's run
}

TEST_F(ManagerTest, RunKeepsExpandedCalculatorsTheSelectionAndThePreviewChoice) {
    Open([&](Dlg& dlg) {
        // The person expands the rain calculator (it has no sets) and picks a preview.
        auto& tree = dlg.Item(Dlg::IDC_TREE_CALCULATORS);
        tree.FindTreeItem(Node(dlg, Rain())->handle)->expanded = true;
        auto& combo = dlg.Item(Dlg::IDC_COMBO_PREVIEWS);
        combo.SetCurSel(combo.FindStringExact(CModuleConfiguration::GetMsg(14112)));
        dlg.Notify(Dlg::IDC_COMBO_PREVIEWS, Notification::SelChange);
        ASSERT_TRUE(Choose(dlg, Iski()));
        EXPECT_EQ(combo.items[static_cast<std::size_t>(combo.curSel)].text,
                  CModuleConfiguration::GetMsg(14112));
        EXPECT_EQ(combo.items.back().text, Iski());  // the calculator's own preview comes last
        Pick(dlg, {"U1", "D"});
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        EXPECT_TRUE(Node(dlg, Rain())->expanded);
        EXPECT_EQ(tree.selectedTreeItem, Node(dlg, Iski())->handle);
        EXPECT_EQ(dlg.ShownParameters(), CFlowCalculatorManager::GetInstance()
                                             ->GetFlowCalculator("002_WASTE_ISKI")
                                             ->GetDefaultCalculationParameters());
        EXPECT_EQ(combo.items[static_cast<std::size_t>(combo.curSel)].text,
                  CModuleConfiguration::GetMsg(14112));
        // The preview shows the chosen definition for the selected sections, in selection order.
        const auto& list = *dlg.Preview().Control();
        ASSERT_EQ(list.rows.size(), 2u);
        EXPECT_EQ(list.rows[0].cells[0].text, "U1");
        EXPECT_EQ(list.rows[1].cells[0].text, "D");
        // Choosing the calculator's own preview shows its result column.
        combo.SetCurSel(static_cast<int>(combo.items.size()) - 1);
        dlg.Notify(Dlg::IDC_COMBO_PREVIEWS, Notification::SelChange);
        ASSERT_EQ(list.columns.size(), 2u);
        EXPECT_EQ(list.columns[1].header, "FLOW_ISKI_PEAK");
        EXPECT_EQ(list.rows[0].cells[1].text, TAVHost::NumberText::General(IskiPeak(1000, 200), 6));
        // Only U1 ran here, so D's own inhabitants are 0 but it drains U1: 1000.
        EXPECT_EQ(list.rows[1].cells[1].text, TAVHost::NumberText::General(IskiPeak(1000, 200), 6));
    });
}

TEST_F(ManagerTest, ResetDataAndDeleteConfigurationWorkOnTheSelection) {
    Open([&](Dlg& dlg) {
        ASSERT_TRUE(Choose(dlg, Iski()));
        Pick(dlg, {"U1", "U2", "D"});
        dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        ASSERT_TRUE(Node(dlg, "Configuration 1 (3 sections)"));
        Pick(dlg, {"U2"});
        dlg.Notify(Dlg::IDC_BTN_RESET_DATA, Notification::Clicked);
        EXPECT_FALSE(Get("U2", "FLOW_ISKI_PEAK"));
        EXPECT_TRUE(Get("D", "FLOW_ISKI_PEAK"));
        // Deleting on the calculator node removes the tags of the selection only.
        dlg.Notify(Dlg::IDC_BTN_DELETE_CONFIG, Notification::Clicked);
        ASSERT_TRUE(Node(dlg, "Configuration 1 (2 sections)"));
        // Deleting on a set node removes the tags of all of its sections.
        ASSERT_TRUE(Choose(dlg, "Configuration 1 (2 sections)"));
        dlg.Notify(Dlg::IDC_BTN_DELETE_CONFIG, Notification::Clicked);
        EXPECT_FALSE(Node(dlg, "Configuration 1 (2 sections)"));
    });
    EXPECT_TRUE(Get("D", "FLOW_ISKI_PEAK"));  // deleting tags keeps the results
}

TEST_F(ManagerTest, ZoomAndMarkUseTheMarkedPreviewRows) {
    Open([&](Dlg& dlg) {
        ASSERT_TRUE(Choose(dlg, Iski()));
        Pick(dlg, {"U1", "U2", "D"});
        auto& list = *dlg.Preview().Control();
        ASSERT_EQ(list.rows.size(), 3u);
        list.rows[0].selected = list.rows[2].selected = true;
        dlg.SetDlgItemText(Dlg::IDC_EDIT_ZOOM, "2.5");
        dlg.Notify(Dlg::IDC_BTN_ZOOM, Notification::Clicked);
        auto& editor = doc->Editor();
        EXPECT_EQ(editor.lastZoomIds, (std::vector<TAVHost::ObjectId>{u1->GetObjectId(), d->GetObjectId()}));
        EXPECT_DOUBLE_EQ(editor.lastZoomFactor, 2.5);
        const int color = CModuleConfiguration::GetHighlightColor();
        EXPECT_EQ(editor.highlighted,
                  (std::map<TAVHost::ObjectId, int>{{u1->GetObjectId(), color}, {d->GetObjectId(), color}}));
        // A zoom factor that is not a positive number zooms with 1.5 and shows it.
        dlg.SetDlgItemText(Dlg::IDC_EDIT_ZOOM, "0");
        dlg.Notify(Dlg::IDC_BTN_ZOOM, Notification::Clicked);
        EXPECT_DOUBLE_EQ(editor.lastZoomFactor, 1.5);
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::IDC_EDIT_ZOOM), "1.5");
        list.rows[0].selected = list.rows[2].selected = false;
        list.rows[1].selected = true;
        dlg.Notify(Dlg::IDC_BTN_MARK, Notification::Clicked);
        EXPECT_EQ(editor.highlighted, (std::map<TAVHost::ObjectId, int>{{u2->GetObjectId(), color}}));
    });
}

TEST_F(ManagerTest, ControlsFollowTheirAnchorsDownToTheMinimumSize) {
    Open([&](Dlg& dlg) {
        const auto grid = dlg.RectOf(Dlg::IDC_PROPERTY_GRID), list = dlg.RectOf(Dlg::IDC_PREVIEW_LIST);
        const auto run = dlg.RectOf(Dlg::IDC_BTN_RUN), select = dlg.RectOf(Dlg::IDC_BTN_SELECT);
        const auto close = dlg.RectOf(TAVUi::IDCANCEL), tree = dlg.RectOf(Dlg::IDC_TREE_CALCULATORS);
        // As a host resizes it: through the dialog's base, which answers from the anchors.
        TAVUi::CAdUiBaseDialog& base = dlg;
        EXPECT_EQ(base.MinTrackSize(), (TAVUi::DialogSize{Dlg::kMinTrackWidth, Dlg::kMinTrackHeight}));
        base.OnSize(dlg.Width() + 100, dlg.Height() + 50);
        struct Case {
            int id;
            TAVUi::ControlRect before;
            int dx, dy, dw, dh;
        } cases[] = {
            {Dlg::IDC_PROPERTY_GRID, grid, 0, 0, 100, 0}, {Dlg::IDC_PREVIEW_LIST, list, 0, 0, 100, 50},
            {Dlg::IDC_BTN_RUN, run, 100, 0, 0, 0},        {Dlg::IDC_BTN_SELECT, select, 0, 50, 0, 0},
            {TAVUi::IDCANCEL, close, 100, 50, 0, 0},      {Dlg::IDC_TREE_CALCULATORS, tree, 0, 0, 0, 0},
        };
        for (const auto& c : cases) {
            const auto r = base.ItemRect(c.id);
            EXPECT_EQ(r, (TAVUi::ControlRect{c.before.x + c.dx, c.before.y + c.dy, c.before.width + c.dw,
                                             c.before.height + c.dh}))
                << c.id;
        }
        base.OnSize(100, 100);
        EXPECT_EQ(base.ItemRect(Dlg::IDC_PREVIEW_LIST), list);
        EXPECT_EQ(dlg.Width(), Dlg::kMinTrackWidth);
        EXPECT_EQ(dlg.Height(), Dlg::kMinTrackHeight);
        EXPECT_EQ(dlg.SendMessage(Dlg::WM_KEEP_FOCUS), 1);
    });
}

TEST_F(ManagerTest, LoggingOffWritesNoTraceAndChangesNothing) {
    using TAVGis::Logging::CLogEngine;
    const auto path = (std::filesystem::temp_directory_path() / "manager_trace_test.log").string();
    std::filesystem::remove(path);
    const bool wasOn = CLogEngine::GetLoggingOnOff();
    const auto oldPath = CLogEngine::GetLogFileFullPath();
    std::vector<std::optional<double>> results[2];
    for (int on = 0; on < 2; ++on) {
        CLogEngine::SetLogging(on == 1, path);
        Open([&](Dlg& dlg) {
            ASSERT_TRUE(Choose(dlg, Iski()));
            Pick(dlg, {"U1", "U2", "D"});
            dlg.Notify(Dlg::IDC_BTN_RUN, Notification::Clicked);
        });
        for (const char* s : {"U1", "U2", "D"}) results[on].push_back(Get(s, "FLOW_ISKI_PEAK"));
        if (on == 0) {
            EXPECT_FALSE(std::filesystem::exists(path));
        }
        for (const char* s : {"U1", "U2", "D"}) Set(s, "FLOW_ISKI_PEAK", CDataBox());
    }
    CLogEngine::SetLogging(wasOn, oldPath);
    EXPECT_EQ(results[0], results[1]);
    ASSERT_TRUE(results[0][2].has_value());
    const std::string log = testsupport::ReadTextFile(path);
    std::filesystem::remove(path);
    for (const char* line :
         {"Entering function , CDlgFlowCalculationsManager::OnBnClickedBtnRun",
          "Exiting function , CDlgFlowCalculationsManager::OnBnClickedBtnRun",
          "Entering function , CDlgFlowCalculationsManager::RefreshTree", "Marker", "'pRV = '"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

}  // namespace
