// The individual section page inside the hydraulic calculation dialog: navigation, what a section shows,
// the minimum, the chosen value and the results against the published drain-pipe table, the save, and the
// settings the page keeps.
#include "module/hydraulics/dlg_proracun_pojedinacni.h"

#include <functional>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "module/hydraulics/dlg_proracun_glavni.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "tests/module/hydraulics/DrainTable.h"

namespace {

using Page = dlg_proracun_pojedinacni;
using draintable::kRows;
using TAVUi::Notification;

constexpr const draintable::Row& kRow600 = kRows[0];  // 600 mm at 1 in 250
constexpr const draintable::Row& kRow450 = kRows[3];  // 450 mm at 1 in 200

double Cell(Page& p, int row) {
    return TAVHost::NumberText::ParseOrZero(p.Item(Page::IDC_RESULTS).GetItemText(row, 1));
}
bool RowsEmpty(Page& p) {
    for (int r = 0; r < Page::kResultRows; ++r)
        if (!p.Item(Page::IDC_RESULTS).GetItemText(r, 1).empty()) return false;
    return true;
}
void Type(Page& p, int id, const std::string& text) {
    p.SetDlgItemText(id, text);
    p.Notify(id, Notification::Changed);
}
void Choose(Page& p, int id, int index) {
    p.Item(id).SetCurSel(index);
    p.Notify(id, Notification::SelChange);
}

// S1 carries 99 % of the tabulated flow of the 600 mm pipe at its slope; S2 has the 450 mm pipe, its own
// roughness of 1.5 mm and the tabulated flow of that pipe; S3 has nothing. The dialog starts on this page.
class IndividualPageTest : public draintable::DrainTableTest {
protected:
    void SetUp() override {
        DrainTableTest::SetUp();
        Node("C", 160, 80, 98.5);
        Node("D", 260, 80, 98.0);
        Section("S2", "B", "C");
        Section("S3", "C", "D");
        Set("S1", "FLOW_TOTAL", 0.99 * kRow600.flowLps / 1000.0);
        Set("S1", "SECTION_SLOPE", kRow600.SlopePerMille());
        Set("S2", "FLOW_TOTAL", kRow450.flowLps / 1000.0);
        Set("S2", "SECTION_SLOPE", kRow450.SlopePerMille());
        Set("S2", "PIPE_REF", Pipe(450)->GetGUID());
        Set("S2", "PIPE_ROUGHNESS", 1.5);
        Store("DIVODORHYDRAULICS_ACTIVETAB", 0);
        Store("DIVODORHYDRAULICS_VISKOZITET", draintable::kViscosity);
    }

    template <class T>
    void Store(const std::string& key, T value) {
        CDialogState(CDialogState::kDictionary, AcDb::kForWrite).Write(key, value);
    }
    template <class T>
    std::optional<T> Stored(const std::string& key) {
        T v{};
        if (!CDialogState().Read(key, v)) return std::nullopt;
        return v;
    }

    // Runs the command; the driver acts on the page as a person would, then the dialog is closed with OK.
    void Run(std::function<void(dlg_proracun_glavni&, Page&)> driver) {
        const int before = ui.modalRuns;
        ui.drivers.push_back([driver](TAVUi::CAdUiBaseDialog& d) {
            auto& dialog = dynamic_cast<dlg_proracun_glavni&>(d);
            driver(dialog, dialog.IndividualPage());
            if (!dialog.IsEnded()) dialog.Notify(TAVUi::IDOK, Notification::Clicked);
        });
        CSewageCalculations::CalcHydraulicsSewage();
        ASSERT_EQ(ui.modalRuns, before + 1);
    }

