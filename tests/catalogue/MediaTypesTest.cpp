// Media types, tabs and the catalogue reset.
#include "catalogue/MediaTypes.h"
#include "catalogue/ListView.h"
#include "shell/Main.h"
#include "support/AppFixture.h"

#include <QTabWidget>
#include <QTreeWidget>

class MediaTypesTest : public AppFixture
{
protected:
    bool tabShown(int code) { return main->pcMain->isTabVisible(main->pcMain->indexOf(main->ts[code])); }
};

TEST(MediaTypeLookups, ExtensionsMapToTypesPicturesAndDescriptions)
{
    EXPECT_EQ(TypeOfFile("photo.jpg"), mtJPG);
    EXPECT_EQ(TypeOfFile("PHOTO.JPG"), mtJPG);
    EXPECT_EQ(TypeOfFile("C:\\a.b\\song.MiD"), mtMID);
    for (const char *name : {"photo.jpeg", "scan.tiff", "song.midi", "noextension", "C:\\a.bmp\\readme"}) {
        EXPECT_EQ(TypeOfFile(name), mtNone) << name;
        EXPECT_EQ(ListImageOfFile(name), 5) << name;
        EXPECT_EQ(DescriptionOfFile(name), "Fichier multimedia inconnu") << name;
    }
    EXPECT_EQ(ListImageOfFile("x.ani"), 7);
    EXPECT_EQ(ListImageOfFile("x.ico"), 18);
    EXPECT_EQ(DescriptionOfFile("x.wmf"), DescriptionOfFile("x.emf"));
    EXPECT_EQ(DescriptionOfFile("x.tif"), "Image 'Tagged Image Format'");
    EXPECT_EQ(PatternOfType(0), "*.*");
    EXPECT_EQ(PatternOfType(9), "*.TIF");
    EXPECT_EQ(PatternOfType(13), "*.???");
    EXPECT_EQ(PatternOfType(-1), "*.???");
}

TEST_F(MediaTypesTest, StartUpBuildsTheTablesInCodeOrder)
{
    createMain();
    EXPECT_EQ(app.st.Extensions[0].Extension, "$$$");
    EXPECT_EQ(app.st.Extensions[1].Extension, ".ANI");
    EXPECT_EQ(app.st.Extensions[12].Extension, ".ICO");
    EXPECT_TRUE(app.st.Extensions[13].Extension.isEmpty());
    EXPECT_EQ(app.st.TabSheets[11].Name, "EMF");
    EXPECT_TRUE(app.st.TabSheets[13].Name.isEmpty());
    EXPECT_EQ(app.st.CatalogueState.EnabledExtensions,
              ".ANI/.AVI/.BMP/.JPG/.MID/.WAV/.GIF/.PCX/.TIF/.WMF/.EMF/.ICO/");
    EXPECT_EQ(app.st.CatalogueState.EnabledCount, 13);
    EXPECT_EQ(app.st.CatalogueState.FirstType, 0);
    EXPECT_EQ(app.st.CatalogueState.FirstTree, main->tvALL());
    // Page order is not code order.
    EXPECT_EQ(TypeOfTabSheet(app, main->ts[mtEMF]), mtEMF);
    EXPECT_EQ(main->pcMain->indexOf(main->ts[mtEMF]), 4);
    EXPECT_EQ(PageIndexOfType(app, mtJPG), 7);
    EXPECT_EQ(app.st.TabSheets[mtJPG].PageIndex, 7);
}

TEST_F(MediaTypesTest, ADisabledTypeMatchesNothingNotEvenOnTheAllTab)
{
    writeSettings({"Scan_File_GIF=0"});
    createMain();
    const AppState &st = app.st;
    EXPECT_FALSE(st.CatalogueState.EnabledExtensions.contains(".GIF/"));
    EXPECT_FALSE(FileMatchesType(st, "a.gif", mtGIF));
    EXPECT_FALSE(FileMatchesType(st, "a.gif", mtALL));
    EXPECT_TRUE(FileMatchesType(st, "a.bmp", mtBMP));
    EXPECT_TRUE(FileMatchesType(st, "a.BMP", mtALL));
    EXPECT_FALSE(FileMatchesType(st, "a.bmp", mtGIF));
    EXPECT_FALSE(FileMatchesType(st, "noext", mtALL));
    EXPECT_FALSE(FileMatchesType(st, "a.bmp", 13));
    EXPECT_EQ(PageIndexOfType(app, mtGIF), -1);
    EXPECT_EQ(app.st.TabSheets[mtGIF].PageIndex, -1);
}

