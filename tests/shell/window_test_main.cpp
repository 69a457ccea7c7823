// The window's Qt Test suites, run one after the other in one application.
#include "about_box_test.h"
#include "main_window_test.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Windows come and go in every case; none of them ends the test program.
    QApplication::setQuitOnLastWindowClosed(false);
    int failed = 0;
    {
        tessaly::qt::testing::MainWindowTest test;
        failed += QTest::qExec(&test, argc, argv);
    }
    {
        tessaly::qt::testing::AboutBoxTest test;
        failed += QTest::qExec(&test, argc, argv);
    }
    return failed == 0 ? 0 : 1;
}
