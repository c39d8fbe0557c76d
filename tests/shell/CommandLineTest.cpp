// A folder or file named on the command line or handed over by a later start: the scan of the folder,
// the file shown in the ALL list, the paths refused, the wait for the main window, and the program's
// own arguments and hand-over.
#include "ShellFixture.h"

#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/ScanWindow.h"
#include "catalogue/TypeTabs.h"
#include "shell/CommandLine.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <unistd.h>

class CommandLineTest : public ShellFixture
{
protected:
    CommandLineTest() { writeSettings({"First_Time=0"}); }

    // A small real bitmap, so that the viewer can show it.
    QString writeBitmap(const QString &relative)
    {
        const QString path = writeFile(relative);
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::blue);
        image.save(path, "BMP");
        return path;
    }

    // The main window, shown and active (a viewer page shows nothing before), scans run for real.
    void startShown()
    {
        ui.onModal("frmScanDisks", [this](QDialog *d) {
            ++scans;
            return d->exec();
        });
        createMain();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    }

    QStringList mediaFolders() const
    {
        QStringList paths;
        const CatalogueStore &store = main->catalogue.store;
        store.forEachNode(mtALL, [&](NodeId n) {
            if (store.kind(n) == NodeKind::MediaFolder)
                paths << store.pathOf(n);
        });
        return paths;
    }

    int scans = 0;
};

TEST_F(CommandLineTest, AFolderIsScannedInFolderModeAndBecomesTheStartingFolder)
{
    writeBitmap("c/Photos/a.bmp");
    writeBitmap("c/Photos/2000/b.bmp");
    writeBitmap("c/Autres/x.bmp");
    startShown();
    OpenFromCommandLine(*main, tmp.filePath("c/Photos"));
    EXPECT_EQ(scans, 1);
    EXPECT_FALSE(app.st.ScanRequest.ScanDrives);
    EXPECT_EQ(pane().txtSelectFolder->text(), "C:\\Photos");
    EXPECT_EQ(mediaFolders(), QStringList({"C:\\Photos\\", "C:\\Photos\\2000\\"}));
    EXPECT_TRUE(settingsText().contains("Scan_Type=1\n"));
    EXPECT_TRUE(settingsText().contains("Starting_Folder=C:\\Photos\n"));

    // A trailing separator, and the drive's root itself.
    OpenFromCommandLine(*main, tmp.filePath("c/Photos/2000") + '/');
    EXPECT_EQ(mediaFolders(), QStringList({"C:\\Photos\\2000\\"}));
    OpenFromCommandLine(*main, tmp.filePath("c"));
    EXPECT_EQ(mediaFolders(), QStringList({"C:\\Autres\\", "C:\\Photos\\", "C:\\Photos\\2000\\"}));
    EXPECT_EQ(scans, 3);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandLineTest, AFileIsSelectedInTheAllListAndShownAfterTheScanOfItsFolder)
{
    // A click in a list does not show files: the command line shows its file all the same.
    writeSettings({"First_Time=0", "Wiew_When_Click_ListView=0"});
    writeBitmap("c/Photos/Vacances/v.bmp");
    writeBitmap("c/Photos/a.bmp");
    writeBitmap("c/Photos/b.bmp");
    startShown();
    pane().pcMain->setCurrentWidget(pane().sheet(mtBMP));
    OpenFromCommandLine(*main, tmp.filePath("c/Photos/b.bmp"));

    EXPECT_EQ(pane().pcMain->currentWidget(), pane().sheet(mtALL));
    EXPECT_EQ(main->catalogue.store.pathOf(pane().tree(mtALL)->currentNode()), "C:\\Photos\\");
    const SelectionRecord &s = app.st.Selection;
    EXPECT_EQ(s.List, mtALL);
    EXPECT_EQ(s.FileName, "b.bmp");
    ASSERT_GE(s.Item, 0);
    TListView *list = pane().list(mtALL);
    EXPECT_EQ(list->item(s.Item).caption, "b.bmp");
    EXPECT_EQ(list->selectedCount(), 1);
    EXPECT_EQ(viewer().currentViewerPage(), "BMP");
    EXPECT_EQ(app.st.Viewed[mtBMP].Path, "C:\\Photos\\b.bmp");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CommandLineTest, PathsThatCannotBeOpenedGiveAnErrorBoxAndChangeNothing)
{
    ui.acceptOkBoxes = true;
    writeBitmap("ailleurs/a.bmp");
    writeFile("c/notes.txt");
    startShown();
    const QString offDrive = tmp.filePath("ailleurs/a.bmp");
    const QString missing = tmp.filePath("c/absent.bmp");
    const QString notMedia = tmp.filePath("c/notes.txt");
    for (const QString &path : {offDrive, missing, notMedia})
        OpenFromCommandLine(*main, path);

    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].text,
              "Le chemin " + offDrive + " ne se trouve sur aucun disque : il ne peut pas être ouvert.");
    EXPECT_EQ(ui.messages[1].text, "Le chemin " + missing + " n'existe pas ou n'est pas accessible.");
    EXPECT_EQ(ui.messages[2].text, "Le fichier " + notMedia + " n'est pas d'un type multimédia connu.");
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    EXPECT_EQ(scans, 0);
    EXPECT_TRUE(app.st.ScanRequest.ScanDrives);
    EXPECT_FALSE(settingsText().contains("Scan_Type=1"));
}

