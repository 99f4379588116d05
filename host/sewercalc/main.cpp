// sewercalc: the command-line host of the sewage-calculations module. It loads the module as a plug-in,
// lists its commands and dialogs, and runs scripts that build networks, run commands and drive their
// dialogs.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "ModuleHost.h"
#include "Script.h"
#include "ScriptRunner.h"
#include "platform/host/Document.h"
#include "platform/host/HostUi.h"
#include "platform/ui/DialogTemplate.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitExpectationFailed = 1;
constexpr int kExitError = 2;
constexpr int kExitCommandFailed = 3;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
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
            std::printf("%-6d %-34s %-12s %s\n", c.id, c.name.c_str(), TAVUi::ControlKindName(c.kind), Quote(c.caption).c_str());
        return kExitOk;
    }
    std::fprintf(stderr, "error: no dialog '%s' (see 'sewercalc dialogs')\n", which.c_str());
    return kExitError;
}

int RunScript(ModuleHost& module, const std::string& drawing, const std::string& scriptPath, bool dryRun) {
    std::vector<Statement> statements;
    try {
        statements = ParseScript(ReadFile(scriptPath), scriptPath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return kExitError;
    }
    if (drawing != "-") {
        std::fprintf(stderr, "error: %s: drawing files cannot be opened by this build; use '-' for a new drawing\n",
                     drawing.c_str());
        return kExitError;
    }
    acDocManagerPtr()->NewDocument("Drawing1.gpkg");
    ScriptRunner runner(module, std::move(statements), scriptPath, stdout);
    TAVHost::ScopedHostUi ui(runner);
    int failures = 0;
    try {
        failures = runner.Run();
    } catch (const ScriptError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "error: %s\n", e.what());
        return kExitError;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "error: the command failed: %s\n", e.what());
        return kExitCommandFailed;
    }
    (void)dryRun;
    if (failures) {
        std::fprintf(stderr, "%d expectation(s) failed\n", failures);
        return kExitExpectationFailed;
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
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
    auto* run = app.add_subcommand("run", "run a script against a drawing and save it");
    std::string drawing, script;
    bool dryRun = false;
    run->add_option("DRAWING", drawing, "the drawing ('-' for a new empty drawing)")->required();
    run->add_option("SCRIPT", script, "the script file")->required();
    run->add_flag("--dry-run", dryRun, "save nothing");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (*help || app.get_subcommands().empty()) {
        std::cout << app.help();
        return kExitOk;
    }

    ModuleHost module;
    try {
        module.Load(modulePath);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return kExitError;
    }
    int rc = kExitOk;
    if (*commands) rc = ListCommands(module);
    else if (*dialogs) rc = ListDialogs(module);
    else if (*dialog) rc = ShowDialog(module, dialogId);
    else if (*run) rc = RunScript(module, drawing, script, dryRun);
    return rc;
}
