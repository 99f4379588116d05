#include "platform/sewage/RainItpCalculator.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

#include "platform/gis/DataRW.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/host/HostUi.h"
#include "platform/host/NumberText.h"
#include "platform/network/PipeManager.h"
#include "platform/sewage/CatchmentAreaManager.h"
#include "platform/sewage/IDPTurkParams.h"
#include "platform/sewage/PipeHydraulics.h"

namespace TAVGis::Sewage {

namespace {
constexpr int kMsgCurveFile = 14003;
constexpr int kMsgNoCurve = 14004;
constexpr int kMsgBadParameters = 14001;
constexpr int kMsgInLoop = 14002;
constexpr int kMsgTurkish = 14005;
constexpr int kMsgStationStore = 14307;
constexpr int kMsgNoStationCurve = 14308;
constexpr int kMsgNoFlowTime = 14006;
constexpr double kPerThousand = 1000.0;
constexpr double kPercent = 100.0;
constexpr double kSmallTime = 1e-9;  // min
constexpr double kSecondsPerMinute = 60.0;

double Stored(const char* name, const Topology::CSection& s) {
    Data::CDataBox box;
    Data::CDataRW::Read(name, s, box);
    if (box.IsDouble() || box.IsInt()) {
        const double v = box.ToDouble();
        if (std::isfinite(v)) return v;
    }
    return 0.0;
}

std::string StoredText(const char* name, const Topology::CSection& s) {
    Data::CDataBox box;
    Data::CDataRW::Read(name, s, box);
    return box.IsText() ? box.ToString() : std::string();
}

struct Pipe {
    double diameter = 0.0;   // m
    double roughness = 0.0;  // m
    std::string guid;
};

std::optional<Pipe> OwnPipe(const Topology::CSection& s) {
    auto* pipes = Data::CPipeManager::GetInstance();
    const std::string ref = StoredText("PIPE_REF", s);
    if (!ref.empty()) {
        if (auto item = pipes->GetPipe(ref)) {
            const double d = pipes->GetInnerDiameter(item) / kPerThousand;
            double kb = pipes->GetPipeRoughness(item) / kPerThousand;
            if (!(kb > 0.0)) kb = Stored("PIPE_ROUGHNESS", s) / kPerThousand;
            if (d > 0.0 && kb > 0.0) return Pipe{d, kb, ref};
        }
    }
    const double d = Stored("PIPE_DIA_IN", s);
    const double kb = Stored("PIPE_ROUGHNESS", s) / kPerThousand;
    if (d > 0.0 && kb > 0.0) return Pipe{d, kb, {}};
    return std::nullopt;
}

// Slope (fraction) of the section: SECTION_SLOPE, else the fall of its invert levels.
double SlopeOf(const Topology::CSection& s, double length) {
    const double perMille = Stored("SECTION_SLOPE", s);
    if (perMille > 0.0) return perMille / kPerThousand;
    if (s.LevelAtStart() && s.LevelAtEnd() && length > 0.0) {
        const double j = (*s.LevelAtStart() - *s.LevelAtEnd()) / length;
        if (j > 0.0 && std::isfinite(j)) return j;
    }
    return 0.0;
}

// The attributes written per section, in the order written (made once, not per section).
const std::vector<std::string>& WrittenNames() {
    static const std::vector<std::string> names = {
        "FLOW_RAIN_IDF",    "FLOW_IDF_INTENSITY",           "FLOW_IDF_CONC_TIME",           "FLOW_IDF_TIME",
        "FLOW_IDF_MJ_TIME", "FLOW_IDF_AREA_CORRECTED_SECT", "FLOW_IDF_AREA_CORRECTED_TOTAL"};
    return names;
}

// A pipe of the group with its catalogue values, looked up once for the run.
struct GroupPipe {
    double diameterMm = 0.0;
    double roughness = 0.0;  // m; 0 when the catalogue gives none (the section's own is used)
    std::string guid;
};

struct Hydraulics {
    const RainItpInput& in;
    std::vector<GroupPipe> group;  // sorted pipes of the group (empty: own pipes)

