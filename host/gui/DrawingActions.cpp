#include "DrawingActions.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>

#include "platform/gis/GisDrawingData.h"
#include "platform/network/CatalogManager.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/DrawingFile.h"
#include "platform/store/GeoJsonReader.h"
#include "platform/store/GeoJsonWriter.h"
#include "platform/store/NetworkImporter.h"
#include "platform/store/PipeCatalogCsv.h"
#include "platform/store/SwmmReader.h"

namespace SewerGui::Drawing {

namespace fs = std::filesystem;

namespace {

void CloseCurrent() {
    auto* manager = acDocManagerPtr();
    if (auto* doc = manager->curDocument()) manager->CloseDocument(*doc);
}

std::string Extension(const std::string& file) {
    std::string ext = fs::path(file).extension().string();
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

}  // namespace

TAVHost::Document& New(const std::string& name) {
    CloseCurrent();
    return acDocManagerPtr()->NewDocument(name);
}

TAVHost::Document& Open(const std::string& path) {
    auto doc = TAVGis::Store::CDrawingFile::Open(path);  // throws before the current drawing is closed
    CloseCurrent();
    return acDocManagerPtr()->AddDocument(std::move(doc));
}

void Save(TAVHost::Document& doc, const std::string& path) {
    TAVGis::Store::CDrawingFile::Save(doc, path);
}

std::string Import(TAVHost::Document& doc, const std::string& file) {
    const std::string ext = Extension(file);
    if (ext == ".csv") {
        auto r = TAVGis::Store::CPipeCatalogCsv::ReadFile(file, doc);
        if (!r.ok) throw std::runtime_error(file + ": " + r.error);
        std::string report = "pipe groups: " + std::to_string(r.groups) + " (" +
                             std::to_string(r.groupsAdded) + " new)\npipes: " + std::to_string(r.pipes) +
                             " (" + std::to_string(r.pipesAdded) + " new, " + std::to_string(r.pipesUpdated) +
                             " updated)\nwarnings: " + std::to_string(r.warnings.size()) + "\n";
        for (const auto& w : r.warnings) report += "  " + w + "\n";
        doc.Db().Touch();
        return report;
    }
    if (ext != ".inp" && ext != ".geojson" && ext != ".json")
        throw std::runtime_error(file + ": unknown kind of file (expected .inp, .geojson, .json or .csv)");
    TAVGis::Store::SImportNetwork network;
    auto status = ext == ".inp" ? TAVGis::Store::CSwmmReader().ReadFile(file, network)
                                : TAVGis::Store::CGeoJsonReader().ReadFile(file, network);
    if (!status.Ok())
        throw std::runtime_error(
            file + ": " + (status.line ? "line " + std::to_string(status.line) + ": " : std::string()) +
            status.message);
    TAVGis::Store::CNetworkImporter importer(doc, TAVGis::Store::CNetworkImporter::SystemFor(doc));
    auto result = importer.Import(network);
    doc.Db().Touch();
    return TAVGis::Store::CNetworkImporter::FormatReport(network.report, result);
}

std::string Export(TAVHost::Document& doc, const std::string& file) {
    std::string error;
    if (!TAVGis::Store::CGeoJsonWriter::WriteFile(doc, file, error)) throw std::runtime_error(error);
    auto& topo = TAVGis::Topology::TopologyOf(doc);
    return "exported " + std::to_string(topo.Nodes().size()) + " nodes, " +
           std::to_string(topo.Sections().size()) + " sections, " +
           std::to_string(topo.CatchmentAreas().size()) + " catchment areas to " + file + "\n";
}

}  // namespace SewerGui::Drawing
