#include "platform/thumbnails/ThumbnailCache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace platform::thumbs {

namespace {

Error ioError(const QString &path, int error)
{
    return makeError(Error::Kind::Io,
                     QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error))), error);
}

// Makes every missing folder of path with mode 0700; folders that exist are left as they are.
bool makePrivateFolders(const QString &path)
{
    const QByteArray native = QFile::encodeName(QDir::cleanPath(path));
    for (qsizetype at = 1; at <= native.size(); ++at) {
        if (at < native.size() && native[at] != '/')
            continue;
        const QByteArray part = native.left(at);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

void appendChunk(QByteArray &png, const char type[4], const QByteArray &data)
{
    const quint32 length = quint32(data.size());
    const char be[4] = {char(length >> 24), char(length >> 16), char(length >> 8), char(length)};
    png.append(be, 4);
    QByteArray body(type, 4);
    body += data;
    png += body;
    const quint32 crc = quint32(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef *>(body.constData()), uInt(body.size())));
    const char c[4] = {char(crc >> 24), char(crc >> 16), char(crc >> 8), char(crc)};
    png.append(c, 4);
}

QString ownSoftware()
{
    return QStringLiteral("lumavista-" LUMAVISTA_VERSION);
}

// Whether a thumbnail's keys describe this original: same modification time, same size when the
// writer recorded one, and (unless relative, in a shared repository) the same URI.
bool describes(const QImage &img, const Original &o, const QStringList &uris)
{
    if (img.isNull())
        return false;
    const QString uri = img.text(QStringLiteral("Thumb::URI"));
    if (!uri.isEmpty() && !uris.contains(uri))
        return false;
    bool ok = false;
    const qint64 mtime = img.text(QStringLiteral("Thumb::MTime")).toLongLong(&ok);
    if (!ok || mtime != o.mtime)
        return false;
    const QString size = img.text(QStringLiteral("Thumb::Size"));
    if (!size.isEmpty() && size.toLongLong(&ok) != o.size)
        return false;
    return true;
}

QImage readPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setDecideFormatFromContent(false);
    // A cached thumbnail is small; anything big is not one of them.
    const QSize s = reader.size();
    if (!s.isValid() || s.width() > 1024 || s.height() > 1024)
        return {};
    return reader.read();
}

} // namespace

QString fileUri(const QString &nativePath)
{
    if (!QDir::isAbsolutePath(nativePath))
        return {};
    const QByteArray native = QFile::encodeName(nativePath);
    gchar *uri = g_filename_to_uri(native.constData(), nullptr, nullptr);
    if (!uri)
        return {};
    QString out = QString::fromUtf8(uri);
    g_free(uri);
    return out;
}

QString thumbnailFileName(const QString &uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex()) +
           QLatin1String(".png");
}

QString defaultCacheRoot()
{
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!cache.isEmpty() && QDir::isAbsolutePath(cache))
        return QDir::cleanPath(cache) + QLatin1String("/thumbnails");
    return QDir::homePath() + QLatin1String("/.cache/thumbnails");
}

