// Window tests need an application object; they run offscreen.
#include "Startup.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The Song face the program maps "宋体" to, so that pictures show what users see.
    app::RegisterChineseFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
