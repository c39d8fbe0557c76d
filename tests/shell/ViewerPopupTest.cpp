// The viewer popup: its items follow the viewer toolbar of the type on view, its separators never
// stand two in a row, and its toggles, the Play menu's and the toolbar's act on the same buttons.
#include "ShellFixture.h"

#include "components/TGIFImage.h"
#include "components/TPicture.h"
#include "shell/ViewerPopup.h"
#include "support/UserInput.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/ViewerPage.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolButton>

namespace {

class ViewerPopupTest : public ShellFixture
{
protected:
    ViewerPopupTest() { createMain(); }

    QAction *item(const char *name) const { return main->findChild<QAction *>(QString::fromLatin1(name)); }
    // The popup as the user sees it: its visible items' names, in order.
    QStringList visibleItems() const
    {
        QStringList names;
        for (QAction *a : main->popmnuViewFile->actions())
            if (a->isVisible())
                names << a->objectName();
        return names;
    }
    // The toolbar of a type on view.
    void onView(MediaType t)
    {
        app.st.OnView.FileType = t;
        SetViewerButtons(viewer(), t);
    }
};

const MediaType kEveryType[] = {mtNone, mtANI, mtAVI, mtBMP, mtJPG, mtMID, mtWAV,
                                mtGIF,  mtPCX, mtTIF, mtWMF, mtEMF, mtICO};

} // namespace

TEST_F(ViewerPopupTest, ItsItemsFollowTheToolbarWithoutTwoSeparatorsInARow)
{
    ViewerPane &v = viewer();
    for (MediaType t : kEveryType) {
        for (bool pressed : {false, true}) {
            SCOPED_TRACE(code(t) * 2 + pressed);
            onView(t);
            for (QToolButton *b : {v.button(ViewerCommand::Loop), v.button(ViewerCommand::Stretch),
                                   v.button(ViewerCommand::Tile)})
                b->setChecked(pressed);
            UpdateViewerPopup(*main);
            const QStringList shown = visibleItems();
            ASSERT_FALSE(shown.isEmpty());
            EXPECT_FALSE(shown.first().contains("Tiret"));
            EXPECT_FALSE(shown.last().contains("Tiret"));
            for (qsizetype i = 1; i < shown.size(); ++i)
                EXPECT_FALSE(shown[i - 1].contains("Tiret") && shown[i].contains("Tiret"))
                    << shown.join(' ').toStdString();
            const std::pair<const char *, QToolButton *> mirrors[] = {
                {"popmnuVF_PlayFile", v.button(ViewerCommand::Play)},
                {"popmnuVF_StopPlayingFile", v.button(ViewerCommand::Stop)},
                {"popmnuVF_PreviewFile", v.button(ViewerCommand::Preview)},
                {"popmnuVF_Loop", v.button(ViewerCommand::Loop)},
                {"popmnuVF_Stretch", v.button(ViewerCommand::Stretch)},
                {"popmnuVF_Tile", v.button(ViewerCommand::Tile)},
            };
            for (const auto &[name, button] : mirrors) {
                EXPECT_EQ(shown.contains(name), button->isEnabled()) << name;
                if (item(name)->isCheckable()) {
                    EXPECT_EQ(item(name)->isChecked(), pressed) << name;
                }
            }
            EXPECT_EQ(item("popmnuVF_PlayFile")->text(), PlayCaptionOfType(v, t));
            for (const char *always : {"popmnuVF_SaveFile", "popmnuVF_Execute", "popmnuVF_Properties"})
                EXPECT_TRUE(shown.contains(always)) << always;
        }
    }
    // The empty page: no Play item, and what remains starts with Save.
    onView(mtNone);
    UpdateViewerPopup(*main);
    EXPECT_EQ(visibleItems(),
              (QStringList{"popmnuVF_SaveFile", "popmnuVF_Tiret_UnderSaveAs", "popmnuVF_Execute",
                           "popmnuVF_Convert", "popmnuVF_Tiret_UnderExecute", "popmnuVF_Properties"}));
}

