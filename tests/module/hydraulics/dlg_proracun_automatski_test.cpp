// The automatic dimensioning page: what it reads from its controls, how it shows the results, its enabling
// rules, marking and zooming. The run itself is tested in AutomaticDimensioning_test.cpp.
#include <cstdio>
#include <functional>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "module/hydraulics/dlg_proracun_glavni.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/Editor.h"
#include "platform/network/PipeManager.h"
#include "tests/module/hydraulics/HydraulicsTestSupport.h"

namespace {

using TAVUi::Notification;
using Auto = dlg_proracun_automatski;
using TAVGis::CModuleConfiguration;

class AutomaticPageTest : public hydraulicstest::CatalogueTest {
protected:
    // A small town: two branches join at N3 and run to the outlet N5.
    //   S1: N1 -> N3, S2: N2 -> N3, S3: N3 -> N4, S4: N4 -> N5
    void SetUp() override {
        CatalogueTest::SetUp();
        Section("S1", "N1", "N3");
        Section("S2", "N2", "N3");
        Section("S3", "N3", "N4");
        Section("S4", "N4", "N5");
        for (const char* s : {"S1", "S2", "S3", "S4"}) Set(s, "SECTION_SLOPE", 5.0);
        Set("S1", "FLOW_TOTAL", 0.01);
        Set("S2", "FLOW_TOTAL", 0.02);
        Set("S3", "FLOW_TOTAL", 0.03);
        Set("S4", "FLOW_TOTAL", 0.04);
    }

    // Runs the command with the page in front; the driver acts on the page.
    void OnPage(std::function<void(dlg_proracun_glavni&, Auto&)> driver) {
        ui.drivers.push_back([driver](TAVUi::CAdUiBaseDialog& d) {
            auto& dlg = dynamic_cast<dlg_proracun_glavni&>(d);
            driver(dlg, dlg.AutomaticPage());
            if (!dlg.IsEnded()) dlg.Notify(TAVUi::IDCANCEL, Notification::Clicked);
        });
        CSewageCalculations::CalcHydraulicsSewage();
        ASSERT_TRUE(ui.drivers.empty()) << "the dialog did not run";
    }

