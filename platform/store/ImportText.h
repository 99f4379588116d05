#pragma once
// Text helpers shared by the import file readers: whole-file reading, UTF-8 checks, number parsing
// and formatting.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace TAVGis::Store::ImportText {

// Reads the whole file as bytes. Returns false with a message when it cannot be opened or read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& error);

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Re-encodes Latin-1 (ISO 8859-1) bytes as UTF-8.
std::string Latin1ToUtf8(std::string_view text);

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
