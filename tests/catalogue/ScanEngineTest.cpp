// The walk: what reaches the trees and the drive counts, where it stops, and what it survives.
#include "CatalogueFixture.h"

#include "platform/drives/DirSearch.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QFile>

namespace {

class ScanEngineTest : public CatalogueFixture
{
protected:
    void SetUp() override { startStore(); }
    const DiskRecord &diskC() const { return app.st.Disks[3]; }
};

// Records what the walk reports, and may act when it enters a folder.
class Recorder : public ScanProgress
{
public:
    QStringList entered;
    int done = 0;
    std::function<void(const QString &)> onEnter;
    void enteringFolder(const QString &path) override
    {
        entered << path;
        if (onEnter)
            onEnter(path);
    }
    void folderDone() override { ++done; }
};

TEST_F(ScanEngineTest, FolderAddedOncePerTypeAndCountedPerFile)
{
    writeFile("c/Photos/a.bmp", "12345");
    writeFile("c/Photos/b.BMP", "123");
    writeFile("c/Photos/c.jpg", "1");
    writeFile("c/Photos/notes.txt", "123456789");
    writeFile("c/Photos/d.jpeg");
    const ScanOutcome r = scanRoot("C:\\");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(diskC().FileCount, 3);
    EXPECT_EQ(diskC().FileBytes, 9);
    EXPECT_EQ(shape(mtBMP), QStringList({"C:\\ 3", "C:\\Photos\\ 18"}));
    EXPECT_EQ(shape(mtJPG), QStringList({"C:\\ 3", "C:\\Photos\\ 18"}));
    EXPECT_EQ(shape(mtALL), QStringList({"C:\\ 3", "C:\\Photos\\ 18"}));
    EXPECT_EQ(nodeCount(mtGIF), 1);
}

TEST_F(ScanEngineTest, EachTreeHoldsExactlyTheFoldersOfItsType)
{
    writeFile("c/a/x.gif");
    writeFile("c/a/b/y.wav");
    writeFile("c/a/b/c/z.GIF");
    writeFile("c/d/plain.txt");
    writeFile("c/e/f/g/h.ico");
    writeFile("c/root.emf");
    ASSERT_TRUE(scanRoot("C:\\").ok);
    EXPECT_EQ(mediaFolders(mtGIF), QStringList({"C:\\a\\", "C:\\a\\b\\c\\"}));
    EXPECT_EQ(mediaFolders(mtWAV), QStringList({"C:\\a\\b\\"}));
    EXPECT_EQ(mediaFolders(mtICO), QStringList({"C:\\e\\f\\g\\"}));
    EXPECT_EQ(shape(mtICO), QStringList({"C:\\ 3", "C:\\e\\ 14", "C:\\e\\f\\ 14", "C:\\e\\f\\g\\ 18"}));
    // Files only in the drive's root: the drive node and nothing below it.
    EXPECT_EQ(shape(mtEMF), QStringList({"C:\\ 3"}));
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\a\\", "C:\\a\\b\\", "C:\\a\\b\\c\\", "C:\\e\\f\\g\\"}));
    EXPECT_EQ(diskC().FileCount, 5);
}

TEST_F(ScanEngineTest, FoldersDifferingOnlyInCaseStayApart)
{
    writeFile("c/Photos/a.bmp");
    writeFile("c/PHOTOS/b.bmp");
    ASSERT_TRUE(scanRoot("C:\\").ok);
    EXPECT_EQ(mediaFolders(mtBMP), QStringList({"C:\\PHOTOS\\", "C:\\Photos\\"}));
}

TEST_F(ScanEngineTest, DisabledTypesAreNotLookedFor)
{
    app.st.settings.ScanFileFlags[mtGIF] = false;
    ResetCatalogueStore(cat);
    writeFile("c/a/x.gif");
    writeFile("c/b/y.bmp");
    ASSERT_TRUE(scanRoot("C:\\").ok);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\b\\"}));
    EXPECT_EQ(diskC().FileCount, 1);
}

TEST_F(ScanEngineTest, ExtensionsMatchInAnyCaseByTheLastDot)
{
    for (const char *name : {"a.BmP", ".bmp", "b..bmp", "c.bmp.bak", "d.bm", "e.bmpx", "bmp", "f.b.mp"})
        writeFile(QStringLiteral("c/x/") + QLatin1String(name), "12");
    ASSERT_TRUE(scanRoot("C:\\").ok);
    EXPECT_EQ(diskC().FileCount, 3);
    EXPECT_EQ(diskC().FileBytes, 6);
    EXPECT_EQ(mediaFolders(mtBMP), QStringList({"C:\\x\\"}));
}

// Extensions of four letters and types of several extensions, beside look-alikes of theirs.
TEST_F(ScanEngineTest, LaterTypesMatchEachOfTheirExtensions)
{
    for (const char *name : {"a.PNG", "b.apng", "c.WebP", "d.opus", "e.oga", "f.Flac", "g.m4v", "h.webm",
                             "i.webpx", "j.pn", "k.fla", "l.opu", "m.mp3.part", "n.mov.", "o.x.ogg"})
        writeFile(QStringLiteral("c/x/") + QLatin1String(name), "1");
    writeFile("c/y/song.MP3", "123");
    app.st.settings.ScanFileFlags[mtMP4] = false;
    ResetCatalogueStore(cat);
    ASSERT_TRUE(scanRoot("C:\\").ok);
    EXPECT_EQ(diskC().FileCount, 9); // g.m4v's type is off
    EXPECT_EQ(diskC().FileBytes, 11);
    EXPECT_EQ(mediaFolders(mtPNG), QStringList({"C:\\x\\"}));
    EXPECT_EQ(mediaFolders(mtOGG), QStringList({"C:\\x\\"}));
    EXPECT_EQ(mediaFolders(mtMP3), QStringList({"C:\\y\\"}));
    EXPECT_TRUE(mediaFolders(mtMP4).isEmpty());
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\x\\", "C:\\y\\"}));
}

TEST_F(ScanEngineTest, LinksToFilesCountWithTheSizeOfTheirTarget)
{
    writeFile("c/a/real.wav", "123456");
    writeFile("elsewhere/far.gif", "1234567890");
    ASSERT_TRUE(QFile::link(tmp.filePath("c/a/real.wav"), tmp.filePath("c/a/near.wav")));
    ASSERT_TRUE(QDir().mkpath(tmp.filePath("c/b")));
    ASSERT_TRUE(QFile::link(tmp.filePath("elsewhere/far.gif"), tmp.filePath("c/b/far.gif")));
    ASSERT_TRUE(QFile::link(tmp.filePath("c/a/gone.wav"), tmp.filePath("c/a/dangling.wav")));
    ASSERT_TRUE(scanRoot("C:\\").ok);
    // real.wav, near.wav (6 bytes each), the dangling link (an empty file) and far.gif (10 bytes).
    EXPECT_EQ(diskC().FileCount, 4);
    EXPECT_EQ(diskC().FileBytes, 22);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\a\\", "C:\\b\\"}));
}

TEST_F(ScanEngineTest, EmptyDriveRootEndsNormally)
{
    const ScanOutcome r = scanRoot("C:\\");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(diskC().FileCount, 0);
    EXPECT_EQ(nodeCount(mtALL), 1);
}

TEST_F(ScanEngineTest, DriveWithoutMediumEndsAbnormally)
{
    setDrives("C=" + folder("c") + ";E=" + tmp.filePath("missing") + ",removable");
    const ScanOutcome r = scanRoot("E:\\", 5);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.errorCode, platform::ERROR_NOT_READY);
}

