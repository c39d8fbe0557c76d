// bench_thumbnails FOLDER
// A real list view in the large-icon style over every file of FOLDER (offscreen, 1024 x 768), the
// desktop's cache in $XDG_CACHE_HOME. Prints: the time until every visible item has its thumbnail
// and until all have; the time of a scroll frame with thumbnails and without (the style as
// before); the thumbnails kept in memory and the process's resident memory.
#include "catalogue/FileListView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QScrollBar>
#include <cstdio>

namespace {

long residentKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// The rows whose items the view shows now.
std::vector<int> visibleRows(QListView *view, int count)
{
    std::vector<int> rows;
    const QRect area = view->viewport()->rect();
    for (int row = 0; row < count; ++row) {
        const QRect r = view->visualRect(view->model()->index(row, 0));
        if (r.intersects(area))
            rows.push_back(row);
    }
    return rows;
}

bool hasThumbnail(TListView &list, int row)
{
    const QVariant v = list.model()->data(list.model()->index(row, 0), Qt::DecorationRole);
    return v.typeId() == QMetaType::QPixmap;
}

double scrollFrameMs(TListView &list, int frames)
{
    QListView *view = list.iconView();
    QScrollBar *bar = view->verticalScrollBar();
    bar->setValue(0);
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < frames; ++i) {
        bar->setValue((i * 40) % std::max(1, bar->maximum()));
        view->viewport()->repaint();
    }
    return double(t.nsecsElapsed()) / 1e6 / frames;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_thumbnails FOLDER\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + "/";
    const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
    std::vector<QIcon> small, large;
    for (int i = 0; i < 19; ++i) {
        QPixmap s(16, 16), l(32, 32);
        s.fill(Qt::darkCyan);
        l.fill(Qt::darkCyan);
        small.emplace_back(s);
        large.emplace_back(l);
    }
    TListView list;
    list.setImages(&small, &large);
    list.setColumns({"Nom", "Taille", "Type", "Modifié"}, {130, 60, 130, -1},
                    {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft});
    list.resize(1024, 768);
    list.show();
    const long rssBefore = residentKb();

    const auto fill = [&] {
        list.clear();
        std::vector<TListItem> items;
        for (const QString &name : names) {
            TListItem item;
            item.caption = name;
            item.kind = ListItemKind::File;
            item.image = 9;
            items.push_back(std::move(item));
        }
        list.addItems(std::move(items));
        list.setThumbnailPaths([folder](const TListItem &item) { return folder + item.caption; });
    };
    const auto run = [&](const char *label, bool untilAll) {
        QElapsedTimer t;
        t.start();
        fill();
        list.setThumbnailsShown(true);
        list.setViewStyle(0);
        bool allDone = false;
        QObject::connect(list.thumbnails(), &ThumbnailLoader::allDone, [&] { allDone = true; });
        double visibleMs = -1;
        while (true) {
            list.iconView()->viewport()->repaint(); // asks for the rows on view
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (visibleMs < 0) {
                const std::vector<int> rows = visibleRows(list.iconView(), list.count());
                bool every = !rows.empty();
                for (int row : rows)
                    every = every && (hasThumbnail(list, row) || list.thumbnails()->failed(row));
                if (every) {
                    visibleMs = double(t.nsecsElapsed()) / 1e6;
                    if (!untilAll)
                        break;
                }
            }
            if (allDone && list.thumbnails()->pendingCount() == 0)
                break;
            if (t.elapsed() > 600000)
                break;
        }
        const double allMs = double(t.nsecsElapsed()) / 1e6;
        std::printf("%s: first screen %.1f ms (%zu items)", label, visibleMs,
                    visibleRows(list.iconView(), list.count()).size());
        if (untilAll)
            std::printf(", all %d files %.0f ms, %.2f ms a file", list.count(), allMs, allMs / list.count());
        std::printf("\n");
    };
    run("cold cache", true);
    std::printf("memory: %d thumbnails kept (limit %d), resident +%ld KiB\n", list.thumbnails()->keptCount(),
                list.thumbnails()->keptRows(), residentKb() - rssBefore);
    for (int i = 0; i < 3; ++i)
        run("warm cache", false);
    // Scroll frames: thumbnails on (all in the cache) against the style as before.
    const double with = scrollFrameMs(list, 200);
    list.setThumbnailsShown(false);
    list.setViewStyle(0);
    const double without = scrollFrameMs(list, 200);
    std::printf("scroll frame: %.2f ms with thumbnails, %.2f ms without (%d items a screen before)\n", with,
                without, int(visibleRows(list.iconView(), list.count()).size()));
    return 0;
}
