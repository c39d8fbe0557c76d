// link: luma_components
// Fuzz target: EMF playback (record checks, GDI state, drawing with QPainter). The picture is
// played onto a small bitmap whatever size it claims: the same records and checks, at the cost
// of a few thousand pixels.
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
        static char name[] = "fuzz_emf";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    static QImage target(64, 64, QImage::Format_RGB32);
    // The limit bounds the bitmaps records carry and the size a picture may claim.
    pictures::setMaxImageBytes(qint64(1) << 20);
    target.fill(Qt::white);
    (void)pictures::drawEmf(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), target);
    return 0;
}
