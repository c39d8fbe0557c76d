// The view-style commands and the lists' handlers: start-up, toolbar buttons, internal errors,
// the Delete key, the mouse and focus flags, select all and the double click of the ALL list.
#include "ListTestFixture.h"

#include "catalogue/MediaTypes.h"

#include <QAction>
#include <QApplication>
#include <QListView>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

class ListCommandsTest : public ListTestFixture
{
protected:
    // Runs f, which must end the program through the internal-error box; returns the box's text.
    template <typename F> QString internalError(F f)
    {
        ui.acceptOkBoxes = true;
        ui.messages.clear();
        EXPECT_THROW(f(), ProcessExit);
        return ui.messages.empty() ? QString() : ui.messages.back().text;
    }

    // A folder C:\P\ with a sub-folder and three pictures, shown in the ALL list.
    void openPictures()
    {
        writeFile("c/P/a.bmp");
        writeFile("c/P/b.bmp");
        writeFile("c/P/c.jpg");
        writeFile("c/P/Sub/d.bmp");
        p = addFolder(mtALL, "C:\\P\\");
        sub = addFolder(mtALL, "C:\\P\\Sub\\");
        open(mtALL, p);
        ASSERT_EQ(main->lvALL()->count(), 4);
    }

    QTreeWidgetItem *p = nullptr, *sub = nullptr;
};

TEST_F(ListCommandsTest, StartUpPressesTheButtonOfTheSettingAndWritesItAndTheScanMode)
{
    writeSettings({"Icon_Style=2"});
    createMain();
    EXPECT_TRUE(main->btnListIcon->isChecked());
    EXPECT_FALSE(main->btnLargeIcon->isChecked());
    for (TListView *list : main->lv) {
        EXPECT_EQ(list->viewStyle(), 2);
        EXPECT_EQ(list->columnCount(), 4);
    }
    EXPECT_EQ(main->lvALL()->model()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), "Modifié");
    EXPECT_TRUE(settingsText().contains("Icon_Style=2"));
    EXPECT_TRUE(settingsText().contains("Scan_Type=0"));
}

TEST_F(ListCommandsTest, AStyleOutsideTheFourInTheSettingsEndsTheStartWithError12)
{
    writeSettings({"Icon_Style=7"});
    const QString text = internalError([&] { createMain(); });
    EXPECT_TRUE(text.contains("#12")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("Style d'icône ivalide.")) << text.toStdString();
}

TEST_F(ListCommandsTest, AViewButtonStylesTheCurrentListAndSavesTheSetting)
{
    writeSettings({"Icon_Style=0"});
    createMain();
    writeFile("c/P/a.bmp");
    open(mtALL, addFolder(mtALL, "C:\\P\\"));
    open(mtBMP, addFolder(mtBMP, "C:\\P\\"));
    main->btnReportIcon->click();
    EXPECT_EQ(app.st.settings.Icon_Style, 3);
    EXPECT_TRUE(settingsText().contains("Icon_Style=3"));
    EXPECT_TRUE(main->btnReportIcon->isChecked());
    EXPECT_FALSE(main->btnLargeIcon->isChecked());
    EXPECT_EQ(ViewStyleOf(app, main->lv[mtBMP]), 3);
    // Other lists take the style when they are filled again.
    EXPECT_EQ(ViewStyleOf(app, main->lvALL()), 0);
    open(mtALL, main->tvALL()->currentItem());
    EXPECT_EQ(ViewStyleOf(app, main->lvALL()), 3);
    EXPECT_EQ(ViewStyleOf(app, nullptr), 3);

    main->action("mnuMain_View_SmallIcon")->trigger();
    EXPECT_EQ(ViewStyleOf(app, main->lvALL()), 1);
    EXPECT_TRUE(main->btnSmallIcon->isChecked());
}

