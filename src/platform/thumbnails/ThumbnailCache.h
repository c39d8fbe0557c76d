// The desktop's shared thumbnail cache (the freedesktop Thumbnail Managing Standard), which file
// managers and picture programs read and write alike.
// Rules:
// - A file is named by its URI exactly as GLib writes it (g_filename_to_uri); the thumbnail's name is
//   the MD5 of that URI in lower-case hex plus ".png", in normal/ (128 pixels) or large/ (256).
// - A thumbnail is valid only while its Thumb::MTime (and Thumb::Size when present) equal the file's;
//   thumbnails written by other programs are used as they are when valid.
// - A failure is an empty PNG with the same keys under fail/<software>/; it stops retries until the
//   file changes.
// - Folders are made 0700, files 0600; a thumbnail is written under a temporary name in its folder
//   and renamed, so a reader never sees half a file.
// - A file that cannot be read is neither looked up nor recorded; nothing inside the cache itself is
//   thumbnailed.
// - Read-only shared repositories (.sh_thumbnails/ beside the files) are consulted after the
//   personal cache, never written.
#pragma once

#include "platform/Result.h"

#include <QImage>
#include <QString>

namespace platform::thumbs {

// The URI GLib gives a native absolute path; empty when the path is not absolute.
QString fileUri(const QString &nativePath);
// The MD5 of a URI in lower-case hex, plus ".png".
QString thumbnailFileName(const QString &uri);
// $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when that is unset or not absolute.
QString defaultCacheRoot();

// The facts of an original the cache keys on.
struct Original
{
    QString path; // native, absolute
    QString uri;
    qint64 mtime = 0; // seconds since the epoch
    qint64 size = 0;
    bool readable = false;
};
// Reads them from the file system; readable false when the file is missing or not readable.
Original describe(const QString &nativePath);

enum class Found { Nothing, Thumbnail, Failure };

struct Lookup
{
    Found found = Found::Nothing;
    QImage image; // with Found::Thumbnail
};

class ThumbnailCache
{
public:
    // software: the Software key and the failure folder's name ("lumavista-1.20").
    explicit ThumbnailCache(QString root = defaultCacheRoot(), QString software = {});

    const QString &root() const { return m_root; }
    const QString &software() const { return m_software; }
    // The folder of a size: normal/ up to 128 pixels, large/ above.
    QString folderFor(int size) const;
    QString pathFor(const QString &uri, int size) const;
    QString failurePath(const QString &uri) const;

    // True when the file lies inside this cache (such files are never thumbnailed).
    bool holds(const QString &nativePath) const;

    // A valid thumbnail of the size (personal cache, then a shared repository beside the file), or
    // our valid failure record, or nothing.
    Lookup lookup(const Original &original, int size) const;
    // Writes a thumbnail (at most size pixels on a side) with the standard's keys; pictureSize, when
    // valid, is the original picture's (Thumb::Image::Width and Height).
    Status store(const Original &original, int size, const QImage &thumbnail, QSize pictureSize = {}) const;
    Status storeFailure(const Original &original) const;

    // The PNG bytes of a thumbnail with the standard's keys as tEXt chunks (8-bit RGBA).
    static QByteArray encode(const QImage &image, const Original &original, const QString &software,
                             QSize pictureSize);

private:
    QString m_root;
    QString m_software;
};

// Writes data to path through a temporary name in the same folder (mode 0600) and a rename; the
// folders on the way that do not exist are made 0700.
Status writePrivateFile(const QString &path, const QByteArray &data);

} // namespace platform::thumbs
