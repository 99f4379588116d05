#include "module/flow/calc/InfluenceAreasTurkish.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <iterator>

#include "module/data/SectionData.h"
#include "module/flow/calc/FlowAttribute.h"
#include "module/flow/calc/UpstreamSums.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/Utility.h"
#include "platform/host/Progress.h"
#include "platform/sessions/WsManager.h"

namespace {

using CSectionPtr = CInfluenceAreasTurkish::CSectionPtr;
using TAVGis::Topology::CTopologyStorage;

// The hourly peak table: mean household flow Qh (l/s), Kmax,h, Kmin,h.
struct HourlyPoint {
    double flow, kmax, kmin;
};
constexpr std::array<HourlyPoint, 9> kHourlyTable = {{
    {5.0, 2.5, 0.38},
    {10.0, 2.1, 0.45},
    {20.0, 1.9, 0.5},
    {50.0, 1.7, 0.55},
    {100.0, 1.6, 0.59},
    {300.0, 1.55, 0.62},
    {500.0, 1.5, 0.66},
    {1000.0, 1.47, 0.69},
    {5000.0, 1.44, 0.71},
}};

// The parameters, in the order Set parameters writes them.
const char* const kParameterNames[] = {"TUR_INF_FLOW_PER_POP", "TUR_COEFF_INF", "TUR_COEFF_ADD", "TUR_KMAX_D",
                                       "TUR_KMIN_D"};

// The results, in the order they are deleted.
enum Result {
    kOwnFlow,
    kArea,
    kPopulation,
    kHousehold,
    kInfiltration,
    kAdditional,
    kKminHourly,
    kKmaxHourly,
    kSummer,
    kWinter,
    kTotal,
    kResultCount
};
const char* const kResultNames[kResultCount] = {
    "TUR_INF_FLOW_PER_SECT",    "AREA_CUMULATIVE_INF",      "POP_PER_SECTION_C", "FLOW_TUR_WASTE_HOME",
    "FLOW_TUR_WASTE_INF",       "TUR_INF_FLOW_ADDITIONAL",  "TUR_KMIN_H",        "TUR_KMAX_H",
    "TUR_INF_FLOW_SECT_SUMMER", "TUR_INF_FLOW_SECT_WINTER", "FLOW_TOTAL"};

// What a section brings itself.
struct Record {
    double area = 0.0, population = 0.0;
    double consumption = 0.0, infiltration = 0.0, additional = 0.0, kminDaily = 0.0, kmaxDaily = 0.0;
    double ownFlow = 0.0;  // Qo, l/s
    double pointFlow = 0.0;
};

// The attributes the calculation reads and writes, their definitions looked up once.
struct Attributes {
    CFlowAttribute area{"HOUSE_WASTE"};
    CFlowAttribute density{"POP_DENSITY_AREA"};
    CFlowAttribute consumption{"TUR_INF_FLOW_PER_POP"};
    CFlowAttribute infiltration{"TUR_COEFF_INF"};
    CFlowAttribute additional{"TUR_COEFF_ADD"};
    CFlowAttribute kminDaily{"TUR_KMIN_D"};
    CFlowAttribute kmaxDaily{"TUR_KMAX_D"};
    CFlowAttribute point{"FLOW_POINT"};
    std::vector<CFlowAttribute> results;

