#pragma once
// CRepositoryManager: the repositories of the active GIS system, by name and version. The one repository
// known is "PREVIEW" version 1, the preview definitions.
//
// Decision: where a system's preview definitions come from. A sewage system (function 0) has the built-in
// definitions of the flow and hydraulic results below (their names are catalogue messages 14110 to 14114);
// a calculator adds its own definition where it is shown (the flow calculations manager asks the
// calculator, not the repository). Definitions are not stored in the drawing: every lookup builds the same
// list, so a drawing never carries a stale one.
//   14110 waste-water flows (sections): FLOW_WASTE_PER, FLOW_WASTE_HOME, FLOW_WASTE_IND, FLOW_TUR_WASTE_HOME,
//         FLOW_ISKI_PEAK
//   14111 rain-water flows (sections): FLOW_RAIN, FLOW_RAIN_IDF, FLOW_IDF_INTENSITY, FLOW_IDF_CONC_TIME
//   14112 design flows (sections): FLOW_SECT_TOTAL, FLOW_TRANSIT, FLOW_TOTAL
//   14113 hydraulics (sections): PIPE_DIA_IN, SECTION_SLOPE, FILLING_PERCENT, VELOCITY_PARTIALFILLED,
//   FLOWTIME 14114 flow divisions (nodes): MAIN_SECT_OUT
// Another system function has no definitions (an empty repository).
#include <string>

#include "platform/selection/PreviewDefinitionRepository.h"

namespace TAVGis::Preview {

class CRepositoryManager {
public:
    static constexpr const char* kPreviewRepository = "PREVIEW";
    static constexpr int kPreviewVersion = 1;

    // The repository of the active system; null without an active system or for another name or version.
    static CPreviewDefinitionRepositoryPtr GetSystemRepository(const std::string& name, int version);
};

}  // namespace TAVGis::Preview
