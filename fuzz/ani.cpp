// link: luma_components
// Fuzz target: animated cursor (RIFF ACON) parsing, frames read through Qt's ICO reader.
#include "components/decoders/AniDecoder.h"
#include "components/decoders/ImageLimits.h"

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
    (void)pictures::decodeAni(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