TEST_F(ListCommandsTest, SetViewStyleDoesNotReenterItself)
{
    createMain();
    app.st.Selection.ListView = main->lvALL();
    // A handler that reacts to the button being pressed asks for another style meanwhile.
    QObject::connect(main->btnSmallIcon, &QToolButton::toggled, main.get(), [this](bool on) {
        if (on)
            SetViewStyle(app, 2);
    });
    SetViewStyle(app, 1);
    EXPECT_EQ(app.st.settings.Icon_Style, 1);
    EXPECT_EQ(main->lvALL()->viewStyle(), 1);
    EXPECT_FALSE(app.st.SettingViewStyle);
    SetViewStyle(app, 3);
    EXPECT_EQ(main->lvALL()->viewStyle(), 3);
}

TEST_F(ListCommandsTest, BadStyleNumbersEndTheProgramWithTheirOwnErrors)
{
    createMain();
    EXPECT_TRUE(internalError([&] { ViewStyleButton(app, 4); }).contains("#12"));
    EXPECT_TRUE(internalError([&] { ViewStyleButton(app, -1); }).contains("#12"));
    const QString e13 = internalError([&] { CheckViewStyleItem(app, 4); });
    EXPECT_TRUE(e13.contains("#13"));
    EXPECT_TRUE(e13.endsWith("Numéero ViewStyle invalide."));
    main->lvALL()->setViewStyle(9);
    const QString e19 = internalError([&] { ViewStyleOf(app, main->lvALL()); });
    EXPECT_TRUE(e19.contains("#19"));
    EXPECT_TRUE(e19.endsWith("Valeur ViewStyle invalide"));

    CheckViewStyleItem(app, 2);
    EXPECT_TRUE(main->action("mnuMain_View_List")->isChecked());
    EXPECT_FALSE(main->action("mnuMain_View_LargeIcon")->isChecked());
}

