// The names-and-kinds search against the full one on the same real folders: the same entries in the
// same order, the same kinds and reparse points, and the same sizes once asked for.
#include "DrivesTestSupport.h"
#include "platform/drives/DirSearch.h"
#include "platform/drives/DriveNames.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

constexpr uint32_t kKindBits = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_REPARSE_POINT;

struct Seen
{
    QString name;
    uint32_t attributes = 0;
    uint64_t sizeBeforeAsking = 0;
    uint64_t size = 0; // entrySize()
    bool timeFilled = false;
};

struct Walk
{
    int firstCode = -1;
    int lastCode = -1;
    std::vector<Seen> entries;
};

Walk listWith(SearchDetail detail, const QString &pattern)
{
    Walk w;
    DirSearch search(drives_test::map());
    search.setDetail(detail);
    int code = w.firstCode = search.findFirst(pattern);
    while (code == ERROR_SUCCESS && w.entries.size() < 1000) {
        Seen s;
        s.name = search.entry().name;
        s.attributes = search.entry().attributes;
        s.sizeBeforeAsking = search.entry().size;
        s.timeFilled = search.entry().lastWrite.isValid() || search.entry().lastWriteMSecs != 0;
        s.size = search.entrySize();
        EXPECT_EQ(search.entry().size, s.size) << s.name.toStdString();
        w.entries.push_back(s);
        code = search.findNext();
    }
    w.lastCode = code;
    return w;
}

// Both listings of pattern agree on everything the lighter one promises.
void expectSameListing(const QString &pattern)
{
    SCOPED_TRACE(pattern.toStdString());
    const Walk full = listWith(SearchDetail::Full, pattern);
    const Walk light = listWith(SearchDetail::NamesAndKinds, pattern);
    EXPECT_EQ(light.firstCode, full.firstCode);
    EXPECT_EQ(light.lastCode, full.lastCode);
    ASSERT_EQ(light.entries.size(), full.entries.size());
    for (size_t i = 0; i < full.entries.size(); ++i) {
        const Seen &f = full.entries[i];
        const Seen &l = light.entries[i];
        SCOPED_TRACE(f.name.toStdString());
        EXPECT_EQ(l.name, f.name);
        EXPECT_EQ(l.attributes & kKindBits, f.attributes & kKindBits);
        EXPECT_EQ(l.attributes & FILE_ATTRIBUTE_READONLY, 0u);
        EXPECT_EQ(l.size, f.size);
        EXPECT_EQ(f.sizeBeforeAsking, f.size);
        EXPECT_FALSE(l.timeFilled);
    }
}

class DirSearchDetailTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tmp.isValid());
        m_base = drives_test::makeOpenTempDir(m_tmp);
        ASSERT_TRUE(QDir().mkpath(native("c")));
        ASSERT_TRUE(QDir().mkpath(native("e")));
        m_drives = std::make_unique<drives_test::ScopedDrives>(
            QStringLiteral("C=%1/c;D=%1/missing;E=%1/e").arg(m_base));
    }

    void TearDown() override { ::chmod(QFile::encodeName(native("c/a/nosearch")).constData(), 0755); }

    QString native(const QString &rel) const { return m_base + u'/' + rel; }

    void makeFolder(const QString &rel)
    {
        ASSERT_TRUE(QDir().mkpath(native(rel)));
        ::chmod(QFile::encodeName(native(rel)).constData(), 0755);
    }

    void writeFile(const QString &rel, qint64 size)
    {
        QFile f(native(rel));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << rel.toStdString();
        f.write(QByteArray(size, 'x'));
    }

    void link(const QString &target, const QString &rel)
    {
        ASSERT_EQ(
            ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(native(rel)).constData()), 0);
    }

    // Files, folders, hidden ones, links of every kind, a pipe and names that are not plain ASCII.
    void makeMixedFolder()
    {
        makeFolder("c/a/sub/deeper");
        makeFolder("c/a/.hidden");
        makeFolder("c/a/.hidden/inner");
        writeFile("c/a/photo.bmp", 1234);
        writeFile("c/a/empty.txt", 0);
        writeFile("c/a/.dot.jpg", 7);
        writeFile("c/a/sub/x.wav", 99);
        writeFile(QStringLiteral("c/a/\u00e9t\u00e9.gif"), 5);
        writeFile("c/a/back\\slash.ico", 3);
        link("photo.bmp", "c/a/tofile.bmp");
        link("sub", "c/a/tofolder");
        link("/", "c/a/toroot");
        link("nowhere.wav", "c/a/dangling.wav");
        link("circle", "c/a/circle");
        link("tofile.bmp", "c/a/twice.bmp");
        ASSERT_EQ(::mkfifo(QFile::encodeName(native("c/a/pipe")).constData(), 0644), 0);
    }

    QTemporaryDir m_tmp;
    QString m_base;
    std::unique_ptr<drives_test::ScopedDrives> m_drives;
};

} // namespace

TEST_F(DirSearchDetailTest, NamesKindsAndSizesAgreeWithTheFullSearch)
{
    makeMixedFolder();
    expectSameListing(QStringLiteral("C:\\*.*"));
    expectSameListing(QStringLiteral("C:\\a\\*.*"));
    expectSameListing(QStringLiteral("C:\\a\\sub\\*"));
    expectSameListing(QStringLiteral("C:\\a\\.hidden\\*.*"));
    expectSameListing(QStringLiteral("C:\\a\\.hidden\\inner\\*.*"));
    for (const char *name : {"photo.bmp", "tofile.bmp", "tofolder", "dangling.wav", "circle", "pipe", "sub"})
        expectSameListing(QStringLiteral("C:\\a\\") + QLatin1String(name));
    // Failed searches answer the same.
    expectSameListing(QStringLiteral("E:\\*.*"));
    expectSameListing(QStringLiteral("D:\\*.*"));
    expectSameListing(QStringLiteral("C:\\nope\\*.*"));
    expectSameListing(QStringLiteral("C:\\a\\photo.bmp\\*.*"));
}

