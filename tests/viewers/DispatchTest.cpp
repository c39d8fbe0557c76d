// The viewer dispatch: the toolbar by type, the Play caption, the page and background of each type,
// the internal errors of impossible types, and what the commands do with nothing on view.
#include "ViewerFixture.h"
#include "ViewerMedia.h"
#include "support/UserInput.h"

#include "components/media/TMediaPlayer.h"
#include "viewers/View_ANI.h"
#include "viewers/View_AVI.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_ICO.h"
#include "viewers/View_ImageEn.h"
#include "viewers/View_JPG.h"
#include "viewers/View_Sound.h"

#include <QAccessible>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QToolBar>

using namespace viewertest;

namespace {

class DispatchTest : public ViewerFixture
{
protected:
    // Enabled states of Play, Stop, Preview, Loop, Stretch, Tile, as a string of 0 and 1.
    QString buttons() const
    {
        QString s;
        for (const QToolButton *b : {pane->button(ViewerCommand::Play), pane->button(ViewerCommand::Stop),
                                     pane->button(ViewerCommand::Preview), pane->button(ViewerCommand::Loop),
                                     pane->button(ViewerCommand::Stretch), pane->button(ViewerCommand::Tile)})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    bool navigationOffered() const
    {
        return pane->button(ViewerCommand::First)->isEnabled() &&
               pane->button(ViewerCommand::Previous)->isEnabled() &&
               pane->button(ViewerCommand::Next)->isEnabled() &&
               pane->button(ViewerCommand::Last)->isEnabled();
    }

    // One good file of each type in C:\Images\.
    void putOneOfEach()
    {
        put("pictures/cursor.ani");
        put("media/raw8_silent.avi");
        put("pictures/rose.bmp");
        put("pictures/rose.jpg");
        putBytes("tune.mid", midiBytes(300));
        putBytes("sound.wav", wavBytes(300));
        put("pictures/rose.gif");
        put("pictures/rose.pcx");
        put("pictures/rose.tif");
        putBytes("shapes.wmf", wmfBytes({192, 96}));
        putBytes("shapes.emf", emfBytes({192, 96}));
        put("pictures/rose.ico");
    }
};

struct TypeRow
{
    MediaType type;
    const char *file;
    const char *page;
    const char *buttons; // Play, Stop, Preview, Loop, Stretch, Tile
    const char *caption;
};

const TypeRow kTypes[] = {
    {mtANI, "cursor.ani", "ANI", "110000", "&Jouer le fichier"},
    {mtAVI, "raw8_silent.avi", "AVI_WIN", "111100", "&Jouer le fichier"},
    {mtBMP, "rose.bmp", "BMP", "101010", "&Rafraîchir l'image"},
    {mtJPG, "rose.jpg", "JPG", "101010", "&Rafraîchir l'image"},
    {mtMID, "tune.mid", "MID", "110100", "&Jouer le fichier"},
    {mtWAV, "sound.wav", "WAV", "110100", "&Jouer le fichier"},
    {mtGIF, "rose.gif", "GIF", "111001", "&Jouer/Rafraîchir l'image"},
    {mtPCX, "rose.pcx", "PCX", "101000", "&Rafraîchir l'image"},
    {mtTIF, "rose.tif", "TIF", "101000", "&Rafraîchir l'image"},
    {mtWMF, "shapes.wmf", "WMF", "101000", "&Rafraîchir l'image"},
    {mtEMF, "shapes.emf", "EMF", "101000", "&Rafraîchir l'image"},
    {mtICO, "rose.ico", "ICO", "100000", "&Rafraîchir l'image"},
};

QColor windowColour(const QWidget *w)
{
    return w->palette().color(QPalette::Window);
}

} // namespace

TEST_F(DispatchTest, TheToolbarStartsWithTheNavigationOnly)
{
    EXPECT_EQ(page(), "VIDE");
    EXPECT_TRUE(navigationOffered());
    EXPECT_EQ(buttons(), "000000");
    EXPECT_FALSE(pane->button(ViewerCommand::Loop)->isChecked() ||
                 pane->button(ViewerCommand::Stretch)->isChecked() ||
                 pane->button(ViewerCommand::Tile)->isChecked());
}

TEST_F(DispatchTest, WhatTabReachesInThePaneIsNamedAndAClickLeavesTheFocusWhereItWas)
{
    QStringList unnamed;
    int reached = 0;
    for (QWidget *w : pane->findChildren<QWidget *>()) {
        if (!(w->focusPolicy() & Qt::TabFocus))
            continue;
        ++reached;
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << w->objectName() + " (" + w->metaObject()->className() + ")";
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(", ").toStdString();
    // The ten buttons and the scroll boxes of the picture pages at least.
    EXPECT_GE(reached, 10 + 7);
    for (QToolButton *b : pane->toolBar()->findChildren<QToolButton *>()) {
        if (!b->objectName().startsWith("btn"))
            continue; // the bar's own extension button
        EXPECT_EQ(b->focusPolicy(), Qt::TabFocus) << b->objectName().toStdString();
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(pane->viewerPage("BMP")->findChild<QScrollArea *>())
                  ->text(QAccessible::Name),
              "Image BMP");
}

TEST_F(DispatchTest, EachTypeEnablesItsRowOfButtonsAndCaptionsPlay)
{
    for (const TypeRow &row : kTypes) {
        SCOPED_TRACE(row.page);
        // Navigation taken away by an earlier First must come back with any type.
        pane->button(ViewerCommand::First)->setEnabled(false);
        SetViewerButtons(*pane, row.type);
        EXPECT_TRUE(navigationOffered());
        EXPECT_EQ(buttons(), row.buttons);
        EXPECT_EQ(PlayCaptionOfType(*pane, row.type), QString::fromUtf8(row.caption));
    }
    SetViewerButtons(*pane, mtNone);
    EXPECT_TRUE(navigationOffered());
    EXPECT_EQ(buttons(), "000000");
    EXPECT_EQ(PlayCaptionOfType(*pane, mtNone), QString());
}

TEST_F(DispatchTest, EachTypeIsShownOnItsPageWithItsButtonsAndBackground)
{
    putOneOfEach();
    for (const TypeRow &row : kTypes) {
        SCOPED_TRACE(row.page);
        show(row.file);
        EXPECT_EQ(page(), row.page);
        EXPECT_EQ(app.st.OnView.FileType, row.type);
        EXPECT_EQ(buttons(), row.buttons);
        EXPECT_TRUE(navigationOffered());
        EXPECT_FALSE(busy());
        // The empty page with the file item still selected offers Play alone.
        pane->showEmptyPage();
        EXPECT_EQ(app.st.OnView.FileType, mtNone);
        EXPECT_EQ(buttons(), "100000");
    }
    EXPECT_TRUE(ui.messages.empty());

    // The backgrounds the page changes applied.
    EXPECT_EQ(windowColour(pane->page<TViewPageBMP>(mtBMP)->scrollBMP), QColor(0xD1, 0xEB, 0xFE));
    EXPECT_EQ(windowColour(pane->page<TViewPageJPG>(mtJPG)->scrollJPG), QColor(0xFD, 0xFD, 0xC1));
    EXPECT_EQ(windowColour(pane->page<TViewPageGIF>(mtGIF)->ScrollGIF), QColor(Qt::white));
    EXPECT_EQ(windowColour(pane->page<TViewPageImageEn>(mtPCX)->scroll()), QColor(0x80, 0xFF, 0x80));
    EXPECT_EQ(windowColour(pane->page<TViewPageImageEn>(mtTIF)->scroll()), QColor(0x80, 0x80, 0xC0));
    EXPECT_EQ(windowColour(pane->page<TViewPageImageEn>(mtWMF)->scroll()), QColor(0x80, 0xFF, 0xFF));
    EXPECT_EQ(windowColour(pane->page<TViewPageImageEn>(mtEMF)->scroll()), QColor(0x40, 0x80, 0x80));
    EXPECT_EQ(windowColour(pane->page<TViewPageAVI_WIN>(mtAVI)->pageAVI_VIDEO->ListViewAVIPlayer),
              QColor(0x00, 0x80, 0x80));
    for (QLabel *tiled : {pane->page<TViewPageANI>(mtANI)->picBackgroundANI,
                          pane->page<TViewPageAVI_WIN>(mtAVI)->picBackGroundAVI_WIN,
                          pane->page<TViewPageMID>(mtMID)->picBackgroundMID,
                          pane->page<TViewPageWAV>(mtWAV)->picBackgroundWAV,
                          pane->page<TViewPageICO>(mtICO)->picBackgroundICO}) {
        SCOPED_TRACE(tiled->objectName().toStdString());
        const QPixmap tile = tiled->pixmap();
        ASSERT_FALSE(tile.isNull());
        EXPECT_EQ(tile.size(), tiled->size());
    }
}

TEST_F(DispatchTest, ARightClickOnEveryPageThatShowsAFileAsksForTheViewerPopup)
{
    putOneOfEach();
    put("media/mpeg4_sound.avi"); // refused by the animation control: played on AVI_VIDEO
    QSignalSpy asked(pane, &ViewerPane::viewFileContextMenuRequested);
    std::vector<std::pair<QString, QString>> files;
    for (const TypeRow &row : kTypes)
        files.emplace_back(QString::fromLatin1(row.file), QString::fromLatin1(row.page));
    files.emplace_back(QStringLiteral("mpeg4_sound.avi"), QStringLiteral("AVI_VIDEO"));
    for (const auto &[file, name] : files) {
        SCOPED_TRACE(name.toStdString());
        show(file);
        ASSERT_EQ(page(), name);
        QWidget *shown = pane->notebook()->currentWidget();
        // Where a user would click: the middle of the page, on whatever control is there.
        const QPoint middle(shown->width() / 2, shown->height() / 2);
        QWidget *under = shown->childAt(middle);
        QWidget *target = under ? under : shown;
        const int before = int(asked.count());
        user::rightClick(target, target->mapFrom(shown, middle));
        EXPECT_EQ(int(asked.count()), before + 1) << target->objectName().toStdString();
        pane->stopPlayback();
    }
    // The empty page keeps its own popup (About), not the file's.
    pane->showEmptyPage();
    const int before = int(asked.count());
    QWidget *vide = pane->notebook()->currentWidget();
    user::rightClick(vide, QPoint(4, vide->height() - 4));
    EXPECT_EQ(int(asked.count()), before);
}

TEST_F(DispatchTest, NoLoadRunsBeforeTheWindowIsReady)
{
    putOneOfEach();
    app.st.FormReady = false;
    for (const TypeRow &row : kTypes) {
        SCOPED_TRACE(row.page);
        ShowFileByType(*pane, row.type, drivePath(row.file));
        EXPECT_EQ(page(), "VIDE");
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(app.st.Viewed[mtBMP].Path.isEmpty());
    EXPECT_TRUE(app.st.Viewed[mtJPG].Path.isEmpty());
    EXPECT_TRUE(app.st.Viewed[mtGIF].Path.isEmpty());
    EXPECT_TRUE(app.st.Viewed[mtPCX].Path.isEmpty());
    EXPECT_TRUE(app.st.Viewed[mtWAV].Path.isEmpty());
    EXPECT_TRUE(app.st.Viewed[mtAVI].Path.isEmpty());
    EXPECT_TRUE(app.st.Viewed[mtANI].Path.isEmpty());
    EXPECT_EQ(pane->page<TViewPageWAV>(mtWAV)->MediaPlayerWAV->DeviceID(), 0u);
    EXPECT_FALSE(busy());
}

TEST_F(DispatchTest, ImpossibleTypesEndTheProgramWithTheNumberOfTheOperation)
{
    struct Case
    {
        int number;
        const char *text;
        std::function<void()> run;
    };
    // The first code past the table (13 was once past it; it is PNG now).
    const MediaType pastTheTable = static_cast<MediaType>(kTypeCount);
    const MediaType minusTwo = static_cast<MediaType>(-2);
    auto withType = [this](MediaType t, std::function<void()> f) {
        return [this, t, f] {
            app.st.OnView.FileType = t;
            f();
        };
    };
    const Case cases[] = {
        {3, "Extension inconnue", [&] { ShowFileByType(*pane, mtALL, drivePath("a.bmp")); }},
        {3, "Extension inconnue", [&] { ShowFileByType(*pane, mtNone, drivePath("a.bmp")); }},
        {4, "Type de fichier inconnu", withType(mtALL, [&] { PreviewCurrentFile(*pane); })},
        {4, "Type de fichier inconnu", withType(pastTheTable, [&] { PreviewCurrentFile(*pane); })},
        {6, "Type de fichier incorrect", withType(mtALL, [&] { StopCurrentFile(*pane); })},
        {6, "Type de fichier incorrect", withType(minusTwo, [&] { StopCurrentFile(*pane); })},
        {7, "Type de fichier incorrect", [&] { ApplyPageBackground(*pane, mtALL); }},
        {7, "Type de fichier incorrect", [&] { ApplyPageBackground(*pane, pastTheTable); }},
        {9, "Type de fichier incorrect", [&] { SetViewerButtons(*pane, mtALL); }},
        {9, "Type de fichier incorrect", [&] { SetViewerButtons(*pane, minusTwo); }},
        {11, "Type de fichier incorrect", [&] { PlayCaptionOfType(*pane, mtALL); }},
        {11, "Type de fichier incorrect", [&] { PlayCaptionOfType(*pane, pastTheTable); }},
        {18, "Type de fichier incorrect", withType(mtALL, [&] { SetLoopOfType(*pane, true); })},
        {18, "Type de fichier incorrect", withType(pastTheTable, [&] { SetLoopOfType(*pane, false); })},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        const QString text = internalError(c.run);
        EXPECT_TRUE(text.contains(QStringLiteral("#%1\n").arg(c.number))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString::fromUtf8(c.text))) << text.toStdString();
    }
}

TEST_F(DispatchTest, PlayOfAFileItemOfNoKnownTypeEndsTheProgramWithError2)
{
    putBytes("notes.txt", "text");
    select("notes.txt");
    ui.answerMessage(platform::mbOK);
    EXPECT_THROW(pane->button(ViewerCommand::Play)->click(), ProcessExit);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains("#2\n"));
    EXPECT_TRUE(ui.messages[0].text.endsWith("Type de fichier inconnu."));
}

TEST_F(DispatchTest, WithNothingOnViewPreviewAndStopDoNothing)
{
    put("pictures/rose.bmp");
    app.st.OnView.FileType = mtNone;
    PreviewCurrentFile(*pane);
    StopCurrentFile(*pane);
    SetLoopOfType(*pane, true);
    EXPECT_TRUE(ui.modalWindows.empty());
    EXPECT_TRUE(ui.beeps.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(page(), "VIDE");
    // Nor does Play without a file item.
    pane->play();
    EXPECT_EQ(page(), "VIDE");
    list.rows = {{"Sub", false}};
    app.st.Selection.Item = 0;
    app.st.Selection.ItemKind = ListItemKind::Folder;
    app.st.Selection.FileName = "Sub";
    pane->selectionChanged();
    EXPECT_EQ(buttons(), "000000");
    pane->play();
    EXPECT_EQ(page(), "VIDE");
}

TEST_F(DispatchTest, TypesWithoutAPreviewOnlyBeep)
{
    put("pictures/cursor.ani");
    putBytes("tune.mid", midiBytes(300));
    putBytes("sound.wav", wavBytes(300));
    put("pictures/rose.ico");
    int expected = 0;
    for (const char *name : {"cursor.ani", "tune.mid", "sound.wav", "rose.ico"}) {
        SCOPED_TRACE(name);
        show(name);
        PreviewCurrentFile(*pane);
        EXPECT_EQ(plainBeeps(), ++expected);
    }
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(DispatchTest, AFileSelectedButNotShownCanBePlayedFromTheEmptyPage)
{
    app.st.settings.Wiew_When_Click_ListView = false;
    put("pictures/rose.bmp");
    select("rose.bmp");
    EXPECT_EQ(page(), "VIDE");
    EXPECT_EQ(app.st.Selection.FileType, mtBMP);
    EXPECT_EQ(buttons(), "100000");
    pane->button(ViewerCommand::Play)->click();
    EXPECT_EQ(page(), "BMP");
    EXPECT_EQ(buttons(), "101010");
    EXPECT_EQ(app.st.Viewed[mtBMP].FileName, "rose.bmp");
}

TEST_F(DispatchTest, APlayAskedForWhileALoadLetsEventsRunIsIgnored)
{
    putBytes("a.wav", wavBytes(300));
    put("pictures/rose.bmp");
    // The sound's load lets pending events run before it opens the device; a Play queued for
    // another file comes through then.
    QMetaObject::invokeMethod(
        pane,
        [this] {
            select("rose.bmp");
            pane->play();
        },
        Qt::QueuedConnection);
    show("a.wav");
    EXPECT_EQ(page(), "WAV");
    EXPECT_EQ(app.st.Viewed[mtWAV].Path, drivePath("a.wav"));
    EXPECT_TRUE(app.st.Viewed[mtBMP].Path.isEmpty());
    EXPECT_NE(pane->page<TViewPageWAV>(mtWAV)->MediaPlayerWAV->DeviceID(), 0u);
    EXPECT_FALSE(pane->loading());
    // Once the load is over, Play works again.
    pane->play();
    EXPECT_EQ(page(), "BMP");
}
