#pragma once
// CSewageHydraulics: one hydraulic calculation of a section and a pipe, as the dimensioning and the
// calculator drive it: set the inputs, run calculations, read the results, save them to the section.
//
// Units at this boundary: flow m3/s, slope as a fraction (J), roughness kb in m, kinematic viscosity m2/s,
// diameters and filling heights in m, velocities m/s, flow time in minutes, percentages 0 to 100. The pipe
// comes from the pipe catalogue by GUID (its inner diameter, catalogue mm, is used in m); the section (for
// its length) by GUID. The formulas are those of CPipeHydraulics (Prandtl-Colebrook, partial filling by the
// hydraulic radius). Every calculation returns false, leaving earlier results as they were, when an input
// it needs is missing or not positive.
#include <string>

namespace TAVGis::Sewage {

class CSewageHydraulics {
public:
    void SetDProtok(double flow) { m_flow = flow; }           // m3/s
    void SetDPad(double slope) { m_slope = slope; }           // fraction
    void SetDHrapavost(double kb) { m_roughness = kb; }       // m
    void SetDViskozitet(double nu) { m_viscosity = nu; }      // m2/s
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

    double GetDVisinaIspunjenosti() const { return m_fillingHeight; }      // m
    double GetDPostotakIspunjnosti() const { return m_fillingPercent; }    // %
    double GetDBrzinaDjelomicnoIsp() const { return m_velocityPartial; }   // m/s
    double GetDBrzinaPunog() const { return m_velocityFull; }              // m/s
    double GetDProtok() const { return m_flow; }                           // m3/s
    double GetDProtokPunog() const { return m_flowFull; }                  // m3/s
    double GetDPostotakProtoka() const { return m_flowPercent; }           // %
    double GetDPostotakBrzina() const { return m_velocityPercent; }        // %
    double GetDPad() const { return m_slope; }                             // fraction
    double GetDMinPad() const { return m_minSlope; }                       // fraction
    double GetDMinPromjerHidRad() const { return m_minDiameter; }          // m
    double GetDVrijemeTecenja() const { return m_flowTime; }               // min
    const std::string& GetStrPipeGuid() const { return m_pipeGuid; }
    const std::string& GetStrSectionGuid() const { return m_sectionGuid; }

    // Writes the results to the section: PIPE_REF, or with minSlopeMode SECTION_SLOPE (per mille), then
    // FILLING_HEIGHT, FILLING_PERCENT, FLOW_FULLFILLED, FLOW_PERCENT, VELOCITY_PARTIALFILLED,
    // VELOCITY_FULLFILLED, VELOCITY_PERCENT, FLOWTIME. False when the section is unknown.
    bool SaveHidDataToSection(bool minSlopeMode);

private:
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
};

}  // namespace TAVGis::Sewage
