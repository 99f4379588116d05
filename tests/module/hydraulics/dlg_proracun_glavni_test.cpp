// The hydraulic calculation dialog: start, hand-over of the selection to the pages, settings on OK.
#include "module/hydraulics/dlg_proracun_glavni.h"

#include <functional>

#include "module/app/SewageCalculations.h"
#include "module/data/DialogState.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "tests/module/hydraulics/HydraulicsTestSupport.h"

namespace {

using TAVUi::Notification;
using Auto = dlg_proracun_automatski;

class HydraulicsDialogTest : public hydraulicstest::CatalogueTest {
protected:
    void SetUp() override {
        CatalogueTest::SetUp();
        Section("S1", "N1", "N2");
        Section("S2", "N2", "N3");
        for (const char* s : {"S1", "S2"}) {
            Set(s, "FLOW_TOTAL", 0.02);
            Set(s, "SECTION_SLOPE", 5.0);
        }
    }

    // Runs the command; the driver acts on the dialog as a person would. False when no dialog ran.
    bool Run(std::function<void(dlg_proracun_glavni&)> driver) {
        const int before = ui.modalRuns;
        ui.drivers.push_back(
            [driver](TAVUi::CAdUiBaseDialog& d) { driver(dynamic_cast<dlg_proracun_glavni&>(d)); });
        CSewageCalculations::CalcHydraulicsSewage();
        if (ui.modalRuns == before) ui.drivers.clear();
        return ui.modalRuns > before;
    }

    template <class T>
    std::optional<T> Stored(const std::string& key) {
        T v{};
        if (!CDialogState().Read(key, v)) return std::nullopt;
        return v;
    }
};

TEST_F(HydraulicsDialogTest, ANewDrawingOpensOnTheAutomaticPageWithEveryDefault) {
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        EXPECT_EQ(d.GetWindowText(), TAVGis::CModuleConfiguration::GetMsg(2223));
        EXPECT_EQ(d.Item(dlg_proracun_glavni::IDC_TAB).curSel, 1);
        ASSERT_EQ(d.Item(dlg_proracun_glavni::IDC_TAB).items.size(), 2u);
        EXPECT_EQ(d.Item(dlg_proracun_glavni::IDC_TAB).items[0].text,
                  TAVGis::CModuleConfiguration::GetMsg(2224));
        EXPECT_EQ(d.ActivePage(), &d.AutomaticPage());
        auto& p = d.AutomaticPage();
        EXPECT_EQ(p.IsDlgButtonChecked(Auto::IDC_RADIO_MIN_DIAMETER), 1);
        EXPECT_EQ(p.IsDlgButtonChecked(Auto::IDC_RADIO_WITHOUT_CONDITIONS), 1);
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_VISCOSITY), "0.0000013100");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_FILLING), "90.00");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_MINIMUM), "200.00");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_ZOOM), "1.5");
        EXPECT_EQ(p.Item(Auto::IDC_COMBO_PRECISION).items.size(), 4u);
        EXPECT_EQ(p.Item(Auto::IDC_COMBO_PRECISION).curSel, 0);
        ASSERT_EQ(p.Item(Auto::IDC_COMBO_GROUP).items.size(), 2u);
        EXPECT_EQ(p.Item(Auto::IDC_COMBO_GROUP).text, "PVC");
        EXPECT_EQ(p.MarkColor(), 1);
        EXPECT_TRUE(p.Item(Auto::IDC_CALCULATE).enabled);
        for (int id : {Auto::IDC_CHECK_FILLING, Auto::IDC_CHECK_MINIMUM, Auto::IDC_CHECK_UPSTREAM}) {
            EXPECT_EQ(p.IsDlgButtonChecked(id), 0) << id;
            EXPECT_FALSE(p.Item(id).enabled) << id;
        }
        EXPECT_EQ(p.Item(Auto::IDC_RESULTS).columns.size(), 6u);
        EXPECT_EQ(p.Sections().size(), 2u);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    }));
    EXPECT_FALSE(Stored<int>("DIVODORHYDRAULICS_ACTIVETAB"));  // Cancel writes nothing
}

