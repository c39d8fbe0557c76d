// The rescan: with the catalogue kept, a scan reuses every folder whose change time did not move,
// and whatever happened to the tree between two scans, the result is the one a full scan gives.
#include "CatalogueFixture.h"

#include "catalogue/KeptCatalogueCommands.h"
#include "catalogue/ScanCommands.h"
#include "catalogue/ScanWindow.h"

#include <QPushButton>
#include <QThread>
#include <sys/stat.h>

namespace {

// Each test runs with the questions asked ahead by one thread, then by two.
class RescanTest : public CatalogueFixture, public ::testing::WithParamInterface<uint32_t>
{
protected:
    void SetUp() override
    {
        start();
        runScanWindowForReal();
        // The test's changes come milliseconds apart: trust every time older than the scan itself.
        cat.rescanSettleNs = 0;
        cat.foldersForTwoLookAheads = GetParam();
    }

    // Everything a scan leaves behind that a user can see.
    QStringList result() const
    {
        QStringList out;
        for (MediaType t : kAllTypes)
            out << QString::number(code(t)) + ": " + shape(t).join(" | ");
        const DiskRecord &c = app.st.Disks[3];
        out << QStringLiteral("C: %1 files, %2 bytes, %3 skipped")
                   .arg(c.FileCount)
                   .arg(c.FileBytes)
                   .arg(app.st.InaccessibleFolders);
        return out;
    }
    // The scan command, as an ordinary user when asUser (root reads every folder).
    void scan()
    {
        if (!asUser) {
            RunScan(*pane);
            return;
        }
        AsOrdinaryUser user;
        ordinary = user.ordinary();
        RunScan(*pane);
    }
    QStringList fullScan()
    {
        forgetIndex();
        scan();
        EXPECT_EQ(cat.lastFoldersReused, 0);
        return result();
    }
    // File times move in coarse steps: a change must not share the step of the scan before it.
    static void tick() { QThread::msleep(30); }
    QString native(const QString &rel) { return tmp.filePath("c/" + rel); }

    bool asUser = false;
    bool ordinary = false;
};

} // namespace

TEST_P(RescanTest, UnchangedTreeIsNotReadAgainAndGivesTheSameCatalogue)
{
    writeFile("c/Photos/2000/a.bmp", "12345");
    writeFile("c/Photos/2000/b.jpg", "12");
    writeFile("c/Photos/notes.txt");
    writeFile("c/Music/x.wav", "1234567");
    writeFile("c/a.ico");
    tick();
    RunScan(*pane);
    const QStringList first = result();
    EXPECT_EQ(cat.lastFoldersReused, 0);
    EXPECT_EQ(cat.lastFoldersRead, 4); // the root, Photos, 2000, Music

    RunScan(*pane);
    EXPECT_EQ(result(), first);
    EXPECT_EQ(cat.lastFoldersRead, 0);
    EXPECT_EQ(cat.lastFoldersReused, 4);

    // A folder too young to be trusted is read again, and only that one.
    tick();
    writeFile("c/Music/y.mid");
    cat.rescanSettleNs = 60'000'000'000;
    RunScan(*pane);
    EXPECT_EQ(cat.lastFoldersRead, 1); // the changed one
    EXPECT_EQ(cat.lastFoldersReused, 3);
    cat.rescanSettleNs = 0;
    RunScan(*pane);
    EXPECT_EQ(cat.lastFoldersRead, 4); // every time was younger than a minute: kept as unknown
    RunScan(*pane);
    EXPECT_EQ(cat.lastFoldersReused, 4);
    EXPECT_EQ(result(), fullScan());
}

TEST_P(RescanTest, TreeChangedInEveryWayGivesWhatAFullScanGives)
{
    writeFile("c/Photos/2000/a.bmp", "12345");
    writeFile("c/Photos/2000/b.bmp", "12");
    writeFile("c/Photos/2001/c.gif", "1");
    writeFile("c/Photos/Old/d.jpg", "1234");
    writeFile("c/Photos/Keep/Deep/Deeper/e.tif", "123");
    writeFile("c/Music/x.wav", "1234567");
    writeFile("c/Music/rewritten.mid", "12");
    writeFile("c/Gone/f.pcx", "1");
    writeFile("c/Renamed/g.emf", "1");
    writeFile("c/Locked/h.wmf", "1");
    writeFile("c/Locked/Inner/i.ico", "1");
    openToEveryone();
    QDir().mkpath(tmp.filePath("cache"));
    for (const QString &f : {QString("c"), QString("cache")})
        ::chmod(QFile::encodeName(tmp.filePath(f)).constData(), 0777);
    asUser = true;
    tick();
    scan();
    ASSERT_EQ(cat.lastFoldersReused, 0);

    tick();
    writeFile("c/Photos/2000/new.bmp", "123456789");        // file added
    writeFile("c/Photos/2001/first.wav", "12");             // a new type there
    ASSERT_TRUE(QFile::remove(native("Photos/Old/d.jpg"))); // last media file gone
    ASSERT_TRUE(QFile::rename(native("Photos/2000/b.bmp"), native("Photos/2000/b.avi"))); // renamed
    for (const QString &rewritten :
         {QString("Music/rewritten.mid"), QString("Photos/Keep/Deep/Deeper/e.tif")}) {
        QFile f(
            native(rewritten)); // rewritten in place, another size (the second in a folder left as it was)
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("a longer content than before");
    }
    writeFile("c/Photos/Added/Sub/j.ani", "12");                               // folders added
    ASSERT_TRUE(QDir(native("Gone")).removeRecursively());                     // folder removed
    ASSERT_TRUE(QDir().rename(native("Renamed"), native("Now named")));        // folder renamed
    ASSERT_EQ(::chmod(QFile::encodeName(native("Locked")).constData(), 0), 0); // made unreadable
    ASSERT_EQ(::symlink("..", QFile::encodeName(native("Photos/Keep/loop")).constData()), 0); // a loop
    ASSERT_EQ(::symlink(".", QFile::encodeName(native("Music/self")).constData()), 0);

    scan();
    const QStringList rescanned = result();
    EXPECT_GT(cat.lastFoldersReused, 0) << "the unchanged folders should have been reused";
    EXPECT_GT(cat.lastFoldersRead, 0);
    if (ordinary) {
        EXPECT_TRUE(rescanned.last().endsWith("1 skipped")) << qPrintable(rescanned.last());
    }
    EXPECT_EQ(rescanned, fullScan());
    EXPECT_TRUE(rescanned.join('\n').contains("C:\\Now named\\ 18")) << qPrintable(rescanned.join('\n'));
    EXPECT_FALSE(rescanned.join('\n').contains("C:\\Gone\\"));
    EXPECT_FALSE(rescanned.join('\n').contains("Old"));
    EXPECT_FALSE(rescanned.join('\n').contains("loop"));

    // Unreadable folders are tried again each time: readable again, they are back.
    tick();
    ASSERT_EQ(::chmod(QFile::encodeName(native("Locked")).constData(), 0755), 0);
    scan();
    const QStringList unlocked = result();
    EXPECT_TRUE(unlocked.join('\n').contains("C:\\Locked\\Inner\\"));
    EXPECT_EQ(unlocked, fullScan());
}

