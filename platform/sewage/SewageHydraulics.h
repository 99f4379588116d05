#pragma once
// CSewageHydraulics: one hydraulic calculation of a section and a pipe, as the dimensioning and the
// calculator drive it: set the inputs, run calculations, read the results, save them to the section.
//
// Units at this boundary: flow m3/s, slope as a fraction (J), roughness kb in m, kinematic viscosity m2/s,
// diameters and filling heights in m, velocities m/s, flow time in minutes, percentages 0 to 100 (flow and
// velocity percentages may exceed 100 above the filling at which the full-bore values are reached).
// The formulas are those of CPipeHydraulics (Prandtl-Colebrook, partial filling by the hydraulic radius).
//
// Decisions:
// - The pipe is looked up by GUID in the pipe catalogue (CPipeManager::GetPipe) at every calculation that
//   needs it; its catalogue inner diameter (mm) is used in m. Only the diameter is taken from the pipe: the
//   roughness is always the one set with SetDHrapavost, so the caller decides between the pipe's and the
//   section's roughness. The section is looked up by GUID in the current drawing's topology
//   (CTopologyMultiStorage) for its plan length (CSection::GetLength2D, m) and for saving.
// - What each calculation needs; it returns false, changing no result, when any of it is missing, zero,
//   negative or not finite (a pipe GUID that names no catalogue pipe, or a pipe whose inner diameter is not
//   above 0, counts as missing), or when the formulas give no answer:
//     CalculateFillingHeight, CalculateVelocityForPartiallyFilled, CalculateHydraulicsValues:
//         flow, slope, roughness, viscosity, pipe
//     CalculateMinimumSlope:                flow, roughness, viscosity, pipe      (the slope is not needed)
//     CalculateMinimumDiameterMinHidRad:    flow, slope, roughness, viscosity     (no pipe needed)
//     CalculateFlowTime:                    as the filling height, and a section whose length is above 0
//   A roughness of 0 fails as well: the catalogue reports an unknown roughness as 0, so a zero here means a
//   missing value rather than a hydraulically smooth pipe.
// - The filling state (filling height, filling percentage and the partial-fill velocity at that height) is
//   kept together with the inputs it was found for (flow, slope, roughness, viscosity, inner diameter). A
//   calculation that needs it uses the kept state when its inputs are unchanged and searches again (and
//   keeps the new state) otherwise, so the usual chain (filling height, velocity, values, flow time) runs
//   the filling-height search once. Whichever calculation computes or reuses the state also stores its three
//   values in the results, so the getters never mix a height of one state with a velocity of another.
// - CalculateFillingHeight fails when the flow exceeds the largest flow the pipe carries with a free
//   surface (about 1.07 x the full-bore flow, near h/D = 0.94); the height is on the rising branch.
// - CalculateHydraulicsValues: full-bore flow and velocity; flow percentage 100 Q / Qfull; velocity
//   percentage 100 v / vfull with v the partial-fill velocity at the filling height.
// - CalculateFlowTime: section length / partial-fill velocity, in minutes.
// - CalculateMinimumSlope stores only GetDMinPad; GetDPad stays the slope that was set.
// - CalculateMinimumDiameterMinHidRad: the smallest diameter (m) whose full-bore flow carries the flow at
//   the slope, searched between 1 mm and 20 m; a larger requirement fails.
// - SaveHidDataToSection writes with CTopoEditor::WriteData (section entity type, the attribute's
//   definition, the section, a value box, the active system) in this order: PIPE_REF (definition from
//   CDDCache::GetPIPE_REF; the pipe GUID as text, a null box, which removes the reference, when no pipe GUID
//   is set) or, in minimum-slope mode, SECTION_SLOPE = GetDPad x 1000 (per mille); then FILLING_HEIGHT,
//   FILLING_PERCENT, FLOW_FULLFILLED, FLOW_PERCENT, VELOCITY_PARTIALFILLED, VELOCITY_FULLFILLED,
//   VELOCITY_PERCENT, FLOWTIME, each the value held now (0 for a result never calculated). Every write is
//   attempted; the result is false when the section is unknown (nothing written) or any write failed.
//   Transactions and update sessions are the caller's.
#include <optional>
#include <string>

namespace TAVGis::Sewage {

class CSewageHydraulics {
public:
    static constexpr double kMillimetresPerMetre = 1000.0;  // catalogue diameters (mm) -> m
    static constexpr double kPerMillePerFraction = 1000.0;  // slope fraction -> SECTION_SLOPE (per mille)

