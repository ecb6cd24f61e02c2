#include <QApplication>
#include <gtest/gtest.h>

// Every test executable runs with a QApplication on the offscreen platform,
// so widgets, fonts, timers and the event loop work without a display.
int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
