#pragma once
// Runs a script against the current drawing and answers the platform's HostUi from it: while a command's
// dialog is open, the next statements act on that dialog as a person would.
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ModuleHost.h"
#include "Script.h"
#include "platform/gis/GisSystem.h"
#include "platform/host/HostUi.h"

namespace TAVUi {
class CControl;
}

class ScriptRunner : public TAVHost::HostUi {
public:
    ScriptRunner(ModuleHost& module, std::vector<Statement> statements, std::string fileName, std::FILE* out);

    // Runs every statement. Throws ScriptError for a malformed statement; returns the number of failed
    // expectations.
    int Run();

    // HostUi
    void Alert(const std::string& text) override;
    void Print(const std::string& text) override;
    int RunModal(TAVUi::CAdUiBaseDialog& dialog) override;
    // A pick or a prompt the script has no queued answer for is answered with nothing, and printed as
    // "question: PROMPT (CANDIDATES): no answer", so that a script writer sees every question left open
    // (a division whose main direction nobody chose).
    std::vector<std::string> Pick(const TAVHost::PickRequest& request) override;
    std::optional<std::string> GetString(const std::string& prompt) override;
    std::optional<std::string> GetFile(const TAVHost::FileRequest& request) override;
    std::optional<int> ChooseColor(int initialIndex, bool allowByLayerAndBlock) override;
    void SetClipboardText(const std::string& utf8) override;
    std::optional<std::string> GetClipboardText() override { return m_clipboard; }
    void SetWaitCursor(bool) override {}
    // On standard error when it is a terminal only: the printed output of a run stays as it is.
    void ShowProgress(const std::string& what, std::size_t done, std::size_t total) override {
        TAVHost::TerminalProgress::Show(what, done, total);
    }
    void EndProgress() override { TAVHost::TerminalProgress::End(); }

private:
    void Execute(const Statement& st, TAVUi::CAdUiBaseDialog* dialog);
    bool ExecuteNetworkVerb(const Statement& st);
    bool ExecuteDialogVerb(const Statement& st, TAVUi::CAdUiBaseDialog& dialog);
    TAVUi::CControl& Control(const Statement& st, TAVUi::CAdUiBaseDialog& dialog, const std::string& word,
                             TAVUi::CAdUiBaseDialog** owner = nullptr);
    [[noreturn]] void Fail(const Statement& st, const std::string& message) const;
    void ExpectationFailed(const Statement& st, const std::string& message);
    void Need(const Statement& st, std::size_t minWords, const char* usage) const;
    double Number(const Statement& st, const std::string& word) const;
    int Integer(const Statement& st, const std::string& word) const;
    std::string Where(const Statement& st) const;
    void Unanswered(const std::string& prompt, const std::vector<std::string>& candidates);

    ModuleHost& m_module;
    std::vector<Statement> m_statements;
    std::size_t m_next = 0;
    std::string m_fileName;
    std::FILE* m_out;
    int m_failures = 0;
    TAVGis::System::CGisSystemPtr m_system;  // system new entities join
    std::deque<std::vector<std::string>> m_picks;
    std::deque<std::string> m_files;
    std::deque<std::optional<int>> m_colors;
    std::optional<std::string> m_clipboard;
};

// Prints a control's state (the dump format of scripts).
std::string DescribeControl(const TAVUi::CControl& control, bool withContents);
