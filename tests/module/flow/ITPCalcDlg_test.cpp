// The rain dialog by intensity curves (CITPCalcDlg) driven as a person would: the return-period list of
// curve files, what the calculator "001_RAIN_ITP" receives, the rules between the controls, the excluded
// sections' colours, the state kept per user, the Turkish stations and their dialog, and the Enter key.
#include "module/flow/ITPCalcDlg.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "module/app/SewageCalculations.h"
#include "module/flow/StandardRODlg.h"
#include "module/flow/TurkishParamsDilaog.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/TAVCDictionaryPtr.h"
#include "platform/network/PipeManager.h"
#include "platform/sessions/WsBaseDialog.h"
#include "platform/sessions/WsManager.h"
#include "platform/sewage/FlowCalculator.h"
#include "platform/sewage/IDPTurkParams.h"
#include "support/TestSupport.h"
#include "testing/TestPipeCatalogue.h"

namespace {

using TAVGis::CModuleConfiguration;
using TAVGis::Data::CDataBox;
using TAVGis::Sewage::CFlowCalculatorManager;
using TAVGis::Sewage::CFlowCalculatorParametersPtr;
using TAVGis::Sewage::IFlowCalculator;
using TAVGis::Sewage::IFlowCalculatorPtr;
using TAVGis::Workspace::CWsBaseDialog;
using TAVUi::CAdUiBaseDialog;
using TAVUi::Notification;
using D = CITPCalcDlg;

// Stands in for "001_RAIN_ITP" and records what it is handed; its parameter set is the real one's.
class RecordingCalculator : public IFlowCalculator {
public:
    explicit RecordingCalculator(IFlowCalculatorPtr real) : IFlowCalculator("001_RAIN_ITP"), m_real(real) {}
    void GetDisplayName(std::string& text) const override { text = "recording"; }
    void GetGroupName(std::string& text) const override { text = "recording"; }
    std::vector<std::string> GetWrittenAttributes() const override { return {}; }
    int RunCalculation(const TAVGis::Sewage::SectionList& sections,
                       const CFlowCalculatorParametersPtr& params, bool tag, bool silent,
                       TAVGis::Sewage::IDialogToHide* dialog) override {
        runs.push_back({sections, params, tag, silent, dialog});
        return result;
    }
    struct Run {
        TAVGis::Sewage::SectionList sections;
        CFlowCalculatorParametersPtr params;
        bool tag, silent;
        TAVGis::Sewage::IDialogToHide* dialog;
        CDataBox Value(const char* tag) const {
            auto p = params->GetProperties().GetPropertyExByTag(tag);
            EXPECT_TRUE(p) << tag;
            return p ? p->GetHiddenValue() : CDataBox();
        }
    };
    std::vector<Run> runs;
    int result = 1;

protected:
    void FillDefaults(TAVGis::Data::CPropertiesEx& properties) const override {
        const auto defaults = m_real->CreateCalculationParameters();
        for (const auto& p : defaults->GetProperties().Items())
            properties.Add(p->GetTag(), p->GetName(), p->GetHiddenValue());
    }

private:
    IFlowCalculatorPtr m_real;
};

class ITPCalcDlgTest : public testsupport::DrawingTest {
protected:
    void SetUp() override {
        DrawingTest::SetUp();
        s1 = Section("S1", "A", "C");
        s2 = Section("S2", "B", "C");
        s3 = Section("S3", "C", "D");
        auto area = Topo().AddCatchmentArea("S3_A", system);
        area->kind = 1;
        area->areaHa = 2.0;
        area->runoffCoefficient = 0.5;
        Topo().LinkCatchment(area, s3->GetGuid());
        testpipes::LoadPipeCatalogue(testpipes::ReadPipeSeries());
        TAVGis::Workspace::CWsManager::ClearMessages();
    }
    void TearDown() override {
        if (m_real) CFlowCalculatorManager::GetInstance()->Register(m_real);
        for (const auto& p : m_files) std::filesystem::remove(p);
        DrawingTest::TearDown();
    }
    // Puts a recording calculator in the registry in place of the real one for the test.
    RecordingCalculator& Recording() {
        if (!m_fake) {
            m_real = CFlowCalculatorManager::GetInstance()->GetFlowCalculator("001_RAIN_ITP");
            m_fake = boost::shared_ptr<RecordingCalculator>(new RecordingCalculator(m_real));
            CFlowCalculatorManager::GetInstance()->Register(m_fake);
        }
        return *m_fake;
    }
    void Open(std::function<void(D&)> driver) {
        ui.drivers.push_back([driver](CAdUiBaseDialog& d) { driver(dynamic_cast<D&>(d)); });
        CSewageCalculations::CalcRainITP();
        ASSERT_TRUE(ui.drivers.empty());
    }
    std::string File(const std::string& text) {
        const auto path =
            std::filesystem::temp_directory_path() /
            ("itp_dlg_" + std::to_string(::getpid()) + "_" + std::to_string(m_files.size()) + ".dat");
        std::ofstream(path, std::ios::binary) << text;
        m_files.push_back(path);
        return path.string();
    }
    static std::vector<std::string> Items(D& d, int id) {
        std::vector<std::string> out;
        for (const auto& i : d.Item(id).items) out.push_back(i.text);
        return out;
    }
    static std::string Shown(D& d, int id) {
        const auto& c = d.Item(id);
        return c.curSel >= 0 && c.curSel < static_cast<int>(c.items.size()) ? c.items[c.curSel].text : "";
    }
    int Colour(const TAVGis::Topology::CSectionPtr& s) {
        CTAVCEntityPtr e(s->GetObjectId(), AcDb::kForRead);
        return e.entity()->colorIndex;
    }
    void SetColour(const TAVGis::Topology::CSectionPtr& s, int index) {
        CTAVCEntityPtr e(s->GetObjectId(), AcDb::kForWrite);
        e.entity()->colorIndex = index;
    }
    static CDataBox Stored(const char* key) {
        return CWsBaseDialog::GetStateValue(CITPCalcDlg::kStateDialog, key, CDataBox());
    }

