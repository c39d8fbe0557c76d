// Opening files with the default application in a desktop made for the test: its own XDG folders,
// the system's MIME database, and applications that are small scripts recording their arguments.
#include "FilesTestSupport.h"

#include "platform/files/OpenWith.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <memory>
#include <thread>
#include <unistd.h>

using namespace files_test;

namespace {

// GIO reads the XDG folders once per process: the whole suite shares one desktop, set up before
// the first lookup.
class OpenWithTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_root = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(s_root->isValid());
        const QString root = s_root->path();
        for (const char *folder : {"data/applications", "sys", "config", "etc", "out", "files"})
            QDir().mkpath(root + QLatin1Char('/') + QLatin1String(folder));
        // Only the MIME database comes from the machine (shared-mime-info); no application does.
        ASSERT_TRUE(QFile::link(QStringLiteral("/usr/share/mime"), root + QStringLiteral("/sys/mime")));
        for (const auto &[name, folder] :
             {std::pair{"XDG_DATA_HOME", "data"}, std::pair{"XDG_DATA_DIRS", "sys"},
              std::pair{"XDG_CONFIG_HOME", "config"}, std::pair{"XDG_CONFIG_DIRS", "etc"}})
            s_env.push_back(std::make_unique<ScopedEnv>(
                name, QFile::encodeName(root + QLatin1Char('/') + QLatin1String(folder))));

        // The viewer writes its arguments, one a line, to out/NAME.args (renamed when complete).
        writeScript(QStringLiteral("viewer.sh"),
                    "#!/bin/sh\n"
                    "out=\"" +
                        QFile::encodeName(root) +
                        "/out/$(basename \"$1\")\"\n"
                        "printf '%s\\n' \"$@\" > \"$out.part\" && mv \"$out.part\" \"$out.args\"\n");
        writeDesktopFile(QStringLiteral("lumavista-test-viewer.desktop"), QStringLiteral("Test viewer"),
                         QStringLiteral("viewer.sh"), QStringLiteral("image/bmp;application/x-shellscript;"));
        // An application that runs in a terminal: it cannot start where no terminal can be found.
        writeDesktopFile(QStringLiteral("lumavista-test-terminal.desktop"), QStringLiteral("Terminal viewer"),
                         QStringLiteral("viewer.sh"), QStringLiteral("image/png;\nTerminal=true"));
        // The user's choices, as the desktop's "open with" dialog records them: defaults, and an
        // application merely associated with a type (then the first one for that type).
        writeFile(root + QStringLiteral("/config/mimeapps.list"),
                  "[Default Applications]\n"
                  "image/bmp=lumavista-test-viewer.desktop\n"
                  "application/x-shellscript=lumavista-test-viewer.desktop\n"
                  "[Added Associations]\n"
                  "image/png=lumavista-test-terminal.desktop;\n");
    }
    static void TearDownTestSuite()
    {
        s_env.clear();
        s_root.reset();
    }

    static void writeScript(const QString &name, const QByteArray &text)
    {
        const QString path = s_root->filePath(name);
        writeFile(path, text);
        ::chmod(QFile::encodeName(path).constData(), 0755);
    }
    static void writeDesktopFile(const QString &id, const QString &name, const QString &script,
                                 const QString &types)
    {
        writeFile(s_root->filePath(QStringLiteral("data/applications/") + id),
                  QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %f\nMimeType=%3\n")
                      .arg(name, s_root->filePath(script), types)
                      .toUtf8());
    }

    static QString file(const QString &name) { return s_root->filePath(QStringLiteral("files/") + name); }
    static QString argsOf(const QString &name)
    {
        return s_root->filePath(QStringLiteral("out/") + name + QStringLiteral(".args"));
    }

    // The arguments the viewer received for name, waiting up to ten seconds for it to run.
    static QByteArray waitForArgs(const QString &name)
    {
        QElapsedTimer timer;
        timer.start();
        while (!QFileInfo::exists(argsOf(name)) && timer.elapsed() < 10000)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return QFileInfo::exists(argsOf(name)) ? readFile(argsOf(name)) : QByteArray();
    }

    static std::unique_ptr<QTemporaryDir> s_root;
    static std::vector<std::unique_ptr<ScopedEnv>> s_env;
};

std::unique_ptr<QTemporaryDir> OpenWithTest::s_root;
std::vector<std::unique_ptr<ScopedEnv>> OpenWithTest::s_env;

TEST_F(OpenWithTest, TheDefaultApplicationGetsTheFileAsItsArgument)
{
    const QString picture = file(QStringLiteral("holiday photo.bmp"));
    writeFile(picture, QByteArray("BM") + QByteArray(60, '\0'));

    const auto answer = platform::openWithDefaultApplication(picture);

    ASSERT_TRUE(answer.ok()) << answer.error().message.toStdString();
    EXPECT_GT(platform::shellOpenCode(answer), 32);
    EXPECT_EQ(answer->mimeType, QStringLiteral("image/bmp"));
    EXPECT_EQ(answer->id, QStringLiteral("lumavista-test-viewer.desktop"));
    EXPECT_EQ(answer->name, QStringLiteral("Test viewer"));
    EXPECT_EQ(waitForArgs(QStringLiteral("holiday photo.bmp")), QFile::encodeName(picture) + '\n');
}

