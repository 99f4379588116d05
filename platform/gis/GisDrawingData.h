#pragma once
// The GIS data a drawing keeps: its systems and the active one, the attribute stores of nodes, sections and
// catchment areas, and the global settings stored with the drawing.
#include <map>
#include <string>
#include <vector>

#include "platform/gis/AttributeStore.h"
#include "platform/gis/DataBox.h"
#include "platform/gis/GisSystem.h"
#include "platform/host/Document.h"

namespace TAVGis {

class GisDrawingData : public TAVHost::DocumentExtension {
public:
    static constexpr const char* kKey = "gis";

    std::vector<System::CGisSystemPtr> systems;
    System::CGisSystemPtr activeSystem;
    std::map<std::string, Data::CDataBox> settings;  // global settings stored with the drawing

    Data::CAttributeStore nodeStore{Data::kEntityNode};
    Data::CAttributeStore sectionStore{Data::kEntitySection};
    Data::CAttributeStore catchmentStore{Data::kEntityCatchment};

    Data::CAttributeStore& StoreFor(int entityType);
};

GisDrawingData& GisData(TAVHost::Document& doc);
// The GIS data of the current drawing; throws std::logic_error when no drawing is open.
GisDrawingData& CurrentGisData();

}  // namespace TAVGis
