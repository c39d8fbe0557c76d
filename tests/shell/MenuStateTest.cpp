// The menus' states as they open: the file commands by focus and selection, the view and play menus,
// the tree and list popups with their separators; the About and welcome windows.
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "components/controls/TURLLabel.h"
#include "shell/About.h"
#include "shell/Firstime.h"
#include "shell/MenuState.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <QToolButton>

class MenuStateTest : public ShellFixture
{
protected:
    bool shown(const char *name)
    {
        return main->findChild<QAction *>(QString::fromLatin1(name))->isVisible();
    }
    bool enabled(const char *name)
    {
        return main->findChild<QAction *>(QString::fromLatin1(name))->isEnabled();
    }
    // Names of the visible items of a menu, separators as "-", in order.
    QStringList visibleItems(QMenu *menu)
    {
        QStringList names;
        for (QAction *a : menu->actions())
            if (a->isVisible())
                names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return names;
    }
};

TEST_F(MenuStateTest, FileMenuFollowsFocusAndSelection)
{
    createMain();
    const struct
    {
        const char *what;
        bool tree, list, currentFile;
        int selected, files;
        bool oneFile; // Execute has a file (the only one selected, or the one on view among them)
        const char *copy, *del;
        bool enabled, execute, properties;
    } cases[] = {
        {"list, nothing selected", false, true, false, 0, 0, false, "mnuMain_File_CopyFile",
         "mnuMain_File_DeleteFile", false, false, false},
        {"list, one file", false, true, true, 1, 1, true, "mnuMain_File_Copy1FileSelected",
         "mnuMain_File_Delete1FileSelected", true, true, true},
        {"list, three files", false, true, true, 3, 3, true, "mnuMain_File_CopySelectedFiles",
         "mnuMain_File_DeleteSelectedFiles", true, true, true},
        {"list, three files, none on view", false, true, true, 3, 3, false, "mnuMain_File_CopySelectedFiles",
         "mnuMain_File_DeleteSelectedFiles", true, false, true},
        {"list, a file and a folder", false, true, true, 2, 1, true, "mnuMain_File_CopySelectedFiles",
         "mnuMain_File_DeleteSelectedFiles", true, true, true},
        {"list, a folder selected, a file current", false, true, true, 1, 0, false, "mnuMain_File_CopyFile",
         "mnuMain_File_DeleteFile", false, false, true},
        {"list, current item a folder", false, true, false, 2, 1, true, "mnuMain_File_CopyFile",
         "mnuMain_File_DeleteFile", false, false, true},
        {"tree", true, false, true, 1, 1, true, "mnuMain_File_CopyFile", "mnuMain_File_DeleteFile", false,
         false, true},
        {"neither", false, false, true, 1, 1, true, "mnuMain_File_CopyFile", "mnuMain_File_DeleteFile", false,
         false, false},
    };
    const char *copies[] = {"mnuMain_File_CopyFile", "mnuMain_File_Copy1FileSelected",
                            "mnuMain_File_CopySelectedFiles"};
    const char *deletes[] = {"mnuMain_File_DeleteFile", "mnuMain_File_Delete1FileSelected",
                             "mnuMain_File_DeleteSelectedFiles"};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CommandFacts f;
        f.treeHasFocus = c.tree;
        f.listHasFocus = c.list;
        f.treeHasSelectedNode = true;
        f.hasList = true;
        f.listHasCurrentItem = c.selected > 0;
        f.currentItemIsFile = c.currentFile;
        f.selectedCount = c.selected;
        f.selectedFileCount = c.files;
        f.oneFileToAct = c.oneFile;
        UpdateFileMenu(*main, f);
        // Exactly one copy and one delete item show.
        for (const char *group : {"copy", "delete"}) {
            int visible = 0;
            for (const char *n : QString(group) == "copy" ? copies : deletes)
                visible += shown(n);
            EXPECT_EQ(visible, 1) << group;
        }
        EXPECT_TRUE(shown(c.copy));
        EXPECT_TRUE(shown(c.del));
        EXPECT_EQ(enabled(c.copy), c.enabled);
        EXPECT_EQ(enabled(c.del), c.enabled);
        EXPECT_EQ(enabled("mnuMain_File_Execute"), c.execute);
        EXPECT_EQ(enabled("mnuMain_File_Properties"), c.properties);
    }
    // A focused tree without a selected node has nothing to describe.
    CommandFacts f;
    f.treeHasFocus = true;
    UpdateFileMenu(*main, f);
    EXPECT_FALSE(enabled("mnuMain_File_Properties"));
}

