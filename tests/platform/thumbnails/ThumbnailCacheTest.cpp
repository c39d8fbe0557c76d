// The thumbnail cache: names as GLib computes them, the PNG's keys and form, validity, the failure
// folder, permissions, the cache's own files, unreadable originals, shared repositories and
// thumbnails written by other programs.
#include "platform/thumbnails/ThumbnailCache.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <glib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

namespace pt = platform::thumbs;

namespace {

QString glibUri(const QString &path)
{
    gchar *uri = g_filename_to_uri(QFile::encodeName(path).constData(), nullptr, nullptr);
    const QString out = QString::fromUtf8(uri);
    g_free(uri);
    return out;
}

QString glibName(const QString &uri)
{
    gchar *sum = g_compute_checksum_for_string(G_CHECKSUM_MD5, uri.toUtf8().constData(), -1);
    const QString out = QString::fromLatin1(sum) + QStringLiteral(".png");
    g_free(sum);
    return out;
}

int modeOf(const QString &path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

void setTime(const QString &path, qint64 seconds)
{
    struct utimbuf t
    {
        seconds, seconds
    };
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &t), 0);
}

// The PNG's chunks in order: (type, data).
std::vector<std::pair<QByteArray, QByteArray>> chunks(const QByteArray &png)
{
    std::vector<std::pair<QByteArray, QByteArray>> out;
    qsizetype at = 8;
    while (at + 12 <= png.size()) {
        const quint32 length = (quint32(uchar(png[at])) << 24) | (quint32(uchar(png[at + 1])) << 16) |
                               (quint32(uchar(png[at + 2])) << 8) | quint32(uchar(png[at + 3]));
        out.emplace_back(png.mid(at + 4, 4), png.mid(at + 8, length));
        at += 12 + length;
    }
    return out;
}

class ThumbnailCacheTest : public ::testing::Test
{
protected:
    ThumbnailCacheTest() : cache(dir.filePath("cache/thumbnails"), QStringLiteral("lumavista-9.9"))
    {
        ::umask(022);
        QImage img(100, 50, QImage::Format_ARGB32);
        img.fill(Qt::red);
        thumb = img;
    }
    QString original(const QString &name, const QByteArray &content = "some bytes")
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        setTime(path, 1000000000);
        return path;
    }
    QTemporaryDir dir;
    pt::ThumbnailCache cache;
    QImage thumb;
};

