// The tests' QApplication on Qt's offscreen platform, and the module loaded once from its file, as
// sewercalc-gui loads it. Per-user files the dialogs keep (the workspace store, the rain stations) go to a
// scratch folder of the run, never to the home folder of the person running the tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <string>

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
    const std::filesystem::path configDir =
        std::filesystem::temp_directory_path() / ("tavx_gui_test_config_" + std::to_string(::getpid()));
    std::filesystem::remove_all(configDir);
    ::setenv("TAVX_CONFIG_DIR", configDir.c_str(), 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    guitest::Module();
    const int rc = RUN_ALL_TESTS();
    guitest::Module().Unload();
    std::error_code ec;
    std::filesystem::remove_all(configDir, ec);
    return rc;
}
