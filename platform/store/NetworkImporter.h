#pragma once
// CNetworkImporter: puts an imported network (the neutral model of ImportModel.h) into a drawing.
//
// - Nodes get their position and terrain height; a node without a position cannot be placed and is not
//   imported (nor are the sections that need it); a node whose name the drawing
//   already has is not created again: the existing node is used, so an import can extend a network.
// - Sections get their vertices, "PIPE_DIA_IN" (m) from the circular diameter, "SECTION_LENGTH" (m)
//   from the given length and their levels at both nodes; a section or catchment area whose name the
//   drawing already has is skipped. The given length is what the network calculates with
//   (CSection::GetLength2D), so a schematic drawing keeps the lengths of the pipes as built.
// - Catchment areas get kind, area (ha), inhabitant density, runoff coefficient and outline, and are
//   linked to a section by the readers' rule (ResolveCatchmentSections).
// - Extra properties: a property named like an attribute definition of the element's entity type is
//   written to that attribute; a few property names fill the element's own fields when the source gave
//   none (they are what CGeoJsonWriter writes): node "terrain_height"; section "level_start",
//   "level_end"; catchment area "kind", "area_ha" (wins over the area of the outline), "inhabitant_density",
//   "runoff_coefficient" and "section" (the name of the section it drains into); any element "guid" (kept
//   when no entity of the drawing has it, else a new GUID is made). "entity", "system", "from_node",
//   "to_node" and "length_2d" describe what the network itself holds and are not kept. Every other property
//   is counted as unmapped by name; a value that does not fit its attribute's type is counted as rejected.
// - What the drawing has no place for is counted too: Manning roughness of sections. Noted as well: the
//   sections whose given length (SECTION_LENGTH, from the reader or a property) differs from the plan
//   length of the geometry by more than kLengthTolerance (the given length is used), and the sections
//   left without a circular diameter (PIPE_DIA_IN), with the first kMaxNamesListed of their names.
// Nothing is dropped without being counted; FormatReport prints the reader's and the importer's counts.
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/gis/GisSystem.h"
#include "platform/host/Document.h"
#include "platform/store/ImportModel.h"

namespace TAVGis::Store {

struct SNetworkImportResult {
    std::size_t nodesAdded = 0;
    std::size_t nodesReused = 0;           // names the drawing already had
    std::size_t nodesWithoutPosition = 0;  // not imported
    std::size_t sectionsAdded = 0;
    std::size_t sectionsSkipped = 0;  // name already in the drawing, or a node was not imported
    std::size_t catchmentsAdded = 0;
    std::size_t catchmentsSkipped = 0;
    std::size_t catchmentsLinked = 0;
    std::size_t catchmentsUnlinked = 0;
    std::size_t attributesWritten = 0;
    std::size_t valuesRejected = 0;    // a property value that does not fit its attribute's type
    std::size_t roughnessNotKept = 0;  // sections whose Manning n has no attribute
    std::size_t lengthsDiffering = 0;  // sections whose given length differs from the plan length
    std::size_t withoutDiameter = 0;   // sections without PIPE_DIA_IN (not circular, or no cross-section)
    std::vector<std::string> withoutDiameterNames;          // the first kMaxNamesListed of them
    std::map<std::string, std::size_t> unmappedProperties;  // property name -> elements
    std::vector<std::string> messages;  // why elements were skipped (at most kMaxMessages)
    std::size_t messageCount = 0;
};

class CNetworkImporter {
public:
    static constexpr double kLengthTolerance = 0.01;  // relative
    static constexpr std::size_t kMaxMessages = 1000;
    static constexpr std::size_t kMaxNamesListed = 5;

    // Entities join `system`; the document need not be the current one.
    CNetworkImporter(TAVHost::Document& doc, System::CGisSystemPtr system);

    // The system imported entities join: the drawing's active one, else its first sewage system, else a
    // new sewage system named after the drawing, made active.
    static System::CGisSystemPtr SystemFor(TAVHost::Document& doc);

    // Maps the network into the drawing (links catchment areas first when the reader did not).
    SNetworkImportResult Import(SImportNetwork& network);

    // The report printed after an import: the reader's counts and warnings, then the importer's.
    static std::string FormatReport(const SImportReport& read, const SNetworkImportResult& result,
                                    std::size_t maxWarnings = 20);

private:
    TAVHost::Document& m_doc;
    System::CGisSystemPtr m_system;
};

}  // namespace TAVGis::Store