TEST_F(ListCommandsTest, DeleteRunsTheOneFileOrTheSelectedFilesCommand)
{
    createMain();
    openPictures();
    int one = 0, several = 0;
    app.st.DeleteOneFileCommand = [&](App &) { ++one; };
    app.st.DeleteSelectedFilesCommand = [&](App &) { ++several; };
    TListView *list = main->lvALL();
    QWidget *view = list->activeView();
    const int a = rowOf(mtALL, "a.bmp"), b = rowOf(mtALL, "b.bmp");

    app.st.Selection.ItemKind = 2;
    list->setSelected(a, true);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(one, 1);
    list->setSelected(b, true);
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(several, 1);

    // With Ctrl held: nothing, and the modifier is noted until the key comes up.
    QTest::keyPress(view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(app.st.Selection.ModifierKeyDown);
    QTest::keyRelease(view, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
    // The modifier key itself counts as held when it goes down, whatever the platform reports.
    lvALLKeyDown(app, list, Qt::Key_Shift, Qt::NoModifier);
    EXPECT_TRUE(app.st.Selection.ModifierKeyDown);
    lvALLKeyDown(app, list, Qt::Key_Control, Qt::ShiftModifier);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
    QTest::keyPress(view, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
    // On a folder or a drive: nothing.
    app.st.Selection.ItemKind = 1;
    QTest::keyClick(view, Qt::Key_Delete);
    app.st.Selection.ItemKind = 0;
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(one, 1);
    EXPECT_EQ(several, 1);
    // Nothing selected: nothing either.
    list->deselectAll();
    app.st.Selection.ItemKind = 2;
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(one + several, 2);
}

TEST_F(ListCommandsTest, MouseAndFocusKeepTheirFlags)
{
    writeSettings({"First_Time=0"});
    createMain();
    openPictures();
    main->show();
    main->activateWindow();
    QApplication::processEvents();
    TListView *list = main->lvALL();
    QAbstractItemView *view = list->activeView();
    const QPoint at = view->visualRect(list->model()->index(0, 0)).center();
    QTest::mousePress(view->viewport(), Qt::RightButton, {}, at);
    EXPECT_TRUE(app.st.Selection.RightButtonDown);
    QTest::mouseRelease(view->viewport(), Qt::RightButton, {}, at);
    EXPECT_FALSE(app.st.Selection.RightButtonDown);
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at);
    EXPECT_FALSE(app.st.Selection.RightButtonDown);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);

    list->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(app.st.Selection.ListHasFocus);
    app.st.Selection.RightButtonDown = true;
    app.st.Selection.ModifierKeyDown = true;
    main->tvALL()->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(app.st.Selection.ListHasFocus);
    EXPECT_FALSE(app.st.Selection.RightButtonDown);
    EXPECT_FALSE(app.st.Selection.ModifierKeyDown);
}

TEST_F(ListCommandsTest, SelectAllFilesLeavesFoldersAsTheyAre)
{
    createMain();
    openPictures();
    TListView *list = main->lvALL();
    SelectAllFiles(app);
    EXPECT_EQ(list->selectedCount(), 3);
    EXPECT_FALSE(list->isSelected(0));
    EXPECT_EQ(FirstSelectedItem(list), 1);
    DeselectAll(list);
    EXPECT_EQ(FirstSelectedItem(list), -1);
    list->setSelected(0, true);
    SelectAllFiles(app);
    EXPECT_EQ(list->selectedCount(), 4);
    EXPECT_EQ(FirstSelectedItem(nullptr), -1);
}

TEST_F(ListCommandsTest, IsMediaFolderChildComparesNamesIgnoringCase)
{
    createMain();
    openPictures();
    auto *plain = new QTreeWidgetItem(p);
    plain->setText(0, "Way");
    SetNodeImages(plain, 14, 15);
    app.st.Selection.FileName = "SUB";
    EXPECT_TRUE(IsMediaFolderChild(app));
    app.st.Selection.FileName = "way";
    EXPECT_FALSE(IsMediaFolderChild(app));
    app.st.Selection.FileName = "a.bmp";
    EXPECT_FALSE(IsMediaFolderChild(app));
}

TEST_F(ListCommandsTest, DoubleClickOpensFoldersAndDrivesOnTheAllListOnly)
{
    writeSettings({"First_Time=0"});
    createMain();
    openPictures();
    main->show();
    QApplication::processEvents();
    auto doubleClick = [&](int code, int row) {
        TListView *list = main->lv[code];
        app.st.Selection.ListView = list;
        app.st.Selection.Item = row;
        QAbstractItemView *view = list->activeView();
        QApplication::processEvents(); // the view lays its items out
        // A double click is a press, a release, then the double click itself.
        const QPoint at = view->visualRect(list->model()->index(row, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    };

    // A file: nothing.
    doubleClick(mtALL, rowOf(mtALL, "a.bmp"));
    EXPECT_EQ(app.st.CurrentView.CurrentNode, p);
    // A folder: its node becomes the current one, and the list shows it.
    doubleClick(mtALL, rowOf(mtALL, "Sub"));
    EXPECT_EQ(main->tvALL()->currentItem(), sub);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, sub);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\P\\Sub\\");
    EXPECT_EQ(captions(mtALL), QStringList({"d.bmp"}));

    // A drive of the root list opens its node.
    open(mtALL, root(mtALL));
    ASSERT_EQ(captions(mtALL), QStringList({"(C:)"}));
    doubleClick(mtALL, 0);
    EXPECT_EQ(app.st.CurrentView.CurrentFolder, "C:\\");
    EXPECT_EQ(captions(mtALL), QStringList({"P"}));

    // The type lists have no double click.
    QTreeWidgetItem *bmp = addFolder(mtBMP, "C:\\P\\");
    addFolder(mtBMP, "C:\\P\\Sub\\");
    open(mtBMP, bmp);
    doubleClick(mtBMP, rowOf(mtBMP, "Sub"));
    EXPECT_EQ(app.st.CurrentView.CurrentNode, bmp);
}
