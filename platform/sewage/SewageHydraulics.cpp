#include "platform/sewage/SewageHydraulics.h"

#include <cmath>

#include "platform/gis/DataBox.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/SystemManager.h"
#include "platform/network/PipeManager.h"
#include "platform/network/TopoEditor.h"
#include "platform/network/TopologyMultiStorage.h"
#include "platform/sewage/PipeHydraulics.h"

namespace TAVGis::Sewage {

namespace {

constexpr double kPercent = 100.0;

bool IsPositive(double dValue) {
    return std::isfinite(dValue) && dValue > 0.0;
}

Topology::CSectionPtr FindSection(const std::string& guid) {
    if (guid.empty()) return {};
    auto* topology = Topology::CTopologyMultiStorage::GetInstance()->GetTopology();
    return topology ? topology->GetSectionByGuid(guid) : Topology::CSectionPtr();
}

}  // namespace

std::optional<double> CSewageHydraulics::PipeDiameter() const {
    if (m_pipeGuid.empty()) return std::nullopt;
    const auto* pipes = Data::CPipeManager::GetInstance();
    const auto pipe = pipes->GetPipe(m_pipeGuid);
    if (!pipe) return std::nullopt;
    const double dDiameter = pipes->GetInnerDiameter(pipe) / kMillimetresPerMetre;
    if (!IsPositive(dDiameter)) return std::nullopt;
    return dDiameter;
}

std::optional<CSewageHydraulics::SFillingState> CSewageHydraulics::FillingState() {
    if (!IsPositive(m_flow) || !IsPositive(m_slope) || !IsPositive(m_roughness) || !IsPositive(m_viscosity))
        return std::nullopt;
    const auto diameter = PipeDiameter();
    if (!diameter) return std::nullopt;
    const SFillingInputs inputs{m_flow, m_slope, m_roughness, m_viscosity, *diameter};
    if (m_filling && m_filling->inputs == inputs) return m_filling;

    const auto height = CPipeHydraulics::FillingHeight(m_flow, *diameter, m_slope, m_roughness, m_viscosity);
    if (!height) return std::nullopt;
    const auto partial =
        CPipeHydraulics::PartialFilling(*height, *diameter, m_slope, m_roughness, m_viscosity);
    if (!partial) return std::nullopt;
    SFillingState state;
    state.inputs = inputs;
    state.dHeight = *height;
    state.dPercent = kPercent * *height / *diameter;
    state.dPartialVelocity = partial->dVelocity;
    m_filling = state;
    return state;
}

void CSewageHydraulics::StoreFilling(const SFillingState& state) {
    m_fillingHeight = state.dHeight;
    m_fillingPercent = state.dPercent;
    m_velocityPartial = state.dPartialVelocity;
}

bool CSewageHydraulics::CalculateFillingHeight() {
    const auto state = FillingState();
    if (!state) return false;
    StoreFilling(*state);
    return true;
}

bool CSewageHydraulics::CalculateVelocityForPartiallyFilled() {
    return CalculateFillingHeight();
}

bool CSewageHydraulics::CalculateHydraulicsValues() {
    const auto state = FillingState();
    if (!state) return false;
    const SFillingInputs& in = state->inputs;
    const auto full = CPipeHydraulics::FullBore(in.dDiameter, in.dSlope, in.dRoughness, in.dViscosity);
    if (!full) return false;
    const double dFlowPercent = kPercent * in.dFlow / full->dFlow;
    const double dVelocityPercent = kPercent * state->dPartialVelocity / full->dVelocity;
    if (!IsPositive(dFlowPercent) || !IsPositive(dVelocityPercent)) return false;
    StoreFilling(*state);
    m_flowFull = full->dFlow;
    m_velocityFull = full->dVelocity;
    m_flowPercent = dFlowPercent;
    m_velocityPercent = dVelocityPercent;
    return true;
}

bool CSewageHydraulics::CalculateMinimumSlope() {
    if (!IsPositive(m_flow) || !IsPositive(m_roughness) || !IsPositive(m_viscosity)) return false;
    const auto diameter = PipeDiameter();
    if (!diameter) return false;
    const auto slope = CPipeHydraulics::MinimumSlope(m_flow, *diameter, m_roughness, m_viscosity);
    if (!slope) return false;
    m_minSlope = *slope;
    return true;
}

bool CSewageHydraulics::CalculateMinimumDiameterMinHidRad() {
    if (!IsPositive(m_flow) || !IsPositive(m_slope) || !IsPositive(m_roughness) || !IsPositive(m_viscosity))
        return false;
    const auto diameter = CPipeHydraulics::MinimumDiameter(m_flow, m_slope, m_roughness, m_viscosity);
    if (!diameter) return false;
    m_minDiameter = *diameter;
    return true;
}

bool CSewageHydraulics::CalculateFlowTime() {
    const auto section = FindSection(m_sectionGuid);
    if (!section) return false;
    const auto state = FillingState();
    if (!state) return false;
    const auto minutes = CPipeHydraulics::FlowTime(section->GetLength2D(), state->dPartialVelocity);
    if (!minutes) return false;
    StoreFilling(*state);
    m_flowTime = *minutes;
    return true;
}

bool CSewageHydraulics::SaveHidDataToSection(bool minSlopeMode) {
    const auto section = FindSection(m_sectionGuid);
    if (!section) return false;
    const auto system = System::CSystemManager::GetActiveSystem();
    const auto& config = Data::CDataConfiguration::GetInstance();
    bool allWritten = true;
    auto write = [&](const Data::CDataDefinition* def, const Data::CDataBox& box) {
        if (!Topology::CTopoEditor::WriteData(Data::kEntitySection, def, section, box, system))
            allWritten = false;
    };
    auto writeNumber = [&](const char* name, double dValue) {
        write(config.GetDataDefinitionByID(name), Data::CDataBox(dValue));
    };

    if (minSlopeMode)
        writeNumber("SECTION_SLOPE", m_slope * kPerMillePerFraction);
    else
        write(Topology::CDDCache::GetInstance()->GetPIPE_REF(),
              m_pipeGuid.empty() ? Data::CDataBox() : Data::CDataBox(m_pipeGuid));
    writeNumber("FILLING_HEIGHT", m_fillingHeight);
    writeNumber("FILLING_PERCENT", m_fillingPercent);
    writeNumber("FLOW_FULLFILLED", m_flowFull);
    writeNumber("FLOW_PERCENT", m_flowPercent);
    writeNumber("VELOCITY_PARTIALFILLED", m_velocityPartial);
    writeNumber("VELOCITY_FULLFILLED", m_velocityFull);
    writeNumber("VELOCITY_PERCENT", m_velocityPercent);
    writeNumber("FLOWTIME", m_flowTime);
    return allWritten;
}

}  // namespace TAVGis::Sewage
