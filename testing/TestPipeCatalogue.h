#pragma once
// Test and benchmark helper: reads the sample pipe series (examples/catalogue/pipe_series.csv) and builds
// the drawing's pipe catalogue "PIPE" from rows: one group per distinct group name (in order of first
// appearance, carrying the rows' pipe type ID), one pipe per row with "DN", "DI", "KB" (mm) and "TYPE_ID".
// Only as much CSV as that file uses: comment lines starting with '#', one header line, plain fields
// separated by ',' without quoting.
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/network/CatalogManager.h"
#include "platform/network/Entity.h"

namespace testpipes {

struct SPipeRow {
    std::string group;
    std::string name;
    double dNominalMm = 0.0;
    double dInnerMm = 0.0;
    double dRoughnessMm = 0.0;
    std::string typeId;
};

// The source tree (the testing library gives its users SEWER_SOURCE_DIR).
inline std::filesystem::path SourceDir() {
    return SEWER_SOURCE_DIR;
}

inline std::filesystem::path PipeSeriesPath() {
    return SourceDir() / "examples/catalogue/pipe_series.csv";
}

// The rows of the file; throws std::runtime_error when it cannot be read or a row is malformed.
inline std::vector<SPipeRow> ReadPipeSeries(const std::filesystem::path& path = PipeSeriesPath()) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot open " + path.string());
    std::vector<SPipeRow> rows;
    std::string line;
    bool headerSeen = false;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (!headerSeen) {
            headerSeen = true;
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream stream(line);
        std::string field;
        while (std::getline(stream, field, ',')) fields.push_back(field);
        if (fields.size() != 6) throw std::runtime_error("malformed row: " + line);
        rows.push_back({fields[0], fields[1], std::stod(fields[2]), std::stod(fields[3]),
                        std::stod(fields[4]), fields[5]});
    }
    return rows;
}

inline TAVGis::Data::CCatalogItemPtr NewItem(const std::string& name) {
    return TAVGis::Data::CCatalogItemPtr(new TAVGis::Data::CCatalogItem(TAVGis::Topology::NewGuid(), name));
}

// A pipe under a group of the catalogue; a property whose value is below 0 is left out.
inline TAVGis::Data::CCatalogItemPtr AddPipe(TAVGis::Data::CCatalog& catalog,
                                             const TAVGis::Data::CCatalogItemPtr& group,
                                             const SPipeRow& row) {
    auto pipe = NewItem(row.name);
    if (row.dNominalMm >= 0.0) pipe->SetProperty("DN", row.dNominalMm);
    if (row.dInnerMm >= 0.0) pipe->SetProperty("DI", row.dInnerMm);
    if (row.dRoughnessMm >= 0.0) pipe->SetProperty("KB", row.dRoughnessMm);
    if (!row.typeId.empty()) pipe->SetProperty("TYPE_ID", row.typeId);
    catalog.AddItem(group, pipe);
    return pipe;
}

// Builds (or extends) the current drawing's "PIPE" catalogue from the rows.
inline TAVGis::Data::CCatalogPtr LoadPipeCatalogue(const std::vector<SPipeRow>& rows) {
    auto catalog =
        TAVGis::Data::CCatalogManager::GetInstance()->GetOrCreateCatalog(TAVGis::Data::kPipeCatalogName);
    if (!catalog) throw std::runtime_error("no drawing is open");
    std::map<std::string, TAVGis::Data::CCatalogItemPtr> groups;
    for (const auto& root : catalog->GetRootItems()) groups.emplace(root->GetName(), root);
    for (const SPipeRow& row : rows) {
        auto& group = groups[row.group];
        if (!group) {
            group = NewItem(row.group);
            if (!row.typeId.empty()) group->SetProperty("TYPE_ID", row.typeId);
            catalog->AddRootItem(group);
        }
        AddPipe(*catalog, group, row);
    }
    return catalog;
}

}  // namespace testpipes
