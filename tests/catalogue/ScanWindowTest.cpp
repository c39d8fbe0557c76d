// The scan command with its window run for real: report rows, closing rules, cancel, modes, and what
// the trees and tabs look like afterwards.
#include "CatalogueFixture.h"

#include "catalogue/ScanCommands.h"
#include "catalogue/ScanWindow.h"

#include "catalogue/TypeTabs.h"
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

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

class ScanWindowTest : public CatalogueFixture
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
    mnuMain_View_ScanNowClick(*pane);
    EXPECT_EQ(ui.modalWindows, std::vector<QString>({"frmScanDisks"}));
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitement du disque C", 2}}));
    EXPECT_EQ(buttonAtEnd, "Fermer");
    EXPECT_EQ(caption, "Scan drives");
    EXPECT_TRUE(animated);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
    EXPECT_EQ(mediaFolders(mtBMP), QStringList({"C:\\Photos\\2000\\"}));
    EXPECT_EQ(mediaFolders(mtGIF), QStringList({"C:\\Photos\\"}));
    for (MediaType t : kMediaTypes)
        EXPECT_EQ(tabShown(t), t == mtBMP || t == mtGIF) << code(t);
    // Expanded at the end (the default), the ALL tab active on its root, the scan over.
    store().forEachNode(mtALL, [&](NodeId n) {
        if (store().childCount(n) > 0) {
            EXPECT_TRUE(tree(mtALL)->isNodeExpanded(n));
        }
    });
    EXPECT_EQ(pane->pcMain->currentWidget(), pane->sheet(mtALL));
    EXPECT_EQ(app.st.CurrentView.CurrentNode, root(mtALL));
    EXPECT_FALSE(app.st.ScanRequest.Scanning);
    EXPECT_FALSE(store().inBatch());
    EXPECT_EQ(app.st.Disks[3].FileCount, 2);
}

TEST_F(ScanWindowTest, CollapsedAtTheEndWhenAsked)
{
    start({"Expand_Treeview_At_End_Of_Scan=0"});
    writeMedia();
    runWindow();
    RunScan(*pane);
    for (MediaType t : {mtALL, mtBMP, mtGIF}) {
        EXPECT_TRUE(tree(t)->isNodeExpanded(root(t))) << code(t);
        ASSERT_EQ(store().childCount(root(t)), 1);
        EXPECT_FALSE(tree(t)->isNodeExpanded(store().child(root(t), 0))) << code(t);
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
    RunScan(*pane);
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Lecture du disque C ...", 0}}));
    EXPECT_EQ(buttonAtEnd, "Annuler");
    for (MediaType t : kAllTypes) {
        EXPECT_EQ(nodeCount(t), 1) << code(t);
        if (t != mtALL) {
            EXPECT_FALSE(tabShown(t)) << code(t);
        }
    }
    EXPECT_EQ(pane->pcMain->currentWidget(), pane->sheet(mtALL));
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
    RunScan(*pane);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(nodeCount(mtALL), 1);
    EXPECT_TRUE(app.st.ScanCancelled);
}

TEST_F(ScanWindowTest, DontCloseScanFormWaitsForClose)
{
    start({"Dont_Close_Scan_Form=1"});
    writeMedia();
    runWindow();
    RunScan(*pane);
    EXPECT_TRUE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitement du disque C", 2}}));
    EXPECT_EQ(mediaFolders(mtBMP), QStringList({"C:\\Photos\\2000\\"}));
}

TEST_F(ScanWindowTest, FailedDriveIsReportedAndTheOthersStillScanned)
{
    setDrives("C=" + folder("c") + ";E=" + tmp.filePath("nomedium") + ",removable");
    start();
    writeMedia();
    runWindow();
    RunScan(*pane);
    EXPECT_TRUE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>(
                        {{"Fin normale de traitement du disque C", 2},
                         {"Fin anormale de traitement du disque E : Le périphérique n'est pas prêt.", 1}}));
    EXPECT_TRUE(app.st.ScanFailed);
    // What the good drive held is kept.
    EXPECT_EQ(mediaFolders(mtGIF), QStringList({"C:\\Photos\\"}));
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
        RunScan(*pane);
    }
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(rows, std::vector<Row>(
                        {{"Fin normale de traitement du disque C (2 dossiers inaccessibles ignorés)", 2}}));
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
}

TEST_F(ScanWindowTest, NoDriveSelectedShowsNoRow)
{
    start();
    writeMedia();
    pane->tbDrive[3]->click(); // released: C takes no part
    ASSERT_FALSE(app.st.Disks[3].Selected);
    runWindow();
    RunScan(*pane);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(nodeCount(mtALL), 1);
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
    RunScan(*pane);
    EXPECT_EQ(caption, "Scan a folder");
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitrement du dossier C:\\Photos", 2}}));
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
    EXPECT_EQ(app.st.ScanRequest.CurrentDrive, 3);
    EXPECT_EQ(app.st.Disks[3].FileCount, 2);
}

TEST_F(ScanWindowTest, FolderModeWithoutAFolderScansNothing)
{
    start({"Scan_Type=1"});
    writeMedia();
    pane->txtSelectFolder->setText("  ");
    EXPECT_EQ(app.st.ScanRequest.Folder, "");
    runWindow();
    RunScan(*pane);
    EXPECT_TRUE(rows.empty());
    EXPECT_FALSE(closedByUser);
    EXPECT_EQ(nodeCount(mtALL), 1);
}

TEST_F(ScanWindowTest, FolderModeOnAMissingFolderEndsAbnormally)
{
    start({"Scan_Type=1", "Starting_Folder=C:\\Gone"});
    runWindow();
    RunScan(*pane);
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
    RunScan(*pane);
    EXPECT_EQ(rows, std::vector<Row>({{"Fin normale de traitement du disque C", 2},
                                      {"Fin normale de traitement du disque D", 2}}));
    EXPECT_EQ(app.st.Disks[3].FileCount, 2); // D:\Media, counted on C's row
    EXPECT_EQ(app.st.Disks[4].FileCount, 3);
    EXPECT_EQ(mediaFolders(mtALL), QStringList({"D:\\Media\\", "D:\\Other\\"}));
    EXPECT_EQ(store().childCount(root(mtALL)), 1); // no (C:) node: C's root was not walked
}

} // namespace
