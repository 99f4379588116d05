#pragma once
// CFlowInputData: writes the per-section inputs of the flow methods: the density coefficient, the runoff
// and reduction coefficients (from an area exponent), the inlet time, the ATV frequency and duration, the
// Bulgarian coefficients, the pipe roughness and the population.
//
// The rows of the input list, in order; a row with an attribute writes its value there. The area exponent
// n (row 1) is not written as such: on a section with total catchment area A (ha, kind 1) and length L (m)
//   FLOW_COEFRET = 1.0 when A <= 1, else 1 / A^(1/n)      (only when A > 0)
//   FLOW_COEFRED = 1 - 0.005 x sqrt(L)                    (only when L > 0)
// and an n of 0 writes neither.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/network/Section.h"

struct FlowInputRow {
    const char* attribute;    // written attribute; null for a separator or the area exponent
    const char* stateKey;     // key of the value text in the dialog state; null for a separator
    const char* defaultText;  // the value shown when nothing is stored
    int labelMsg;             // catalogue message of the name column (0: the separator text)
    int descriptionMsg;       // message shown when the row is selected (0: none, -1: keep the text)
};

struct FlowInputDataResult {
    bool written = false;  // the last write succeeded
    int writes = 0;
};

class CFlowInputData {
public:
    using CSectionPtr = TAVGis::Topology::CSectionPtr;
    static constexpr int kRows = 11;
    static constexpr int kAreaExponentRow = 1;
    static constexpr int kPopulationRow = 10;
    static constexpr double kReductionPerRootMetre = 0.005;
    static const std::array<FlowInputRow, kRows>& Rows();
    static bool IsSeparator(int row);

    // The runoff coefficient for an area exponent n and a total catchment area A (ha): empty when A <= 0
    // or n == 0.
    static std::optional<double> RunoffCoefficient(double n, double area);
    // The reduction coefficient for a section length (m): empty when the length is not above 0.
    static std::optional<double> ReductionCoefficient(double length);

    // `values[row]`: the value of a ticked row, empty for an unticked row (separators are never written).
    using Values = std::array<std::optional<double>, kRows>;
    // Writes the ticked rows on every section of the list, section by section, rows in order.
    static FlowInputDataResult Write(const Values& values, const std::vector<CSectionPtr>& sections);
};
