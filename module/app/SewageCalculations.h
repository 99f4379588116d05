#pragma once
// CSewageCalculations: the module's exported commands. The platform invokes each by its exported name.
class __attribute__((visibility("default"))) CSewageCalculations {
public:
    static void RunFlowCalcManager();
    static void CalcFlowTotal();
    static void CalcWasteWaterPercent();
    static void CalcWasteWaterArea();
    static void CalcWasteWaterTurkish();
    static void CalcWasteWaterTurkishISKI();
    static void CalcWasteWaterUneven();
    static void CalcInfluenceAreasTurkish();
    static void CalcRainITP();
    static void CalcRainSimple();
    static void CalcFlowAdditional();
    static void InputSewageData();
    static void CalcHydraulicsSewage();
    static void WriteHydraulicsToFile();
    static void CalcHydraulicsSewage_Calculator();
    static void InputPipeRoughness();
};
