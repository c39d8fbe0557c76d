// The scan command with its window run for real: report rows, closing rules, cancel, modes, and what
// the trees and tabs look like afterwards.
#include "ScanTestSupport.h"

#include "catalogue/MediaTypes.h"
#include "catalogue/ScanDisk.h"
#include "catalogue/ScanWindow.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

struct Row
{
    QString text;
    int image;
    bool operator==(const Row &o) const { return text == o.text && image == o.image; }
};

std::ostream &operator<<(std::ostream &os, const Row &r)
{
    return os << r.image << ' ' << r.text.toStdString();
}

class ScanWindowTest : public ScanFixture
{
protected:
    std::vector<Row> rows;
    QString caption;
    QString buttonAtEnd;
    bool animated = false;
    bool closedByUser = false;

    // Runs the window for real; presses Close when it waits for it; keeps what it showed.
    void runWindow(std::function<void(TfrmScanDisks *)> during = {})
    {
        ui.onModal("frmScanDisks", [this, during](QDialog *d) {
            auto *w = static_cast<TfrmScanDisks *>(d);
            QObject::connect(w, &TfrmScanDisks::folderEntered, w, [this, w] {
                caption = w->windowTitle();
                animated = w->Animate1->isVisible();
            });
            if (during)
                during(w);
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, w, [this, w] {
                // A window that closed by itself is not waiting for anyone.
                if (w->isVisible() && w->btnCancel->text() == "Fermer") {
                    closedByUser = true;
                    keep(w);
                    w->btnCancel->click();
                }
            });
            poll.start(5);
            const int result = w->exec();
            keep(w);
            return result;
        });
    }

    void keep(TfrmScanDisks *w)
    {
        rows.clear();
        for (int i = 0; i < w->lvReportList->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *r = w->lvReportList->topLevelItem(i);
            rows.push_back({r->text(0), r->data(0, Qt::UserRole).toInt()});
        }
        buttonAtEnd = w->btnCancel->text();
    }

    bool tabShown(int code) const
    {
        return main->pcMain->isTabVisible(main->pcMain->indexOf(main->ts[code]));
    }

    void writeMedia()
    {
        writeFile("c/Photos/2000/a.bmp");
        writeFile("c/Photos/b.gif");
        writeFile("c/Docs/readme.txt");
    }
};

