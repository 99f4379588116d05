#pragma once
// CHydraulicsExportFile: the hydraulics export file: an empty first line, the header "1;2;...;39", one
// line of 39 semicolon-separated fields per exported section, an empty line and the legend (catalogue
// messages 4495 to 4533, one per line, no line end after the last). Lines end with CR LF; every piece
// of text is converted to the ANSI code page (CCodePage::ToAnsi) and written with its bytes in full.
//
// Field sources (empty when the source is missing, or where marked, when the value is 0):
//   1 name, 2 names of the catchment areas of kind 1 joined by "-", 3 empty, 4/5 start and end node
//   names, 6 names of the upstream sections joined by "-", 7 catchment area of kind 1 "%.5f" (ha; 0),
//   8/9 FLOW_IDF_AREA_CORRECTED_SECT/_TOTAL "%.5f", 10 FLOW_WASTE_IND x 1000 "%.4f" (l/s),
//   11 (FLOW_WASTE_HOME + FLOW_FOREIGN) x 1000 "%.4f" (0), 12 field 11 + field 10 "%.4f" (0), 13 empty,
//   14 FLOW_IDF_INTENSITY, 15 FLOW_RAIN_IDF, 16 FLOW_TOTAL, 17 name, 18 plan length (m, always),
//   19 SECTION_SLOPE (null), 20 pipe type id, 21 inner diameter (mm; 0), 22 roughness (mm; 0),
//   23/24 invert levels at the start and end node, 25 terrain height at the start node,
//   26 FILLING_HEIGHT + field 23 (water level at the start), 27 VELOCITY_FULLFILLED (null),
//   28 FLOW_FULLFILLED (null), 29 VELOCITY_PARTIALFILLED (null), 30 FLOW_INTIME, 31 FLOW_IDF_TIME,
//   32 FLOW_IDF_MJ_TIME, 33 FLOW_IDF_CONC_TIME, 34 FLOW_PERCENT (null), 35 catchment area of kind 2
//   (0), 36 average inhabitant density (0), 37 names of kind 2, 38 catchment area of kind 4 (0),
//   39 names of kind 4. Fields 14 to 34 use "%.4f".
// "Missing" is a null value or the getters' sentinel -1000000; "(null)" fields test only for no value.
// Catchment totals and the density count only above 0 (the catchment manager's convention).
//
// Decisions:
// - Field 26 is left empty when the section has no level at its starting node (field 23 empty): there
//   is no water level without an invert level.
// - The catchment manager's corrected total area is not queried: no field shows it.
#include <ostream>
#include <string>
#include <vector>

#include "platform/network/Section.h"

class CHydraulicsExportFile {
public:
    static constexpr int kFieldCount = 39;
    static constexpr int kFirstLegendMessage = 4495;
    static constexpr int kLastLegendMessage = 4533;
    static constexpr const char* kLineEnd = "\r\n";

    // The 39 fields of a section's data line (UTF-8); empty when the section has no starting or no
    // ending node (such a section gets no line).
    static std::vector<std::string> Fields(const TAVGis::Topology::CSectionPtr& section);
    static std::string Header();
    // Writes the whole file to a byte stream.
    static void WriteTo(std::ostream& out, const std::vector<TAVGis::Topology::CSectionPtr>& sections);
    // Writes the file whole or not at all (TAVHost::WriteFileAtomically): false, with the previous file
    // left as it was, when it cannot be written, is read-only or is the open drawing itself.
    static bool Write(const std::string& path, const std::vector<TAVGis::Topology::CSectionPtr>& sections);
};
