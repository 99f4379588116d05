#include "module/flow/calc/ItpParameters.h"

#include <algorithm>

#include "platform/host/NumberText.h"
#include "platform/network/CatalogManager.h"
#include "platform/network/PipeManager.h"
#include "platform/sewage/IdfCurveFile.h"

namespace {
using TAVGis::Data::CDataBox;

void SetTag(TAVGis::Sewage::CFlowCalculatorParameters& params, const char* tag, const CDataBox& value) {
    if (auto p = params.GetProperties().GetPropertyExByTag(tag)) p->SetHiddenValue(value);
}
}  // namespace

std::string CItpParameters::RomanianText(int integer, const double values[3]) {
    namespace NT = TAVHost::NumberText;
    return std::to_string(integer) + ";" + NT::Fixed(values[0], 6) + ";" + NT::Fixed(values[1], 6) + ";" +
           NT::Fixed(values[2], 6);
}

void CItpParameters::Fill(const ItpDialogValues& v, TAVGis::Sewage::CFlowCalculatorParameters& params) {
    const bool known = v.rainMethod >= 0 && v.rainMethod <= 2;
    SetTag(params, "RAINFALL_MODE", CDataBox(kMethodCodes[known ? v.rainMethod : 0]));
    SetTag(params, "FILE_PATH", CDataBox(v.curveFile));
    SetTag(params, "FREQUENCY",
           CDataBox(TAVHost::NumberText::ParseLeading(v.returnPeriodText).value_or(0.0)));
    SetTag(params, "TURKISH", CDataBox(v.turkishStation));
    SetTag(params, "RAIN_INTESITY", CDataBox(v.rainIntensity15));
    SetTag(params, "FREQUENCY_N", CDataBox(v.frequencyN));
    SetTag(params, "PARTIAL_AREA_EFFECT", CDataBox(OnePlusIndex(v.partialAreaEffect, v.partialAreaMode)));
    SetTag(params, "USE_EXISTING_PIPE", CDataBox(OnePlusIndex(v.useExistingPipe, v.existingPipeMode)));
    SetTag(params, "SAVE_PIPE", CDataBox(v.assignPipes ? 1 : 0));
    SetTag(params, "PRECISION", CDataBox(v.precisionPercent));
    SetTag(params, "WATER_VISCOSITY", CDataBox(v.viscosity));
    SetTag(params, "IGNORE_CARRIER_PIPES", CDataBox(v.ignoreCarrierPipes && v.rainMethod != 2 ? 1 : 0));
    SetTag(params, "BRANCHING_FLOW_TIME",
           v.branchingRule == 0 || v.branchingRule == 1 ? CDataBox(kBranchingCodes[v.branchingRule])
                                                        : CDataBox());
    SetTag(params, "PIPE_GROUP", CDataBox(std::vector<std::string>{v.pipeGroupGuid}));
    SetTag(params, "STORM_CAD", CDataBox(v.stormCad));
    SetTag(params, "CALC_STANDARD", CDataBox(v.calcStandard));
    SetTag(params, "RO", CDataBox(RomanianText(v.roInteger, v.roValues)));
    const bool conditions = v.hydraulicConditions == 1;
    SetTag(params, "PIPE_FILL", CDataBox(conditions && v.pipeFillLimit ? v.pipeFillPercent : kNoFillLimit));
    SetTag(params, "MINIMAL_DIAMETAR", CDataBox(conditions && v.minDiameterLimit ? v.minDiameter : 0.0));
}

bool CItpParameters::ReturnPeriodTexts(const std::string& path, std::vector<std::string>& texts,
                                       TAVGis::Sewage::IdfReadError& error) {
    const auto set = TAVGis::Sewage::CIdfCurveFile::Load(path, error);
    if (!set) return false;
    texts = ReturnPeriodTexts(*set);
    return true;
}

std::vector<std::string> CItpParameters::ReturnPeriodTexts(const TAVGis::Sewage::IdfCurveSet& table) {
    std::vector<std::string> texts;
    for (const auto& c : table.curves) texts.push_back(TAVHost::NumberText::Fixed(c.returnPeriod, 2));
    return texts;
}

std::vector<std::string> CItpParameters::SortedPipeGroupNames() {
    std::vector<std::string> names;
    const auto catalog =
        TAVGis::Data::CCatalogManager::GetInstance()->GetCatalog(TAVGis::Data::kPipeCatalogName);
    if (!catalog) return names;
    for (const auto& item : catalog->GetRootItems())
        if (item) names.push_back(item->GetName());
    std::sort(names.begin(), names.end());
    return names;
}

std::string CItpParameters::PipeGroupGuid(const std::string& name) {
    if (name.empty()) return {};
    std::vector<TAVGis::Data::CCatalogItemPtr> groups;
    TAVGis::Data::CPipeManager::GetInstance()->GetPipeGroups(groups, TAVGis::Data::CPipeManager::kUsableOnly);
    for (const auto& g : groups)
        if (g && g->GetName() == name) return g->GetGUID();
    return {};
}
