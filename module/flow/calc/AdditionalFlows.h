#pragma once
// CAdditionalFlows: the flows that come on top of waste water and rain, per section: foreign water, a point
// flow, an additional rain flow in the waste channel and a user flow.
//
// Units: values typed in l/s (the specific flow in l/s per m; koefFlow and koef2 in l/s per inhabitant)
// are divided by 1000 and written in m3/s; the factor m is a plain share.
//   foreign water, by influence areas   FLOW_FOREIGN = koefFlow x A x d / 1000, only when A x d > 0
//                  as a share of waste  FLOW_FOREIGN = (FLOW_WASTE_HOME + FLOW_WASTE_IND) x m, only when both
//                                       are stored
//                  by specific flow     FLOW_FOREIGN = specificFlow x length / 1000
//   point flow     inflow               FLOW_POINT = ulaz / 1000
//                  overflow             FLOW_POINT = -(koefTockasti / 1000) (leaves the section)
//   additional rain flow                FLOW_ADDITIONAL = d x A / 1000 x koef2 (also when 0)
//   user flow                           FLOW_USER = user / 1000
// A is the household catchment area (ha, 0 without one) and d its average inhabitant density
// (inhabitants/ha, 1.0 without one), both from CCatchmentAreaManager; the length is CSection::GetLength2D.
// Each section is then tagged.
#include <functional>
#include <vector>

#include "platform/network/Section.h"

enum class ForeignWaterMethod { InfluenceAreas = 0, ShareOfWaste = 1, SpecificFlow = 2 };
enum class PointFlowKind { Inflow = 0, Overflow = 1 };

struct AdditionalFlowsInput {
    bool foreign = false;
    ForeignWaterMethod foreignMethod = ForeignWaterMethod::InfluenceAreas;
    double koefFlow = 1.0;       // by influence areas
    double faktorM = 0.1;        // share of the household and industrial waste water
    double specificFlow = 0.01;  // l/s per m
    bool point = false;
    PointFlowKind pointKind = PointFlowKind::Inflow;
    double ulaz = 10.0;         // inflow, l/s
    double koefTockasti = 1.0;  // overflow, l/s
    bool additional = false;
    double koef2 = 0.2;  // additional rain flow factor
    bool user = false;
    double userFlow = 0.0;  // l/s
};

struct AdditionalFlowsResult {
    bool written = false;  // the last write succeeded
    int writes = 0;
    int sectionsTagged = 0;
};

class CAdditionalFlows {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    static constexpr double kPerThousand = 1000.0;

    using SectionDone = std::function<void(const CSectionPtr&)>;
    // Writes the chosen flows on every section of the list, in list order (empty handles skipped).
    static AdditionalFlowsResult Run(const AdditionalFlowsInput& in, const std::vector<CSectionPtr>& sections,
                                     const SectionDone& tag = {});
};