TEST_P(RescanTest, CancelledRescanLeavesTheKeptFileAndIndexAsTheyWere)
{
    for (int i = 0; i < 4; ++i)
        writeFile(QStringLiteral("c/m/%1/x.bmp").arg(i));
    tick();
    RunScan(*pane);
    cat.writer.wait();
    const QByteArray before = [] {
        QFile f(KeptCataloguePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(before.isEmpty());
    const size_t folders = cat.index.folders().size();

    tick();
    writeFile("c/m/9/y.bmp");
    ui.onModal("frmScanDisks", [](QDialog *d) {
        auto *w = static_cast<TfrmScanDisks *>(d);
        QObject::connect(w, &TfrmScanDisks::folderEntered, w, [w](const QString &path) {
            if (path == "C:\\m\\")
                QMetaObject::invokeMethod(w->btnCancel, &QPushButton::click, Qt::QueuedConnection);
        });
        return d->exec();
    });
    RunScan(*pane);
    EXPECT_EQ(nodeCount(mtALL), 1);
    cat.writer.wait();
    QFile f(KeptCataloguePath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(cat.index.folders().size(), folders);
    EXPECT_EQ(panel(3), QString());
}

TEST_P(RescanTest, DeepChainsChangedAtEveryDepthGiveWhatAFullScanGives)
{
    // Two chains of sixteen folders, media files at several depths: deeper than a rescan goes
    // without opening a folder, so both ways of reaching a folder are taken.
    QString deep = "c/Chain";
    QString other = "c/Other";
    for (int level = 1; level <= 16; ++level) {
        deep += QStringLiteral("/L%1").arg(level);
        other += QStringLiteral("/É %1").arg(level);
        if (level % 3 == 0) {
            writeFile(deep + "/a.bmp", "12345");
            writeFile(other + "/b.wav", "12");
        }
    }
    writeFile(deep + "/end.gif", "1");
    tick();
    RunScan(*pane);
    const QStringList first = result();
    RunScan(*pane);
    EXPECT_EQ(cat.lastFoldersRead, 0);
    EXPECT_EQ(result(), first);

    tick();
    const QString chain = "Chain/L1/L2/L3/L4/L5/L6/L7/L8/L9/L10/L11";
    writeFile("c/" + chain + "/new.jpg", "123");                         // deep, past the unopened depth
    writeFile("c/Chain/L1/L2/L3/x.tif", "1");                            // shallow
    ASSERT_TRUE(QFile::remove(native("Chain/L1/L2/L3/L4/L5/L6/a.bmp"))); // removed in the middle
    {
        QFile f(native(chain + "/L12/a.bmp")); // rewritten deep in an unchanged folder
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("a longer content than before");
    }
    // A deep folder replaced by a link to a folder with media files: not followed.
    const QString replaced = native("Other/É 1/É 2/É 3/É 4/É 5/É 6/É 7/É 8/É 9/É 10");
    ASSERT_TRUE(QDir().rename(replaced, native("Moved")));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(native("Moved")).constData(), QFile::encodeName(replaced).constData()),
        0);
    RunScan(*pane);
    const QStringList rescanned = result();
    EXPECT_GT(cat.lastFoldersReused, 20);
    // The five folders changed (the root holds Moved now) and the seven moved ones: nothing more.
    EXPECT_LE(cat.lastFoldersRead, 12);
    EXPECT_EQ(rescanned, fullScan());
    EXPECT_TRUE(rescanned.join('\n').contains("C:\\Moved\\")) << qPrintable(rescanned.join('\n'));
    EXPECT_FALSE(rescanned.join('\n').contains("É 10\\É 11")) << qPrintable(rescanned.join('\n'));
}

INSTANTIATE_TEST_SUITE_P(AskedAhead, RescanTest, ::testing::Values(4096u, 2u),
                         [](const ::testing::TestParamInfo<uint32_t> &param) {
                             return param.param == 2 ? std::string("ByTwoThreads")
                                                     : std::string("ByOneThread");
                         });
