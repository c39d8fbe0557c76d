// Deleting to the Trash in a temporary XDG_DATA_HOME, files that must be kept, and a file system
// that has no Trash.
#include "FilesTestSupport.h"

#include "platform/files/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <optional>
#include <unistd.h>

using namespace files_test;
using platform::DeleteFailure;
using platform::DeleteOutcome;

namespace {

class TrashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Left for the Trash to make, as on a new account.
        m_env.emplace("XDG_DATA_HOME", QFile::encodeName(data()));
        QDir().mkpath(files());
    }
    QString data() const { return m_dir.filePath(QStringLiteral("data")); }
    QString trash() const { return data() + QStringLiteral("/Trash"); }
    QString files() const { return m_dir.filePath(QStringLiteral("files")); }
    QString makeFile(const QString &name, const QByteArray &bytes) const
    {
        const QString path = files() + QLatin1Char('/') + name;
        writeFile(path, bytes);
        return path;
    }

    QTemporaryDir m_dir;
    std::optional<ScopedEnv> m_env;
};

TEST_F(TrashTest, FileGoesToTheHomeTrashWithItsInfo)
{
    const QByteArray bytes = pattern(12345, 1);
    const QString path = makeFile(QStringLiteral("photo à été.jpg"), bytes);

    const platform::DeleteReport report = platform::moveToTrash(path);

    ASSERT_EQ(report.outcome, DeleteOutcome::Trashed) << report.status.message().toStdString();
    EXPECT_TRUE(report.deleted());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(report.pathInTrash, trash() + QStringLiteral("/files/photo à été.jpg"));
    EXPECT_EQ(readFile(report.pathInTrash), bytes);
    const QString info =
        QString::fromUtf8(readFile(trash() + QStringLiteral("/info/photo à été.jpg.trashinfo")));
    EXPECT_TRUE(info.startsWith(QLatin1String("[Trash Info]\n"))) << info.toStdString();
    // Qt up to 6.4 writes the path as it is, later versions escape it as the Trash format asks.
    EXPECT_TRUE(info.contains(QStringLiteral("\nPath=") + path + QLatin1Char('\n')) ||
                info.contains(QStringLiteral("\nPath=") +
                              QString::fromLatin1(QUrl::toPercentEncoding(path, "/")) + QLatin1Char('\n')))
        << info.toStdString();
    EXPECT_TRUE(info.contains(
        QRegularExpression(QStringLiteral("\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n"))))
        << info.toStdString();

    // The same name once more: both stay in the Trash.
    const platform::DeleteReport again =
        platform::moveToTrash(makeFile(QStringLiteral("photo à été.jpg"), "x"));
    ASSERT_EQ(again.outcome, DeleteOutcome::Trashed);
    EXPECT_NE(again.pathInTrash, report.pathInTrash);
    EXPECT_EQ(readFile(report.pathInTrash), bytes);
    EXPECT_EQ(namesIn(trash() + QStringLiteral("/info")).size(), 2);
}

TEST_F(TrashTest, SeveralFilesAreReportedOneByOne)
{
    const QString first = makeFile(QStringLiteral("a.bmp"), "a");
    const QString missing = files() + QStringLiteral("/missing.bmp");
    const QString folder = files() + QStringLiteral("/folder.bmp");
    QDir().mkpath(folder);
    const QString last = makeFile(QStringLiteral("b.bmp"), "b");

    const std::vector<platform::DeleteReport> reports = platform::moveToTrash({first, missing, folder, last});

    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].outcome, DeleteOutcome::Trashed);
    EXPECT_EQ(reports[1].outcome, DeleteOutcome::Failed);
    EXPECT_EQ(reports[1].failure, DeleteFailure::Missing);
    EXPECT_EQ(reports[2].failure, DeleteFailure::IsFolder);
    EXPECT_EQ(reports[3].outcome, DeleteOutcome::Trashed);
    EXPECT_EQ(reports[3].path, last);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(namesIn(files()), QStringList{QStringLiteral("folder.bmp")});
    EXPECT_EQ(namesIn(trash() + QStringLiteral("/files")),
              (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}));
}

