// Copy one file (and "save as"), copy the selected files: into real folders, with the replace
// question, cancel, failures, a copy onto itself, the warning and the list's refill.
#include "FileOpsFixture.h"

#include <QApplication>
#include <QProgressBar>
#include <unistd.h>

using platform::MsgKind;

namespace {

const char *const kNotCopied = "Attention: Le fichier n'a pas été copié.";
const char *const kSomeNotCopied = "Attention: Un ou plusieurs fichiers n'ont pas été copiés.";

} // namespace

class CopyOneFileTest : public FileOpsFixture
{
};

TEST_F(CopyOneFileTest, TakesTheSelectedItemWhileSaveAsTakesTheFileOnView)
{
    openPictures();
    folder("out");
    view("a.bmp");
    ctrlToggle("b.bmp");
    ctrlToggle("a.bmp");                   // b.bmp alone is selected; a.bmp stays on view
    ui.answerSaveFile(native("out/copy")); // typed without an extension
    ui.answerSaveFile(native("out/shown.bmp"));
    ui.answerSaveFile(QString());
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Done);
    EXPECT_EQ(CopyOneFile(app, true), FileOpOutcome::Done);
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Cancelled);
    EXPECT_EQ(bytes("out/copy.bmp") + bytes("out/shown.bmp"), "BBBBBBAAAA");
    // The dialog opens on the file in its folder, offers its type first, and titles the command.
    ASSERT_EQ(ui.saveRequests.size(), 3u);
    EXPECT_EQ(ui.saveRequests[0].title, "Copier fichier vers...");
    EXPECT_EQ(ui.saveRequests[0].startPath, native("c/P/b.bmp"));
    EXPECT_EQ(ui.saveRequests[0].filter, "Image bitmap (*.bmp *.BMP);;Tous fichiers (*)");
    EXPECT_EQ(ui.saveRequests[1].title, "Enregistrer le fichier sous...");
    EXPECT_EQ(ui.saveRequests[1].startPath, native("c/P/a.bmp"));

    view("Sub"); // no file to copy: the plain beep
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::NothingToDo);
    EXPECT_EQ(CopyOneFile(app, true), FileOpOutcome::NothingToDo);
    EXPECT_EQ(ui.beeps, std::vector<platform::BeepKind>(2, platform::BeepKind::Plain));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CopyOneFileTest, ADeclinedReplaceLeavesTheTargetByteIdentical)
{
    openPictures();
    writeFile("c/Q/a.bmp", "OLD");
    view("a.bmp");
    answerReplace(
        {TdlgConfirmReplace::No, QDialog::Rejected, TdlgConfirmReplace::No, TdlgConfirmReplace::Yes});
    for (int i = 0; i < 4; ++i)
        ui.answerSaveFile(native("c/Q/a.bmp"));
    ui.acceptOkBoxes = true;
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Aborted);
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Aborted); // the close box is "Non"
    EXPECT_EQ(bytes("c/Q/a.bmp"), "OLD");
    EXPECT_EQ(namesIn("c/Q"), "a.bmp");
    EXPECT_EQ(questions[0],
              "Le fichier « C:\\Q\\a.bmp » existe déjà. Voulez-vous le remplacer ? btnYes btnNo");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text, kNotCopied);
    EXPECT_EQ(ui.messages[0].kind, MsgKind::Warning);

    app.st.settings.Msg_If_Copy_Cancel = false; // then the user is not told
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Aborted);
    EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Done);
    EXPECT_EQ(bytes("c/Q/a.bmp"), "AAAA");
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(CopyOneFileTest, ACopyOntoItselfFailsClearlyAndNeverTouchesTheSource)
{
    openPictures();
    view("a.bmp");
    ui.acceptOkBoxes = true;
    folder("out");
    ASSERT_TRUE(QFile::link(native("c/P"), native("link")));
    ASSERT_EQ(::link(QFile::encodeName(native("c/P/a.bmp")), QFile::encodeName(native("out/hard.bmp"))), 0);
    // Its own name, through a link to its folder, as a hard link.
    for (const QString &target : {native("c/P/a.bmp"), native("link/a.bmp"), native("out/hard.bmp")}) {
        ui.answerSaveFile(target);
        EXPECT_EQ(CopyOneFile(app, false), FileOpOutcome::Failed);
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[0].text,
                  "Le fichier « a.bmp » n'a pas été copié : la destination est ce fichier lui-même.");
        EXPECT_EQ(ui.messages[1].text, kNotCopied);
        ui.messages.clear();
    }
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_EQ(bytes("c/P/a.bmp"), "AAAA");
    EXPECT_EQ(namesIn("c/P"), "Sub a.bmp b.bmp c.jpg");
}

