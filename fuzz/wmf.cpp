// link: luma_components
// Fuzz target: WMF playback (record checks, GDI state, drawing with QPainter).
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Text needs fonts, and fonts need a GUI application.
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_wmf";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    pictures::setMaxImageBytes(qint64(4) << 20);
    (void)pictures::renderWmf(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)),
                              Qt::white);
    return 0;
}
