// The hydraulic calculator dialog: its start, the published drain-pipe table typed in, the slope units and
// what they store, the section pick, and what it shows for inputs that cannot be calculated.
#include "module/hydraulics/dlg_calculatorAll.h"

#include <functional>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "tests/module/hydraulics/DrainTable.h"

namespace {

using Dlg = dlg_calculatorAll;
using draintable::kRows;
using TAVGis::CModuleConfiguration;
using TAVUi::Notification;

void Type(Dlg& d, int id, const std::string& text) {
    d.SetDlgItemText(id, text);
    d.Notify(id, Notification::Changed);
}
void Choose(Dlg& d, int id, int index) {
    d.Item(id).SetCurSel(index);
    d.Notify(id, Notification::SelChange);
}
double Cell(Dlg& d, int row) {
    return TAVHost::NumberText::ParseOrZero(d.Item(Dlg::IDC_RESULTS).GetItemText(row, 1));
}
bool RowsEmpty(Dlg& d) {
    for (int r = 0; r < Dlg::kResultRows; ++r)
        if (!d.Item(Dlg::IDC_RESULTS).GetItemText(r, 1).empty()) return false;
    return true;
}
std::string Status(int n) {
    return CModuleConfiguration::GetMsg(n);
}

// The table group, and a second group "Other" first in the catalogue's order is not: "Table" comes first.
// S2 has the table's 450 mm pipe and a roughness of its own; S3 a pipe of the other group; S1 none.
class CalculatorTest : public draintable::DrainTableTest {
protected:
    void SetUp() override {
        DrainTableTest::SetUp();
        auto catalog = testpipes::LoadPipeCatalogue(
            {{"Other", "Other 250", 250, 250, 1.0, "OTHER"}, {"Other", "Other 500", 500, 500, 1.0, "OTHER"}});
        other = catalog->GetRootItems()[1];
        Node("C", 160, 80, 98.5);
        Node("D", 260, 80, 98.0);
        Section("S2", "B", "C");
        Section("S3", "C", "D");
        Set("S1", "FLOW_TOTAL", 0.05);
        Set("S2", "FLOW_TOTAL", 0.1);
        Set("S2", "SECTION_SLOPE", 4.0);
        Set("S2", "PIPE_REF", Pipe(450)->GetGUID());
        Set("S2", "PIPE_ROUGHNESS", 1.5);
        Set("S3", "PIPE_REF", other->GetSubItems()[1]->GetGUID());
    }

    void Run(std::function<void(Dlg&)> driver) {
        const int before = ui.modalRuns;
        ui.drivers.push_back([driver](TAVUi::CAdUiBaseDialog& d) { driver(dynamic_cast<Dlg&>(d)); });
        CSewageCalculations::CalcHydraulicsSewage_Calculator();
        ASSERT_EQ(ui.modalRuns, before + 1);
    }
    template <class T>
    std::optional<T> Stored(const std::string& key) {
        T v{};
        if (!CDialogState().Read(key, v)) return std::nullopt;
        return v;
    }
    int IndexOfPipe(double diameterMm) {
        const auto& pipes = group->GetSubItems();
        for (std::size_t i = 0; i < pipes.size(); ++i)
            if (pipes[i] == Pipe(diameterMm)) return static_cast<int>(i);
        return -1;
    }

    TAVGis::Data::CCatalogItemPtr other;
};

TEST_F(CalculatorTest, ANewDrawingStartsWithTheDefaultsAndAsksForAFlow) {
    Run([](Dlg& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(Dlg::IDC_RADIO_MIN_DIAMETER), 1);
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_FLOW), "0.0000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_SLOPE), "0.0000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_ROUGHNESS), "1.0000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_VISCOSITY), "0.0000013100");
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_SLOPE_UNIT).text, "o/oo");
        ASSERT_EQ(d.Item(Dlg::IDC_COMBO_SLOPE_UNIT).items.size(), 3u);
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_GROUP).text, "Table");
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_PIPE).text, "DN 300 DN 300");
        EXPECT_EQ(d.Item(Dlg::IDC_RESULTS).GetItemCount(), Dlg::kResultRows);
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_STATUS), Status(kStatusEnterFlow));
        d.Notify(Dlg::IDC_CLOSE, Notification::Clicked);
    });
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_CAL_ROUGHNESS"), 1.0);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_CAL_VIS"), 1.31e-6);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_CATPIPE"), 0);
}

