// Scan benchmark: the real scan command (engine, tree builder, trees, and the scan window offscreen)
// over a tree made by make_tree.py, against `find TREE -type f -printf "%s %p\n"` in the same run.
//
//   bench_scan TREE [RUNS] [--scan-only | --rescan-only | --start-only]
//
// Runs one warm-up of each (warm cache), then RUNS of each alternately, and prints the median wall
// times, their ratio scan / find, what the scan found, and the process's memory after the scans.
// Then the kept catalogue: a rescan of the unchanged tree, a rescan after 1 % of the folders changed
// (a file made or removed in each, alternately), each against find in the same run; the kept file's
// size against the store's memory; and the start of a main window showing the kept catalogue
// against an empty start. --scan-only / --rescan-only run the full scans or the unchanged rescans
// alone (for a profiler); --start-only the starts with the kept catalogue.
#include "app/App.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/ScanCommands.h"
#include "catalogue/store/KeptCatalogue.h"
#include "platform/Ui.h"
#include "platform/drives/DirSearch.h"
#include "shell/Main.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

QString statusLine(const char *key)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return QString::fromLatin1(line.mid(qstrlen(key))).simplified();
    return {};
}

double runFind(const QString &tree)
{
    QProcess find;
    find.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    find.start("find", {tree, "-type", "f", "-printf", "%s %p\n"});
    find.waitForFinished(-1);
    const double ms = clock.nsecsElapsed() / 1e6;
    if (find.exitStatus() != QProcess::NormalExit || find.exitCode() != 0)
        std::fprintf(stderr, "find failed\n");
    return ms;
}

// True for a name ending in one of the twelve media extensions, in any letter case.
bool isMediaName(const QString &name)
{
    static const QStringList media = {".ani", ".avi", ".bmp", ".jpg", ".mid", ".wav",
                                      ".gif", ".pcx", ".tif", ".wmf", ".emf", ".ico"};
    for (const QString &ext : media)
        if (name.endsWith(ext, Qt::CaseInsensitive))
            return true;
    return false;
}

// The directory search alone, walked the way the engine walks (each folder opened from its parent,
// names and kinds, the sizes of media files only): the floor under the scan's time.
int64_t listFolder(platform::DirSearch &search, int code)
{
    int64_t entries = 0;
    for (; code == platform::ERROR_SUCCESS; code = search.findNext()) {
        ++entries;
        const platform::SearchEntry &e = search.entry();
        if (e.isFolder()) {
            if (!(e.attributes & platform::FILE_ATTRIBUTE_REPARSE_POINT) && e.name != "." && e.name != "..") {
                platform::DirSearch below(search.drives());
                below.setDetail(platform::SearchDetail::NamesAndKinds);
                entries += listFolder(below, below.findFirstBelow(search));
            }
        } else if (isMediaName(e.name)) {
            search.entrySize();
        }
    }
    return entries;
}

int64_t listTree(const platform::DriveMap &drives, const QString &path)
{
    platform::DirSearch search(drives);
    search.setDetail(platform::SearchDetail::NamesAndKinds);
    return listFolder(search, search.findFirst(path + "*.*"));
}

double runList(const platform::DriveMap &drives, int64_t *entries)
{
    QElapsedTimer clock;
    clock.start();
    *entries = listTree(drives, "C:\\");
    return clock.nsecsElapsed() / 1e6;
}

// A full scan: nothing of the last one is reused (it is still kept afterwards).
double runScan(TfrmMain &main)
{
    main.catalogue.index.clear();
    QElapsedTimer clock;
    clock.start();
    RunScan(main.cataloguePane());
    return clock.nsecsElapsed() / 1e6;
}

// A rescan reusing what the last scan kept.
double runRescan(TfrmMain &main)
{
    QElapsedTimer clock;
    clock.start();
    RunScan(main.cataloguePane());
    return clock.nsecsElapsed() / 1e6;
}

// Every hundredth folder the last scan walked (native paths), the ones a "1 %" rescan finds changed.
QStringList everyHundredthFolder(const ScanIndex &index, const QString &tree)
{
    QStringList folders;
    std::vector<QString> path; // the names on the way, by depth
    std::vector<uint32_t> ends;
    for (uint32_t i = 0; i < index.folders().size(); ++i) {
        while (!ends.empty() && ends.back() <= i) {
            ends.pop_back();
            path.pop_back();
        }
        path.push_back(index.nameOf(index.folder(i).name));
        ends.push_back(index.folder(i).end);
        if (i % 100 == 50) {
            QString native = tree;
            for (size_t k = 1; k < path.size(); ++k)
                native += '/' + path[k];
            folders << native;
        }
    }
    return folders;
}

