// The command frame: the system test, the lock, the resource handle, one modal dialog, and the module's
// registration of its own command.
#include <gtest/gtest.h>

#include <stdexcept>

#include "module/app/ModuleResources.h"
#include "module/app/RoreduVododezidevi2App.h"
#include "module/app/SewageCalculations.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/host/CommandStack.h"
#include "platform/ui/DialogTemplate.h"
#include "support/TestSupport.h"

namespace {

struct ExportedCommand {
    const char* name;
    void (*function)();
    int templateId;  // 0: no dialog
};

const ExportedCommand kExported[] = {
    {"RunFlowCalcManager", &CSewageCalculations::RunFlowCalcManager, 348},
    {"CalcFlowTotal", &CSewageCalculations::CalcFlowTotal, 222},
    {"CalcWasteWaterPercent", &CSewageCalculations::CalcWasteWaterPercent, 209},
    {"CalcWasteWaterArea", &CSewageCalculations::CalcWasteWaterArea, 217},
    {"CalcWasteWaterTurkish", &CSewageCalculations::CalcWasteWaterTurkish, 337},
    {"CalcWasteWaterTurkishISKI", &CSewageCalculations::CalcWasteWaterTurkishISKI, 350},
    {"CalcWasteWaterUneven", &CSewageCalculations::CalcWasteWaterUneven, 336},
    {"CalcInfluenceAreasTurkish", &CSewageCalculations::CalcInfluenceAreasTurkish, 342},
    {"CalcRainITP", &CSewageCalculations::CalcRainITP, 225},
    {"CalcRainSimple", &CSewageCalculations::CalcRainSimple, 218},
    {"CalcFlowAdditional", &CSewageCalculations::CalcFlowAdditional, 219},
    {"InputSewageData", &CSewageCalculations::InputSewageData, 226},
    {"CalcHydraulicsSewage", &CSewageCalculations::CalcHydraulicsSewage, 205},
    {"WriteHydraulicsToFile", &CSewageCalculations::WriteHydraulicsToFile, 200},
    {"CalcHydraulicsSewage_Calculator", &CSewageCalculations::CalcHydraulicsSewage_Calculator, 202},
};

class CommandFrameTest : public testsupport::DrawingTest {};

TEST_F(CommandFrameTest, CommandsNeedAnActiveSewageSystem) {
    const std::string msg3449 = TAVGis::CModuleConfiguration::GetMsg(3449);
    struct Case {
        const char* what;
        int function;  // -1: no active system
    };
    for (const Case c : {Case{"no active system", -1}, Case{"water system", 1}, Case{"gas system", 7}}) {
        if (c.function < 0) {
            TAVGis::System::CSystemManager::SetActiveSystem({});
        } else {
            auto other = TAVGis::System::CSystemManager::AddSystem(
                std::string("other") + std::to_string(c.function), c.function);
            TAVGis::System::CSystemManager::SetActiveSystem(other);
        }
        for (const auto& cmd : kExported) {
            ui.alerts.clear();
            ui.modalRuns = 0;
            cmd.function();
            EXPECT_EQ(ui.alerts, std::vector<std::string>{msg3449}) << c.what << ": " << cmd.name;
            EXPECT_EQ(ui.modalRuns, 0) << c.what << ": " << cmd.name;
            EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);
            EXPECT_EQ(doc->LockCount(), 0);
        }
        ui.alerts.clear();
        CSewageCalculations::InputPipeRoughness();
        EXPECT_EQ(ui.alerts, std::vector<std::string>{msg3449}) << c.what;
    }
}

