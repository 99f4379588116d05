// sewercalc: the command-line host of the sewage-calculations module. It loads the module as a plug-in,
// lists its commands and dialogs, runs scripts that build networks, run commands and drive their dialogs,
// and keeps drawings on disk: import networks and pipe catalogues, export GeoJSON, show and set attributes.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "ModuleHost.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "platform/gis/DataConfiguration.h"
#include "platform/gis/GisDrawingData.h"
#include "platform/host/Document.h"
#include "platform/host/HostUi.h"
#include "platform/host/NumberText.h"
#include "platform/network/CatalogManager.h"
#include "platform/network/TopologyStorage.h"
#include "platform/store/DrawingFile.h"
#include "platform/store/DrawingLock.h"
#include "platform/store/GeoJsonReader.h"
#include "platform/store/GeoJsonWriter.h"
#include "platform/store/ImportText.h"
#include "platform/store/NetworkImporter.h"
#include "platform/store/PipeCatalogCsv.h"
#include "platform/store/SwmmReader.h"
#include "platform/ui/DialogTemplate.h"

namespace {

namespace fs = std::filesystem;
using TAVGis::Store::CDrawingFile;
using TAVGis::Store::CDrawingFileError;

constexpr int kExitOk = 0;
constexpr int kExitExpectationFailed = 1;
constexpr int kExitError = 2;
constexpr int kExitCommandFailed = 3;
constexpr const char* kNewDrawingName = "Drawing1.gpkg";

int Error(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "error: %s\n", message.c_str());
    return kExitError;
}

enum class Access { Read, Write };

// Opens the drawing at `path` and makes it current; with `create`, a missing file gives a new drawing that
// will be saved there. For writing, the drawing's writer lock is taken first and held until the process
// ends: a second writer is refused at once. Throws CDrawingFileError.
TAVHost::Document& OpenDrawing(const std::string& path, bool create, Access access) {
    std::unique_ptr<TAVGis::Store::CDrawingLock> lock;
    if (access == Access::Write) lock = TAVGis::Store::CDrawingLock::Acquire(path);
    std::error_code ec;
    TAVHost::Document* doc = nullptr;
    if (!fs::exists(path, ec)) {
        if (!create) throw CDrawingFileError(path + ": no such drawing");
        doc = &acDocManagerPtr()->NewDocument(fs::path(path).filename().string());
        doc->SetPath(fs::absolute(path, ec).lexically_normal().string());
    } else {
        doc = &acDocManagerPtr()->AddDocument(CDrawingFile::Open(path));
    }
    if (lock) doc->SetExtension(TAVGis::Store::CDrawingLock::kKey, std::move(lock));
    return *doc;
}

int ListCommands(ModuleHost& module) {
    for (const auto& c : module.Commands()) std::printf("%-34s %s\n", c.name.c_str(), c.title.c_str());
    return kExitOk;
}

int ListDialogs(ModuleHost& module) {
    for (const auto& [id, t] : TAVUi::DialogTemplatesOf(module.Resources()))
        std::printf("%-5d %-32s %s\n", id, t.name.c_str(), Quote(t.caption).c_str());
    return kExitOk;
}

int ShowDialog(ModuleHost& module, const std::string& which) {
    const auto& all = TAVUi::DialogTemplatesOf(module.Resources());
    for (const auto& [id, t] : all) {
        if (std::to_string(id) != which && t.name != which) continue;
        std::printf("dialog %d %s %s\n", id, t.name.c_str(), Quote(t.caption).c_str());
        std::printf("%-6s %-34s %-12s %s\n", "id", "name", "kind", "caption");
        for (const auto& c : t.controls)
            std::printf("%-6d %-34s %-12s %s\n", c.id, c.name.c_str(), TAVUi::ControlKindName(c.kind),
                        Quote(c.caption).c_str());
        return kExitOk;
    }
    std::fprintf(stderr, "error: no dialog '%s' (see 'sewercalc dialogs')\n", which.c_str());
    return kExitError;
}