TEST_F(MediaTypesTest, WithEveryTypeDisabledOnlyAllRemains)
{
    QStringList lines;
    for (const char *t : {"ANI", "AVI", "BMP", "JPG", "MID", "WAV", "GIF", "PCX", "TIF", "WMF", "EMF", "ICO"})
        lines << QStringLiteral("Scan_File_%1=0").arg(t);
    writeSettings(lines);
    createMain();
    EXPECT_TRUE(app.st.CatalogueState.EnabledExtensions.isEmpty());
    EXPECT_EQ(app.st.CatalogueState.EnabledCount, 1);
    EXPECT_FALSE(FileMatchesType(app.st, "a.bmp", mtALL));
    EXPECT_EQ(main->tvALL()->topLevelItemCount(), 1);
    EXPECT_EQ(main->tv[mtBMP]->topLevelItemCount(), 0);
}

TEST_F(MediaTypesTest, ResetLeavesOnlyTheRootsAndTheAllTabActive)
{
    createMain();
    for (int code = 0; code <= 12; ++code) {
        auto *extra = new QTreeWidgetItem(main->tv[code]->topLevelItem(0));
        extra->setText(0, "(C:)");
        main->lv[code]->addItem({"x.bmp", 9, {}, {}, {}});
    }
    main->pcMain->setCurrentWidget(main->ts[mtBMP]);
    app.st.CurrentView.CurrentFolder = "C:\\x\\";
    ResetCatalogue(app);
    for (int code = 0; code <= 12; ++code) {
        ASSERT_EQ(main->tv[code]->topLevelItemCount(), 1);
        EXPECT_EQ(main->tv[code]->topLevelItem(0)->childCount(), 0);
        EXPECT_EQ(main->tv[code]->topLevelItem(0)->text(0), "Poste de travail");
        EXPECT_EQ(main->lv[code]->count(), 0);
    }
    EXPECT_EQ(main->pcMain->currentIndex(), 0);
    EXPECT_TRUE(app.st.CurrentView.CurrentFolder.isEmpty());
    EXPECT_EQ(main->currentViewerPage(), "VIDE");
}

TEST_F(MediaTypesTest, TypeTabsShowWhenTheirTreeReceivedFolders)
{
    createMain();
    for (int code = 1; code <= 12; ++code)
        EXPECT_FALSE(tabShown(code)) << code; // Show_Non_Empty_Tabs hides them at start
    EXPECT_TRUE(tabShown(0));
    new QTreeWidgetItem(main->tv[mtWAV]->topLevelItem(0));
    ShowNonEmptyTypeTabs(app, true);
    for (int code = 1; code <= 12; ++code)
        EXPECT_EQ(tabShown(code), code == mtWAV) << code;
    SetTypeTabsVisible(app, true);
    EXPECT_TRUE(tabShown(mtBMP));
    ShowNonEmptyTypeTabs(app, false);
    EXPECT_FALSE(tabShown(mtWAV));
}

TEST_F(MediaTypesTest, AResetHidesADisabledTabButNeverShowsOne)
{
    writeSettings({"Show_Non_Empty_Tabs=0"});
    createMain();
    EXPECT_TRUE(tabShown(mtPCX));
    app.st.settings.ScanFileFlags[mtPCX] = false;
    ResetCatalogue(app);
    EXPECT_FALSE(tabShown(mtPCX));
    app.st.settings.ScanFileFlags[mtPCX] = true;
    ResetCatalogue(app);
    EXPECT_FALSE(tabShown(mtPCX));
    EXPECT_EQ(main->tv[mtPCX]->topLevelItemCount(), 1);
}

TEST_F(MediaTypesTest, ChangingTabsMakesItsTypeCurrentAndSelectsTheRoot)
{
    writeSettings({"Show_Non_Empty_Tabs=0"});
    createMain();
    main->pcMain->setCurrentWidget(main->ts[mtJPG]); // the tab's change handler runs
    EXPECT_EQ(app.st.CurrentView.CurrentType, mtJPG);
    EXPECT_EQ(app.st.CurrentView.CurrentTree, main->tv[mtJPG]);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, main->tv[mtJPG]->topLevelItem(0));
    EXPECT_EQ(app.st.Selection.ListView, main->lv[mtJPG]);
}

TEST_F(MediaTypesTest, LookupsOutsideTheirDomainEndTheProgramWithTheirNumber)
{
    createMain();
    struct Case
    {
        int number;
        std::function<void()> call;
    };
    const Case cases[] = {
        {20, [&] { TreeViewOfExtension(app, ".XYZ"); }}, {21, [&] { TypeOfTabSheet(app, main->nbkViewer); }},
        {22, [&] { ListViewOfType(app, 13); }},          {23, [&] { TreeViewOfType(app, -1); }},
        {5, [&] { PageIndexOfType(app, 40); }},
    };
    for (const Case &c : cases) {
        ui.answerMessage(platform::mbOK);
        EXPECT_THROW(c.call(), ProcessExit) << c.number;
        EXPECT_TRUE(ui.messages.back().text.startsWith(
            QStringLiteral("ERREUR INTERNE IRRECUPERABLE #%1\n").arg(c.number)))
            << c.number;
    }
}