TEST_F(ScanWindowTest, ScanNowFillsTheTreesAndClosesByItself)
{
    start();
    writeMedia();
    runWindow();
    main->action("mnuMain_View_ScanNow")->trigger();
    EXPECT_EQ(ui.modalWindows, std::vector<QString>({"frmScanDisks"}));
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitement du disque C", 2}}));
    EXPECT_EQ(buttonAtEnd, "Fermer");
    EXPECT_EQ(caption, "Scan drives");
    EXPECT_TRUE(animated);
    EXPECT_EQ(mediaFolders(tree(mtALL)), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
    EXPECT_EQ(mediaFolders(tree(mtBMP)), QStringList({"C:\\Photos\\2000\\"}));
    EXPECT_EQ(mediaFolders(tree(mtGIF)), QStringList({"C:\\Photos\\"}));
    for (int code = 1; code <= 12; ++code)
        EXPECT_EQ(tabShown(code), code == mtBMP || code == mtGIF) << code;
    // Expanded at the end (the default), the ALL tab active on its root, the scan over.
    for (QTreeWidgetItemIterator it(tree(mtALL)); *it; ++it) {
        if ((*it)->childCount() > 0) {
            EXPECT_TRUE((*it)->isExpanded());
        }
    }
    EXPECT_EQ(main->pcMain->currentWidget(), main->ts[mtALL]);
    EXPECT_EQ(app.st.CurrentView.CurrentNode, tree(mtALL)->topLevelItem(0));
    EXPECT_FALSE(app.st.ScanRequest.Scanning);
    EXPECT_EQ(app.st.ScanWindow, nullptr);
    EXPECT_EQ(app.st.Disks[3].FileCount, 2);
}

TEST_F(ScanWindowTest, ScanButtonAndF5StartTheScan)
{
    start({"First_Time=0"});
    writeMedia();
    runWindow();
    main->btnScanDrives->click();
    EXPECT_EQ(ui.modalWindows.size(), 1u);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTest::keyClick(main.get(), Qt::Key_F5);
    EXPECT_EQ(ui.modalWindows.size(), 2u);
    EXPECT_EQ(mediaFolders(tree(mtGIF)), QStringList({"C:\\Photos\\"}));
}

TEST_F(ScanWindowTest, CollapsedAtTheEndWhenAsked)
{
    start({"Expand_Treeview_At_End_Of_Scan=0"});
    writeMedia();
    runWindow();
    RunScan(app);
    for (int code : {mtALL, mtBMP, mtGIF}) {
        const QTreeWidgetItem *root = tree(code)->topLevelItem(0);
        EXPECT_TRUE(root->isExpanded()) << code;
        ASSERT_EQ(root->childCount(), 1);
        EXPECT_FALSE(root->child(0)->isExpanded()) << code;
    }
}

TEST_F(ScanWindowTest, CancelKeepsNothing)
{
    start();
    writeMedia();
    for (int i = 0; i < 5; ++i)
        writeFile(QStringLiteral("c/m/%1/x.bmp").arg(i));
    runWindow([](TfrmScanDisks *w) {
        QObject::connect(w, &TfrmScanDisks::folderEntered, w, [w](const QString &path) {
            if (path == "C:\\m\\")
                QMetaObject::invokeMethod(w->btnCancel, &QPushButton::click, Qt::QueuedConnection);
        });
    });
    RunScan(app);
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Lecture du disque C ...", 0}}));
    EXPECT_EQ(buttonAtEnd, "Annuler");
    for (int code = 0; code <= 12; ++code) {
        EXPECT_EQ(nodeCount(tree(code)), 1) << code;
        if (code > 0) {
            EXPECT_FALSE(tabShown(code)) << code;
        }
    }
    EXPECT_EQ(main->pcMain->currentWidget(), main->ts[mtALL]);
    EXPECT_TRUE(app.st.CurrentView.CurrentFolder.isEmpty());
    EXPECT_TRUE(app.st.ScanCancelled);
    EXPECT_FALSE(app.st.ScanRequest.Scanning);
}

TEST_F(ScanWindowTest, EscapeCancels)
{
    start();
    writeMedia();
    runWindow([](TfrmScanDisks *w) {
        QObject::connect(w, &TfrmScanDisks::folderEntered, w, [w](const QString &path) {
            if (path == "C:\\Photos\\")
                QTest::keyClick(w, Qt::Key_Escape);
        });
    });
    RunScan(app);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(nodeCount(tree(mtALL)), 1);
    EXPECT_TRUE(app.st.ScanCancelled);
}

TEST_F(ScanWindowTest, DontCloseScanFormWaitsForClose)
{
    start({"Dont_Close_Scan_Form=1"});
    writeMedia();
    runWindow();
    RunScan(app);
    EXPECT_TRUE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitement du disque C", 2}}));
    EXPECT_EQ(mediaFolders(tree(mtBMP)), QStringList({"C:\\Photos\\2000\\"}));
}

TEST_F(ScanWindowTest, FailedDriveIsReportedAndTheOthersStillScanned)
{
    setDrives("C=" + folder("c") + ";E=" + tmp.filePath("nomedium") + ",removable");
    start();
    writeMedia();
    runWindow();
    RunScan(app);
    EXPECT_TRUE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>(
                        {{"Fin normale de traitement du disque C", 2},
                         {"Fin anormale de traitement du disque E : Le périphérique n'est pas prêt.", 1}}));
    EXPECT_TRUE(app.st.ScanFailed);
    // What the good drive held is kept.
    EXPECT_EQ(mediaFolders(tree(mtGIF)), QStringList({"C:\\Photos\\"}));
}