TEST_F(ViewerPopupTest, PlayIsCaptionedByTheTypeOnView)
{
    const std::pair<MediaType, const char *> captions[] = {
        {mtWAV, "&Jouer le fichier"},
        {mtPCX, "&Rafraîchir l'image"},
        {mtGIF, "&Jouer/Rafraîchir l'image"},
    };
    for (const auto &[type, caption] : captions) {
        onView(type);
        UpdateViewerPopup(*main);
        EXPECT_EQ(item("popmnuVF_PlayFile")->text(), QString::fromUtf8(caption));
        EXPECT_TRUE(item("popmnuVF_PlayFile")->isVisible());
    }
}

TEST_F(ViewerPopupTest, ThePopupThePlayMenuAndTheToolbarToggleTheSameButtons)
{
    ViewerPane &v = viewer();
    struct Toggle
    {
        MediaType type;
        QToolButton *button;
        const char *popup;
        const char *menu;
        std::function<bool()> applied; // what the button's command did
    };
    const Toggle toggles[] = {
        {mtWAV, v.button(ViewerCommand::Loop), "popmnuVF_Loop", "mnuMain_Play_Loop",
         [this] { return app.st.Viewed[mtWAV].Repeat; }},
        {mtBMP, v.button(ViewerCommand::Stretch), "popmnuVF_Stretch", "mnuMain_Play_Stretch",
         [&v] { return v.page<TViewPageBMP>(mtBMP)->picBMP->stretch(); }},
        {mtGIF, v.button(ViewerCommand::Tile), "popmnuVF_Tile", "mnuMain_Play_Tile",
         [this, &v] { return v.page<TViewPageGIF>(mtGIF)->picGIF->tile() && app.st.Viewed[mtGIF].Tile; }},
    };
    for (const Toggle &t : toggles) {
        SCOPED_TRACE(t.popup);
        onView(t.type);
        ASSERT_FALSE(t.button->isChecked());
        item(t.popup)->trigger();
        EXPECT_TRUE(t.button->isChecked());
        EXPECT_TRUE(t.applied());
        item(t.menu)->trigger();
        EXPECT_FALSE(t.button->isChecked());
        EXPECT_FALSE(t.applied());
        t.button->click();
        EXPECT_TRUE(t.button->isChecked());
        EXPECT_TRUE(t.applied());
        UpdateViewerPopup(*main);
        EXPECT_TRUE(item(t.popup)->isChecked());
        item(t.popup)->trigger();
        EXPECT_FALSE(t.button->isChecked());
        EXPECT_FALSE(t.applied());
        UpdateViewerPopup(*main);
        EXPECT_FALSE(item(t.popup)->isChecked());
    }
}

TEST_F(ViewerPopupTest, ARightClickOnAPageOpensThePopupSetForTheTypeOnView)
{
    app.st.settings.First_Time = false;
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    onView(mtBMP);
    viewer().button(ViewerCommand::Stretch)->setChecked(true);
    TViewPageBMP *bmp = viewer().page<TViewPageBMP>(mtBMP);
    viewer().showViewerPage(bmp);
    user::rightClick(bmp->picBMP, QPoint(2, 2));
    EXPECT_TRUE(main->popmnuViewFile->isVisible());
    EXPECT_EQ(item("popmnuVF_PlayFile")->text(), QString::fromUtf8("&Rafraîchir l'image"));
    EXPECT_TRUE(item("popmnuVF_Stretch")->isVisible());
    EXPECT_TRUE(item("popmnuVF_Stretch")->isChecked());
    EXPECT_FALSE(item("popmnuVF_Loop")->isVisible());
    main->popmnuViewFile->hide();

    // A sound's page: Stop and Loop are reachable there.
    onView(mtWAV);
    QWidget *wav = viewer().page(mtWAV);
    viewer().showViewerPage(wav);
    user::rightClick(wav, QPoint(wav->width() / 2, wav->height() - 10));
    EXPECT_TRUE(main->popmnuViewFile->isVisible());
    EXPECT_EQ(item("popmnuVF_PlayFile")->text(), QString::fromUtf8("&Jouer le fichier"));
    EXPECT_TRUE(item("popmnuVF_StopPlayingFile")->isVisible());
    EXPECT_TRUE(item("popmnuVF_Loop")->isVisible());
    main->popmnuViewFile->hide();
}
