// Folder change times and the folder handles a rescan walks with: which changes move a folder's
// time, and what a handle answers about its files and sub-folders compared with a search.
#include "DrivesTestSupport.h"
#include "platform/drives/DirSearch.h"
#include "platform/drives/FileTimes.h"

#include <QThread>
#include <sys/stat.h>

using namespace platform;
using drives_test::ScopedDrives;

namespace {

class FolderHandleTest : public ::testing::Test
{
protected:
    QString path(const QString &rel) const { return tmp.path() + '/' + rel; }
    void write(const QString &rel, const QByteArray &data = "x")
    {
        QDir().mkpath(QFileInfo(path(rel)).absolutePath());
        QFile f(path(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    // The kernel's file times move in coarse steps: wait past one before the next change.
    static void tick() { QThread::msleep(20); }

    QTemporaryDir tmp;
};

QStringList listed(DirSearch &search, int code)
{
    QStringList names;
    for (; code == ERROR_SUCCESS; code = search.findNext())
        names << search.entry().name + (search.entry().isFolder() ? "/" : "");
    names.sort();
    return names;
}

} // namespace

TEST_F(FolderHandleTest, FolderTimeMovesWithEntriesModeAndRenameButNotWithFileContent)
{
    write("a/one.bmp");
    write("a/sub/two.bmp");
    tick();
    QString a = path("a");
    int64_t t = folderChangeTimeNs(a);
    ASSERT_GT(t, 0);
    EXPECT_LE(t, nowNs());

    // Rewriting a file in place changes the file, not the folder.
    tick();
    write("a/one.bmp", "longer content");
    EXPECT_EQ(folderChangeTimeNs(a), t);
    // Nor does a change deeper down.
    write("a/sub/three.bmp");
    EXPECT_EQ(folderChangeTimeNs(a), t);

    const auto moved = [&](auto change) {
        tick();
        change();
        const int64_t now = folderChangeTimeNs(a);
        const bool did = now > t;
        t = now;
        return did;
    };
    EXPECT_TRUE(moved([&] { write("a/new.gif"); }));
    EXPECT_TRUE(moved([&] { QFile::remove(path("a/new.gif")); }));
    EXPECT_TRUE(moved([&] { QFile::rename(path("a/one.bmp"), path("a/uno.bmp")); }));
    EXPECT_TRUE(moved([&] { QDir(a).mkdir("made"); }));
    // The folder's own mode is its status-change time.
    EXPECT_TRUE(moved([&] { ::chmod(QFile::encodeName(a).constData(), 0700); }));
    // A folder moved elsewhere keeps its entries but changes too.
    EXPECT_TRUE(moved([&] {
        QDir().rename(a, path("b"));
        a = path("b");
    }));

    EXPECT_EQ(folderChangeTimeNs(path("a")), 0);
    EXPECT_EQ(laterTimeNs(5, 7, 5, 6), 5000000007);
    EXPECT_EQ(laterTimeNs(4, 999999999, 5, 0), 5000000000);
}

TEST_F(FolderHandleTest, HandleAnswersTimesSizesAndListsAsASearchDoes)
{
    write("Photos/a.bmp", "12345");
    write("Photos/.hidden/b.bmp");
    write("Photos/Old/c.bmp", "1");
    ASSERT_EQ(::symlink("Old", QFile::encodeName(path("Photos/link")).constData()), 0);
    ASSERT_EQ(::symlink("a.bmp", QFile::encodeName(path("Photos/alias.bmp")).constData()), 0);
    ASSERT_EQ(::symlink("nowhere", QFile::encodeName(path("Photos/dangling.bmp")).constData()), 0);
    ScopedDrives drives("C=" + tmp.path());

    FolderHandle photos = FolderHandle::open(drives.map(), "C:\\Photos\\");
    ASSERT_TRUE(photos.isOpen());
    EXPECT_EQ(photos.changeTimeNs(), folderChangeTimeNs(path("Photos")));
    EXPECT_EQ(photos.fileSize(u"a.bmp"), 5);
    EXPECT_EQ(photos.fileSize(u"alias.bmp"), 5);    // a link to a file: its target's size
    EXPECT_EQ(photos.fileSize(u"dangling.bmp"), 0); // listed as an empty file
    EXPECT_EQ(photos.fileSize(u"gone.bmp"), -1);
    EXPECT_EQ(photos.fileSize(u"Old"), -1); // a folder is no file

    EXPECT_EQ(photos.below(u"Old").code(), ERROR_SUCCESS);
    EXPECT_EQ(photos.below(u"link").code(), SEARCH_REPARSE_POINT);
    EXPECT_EQ(photos.below(u"a.bmp").code(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(photos.below(u"missing").code(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(photos.below(u"..").code(), ERROR_PATH_NOT_FOUND);

    // Probes answer the same without opening: codes, and the sub-folder's time.
    EXPECT_EQ(photos.probe(u"Old").code, ERROR_SUCCESS);
    EXPECT_EQ(photos.probe(u"Old").changeTimeNs, folderChangeTimeNs(path("Photos/Old")));
    EXPECT_EQ(photos.probe(u"link").code, SEARCH_REPARSE_POINT);
    EXPECT_EQ(photos.probe(u"a.bmp").code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(photos.probe(u"missing").code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(photos.probe(u"..").code, ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(photos.fileSizeIn(u"Old", u"c.bmp"), 1);
    EXPECT_EQ(photos.fileSizeIn(u"Old", u"none.bmp"), -1);

    // Listing through the handle gives what a search of the same folder gives, dots included.
    DirSearch byPath(drives.map());
    const QStringList expected = listed(byPath, byPath.findFirst("C:\\Photos\\*.*"));
    DirSearch byHandle(drives.map());
    EXPECT_EQ(listed(byHandle, byHandle.findFirstIn(photos)), expected);
    // The handle stays usable, and can be listed again.
    EXPECT_EQ(listed(byHandle, byHandle.findFirstIn(photos)), expected);
    const FolderHandle hidden = photos.below(u".hidden");
    DirSearch inHidden(drives.map());
    ASSERT_EQ(inHidden.findFirstIn(hidden), ERROR_SUCCESS);
    EXPECT_EQ(inHidden.entry().name, ".");
    EXPECT_TRUE(inHidden.entry().attributes & FILE_ATTRIBUTE_HIDDEN);

    // A handle below a search's current entry.
    DirSearch walk(drives.map());
    int code = walk.findFirst("C:\\Photos\\*.*");
    while (code == ERROR_SUCCESS && walk.entry().name != "Old")
        code = walk.findNext();
    ASSERT_EQ(code, ERROR_SUCCESS);
    const FolderHandle old = FolderHandle::belowSearch(walk);
    EXPECT_EQ(old.fileSize(u"c.bmp"), 1);

    // A drive root has no dots; an empty one finds nothing, as a search does.
    QDir().mkpath(path("empty"));
    ScopedDrives more("C=" + tmp.path() + ";E=" + path("empty") + ";F=" + path("absent"));
    DirSearch root(more.map());
    EXPECT_EQ(root.findFirstIn(FolderHandle::open(more.map(), "E:\\")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(FolderHandle::open(more.map(), "F:\\").code(), ERROR_NOT_READY);
    EXPECT_EQ(FolderHandle::open(more.map(), "G:\\").code(), ERROR_INVALID_DRIVE);
    EXPECT_EQ(FolderHandle::open(more.map(), "C:\\nothing\\").code(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(root.findFirstIn(FolderHandle()), ERROR_FILE_NOT_FOUND);
}

TEST_F(FolderHandleTest, UnreadableFolderIsAccessDeniedForAnOrdinaryUser)
{
    write("Photos/Secret/x.bmp");
    ASSERT_EQ(::chmod(QFile::encodeName(path("Photos/Secret")).constData(), 0), 0);
    ::chmod(QFile::encodeName(tmp.path()).constData(), 0755);
    ::chmod(QFile::encodeName(path("Photos")).constData(), 0755);
    ScopedDrives drives("C=" + tmp.path());
    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "needs to act as an ordinary user";
    const FolderHandle photos = FolderHandle::open(drives.map(), "C:\\Photos\\");
    ASSERT_TRUE(photos.isOpen());
    EXPECT_EQ(photos.below(u"Secret").code(), ERROR_ACCESS_DENIED);
}

TEST_F(FolderHandleTest, RelativePathsGoDownWithoutDotsAndOpenNoLinkOnTheWay)
{
    write("Photos/2000/Summer/a.bmp", "123");
    write("Photos/.hidden/Inner/b.bmp");
    write("Elsewhere/Inner/c.bmp");
    ASSERT_EQ(::symlink(QFile::encodeName(path("Elsewhere")).constData(),
                        QFile::encodeName(path("Photos/link")).constData()),
              0);
    ScopedDrives drives("C=" + tmp.path());
    const FolderHandle photos = FolderHandle::open(drives.map(), "C:\\Photos\\");
    ASSERT_TRUE(photos.isOpen());

    EXPECT_EQ(photos.probeRelative("2000/Summer").code, ERROR_SUCCESS);
    EXPECT_EQ(photos.probeRelative("2000/Summer").changeTimeNs,
              folderChangeTimeNs(path("Photos/2000/Summer")));
    EXPECT_EQ(photos.probeRelative("2000").changeTimeNs, photos.probe(u"2000").changeTimeNs);
    EXPECT_EQ(photos.fileSizeNative("2000/Summer/a.bmp"), 3);
    for (const char *bad : {"", "/2000", "2000//Summer", "2000/..", "../Photos", "./2000", "2000/"})
        EXPECT_EQ(photos.probeRelative(bad).code, ERROR_PATH_NOT_FOUND) << bad;
    EXPECT_EQ(photos.probeNative("2000/Summer").code, ERROR_PATH_NOT_FOUND); // one name only
    EXPECT_EQ(photos.probeRelative("2000/Summer/a.bmp").code, ERROR_PATH_NOT_FOUND);

    // Opened further down: the same folder a step at a time would give; hidden as its own name says.
    const FolderHandle summer = photos.belowRelative("2000/Summer");
    ASSERT_EQ(summer.code(), ERROR_SUCCESS);
    EXPECT_EQ(summer.fileSize(u"a.bmp"), 3);
    EXPECT_FALSE(summer.hidden());
    const FolderHandle inner = photos.belowRelative(".hidden/Inner");
    ASSERT_EQ(inner.code(), ERROR_SUCCESS);
    EXPECT_FALSE(inner.hidden());
    EXPECT_TRUE(photos.belowRelative(".hidden").hidden());
    // A link anywhere on the way is not gone through.
    EXPECT_EQ(photos.belowRelative("link").code(), SEARCH_REPARSE_POINT);
    EXPECT_NE(photos.belowRelative("link/Inner").code(), ERROR_SUCCESS);
    EXPECT_EQ(photos.belowRelative("2000/missing").code(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(photos.belowRelative("2000/..").code(), ERROR_PATH_NOT_FOUND);
}