TEST_F(HydraulicsDialogTest, OkStoresEverySettingAndTheNextStartRestoresThem) {
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        auto& p = d.AutomaticPage();
        p.Notify(Auto::IDC_RADIO_CONDITIONS, Notification::Clicked);
        p.Notify(Auto::IDC_CHECK_FILLING, Notification::Clicked);
        p.Notify(Auto::IDC_CHECK_UPSTREAM, Notification::Clicked);
        p.SetDlgItemText(Auto::IDC_EDIT_FILLING, "75.5");
        p.SetDlgItemText(Auto::IDC_EDIT_MINIMUM, "250");
        p.SetDlgItemText(Auto::IDC_EDIT_VISCOSITY, "0.0000011");
        p.Item(Auto::IDC_COMBO_GROUP).SetCurSel(1);
        p.SetDlgItemText(Auto::IDC_EDIT_ZOOM, "3");
        p.Notify(Auto::IDC_ZOOM, Notification::Clicked);
        d.ChooseTab(0);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
    }));
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_ACTIVETAB"), 0);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_2_NACIN"), 2);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_2_CHECK_ISP"), 1);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_2_CHECK_DIMUP"), 1);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_2_CHECK_MIN"), 0);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_2_ISPUNJENOST"), 75.5);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_2_PROMJER"), 250.0);
    EXPECT_FALSE(Stored<double>("DIVODORHYDRAULICS_2_BRZINA"));
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_2_VISKOZITET"), 0.0000011);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_2_SEKCIJA"), 1);
    EXPECT_EQ(Stored<double>("DZOOM_FACTOR"), 3.0);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TYPE"), 0);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_VISKOZITET"), 1.31e-6);

    // The next start shows what was stored; Cancel keeps it stored.
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        EXPECT_EQ(d.ActivePage(), &d.IndividualPage());
        auto& p = d.AutomaticPage();
        EXPECT_EQ(p.IsDlgButtonChecked(Auto::IDC_RADIO_CONDITIONS), 1);
        EXPECT_EQ(p.IsDlgButtonChecked(Auto::IDC_CHECK_FILLING), 1);
        EXPECT_TRUE(p.Item(Auto::IDC_EDIT_FILLING).enabled);
        EXPECT_FALSE(p.Item(Auto::IDC_EDIT_MINIMUM).enabled);
        EXPECT_TRUE(p.Item(Auto::IDC_CHECK_UPSTREAM).enabled);
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_FILLING), "75.50");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_MINIMUM), "250.00");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_VISCOSITY), "0.0000011000");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_ZOOM), "3.0");
        EXPECT_EQ(p.Item(Auto::IDC_COMBO_GROUP).text, "CONCRETE");
        p.SetDlgItemText(Auto::IDC_EDIT_FILLING, "10");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    }));
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_2_ISPUNJENOST"), 75.5);
}

TEST_F(HydraulicsDialogTest, InMinimumSlopeModeOnlyTheVelocityIsStoredAndNonNumbersStoreZero) {
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        auto& p = d.AutomaticPage();
        p.Notify(Auto::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_MINIMUM), "0.20");
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_CHECK_MINIMUM), TAVGis::CModuleConfiguration::GetMsg(2220));
        p.SetDlgItemText(Auto::IDC_EDIT_MINIMUM, "0.75");
        p.SetDlgItemText(Auto::IDC_EDIT_FILLING, "lots");
        d.Notify(TAVUi::IDOK, Notification::Clicked);
    }));
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_2_TYPE"), 1);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_2_BRZINA"), 0.75);
    EXPECT_FALSE(Stored<double>("DIVODORHYDRAULICS_2_PROMJER"));
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_2_ISPUNJENOST"), 0.0);
}

TEST_F(HydraulicsDialogTest, TheMinimumTypedInOneModeComesBackWhenTheModeReturns) {
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        auto& p = d.AutomaticPage();
        p.SetDlgItemText(Auto::IDC_EDIT_MINIMUM, "315");
        p.Notify(Auto::IDC_RADIO_MIN_SLOPE, Notification::Clicked);
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_MINIMUM), "0.20");
        p.Notify(Auto::IDC_RADIO_MIN_DIAMETER, Notification::Clicked);
        EXPECT_EQ(p.GetDlgItemText(Auto::IDC_EDIT_MINIMUM), "315.00");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    }));
}

