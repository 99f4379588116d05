#include "module/hydraulics/calc/SectionDimensioning.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

#include "module/data/SectionData.h"
#include "module/hydraulics/calc/HydraulicSteps.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/network/PipeManager.h"
#include "platform/network/TopoEditor.h"

using TAVGis::Data::CCatalogItemPtr;
using TAVGis::Data::CDataBox;
using TAVGis::Data::CDataRW;
using TAVGis::Data::CPipeManager;
using TAVGis::Sewage::CSewageHydraulics;
using TAVGis::Topology::CSectionPtr;

namespace {

constexpr double kPerMille = CHydraulicSteps::kPerMille;
constexpr double kMmPerMetre = CHydraulicSteps::kMmPerMetre;

void Fail(DimensioningRow& row, int status) {
    row.status = status;
    row.failed = true;
}

// The names of the result attributes in the order they are written after PIPE_REF or SECTION_SLOPE.
constexpr const char* kResultNames[8] = {
    "FILLING_HEIGHT",         "FILLING_PERCENT",     "FLOW_FULLFILLED",  "FLOW_PERCENT",
    "VELOCITY_PARTIALFILLED", "VELOCITY_FULLFILLED", "VELOCITY_PERCENT", "FLOWTIME"};

}  // namespace

struct CSectionDimensioning::Pipe {
    CCatalogItemPtr item;
    std::string guid;
    double diameter = 0.0;   // inner diameter, mm
    double roughness = 0.0;  // kb, mm
};

struct CSectionDimensioning::SectionInputs {
    bool hasSlope = false;
    double slope = 0.0;  // per mille
    Pipe pipe;           // the existing pipe; item null when the section has none
    bool hasRoughness = false;
    double roughness = 0.0;  // mm
};

struct CSectionDimensioning::Search {
    enum class Outcome { Yield, Skip, Failed };
    Outcome outcome = Outcome::Failed;
    double slope = 0.0;  // per mille
};

CSectionDimensioning::CSectionDimensioning(DimensioningSettings settings) : m_settings(std::move(settings)) {
    auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
    m_defPipeRef = TAVGis::Topology::CDDCache::GetInstance()->GetPIPE_REF();
    m_defSlope = config.GetDataDefinitionByID("SECTION_SLOPE");
    for (std::size_t i = 0; i < m_defResults.size(); ++i)
        m_defResults[i] = config.GetDataDefinitionByID(kResultNames[i]);
}

double CSectionDimensioning::RoundUp(double x, int decimals) {
    return CHydraulicSteps::RoundUp(x, decimals);
}

CSectionDimensioning::Pipe CSectionDimensioning::Describe(const CCatalogItemPtr& item) const {
    Pipe p;
    if (!item) return p;
    const auto* pm = CPipeManager::GetInstance();
    p.item = item;
    p.guid = item->GetGUID();
    p.diameter = pm->GetInnerDiameter(item);
    p.roughness = pm->GetPipeRoughness(item);
    return p;
}

CSectionDimensioning::SectionInputs CSectionDimensioning::ReadInputs(const CSectionPtr& section) const {
    SectionInputs in;
    CDataBox box;
    CDataRW::Read("SECTION_SLOPE", section, box, 0, {});
    if (box.IsNotNull()) {
        in.hasSlope = true;
        in.slope = box.ToDouble();
    }
    box.SetNull();
    CDataRW::Read("PIPE_REF", section, box, 0, {});
    if (box.IsNotNull()) in.pipe = Describe(CPipeManager::GetInstance()->GetPipe(box.ToString()));
    box.SetNull();
    CDataRW::Read("PIPE_ROUGHNESS", section, box, 0, {});
    if (box.IsNotNull()) {
        in.hasRoughness = true;
        in.roughness = box.ToDouble();
    }
    return in;
}

double CSectionDimensioning::RoughnessOf(const SectionInputs& in, const Pipe& pipe) const {
    return (in.hasRoughness ? in.roughness : pipe.roughness) / kMmPerMetre;
}

bool CSectionDimensioning::Calculations(CSewageHydraulics& core, DimensioningRow& row) {
    const int status = CHydraulicSteps::Chain(core);
    if (status != 0) Fail(row, status);
    return status == 0;
}

bool CSectionDimensioning::Chain(CSewageHydraulics& core, const Pipe& pipe, DimensioningRow& row) {
    core.SetStrPipeGuid(pipe.guid);
    return Calculations(core, row);
}

void CSectionDimensioning::Show(const CSewageHydraulics& core, DimensioningRow& row, double diameter,
                                double slope) {
    row.diameter = diameter;
    row.slope = slope;
    row.filling = core.GetDPostotakIspunjnosti();
    row.velocity = core.GetDBrzinaDjelomicnoIsp();
    row.status = kStatusSuccess;
    row.failed = false;
}

