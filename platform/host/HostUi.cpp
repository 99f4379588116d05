#include "platform/host/HostUi.h"

#include <unistd.h>

#include <cstdio>

namespace TAVHost {
namespace {

class QuietHostUi final : public HostUi {
public:
    void Alert(const std::string& text) override { std::fprintf(stderr, "alert: %s\n", text.c_str()); }
    void Print(const std::string& text) override { std::fputs(text.c_str(), stderr); }
    int RunModal(TAVUi::CAdUiBaseDialog&) override { return 2; /* IDCANCEL */ }
    std::vector<std::string> Pick(const PickRequest&) override { return {}; }
    std::optional<std::string> GetFile(const FileRequest&) override { return std::nullopt; }
    std::optional<int> ChooseColor(int, bool) override { return std::nullopt; }
    void SetClipboardText(const std::string&) override {}
    void SetWaitCursor(bool) override {}
    void ShowProgress(const std::string& what, std::size_t done, std::size_t total) override {
        TerminalProgress::Show(what, done, total);
    }
    void EndProgress() override { TerminalProgress::End(); }
};

QuietHostUi g_quiet;
HostUi* g_current = nullptr;

}  // namespace

namespace {
bool g_progressShown = false;
unsigned g_progressPercent = 0;  // what the line shows now
bool StderrIsTerminal() {
    static const bool terminal = isatty(STDERR_FILENO) == 1;
    return terminal;
}
}  // namespace

void TerminalProgress::Show(const std::string& what, std::size_t done, std::size_t total) {
    if (!StderrIsTerminal() || total == 0) return;
    const auto percent = static_cast<unsigned>(done >= total ? 100 : done * 100 / total);
    if (g_progressShown && percent == g_progressPercent) return;
    g_progressPercent = percent;
    std::fprintf(stderr, "\r%s: %3u %%", what.c_str(), percent);
    std::fflush(stderr);
    g_progressShown = true;
}

void TerminalProgress::End() {
    if (!g_progressShown) return;
    std::fputs("\r\033[K", stderr);  // back to the line's start, the line cleared
    std::fflush(stderr);
    g_progressShown = false;
}

HostUi& GetHostUi() {
    return g_current ? *g_current : static_cast<HostUi&>(g_quiet);
}
void SetHostUi(HostUi* ui) {
    g_current = ui;
}

ScopedHostUi::ScopedHostUi(HostUi& ui) : m_previous(g_current) {
    g_current = &ui;
}
ScopedHostUi::~ScopedHostUi() {
    g_current = m_previous;
}

}  // namespace TAVHost