TEST_F(HydraulicsDialogTest, SwitchingTabsHandsTheSameSelectionAgainAndEmptiesTheResults) {
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        auto& p = d.AutomaticPage();
        p.Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        EXPECT_EQ(p.Results().GetItemCount(), 2);
        d.ChooseTab(0);
        EXPECT_EQ(p.Results().GetItemCount(), 0);
        EXPECT_EQ(p.Sections().size(), 2u);
        EXPECT_EQ(d.IndividualPage().SectionList().size(), 2u);
        EXPECT_EQ(d.IndividualPage().CurrentIndex(), 0);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    }));
}

TEST_F(HydraulicsDialogTest, APickReplacesTheSelectionOfBothPages) {
    ui.picks.push_back({"S2"});
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) {
        d.Notify(dlg_proracun_glavni::IDC_SELECT, Notification::Clicked);
        ASSERT_EQ(d.SelectedSections().size(), 1u);
        EXPECT_EQ(d.AutomaticPage().Sections().front()->GetName(), "S2");
        EXPECT_EQ(d.IndividualPage().CurrentSection()->GetName(), "S2");
        // Nothing picked: nothing changes.
        d.Notify(dlg_proracun_glavni::IDC_SELECT, Notification::Clicked);
        EXPECT_EQ(d.SelectedSections().size(), 1u);
        EXPECT_TRUE(d.IsWindowVisible());
        d.AutomaticPage().Notify(Auto::IDC_CALCULATE, Notification::Clicked);
        EXPECT_EQ(d.AutomaticPage().Results().GetItemCount(), 1);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    }));
    ASSERT_EQ(ui.pickRequests.size(), 2u);
}

TEST_F(HydraulicsDialogTest, AnActiveSystemWithoutSectionsClosesTheDialogAtOnce) {
    auto other = TAVGis::System::CSystemManager::AddSystem("empty", 0);
    TAVGis::System::CSystemManager::SetActiveSystem(other);
    EXPECT_FALSE(Run([](dlg_proracun_glavni&) { ADD_FAILURE() << "the dialog should not run"; }));
    EXPECT_TRUE(ui.alerts.empty());
}

TEST_F(HydraulicsDialogTest, OkAndCancelRemoveEveryHighlight) {
    for (int button : {TAVUi::IDOK, TAVUi::IDCANCEL}) {
        ASSERT_TRUE(Run([button](dlg_proracun_glavni& d) {
            d.AutomaticPage().Notify(Auto::IDC_CALCULATE, Notification::Clicked);
            EXPECT_FALSE(CurrentDocument().Editor().highlighted.empty());
            d.Notify(button, Notification::Clicked);
        }));
        EXPECT_TRUE(doc->Editor().highlighted.empty()) << button;
    }
}

TEST_F(HydraulicsDialogTest, TheIndividualPageKeepsItsStoredSettings) {
    {
        CDialogState state(CDialogState::kDictionary, AcDb::kForWrite);
        state.Write("DIVODORHYDRAULICS_TYPE", 1);
        state.Write("DIVODORHYDRAULICS_PIPEGRUP", 1);
        state.Write("DIVODORHYDRAULICS_TOCNOST", 2);
        state.Write("DIVODORHYDRAULICS_VISKOZITET", 1.1e-6);
    }
    ASSERT_TRUE(Run([](dlg_proracun_glavni& d) { d.Notify(TAVUi::IDOK, Notification::Clicked); }));
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TYPE"), 1);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_PIPEGRUP"), 1);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_TOCNOST"), 2);
    EXPECT_EQ(Stored<double>("DIVODORHYDRAULICS_VISKOZITET"), 1.1e-6);
    EXPECT_EQ(Stored<int>("DIVODORHYDRAULICS_ACTIVETAB"), 1);
}

}  // namespace
