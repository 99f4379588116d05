// The ISKI waste-water dialog driven as a person would: the calculator's default set in the grid, Run,
// Write data and Reset data with and without a selection, what the grid accepts and refuses, and the dialog
// without its calculator.
#include "module/flow/DlgFlowWasteTURIski.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>
#include <cmath>
#include <functional>

#include "module/app/SewageCalculations.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/NumberText.h"
#include "support/TestSupport.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CDataBox;
using TAVGis::Sewage::CFlowCalculatorManager;
using TAVUi::Notification;
using Dlg = CDlgFlowWasteTURIski;

// By hand: Qavg = P q r / 86400 l/s, k = min(kmax, 1.5 + 2.5 / sqrt(Qavg)), peak = k Qavg / 1000 m3/s.
double IskiPeak(double inhabitants, double consumption = 200, double kmax = 4) {
    const double q = inhabitants * consumption * 0.8 / 86400.0;
    return std::min(kmax, 1.5 + 2.5 / std::sqrt(q)) * q / 1000.0;
}

class IskiDialogTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        Section("U1", "n1", "n3");
        Section("U2", "n2", "n3");
        Section("D", "n3", "n4");
        Household("U1", 10, 100);
        Household("U2", 5, 200);
    }
    void TearDown() override {
        auto calc = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("002_WASTE_ISKI");
        calc->GetDefaultCalculationParameters()->GetProperties().FromText(
            calc->CreateCalculationParameters()->GetProperties().ToText());
        DrawingTest::TearDown();
    }
    void Household(const std::string& section, double ha, double density) {
        auto a = Topo().AddCatchmentArea(section + "_H", system);
        a->kind = 2;
        a->areaHa = ha;
        a->densityInhabPerHa = density;
        Topo().LinkCatchment(a, Topo().FindSectionByName(section)->GetGuid());
    }
    void Open(std::function<void(Dlg&)> driver) {
        ui.drivers.push_back([driver](TAVUi::CAdUiBaseDialog& dlg) {
            driver(dynamic_cast<Dlg&>(dlg));
            dlg.OnCancel();
        });
        CSewageCalculations::CalcWasteWaterTurkishISKI();
        ASSERT_TRUE(ui.drivers.empty());
    }
    void Pick(Dlg& dlg, std::vector<std::string> names) {
        ui.picks.push_back(std::move(names));
        dlg.Notify(Dlg::IDC_BUTTON_SELECT, Notification::Clicked);
    }
    static std::string Msg(int n) { return CModuleConfiguration::GetMsg(n); }
};

