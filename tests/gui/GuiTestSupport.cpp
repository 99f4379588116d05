#include "GuiTestSupport.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

namespace guitest {

namespace fs = std::filesystem;

Run Sewercalc(const std::string& args, const fs::path& cwd) {
    Run r;
    std::string cmd = std::string("'") + SEWER_HOST_PATH + "' " + args + " 2>&1";
    if (!cwd.empty()) cmd = "cd '" + cwd.string() + "' && " + cmd;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int status = ::pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

void WindowTest::SetUp() {
    window = std::make_unique<SewerGui::MainWindow>(Module());
    ui = std::make_unique<TAVHost::ScopedHostUi>(*window);
    window->alertSink = [this](const std::string& text) { alerts.push_back(text); };
}

void WindowTest::TearDown() {
    ui.reset();
    window.reset();
}

TempDir::TempDir(const std::string& name)
    : m_path(fs::temp_directory_path() / ("sewergui_" + name + "_" + std::to_string(::getpid()))) {
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

namespace {
// Where a person clicks a button: a check box or radio on its box (its label may be narrower than the
// widget), any other button in its middle.
QPoint ClickPoint(const QAbstractButton& button) {
    if (button.inherits("QCheckBox") || button.inherits("QRadioButton"))
        return QPoint(6, button.height() / 2);
    return button.rect().center();
}

// The view that has the control: the shown tab page first, then the dialog itself.
std::pair<SewerGui::DialogView*, TAVUi::CControl*> Find(SewerGui::DialogWindow& window,
                                                        const std::string& name) {
    auto& root = window.View();
    if (auto* page = root.Dialog().ActivePage())
        for (auto* view : root.Pages())
            if (&view->Dialog() == page)
                if (auto* c = page->FindControl(name)) return {view, c};
    if (auto* c = root.Dialog().FindControl(name)) return {&root, c};
    return {nullptr, nullptr};
}
}  // namespace

TAVUi::CControl* ControlOf(SewerGui::DialogWindow& window, const std::string& name) {
    return Find(window, name).second;
}

QWidget* WidgetOf(SewerGui::DialogWindow& window, const std::string& name) {
    auto [view, control] = Find(window, name);
    if (!control) {
        ADD_FAILURE() << "dialog " << window.Dialog().TemplateId() << " has no control " << name;
        return nullptr;
    }
    QWidget* w = view->WidgetFor(control->id);
    if (!w) ADD_FAILURE() << "control " << name << " has no widget";
    return w;
}

void Click(SewerGui::DialogWindow& window, const std::string& name) {
    auto* button = qobject_cast<QAbstractButton*>(WidgetOf(window, name));
    if (!button) return ADD_FAILURE() << name << " is not a button";
    ASSERT_TRUE(button->isEnabled()) << name;
    QTest::mouseClick(button, Qt::LeftButton, {}, ClickPoint(*button));
}

void TypeOver(SewerGui::DialogWindow& window, const std::string& name, const std::string& text) {
    QWidget* w = WidgetOf(window, name);
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
    if (!edit) return ADD_FAILURE() << name << " takes no typed text";
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromStdString(text));
}

void Check(SewerGui::DialogWindow& window, const std::string& name, bool on) {
    auto* button = qobject_cast<QAbstractButton*>(WidgetOf(window, name));
    if (!button) return ADD_FAILURE() << name << " is not a check box";
    ASSERT_TRUE(button->isEnabled()) << name;
    if (button->isChecked() != on) QTest::mouseClick(button, Qt::LeftButton, {}, ClickPoint(*button));
    EXPECT_EQ(button->isChecked(), on) << name;
}

void Choose(SewerGui::DialogWindow& window, const std::string& name, int index) {
    QWidget* w = WidgetOf(window, name);
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        tabs->setCurrentIndex(index);
    } else {
        ADD_FAILURE() << name << " is neither a combo box nor a tab control";
    }
}

std::string Shown(SewerGui::DialogWindow& window, const std::string& name) {
    auto* label = qobject_cast<QLabel*>(WidgetOf(window, name));
    return label ? label->text().toStdString() : std::string();
}

}  // namespace guitest
