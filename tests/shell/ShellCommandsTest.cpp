// The main window's commands and their wiring to the panes: the view-style buttons and items, the
// scan button and F5, the tree commands of the toolbar, the menu and the popup.
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "shell/TbarMain.h"

#include <QAction>
#include <QDialog>
#include <QTest>
#include <QToolButton>

class ShellCommandsTest : public ShellFixture
{
protected:
    // Shows a folder of the ALL tree in its list, as a click on its node does.
    void openFolder(const QString &path)
    {
        const NodeId n = main->catalogue.store.addFolder(mtALL, path, 3);
        app.st.CurrentView.CurrentType = mtALL;
        app.st.Selection.List = mtALL;
        pane().tree(mtALL)->setCurrentNodeQuietly(n);
        tvALLChange(pane(), mtALL, n);
    }
};

TEST_F(ShellCommandsTest, StartUpPressesTheButtonOfTheSettingAndWritesItAndTheScanMode)
{
    writeSettings({"Icon_Style=2"});
    createMain();
    EXPECT_TRUE(main->btnListIcon->isChecked());
    EXPECT_FALSE(main->btnLargeIcon->isChecked());
    for (TListView *list : pane().lv)
        EXPECT_EQ(list->viewStyle(), 2);
    EXPECT_TRUE(settingsText().contains("Icon_Style=2"));
    EXPECT_TRUE(settingsText().contains("Scan_Type=0"));
}

TEST_F(ShellCommandsTest, AStyleOutsideTheFourInTheSettingsEndsTheStartWithError12)
{
    writeSettings({"Icon_Style=7"});
    const QString text = internalError([&] { createMain(); });
    EXPECT_TRUE(text.contains("#12")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Style d'icône ivalide.")) << text.toStdString();
}

TEST_F(ShellCommandsTest, AViewButtonStylesTheCurrentListAndSavesTheSetting)
{
    writeSettings({"Icon_Style=0"});
    createMain();
    writeFile("c/P/a.bmp");
    main->catalogue.store.addFolder(mtBMP, u"C:\\P\\", 3);
    openFolder("C:\\P\\");
    app.st.Selection.List = mtBMP;
    main->btnReportIcon->click();
    EXPECT_EQ(app.st.settings.Icon_Style, 3);
    EXPECT_TRUE(settingsText().contains("Icon_Style=3"));
    EXPECT_TRUE(main->btnReportIcon->isChecked());
    EXPECT_FALSE(main->btnLargeIcon->isChecked());
    EXPECT_EQ(ViewStyleOf(app, pane().list(mtBMP)), 3);
    // Other lists take the style when they are filled again.
    EXPECT_EQ(ViewStyleOf(app, pane().list(mtALL)), 0);
    openFolder("C:\\P\\");
    EXPECT_EQ(ViewStyleOf(app, pane().list(mtALL)), 3);

    main->menus.mnuMain_View_SmallIcon->trigger();
    EXPECT_EQ(ViewStyleOf(app, pane().list(mtALL)), 1);
    EXPECT_TRUE(main->btnSmallIcon->isChecked());
}

TEST_F(ShellCommandsTest, SetViewStyleDoesNotReenterItself)
{
    createMain();
    app.st.Selection.List = mtALL;
    // A handler that reacts to the button being pressed asks for another style meanwhile.
    QObject::connect(main->btnSmallIcon, &QToolButton::toggled, main.get(), [this](bool on) {
        if (on)
            SetViewStyle(*main, 2);
    });
    SetViewStyle(*main, 1);
    EXPECT_EQ(app.st.settings.Icon_Style, 1);
    EXPECT_EQ(pane().list(mtALL)->viewStyle(), 1);
    EXPECT_FALSE(app.st.SettingViewStyle);
    SetViewStyle(*main, 3);
    EXPECT_EQ(pane().list(mtALL)->viewStyle(), 3);
}

TEST_F(ShellCommandsTest, BadStyleNumbersEndTheProgramWithTheirOwnErrors)
{
    createMain();
    EXPECT_TRUE(internalError([&] { ViewStyleButton(*main, 4); }).contains("#12"));
    EXPECT_TRUE(internalError([&] { ViewStyleButton(*main, -1); }).contains("#12"));
    const QString e13 = internalError([&] { CheckViewStyleItem(*main, 4); });
    EXPECT_TRUE(e13.contains("#13"));
    EXPECT_TRUE(e13.endsWith("Numéero ViewStyle invalide."));
    CheckViewStyleItem(*main, 2);
    EXPECT_TRUE(main->menus.mnuMain_View_List->isChecked());
    EXPECT_FALSE(main->menus.mnuMain_View_LargeIcon->isChecked());
}

TEST_F(ShellCommandsTest, ScanButtonAndF5StartTheScan)
{
    writeSettings({"First_Time=0"});
    writeFile("c/Photos/b.gif");
    ui.onModal("frmScanDisks", [](QDialog *d) { return d->exec(); });
    createMain();
    main->btnScanDrives->click();
    EXPECT_EQ(ui.modalWindows.size(), 1u);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(main.get(), Qt::Key_F5);
    EXPECT_EQ(ui.modalWindows.size(), 2u);
    const CatalogueStore &store = main->catalogue.store;
    EXPECT_EQ(store.kind(store.findChild(store.child(store.root(mtGIF), 0), u"Photos")),
              NodeKind::MediaFolder);
}

TEST_F(ShellCommandsTest, TreeCommandsReachThePaneFromEveryPlace)
{
    ui.acceptOkBoxes = true;
    createMain();
    // A tree with only its root: the toolbar beeps, the menu items do nothing.
    tvALLChange(pane(), mtALL, main->catalogue.store.root(mtALL));
    for (QToolButton *b : {main->btnCollapseTreeView, main->btnExpandTreeView})
        b->click();
    EXPECT_EQ(ui.beeps.size(), 2u);
    writeFile("c/Photos/2000/a.bmp");
    openFolder("C:\\Photos\\2000\\");
    EXPECT_TRUE(main->btnUpOneLevel->isEnabled());
    main->menus.mnuMain_View_TreeviewUpOneLevel->trigger();
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\Photos\\");
    main->btnUpOneLevel->click();
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\");
    main->menus.popmnuTV_ExpandTreeView->trigger();
    EXPECT_TRUE(pane().tree(mtALL)->isNodeExpanded(main->catalogue.store.root(mtALL)));
    main->menus.popmnuTV_CollapseTreeView->trigger();
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "");
    EXPECT_FALSE(main->btnUpOneLevel->isEnabled());
    EXPECT_EQ(ui.beeps.size(), 2u);
}

TEST_F(ShellCommandsTest, TheScanModeItemsOfTheViewMenuChooseTheMode)
{
    createMain();
    main->menus.mnuMain_View_Scan_Folder->trigger();
    EXPECT_FALSE(app.st.ScanRequest.ScanDrives);
    EXPECT_TRUE(settingsText().contains("Scan_Type=1"));
    main->menus.mnuMain_View_Scan_Drives->trigger();
    EXPECT_TRUE(app.st.ScanRequest.ScanDrives);
    EXPECT_TRUE(settingsText().contains("Scan_Type=0"));
}
