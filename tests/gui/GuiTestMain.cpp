// The tests' QApplication on Qt's offscreen platform, and the module loaded once from its file, as
// sewercalc-gui loads it.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "GuiTestSupport.h"

namespace guitest {

ModuleHost& Module() {
    static ModuleHost module;
    if (!module.IsLoaded()) module.Load(SEWER_MODULE_PATH);
    return module;
}

}  // namespace guitest

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    guitest::Module();
    const int rc = RUN_ALL_TESTS();
    guitest::Module().Unload();
    return rc;
}
