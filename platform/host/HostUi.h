#pragma once
// HostUi: the one interface through which the platform reaches a person: alerts, command-line output,
// picks in the drawing, file and colour dialogs, the clipboard, the wait cursor and running a modal dialog.
// The command-line host answers it from a script, tests from a recording fake, a desktop host from a window.
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace TAVUi {
class CAdUiBaseDialog;
}

namespace TAVHost {

// What a pick in the drawing asks for.
struct PickRequest {
    enum class Kind {
        Entities,   // the user selects sections and nodes (a selection button)
        Direction,  // the user picks one of the outgoing sections at a node
    };
    Kind kind = Kind::Entities;
    std::string prompt;
    std::vector<std::string> candidates;  // names the pick is limited to (empty: any entity)
};

struct FileRequest {
    std::string title;
    std::string defaultName;
    std::string extension;
    int flags = 0;
};

// Thrown by a host through a running command to abandon it (a script that cannot go on, a window that is
// closing): the command frame takes back what the command changed and lets the exception go on to the host.
class HostInterrupt : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class HostUi {
public:
    virtual ~HostUi() = default;
    // An alert box; the text as the user sees it.
    virtual void Alert(const std::string& text) = 0;
    // Command-line output, exactly as printed (no newline added).
    virtual void Print(const std::string& text) = 0;
    // Runs an initialised modal dialog until it ends; returns its result code.
    virtual int RunModal(TAVUi::CAdUiBaseDialog& dialog) = 0;
    // Names of the picked entities; empty when the user picked nothing.
    virtual std::vector<std::string> Pick(const PickRequest& request) = 0;
    virtual std::optional<std::string> GetFile(const FileRequest& request) = 0;
    // A colour index chosen in the colour dialog, or nothing when cancelled.
    virtual std::optional<int> ChooseColor(int initialIndex, bool allowByLayerAndBlock) = 0;
    virtual void SetClipboardText(const std::string& utf8) = 0;
    // The clipboard's text, or nothing when the host cannot read it (or it holds no text).
    virtual std::optional<std::string> GetClipboardText() { return std::nullopt; }
    virtual void SetWaitCursor(bool on) = 0;
    // Waits at the command line until the person answers the prompt (the text as the person sees it), while
    // a dialog is hidden so that the person can look at the drawing; returns what was typed, nothing when
    // the host cannot ask. The default prints the prompt on a line of its own and answers nothing at once.
    virtual std::optional<std::string> GetString(const std::string& prompt) {
        Print(prompt + "\n");
        return std::nullopt;
    }
    // Progress of long work (see CProgress): `done` of `total` steps of the work named `what`; called at
    // most about a hundred times per piece of work, then EndProgress once. The default shows nothing.
    virtual void ShowProgress(const std::string& what, std::size_t done, std::size_t total) {}
    virtual void EndProgress() {}
};

// Progress on standard error, for a person at a terminal: one line rewritten in place ("what: 42 %"),
// cleared at the end. Shows nothing when standard error is not a terminal, so scripts and tests stay quiet.
class TerminalProgress {
public:
    static void Show(const std::string& what, std::size_t done, std::size_t total);
    static void End();
};

// The HostUi of the running host. Without one set, a quiet default writes alerts and output to stderr,
// cancels every dialog and answers every question with nothing.
HostUi& GetHostUi();
void SetHostUi(HostUi* ui);

// Puts a HostUi in place for a scope and restores the previous one.
class ScopedHostUi {
public:
    explicit ScopedHostUi(HostUi& ui);
    ~ScopedHostUi();
    ScopedHostUi(const ScopedHostUi&) = delete;
    ScopedHostUi& operator=(const ScopedHostUi&) = delete;

private:
    HostUi* m_previous;
};

// The wait cursor of the running host for a scope.
class ScopedWaitCursor {
public:
    ScopedWaitCursor() { GetHostUi().SetWaitCursor(true); }
    ~ScopedWaitCursor() { GetHostUi().SetWaitCursor(false); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
};

}  // namespace TAVHost
