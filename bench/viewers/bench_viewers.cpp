// The viewer pages in the real main window (offscreen), each figure against a reference measured in
// the same run. Drive C: is mapped on ROOT; FOLDER is a folder below it (any name, accented, deep).
// Rows are selected through the list as a click does; the viewer's toolbar commands are clicked.
//
//   bench_viewers jpeg ROOT FOLDER FILE RUNS     select-to-painted of a JPEG at 1:1, 1:8 and in 8 bits,
//                                                against djpeg with the same options
//   bench_viewers walk ROOT FOLDER               Next File through every file of FOLDER, twice
//   bench_viewers big ROOT FOLDER RUNS FILE...   select-to-painted of PCX and TIFF pictures against
//                                                the image view's own loadFromFile
//   bench_viewers wav ROOT FOLDER RUNS           select-to-first-sound, against the player alone
//   bench_viewers midi ROOT FOLDER RUNS          the first tune, later tunes, the interface's worst gap
//   bench_viewers avi ROOT FOLDER FILE FRAMES [--no-reference]
//                                                one play: frames shown, sync, CPU against ffmpeg -re
//   bench_viewers soak ROOT FOLDER LOADS [EXT]   successive sound and video loads: memory, threads, files
//   bench_viewers zoom ROOT FOLDER FILE...       zoom steps (each painted) in and out over the whole
//                                                range, then full-screen entry and exit, painted
//
// Run by bench/viewers/run.sh, which makes the inputs.
#include "app/App.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "components/media/TMediaPlayer.h"
#include "platform/Ui.h"
#include "platform/drives/DriveMap.h"
#include "platform/media/SequencerDriver.h"
#include "platform/media/VideoSurface.h"
#include "shell/Main.h"
#include "viewers/Backgrnd.h"
#include "viewers/View_AVI.h"
#include "viewers/View_ImageEn.h"
#include "viewers/View_JPG.h"
#include "viewers/View_Sound.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomView.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QPainter>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <malloc.h>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#endif
#include <fluidsynth.h>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

// Under callgrind --collect-atstart=no, only what lies between two toggles is counted.
#ifdef CALLGRIND_TOGGLE_COLLECT
#define BENCH_TOGGLE_COLLECT() CALLGRIND_TOGGLE_COLLECT
#else
#define BENCH_TOGGLE_COLLECT()
#endif

