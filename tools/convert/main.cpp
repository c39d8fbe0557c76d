// lumavista-convert [--to FORMAT] [--out DIR] [--width N] FILE|FOLDER...
// Converts each file (and the media files of each folder) through the program's own decoders;
// prints each output's path on standard output and each failure as one line on standard error.
// Exit status: 0 all converted, 1 some failed, 2 a wrong command line.
#include "convert/ConvertPlan.h"
#include "convert/Formats.h"

#include <QApplication>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

int usage(const QString &why)
{
    if (!why.isEmpty())
        std::fprintf(stderr, "lumavista-convert: %s\n", qPrintable(why));
    std::fprintf(stderr,
                 "usage: lumavista-convert [--to FORMAT] [--out DIR] [--width N] FILE|FOLDER...\n"
                 "FORMAT: %s\n",
                 qPrintable(convert::formatNames().join(QLatin1Char(' '))));
    return 2;
}

void report(const QString &message)
{
    std::fprintf(stderr, "lumavista-convert: %s\n", qPrintable(message));
}

// Standard error carries one line per failure: Qt's own notes (a missing runtime folder ...) stay out.
void quietQt(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "lumavista-convert: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    // The picture controls are widgets; an offscreen platform lets the tool run without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietQt);
    QApplication app(argc, argv);

    QString format;
    QString outDir;
    convert::Options options;
    QStringList paths;
    const QStringList args = app.arguments().mid(1);
    bool optionsEnded = false;
    for (int i = 0; i < args.size(); ++i) {
        QString a = args[i];
        if (optionsEnded || !a.startsWith(QLatin1String("--"))) {
            paths << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        if (a == QLatin1String("--help")) {
            usage({});
            return 0;
        }
        QString value;
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        if (eq > 0) {
            value = a.mid(eq + 1);
            a = a.left(eq);
        } else if (a == QLatin1String("--to") || a == QLatin1String("--out") ||
                   a == QLatin1String("--width")) {
            if (i + 1 >= args.size())
                return usage(QStringLiteral("%1 needs a value").arg(a));
            value = args[++i];
        }
        if (a == QLatin1String("--to")) {
            format = value.toLower();
            if (!convert::isFormatName(format))
                return usage(QStringLiteral("unknown format \"%1\"").arg(value));
        } else if (a == QLatin1String("--out")) {
            if (value.isEmpty())
                return usage(QStringLiteral("--out needs a folder"));
            outDir = value;
        } else if (a == QLatin1String("--width")) {
            bool ok = false;
            options.width = value.toInt(&ok);
            if (!ok || options.width < 1 || options.width > 65535)
                return usage(QStringLiteral("--width takes a number of pixels from 1 to 65535"));
        } else {
            return usage(QStringLiteral("unknown option %1").arg(a));
        }
    }
    if (paths.isEmpty())
        return usage(QStringLiteral("no file or folder given"));

    const convert::Plan plan = convert::planJobs(paths, outDir, format);
    bool allOk = plan.failures.isEmpty();
    for (const QString &failure : plan.failures)
        report(failure);
    // Jobs run on every core.
    std::mutex lock;
    std::atomic<bool> stopped{false};
    auto run = [&](const convert::Job &job) {
        if (stopped)
            return;
        const platform::ErrorOr<QString> done = convert::convertFile(job, options);
        const std::lock_guard<std::mutex> guard(lock);
        if (done) {
            std::printf("%s\n", qPrintable(*done));
            std::fflush(stdout);
            return;
        }
        allOk = false;
        report(done.error().message);
        // The destination cannot take outputs (full disk, no write access): the next files
        // would fail the same way.
        if (done.error().kind == platform::Error::Kind::Io && !stopped.exchange(true))
            report(QStringLiteral("stopped: the destination cannot be written"));
    };
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
    for (const convert::Job &job : plan.jobs)
        pool.start([&run, job] { run(job); });
    pool.waitForDone();
    return allOk ? 0 : 1;
}
