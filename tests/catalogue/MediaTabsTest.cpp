// The type and tab tables, the tabs' visibility, the tab change and the catalogue reset.
#include "CatalogueFixture.h"

#include "app/MediaTypes.h"

#include "catalogue/TypeTabs.h"
#include <functional>

class MediaTabsTest : public CatalogueFixture
{
};

TEST_F(MediaTabsTest, StartUpBuildsTheTablesInCodeOrder)
{
    start();
    EXPECT_EQ(app.st.Extensions[0].Extension, "$$$");
    EXPECT_EQ(app.st.Extensions[1].Extension, ".ANI");
    EXPECT_EQ(app.st.Extensions[12].Extension, ".ICO");
    EXPECT_EQ(app.st.Extensions[13].Extension, ".PNG");
    EXPECT_EQ(app.st.Extensions[19].Extension, ".MKV");
    EXPECT_TRUE(app.st.Extensions[20].Extension.isEmpty());
    EXPECT_EQ(app.st.TabSheets[11].Name, "EMF");
    EXPECT_EQ(app.st.TabSheets[14].Name, "WEBP");
    EXPECT_TRUE(app.st.TabSheets[20].Name.isEmpty());
    EXPECT_EQ(app.st.CatalogueState.EnabledExtensions,
              ".ANI/.AVI/.BMP/.JPG/.MID/.WAV/.GIF/.PCX/.TIF/.WMF/.EMF/.ICO/.PNG/.APNG/.WEBP/.MP3/.OGG/.OGA/"
              ".OPUS/.FLAC/.MP4/.M4V/.MOV/.MKV/.WEBM/");
    EXPECT_EQ(app.st.CatalogueState.EnabledCount, 20);
    // The later tabs follow the twelve's, captioned by their codes.
    EXPECT_EQ(pane->pcMain->indexOf(pane->sheet(mtPNG)), 13);
    EXPECT_EQ(pane->pcMain->indexOf(pane->sheet(mtMKV)), 19);
    EXPECT_EQ(pane->pcMain->tabText(pane->pcMain->indexOf(pane->sheet(mtFLAC))), "FLAC");
    EXPECT_EQ(app.st.CatalogueState.FirstType, mtALL);
    EXPECT_EQ(app.st.CatalogueState.FirstTree, mtALL);
    // Page order is not code order.
    EXPECT_EQ(TypeOfTabSheet(*pane, pane->sheet(mtEMF)), mtEMF);
    EXPECT_EQ(pane->pcMain->indexOf(pane->sheet(mtEMF)), 4);
    EXPECT_EQ(PageIndexOfType(app, mtJPG), 7);
    EXPECT_EQ(app.st.TabSheets[mtJPG].PageIndex, 7);
    for (MediaType t : kAllTypes)
        EXPECT_EQ(PageIndexOfType(app, t), pane->pcMain->indexOf(pane->sheet(t))) << code(t);
}

TEST_F(MediaTabsTest, ADisabledTypeMatchesNothingNotEvenOnTheAllTab)
{
    start({"Scan_File_GIF=0"});
    const AppState &st = app.st;
    EXPECT_FALSE(st.CatalogueState.EnabledExtensions.contains(".GIF/"));
    EXPECT_FALSE(FileMatchesType(st, "a.gif", mtGIF));
    EXPECT_FALSE(FileMatchesType(st, "a.gif", mtALL));
    EXPECT_TRUE(FileMatchesType(st, "a.bmp", mtBMP));
    EXPECT_TRUE(FileMatchesType(st, "a.BMP", mtALL));
    EXPECT_FALSE(FileMatchesType(st, "a.bmp", mtGIF));
    EXPECT_FALSE(FileMatchesType(st, "noext", mtALL));
    EXPECT_FALSE(FileMatchesType(st, "a.bmp", mediaTypeOf(20)));
    EXPECT_EQ(PageIndexOfType(app, mtGIF), -1);
    EXPECT_EQ(app.st.TabSheets[mtGIF].PageIndex, -1);
}

TEST_F(MediaTabsTest, WithEveryTypeDisabledOnlyAllRemains)
{
    QStringList lines;
    for (const char *t : {"ANI", "AVI", "BMP", "JPG", "MID", "WAV", "GIF", "PCX", "TIF", "WMF", "EMF", "ICO"})
        lines << QStringLiteral("Scan_File_%1=0").arg(t);
    for (const char *t : {"PNG", "WEBP", "MP3", "OGG", "FLAC", "MP4", "MKV"})
        lines << QStringLiteral("Scan_%1=0").arg(t);
    start(lines);
    EXPECT_TRUE(app.st.CatalogueState.EnabledExtensions.isEmpty());
    EXPECT_EQ(app.st.CatalogueState.EnabledCount, 1);
    EXPECT_FALSE(FileMatchesType(app.st, "a.bmp", mtALL));
    EXPECT_NE(root(mtALL), kNoNode);
    EXPECT_EQ(root(mtBMP), kNoNode);
    EXPECT_EQ(tree(mtBMP)->model()->rowCount(), 0);
}

