// Find as you type over a catalogue of about a million media files, in the real catalogue pane.
//
//   bench_search uneven LISTING [QUERY]   the catalogue of make_uneven_tree.py's tree (--list)
//   bench_search media N [QUERY]          a catalogue of N media files in 20-file folders
//
// The catalogue's index is built in memory as a scan leaves it (no disk). Then, in the ALL list of a
// shown catalogue pane, QUERY is typed one key at a time into the search field; for each key, the
// time from the key press to the list painted with that key's results. The one-off preparation
// (natural order of the names) is made ahead first, as after a scan or a start, and timed on its
// own; the first key is reported on its own too. Then Escape, to the
// folder's list painted again. A 5 ms timer runs throughout: its longest gap is the longest the
// interface thread was kept from its events. Then a live change of one folder's files (the index
// and the search's tables updated in place) against a fresh preparation. Finally the memory the
// names take per media file.
// Run on the offscreen platform by bench/search/run.sh.
#include "app/App.h"
#include "app/MediaTypes.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/CatalogueSearch.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/TypeTabs.h"
#include "platform/Ui.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <set>
#include <vector>

namespace {

const char *const kWords[] = {"Été",       "Vidéos",  "Musique", "Séquence", "Noël",         "Fête",
                              "Château",   "Forêt",   "Élément", "Garçon",   "vacances",     "Photo",
                              "Côte",      "famille", "Mémoire", "IMG",      "Anniversaire", "Zoë",
                              "Brouillon", "Dépôt",   "Ελλάδα"};
const char *const kTypes[] = {"bmp", "jpg", "gif", "wav", "mid", "avi",
                              "pcx", "tif", "wmf", "emf", "ico", "ani"};

struct Lcg
{
    uint64_t state;
    uint32_t next(uint32_t n)
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return uint32_t((state >> 33) % n);
    }
};

int typeCode(const QString &name)
{
    return int(code(TypeOfFile(name)));
}

// N media files: 2,500 top folders of 5 sub-folders of 4 folders, 20 files each (the last ones fuller).
void makeMediaIndex(ScanIndex &index, int files)
{
    Lcg rng{19700101};
    index.beginRoot("C:\\");
    const uint32_t root = index.beginFolder(u"", 0);
    int made = 0;
    for (int top = 0; made < files; ++top) {
        const uint32_t a = index.beginFolder(QStringLiteral("Archives %1").arg(top), 0);
        for (int mid = 0; mid < 5 && made < files; ++mid) {
            const uint32_t b = index.beginFolder(QStringLiteral("Année %1").arg(1990 + mid + top % 30), 0);
            for (int leaf = 0; leaf < 4 && made < files; ++leaf) {
                const uint32_t c = index.beginFolder(
                    QString::fromUtf8(kWords[rng.next(21)]) + QStringLiteral(" %1").arg(leaf), 0);
                for (int f = 0; f < 20 && made < files; ++f, ++made) {
                    const int t = int(rng.next(12));
                    const QString name = QString::fromUtf8(kWords[rng.next(21)]) + ' ' +
                                         QString::number(rng.next(10000)) + '.' + QLatin1String(kTypes[t]);
                    index.addFile(name, 1000 + rng.next(100000), typeCode(name));
                }
                index.endFolder(c);
            }
            index.endFolder(b);
        }
        index.endFolder(a);
    }
    index.endFolder(root);
}

// The listing of make_uneven_tree.py --list: folders in walk order, then the media files.
bool makeUnevenIndex(ScanIndex &index, const QString &listing)
{
    QFile in(listing);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    std::vector<QString> folders;
    std::map<QString, std::vector<std::pair<QString, int64_t>>> files;
    while (!in.atEnd()) {
        const QString line = QString::fromUtf8(in.readLine()).chopped(1);
        const QStringList parts = line.split('\t');
        if (parts.size() >= 2 && parts[0] == "D")
            folders.push_back(parts[1]);
        else if (parts.size() == 3 && parts[0] == "F")
            files[parts[1].section('/', 0, -2)].emplace_back(parts[1].section('/', -1),
                                                             parts[2].toLongLong());
    }
    index.beginRoot("C:\\");
    std::vector<std::pair<QString, uint32_t>> open{{QString(), index.beginFolder(u"", 0)}};
    for (const QString &path : folders) {
        while (open.size() > 1 && !path.startsWith(open.back().first + '/')) {
            index.endFolder(open.back().second);
            open.pop_back();
        }
        const uint32_t id = index.beginFolder(path.section('/', -1), 0);
        for (const auto &[name, size] : files[path])
            index.addFile(name, size, typeCode(name));
        open.emplace_back(path, id);
    }
    while (!open.empty()) {
        index.endFolder(open.back().second);
        open.pop_back();
    }
    return true;
}