void CSectionDimensioning::Write(const CSewageHydraulics& core, const CSectionPtr& section,
                                 DimensioningRow& row) const {
    using TAVGis::Topology::CTopoEditor;
    constexpr int kSection = TAVGis::Data::kEntitySection;
    const auto& system = m_settings.system;
    const double values[8] = {core.GetDVisinaIspunjenosti(),  core.GetDPostotakIspunjnosti(),
                              core.GetDProtokPunog(),         core.GetDPostotakProtoka(),
                              core.GetDBrzinaDjelomicnoIsp(), core.GetDBrzinaPunog(),
                              core.GetDPostotakBrzina(),      core.GetDVrijemeTecenja()};
    // A result that is not finite (a flow too large to calculate with) is never stored: nothing of the
    // section is written and it gets a status of its own.
    const bool finite =
        std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); }) &&
        (m_settings.mode != kModeMinimumSlope || std::isfinite(core.GetDPad() * kPerMille));
    if (!finite) {
        row.diameter = row.slope = row.filling = row.velocity = std::nullopt;
        row.status = kStatusNotFinite;
        row.failed = true;
        return;
    }
    if (m_settings.mode == kModeMinimumSlope)
        CTopoEditor::WriteData(kSection, m_defSlope, section, CDataBox(core.GetDPad() * kPerMille), system);
    else
        CTopoEditor::WriteData(kSection, m_defPipeRef, section, CDataBox(core.GetStrPipeGuid()), system);
    for (std::size_t i = 0; i < m_defResults.size(); ++i)
        CTopoEditor::WriteData(kSection, m_defResults[i], section, CDataBox(values[i]), system);
    row.written = true;
}

DimensioningRow CSectionDimensioning::Dimension(const CSectionPtr& section) const {
    DimensioningRow row;
    if (!section) return row;
    row.section = section;
    row.name = section->GetName();
    CSewageHydraulics core;
    core.SetStrSectionGuid(section->GetGuid());

    const double flow = CSectionData::GetFLOW_TOTAL(section);  // m3/s
    if (flow == kMissingValue) {
        Fail(row, kStatusNoFlow);
        return row;
    }
    if (flow == 0.0) {
        Fail(row, kStatusZeroFlow);
        return row;
    }
    const SectionInputs in = ReadInputs(section);
    if (m_settings.mode == kModeMinimumSlope)
        MinimumSlope(section, in, flow, core, row);
    else
        MinimumDiameter(section, in, flow, core, row);
    return row;
}

double CSectionDimensioning::LargestUpstreamDiameter(const CSectionPtr& section) const {
    double largest = 0.0;
    const auto* pm = CPipeManager::GetInstance();
    for (const auto& up : section->GetSectionsIn()) {
        if (!up) continue;
        CDataBox box;
        CDataRW::Read("PIPE_REF", up, box, 0, {});
        if (box.IsNull()) continue;
        auto pipe = pm->GetPipe(box.ToString());
        if (!pipe) continue;
        largest = std::fmax(largest, pm->GetInnerDiameter(pipe));
    }
    return largest;
}

