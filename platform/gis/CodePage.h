#pragma once
// CCodePage: conversion between the UTF-8 text used everywhere inside and the bytes of the system's
// ANSI code page, used only where text meets bytes (files, escaped names).
//
// The ANSI code page is a process-wide setting, an iconv code-set name, "WINDOWS-1250" by default.
// Conversion goes through iconv (glibc).
//
// Characters that cannot be converted:
// - ToAnsi: a character the code page cannot hold, and every byte of malformed UTF-8, becomes one
//   '?' (0x3F). No transliteration is attempted, so the result is predictable.
// - FromAnsi: a byte (or byte sequence) the code page leaves undefined becomes U+FFFD, the Unicode
//   replacement character, one per undecodable byte.
// Both functions always return; they never throw for bad input. Embedded NUL bytes are converted
// like any other character.
#include <string>

namespace TAVGis::Utility {

class CCodePage {
public:
    static constexpr const char* kDefaultAnsiCodePage = "WINDOWS-1250";
    static constexpr char kUnmappableAnsi = '?';
    static constexpr const char* kUndecodableUtf8 = "\xEF\xBF\xBD";  // U+FFFD

    // The iconv name of the current ANSI code page.
    static std::string GetAnsiCodePage();
    // Makes `name` the ANSI code page. Returns false, and keeps the current one, when iconv cannot
    // convert between it and UTF-8 in both directions.
    static bool SetAnsiCodePage(const std::string& name);

    // UTF-8 text -> bytes of the ANSI code page.
    static std::string ToAnsi(const std::string& utf8);
    // Bytes of the ANSI code page -> UTF-8 text.
    static std::string FromAnsi(const std::string& ansi);
};

}  // namespace TAVGis::Utility