TEST_F(OpenWithTest, AScriptIsHandedToItsApplicationAndNeverRun)
{
    const QString marker = file(QStringLiteral("the-script-ran"));
    const QString script = file(QStringLiteral("run-me.sh"));
    writeFile(script, "#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n");
    ::chmod(QFile::encodeName(script).constData(), 0755);

    const auto answer = platform::openWithDefaultApplication(script);

    ASSERT_TRUE(answer.ok()) << answer.error().message.toStdString();
    EXPECT_EQ(answer->mimeType, QStringLiteral("application/x-shellscript"));
    EXPECT_EQ(waitForArgs(QStringLiteral("run-me.sh")), QFile::encodeName(script) + '\n');
    EXPECT_FALSE(QFileInfo::exists(marker));
}

TEST_F(OpenWithTest, NoApplicationForTheTypeIs31AndNothingRuns)
{
    const QString sound = file(QStringLiteral("sound.wav"));
    writeFile(sound, "RIFF\0\0\0\0WAVE");
    auto answer = platform::openWithDefaultApplication(sound);
    EXPECT_EQ(platform::shellOpenCode(answer), platform::SE_ERR_NOASSOC);
    EXPECT_EQ(platform::shellOpenCode(platform::defaultApplicationFor(sound)), 31);

    // A program with no application of its type is not run either.
    const QString marker = file(QStringLiteral("the-program-ran"));
    const QString program = file(QStringLiteral("tool.py"));
    writeFile(program, "#!/usr/bin/env python3\nopen('" + QFile::encodeName(marker) + "', 'w')\n");
    ::chmod(QFile::encodeName(program).constData(), 0755);
    answer = platform::openWithDefaultApplication(program);
    EXPECT_EQ(platform::shellOpenCode(answer), 31) << answer.error().message.toStdString();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(QFileInfo::exists(marker));
}

TEST_F(OpenWithTest, MissingFileIs2AndMissingFolderIs3)
{
    EXPECT_EQ(
        platform::shellOpenCode(platform::openWithDefaultApplication(file(QStringLiteral("absent.bmp")))), 2);
    EXPECT_EQ(platform::shellOpenCode(
                  platform::openWithDefaultApplication(file(QStringLiteral("no-folder/a.bmp")))),
              3);
    const QString plain = file(QStringLiteral("plain.bmp"));
    writeFile(plain, "BM");
    EXPECT_EQ(platform::shellOpenCode(platform::openWithDefaultApplication(plain + QStringLiteral("/a.bmp"))),
              3);
    const auto answer = platform::openWithDefaultApplication(file(QStringLiteral("absent.bmp")));
    EXPECT_EQ(answer.error().kind, platform::Error::Kind::FileOpen);
    EXPECT_FALSE(answer.error().message.isEmpty());
}

TEST_F(OpenWithTest, UnreadableFileOrFolderIs5)
{
    openToEveryone(s_root->path());
    openToEveryone(file(QString()));
    const QString secret = file(QStringLiteral("secret.bmp"));
    writeFile(secret, "BM");
    ::chmod(QFile::encodeName(secret).constData(), 0600);
    const QString closed = file(QStringLiteral("closed"));
    QDir().mkpath(closed);
    writeFile(closed + QStringLiteral("/inside.bmp"), "BM");
    ::chmod(QFile::encodeName(closed).constData(), 0700);

    AsOrdinaryUser user;
    if (!user.ordinary())
        GTEST_SKIP() << "still root: permissions are not checked";
    EXPECT_EQ(platform::shellOpenCode(platform::openWithDefaultApplication(secret)), 5);
    EXPECT_EQ(
        platform::shellOpenCode(platform::openWithDefaultApplication(closed + QStringLiteral("/inside.bmp"))),
        5);
}

TEST_F(OpenWithTest, AnApplicationThatCannotStartIs27)
{
    const QString picture = file(QStringLiteral("image.png"));
    writeFile(picture, QByteArray("\x89PNG\r\n\x1a\n", 8));
    const auto found = platform::defaultApplicationFor(picture);
    ASSERT_TRUE(found.ok()) << found.error().message.toStdString();
    EXPECT_EQ(found->id, QStringLiteral("lumavista-test-terminal.desktop"));

    // No terminal program on the way: the application is known but cannot be started.
    QTemporaryDir emptyBin;
    const ScopedEnv path("PATH", QFile::encodeName(emptyBin.path()));
    const auto answer = platform::openWithDefaultApplication(picture);
    EXPECT_EQ(platform::shellOpenCode(answer), platform::SE_ERR_ASSOCINCOMPLETE);
    EXPECT_FALSE(answer.error().message.isEmpty());
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(QFileInfo::exists(argsOf(QStringLiteral("image.png"))));
}

} // namespace
