// The main window's life cycle: start-up, geometry, splitters, closing.
#include "ShellFixture.h"

#include "app/Libry.h"
#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"

#include "catalogue/TypeTabs.h"
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QSplitter>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

class MainWindowTest : public ShellFixture
{
};

TEST_F(MainWindowTest, WithoutSettingsTheWindowStartsMaximisedOverTheDefaultBounds)
{
    TfrmMain &f = createMain();
    const Settings &s = app.st.settings;
    EXPECT_EQ(s.Window_State, 0);
    EXPECT_EQ(QRect(s.WindowLeft, s.Window_Top, s.Window_Width, s.Window_Height), QRect(0, 0, 740, 565));
    EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(f.normalGeometry().size(), QSize(740, 565));
    EXPECT_EQ(s.Panel_Width, 400);
    EXPECT_EQ(pane().SplitLeft[0]->sizes().value(0), 230);
    EXPECT_EQ(f.SplitRight->sizes().value(0), 400);
    EXPECT_EQ(f.windowTitle(), "Lumavista");
    // Start-up writes the tree width, the scan mode and the view style, nothing else.
    const QString ini = settingsText();
    EXPECT_TRUE(ini.contains("TreeView_Width=230\n"));
    EXPECT_TRUE(ini.contains("Icon_Style=1\n"));
    EXPECT_TRUE(ini.contains("Scan_Type=0\n"));
    EXPECT_FALSE(ini.contains("Window_State"));
    EXPECT_FALSE(ini.contains("Panel_Width"));
}

TEST_F(MainWindowTest, TheControlsCarryTheirNamesAndFrenchTexts)
{
    TfrmMain &f = createMain();
    for (const char *name : {"tbMain",
                             "btnScanDrives",
                             "pnlToolBarDisk",
                             "ComboChoice",
                             "txtSelectFolder",
                             "tbA",
                             "tbZ",
                             "pcMain",
                             "tsALL",
                             "tvWMF",
                             "SplitLeftICO",
                             "lvEMF",
                             "SplitRight",
                             "pnlRight",
                             "tbViewer",
                             "nbkViewer",
                             "btnTile",
                             "StatusBarMain",
                             "picANI",
                             "lblProgressJPG",
                             "ProgressBarWAV",
                             "lblPlayedTimeMID",
                             "picTitre"})
        EXPECT_NE(f.findChild<QObject *>(name), nullptr) << name;
    EXPECT_EQ(pane().pcMain->tabText(0), "TOUS");
    const QStringList order = {"tsALL",  "tsANI", "tsAVI", "tsBMP",  "tsEMF", "tsGIF", "tsICO",
                               "tsJPG",  "tsMID", "tsPCX", "tsTIF",  "tsWAV", "tsWMF", "tsPNG",
                               "tsWEBP", "tsMP3", "tsOGG", "tsFLAC", "tsMP4", "tsMKV"};
    ASSERT_EQ(pane().pcMain->count(), order.size());
    for (int i = 0; i < order.size(); ++i)
        EXPECT_EQ(pane().pcMain->widget(i)->objectName(), order[i]);
    EXPECT_EQ(pane().ComboChoice->itemText(0), "Disques");
    EXPECT_EQ(pane().ComboChoice->itemText(1), "Dossier");
    EXPECT_EQ(viewer().button(ViewerCommand::Play)->toolTip(), "Jouer le fichier/Rafraîchir l'image");
    EXPECT_EQ(viewer().button(ViewerCommand::Play)->accessibleName(), "Jouer le fichier/Rafraîchir l'image");
    EXPECT_EQ(pane().tree(mtALL)->indentation(), 19);
    EXPECT_FALSE(pane().tree(mtALL)->rootIsDecorated());
    // The tabs lie under the pages; the tree and list are named after their tab.
    EXPECT_GE(pane().pcMain->tab(0)->geometry().top(), pane().sheet(mtALL)->geometry().bottom());
    EXPECT_EQ(pane().tree(mtALL)->accessibleName(), "Arborescence TOUS");
    EXPECT_EQ(pane().list(mtALL)->accessibleName(), "Liste TOUS");
    EXPECT_EQ(pane().list(mtBMP)->accessibleName(), "Liste BMP");
    const QStringList names{"VIDE", "ANI", "AVI_WIN", "AVI_VIDEO", "BMP", "JPG", "MID",
                            "WAV",  "GIF", "PCX",     "TIF",       "WMF", "EMF", "ICO"};
    for (const QString &name : names) {
        ASSERT_NE(viewer().viewerPage(name), nullptr) << name.toStdString();
        // A screen reader names each page by its caption.
        EXPECT_EQ(viewer().viewerPage(name)->accessibleName(), name);
    }
    EXPECT_EQ(viewer().currentViewerPage(), "VIDE");
}

TEST_F(MainWindowTest, RestoringStoresTheNormalBoundsAndMinimisingStoresNothing)
{
    writeSettings({"First_Time=0"});
    TfrmMain &f = createMain();
    f.show();
    f.FormActivate();
    f.setWindowState(Qt::WindowNoState);
    f.setGeometry(20, 30, 800, 600);
    f.FormResize();
    const Settings &s = app.st.settings;
    EXPECT_EQ(s.Window_State, 1);
    EXPECT_EQ(QRect(s.WindowLeft, s.Window_Top, s.Window_Width, s.Window_Height), f.geometry());
    EXPECT_TRUE(settingsText().contains("Window_State=1\n"));

    const QString before = settingsText();
    f.setWindowState(Qt::WindowMinimized);
    f.FormResize();
    EXPECT_EQ(settingsText(), before);
}