    static std::vector<std::string> Column(const Auto& p, int column) {
        std::vector<std::string> out;
        const auto* list = p.Results().Control();
        for (int r = 0; r < list->GetItemCount(); ++r) out.push_back(list->GetItemText(r, column));
        return out;
    }
};

// Each result becomes a row: the name, the diameter with two decimals and the other values with four, the
// status text in blue, or in red with a red name cell.
TEST_F(AutomaticPageTest, EveryResultIsARowFormattedAndColoured) {
    Set("S2", "FLOW_TOTAL", 0.0);
    OnPage([this](dlg_proracun_glavni&, Auto& p) {
        p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        EXPECT_EQ(Column(p, 0), (std::vector<std::string>{"S1", "S2", "S3", "S4"}));
        const auto& rows = p.Results().Control()->rows;
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(rows[1].cells[5].text, CModuleConfiguration::GetMsg(3418));
        EXPECT_EQ(rows[1].cells[5].textColor, Auto::kFailureRed);
        EXPECT_EQ(rows[1].cells[0].backColor, Auto::kFailureRed);
        EXPECT_TRUE(rows[1].cells[1].text.empty());
        for (int r : {0, 2, 3}) {
            const std::string name = rows[r].cells[0].text;
            SCOPED_TRACE(name);
            EXPECT_EQ(rows[r].cells[5].text, CModuleConfiguration::GetMsg(3440));
            EXPECT_EQ(rows[r].cells[5].textColor, Auto::kSuccessBlue);
            EXPECT_FALSE(rows[r].cells[0].backColor);
            const auto pipe = TAVGis::Data::CPipeManager::GetInstance()->GetPipe(*GetText(name, "PIPE_REF"));
            char expected[4][32];
            std::snprintf(expected[0], 32, "%.2f",
                          TAVGis::Data::CPipeManager::GetInstance()->GetInnerDiameter(pipe));
            std::snprintf(expected[1], 32, "%.4f", *Get(name, "SECTION_SLOPE"));
            std::snprintf(expected[2], 32, "%.4f", *Get(name, "FILLING_PERCENT"));
            std::snprintf(expected[3], 32, "%.4f", *Get(name, "VELOCITY_PARTIALFILLED"));
            for (int c = 0; c < 4; ++c) EXPECT_EQ(rows[r].cells[c + 1].text, expected[c]) << c;
            EXPECT_EQ(p.Results().SectionOf(r)->GetName(), name);
        }
    });
}

TEST_F(AutomaticPageTest, RunWithoutAPullUsesTheMembersOfTheLastPull) {
    Set("S1", "PIPE_REF", PipeGuid(500.0));
    OnPage([](dlg_proracun_glavni&, Auto& p) {
        p.Item(Auto::IDC_CHECK_MISSING_ONLY).checked = 1;  // ticked, not yet pulled
        p.Notify(Auto::IDC_CALCULATE_NO_PULL, Notification::Clicked);
        EXPECT_EQ(p.Results().GetItemCount(), 4);  // S1 too
        // Pulled now: every section has its pipe from the first run.
        p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        EXPECT_EQ(p.Results().GetItemCount(), 0);
    });
}

// What the page reads from its edits and combo: a viscosity that is empty, 0 or not a number and a group
// combo without a choice stop the run; the rows of the previous run are gone all the same.
TEST_F(AutomaticPageTest, AViscosityOrGroupTheRunCannotUseLeavesTheListEmpty) {
    struct Case {
        const char* what;
        std::function<void(Auto&)> prepare;
    } cases[] = {
        {"viscosity 0", [](Auto& p) { p.SetDlgItemText(Auto::IDC_EDIT_VISCOSITY, "0"); }},
        {"viscosity empty", [](Auto& p) { p.SetDlgItemText(Auto::IDC_EDIT_VISCOSITY, ""); }},
        {"viscosity not a number", [](Auto& p) { p.SetDlgItemText(Auto::IDC_EDIT_VISCOSITY, "thick"); }},
        {"no group chosen", [](Auto& p) { p.Item(Auto::IDC_COMBO_GROUP).SetCurSel(-1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OnPage([&](dlg_proracun_glavni&, Auto& p) {
            p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
            ASSERT_EQ(p.Results().GetItemCount(), 4);
            c.prepare(p);
            p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
            EXPECT_EQ(p.Results().GetItemCount(), 0);
        });
    }
}

TEST_F(AutomaticPageTest, ModeAndMethodRulesEnableTheControlsThatApply) {
    struct Case {
        int modeRadio, methodRadio;
        bool existing, group, precision, upstream, filling, minimum;
    } cases[] = {
        {Auto::IDC_RADIO_MIN_DIAMETER, Auto::IDC_RADIO_WITHOUT_CONDITIONS, true, true, false, false, false,
         false},
        {Auto::IDC_RADIO_MIN_DIAMETER, Auto::IDC_RADIO_CONDITIONS, true, true, false, true, true, true},
        {Auto::IDC_RADIO_MIN_SLOPE, Auto::IDC_RADIO_CONDITIONS, false, false, true, false, true, true},
        {Auto::IDC_RADIO_MIN_SLOPE, Auto::IDC_RADIO_WITHOUT_CONDITIONS, false, false, true, false, false,
         false},
    };
    OnPage([&](dlg_proracun_glavni&, Auto& p) {
        for (const auto& c : cases) {
            p.Notify(c.methodRadio, Notification::Clicked);
            p.Notify(c.modeRadio, Notification::Clicked);
            p.Notify(c.methodRadio, Notification::Clicked);
            SCOPED_TRACE(std::to_string(c.modeRadio) + "/" + std::to_string(c.methodRadio));
            EXPECT_EQ(p.Item(Auto::IDC_RADIO_EXISTING_DIAMETERS).enabled, c.existing);
            EXPECT_EQ(p.Item(Auto::IDC_COMBO_GROUP).enabled, c.group);
            EXPECT_EQ(p.Item(Auto::IDC_COMBO_PRECISION).enabled, c.precision);
            EXPECT_EQ(p.Item(Auto::IDC_CHECK_UPSTREAM).enabled, c.upstream);
            EXPECT_EQ(p.Item(Auto::IDC_CHECK_FILLING).enabled, c.filling);
            EXPECT_EQ(p.Item(Auto::IDC_CHECK_MINIMUM).enabled, c.minimum);
            // The edits follow their check boxes (both unchecked here).
            EXPECT_FALSE(p.Item(Auto::IDC_EDIT_FILLING).enabled);
            if (c.filling) {
                p.Notify(Auto::IDC_CHECK_FILLING, Notification::Clicked);
                EXPECT_TRUE(p.Item(Auto::IDC_EDIT_FILLING).enabled);
                p.Notify(Auto::IDC_CHECK_FILLING, Notification::Clicked);
                EXPECT_FALSE(p.Item(Auto::IDC_EDIT_FILLING).enabled);
            }
        }
    });
}

TEST_F(AutomaticPageTest, EveryModeOrMethodChangeEmptiesTheResults) {
    OnPage([](dlg_proracun_glavni&, Auto& p) {
        for (int radio : {Auto::IDC_RADIO_CONDITIONS, Auto::IDC_RADIO_MIN_SLOPE}) {
            p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
            ASSERT_GT(p.Results().GetItemCount(), 0);
            p.Notify(radio, Notification::Clicked);
            EXPECT_EQ(p.Results().GetItemCount(), 0) << radio;
        }
    });
}

TEST_F(AutomaticPageTest, ZoomLimitsTheFactorAndZoomsToTheSelectedRows) {
    struct Case {
        const char* typed;
        const char* shown;
        double factor;
    } cases[] = {{"20", "10.0", 10.0},
                 {"0.1", "0.5", 0.5},
                 {"abc", "0.5", 0.5},
                 {"2.5", "2.5", 2.5},
                 {"", "2.5", 2.5}};
    OnPage([&](dlg_proracun_glavni&, Auto& p) {
        p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        auto& rows = p.Results().Control()->rows;
        rows[1].selected = rows[3].selected = true;
        for (const auto& c : cases) {
            p.SetDlgItemText(Auto::IDC_EDIT_ZOOM, c.typed);
            p.Notify(Auto::IDC_ZOOM, Notification::Clicked);
            EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_ZOOM), c.shown) << c.typed;
            EXPECT_EQ(p.ZoomFactor(), c.factor) << c.typed;
            EXPECT_EQ(CurrentDocument().Editor().lastZoomFactor, c.factor) << c.typed;
        }
        const std::vector<TAVHost::ObjectId> ids = {p.Results().SectionOf(1)->GetObjectId(),
                                                    p.Results().SectionOf(3)->GetObjectId()};
        EXPECT_EQ(CurrentDocument().Editor().lastZoomIds, ids);
        // No row selected: no zoom.
        const long zooms = CurrentDocument().Editor().zoomCount;
        for (auto& r : rows) r.selected = false;
        p.Notify(Auto::IDC_ZOOM, Notification::Clicked);
        EXPECT_EQ(CurrentDocument().Editor().zoomCount, zooms);
    });
    EXPECT_NE(ui.printed.find("S2S4"), std::string::npos);
}

TEST_F(AutomaticPageTest, MarkingUsesTheChosenColourAndTheColourIsStored) {
    ui.colors.push_back(5);
    ui.colors.push_back(std::nullopt);
    OnPage([](dlg_proracun_glavni& d, Auto& p) {
        p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        EXPECT_EQ(p.Item(Auto::IDC_MARK_COLOR).faceColor, TAVUi::RGB(255, 0, 0));  // colour 1
        p.Notify(Auto::IDC_MARK_COLOR, Notification::Clicked);
        EXPECT_EQ(p.MarkColor(), 5);
        EXPECT_EQ(p.Item(Auto::IDC_MARK_COLOR).faceColor, TAVUi::RGB(0, 0, 255));
        p.Notify(Auto::IDC_MARK_COLOR, Notification::Clicked);  // cancelled: unchanged
        EXPECT_EQ(p.MarkColor(), 5);
        auto& rows = p.Results().Control()->rows;
        rows[0].selected = rows[2].selected = true;
        const long refreshes = CurrentDocument().Editor().viewRefreshCount;
        p.Notify(Auto::IDC_MARK, Notification::Clicked);
        const auto& lit = CurrentDocument().Editor().highlighted;
        EXPECT_EQ(lit.at(p.Results().SectionOf(0)->GetObjectId()), 5);
        EXPECT_EQ(lit.at(p.Results().SectionOf(2)->GetObjectId()), 5);
        EXPECT_EQ(lit.count(p.Results().SectionOf(1)->GetObjectId()), 0u);
        EXPECT_EQ(CurrentDocument().Editor().viewRefreshCount, refreshes + 1);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
    });
    EXPECT_EQ(CDialogState().GetInt("NMARK_COLOR", 0), 5);
}

// The display requests of a run grow with the number of sections, one of each per section, and the
// highlight map holds one entry at any time: nothing in the run's display work grows with the run.
TEST_F(AutomaticPageTest, DisplayWorkPerSectionIsConstant) {
    for (int i = 0; i < 50; ++i) {
        const std::string name = "C" + std::to_string(i);
        Section(name, "C" + std::to_string(i), "C" + std::to_string(i + 1));
        Set(name, "FLOW_TOTAL", 0.01);
        Set(name, "SECTION_SLOPE", 5.0);
    }
    OnPage([](dlg_proracun_glavni&, Auto& p) {
        auto& editor = CurrentDocument().Editor();
        const long redraws = editor.redrawCount, updates = editor.updateDisplayCount;
        p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        ASSERT_EQ(p.Results().GetItemCount(), 54);
        EXPECT_EQ(editor.redrawCount - redraws, 54);
        EXPECT_EQ(editor.updateDisplayCount - updates, 54);
        EXPECT_EQ(editor.lastRedrawMode, kRedrawUnhighlight);
        ASSERT_EQ(editor.highlighted.size(), 1u);
        EXPECT_EQ(editor.highlighted.begin()->second, Auto::kProgressHighlightColor);
    });
}

}  // namespace
