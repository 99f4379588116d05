#include "platform/store/GpkgGeometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace TAVGis::Store {
namespace {

constexpr std::uint8_t kFlagLittleEndian = 0x01;
constexpr std::uint8_t kFlagEnvelopeXY = 0x02;  // envelope indicator 1 in bits 1..3
constexpr std::uint8_t kFlagEmpty = 0x10;
constexpr std::uint8_t kFlagExtended = 0x20;
constexpr std::uint8_t kWkbLittleEndian = 1;
constexpr std::uint32_t kWkbDimensionStep = 1000;  // ISO WKB: +1000 Z, +2000 M, +3000 ZM
constexpr std::size_t kHeaderSize = 8;

static_assert(std::endian::native == std::endian::little,
              "the geometry writer assumes a little-endian machine");

class Writer {
public:
    void Byte(std::uint8_t b) { m_out.push_back(static_cast<char>(b)); }
    void U32(std::uint32_t v) { Raw(&v, sizeof v); }
    void I32(std::int32_t v) { Raw(&v, sizeof v); }
    void F64(double v) { Raw(&v, sizeof v); }
    void Raw(const void* p, std::size_t n) { m_out.append(static_cast<const char*>(p), n); }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
};

void Header(Writer& w, int srsId, const std::vector<TAVHost::Point2d>& pts) {
    w.Byte('G');
    w.Byte('P');
    w.Byte(0);
    if (pts.empty()) {
        w.Byte(kFlagLittleEndian | kFlagEmpty);
        w.I32(srsId);
        return;
    }
    w.Byte(kFlagLittleEndian | kFlagEnvelopeXY);
    w.I32(srsId);
    double minX = pts[0].x, maxX = pts[0].x, minY = pts[0].y, maxY = pts[0].y;
    for (const auto& p : pts) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    w.F64(minX);
    w.F64(maxX);
    w.F64(minY);
    w.F64(maxY);
}

void Points(Writer& w, const std::vector<TAVHost::Point2d>& pts) {
    w.U32(static_cast<std::uint32_t>(pts.size()));
    for (const auto& p : pts) {
        w.F64(p.x);
        w.F64(p.y);
    }
}

class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : m_p(data), m_end(data + size) {}
    bool Byte(std::uint8_t& b) {
        if (m_p >= m_end) return false;
        b = *m_p++;
        return true;
    }
    bool U32(std::uint32_t& v, bool little) {
        if (Left() < 4) return false;
        std::memcpy(&v, m_p, 4);
        if (!little) v = Swap32(v);
        m_p += 4;
        return true;
    }
    bool F64(double& v, bool little) {
        if (Left() < 8) return false;
        std::uint64_t bits;
        std::memcpy(&bits, m_p, 8);
        if (!little) bits = Swap64(bits);
        std::memcpy(&v, &bits, 8);
        m_p += 8;
        return true;
    }
    bool Skip(std::size_t n) {
        if (Left() < n) return false;
        m_p += n;
        return true;
    }
    std::size_t Left() const { return static_cast<std::size_t>(m_end - m_p); }

private:
    static std::uint32_t Swap32(std::uint32_t v) {
        return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
    }
    static std::uint64_t Swap64(std::uint64_t v) {
        return (static_cast<std::uint64_t>(Swap32(static_cast<std::uint32_t>(v))) << 32) |
               Swap32(static_cast<std::uint32_t>(v >> 32));
    }
    const unsigned char* m_p;
    const unsigned char* m_end;
};

// Reads `count` points of `dims` ordinates each (x and y kept).
bool ReadPoints(Reader& r, bool little, unsigned dims, std::vector<TAVHost::Point2d>& out,
                std::string& error) {
    std::uint32_t count = 0;
    if (!r.U32(count, little)) {
        error = "the geometry ends before its point count";
        return false;
    }
    if (static_cast<std::uint64_t>(count) * dims * 8 > r.Left()) {
        error = "the geometry claims more points than it holds";
        return false;
    }
    out.reserve(out.size() + count);
    for (std::uint32_t i = 0; i < count; ++i) {
        TAVHost::Point2d p;
        r.F64(p.x, little);
        r.F64(p.y, little);
        r.Skip((dims - 2) * 8);
        out.push_back(p);
    }
    return true;
}

}  // namespace