TEST_F(IskiDialogTest, RunsTheCalculatorWithTheGridsValuesOnTheSelection) {
    Open([&](Dlg& dlg) {
        EXPECT_EQ(dlg.GetWindowText(), Msg(11162));
        ASSERT_TRUE(dlg.Calculator());
        EXPECT_EQ(dlg.Grid()->GetDataToShow().get(),
                  &dlg.Calculator()->GetDefaultCalculationParameters()->GetProperties());
        ASSERT_EQ(dlg.Grid()->RowCount(), 3);
        EXPECT_EQ(dlg.Grid()->GetText(0, 1), "200.000000");
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::IDC_EDIT_ZOOM), "1.5");
        EXPECT_EQ(dlg.Item(Dlg::IDC_BUTTON_ZOOM).icon, "IDI_SHOWSEL");
        // Nothing selected: Run, Write data and Reset data alert and write nothing.
        for (int id : {Dlg::IDC_BUTTON_RUN, Dlg::IDC_BUTTON_WRITE_DATA, Dlg::IDC_BUTTON_RESET_DATA})
            dlg.Notify(id, Notification::Clicked);
        EXPECT_EQ(ui.alerts, std::vector<std::string>(3, Msg(658)));
        Pick(dlg, {"U1", "U2", "D"});
        ASSERT_TRUE(dlg.Grid()->SetPropertyValue("PEAK_FACTOR_MAX", "3"));
        dlg.Notify(Dlg::IDC_BUTTON_RUN, Notification::Clicked);
        // The preview shows the calculator's column for the selected sections.
        const auto& list = *dlg.Preview().Control();
        ASSERT_EQ(list.rows.size(), 3u);
        EXPECT_EQ(list.columns[1].header, "FLOW_ISKI_PEAK");
        EXPECT_EQ(list.rows[2].cells[0].text, "D");
        EXPECT_EQ(list.rows[2].cells[1].text, TAVHost::NumberText::General(IskiPeak(2000, 200, 3), 6));
        // Zoom to the marked row with the field's factor (no highlight), then mark it.
        dlg.Item(Dlg::IDC_PREVIEW_LIST).rows[1].selected = true;
        dlg.Notify(Dlg::IDC_BUTTON_ZOOM, Notification::Clicked);
        const auto u2 = Topo().FindSectionByName("U2")->GetObjectId();
        EXPECT_EQ(doc->Editor().lastZoomIds, std::vector<TAVHost::ObjectId>{u2});
        EXPECT_DOUBLE_EQ(doc->Editor().lastZoomFactor, 1.5);
        EXPECT_TRUE(doc->Editor().highlighted.empty());
        dlg.Notify(Dlg::IDC_BUTTON_MARK, Notification::Clicked);
        EXPECT_EQ(doc->Editor().highlighted,
                  (std::map<TAVHost::ObjectId, int>{{u2, CModuleConfiguration::GetHighlightColor()}}));
    });
    EXPECT_EQ(ui.alerts.size(), 3u);
    // U1 and U2 (1000 inhabitants each) are capped at k = 3; D (2000) has k = 2.799.
    EXPECT_NEAR(*Get("U1", "FLOW_ISKI_PEAK"), 3 * 1000 * 200 * 0.8 / 86400 / 1000, 1e-15);
    EXPECT_NEAR(*Get("U2", "FLOW_ISKI_PEAK"), IskiPeak(1000, 200, 3), 1e-15);
    EXPECT_NEAR(*Get("D", "FLOW_ISKI_PEAK"), 0.0103668078, 1e-10);
}

TEST_F(IskiDialogTest, WriteDataAndResetDataRefreshThePreview) {
    Open([&](Dlg& dlg) {
        Pick(dlg, {"U2", "D"});
        dlg.Notify(Dlg::IDC_BUTTON_RUN, Notification::Clicked);
        ASSERT_TRUE(Get("D", "FLOW_ISKI_PEAK"));
        dlg.Notify(Dlg::IDC_BUTTON_RESET_DATA, Notification::Clicked);
        const auto& list = *dlg.Preview().Control();
        ASSERT_EQ(list.rows.size(), 2u);
        EXPECT_EQ(list.rows[1].cells[1].text, "");
        dlg.Item(Dlg::IDC_PREVIEW_LIST).rows.clear();
        dlg.Notify(Dlg::IDC_BUTTON_WRITE_DATA, Notification::Clicked);
        EXPECT_EQ(list.rows.size(), 2u);  // the calculator's input-data step succeeded: preview shown again
    });
    EXPECT_TRUE(ui.alerts.empty());
    EXPECT_FALSE(Get("U2", "FLOW_ISKI_PEAK"));
    EXPECT_FALSE(Get("D", "FLOW_ISKI_PEAK"));
}

TEST_F(IskiDialogTest, WithoutItsCalculatorTheDialogHasNothingToRun) {
    auto* registry = CFlowCalculatorManager::GetInstance();
    const auto iski = registry->GetFlowCalculator("002_WASTE_ISKI");
    registry->Unregister("002_WASTE_ISKI");
    Open([&](Dlg& dlg) {
        EXPECT_FALSE(dlg.Calculator());
        EXPECT_EQ(dlg.Grid()->RowCount(), 0);
        for (int id : {Dlg::IDC_BUTTON_RUN, Dlg::IDC_BUTTON_WRITE_DATA, Dlg::IDC_BUTTON_RESET_DATA})
            EXPECT_FALSE(dlg.Item(id).enabled) << id;
        dlg.OnBnClickedButtonRun();
    });
    registry->Register(iski);
    EXPECT_TRUE(ui.alerts.empty());
}