TEST_F(ScanEngineTest, LinksToFoldersAreNotFollowed)
{
    writeFile("c/a/x.bmp");
    writeFile("elsewhere/y.bmp");
    // A loop back to an ancestor, and a way out to files that belong to no drive of this walk.
    ASSERT_TRUE(QFile::link(folder("c/a"), tmp.filePath("c/a/loop")));
    ASSERT_TRUE(QFile::link(folder("c"), tmp.filePath("c/a/up")));
    ASSERT_TRUE(QFile::link(folder("elsewhere"), tmp.filePath("c/out")));
    Recorder recorder;
    const ScanOutcome r = scanRoot("C:\\", 3, &recorder);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\a\\"}));
    EXPECT_EQ(diskC().FileCount, 1);
    EXPECT_EQ(recorder.entered, QStringList({"C:\\", "C:\\a\\"}));
}

TEST_F(ScanEngineTest, UnreadableSubfolderIsSkippedAndCounted)
{
    writeFile("c/a/x.bmp");
    writeFile("c/locked/hidden.bmp");
    writeFile("c/locked2/deep/hidden.bmp");
    writeFile("c/z/y.bmp");
    openToEveryone();
    QFile::setPermissions(tmp.filePath("c/locked"), QFile::Permissions());
    QFile::setPermissions(tmp.filePath("c/locked2"), QFile::Permissions());
    ScanOutcome r;
    {
        AsOrdinaryUser user;
        if (!user.ordinary())
            GTEST_SKIP() << "cannot leave the root user";
        r = scanRoot("C:\\");
    }
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(app.st.InaccessibleFolders, 2);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\a\\", "C:\\z\\"}));
    EXPECT_EQ(diskC().FileCount, 2);
}

