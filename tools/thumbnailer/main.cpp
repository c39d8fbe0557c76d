// lumavista-thumbnailer: the desktop's thumbnailer interface over the program's own thumbnails.
//   lumavista-thumbnailer -s SIZE INPUT OUTPUT
// INPUT is a path or a file URI, OUTPUT the PNG to write. Exit 0 with the PNG written; 1 when the
// input cannot be thumbnailed (nothing written); 2 for a usage error. It runs unattended inside
// file managers: every file has a time limit, and a watchdog ends a run that still hangs.
#include "platform/thumbnails/ThumbnailCache.h"
#include "thumbnails/Thumbnail.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

constexpr int kUsage = 2;
constexpr int kFailed = 1;
constexpr int kWatchdogSeconds = 30;

int usage(const char *why)
{
    std::fprintf(stderr, "lumavista-thumbnailer: %s\nusage: lumavista-thumbnailer -s SIZE INPUT OUTPUT\n",
                 why);
    return kUsage;
}

QString inputPath(const QString &arg)
{
    if (arg.startsWith(QLatin1String("file:"))) {
        const QUrl url(arg);
        return url.isLocalFile() ? url.toLocalFile() : QString();
    }
    return QFileInfo(arg).absoluteFilePath();
}

} // namespace

int main(int argc, char **argv)
{
    // Whatever a decoder does, the file manager waiting for us is not kept waiting for ever.
    alarm(kWatchdogSeconds);
    // What Qt says about damaged files or the session is not for the file manager's log.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    // Only drawings need fonts, and so a GUI application (on the offscreen platform: a file manager
    // gives no display); everything else starts quicker without one.
    bool drawing = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = QByteArray(argv[i]).toLower();
        drawing = drawing || arg.endsWith(".wmf") || arg.endsWith(".emf");
    }
    std::unique_ptr<QCoreApplication> app;
    if (drawing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const QStringList args = app->arguments().mid(1);
    int size = 0;
    QStringList files;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-s") || args[i] == QLatin1String("--size")) {
            if (i + 1 >= args.size())
                return usage("-s needs a size");
            bool ok = false;
            size = args[++i].toInt(&ok);
            if (!ok || size < 16 || size > 1024)
                return usage("the size must be a number from 16 to 1024");
        } else if (args[i].startsWith(QLatin1Char('-')) && args[i].size() > 1) {
            return usage("unknown option");
        } else {
            files << args[i];
        }
    }
    if (size == 0 || files.size() != 2)
        return usage("a size, an input and an output are needed");
    const QString input = inputPath(files[0]);
    const QString output = QFileInfo(files[1]).absoluteFilePath();
    if (input.isEmpty())
        return usage("the input is neither a path nor a local file URI");
    const QByteArray native = QFile::encodeName(input);
    if (::access(native.constData(), R_OK) != 0) {
        std::fprintf(stderr, "lumavista-thumbnailer: %s: cannot be read\n", native.constData());
        return kFailed;
    }
    thumbs::Limits limits;
    limits.maxMilliseconds = 15000;
    const platform::ErrorOr<thumbs::Made> made = thumbs::makeThumbnailWithSize(input, size, limits);
    if (!made) {
        std::fprintf(stderr, "lumavista-thumbnailer: %s\n", made.error().message.toLocal8Bit().constData());
        return kFailed;
    }
    const platform::thumbs::Original original = platform::thumbs::describe(input);
    const QByteArray png = platform::thumbs::ThumbnailCache::encode(
        made->image, original, QStringLiteral("lumavista-thumbnailer"), made->pictureSize);
    if (png.isEmpty()) {
        std::fprintf(stderr, "lumavista-thumbnailer: the PNG could not be made\n");
        return kFailed;
    }
    if (const platform::Status written = platform::thumbs::writePrivateFile(output, png); !written) {
        std::fprintf(stderr, "lumavista-thumbnailer: %s\n", written.message().toLocal8Bit().constData());
        return kFailed;
    }
    return 0;
}
