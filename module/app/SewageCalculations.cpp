#include "module/app/SewageCalculations.h"

#include "module/app/CommandFrame.h"
#include "module/flow/DlgFlowWasteTURIski.h"
#include "module/flow/DlgFlowWasteUneven.h"
#include "module/flow/DlgInfAreaTurkMain.h"
#include "module/flow/FlowAdditionalDlg.h"
#include "module/flow/FlowCalcDlg.h"
#include "module/flow/FlowCalcMainDlg.h"
#include "module/flow/FlowCalcRainSimpleDlg.h"
#include "module/flow/FlowCalcWasteDlg.h"
#include "module/flow/FlowCalcWasteTurkDlg.h"
#include "module/flow/FlowInputDataDlg.h"
#include "module/flow/ITPCalcDlg.h"
#include "module/hydraulics/dlg_atvFile.h"
#include "module/hydraulics/dlg_calculatorAll.h"
#include "module/hydraulics/dlg_proracun_glavni.h"
#include "module/manager/DlgFlowCalculationsManager.h"
#include "platform/host/Editor.h"

void CSewageCalculations::RunFlowCalcManager() {
    RunCommandDialog<CDlgFlowCalculationsManager>();
}
void CSewageCalculations::CalcFlowTotal() {
    RunCommandDialog<CFlowCalcMainDlg>();
}
void CSewageCalculations::CalcWasteWaterPercent() {
    RunCommandDialog<CFlowCalcDlg>();
}
void CSewageCalculations::CalcWasteWaterArea() {
    RunCommandDialog<CFlowCalcWasteDlg>();
}
void CSewageCalculations::CalcWasteWaterTurkish() {
    RunCommandDialog<CFlowCalcWasteTurkDlg>();
}
void CSewageCalculations::CalcWasteWaterTurkishISKI() {
    RunCommandDialog<CDlgFlowWasteTURIski>();
}
void CSewageCalculations::CalcWasteWaterUneven() {
    RunCommandDialog<CDlgFlowWasteUneven>();
}
void CSewageCalculations::CalcInfluenceAreasTurkish() {
    RunCommandDialog<CDlgInfAreaTurkMain>();
}
void CSewageCalculations::CalcRainITP() {
    RunCommandDialog<CITPCalcDlg>();
}
void CSewageCalculations::CalcRainSimple() {
    RunCommandDialog<CFlowCalcRainSimpleDlg>();
}
void CSewageCalculations::CalcFlowAdditional() {
    RunCommandDialog<CFlowAdditionalDlg>();
}
void CSewageCalculations::InputSewageData() {
    RunCommandDialog<CFlowInputDataDlg>();
}
void CSewageCalculations::CalcHydraulicsSewage() {
    RunCommandDialog<dlg_proracun_glavni>();
}
void CSewageCalculations::WriteHydraulicsToFile() {
    RunCommandDialog<dlg_atvFile>();
}
void CSewageCalculations::CalcHydraulicsSewage_Calculator() {
    RunCommandDialog<dlg_calculatorAll>();
}

void CSewageCalculations::InputPipeRoughness() {
    if (!RequireActiveSewageSystem()) return;
    acedAlert("hrapavost");
}
