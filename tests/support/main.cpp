// GoogleTest inside a QApplication: widgets, timers and queued events need one. Tests run on the
// offscreen platform unless the environment says otherwise.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Tests never depend on the machine's display, sound card or the folder they run from.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    if (qEnvironmentVariableIsEmpty("LUMA_TEST_DATA"))
        qputenv("LUMA_TEST_DATA", LUMA_SOURCE_DATA);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