    Attributes() {
        for (const char* name : kResultNames) results.emplace_back(name);
    }
    // Reads the columns of a drawing's store at once rather than on first use, one by one.
    void ReadAhead(const TAVGis::Data::CAttributeStore& store) const {
        std::vector<const TAVGis::Data::CDataDefinition*> defs;
        for (const auto* a :
             {&area, &density, &consumption, &infiltration, &additional, &kminDaily, &kmaxDaily, &point})
            if (a->Definition() && a->Definition()->GetEntityType() == store.EntityType())
                defs.push_back(a->Definition());
        for (const auto& a : results)
            if (a.Definition() && a.Definition()->GetEntityType() == store.EntityType())
                defs.push_back(a.Definition());
        store.LoadPending(defs);
    }
};

// A stored number, or nothing.
bool Read(const CFlowAttribute& a, const TAVGis::Topology::CSection& s, double& value) {
    TAVGis::Data::CDataBox box;
    a.Read(s, box);
    if (box.IsNull()) return false;
    value = box.ToDouble();
    return true;
}

double ReadOrZero(const CFlowAttribute& a, const TAVGis::Topology::CSection& s) {
    double v = 0.0;
    return Read(a, s, v) ? v : 0.0;
}

// The upstream sums of the sections of one network: own values by section index, then CUpstreamSums
// (two quantities per pass).
struct UpstreamTotals {
    const CTopologyStorage* topology = nullptr;
    std::vector<CUpstreamSums::Values> areaAndPopulation, infiltrationAndAdditional, point;
};

UpstreamTotals Sum(const CTopologyStorage& topology, const std::vector<CSectionPtr>& sections,
                   const std::vector<Record>& records) {
    UpstreamTotals t;
    t.topology = &topology;
    const std::size_t n = topology.Sections().size();
    std::vector<CUpstreamSums::Values> first(n, CUpstreamSums::Values{}), second(n, CUpstreamSums::Values{}),
        third(n, CUpstreamSums::Values{});
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto& s = sections[i];
        if (!s || s->Owner() != &topology) continue;
        const auto index = static_cast<std::size_t>(s->Index());
        if (index >= n) continue;
        const Record& r = records[i];
        first[index] = {r.area, r.population};
        second[index] = {r.area * r.infiltration, r.additional * r.ownFlow};
        third[index] = {r.pointFlow, 0.0};
    }
    t.areaAndPopulation = CUpstreamSums::Compute(topology, first);
    t.infiltrationAndAdditional = CUpstreamSums::Compute(topology, second);
    t.point = CUpstreamSums::Compute(topology, third);
    return t;
}

InfluenceSectionResult Evaluate(const Record& own, const UpstreamTotals& t, std::size_t index) {
    InfluenceSectionResult r;
    r.area = t.areaAndPopulation[index][0];
    r.population = t.areaAndPopulation[index][1];
    r.ownFlow = own.ownFlow;
    r.household = r.population * own.consumption / CInfluenceAreasTurkish::kSecondsPerDay;
    r.infiltration = t.infiltrationAndAdditional[index][0];
    r.additional = t.infiltrationAndAdditional[index][1];
    r.pointFlow = t.point[index][0];
    r.hourly = CInfluenceAreasTurkish::HourlyPeak(r.household);
    r.summer = r.household * own.kmaxDaily * r.hourly.kmax + r.infiltration;
    r.winter = r.household * own.kminDaily * r.hourly.kmin + r.infiltration + r.additional;
    r.total = std::max(r.summer, r.winter) / CInfluenceAreasTurkish::kLitresPerCubicMetre + r.pointFlow;
    return r;
}

void Log() {
    TAVGis::Workspace::CWsManager::LogMessage(
        TAVGis::CModuleConfiguration::GetMsg(CInfluenceAreasTurkish::kMsgWritten));
}

}  // namespace

HourlyPeaks CInfluenceAreasTurkish::HourlyPeak(double householdFlow) {
    const auto& first = kHourlyTable.front();
    const auto& last = kHourlyTable.back();
    if (!(householdFlow > first.flow)) return {first.kmax, first.kmin};  // NaN too: the first point
    if (householdFlow >= last.flow) return {last.kmax, last.kmin};
    const auto upper = std::upper_bound(kHourlyTable.begin(), kHourlyTable.end(), householdFlow,
                                        [](double q, const HourlyPoint& p) { return q < p.flow; });
    const auto& hi = *upper;
    const auto& lo = *std::prev(upper);
    const double share = (householdFlow - lo.flow) / (hi.flow - lo.flow);
    return {lo.kmax + (hi.kmax - lo.kmax) * share, lo.kmin + (hi.kmin - lo.kmin) * share};
}

