// QTextDocument lays out pictures and fonts through the GUI application, so the tests
// run inside one, on the offscreen platform unless told otherwise. This main replaces
// gtest_main's (the archive's object is only pulled in when no main is defined).
#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