TEST_F(CalculatorTest, TheTabulatedPipesTypedInOneInN) {
    Run([this](Dlg& d) {
        Choose(d, Dlg::IDC_COMBO_SLOPE_UNIT, 2);
        Type(d, Dlg::IDC_EDIT_ROUGHNESS, "0.6");
        Type(d, Dlg::IDC_EDIT_VISCOSITY, "0.00000101");
        for (const auto& row : kRows) {
            SCOPED_TRACE(::testing::PrintToString(row));
            Type(d, Dlg::IDC_EDIT_SLOPE, TAVHost::NumberText::Fixed(row.gradientOneIn, 0));
            Type(d, Dlg::IDC_EDIT_FLOW, TAVHost::NumberText::Fixed(0.99 * row.flowLps, 4));
            const std::string d4 = TAVHost::NumberText::Fixed(row.diameterMm, 4);
            EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_MINIMUM), d4);
            EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_CHOSEN), d4);
            EXPECT_EQ(d.Item(Dlg::IDC_COMBO_PIPE).curSel, IndexOfPipe(row.diameterMm));
            EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_STATUS), "");
            EXPECT_NEAR(Cell(d, 3), row.flowLps, draintable::kFlowTolerance * row.flowLps);
            EXPECT_NEAR(Cell(d, 7), row.velocity, draintable::kVelocityTolerance);
            EXPECT_NEAR(Cell(d, 4), 99.0, 0.15);
        }
        // A pipe below the minimum: the chosen value is its diameter, the status says why nothing shows.
        Type(d, Dlg::IDC_EDIT_SLOPE, "250");
        Type(d, Dlg::IDC_EDIT_FLOW, "429.759");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_CHOSEN), "600.0000");
        Choose(d, Dlg::IDC_COMBO_PIPE, IndexOfPipe(300));
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_CHOSEN), "300.0000");
        EXPECT_TRUE(RowsEmpty(d));
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_STATUS), Status(kStatusPipeBelowMinimum));
        // The minimum slope of the 300 mm pipe for its tabulated flow is 1 in 200 (within the table's
        // precision); the chosen n is the whole number below it.
        d.Notify(Dlg::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
        EXPECT_FALSE(d.Item(Dlg::IDC_EDIT_SLOPE).enabled);
        Choose(d, Dlg::IDC_COMBO_PIPE, IndexOfPipe(300));
        Type(d, Dlg::IDC_EDIT_FLOW, "78.3");
        const double n = TAVHost::NumberText::ParseOrZero(d.GetDlgItemText(Dlg::IDC_EDIT_MINIMUM));
        EXPECT_NEAR(n, 200.0, 200.0 * draintable::kSlopeTolerance);
        const double chosen = TAVHost::NumberText::ParseOrZero(d.GetDlgItemText(Dlg::IDC_EDIT_CHOSEN));
        EXPECT_LT(chosen, n);
        EXPECT_GE(chosen, n - 1.0);
        EXPECT_LT(Cell(d, 4), 100.0);
        // A flatter slope than the minimum (a larger n) is refused.
        Type(d, Dlg::IDC_EDIT_CHOSEN, TAVHost::NumberText::Fixed(n + 5.0, 4));
        EXPECT_TRUE(RowsEmpty(d));
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_STATUS), Status(kStatusSlopeBelowMinimum));
    });
}

