// Output names and the way outputs are written: beside the input or in the folder asked for,
// never over an existing file, with the input's modification time, nothing left on failure; and
// the jobs a list of files and folders gives.
#include "ConvertTestSupport.h"

#include "convert/AtomicOutput.h"
#include "convert/ConvertPlan.h"
#include "convert/Converter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace converttest;

namespace {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool copyFixture(const QString &name, const QString &to)
{
    QDir().mkpath(QFileInfo(to).absolutePath());
    return QFile::copy(fixture(name), to);
}

} // namespace

TEST(ConvertOutput, ExistingFilesAreNeverReplacedAndTakeTheNextNumber)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString input = tmp.filePath("nom.bmp");
    ASSERT_TRUE(copyFixture("rose.bmp", input));
    ASSERT_TRUE(writeFile(tmp.filePath("nom.png"), "not mine"));
    const convert::Job job{input, tmp.path(), "png"};

    const platform::ErrorOr<QString> second = convert::convertFile(job, {});
    ASSERT_TRUE(second.ok()) << second.error().message.toStdString();
    EXPECT_EQ(*second, tmp.filePath("nom (2).png"));
    const platform::ErrorOr<QString> third = convert::convertFile(job, {});
    ASSERT_TRUE(third.ok());
    EXPECT_EQ(*third, tmp.filePath("nom (3).png"));
    EXPECT_EQ(readFile(tmp.filePath("nom.png")), QByteArray("not mine"));
    EXPECT_EQ(readFile(*second), readFile(*third));
    // A dangling link holds its name as well.
    ASSERT_TRUE(QFile::link(tmp.filePath("nowhere"), tmp.filePath("nom (4).png")));
    EXPECT_EQ(convert::freeOutputPath(tmp.path(), "nom", "png"), tmp.filePath("nom (5).png"));
    EXPECT_EQ(filesBelow(tmp.path()),
              QStringList({"nom (2).png", "nom (3).png", "nom (4).png", "nom.bmp", "nom.png"}));
}

TEST(ConvertOutput, TheOutputTakesTheInputsModificationTime)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString input = tmp.filePath("old.pcx");
    ASSERT_TRUE(copyFixture("rose.pcx", input));
    const QDateTime when(QDate(1997, 3, 14), QTime(15, 9, 26), Qt::UTC);
    {
        QFile f(input);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    const platform::ErrorOr<QString> out = convert::convertFile({input, tmp.filePath("sub/dir"), "webp"}, {});
    ASSERT_TRUE(out.ok()) << out.error().message.toStdString();
    EXPECT_EQ(*out, tmp.filePath("sub/dir/old.webp"));
    EXPECT_EQ(QFileInfo(*out).lastModified().toUTC(), when);
    // The permissions of any new file there (the user's umask), not a temporary file's owner-only ones.
    ASSERT_TRUE(writeFile(tmp.filePath("sub/dir/plain"), "x"));
    EXPECT_EQ(QFileInfo(*out).permissions(), QFileInfo(tmp.filePath("sub/dir/plain")).permissions());
}

TEST(ConvertOutput, AnUnwritableDestinationIsAnIoFailureWithNothingLeft)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    // A file where the destination folder should be: no folder can be made there, even by root.
    ASSERT_TRUE(writeFile(tmp.filePath("taken"), "x"));
    const platform::ErrorOr<QString> out =
        convert::convertFile({fixture("rose.bmp"), tmp.filePath("taken/out"), "png"}, {});
    ASSERT_FALSE(out.ok());
    EXPECT_EQ(out.error().kind, platform::Error::Kind::Io);
    EXPECT_EQ(filesBelow(tmp.path()), QStringList({"taken"}));
}

