#include "module/hydraulics/calc/PipeCalculation.h"

#include "module/data/SectionData.h"
#include "module/hydraulics/calc/HydraulicSteps.h"
#include "module/hydraulics/calc/SectionDimensioning.h"
#include "platform/gis/DataRW.h"
#include "platform/network/PipeManager.h"

using TAVGis::Data::CCatalogItemPtr;
using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVGis::Data::CPipeManager;
using TAVGis::Sewage::CSewageHydraulics;

namespace {

bool Positive(const std::optional<double>& v) {
    return v && *v > 0.0;
}

std::optional<double> ReadNumber(const char* name, const TAVGis::Topology::CSectionPtr& section) {
    CDataBox box;
    CDataRW::Read(name, section, box, 0, {});
    if (box.IsNull()) return std::nullopt;
    return box.ToDouble();
}

}  // namespace

int CPipeCalculation::CheckInputs(const PipeCalculationInputs& in) {
    if (!Positive(in.flow)) return kStatusEnterFlow;
    if (!Positive(in.roughness)) return kStatusEnterRoughness;
    if (!Positive(in.viscosity)) return kStatusEnterViscosity;
    return 0;
}

PipeMinimum CPipeCalculation::MinimumDiameter(const PipeCalculationInputs& in, std::optional<double> slope,
                                              const CCatalogItemPtr& pipe) {
    m_core.reset();
    PipeMinimum result;
    if ((result.status = CheckInputs(in)) != 0) return result;
    auto& core = m_core.emplace();
    core.SetStrSectionGuid(in.sectionGuid);
    if (!Positive(slope)) {
        result.status = kStatusEnterSlope;
        return result;
    }
    if (!pipe) {
        result.status = kStatusChoosePipe;
        return result;
    }
    const auto dMin = CHydraulicSteps::MinimumDiameter(core, *in.flow, *slope, *in.roughness, *in.viscosity);
    if (!dMin) {
        result.status = kStatusMinDiameterFailed;
        return result;
    }
    const auto* pm = CPipeManager::GetInstance();
    result.value = pm->CalculateMinDiameter(pm->GetPipeTypeID(pipe), *dMin);
    return result;
}

PipeMinimum CPipeCalculation::MinimumSlope(const PipeCalculationInputs& in, const std::string& pipeGuid,
                                           std::optional<double> diameter) {
    m_core.reset();
    PipeMinimum result;
    if ((result.status = CheckInputs(in)) != 0) return result;
    auto& core = m_core.emplace();
    core.SetStrSectionGuid(in.sectionGuid);
    if (!Positive(diameter)) {
        result.status = kStatusSlopeModeNoPipe;
        return result;
    }
    const auto sMin = CHydraulicSteps::MinimumSlope(core, *in.flow, pipeGuid, *in.roughness, *in.viscosity);
    if (!sMin) {
        result.status = kStatusNoSlopeForPipe;
        return result;
    }
    result.value = *sMin;
    return result;
}

PipeResults CPipeCalculation::Run(CSewageHydraulics& core) {
    PipeResults r;
    bool timed = false;
    r.status = CHydraulicSteps::Chain(core, &timed);
    if (r.status != 0) return r;
    r.fillingHeight = core.GetDVisinaIspunjenosti() * CHydraulicSteps::kMmPerMetre;
    r.fillingPercent = core.GetDPostotakIspunjnosti();
    r.fullFlow = CHydraulicSteps::LitresPerSecond(core.GetDProtokPunog());
    r.flowPercent = core.GetDPostotakProtoka();
    r.partialVelocity = core.GetDBrzinaDjelomicnoIsp();
    r.fullVelocity = core.GetDBrzinaPunog();
    r.velocityPercent = core.GetDPostotakBrzina();
    if (timed) r.flowTime = core.GetDVrijemeTecenja();
    return r;
}