    TAVGis::Topology::CSectionPtr s1, s2, s3;

private:
    IFlowCalculatorPtr m_real;
    boost::shared_ptr<RecordingCalculator> m_fake;
    std::vector<std::filesystem::path> m_files;
};

// The curve-file cases through the dialog's list: each browse either refills the list ("%.2f", ascending,
// the first selected) or, when the file is refused, leaves it as it was (no message).
TEST_F(ITPCalcDlgTest, ReturnPeriodListFollowsTheCurveFileRules) {
    struct {
        const char* what;
        std::string text;
        std::vector<std::string> listed;
    } const cases[] = {
        {"two curves of two points", "#5\n5 250\n10 190\n#2\n5 200\n10 150\n", {"2.00", "5.00"}},
        {"the last curve without points", "#2\n5 200\n#5\n", {"2.00", "5.00"}},
        {"a point of three numbers; one period twice", "* c\n#10\n5 100 7\n5 120\n#10\n5 999\n", {"10.00"}},
        {"points before any '#'", "5 80\n#1\n5 90\n", {"0.00", "1.00"}},
    };
    std::string lastPath;
    Open([&](D& d) {
        for (const auto& c : cases) {
            lastPath = File(c.text);
            ui.files.push_back(lastPath);
            d.Notify(D::IDC_BUTTON_BROWSE, Notification::Clicked);
            EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_PATH), lastPath) << c.what;
            EXPECT_EQ(Items(d, D::IDC_COMBO_RETURN_PERIOD), c.listed) << c.what;
            EXPECT_EQ(d.Item(D::IDC_COMBO_RETURN_PERIOD).curSel, 0) << c.what;
        }
        EXPECT_TRUE(ui.alerts.empty());
        // The real calculator on the third file: its one curve holds the first curve's point (120), not
        // the three-number line (100) nor the second curve of the same period (999). No section has a pipe,
        // so every intensity is 120 whatever the duration.
        ui.files.push_back(File(cases[2].text));
        d.Notify(D::IDC_BUTTON_BROWSE, Notification::Clicked);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_FALSE(d.IsEnded());  // Calculate keeps the dialog open
        d.OnCancel();
    });
    EXPECT_NEAR(*Get("S3", "FLOW_IDF_INTENSITY"), 120.0, 1e-12);
    EXPECT_NEAR(*Get("S3", "FLOW_RAIN_IDF"), 1.0 * 120.0 / 1000.0, 1e-12);  // 2 ha x 0.5
    EXPECT_EQ(TAVGis::Workspace::CWsManager::Messages().back(), CModuleConfiguration::GetMsg(11211));
}

