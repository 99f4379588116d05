#pragma once
// CGeoJsonReader: reads a GeoJSON FeatureCollection (or a single Feature) into the neutral import model.
//
// - Point features (and MultiPoint with one point) become nodes of kind Point.
// - LineString features (and MultiLineString with one part) become sections. A line end takes the
//   nearest node within the snap tolerance (Euclidean, in the plane); with no node that close it gets
//   a new node named after the section plus "_A" (start) or "_B" (end), which later line ends snap to
//   as well. Interior positions become the section's vertices. A line whose two ends meet at one node
//   is kept with a warning.
// - Polygon features (and MultiPolygon with one polygon) become catchment areas of kind 1: the outer
//   ring (without its closing position) is the outline; the area is the plane area of the outer ring
//   less its holes, in hectares.
// - Coordinates are taken as metres of the drawing's projected plane as they stand (no reprojection;
//   a "crs" member is ignored); a third coordinate is ignored.
// - Properties: "name" (else "NAME"/"Name" or any spelling without regard to case, else the
//   feature's "id") gives the element's name; every other property goes into the element's extra
//   properties: numbers as numbers, texts as texts, true/false as 1/0, objects and arrays as their
//   JSON text; null properties are left out (no value).
// - Names: a feature without a name gets "N<k>" (node), "S<k>" (section) or "A<k>" (catchment area),
//   k being the feature's 1-based position in the collection. A name already used by an element of
//   the same kind (section names compared without regard to case, node and catchment names
//   exactly) gets the first free suffix "_2", "_3", ... and a warning.
// - Unsupported features (other geometry types, multi-part geometries with more than one part,
//   features without geometry, malformed features) are counted in report.skipped by geometry type and
//   warned about; malformed coordinates skip their feature with a warning.
// - Text: a UTF-8 byte-order mark is skipped; a byte that is not UTF-8 gives EImportError::NotUtf8 with
//   its line (unless the reader is told the file is in the system's ANSI code page); arrays and objects
//   nested deeper than ImportText::kMaxJsonDepth give InvalidJson with the line, before any parse.
// - Text that is not JSON gives EImportError::InvalidJson with the line of the fault; JSON that is
//   not a FeatureCollection or Feature gives EImportError::NotGeoJson. The model is then empty.
#include <filesystem>
#include <string_view>

#include "platform/store/ImportModel.h"
#include "platform/store/ImportText.h"

namespace TAVGis::Store {

class CGeoJsonReader {
public:
    static constexpr double kDefaultSnapTolerance = 0.01;  // m

    // `snapTolerance` in metres; a negative or non-finite tolerance is a programming error
    // (std::invalid_argument). 0 joins only coincident line ends and nodes.
    explicit CGeoJsonReader(double snapTolerance = kDefaultSnapTolerance);

    double SnapTolerance() const { return m_snapTolerance; }

    // How the file's bytes are read: UTF-8 (the default; an invalid byte gives NotUtf8 with its line) or
    // the system's ANSI code page.
    void SetEncoding(ImportText::ETextEncoding encoding) { m_encoding = encoding; }

    // Reads the file into `network` (replacing its content). I/O failure, a file that is not a regular
    // file or one larger than ImportText::kMaxFileBytes gives CannotOpen.
    SImportStatus ReadFile(const std::filesystem::path& path, SImportNetwork& network) const;

    // Reads GeoJSON text into `network` (replacing its content).
    SImportStatus ReadText(std::string_view text, SImportNetwork& network) const;

private:
    double m_snapTolerance;
    ImportText::ETextEncoding m_encoding = ImportText::ETextEncoding::Utf8;
};

}  // namespace TAVGis::Store