TEST(ConvertOutput, AnUncommittedOutputLeavesNoFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QString temp;
    {
        convert::AtomicOutput out;
        ASSERT_TRUE(out.open(tmp.path()).ok());
        temp = out.tempPath();
        ASSERT_TRUE(writeFile(temp, "half a picture"));
        EXPECT_TRUE(QFileInfo(temp).fileName().startsWith('.'));
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_TRUE(filesBelow(tmp.path()).isEmpty());
}

TEST(ConvertPlan, AFoldersTreeIsRebuiltUnderTheOutputFolder)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString root = tmp.filePath("Photos");
    ASSERT_TRUE(copyFixture("rose.bmp", root + "/2000/ete/plage.bmp"));
    ASSERT_TRUE(copyFixture("rose.jpg", root + "/2000/hiver.JPG"));
    ASSERT_TRUE(copyFixture("rose.pcx", root + "/dessin.pcx"));
    ASSERT_TRUE(writeFile(root + "/lisez-moi.txt", "text"));
    ASSERT_TRUE(writeFile(root + "/2000/notes.doc", "doc"));
    const QString out = tmp.filePath("out");

    const convert::Plan plan = convert::planJobs({root}, out, {});
    EXPECT_TRUE(plan.failures.isEmpty());
    ASSERT_EQ(plan.jobs.size(), 3);
    for (const convert::Job &job : plan.jobs) {
        const platform::ErrorOr<QString> done = convert::convertFile(job, {});
        ASSERT_TRUE(done.ok()) << done.error().message.toStdString();
    }
    EXPECT_EQ(filesBelow(out), QStringList({"2000/ete/plage.png", "2000/hiver.png", "dessin.png"}));

    // Without an output folder each output lands beside its input.
    const convert::Plan beside = convert::planJobs({root}, {}, "webp");
    ASSERT_EQ(beside.jobs.size(), 3);
    EXPECT_EQ(beside.jobs[0].outFolder, root + "/2000/ete");
    EXPECT_EQ(beside.jobs[0].format, "webp");
    EXPECT_EQ(beside.jobs[1].outFolder, root + "/2000");
    EXPECT_EQ(beside.jobs[2].outFolder, root);
}

TEST(ConvertPlan, NamedFilesThatCannotConvertAreFailuresOfTheirOwn)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    ASSERT_TRUE(copyFixture("rose.bmp", tmp.filePath("a.bmp")));
    ASSERT_TRUE(writeFile(tmp.filePath("b.txt"), "text"));
    const convert::Plan plan = convert::planJobs(
        {tmp.filePath("a.bmp"), tmp.filePath("b.txt"), tmp.filePath("missing.bmp")}, {}, {});
    ASSERT_EQ(plan.jobs.size(), 1);
    EXPECT_EQ(plan.jobs[0].format, "png");
    ASSERT_EQ(plan.failures.size(), 2);
    EXPECT_TRUE(plan.failures[0].contains("b.txt"));
    EXPECT_TRUE(plan.failures[1].contains("missing.bmp"));

    // A picture asked to become a sound is refused by name; inside a folder it is left alone.
    const convert::Plan wrong = convert::planJobs({tmp.filePath("a.bmp")}, {}, "flac");
    EXPECT_TRUE(wrong.jobs.isEmpty());
    ASSERT_EQ(wrong.failures.size(), 1);
    EXPECT_TRUE(wrong.failures[0].contains("flac"));
    const convert::Plan folder = convert::planJobs({tmp.path()}, {}, "flac");
    EXPECT_TRUE(folder.jobs.isEmpty());
    EXPECT_TRUE(folder.failures.isEmpty());

    // A file already in the format would only be copied: refused by name, left alone in a folder
    // (a second conversion of a folder does not convert the first one's outputs again).
    ASSERT_TRUE(copyFixture("alpha.png", tmp.filePath("c.PNG")));
    const convert::Plan same = convert::planJobs({tmp.filePath("c.PNG")}, {}, "png");
    EXPECT_TRUE(same.jobs.isEmpty());
    ASSERT_EQ(same.failures.size(), 1);
    EXPECT_TRUE(same.failures[0].contains("already in png"));
    const convert::Plan again = convert::planJobs({tmp.path()}, {}, "png");
    ASSERT_EQ(again.jobs.size(), 1);
    EXPECT_TRUE(again.jobs[0].input.endsWith("a.bmp"));
    EXPECT_EQ(convert::planJobs({tmp.filePath("c.PNG")}, {}, "webp").jobs.size(), 1);
}