TEST_F(ITPCalcDlgTest, CalculateHandsTheValuesToTheCalculatorByTag) {
    auto& calc = Recording();
    Open([&](D& d) {
        EXPECT_EQ(d.GetWindowText(), CModuleConfiguration::GetMsg(7652));
        // Without hydraulic conditions the fill and diameter fields do not count, whatever they hold.
        d.SetDlgItemText(D::IDC_EDIT_PIPE_FILL, "70");
        d.SetDlgItemText(D::IDC_EDIT_MIN_DIAMETER, "250");
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        // By conditions with both limits on; then Turkish, which clears ignore-carrier-pipes.
        d.Notify(D::IDC_RADIO_CONDITIONS, Notification::Clicked);
        d.Notify(D::IDC_CHECK_PIPE_FILL, Notification::Clicked);
        d.Notify(D::IDC_CHECK_MIN_DIAMETER, Notification::Clicked);
        d.Notify(D::IDC_CHECK_IGNORE_CARRIER, Notification::Clicked);
        d.Notify(D::IDC_RADIO_SHORTER, Notification::Clicked);
        // The groups are listed by name, the first chosen at first.
        EXPECT_EQ(Items(d, D::IDC_COMBO_PIPE_GROUP),
                  (std::vector<std::string>{"Concrete EN 1916", "PVC-U SN4 EN 1401", "PVC-U SN8 EN 1401",
                                            "Vitrified clay EN 295"}));
        d.Item(D::IDC_COMBO_PIPE_GROUP).SetCurSel(1);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_IGNORE_CARRIER), 1);
        d.Notify(D::IDC_RADIO_TURKISH, Notification::Clicked);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_IGNORE_CARRIER), 0);
        EXPECT_FALSE(d.Item(D::IDC_CHECK_IGNORE_CARRIER).enabled);
        // The Romanian standard: its button only with "RO"; the sub-dialog's values replace the defaults.
        EXPECT_FALSE(d.Item(D::IDC_BUTTON_RO).enabled);
        d.Item(D::IDC_COMBO_STANDARD).SetCurSel(2);
        d.Notify(D::IDC_COMBO_STANDARD, Notification::SelChange);
        EXPECT_TRUE(d.Item(D::IDC_BUTTON_RO).enabled);
        ui.drivers.push_back([](CAdUiBaseDialog& ro) {
            ro.Notify(CStandardRODlg::IDC_RADIO_OTHER, Notification::Clicked);
            ro.SetDlgItemText(CStandardRODlg::IDC_EDIT_SENSITIVE, "0.9");
            ro.SetDlgItemText(CStandardRODlg::IDC_EDIT_SHORT, "0.7");
            ro.SetDlgItemText(CStandardRODlg::IDC_EDIT_LONG, "0.85");
            ro.Notify(TAVUi::IDOK, Notification::Clicked);
        });
        d.Notify(D::IDC_BUTTON_RO, Notification::Clicked);
        calc.result = 0;
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        ASSERT_EQ(calc.runs.size(), 3u);
        for (const auto& run : calc.runs) {
            EXPECT_EQ(run.sections, d.Sections());
            EXPECT_TRUE(run.tag);
            EXPECT_FALSE(run.silent);
            EXPECT_EQ(run.dialog, static_cast<TAVGis::Sewage::IDialogToHide*>(&d));
        }
        d.OnCancel();
    });
    ASSERT_EQ(calc.runs.size(), 3u);
    const auto& plain = calc.runs[0];
    const auto& conditions = calc.runs[1];
    const auto& turkish = calc.runs[2];
    std::string concreteGuid, pvcGuid;
    std::vector<TAVGis::Data::CCatalogItemPtr> groups;
    TAVGis::Data::CPipeManager::GetInstance()->GetPipeGroups(groups, 1);
    for (const auto& g : groups) {
        if (g->GetName() == "Concrete EN 1916") concreteGuid = g->GetGUID();
        if (g->GetName() == "PVC-U SN4 EN 1401") pvcGuid = g->GetGUID();
    }
    ASSERT_FALSE(concreteGuid.empty());
    ASSERT_FALSE(pvcGuid.empty());
    struct {
        const char* what;
        const RecordingCalculator::Run& run;
        const char* tag;
        CDataBox expected;
    } const cases[] = {
        {"plain", plain, "RAINFALL_MODE", CDataBox(2481)},
        {"plain", plain, "PIPE_FILL", CDataBox(100.0)},
        {"plain", plain, "MINIMAL_DIAMETAR", CDataBox(0.0)},
        {"plain", plain, "RO", CDataBox("0;1.000000;0.800000;0.900000")},
        {"plain", plain, "BRANCHING_FLOW_TIME", CDataBox(11089)},
        {"plain", plain, "STORM_CAD", CDataBox(11090)},
        {"plain", plain, "CALC_STANDARD", CDataBox(0)},
        {"plain", plain, "FREQUENCY", CDataBox(0.0)},
        {"plain", plain, "PRECISION", CDataBox(0.5)},
        {"plain", plain, "WATER_VISCOSITY", CDataBox(1.31e-6)},
        {"plain", plain, "RAIN_INTESITY", CDataBox(100.0)},
        {"plain", plain, "PIPE_GROUP", CDataBox(std::vector<std::string>{concreteGuid})},
        {"conditions", conditions, "PIPE_FILL", CDataBox(70.0)},
        {"conditions", conditions, "MINIMAL_DIAMETAR", CDataBox(250.0)},
        {"conditions", conditions, "IGNORE_CARRIER_PIPES", CDataBox(1)},
        {"conditions", conditions, "BRANCHING_FLOW_TIME", CDataBox(11088)},
        {"conditions", conditions, "PIPE_GROUP", CDataBox(std::vector<std::string>{pvcGuid})},
        {"turkish", turkish, "RAINFALL_MODE", CDataBox(9455)},
        {"turkish", turkish, "IGNORE_CARRIER_PIPES", CDataBox(0)},
        {"turkish", turkish, "CALC_STANDARD", CDataBox(2)},
        {"turkish", turkish, "RO", CDataBox("1;0.900000;0.700000;0.850000")},
    };
    for (const auto& c : cases) EXPECT_EQ(c.run.Value(c.tag), c.expected) << c.what << " " << c.tag;
    // Two runs succeeded and were logged; the third returned 0 and was not.
    const auto& log = TAVGis::Workspace::CWsManager::Messages();
    EXPECT_EQ(std::count(log.begin(), log.end(), CModuleConfiguration::GetMsg(11211)), 2);
}

