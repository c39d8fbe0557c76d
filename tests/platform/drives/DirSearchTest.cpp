// The directory search on real temporary folders: result codes, entries and their attributes.
#include "platform/drives/DirSearch.h"
#include "DrivesTestSupport.h"
#include "platform/drives/DriveNames.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <array>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

struct Listing
{
    int firstCode = -1;
    int lastCode = -1; // the code that ended the listing
    std::vector<SearchEntry> entries;

    const SearchEntry *find(const QString &name) const
    {
        for (const SearchEntry &e : entries)
            if (e.name == name)
                return &e;
        return nullptr;
    }
};

Listing listAll(const QString &pattern)
{
    Listing l;
    DirSearch search(drives_test::map());
    int code = l.firstCode = search.findFirst(pattern);
    while (code == ERROR_SUCCESS && l.entries.size() < 1000) {
        l.entries.push_back(search.entry());
        code = search.findNext();
    }
    l.lastCode = code;
    return l;
}

int firstCode(const QString &pattern)
{
    DirSearch search(drives_test::map());
    return search.findFirst(pattern);
}

class DirSearchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_base = drives_test::makeOpenTempDir(m_tmp);
        makeFolder(QStringLiteral("c"));
        makeFolder(QStringLiteral("e"));
        m_drives = std::make_unique<drives_test::ScopedDrives>(
            QStringLiteral("C=%1/c;D=%1/missing,cdrom;E=%1/e").arg(m_base));
    }

    void TearDown() override
    {
        // Give back the rights the permission tests took, so the folder can be removed.
        ::chmod(QFile::encodeName(m_base).constData(), 0755);
        for (const QString &rel : {QStringLiteral("c/locked"), QStringLiteral("e")})
            ::chmod(nativeBytes(rel).constData(), 0755);
    }

    QString native(const QString &rel) const { return m_base + u'/' + rel; }
    QByteArray nativeBytes(const QString &rel) const { return QFile::encodeName(native(rel)); }

    void makeFolder(const QString &rel)
    {
        ASSERT_TRUE(QDir().mkpath(native(rel)));
        ::chmod(nativeBytes(rel).constData(), 0755);
    }

    void writeFile(const QString &rel, const QByteArray &bytes = QByteArray("data"), mode_t mode = 0644)
    {
        QFile f(native(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << rel.toStdString();
        f.write(bytes);
        f.close();
        ::chmod(nativeBytes(rel).constData(), mode);
    }

    void link(const QString &target, const QString &rel)
    {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), nativeBytes(rel).constData()), 0);
    }

    QTemporaryDir m_tmp;
    QString m_base;
    std::unique_ptr<drives_test::ScopedDrives> m_drives;
};

} // namespace

