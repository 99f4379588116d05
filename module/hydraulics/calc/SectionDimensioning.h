#pragma once
// CSectionDimensioning: how the automatic dimensioning treats one section: the inputs it gives the sewage
// core, the catalogue pipes or slopes it tries and in which order, what it accepts, the status it reports
// for the section and the attributes it writes. It returns the section's result as numbers; showing them
// is the caller's.
//
// Units: FLOW_TOTAL (m3/s) goes to the core as read; slopes are per mille on sections and a fraction in
// the core (per mille / 1000); roughness is mm on sections and in the catalogue and m in the core
// (mm / 1000); the viscosity (m2/s) is passed as entered; the core's minimum diameter (m) times 1000 is
// compared with catalogue inner diameters (mm).
//
// Decisions where the rules leave room:
// - The bracketing loops of the minimum-slope searches stop after kMaxBracketTrials trials and the
//   refining loops after kMaxRefineSteps steps; reaching a bound reports 3430 (filling) or 3438
//   (velocity), as does a refining step whose interpolation gives no finite slope (two points with the
//   same value).
// - Minimum-slope mode with method 1 (by existing diameters; its radio is disabled in that mode but may
//   still be the chosen one) and any method outside 0 to 2: status kStatusMethodNotAvailable (3439) in
//   red after the minimum slope has been computed, nothing written. No slope rule exists for that method,
//   and writing the core's results without a slope would store a calculation that was never made.
// - Method 2 in minimum-diameter mode writes only a consistent calculation: the results of the last chain
//   that ran through without a failure, together with that chain's pipe. When a later chain failed (the
//   core keeps earlier results when a calculation fails, so its state would mix two pipes), the last
//   consistent one is shown and written; when no chain ran through at all nothing is written.
// - In the filling walk the target is compared only after a chain that ran through (after a failed chain
//   the core's filling percentage belongs to an earlier pipe).
// - The inputs of the minimum diameter and slope, the chain of calculations and the round-up rule are
//   CHydraulicSteps, which the individual section page and the calculator use as well.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/gis/DataDefinition.h"
#include "platform/gis/GisSystem.h"
#include "platform/network/CatalogItem.h"
#include "platform/network/Section.h"
#include "platform/sewage/SewageHydraulics.h"

// Status messages of a dimensioned section (catalogue numbers).
constexpr int kStatusNoFlow = 3417;
constexpr int kStatusZeroFlow = 3418;
constexpr int kStatusNoSlope = 3419;
constexpr int kStatusSlopeNotPositive = 3238;
constexpr int kStatusMinDiameterFailed = 3420;
constexpr int kStatusNoCataloguePipe = 3421;
constexpr int kStatusFillingHeightFailed = 3422;
constexpr int kStatusVelocityFailed = 3423;
constexpr int kStatusHydraulicsFailed = 3424;
constexpr int kStatusNoExistingPipe = 3425;
constexpr int kStatusExistingPipeTooSmall = 3426;
constexpr int kStatusNoCriterion = 3428;
constexpr int kStatusNoFillingTarget = 3429;
constexpr int kStatusFillingNotMet = 3430;
constexpr int kStatusNoMinimumDiameter = 3431;
constexpr int kStatusNoPipeForMinimum = 3432;
constexpr int kStatusSlopeModeNoPipe = 3433;
constexpr int kStatusMinSlopeFailed = 3434;
constexpr int kStatusRoundedBelowMinimum = 3435;
constexpr int kStatusRoundedNotPositive = 3436;
constexpr int kStatusNoMinimumVelocity = 3437;
constexpr int kStatusVelocityNotMet = 3438;
constexpr int kStatusMethodNotAvailable = 3439;
constexpr int kStatusSuccess = 3440;
constexpr int kStatusNotFinite = 3456;  // results that are not finite numbers: nothing written

constexpr int kModeMinimumDiameter = 0;
constexpr int kModeMinimumSlope = 1;
constexpr int kMethodWithoutConditions = 0;
constexpr int kMethodExistingDiameters = 1;
constexpr int kMethodConditions = 2;

// The pipe group the sections are dimensioned from: its catalogue item, GUID and name, its pipes in the
// pipe manager's sorted order, and the default roughness and pipe type ID (of the first of those pipes).
struct DimensioningGroup {
    TAVGis::Data::CCatalogItemPtr item;
    std::string guid;
    std::string name;
    std::vector<TAVGis::Data::CCatalogItemPtr> pipes;  // sorted by inner diameter
    double roughness = 0.0;                            // mm
    std::string typeId;
};

