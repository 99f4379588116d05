#pragma once
// A canonical text of everything a drawing holds (systems, network with geometry and attributes,
// drawing entities with layer, colour and extended data, registered applications, dictionaries,
// catalogues, settings), so tests compare two drawings as texts and see the difference.
#include <string>

#include "platform/host/Document.h"

namespace testsupport {

// withObjectIds false leaves out object ids and the drawing entities that are not network entities, for
// drawings rebuilt through an import.
std::string DumpDrawing(TAVHost::Document& doc, bool withObjectIds = true);

}  // namespace testsupport
