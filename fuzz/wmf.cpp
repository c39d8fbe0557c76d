// link: luma_thumbnails
// Fuzz target: WMF playback (record checks, GDI state, drawing with QPainter). The picture is
// played onto a small bitmap whatever size it claims: the same records and checks, at the cost
// of a few thousand pixels.
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"
#include "thumbnails/Thumbnail.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {
constexpr int kMaxObjects = 256;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Text needs fonts, and fonts need a GUI application.
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_wmf";
        static char *argv[] = {name, nullptr};
        // Qt warns on damaged data; printing every warning would cost more than the run.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    static QImage target(64, 64, QImage::Format_RGB32);
    // The limit bounds the bitmaps records carry and the size a picture may claim.
    pictures::setMaxImageBytes(qint64(1) << 20);
    target.fill(Qt::white);
    // The player makes the object table the header asks for (up to 65535 slots) before the first
    // record: a table that large would cost most of a run, so the count is cut to what a small
    // file can fill. Its header follows the 22-byte placeable header when there is one.
    QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const size_t at =
        size >= 4 && data[0] == 0xd7 && data[1] == 0xcd && data[2] == 0xc6 && data[3] == 0x9a ? 32 : 10;
    static std::vector<uint8_t> copy;
    if (size >= at + 2 && (data[at] | (data[at + 1] << 8)) > kMaxObjects) {
        copy.assign(data, data + size);
        copy[at] = kMaxObjects & 0xff;
        copy[at + 1] = kMaxObjects >> 8;
        bytes = QByteArrayView(reinterpret_cast<const char *>(copy.data()), qsizetype(size));
    }
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(QByteArray::fromRawData(bytes.data(), bytes.size()), QStringLiteral("wmf"),
                                  64, limits);
    (void)pictures::drawWmf(bytes, target);
    return 0;
}
