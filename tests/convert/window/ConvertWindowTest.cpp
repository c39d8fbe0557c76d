// The convert window as a person uses it: the real window run by exec(), answered with keys and
// clicks, closed by Escape; then the progress window, its report, and the choices kept in LUMA.INI.
#include "convert/window/ConvertWindow.h"
#include "ConvertWindowSupport.h"
#include "app/Settings.h"
#include "convert/window/ConvertChoices.h"
#include "convert/window/ConvertCommands.h"
#include "support/AppFixture.h"
#include "support/UserInput.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>

using convert::Kind;
using convertwin::pictureBytes;
using convertwin::runProgress;

namespace {

class ConvertWindowTest : public AppFixture
{
protected:
    QStringList names(const QString &relative) const
    {
        return QDir(tmp.filePath(relative))
            .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    // The convert window is answered by act, run once it is up and active.
    void onConvertWindow(std::function<void(TfrmConvert *)> act)
    {
        ui.onModal("frmConvert", [act](QDialog *d) {
            user::whenModalShows([act, d](QWidget *) { act(static_cast<TfrmConvert *>(d)); });
            return d->exec();
        });
    }
    void onProgress(QString &report, std::function<bool(TfrmConvertProgress *)> act = {})
    {
        ui.onModal("frmConvertProgress", [&report, act](QDialog *d) { return runProgress(d, report, act); });
    }
};

} // namespace

TEST_F(ConvertWindowTest, EscapeClosesTheWindowWithNothingDoneThenReturnConvertsWithTheDefaults)
{
    const QString bmp = writeFile("c/P/rouge.bmp", pictureBytes("BMP", qRgb(255, 0, 0)));
    const QString jpg = writeFile("c/P/vert.jpg", pictureBytes("JPG", qRgb(0, 255, 0)));
    onConvertWindow([](TfrmConvert *w) { user::pressKey(w, Qt::Key_Escape); });
    EXPECT_EQ(ConvertFiles(app, {bmp, jpg}), ConvertOutcome::Cancelled);
    EXPECT_EQ(names("c/P"), QStringList({"rouge.bmp", "vert.jpg"}));
    EXPECT_FALSE(QFile::exists(settingsPath())); // nothing chosen, nothing kept

    // The next command: the window again, Return takes its defaults.
    QString counted;
    onConvertWindow([&counted](TfrmConvert *w) {
        counted = w->lblConvertCount->text();
        EXPECT_TRUE(w->formatBox(Kind::Picture)->hasFocus()) << user::focusDescription().toStdString();
        EXPECT_FALSE(w->formatBox(Kind::Sound)->isEnabled()); // no sound among the files
        EXPECT_FALSE(w->spinConvertWidth->isEnabled());       // no drawing either
        EXPECT_TRUE(w->rbConvertBeside->isChecked());
        user::pressKey(w, Qt::Key_Return);
    });
    QString report;
    onProgress(report);
    EXPECT_EQ(ConvertFiles(app, {bmp, jpg}), ConvertOutcome::Done);
    EXPECT_EQ(counted, QString::fromUtf8("2 fichiers à convertir."));
    EXPECT_EQ(names("c/P"), QStringList({"rouge.bmp", "rouge.png", "vert.jpg", "vert.png"}));
    EXPECT_EQ(QImage(tmp.filePath("c/P/rouge.png")).pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_TRUE(report.contains(QString::fromUtf8("La conversion est terminée.")));
    EXPECT_TRUE(report.contains("Fichiers convertis : 2\n")) << report.toStdString();
    EXPECT_TRUE(report.contains(QString::fromUtf8("Fichiers ignorés : 0\nÉchecs : 0")));
    EXPECT_EQ(ui.modalWindows, std::vector<QString>({"frmConvert", "frmConvert", "frmConvertProgress"}));
}

TEST_F(ConvertWindowTest, ChoicesMadeWithTheKeyboardGoToTheirOwnKeysAndComeBackNextTime)
{
    const QString bmp = writeFile("c/P/rouge.bmp", pictureBytes("BMP", qRgb(255, 0, 0)));
    const QString out = tmp.filePath("sortie");
    onConvertWindow([&out](TfrmConvert *w) {
        // Alt+I is the pictures' format; Down picks WebP.
        user::pressKey(w, Qt::Key_I, Qt::AltModifier);
        EXPECT_TRUE(w->formatBox(Kind::Picture)->hasFocus()) << user::focusDescription().toStdString();
        user::pressKey(w, Qt::Key_Down);
        user::pressKey(w, Qt::Key_O, Qt::AltModifier); // "Dans le dossier", clicked as the key shows it
        EXPECT_TRUE(QTest::qWaitFor([w] { return w->rbConvertFolder->isChecked(); }));
        user::pressKey(w, Qt::Key_Tab);
        EXPECT_TRUE(w->edConvertFolder->hasFocus()) << user::focusDescription().toStdString();
        QTest::keyClicks(QApplication::focusWidget(), QDir::toNativeSeparators(out));
        user::pressKey(w, Qt::Key_Return);
    });
    QString report;
    onProgress(report);
    EXPECT_EQ(ConvertFiles(app, {bmp}), ConvertOutcome::Done);
    EXPECT_EQ(names("sortie"), QStringList({"rouge.webp"}));
    EXPECT_EQ(QImageReader(tmp.filePath("sortie/rouge.webp")).format(), "webp");
    const QString ini = settingsText();
    for (const QString &line :
         {QString("Convert_Picture_Format=webp\n"), QString("Convert_Sound_Format=flac\n"),
          QString("Convert_Destination=1\n"), QString("Convert_Folder=%1\n").arg(out),
          QString("Convert_Drawing_Width=0\n")})
        EXPECT_TRUE(ini.contains(line)) << line.toStdString() << " in\n" << ini.toStdString();

    // A fresh start reads them back: the window opens as it was left.
    app.st.settings = Settings();
    LoadSettings(app);
    onConvertWindow([](TfrmConvert *w) {
        EXPECT_EQ(w->formatBox(Kind::Picture)->currentData().toString(), "webp");
        EXPECT_TRUE(w->rbConvertFolder->isChecked());
        user::pressKey(w, Qt::Key_Escape);
    });
    EXPECT_EQ(ConvertFiles(app, {bmp}), ConvertOutcome::Cancelled);
}

TEST_F(ConvertWindowTest, HandEditedChoicesFallBackToDefaultsOrIntoTheirRanges)
{
    writeSettings({"Convert_Picture_Format=gif", "Convert_Animation_Format=svg",
                   "Convert_Drawing_Format= PNG ", "Convert_Sound_Format=mp4", "Convert_Tune_Format=wav",
                   "Convert_Video_Format=", "Convert_Drawing_Width=99999", "Convert_Destination=1",
                   "Convert_Folder="});
    LoadSettings(app);
    convert::Choices c = convert::choicesFromSettings(app.st.settings);
    EXPECT_EQ(c.format(Kind::Picture), "png");
    EXPECT_EQ(c.format(Kind::Animation), "png");
    EXPECT_EQ(c.format(Kind::Drawing), "png"); // trimmed, any case
    EXPECT_EQ(c.format(Kind::Sound), "flac");
    EXPECT_EQ(c.format(Kind::Tune), "wav");
    EXPECT_EQ(c.format(Kind::Video), "mp4");
    EXPECT_EQ(c.width, convert::kMaxDrawingWidth);
    EXPECT_FALSE(c.toFolder); // the folder mode without a folder
    writeSettings({"Convert_Drawing_Width=-4", "Convert_Destination=x", "Convert_Folder=/tmp/a"});
    LoadSettings(app);
    c = convert::choicesFromSettings(app.st.settings);
    EXPECT_EQ(c.width, 0);
    EXPECT_FALSE(c.toFolder); // not a number: the default, beside each file
    EXPECT_EQ(c.folder, "/tmp/a");
}

TEST_F(ConvertWindowTest, TheFolderModeNeedsAFolderWhichBrowseFills)
{
    const QString wav = writeFile("c/S/son.wav", convertwin::wavBytes(8000, 1));
    const QString out = folder("choisi");
    ui.answerFolder(out);
    ui.acceptOkBoxes = true;
    onConvertWindow([](TfrmConvert *w) {
        EXPECT_FALSE(w->formatBox(Kind::Picture)->isEnabled());
        EXPECT_TRUE(w->formatBox(Kind::Sound)->hasFocus());
        // On its caption: a radio button answers a click on its circle and its text only.
        QTest::mouseClick(w->rbConvertFolder, Qt::LeftButton, {},
                          QPoint(8, w->rbConvertFolder->height() / 2));
        EXPECT_TRUE(w->rbConvertFolder->isChecked());
        QTest::mouseClick(w->btnConvertOK, Qt::LeftButton); // no folder yet: asked for one
        EXPECT_TRUE(w->isVisible());
        QTest::mouseClick(w->btnConvertBrowse, Qt::LeftButton);
        QTest::mouseClick(w->btnConvertOK, Qt::LeftButton);
    });
    QString report;
    onProgress(report);
    EXPECT_EQ(ConvertFiles(app, {wav}), ConvertOutcome::Done);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              QString::fromUtf8("Choisissez le dossier où mettre les fichiers convertis."));
    EXPECT_EQ(ui.folderTitles, std::vector<QString>({"Convertir vers le dossier..."}));
    EXPECT_EQ(names("choisi"), QStringList({"son.flac"}));
}

TEST_F(ConvertWindowTest, EveryControlHasANameAndAnAccessibleName)
{
    TfrmConvert w(app, {1, 1, 1, 1, 1, 1}, convert::Choices{{"png", "png", "svg", "flac", "flac", "mp4"}});
    for (QWidget *control : w.findChildren<QWidget *>()) {
        if (!control->focusPolicy() || qobject_cast<QLabel *>(control) || !control->isVisibleTo(&w) ||
            control->parent()->inherits("QComboBox") || control->parent()->inherits("QAbstractSpinBox"))
            continue;
        SCOPED_TRACE(control->metaObject()->className());
        EXPECT_FALSE(control->objectName().isEmpty());
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    }
    // A drawing kept as vectors has no width; made a picture, it has.
    EXPECT_FALSE(w.spinConvertWidth->isEnabled());
    w.formatBox(Kind::Drawing)->setCurrentIndex(w.formatBox(Kind::Drawing)->findData("png"));
    EXPECT_TRUE(w.spinConvertWidth->isEnabled());
    EXPECT_EQ(w.formatBox(Kind::Animation)->itemText(0), QString::fromUtf8("PNG animé (APNG)"));
}

TEST_F(ConvertWindowTest, TheReportCountsConvertedAndFailedFilesWithTheirReasons)
{
    const QString good = writeFile("c/P/bon.bmp", pictureBytes("BMP", qRgb(0, 0, 255)));
    const QString bad = writeFile("c/P/abime.pcx", "not a picture at all");
    const QString tune = writeFile("c/P/faux.mid", "MThd");
    onConvertWindow([](TfrmConvert *w) { user::pressKey(w, Qt::Key_Return); });
    QString report;
    int maximum = -1, value = -1;
    ui.onModal("frmConvertProgress", [&](QDialog *d) {
        auto *p = static_cast<TfrmConvertProgress *>(d);
        const int result = runProgress(d, report);
        maximum = p->pbConvertProgress->maximum();
        value = p->pbConvertProgress->value();
        EXPECT_EQ(p->windowTitle(), QString::fromUtf8("Conversion terminée"));
        return result;
    });
    EXPECT_EQ(ConvertFiles(app, {good, bad, tune}), ConvertOutcome::Partly);
    EXPECT_EQ(maximum, 3);
    EXPECT_EQ(value, 3);
    EXPECT_TRUE(
        report.contains(QString::fromUtf8("Fichiers convertis : 1\nFichiers ignorés : 0\nÉchecs : 2")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QString::fromUtf8("abime.pcx : fichier endommagé ou incomplet")))
        << report.toStdString();
    EXPECT_TRUE(report.contains("faux.mid : ")) << report.toStdString();
    EXPECT_EQ(names("c/P"), QStringList({"abime.pcx", "bon.bmp", "bon.png", "faux.mid"}));
}

TEST_F(ConvertWindowTest, AnUnwritableDestinationStopsTheRunWithNothingLeft)
{
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << writeFile(QString("c/P/f%1.bmp").arg(i), pictureBytes("BMP", qRgb(10 * i, 0, 0)));
    // A file where the destination folder should be: no folder can be made there, even by root.
    writeFile("pris", "x");
    app.st.settings.Convert_Destination = 1;
    app.st.settings.Convert_Folder = tmp.filePath("pris/sortie");
    onConvertWindow([](TfrmConvert *w) { user::pressKey(w, Qt::Key_Return); });
    QString report, title;
    ui.onModal("frmConvertProgress", [&](QDialog *d) {
        const int result = runProgress(d, report);
        title = d->windowTitle();
        return result;
    });
    EXPECT_EQ(ConvertFiles(app, files), ConvertOutcome::Partly);
    EXPECT_EQ(title, QString::fromUtf8("Conversion arrêtée"));
    EXPECT_TRUE(
        report.startsWith(QString::fromUtf8("La conversion s'est arrêtée : la destination ne peut pas "
                                            "recevoir les fichiers")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(tmp.filePath("pris/sortie"))) << report.toStdString();
    EXPECT_TRUE(report.contains("Fichiers convertis : 0\n")) << report.toStdString();
    EXPECT_EQ(names(""), QStringList({"pris"}));
}

TEST_F(ConvertWindowTest, CancelStopsTheFileBeingWrittenAndLeavesNoPartOfIt)
{
    // Long sounds made Opus: each takes seconds, so Annuler comes while the first is written.
    QStringList files;
    for (int i = 0; i < 3; ++i)
        files << writeFile(QString("c/S/long%1.wav").arg(i), convertwin::wavBytes(44100, 240));
    app.st.settings.Convert_Sound_Format = "opus";
    onConvertWindow([](TfrmConvert *w) { user::pressKey(w, Qt::Key_Return); });
    QString report, during;
    bool sawPart = false;
    onProgress(report, [&](TfrmConvertProgress *p) {
        // Once an output is being written under its temporary name.
        sawPart =
            !QDir(tmp.filePath("c/S")).entryList({".lumavista-*.part"}, QDir::Files | QDir::Hidden).isEmpty();
        if (!sawPart || !p->lblConvertProgressFile->text().startsWith("Conversion de long"))
            return false;
        during = p->lblConvertProgressFile->text();
        QTest::mouseClick(p->btnConvertProgressCancel, Qt::LeftButton);
        EXPECT_FALSE(p->btnConvertProgressCancel->isEnabled());
        return true;
    });
    EXPECT_EQ(ConvertFiles(app, files), ConvertOutcome::Partly);
    EXPECT_TRUE(sawPart);
    EXPECT_TRUE(during.startsWith("Conversion de long")) << during.toStdString();
    EXPECT_TRUE(report.startsWith(QString::fromUtf8("La conversion a été annulée."))) << report.toStdString();
    EXPECT_TRUE(
        report.contains(QString::fromUtf8("Fichiers convertis : 0\nFichiers ignorés : 3\nÉchecs : 0")))
        << report.toStdString();
    EXPECT_EQ(names("c/S"), QStringList({"long0.wav", "long1.wav", "long2.wav"}));
}

TEST_F(ConvertWindowTest, AFoldersMediaFilesAreTakenWithTheirSubfoldersByTheTabsType)
{
    writeFile("c/A/a.bmp");
    writeFile("c/A/b.BMP");
    writeFile("c/A/sous/c.bmp");
    writeFile("c/A/sous/d.wav");
    writeFile("c/A/notes.txt");
    writeFile("c/A/e.jpeg"); // not a name the catalogue lists
    const QString root = tmp.filePath("c/A");
    EXPECT_EQ(MediaFilesUnder(root, mtBMP),
              QStringList({root + "/a.bmp", root + "/b.BMP", root + "/sous/c.bmp"}));
    EXPECT_EQ(MediaFilesUnder(root, mtALL),
              QStringList({root + "/a.bmp", root + "/b.BMP", root + "/sous/c.bmp", root + "/sous/d.wav"}));
    EXPECT_TRUE(MediaFilesUnder(root, mtAVI).isEmpty());
}