TEST_F(CopyOneFileTest, ACopyIntoTheListedFolderFillsTheListAndKeepsTheFileOnView)
{
    openPictures();
    view("a.bmp");
    viewer.playing = true;
    const int emptied = viewer.emptyPages;
    writeFile("c/P/z.bmp"); // behind the program's back: only a refill shows it
    ui.answerSaveFile(native("c/Q/../P/e.bmp"));
    folder("c/Q");
    EXPECT_EQ(CopyOneFile(app, true), FileOpOutcome::Done);
    EXPECT_EQ(listed(), "Sub a.bmp b.bmp c.jpg e.bmp z.bmp");
    EXPECT_EQ(panel(1), "5 fichiers");
    const int a = rowOf(mtALL, "a.bmp");
    EXPECT_EQ(app.st.Selection.Item, a);
    EXPECT_EQ(app.st.Selection.FileName, "a.bmp");
    EXPECT_TRUE(list(mtALL)->isSelected(a));
    EXPECT_EQ(viewer.emptyPages, emptied);
    EXPECT_TRUE(viewer.playing);
}

class CopySelectedFilesTest : public FileOpsFixture
{
};

TEST_F(CopySelectedFilesTest, CopiesTheFilesNeverAFolderAndYesToAllAnswersTheRest)
{
    openPictures();
    view("a.bmp");
    ctrlToggle("Sub");
    ctrlToggle("c.jpg");
    writeFile("out/a.bmp", "OLD");
    writeFile("out/c.jpg", "OLD");
    answerReplace({TdlgConfirmReplace::YesToAll});
    ui.answerFolder(native("out"));
    ui.answerFolder(QString());
    EXPECT_EQ(CopySelectedFiles(app), FileOpOutcome::Done);
    EXPECT_EQ(CopySelectedFiles(app), FileOpOutcome::Cancelled);
    EXPECT_EQ(namesIn("out"), "a.bmp c.jpg");
    EXPECT_EQ(bytes("out/a.bmp") + bytes("out/c.jpg"), "AAAACCCCCCCC");
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].endsWith("? btnYes btnYesToAll btnNo btnCancel"));
    EXPECT_EQ(ui.folderTitles[0], "Sélectionner le dossier destination:");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CopySelectedFilesTest, ACancelledCopyLeavesNoPartialFileAndTheTargetIntact)
{
    openPictures();
    view("a.bmp");
    ctrlToggle("b.bmp");
    writeFile("out/a.bmp", "OLD");
    writeFile("out/b.bmp", "OLD");
    // While the question is open the user presses "Annuler" in the progress window, then says yes.
    ui.onModal("dlgConfirmReplace", [](QDialog *) {
        QWidget *progress = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmCopyProgress")
                progress = w;
        EXPECT_TRUE(progress && progress->findChild<QProgressBar *>()->maximum() == 1000);
        if (progress)
            progress->findChild<QPushButton *>("btnCancel")->click();
        return int(TdlgConfirmReplace::Yes);
    });
    ui.answerFolder(native("out"));
    ui.acceptOkBoxes = true;
    EXPECT_EQ(CopySelectedFiles(app), FileOpOutcome::Aborted);
    EXPECT_EQ(bytes("out/a.bmp") + bytes("out/b.bmp"), "OLDOLD");
    EXPECT_EQ(namesIn("out"), "a.bmp b.bmp");
    EXPECT_EQ(lastMessage(), kSomeNotCopied);
}

TEST_F(CopySelectedFilesTest, AFailedFileIsToldAndTheUserSaysWhetherTheOthersFollow)
{
    openPictures();
    view("a.bmp");
    ctrlToggle("b.bmp");
    QStringList order = captions(mtALL); // files go in list order
    order.removeAll("Sub");
    order.removeAll("c.jpg");
    folder("out/" + order[0]); // a folder stands where the first would go
    ui.answerFolder(native("out"));
    ui.answerMessage(platform::mbNo);
    ui.answerMessage(platform::mbOK);
    EXPECT_EQ(CopySelectedFiles(app), FileOpOutcome::Failed);
    EXPECT_EQ(namesIn("out"), order[0]);
    EXPECT_EQ(ui.messages[0].text,
              QString("Le fichier « %1 » n'a pas été copié : un dossier porte déjà le nom "
                      "« %1 ».\nCopier les fichiers suivants ?")
                  .arg(order[0]));
    EXPECT_EQ(ui.messages[0].buttons, platform::mbYes | platform::mbNo);
    EXPECT_EQ(lastMessage(), kSomeNotCopied);
}
