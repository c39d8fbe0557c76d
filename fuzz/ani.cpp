// link: luma_thumbnails
// Fuzz target: animated cursor (RIFF ACON) parsing, frames read through Qt's ICO reader.
#include "components/decoders/AniDecoder.h"
#include "components/decoders/ImageLimits.h"
#include "thumbnails/Thumbnail.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_ani";
        static char *argv[] = {name, nullptr};
        // Qt warns on damaged data; printing every warning would cost more than the run.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    pictures::setMaxImageBytes(qint64(256) << 10);
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)), QStringLiteral("ani"),
        64, limits);
    (void)pictures::decodeAni(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