TEST_F(ScanEngineTest, UnreadableRootEndsAbnormally)
{
    writeFile("c/locked/x.bmp");
    writeFile("d/y.bmp");
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    openToEveryone();
    QFile::setPermissions(tmp.filePath("c/locked"), QFile::Permissions());
    QFile::setPermissions(tmp.filePath("d"), QFile::Permissions());
    ScanOutcome folderRoot, driveRoot;
    {
        AsOrdinaryUser user;
        if (!user.ordinary())
            GTEST_SKIP() << "cannot leave the root user";
        folderRoot = scanRoot("C:\\locked\\");
        driveRoot = scanRoot("D:\\", 4);
    }
    EXPECT_FALSE(folderRoot.ok);
    EXPECT_EQ(folderRoot.errorCode, platform::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(driveRoot.ok);
    EXPECT_EQ(driveRoot.errorCode, platform::ERROR_NOT_READY);
    EXPECT_EQ(app.st.InaccessibleFolders, 0);
}

TEST_F(ScanEngineTest, FolderDeletedBetweenItsListingAndItsWalk)
{
    writeFile("c/top/one/a.bmp");
    writeFile("c/top/two/b.bmp");
    writeFile("c/z/c.bmp");
    // Whichever of the two is walked first deletes the other, which its parent already listed.
    Recorder recorder;
    QString removed;
    recorder.onEnter = [&](const QString &path) {
        if (!removed.isEmpty())
            return;
        if (path == "C:\\top\\one\\")
            removed = "two";
        else if (path == "C:\\top\\two\\")
            removed = "one";
        if (!removed.isEmpty()) {
            ASSERT_TRUE(QDir(tmp.filePath("c/top/" + removed)).removeRecursively());
        }
    };
    const ScanOutcome r = scanRoot("C:\\", 3, &recorder);
    ASSERT_FALSE(removed.isEmpty());
    EXPECT_TRUE(r.ok);
    const QString kept = removed == "one" ? "two" : "one";
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\top\\" + kept + "\\", "C:\\z\\"}));
    EXPECT_EQ(app.st.InaccessibleFolders, 0);
}

TEST_F(ScanEngineTest, MessagesProcessedOnEntryAndAfterEvery11Files)
{
    for (int i = 0; i < 30; ++i)
        writeFile(QStringLiteral("c/many/f%1.bmp").arg(i, 2, 10, QLatin1Char('0')));
    // Each time the walk lets messages through, note how many files it had counted.
    std::vector<int64_t> seen;
    const auto connection =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake,
                         [&] { seen.push_back(diskC().FileCount); });
    ASSERT_TRUE(scanRoot("C:\\many\\").ok);
    QObject::disconnect(connection);
    EXPECT_EQ(seen, std::vector<int64_t>({0, 11, 22}));
    EXPECT_EQ(diskC().FileCount, 30);
}

