#pragma once
// What the desktop host's tests share: the module loaded once from its file, sewercalc run as a process,
// a temporary folder, and a person's actions on a dialog's widgets, found by the control's symbolic name
// (in the shown tab page first, then in the dialog, as scripts find them).
#include <gtest/gtest.h>

#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "host/gui/DialogView.h"
#include "host/gui/MainWindow.h"
#include "host/sewercalc/ModuleHost.h"

namespace guitest {

ModuleHost& Module();

struct Run {
    int code = -1;
    std::string output;  // standard output and error
};
// Runs sewercalc with the arguments (words quoted by the caller) in the folder `cwd` (empty: as it is).
Run Sewercalc(const std::string& args, const std::filesystem::path& cwd = {});

// A new empty folder, removed at the end of the scope.
class TempDir {
public:
    explicit TempDir(const std::string& name);
    ~TempDir();
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// A main window on the module, the HostUi while the test runs; alerts are collected, not shown.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<SewerGui::MainWindow> window;
    std::unique_ptr<TAVHost::ScopedHostUi> ui;
    std::vector<std::string> alerts;
};

// The widget of a control and the actions of a person on it. Each fails the test (ADD_FAILURE) and does
// nothing when the control has no widget of the kind the action needs.
QWidget* WidgetOf(SewerGui::DialogWindow& window, const std::string& name);
TAVUi::CControl* ControlOf(SewerGui::DialogWindow& window, const std::string& name);
void Click(SewerGui::DialogWindow& window, const std::string& name);
// Selects the whole text of an edit (or a combo's edit field) and types over it, key by key.
void TypeOver(SewerGui::DialogWindow& window, const std::string& name, const std::string& text);
void Check(SewerGui::DialogWindow& window, const std::string& name, bool on);
// Chooses an entry of a combo box or a tab as a person does (the widget's activation).
void Choose(SewerGui::DialogWindow& window, const std::string& name, int index);
std::string Shown(SewerGui::DialogWindow& window, const std::string& name);  // the text a label shows

}  // namespace guitest