void CSectionDimensioning::MinimumDiameter(const CSectionPtr& section, const SectionInputs& in, double flow,
                                           CSewageHydraulics& core, DimensioningRow& row) const {
    if (!in.hasSlope) return Fail(row, kStatusNoSlope);
    if (in.slope <= 0.0) return Fail(row, kStatusSlopeNotPositive);
    const auto* pm = CPipeManager::GetInstance();
    const auto minimum = CHydraulicSteps::MinimumDiameter(
        core, flow, in.slope, in.hasRoughness ? in.roughness : m_settings.group.roughness,
        m_settings.viscosity);
    if (!minimum) return Fail(row, kStatusMinDiameterFailed);

    const double dMin = *minimum;
    const double dRequired = pm->CalculateMinDiameter(m_settings.group.typeId, dMin);
    const Pipe candidate = Describe(pm->GetPipeByInnerDiameter(m_settings.group.name, dRequired, 1));
    Pipe current = candidate;

    switch (m_settings.method) {
        case kMethodWithoutConditions: {
            if (!candidate.item) return Fail(row, kStatusNoCataloguePipe);
            core.SetDHrapavost(RoughnessOf(in, candidate));
            if (dMin > candidate.diameter || candidate.diameter <= 0.0) return;
            if (!Chain(core, candidate, row)) return;
            Show(core, row, candidate.diameter, in.slope);
            return Write(core, section, row);
        }
        case kMethodExistingDiameters: {
            if (!in.pipe.item) return Fail(row, kStatusNoExistingPipe);
            if (dRequired > in.pipe.diameter) return Fail(row, kStatusExistingPipeTooSmall);
            core.SetDHrapavost(RoughnessOf(in, in.pipe));
            if (!Chain(core, in.pipe, row)) return;
            Show(core, row, in.pipe.diameter, in.slope);
            return Write(core, section, row);
        }
        case kMethodConditions:
            break;
        default:
            return Fail(row, kStatusMethodNotAvailable);
    }

    if (!m_settings.upstreamCriterion && !m_settings.fillingCriterion && !m_settings.minimumCriterion)
        return Fail(row, kStatusNoCriterion);
    bool anyStageSucceeded = false;
    // The last calculation that ran through, with its pipe's inner diameter (mm).
    std::optional<CSewageHydraulics> consistent;
    double consistentDiameter = 0.0;
    auto remember = [&] {
        consistent = core;
        consistentDiameter = current.diameter;
    };

    if (m_settings.upstreamCriterion) {
        if (!candidate.item) return Fail(row, kStatusNoCataloguePipe);
        const double dUpstream = LargestUpstreamDiameter(section);
        if (dUpstream > dRequired) {
            for (const auto& p : m_settings.group.pipes) {
                if (pm->GetInnerDiameter(p) >= dUpstream) {
                    current = Describe(p);
                    break;
                }
            }
        }
        core.SetDHrapavost(RoughnessOf(in, current));
        if (dMin > current.diameter || current.diameter <= 0.0) return;
        if (!Chain(core, current, row)) return;
        anyStageSucceeded = true;
        remember();
    }

    if (m_settings.fillingCriterion) {
        if (!m_settings.filling) return Fail(row, kStatusNoFillingTarget);
        if (!candidate.item) return Fail(row, kStatusNoCataloguePipe);
        const double target = *m_settings.filling;  // %
        bool met = false;
        for (const auto& p : m_settings.group.pipes) {
            if (pm->GetInnerDiameter(p) < current.diameter) continue;
            current = Describe(p);
            core.SetDHrapavost(RoughnessOf(in, current));
            if (!Chain(core, current, row)) continue;
            remember();
            if (target > core.GetDPostotakIspunjnosti()) {
                met = true;
                break;
            }
        }
        if (met)
            anyStageSucceeded = true;
        else
            Fail(row, kStatusFillingNotMet);
    }

    bool toFinalStep = false;
    if (m_settings.minimumCriterion) {
        if (!m_settings.minimum) return Fail(row, kStatusNoMinimumDiameter);
        const double dEntered = *m_settings.minimum;  // mm
        if (dEntered > current.diameter) {
            auto p = pm->GetPipeByInnerDiameter(m_settings.group.name, dEntered, 1);
            if (!p) {
                Fail(row, kStatusNoPipeForMinimum);
                toFinalStep = true;
            } else {
                current = Describe(p);
            }
        }
        if (!toFinalStep) {
            core.SetDHrapavost(RoughnessOf(in, current));
            if (!Chain(core, current, row)) return;
            anyStageSucceeded = true;
            remember();
        }
    }

    if (!consistent) return;
    if (anyStageSucceeded) Show(*consistent, row, consistentDiameter, in.slope);
    Write(*consistent, section, row);
}

void CSectionDimensioning::MinimumSlope(const CSectionPtr& section, const SectionInputs& in, double flow,
                                        CSewageHydraulics& core, DimensioningRow& row) const {
    if (!in.pipe.item) return Fail(row, kStatusSlopeModeNoPipe);
    const auto minimum = CHydraulicSteps::MinimumSlope(
        core, flow, in.pipe.guid, in.hasRoughness ? in.roughness : m_settings.group.roughness,
        m_settings.viscosity);
    if (!minimum) return Fail(row, kStatusMinSlopeFailed);
    const double sMin = *minimum;

    if (m_settings.method == kMethodWithoutConditions) {
        const double sRounded = RoundUp(sMin, m_settings.precision);
        if (sMin > sRounded) return Fail(row, kStatusRoundedBelowMinimum);
        if (sRounded <= 0.0) return Fail(row, kStatusRoundedNotPositive);
        core.SetDPad(sRounded / kPerMille);
        if (!Calculations(core, row)) return;
        Show(core, row, in.pipe.diameter, core.GetDPad() * kPerMille);
        return Write(core, section, row);
    }
    if (m_settings.method != kMethodConditions) return Fail(row, kStatusMethodNotAvailable);

    if (!m_settings.fillingCriterion && !m_settings.minimumCriterion) return Fail(row, kStatusNoCriterion);
    double sFilling = 0.0, sVelocity = 0.0;
    if (m_settings.fillingCriterion) {
        if (!m_settings.filling) return Fail(row, kStatusNoFillingTarget);
        const Search s = FillingSearch(core, *m_settings.filling, row);
        if (s.outcome != Search::Outcome::Yield) return;
        sFilling = s.slope;
    }
    if (m_settings.minimumCriterion) {
        if (!m_settings.minimum) return Fail(row, kStatusNoMinimumVelocity);
        const Search s = VelocitySearch(core, *m_settings.minimum, row);
        if (s.outcome != Search::Outcome::Yield) return;
        sVelocity = s.slope;
    }
    core.SetDPad(std::fmax(sFilling, sVelocity) / kPerMille);
    if (!Calculations(core, row)) return;
    Show(core, row, in.pipe.diameter, core.GetDPad() * kPerMille);
    Write(core, section, row);
}