TEST_F(ThumbnailCacheTest, NamesAreGLibsWithSpacesAccentsAndSigns)
{
    for (const char *name : {"plain.png", "with space.bmp", "été à Noël.jpg", "#1.pcx", "100%.wav",
                             "[draft].wmf", "a+b=c&d;e,f'g(h)!~*.mid", "日本.gif"}) {
        SCOPED_TRACE(name);
        const QString path = dir.filePath(QString::fromUtf8(name));
        EXPECT_EQ(pt::fileUri(path), glibUri(path));
        EXPECT_EQ(pt::thumbnailFileName(pt::fileUri(path)), glibName(glibUri(path)));
    }
    // The form GLib writes, fixed here so that a change of the URI function shows.
    EXPECT_EQ(pt::fileUri(QStringLiteral("/tmp/a b#%[é].png")),
              QStringLiteral("file:///tmp/a%20b%23%25%5B%C3%A9%5D.png"));
    EXPECT_EQ(pt::thumbnailFileName(QStringLiteral("file:///home/jens/photos/me.png")),
              QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
    EXPECT_TRUE(pt::fileUri(QStringLiteral("relative/x.png")).isEmpty());
    EXPECT_EQ(cache.pathFor(QStringLiteral("file:///x"), 128),
              cache.root() + "/normal/" + glibName("file:///x"));
    EXPECT_EQ(cache.pathFor(QStringLiteral("file:///x"), 256),
              cache.root() + "/large/" + glibName("file:///x"));
}

TEST_F(ThumbnailCacheTest, ThumbnailIsAnRgbaPngWithTheStandardKeysInTextChunks)
{
    const QString path = original("rose #2.pcx");
    const pt::Original o = pt::describe(path);
    ASSERT_TRUE(o.readable);
    ASSERT_TRUE(cache.store(o, 128, thumb, QSize(700, 350)));
    QFile f(cache.pathFor(o.uri, 128));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const auto list = chunks(f.readAll());
    ASSERT_FALSE(list.empty());
    ASSERT_EQ(list.front().first, "IHDR");
    EXPECT_EQ(int(uchar(list.front().second[8])), 8); // bit depth
    EXPECT_EQ(int(uchar(list.front().second[9])), 6); // colour type: RGBA
    std::map<QByteArray, QByteArray> keys;
    for (const auto &[type, data] : list)
        if (type == "tEXt")
            keys[data.left(data.indexOf('\0'))] = data.mid(data.indexOf('\0') + 1);
    EXPECT_EQ(keys["Thumb::URI"], glibUri(path).toUtf8());
    EXPECT_EQ(keys["Thumb::MTime"], "1000000000");
    EXPECT_EQ(keys["Thumb::Size"], "10");
    EXPECT_EQ(keys["Thumb::Image::Width"], "700");
    EXPECT_EQ(keys["Thumb::Image::Height"], "350");
    EXPECT_EQ(keys["Software"], "lumavista-9.9");
    const pt::Lookup found = cache.lookup(o, 128);
    ASSERT_EQ(found.found, pt::Found::Thumbnail);
    EXPECT_EQ(found.image.size(), QSize(100, 50));
    EXPECT_EQ(found.image.pixelColor(50, 25), QColor(Qt::red));
    // Not in the other size's folder.
    EXPECT_EQ(cache.lookup(o, 256).found, pt::Found::Nothing);
}

TEST_F(ThumbnailCacheTest, ValidOnlyWhileTimeAndSizeAreTheFiles)
{
    const QString path = original("a.bmp");
    ASSERT_TRUE(cache.store(pt::describe(path), 128, thumb));
    EXPECT_EQ(cache.lookup(pt::describe(path), 128).found, pt::Found::Thumbnail);
    setTime(path, 1000000001);
    EXPECT_EQ(cache.lookup(pt::describe(path), 128).found, pt::Found::Nothing);
    setTime(path, 1000000000);
    EXPECT_EQ(cache.lookup(pt::describe(path), 128).found, pt::Found::Thumbnail);
    // Same time, other size.
    original("a.bmp", "other, longer bytes");
    EXPECT_EQ(cache.lookup(pt::describe(path), 128).found, pt::Found::Nothing);
}

TEST_F(ThumbnailCacheTest, FailuresAreEmptyPngsInTheProgramsFolder)
{
    const QString path = original("broken.pcx");
    const pt::Original o = pt::describe(path);
    ASSERT_TRUE(cache.storeFailure(o));
    const QString failure = cache.root() + "/fail/lumavista-9.9/" + glibName(glibUri(path));
    ASSERT_TRUE(QFile::exists(failure));
    EXPECT_EQ(cache.failurePath(o.uri), failure);
    const QImage empty(failure);
    EXPECT_EQ(empty.size(), QSize(1, 1));
    EXPECT_EQ(empty.text("Thumb::URI"), glibUri(path));
    EXPECT_EQ(empty.text("Software"), "lumavista-9.9");
    EXPECT_EQ(cache.lookup(o, 128).found, pt::Found::Failure);
    // Another program's failures are its own.
    pt::ThumbnailCache other(cache.root(), QStringLiteral("lumavista-10.0"));
    EXPECT_EQ(other.lookup(o, 128).found, pt::Found::Nothing);
    // Changed, the file is tried again.
    setTime(path, 1000000005);
    EXPECT_EQ(cache.lookup(pt::describe(path), 128).found, pt::Found::Nothing);
}

TEST_F(ThumbnailCacheTest, FoldersArePrivateFilesTooAndNoTemporaryIsLeft)
{
    const pt::Original o = pt::describe(original("p.jpg"));
    ASSERT_TRUE(cache.store(o, 128, thumb));
    ASSERT_TRUE(cache.store(o, 256, thumb));
    ASSERT_TRUE(cache.storeFailure(o));
    for (const QString &folder :
         {dir.filePath("cache"), cache.root(), cache.root() + "/normal", cache.root() + "/large",
          cache.root() + "/fail", cache.root() + "/fail/lumavista-9.9"})
        EXPECT_EQ(modeOf(folder), 0700) << folder.toStdString();
    for (const QString &file :
         {cache.pathFor(o.uri, 128), cache.pathFor(o.uri, 256), cache.failurePath(o.uri)})
        EXPECT_EQ(modeOf(file), 0600) << file.toStdString();
    // Written again over the first: still one file, and no temporary beside it.
    ASSERT_TRUE(cache.store(o, 128, thumb));
    EXPECT_EQ(QDir(cache.root() + "/normal").entryList(QDir::Files | QDir::Hidden).size(), 1);
    // A thumbnail larger than its size is refused.
    EXPECT_FALSE(cache.store(o, 128, QImage(200, 10, QImage::Format_ARGB32)));
}

TEST_F(ThumbnailCacheTest, FilesInsideTheCacheAreNeverThumbnailed)
{
    const pt::Original o = pt::describe(original("p.jpg"));
    ASSERT_TRUE(cache.store(o, 128, thumb));
    const pt::Original inside = pt::describe(cache.pathFor(o.uri, 128));
    EXPECT_TRUE(cache.holds(inside.path));
    EXPECT_FALSE(cache.holds(o.path));
    EXPECT_FALSE(cache.store(inside, 128, thumb));
    EXPECT_FALSE(cache.storeFailure(inside));
    EXPECT_EQ(cache.lookup(inside, 128).found, pt::Found::Nothing);
    EXPECT_EQ(QDir(cache.root() + "/normal").entryList(QDir::Files).size(), 1);
}

TEST_F(ThumbnailCacheTest, AnUnreadableOriginalIsNeitherReadNorRecorded)
{
    const QString path = original("secret.bmp");
    ASSERT_TRUE(cache.store(pt::describe(path), 128, thumb));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0), 0);
    const pt::Original o = pt::describe(path);
    if (::access(QFile::encodeName(path).constData(), R_OK) == 0)
        GTEST_SKIP() << "the superuser reads every file";
    EXPECT_FALSE(o.readable);
    EXPECT_EQ(cache.lookup(o, 128).found, pt::Found::Nothing);
    EXPECT_FALSE(cache.storeFailure(o));
    EXPECT_FALSE(QFile::exists(cache.failurePath(o.uri)));
    EXPECT_FALSE(pt::describe(dir.filePath("missing.bmp")).readable);
}

