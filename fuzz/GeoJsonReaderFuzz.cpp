// Fuzz target: reading any bytes as GeoJSON, as UTF-8 and as text in the ANSI code page.
// Properties (ImportCheck.h): no crash, also on deep nesting; a refused text leaves an empty model; every
// name and text read is valid UTF-8 and every number finite.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/ImportCheck.h"
#include "platform/store/GeoJsonReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    using TAVGis::Store::ImportText::ETextEncoding;
    for (const ETextEncoding encoding : {ETextEncoding::Utf8, ETextEncoding::CodePage}) {
        TAVGis::Store::CGeoJsonReader reader;
        reader.SetEncoding(encoding);
        TAVGis::Store::SImportNetwork network;
        const auto status = reader.ReadText(text, network);
        fuzzcheck::Model(status, network);
    }
    return 0;
}
