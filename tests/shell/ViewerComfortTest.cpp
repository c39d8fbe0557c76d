// The zoom, full screen, the clipboard and drops as a person reaches them from the main window: a
// picture clicked in a scanned list, the zoom keys and the View menu's items, the zoom in the status
// bar, the items taken away while Stretch is down, F11 and Escape with the focus back on the list,
// Ctrl+C in the list and on the picture, the popup's "Copier l'image", a folder and a file dropped.
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "shell/FileTransfer.h"
#include "support/UserInput.h"
#include "viewers/ViewerPage.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/Slideshow.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomView.h"

#include <QAbstractItemView>
#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <QUrl>

namespace {

QByteArray bmp(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(40, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

class ViewerComfortTest : public ShellFixture
{
protected:
    // C:\Images\ with two pictures, scanned in folder mode, the first one clicked in the list.
    void SetUp() override
    {
        writeSettings({"First_Time=0", "Scan_Type=1", "Starting_Folder=C:\\"});
        writeFile("c/Images/a.bmp", bmp({240, 160}));
        writeFile("c/Images/b.bmp", bmp({120, 80}));
        ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
        createMain();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
        QTest::mouseClick(main->btnScanDrives, Qt::LeftButton);
        ASSERT_TRUE(user::windowManagerActivates(main.get()));
        ASSERT_TRUE(user::clickRow(pane().tree(mtALL), "Images"));
        ASSERT_TRUE(user::clickRow(list(), "a.bmp"));
        ASSERT_EQ(viewer().currentViewerPage(), "BMP");
    }
    QAbstractItemView *list() const { return pane().list(mtALL)->activeView(); }
    QString zoomPanel() const { return main->findChild<QLabel *>("StatusPanelZoom")->text(); }
    ViewerZoom &zoom() const { return viewer().zoom(); }
    // An item chosen from the menu bar; the main window active again after the menu, as a window
    // manager makes it (the offscreen platform leaves the closed menu active); the activation puts
    // the focus on the tree.
    void choose(QMenu *menu, QAction *item)
    {
        user::chooseFromMenuBar(main->menuBar(), menu, item);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == main.get(); }));
    }
};

} // namespace

