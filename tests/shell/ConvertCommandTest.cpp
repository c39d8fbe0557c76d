// Convertir... as a person reaches it: File menu, list popup, tree popup and viewer popup opened by
// real clicks, the convert window run by exec() and closed by Escape or Return, the progress window
// run until its report, then the next command.
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "components/TPicture.h"
#include "convert/window/ConvertProgress.h"
#include "support/UserInput.h"
#include "viewers/View_BMP.h"

#include <QAbstractItemView>
#include <QBuffer>
#include <QDialog>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

QByteArray pictureBytes(const char *format, QRgb colour)
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

class ConvertCommandTest : public ShellFixture
{
protected:
    // C:\Images\ (two pictures) and C:\Images\Vieux\ (one), scanned in folder mode with the real
    // scan window; the main window shown and active; a click shows the file.
    void startScanned()
    {
        writeSettings({"First_Time=0", "Scan_Type=1", "Starting_Folder=C:\\", "Wiew_When_Click_ListView=1"});
        writeFile("c/Images/rouge.bmp", pictureBytes("BMP", qRgb(255, 0, 0)));
        writeFile("c/Images/vert.jpg", pictureBytes("JPG", qRgb(0, 255, 0)));
        writeFile("c/Images/Vieux/bleu.bmp", pictureBytes("BMP", qRgb(0, 0, 255)));
        ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
        createMain();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        QTest::mouseClick(main->btnScanDrives, Qt::LeftButton);
        ASSERT_TRUE(user::windowManagerActivates(main.get()));
    }
    TFolderTreeView *tree() const { return pane().tree(mtALL); }
    QAbstractItemView *listView() const { return pane().list(mtALL)->activeView(); }
    QStringList names(const QString &relative) const
    {
        return QDir(tmp.filePath(relative)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QPoint rowPoint(QAbstractItemView *view, const QString &text) const
    {
        const QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text,
                                                           1, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.isEmpty())
            return {};
        const QRect rect = view->visualRect(found.first());
        return {rect.left() + qMin(rect.width() / 2, 12), rect.center().y()};
    }
    // A left click on the row, then a right click on it: the popup's item is clicked.
    void fromPopup(QAbstractItemView *view, const QString &row, QMenu *popup, QAction *item)
    {
        ASSERT_TRUE(user::clickRow(view, row)) << row.toStdString();
        user::rightClick(view->viewport(), rowPoint(view, row));
        ASSERT_TRUE(popup->isVisible()) << popup->objectName().toStdString();
        ASSERT_TRUE(item->isVisible() && item->isEnabled()) << item->objectName().toStdString();
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
        QCoreApplication::processEvents();
    }
    // The convert window closed by this key; with Return, the progress window runs to its report,
    // which Escape closes.
    void answerConvert(int key)
    {
        ui.onModal("frmConvert", [key](QDialog *d) {
            user::whenModalShows([key](QWidget *w) { user::pressKey(w, key); });
            return d->exec();
        });
        ui.onModal("frmConvertProgress", [this](QDialog *d) {
            auto *w = static_cast<TfrmConvertProgress *>(d);
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, w, [this, w] {
                if (w->isVisible() && w->txtConvertReport->isVisible() && QApplication::activeWindow() == w) {
                    report = w->txtConvertReport->toPlainText();
                    user::pressKey(w, Qt::Key_Escape);
                }
            });
            poll.start(10);
            return d->exec();
        });
    }
    void windowBack() { EXPECT_TRUE(user::windowManagerActivates(main.get())); }

    QString report;
};

} // namespace

TEST_F(ConvertCommandTest, TheFileMenuListPopupTreePopupAndViewerPopupEachConvertWhatTheyShow)
{
    startScanned();
    ASSERT_TRUE(user::clickRow(tree(), "Images"));
    ASSERT_TRUE(user::clickRow(listView(), "rouge.bmp"));

    // File > Convertir..., then Escape: nothing is made.
    answerConvert(Qt::Key_Escape);
    user::chooseFromMenuBar(main->menuBar(), main->mnuMain_File, main->menus.mnuMain_File_Convert);
    EXPECT_EQ(ui.modalWindows.back(), "frmConvert");
    EXPECT_EQ(names("c/Images"), QStringList({"rouge.bmp", "vert.jpg"}));
    windowBack();

    // The list's popup on the file: Return converts it beside itself.
    answerConvert(Qt::Key_Return);
    fromPopup(listView(), "rouge.bmp", main->popmnuListView, main->menus.popmnuLV_Convert);
    EXPECT_EQ(names("c/Images"), QStringList({"rouge.bmp", "rouge.png", "vert.jpg"}));
    EXPECT_TRUE(report.contains("Fichiers convertis : 1\n")) << report.toStdString();
    windowBack();

    // The tree's popup on the folder: its files and its subfolder's; a taken name gets a number,
    // and the picture already in PNG is left as it is.
    answerConvert(Qt::Key_Return);
    fromPopup(tree(), "Images", main->popmnuTreeView, main->menus.popmnuTV_Convert);
    EXPECT_EQ(names("c/Images"),
              QStringList({"rouge (2).png", "rouge.bmp", "rouge.png", "vert.jpg", "vert.png"}));
    EXPECT_EQ(names("c/Images/Vieux"), QStringList({"bleu.bmp", "bleu.png"}));
    EXPECT_TRUE(report.contains("Fichiers convertis : 3\n")) << report.toStdString();
    windowBack();

    // The viewer's popup on the picture on view.
    ASSERT_TRUE(user::clickRow(listView(), "vert.jpg"));
    ASSERT_TRUE(user::clickRow(listView(), "rouge.bmp"));
    TViewPageBMP *page = viewer().page<TViewPageBMP>(mtBMP);
    ASSERT_EQ(viewer().currentViewerPage(), "BMP");
    answerConvert(Qt::Key_Return);
    user::rightClick(page->picBMP, QPoint(2, 2));
    ASSERT_TRUE(main->popmnuViewFile->isVisible());
    QAction *item = main->menus.popmnuVF_Convert;
    ASSERT_TRUE(item->isVisible() && item->isEnabled());
    QTest::mouseClick(main->popmnuViewFile, Qt::LeftButton, {},
                      main->popmnuViewFile->actionGeometry(item).center());
    EXPECT_TRUE(names("c/Images").contains("rouge (3).png")) << names("c/Images").join(' ').toStdString();
    EXPECT_EQ(ui.modalWindows.size(), 8u); // the scan window, then four convert and three progress windows
}

TEST_F(ConvertCommandTest, ConvertIsOfferedOnlyWithSomethingToConvert)
{
    startScanned();
    ASSERT_TRUE(user::clickRow(tree(), "Images"));
    emit main->mnuMain_File->aboutToShow();
    EXPECT_FALSE(main->menus.mnuMain_File_Convert->isEnabled()); // the tree has the focus, no file
    emit main->popmnuTreeView->aboutToShow();
    EXPECT_TRUE(main->menus.popmnuTV_Convert->isEnabled());
    ASSERT_TRUE(user::clickRow(listView(), "Vieux")); // a folder item is no file
    emit main->mnuMain_File->aboutToShow();
    EXPECT_FALSE(main->menus.mnuMain_File_Convert->isEnabled());
    ASSERT_TRUE(user::clickRow(listView(), "rouge.bmp"));
    emit main->mnuMain_File->aboutToShow();
    EXPECT_TRUE(main->menus.mnuMain_File_Convert->isEnabled());
    EXPECT_EQ(main->menus.mnuMain_File_Convert->text(), "Co&nvertir...");
}