TEST_F(ScanWindowTest, SkippedFoldersAreCountedInTheRow)
{
    start();
    writeMedia();
    writeFile("c/private/x.bmp");
    writeFile("c/private2/y.bmp");
    openToEveryone();
    QFile::setPermissions(tmp.filePath("c/private"), QFile::Permissions());
    QFile::setPermissions(tmp.filePath("c/private2"), QFile::Permissions());
    runWindow();
    {
        AsOrdinaryUser user;
        if (!user.ordinary())
            GTEST_SKIP() << "cannot leave the root user";
        RunScan(app);
    }
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>(
                        {{"Fin normale de traitement du disque C (2 dossiers inaccessibles ignorés)", 2}}));
    EXPECT_EQ(mediaFolders(tree(mtALL)), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
}

TEST_F(ScanWindowTest, NoDriveSelectedShowsNoRow)
{
    start();
    writeMedia();
    main->tbDrive[3]->click(); // released: C takes no part
    ASSERT_FALSE(app.st.Disks[3].Selected);
    runWindow();
    RunScan(app);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(nodeCount(tree(mtALL)), 1);
    EXPECT_EQ(app.st.ScanRequest.CurrentDrive, 26);
}

TEST_F(ScanWindowTest, FolderMode)
{
    start({"Scan_Type=1", "Starting_Folder=C:\\Photos\\"});
    writeMedia();
    writeFile("c/Other/z.bmp");
    EXPECT_EQ(app.st.ScanRequest.Folder, "C:\\Photos");
    EXPECT_FALSE(app.st.ScanRequest.ScanDrives);
    runWindow();
    RunScan(app);
    EXPECT_EQ(caption, "Scan a folder");
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitrement du dossier C:\\Photos", 2}}));
    EXPECT_EQ(mediaFolders(tree(mtALL)), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
    EXPECT_EQ(app.st.ScanRequest.CurrentDrive, 3);
    EXPECT_EQ(app.st.Disks[3].FileCount, 2);
}

TEST_F(ScanWindowTest, FolderModeWithoutAFolderScansNothing)
{
    start({"Scan_Type=1"});
    writeMedia();
    main->txtSelectFolder->setText("  ");
    EXPECT_EQ(app.st.ScanRequest.Folder, "");
    runWindow();
    RunScan(app);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(nodeCount(tree(mtALL)), 1);
}

TEST_F(ScanWindowTest, FolderModeOnAMissingFolderEndsAbnormally)
{
    start({"Scan_Type=1", "Starting_Folder=C:\\Gone"});
    runWindow();
    RunScan(app);
    EXPECT_TRUE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin anormale de traitement du dossier C:\\Gone : Le chemin d'accès "
                                       "spécifié est introuvable.",
                                       1}}));
}

TEST_F(ScanWindowTest, StartScanCWithWalksThatFolderForDriveC)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    start({"Start_Scan_C_With=D:\\Media\\"});
    writeFile("c/x.bmp");
    writeFile("d/Media/a.bmp");
    writeFile("d/Media/b.jpg");
    writeFile("d/Other/c.bmp");
    runWindow();
    RunScan(app);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitement du disque C", 2},
                                      {"Fin normale de traitement du disque D", 2}}));
    EXPECT_EQ(app.st.Disks[3].FileCount, 2); // D:\Media, counted on C's row
    EXPECT_EQ(app.st.Disks[4].FileCount, 3);
    EXPECT_EQ(mediaFolders(tree(mtALL)), QStringList({"D:\\Media\\", "D:\\Other\\"}));
    EXPECT_EQ(tree(mtALL)->topLevelItem(0)->childCount(), 1); // no (C:) node: C's root was not walked
}

} // namespace