// What the run hands over for every section.
struct DimensioningSettings {
    TAVGis::System::CGisSystemPtr system;
    int mode = kModeMinimumDiameter;
    int method = kMethodWithoutConditions;
    bool upstreamCriterion = false;
    bool fillingCriterion = false;
    bool minimumCriterion = false;
    std::optional<double> filling;  // target filling (%); empty when none was entered
    std::optional<double> minimum;  // minimum diameter (mm) or minimum velocity (m/s); empty when none
    int precision = 0;              // decimals of the rounded minimum slope (0 to 3)
    DimensioningGroup group;
    double viscosity = 0.0;  // m2/s
};

// The result of one section. The four values are set together when the section is shown as calculated:
// the inner diameter of its pipe (mm), its slope (per mille), the filling (%) and the partial-fill
// velocity (m/s). `status` is the catalogue number of the status message (0: none), `failed` tells a
// failure from a success, `written` whether the section's attributes were written.
struct DimensioningRow {
    TAVGis::Topology::CSectionPtr section;
    std::string name;
    std::optional<double> diameter;
    std::optional<double> slope;
    std::optional<double> filling;
    std::optional<double> velocity;
    int status = 0;
    bool failed = false;
    bool written = false;
};

class CSectionDimensioning {
public:
    static constexpr int kMaxBracketTrials = 200;
    static constexpr int kMaxRefineSteps = 200;
    static constexpr double kSearchStartOffset = 0.0001;  // slope fraction above the minimum slope
    static constexpr double kFillingTolerance = 0.005;    // %
    static constexpr double kVelocityTolerance = 0.001;   // m/s
    static constexpr double kBracketFirstFactor = 5.0;
    static constexpr double kBracketFactorStep = 50.0;

    explicit CSectionDimensioning(DimensioningSettings settings);

    // Dimensions one section: returns its result and writes its attributes when the rules say so.
    DimensioningRow Dimension(const TAVGis::Topology::CSectionPtr& section) const;

    // x rounded up at `decimals` places (CHydraulicSteps::RoundUp).
    static double RoundUp(double x, int decimals);

    const DimensioningSettings& Settings() const { return m_settings; }

private:
    struct Pipe;
    struct SectionInputs;
    struct Search;

    SectionInputs ReadInputs(const TAVGis::Topology::CSectionPtr& section) const;
    Pipe Describe(const TAVGis::Data::CCatalogItemPtr& item) const;
    double RoughnessOf(const SectionInputs& in, const Pipe& pipe) const;  // m
    static bool Calculations(TAVGis::Sewage::CSewageHydraulics& core, DimensioningRow& row);
    static bool Chain(TAVGis::Sewage::CSewageHydraulics& core, const Pipe& pipe, DimensioningRow& row);
    static void Show(const TAVGis::Sewage::CSewageHydraulics& core, DimensioningRow& row, double diameter,
                     double slope);
    void Write(const TAVGis::Sewage::CSewageHydraulics& core, const TAVGis::Topology::CSectionPtr& section,
               DimensioningRow& row) const;

    void MinimumDiameter(const TAVGis::Topology::CSectionPtr& section, const SectionInputs& in, double flow,
                         TAVGis::Sewage::CSewageHydraulics& core, DimensioningRow& row) const;
    void MinimumSlope(const TAVGis::Topology::CSectionPtr& section, const SectionInputs& in, double flow,
                      TAVGis::Sewage::CSewageHydraulics& core, DimensioningRow& row) const;
    double LargestUpstreamDiameter(const TAVGis::Topology::CSectionPtr& section) const;  // mm
    Search FillingSearch(TAVGis::Sewage::CSewageHydraulics& core, double target, DimensioningRow& row) const;
    Search VelocitySearch(TAVGis::Sewage::CSewageHydraulics& core, double target, DimensioningRow& row) const;

    DimensioningSettings m_settings;
    const TAVGis::Data::CDataDefinition* m_defPipeRef = nullptr;
    const TAVGis::Data::CDataDefinition* m_defSlope = nullptr;
    std::array<const TAVGis::Data::CDataDefinition*, 8> m_defResults{};
};
