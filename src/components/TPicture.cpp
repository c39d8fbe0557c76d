#include "components/TPicture.h"

#include "components/decoders/DibDecoder.h"
#include "components/decoders/ExifOrientation.h"
#include "components/decoders/ImageLimits.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <climits>
#include <cstdlib>

namespace {

using platform::Error;

// Moves an icon reader to the image nearest to the standard 32 by 32.
void jumpToNearestIcon(QImageReader &reader)
{
    if (reader.imageCount() <= 1)
        return;
    int best = 0;
    int bestScore = INT_MAX;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize s = reader.size();
        const int score = std::abs(s.width() - 32) + std::abs(s.height() - 32);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    reader.jumpToImage(best);
}

// Reads a BMP or ICO with Qt's reader. For an icon with several images the one nearest to the
// standard 32 by 32 is taken. On failure kind says whether the size was over the limit.
QImage readQtPicture(const QByteArray &data, const QByteArray &format, QString &error, Error::Kind &kind)
{
    kind = Error::Kind::InvalidData;
    QImageReader::setAllocationLimit(int(pictures::maxImageBytes() >> 20));
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead()) {
        error = QStringLiteral("not a %1 picture").arg(QString::fromLatin1(format).toUpper());
        return {};
    }
    if (format == "ico")
        jumpToNearestIcon(reader);
    const QSize size = reader.size();
    if (size.isValid() && !pictures::imageSizeAllowed(size.width(), size.height())) {
        error = QStringLiteral("picture too large");
        kind = Error::Kind::TooLarge;
        return {};
    }
    QImage img = reader.read();
    if (img.isNull())
        error = reader.errorString();
    return img;
}

} // namespace

QSize iconPictureSize(const QByteArray &data)
{
    QBuffer buf;
    buf.setData(data);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, "ico");
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {};
    jumpToNearestIcon(reader);
    return reader.size();
}

platform::ErrorOr<QImage> decodeBitmapFile(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.error();
    const QString ext = QFileInfo(path).suffix().toLower();
    const QByteArray format = ext == QLatin1String("ico") || ext == QLatin1String("cur") ? "ico" : "bmp";
    if (format == "bmp" && data->startsWith("BM") && !pictures::bitmapFileComplete(*data, data->size()))
        return platform::makeError(Error::Kind::InvalidData,
                                   QStringLiteral("Bitmap file \"%1\" is truncated").arg(path));
    QString error;
    Error::Kind kind = Error::Kind::InvalidData;
    QImage img = readQtPicture(*data, format, error, kind);
    if (img.isNull())
        return platform::makeError(kind, QStringLiteral("Cannot read picture \"%1\": %2").arg(path, error));
    return img;
}

TPicture::TPicture(QWidget *parent) : QWidget(parent) {}

TPicture::~TPicture() = default;

void TPicture::clear()
{
    m_image = QImage();
    m_jpeg.reset();
    m_fileOrientation = 1;
    m_upright = QImage();
    m_uprightOf = 0;
    m_drawError.clear();
    pictureResized();
}

platform::Status TPicture::loadFromFile(const QString &path)
{
    clear();
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg") || ext == QLatin1String("jpe")) {
        auto jpeg = std::make_unique<TJPEGImage>();
        if (platform::Status status = jpeg->loadFromFile(path); !status)
            return status;
        connect(jpeg.get(), &TJPEGImage::progress, this, &TPicture::progress);
        connect(jpeg.get(), &TJPEGImage::passDecoded, this, [this](const QImage &partial) {
            // Drawn at once, and let go before the decode writes into the picture again.
            m_partial = partial;
            repaint();
            m_partial = QImage();
        });
        connect(jpeg.get(), &TJPEGImage::changed, this, [this] {
            m_drawError.clear();
            pictureResized();
        });
        m_jpeg = std::move(jpeg);
        // The EXIF data lies in the file's first segments.
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            m_fileOrientation = pictures::exifOrientation(file.read(256 * 1024));
        pictureResized();
        return platform::Status::success();
    }
    platform::ErrorOr<QImage> img = decodeBitmapFile(path);
    if (!img)
        return img.status();
    m_image = std::move(*img);
    pictureResized();
    return platform::Status::success();
}

