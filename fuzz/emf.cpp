// link: luma_thumbnails
// Fuzz target: EMF playback (record checks, GDI state, drawing with QPainter). The picture is
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

constexpr quint32 kMaxSlots = 256;

// A record that creates an object may put it at any slot below 65536, and the player grows its
// object table to that slot: tables that large would cost most of a run, so such slots are
// folded below 256 (on a copy). Slots the player refuses are left as they are.
QByteArrayView withSmallTable(const uint8_t *data, size_t size)
{
    static std::vector<uint8_t> copy;
    bool copied = false;
    const auto le32 = [](const uint8_t *p) {
        return quint32(p[0] | p[1] << 8 | p[2] << 16 | quint32(p[3]) << 24);
    };
    for (size_t pos = 0; pos + 12 <= size;) {
        const quint32 type = le32(data + pos), bytes = le32(data + pos + 4), slot = le32(data + pos + 8);
        if (bytes < 8 || bytes > size - pos)
            break;
        // CREATEPEN, CREATEBRUSHINDIRECT, CREATEPALETTE, EXTCREATEFONTINDIRECTW, CREATEMONOBRUSH,
        // CREATEDIBPATTERNBRUSHPT, EXTCREATEPEN, CREATECOLORSPACE, CREATECOLORSPACEW.
        const bool creates = type == 38 || type == 39 || type == 49 || type == 82 || type == 93 ||
                             type == 94 || type == 95 || type == 99 || type == 122;
        if (creates && slot >= kMaxSlots && slot < 65536) {
            if (!copied) {
                copy.assign(data, data + size);
                copied = true;
            }
            copy[pos + 8] = uint8_t(slot % kMaxSlots);
            copy[pos + 9] = 0;
        }
        pos += bytes;
    }
    return QByteArrayView(reinterpret_cast<const char *>(copied ? copy.data() : data), qsizetype(size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Text needs fonts, and fonts need a GUI application.
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_emf";
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
    const QByteArrayView bytes = withSmallTable(data, size);
    // The thumbnail path of the type, as the file list and the desktop's thumbnailer take it.
    thumbs::Limits limits;
    limits.maxPicturePixels = 16384;
    (void)thumbs::thumbnailOfData(QByteArray::fromRawData(bytes.data(), bytes.size()), QStringLiteral("emf"),
                                  64, limits);
    (void)pictures::drawEmf(bytes, target);
    return 0;
}