Original describe(const QString &nativePath)
{
    Original o;
    o.path = QFileInfo(nativePath).absoluteFilePath();
    o.uri = fileUri(o.path);
    struct stat st
    {
    };
    const QByteArray native = QFile::encodeName(o.path);
    if (::stat(native.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return o;
    o.mtime = qint64(st.st_mtim.tv_sec);
    o.size = qint64(st.st_size);
    o.readable = !o.uri.isEmpty() && ::access(native.constData(), R_OK) == 0;
    return o;
}

ThumbnailCache::ThumbnailCache(QString root, QString software)
    : m_root(QDir::cleanPath(std::move(root))), m_software(software.isEmpty() ? ownSoftware() : software)
{
}

QString ThumbnailCache::folderFor(int size) const
{
    return m_root + (size <= 128 ? QLatin1String("/normal") : QLatin1String("/large"));
}

QString ThumbnailCache::pathFor(const QString &uri, int size) const
{
    return folderFor(size) + QLatin1Char('/') + thumbnailFileName(uri);
}

QString ThumbnailCache::failurePath(const QString &uri) const
{
    return m_root + QLatin1String("/fail/") + m_software + QLatin1Char('/') + thumbnailFileName(uri);
}

bool ThumbnailCache::holds(const QString &nativePath) const
{
    const QString root = QFileInfo(m_root).canonicalFilePath();
    const QString path = QFileInfo(nativePath).canonicalFilePath();
    const QString plainRoot = m_root + QLatin1Char('/');
    if (QDir::cleanPath(nativePath).startsWith(plainRoot))
        return true;
    return !root.isEmpty() && !path.isEmpty() && path.startsWith(root + QLatin1Char('/'));
}

Lookup ThumbnailCache::lookup(const Original &o, int size) const
{
    Lookup out;
    if (!o.readable || holds(o.path))
        return out;
    if (QImage img = readPng(pathFor(o.uri, size)); describes(img, o, {o.uri})) {
        out.found = Found::Thumbnail;
        out.image = std::move(img);
        return out;
    }
    // A shared repository names a file by its own URI segment ("./name" in newer writers).
    const QString segment = o.uri.mid(o.uri.lastIndexOf(QLatin1Char('/')) + 1);
    const QString shared = QFileInfo(o.path).absolutePath() + QLatin1String("/.sh_thumbnails") +
                           (size <= 128 ? QLatin1String("/normal/") : QLatin1String("/large/"));
    for (const QString &relative : {QLatin1String("./") + segment, segment}) {
        if (QImage img = readPng(shared + thumbnailFileName(relative));
            describes(img, o, {relative, o.uri, QLatin1String("./") + segment, segment})) {
            out.found = Found::Thumbnail;
            out.image = std::move(img);
            return out;
        }
    }
    if (QFile::exists(failurePath(o.uri)) && describes(readPng(failurePath(o.uri)), o, {o.uri}))
        out.found = Found::Failure;
    return out;
}

QByteArray ThumbnailCache::encode(const QImage &image, const Original &o, const QString &software,
                                  QSize pictureSize)
{
    QByteArray plain;
    {
        QBuffer buffer(&plain);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(image.convertToFormat(QImage::Format_ARGB32)))
            return {};
    }
    // Signature (8 bytes), then IHDR (25): the keys follow it, ahead of the pixels.
    constexpr qsizetype kAfterHeader = 33;
    if (plain.size() < kAfterHeader || plain.mid(12, 4) != "IHDR")
        return {};
    QByteArray png = plain.left(kAfterHeader);
    const auto key = [&](const char *name, const QString &value) {
        appendChunk(png, "tEXt", QByteArray(name) + '\0' + value.toLatin1());
    };
    key("Thumb::URI", o.uri);
    key("Thumb::MTime", QString::number(o.mtime));
    key("Thumb::Size", QString::number(o.size));
    if (pictureSize.isValid()) {
        key("Thumb::Image::Width", QString::number(pictureSize.width()));
        key("Thumb::Image::Height", QString::number(pictureSize.height()));
    }
    key("Software", software);
    png += plain.mid(kAfterHeader);
    return png;
}

Status ThumbnailCache::store(const Original &o, int size, const QImage &thumbnail, QSize pictureSize) const
{
    if (!o.readable || holds(o.path))
        return makeError(Error::Kind::Other, QStringLiteral("%1: not to be thumbnailed").arg(o.path));
    if (thumbnail.isNull() || thumbnail.width() > size || thumbnail.height() > size)
        return makeError(Error::Kind::InvalidData, QStringLiteral("no thumbnail of that size"));
    const QByteArray png = encode(thumbnail, o, m_software, pictureSize);
    if (png.isEmpty())
        return makeError(Error::Kind::Other, QStringLiteral("the PNG writer failed"));
    return writePrivateFile(pathFor(o.uri, size), png);
}

Status ThumbnailCache::storeFailure(const Original &o) const
{
    if (!o.readable || holds(o.path))
        return makeError(Error::Kind::Other, QStringLiteral("%1: not to be thumbnailed").arg(o.path));
    QImage empty(1, 1, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    return writePrivateFile(failurePath(o.uri), encode(empty, o, m_software, {}));
}

Status writePrivateFile(const QString &path, const QByteArray &data)
{
    const QFileInfo info(path);
    if (!makePrivateFolders(info.absolutePath()))
        return ioError(info.absolutePath(), errno);
    QByteArray temp = QFile::encodeName(info.absolutePath() + QLatin1String("/.") + info.fileName() +
                                        QLatin1String(".XXXXXX"));
    // mkostemp makes the file 0600.
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return ioError(path, errno);
    const char *at = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, at, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : EIO;
            ::close(fd);
            ::unlink(temp.constData());
            return ioError(path, error);
        }
        at += n;
        left -= n;
    }
    if (::close(fd) != 0 || ::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return ioError(path, error);
    }
    return Status::success();
}

} // namespace platform::thumbs