TEST_F(MainWindowTest, DefaultWindowAlwaysMaximisesOverTheDefaultBounds)
{
    writeSettings({"Window_State=1", "WindowLeft=50", "Window_Width=900"});
    TfrmMain &f = createMain();
    EXPECT_FALSE(f.windowState() & Qt::WindowMaximized);
    f.SetDefaultWindow();
    EXPECT_TRUE(f.windowState() & Qt::WindowMaximized);
    const QString ini = settingsText();
    for (const char *line : {"WindowLeft=0\n", "Window_Top=0\n", "Window_Width=740\n", "Window_Height=565\n",
                             "Window_State=0\n"})
        EXPECT_TRUE(ini.contains(line)) << line;
}

TEST_F(MainWindowTest, OneTreeSplitterResizesAllThirteenTreesAndSavesTheWidth)
{
    TfrmMain &f = createMain();
    f.resize(1000, 700);
    QSplitter *bmp = pane().SplitLeft[3];
    bmp->setSizes({150, 300});
    f.SplitLeftALLMoved(bmp);
    for (QSplitter *s : pane().SplitLeft)
        EXPECT_EQ(s->sizes().value(0), 150) << s->objectName().toStdString();
    EXPECT_EQ(app.st.settings.TreeView_Width, 150);
    EXPECT_TRUE(settingsText().contains("TreeView_Width=150\n"));

    // The next start uses that width.
    main.reset();
    App second(ui, app.drives());
    TfrmMain again(second);
    EXPECT_EQ(again.cataloguePane().SplitLeft[12]->sizes().value(0), 150);
}

TEST_F(MainWindowTest, ClosingSavesTheWindowSettings)
{
    writeSettings({"First_Time=0"});
    TfrmMain &f = createMain();
    f.show();
    f.FormActivate();
    EXPECT_TRUE(app.st.FormReady);
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(app.st.FormReady);
    EXPECT_TRUE(settingsText().contains("Window_State="));
}

TEST_F(MainWindowTest, AnIconStyleOutsideItsRangeEndsTheProgramBeforeTheWindowShows)
{
    writeSettings({"Icon_Style=7"});
    ui.answerMessage(platform::mbOK);
    EXPECT_THROW(createMain(), ProcessExit);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.startsWith("ERREUR INTERNE IRRECUPERABLE #12\n"));
    EXPECT_TRUE(ui.messages[0].text.endsWith("Style d'icône ivalide."));
}

TEST_F(MainWindowTest, TheScanModeShowsItsPanelAndTheFolderBoxFeedsTheRequest)
{
    writeSettings({"Scan_Type=1", "Starting_Folder=C:\\Photos\\"});
    TfrmMain &f = createMain();
    (void)f;
    EXPECT_EQ(pane().ComboChoice->currentIndex(), 1);
    EXPECT_FALSE(pane().pnlToolBarDir->isHidden());
    EXPECT_TRUE(pane().pnlToolBarAllDisks->isHidden());
    EXPECT_FALSE(app.st.ScanRequest.ScanDrives);
    EXPECT_EQ(pane().txtSelectFolder->text(), "C:\\Photos\\");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:\\Photos");
}

TEST_F(MainWindowTest, HintsFollowTheSetting)
{
    writeSettings({"Show_Hints=0"});
    TfrmMain &f = createMain();
    f.show();
    QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), f.btnScanDrives->mapToGlobal(QPoint(2, 2)));
    EXPECT_TRUE(f.eventFilter(f.btnScanDrives, &tip)); // swallowed
    EXPECT_FALSE(f.btnScanDrives->accessibleName().isEmpty());
}

TEST_F(MainWindowTest, TheWelcomeWindowShowsOnceAndItsBoxClearsFirstTime)
{
    int shown = 0;
    ui.onModal("frmFirstTime", [&shown](QDialog *d) {
        ++shown;
        d->findChild<QCheckBox *>("chkFirstTimeNeverAgain")->setChecked(true);
        return int(QDialog::Accepted);
    });
    TfrmMain &f = createMain();
    f.show();
    f.FormActivate();
    f.FormActivate(); // activations after the first never show it
    QTRY_COMPARE(shown, 1);
    QTest::qWait(50);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(app.st.settings.First_Time);
    EXPECT_TRUE(settingsText().contains("First_Time=0\n"));
}

TEST_F(MainWindowTest, ClosingTheWelcomeWindowWithoutTheBoxKeepsFirstTime)
{
    ui.onModal("frmFirstTime", [](QDialog *) { return int(QDialog::Accepted); });
    TfrmMain &f = createMain();
    f.show();
    f.FormActivate();
    QTRY_COMPARE(ui.modalWindows.size(), size_t(1));
    EXPECT_TRUE(app.st.settings.First_Time);
    EXPECT_FALSE(settingsText().contains("First_Time"));
}

TEST_F(MainWindowTest, AnUnwritableSettingsFileEndsTheCommandWithTheStandardBox)
{
    writeSettings({"First_Time=0"});
    TfrmMain &f = createMain();
    f.show();
    f.FormActivate();
    f.setWindowState(Qt::WindowNoState);
    // The settings file cannot be replaced: a folder stands where it should be.
    QFile::remove(settingsPath());
    QDir().mkpath(settingsPath());
    ui.answerMessage(platform::mbOK);
    f.FormResize();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ne peut écrire dans LUMA.INI.");
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    // The program goes on: the window still works.
    EXPECT_TRUE(app.st.FormReady);
}