bool TPicture::isDecoded() const
{
    return !m_jpeg || m_jpeg->hasBitmap();
}

platform::Status TPicture::decodeNow()
{
    if (!m_jpeg || m_jpeg->hasBitmap() || m_decoding)
        return platform::Status::success();
    m_decoding = true;
    const QImage decoded = m_jpeg ? m_jpeg->bitmap() : QImage();
    m_decoding = false;
    platform::Status status = m_jpeg ? m_jpeg->lastDecode() : platform::Status::success();
    if (decoded.isNull() && !status.ok())
        m_drawError = status.message();
    update();
    return status;
}

bool TPicture::isEmpty() const
{
    return m_image.isNull() && !m_jpeg;
}

int TPicture::pictureWidth() const
{
    return m_jpeg ? m_jpeg->width() : m_image.width();
}

int TPicture::pictureHeight() const
{
    return m_jpeg ? m_jpeg->height() : m_image.height();
}

bool TPicture::isMonochrome() const
{
    return !m_jpeg && !m_image.isNull() && m_image.depth() == 1;
}

void TPicture::setStretch(bool on)
{
    m_stretch = on;
    update();
}

void TPicture::setCenter(bool on)
{
    m_center = on;
    update();
}

void TPicture::setAutoSize(bool on)
{
    m_autoSize = on;
    pictureResized();
}

void TPicture::pictureResized()
{
    if (m_autoSize && !isEmpty())
        resize(shownSize());
    updateGeometry();
    update();
    emit pictureChanged();
}

QSize TPicture::sizeHint() const
{
    return isEmpty() ? QSize(0, 0) : shownSize();
}

QSize TPicture::shownSize() const
{
    return pictures::uprightSize(QSize(pictureWidth(), pictureHeight()), orientation());
}

void TPicture::setExifOrientation(bool on)
{
    if (on == m_applyOrientation)
        return;
    m_applyOrientation = on;
    m_uprightOf = 0;
    pictureResized();
}

QImage TPicture::image()
{
    if (!m_jpeg)
        return m_image;
    const QImage &decoded = m_jpeg->bitmap();
    if (orientation() == 1 || decoded.isNull())
        return decoded;
    if (m_uprightOf != decoded.cacheKey()) {
        m_upright = pictures::upright(decoded, orientation());
        m_uprightOf = decoded.cacheKey();
    }
    return m_upright;
}

void TPicture::paintEvent(QPaintEvent *)
{
    // A JPEG that failed to decode is not tried again at every paint; an option change clears
    // the reason and so allows a new attempt.
    if (isEmpty() || (m_jpeg && !m_drawError.isEmpty()))
        return;
    // While the owner decodes, or before it does: the coarse pass there is, or nothing.
    if (m_jpeg && !m_jpeg->hasBitmap() && (m_decoding || !m_decodeOnPaint)) {
        if (!m_partial.isNull())
            drawPicture(pictures::upright(m_partial, orientation()));
        return;
    }
    const QImage img = image();
    if (img.isNull()) {
        // A damaged JPEG found while drawing: draw nothing and keep the reason.
        if (m_jpeg && !m_jpeg->lastDecode().ok())
            m_drawError = m_jpeg->lastDecode().message();
        return;
    }
    drawPicture(img);
}

void TPicture::drawPicture(const QImage &img)
{
    QPainter p(this);
    if (m_stretch) {
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(rect(), img);
    } else if (m_center) {
        p.drawImage((width() - img.width()) / 2, (height() - img.height()) / 2, img);
    } else {
        p.drawImage(0, 0, img);
    }
}