int CInfluenceAreasTurkish::Population(double density, double area) {
    const double p = TAVGis::Utility::CUtility::RoundDouble(density * area, 0);
    if (std::isnan(p)) return 0;
    if (p >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (p <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(p);
}

InfluenceSetResult CInfluenceAreasTurkish::SetParameters(const InfluenceParameters& parameters,
                                                         const std::vector<CSectionPtr>* selection) {
    InfluenceSetResult r;
    CBatchWriteFrame frame;
    if (!selection) return r;
    r.selection = true;
    const double values[] = {parameters.consumption, parameters.infiltration, parameters.additional,
                             parameters.kmaxDaily, parameters.kminDaily};
    std::vector<CFlowAttribute> attributes;
    for (const char* name : kParameterNames) attributes.emplace_back(name);
    for (const auto& s : *selection) {
        if (!s) continue;
        int written = 0;
        for (std::size_t i = 0; i < attributes.size(); ++i) written += attributes[i].Set(*s, values[i]);
        if (written == static_cast<int>(attributes.size())) ++r.sectionsWritten;
    }
    if (r.sectionsWritten > 0) {
        Log();
        r.logged = true;
    }
    return r;
}

InfluenceCalculationResult CInfluenceAreasTurkish::Calculate(const std::vector<CSectionPtr>& sections,
                                                             bool pointFlow) {
    InfluenceCalculationResult result;
    const Attributes a;
    for (const auto& s : sections)
        if (s && s->AttributeStore()) {
            a.ReadAhead(*s->AttributeStore());
            break;
        }
    TAVHost::CProgress progress("influence areas", 2 * sections.size());

    // 1. The records, all five parameters required on every section.
    std::vector<Record> records(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        progress.Advance();
        const auto& s = sections[i];
        if (!s) continue;
        Record& r = records[i];
        const bool complete = Read(a.consumption, *s, r.consumption) &&
                              Read(a.infiltration, *s, r.infiltration) &&
                              Read(a.additional, *s, r.additional) && Read(a.kmaxDaily, *s, r.kmaxDaily) &&
                              Read(a.kminDaily, *s, r.kminDaily);
        if (!complete) {
            if (result.sectionsMissingParameters++ == 0) result.firstMissingSection = s->GetName();
            continue;
        }
        r.area = ReadOrZero(a.area, *s);
        r.population = Population(ReadOrZero(a.density, *s), r.area);
        r.ownFlow = r.consumption * r.population / kSecondsPerDay;
        if (pointFlow) {
            const double fp = a.point.Get(*s);
            r.pointFlow = fp == kMissingValue ? 0.0 : fp;
        }
    }
    if (result.MissingParameters()) return result;

    // 2. The sums over each section and everything upstream of it, per network.
    std::vector<UpstreamTotals> totals;
    auto totalsOf = [&](const CTopologyStorage* topology) -> const UpstreamTotals* {
        if (!topology) return nullptr;
        for (const auto& t : totals)
            if (t.topology == topology) return &t;
        totals.push_back(Sum(*topology, sections, records));
        return &totals.back();
    };

    // 3. Delete the old results and write the new ones.
    CBatchWriteFrame frame;
    result.results.resize(sections.size());
    for (std::size_t i = 0; i < sections.size(); ++i) {
        progress.Advance();
        const auto& s = sections[i];
        if (!s) continue;
        for (const auto& attribute : a.results) attribute.Erase(*s);
        const UpstreamTotals* t = totalsOf(s->Owner());
        const auto index = static_cast<std::size_t>(s->Index());
        if (!t || index >= t->areaAndPopulation.size()) continue;
        const InfluenceSectionResult& r = result.results[i] = Evaluate(records[i], *t, index);
        const double values[kResultCount] = {r.ownFlow,
                                             r.area,
                                             r.population,
                                             r.household / kLitresPerCubicMetre,
                                             r.infiltration / kLitresPerCubicMetre,
                                             r.additional,
                                             r.hourly.kmin,
                                             r.hourly.kmax,
                                             r.summer,
                                             r.winter,
                                             r.total};
        int written = 0;
        for (int k = 0; k < kResultCount; ++k) {
            const CFlowAttribute& attribute = a.results[static_cast<std::size_t>(k)];
            if (result.notFinite.Check(s->GetName(), attribute.Name(), values[k]))
                written += attribute.Set(*s, values[k]);
        }
        if (written == kResultCount) ++result.sectionsWritten;
    }
    if (result.sectionsWritten > 0) {
        Log();
        result.logged = true;
    }
    return result;
}