double cpuMs(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

QByteArray loadAverage()
{
    QFile f("/proc/loadavg");
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed() : QByteArray("?");
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

long rssKiB()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// What the names of the media files take: each distinct file name's text and entry, each file's name
// id, and its place in the search's natural order.
void printMemory(const ScanIndex &index, const search::NameSearch &engine)
{
    const NameTable &names = index.names();
    std::set<uint32_t> distinct;
    size_t units = 0;
    for (const ScanIndex::File &f : index.files())
        distinct.insert(f.name);
    size_t textBytes = 0;
    for (uint32_t id : distinct) {
        textBytes += size_t(names.length(id)) * (names.isWide(id) ? 2 : 1);
        units += size_t(names.length(id));
    }
    const double n = double(index.files().size());
    const double entries = double(distinct.size()) * 8;
    const double ids = n * sizeof(uint32_t);
    const double order = n * sizeof(uint32_t);
    const double fileNames = (double(textBytes) + entries + ids + order) / n;
    std::printf("media files %zu, distinct names %zu (%.1f characters on average)\n", index.files().size(),
                distinct.size(), double(units) / double(std::max<size_t>(1, distinct.size())));
    std::printf("names of the media files: %.1f bytes a media file (texts %.1f, entries %.1f, ids %.1f, "
                "order %.1f; goal <= 40)\n",
                fileNames, double(textBytes) / n, entries / n, ids / n, order / n);
    std::printf("whole name table with the folders' names: %.1f MiB (%.1f bytes a media file); search "
                "tables besides the order: %.1f bytes a media file\n",
                double(names.memoryBytes()) / 1048576.0, double(names.memoryBytes()) / n,
                (double(engine.memoryBytes()) - order) / n);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    const QStringList args = qapp.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: bench_search uneven LISTING [QUERY] | media N [QUERY]\n");
        return 2;
    }
    QTemporaryDir config;
    qputenv("LUMAVISTA_CONFIG_DIR", QFile::encodeName(config.path()));
    qputenv("LUMAVISTA_CACHE_DIR", QFile::encodeName(config.path()));
    qputenv("LUMAVISTA_DRIVES", ("C=" + config.path()).toUtf8());
    platform::DesktopUi ui;
    App app(ui, platform::DriveMap::detect());
    Catalogue catalogue(app);
    QWidget host;
    host.resize(1000, 700);
    auto *pane = new CataloguePane(catalogue, &host);
    auto *lay = new QVBoxLayout(&host);
    lay->addWidget(pane->pnlToolBarDisk);
    lay->addWidget(pane->pcMain, 1);
    LoadSettings(app);
    app.st.settings.Icon_Style = args.contains("--report") ? 3 : app.st.settings.Icon_Style;
    pane->startUp();
    pane->showEmptyCatalogue();
    host.show();
    QApplication::processEvents();

    QElapsedTimer t;
    t.start();
    catalogue.aboutToChangeIndex();
    const bool uneven = args[1] == "uneven";
    if (uneven) {
        if (!makeUnevenIndex(catalogue.index, args[2])) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(args[2]));
            return 1;
        }
    } else {
        makeMediaIndex(catalogue.index, args[2].toInt());
    }
    catalogue.index.settle();
    std::printf("index built in %.0f ms: %zu folders, %zu media files\n", t.nsecsElapsed() / 1e6,
                catalogue.index.folders().size(), catalogue.index.files().size());
    const QString query = args.size() > 3 && !args[3].startsWith("--") ? args[3]
                          : uneven                                     ? QStringLiteral("fichier 0.jpg")
                                                                       : QStringLiteral("vacances 12");

    CatalogueSearch &search = *pane->search;
    QString delivered;
    QObject::connect(&search.engine(), &search::NameSearch::found, &host,
                     [&delivered](const std::shared_ptr<const search::Results> &r) { delivered = r->query; });
    QElapsedTimer gapClock;
    double longestGap = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, gapClock.nsecsElapsed() / 1e6 - 5);
        gapClock.start();
    });
    // As a scan or the start-up leaves it: the index is prepared ahead while nobody types yet.
    {
        QElapsedTimer ahead;
        ahead.start();
        catalogue.changedIndex();
        while (!search.engine().prepared() && ahead.elapsed() < 120000)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        std::printf("prepared ahead in %.0f ms, on the search thread\n", ahead.nsecsElapsed() / 1e6);
    }
    search.field()->setFocus();
    TListView *list = pane->list(mtALL);
    const auto paint = [list] { list->activeView()->viewport()->repaint(); };
    gapClock.start();
    ticker.start();

    std::vector<double> keys, uiCpu, workerCpu;
    double first = 0;
    std::printf("load average before typing: %s\n", loadAverage().constData());
    QString typed;
    for (int i = 0; i < query.size(); ++i) {
        typed += query[i];
        const bool blank = query[i].isSpace();
        QElapsedTimer key;
        key.start();
        const double thread0 = cpuMs(CLOCK_THREAD_CPUTIME_ID), all0 = cpuMs(CLOCK_PROCESS_CPUTIME_ID);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(query[i]));
        QApplication::sendEvent(search.field(), &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(query[i]));
        QApplication::sendEvent(search.field(), &release);
        // Sleeps in an event loop as the program's own does: a polling wait would take a core from
        // the search's threads.
        QEventLoop waiting;
        const QMetaObject::Connection woken = QObject::connect(
            &search.engine(), &search::NameSearch::found, &waiting,
            [&] {
                if (delivered == typed)
                    waiting.quit();
            },
            Qt::QueuedConnection);
        QTimer::singleShot(60000, &waiting, &QEventLoop::quit);
        if (delivered != typed)
            waiting.exec();
        QObject::disconnect(woken);
        paint();
        const double ms = key.nsecsElapsed() / 1e6;
        const double uiMs = cpuMs(CLOCK_THREAD_CPUTIME_ID) - thread0;
        const double worker = cpuMs(CLOCK_PROCESS_CPUTIME_ID) - all0 - uiMs;
        if (i == 0) {
            first = ms;
        } else {
            keys.push_back(ms);
            uiCpu.push_back(uiMs);
            workerCpu.push_back(worker);
        }
        std::printf("  key %-3s %8.1f ms wall, CPU %6.1f ms interface + %6.1f ms search  %7d results%s\n",
                    qPrintable("'" + QString(query[i]) + "'"), ms, uiMs, worker, list->count(),
                    blank ? " (a blank: the same terms)" : "");
        // A typist's pause: the ticker runs meanwhile.
        QEventLoop pausing;
        QTimer::singleShot(100, &pausing, &QEventLoop::quit);
        pausing.exec();
    }
    QElapsedTimer esc;
    esc.start();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(search.field(), &escape);
    paint();
    const double escMs = esc.nsecsElapsed() / 1e6;
    ticker.stop();
    const double worst = keys.empty() ? 0 : *std::max_element(keys.begin(), keys.end());
    std::printf("first key %.1f ms\n", first);
    std::printf("keys after the first: median %.1f ms, worst %.1f ms (goals <= 30 and <= 60)\n", median(keys),
                worst);
    std::printf("  the same keys in CPU time: interface thread median %.1f ms, worst %.1f ms; search thread "
                "median %.1f ms, worst %.1f ms\n",
                median(uiCpu), uiCpu.empty() ? 0 : *std::max_element(uiCpu.begin(), uiCpu.end()),
                median(workerCpu),
                workerCpu.empty() ? 0 : *std::max_element(workerCpu.begin(), workerCpu.end()));
    std::printf("Escape to the folder's list painted: %.1f ms\n", escMs);
    std::printf("load average after: %s (2 cores: figures above about 2 mean the machine was shared)\n",
                loadAverage().constData());
    std::printf("longest the interface thread was kept from its events: %.1f ms (goal <= 30)\n", longestGap);

    // Another program changes a folder in the middle of the index (the live follow): its 20 or so
    // files become 25 others, then 15. The interface thread's cost of updating the index and the
    // search's tables, then the next search, against a fresh preparation and search in this run.
    ScanIndex &index = catalogue.index;
    uint32_t changed = uint32_t(index.folders().size() / 2);
    while (changed < index.folders().size() && index.folder(changed).fileCount == 0)
        ++changed;
    if (changed < index.folders().size()) {
        std::vector<double> updates, searches, rewrites;
        std::vector<ScanIndex::ListedFile> listed;
        for (int round = 0; round < 9; ++round) {
            if (round < 6) {
                listed.clear();
                for (int i = 0; i < (round % 2 ? 15 : 25); ++i) {
                    const QString name = QStringLiteral("nouveau %1 %2.jpg").arg(round).arg(i);
                    listed.push_back({name, 1000, typeCode(name)});
                }
            } else {
                // The same names rewritten with other sizes.
                for (ScanIndex::ListedFile &l : listed)
                    l.size += 1;
            }
            QElapsedTimer u;
            u.start();
            search.folderRelisted(changed, listed);
            (round < 6 ? updates : rewrites).push_back(u.nsecsElapsed() / 1e6);
            u.start();
            search.engine().runNow(query, mtALL);
            searches.push_back(u.nsecsElapsed() / 1e6);
        }
        QElapsedTimer f;
        f.start();
        search::NameSearch fresh(index);
        fresh.runNow(query, mtALL);
        const double freshMs = f.nsecsElapsed() / 1e6;
        const double firstUpdate = updates.front();
        updates.erase(updates.begin());
        std::printf("live change of one folder, index and search tables updated: the first with new names "
                    "%.1f ms (the names' lookup made again), later ones median %.1f ms, worst %.1f ms; "
                    "sizes only: median %.1f ms\n",
                    firstUpdate, median(updates), *std::max_element(updates.begin(), updates.end()),
                    median(rewrites));
        std::printf("  the next search %.1f ms; a fresh preparation and search %.1f ms (ratio of a later "
                    "change and its search to it: %.3f)\n",
                    median(searches), freshMs, (median(updates) + median(searches)) / freshMs);
    }
    printMemory(catalogue.index, search.engine());
    std::printf("process RSS %ld KiB\n", rssKiB());
    return 0;
}
