#pragma once
// CConfigNameCodec: the escaped form in which a configuration set's name is stored in the "name"
// attribute of its "config" element.
//
// Both directions work byte by byte on the name converted to the system's ANSI code page
// (TAVGis::Utility::CCodePage); the escaped form itself is plain ASCII.
//
// Escaping: "=" becomes "=3D"; any other byte below 0x80 is copied; a byte b of 0x80 or more becomes
// three escapes "=EF", "=BE" (b below 0xC0) or "=BF" (otherwise), and "=XX" with XX = 0x80 + b mod 64.
// An escape is "=" followed by two upper-case hexadecimal digits.
//
// Unescaping: a byte other than "=" is copied. At "=", the next two characters are read as a byte x
// ("0"-"9" and "A"-"F" only; any other character counts as 0); with fewer than two characters left
// unescaping stops. x up to 126 is the output byte. A lead byte x of a multi-byte sequence covers
// 6 (0xC0-0xDF), 9 (0xE0-0xEF), 12 (0xF0-0xF7), 15 (0xF8-0xFB) or 18 (0xFC, 0xFD) characters in all;
// only the values y and z of its last two escapes count (y is x itself for a two-byte sequence) and
// the output byte is ((y - 2) * 64 + z) mod 256; when the text is too short for the sequence,
// unescaping stops. The characters at the "=" places inside a sequence are not checked. Any other x
// above 126 drops the "=" and copies the two characters after it unchanged.
//
// UnescapeBytes(EscapeBytes(b)) == b holds for every byte string b.
#include <string>

class CConfigNameCodec {
public:
    // UTF-8 name as typed -> escaped form (ASCII, as UTF-8 text).
    static std::string Escape(const std::string& name);
    // Escaped form as stored -> UTF-8 name.
    static std::string Unescape(const std::string& escaped);

    // The byte-level rules on ANSI bytes, without code-page conversion.
    static std::string EscapeBytes(const std::string& ansi);
    static std::string UnescapeBytes(const std::string& escaped);
};
