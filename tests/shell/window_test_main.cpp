// The window's suites, as GoogleTest cases in one Qt application (ctest lists
// each case), on the offscreen platform: no screen needed.
#include "shell/qt/qt_translations.h"
#include "support/user_folders.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Offscreen unless asked otherwise, also when ctest lists the cases.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program does: Qt's own dialogs and menus in Chinese.
    tessaly::qt::loadQtTranslations(app);
    // Windows come and go in every case; none of them ends the test program.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    // No test reads or adds to the learning record of whoever runs them.
    ::testing::AddGlobalTestEnvironment(new tessaly::testing::UserFoldersAside);
    return RUN_ALL_TESTS();
}