    int IndexOfPipe(double diameterMm) {
        const auto& pipes = group->GetSubItems();
        for (std::size_t i = 0; i < pipes.size(); ++i)
            if (pipes[i] == Pipe(diameterMm)) return static_cast<int>(i);
        return -1;
    }
};

TEST_F(IndividualPageTest, NavigationWalksTheSelectionAndMarksOnlyTheCurrentSection) {
    TAVGis::CModuleConfiguration::SetGSValue("MARK_COLOR_1", "5");
    TAVGis::CModuleConfiguration::SetGSValue("ZOOM_ONOFF", "0");
    TAVGis::CModuleConfiguration::SetGSValue("DEFAULT_ZOOM", "0");  // not above 0: 1.5 is used
    Run([this](dlg_proracun_glavni& d, Page& p) {
        EXPECT_EQ(d.ActivePage(), &p);
        struct Step {
            int click;  // 0: none
            const char* name;
            bool previous, next;
        } steps[] = {{0, "S1", false, true},
                     {Page::IDC_NEXT, "S2", true, true},
                     {Page::IDC_NEXT, "S3", true, false},
                     {Page::IDC_PREVIOUS, "S2", true, true},
                     {Page::IDC_PREVIOUS, "S1", false, true}};
        for (const auto& s : steps) {
            if (s.click) p.Notify(s.click, Notification::Clicked);
            SCOPED_TRACE(s.name);
            EXPECT_EQ(p.GetDlgItemText(Page::IDC_SECTION_NAME), s.name);
            EXPECT_EQ(p.CurrentSection()->GetName(), s.name);
            EXPECT_EQ(p.Item(Page::IDC_PREVIOUS).enabled, s.previous);
            EXPECT_EQ(p.Item(Page::IDC_NEXT).enabled, s.next);
            const auto& highlighted = doc->Editor().highlighted;
            ASSERT_EQ(highlighted.size(), 1u);
            EXPECT_EQ(highlighted.begin()->first, p.CurrentSection()->GetObjectId());
            EXPECT_EQ(highlighted.begin()->second, 5);
        }
        // With the zoom switched on, every section shown is zoomed to, with the factor of edit 262.
        EXPECT_EQ(p.IsDlgButtonChecked(Page::IDC_CHECK_ZOOM), 0);
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_ZOOM), "1.50");
        p.SetDlgItemText(Page::IDC_EDIT_ZOOM, "2.5");
        p.Notify(Page::IDC_CHECK_ZOOM, Notification::Clicked);
        p.Notify(Page::IDC_NEXT, Notification::Clicked);
        const auto& editor = doc->Editor();
        EXPECT_EQ(editor.lastZoomIds, std::vector<TAVHost::ObjectId>{p.CurrentSection()->GetObjectId()});
        EXPECT_EQ(editor.lastZoomFactor, 2.5);
    });
    EXPECT_TRUE(doc->Editor().highlighted.empty());  // the dialog takes the mark off on closing
}

TEST_F(IndividualPageTest, OneSelectedSectionDisablesBothNavigationButtons) {
    ui.picks.push_back({"S2"});
    Run([](dlg_proracun_glavni& d, Page& p) {
        d.Notify(dlg_proracun_glavni::IDC_SELECT, Notification::Clicked);
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_SECTION_NAME), "S2");
        EXPECT_FALSE(p.Item(Page::IDC_PREVIOUS).enabled);
        EXPECT_FALSE(p.Item(Page::IDC_NEXT).enabled);
    });
}

