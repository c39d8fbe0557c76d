// Keeping the catalogue between runs as the scan command and the start-up do it: what is written
// when, what is put back at the next start, and which kept files a start refuses.
#include "CatalogueFixture.h"

#include "catalogue/KeptCatalogueCommands.h"
#include "catalogue/ScanCommands.h"
#include "catalogue/ScanWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace {

class KeepCommandsTest : public CatalogueFixture
{
protected:
    void makeTree()
    {
        writeFile("c/Photos/2000/a.bmp", "12345");
        writeFile("c/Photos/b.jpg", "12");
        writeFile("c/Music/x.wav", "1234567");
        writeFile("d/Clips/y.avi", "123");
    }
    QStringList everything() const
    {
        QStringList out;
        for (MediaType t : kAllTypes)
            out << QString::number(code(t)) + ": " + shape(t).join(" | ") + (tabShown(t) ? " shown" : "");
        for (int n : {3, 4})
            out << QStringLiteral("%1: %2 %3")
                       .arg(n)
                       .arg(app.st.Disks[n].FileCount)
                       .arg(app.st.Disks[n].FileBytes);
        out << (app.st.ScanRequest.ScanDrives ? "drives" : "folder " + app.st.ScanRequest.Folder);
        return out;
    }
    // The next start of the program: the start-up's empty catalogue, then the kept one.
    bool restart(const QStringList &settings = {})
    {
        if (!settings.isEmpty())
            writeSettings(settings);
        LoadSettings(app);
        pane->startUp();
        pane->showEmptyCatalogue();
        forgetIndex();
        for (int n = 1; n <= 26; ++n)
            app.st.Disks[n].FileCount = app.st.Disks[n].FileBytes = 0;
        status.panels[3].clear();
        return RestoreKeptCatalogue(*pane);
    }
    bool kept()
    {
        cat.writer.wait();
        return QFile::exists(KeptCataloguePath());
    }
};

} // namespace

TEST_F(KeepCommandsTest, ACompletedScanIsBackAtTheNextStartWithItsDate)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    makeTree();
    start();
    runScanWindowForReal();
    EXPECT_FALSE(kept());
    RunScan(*pane);
    ASSERT_TRUE(kept());
    EXPECT_EQ(KeptCataloguePath(), tmp.filePath("cache/catalogue"));
    EXPECT_TRUE(panel(3).contains(QRegularExpression("^Catalogue du \\d\\d/\\d\\d/\\d{4} à \\d\\d:\\d\\d$")))
        << qPrintable(panel(3));
    const QStringList scanned = everything();
    EXPECT_TRUE(scanned.join('\n').contains("C:\\Photos\\2000\\ 18"));

    ASSERT_TRUE(restart());
    EXPECT_EQ(everything(), scanned);
    EXPECT_FALSE(panel(3).isEmpty());
    EXPECT_FALSE(cat.index.isEmpty());
    // The lists work on the trees put back: the folder's file is listed from the disk.
    open(mtALL, node(mtALL, "C:\\Photos\\2000\\"));
    EXPECT_EQ(captions(mtALL), QStringList{"a.bmp"});
    EXPECT_EQ(panel(2), "Dossier sélectionné: C:\\Photos\\2000\\");

    EXPECT_EQ(CatalogueMadeText(QDateTime(QDate(2026, 12, 10), QTime(14, 3)).toMSecsSinceEpoch()),
              "Catalogue du 10/12/2026 à 14:03");
}

TEST_F(KeepCommandsTest, TheFolderModeAndItsFolderComeBackAndAnotherFolderIsRefused)
{
    makeTree();
    start({"Scan_Type=1", "Starting_Folder=C:\\Photos"});
    runScanWindowForReal();
    RunScan(*pane);
    const QStringList scanned = everything();
    EXPECT_EQ(scanned.last(), "folder C:\\Photos");

    // Started in drive mode with the same folder in the box: the catalogue's own mode comes back.
    ASSERT_TRUE(restart({"Scan_Type=0", "Starting_Folder=C:\\Photos"}));
    EXPECT_EQ(everything(), scanned);
    EXPECT_EQ(pane->ComboChoice->currentIndex(), 1);
    EXPECT_TRUE(settingsText().contains("Scan_Type=1"));

    EXPECT_FALSE(restart({"Scan_Type=1", "Starting_Folder=C:\\Music"}));
    EXPECT_EQ(nodeCount(mtALL), 1);
    EXPECT_EQ(panel(3), QString());
    EXPECT_TRUE(kept()); // refused, not removed: the folder may come back
}

