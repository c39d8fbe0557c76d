// List benchmarks, each against a reference measured in the same run.
//
//   bench_lists fill FOLDER [RUNS]   FillFileList over FOLDER (the ALL tab, drive C: mapped on it)
//                                    RUNS times, warm cache; the median against `ls -l FOLDER`.
//   bench_lists scroll [ROWS]        ROWS rows in one list: memory, then for each style the switch,
//                                    the first paint and the paints of a scroll through the list.
//
// Run on the offscreen platform by bench/lists/run.sh.
#include "app/App.h"
#include "app/Artwork.h"
#include "app/Settings.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "platform/Ui.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

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

int fill(const QString &folder, int runs)
{
    QTemporaryDir config;
    qputenv("LUMAVISTA_CONFIG_DIR", QFile::encodeName(config.path()));
    qputenv("LUMAVISTA_DRIVES", ("C=" + folder).toUtf8());
    platform::DesktopUi ui;
    App app(ui, platform::DriveMap::detect());
    Catalogue catalogue(app);
    QWidget host;
    CataloguePane pane(catalogue, &host);
    LoadSettings(app);
    pane.startUp();
    pane.showEmptyCatalogue();
    const NodeId drive = catalogue.store.addFolder(mtALL, u"C:\\", 3);
    app.st.CurrentView.CurrentType = mtALL;
    app.st.CurrentView.CurrentTree = mtALL;
    app.st.CurrentView.CurrentNode = drive;
    app.st.CurrentView.CurrentFolder = "C:\\";
    app.st.Selection.List = mtALL;

    std::vector<double> ours, ls;
    for (int run = 0; run < runs + 1; ++run) { // the first run warms the cache and is not counted
        QElapsedTimer t;
        t.start();
        FillFileList(pane, drive, pane.list(mtALL));
        const double fillMs = t.nsecsElapsed() / 1e6;
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        t.start();
        p.start("ls", {"-l", folder});
        p.waitForFinished(-1);
        const double lsMs = t.nsecsElapsed() / 1e6;
        if (run > 0) {
            ours.push_back(fillMs);
            ls.push_back(lsMs);
        }
    }
    const double a = median(ours), b = median(ls);
    std::printf(
        "fill: %d files listed, FillFileList median %.1f ms, ls -l median %.1f ms, ratio %.2f (goal <= 3)\n",
        app.st.Selection.FileCount, a, b, b > 0 ? a / b : 0.0);
    return 0;
}

int scroll(int rows)
{
    const long before = rssKiB();
    const ImageLists images = BuildImageLists();
    TListView list;
    list.setImages(&images.smallList, &images.largeList);
    SetupColumns(&list);
    const long withImages = rssKiB();
    std::vector<TListItem> items;
    items.reserve(static_cast<size_t>(rows));
    const QString bmp = "Image bitmap";
    for (int i = 0; i < rows; ++i) {
        TListItem item;
        item.caption = QStringLiteral("IMG_%1_holiday.bmp").arg(i, 6, 10, QLatin1Char('0'));
        item.image = 9;
        item.kind = ListItemKind::File;
        item.mediaType = mtBMP;
        item.typeText = bmp;
        item.setSize(100000 + i);
        item.setTime(1700000000000LL + i * 1000LL);
        items.push_back(std::move(item));
    }
    list.addItems(std::move(items));
    list.resize(900, 600);
    list.show();
    QApplication::processEvents();
    const long filled = rssKiB();
    std::printf("scroll: %d rows; memory of the rows and their first layout %.1f MiB (goal < 100)\n", rows,
                (filled - withImages) / 1024.0);

    const char *names[4] = {"large icons", "small icons", "list", "report"};
    for (int style = 0; style <= 3; ++style) {
        QElapsedTimer t;
        t.start();
        list.setViewStyle(style);
        QApplication::processEvents();
        list.activeView()->viewport()->repaint();
        const double first = t.nsecsElapsed() / 1e6;
        QAbstractItemView *view = list.activeView();
        QScrollBar *bar = style == 2 ? view->horizontalScrollBar() : view->verticalScrollBar();
        std::vector<double> frames;
        const int steps = 60;
        for (int s = 0; s <= steps; ++s) {
            t.start();
            bar->setValue(bar->maximum() * s / steps);
            view->viewport()->repaint();
            frames.push_back(t.nsecsElapsed() / 1e6);
        }
        const double worst = *std::max_element(frames.begin(), frames.end());
        std::printf("  %-11s: switch and first paint %.1f ms, scroll frame median %.2f ms, worst %.2f ms "
                    "(scroll range %d)\n",
                    names[style], first, median(frames), worst, bar->maximum());
    }
    std::printf("scroll: total memory growth %.1f MiB\n", (rssKiB() - before) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() >= 3 && args[1] == "fill")
        return fill(args[2], args.size() >= 4 ? args[3].toInt() : 5);
    if (args.size() >= 2 && args[1] == "scroll")
        return scroll(args.size() >= 3 ? args[2].toInt() : 100000);
    std::fprintf(stderr, "usage: bench_lists fill FOLDER [RUNS] | scroll [ROWS]\n");
    return 2;
}