PipeResults CPipeCalculation::ResultsForPipe(const CCatalogItemPtr& pipe) {
    PipeResults r;
    if (!m_core || !(m_core->GetDMinPromjerHidRad() > 0.0)) return r;
    if (!pipe) {
        r.status = kStatusChoosePipe;
        return r;
    }
    const double d = CPipeManager::GetInstance()->GetInnerDiameter(pipe);
    if (d < m_core->GetDMinPromjerHidRad() * CHydraulicSteps::kMmPerMetre || !(d > 0.0)) {
        r.status = kStatusPipeBelowMinimum;
        return r;
    }
    m_core->SetStrPipeGuid(pipe->GetGUID());
    return Run(*m_core);
}

PipeResults CPipeCalculation::ResultsForSlope(std::optional<double> slope) {
    PipeResults r;
    if (!m_core || !(m_core->GetDMinPad() > 0.0)) return r;
    if (!slope) {
        r.status = kStatusNoChosenValue;
        return r;
    }
    const double s = *slope / CHydraulicSteps::kPerMille;
    if (s < m_core->GetDMinPad() || !(s > 0.0)) {
        r.status = kStatusSlopeBelowMinimum;
        return r;
    }
    m_core->SetDPad(s);
    return Run(*m_core);
}

int CPipeCalculation::Save(bool minimumSlopeMode, const std::function<void(bool saved)>& whileOpen) {
    if (!m_core) return kStatusNoMinimum;
    CUpdateSessionsFrame sessions;
    const bool saved = m_core->SaveHidDataToSection(minimumSlopeMode);
    if (whileOpen) whileOpen(saved);
    return saved ? 0 : kStatusSaveFailed;
}

SectionHydraulicData CPipeCalculation::ReadSection(const TAVGis::Topology::CSectionPtr& section) {
    SectionHydraulicData d;
    if (!section) return d;
    d.name = section->GetName();
    const double flow = CSectionData::GetFLOW_TOTAL(section);
    if (flow != kMissingValue) d.flow = flow;
    d.roughness = ReadNumber("PIPE_ROUGHNESS", section);
    d.slope = ReadNumber("SECTION_SLOPE", section);
    CDataBox box;
    CDataRW::Read("PIPE_REF", section, box, 0, {});
    if (box.IsNull()) return d;
    d.pipeGuid = box.ToString();
    const auto* pm = CPipeManager::GetInstance();
    d.pipe = pm->GetPipe(d.pipeGuid);
    if (!d.pipe) return d;
    d.group = d.pipe->GetParentItem();
    d.pipeDiameter = pm->GetInnerDiameter(d.pipe);
    d.pipeRoughness = pm->GetPipeRoughness(d.pipe);
    d.pipeTypeId = pm->GetPipeTypeID(d.pipe);
    return d;
}

CCatalogItemPtr CPipeCalculation::ChosenPipe(const std::string& groupName, double minimumMm) {
    return CPipeManager::GetInstance()->GetPipeByInnerDiameter(groupName, minimumMm, CPipeManager::kAtLeast);
}

double CPipeCalculation::ChosenSlope(double minimumPerMille, int decimals) {
    return CHydraulicSteps::RoundUp(minimumPerMille, decimals);
}

PipeResults CPipeCalculation::Calculate(const PipeCalculationInputs& in, const CCatalogItemPtr& pipe,
                                        std::optional<double> slope) {
    PipeResults r;
    if ((r.status = CheckInputs(in)) != 0) return r;
    if (!pipe) {
        r.status = kStatusChoosePipe;
        return r;
    }
    if (!Positive(slope)) {
        r.status = kStatusEnterSlope;
        return r;
    }
    CSewageHydraulics core;
    core.SetStrSectionGuid(in.sectionGuid);
    core.SetStrPipeGuid(pipe->GetGUID());
    core.SetDProtok(*in.flow);
    core.SetDHrapavost(*in.roughness / CHydraulicSteps::kMmPerMetre);
    core.SetDViskozitet(*in.viscosity);
    core.SetDPad(*slope / CHydraulicSteps::kPerMille);
    return Run(core);
}