TEST_F(TrashTest, SymbolicLinkGoesItselfAndItsFileStays)
{
    const QString file = makeFile(QStringLiteral("real.gif"), "GIF89a");
    const QString link = files() + QStringLiteral("/link.gif");
    ASSERT_TRUE(QFile::link(file, link));

    const platform::DeleteReport report = platform::moveToTrash(link);

    ASSERT_EQ(report.outcome, DeleteOutcome::Trashed) << report.status.message().toStdString();
    EXPECT_EQ(readFile(file), QByteArray("GIF89a"));
    EXPECT_TRUE(QFileInfo(report.pathInTrash).isSymLink());
    EXPECT_EQ(namesIn(files()), QStringList{QStringLiteral("real.gif")});
}

// Root may delete anything: these act as user 65534.
TEST_F(TrashTest, ReadOnlyFileIsKept)
{
    openToEveryone(m_dir.path());
    openToEveryone(files());
    const QString path = makeFile(QStringLiteral("kept.jpg"), "kept");
    chownToNobody(path);
    ::chmod(QFile::encodeName(path).constData(), 0444);

    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "still root: permissions are not checked";
    const platform::DeleteReport report = platform::moveToTrash(path);
    EXPECT_EQ(report.outcome, DeleteOutcome::Failed);
    EXPECT_EQ(report.failure, DeleteFailure::ReadOnlyFile);
    EXPECT_FALSE(report.status.message().isEmpty());
    EXPECT_EQ(platform::removeForGood(path).failure, DeleteFailure::ReadOnlyFile);
    EXPECT_EQ(readFile(path), QByteArray("kept"));
    EXPECT_TRUE(namesIn(trash() + QStringLiteral("/files")).isEmpty());
}

TEST_F(TrashTest, FileInAReadOnlyFolderIsKept)
{
    openToEveryone(m_dir.path());
    const QString path = makeFile(QStringLiteral("kept.jpg"), "kept");
    ::chmod(QFile::encodeName(path).constData(), 0666);
    ::chmod(QFile::encodeName(files()).constData(), 0555);

    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "still root: permissions are not checked";
    const platform::DeleteReport report = platform::moveToTrash(path);
    EXPECT_EQ(report.outcome, DeleteOutcome::Failed);
    EXPECT_EQ(report.failure, DeleteFailure::ReadOnlyFolder);
    EXPECT_EQ(report.status.error().code, EACCES);
    EXPECT_EQ(platform::removeForGood(path).failure, DeleteFailure::ReadOnlyFolder);
    EXPECT_EQ(readFile(path), QByteArray("kept"));
}

// Another file system (a tmpfs in a child's own mount namespace) whose top folder cannot take a
// trash folder: no Trash, nothing touched, then deleted for good; once it can, its own Trash is used.
TEST_F(TrashTest, AnotherFileSystemWithoutTrashSaysSoThenDeletesForGood)
{
    const QString mount = m_dir.filePath(QStringLiteral("other-disk"));
    QDir().mkpath(mount);
    EXPECT_CHILD_PASSES(runInChild([&]() -> QString {
        if (const QString why = mountPrivateTmpfs(mount, "size=1m"); !why.isEmpty())
            return QStringLiteral("SKIP: ") + why;
        // A plain file where the trash folder would go: it can be neither used nor made.
        const QString blocker = mount + QStringLiteral("/.Trash-") + QString::number(::getuid());
        writeFile(blocker, "not a folder");
        const QString path = mount + QStringLiteral("/clip.avi");
        writeFile(path, "RIFF");

        QString problems;
        platform::DeleteReport report = platform::moveToTrash(path);
        if (report.outcome != DeleteOutcome::NoTrash)
            problems +=
                QStringLiteral("trash: %1 %2; ").arg(int(report.outcome)).arg(report.status.message());
        if (readFile(path) != "RIFF")
            problems += QStringLiteral("the file was touched; ");
        if (!namesIn(trash() + QStringLiteral("/info")).isEmpty())
            problems += QStringLiteral("an info file was left in the home Trash; ");
        report = platform::removeForGood(path);
        if (report.outcome != DeleteOutcome::Removed || QFileInfo::exists(path))
            problems += QStringLiteral("remove for good: %1; ").arg(report.status.message());

        QFile::remove(blocker);
        const QString second = mount + QStringLiteral("/second.avi");
        writeFile(second, "RIFF2");
        report = platform::moveToTrash(second);
        if (report.outcome != DeleteOutcome::Trashed ||
            !report.pathInTrash.startsWith(mount + QStringLiteral("/.Trash-")))
            problems += QStringLiteral("own Trash: %1 %2").arg(report.pathInTrash, report.status.message());
        return problems;
    }));
}

} // namespace
