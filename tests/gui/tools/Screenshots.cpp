// gui_screenshots: pictures of the desktop host for the README, taken by scripts/screenshots.sh under Xvfb:
// the main window with a drawing coloured by a result attribute, and two dialogs as a person fills them.
//
//   gui_screenshots MODULE DRAWING OUTDIR
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <string>

#include "host/gui/DialogView.h"
#include "host/gui/MainWindow.h"
#include "host/gui/PlanView.h"
#include "host/sewercalc/ModuleHost.h"
#include "platform/host/HostUi.h"

namespace {

using SewerGui::DialogWindow;

QWidget* Widget(DialogWindow& w, const std::string& name) {
    auto& root = w.View();
    if (auto* page = root.Dialog().ActivePage())
        for (auto* view : root.Pages())
            if (&view->Dialog() == page)
                if (auto* c = page->FindControl(name)) return view->WidgetFor(c->id);
    auto* c = root.Dialog().FindControl(name);
    return c ? root.WidgetFor(c->id) : nullptr;
}

void Click(DialogWindow& w, const std::string& name) {
    if (auto* b = qobject_cast<QAbstractButton*>(Widget(w, name))) b->click();
}

void Tab(DialogWindow& w, int index) {
    if (auto* t = qobject_cast<QTabWidget*>(Widget(w, "IDC_TAB"))) t->setCurrentIndex(index);
}

bool Save(QWidget& widget, const std::string& path) {
    QApplication::processEvents();
    const bool ok = widget.grab().save(QString::fromStdString(path));
    std::printf("%s %s\n", ok ? "wrote" : "could not write", path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: gui_screenshots MODULE DRAWING OUTDIR\n");
        return 2;
    }
    const std::string out = argv[3];
    ModuleHost module;
    module.Load(argv[1]);
    bool ok = true;
    {
        SewerGui::MainWindow window(module);
        TAVHost::ScopedHostUi ui(window);
        window.alertSink = [](const std::string& text) { std::fprintf(stderr, "alert: %s\n", text.c_str()); };
        window.resize(1280, 860);
        window.show();
        ok = window.OpenDrawing(argv[2]);
        window.ColourBy("FILLING_PERCENT");
        window.Plan().ZoomExtents();
        ok = ok && Save(window, out + "/main_window.png");

        // Transit and total flow: the transit page with the flows ticked that the main job carries.
        window.dialogShown = [&](DialogWindow& w) {
            Click(w, "IDC_BUTTON_CLEAR_ALL");
            for (const char* check : {"IDC_CHECK_HOME_PERCENT", "IDC_CHECK_SIMPLE", "IDC_CHECK_STRANE"})
                Click(w, check);
            ok = Save(w, out + "/dialog_transit.png") && ok;
            w.reject();
        };
        window.RunCommand("CalcFlowTotal");

        // The automatic dimensioning after a calculation over the concrete pipes: the result list.
        window.dialogShown = [&](DialogWindow& w) {
            Tab(w, 1);
            Click(w, "IDC_RADIO_MIN_DIAMETER");
            Click(w, "IDC_RADIO_WITHOUT_CONDITIONS");
            if (auto* combo = qobject_cast<QComboBox*>(Widget(w, "IDC_COMBO_GROUP"))) {
                const int index = std::max(0, combo->findText("Concrete EN 1916"));
                combo->setCurrentIndex(index);
                emit combo->activated(index);
            }
            Click(w, "IDC_CALCULATE");
            ok = Save(w, out + "/dialog_dimensioning.png") && ok;
            w.reject();
        };
        window.RunCommand("CalcHydraulicsSewage");
        window.dialogShown = nullptr;
    }
    module.Unload();
    return ok ? 0 : 1;
}