TEST_F(ITPCalcDlgTest, RulesEnableTheControlsOfTheChosenMethodAndConditions) {
    Open([&](D& d) {
        auto enabled = [&d](std::initializer_list<int> ids) {
            std::string s;
            for (int id : ids) s += d.Item(id).enabled ? "1" : "0";
            return s;
        };
        const auto curves = {D::IDC_STATIC_CURVE_FILE, D::IDC_EDIT_PATH, D::IDC_BUTTON_BROWSE,
                             D::IDC_COMBO_RETURN_PERIOD, D::IDC_STATIC_RETURN_PERIOD};
        const auto reinhold = {D::IDC_STATIC_INTENSITY15, D::IDC_EDIT_INTENSITY15, D::IDC_STATIC_FREQUENCY,
                               D::IDC_EDIT_FREQUENCY};
        const auto turkish = {D::IDC_STATIC_STATION, D::IDC_COMBO_STATION, D::IDC_BUTTON_STATIONS};
        const auto checks = {D::IDC_CHECK_PARTIAL_AREA, D::IDC_CHECK_IGNORE_CARRIER};
        struct {
            int radio;
            const char *curves, *reinhold, *turkish, *checks;
        } const methods[] = {{D::IDC_RADIO_CURVES, "11111", "0000", "000", "11"},
                             {D::IDC_RADIO_REINHOLD, "00000", "1111", "000", "11"},
                             // the station's return periods are chosen in the period list
                             {D::IDC_RADIO_TURKISH, "00011", "0000", "111", "00"},
                             {D::IDC_RADIO_CURVES, "11111", "0000", "000", "11"}};
        for (const auto& m : methods) {
            d.Notify(m.radio, Notification::Clicked);
            EXPECT_EQ(enabled(curves), m.curves) << m.radio;
            EXPECT_EQ(enabled(reinhold), m.reinhold) << m.radio;
            EXPECT_EQ(enabled(turkish), m.turkish) << m.radio;
            EXPECT_EQ(enabled(checks), m.checks) << m.radio;
        }
        const auto limits = {D::IDC_CHECK_PIPE_FILL, D::IDC_CHECK_MIN_DIAMETER, D::IDC_EDIT_PIPE_FILL,
                             D::IDC_EDIT_MIN_DIAMETER};
        EXPECT_EQ(enabled(limits), "0000");
        d.Notify(D::IDC_RADIO_CONDITIONS, Notification::Clicked);
        EXPECT_EQ(enabled(limits), "1100");
        d.Notify(D::IDC_CHECK_MIN_DIAMETER, Notification::Clicked);
        EXPECT_EQ(enabled(limits), "1101");
        d.Notify(D::IDC_CHECK_PIPE_FILL, Notification::Clicked);
        EXPECT_EQ(enabled(limits), "1111");
        d.Notify(D::IDC_RADIO_NO_CONDITIONS, Notification::Clicked);
        EXPECT_EQ(enabled(limits), "0000");
        // The mode lists follow their checks.
        EXPECT_FALSE(d.Item(D::IDC_COMBO_PARTIAL_AREA).enabled);
        d.Notify(D::IDC_CHECK_PARTIAL_AREA, Notification::Clicked);
        EXPECT_TRUE(d.Item(D::IDC_COMBO_PARTIAL_AREA).enabled);
        d.Notify(D::IDC_CHECK_EXISTING_PIPE, Notification::Clicked);
        EXPECT_TRUE(d.Item(D::IDC_COMBO_EXISTING_PIPE).enabled);
        // Enter moves the focus to the next control that takes it and never closes the dialog.
        d.Item(D::IDC_EDIT_PRECISION).focused = true;
        d.SetLastKey("enter");
        d.Notify(D::IDC_EDIT_PRECISION, Notification::KeyDown);
        EXPECT_FALSE(d.IsEnded());
        EXPECT_FALSE(d.Item(D::IDC_EDIT_PRECISION).focused);
        EXPECT_TRUE(d.Item(D::IDC_EDIT_VISCOSITY).focused);  // the label between them takes no focus
        d.Notify(D::IDC_EDIT_VISCOSITY, Notification::KeyDown);
        EXPECT_TRUE(d.Item(D::IDC_COMBO_PIPE_GROUP).focused);
        d.OnCancel();
    });
}