TEST_F(MediaTabsTest, ResetLeavesOnlyTheRootsAndTheAllTabActive)
{
    start();
    for (MediaType t : kAllTypes) {
        addFolder(t, "C:\\x\\");
        TListItem item;
        item.caption = "x.bmp";
        item.image = 9;
        list(t)->addItem(item);
    }
    pane->pcMain->setCurrentWidget(pane->sheet(mtBMP));
    app.st.CurrentView.CurrentFolder = "C:\\x\\";
    const int emptyPagesBefore = viewer.emptyPages;
    ResetCatalogue(*pane);
    for (MediaType t : kAllTypes) {
        ASSERT_NE(root(t), kNoNode);
        EXPECT_EQ(store().childCount(root(t)), 0);
        EXPECT_EQ(store().name(root(t)), "Poste de travail");
        EXPECT_EQ(list(t)->count(), 0);
        EXPECT_EQ(tree(t)->model()->rowCount(tree(t)->model()->index(0, 0)), 0);
    }
    EXPECT_EQ(pane->pcMain->currentIndex(), 0);
    EXPECT_TRUE(app.st.CurrentView.CurrentFolder.isEmpty());
    EXPECT_EQ(viewer.emptyPages, emptyPagesBefore + 1);
}

TEST_F(MediaTabsTest, TypeTabsShowWhenTheirTreeReceivedFolders)
{
    start();
    for (MediaType t : kMediaTypes)
        EXPECT_FALSE(tabShown(t)) << code(t); // Show_Non_Empty_Tabs hides them at start
    EXPECT_TRUE(tabShown(mtALL));
    addFolder(mtWAV, "C:\\");
    ShowNonEmptyTypeTabs(*pane, true);
    for (MediaType t : kMediaTypes)
        EXPECT_EQ(tabShown(t), t == mtWAV) << code(t);
    SetTypeTabsVisible(*pane, true);
    EXPECT_TRUE(tabShown(mtBMP));
    ShowNonEmptyTypeTabs(*pane, false);
    EXPECT_FALSE(tabShown(mtWAV));
}

TEST_F(MediaTabsTest, AResetHidesADisabledTabButNeverShowsOne)
{
    start({"Show_Non_Empty_Tabs=0"});
    EXPECT_TRUE(tabShown(mtPCX));
    app.st.settings.ScanFileFlags[code(mtPCX)] = false;
    ResetCatalogue(*pane);
    EXPECT_FALSE(tabShown(mtPCX));
    app.st.settings.ScanFileFlags[code(mtPCX)] = true;
    ResetCatalogue(*pane);
    EXPECT_FALSE(tabShown(mtPCX));
    EXPECT_NE(root(mtPCX), kNoNode);
}

TEST_F(MediaTabsTest, ChangingTabsMakesItsTypeCurrentAndSelectsTheRoot)
{
    start({"Show_Non_Empty_Tabs=0"});
    pane->pcMain->setCurrentWidget(pane->sheet(mtJPG)); // the tab's change handler runs
    EXPECT_EQ(app.st.CurrentView.CurrentType, mtJPG);
    EXPECT_EQ(app.st.CurrentView.CurrentTree, mtJPG);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root(mtJPG));
    EXPECT_EQ(tree(mtJPG)->currentNode(), root(mtJPG));
    EXPECT_EQ(app.st.Selection.List, mtJPG);
}

TEST_F(MediaTabsTest, LookupsOutsideTheirDomainEndTheProgramWithTheirNumber)
{
    start();
    struct Case
    {
        int number;
        std::function<void()> call;
    };
    const Case cases[] = {
        {20, [&] { TreeOfExtension(app, ".XYZ"); }},
        {21, [&] { TypeOfTabSheet(*pane, host.get()); }},
        {22, [&] { ListViewOfType(*pane, mediaTypeOf(20)); }},
        {23, [&] { TreeViewOfType(*pane, mtNone); }},
        {5, [&] { PageIndexOfType(app, mediaTypeOf(40)); }},
    };
    for (const Case &c : cases) {
        ui.answerMessage(platform::mbOK);
        EXPECT_THROW(c.call(), ProcessExit) << c.number;
        EXPECT_TRUE(ui.messages.back().text.startsWith(
            QStringLiteral("ERREUR INTERNE IRRECUPERABLE #%1\n").arg(c.number)))
            << c.number;
    }
}
