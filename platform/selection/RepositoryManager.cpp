#include "platform/selection/RepositoryManager.h"

#include <boost/make_shared.hpp>

#include "platform/gis/DataDefinition.h"
#include "platform/gis/ModuleConfiguration.h"
#include "platform/gis/SystemManager.h"

namespace TAVGis::Preview {

namespace {
constexpr int kSewageSystemFunction = 0;

struct BuiltIn {
    int nameMessage;
    int entityType;
    std::vector<std::string> columns;
};

const std::vector<BuiltIn>& BuiltIns() {
    static const std::vector<BuiltIn> list = {
        {14110,
         Data::kEntitySection,
         {"FLOW_WASTE_PER", "FLOW_WASTE_HOME", "FLOW_WASTE_IND", "FLOW_TUR_WASTE_HOME", "FLOW_ISKI_PEAK"}},
        {14111,
         Data::kEntitySection,
         {"FLOW_RAIN", "FLOW_RAIN_IDF", "FLOW_IDF_INTENSITY", "FLOW_IDF_CONC_TIME"}},
        {14112, Data::kEntitySection, {"FLOW_SECT_TOTAL", "FLOW_TRANSIT", "FLOW_TOTAL"}},
        {14113,
         Data::kEntitySection,
         {"PIPE_DIA_IN", "SECTION_SLOPE", "FILLING_PERCENT", "VELOCITY_PARTIALFILLED", "FLOWTIME"}},
        {14114, Data::kEntityNode, {"MAIN_SECT_OUT"}},
    };
    return list;
}
}  // namespace

CPreviewDefinitionRepositoryPtr CRepositoryManager::GetSystemRepository(const std::string& name,
                                                                        int version) {
    if (name != kPreviewRepository || version != kPreviewVersion) return {};
    const auto system = System::CSystemManager::GetActiveSystem();
    if (!system) return {};
    auto repository = boost::make_shared<CPreviewDefinitionRepository>();
    if (system->GetSystemFunction() != kSewageSystemFunction) return repository;
    for (const auto& b : BuiltIns())
        repository->Add(boost::make_shared<CPreviewDefinition>(CModuleConfiguration::GetMsg(b.nameMessage),
                                                               b.entityType, b.columns));
    return repository;
}

}  // namespace TAVGis::Preview
