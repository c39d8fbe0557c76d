// The atomic file write: the name holds the old or the new content, never a part, and nothing is
// left beside it whether the write succeeds or fails.
#include "platform/files/AtomicWrite.h"
#include "FilesTestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <sys/resource.h>
#include <sys/wait.h>

using platform::writeFileAtomically;

TEST(AtomicWriteTest, ReplacesTheFileWholeAndLeavesNoTemporaryFile)
{
    QTemporaryDir tmp;
    const QString target = tmp.path() + "/cache/sub/catalogue";
    ASSERT_TRUE(writeFileAtomically(target, "first").ok()); // folders made on the way
    EXPECT_EQ(files_test::readFile(target), "first");
    const QByteArray big = files_test::pattern(3 * 1024 * 1024 + 17, 4);
    ASSERT_TRUE(writeFileAtomically(target, big).ok());
    EXPECT_EQ(files_test::readFile(target), big);
    ASSERT_TRUE(writeFileAtomically(target, QByteArray()).ok());
    EXPECT_EQ(files_test::readFile(target), QByteArray());
    EXPECT_EQ(files_test::namesIn(tmp.path() + "/cache/sub"), QStringList{"catalogue"});
}

TEST(AtomicWriteTest, AFailedWriteKeepsTheOldFileAndCleansUp)
{
    QTemporaryDir tmp;
    const QString target = tmp.path() + "/catalogue";
    ASSERT_TRUE(writeFileAtomically(target, "old content").ok());

    // A file-size limit stands for a full disk: the write stops half way, in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const platform::Status status = writeFileAtomically(target, files_test::pattern(100000, 1));
        ::_exit(!status.ok() && status.error().kind == platform::Error::Kind::Io ? 0 : 1);
    }
    int wstatus = 0;
    ASSERT_EQ(::waitpid(child, &wstatus, 0), child);
    ASSERT_TRUE(WIFEXITED(wstatus));
    EXPECT_EQ(WEXITSTATUS(wstatus), 0) << "the write should have failed with an I/O error";
    EXPECT_EQ(files_test::readFile(target), "old content");
    EXPECT_EQ(files_test::namesIn(tmp.path()), QStringList{"catalogue"});

    // A folder that cannot be made: a file stands where it should be.
    const platform::Status blocked = writeFileAtomically(target + "/inside", "x");
    EXPECT_FALSE(blocked.ok());
    EXPECT_EQ(blocked.error().kind, platform::Error::Kind::Io);
    EXPECT_FALSE(blocked.message().isEmpty());
}

TEST(AtomicWriteTest, ARenameWithoutReplacingKeepsATakenName)
{
    QTemporaryDir tmp;
    const QString a = tmp.path() + "/a", b = tmp.path() + "/b", c = tmp.path() + "/c";
    ASSERT_TRUE(writeFileAtomically(a, "new").ok());
    ASSERT_TRUE(writeFileAtomically(b, "kept").ok());
    const platform::Status refused = platform::renameWithoutReplacing(a, b);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, EEXIST);
    EXPECT_EQ(files_test::readFile(b), "kept");
    EXPECT_EQ(files_test::readFile(a), "new");
    ASSERT_TRUE(platform::renameWithoutReplacing(a, c).ok());
    EXPECT_EQ(files_test::readFile(c), "new");
    EXPECT_EQ(files_test::namesIn(tmp.path()), (QStringList{"b", "c"}));
}
