#pragma once
// The desktop host's main window, and the HostUi through which the module reaches the person: the plan
// view of the drawing, the module's commands in a menu and on the command line, the command-line output
// in a pane, alerts as message boxes, dialogs in windows rendered from their templates, picks in the plan
// view (the dialog hides meanwhile; the command line takes names, Enter ends the pick, Escape cancels),
// prompts answered on the command line (the dialog hides too),
// file and colour dialogs, the clipboard and a progress bar for long work.
#include <QMainWindow>
#include <functional>
#include <map>
#include <string>

#include "host/sewercalc/ModuleHost.h"
#include "platform/host/HostUi.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QEventLoop;

namespace SewerGui {

class DialogWindow;
class PlanView;

class MainWindow : public QMainWindow, public TAVHost::HostUi {
public:
    explicit MainWindow(ModuleHost& module, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Drawing files; errors are shown to the person and reported as false.
    bool NewDrawing();
    bool OpenDrawing(const std::string& path);
    bool SaveDrawing(const std::string& path = {});  // "" = the drawing's own path
    bool ImportFile(const std::string& path);
    bool ExportFile(const std::string& path);

    // Runs one of the module's commands (as its menu entry does); false when there is no such command.
    bool RunCommand(const std::string& name);
    // Colours the sections by a result attribute ("" = their own colours) and selects it in the list.
    void ColourBy(const std::string& attribute);

    PlanView& Plan() const { return *m_plan; }
    QLineEdit& CommandLine() const { return *m_commandLine; }
    QPlainTextEdit& Output() const { return *m_output; }
    QProgressBar& Progress() const { return *m_progress; }
    QComboBox& ColourList() const { return *m_colourList; }

    // HostUi
    void Alert(const std::string& text) override;
    void Print(const std::string& text) override;
    int RunModal(TAVUi::CAdUiBaseDialog& dialog) override;
    std::vector<std::string> Pick(const TAVHost::PickRequest& request) override;
    std::optional<std::string> GetFile(const TAVHost::FileRequest& request) override;
    std::optional<int> ChooseColor(int initialIndex, bool allowByLayerAndBlock) override;
    void SetClipboardText(const std::string& utf8) override;
    std::optional<std::string> GetClipboardText() override;
    void SetWaitCursor(bool on) override;
    std::optional<std::string> GetString(const std::string& prompt) override;
    void ShowProgress(const std::string& what, std::size_t done, std::size_t total) override;
    void EndProgress() override;

    // For tests and automation: called (from the event loop) once a dialog's window is shown, once a pick
    // waits for the person; an alert goes to `alertSink` instead of a message box when one is set, a file
    // question to `fileSink`.
    std::function<void(DialogWindow&)> dialogShown;
    std::function<void(const TAVHost::PickRequest&)> pickStarted;
    std::function<void(const std::string& prompt)> promptShown;
    std::function<void(const std::string&)> alertSink;
    std::function<std::optional<std::string>(const TAVHost::FileRequest&)> fileSink;
    // Ends the pick that waits (as Enter does) or cancels it (Escape).
    void FinishPick(bool cancel = false);
    // How often the bar moved, per piece of work (for tests).
    std::map<std::string, long> progressReports;

protected:
    void closeEvent(class QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void CommandLineEntered();
    void DocumentChanged();
    void UpdateTitle();
    void FillColourList();
    bool Modified() const;
    bool AskToSave();
    QWidget* DialogParent() const;
    std::vector<DialogWindow*> HideDialogs();

    ModuleHost& m_module;
    PlanView* m_plan;
    QPlainTextEdit* m_output;
    QLineEdit* m_commandLine;
    QLabel* m_prompt;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QComboBox* m_colourList;
    QEventLoop* m_pickLoop = nullptr;
    QEventLoop* m_promptLoop = nullptr;
    std::optional<std::string> m_answer;
    bool m_pickCancelled = false;
    bool m_running = false;  // a command runs
    std::uint64_t m_savedChanges = 0;
    int m_waitCursor = 0;
};

}  // namespace SewerGui
