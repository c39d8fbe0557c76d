// link: luma_components
// Fuzz target: the DIB decoder on BMP and ICO bodies. A whole BMP or ICO file (as the seeds are)
// is cut to the DIB it holds; anything else is taken as a packed DIB. The header is read, then
// the DIB decoded packed and with its bits given apart, as metafile records pass them.
#include "components/decoders/DibDecoder.h"
#include "components/decoders/ImageLimits.h"

#include <QtEndian>
#include <cstddef>
#include <cstdint>

namespace {

// The DIB inside a bitmap file (after its 14-byte file header) or an icon (its first image).
QByteArrayView dibOf(QByteArrayView data)
{
    if (data.size() >= 14 && data.startsWith("BM"))
        return data.sliced(14);
    const auto *d = reinterpret_cast<const uchar *>(data.data());
    if (data.size() >= 22 && qFromLittleEndian<quint16>(d) == 0 && qFromLittleEndian<quint16>(d + 2) == 1 &&
        qFromLittleEndian<quint16>(d + 4) > 0) {
        const quint32 bytes = qFromLittleEndian<quint32>(d + 14);
        const quint32 offset = qFromLittleEndian<quint32>(d + 18);
        if (offset < quint64(data.size()))
            return data.sliced(offset, qMin<qint64>(bytes, data.size() - offset));
    }
    return data;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Qt's image readers (for embedded JPEG and PNG) warn on damaged data; printing every
    // warning would cost more than the run.
    static const bool quiet = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return true;
    }();
    (void)quiet;
    // Small pictures keep each run quick; the checks are the same at any limit.
    pictures::setMaxImageBytes(qint64(256) << 10);
    const QByteArrayView dib = dibOf(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const platform::ErrorOr<pictures::DibInfo> read = pictures::readDibHeader(dib);
    const bool header = read.ok();
    const pictures::DibInfo info = header ? *read : pictures::DibInfo();
    const platform::ErrorOr<QImage> decoded = pictures::decodePackedDib(dib);
    const QImage packed = decoded ? *decoded : QImage();
    if (!packed.isNull()) {
        // Only a header that reads can give a picture, and one not embedded as JPEG or PNG has its size.
        const bool embedded = info.compression == 4 || info.compression == 5;
        if (!header || (!embedded && packed.size() != QSize(int(info.width), int(info.height))))
            __builtin_trap();
    }
    if (header) {
        const qint64 split = qMin<qint64>(info.headerSize + info.colorTableBytes, dib.size());
        const platform::ErrorOr<QImage> apart = pictures::decodeDib(dib.first(split), dib.sliced(split));
        if (apart.ok() != decoded.ok())
            __builtin_trap(); // the same DIB, packed or apart, decodes the same way
    }
    return 0;
}
