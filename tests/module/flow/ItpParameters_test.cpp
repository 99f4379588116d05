// The rain dialog's values written into the parameter set of "001_RAIN_ITP", and the return-period list.
#include "module/flow/calc/ItpParameters.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sewage/FlowCalculator.h"

namespace {

using TAVGis::Data::CDataBox;
using TAVGis::Sewage::CFlowCalculatorManager;

CDataBox Filled(const ItpDialogValues& v, const char* tag) {
    auto params = CFlowCalculatorManager::GetInstance()
                      ->GetFlowCalculator("001_RAIN_ITP")
                      ->CreateCalculationParameters();
    CItpParameters::Fill(v, *params);
    auto p = params->GetProperties().GetPropertyExByTag(tag);
    EXPECT_TRUE(p) << tag;
    return p ? p->GetHiddenValue() : CDataBox();
}

TEST(ItpParameters, EntriesByTag) {
    ItpDialogValues defaults;
    ItpDialogValues conditions;
    conditions.hydraulicConditions = 1;
    conditions.pipeFillPercent = 70.0;
    conditions.minDiameter = 250.0;
    ItpDialogValues limitsOff = conditions;  // limits switched off: their greyed-out values do not count
    limitsOff.pipeFillLimit = false;
    limitsOff.minDiameterLimit = false;
    ItpDialogValues turkish;
    turkish.rainMethod = 2;
    turkish.ignoreCarrierPipes = true;
    ItpDialogValues other;
    other.rainMethod = 7;
    other.branchingRule = 3;
    other.partialAreaEffect = true;
    other.partialAreaMode = 1;
    other.useExistingPipe = true;
    other.returnPeriodText = "5.00";
    other.ignoreCarrierPipes = true;
    other.roInteger = 3;
    other.roValues[0] = 1.25;
    ItpDialogValues reinhold;
    reinhold.rainMethod = 1;
    reinhold.branchingRule = 1;

    struct {
        const char* name;
        const ItpDialogValues& values;
        const char* tag;
        CDataBox expected;
    } const cases[] = {
        {"defaults", defaults, "RO", CDataBox("0;1.000000;0.800000;0.900000")},
        {"defaults", defaults, "RAINFALL_MODE", CDataBox(2481)},
        {"defaults", defaults, "BRANCHING_FLOW_TIME", CDataBox(11089)},
        {"defaults", defaults, "FREQUENCY", CDataBox(0.0)},
        {"defaults", defaults, "PIPE_GROUP", CDataBox(std::vector<std::string>{""})},
        // Without hydraulic conditions the edits do not count, whatever they hold.
        {"conditions 0", defaults, "PIPE_FILL", CDataBox(100.0)},
        {"conditions 0", defaults, "MINIMAL_DIAMETAR", CDataBox(0.0)},
        {"conditions 1", conditions, "PIPE_FILL", CDataBox(70.0)},
        {"conditions 1", conditions, "MINIMAL_DIAMETAR", CDataBox(250.0)},
        {"limits off", limitsOff, "PIPE_FILL", CDataBox(100.0)},
        {"limits off", limitsOff, "MINIMAL_DIAMETAR", CDataBox(0.0)},
        {"turkish", turkish, "RAINFALL_MODE", CDataBox(9455)},
        {"turkish", turkish, "IGNORE_CARRIER_PIPES", CDataBox(0)},
        {"other", other, "IGNORE_CARRIER_PIPES", CDataBox(1)},
        {"other", other, "RAINFALL_MODE", CDataBox(2481)},
        {"other", other, "BRANCHING_FLOW_TIME", CDataBox()},
        {"other", other, "PARTIAL_AREA_EFFECT", CDataBox(2)},
        {"other", other, "USE_EXISTING_PIPE", CDataBox(1)},
        {"other", other, "FREQUENCY", CDataBox(5.0)},
        {"other", other, "RO", CDataBox("3;1.250000;0.800000;0.900000")},
        {"reinhold", reinhold, "RAINFALL_MODE", CDataBox(2484)},
        {"reinhold", reinhold, "BRANCHING_FLOW_TIME", CDataBox(11088)},
    };
    for (const auto& c : cases) EXPECT_EQ(Filled(c.values, c.tag), c.expected) << c.name << " " << c.tag;
}

TEST(ItpParameters, ReturnPeriodTextsFromTheCurveFile) {
    const auto dir = std::filesystem::temp_directory_path();
    const auto good = dir / "itp_params_good.dat";
    const auto bad = dir / "itp_params_bad.dat";
    std::ofstream(good) << "#5\n5 300\n10 200\n#2\n5 200\n10 150\n#2\n5 1\n";
    std::ofstream(bad) << "#2\n5 200\n10 150\n#5\n";
    std::vector<std::string> texts{"kept"};
    TAVGis::Sewage::IdfReadError error;
    EXPECT_FALSE(CItpParameters::ReturnPeriodTexts(bad.string(), texts, error));
    EXPECT_EQ(texts, (std::vector<std::string>{"kept"}));
    EXPECT_EQ(error.line, 4u);
    ASSERT_TRUE(CItpParameters::ReturnPeriodTexts(good.string(), texts, error));
    EXPECT_EQ(texts, (std::vector<std::string>{"2.00", "5.00"}));
    std::filesystem::remove(good);
    std::filesystem::remove(bad);
}

}  // namespace
