// Fuzz target: unescaping any stored configuration-set name.
// Properties: no crash; unescaping never lengthens the text; escaping any bytes and unescaping the
// result gives the bytes back; the escaped form is ASCII.
#include <cstddef>
#include <cstdint>
#include <string>

#include "module/data/ConfigNameCodec.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    const std::string bytes = CConfigNameCodec::UnescapeBytes(input);
    Require(bytes.size() <= input.size());

    const std::string escaped = CConfigNameCodec::EscapeBytes(input);
    for (const char c : escaped) Require(static_cast<unsigned char>(c) < 0x80);
    Require(CConfigNameCodec::UnescapeBytes(escaped) == input);

    // The same through the code page, with the input taken as (possibly malformed) UTF-8.
    CConfigNameCodec::Unescape(input);
    CConfigNameCodec::Unescape(CConfigNameCodec::Escape(input));
    return 0;
}