TEST_F(DirSearchTest, CodesOfFailedSearches)
{
    makeFolder(QStringLiteral("c/Photos"));
    writeFile(QStringLiteral("c/file.txt"));
    EXPECT_EQ(firstCode(QStringLiteral("E:\\*.*")), ERROR_FILE_NOT_FOUND);       // empty root
    EXPECT_EQ(firstCode(QStringLiteral("C:\\nope\\*.*")), ERROR_PATH_NOT_FOUND); // missing folder
    EXPECT_EQ(firstCode(QStringLiteral("C:\\nope\\deeper\\*.*")), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(firstCode(QStringLiteral("C:\\nope\\x.bmp")), ERROR_PATH_NOT_FOUND);   // missing parent
    EXPECT_EQ(firstCode(QStringLiteral("C:\\Photos\\x.bmp")), ERROR_FILE_NOT_FOUND); // missing name
    EXPECT_EQ(firstCode(QStringLiteral("C:\\file.txt\\*.*")), ERROR_PATH_NOT_FOUND); // a file on the way
    EXPECT_EQ(firstCode(QStringLiteral("C:\\Photos\\")), ERROR_FILE_NOT_FOUND);      // no name at all
    EXPECT_EQ(firstCode(QStringLiteral("D:\\*.*")), ERROR_NOT_READY);                // listed root missing
    EXPECT_EQ(firstCode(QStringLiteral("D:\\Photos\\x.bmp")), ERROR_NOT_READY);
    EXPECT_EQ(firstCode(QStringLiteral("Q:\\*.*")), ERROR_INVALID_DRIVE);      // unmapped letter
    EXPECT_EQ(firstCode(QStringLiteral("Photos\\*.*")), ERROR_PATH_NOT_FOUND); // not a drive path
    // Names compare exactly.
    EXPECT_EQ(firstCode(QStringLiteral("C:\\FILE.TXT")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(firstCode(QStringLiteral("C:\\file.txt")), ERROR_SUCCESS);
}

TEST_F(DirSearchTest, RootListsItsEntriesWithoutDots)
{
    writeFile(QStringLiteral("c/a.bmp"), QByteArray(1234, 'x'));
    makeFolder(QStringLiteral("c/Photos"));
    const Listing l = listAll(QStringLiteral("C:\\*.*"));
    EXPECT_EQ(l.firstCode, ERROR_SUCCESS);
    EXPECT_EQ(l.lastCode, ERROR_NO_MORE_FILES);
    ASSERT_EQ(l.entries.size(), 2u);
    const SearchEntry *file = l.find(QStringLiteral("a.bmp"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->size, 1234u);
    EXPECT_FALSE(file->isFolder());
    EXPECT_EQ(file->attributes & FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_TRUE(file->shortName.isEmpty());
    const SearchEntry *folder = l.find(QStringLiteral("Photos"));
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->attributes &
                  (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT),
              FILE_ATTRIBUTE_DIRECTORY);
    // "*" lists the same as "*.*".
    EXPECT_EQ(listAll(QStringLiteral("C:\\*")).entries.size(), 2u);
}

TEST_F(DirSearchTest, FolderListsDotsFirstThenEveryEntry)
{
    makeFolder(QStringLiteral("c/Photos/2000"));
    makeFolder(QStringLiteral("c/Photos/.thumbs"));
    writeFile(QStringLiteral("c/Photos/.hidden.gif"));
    writeFile(QStringLiteral("c/Photos/b.jpg"), QByteArray(10, 'x'));
    ASSERT_EQ(::utimensat(AT_FDCWD, nativeBytes(QStringLiteral("c/Photos/b.jpg")).constData(),
                          std::array<timespec, 2>{timespec{0, UTIME_OMIT}, timespec{946684800, 0}}.data(), 0),
              0);

    const Listing l = listAll(QStringLiteral("C:\\Photos\\*.*"));
    ASSERT_EQ(l.entries.size(), 6u);
    EXPECT_EQ(l.lastCode, ERROR_NO_MORE_FILES);
    EXPECT_EQ(l.entries[0].name, u".");
    EXPECT_EQ(l.entries[1].name, u"..");
    EXPECT_TRUE(l.entries[0].isFolder());
    EXPECT_TRUE(l.entries[1].isFolder());
    EXPECT_EQ(l.entries[0].attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(l.find(QStringLiteral(".hidden.gif"))->attributes & FILE_ATTRIBUTE_HIDDEN,
              FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(l.find(QStringLiteral(".thumbs"))->attributes &
                  (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY),
              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(l.find(QStringLiteral("2000"))->attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    const SearchEntry *jpg = l.find(QStringLiteral("b.jpg"));
    ASSERT_NE(jpg, nullptr);
    EXPECT_EQ(jpg->lastWrite.toSecsSinceEpoch(), 946684800);
    EXPECT_EQ(jpg->lastWrite.timeSpec(), Qt::LocalTime);
    EXPECT_EQ(jpg->lastWriteMSecs, 946684800000);

    // A walk that does not want local times still gets the instant.
    DirSearch quick(drives_test::map());
    quick.setLocalTimesWanted(false);
    ASSERT_EQ(quick.findFirst(QStringLiteral("C:\\Photos\\b.jpg")), ERROR_SUCCESS);
    EXPECT_FALSE(quick.entry().lastWrite.isValid());
    EXPECT_EQ(quick.entry().lastWriteMSecs, 946684800000);

    // Inside a hidden folder, "." is hidden too; its ".." is not.
    const Listing inner = listAll(QStringLiteral("C:\\Photos\\.thumbs\\*.*"));
    ASSERT_EQ(inner.entries.size(), 2u);
    EXPECT_EQ(inner.entries[0].attributes & FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(inner.entries[1].attributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(inner.firstCode, ERROR_SUCCESS); // an empty folder still has its dots
}

TEST_F(DirSearchTest, ExactNameGivesOneEntry)
{
    makeFolder(QStringLiteral("c/Photos"));
    writeFile(QStringLiteral("c/Photos/b.jpg"), QByteArray(77, 'x'));
    DirSearch search(drives_test::map());
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\Photos\\b.jpg")), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().name, u"b.jpg");
    EXPECT_EQ(search.entry().size, 77u);
    EXPECT_EQ(search.findNext(), ERROR_NO_MORE_FILES);
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\Photos")), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().name, u"Photos");
    EXPECT_TRUE(search.entry().isFolder());
    search.close();
    EXPECT_EQ(search.findNext(), ERROR_NO_MORE_FILES);
}

TEST_F(DirSearchTest, SizesAboveFourGigabytes)
{
    const qint64 size = (qint64(5) << 30) + 17;
    QFile f(native(QStringLiteral("c/big.avi")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    if (!f.resize(size))
        GTEST_SKIP() << "the temporary folder cannot hold a sparse 5 GiB file";
    f.close();
    DirSearch search(drives_test::map());
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\big.avi")), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().size, uint64_t(size));
    const Listing l = listAll(QStringLiteral("C:\\*.*"));
    ASSERT_NE(l.find(QStringLiteral("big.avi")), nullptr);
    EXPECT_EQ(l.find(QStringLiteral("big.avi"))->size, uint64_t(size));
}

TEST_F(DirSearchTest, SymbolicLinks)
{
    makeFolder(QStringLiteral("c/a/b"));
    writeFile(QStringLiteral("c/a/real.wav"), QByteArray(500, 'x'));
    link(QStringLiteral(".."), QStringLiteral("c/a/b/up")); // a loop back to its parent
    link(QStringLiteral("."), QStringLiteral("c/a/self"));  // a loop onto its own folder
    link(QStringLiteral("real.wav"), QStringLiteral("c/a/tofile.wav"));
    link(QStringLiteral("nowhere.wav"), QStringLiteral("c/a/dangling.wav"));
    link(QStringLiteral("circle.wav"), QStringLiteral("c/a/circle.wav")); // a link to itself

    const Listing l = listAll(QStringLiteral("C:\\a\\*.*"));
    EXPECT_EQ(l.lastCode, ERROR_NO_MORE_FILES);
    const uint32_t folderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    ASSERT_NE(l.find(QStringLiteral("self")), nullptr);
    EXPECT_EQ(l.find(QStringLiteral("self"))->attributes & folderLink, folderLink);
    EXPECT_EQ(l.find(QStringLiteral("b"))->attributes & folderLink, FILE_ATTRIBUTE_DIRECTORY);
    const SearchEntry *toFile = l.find(QStringLiteral("tofile.wav"));
    ASSERT_NE(toFile, nullptr);
    EXPECT_EQ(toFile->size, 500u);
    EXPECT_EQ(toFile->attributes & (folderLink | FILE_ATTRIBUTE_ARCHIVE), FILE_ATTRIBUTE_ARCHIVE);
    for (const char *broken : {"dangling.wav", "circle.wav"}) {
        const SearchEntry *e = l.find(QString::fromLatin1(broken));
        ASSERT_NE(e, nullptr) << broken;
        EXPECT_EQ(e->size, 0u) << broken;
        EXPECT_EQ(e->attributes & (folderLink | FILE_ATTRIBUTE_ARCHIVE), FILE_ATTRIBUTE_ARCHIVE) << broken;
    }

    DirSearch search(drives_test::map());
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\a\\b\\up")), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().attributes & folderLink, folderLink);
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\a\\dangling.wav")), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().size, 0u);
}

TEST_F(DirSearchTest, OtherMountIsAReparsePoint)
{
    struct stat root, proc;
    if (::stat("/", &root) != 0 || ::stat("/proc", &proc) != 0 || root.st_dev == proc.st_dev)
        GTEST_SKIP() << "/proc is not a file system of its own here";
    drives_test::ScopedDrives whole(QStringLiteral("C=/"));
    DirSearch search(drives_test::map());
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\proc")), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(DirSearchTest, BackslashInANameIsShownAsStandIn)
{
    writeFile(QStringLiteral("c/we\\ird.bmp"), QByteArray(9, 'x'));
    const QString shown = QStringLiteral("we") + QChar(kBackslashStandIn) + QStringLiteral("ird.bmp");
    const Listing l = listAll(QStringLiteral("C:\\*.*"));
    ASSERT_EQ(l.entries.size(), 1u);
    EXPECT_EQ(l.entries[0].name, shown);
    DirSearch search(drives_test::map());
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\") + shown), ERROR_SUCCESS);
    EXPECT_EQ(search.entry().size, 9u);
    EXPECT_EQ(drives_test::map().toNative(QStringLiteral("C:\\") + shown),
              native(QStringLiteral("c/we\\ird.bmp")));
}

TEST_F(DirSearchTest, AccessDenied)
{
    makeFolder(QStringLiteral("c/locked"));
    writeFile(QStringLiteral("c/locked/inside.bmp"));
    ::chmod(nativeBytes(QStringLiteral("c/locked")).constData(), 0);
    ::chmod(nativeBytes(QStringLiteral("e")).constData(), 0);
    // Root passes every permission check; act as "nobody" meanwhile.
    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "cannot leave the root user";
    EXPECT_EQ(firstCode(QStringLiteral("C:\\locked\\*.*")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(firstCode(QStringLiteral("C:\\locked\\inside.bmp")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(firstCode(QStringLiteral("C:\\locked\\deeper\\*.*")), ERROR_ACCESS_DENIED);
    // An unreadable drive root is a drive without a readable medium.
    EXPECT_EQ(firstCode(QStringLiteral("E:\\*.*")), ERROR_NOT_READY);
    // The locked folder itself can still be found by name in its readable parent.
    EXPECT_EQ(firstCode(QStringLiteral("C:\\locked")), ERROR_SUCCESS);
}

TEST_F(DirSearchTest, ReadOnlyFollowsWhatTheUserMayWrite)
{
    writeFile(QStringLiteral("c/mine.bmp"), "x", 0644);
    writeFile(QStringLiteral("c/shared.bmp"), "x", 0666);
    writeFile(QStringLiteral("c/locked.bmp"), "x", 0444);
    auto readOnly = [](const Listing &l, const char *name) {
        const SearchEntry *e = l.find(QString::fromLatin1(name));
        return e && (e->attributes & FILE_ATTRIBUTE_READONLY);
    };
    const bool root = ::geteuid() == 0;
    const Listing own = listAll(QStringLiteral("C:\\*.*"));
    ASSERT_EQ(own.entries.size(), 3u);
    EXPECT_FALSE(readOnly(own, "mine.bmp"));
    EXPECT_FALSE(readOnly(own, "shared.bmp"));
    EXPECT_EQ(readOnly(own, "locked.bmp"), !root);

    AsOrdinaryUser user;
    if (!root || !user.ordinary())
        return; // the files belong to the user already checked above
    const Listing other = listAll(QStringLiteral("C:\\*.*"));
    EXPECT_TRUE(readOnly(other, "mine.bmp"));
    EXPECT_FALSE(readOnly(other, "shared.bmp"));
    EXPECT_TRUE(readOnly(other, "locked.bmp"));
}

TEST(SearchErrorText, EveryCodeHasItsOwnFrenchAndEnglishText)
{
    const int codes[] = {ERROR_SUCCESS,       ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED,
                         ERROR_INVALID_DRIVE, ERROR_NO_MORE_FILES,  ERROR_NOT_READY};
    QStringList french, english;
    for (int code : codes) {
        french << searchErrorText(code);
        english << searchErrorText(code, false);
    }
    french.removeDuplicates();
    english.removeDuplicates();
    EXPECT_EQ(french.size(), int(std::size(codes)));
    EXPECT_EQ(english.size(), int(std::size(codes)));
    EXPECT_EQ(searchErrorText(ERROR_ACCESS_DENIED), QStringLiteral("Accès refusé."));
    EXPECT_EQ(searchErrorText(ERROR_NOT_READY, false), QStringLiteral("The device is not ready."));
    EXPECT_TRUE(searchErrorText(1234).contains(u"1234"));
    EXPECT_TRUE(searchErrorText(1234, false).contains(u"1234"));
}

// A walk opens each folder from its parent's open folder; the codes and entries are those of a
// search by the folder's whole path.
TEST_F(DirSearchTest, SearchBelowAFolderAgreesWithTheSearchOfItsPath)
{
    makeFolder(QStringLiteral("c/top/.hidden/inner"));
    makeFolder(QStringLiteral("c/top/plain"));
    writeFile(QStringLiteral("c/top/plain/a.bmp"), QByteArray(10, 'x'));
    writeFile(QStringLiteral("c/top/file.txt"));
    link(native(QStringLiteral("c/top/plain")), QStringLiteral("c/top/linked"));
    const auto below = [&](const QString &name, DirSearch &child) {
        DirSearch parent(drives_test::map());
        parent.setDetail(SearchDetail::NamesAndKinds);
        for (int code = parent.findFirst(QStringLiteral("C:\\top\\*.*")); code == ERROR_SUCCESS;
             code = parent.findNext())
            if (parent.entry().name == name)
                return child.findFirstBelow(parent);
        return -100;
    };
    for (const QString &name : {QStringLiteral("plain"), QStringLiteral(".hidden")}) {
        DirSearch child(drives_test::map());
        const int code = below(name, child);
        ASSERT_EQ(code, ERROR_SUCCESS) << name.toStdString();
        Listing fromParent;
        for (int c = code; c == ERROR_SUCCESS && fromParent.entries.size() < 100; c = child.findNext())
            fromParent.entries.push_back(child.entry());
        const Listing byPath = listAll("C:\\top\\" + name + "\\*.*");
        ASSERT_EQ(fromParent.entries.size(), byPath.entries.size()) << name.toStdString();
        for (size_t i = 0; i < byPath.entries.size(); ++i) {
            EXPECT_EQ(fromParent.entries[i].name, byPath.entries[i].name);
            EXPECT_EQ(fromParent.entries[i].attributes, byPath.entries[i].attributes)
                << byPath.entries[i].name.toStdString();
        }
    }
    // A link to a folder is never listed from its parent (a walk knows it for a reparse point).
    {
        DirSearch child(drives_test::map());
        EXPECT_EQ(below(QStringLiteral("linked"), child), ERROR_PATH_NOT_FOUND);
    }
    // A folder gone since its parent listed it, or replaced by a file.
    {
        DirSearch parent(drives_test::map());
        ASSERT_EQ(parent.findFirst(QStringLiteral("C:\\top\\*.*")), ERROR_SUCCESS);
        while (parent.entry().name != "plain")
            ASSERT_EQ(parent.findNext(), ERROR_SUCCESS);
        ASSERT_TRUE(QDir(native(QStringLiteral("c/top/plain"))).removeRecursively());
        DirSearch child(drives_test::map());
        EXPECT_EQ(child.findFirstBelow(parent), ERROR_PATH_NOT_FOUND);
        writeFile(QStringLiteral("c/top/plain"));
        EXPECT_EQ(child.findFirstBelow(parent), ERROR_PATH_NOT_FOUND);
    }
}

TEST_F(DirSearchTest, AnotherMountIsNotListedFromItsParent)
{
    struct stat root, proc;
    if (::stat("/", &root) != 0 || ::stat("/proc", &proc) != 0 || root.st_dev == proc.st_dev)
        GTEST_SKIP() << "/proc is not a file system of its own here";
    drives_test::ScopedDrives whole(QStringLiteral("C=/"));
    DirSearch parent(drives_test::map());
    parent.setDetail(SearchDetail::NamesAndKinds);
    int code = parent.findFirst(QStringLiteral("C:\\*.*"));
    while (code == ERROR_SUCCESS && parent.entry().name != "proc")
        code = parent.findNext();
    ASSERT_EQ(code, ERROR_SUCCESS);
    DirSearch child(drives_test::map());
    EXPECT_EQ(child.findFirstBelow(parent), SEARCH_REPARSE_POINT);
}

// Folders far larger than one listing read, of every size around the read's end: every entry comes
// once, whether the end is known from a short read or asked of the kernel.
TEST_F(DirSearchTest, LargeFoldersListEveryEntryOnce)
{
    for (int count : {1, 700, 1500, 4000}) {
        const QString rel = QStringLiteral("c/big%1").arg(count);
        makeFolder(rel);
        for (int i = 0; i < count; ++i) {
            // Names of every length, so that reads end at every offset.
            const QString name = QStringLiteral("%1_%2.bmp").arg(i).arg(QString(i % 200, QLatin1Char('n')));
            QFile f(native(rel + '/' + name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        for (SearchDetail detail : {SearchDetail::Full, SearchDetail::NamesAndKinds}) {
            DirSearch search(drives_test::map());
            search.setDetail(detail);
            QSet<QString> seen;
            int entries = 0;
            int code = search.findFirst(QStringLiteral("C:\\big%1\\*.*").arg(count));
            for (; code == ERROR_SUCCESS; code = search.findNext()) {
                ++entries;
                seen.insert(search.entry().name);
            }
            EXPECT_EQ(code, ERROR_NO_MORE_FILES);
            EXPECT_EQ(entries, count + 2) << count; // with . and ..
            EXPECT_EQ(seen.size(), count + 2) << count;
        }
    }
}
