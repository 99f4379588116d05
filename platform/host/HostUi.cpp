#include "platform/host/HostUi.h"

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
};

QuietHostUi g_quiet;
HostUi* g_current = nullptr;

}  // namespace

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