TEST_F(DirSearchDetailTest, TheLighterSearchKnowsWhatAWalkMustNotEnter)
{
    makeMixedFolder();
    const Walk light = listWith(SearchDetail::NamesAndKinds, QStringLiteral("C:\\a\\*.*"));
    ASSERT_EQ(light.lastCode, ERROR_NO_MORE_FILES);
    auto find = [&](const QString &name) -> const Seen * {
        for (const Seen &s : light.entries)
            if (s.name == name)
                return &s;
        return nullptr;
    };
    const uint32_t folderLink = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    ASSERT_NE(find("tofolder"), nullptr);
    EXPECT_EQ(find("tofolder")->attributes & folderLink, folderLink);
    EXPECT_EQ(find("toroot")->attributes & folderLink, folderLink);
    EXPECT_EQ(find("sub")->attributes & folderLink, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(find(".hidden")->attributes & (folderLink | FILE_ATTRIBUTE_HIDDEN),
              FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    // A plain file's size waits until it is asked for; a link's comes with the look at its target.
    EXPECT_EQ(find("photo.bmp")->sizeBeforeAsking, 0u);
    EXPECT_EQ(find("photo.bmp")->size, 1234u);
    EXPECT_EQ(find("twice.bmp")->size, 1234u);
    EXPECT_EQ(find("dangling.wav")->size, 0u);
    EXPECT_EQ(find("pipe")->attributes & kKindBits, uint32_t(FILE_ATTRIBUTE_SYSTEM));
    EXPECT_NE(find(QStringLiteral("\u00e9t\u00e9.gif")), nullptr);
    EXPECT_NE(find(QStringLiteral("back") + QChar(kBackslashStandIn) + QStringLiteral("slash.ico")), nullptr);
}

TEST_F(DirSearchDetailTest, SizeIsReadWhenAskedAndTheDetailStaysForLaterSearches)
{
    writeFile("c/grows.avi", 10);
    DirSearch search(drives_test::map());
    search.setDetail(SearchDetail::NamesAndKinds);
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\*.*")), ERROR_SUCCESS);
    ASSERT_EQ(search.entry().name, u"grows.avi");
    ASSERT_TRUE(QFile::resize(native("c/grows.avi"), 4000));
    EXPECT_EQ(search.entrySize(), 4000u);
    EXPECT_EQ(search.findNext(), ERROR_NO_MORE_FILES);

    // The detail holds for the next search, and the full one comes back when asked.
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\*.*")), ERROR_SUCCESS);
    EXPECT_FALSE(search.entry().lastWrite.isValid());
    EXPECT_EQ(search.entry().size, 0u);
    search.setDetail(SearchDetail::Full);
    ASSERT_EQ(search.findFirst(QStringLiteral("C:\\*.*")), ERROR_SUCCESS);
    EXPECT_TRUE(search.entry().lastWrite.isValid());
    EXPECT_EQ(search.entry().size, 4000u);
    EXPECT_EQ(search.entrySize(), 4000u);
}

TEST_F(DirSearchDetailTest, FolderThatCanBeReadButNotSearched)
{
    makeFolder("c/a/nosearch/inside");
    writeFile("c/a/nosearch/f.bmp", 20);
    ::chmod(QFile::encodeName(native("c/a/nosearch")).constData(), 0444);
    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "cannot leave the root user";
    // Only the names and d_type are known there: both searches say the same.
    expectSameListing(QStringLiteral("C:\\a\\nosearch\\*.*"));
    const Walk light = listWith(SearchDetail::NamesAndKinds, QStringLiteral("C:\\a\\nosearch\\*.*"));
    EXPECT_EQ(light.entries.size(), 4u);
}

TEST_F(DirSearchDetailTest, SearchTextsThatAreNotPlainFolderPaths)
{
    makeFolder("c/a/...");
    makeFolder("c/a/.b");
    writeFile("c/a/.../x.bmp", 3);
    // A missing drive root is told as such before anything else is looked at.
    EXPECT_EQ(listWith(SearchDetail::NamesAndKinds, QStringLiteral("D:Photos")).firstCode, ERROR_NOT_READY);
    EXPECT_EQ(listWith(SearchDetail::NamesAndKinds, QStringLiteral("C:Photos")).firstCode,
              ERROR_PATH_NOT_FOUND);
    // "..." and ".b" are names; "." and ".." are not, and never climb above the root.
    EXPECT_EQ(relativeNativeOf(u"\\a\\...\\"), u"a/...");
    EXPECT_EQ(relativeNativeOf(u"/a\\.b/"), u"a/.b");
    EXPECT_EQ(relativeNativeOf(u"\\a\\.\\b"), u"a/b");
    EXPECT_EQ(relativeNativeOf(u"\\..\\a\\..\\..\\b"), u"b");
    EXPECT_EQ(relativeNativeOf(u"\\\\a\\"), u"a");
    EXPECT_EQ(relativeNativeOf(u"\\"), u"");
    const QString standIn = QStringLiteral("\\x") + QChar(kBackslashStandIn) + QStringLiteral("y\\");
    EXPECT_EQ(relativeNativeOf(standIn), u"x\\y");
    expectSameListing(QStringLiteral("C:\\a\\...\\*.*"));
    const Walk dots = listWith(SearchDetail::NamesAndKinds, QStringLiteral("C:\\a\\...\\*.*"));
    ASSERT_EQ(dots.entries.size(), 3u);
    EXPECT_EQ(dots.entries[2].size, 3u);
}
