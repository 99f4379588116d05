#include "module/data/ConfigNameCodec.h"

#include <cstddef>
#include <cstdio>

#include "platform/gis/CodePage.h"

using TAVGis::Utility::CCodePage;

namespace {

constexpr char kEscapeChar = '=';
constexpr size_t kEscapeLength = 3;          // "=XX"
constexpr unsigned kHighestPlainByte = 126;  // x up to this value stands for itself
constexpr unsigned kFirstHighByte = 0x80;
constexpr unsigned kSecondBlockStart = 0xC0;
constexpr unsigned kHighLead = 0xEF;
constexpr unsigned kMiddleLow = 0xBE;
constexpr unsigned kMiddleHigh = 0xBF;
constexpr unsigned kTailBase = 0x80;
constexpr unsigned kTailRange = 64;

// Value of one hexadecimal digit; anything but "0"-"9" and "A"-"F" counts as 0.
unsigned HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
    return 0;
}

unsigned HexByte(const std::string& text, size_t pos) {
    return HexDigit(text[pos]) * 16 + HexDigit(text[pos + 1]);
}

// Number of escapes in the multi-byte sequence that the lead byte x starts, 0 when x is no lead byte.
size_t SequenceEscapes(unsigned x) {
    if (x >= 0xC0 && x <= 0xDF) return 2;
    if (x >= 0xE0 && x <= 0xEF) return 3;
    if (x >= 0xF0 && x <= 0xF7) return 4;
    if (x >= 0xF8 && x <= 0xFB) return 5;
    if (x >= 0xFC && x <= 0xFD) return 6;
    return 0;
}

}  // namespace

std::string CConfigNameCodec::EscapeBytes(const std::string& ansi) {
    std::string escaped;
    escaped.reserve(ansi.size());
    char buffer[16];
    for (const char c : ansi) {
        const unsigned b = static_cast<unsigned char>(c);
        if (c == kEscapeChar) {
            std::snprintf(buffer, sizeof buffer, "=%02X", b);
            escaped += buffer;
        } else if (b < kFirstHighByte) {
            escaped += c;
        } else {
            const unsigned middle = b < kSecondBlockStart ? kMiddleLow : kMiddleHigh;
            std::snprintf(buffer, sizeof buffer, "=%02X=%02X=%02X", kHighLead, middle,
                          kTailBase + b % kTailRange);
            escaped += buffer;
        }
    }
    return escaped;
}

std::string CConfigNameCodec::UnescapeBytes(const std::string& escaped) {
    std::string bytes;
    bytes.reserve(escaped.size());
    size_t pos = 0;
    const size_t size = escaped.size();
    while (pos < size) {
        if (escaped[pos] != kEscapeChar) {
            bytes += escaped[pos++];
            continue;
        }
        if (size - pos < kEscapeLength) break;
        const unsigned x = HexByte(escaped, pos + 1);
        if (x <= kHighestPlainByte) {
            bytes += static_cast<char>(x);
            pos += kEscapeLength;
            continue;
        }
        const size_t escapes = SequenceEscapes(x);
        if (escapes == 0) {
            // Not an escape this code writes: keep the two characters as they are.
            bytes += escaped[pos + 1];
            bytes += escaped[pos + 2];
            pos += kEscapeLength;
            continue;
        }
        const size_t length = escapes * kEscapeLength;
        if (size - pos < length) break;
        const unsigned y = escapes == 2 ? x : HexByte(escaped, pos + length - 2 * kEscapeLength + 1);
        const unsigned z = HexByte(escaped, pos + length - kEscapeLength + 1);
        bytes += static_cast<char>(((y - 2) * kTailRange + z) % 256);
        pos += length;
    }
    return bytes;
}

std::string CConfigNameCodec::Escape(const std::string& name) {
    return CCodePage::FromAnsi(EscapeBytes(CCodePage::ToAnsi(name)));
}

std::string CConfigNameCodec::Unescape(const std::string& escaped) {
    return CCodePage::FromAnsi(UnescapeBytes(CCodePage::ToAnsi(escaped)));
}