namespace {

// ---- measures --------------------------------------------------------------------------------

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double maxOf(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

double ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

double cpuMs(const rusage &u)
{
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Processor time of the calling thread, in milliseconds (to the nanosecond, not the tick).
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

// Processor time of the whole process (every thread), in milliseconds.
double processCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

long statusKiB(const char *key)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

long entriesIn(const char *dir)
{
    return long(QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

struct Resources
{
    long rssKiB, threads, fds;
    long heapKiB; // what the program holds from malloc: a leak grows it, fragmentation does not
};

Resources resources()
{
    return {statusKiB("VmRSS:"), entriesIn("/proc/self/task"), entriesIn("/proc/self/fd"),
            long(mallinfo2().uordblks / 1024)};
}

// Processor time of each thread of the process (name, milliseconds), by thread id.
QMap<long, QPair<QString, double>> threadTimes()
{
    QMap<long, QPair<QString, double>> out;
    const double msPerTick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    for (const QString &tid : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f("/proc/self/task/" + tid + "/stat");
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QByteArray stat = f.readAll();
        const int open = stat.indexOf('('), close = stat.lastIndexOf(')');
        const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
        if (open < 0 || close < 0 || fields.size() < 13)
            continue;
        // After the name: state is field 3, utime 14 and stime 15.
        out[tid.toLong()] = {QString::fromUtf8(stat.mid(open + 1, close - open - 1)),
                             double(fields[11].toLongLong() + fields[12].toLongLong()) * msPerTick};
    }
    return out;
}

// System time and page faults: what touching fresh memory costs, which instruction counts miss.
struct Kernel
{
    double sysMs = 0;
    long minorFaults = 0;
};

Kernel kernelOf(const rusage &u)
{
    return {double(u.ru_stime.tv_sec) * 1e3 + double(u.ru_stime.tv_usec) / 1e3, u.ru_minflt};
}

Kernel threadKernel()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return kernelOf(u);
}

struct Spawned
{
    double wallMs = 0, cpuMs = 0;
    int status = -1;
    Kernel kernel;
};

// Runs a reference program with its output thrown away, as hyperfine -N would: wall time from the
// spawn to its end, and its own processor time from the kernel.
Spawned spawn(const QStringList &args)
{
    std::vector<QByteArray> bytes;
    for (const QString &a : args)
        bytes.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Spawned r;
    QElapsedTimer t;
    t.start();
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed)
        return r;
    int status = 0;
    rusage u{};
    wait4(pid, &status, 0, &u);
    r.wallMs = ms(t);
    r.cpuMs = cpuMs(u);
    r.kernel = kernelOf(u);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// What the program's event loop does between two user actions. The bench runs outside exec(), where
// processEvents() never deletes what deleteLater() left: that is asked for explicitly, as returning
// to the loop would.
void idle()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void settle(int forMs)
{
    QElapsedTimer t;
    t.start();
    do {
        idle();
        QThread::usleep(500);
    } while (t.elapsed() < forMs);
}

// Counts the paints of the widgets of one page, so that "painted" is seen, not assumed.
class PaintCounter : public QObject
{
public:
    QWidget *page = nullptr;
    int paints = 0;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && page && watched->isWidgetType() &&
            (watched == page || page->isAncestorOf(static_cast<QWidget *>(watched))))
            ++paints;
        return false;
    }
};

// Answers every message box (and counts it) instead of waiting for a user.
class QuietUi : public platform::DesktopUi
{
public:
    int messages = 0;
    int beeps = 0;
    int messageBox(const platform::MessageRequest &request) override
    {
        ++messages;
        std::fprintf(stderr, "message box: %s\n", qPrintable(request.text));
        return platform::mbOK;
    }
    void beep(platform::BeepKind) override { ++beeps; }
    int execModal(QDialog *dialog) override
    {
        std::fprintf(stderr, "modal window refused: %s\n", qPrintable(dialog->objectName()));
        return QDialog::Rejected;
    }
};

// ---- the main window over a mapped drive ------------------------------------------------------

class Session
{
public:
    Session(const QString &root, const QStringList &settings)
    {
        qputenv("LUMAVISTA_CONFIG_DIR", QFile::encodeName(m_config.path()));
        qputenv("LUMAVISTA_DRIVES", QFile::encodeName("C=" + root));
        QFile ini(m_config.filePath("LUMA.INI"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(("[Lumavista]\nFirst_Time=0\nWindow_State=1\nWindow_Width=1200\nWindow_Height=900\n" +
                       settings.join('\n') + '\n')
                          .toUtf8());
        ini.close();
        app = std::make_unique<App>(ui, platform::DriveMap::detect());
        main = std::make_unique<TfrmMain>(*app);
        main->show();
        main->activateWindow();
        settle(50);
        // The offscreen platform may not activate the window; the start-up ends there.
        if (!app->st.FormReady)
            main->FormActivate();
        qApp->installEventFilter(&counter);
    }
    ~Session() { qApp->removeEventFilter(&counter); }

    CataloguePane &pane() const { return main->cataloguePane(); }
    ViewerPane &viewer() const { return main->viewerPane(); }
    TListView *list() const { return pane().list(mtALL); }

    // Shows FOLDER (relative to the drive) in the ALL list, as a click on its tree node does.
    void openFolder(const QString &relative)
    {
        QString path = "C:\\" + QDir::fromNativeSeparators(relative).replace('/', '\\');
        if (!path.endsWith('\\'))
            path += '\\';
        const NodeId n = main->catalogue.store.addFolder(mtALL, path, 3);
        app->st.CurrentView.CurrentType = mtALL;
        app->st.Selection.List = mtALL;
        pane().tree(mtALL)->setCurrentNodeQuietly(n);
        tvALLChange(pane(), mtALL, n);
        settle(20);
    }

    std::vector<int> fileRows() const
    {
        std::vector<int> rows;
        for (int r = 0; r < list()->count(); ++r)
            if (list()->item(r).kind == ListItemKind::File)
                rows.push_back(r);
        return rows;
    }
    int rowOf(const QString &name) const
    {
        for (int r = 0; r < list()->count(); ++r)
            if (list()->item(r).caption == name)
                return r;
        return -1;
    }
    QString nameOf(int row) const { return list()->item(row).caption; }

    // Lets the load's queued work run (a JPEG decodes from the event loop), then paints the page on
    // show at once. False when nothing of the page was painted.
    bool finishAndPaint()
    {
        QElapsedTimer t;
        t.start();
        QCoreApplication::processEvents();
        TPicture *jpeg = viewer().page<TViewPageJPG>(mtJPG)->picJPG;
        while (viewer().currentViewerPage() == QLatin1String("JPG") && !jpeg->isEmpty() &&
               !jpeg->isDecoded() && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return paint();
    }
    bool paint()
    {
        QWidget *page = viewer().notebook()->currentWidget();
        counter.page = page;
        counter.paints = 0;
        // A repaint of a widget that opaque children cover paints nothing: every visible control of
        // the page is marked first, then all are painted at once.
        for (QWidget *w : page->findChildren<QWidget *>())
            if (w->isVisible())
                w->update();
        page->repaint();
        return counter.paints > 0;
    }

    QTemporaryDir m_config;
    QuietUi ui;
    std::unique_ptr<App> app;
    std::unique_ptr<TfrmMain> main;
    PaintCounter counter;
};

// The interface thread's longest wait between two ticks of a 5 ms timer.
class GapWatch : public QObject
{
public:
    GapWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const double now = ms(m_clock);
            worst = std::max(worst, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_timer.start();
    }
    // Starts a new window of measure from now.
    void reset()
    {
        m_last = ms(m_clock);
        worst = 0;
    }
    // The worst gap, counting the one still open.
    double worstNow() const { return std::max(worst, ms(m_clock) - m_last); }
    double worst = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
};

// Waits, letting the interface run, until the player's position leaves 0; the time from t's start.
double untilFirstSound(TMediaPlayer *player, const QElapsedTimer &t, int timeoutMs = 5000)
{
    while (player->Position() == 0 && t.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::usleep(200);
    }
    return player->Position() == 0 ? -1 : ms(t);
}

void printSplit(const char *what, const std::vector<double> &a, const std::vector<double> &b,
                const std::vector<double> &c)
{
    std::printf("    %s: load (the click's handler) %.1f ms, queued work %.1f ms, paint %.1f ms (medians)\n",
                what, median(a), median(b), median(c));
}

// ---- 1. JPEG select-to-painted -----------------------------------------------------------------

int jpeg(const QString &root, const QString &folder, const QString &file, int runs)
{
    Session s(root, {});
    s.openFolder(folder);
    const int big = s.rowOf(file);
    int spacer = -1;
    for (int r : s.fileRows())
        if (r != big)
            spacer = r;
    if (big < 0 || spacer < 0) {
        std::fprintf(stderr, "jpeg: %s or a second file not listed\n", qPrintable(file));
        return 1;
    }
    const QString native = QDir(root).filePath(folder + '/' + file);
    struct Case
    {
        const char *name;
        int scale, pixelFormat;
        QStringList djpeg;
    };
    const std::vector<Case> cases = {
        {"1:1 24-bit", 0, 0, {}},
        {"1:8 24-bit", 3, 0, {"-scale", "1/8"}},
        {"1:1 8-bit", 0, 1, {"-colors", "236"}},
    };
    std::printf("JPEG select-to-painted, %s (%d runs each, interleaved with the reference)\n",
                qPrintable(file), runs);
    for (const Case &c : cases) {
        Settings &st = s.app->st.settings;
        st.JPEG_Scale = c.scale;
        st.JPEG_Pixel_Format = c.pixelFormat;
        const QStringList ref = QStringList{"djpeg"} + c.djpeg + QStringList{"-outfile", "/dev/null", native};
        std::vector<double> ours, oursCpu, refs, refsCpu, load, queued, painting, alone;
        std::vector<double> oursSys, aloneSys, refSys, oursFaults, aloneFaults, refFaults;
        bool painted = true;
        QSize shown;
        QImage::Format format = QImage::Format_Invalid;
        for (int run = -1; run < runs; ++run) { // run -1 warms up and is not counted
            s.pane().selectItem(spacer);
            s.finishAndPaint();
            settle(20);
            const double cpu0 = processCpuMs();
            const Kernel k0 = threadKernel();
            QElapsedTimer t;
            t.start();
            const bool collect = &c == &cases.front() && run >= 0;
            if (collect)
                BENCH_TOGGLE_COLLECT();
            s.pane().selectItem(big);
            const double a = ms(t);
            QCoreApplication::processEvents();
            TPicture *pic = s.viewer().page<TViewPageJPG>(mtJPG)->picJPG;
            while (!pic->isDecoded() && t.elapsed() < 20000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            const double b = ms(t);
            painted = s.paint() && painted;
            if (collect)
                BENCH_TOGGLE_COLLECT();
            const double total = ms(t);
            const double cpu = processCpuMs() - cpu0;
            const Kernel k1 = threadKernel();
            shown = pic->image().size();
            format = pic->image().format();
            // The component alone: the same file and options through TJPEGImage, no page.
            QElapsedTimer ta;
            ta.start();
            {
                TJPEGImage j;
                if (!j.loadFromFile(native).ok())
                    return 1;
                j.setScale(c.scale);
                j.setPixelFormat(c.pixelFormat ? TJPEGImage::Format8Bit : TJPEGImage::Format24Bit);
                (void)j.bitmap();
            }
            const double aloneMs = ms(ta);
            const Kernel k2 = threadKernel();
            const Spawned r = spawn(ref);
            if (r.status != 0) {
                std::fprintf(stderr, "jpeg: %s failed\n", qPrintable(ref.join(' ')));
                return 1;
            }
            if (run < 0)
                continue;
            ours.push_back(total);
            oursCpu.push_back(cpu);
            refs.push_back(r.wallMs);
            refsCpu.push_back(r.cpuMs);
            load.push_back(a);
            queued.push_back(b - a);
            painting.push_back(total - b);
            alone.push_back(aloneMs);
            oursSys.push_back(k1.sysMs - k0.sysMs);
            oursFaults.push_back(double(k1.minorFaults - k0.minorFaults));
            aloneSys.push_back(k2.sysMs - k1.sysMs);
            aloneFaults.push_back(double(k2.minorFaults - k1.minorFaults));
            refSys.push_back(r.kernel.sysMs);
            refFaults.push_back(double(r.kernel.minorFaults));
        }
        const double o = median(ours), rf = median(refs);
        std::printf("  %-11s ours %7.1f ms, `%s` %7.1f ms, ratio %.2f (goal <= 1.25) | cpu ours %.1f ms, "
                    "djpeg %.1f ms, ratio %.2f | shown %dx%d %s, painted %s\n",
                    c.name, o, qPrintable(QStringList(ref.mid(0, ref.size() - 1)).join(' ') + " FILE"), rf,
                    o / rf, median(oursCpu), median(refsCpu), median(oursCpu) / median(refsCpu),
                    shown.width(), shown.height(), format == QImage::Format_Indexed8 ? "8-bit" : "32-bit",
                    painted ? "yes" : "NO");
        printSplit("split", load, queued, painting);
        std::printf("    system time and page faults: ours %.1f ms, %.0f faults; TJPEGImage alone %.1f ms, "
                    "%.0f; djpeg "
                    "%.1f ms, %.0f (medians)\n",
                    median(oursSys), median(oursFaults), median(aloneSys), median(aloneFaults),
                    median(refSys), median(refFaults));
        std::printf(
            "    TJPEGImage alone (load, options, decode) %.1f ms: %.2f of djpeg; worst run ours %.1f ms\n",
            median(alone), median(alone) / rf, maxOf(ours));
    }
    return s.ui.messages ? 1 : 0;
}

// ---- 2. Next-file walk ---------------------------------------------------------------------------

// The control a page shows a file with, alone: its load (and a JPEG's decode), no page, no paint.
double controlAlone(const QString &native)
{
    const QString ext = QFileInfo(native).suffix().toLower();
    QElapsedTimer t;
    t.start();
    if (ext == "gif") {
        TGIFImage gif;
        (void)gif.loadFromFile(native);
    } else if (ext == "pcx" || ext == "tif" || ext == "wmf" || ext == "emf") {
        TImageEn view;
        view.setEightBit(ext == "wmf"); // as the WMF page has it
        (void)view.loadFromFile(native);
    } else {
        TPicture picture;
        (void)picture.loadFromFile(native);
        (void)picture.decodeNow();
    }
    return ms(t);
}

int walk(const QString &root, const QString &folder)
{
    Session s(root, {});
    s.openFolder(folder);
    const std::vector<int> rows = s.fileRows();
    if (rows.size() < 2) {
        std::fprintf(stderr, "walk: fewer than two files listed\n");
        return 1;
    }
    QMap<QString, int> typeCount;
    for (int r : rows)
        ++typeCount[QFileInfo(s.nameOf(r)).suffix().toLower()];
    QStringList mix;
    for (auto it = typeCount.cbegin(); it != typeCount.cend(); ++it)
        mix << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    std::printf("Next-file walk over %zu files (%s) in C:\\%s\n", rows.size(), qPrintable(mix.join(", ")),
                qPrintable(QString(folder).replace('/', '\\')));
    const Resources start = resources();
    Resources after50{};
    std::vector<Resources> passEnd;
    for (int pass = 0; pass < 2; ++pass) {
        s.pane().selectItem(rows.front());
        s.finishAndPaint();
        settle(20);
        std::vector<double> steps, cpu;
        QMap<QString, std::vector<double>> byType, cpuByType;
        double worst = 0, worstCpu = 0;
        QString worstName, worstCpuName;
        int unpainted = 0, misplaced = 0;
        if (pass == 1)
            BENCH_TOGGLE_COLLECT();
        for (size_t i = 1; i < rows.size(); ++i) {
            const double cpu0 = threadCpuMs();
            QElapsedTimer t;
            t.start();
            s.viewer().button(ViewerCommand::Next)->click();
            const bool painted = s.finishAndPaint();
            const double step = ms(t);
            cpu.push_back(threadCpuMs() - cpu0);
            if (s.app->st.Selection.Item != rows[i])
                ++misplaced;
            unpainted += painted ? 0 : 1;
            steps.push_back(step);
            const QString name = s.nameOf(rows[i]);
            byType[QFileInfo(name).suffix().toLower()].push_back(step);
            cpuByType[QFileInfo(name).suffix().toLower()].push_back(cpu.back());
            if (step > worst) {
                worst = step;
                worstName = name;
            }
            if (cpu.back() > worstCpu) {
                worstCpu = cpu.back();
                worstCpuName = name;
            }
            idle();
            if (pass == 0 && i == 50)
                after50 = resources();
        }
        if (pass == 1)
            BENCH_TOGGLE_COLLECT();
        passEnd.push_back(resources());
        std::vector<double> sorted = steps;
        std::sort(sorted.begin(), sorted.end());
        std::printf(
            "  pass %d: %zu steps, median %.2f ms (goal <= 15), 90th %.2f ms, worst %.2f ms (goal <= 60) "
            "on %s;\n    interface thread's CPU a step: median %.2f ms, worst %.2f ms on %s; unpainted %d, "
            "wrong row %d\n",
            pass + 1, steps.size(), median(steps), sorted[sorted.size() * 9 / 10], worst,
            qPrintable(worstName), median(cpu), worstCpu, qPrintable(worstCpuName), unpainted, misplaced);
        QStringList per;
        for (auto it = byType.cbegin(); it != byType.cend(); ++it)
            per << QStringLiteral("%1 %2/%3/%4")
                       .arg(it.key())
                       .arg(median(it.value()), 0, 'f', 1)
                       .arg(maxOf(it.value()), 0, 'f', 1)
                       .arg(median(cpuByType[it.key()]), 0, 'f', 1);
        std::printf("    by type, wall median/worst and CPU median, ms: %s\n", qPrintable(per.join(", ")));
    }
    // Where a step's time goes: the same files through their controls alone, in this process.
    QMap<QString, std::vector<double>> alone;
    std::vector<double> metaDecode, metaTo256;
    for (int r : rows) {
        const QString native = QDir(root).filePath(folder + '/' + s.nameOf(r));
        const QString ext = QFileInfo(native).suffix().toLower();
        alone[ext].push_back(controlAlone(native));
        if (ext == "wmf") {
            QFile f(native);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray data = f.readAll();
            QElapsedTimer t;
            t.start();
            const QImage img = TImageEn::decode(data, ext, Qt::cyan).value();
            metaDecode.push_back(ms(t));
            t.start();
            (void)img.convertToFormat(QImage::Format_Indexed8);
            metaTo256.push_back(ms(t));
        }
    }
    QStringList per;
    for (auto it = alone.cbegin(); it != alone.cend(); ++it)
        per << QStringLiteral("%1 %2").arg(it.key()).arg(median(it.value()), 0, 'f', 1);
    std::printf("  the controls alone (load and decode, no page), median ms: %s\n",
                qPrintable(per.join(", ")));
    std::printf("  wmf alone: drawing %.1f ms, then the conversion to 256 colours %.1f ms (medians)\n",
                median(metaDecode), median(metaTo256));
    // A page change applies the page's background, which renders the stored background pictures.
    {
        const int n = 20;
        double c0 = threadCpuMs();
        for (int i = 0; i < n; ++i)
            ApplyPageBackground(s.viewer(), mtBMP);
        const double apply = (threadCpuMs() - c0) / n;
        c0 = threadCpuMs();
        for (int i = 0; i < n; ++i)
            TfrmStoreBackground store;
        const double stores = (threadCpuMs() - c0) / n;
        std::printf(
            "  a page change's background (ApplyPageBackground for BMP): %.2f ms of CPU, of which making "
            "TfrmStoreBackground (its pictures rendered) %.2f ms\n",
            apply, stores);
    }
    const long rssBeforeTrim = statusKiB("VmRSS:");
    malloc_trim(0);
    std::printf("  RSS after giving freed memory back (malloc_trim): %ld KiB (was %ld KiB)\n",
                statusKiB("VmRSS:"), rssBeforeTrim);
    std::printf(
        "  RSS: start %ld KiB, after 50 steps %ld KiB, end of pass 1 %ld KiB, end of pass 2 %ld KiB "
        "(growth from step 50 to the end %+ld KiB; goal none); heap in use %ld / %ld / %ld / %ld KiB\n",
        start.rssKiB, after50.rssKiB, passEnd[0].rssKiB, passEnd[1].rssKiB,
        passEnd[1].rssKiB - after50.rssKiB, start.heapKiB, after50.heapKiB, passEnd[0].heapKiB,
        passEnd[1].heapKiB);
    std::printf("  threads %ld -> %ld, open files %ld -> %ld; message boxes %d\n", after50.threads,
                passEnd[1].threads, after50.fds, passEnd[1].fds, s.ui.messages);
    return 0;
}

// ---- 3. Big PCX and TIFF -------------------------------------------------------------------------

int big(const QString &root, const QString &folder, int runs, const QStringList &files)
{
    Session s(root, {});
    s.openFolder(folder);
    std::printf("Big pictures select-to-painted against TImageEn::loadFromFile alone (%d runs each)\n", runs);
    for (const QString &file : files) {
        const int row = s.rowOf(file);
        int spacer = -1;
        for (int r : s.fileRows())
            if (!files.contains(s.nameOf(r)))
                spacer = r;
        if (row < 0 || spacer < 0) {
            std::fprintf(stderr, "big: %s or a spacer file not listed\n", qPrintable(file));
            return 1;
        }
        const QString native = QDir(root).filePath(folder + '/' + file);
        std::vector<double> ours, alone, load, queued, painting, oursCpu, aloneCpu;
        bool painted = true;
        QSize shown;
        for (int run = -1; run < runs; ++run) {
            s.pane().selectItem(spacer);
            s.finishAndPaint();
            settle(20);
            const double cpu0 = threadCpuMs();
            QElapsedTimer t;
            t.start();
            s.pane().selectItem(row);
            const double a = ms(t);
            QCoreApplication::processEvents();
            const double b = ms(t);
            painted = s.paint() && painted;
            const double total = ms(t);
            const double cpu = threadCpuMs() - cpu0;
            settle(20);
            const double cpuA = threadCpuMs();
            QElapsedTimer ta;
            ta.start();
            {
                TImageEn probe;
                if (!probe.loadFromFile(native).ok()) {
                    std::fprintf(stderr, "big: TImageEn cannot load %s\n", qPrintable(native));
                    return 1;
                }
                shown = probe.bitmap().size();
            }
            const double aloneMs = ms(ta);
            const double aloneCpuMs = threadCpuMs() - cpuA;
            if (run < 0)
                continue;
            ours.push_back(total);
            alone.push_back(aloneMs);
            oursCpu.push_back(cpu);
            aloneCpu.push_back(aloneCpuMs);
            load.push_back(a);
            queued.push_back(b - a);
            painting.push_back(total - b);
        }
        const double o = median(ours), r = median(alone);
        std::printf(
            "  %-10s %dx%d: select-to-painted %.1f ms, loadFromFile alone %.1f ms, ratio %.2f (goal <= 1.3), "
            "worst %.1f ms, painted %s | CPU %.1f / %.1f ms, ratio %.2f\n",
            qPrintable(file), shown.width(), shown.height(), o, r, o / r, maxOf(ours), painted ? "yes" : "NO",
            median(oursCpu), median(aloneCpu), median(oursCpu) / median(aloneCpu));
        printSplit("split", load, queued, painting);
    }
    return s.ui.messages ? 1 : 0;
}

// ---- 4. Sound: WAV and MIDI ----------------------------------------------------------------------

QString list(const std::vector<double> &v)
{
    QStringList l;
    for (double x : v)
        l << QString::number(x, 'f', 0);
    return l.join(' ');
}

// The player alone, outside any page: open, play, until the position leaves 0, close.
// The player alone, outside any page: open, play, until the position leaves 0; then, after a moment
// of play, how long closing the playing device takes.
double playerAlone(const QString &native, double *closeMs = nullptr)
{
    TMediaPlayer player;
    player.setFileName(native);
    QElapsedTimer t;
    t.start();
    if (!player.Open().ok() || !player.Play().ok())
        return -1;
    const double first = untilFirstSound(&player, t);
    settle(200);
    t.start();
    player.Close();
    if (closeMs)
        *closeMs = ms(t);
    return first;
}

// SDL alone, as the shared audio output uses it: from the subsystem's start to the first callback, and
// the close of the running device with the subsystem's end (what a media device's close does when it
// was the output's last user).
void sdlAlone(double &openMs, double &closeMs)
{
    std::atomic<bool> called{false};
    QElapsedTimer t;
    t.start();
    SDL_InitSubSystem(SDL_INIT_AUDIO);
    SDL_AudioSpec want{}, have{};
    want.freq = 44100;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.userdata = &called;
    want.callback = [](void *flag, Uint8 *bytes, int len) {
        std::memset(bytes, 0, size_t(len));
        static_cast<std::atomic<bool> *>(flag)->store(true);
    };
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    SDL_PauseAudioDevice(device, 0);
    while (!called.load() && t.elapsed() < 2000)
        QThread::usleep(200);
    openMs = ms(t);
    QThread::msleep(200);
    t.start();
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    closeMs = ms(t);
}

int wav(const QString &root, const QString &folder, int runs)
{
    Session s(root, {});
    s.openFolder(folder);
    const std::vector<int> rows = s.fileRows();
    TMediaPlayer *player = s.viewer().page<TViewPageWAV>(mtWAV)->MediaPlayerWAV;
    GapWatch gaps;
    std::vector<double> ours, alone, worstGap;
    QMap<QString, std::vector<double>> byFile;
    double first = -1;
    for (int run = 0; run < runs; ++run) {
        const int row = rows[size_t(run) % rows.size()];
        gaps.reset();
        QElapsedTimer t;
        t.start();
        s.pane().selectItem(row);
        const double heard = untilFirstSound(player, t);
        worstGap.push_back(gaps.worstNow());
        if (heard < 0) {
            std::fprintf(stderr, "wav: no sound from %s\n", qPrintable(s.nameOf(row)));
            return 1;
        }
        if (run == 0)
            first = heard;
        ours.push_back(heard);
        byFile[s.nameOf(row)].push_back(heard);
        // The next row is selected while this one plays, as a user moving on does.
        settle(200);
    }
    s.viewer().button(ViewerCommand::Stop)->click();
    std::vector<double> closing;
    for (int run = 0; run < runs; ++run) {
        double closeMs = 0;
        alone.push_back(playerAlone(
            QDir(root).filePath(folder + '/' + s.nameOf(rows[size_t(run) % rows.size()])), &closeMs));
        closing.push_back(closeMs);
    }
    const double o = median(ours), r = median(alone);
    std::printf("WAV select-to-first-sound over %d selections of %zu files: first %.1f ms, median %.1f ms "
                "(goal <= 60), "
                "worst %.1f ms; the player alone (open, play) median %.1f ms, ratio %.2f; interface's worst "
                "gap %.1f ms\n",
                runs, rows.size(), first, o, maxOf(ours), r, r > 0 ? o / r : 0.0, maxOf(worstGap));
    std::printf("    each (ms): page %s | alone %s | worst gap %s\n", qPrintable(list(ours)),
                qPrintable(list(alone)), qPrintable(list(worstGap)));
    std::vector<double> sdlOpen, sdlClose;
    for (int i = 0; i < 5; ++i) {
        double o1 = 0, c1 = 0;
        sdlAlone(o1, c1);
        sdlOpen.push_back(o1);
        sdlClose.push_back(c1);
    }
    std::printf("    closing a playing device (part of each selection but the first): median %.1f ms, worst "
                "%.1f ms\n",
                median(closing), maxOf(closing));
    std::printf(
        "    SDL alone (1024-frame buffer): start to first callback %.1f ms, close of the running device "
        "%.1f ms (medians of 5)\n",
        median(sdlOpen), median(sdlClose));
    for (auto it = byFile.cbegin(); it != byFile.cend(); ++it)
        std::printf("    %s median %.1f ms\n", qPrintable(it.key().leftJustified(32)), median(it.value()));
    return s.ui.messages ? 1 : 0;
}

// What the first tune waits for: a synthesizer made and the soundfont loaded, by FluidSynth alone.
double soundFontAlone(QString &font, double &cpu)
{
    for (const QString &candidate : platform::media::SequencerDriver::soundFontCandidates())
        if (QFileInfo::exists(candidate)) {
            font = QFileInfo(candidate).canonicalFilePath();
            break;
        }
    const double cpu0 = threadCpuMs();
    QElapsedTimer t;
    t.start();
    fluid_settings_t *settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", 44100);
    fluid_synth_t *synth = new_fluid_synth(settings);
    const int id = fluid_synth_sfload(synth, QFile::encodeName(font).constData(), 1);
    const double took = ms(t);
    cpu = threadCpuMs() - cpu0;
    delete_fluid_synth(synth);
    delete_fluid_settings(settings);
    return id == FLUID_FAILED ? -1 : took;
}

int midi(const QString &root, const QString &folder, int runs)
{
    Session s(root, {});
    s.openFolder(folder);
    const std::vector<int> rows = s.fileRows();
    TMediaPlayer *player = s.viewer().page<TViewPageMID>(mtMID)->MediaPlayerMID;
    const QString font = qEnvironmentVariable("LUMAVISTA_SOUNDFONT");
    std::printf(
        "MIDI select-to-first-sound, soundfont %s\n",
        qPrintable(font.isEmpty()
                       ? QStringLiteral("found by the program (default-GM: %1)")
                             .arg(QFileInfo("/usr/share/sounds/sf3/default-GM.sf3").canonicalFilePath())
                       : font));
    GapWatch gaps;
    settle(20);
    gaps.reset();
    const double cpu0 = threadCpuMs();
    QElapsedTimer t;
    t.start();
    BENCH_TOGGLE_COLLECT();
    s.pane().selectItem(rows.front());
    BENCH_TOGGLE_COLLECT();
    const double handler = ms(t);
    const double handlerCpu = threadCpuMs() - cpu0;
    const double first = untilFirstSound(player, t, 20000);
    const double firstGap = gaps.worstNow();
    std::printf("  first tune %s: %.1f ms to first sound (the click's handler took %.1f ms, %.1f ms of CPU); "
                "interface thread's longest block %.1f ms (goal <= 50)\n",
                qPrintable(s.nameOf(rows.front())), first, handler, handlerCpu, firstGap);
    std::vector<double> later, alone, laterGaps;
    for (int run = 1; run <= runs; ++run) {
        // Selected while the previous tune plays, as a user moving on does.
        settle(200);
        const int row = rows[size_t(run) % rows.size()];
        gaps.reset();
        t.start();
        s.pane().selectItem(row);
        const double heard = untilFirstSound(player, t);
        laterGaps.push_back(gaps.worstNow());
        if (heard < 0) {
            std::fprintf(stderr, "midi: no sound from %s\n", qPrintable(s.nameOf(row)));
            return 1;
        }
        later.push_back(heard);
    }
    // The page's device closes and gives its synthesizer back: the player alone takes it.
    s.viewer().button(ViewerCommand::Stop)->click();
    std::vector<double> closing;
    for (int run = 1; run <= runs; ++run) {
        double closeMs = 0;
        alone.push_back(playerAlone(
            QDir(root).filePath(folder + '/' + s.nameOf(rows[size_t(run) % rows.size()])), &closeMs));
        closing.push_back(closeMs);
    }
    const double o = median(later), r = median(alone);
    std::printf("  later tunes (%d over %zu files): median %.1f ms (goal <= 60), worst %.1f ms; the player "
                "alone median "
                "%.1f ms, ratio %.2f; interface's worst gap %.1f ms\n",
                runs, rows.size(), o, maxOf(later), r, r > 0 ? o / r : 0.0, maxOf(laterGaps));
    std::printf("    each (ms): page %s | alone %s | worst gap %s\n", qPrintable(list(later)),
                qPrintable(list(alone)), qPrintable(list(laterGaps)));
    std::printf(
        "    closing a playing device (part of each later selection): median %.1f ms, worst %.1f ms\n",
        median(closing), maxOf(closing));
    QString loaded;
    double fontCpu = 0;
    const double fontMs = soundFontAlone(loaded, fontCpu);
    std::printf(
        "  FluidSynth alone, new synthesizer and fluid_synth_sfload(%s): %.1f ms, %.1f ms of CPU (%.0f%% of "
        "the first tune's handler CPU)\n",
        qPrintable(loaded), fontMs, fontCpu, 100 * fontCpu / handlerCpu);
    return s.ui.messages ? 1 : 0;
}

// ---- 5. AVI play -----------------------------------------------------------------------------

int avi(const QString &root, const QString &folder, const QString &file, int frames, bool reference)
{
    Session s(root, {});
    s.openFolder(folder);
    const int row = s.rowOf(file);
    if (row < 0) {
        std::fprintf(stderr, "avi: %s not listed\n", qPrintable(file));
        return 1;
    }
    TMediaPlayer *player = s.viewer().page<TViewPageAVI_WIN>(mtAVI)->pageAVI_VIDEO->MediaPlayerAVI;
    std::vector<qint64> pts;
    std::vector<double> drift;
    QObject::connect(&player->device(), &platform::MciDevice::framePresented, qApp,
                     [&](const QImage &, qint64 ptsMs) {
                         pts.push_back(ptsMs);
                         drift.push_back(double(player->device().positionMs() - ptsMs));
                     });
    bool ended = false;
    QObject::connect(player, &TMediaPlayer::OnNotify, qApp, [&] { ended = true; });
    settle(50);
    // Each thread's share, sampled while it lives (the decoder's thread ends before the play does).
    const QMap<long, QPair<QString, double>> before = threadTimes();
    QMap<long, QPair<QString, double>> last = before;
    const double cpu0 = processCpuMs();
    QElapsedTimer t;
    t.start();
    BENCH_TOGGLE_COLLECT();
    const double load0 = threadCpuMs();
    s.pane().selectItem(row);
    const double loadCpu = threadCpuMs() - load0;
    // The event loop waits as the program's own does: no polling of ours in the CPU figure, and the
    // sampling's own time is taken out of it.
    QEventLoop loop;
    QTimer sampler;
    double samplingCpu = 0;
    QObject::connect(&sampler, &QTimer::timeout, &loop, [&] {
        const double c0 = threadCpuMs();
        const auto now = threadTimes();
        for (auto it = now.cbegin(); it != now.cend(); ++it)
            last[it.key()] = it.value();
        samplingCpu += threadCpuMs() - c0;
    });
    sampler.start(500);
    QObject::connect(player, &TMediaPlayer::OnNotify, &loop, &QEventLoop::quit);
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    if (!ended)
        loop.exec();
    BENCH_TOGGLE_COLLECT();
    const double wall = ms(t);
    const double cpu = processCpuMs() - cpu0 - samplingCpu;
    const QString page = s.viewer().currentViewerPage();
    std::vector<qint64> unique = pts;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());
    double worstAhead = 0, worstBehind = 0, sum = 0;
    for (double d : drift) {
        worstAhead = std::max(worstAhead, d);
        worstBehind = std::min(worstBehind, d);
        sum += std::abs(d);
    }
    const QString native = QDir(root).filePath(folder + '/' + file);
    // Without the reference, /usr/bin/time can measure this process alone.
    const Spawned ref =
        reference ? spawn({"ffmpeg", "-nostdin", "-re", "-i", native, "-f", "null", "-"}) : Spawned{1, 0, 0};
    const double oursPct = 100 * cpu / wall, refPct = 100 * ref.cpuMs / ref.wallMs;
    std::printf("AVI %s on page %s: played to its end %s in %.0f ms\n", qPrintable(file), qPrintable(page),
                ended ? "yes" : "NO", wall);
    std::printf("  frames shown %zu of %d in the file, dropped %d (goal 0)\n", unique.size(), frames,
                frames - int(unique.size()));
    std::printf(
        "  sound position minus picture time when shown: worst %+.0f ms / %+.0f ms, mean |gap| %.1f ms "
        "(goal within 45)\n",
        worstAhead, worstBehind, drift.empty() ? 0.0 : sum / double(drift.size()));
    std::printf(
        "  CPU while playing: ours %.1f %% of a core (%.0f ms over %.0f ms), `ffmpeg -nostdin -re -i FILE -f "
        "null -` %.1f %% (%.0f ms over %.0f ms), ratio %.2f (goal <= 1.3)\n",
        oursPct, cpu, wall, refPct, ref.cpuMs, ref.wallMs, oursPct / refPct);
    std::printf(
        "  of ours: the load (the click's handler) %.1f ms; the bench's sampling, %.1f ms, taken out\n",
        loadCpu, samplingCpu);
    QStringList split;
    for (auto it = last.cbegin(); it != last.cend(); ++it) {
        double spent = it.value().second - before.value(it.key(), {QString(), 0.0}).second;
        if (it.key() == long(getpid()))
            spent -= samplingCpu;
        if (spent >= 10)
            split << QStringLiteral("%1%2 %3 ms")
                         .arg(it.value().first,
                              it.key() == long(getpid()) ? QStringLiteral(" (interface)") : QString())
                         .arg(spent, 0, 'f', 0);
    }
    std::printf("  our CPU by thread (10 ms ticks): %s\n", qPrintable(split.join(", ")));
    // The interface thread's share per picture: the surface repainted with its last picture, as
    // each new picture has it done (its update repaints the list's viewport below it too).
    platform::media::VideoSurface *surface = nullptr;
    for (QWidget *w : s.viewer().page<TViewPageAVI_WIN>(mtAVI)->pageAVI_VIDEO->findChildren<QWidget *>())
        if (auto *v = dynamic_cast<platform::media::VideoSurface *>(w))
            surface = v;
    if (surface && !surface->frame().isNull()) {
        const int n = 100;
        double c0 = threadCpuMs();
        QElapsedTimer tp;
        tp.start();
        for (int i = 0; i < n; ++i) {
            surface->update();
            surface->repaint();
        }
        const double paintWall = ms(tp) / n, paintCpu = (threadCpuMs() - c0) / n;
        QImage target(surface->size(), QImage::Format_ARGB32_Premultiplied);
        c0 = threadCpuMs();
        tp.start();
        for (int i = 0; i < n; ++i) {
            QPainter p(&target);
            p.drawImage(0, 0, surface->frame());
        }
        const double drawWall = ms(tp) / n, drawCpu = (threadCpuMs() - c0) / n;
        std::printf(
            "  a picture's repaint on the interface thread: %.2f ms (CPU %.2f ms), of which drawImage of the "
            "%dx%d picture %.2f ms (CPU %.2f ms); x %d pictures = %.0f ms of the interface's CPU\n",
            paintWall, paintCpu, surface->frame().width(), surface->frame().height(), drawWall, drawCpu,
            surface->framesShown(), paintCpu * surface->framesShown());
    }
    // The video device's 10 ms tick, idle: what the interface thread pays for waking up alone.
    {
        QEventLoop idleLoop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        tick.start(10);
        QTimer::singleShot(2000, &idleLoop, &QEventLoop::quit);
        const double c0 = threadCpuMs();
        idleLoop.exec();
        const double perSecond = (threadCpuMs() - c0) / 2;
        std::printf("  a 10 ms timer alone wakes the interface thread for %.1f ms of CPU a second (x %.1f s "
                    "= %.0f ms)\n",
                    perSecond, wall / 1000, perSecond * wall / 1000);
    }
    return s.ui.messages || !ended ? 1 : 0;
}

// ---- 6. Successive loads ---------------------------------------------------------------------

int soak(const QString &root, const QString &folder, int loads, const QString &only)
{
    Session s(root, {});
    s.openFolder(folder);
    std::vector<int> rows;
    for (int r : s.fileRows())
        if (only.isEmpty() || QFileInfo(s.nameOf(r)).suffix().toLower() == only)
            rows.push_back(r);
    ViewerPane &v = s.viewer();
    const auto started = [&](const QString &name) {
        const QString ext = QFileInfo(name).suffix().toLower();
        TMediaPlayer *p = ext == "wav"   ? v.page<TViewPageWAV>(mtWAV)->MediaPlayerWAV
                          : ext == "mid" ? v.page<TViewPageMID>(mtMID)->MediaPlayerMID
                                         : v.page<TViewPageAVI_WIN>(mtAVI)->pageAVI_VIDEO->MediaPlayerAVI;
        return p->Position() > 0;
    };
    const auto load = [&](int i) {
        const int row = rows[size_t(i) % rows.size()];
        QElapsedTimer t;
        t.start();
        s.pane().selectItem(row);
        while (!started(s.nameOf(row)) && t.elapsed() < 3000) {
            idle();
            QThread::usleep(500);
        }
        return started(s.nameOf(row));
    };
    const auto quiet = [&] {
        v.button(ViewerCommand::Stop)->click();
        settle(700);
        return resources();
    };
    const Resources before = quiet();
    for (size_t i = 0; i < rows.size(); ++i) // each kind once: the caches every later load shares
        load(int(i));
    const Resources warm = quiet();
    int silent = 0;
    QStringList trend;
    for (int i = 0; i < loads; ++i) {
        silent += load(i) ? 0 : 1;
        if ((i + 1) % 50 == 0) {
            const Resources r = resources();
            trend << QStringLiteral("%1: RSS %2 KiB, heap %3 KiB, %4 threads, %5 files, %6 widgets")
                         .arg(i + 1)
                         .arg(r.rssKiB)
                         .arg(r.heapKiB)
                         .arg(r.threads)
                         .arg(r.fds)
                         .arg(QApplication::allWidgets().size());
        }
    }
    const Resources after = quiet();
    std::printf("Successive loads: %d of %zu files (%s) through the pages, %d that never started\n", loads,
                rows.size(), only.isEmpty() ? "wav, mid, avi" : qPrintable(only), silent);
    std::printf(
        "  RSS %ld KiB before any, %ld KiB after one of each, %ld KiB after %d more (%+ld KiB; goal none)\n",
        before.rssKiB, warm.rssKiB, after.rssKiB, loads, after.rssKiB - warm.rssKiB);
    std::printf(
        "  threads %ld / %ld / %ld, open files %ld / %ld / %ld (before / after one of each / at the end)\n",
        before.threads, warm.threads, after.threads, before.fds, warm.fds, after.fds);
    std::printf("  heap in use %ld / %ld / %ld KiB; widgets %d at the end\n", before.heapKiB, warm.heapKiB,
                after.heapKiB, int(QApplication::allWidgets().size()));
    std::printf("  while loading (playing): %s\n", qPrintable(trend.join("; ")));
    return s.ui.messages ? 1 : 0;
}

// ---- 7. Zoom and full screen ----------------------------------------------------------------------

int zoomSteps(const QString &root, const QString &folder, const QStringList &files)
{
    Session s(root, {});
    s.openFolder(folder);
    ViewerZoom &zoom = s.viewer().zoom();
    FullScreen &full = s.viewer().fullScreen();
    std::printf("Zoom steps, each painted (goal <= 16 ms after the first), and full screen (goal <= 100 ms)\n");
    for (const QString &file : files) {
        const int row = s.rowOf(file);
        if (row < 0) {
            std::fprintf(stderr, "zoom: %s not listed\n", qPrintable(file));
            return 1;
        }
        s.pane().selectItem(row);
        s.finishAndPaint();
        settle(20);
        if (!zoom.available()) {
            std::fprintf(stderr, "zoom: %s offers no zoom\n", qPrintable(file));
            return 1;
        }
        const auto step = [&](void (ViewerZoom::*command)()) {
            QElapsedTimer t;
            t.start();
            (zoom.*command)();
            zoom.view()->viewport()->repaint();
            return ms(t);
        };
        // In to 400 %, out to 1/16, in again to 100 %: every step of the range a person walks.
        std::vector<double> in, out, back;
        const double first = step(&ViewerZoom::zoomIn);
        while (zoom.view()->zoom() < 4)
            in.push_back(step(&ViewerZoom::zoomIn));
        while (zoom.view()->zoom() > 1.0 / 16)
            out.push_back(step(&ViewerZoom::zoomOut));
        while (zoom.view()->zoom() < 1)
            back.push_back(step(&ViewerZoom::zoomIn));
        std::vector<double> all = in;
        all.insert(all.end(), out.begin(), out.end());
        all.insert(all.end(), back.begin(), back.end());
        const QSize size = zoom.view()->picture()->size();
        std::printf("  %-22s %dx%d: first step %.1f ms; later steps median %.1f ms, worst %.1f ms (%zu steps) | "
                    "in median %.1f, out median %.1f (first time at each zoom), back in median %.1f\n",
                    qPrintable(file), size.width(), size.height(), first, median(all), maxOf(all), all.size(),
                    median(in), median(out), median(back));
        // How long a step takes to show its final picture (a metafile's sharp play).
        std::vector<double> sharp;
        for (int run = 0; run < 5; ++run) {
            settle(20);
            QElapsedTimer t;
            t.start();
            (run % 2 ? zoom.zoomOut() : zoom.zoomIn());
            zoom.view()->viewport()->repaint();
            while (!zoom.view()->picture()->settled() && t.elapsed() < 20000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
            zoom.view()->viewport()->repaint();
            sharp.push_back(ms(t));
        }
        std::printf("  %-22s final picture after a step: median %.1f ms, worst %.1f ms\n", qPrintable(file),
                    median(sharp), maxOf(sharp));
        zoom.actualSize();
        std::vector<double> enter, leave;
        for (int run = 0; run < 5; ++run) {
            settle(20);
            QElapsedTimer t;
            t.start();
            full.enter();
            full.window()->repaint();
            enter.push_back(ms(t));
            settle(20);
            t.restart();
            QWidget *main = s.main.get();
            full.leave();
            main->repaint();
            leave.push_back(ms(t));
        }
        std::printf("  %-22s full screen: entry painted median %.1f ms, worst %.1f ms; exit painted median %.1f ms\n",
                    qPrintable(file), median(enter), maxOf(enter), median(leave));
    }
    return s.ui.messages ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList a = application.arguments();
    const QString mode = a.value(1);
    if (mode == "jpeg" && a.size() == 6)
        return jpeg(a[2], a[3], a[4], a[5].toInt());
    if (mode == "walk" && a.size() == 4)
        return walk(a[2], a[3]);
    if (mode == "big" && a.size() >= 6)
        return big(a[2], a[3], a[4].toInt(), a.mid(5));
    if (mode == "wav" && a.size() == 5)
        return wav(a[2], a[3], a[4].toInt());
    if (mode == "midi" && a.size() == 5)
        return midi(a[2], a[3], a[4].toInt());
    if (mode == "avi" && (a.size() == 6 || (a.size() == 7 && a[6] == "--no-reference")))
        return avi(a[2], a[3], a[4], a[5].toInt(), a.size() == 6);
    if (mode == "soak" && (a.size() == 5 || a.size() == 6))
        return soak(a[2], a[3], a[4].toInt(), a.value(5).toLower());
    if (mode == "zoom" && a.size() >= 5)
        return zoomSteps(a[2], a[3], a.mid(4));
    std::fprintf(stderr,
                 "usage: bench_viewers jpeg ROOT FOLDER FILE RUNS | walk ROOT FOLDER | big ROOT FOLDER RUNS "
                 "FILE... | wav ROOT FOLDER RUNS | midi ROOT FOLDER RUNS | avi ROOT FOLDER FILE FRAMES "
                 "[--no-reference] | "
                 "soak ROOT FOLDER LOADS [EXT] | zoom ROOT FOLDER FILE...\n");
    return 2;
}
