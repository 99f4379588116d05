#pragma once
// CAutomaticDimensioning: a run of the automatic dimensioning over a selection of sections. It takes the
// sections to calculate from the selection (with "missing only", those whose PIPE_REF, or in minimum-slope
// mode SECTION_SLOPE, is not yet stored), finds the roots of the active system (its sections none of whose
// downstream sections belong to it), opens the longitudinal-profile and label update sessions, checks the
// pipe group and the viscosity, and then visits every root upstream first (CUpstreamVisit), dimensioning
// each section of the set by the rules of CSectionDimensioning. Each section's result is handed to a
// callback as soon as it is known, so that a caller can show progress; the run returns every result and
// how it ended.
//
// Every section is dimensioned once per run: the first time the upstream-first walk reaches it, after
// everything upstream of it. A section reached again, by another downstream path of a division or from a
// later root, is not dimensioned again, so a run costs O(sections + links) however often the network
// divides. On a network without cycles the results are the ones dimensioning a section again for every
// downstream path would leave: a section's result depends only on its own data and the pipes of its
// upstream sections, which are dimensioned before it either way.
//
// Order of effects, which callers rely on: the run stops without touching anything when there is no
// selected section or no root; otherwise `onStarted` is called once the sessions are open, before the group
// and viscosity checks; then one `onRow` per dimensioned section in visiting order. On a network without
// divisions that order is the one of the plain recursive visit from each root in turn.
//
// Decisions:
// - The update sessions are closed on every path out of the run, also when a check stops it or an
//   exception leaves it.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "module/hydraulics/calc/SectionDimensioning.h"
#include "platform/network/CatalogItem.h"
#include "platform/network/Section.h"

// What a run is given.
struct AutomaticDimensioningInputs {
    std::vector<TAVGis::Topology::CSectionPtr> sections;  // the selection, in its order
    int mode = kModeMinimumDiameter;
    int method = kMethodWithoutConditions;
    bool missingOnly = false;  // calculate only sections without a stored result
    bool upstreamCriterion = false;
    bool fillingCriterion = false;
    bool minimumCriterion = false;
    std::optional<double> filling;        // target filling (%)
    std::optional<double> minimum;        // minimum diameter (mm) or minimum velocity (m/s)
    int precision = 0;                    // decimals of the rounded minimum slope
    TAVGis::Data::CCatalogItemPtr group;  // the pipe group; null when none is chosen
    std::optional<double> viscosity;      // m2/s; empty when none was entered
};

// How a run ended.
enum class AutomaticDimensioningStatus {
    Done,
    NoSections,   // nothing selected
    NoRoots,      // no active system, or it has no section
    NoGroup,      // no pipe group chosen
    NoPipes,      // the group has no pipe
    NoViscosity,  // no viscosity, or 0
};

struct AutomaticDimensioningResult {
    AutomaticDimensioningStatus status = AutomaticDimensioningStatus::Done;
    std::set<std::string> toCalculate;                 // GUIDs of the sections to calculate
    std::vector<TAVGis::Topology::CSectionPtr> roots;  // in the order of the active system's selection
    std::vector<DimensioningRow> rows;                 // in visiting order, one per section
};

class CAutomaticDimensioning {
public:
    struct Callbacks {
        std::function<void()> onStarted;                    // the sessions are open
        std::function<void(const DimensioningRow&)> onRow;  // a section has been dimensioned
    };

    static AutomaticDimensioningResult Run(const AutomaticDimensioningInputs& inputs,
                                           const Callbacks& callbacks = {});

    // The group as the rules use it: GUID, name, sorted pipes, roughness and type of the first pipe. Empty
    // pipes when the group has none.
    static DimensioningGroup DescribeGroup(const TAVGis::Data::CCatalogItemPtr& group);
};