TEST_F(IndividualPageTest, WhatEachSectionShowsInEachMode) {
    Run([](dlg_proracun_glavni&, Page& p) {
        struct Expected {
            const char* flow;
            const char* sectionValue;  // slope in minimum-diameter mode, the pipe's diameter in the other
            const char* roughness;
            const char* type;
        };
        // Minimum-diameter mode: S1 has no pipe, so the group's pipe chosen in combo 260 gives roughness
        // and type; S2's own roughness wins over its pipe's.
        const Expected diameterMode[] = {{"429.7590", "4.0000", "0.600", "TABLE"},
                                         {"228.0000", "5.0000", "1.500", "TABLE"},
                                         {"", "", "0.600", "TABLE"}};
        // Minimum-slope mode: combo 260 holds the precisions, so a section without a pipe starts at 1 mm.
        const Expected slopeMode[] = {
            {"429.7590", "", "1.000", ""}, {"228.0000", "450.000", "1.500", "TABLE"}, {"", "", "1.000", ""}};
        for (const auto* table : {diameterMode, slopeMode}) {
            if (table == slopeMode) p.Notify(Page::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
            while (p.Item(Page::IDC_PREVIOUS).enabled) p.Notify(Page::IDC_PREVIOUS, Notification::Clicked);
            for (int i = 0; i < 3; ++i) {
                SCOPED_TRACE(::testing::Message()
                             << (table == slopeMode ? "slope" : "diameter") << " S" << i + 1);
                EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_FLOW), table[i].flow);
                EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_SECTION_VALUE), table[i].sectionValue);
                EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_ROUGHNESS), table[i].roughness);
                EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_PIPE_TYPE), table[i].type);
                if (i < 2) p.Notify(Page::IDC_NEXT, Notification::Clicked);
            }
        }
        // S1 in minimum-slope mode has no pipe: no minimum slope, nothing chosen, nothing to save.
        p.Notify(Page::IDC_PREVIOUS, Notification::Clicked);
        p.Notify(Page::IDC_PREVIOUS, Notification::Clicked);
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_MINIMUM), "");
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_CHOSEN), "");
        EXPECT_FALSE(p.Item(Page::IDC_SAVE).enabled);
        EXPECT_FALSE(p.Item(Page::IDC_COMBO_GROUP).enabled);
    });
}

TEST_F(IndividualPageTest, MinimumDiameterChosenPipeAndResultsAgainstTheTable) {
    Run([this](dlg_proracun_glavni&, Page& p) {
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_MINIMUM), "600.0000");
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_CHOSEN), "600.0000");
        EXPECT_EQ(p.Item(Page::IDC_COMBO_CHOICE).text, "600.000");
        EXPECT_TRUE(p.Item(Page::IDC_EDIT_CHOSEN).readOnly);
        EXPECT_NEAR(Cell(p, 3), kRow600.flowLps, draintable::kFlowTolerance * kRow600.flowLps);
        EXPECT_NEAR(Cell(p, 7), kRow600.velocity, draintable::kVelocityTolerance);
        EXPECT_NEAR(Cell(p, 4), 99.0, 0.15);
        EXPECT_NEAR(Cell(p, 0), Cell(p, 1) / 100.0 * 600.0, 0.01);
        EXPECT_NEAR(Cell(p, 9), draintable::kSectionLength / Cell(p, 6) / 60.0, 0.001);
        EXPECT_EQ(p.Item(Page::IDC_RESULTS).GetItemText(2, 1), "");
        EXPECT_TRUE(p.Item(Page::IDC_SAVE).enabled);

        // A pipe equal to the minimum empties the chosen value, and the results with it.
        Choose(p, Page::IDC_COMBO_CHOICE, IndexOfPipe(600));
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_CHOSEN), "");
        EXPECT_TRUE(RowsEmpty(p));
        EXPECT_FALSE(p.Item(Page::IDC_SAVE).enabled);
        // A larger pipe is chosen and runs less full.
        Choose(p, Page::IDC_COMBO_CHOICE, IndexOfPipe(750));
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_CHOSEN), "750.0000");
        EXPECT_LT(Cell(p, 4), 99.0 * 0.6);
        EXPECT_TRUE(p.Item(Page::IDC_SAVE).enabled);

        // Without a flow the next recalculation keeps nothing of the last one.
        p.SetDlgItemText(Page::IDC_EDIT_FLOW, "");
        Type(p, Page::IDC_EDIT_ROUGHNESS, "0.6");
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_MINIMUM), "");
        EXPECT_TRUE(RowsEmpty(p));
        EXPECT_FALSE(p.Item(Page::IDC_SAVE).enabled);
    });
}

