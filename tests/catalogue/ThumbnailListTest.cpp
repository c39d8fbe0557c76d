// Thumbnails in the large-icon style of a real list view: made off the interface thread and shown
// with the type's badge, the type picture until then and for files that fail, the other styles and
// the option off as before, pending work dropped when the folder or the style changes, memory
// bounded, and the desktop's cache filled.
#include "CatalogueFixture.h"
#include "catalogue/FileListView.h"
#include "platform/thumbnails/ThumbnailCache.h"

#include <QApplication>
#include <QDir>
#include <QListView>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class ThumbnailListTest : public ::testing::Test
{
protected:
    ThumbnailListTest()
    {
        qputenv("XDG_CACHE_HOME", QFile::encodeName(tmp.filePath("cache")));
        list = new TListView;
        for (int i = 0; i < 19; ++i) {
            QPixmap small(16, 16), large(32, 32);
            small.fill(Qt::yellow);
            large.fill(Qt::magenta);
            smallIcons.emplace_back(small);
            largeIcons.emplace_back(large);
        }
        list->setImages(&smallIcons, &largeIcons);
        list->setColumns({"Nom", "Taille", "Type", "Modifié"}, {130, 60, 130, -1},
                         {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft});
        list->resize(700, 500);
        list->show();
        QDir().mkpath(tmp.filePath("a"));
        QDir().mkpath(tmp.filePath("b"));
    }
    ~ThumbnailListTest() override
    {
        delete list;
        qunsetenv("XDG_CACHE_HOME");
    }

    // n pictures of one colour in a folder, listed as that folder's file rows.
    void listFolder(const QString &folder, int n, const QString &colour, bool broken = false)
    {
        list->clear();
        std::vector<TListItem> items;
        for (int i = 0; i < n; ++i) {
            const QString name = QStringLiteral("p%1.bmp").arg(i, 3, 10, QLatin1Char('0'));
            const QString path = tmp.filePath(folder + "/" + name);
            if (!QFile::exists(path)) {
                if (broken) {
                    QFile f(path);
                    f.open(QIODevice::WriteOnly);
                    f.write("BM not really a bitmap");
                } else {
                    QProcess::execute("convert", {"-size", "64x48", "xc:" + colour, "bmp3:" + path});
                }
            }
            TListItem item;
            item.caption = name;
            item.kind = ListItemKind::File;
            item.mediaType = mtBMP;
            item.image = 9;
            items.push_back(std::move(item));
        }
        list->addItems(std::move(items));
        const QString root = tmp.filePath(folder) + "/";
        list->setThumbnailPaths([root](const TListItem &item) { return root + item.caption; });
    }

    QImage shown(int row) const
    {
        const QVariant v = list->model()->data(list->model()->index(row, 0), Qt::DecorationRole);
        if (v.canConvert<QPixmap>() && v.typeId() == QMetaType::QPixmap)
            return v.value<QPixmap>().toImage();
        return v.value<QIcon>().pixmap(128).toImage();
    }

    bool waitForAll(int timeoutMs = 30000)
    {
        QSignalSpy done(list->thumbnails(), &ThumbnailLoader::allDone);
        QElapsedTimer t;
        t.start();
        while (list->thumbnails()->pendingCount() > 0 || done.isEmpty()) {
            if (t.elapsed() > timeoutMs)
                return false;
            list->iconView()->viewport()->update();
            QTest::qWait(20);
        }
        return true;
    }

    QTemporaryDir tmp;
    TListView *list = nullptr;
    std::vector<QIcon> smallIcons, largeIcons;
};

TEST_F(ThumbnailListTest, LargeIconsShowThumbnailsWithTheTypeBadge)
{
    list->setThumbnailsShown(true);
    list->setViewStyle(0);
    EXPECT_EQ(list->iconView()->iconSize(), QSize(128, 128));
    listFolder("a", 6, "red");
    // Until made: the type picture.
    EXPECT_EQ(shown(0).size(), QSize(32, 32));
    ASSERT_TRUE(waitForAll());
    const QImage thumb = shown(0);
    ASSERT_EQ(thumb.size(), QSize(128, 128));
    // The picture in the box's middle (64 x 48 is not enlarged) ...
    EXPECT_EQ(thumb.pixelColor(64, 64), QColor(Qt::red));
    EXPECT_EQ(thumb.pixelColor(2, 2).alpha(), 0);
    // ... and the small type picture on its bottom-right corner.
    EXPECT_EQ(thumb.pixelColor(64 + 32, 64 + 24), QColor(Qt::yellow));
    // Written to the desktop's cache, found there by name.
    const QString uri = platform::thumbs::fileUri(tmp.filePath("a/p000.bmp"));
    EXPECT_TRUE(
        QFile::exists(tmp.filePath("cache/thumbnails/normal/") + platform::thumbs::thumbnailFileName(uri)));
    EXPECT_EQ(list->thumbnails()->deliveredCount(), 6);
}

TEST_F(ThumbnailListTest, OptionOffAndOtherStylesAreAsBefore)
{
    listFolder("a", 3, "red");
    list->setThumbnailsShown(false);
    list->setViewStyle(0);
    EXPECT_EQ(list->iconView()->iconSize(), QSize(32, 32));
    EXPECT_EQ(list->iconView()->gridSize(), QSize(96, 70));
    QTest::qWait(300);
    EXPECT_EQ(list->thumbnails()->pendingCount(), 0);
    EXPECT_EQ(shown(0).size(), QSize(32, 32));
    list->setThumbnailsShown(true);
    for (int style : {1, 2}) {
        list->setViewStyle(style);
        EXPECT_EQ(list->iconView()->iconSize(), QSize(16, 16));
        QTest::qWait(200);
        EXPECT_EQ(list->thumbnails()->pendingCount(), 0);
    }
    EXPECT_FALSE(QDir(tmp.filePath("cache/thumbnails")).exists());
}