TEST_F(CommandLineTest, AFileTheScanLeavesOutIsReportedAndACancelledScanSaysNothing)
{
    ui.acceptOkBoxes = true;
    // BMP files are not looked for.
    writeSettings({"First_Time=0", "Scan_File_BMP=0"});
    writeBitmap("c/Photos/a.bmp");
    writeFile("c/Photos/b.gif", "GIF89a");
    startShown();
    OpenFromCommandLine(*main, tmp.filePath("c/Photos/a.bmp"));
    EXPECT_EQ(scans, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              "Le fichier C:\\Photos\\a.bmp ne figure pas dans la liste du dossier exploré.");
    EXPECT_EQ(app.st.Selection.Item, -1);

    ui.onModal("frmScanDisks", [](QDialog *d) {
        auto *window = static_cast<TfrmScanDisks *>(d);
        window->show();
        window->btnCancelClick();
        return window->result();
    });
    OpenFromCommandLine(*main, tmp.filePath("c/Photos/b.gif"));
    EXPECT_EQ(ui.modalWindows.size(), 2u);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(mediaFolders().isEmpty());
    EXPECT_EQ(app.st.Selection.Item, -1);
}

TEST_F(CommandLineTest, ARequestWaitsForTheWindowsActivationAndForTheEndOfAModalScan)
{
    writeBitmap("c/Photos/a.bmp");
    writeBitmap("c/Photos/b.bmp");
    int inside = -1;
    ui.onModal("frmScanDisks", [&](QDialog *d) {
        ++scans;
        if (scans == 1) {
            // A later start hands a file over while this scan runs.
            OpenWhenReady(*main, tmp.filePath("c/Photos/b.bmp"));
            const int result = d->exec();
            inside = scans;
            return result;
        }
        return d->exec();
    });
    createMain();
    OpenWhenReady(*main, tmp.filePath("c/Photos/a.bmp"));
    QCoreApplication::processEvents();
    EXPECT_EQ(scans, 0); // the window was never activated
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
    QTRY_COMPARE_WITH_TIMEOUT(scans, 2, 20000);
    EXPECT_EQ(inside, 1); // the second scan did not start inside the first
    QTRY_COMPARE_WITH_TIMEOUT(app.st.Selection.FileName, QString("b.bmp"), 20000);
    EXPECT_EQ(app.st.Viewed[mtBMP].Path, "C:\\Photos\\b.bmp");
}

// The real program: its own arguments, and a path handed from a later start to the first.
class CommandLineProgramTest : public ::testing::Test
{
protected:
    CommandLineProgramTest()
    {
        QDir().mkpath(tmp.filePath("config"));
        QFile ini(tmp.filePath("config/LUMA.INI"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("[Lumavista]\nFirst_Time=0\n");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("SDL_AUDIODRIVER", "dummy");
        env.insert("LUMAVISTA_CONFIG_DIR", tmp.filePath("config"));
        env.insert("LUMAVISTA_DRIVES", "C=" + tmp.filePath("c"));
        env.insert("XDG_RUNTIME_DIR", tmp.path());
    }
    ~CommandLineProgramTest() override
    {
        for (QProcess *p : {&first, &second})
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished();
            }
    }

    // Runs the program to its end; its exit code.
    int run(QProcess &p, const QStringList &arguments)
    {
        p.setProcessEnvironment(env);
        p.start(LUMAVISTA_BINARY, arguments);
        if (!p.waitForFinished(20000))
            return -1;
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QString settings() const
    {
        QFile ini(tmp.filePath("config/LUMA.INI"));
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    }

    QTemporaryDir tmp;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QProcess first, second;
};

TEST_F(CommandLineProgramTest, HelpAndVersionNeedNoDisplayAndAWrongOptionIsRefused)
{
    const QProcessEnvironment withDisplay = env;
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        env.remove(name);
    EXPECT_EQ(run(first, {"--version"}), 0);
    EXPECT_EQ(QString::fromUtf8(first.readAllStandardOutput()), "Lumavista 1.20\n");
    EXPECT_EQ(run(first, {"-h"}), 0);
    EXPECT_TRUE(QString::fromUtf8(first.readAllStandardOutput()).startsWith("Utilisation : lumavista"));
    env = withDisplay;
    EXPECT_EQ(run(first, {"--couleur"}), 2);
    EXPECT_TRUE(QString::fromUtf8(first.readAllStandardError()).contains("option inconnue « couleur »"));
}

TEST_F(CommandLineProgramTest, TheFirstInstanceScansItsFolderAndTheOneALaterStartHandsOver)
{
    QDir().mkpath(tmp.filePath("c/Photos"));
    QDir().mkpath(tmp.filePath("c/Sons"));
    first.setProcessEnvironment(env);
    first.setWorkingDirectory(tmp.filePath("c"));
    first.start(LUMAVISTA_BINARY, {"Photos"}); // relative to the folder it starts in
    ASSERT_TRUE(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(settings().contains("Starting_Folder=C:\\Photos\n"), 30000);
    EXPECT_TRUE(settings().contains("Scan_Type=1\n"));

    EXPECT_EQ(run(second, {tmp.filePath("c/Sons")}), 0);
    QTRY_VERIFY_WITH_TIMEOUT(settings().contains("Starting_Folder=C:\\Sons\n"), 30000);
    EXPECT_EQ(first.state(), QProcess::Running);
}