TEST_F(ITPCalcDlgTest, ExcludedSectionsAreColouredAndGetTheirColourBackOnClose) {
    auto& calc = Recording();
    SetColour(s1, 3);
    SetColour(s3, 5);  // S2 stays "by layer" (256)
    Open([&](D& d) {
        EXPECT_EQ(d.Item(D::IDC_BUTTON_CLEAR).icon, "IDI_DELETE");
        EXPECT_EQ(d.Item(D::IDC_BUTTON_CLEAR).tooltip, CModuleConfiguration::GetMsg(11094));
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_EXCLUDED), CModuleConfiguration::GetMsg(11096) + " 0");
        ui.picks.push_back({"S3", "S2"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_EXCLUDED), CModuleConfiguration::GetMsg(11096) + " 2");
        EXPECT_EQ(Colour(s1), 3);
        EXPECT_EQ(Colour(s2), 251);
        EXPECT_EQ(Colour(s3), 251);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        ASSERT_EQ(calc.runs.size(), 1u);
        EXPECT_EQ(calc.runs[0].sections, TAVGis::Sewage::SectionList{s1});
        // A new pick replaces the set; the sections left out before get their colour back.
        ui.picks.push_back({"S1"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        EXPECT_EQ(Colour(s1), 251);
        EXPECT_EQ(Colour(s2), 256);
        EXPECT_EQ(Colour(s3), 5);
        d.Notify(D::IDC_BUTTON_CLEAR, Notification::Clicked);
        EXPECT_EQ(d.GetDlgItemText(D::IDC_STATIC_EXCLUDED), CModuleConfiguration::GetMsg(11096) + " 0");
        EXPECT_EQ(Colour(s1), 3);
        ui.picks.push_back({"S1", "S2"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);  // Close
        EXPECT_TRUE(d.IsEnded());
    });
    EXPECT_EQ(Colour(s1), 3);
    EXPECT_EQ(Colour(s2), 256);
    EXPECT_EQ(Colour(s3), 5);
    // A dialog that ends another way (an error leaving the command) gives the colours back too.
    {
        testsupport::ModuleResources resources;
        D d;
        ASSERT_TRUE(d.Create(nullptr));
        ui.picks.push_back({"S3"});
        d.Notify(D::IDC_BUTTON_SELECT, Notification::Clicked);
        EXPECT_EQ(Colour(s3), 251);
    }
    EXPECT_EQ(Colour(s3), 5);
}

TEST_F(ITPCalcDlgTest, ChoicesAreKeptPerUserAndTypedNumbersStartAtTheirDefaults) {
    const std::string path = File("#2\n5 200\n#5\n5 250\n");
    Open([&](D& d) {
        d.SetDlgItemText(D::IDC_EDIT_PATH, path);
        d.Notify(D::IDC_RADIO_REINHOLD, Notification::Clicked);
        d.Notify(D::IDC_RADIO_SHORTER, Notification::Clicked);
        d.Notify(D::IDC_RADIO_CONDITIONS, Notification::Clicked);
        d.Notify(D::IDC_CHECK_MIN_DIAMETER, Notification::Clicked);
        d.Notify(D::IDC_CHECK_PARTIAL_AREA, Notification::Clicked);
        d.Item(D::IDC_COMBO_PARTIAL_AREA).SetCurSel(1);
        d.Notify(D::IDC_CHECK_EXISTING_PIPE, Notification::Clicked);
        d.Notify(D::IDC_CHECK_ASSIGN_PIPES, Notification::Clicked);
        d.Notify(D::IDC_CHECK_IGNORE_CARRIER, Notification::Clicked);
        d.Item(D::IDC_COMBO_PIPE_GROUP)
            .SetCurSel(d.Item(D::IDC_COMBO_PIPE_GROUP).FindStringExact("Vitrified clay EN 295"));
        d.SetDlgItemText(D::IDC_EDIT_INTENSITY15, "150");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    struct {
        const char* key;
        CDataBox value;
    } const stored[] = {{"IPTCALC_PIPE_GROUP", CDataBox("Vitrified clay EN 295")},
                        {"IPTCALC_PATH", CDataBox(path)},
                        {"IPTCALC_RADIO_CURVE", CDataBox(1)},
                        {"IPTCALC_RADIO_TT", CDataBox(1)},
                        {"IPTCALC_RADIO_CD", CDataBox(1)},
                        {"IPTCALC_RADIO_MD", CDataBox(1)},
                        {"IPTCALC_RADIO_OP", CDataBox(2)},  // on, mode index 1
                        {"IPTCALC_RADIO_PF", CDataBox(0)},
                        {"IPTCALC_RADIO_SP", CDataBox(1)},
                        {"IPTCALC_RADIO_ICP", CDataBox(1)},
                        {"IPTCALC_RADIO_EP", CDataBox(1)},  // on, mode index 0
                        {"IPTCALC_TURK_STATION", CDataBox(std::string())}};
    for (const auto& s : stored) EXPECT_EQ(Stored(s.key), s.value) << s.key;
    Open([&](D& d) {
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_PATH), path);
        EXPECT_EQ(Items(d, D::IDC_COMBO_RETURN_PERIOD), (std::vector<std::string>{"2.00", "5.00"}));
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_RADIO_REINHOLD), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_RADIO_SHORTER), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_RADIO_CONDITIONS), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_MIN_DIAMETER), 1);
        EXPECT_TRUE(d.Item(D::IDC_EDIT_MIN_DIAMETER).enabled);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_PIPE_FILL), 0);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_PARTIAL_AREA), 1);
        EXPECT_EQ(d.Item(D::IDC_COMBO_PARTIAL_AREA).curSel, 1);
        EXPECT_TRUE(d.Item(D::IDC_COMBO_PARTIAL_AREA).enabled);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_EXISTING_PIPE), 1);
        EXPECT_EQ(d.Item(D::IDC_COMBO_EXISTING_PIPE).curSel, 0);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_ASSIGN_PIPES), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_CHECK_IGNORE_CARRIER), 1);
        EXPECT_EQ(Shown(d, D::IDC_COMBO_PIPE_GROUP), "Vitrified clay EN 295");
        EXPECT_EQ(d.GetDlgItemText(D::IDC_EDIT_INTENSITY15), "100");  // not stored
        d.OnCancel();
    });
    // A stored choice out of its range counts as the default.
    CWsBaseDialog::SetStateValue(CITPCalcDlg::kStateDialog, "IPTCALC_RADIO_CURVE", CDataBox(7));
    Open([&](D& d) {
        EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_RADIO_CURVES), 1);
        d.OnCancel();
    });
}

