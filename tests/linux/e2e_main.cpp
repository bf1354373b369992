// The end-to-end tests run on the caller's X display, each on a private
// session bus (ctest starts them under dbus-run-session).

#include <QApplication>

#include <gtest/gtest.h>

#include <iostream>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    // Listing the cases needs no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::cerr << "the end-to-end tests need an X display: set DISPLAY (Xvfb will do)\n";
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        std::cerr << "the end-to-end tests need a private session bus: run them under dbus-run-session\n";
        return 1;
    }
    // Global keys are read from X, so the window is a real X client too.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    // Qt's own dialogs whatever the desktop, so the tests can reach into them.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    return RUN_ALL_TESTS();
}
