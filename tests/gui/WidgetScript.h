#pragma once
// Runs a sewercalc script through the desktop host's widgets: `command` through the main window, and
// while a command's dialog is open every dialog statement as a person's action on the widget of the
// control (typing key by key, clicking buttons and check boxes on their box, choosing entries, ticking and
// editing rows of an editable list, selecting rows), `pick` as clicks in the plan view, `file` as the answer
// to the next file question. The expectations of the script are checked against what the widgets show and
// the drawing holds; a failure is a test failure naming the script's file and line. Output statements
// (echo, print, dump, controls) print nothing; statements that build a network are not supported.
#include <deque>
#include <string>
#include <vector>

#include "host/gui/MainWindow.h"
#include "host/sewercalc/Script.h"

namespace guitest {

class WidgetScript {
public:
    WidgetScript(SewerGui::MainWindow& window, const std::string& path);
    void Run();

private:
    void OnDialog(SewerGui::DialogWindow& window);
    void OnPick(const TAVHost::PickRequest& request);
    bool Other(const Statement& st);
    void Dialog(const Statement& st, SewerGui::DialogWindow& window);
    std::string Where(const Statement& st) const;

    SewerGui::MainWindow& m_window;
    std::string m_path;
    std::vector<Statement> m_statements;
    std::size_t m_next = 0;
    std::deque<std::vector<std::string>> m_picks;
    std::deque<std::string> m_files;
};

}  // namespace guitest
