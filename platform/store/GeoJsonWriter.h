#pragma once
// CGeoJsonWriter: writes a drawing's network as one GeoJSON FeatureCollection, coordinates as they stand
// (metres of the drawing plane).
//
// Features, in this order: nodes (Point), sections (LineString from the start node through the vertices
// to the end node), catchment areas (Polygon, its ring closed; no geometry when it has no outline).
// Properties: "name", "guid", "entity" ("node", "section", "catchment_area"), "system"; nodes
// "terrain_height"; sections "from_node", "to_node", "level_start", "level_end", "length_2d" (the plan
// length, m; the length of the pipe, when given, is the attribute SECTION_LENGTH); catchment areas "kind",
// "area_ha", "inhabitant_density", "runoff_coefficient", "section" (the name of the section it drains into);
// then every attribute that has a value, under its definition's name. Missing values are left out. Reading
// the file back with CGeoJsonReader and CNetworkImporter gives the same network and attributes (a catchment
// area without an outline has no geometry and is not read back).
#include <filesystem>
#include <ostream>

#include "platform/host/Document.h"

namespace TAVGis::Store {

class CGeoJsonWriter {
public:
    static void Write(TAVHost::Document& doc, std::ostream& out);
    // Writes the file whole or not at all (TAVHost::WriteFileAtomically); false (with `error`) when it
    // cannot be written, is read-only or is the drawing itself, the previous file then left as it was.
    static bool WriteFile(TAVHost::Document& doc, const std::filesystem::path& path, std::string& error);
};

}  // namespace TAVGis::Store