// Makes a file in each folder, or removes it again: either way the folder's time moves.
void touchFolders(const QStringList &folders, bool make)
{
    for (const QString &f : folders) {
        const QString file = f + "/.bench-touch";
        if (make) {
            QFile out(file);
            if (out.open(QIODevice::WriteOnly))
                out.close();
        } else {
            QFile::remove(file);
        }
    }
}

// The start of a main window over a fresh App, to the window shown and its events run.
double runStart(platform::Ui &ui, int64_t *allNodes)
{
    QElapsedTimer clock;
    clock.start();
    App fresh(ui, platform::DriveMap::detect());
    TfrmMain window(fresh);
    window.show();
    QApplication::processEvents();
    const double ms = clock.nsecsElapsed() / 1e6;
    *allNodes = int64_t(window.catalogue.store.nodeCount());
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_scan TREE [RUNS] [--scan-only | --rescan-only | --start-only]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString tree = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const bool scanOnly = argc > 3 && qstrcmp(argv[3], "--scan-only") == 0;
    const bool rescanOnly = argc > 3 && qstrcmp(argv[3], "--rescan-only") == 0;
    const bool startOnly = argc > 3 && qstrcmp(argv[3], "--start-only") == 0;
    QTemporaryDir config;
    qputenv("LUMAVISTA_CONFIG_DIR", QFile::encodeName(config.path()));
    qputenv("LUMAVISTA_CACHE_DIR", QFile::encodeName(config.path() + "/cache"));
    qputenv("LUMAVISTA_DRIVES", QFile::encodeName("C=" + tree));
    {
        QFile ini(config.filePath("LUMA.INI"));
        if (!ini.open(QIODevice::WriteOnly))
            return 1;
        ini.write("[Lumavista]\nFirst_Time=0\nScan_Type=0\nExpand_Treeview_At_End_Of_Scan=1\n");
    }

    QApplication application(argc, argv);
    platform::DesktopUi ui;
    App app(ui, platform::DriveMap::detect());
    TfrmMain main(app);
    main.show();
    QApplication::processEvents();
    const QString before = statusLine("VmRSS:");

    int64_t entries = 0;
    std::vector<double> scans, finds, lists;
    if (startOnly) {
        runScan(main);
        int64_t nodes = 0;
        for (int i = 0; i < runs; ++i)
            scans.push_back(runStart(ui, &nodes));
        std::printf("start median    %.1f ms with the kept catalogue (%lld nodes)\n", median(scans),
                    static_cast<long long>(nodes));
        return 0;
    }
    if (scanOnly || rescanOnly) {
        runScan(main);
        for (int i = 0; i < runs; ++i)
            scans.push_back(scanOnly ? runScan(main) : runRescan(main));
        std::printf("scan median     %.1f ms; VmRSS %s, peak VmHWM %s\n", median(scans),
                    qPrintable(statusLine("VmRSS:")), qPrintable(statusLine("VmHWM:")));
        return 0;
    }
    runFind(tree);
    runScan(main);
    for (int i = 0; i < runs; ++i) {
        scans.push_back(runScan(main));
        finds.push_back(runFind(tree));
        lists.push_back(runList(app.drives(), &entries));
    }

    const CatalogueStore &store = main.catalogue.store;
    int nodes = 0, mediaFolders = 0;
    store.forEachNode(mtALL, [&](NodeId n) {
        ++nodes;
        mediaFolders += store.kind(n) == NodeKind::MediaFolder;
    });
    const auto allTrees = static_cast<int>(store.nodeCount());

    const double scan = median(scans), find = median(finds);
    std::printf("tree            %s\n", qPrintable(tree));
    std::printf("scan median     %.1f ms  (runs:", scan);
    for (double s : scans)
        std::printf(" %.1f", s);
    std::printf(")\nfind median     %.1f ms  (runs:", find);
    for (double f : finds)
        std::printf(" %.1f", f);
    std::printf(")\nsearch alone    %.1f ms  (names and kinds, media sizes; %lld entries)\n", median(lists),
                static_cast<long long>(entries));
    std::printf("ratio scan/find %.2f\n", scan / find);
    std::printf("media files     %lld (%lld bytes)\n", static_cast<long long>(app.st.Disks[3].FileCount),
                static_cast<long long>(app.st.Disks[3].FileBytes));
    std::printf("media folders   %d in ALL (%d nodes; %d nodes in all 13 trees)\n", mediaFolders, nodes,
                allTrees);
    std::printf("memory          before scans VmRSS %s; after VmRSS %s, peak VmHWM %s\n", qPrintable(before),
                qPrintable(statusLine("VmRSS:")), qPrintable(statusLine("VmHWM:")));
    const double rssGrowth =
        (statusLine("VmRSS:").section(' ', 0, 0).toDouble() - before.section(' ', 0, 0).toDouble()) / 1024.0;
    std::printf(
        "catalogue       store %.1f MiB (%.0f bytes a node); program grew %.1f MiB (%.0f bytes a node)\n",
        store.memoryBytes() / 1048576.0, double(store.memoryBytes()) / allTrees, rssGrowth,
        rssGrowth * 1048576.0 / allTrees);

    // The kept catalogue.
    Catalogue &cat = main.catalogue;
    std::vector<double> rescans, changed, finds2, finds3;
    runRescan(main);
    for (int i = 0; i < runs; ++i) {
        rescans.push_back(runRescan(main));
        finds2.push_back(runFind(tree));
    }
    const int64_t reusedUnchanged = cat.lastFoldersReused, readUnchanged = cat.lastFoldersRead;
    const QStringList hundredth = everyHundredthFolder(cat.index, tree);
    for (int i = 0; i < runs; ++i) {
        touchFolders(hundredth, i % 2 == 0);
        changed.push_back(runRescan(main));
        finds3.push_back(runFind(tree));
    }
    touchFolders(hundredth, false);
    const double rescan = median(rescans), findUnchanged = median(finds2);
    const double rescan1 = median(changed), findChanged = median(finds3);
    std::printf("rescan median   %.1f ms unchanged (find %.1f ms): ratio %.3f (goal <= 0.15); %lld folders "
                "reused, %lld read\n",
                rescan, findUnchanged, rescan / findUnchanged, static_cast<long long>(reusedUnchanged),
                static_cast<long long>(readUnchanged));
    std::printf(
        "rescan median   %.1f ms after 1 %% of folders changed (find %.1f ms): ratio %.3f (goal <= 0.25); "
        "%lld of %lld folders read\n",
        rescan1, findChanged, rescan1 / findChanged, static_cast<long long>(cat.lastFoldersRead),
        static_cast<long long>(cat.lastFoldersRead + cat.lastFoldersReused));
    const qint64 fileSize = QFileInfo(KeptCataloguePath()).size();
    const double held = double(store.memoryBytes() + cat.index.memoryBytes());
    std::printf(
        "kept file       %.1f MiB; store %.1f MiB + index %.1f MiB in memory: ratio %.2f (goal <= 1.5)\n",
        fileSize / 1048576.0, store.memoryBytes() / 1048576.0, cat.index.memoryBytes() / 1048576.0,
        fileSize / held);

    // Start to a window on show: with the kept catalogue, then with none (the same file moved away).
    std::vector<double> keptStarts, emptyStarts;
    int64_t keptNodes = 0, emptyNodes = 0;
    const QString kept = KeptCataloguePath();
    const QString aside = kept + ".aside";
    for (int i = 0; i < runs + 1; ++i) {
        const double withKept = runStart(ui, &keptNodes);
        QFile::rename(kept, aside);
        const double empty = runStart(ui, &emptyNodes);
        QFile::rename(aside, kept);
        if (i > 0) { // the first of each warms the caches
            keptStarts.push_back(withKept);
            emptyStarts.push_back(empty);
        }
    }
    std::printf("start median    %.1f ms with the kept catalogue (%lld nodes), %.1f ms empty (%lld nodes): "
                "%.1f ms more (goal <= 150)\n",
                median(keptStarts), static_cast<long long>(keptNodes), median(emptyStarts),
                static_cast<long long>(emptyNodes), median(keptStarts) - median(emptyStarts));
    return 0;
}
