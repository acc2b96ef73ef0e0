#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

// Every test runs headless: the offscreen platform unless the caller chose another.
int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
