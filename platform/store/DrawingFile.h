#pragma once
// CDrawingFile: a drawing on disk, one OGC GeoPackage (SQLite) per drawing.
//
// Layout (schema version kSchemaVersion):
// - GeoPackage tables gpkg_spatial_ref_sys, gpkg_contents and gpkg_geometry_columns; application id
//   "GPKG", user_version 10300. The drawing plane is the undefined Cartesian system (srs_id -1): the
//   coordinates are metres of whatever projected system the drawing was made in.
// - Feature layers "nodes" (POINT), "sections" (LINESTRING: start node, vertices, end node) and
//   "catchment_areas" (POLYGON, NULL geometry when the area has no outline). Each has the columns guid,
//   name, system_id, object_id, layer, color_index, its own fixed columns (node: terrain_height;
//   section: start_node_guid, end_node_guid, level_start, level_end; catchment area: kind, area_ha,
//   inhabitant_density, runoff_coefficient, section_guid) and one column per attribute definition of its
//   entity type, named after the definition (NULL = no value). Rows are in the order of the entities.
// - tav_metadata (format, schema_version), tav_attribute_definitions (entity type, name, value type,
//   unit, column), tav_systems (with the active one), tav_entities (drawing entities that are not network
//   entities), tav_registered_apps, tav_xdata (per entity and application the chain of group code and
//   typed value), tav_dictionaries and tav_dictionary_entries, tav_catalogs, tav_catalog_items (parent
//   and order kept) and tav_catalog_properties, tav_settings.
// - Typed values (settings, catalogue properties, extended data) carry a type word: "null", "double",
//   "int", "text" or "list" (a JSON array of texts); their value columns are declared BLOB, so SQLite keeps
//   each value as it was bound.
//
// After an open or a save the document remembers what the file holds: the file's identity (device, inode,
// size, modification time), the fid of every entity's row, the attribute columns, and a fingerprint of
// every row's geometry and fixed columns (with the drawing entity's layer, colour and extended data) and
// of each small table. The attribute stores track which values changed since (CAttributeStore).
//
// Saving to the file the drawing was opened from or last saved to writes in place when the file is still
// the one remembered, has the current schema, the entities are the same (none added or removed) and the
// attribute definitions are those of the file: in ONE SQLite transaction on the file itself (rollback
// journal "<file>-journal", synchronous), it updates by fid the attribute values that changed, the
// geometry and fixed columns of the rows whose fingerprint changed (with their extended data and the
// layer's extent in gpkg_contents), and rewrites whole the small tables whose fingerprint changed (systems,
// settings, catalogues, dictionaries, registered applications, other drawing entities). A kill leaves the
// old or the new values; tables other tools added stay. A save with nothing changed writes nothing.
//
// Every other save writes the whole drawing: a new drawing, a save to another path, a file of an older
// schema, added or removed entities, a new or changed attribute definition (the file would need a new
// column), a file changed or replaced by another program, or one with a journal beside it. The whole
// drawing goes in one SQLite transaction into "<file>.saving" beside the target, which is flushed to disk
// and renamed over the target, so a crash or kill at any moment leaves either the previous drawing or the
// new one, never a mixture. A stale "<file>.saving" of an interrupted save is replaced by the next save.
// The tables and layers other programs added to the file being replaced are copied into the new one
// (CopyForeignTables). A save follows a symbolic link, refuses a read-only drawing, keeps the file's
// permissions and holds the drawing's writer lock (CDrawingLock: the lock the writing process took when it
// opened the drawing, else one taken for the save), so two programs never save the same drawing at once;
// a save over the file this drawing came from, written since by another program (one that took no lock),
// is refused rather than overwrite that program's change.
//
// Opening reads the entities, their geometry and fixed columns, and everything else except the attribute
// columns of the three layers: those are read the first time a session uses them (CAttributeStore's
// pending columns), one query per column, under the file's read lock, and only while the file is still
// the one remembered (stamp: identity, size, modification time, SQLite's change counter, no write-ahead
// log); a value that does not fit its definition is reported then. A session of transit and total on
// 200,000 sections thus reads a dozen of the sections' 70 columns. A whole-drawing save reads every
// pending column first. Files of an older schema are read whole.
//
// A value the loader cannot read (an attribute value that does not fit its definition or is binary data, a
// dictionary entry, setting, catalogue property or extended-data value of the wrong type, such as a number
// that was not finite when written) is left empty and reported in one warning line per read (the count
// and the first one); only a drawing that cannot be read as a whole (no drawing tables, a damaged file, a
// section without its nodes, broken geometry) is refused.
//
// Opening first rolls back an interrupted in-place save (SQLite plays its journal back under a write lock
// and a journal with nothing to restore is removed), then reads the file read-only: a file that is not a
// drawing, is truncated or damaged, or has a newer schema is refused with CDrawingFileError and left
// untouched. Attribute definitions the program does not know yet are added to the data configuration with
// the file's value type.
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/host/Document.h"
#include "platform/store/DrawingFileError.h"

namespace TAVGis::Store {

class CDrawingFile {
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr const char* kFormatName = "TAVX sewer drawing";
    static constexpr int kSrsId = -1;  // undefined Cartesian plane, metres

    // Reads a drawing into a new document named after the file, with its path set. The document is not
    // made current. Throws CDrawingFileError.
    static std::unique_ptr<TAVHost::Document> Open(const std::filesystem::path& path);

    // Writes the document to `path`, in place or replacing the file, atomically either way. Throws
    // CDrawingFileError; the file at `path` and the document's change tracking are then unchanged.
    static void Save(TAVHost::Document& doc, const std::filesystem::path& path);

    // Reads every attribute value an opened drawing has left in its file so far (see above); for work that
    // uses all of them, such as an export. Throws CDrawingFileError when the file was changed by another
    // program since it was opened or saved.
    static void ReadAllColumns(TAVHost::Document& doc);

    // Where the loader's warnings go, one line each (values it cannot read, left empty): standard error
    // unless a host sets another handler (an empty one drops them).
    using WarningHandler = std::function<void(const std::string&)>;
    static void SetWarningHandler(WarningHandler handler);

    // The temporary file a save writes before it renames it over `path`.
    static std::filesystem::path SavingPath(const std::filesystem::path& path);
};

}  // namespace TAVGis::Store
