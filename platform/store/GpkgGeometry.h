#pragma once
// CGpkgGeometry: the geometry blobs of a GeoPackage: the standard binary header ("GP", version 0, flags,
// srs id, envelope) followed by the geometry as well-known binary.
//
// - Written: little-endian header and WKB, envelope [minx, maxx, miny, maxy], 2D only; a point, a line
//   string or a polygon with one ring (the ring closed by repeating its first point).
// - Read: either byte order in the header and in the WKB, any envelope kind, ISO Z, M and ZM variants
//   (the extra ordinates are dropped), the empty flag. Anything else (extended binary, other geometry
//   types, a blob shorter than it claims) is rejected: Decode returns false and leaves a reason.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/Database.h"

namespace TAVGis::Store {

class CGpkgGeometry {
public:
    enum class EType { Point = 1, LineString = 2, Polygon = 3 };

    // srsId is the GeoPackage srs_id of the layer. A polygon's outer ring is given open; every ring
    // written is closed by repeating its first point.
    static std::string EncodePoint(int srsId, const TAVHost::Point2d& p);
    static std::string EncodeLineString(int srsId, const std::vector<TAVHost::Point2d>& points);
    static std::string EncodePolygon(int srsId, const std::vector<TAVHost::Point2d>& ring);

    // Decodes a blob of the expected type. Points are returned as one point; a line string as its points;
    // a polygon as its outer ring without the closing point (holes are ignored). An empty geometry gives
    // no points. False (with `error`) when the blob is malformed or of another type.
    static bool Decode(const void* data, std::size_t size, EType expected,
                       std::vector<TAVHost::Point2d>& points, std::string& error);
};

}  // namespace TAVGis::Store
