#include "module/flow/calc/FlowInputData.h"

#include <cmath>

#include "module/flow/calc/FlowAttribute.h"
#include "platform/network/CatchmentArea.h"
#include "platform/sewage/CatchmentAreaManager.h"

const std::array<FlowInputRow, CFlowInputData::kRows>& CFlowInputData::Rows() {
    static const std::array<FlowInputRow, kRows> rows = {{
        {"FLOW_COEFDEN", "TAVX_FLOW_INPUT_DATA_1", "1.0", 1137, 2045},
        {nullptr, "TAVX_FLOW_INPUT_DATA_2", "6.0", 2043, 2046},
        {"FLOW_INTIME", "TAVX_FLOW_INPUT_DATA_3", "5.0", 2044, 2047},
        {"FLOW_ATV_N", "TAVX_FLOW_INPUT_DATA_4", "1.0", 2615, 2615},
        {"FLOW_ATV_T", "TAVX_FLOW_INPUT_DATA_5", "15.0", 2616, 2616},
        {"FLOW_BLG_RET", "TAVX_FLOW_INPUT_DATA_6", "1.2", 6126, 0},
        {"FLOW_BLG_WASTE", "TAVX_FLOW_INPUT_DATA_7", "1.0", 6127, 6127},
        {nullptr, nullptr, "", 0, 0},
        {"PIPE_ROUGHNESS", "TAVX_FLOW_INPUT_DATA_8", "1.0", 50046, 50046},
        {nullptr, nullptr, "", 0, 3894},
        {"FLOW_SECTION_POPULATION", "TAVX_FLOW_INPUT_DATA_10", "1.0", 9133, -1},
    }};
    return rows;
}

bool CFlowInputData::IsSeparator(int row) {
    return row >= 0 && row < kRows && Rows()[static_cast<std::size_t>(row)].stateKey == nullptr;
}

std::optional<double> CFlowInputData::RunoffCoefficient(double n, double area) {
    if (n == 0.0 || !(area > 0.0)) return std::nullopt;
    return area <= 1.0 ? 1.0 : 1.0 / std::pow(area, 1.0 / n);
}

std::optional<double> CFlowInputData::ReductionCoefficient(double length) {
    if (!(length > 0.0)) return std::nullopt;
    return 1.0 - kReductionPerRootMetre * std::sqrt(length);
}

FlowInputDataResult CFlowInputData::Write(const Values& values, const std::vector<CSectionPtr>& sections) {
    FlowInputDataResult r;
    std::array<std::optional<CFlowAttribute>, kRows> attributes;
    for (int row = 0; row < kRows; ++row)
        if (const char* name = Rows()[static_cast<std::size_t>(row)].attribute)
            attributes[static_cast<std::size_t>(row)].emplace(name);
    const CFlowAttribute runoff("FLOW_COEFRET"), reduction("FLOW_COEFRED");
    auto record = [&r](int ok) {
        r.written = ok != 0;
        ++r.writes;
    };
    for (const auto& s : sections) {
        if (!s) continue;
        for (int row = 0; row < kRows; ++row) {
            const auto& value = values[static_cast<std::size_t>(row)];
            if (!value || IsSeparator(row)) continue;
            if (row == kAreaExponentRow) {
                if (*value == 0.0) continue;
                double area = 0.0;  // ha
                TAVGis::Sewage::CCatchmentAreaManager::GetInstance()->GetCATotalArea(
                    s, area, TAVGis::Topology::kCatchmentTotal);
                if (auto c = RunoffCoefficient(*value, area)) record(runoff.Set(*s, *c));
                if (auto c = ReductionCoefficient(s->GetLength2D())) record(reduction.Set(*s, *c));
                continue;
            }
            record(attributes[static_cast<std::size_t>(row)]->Set(*s, *value));
        }
    }
    return r;
}
