// sewercalc-gui: the desktop host of the sewage-calculations module. It loads the same module file as
// sewercalc and shows the drawing, the module's commands and its dialogs in windows.
//
//   sewercalc-gui [--module FILE] [--colour ATTRIBUTE] [DRAWING]
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>

#include "MainWindow.h"
#include "host/sewercalc/ModuleHost.h"
#include "platform/host/HostUi.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("sewercalc-gui");
    QCommandLineParser parser;
    parser.setApplicationDescription("The desktop host of the sewage-calculations module");
    parser.addHelpOption();
    QCommandLineOption moduleOption("module", "The module file to load.", "FILE",
                                    QString::fromStdString(ModuleHost::DefaultModulePath()));
    QCommandLineOption colourOption("colour", "Colour the sections by a result attribute.", "ATTRIBUTE");
    parser.addOption(moduleOption);
    parser.addOption(colourOption);
    parser.addPositionalArgument("drawing", "A drawing file (.gpkg) to open.");
    parser.process(app);

    ModuleHost module;
    try {
        module.Load(parser.value(moduleOption).toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        QMessageBox::critical(nullptr, "sewercalc-gui", QString::fromStdString(e.what()));
        return 2;
    }
    int rc = 0;
    {
        SewerGui::MainWindow window(module);
        TAVHost::ScopedHostUi ui(window);
        if (!parser.positionalArguments().isEmpty())
            window.OpenDrawing(parser.positionalArguments().front().toStdString());
        if (parser.isSet(colourOption)) window.ColourBy(parser.value(colourOption).toStdString());
        window.show();
        rc = QApplication::exec();
    }
    module.Unload();
    return rc;
}