TEST_F(ViewerComfortTest, TheZoomKeysAndTheViewMenuZoomAndTheStatusBarSaysHowMuch)
{
    EXPECT_EQ(zoomPanel(), "Zoom 100 %");
    const MenuActions &m = main->menus;
    for (QAction *a : {m.mnuMain_View_ZoomIn, m.mnuMain_View_ZoomOut, m.mnuMain_View_ActualSize,
                       m.mnuMain_View_FitToWindow, m.mnuMain_View_FullScreen})
        EXPECT_FALSE(a->text().isEmpty()) << a->objectName().toStdString();
    // The keys act with the focus on the list, where the click left it.
    ASSERT_EQ(QApplication::focusWidget(), list());
    user::pressKey(main.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(zoomPanel(), "Zoom 125 %");
    user::pressKey(main.get(), Qt::Key_Equal, Qt::ControlModifier);
    user::pressKey(main.get(), Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(zoomPanel(), "Zoom 200 %");
    EXPECT_EQ(zoom().view()->pictureRect().size(), QSize(480, 320));
    user::pressKey(main.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(zoomPanel(), "Zoom 160 %");
    choose(main->mnuMain_View, m.mnuMain_View_ActualSize);
    EXPECT_EQ(zoomPanel(), "Zoom 100 %");
    EXPECT_FALSE(zoom().zoomed());
    choose(main->mnuMain_View, m.mnuMain_View_FitToWindow);
    EXPECT_TRUE(zoom().view()->fitting());
    EXPECT_NE(zoomPanel(), "Zoom 100 %");
    user::pressKey(main.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_FALSE(zoom().zoomed());

    // The next file (Down in the list) starts at actual size.
    ASSERT_TRUE(user::clickRow(list(), "a.bmp"));
    user::pressKey(main.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(zoomPanel(), "Zoom 125 %");
    user::pressKey(main.get(), Qt::Key_Down);
    ASSERT_TRUE(list()->currentIndex().data().toString().startsWith("b.bmp"));
    EXPECT_EQ(zoomPanel(), "Zoom 100 %");
}

TEST_F(ViewerComfortTest, StretchTakesTheZoomItemsAwayAndGivesThemBack)
{
    const MenuActions &m = main->menus;
    choose(main->mnuMain_Play, m.mnuMain_Play_Stretch);
    for (QAction *a : {m.mnuMain_View_ZoomIn, m.mnuMain_View_ZoomOut, m.mnuMain_View_ActualSize,
                       m.mnuMain_View_FitToWindow})
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
    user::pressKey(main.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_FALSE(zoom().zoomed());
    EXPECT_EQ(zoomPanel(), "");
    choose(main->mnuMain_Play, m.mnuMain_Play_Stretch);
    EXPECT_TRUE(m.mnuMain_View_ZoomIn->isEnabled());
    user::pressKey(main.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(zoomPanel(), "Zoom 125 %");
}

TEST_F(ViewerComfortTest, F11GoesFullScreenAndEscapeComesBackToTheListAsItWas)
{
    const QRect geometry = main->geometry();
    user::pressKey(main.get(), Qt::Key_F11);
    FullScreen &full = viewer().fullScreen();
    ASSERT_TRUE(full.active());
    QWidget *window = full.window();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_TRUE(window->isFullScreen());
    EXPECT_TRUE(zoom().zoomed());
    // Next and Previous from there walk the list, whose selection follows.
    user::pressKey(window, Qt::Key_Right);
    EXPECT_TRUE(list()->currentIndex().data().toString().startsWith("b.bmp"));
    EXPECT_EQ(zoom().view()->picture()->size(), QSize(120, 80));
    user::pressKey(window, Qt::Key_PageUp);
    EXPECT_TRUE(list()->currentIndex().data().toString().startsWith("a.bmp"));
    user::pressKey(window, Qt::Key_Escape);
    EXPECT_FALSE(full.active());
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    EXPECT_EQ(main->geometry(), geometry);
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == list(); }, 2000))
        << user::focusDescription().toStdString();
    EXPECT_FALSE(zoom().zoomed());
    // The list's keys work again at once.
    user::pressKey(main.get(), Qt::Key_Down);
    EXPECT_TRUE(list()->currentIndex().data().toString().startsWith("b.bmp"));
}

TEST_F(ViewerComfortTest, CtrlCCopiesTheListsSelectedFilesOrThePictureOnView)
{
    const QString a = tmp.filePath("c/Images/a.bmp"), b = tmp.filePath("c/Images/b.bmp");
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    // Both files selected in the list (Shift+Down), then Ctrl+C there: their URIs, not a caption.
    user::pressKey(main.get(), Qt::Key_Down, Qt::ShiftModifier);
    user::pressKey(main.get(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(clipboard->mimeData()->hasUrls()) << clipboard->text().toStdString();
    EXPECT_EQ(clipboard->mimeData()->urls(), (QList<QUrl>{QUrl::fromLocalFile(a), QUrl::fromLocalFile(b)}));
    EXPECT_TRUE(clipboard->mimeData()->hasFormat("text/uri-list"));
    EXPECT_FALSE(clipboard->mimeData()->hasImage());
    // What a drag from the list carries is the same.
    std::unique_ptr<QMimeData> dragged(SelectedFilesMimeData(app));
    ASSERT_TRUE(dragged);
    EXPECT_EQ(dragged->urls(), clipboard->mimeData()->urls());

    // A click on the picture gives the viewer the keyboard; Ctrl+C there copies the picture.
    ASSERT_TRUE(user::clickRow(list(), "a.bmp"));
    auto *bmp = viewer().page(mtBMP)->findChild<QWidget *>("picBMP");
    QTest::mouseClick(bmp, Qt::LeftButton, {}, {10, 10});
    ASSERT_TRUE(viewer().notebook()->isAncestorOf(QApplication::focusWidget()))
        << user::focusDescription().toStdString();
    clipboard->clear();
    user::pressKey(main.get(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(clipboard->mimeData()->hasImage());
    const QImage copied = qvariant_cast<QImage>(clipboard->mimeData()->imageData());
    EXPECT_EQ(copied.size(), QSize(240, 160));
    EXPECT_EQ(copied.pixel(5, 5), qRgb(40, 120, 200));
    EXPECT_EQ(clipboard->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(a)});

    // The viewer popup's "Copier l'image", on a right click on the picture.
    clipboard->clear();
    user::rightClick(bmp, {10, 10});
    QAction *copy = main->menus.popmnuVF_CopyPicture;
    ASSERT_TRUE(main->popmnuViewFile->isVisible());
    EXPECT_TRUE(copy->isVisible());
    QTest::mouseClick(main->popmnuViewFile, Qt::LeftButton, {},
                      main->popmnuViewFile->actionGeometry(copy).center());
    ASSERT_TRUE(clipboard->mimeData()->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(clipboard->mimeData()->imageData()).size(), QSize(240, 160));
}

TEST_F(ViewerComfortTest, AFolderDroppedIsScannedAndAFileDroppedIsShown)
{
    writeFile("c/Photos/c.bmp", bmp({64, 48}));
    const auto drop = [this](const QString &native) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(native)});
        const QPoint at = main->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main.get(), &dropped);
        EXPECT_TRUE(dropped.isAccepted());
    };
    const size_t scans = ui.modalWindows.size();
    drop(tmp.filePath("c/Photos"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ui.modalWindows.size() > scans; }, 5000));
    EXPECT_EQ(app.st.settings.Scan_Type, 1);
    EXPECT_EQ(app.st.settings.Starting_Folder, "C:\\Photos");

    ASSERT_TRUE(user::windowManagerActivates(main.get()));
    drop(tmp.filePath("c/Images/b.bmp"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return app.st.Viewed[mtBMP].FileName == "b.bmp"; }, 5000));
    EXPECT_EQ(viewer().currentViewerPage(), "BMP");

    // Text without a file is refused.
    QMimeData text;
    text.setText("bonjour");
    QDragEnterEvent enter(main->rect().center(), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(main.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(ViewerComfortTest, F9StartsTheSlideShowFromTheSelectedFileAndEscapeEndsIt)
{
    EXPECT_EQ(main->menus.mnuMain_Play_SlideShow->shortcut(), QKeySequence(Qt::Key_F9));
    user::pressKey(main.get(), Qt::Key_F9);
    Slideshow &show = viewer().slideshow();
    ASSERT_TRUE(show.running());
    FullScreen &full = viewer().fullScreen();
    ASSERT_TRUE(full.active());
    EXPECT_EQ(app.st.Viewed[mtBMP].FileName, "a.bmp");
    ASSERT_TRUE(QTest::qWaitForWindowActive(full.window()));
    user::pressKey(full.window(), Qt::Key_Escape);
    EXPECT_FALSE(show.running());
    EXPECT_FALSE(full.active());
    EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::focusWidget() == list(); }, 2000));
}