TEST_F(CommandFrameTest, EachCommandOpensItsDialogInsideTheFrame) {
    for (const auto& cmd : kExported) {
        ui.modalTemplates.clear();
        ui.alerts.clear();
        std::size_t depthSeen = 0;
        int lockSeen = 0;
        HINSTANCE handleSeen = nullptr;
        ui.drivers.push_back([&](TAVUi::CAdUiBaseDialog& dlg) {
            depthSeen = acDocManagerPtr()->ResourceStackDepth();
            lockSeen = doc->LockCount();
            handleSeen = acDocManagerPtr()->curResourceHandle();
            dlg.OnCancel();
        });
        cmd.function();
        ui.drivers.clear();
        if (ui.modalTemplates.empty()) {
            // A dialog may close itself at start (an empty network); it still ran inside the frame.
            EXPECT_TRUE(ui.alerts.empty()) << cmd.name;
            continue;
        }
        EXPECT_EQ(ui.modalTemplates.front(), cmd.templateId) << cmd.name;
        EXPECT_EQ(depthSeen, 1u) << cmd.name;
        EXPECT_EQ(lockSeen, 1) << cmd.name;
        EXPECT_EQ(handleSeen, TavxModuleInstance()) << cmd.name;
        EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u) << cmd.name;
        EXPECT_EQ(doc->LockCount(), 0) << cmd.name;
    }
}

TEST_F(CommandFrameTest, InputPipeRoughnessOnlyAlerts) {
    CSewageCalculations::InputPipeRoughness();
    EXPECT_EQ(ui.alerts, std::vector<std::string>{"hrapavost"});
    EXPECT_EQ(ui.modalRuns, 0);
    EXPECT_EQ(doc->LockCount(), 0);
    EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);
}

TEST_F(CommandFrameTest, ADialogThatThrowsLeavesTheFrameAsItWas) {
    for (const auto& cmd : kExported) {
        ui.drivers.push_back([](TAVUi::CAdUiBaseDialog&) { throw std::runtime_error("handler failed"); });
        int modalBefore = ui.modalRuns;
        try {
            cmd.function();
        } catch (const std::runtime_error&) {
        }
        ui.drivers.clear();
        if (ui.modalRuns == modalBefore) continue;  // closed itself before running
        EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u) << cmd.name;
        EXPECT_EQ(doc->LockCount(), 0) << cmd.name;
    }
}

TEST_F(CommandFrameTest, RegisteredCommandLivesFromInitialiseToUnload) {
    AppPacket packet{"TAVXSewageCalculations"};
    auto* stack = acedRegCmds();
    ASSERT_EQ(stack->lookupGlobalCmd("fman"), nullptr);
    ASSERT_EQ(acrxEntryPoint(AcRx::kInitAppMsg, &packet), AcRx::kRetOK);
    EXPECT_TRUE(packet.unlocked);
    EXPECT_TRUE(packet.mdiAware);
    const auto* entry = stack->lookupGlobalCmd("fman");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->group, "TAVXSewageCalculations");
    EXPECT_EQ(entry->localName, "fman");
    EXPECT_EQ(entry->flags, TAVHost::kCmdTransparent);
    EXPECT_EQ(entry->functionCode, -1);
    EXPECT_EQ(entry->resource, TavxModuleInstance());

    // fman runs without a system test and without a lock.
    TAVGis::System::CSystemManager::SetActiveSystem({});
    int lockSeen = -1;
    ui.drivers.push_back([&](TAVUi::CAdUiBaseDialog& dlg) {
        lockSeen = doc->LockCount();
        dlg.OnCancel();
    });
    entry->function();
    EXPECT_TRUE(ui.alerts.empty());
    ASSERT_EQ(ui.modalTemplates, std::vector<int>{348});
    EXPECT_EQ(lockSeen, 0);
    EXPECT_EQ(acDocManagerPtr()->ResourceStackDepth(), 0u);

    // Messages without work answer success; unknown codes too.
    for (int code : {3, 4, 5, 14, 99})
        EXPECT_EQ(acrxEntryPoint(static_cast<AcRx::AppMsgCode>(code), &packet), AcRx::kRetOK) << code;

    ASSERT_EQ(acrxEntryPoint(AcRx::kUnloadAppMsg, &packet), AcRx::kRetOK);
    EXPECT_EQ(stack->lookupGlobalCmd("fman"), nullptr);
}

TEST(ModuleResourcesTest, StringTableAndTemplatesAreShipped) {
    EXPECT_EQ(TavxModuleString(100), "RoreduVododezidevi2");
    for (const auto& cmd : kExported)
        EXPECT_NE(TAVUi::FindDialogTemplate(TavxModuleInstance(), cmd.templateId), nullptr) << cmd.name;
}

}  // namespace
