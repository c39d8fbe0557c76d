// The scan-mode box and the folder box with its browse button.
#include "CatalogueFixture.h"

#include "catalogue/ScanCommands.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace {

class ScanCommandsTest : public CatalogueFixture
{
protected:
    QString nativeFolder(const QString &relative) { return folder(relative); }
};

TEST_F(ScanCommandsTest, ScanModeFollowsTheBoxAndIsSaved)
{
    start();
    pane->ComboChoice->setCurrentIndex(1);
    ComboChoiceChange(*pane);
    EXPECT_FALSE(app.st.ScanRequest.ScanDrives);
    EXPECT_TRUE(pane->pnlToolBarAllDisks->isHidden());
    EXPECT_FALSE(pane->pnlToolBarDir->isHidden());
    EXPECT_TRUE(settingsText().contains("Scan_Type=1"));
    ChooseScanMode(*pane, 0);
    EXPECT_TRUE(app.st.ScanRequest.ScanDrives);
    EXPECT_TRUE(pane->pnlToolBarDir->isHidden());
    EXPECT_TRUE(settingsText().contains("Scan_Type=0"));
}

TEST_F(ScanCommandsTest, ChosenFolderIsRememberedAndScanned)
{
    start({"Scan_Type=1"});
    writeFile("c/Photos/a.bmp");
    writeFile("c/Other/b.bmp");
    ui.answerFolder(nativeFolder("c/Photos"));
    runScanWindowForReal();
    pane->btnMoreFolder->click();
    EXPECT_EQ(ui.folderTitles, std::vector<QString>({"Sélectionner le dossier à explorer:"}));
    EXPECT_EQ(pane->txtSelectFolder->text(), "C:\\Photos");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:\\Photos");
    EXPECT_EQ(app.st.settings.Starting_Folder, "C:\\Photos");
    EXPECT_TRUE(settingsText().contains("Starting_Folder=C:\\Photos"));
    EXPECT_EQ(ui.modalWindows.size(), 1u);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\Photos\\"}));
}

TEST_F(ScanCommandsTest, ChosenFolderOnlyRememberedWithoutScanAfterChange)
{
    start({"Scan_Type=1", "Scan_After_Change_Folder=0"});
    ui.answerFolder(nativeFolder("c"));
    pane->btnMoreFolder->click();
    // A drive's root reads "C:" in the box and "C:\\" as the folder to scan.
    EXPECT_EQ(pane->txtSelectFolder->text(), "C:");
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
    pane->btnMoreFolder->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    EXPECT_TRUE(ui.messages[0].text.contains(nativeFolder("elsewhere")));
    EXPECT_EQ(pane->txtSelectFolder->text(), "C:\\");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:");
    EXPECT_EQ(settingsText(), before);
    EXPECT_TRUE(ui.modalWindows.empty());
}

TEST_F(ScanCommandsTest, CancelledBrowserChangesNothing)
{
    start({"Scan_Type=1", "Starting_Folder=C:\\"});
    ui.answerFolder(QString());
    pane->btnMoreFolder->click();
    EXPECT_EQ(ui.folderTitles.size(), 1u);
    EXPECT_EQ(pane->txtSelectFolder->text(), "C:\\");
    EXPECT_TRUE(ui.modalWindows.empty());
}

} // namespace
