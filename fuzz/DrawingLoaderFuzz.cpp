// Fuzz target: any bytes opened as a drawing file. Properties: no crash and no hang; the loader either
// refuses the file with CDrawingFileError or gives a drawing whose every attribute column can then be read
// (or refused the same way); the file itself is never written.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "platform/gis/DataConfiguration.h"
#include "platform/gis/DataRW.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/DrawingFile.h"

// The platform's message texts are generated into the product's build; the loader's messages do not use
// them, so this target links an empty catalogue.
namespace TAVGis::detail {
extern const std::pair<int, const char*> kMessageCatalog[];
extern const int kMessageCatalogSize;
const std::pair<int, const char*> kMessageCatalog[] = {{0, ""}};
const int kMessageCatalogSize = 0;
}  // namespace TAVGis::detail

namespace {
const std::filesystem::path& File() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("fuzz_drawing_" + std::to_string(::getpid()) + ".gpkg");
    return file;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        std::ofstream out(File(), std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::error_code ec;
    std::filesystem::remove(File().string() + "-journal", ec);
    TAVGis::Store::CDrawingFile::SetWarningHandler(nullptr);
    try {
        auto doc = TAVGis::Store::CDrawingFile::Open(File());
        TAVGis::Store::CDrawingFile::ReadAllColumns(*doc);
        auto& topo = TAVGis::Topology::TopologyOf(*doc);
        const auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
        for (const auto& s : topo.Sections())
            for (const auto* def : config.Definitions(TAVGis::Data::kEntitySection)) {
                TAVGis::Data::CDataBox box;
                TAVGis::Data::CDataRW::Read(def->GetID(), s, box);
            }
    } catch (const TAVGis::Store::CDrawingFileError&) {
        // refused: fine
    }
    std::ifstream in(File(), std::ios::binary);
    const std::string after((std::istreambuf_iterator<char>(in)), {});
    if (after != bytes) {
        std::fprintf(stderr, "the loader changed the file it read\n");
        std::abort();
    }
    return 0;
}