TEST_F(ThumbnailCacheTest, SharedRepositoriesBesideTheFilesAreUsedNeverWritten)
{
    const QString path = original("cd photo.jpg");
    const pt::Original o = pt::describe(path);
    QImage shared(64, 64, QImage::Format_ARGB32);
    shared.fill(Qt::green);
    shared.setText("Thumb::URI", "./cd%20photo.jpg");
    shared.setText("Thumb::MTime", "1000000000");
    ASSERT_TRUE(QDir().mkpath(dir.filePath(".sh_thumbnails/normal")));
    const QString at = dir.filePath(".sh_thumbnails/normal/") + glibName("./cd%20photo.jpg");
    ASSERT_TRUE(shared.save(at, "png"));
    pt::Lookup found = cache.lookup(o, 128);
    ASSERT_EQ(found.found, pt::Found::Thumbnail);
    EXPECT_EQ(found.image.pixelColor(1, 1), QColor(Qt::green));
    // Older repositories name the file without "./".
    QFile::remove(at);
    shared.setText("Thumb::URI", "cd%20photo.jpg");
    ASSERT_TRUE(shared.save(dir.filePath(".sh_thumbnails/normal/") + glibName("cd%20photo.jpg"), "png"));
    EXPECT_EQ(cache.lookup(o, 128).found, pt::Found::Thumbnail);
    // Out of date there: not used.
    setTime(path, 1000000009);
    EXPECT_EQ(cache.lookup(pt::describe(path), 128).found, pt::Found::Nothing);
    EXPECT_FALSE(QDir(cache.root()).exists());
}

TEST_F(ThumbnailCacheTest, ThumbnailsOfOtherProgramsAreUsedAsTheyAre)
{
    const QString path = original("from the desktop.png");
    const pt::Original o = pt::describe(path);
    // As a desktop library writes it: long values in compressed text, no size key.
    QImage img(128, 96, QImage::Format_RGB32);
    img.fill(Qt::blue);
    img.setText("Thumb::URI", glibUri(path));
    img.setText("Thumb::MTime", "1000000000");
    img.setText("Software", "another program");
    ASSERT_TRUE(QDir().mkpath(cache.root() + "/normal"));
    ASSERT_TRUE(img.save(cache.root() + "/normal/" + glibName(glibUri(path)), "png"));
    const pt::Lookup found = cache.lookup(o, 128);
    ASSERT_EQ(found.found, pt::Found::Thumbnail);
    EXPECT_EQ(found.image.pixelColor(5, 5), QColor(Qt::blue));
    // A thumbnail of another file under this name (a collision, or a stale rename) is not this one's.
    img.setText("Thumb::URI", "file:///somewhere/else.png");
    ASSERT_TRUE(img.save(cache.root() + "/normal/" + glibName(glibUri(path)), "png"));
    EXPECT_EQ(cache.lookup(o, 128).found, pt::Found::Nothing);
}

TEST_F(ThumbnailCacheTest, DefaultRootFollowsXdgCacheHome)
{
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/srv/cache");
    EXPECT_EQ(pt::defaultCacheRoot(), QStringLiteral("/srv/cache/thumbnails"));
    qputenv("XDG_CACHE_HOME", "relative");
    EXPECT_EQ(pt::defaultCacheRoot(), QDir::homePath() + "/.cache/thumbnails");
    qputenv("XDG_CACHE_HOME", saved);
}

} // namespace
