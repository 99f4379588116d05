// The uneven waste-water dialog driven as a person would: texts, fields and their limits, the mode and the
// fields it enables, the values kept in the drawing, Calculate keeping the dialog open, the question at a
// division and the alerts. The calculation itself is tested without the dialog.
#include "module/flow/DlgFlowWasteUneven.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "module/data/SectionData.h"
#include "platform/gis/ModuleConfiguration.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVUi::CAdUiBaseDialog;
using TAVUi::Notification;
using Dlg = CDlgFlowWasteUneven;

class UnevenDialogTest : public testsupport::DrawingTest {
protected:
    void Open(std::function<void(Dlg&)> driver) {
        ui.drivers.push_back([driver](CAdUiBaseDialog& d) { driver(dynamic_cast<Dlg&>(d)); });
        CSewageCalculations::CalcWasteWaterUneven();
        ASSERT_TRUE(ui.drivers.empty()) << "the dialog did not open";
    }
    void Pipe(const std::string& name, const std::string& from, const std::string& to, double population) {
        Section(name, from, to);
        Set(name, "FLOW_SECTION_POPULATION", population);
    }
    static std::optional<double> StoredDouble(const std::string& key) {
        double v = 0;
        if (!CDialogState().Read(key, v)) return std::nullopt;
        return v;
    }
};

TEST_F(UnevenDialogTest, OpensWithCatalogueTextsDefaultsAndModeRule) {
    Open([](Dlg& d) {
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(9009));
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_STATIC_FLOW_TIME), CModuleConfiguration::GetMsg(9012));
        EXPECT_EQ(d.GetDlgItemText(TAVUi::IDOK), CModuleConfiguration::GetMsg(2428));
        EXPECT_EQ(d.GetDlgItemText(TAVUi::IDCANCEL), CModuleConfiguration::GetMsg(235));
        const auto& mode = d.Item(Dlg::IDC_COMBO_MODE);
        ASSERT_EQ(mode.items.size(), 2u);
        EXPECT_EQ(mode.items[0].text, CModuleConfiguration::GetMsg(9014));
        EXPECT_EQ(mode.items[1].text, CModuleConfiguration::GetMsg(3564));
        EXPECT_EQ(mode.curSel, 1);
        const auto in = d.ReadInput();
        EXPECT_EQ(in.q, 250.0);
        EXPECT_EQ(in.t, 24.0);
        EXPECT_EQ(in.n, 1000.0);
        EXPECT_EQ(in.p, 3.0);
        EXPECT_EQ(in.years, 30.0);
        EXPECT_EQ(in.mode, 1);
        // N, p, T and their labels only in mode 1.
        const int fromTotal[] = {Dlg::IDC_EDIT_POPULATION, Dlg::IDC_STATIC_POPULATION,
                                 Dlg::IDC_EDIT_INCREMENT,  Dlg::IDC_STATIC_INCREMENT,
                                 Dlg::IDC_EDIT_PERIOD,     Dlg::IDC_STATIC_PERIOD};
        for (int id : fromTotal) EXPECT_TRUE(d.Item(id).enabled) << id;
        d.Item(Dlg::IDC_COMBO_MODE).SetCurSel(0);
        d.Notify(Dlg::IDC_COMBO_MODE, Notification::SelChange);
        for (int id : fromTotal) EXPECT_FALSE(d.Item(id).enabled) << id;
        EXPECT_TRUE(d.Item(Dlg::IDC_EDIT_FLOW_TIME).enabled);
        // Only the growth accepts a negative number; 8 whole digits and 4 decimals.
        d.Item(Dlg::IDC_EDIT_INCREMENT).SetWindowText("-1.25");
        d.Item(Dlg::IDC_EDIT_FLOW_TIME).SetWindowText("-123456789.123456");
        d.Item(Dlg::IDC_EDIT_WATER_AMOUNT).SetWindowText("-2");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_INCREMENT), "-1.25");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_FLOW_TIME), "12345678.1234");
        EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_EDIT_WATER_AMOUNT), "2");
        d.EndDialog(TAVUi::IDCANCEL);
    });
}