TEST_F(ScanEngineTest, CancelStopsBeforeTheNextEntry)
{
    for (int i = 0; i < 30; ++i)
        writeFile(QStringLiteral("c/many/f%1.bmp").arg(i, 2, 10, QLatin1Char('0')));
    // The user's Cancel arrives while messages are processed after the first 11 files.
    const auto connection =
        QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, [&] {
            if (diskC().FileCount == 11)
                app.st.ScanCancelled = true;
        });
    const ScanOutcome r = scanRoot("C:\\");
    QObject::disconnect(connection);
    app.st.ScanCancelled = false;
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(diskC().FileCount, 11);
}

TEST_F(ScanEngineTest, StatusShownOnEntryAndClearedOnNormalEnd)
{
    writeFile("c/a/b/x.bmp");
    Recorder recorder;
    ASSERT_TRUE(scanRoot("C:\\", 3, &recorder).ok);
    EXPECT_EQ(recorder.entered, QStringList({"C:\\", "C:\\a\\", "C:\\a\\b\\"}));
    EXPECT_EQ(recorder.done, 3);
}

TEST_F(ScanEngineTest, ScanFileOnItsOwn)
{
    writeFile("c/Music/Song.MID", "1234");
    writeFile("c/Music/b.wav", "12");
    app.st.ScanRequest.CurrentDrive = 3;
    ClearLastFolders(app);
    ScanFile(cat, "C:\\Music\\Song.MID");
    ScanFile(cat, "C:\\Music\\b.wav");
    ScanFile(cat, "C:\\Music\\readme");
    ScanFile(cat, "C:\\Mu.sic\\x");
    EXPECT_EQ(diskC().FileCount, 2);
    EXPECT_EQ(diskC().FileBytes, 6);
    EXPECT_EQ(mediaFolders(mtMID), QStringList({"C:\\Music\\"}));
    EXPECT_EQ(app.st.Extensions[mtMID].LastFolder, "C:\\Music\\");
    EXPECT_EQ(app.st.Extensions[mtALL].LastFolder, "C:\\Music\\");
    // A folder on no drive letter counts into no drive.
    app.st.ScanRequest.CurrentDrive = 0;
    ScanFile(cat, "C:\\Music\\b.wav", 100);
    EXPECT_EQ(diskC().FileCount, 2);
}

TEST_F(ScanEngineTest, StartPaths)
{
    EXPECT_EQ(StartPathOfDrive(app, "D"), "D:\\");
    EXPECT_EQ(StartPathOfDrive(app, "C"), "C:\\");
    app.st.settings.Start_Scan_C_With = "D:\\Media\\";
    app.st.settings.HasStartScanCFolder = true;
    EXPECT_EQ(StartPathOfDrive(app, "C"), "D:\\Media\\");
    EXPECT_EQ(StartPathOfDrive(app, "E"), "E:\\");
    app.st.ScanRequest.Folder = "C:\\";
    EXPECT_EQ(StartPathOfFolder(app), "C:\\");
    app.st.ScanRequest.Folder = "C:\\Photos";
    EXPECT_EQ(StartPathOfFolder(app), "C:\\Photos\\");
    app.st.Extensions[20].LastFolder = "x";
    app.st.Extensions[0].LastFolder = "y";
    ClearLastFolders(app);
    EXPECT_TRUE(app.st.Extensions[20].LastFolder.isEmpty());
    EXPECT_TRUE(app.st.Extensions[0].LastFolder.isEmpty());
}

} // namespace
