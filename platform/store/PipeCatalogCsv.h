#pragma once
// CPipeCatalogCsv: reads pipe series from a CSV file into a drawing's pipe catalogue "PIPE".
//
// Format: UTF-8 text, one pipe per line; blank lines and lines starting with '#' are ignored; the first
// other line is the header "group,name,nominal_diameter_mm,inner_diameter_mm,roughness_kb_mm,pipe_type_id";
// fields are separated by commas and may be double-quoted ("" is a quote inside quotes).
//
// Mapping: every distinct group becomes a root item of "PIPE" (in the order groups first appear) with the
// property "TYPE_ID"; every line a sub-item of its group named `name` with "DN", "DI", "KB" (mm, doubles)
// and "TYPE_ID" (text). Item GUIDs are derived from the group and pipe names, so the same catalogue gives
// the same GUIDs in every drawing. A group or pipe that is already in the catalogue (same name) is
// updated in place and keeps its GUID, so pipe references of sections stay valid on a re-import.
//
// The whole file is checked before anything changes: a malformed line (wrong field count, a number that
// is not a positive finite decimal, an inner diameter above the nominal one by more than the nominal, a
// pipe named twice in a group) rejects the file with the line number and leaves the catalogue unchanged.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host/Document.h"
#include "platform/store/ImportText.h"

namespace TAVGis::Store {

struct SPipeCatalogImport {
    bool ok = false;
    std::string error;       // when !ok
    std::size_t line = 0;    // 1-based line of the error; 0 when none applies
    std::size_t groups = 0;  // groups in the file
    std::size_t pipes = 0;   // pipes in the file
    std::size_t groupsAdded = 0;
    std::size_t pipesAdded = 0;
    std::size_t pipesUpdated = 0;
    std::vector<std::string> warnings;
};

class CPipeCatalogCsv {
public:
    static constexpr const char* kHeader =
        "group,name,nominal_diameter_mm,inner_diameter_mm,roughness_kb_mm,pipe_type_id";

    // The file's bytes are UTF-8 (a byte that is not fails with its line) or, with `encoding` CodePage, in
    // the system's ANSI code page; a byte-order mark is skipped; lines end in LF, CR LF or CR. ReadFile
    // reads regular files only, up to ImportText::kMaxFileBytes.
    static SPipeCatalogImport ReadFile(const std::filesystem::path& path, TAVHost::Document& doc,
                                       ImportText::ETextEncoding encoding = ImportText::ETextEncoding::Utf8);
    static SPipeCatalogImport ReadText(std::string_view bytes, TAVHost::Document& doc,
                                       ImportText::ETextEncoding encoding = ImportText::ETextEncoding::Utf8);
    // The GUID given to a group (pipe empty) or a pipe.
    static std::string ItemGuid(const std::string& group, const std::string& pipe);
};

}  // namespace TAVGis::Store