TEST_F(IndividualPageTest, SaveWritesThePipeAndTheResultsAndConfirmsOnTheButton) {
    Run([this](dlg_proracun_glavni&, Page& p) {
        Choose(p, Page::IDC_COMBO_CHOICE, IndexOfPipe(750));
        const double fullFlow = Cell(p, 3);
        p.Notify(Page::IDC_SAVE, Notification::Clicked);
        EXPECT_FALSE(p.Item(Page::IDC_SAVE).enabled);
        EXPECT_EQ(p.Item(Page::IDC_SAVE).text, TAVGis::CModuleConfiguration::GetMsg(8));
        EXPECT_EQ(p.Item(Page::IDC_SAVE).icon, "IDI_SAVE");
        EXPECT_EQ(GetText("S1", "PIPE_REF"), Pipe(750)->GetGUID());
        EXPECT_NEAR(Get("S1", "FLOW_FULLFILLED").value_or(0.0) * 1000.0, fullFlow, 0.0001);
        EXPECT_TRUE(Get("S1", "FLOWTIME"));
        EXPECT_FALSE(Get("S3", "PIPE_REF"));
    });
}

TEST_F(IndividualPageTest, MinimumSlopeRoundedAtTheChosenPrecision) {
    // 450 mm at 1 in 200 carries 228 l/s full (ks 0.6 mm); with about 155 l/s the flow grows with the square
    // root of the slope, so its minimum slope is about 5 x (155 / 228)^2 = 2.31 per mille.
    Set("S2", "FLOW_TOTAL", 0.155);
    Run([](dlg_proracun_glavni&, Page& p) {
        p.Notify(Page::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
        p.Notify(Page::IDC_NEXT, Notification::Clicked);
        Type(p, Page::IDC_EDIT_ROUGHNESS, "0.6");
        const double minimum = TAVHost::NumberText::ParseOrZero(p.GetDlgItemText(Page::IDC_EDIT_MINIMUM));
        EXPECT_NEAR(minimum, 2.31, 0.02);
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_CHOSEN), "3");  // precision "0"
        Choose(p, Page::IDC_COMBO_CHOICE, 1);                     // "0.0"
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_CHOSEN), "2.4");
        EXPECT_LT(Cell(p, 4), 100.0);
        EXPECT_FALSE(p.Item(Page::IDC_EDIT_CHOSEN).readOnly);
        // A chosen slope below the minimum gives no results; one above it does.
        Type(p, Page::IDC_EDIT_CHOSEN, "2.2");
        EXPECT_TRUE(RowsEmpty(p));
        EXPECT_FALSE(p.Item(Page::IDC_SAVE).enabled);
        Type(p, Page::IDC_EDIT_CHOSEN, "2.5");
        EXPECT_FALSE(RowsEmpty(p));
        p.Notify(Page::IDC_SAVE, Notification::Clicked);
    });
    EXPECT_NEAR(Get("S2", "SECTION_SLOPE").value_or(0.0), 2.5, 1e-12);
    EXPECT_EQ(GetText("S2", "PIPE_REF"), Pipe(450)->GetGUID());
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TYPE"), 1);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TOCNOST"), 1);
}

TEST_F(IndividualPageTest, TheStoredPrecisionIsNeverAPipeIndex) {
    Store("DIVODORHYDRAULICS_TOCNOST", 2);
    Run([this](dlg_proracun_glavni&, Page& p) {
        Choose(p, Page::IDC_COMBO_CHOICE, IndexOfPipe(900));
        EXPECT_EQ(p.PrecisionIndex(), 2);
    });
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TYPE"), 0);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TOCNOST"), 2);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_VISKOZITET"), draintable::kViscosity);
    Run([](dlg_proracun_glavni&, Page& p) {
        p.Notify(Page::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
        EXPECT_EQ(p.Item(Page::IDC_COMBO_CHOICE).text, "0.00");
    });
}

TEST_F(IndividualPageTest, StartedOnTheAutomaticPageItShowsTheSectionOnlyAfterAModeClick) {
    Store("DIVODORHYDRAULICS_ACTIVETAB", 1);
    Run([](dlg_proracun_glavni& d, Page& p) {
        d.ChooseTab(0);
        EXPECT_FALSE(p.Item(Page::IDC_NEXT).enabled);
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_FLOW), "");
        p.Notify(Page::IDC_RADIO_MIN_DIAMETER, Notification::Clicked);
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_FLOW), "429.7590");
        EXPECT_EQ(p.GetDlgItemText(Page::IDC_EDIT_MINIMUM), "600.0000");
    });
}

}  // namespace
