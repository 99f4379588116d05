#pragma once
// Text helpers shared by the import file readers: whole-file reading, UTF-8 checks, number parsing
// and formatting.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace TAVGis::Store::ImportText {

// The largest file an importer reads (bytes): a bound on memory, far above any real network.
constexpr std::uintmax_t kMaxFileBytes = std::uintmax_t{1} << 30;
// The deepest nesting of arrays and objects a JSON importer accepts (a GeoJSON feature needs 6).
constexpr int kMaxJsonDepth = 64;

// Reads the whole file as bytes. Returns false with a message when it cannot be opened or read, when it
// is not a regular file (a directory, a device such as /dev/zero, a pipe: refused before reading) or
// when it is larger than kMaxFileBytes.
bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& error);

// How the bytes of an imported text file are to be read.
enum class ETextEncoding {
    Utf8,      // UTF-8; a byte that is not is an error naming its line
    CodePage,  // the system's ANSI code page (CCodePage, windows-1250 by default), converted to UTF-8
};

// The text of an imported file as every reader takes it: a leading UTF-8 byte-order mark dropped, the
// bytes checked as UTF-8 (or converted from the code page) and every line end (LF, CR LF or a lone CR)
// made one LF, so that line numbers count the lines a text editor shows. Returns false with the 1-based
// line of the first invalid byte in `badLine` (Utf8 only).
bool DecodeText(std::string_view bytes, ETextEncoding encoding, std::string& text, std::size_t& badLine);

// The 1-based line on which JSON text first nests arrays and objects deeper than `maxDepth`, or 0 when
// it never does (brackets inside strings do not count). A cheap scan before a parse.
std::size_t LineOfJsonDepthBeyond(std::string_view text, int maxDepth);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);
// The offset of the first byte that does not begin a well-formed UTF-8 sequence; npos when there is none.
std::size_t FirstInvalidUtf8(std::string_view text);

// Parses a whole token as a finite decimal number ("12", "-3.5", "+1e3"); empty when it is anything
// else (trailing characters, "nan", "inf", out of range, empty).
std::optional<double> ParseNumber(std::string_view token);

// The shortest text that reads back as `value` ("12", "0.25", "1e+20").
std::string FormatNumber(double value);

// ASCII upper-case copy.
std::string ToUpperAscii(std::string_view text);

// Equality without regard to ASCII letter case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// A name in double quotes, for report and warning texts.
std::string Quote(std::string_view name);

}  // namespace TAVGis::Store::ImportText