TEST_F(UnevenDialogTest, CloseKeepsTheValuesForTheNextOpening) {
    Open([](Dlg& d) {
        d.Item(Dlg::IDC_EDIT_WATER_AMOUNT).SetWindowText("180.5");
        d.Item(Dlg::IDC_EDIT_INCREMENT).SetWindowText("-0.5");
        d.Item(Dlg::IDC_COMBO_MODE).SetCurSel(0);
        d.Notify(Dlg::IDC_COMBO_MODE, Notification::SelChange);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    EXPECT_EQ(StoredDouble("TAVX_FLOW_U_m_edWaterAmount"), 180.5);
    EXPECT_EQ(StoredDouble("TAVX_FLOW_U_m_edIncrement"), -0.5);
    EXPECT_EQ(StoredDouble("TAVX_FLOW_U_m_edFlowTime"), 24.0);
    EXPECT_EQ(CDialogState().GetInt("TAVX_FLOW_U_m_comboMode", -1), 0);
    Open([](Dlg& d) {
        EXPECT_EQ(d.ReadInput().q, 180.5);
        EXPECT_EQ(d.ReadInput().p, -0.5);
        EXPECT_EQ(d.ReadInput().mode, 0);
        EXPECT_FALSE(d.Item(Dlg::IDC_EDIT_POPULATION).enabled);  // the stored mode decides
        d.EndDialog(TAVUi::IDCANCEL);
    });
}

// Nothing selected: the whole active system is calculated; the dialog stays open, keeps its values and
// calculates again.
TEST_F(UnevenDialogTest, CalculateWorksOnTheActiveSystemAndStaysOpen) {
    Pipe("A", "n1", "n2", 100.0);
    Pipe("B", "n2", "n3", 100.0);
    Open([this](Dlg& d) {
        d.Item(Dlg::IDC_COMBO_MODE).SetCurSel(0);
        d.Notify(Dlg::IDC_COMBO_MODE, Notification::SelChange);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_TRUE(d.IsWindowVisible());
        EXPECT_EQ(d.LastResult().status, 0);
        const double q1 = 100.0 * 250.0 / 86400.0;
        EXPECT_NEAR(*Get("B", "FLOW_QSR_TOTAL"), 2 * q1, 1e-12);
        EXPECT_EQ(StoredDouble("TAVX_FLOW_U_m_edWaterAmount"), 250.0);  // saved after the calculation
        d.Item(Dlg::IDC_EDIT_FLOW_TIME).SetWindowText("12");
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_NEAR(*Get("B", "FLOW_QSR_TOTAL"), 4 * q1, 1e-12);
        d.EndDialog(TAVUi::IDCANCEL);
    });
    EXPECT_NE(ui.printed.find(CModuleConfiguration::GetMsg(9013)), std::string::npos);
    EXPECT_TRUE(ui.alerts.empty());
}

TEST_F(UnevenDialogTest, AlertsForAZeroDurationAndALoop) {
    Pipe("A", "a", "b", 100.0);
    Pipe("B", "b", "a", 100.0);
    Open([](Dlg& d) {
        d.Item(Dlg::IDC_EDIT_FLOW_TIME).SetWindowText("0");
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        d.Item(Dlg::IDC_EDIT_FLOW_TIME).SetWindowText("24");
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        d.EndDialog(TAVUi::IDCANCEL);
    });
    ASSERT_EQ(ui.alerts.size(), 2u);
    EXPECT_EQ(ui.alerts[0], CModuleConfiguration::GetMsg(CUnevenWasteWater::kMsgNoDuration));
    EXPECT_EQ(ui.alerts[1], CModuleConfiguration::GetMsg(CUnevenWasteWater::kMsgClosedLoop));
    EXPECT_FALSE(Get("A", "FLOW_QSR_TOTAL"));
    EXPECT_FALSE(StoredDouble("TAVX_FLOW_U_m_edFlowTime"));  // only a completed calculation saves
}

// While the person picks the main outlet the dialog is hidden and the drawing shows the outgoing sections
// zoomed by 3; the pick is stored on the node.
TEST_F(UnevenDialogTest, PickingTheDirectionHidesTheDialogZoomsAndStoresIt) {
    Pipe("U", "u", "D", 100.0);
    auto left = Section("L", "D", "l");
    auto right = Section("R", "D", "r");
    std::optional<bool> visibleDuringPick;
    Dlg* open = nullptr;
    ui.onPick = [&](const TAVHost::PickRequest& request) {
        visibleDuringPick = open && open->IsWindowVisible();
        EXPECT_EQ(request.kind, TAVHost::PickRequest::Kind::Direction);
    };
    ui.picks.push_back({"R"});
    Open([&](Dlg& d) {
        open = &d;
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_TRUE(d.IsWindowVisible());
        d.Notify(TAVUi::IDOK, Notification::Clicked);  // the table answers now: nobody is asked
        d.EndDialog(TAVUi::IDCANCEL);
    });
    ASSERT_TRUE(visibleDuringPick.has_value());
    EXPECT_FALSE(*visibleDuringPick);
    EXPECT_EQ(ui.pickRequests.size(), 1u);
    EXPECT_EQ(doc->Editor().lastZoomFactor, 3.0);
    EXPECT_EQ(doc->Editor().lastZoomIds,
              (std::vector<TAVHost::ObjectId>{left->GetObjectId(), right->GetObjectId()}));
    EXPECT_EQ(CSectionData::GetMAIN_SECT_OUT(Topo().FindNodeByName("D")), right);
    EXPECT_TRUE(Get("R", "FLOW_QSR_TOTAL"));
}

}  // namespace
