#pragma once
// CSwmmReader: reads an EPA SWMM 5 input file (.inp) into the neutral import model.
//
// What is read:
// - [JUNCTIONS], [OUTFALLS], [STORAGE] (manholes are often storage units) and [DIVIDERS] become nodes
//   with their invert elevation and maximum depth; terrain height = invert + maximum depth. A maximum
//   depth of 0 is SWMM's "not given" (the depth then follows the connecting pipes), so it stays empty.
//   [COORDINATES] give node positions.
// - [CONDUITS] become sections with their given length (m; the importer keeps it as SECTION_LENGTH
//   and the network calculates with it, whatever the drawn length), Manning n and the pipe levels at
//   both ends from the node inverts and the conduit offsets: [OPTIONS] LINK_OFFSETS DEPTH (default:
//   level = node invert + offset) or ELEVATION (level = offset; "*" means the node invert; a level
//   below the invert is kept with a warning). Where both levels and the length are known, the property
//   SECTION_SLOPE (per mille) = (level at the start - level at the end) / length x 1000, kept also when
//   it is 0 or negative. [XSECTIONS] CIRCULAR and FORCE_MAIN give the diameter (Geom1); other shapes
//   are counted in report.unsupportedShapes and kept as properties PIPE_SHAPE (the shape name in upper
//   case), PIPE_HEIGHT (Geom1, full height, m) and, for the shapes whose Geom2 is a width (rectangular,
//   trapezoidal, triangular, parabolic, power, arch, elliptical, modified basket-handle), PIPE_WIDTH
//   (Geom2, m). More than one barrel is kept as SWMM_BARRELS. [VERTICES] give the interior vertices.
// - [SUBCATCHMENTS] become catchment areas of kind 1 with area, imperviousness / 100 as the runoff
//   coefficient and their outlet (a node or another subcatchment); [POLYGONS] give their outline.
//   The linked section is left empty: ResolveCatchmentSections (ImportModel.h) picks it. Rain gage,
//   width (m), slope (%) and curb length (m) are kept as SWMM_RAINGAGE, SWMM_WIDTH, SWMM_SLOPE and
//   SWMM_CURB_LENGTH.
// - Units: [OPTIONS] FLOW_UNITS CFS, GPM, MGD (the default when no FLOW_UNITS is given, as in SWMM,
//   with a warning) mean feet and acres, converted to metres and hectares; CMS, LPS, MLD mean metres and
//   hectares. Coordinates, vertices and polygons are in map units: [MAP] UNITS FEET is converted to metres,
//   METERS, NONE (the default) and DEGREES are taken as they stand.
//
// Every other section ([PUMPS], [ORIFICES], [WEIRS], [RAINGAGES], [TITLE], unknown ones, ...) is
// counted in report.skipped by its bracketed upper-case name: the number of data lines in it.
//
// Text rules: section headers match without regard to case ("[Polygons]"); ";" starts a comment
// outside double quotes; a double-quoted token may hold blanks; lines end in LF, CR LF or CR; a UTF-8
// byte-order mark is skipped; a byte that is not UTF-8 rejects the file with EImportError::NotUtf8 and
// its line, unless the reader is told the file is in the system's ANSI code page (SetEncoding).
//
// Names: node and subcatchment names are compared exactly ("1" and "001" are different nodes); a
// reference that has no exact match falls back to the one name equal to it without regard to ASCII
// case, as SWMM itself does not distinguish case. Link (section) names always match without regard
// to case, so "C1" and "c1" are one conduit. The model holds each name as it is defined.
//
// Faults in the data never abort the read: a line with too few fields or an element whose name was
// already used is skipped with a warning; a malformed or out-of-range number leaves that value empty
// with a warning; a conduit whose node is not defined is dropped with a warning. All warnings carry
// the 1-based line number. A text that is not a SWMM input file (contains NUL bytes, or its first
// data is not a known section header) is rejected with EImportError::NotSwmmInput and an empty model.
#include <filesystem>
#include <string_view>

#include "platform/store/ImportModel.h"
#include "platform/store/ImportText.h"

namespace TAVGis::Store {

class CSwmmReader {
public:
    // How the file's bytes are read: UTF-8 (the default; an invalid byte gives NotUtf8 with its line) or
    // the system's ANSI code page.
    void SetEncoding(ImportText::ETextEncoding encoding) { m_encoding = encoding; }

    // Reads the file into `network` (replacing its content). I/O failure, a file that is not a regular
    // file or one larger than ImportText::kMaxFileBytes gives CannotOpen.
    SImportStatus ReadFile(const std::filesystem::path& path, SImportNetwork& network) const;

    // Reads the text of an input file into `network` (replacing its content).
    SImportStatus ReadText(std::string_view text, SImportNetwork& network) const;

private:
    ImportText::ETextEncoding m_encoding = ImportText::ETextEncoding::Utf8;
};

}  // namespace TAVGis::Store