// What the grid does with typed texts, per kind of property; refusals change nothing and say why.
TEST_F(IskiDialogTest, TheGridAcceptsAndRefusesTypedValuesByKind) {
    struct Counter : TAVGis::Data::CCallbackItemUpdated {
        std::vector<std::string> tags;
        void OnItemUpdated(const TAVGis::Data::CPropertyExPtr& p) override { tags.push_back(p->GetTag()); }
    } counter;
    struct Case {
        const char* tag;
        const char* typed;
        CDataBox stored;  // what the property holds afterwards
        const char* shown;
        int alert;  // 0: accepted
    };
    const Case cases[] = {
        {"D", "3", CDataBox(3.0), "3.000000", 0},
        {"D", " 2.5e1 ", CDataBox(25.0), "25.000000", 0},
        {"D", "-0.125", CDataBox(-0.125), "-0.125000", 0},
        {"D", "abc", CDataBox(1.5), "1.500000", 14101},
        {"D", "1,5", CDataBox(1.5), "1.500000", 14101},
        {"D", "nan", CDataBox(1.5), "1.500000", 14101},
        {"D", "1e999", CDataBox(1.5), "1.500000", 14101},
        {"D", "", CDataBox(1.5), "1.500000", 14101},
        {"I", "4", CDataBox(4), "4", 0},
        {"I", "4.5", CDataBox(7), "7", 14102},
        {"I", "3000000000", CDataBox(7), "7", 14102},
        {"T", "two words", CDataBox("two words"), "two words", 0},
        {"L", "a;b", CDataBox(std::vector<std::string>{"a", "b"}), "a;b", 0},
        {"N", "12", CDataBox(12.0), "12.000000", 0},
        {"N", "Ankara", CDataBox("Ankara"), "Ankara", 0},
    };
    Open([&](Dlg& dlg) {
        for (const auto& c : cases) {
            auto props = boost::make_shared<TAVGis::Data::CPropertiesEx>();
            props->Add("D", "Number", CDataBox(1.5));
            props->Add("I", "Whole", CDataBox(7));
            props->Add("T", "Text", CDataBox("x"));
            props->Add("L", "List", CDataBox(std::vector<std::string>{"x"}));
            props->Add("N", "Nothing", CDataBox());
            auto* grid = dlg.Grid();
            grid->SetDataToShow(props);
            grid->SetCallbackUpdate(&counter);
            counter.tags.clear();
            ui.alerts.clear();
            const int row = grid->FindRow(c.tag);
            EXPECT_EQ(grid->SetPropertyValue(c.tag, c.typed), c.alert == 0) << c.tag << " " << c.typed;
            EXPECT_EQ(props->GetPropertyExByTag(c.tag)->GetHiddenValue(), c.stored) << c.typed;
            EXPECT_EQ(grid->GetText(row, 1), c.shown) << c.typed;
            if (c.alert) {
                ASSERT_EQ(ui.alerts.size(), 1u) << c.typed;
                EXPECT_EQ(ui.alerts[0].rfind(Msg(c.alert), 0), 0u) << ui.alerts[0];
                EXPECT_NE(ui.alerts[0].find(c.typed), std::string::npos) << ui.alerts[0];
                EXPECT_TRUE(counter.tags.empty());
            } else {
                EXPECT_TRUE(ui.alerts.empty()) << c.typed;
                EXPECT_EQ(counter.tags, std::vector<std::string>{c.tag});
            }
        }
    });
}

}  // namespace