TEST_F(KeepCommandsTest, OtherTypesOtherDrivesAndDamagedFilesStartEmpty)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    makeTree();
    start();
    runScanWindowForReal();
    RunScan(*pane);
    ASSERT_TRUE(kept());
    QFile file(KeptCataloguePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();

    EXPECT_FALSE(restart({"Scan_File_GIF=0"}));
    EXPECT_EQ(nodeCount(mtALL), 1);
    writeSettings({"Scan_File_GIF=1"});

    // D: now on another folder: another drive set.
    setDrives("C=" + folder("c") + ";D=" + folder("elsewhere"));
    EXPECT_FALSE(restart());
    // A drive more to scan.
    setDrives("C=" + folder("c") + ";D=" + folder("d") + ";E=" + folder("e"));
    EXPECT_FALSE(restart());
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    ASSERT_TRUE(restart());

    const auto writeKept = [&](const QByteArray &bytes) {
        QFile f(KeptCataloguePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    for (const QByteArray &bad : {good.left(good.size() / 3), QByteArray("not a catalogue at all"),
                                  QByteArray(good).replace(200, 4, "XXXX")}) {
        writeKept(bad);
        EXPECT_FALSE(restart());
        for (MediaType t : kAllTypes)
            EXPECT_EQ(nodeCount(t), 1) << code(t);
        EXPECT_EQ(app.st.Disks[3].FileCount, 0);
        EXPECT_EQ(panel(3), QString());
    }
    writeKept(good);
    EXPECT_TRUE(restart());
}

TEST_F(KeepCommandsTest, OptionOffKeepsNothingAndRemovesTheFile)
{
    makeTree();
    start();
    runScanWindowForReal();
    RunScan(*pane);
    ASSERT_TRUE(kept());

    EXPECT_FALSE(restart({"Keep_Catalogue=0"}));
    EXPECT_FALSE(kept());
    EXPECT_EQ(nodeCount(mtALL), 1);
    RunScan(*pane);
    EXPECT_FALSE(kept());
    EXPECT_TRUE(cat.index.isEmpty());
    EXPECT_EQ(panel(3), QString());
    EXPECT_TRUE(mediaFolders(mtALL).contains("C:\\Photos\\2000\\"));
    EXPECT_EQ(cat.lastFoldersReused, 0);
}

TEST_F(KeepCommandsTest, AFailedScanIsNotKept)
{
    setDrives("C=" + folder("c") + ";D=" + tmp.filePath("no-medium"));
    makeTree();
    start({"Dont_Close_Scan_Form=0"});
    ui.onModal("frmScanDisks", [](QDialog *d) {
        auto *w = static_cast<TfrmScanDisks *>(d);
        // A failed root keeps the window open: the user reads it and closes it.
        QObject::connect(w->timProc, &QTimer::timeout, w, [w] {
            QMetaObject::invokeMethod(w->btnCancel, &QPushButton::click, Qt::QueuedConnection);
        });
        return d->exec();
    });
    app.st.Disks[4].Selected = true;
    RunScan(*pane);
    EXPECT_TRUE(app.st.ScanFailed);
    EXPECT_FALSE(kept());
    EXPECT_EQ(panel(3), QString());
}

TEST_F(KeepCommandsTest, TheFileReadAheadAtStartIsPutBackUnlessAWriteCameSince)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d"));
    makeTree();
    start();
    runScanWindowForReal();
    RunScan(*pane);
    ASSERT_TRUE(kept());
    const QStringList scanned = everything();

    PreloadKeptCatalogue(cat);
    ASSERT_TRUE(cat.preload.valid());
    ASSERT_TRUE(restart());
    EXPECT_FALSE(cat.preload.valid());
    EXPECT_EQ(everything(), scanned);

    // Read ahead, then another scan keeps a newer catalogue: the newer one comes back.
    PreloadKeptCatalogue(cat);
    writeFile("c/Music/z.wav", "12");
    RunScan(*pane);
    const QStringList rescanned = everything();
    ASSERT_NE(rescanned, scanned);
    ASSERT_TRUE(restart());
    EXPECT_EQ(everything(), rescanned);
}