TEST_F(ThumbnailListTest, DamagedFilesKeepTheTypePictureAndAreRecordedAsFailed)
{
    list->setThumbnailsShown(true);
    list->setViewStyle(0);
    listFolder("b", 2, {}, true);
    ASSERT_TRUE(waitForAll());
    EXPECT_TRUE(list->thumbnails()->failed(0));
    EXPECT_EQ(shown(0).size(), QSize(32, 32));
    EXPECT_EQ(shown(0).pixelColor(5, 5), QColor(Qt::magenta));
    EXPECT_EQ(QDir(tmp.filePath("cache/thumbnails/fail")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(),
              1);
}

TEST_F(ThumbnailListTest, AChangeOfFolderOrStyleDropsWhatWasPending)
{
    list->setThumbnailsShown(true);
    list->setViewStyle(0);
    listFolder("a", 40, "red");
    listFolder("b", 40, "blue");
    // Start the first folder, leave it at once for the second.
    listFolder("a", 40, "red");
    QApplication::processEvents();
    listFolder("b", 40, "blue");
    ASSERT_TRUE(waitForAll());
    // Every row shows its own folder's picture: nothing of folder a reached folder b's rows.
    for (int row = 0; row < 40; ++row) {
        const QImage img = shown(row);
        if (img.size() == QSize(128, 128)) {
            EXPECT_EQ(img.pixelColor(64, 64), QColor(Qt::blue)) << row;
        }
    }
    EXPECT_LE(list->thumbnails()->deliveredCount(), 40);
    // Another style: nothing pending, nothing kept.
    list->setViewStyle(3);
    EXPECT_EQ(list->thumbnails()->pendingCount(), 0);
    EXPECT_EQ(list->thumbnails()->keptCount(), 0);
}

TEST_F(ThumbnailListTest, MemoryHoldsAFewScreensOnly)
{
    list->setThumbnailsShown(true);
    list->setViewStyle(0);
    list->thumbnails()->setKeptRows(12);
    listFolder("a", 60, "red");
    ASSERT_TRUE(waitForAll(60000));
    EXPECT_LE(list->thumbnails()->keptCount(), 12);
    // Every file was made (the cache has them all), so a scroll to the end finds them quickly.
    EXPECT_EQ(QDir(tmp.filePath("cache/thumbnails/normal")).entryList(QDir::Files).size(), 60);
    list->iconView()->scrollToBottom();
    QElapsedTimer t;
    t.start();
    while (shown(59).size() != QSize(128, 128) && t.elapsed() < 10000) {
        list->iconView()->viewport()->update();
        QTest::qWait(20);
    }
    EXPECT_EQ(shown(59).size(), QSize(128, 128));
    EXPECT_LE(list->thumbnails()->keptCount(), 12);
}

} // namespace

namespace {

// The catalogue pane's own lists: a folder's fill gives the rows their paths, the option and the
// style decide, and the option changed in the options window reaches every list at once.
class PaneThumbnailTest : public CatalogueFixture
{
};

TEST_F(PaneThumbnailTest, AFolderInLargeIconsShowsItsThumbnailsUntilTheOptionGoesOff)
{
    const QString c = folder("c/Photos été");
    ASSERT_EQ(QProcess::execute("convert", {"-size", "60x40", "xc:red", "bmp3:" + c + "/rouge #1.bmp"}), 0);
    ASSERT_EQ(QProcess::execute("convert", {"-size", "60x40", "xc:blue", c + "/bleu.pcx"}), 0);
    start({"Icon_Style=0"});
    const NodeId photos = addFolder(mtALL, "C:\\Photos été\\");
    open(mtALL, photos);
    TListView *all = list(mtALL);
    host->show();
    EXPECT_EQ(all->iconView()->iconSize(), QSize(128, 128));
    const auto thumbnailOf = [&](const QString &name) {
        const int row = rowOf(mtALL, name);
        const QVariant v = all->model()->data(all->model()->index(row, 0), Qt::DecorationRole);
        return v.typeId() == QMetaType::QPixmap ? v.value<QPixmap>().toImage() : QImage();
    };
    QElapsedTimer t;
    t.start();
    while ((thumbnailOf("rouge #1.bmp").isNull() || thumbnailOf("bleu.pcx").isNull()) &&
           t.elapsed() < 20000) {
        all->iconView()->viewport()->update();
        QTest::qWait(20);
    }
    ASSERT_FALSE(thumbnailOf("rouge #1.bmp").isNull());
    EXPECT_EQ(thumbnailOf("rouge #1.bmp").pixelColor(64, 64), QColor(Qt::red));
    EXPECT_EQ(thumbnailOf("bleu.pcx").pixelColor(64, 64), QColor(Qt::blue));
    // In the desktop's cache under the names other programs look for.
    const QString uri = platform::thumbs::fileUri(c + "/rouge #1.bmp");
    EXPECT_TRUE(QFile::exists(qEnvironmentVariable("XDG_CACHE_HOME") + "/thumbnails/normal/" +
                              platform::thumbs::thumbnailFileName(uri)));
    // The option off: today's icons at once.
    app.st.settings.Show_Thumbnails = false;
    static_cast<CataloguePort *>(pane)->listStylesChanged();
    EXPECT_EQ(all->iconView()->iconSize(), QSize(32, 32));
    EXPECT_TRUE(thumbnailOf("bleu.pcx").isNull());
}

} // namespace
