// The scan-mode box and the folder box with its browse button.
#include "ScanTestSupport.h"

#include "catalogue/ScanDisk.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace {

class ScanCommandsTest : public ScanFixture
{
protected:
    QString nativeFolder(const QString &relative) { return folder(relative); }
};

TEST_F(ScanCommandsTest, ScanModeFollowsTheBoxAndIsSaved)
{
    start();
    main->ComboChoice->setCurrentIndex(1);
    ComboChoiceChange(app);
    EXPECT_FALSE(app.st.ScanRequest.ScanDrives);
    EXPECT_TRUE(main->pnlToolBarAllDisks->isHidden());
    EXPECT_FALSE(main->pnlToolBarDir->isHidden());
    EXPECT_TRUE(settingsText().contains("Scan_Type=1"));
    main->action("mnuMain_View_Scan_Drives")->trigger();
    EXPECT_TRUE(app.st.ScanRequest.ScanDrives);
    EXPECT_TRUE(main->pnlToolBarDir->isHidden());
    EXPECT_TRUE(settingsText().contains("Scan_Type=0"));
}

TEST_F(ScanCommandsTest, ChosenFolderIsRememberedAndScanned)
{
    start({"Scan_Type=1"});
    writeFile("c/Photos/a.bmp");
    writeFile("c/Other/b.bmp");
    ui.answerFolder(nativeFolder("c/Photos"));
    runScanWindowForReal();
    main->btnMoreFolder->click();
    EXPECT_EQ(ui.folderTitles, std::vector<QString>({"Sélectionner le dossier à explorer:"}));
    EXPECT_EQ(main->txtSelectFolder->text(), "C:\\Photos");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:\\Photos");
    EXPECT_EQ(app.st.settings.Starting_Folder, "C:\\Photos");
    EXPECT_TRUE(settingsText().contains("Starting_Folder=C:\\Photos"));
    EXPECT_EQ(ui.modalWindows.size(), 1u);
    EXPECT_EQ(mediaFolders(tree(0)), QStringList({"C:\\Photos\\"}));
}

TEST_F(ScanCommandsTest, ChosenFolderOnlyRememberedWithoutScanAfterChange)
{
    start({"Scan_Type=1", "Scan_After_Change_Folder=0"});
    ui.answerFolder(nativeFolder("c"));
    main->btnMoreFolder->click();
    // A drive's root reads "C:" in the box and "C:\\" as the folder to scan.
    EXPECT_EQ(main->txtSelectFolder->text(), "C:");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:\\");
    EXPECT_TRUE(settingsText().contains("Starting_Folder=C:\n"));
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(ScanCommandsTest, FolderOutsideEveryDriveIsRefused)
{
    start({"Scan_Type=1", "Starting_Folder=C:\\"});
    const QString before = settingsText();
    ui.answerFolder(nativeFolder("elsewhere"));
    ui.answerMessage(platform::mbOK);
    main->btnMoreFolder->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    EXPECT_TRUE(ui.messages[0].text.contains(nativeFolder("elsewhere")));
    EXPECT_EQ(main->txtSelectFolder->text(), "C:\\");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:");
    EXPECT_EQ(settingsText(), before);
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(ScanCommandsTest, CancelledBrowserChangesNothing)
{
    start({"Scan_Type=1", "Starting_Folder=C:\\"});
    ui.answerFolder(QString());
    main->btnMoreFolder->click();
    EXPECT_EQ(ui.folderTitles.size(), 1u);
    EXPECT_EQ(main->txtSelectFolder->text(), "C:\\");
    EXPECT_TRUE(ui.modalWindows.empty());
}

} // namespace