    void SetDProtok(double flow) { m_flow = flow; }       // m3/s
    void SetDPad(double slope) { m_slope = slope; }       // fraction
    void SetDHrapavost(double kb) { m_roughness = kb; }   // m
    void SetDViskozitet(double nu) { m_viscosity = nu; }  // m2/s
    void SetStrPipeGuid(const std::string& guid) { m_pipeGuid = guid; }
    void SetStrSectionGuid(const std::string& guid) { m_sectionGuid = guid; }

    // Full-bore flow and velocity of the pipe at the slope, and the flow and velocity percentages.
    bool CalculateHydraulicsValues();
    // Filling height at which the pipe carries the flow at the slope.
    bool CalculateFillingHeight();
    // Velocity at the current filling height.
    bool CalculateVelocityForPartiallyFilled();
    // Smallest slope at which the pipe carries the flow at full bore.
    bool CalculateMinimumSlope();
    // Smallest diameter whose full-bore flow carries the flow at the slope.
    bool CalculateMinimumDiameterMinHidRad();
    // Section length over the partial-fill velocity.
    bool CalculateFlowTime();

    double GetDVisinaIspunjenosti() const { return m_fillingHeight; }     // m
    double GetDPostotakIspunjnosti() const { return m_fillingPercent; }   // %
    double GetDBrzinaDjelomicnoIsp() const { return m_velocityPartial; }  // m/s
    double GetDBrzinaPunog() const { return m_velocityFull; }             // m/s
    double GetDProtok() const { return m_flow; }                          // m3/s
    double GetDProtokPunog() const { return m_flowFull; }                 // m3/s
    double GetDPostotakProtoka() const { return m_flowPercent; }          // %
    double GetDPostotakBrzina() const { return m_velocityPercent; }       // %
    double GetDPad() const { return m_slope; }                            // fraction
    double GetDMinPad() const { return m_minSlope; }                      // fraction
    double GetDMinPromjerHidRad() const { return m_minDiameter; }         // m
    double GetDVrijemeTecenja() const { return m_flowTime; }              // min
    const std::string& GetStrPipeGuid() const { return m_pipeGuid; }
    const std::string& GetStrSectionGuid() const { return m_sectionGuid; }

    // Writes the results to the section: PIPE_REF, or with minSlopeMode SECTION_SLOPE (per mille), then
    // FILLING_HEIGHT, FILLING_PERCENT, FLOW_FULLFILLED, FLOW_PERCENT, VELOCITY_PARTIALFILLED,
    // VELOCITY_FULLFILLED, VELOCITY_PERCENT, FLOWTIME. False when the section is unknown or a write failed.
    bool SaveHidDataToSection(bool minSlopeMode);

private:
    // The inputs a filling state depends on (SI units as above; the diameter in m).
    struct SFillingInputs {
        double dFlow = 0.0;
        double dSlope = 0.0;
        double dRoughness = 0.0;
        double dViscosity = 0.0;
        double dDiameter = 0.0;
        bool operator==(const SFillingInputs&) const = default;
    };
    struct SFillingState {
        SFillingInputs inputs;
        double dHeight = 0.0;           // m
        double dPercent = 0.0;          // 100 h / D
        double dPartialVelocity = 0.0;  // m/s
    };

    // Inner diameter (m) of the pipe set by GUID; nothing when the pipe is unknown or has no diameter.
    std::optional<double> PipeDiameter() const;
    // The filling state for the current inputs: the kept one when its inputs are unchanged, else a new
    // search (kept on success). Nothing when an input is missing or the flow does not run in the pipe.
    std::optional<SFillingState> FillingState();
    void StoreFilling(const SFillingState& state);

    double m_flow = 0.0;
    double m_slope = 0.0;
    double m_roughness = 0.0;
    double m_viscosity = 0.0;
    std::string m_pipeGuid;
    std::string m_sectionGuid;
    double m_fillingHeight = 0.0;
    double m_fillingPercent = 0.0;
    double m_velocityPartial = 0.0;
    double m_velocityFull = 0.0;
    double m_flowFull = 0.0;
    double m_flowPercent = 0.0;
    double m_velocityPercent = 0.0;
    double m_minSlope = 0.0;
    double m_minDiameter = 0.0;
    double m_flowTime = 0.0;
    std::optional<SFillingState> m_filling;  // the last filling state found
};

}  // namespace TAVGis::Sewage