int RunScript(ModuleHost& module, const std::string& drawing, const std::string& scriptPath, bool dryRun) {
    std::vector<Statement> statements;
    try {
        statements = ReadScriptFile(scriptPath);
    } catch (const std::exception& e) {
        return Error(e.what());
    }
    TAVHost::Document* doc = nullptr;
    try {
        doc = drawing == "-" ? &acDocManagerPtr()->NewDocument(kNewDrawingName)
                             : &OpenDrawing(drawing, true, dryRun ? Access::Read : Access::Write);
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    ScriptRunner runner(module, std::move(statements), scriptPath, stdout);
    TAVHost::ScopedHostUi ui(runner);
    int failures = 0;
    try {
        failures = runner.Run();
    } catch (const ScriptError& e) {
        return Error(e.what());
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "error: the command failed: %s\n", e.what());
        return kExitCommandFailed;
    }
    if (failures) {
        std::fprintf(stderr, "%d expectation(s) failed\n", failures);
        return kExitExpectationFailed;
    }
    if (drawing == "-" || dryRun) return kExitOk;
    try {
        CDrawingFile::Save(*doc, drawing);
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    return kExitOk;
}

std::string Extension(const std::string& file) {
    std::string ext = fs::path(file).extension().string();
    for (auto& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

int Import(const std::string& drawing, const std::string& file, bool codePage) {
    const auto encoding = codePage ? TAVGis::Store::ImportText::ETextEncoding::CodePage
                                   : TAVGis::Store::ImportText::ETextEncoding::Utf8;
    const std::string ext = Extension(file);
    if (ext != ".inp" && ext != ".geojson" && ext != ".json" && ext != ".csv")
        return Error(file + ": unknown kind of file (expected .inp, .geojson, .json or .csv)");
    try {
        auto& doc = OpenDrawing(drawing, true, Access::Write);
        if (ext == ".csv") {
            auto r = TAVGis::Store::CPipeCatalogCsv::ReadFile(file, doc, encoding);
            if (!r.ok) return Error(file + ": " + r.error);
            std::printf("pipe groups: %zu (%zu new)\npipes: %zu (%zu new, %zu updated)\n", r.groups,
                        r.groupsAdded, r.pipes, r.pipesAdded, r.pipesUpdated);
            std::printf("warnings: %zu\n", r.warnings.size());
            for (const auto& w : r.warnings) std::printf("  %s\n", w.c_str());
        } else {
            TAVGis::Store::SImportNetwork network;
            TAVGis::Store::CSwmmReader swmm;
            TAVGis::Store::CGeoJsonReader geoJson;
            swmm.SetEncoding(encoding);
            geoJson.SetEncoding(encoding);
            auto status = ext == ".inp" ? swmm.ReadFile(file, network) : geoJson.ReadFile(file, network);
            if (!status.Ok())
                return Error(file + ": " +
                             (status.line ? "line " + std::to_string(status.line) + ": " : std::string()) +
                             status.message);
            TAVGis::Store::CNetworkImporter importer(doc, TAVGis::Store::CNetworkImporter::SystemFor(doc));
            auto result = importer.Import(network);
            std::fputs(TAVGis::Store::CNetworkImporter::FormatReport(network.report, result).c_str(), stdout);
        }
        CDrawingFile::Save(doc, drawing);
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    return kExitOk;
}

int Export(const std::string& drawing, const std::string& file) {
    try {
        auto& doc = OpenDrawing(drawing, false, Access::Read);
        CDrawingFile::ReadAllColumns(doc);  // every attribute is written: one pass over the file
        std::string error;
        if (!TAVGis::Store::CGeoJsonWriter::WriteFile(doc, file, error)) return Error(error);
        auto& topo = TAVGis::Topology::TopologyOf(doc);
        std::printf("exported %zu nodes, %zu sections, %zu catchment areas to %s\n", topo.Nodes().size(),
                    topo.Sections().size(), topo.CatchmentAreas().size(), file.c_str());
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    return kExitOk;
}

int Info(const std::string& drawing) {
    try {
        auto& doc = OpenDrawing(drawing, false, Access::Read);
        auto& gis = TAVGis::GisData(doc);
        auto& topo = TAVGis::Topology::TopologyOf(doc);
        auto& net =
            doc.Extension<TAVGis::Topology::NetworkDrawingData>(TAVGis::Topology::NetworkDrawingData::kKey);
        std::size_t groups = 0, pipes = 0;
        if (auto it = net.catalogs.find(TAVGis::Data::kPipeCatalogName);
            it != net.catalogs.end() && it->second) {
            groups = it->second->GetRootItems().size();
            for (const auto& g : it->second->GetRootItems()) pipes += g->GetSubItems().size();
        }
        std::size_t linked = 0;
        for (const auto& a : topo.CatchmentAreas()) linked += a->sectionGuid.empty() ? 0 : 1;
        std::size_t xdata = 0;
        doc.Db().ForEachEntity([&](const TAVHost::DbEntity& e) { xdata += e.xdata.empty() ? 0 : 1; });
        std::printf("drawing: %s\n", doc.Name().c_str());
        std::printf("systems: %zu\n", gis.systems.size());
        std::printf("active system: %s\n", gis.activeSystem ? gis.activeSystem->GetName().c_str() : "(none)");
        std::printf("nodes: %zu\n", topo.Nodes().size());
        std::printf("sections: %zu\n", topo.Sections().size());
        std::printf("catchment areas: %zu\n", topo.CatchmentAreas().size());
        std::printf("catchment areas linked to a section: %zu\n", linked);
        std::printf("pipe groups: %zu\n", groups);
        std::printf("pipes: %zu\n", pipes);
        std::printf("dictionaries: %zu\n", doc.Db().Dictionaries().size());
        std::printf("entities with extended data: %zu\n", xdata);
        std::printf("settings: %zu\n", gis.settings.size());
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    return kExitOk;
}

// A value of `show`: 10 significant digits in CSV, 6 in a table meant for reading.
std::string FormatValue(const TAVGis::Data::CDataBox& box, bool forReading) {
    if (box.IsNull()) return {};
    if (box.IsText()) return box.ToString();
    return TAVHost::NumberText::General(box.ToDouble(), forReading ? 6 : 10);
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

int Show(const std::string& drawing, const std::vector<std::string>& attrs, const std::string& format) {
    try {
        auto& doc = OpenDrawing(drawing, false, Access::Read);
        auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
        std::vector<const TAVGis::Data::CDataDefinition*> defs;
        for (const auto& a : attrs) {
            const auto* def = config.GetDataDefinition(TAVGis::Data::kEntitySection, a);
            if (!def) return Error("sections have no attribute '" + a + "'");
            defs.push_back(def);
        }
        auto& gis = TAVGis::GisData(doc);
        std::vector<std::vector<std::string>> rows;
        std::vector<std::string> header{"section"};
        header.insert(header.end(), attrs.begin(), attrs.end());
        rows.push_back(header);
        TAVGis::Data::CDataBox box;
        for (const auto& s : TAVGis::Topology::TopologyOf(doc).Sections()) {
            std::vector<std::string> row{s->GetName()};
            for (const auto* def : defs) {
                gis.sectionStore.Get(*def, s->AttributeRow(), box);
                row.push_back(FormatValue(box, format != "csv"));
            }
            rows.push_back(std::move(row));
        }
        if (format == "csv") {
            for (const auto& row : rows) {
                std::string line;
                for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "," : "") + CsvField(row[i]);
                std::printf("%s\n", line.c_str());
            }
            return kExitOk;
        }
        std::vector<std::size_t> width(header.size(), 0);
        for (const auto& row : rows)
            for (std::size_t i = 0; i < row.size(); ++i) width[i] = std::max(width[i], row[i].size());
        for (const auto& row : rows) {
            std::string line;
            for (std::size_t i = 0; i < row.size(); ++i) {
                const std::string pad(width[i] - row[i].size(), ' ');
                line += i == 0 ? row[i] + pad : "  " + pad + row[i];
            }
            while (!line.empty() && line.back() == ' ') line.pop_back();
            std::printf("%s\n", line.c_str());
        }
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    return kExitOk;
}

int Set(const std::string& drawing, const std::vector<std::string>& assignments,
        const std::vector<std::string>& names) {
    try {
        auto& doc = OpenDrawing(drawing, false, Access::Write);
        auto& config = TAVGis::Data::CDataConfiguration::GetInstance();
        struct Assignment {
            const TAVGis::Data::CDataDefinition* def;
            TAVGis::Data::CDataBox value;  // null: remove
        };
        std::vector<Assignment> todo;
        for (const auto& a : assignments) {
            auto eq = a.find('=');
            if (eq == std::string::npos || eq == 0) return Error("'" + a + "' is not ATTRIBUTE=VALUE");
            const std::string name = a.substr(0, eq), text = a.substr(eq + 1);
            const auto* def = config.GetDataDefinition(TAVGis::Data::kEntitySection, name);
            if (!def) return Error("sections have no attribute '" + name + "'");
            TAVGis::Data::CDataBox value;
            if (!text.empty()) {
                if (def->GetValueType() == TAVGis::Data::ValueType::Text) {
                    if (!TAVGis::Store::ImportText::IsValidUtf8(text))
                        return Error(name + ": the value is not UTF-8 text");
                    value = TAVGis::Data::CDataBox(text);
                } else {
                    auto v = TAVGis::Store::ImportText::ParseNumber(text);
                    if (!v) return Error(name + ": '" + text + "' is not a number");
                    if (def->GetValueType() == TAVGis::Data::ValueType::Int &&
                        *v != static_cast<double>(static_cast<int>(*v)))
                        return Error(name + ": '" + text + "' is not a whole number");
                    value = TAVGis::Data::CDataBox(*v);
                }
            }
            todo.push_back({def, value});
        }
        auto& topo = TAVGis::Topology::TopologyOf(doc);
        std::vector<TAVGis::Topology::CSectionPtr> sections;
        if (names.empty()) {
            sections = topo.Sections();
        } else {
            for (const auto& n : names) {
                auto s = topo.FindSectionByName(n);
                if (!s) return Error("no section '" + n + "' in " + drawing);
                sections.push_back(s);
            }
        }
        auto& store = TAVGis::GisData(doc).sectionStore;
        for (const auto& s : sections)
            for (const auto& t : todo) store.Set(*t.def, s->AttributeRow(), t.value);
        doc.Db().Touch();
        CDrawingFile::Save(doc, drawing);
        std::printf("set %zu attribute(s) on %zu section(s)\n", todo.size(), sections.size());
    } catch (const CDrawingFileError& e) {
        return Error(e.what());
    }
    return kExitOk;
}

}  // namespace

int Main(int argc, char** argv) {
    CLI::App app{"sewercalc: sewer network design flows and pipe hydraulics from the command line"};
    app.require_subcommand(0, 1);
    std::string modulePath = ModuleHost::DefaultModulePath();
    app.add_option("--module", modulePath, "the module file to load")->capture_default_str();

    auto* help = app.add_subcommand("help", "show this help");
    auto* commands = app.add_subcommand("commands", "list the module's commands, one per line, name first");
    auto* dialogs = app.add_subcommand("dialogs", "list the module's dialog templates");
    auto* dialog = app.add_subcommand("dialog", "print a dialog's controls: id, name, kind, caption");
    std::string dialogId;
    dialog->add_option("DIALOG", dialogId, "dialog template id or name")->required();

    std::string drawing, script, file;
    bool dryRun = false;
    auto* run =
        app.add_subcommand("run", "run a script against a drawing and save it when the script succeeds");
    run->add_option("DRAWING", drawing,
                    "the drawing file (.gpkg; created when missing; '-' for a new unsaved drawing)")
        ->required();
    run->add_option("SCRIPT", script, "the script file")->required();
    run->add_flag("--dry-run", dryRun, "save nothing");

    auto* import =
        app.add_subcommand("import", "import a network (.inp, .geojson, .json) or a pipe catalogue (.csv)");
    import->add_option("DRAWING", drawing, "the drawing file (created when missing)")->required();
    import->add_option("FILE", file, "EPA SWMM 5 input file, GeoJSON file or pipe catalogue CSV")->required();
    bool codePage = false;
    import->add_flag("--code-page", codePage,
                     "the file's text is in the system's ANSI code page (windows-1250), not UTF-8");

    auto* exportCmd = app.add_subcommand("export", "write the network with all attributes as GeoJSON");
    exportCmd->add_option("DRAWING", drawing, "the drawing file")->required();
    exportCmd->add_option("FILE", file, "the GeoJSON file to write")->required();

    auto* info = app.add_subcommand("info", "print what a drawing holds, one 'NAME: N' line per count");
    info->add_option("DRAWING", drawing, "the drawing file")->required();

    std::vector<std::string> attrs;
    std::string format = "table";
    auto* show = app.add_subcommand("show", "print attributes of every section, one row per section");
    show->add_option("DRAWING", drawing, "the drawing file")->required();
    show->add_option("--attr", attrs, "attribute names")->required()->expected(1, -1);
    show->add_option("--format", format, "csv or table")
        ->check(CLI::IsMember({"csv", "table"}))
        ->capture_default_str();

    std::vector<std::string> assignments, sectionNames;
    auto* set = app.add_subcommand("set", "assign section attributes (ATTR= removes the value) and save");
    set->add_option("DRAWING", drawing, "the drawing file")->required();
    set->add_option("ASSIGNMENT", assignments, "ATTR=VALUE")->required()->expected(1, -1);
    set->add_option("--section", sectionNames, "the sections (default: all)")->expected(1, -1);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (*help || app.get_subcommands().empty()) {
        // The whole program's help, as --help prints it (App::help() would print the help subcommand's).
        std::cout << app.get_formatter()->make_help(&app, app.get_name(), CLI::AppFormatMode::Normal);
        return kExitOk;
    }
    if (*import) return Import(drawing, file, codePage);
    if (*exportCmd) return Export(drawing, file);
    if (*info) return Info(drawing);
    if (*show) return Show(drawing, attrs, format);
    if (*set) return Set(drawing, assignments, sectionNames);

    ModuleHost module;
    try {
        module.Load(modulePath);
    } catch (const std::exception& e) {
        return Error(e.what());
    }
    int rc = kExitOk;
    if (*commands)
        rc = ListCommands(module);
    else if (*dialogs)
        rc = ListDialogs(module);
    else if (*dialog)
        rc = ShowDialog(module, dialogId);
    else if (*run)
        rc = RunScript(module, drawing, script, dryRun);
    return rc;
}

// Freeing a network of 200,000 sections entry by entry takes longer than its calculations, and the operating
// system takes the whole process back at once anyway. Every drawing has been saved or deliberately left
// unsaved by the time Main returns, so a release build ends there without running the destructors of the
// open documents; builds with AddressSanitizer keep the ordinary exit so that leaks are still reported.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SEWERCALC_ORDINARY_EXIT 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
#define SEWERCALC_ORDINARY_EXIT 1
#endif

int main(int argc, char** argv) {
    const int rc = Main(argc, argv);
#ifndef SEWERCALC_ORDINARY_EXIT
    TAVGis::Store::CDrawingLock::ReleaseAll();
    std::cout.flush();
    std::fflush(nullptr);
    std::_Exit(rc);
#endif
    return rc;
}