TEST_F(ITPCalcDlgTest, TurkishStationsTheirReturnPeriodsAndTheStationDialog) {
    {
        TAVGis::Sewage::CIDPTurkParams stations;
        stations.AddStation("Bursa");
        stations.AddStation("Ankara");
        stations.SetPoint("Bursa", 2, 5, 180);
        stations.SetPoint("Bursa", 10, 5, 260);
        stations.SetPoint("Ankara", 5, 5, 300);
        std::string error;
        ASSERT_TRUE(stations.Save(error)) << error;
    }
    CWsBaseDialog::SetStateValue(CITPCalcDlg::kStateDialog, "IPTCALC_TURK_STATION", CDataBox("Bursa"));
    CWsBaseDialog::SetStateValue(CITPCalcDlg::kStateDialog, "IPTCALC_RADIO_CURVE", CDataBox(2));
    auto& calc = Recording();
    Open([&](D& d) {
        EXPECT_EQ(Items(d, D::IDC_COMBO_STATION), (std::vector<std::string>{"Ankara", "Bursa"}));
        EXPECT_EQ(Shown(d, D::IDC_COMBO_STATION), "Bursa");
        EXPECT_EQ(Items(d, D::IDC_COMBO_RETURN_PERIOD), (std::vector<std::string>{"2.00", "10.00"}));
        d.Item(D::IDC_COMBO_RETURN_PERIOD).SetCurSel(1);
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        d.Item(D::IDC_COMBO_STATION).SetCurSel(0);
        d.Notify(D::IDC_COMBO_STATION, Notification::SelChange);
        EXPECT_EQ(Items(d, D::IDC_COMBO_RETURN_PERIOD), std::vector<std::string>{"5.00"});
        d.Notify(TAVUi::IDOK, Notification::Clicked);
        // The station dialog: a new station with one point, chosen on OK.
        ui.drivers.push_back([](CAdUiBaseDialog& s) {
            using T = CTurkishParamsDilaog;
            s.SetDlgItemText(T::IDC_EDIT_NAME, "Van");
            s.Notify(T::IDC_BUTTON_ADD, Notification::Clicked);
            s.SetDlgItemText(T::IDC_EDIT_PERIOD, "25");
            s.SetDlgItemText(T::IDC_EDIT_DURATION, "10");
            s.SetDlgItemText(T::IDC_EDIT_INTENSITY, "321.5");
            s.Notify(T::IDC_BUTTON_SET_POINT, Notification::Clicked);
            EXPECT_EQ(s.Item(T::IDC_LIST_TABLE).GetItemText(0, 2), "321.5000");
            s.SetDlgItemText(T::IDC_EDIT_NAME, "ANKARA");  // taken, ignoring case: refused with its reason
            s.Notify(T::IDC_BUTTON_RENAME, Notification::Clicked);
            s.Notify(TAVUi::IDOK, Notification::Clicked);
        });
        d.Notify(D::IDC_BUTTON_STATIONS, Notification::Clicked);
        EXPECT_EQ(ui.alerts, std::vector<std::string>{CModuleConfiguration::GetMsg(14302)});
        EXPECT_EQ(Items(d, D::IDC_COMBO_STATION), (std::vector<std::string>{"Ankara", "Bursa", "Van"}));
        EXPECT_EQ(Shown(d, D::IDC_COMBO_STATION), "Van");
        EXPECT_EQ(Items(d, D::IDC_COMBO_RETURN_PERIOD), std::vector<std::string>{"25.00"});
        // Cancel in the station dialog keeps the store and the value as they were.
        ui.drivers.push_back([](CAdUiBaseDialog& s) {
            s.SetDlgItemText(CTurkishParamsDilaog::IDC_EDIT_NAME, "Izmir");
            s.Notify(CTurkishParamsDilaog::IDC_BUTTON_ADD, Notification::Clicked);
            s.Notify(TAVUi::IDCANCEL, Notification::Clicked);
        });
        d.Notify(D::IDC_BUTTON_STATIONS, Notification::Clicked);
        EXPECT_EQ(Items(d, D::IDC_COMBO_STATION), (std::vector<std::string>{"Ankara", "Bursa", "Van"}));
        EXPECT_EQ(Shown(d, D::IDC_COMBO_STATION), "Van");
        d.Notify(TAVUi::IDCANCEL, Notification::Clicked);
    });
    ASSERT_EQ(calc.runs.size(), 2u);
    EXPECT_EQ(calc.runs[0].Value("TURKISH"), CDataBox("Bursa"));
    EXPECT_EQ(calc.runs[0].Value("FREQUENCY"), CDataBox(10.0));
    EXPECT_EQ(calc.runs[1].Value("TURKISH"), CDataBox("Ankara"));
    EXPECT_EQ(calc.runs[1].Value("FREQUENCY"), CDataBox(5.0));
    EXPECT_EQ(Stored("IPTCALC_TURK_STATION"), CDataBox("Van"));
    TAVGis::Sewage::CIDPTurkParams reread;
    std::string error;
    ASSERT_TRUE(reread.Load(error)) << error;
    EXPECT_EQ(reread.Names(), (std::vector<std::string>{"Ankara", "Bursa", "Van"}));
    EXPECT_EQ(reread.Find("Van")->table.curves.at(0).points,
              (std::vector<std::pair<double, double>>{{10.0, 321.5}}));
}

}  // namespace