TEST_F(MenuStateTest, ListPopupShowsItsItemsAndSeparatorsByTheRules)
{
    createMain();
    const struct
    {
        const char *what;
        bool currentFile;
        int selected;
        bool hasFiles, currentItem, node;
        QStringList items;
    } cases[] = {
        {"one file",
         true,
         1,
         true,
         true,
         true,
         {"popmnuLV_Copy1File", "popmnuLV_TiretUnderCopy", "popmnuLV_Delete1File",
          "popmnuLV_TiretUnderDelete", "popmnuLV_ExecuteFile", "popmnuLV_Convert",
          "popmnuLV_TiretUnderExecute", "popmnuLV_SelectAll", "popmnuLV_TiretUnderSelect",
          "popmnuLV_Properties"}},
        {"three files",
         true,
         3,
         true,
         true,
         true,
         {"popmnuLV_CopySelectedFiles", "popmnuLV_TiretUnderCopy", "popmnuLV_DeleteSelectedFiles",
          "popmnuLV_TiretUnderDelete", "popmnuLV_ExecuteFile", "popmnuLV_Convert",
          "popmnuLV_TiretUnderExecute", "popmnuLV_SelectAll", "popmnuLV_TiretUnderSelect",
          "popmnuLV_Properties"}},
        {"a folder item in a list of files",
         false,
         1,
         true,
         true,
         true,
         {"popmnuLV_SelectAll", "popmnuLV_TiretUnderSelect", "popmnuLV_Properties"}},
        {"drives only, no tree node", false, 1, false, true, false, {}},
        {"files but no current item", false, 0, true, false, true, {"popmnuLV_SelectAll"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        CommandFacts f;
        f.hasList = true;
        f.listItemCount = 4;
        f.currentItemIsFile = c.currentFile;
        f.selectedCount = c.selected;
        f.selectedFileCount = c.currentFile ? c.selected : 0;
        f.oneFileToAct = c.currentFile;
        f.listHasFiles = c.hasFiles;
        f.listHasCurrentItem = c.currentItem;
        f.treeHasSelectedNode = c.node;
        UpdateListPopup(*main, f);
        QStringList names;
        for (QAction *a : main->popmnuListView->actions())
            if (a->isVisible())
                names << a->objectName();
        EXPECT_EQ(names, c.items);
    }
}

TEST_F(MenuStateTest, ViewMenuAndTreePopupFollowTheTreeAndTheScanMode)
{
    writeSettings({"First_Time=0", "Scan_Type=1"});
    createMain();
    CommandFacts f;
    f.listViewStyle = 1;
    UpdateViewMenu(*main, f);
    EXPECT_EQ(main->menus.mnuMain_View_ScanNow->text(), "&Explorer le dossier maintenant");
    EXPECT_TRUE(main->menus.mnuMain_View_Scan_Folder->isChecked());
    EXPECT_TRUE(main->menus.mnuMain_View_SmallIcon->isChecked());
    EXPECT_FALSE(enabled("mnuMain_View_CollapseTreeView"));
    EXPECT_FALSE(enabled("mnuMain_View_TreeviewUpOneLevel"));
    UpdateTreePopup(*main, f);
    EXPECT_FALSE(shown("popmnuTV_Properties"));
    EXPECT_FALSE(enabled("popmnuTV_ExpandTreeView"));

    f.treeHasFocus = f.treeHasSelectedNode = f.folderSelected = f.treeHasContent = true;
    f.listViewStyle = -1; // no list: the setting's style
    app.st.settings.Scan_Type = 0;
    app.st.settings.Icon_Style = 3;
    UpdateViewMenu(*main, f);
    EXPECT_EQ(main->menus.mnuMain_View_ScanNow->text(), "&Explorer les disques maintenant");
    EXPECT_TRUE(main->menus.mnuMain_View_Scan_Drives->isChecked());
    EXPECT_TRUE(main->menus.mnuMain_View_Report->isChecked());
    EXPECT_TRUE(enabled("mnuMain_View_CollapseTreeView"));
    EXPECT_TRUE(enabled("mnuMain_View_TreeviewUpOneLevel"));
    UpdateTreePopup(*main, f);
    EXPECT_TRUE(shown("popmnuTV_Properties"));
    EXPECT_TRUE(enabled("popmnuTV_CollapseTreeView"));
}

TEST_F(MenuStateTest, FactsComeFromTheFocusedListAndTree)
{
    writeFile("c/Photos/a.bmp");
    writeFile("c/Photos/b.gif");
    writeFile("c/Photos/c.jpg");
    createMain();
    const NodeId n = main->catalogue.store.addFolder(mtALL, u"C:\\Photos\\", 3);
    app.st.CurrentView.CurrentType = mtALL;
    pane().tree(mtALL)->setCurrentNodeQuietly(n);
    tvALLChange(pane(), mtALL, n);
    TListView *list = pane().list(mtALL);
    ASSERT_EQ(list->count(), 3);
    list->setSelected(0, true);
    list->setSelected(2, true);
    list->setCurrentItem(2);
    app.st.Selection.ListHasFocus = true;
    const CommandFacts f = GatherCommandFacts(*main);
    EXPECT_TRUE(f.listHasFocus);
    EXPECT_TRUE(f.treeHasSelectedNode);
    EXPECT_TRUE(f.folderSelected);
    EXPECT_TRUE(f.treeHasContent);
    EXPECT_TRUE(f.currentItemIsFile);
    EXPECT_EQ(f.selectedCount, 2);
    EXPECT_EQ(f.selectedFileCount, 2);
    EXPECT_TRUE(f.listHasFiles);
    // Opening the File menu applies them: the plural pair.
    emit main->mnuMain_File->aboutToShow();
    EXPECT_TRUE(shown("mnuMain_File_CopySelectedFiles"));
    EXPECT_TRUE(enabled("mnuMain_File_Execute"));
}

TEST_F(MenuStateTest, PlayMenuMirrorsTheViewerToolbarAndLoopAgreesEverywhere)
{
    createMain();
    ViewerPane &v = viewer();
    v.button(ViewerCommand::Loop)->setEnabled(true);
    v.button(ViewerCommand::Loop)->setChecked(false);
    v.button(ViewerCommand::Stretch)->setEnabled(false);
    UpdatePlayMenu(*main);
    EXPECT_TRUE(enabled("mnuMain_Play_Loop"));
    EXPECT_FALSE(enabled("mnuMain_Play_Stretch"));
    EXPECT_FALSE(main->menus.mnuMain_Play_Loop->isChecked());
    main->menus.mnuMain_Play_Loop->trigger();
    EXPECT_TRUE(v.button(ViewerCommand::Loop)->isChecked());
    UpdatePlayMenu(*main);
    EXPECT_TRUE(main->menus.mnuMain_Play_Loop->isChecked());
}

TEST_F(MenuStateTest, FocusLentToAMenuKeepsTheListsFocusFlag)
{
    writeSettings({"First_Time=0"});
    createMain();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    TListView *list = pane().list(mtALL);
    list->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(app.st.Selection.ListHasFocus);
    QFocusEvent lent(QEvent::FocusOut, Qt::MenuBarFocusReason);
    QCoreApplication::sendEvent(list->focusWidget() ? list->focusWidget() : list, &lent);
    EXPECT_TRUE(app.st.Selection.ListHasFocus);
}

TEST_F(MenuStateTest, AboutWindowClosesOnEnterAndEscapeFromAnyControlAndOpensItsLinks)
{
    createMain();
    for (int key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        int result = -1;
        ui.onModal("frmAbout", [&](QDialog *d) {
            auto *about = static_cast<TfrmAbout *>(d);
            EXPECT_EQ(about->lblVersion->text(), "1.20");
            d->show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(d));
            about->URLLabelEMAIL->setFocus();
            QTest::keyClick(about->URLLabelEMAIL, Qt::Key(key));
            result = d->result();
            return result;
        });
        main->menus.mnuMain_Help_About->trigger();
        EXPECT_EQ(result, int(QDialog::Accepted));
    }
    ui.onModal("frmAbout", [](QDialog *d) {
        static_cast<TfrmAbout *>(d)->URLLabelHomePage->open();
        return int(QDialog::Accepted);
    });
    main->menus.popmnuVFPresentation_About->trigger();
    ASSERT_EQ(ui.openedUrls.size(), 1u);
    EXPECT_EQ(ui.openedUrls[0], QUrl("http://lumavista.example.org/"));
}

TEST_F(MenuStateTest, WelcomeTextAndTheScanPictureNeverOverlap)
{
    for (int points : {8, 10, 16, 24}) {
        SCOPED_TRACE(points);
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
        TfrmFirstTime w(nullptr);
        w.show();
        QCoreApplication::processEvents();
        const auto *text = w.findChild<QLabel *>("Label7");
        const auto *picture = w.findChild<QLabel *>("Image3");
        EXPECT_FALSE(text->geometry().intersects(picture->geometry()));
        EXPECT_TRUE(w.rect().contains(w.findChild<QWidget *>("btnClose")->geometry()));
    }
    QApplication::setFont(QFont());
}

TEST_F(MenuStateTest, EveryMenuItemHasAnAcceleratorOfItsOwnWithinItsMenu)
{
    createMain();
    QList<QMenu *> menus = {main->popmnuListView, main->popmnuTreeView, main->popmnuViewFile,
                            main->popmnuViewFilePagePresentation};
    for (QAction *top : main->menuBar()->actions())
        if (top->menu())
            menus << top->menu();
    // Items never shown together: the one-file, several-files and plain forms of a command.
    const QStringList alternates = {"mnuMain_File_Copy1FileSelected",   "mnuMain_File_CopyFile",
                                    "mnuMain_File_Delete1FileSelected", "mnuMain_File_DeleteFile",
                                    "popmnuLV_CopySelectedFiles",       "popmnuLV_DeleteSelectedFiles"};
    for (QMenu *menu : menus) {
        SCOPED_TRACE(menu->objectName().toStdString());
        QSet<QChar> keys;
        for (QAction *a : menu->actions()) {
            if (a->isSeparator() || a->objectName() == "popmnuVF_PlayFile" ||
                alternates.contains(a->objectName()))
                continue; // the play item is captioned as the menu opens
            const QString text = a->text();
            const int at = text.indexOf('&');
            ASSERT_GE(at, 0) << a->objectName().toStdString() << " has no accelerator";
            const QChar key = text.at(at + 1).toLower();
            EXPECT_FALSE(keys.contains(key))
                << a->objectName().toStdString() << " repeats &" << QString(key).toStdString();
            keys.insert(key);
        }
    }
}