    // Flow time (min) of flow q in the section, and the pipe that carries it.
    std::optional<double> FlowTime(const Topology::CSection& s, const std::optional<Pipe>& own, double slope,
                                   double length, double q, std::string* chosen) const {
        if (!(slope > 0.0) || !(length > 0.0) || !(q > 0.0)) return std::nullopt;
        if (group.empty() || in.useExistingPipe) {
            if (!own) return std::nullopt;
            auto v =
                CPipeHydraulics::PartialFillVelocity(q, own->diameter, slope, own->roughness, in.viscosity);
            return v ? CPipeHydraulics::FlowTime(length, *v) : std::nullopt;
        }
        std::optional<double> ownRoughness;  // the section's, read when a pipe needs it
        for (const auto& pipe : group) {
            if (!(pipe.diameterMm > 0.0) || pipe.diameterMm < in.minDiameterMm) continue;
            double kb = pipe.roughness;
            if (!(kb > 0.0)) {
                if (!ownRoughness) ownRoughness = Stored("PIPE_ROUGHNESS", s) / kPerThousand;
                kb = *ownRoughness;
            }
            if (!(kb > 0.0)) continue;
            auto h =
                CPipeHydraulics::HydraulicValues(q, pipe.diameterMm / kPerThousand, slope, kb, in.viscosity);
            if (!h || h->dFillingPercent > in.pipeFillPercent) continue;
            if (chosen) *chosen = pipe.guid;
            return CPipeHydraulics::FlowTime(length, h->dPartialVelocity);
        }
        return std::nullopt;
    }
};
}  // namespace

void CRainItpCalculator::GetDisplayName(std::string& text) const {
    text = CModuleConfiguration::GetMsg(2145);
}

void CRainItpCalculator::GetGroupName(std::string& text) const {
    text = CModuleConfiguration::GetMsg(14007);
}

std::vector<std::string> CRainItpCalculator::GetWrittenAttributes() const {
    return WrittenNames();
}

void CRainItpCalculator::FillDefaults(Data::CPropertiesEx& p) const {
    p.Add("RAINFALL_MODE", "Rain description", kModeCurves);
    p.Add("FILE_PATH", "Curve file", std::string());
    p.Add("FREQUENCY", "Return period [years]", 0.0);
    p.Add("TURKISH", "Turkish station", std::string());
    p.Add("RAIN_INTESITY", "15-minute rain intensity [l/s/ha]", 100.0);
    p.Add("FREQUENCY_N", "Frequency n [1/year]", 1.0);
    p.Add("PARTIAL_AREA_EFFECT", "Partial-area effect", 0);
    p.Add("USE_EXISTING_PIPE", "Use the sections' own pipes", 0);
    p.Add("SAVE_PIPE", "Assign pipes", 0);
    p.Add("PRECISION", "Precision [%]", 0.5);
    p.Add("WATER_VISCOSITY", "Water viscosity [m2/s]", 1.31e-6);
    p.Add("IGNORE_CARRIER_PIPES", "Ignore carrier pipes", 0);
    p.Add("BRANCHING_FLOW_TIME", "Time carried at branchings", kCarryLonger);
    p.Add("PIPE_GROUP", "Pipe group", std::vector<std::string>{std::string()});
    p.Add("STORM_CAD", "Concentration-time method", 11090);
    p.Add("CALC_STANDARD", "Calculation standard", 0);
    p.Add("RO", "Romanian standard values", std::string("0;1.000000;0.800000;0.900000"));
    p.Add("PIPE_FILL", "Pipe fill [%]", 100.0);
    p.Add("MINIMAL_DIAMETAR", "Minimum diameter [mm]", 0.0);
    p.Add("INLET_TIME", "Inlet time [min]", 5.0);
}

double CRainItpCalculator::ReinholdCoefficient(double duration, double n) {
    return kReinholdFactor / (duration + kReinholdMinutes) *
           (1.0 / std::pow(n, kReinholdExponent) - kReinholdOffset);
}

RainItpResult CRainItpCalculator::Run(const RainItpInput& in, const SectionList& sections) {
    RainItpResult r;
    const FlowOrder order = MakeFlowOrder(sections);
    r.inLoop = static_cast<int>(order.inCycle.size());
    auto* areas = CCatchmentAreaManager::GetInstance();
    Hydraulics hyd{in, {}};
    if (!in.pipeGroupGuid.empty()) {
        auto* pipes = Data::CPipeManager::GetInstance();
        std::vector<Data::CCatalogItemPtr> items;
        pipes->GetSortedPipesForGroupGUID(in.pipeGroupGuid, items, Data::CPipeManager::kUsableOnly);
        hyd.group.reserve(items.size());
        for (const auto& item : items)
            hyd.group.push_back(GroupPipe{pipes->GetInnerDiameter(item),
                                          pipes->GetPipeRoughness(item) / kPerThousand,
                                          item ? item->GetGUID() : std::string()});
    }
    std::vector<double> concTime(sections.size(), 0.0), totalArea(sections.size(), 0.0),
        velocity(sections.size(), 0.0);  // m/s
    const std::vector<std::string>& written = WrittenNames();
    r.calculated.reserve(order.order.size());
    for (std::size_t idx : order.order) {
        const Topology::CSection& s = *sections[idx];
        double tIn = in.inletTime;
        if (!order.incoming[idx].empty()) {
            tIn = concTime[order.incoming[idx].front()];
            for (std::size_t up : order.incoming[idx])
                tIn = in.carryLonger ? std::max(tIn, concTime[up]) : std::min(tIn, concTime[up]);
        }
        double own = 0.0;
        areas->GetCATotalCorectedArea(sections[idx], own);
        if (!(own > 0.0) || !std::isfinite(own)) own = 0.0;
        double total = own;
        for (std::size_t up : order.incoming[idx]) total += totalArea[up];

        const double length = s.GetLength2D();
        const double slope = SlopeOf(s, length);
        const std::optional<Pipe> ownPipe =
            hyd.group.empty() || in.useExistingPipe ? OwnPipe(s) : std::nullopt;
        // First guess: the section's length at the velocity of the section above it (fewer steps).
        double tf = 0.0;
        if (!order.incoming[idx].empty() && velocity[order.incoming[idx].front()] > 0.0)
            tf = length / velocity[order.incoming[idx].front()] / kSecondsPerMinute;
        bool hydraulics = false;
        std::string chosen;
        for (int step = 0; step < kMaxSteps; ++step) {
            const double q = total * in.intensity(tIn + tf) / kPerThousand;
            const auto next = hyd.FlowTime(s, ownPipe, slope, length, q, &chosen);
            if (!next) break;
            hydraulics = true;
            const bool done =
                std::fabs(*next - tf) <= in.precisionPercent / kPercent * std::max(*next, kSmallTime);
            tf = *next;
            if (done) break;
        }
        if (!hydraulics) {
            tf = 0.0;
            ++r.withoutHydraulics;
        } else if (tf > 0.0) {
            velocity[idx] = length / (tf * kSecondsPerMinute);
        }
        const double tc = tIn + tf;
        const double i = in.intensity(tc);
        const double q = total * i / kPerThousand;
        concTime[idx] = tc;
        totalArea[idx] = total;
        if (!std::isfinite(q) || !std::isfinite(i)) continue;
        const double values[] = {q, i, tc, tf, tIn, own, total};  // in the order of WrittenNames
        for (std::size_t k = 0; k < std::size(values); ++k)
            Data::CDataRW::Write(written[k], s, Data::CDataBox(values[k]));
        if (in.savePipe && !chosen.empty() && hydraulics)
            Data::CDataRW::Write("PIPE_REF", s, Data::CDataBox(chosen));
        ++r.written;
        r.calculated.push_back(idx);
    }
    return r;
}

int CRainItpCalculator::RunCalculation(const SectionList& sections,
                                       const CFlowCalculatorParametersPtr& params, bool tag, bool silent,
                                       IDialogToHide*) {
    if (!params || sections.empty()) return 0;
    auto alert = [silent](const std::string& text) {
        if (!silent) TAVHost::GetHostUi().Alert(text);
    };
    const auto& p = params->GetProperties();
    RainItpInput in;
    const int mode = p.GetInt("RAINFALL_MODE", kModeCurves);
    std::optional<IdfCurve> curve;
    if (mode == kModeTurkish) {
        CIDPTurkParams stations;
        std::string error;
        if (!stations.Load(error)) {
            alert(CModuleConfiguration::GetMsg(kMsgStationStore) + " " + error);
            return 0;
        }
        const std::string name = p.GetText("TURKISH");
        const TurkishStation* station = stations.Find(name);
        if (!station) {
            alert(CModuleConfiguration::GetMsg(kMsgTurkish) + " " + name);
            return 0;
        }
        const double period = p.GetDouble("FREQUENCY", 0.0);
        const IdfCurve* found = station->table.Find(period);
        if (!found) {
            alert(CModuleConfiguration::GetMsg(kMsgNoStationCurve) + " " + name + ", " +
                  TAVHost::NumberText::Fixed(period, 2));
            return 0;
        }
        curve = *found;
        in.intensity = [&curve](double t) { return curve->IntensityAt(t); };
    } else if (mode == kModeReinhold) {
        const double r15 = p.GetDouble("RAIN_INTESITY", -1.0);
        const double n = p.GetDouble("FREQUENCY_N", -1.0);
        if (!(r15 >= 0.0) || !(n > 0.0)) {
            alert(CModuleConfiguration::GetMsg(kMsgBadParameters));
            return 0;
        }
        in.intensity = [r15, n](double t) { return r15 * std::max(0.0, ReinholdCoefficient(t, n)); };
    } else {
        const std::string path = p.GetText("FILE_PATH");
        IdfReadError error;
        const auto set = CIdfCurveFile::Load(path, error);
        if (!set) {
            alert(CModuleConfiguration::GetMsg(kMsgCurveFile) + " " + error.Describe(path));
            return 0;
        }
        const IdfCurve* found = set->Find(p.GetDouble("FREQUENCY", 0.0));
        if (!found) {
            alert(CModuleConfiguration::GetMsg(kMsgNoCurve) + " " + path);
            return 0;
        }
        curve = *found;
        in.intensity = [&curve](double t) { return curve->IntensityAt(t); };
    }
    in.inletTime = p.GetDouble("INLET_TIME", 5.0);
    in.carryLonger = p.GetInt("BRANCHING_FLOW_TIME", kCarryLonger) != kCarryShorter;
    in.precisionPercent = p.GetDouble("PRECISION", 0.5);
    in.viscosity = p.GetDouble("WATER_VISCOSITY", 1.31e-6);
    in.useExistingPipe = p.GetInt("USE_EXISTING_PIPE", 0) != 0;
    in.pipeGroupGuid = p.GetText("PIPE_GROUP");
    in.pipeFillPercent = p.GetDouble("PIPE_FILL", 100.0);
    in.minDiameterMm = p.GetDouble("MINIMAL_DIAMETAR", 0.0);
    in.savePipe = p.GetInt("SAVE_PIPE", 0) != 0;
    if (!(in.inletTime >= 0.0) || !(in.precisionPercent > 0.0) || !(in.viscosity > 0.0) ||
        !(in.pipeFillPercent > 0.0) || !(in.minDiameterMm >= 0.0)) {
        alert(CModuleConfiguration::GetMsg(kMsgBadParameters));
        return 0;
    }
    const RainItpResult r = Run(in, sections);
    if (tag) TagSections(sections, r.calculated, *params);
    if (r.inLoop > 0) alert(CModuleConfiguration::GetMsg(kMsgInLoop) + " " + std::to_string(r.inLoop));
    if (r.withoutHydraulics > 0)
        alert(CModuleConfiguration::GetMsg(kMsgNoFlowTime) + " " + std::to_string(r.withoutHydraulics));
    return 1;
}

}  // namespace TAVGis::Sewage
