#pragma once
// What the desktop host does with drawing files, without any window: a new drawing, opening and saving
// (platform/store's drawing file), importing a network or a pipe catalogue into the current drawing and
// exporting it as GeoJSON. Errors are thrown as std::runtime_error with a message for the person.
#include <string>

#include "platform/host/Document.h"

namespace SewerGui::Drawing {

// Closes the current drawing (if any) and makes a new, empty one current.
TAVHost::Document& New(const std::string& name = "Drawing1.gpkg");
// Closes the current drawing (if any) and makes the drawing read from `path` current.
TAVHost::Document& Open(const std::string& path);
// Saves the drawing to `path` (in place when it is the file it came from); the path becomes its own.
void Save(TAVHost::Document& doc, const std::string& path);
// Imports an EPA SWMM 5 file (.inp), a GeoJSON file (.geojson, .json) or a pipe catalogue (.csv) into the
// drawing; returns the import report.
std::string Import(TAVHost::Document& doc, const std::string& file);
// Writes the drawing as GeoJSON; returns a one-line summary.
std::string Export(TAVHost::Document& doc, const std::string& file);

}  // namespace SewerGui::Drawing