// Filling falls as the slope rises. From just above the minimum slope the search brackets the target
// with slopes 5, 55, 105, ... times the start and refines by interpolation.
CSectionDimensioning::Search CSectionDimensioning::FillingSearch(CSewageHydraulics& core, double target,
                                                                 DimensioningRow& row) const {
    using Outcome = Search::Outcome;
    core.SetDPad(core.GetDMinPad() + kSearchStartOffset);
    if (!Calculations(core, row)) return {Outcome::Failed};
    double sL = core.GetDPad() * kPerMille, fL = core.GetDPostotakIspunjnosti();
    if (target > fL) return {Outcome::Yield, sL};
    if (fL == target) return {Outcome::Skip};

    double k = kBracketFirstFactor;
    double sU = 0.0, fU = 0.0;
    for (int trial = 0;; ++trial) {
        if (trial == kMaxBracketTrials) {
            Fail(row, kStatusFillingNotMet);
            return {Outcome::Failed};
        }
        sU = k * sL;
        core.SetDPad(sU / kPerMille);
        if (!Calculations(core, row)) return {Outcome::Failed};
        fU = core.GetDPostotakIspunjnosti();
        if (!(fU > target)) break;
        k += kBracketFactorStep;
    }
    if (std::fabs(fU - target) <= kFillingTolerance) return {Outcome::Yield, sU};

    DimensioningRow scratch;  // refining failures report 3430, not the calculation's own status
    for (int step = 0; step < kMaxRefineSteps; ++step) {
        const double m = (fU - fL) / (sU - sL);
        double s = sL + (target - fL) / m;
        if (!std::isfinite(s)) break;
        if (s < 0.0) s = -s;
        core.SetDPad(s / kPerMille);
        if (!Calculations(core, scratch)) break;
        const double f = core.GetDPostotakIspunjnosti();
        if (target > fU) {
            sU = s;
            fU = f;
        } else {
            sL = s;
            fL = f;
        }
        if (std::fabs(fU - target) <= kFillingTolerance) return {Outcome::Yield, s};
    }
    Fail(row, kStatusFillingNotMet);
    return {Outcome::Failed};
}

// Velocity rises with the slope: bracket until the upper velocity reaches the minimum, then refine.
CSectionDimensioning::Search CSectionDimensioning::VelocitySearch(CSewageHydraulics& core, double target,
                                                                  DimensioningRow& row) const {
    using Outcome = Search::Outcome;
    core.SetDPad(core.GetDMinPad() + kSearchStartOffset);
    if (!Calculations(core, row)) return {Outcome::Failed};
    double sL = core.GetDPad() * kPerMille, uL = core.GetDBrzinaDjelomicnoIsp();
    if (uL > target) return {Outcome::Yield, sL};
    if (uL == target) return {Outcome::Skip};

    double k = kBracketFirstFactor;
    double sU = 0.0, uU = 0.0;
    for (int trial = 0;; ++trial) {
        if (trial == kMaxBracketTrials) {
            Fail(row, kStatusVelocityNotMet);
            return {Outcome::Failed};
        }
        sU = k * sL;
        core.SetDPad(sU / kPerMille);
        if (!Calculations(core, row)) return {Outcome::Failed};
        uU = core.GetDBrzinaDjelomicnoIsp();
        if (uU >= target) break;
        k += kBracketFactorStep;
    }
    if (std::fabs(uU - target) <= kVelocityTolerance) return {Outcome::Yield, sU};

    DimensioningRow scratch;
    for (int step = 0; step < kMaxRefineSteps; ++step) {
        const double m = (uU - uL) / (sU - sL);
        double s = sL + (target - uL) / m;
        if (!std::isfinite(s)) break;
        if (s < 0.0) s = -s;
        core.SetDPad(s / kPerMille);
        if (!Calculations(core, scratch)) break;
        const double u = core.GetDBrzinaDjelomicnoIsp();
        if (target > u) {
            sU = s;
            uU = u;
        } else {
            sL = s;
            uL = u;
        }
        if (std::fabs(u - target) <= kVelocityTolerance) return {Outcome::Yield, s};
    }
    Fail(row, kStatusVelocityNotMet);
    return {Outcome::Failed};
}
