#include "platform/gis/GisDrawingData.h"

#include <stdexcept>

namespace TAVGis {

Data::CAttributeStore& GisDrawingData::StoreFor(int entityType) {
    switch (entityType) {
        case Data::kEntityNode:
            return nodeStore;
        case Data::kEntitySection:
            return sectionStore;
        case Data::kEntityCatchment:
            return catchmentStore;
        default:
            throw std::invalid_argument("unknown entity type");
    }
}

GisDrawingData& GisData(TAVHost::Document& doc) {
    return doc.Extension<GisDrawingData>(GisDrawingData::kKey);
}
GisDrawingData& CurrentGisData() {
    return GisData(CurrentDocument());
}

}  // namespace TAVGis