std::string CGpkgGeometry::EncodePoint(int srsId, const TAVHost::Point2d& p) {
    Writer w;
    Header(w, srsId, {p});
    w.Byte(kWkbLittleEndian);
    w.U32(static_cast<std::uint32_t>(EType::Point));
    w.F64(p.x);
    w.F64(p.y);
    return w.Take();
}

std::string CGpkgGeometry::EncodeLineString(int srsId, const std::vector<TAVHost::Point2d>& points) {
    Writer w;
    Header(w, srsId, points);
    w.Byte(kWkbLittleEndian);
    w.U32(static_cast<std::uint32_t>(EType::LineString));
    Points(w, points);
    return w.Take();
}

std::string CGpkgGeometry::EncodePolygon(int srsId, const std::vector<TAVHost::Point2d>& ring) {
    Writer w;
    Header(w, srsId, ring);
    w.Byte(kWkbLittleEndian);
    w.U32(static_cast<std::uint32_t>(EType::Polygon));
    if (ring.empty()) {
        w.U32(0);
        return w.Take();
    }
    w.U32(1);
    std::vector<TAVHost::Point2d> closed(ring);
    closed.push_back(ring.front());
    Points(w, closed);
    return w.Take();
}

bool CGpkgGeometry::Decode(const void* data, std::size_t size, EType expected,
                           std::vector<TAVHost::Point2d>& points, std::string& error) {
    points.clear();
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || size < kHeaderSize || bytes[0] != 'G' || bytes[1] != 'P') {
        error = "not a GeoPackage geometry";
        return false;
    }
    if (bytes[2] != 0) {
        error = "unknown GeoPackage geometry version " + std::to_string(bytes[2]);
        return false;
    }
    const std::uint8_t flags = bytes[3];
    if (flags & kFlagExtended) {
        error = "extended GeoPackage geometries are not supported";
        return false;
    }
    static constexpr std::size_t kEnvelopeDoubles[] = {0, 4, 6, 6, 8};
    const unsigned envelopeCode = (flags >> 1) & 0x07u;
    if (envelopeCode >= std::size(kEnvelopeDoubles)) {
        error = "invalid envelope indicator " + std::to_string(envelopeCode);
        return false;
    }
    Reader r(bytes, size);
    r.Skip(kHeaderSize);
    if (!r.Skip(kEnvelopeDoubles[envelopeCode] * 8)) {
        error = "the geometry ends inside its envelope";
        return false;
    }
    if (flags & kFlagEmpty) return true;
    std::uint8_t order = 0;
    std::uint32_t type = 0;
    if (!r.Byte(order) || order > 1 || !r.U32(type, order == kWkbLittleEndian)) {
        error = "malformed well-known binary";
        return false;
    }
    const bool little = order == kWkbLittleEndian;
    const std::uint32_t base = type % kWkbDimensionStep;
    const std::uint32_t variant = type / kWkbDimensionStep;
    if (variant > 3) {
        error = "unsupported geometry type code " + std::to_string(type);
        return false;
    }
    const unsigned dims = 2 + (variant == 1 || variant == 2 ? 1 : 0) + (variant == 3 ? 2 : 0);
    if (base != static_cast<std::uint32_t>(expected)) {
        error = "geometry type " + std::to_string(type) + " where type " +
                std::to_string(static_cast<int>(expected)) + " is expected";
        return false;
    }
    switch (expected) {
        case EType::Point: {
            TAVHost::Point2d p;
            if (!r.F64(p.x, little) || !r.F64(p.y, little) || !r.Skip((dims - 2) * 8)) {
                error = "the point ends early";
                return false;
            }
            if (std::isnan(p.x) && std::isnan(p.y)) return true;  // POINT EMPTY
            points.push_back(p);
            return true;
        }
        case EType::LineString:
            return ReadPoints(r, little, dims, points, error);
        case EType::Polygon: {
            std::uint32_t rings = 0;
            if (!r.U32(rings, little)) {
                error = "the polygon ends before its ring count";
                return false;
            }
            if (rings == 0) return true;
            if (!ReadPoints(r, little, dims, points, error)) return false;
            if (points.size() > 1 && points.front() == points.back()) points.pop_back();
            return true;
        }
    }
    error = "unsupported geometry";
    return false;
}

}  // namespace TAVGis::Store