TEST_F(CalculatorTest, OneInTwoHundredStoresFivePerMilleAndShowsTwoHundredAgain) {
    Run([](Dlg& d) {
        Choose(d, Dlg::IDC_COMBO_SLOPE_UNIT, 2);
        Type(d, Dlg::IDC_EDIT_SLOPE, "200");
        Type(d, Dlg::IDC_EDIT_FLOW, "12.5");
        d.Notify(Dlg::IDC_CLOSE, Notification::Clicked);
    });
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_CAL_SLOPE"), 5.0);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_SLOPEUNIT"), 2);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_CAL_FLOW"), 12.5);
    Run([](Dlg& d) {
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_SLOPE_UNIT).text, "1/n");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_SLOPE), "200.0000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_FLOW), "12.5000");
        // Changing the unit keeps the slope: 5 per mille, 0.5 %.
        Choose(d, Dlg::IDC_COMBO_SLOPE_UNIT, 1);
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_SLOPE), "0.5000");
        Choose(d, Dlg::IDC_COMBO_SLOPE_UNIT, 0);
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_SLOPE), "5.0000");
        // "1 in 0" is no slope: stored as 0, never as an infinite slope.
        Choose(d, Dlg::IDC_COMBO_SLOPE_UNIT, 2);
        Type(d, Dlg::IDC_EDIT_SLOPE, "0");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_STATUS), Status(kStatusEnterSlope));
        d.Notify(Dlg::IDC_CLOSE, Notification::Clicked);
    });
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_CAL_SLOPE"), 0.0);
    // The close box keeps the stored values as they were.
    Run([](Dlg& d) {
        Type(d, Dlg::IDC_EDIT_FLOW, "99");
        d.OnCancel();
    });
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_CAL_FLOW"), 12.5);
}

TEST_F(CalculatorTest, APickedSectionFillsTheInputsAndKeepsTheSelectionsWithoutAPipe) {
    ui.picks.push_back({"S3"});
    ui.picks.push_back({"S1"});
    ui.picks.push_back({"S2"});
    Run([this](Dlg& d) {
        // S3: a pipe of the other group, with that pipe's roughness; it has no flow, the field keeps its own.
        Type(d, Dlg::IDC_EDIT_FLOW, "7");
        d.Notify(Dlg::IDC_PICK_SECTION, Notification::Clicked);
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_GROUP).text, "Other");
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_PIPE).text, "Other 500 DN 500");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_ROUGHNESS), "1.0000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_FLOW), "7");
        // S1: no pipe, so group and pipe stay; its flow comes over in l/s.
        d.Notify(Dlg::IDC_PICK_SECTION, Notification::Clicked);
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_GROUP).text, "Other");
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_PIPE).text, "Other 500 DN 500");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_FLOW), "50.0000");
        // S2: the table's 450 mm pipe (in minimum-slope mode, where the minimum does not choose a pipe); the
        // section's own roughness wins; the slope in the unit shown.
        Choose(d, Dlg::IDC_COMBO_SLOPE_UNIT, 2);
        d.Notify(Dlg::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
        d.Notify(Dlg::IDC_PICK_SECTION, Notification::Clicked);
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_GROUP).text, "Table");
        EXPECT_EQ(d.Item(Dlg::IDC_COMBO_PIPE).curSel, IndexOfPipe(450));
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_ROUGHNESS), "1.5000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_SLOPE), "250.0000");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_FLOW), "100.0000");
        EXPECT_FALSE(d.GetDlgItemText(Dlg::IDC_EDIT_MINIMUM).empty());
        EXPECT_FALSE(RowsEmpty(d));
        d.Notify(Dlg::IDC_CLOSE, Notification::Clicked);
    });
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_CATPIPE"), 0);
    EXPECT_FALSE(Get("S2", "FILLING_PERCENT"));  // the calculator writes nothing to the drawing
}

}  // namespace
