#pragma once
// CPipeCalculation: the hydraulic calculation of one pipe as the individual section page makes it for its
// current section: the minimum (the standard inner diameter that carries the flow at the section's slope, or
// the slope at which the section's pipe carries it), the chosen value offered from it (the group's pipe for
// that diameter, or the minimum slope rounded up), the results of the chosen pipe or slope, and the save of
// those results to the section by the sewage core. The sewage-core object lives from one minimum to the
// next: the results and the save build on the inputs the minimum gave it. A free calculation (the
// hydraulic calculator) runs the same steps on a fresh object (Calculate). The steps with the core are
// CHydraulicSteps, as in the automatic dimensioning.
//
// Units: flow m3/s, roughness kb mm, viscosity m2/s, slopes per mille, diameters mm. Results are given as a
// person reads them (PipeResults).
//
// Decisions:
// - Every minimum first drops the object of the previous one; a minimum whose flow, roughness or viscosity
//   is missing keeps none, so results never come from the inputs of an earlier minimum.
// - The results of a pipe need it to be at least the core's minimum diameter, the results of a slope need
//   it to be at least the core's minimum slope (both above 0): a smaller choice reports its status and
//   computes nothing.
// - The flow time is left out of the results (empty) when the core cannot calculate it (a calculation
//   without a section, or a section without a length), instead of showing the 0 the core holds then.
// - Each computation reports why it computed nothing by a catalogue status (0: computed), so that a dialog
//   can say so; the individual page keeps silent, as its users expect from it.
#include <functional>
#include <optional>
#include <string>

#include "platform/network/CatalogItem.h"
#include "platform/network/Section.h"
#include "platform/sewage/SewageHydraulics.h"

// Why a single calculation computed nothing (catalogue numbers; the chain's failures are 3422 to 3424 and
// the core's minimum diameter failure 3420, as in the automatic dimensioning).
constexpr int kStatusSaveFailed = 3442;
constexpr int kStatusEnterFlow = 3460;
constexpr int kStatusEnterRoughness = 3461;
constexpr int kStatusEnterViscosity = 3462;
constexpr int kStatusEnterSlope = 3463;
constexpr int kStatusChoosePipe = 3464;
constexpr int kStatusNoSlopeForPipe = 3465;
constexpr int kStatusPipeBelowMinimum = 3466;
constexpr int kStatusSlopeBelowMinimum = 3467;
constexpr int kStatusNoChosenValue = 3468;
constexpr int kStatusNoMinimum = 3469;

// What a section offers a single calculation.
struct SectionHydraulicData {
    std::string name;
    std::optional<double> flow;       // FLOW_TOTAL, m3/s
    std::optional<double> roughness;  // PIPE_ROUGHNESS, mm
    std::optional<double> slope;      // SECTION_SLOPE, per mille
    std::string pipeGuid;             // PIPE_REF; empty when none is stored
    // The catalogue pipe PIPE_REF names, with its group, inner diameter (mm), roughness (mm) and pipe type
    // ID; null when none is stored or the catalogue has no such pipe.
    TAVGis::Data::CCatalogItemPtr pipe;
    TAVGis::Data::CCatalogItemPtr group;
    double pipeDiameter = 0.0;
    double pipeRoughness = 0.0;
    std::string pipeTypeId;
};

// The inputs every computation needs.
struct PipeCalculationInputs {
    std::string sectionGuid;          // the section calculated; empty for a free calculation
    std::optional<double> flow;       // m3/s
    std::optional<double> roughness;  // kb, mm
    std::optional<double> viscosity;  // m2/s
};

// A minimum: in minimum-diameter mode the standard inner diameter (mm) of the pipe type, in minimum-slope
// mode the slope (per mille).
struct PipeMinimum {
    int status = 0;  // 0: calculated
    std::optional<double> value;
};

// The hydraulics of a pipe at a slope as a person reads them; set when status is 0.
struct PipeResults {
    int status = kStatusNoMinimum;
    double fillingHeight = 0.0;      // mm
    double fillingPercent = 0.0;     // %
    double fullFlow = 0.0;           // l/s
    double flowPercent = 0.0;        // % of the full-bore flow
    double partialVelocity = 0.0;    // m/s
    double fullVelocity = 0.0;       // m/s
    double velocityPercent = 0.0;    // % of the full-bore velocity
    std::optional<double> flowTime;  // min
    bool Computed() const { return status == 0; }
};

class CPipeCalculation {
public:
    // Minimum-diameter mode: the standard inner diameter (CPipeManager::CalculateMinDiameter for the type of
    // `pipe`) at least the diameter whose full bore carries the flow at `slope`.
    PipeMinimum MinimumDiameter(const PipeCalculationInputs& in, std::optional<double> slope,
                                const TAVGis::Data::CCatalogItemPtr& pipe);
    // Minimum-slope mode: the slope at which the pipe (by GUID; `diameter` its inner diameter as shown, mm)
    // carries the flow at full bore.
    PipeMinimum MinimumSlope(const PipeCalculationInputs& in, const std::string& pipeGuid,
                             std::optional<double> diameter);

    // The results of the last minimum with a pipe (minimum-diameter mode) or a slope in per mille
    // (minimum-slope mode).
    PipeResults ResultsForPipe(const TAVGis::Data::CCatalogItemPtr& pipe);
    PipeResults ResultsForSlope(std::optional<double> slope);

    // Saves the results to the section (CSewageHydraulics::SaveHidDataToSection, with the flag set in
    // minimum-slope mode) inside the longitudinal-profile and label update sessions; `whileOpen` runs after
    // the save, before the sessions are committed, told whether the save succeeded. 0, kStatusNoMinimum
    // without a calculation, or kStatusSaveFailed.
    int Save(bool minimumSlopeMode, const std::function<void(bool saved)>& whileOpen = {});

    bool HasCore() const { return m_core.has_value(); }
    void Reset() { m_core.reset(); }
    const std::optional<TAVGis::Sewage::CSewageHydraulics>& Core() const { return m_core; }

    static SectionHydraulicData ReadSection(const TAVGis::Topology::CSectionPtr& section);
    // The chosen pipe: the smallest pipe of the group whose inner diameter is at least the minimum; null
    // when none is.
    static TAVGis::Data::CCatalogItemPtr ChosenPipe(const std::string& groupName, double minimumMm);
    // The chosen slope: the minimum rounded up at `decimals` places (CHydraulicSteps::RoundUp).
    static double ChosenSlope(double minimumPerMille, int decimals);
    // A free calculation of a pipe at a slope (per mille) on a fresh core object.
    static PipeResults Calculate(const PipeCalculationInputs& in, const TAVGis::Data::CCatalogItemPtr& pipe,
                                 std::optional<double> slope);

private:
    // 0 when flow, roughness and viscosity are above 0, else the status of the first that is not.
    static int CheckInputs(const PipeCalculationInputs& in);
    static PipeResults Run(TAVGis::Sewage::CSewageHydraulics& core);

    std::optional<TAVGis::Sewage::CSewageHydraulics> m_core;
};
