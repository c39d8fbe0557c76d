// The options window offscreen through the modal seam, over a real settings file: filling, the
// change marks, Apply, OK and Cancel, and what reaches the file and the rest of the program.
#include "app/MediaTypes.h"
#include "catalogue/Catalogue.h"
#include "catalogue/MediaTabs.h"
#include "options/Options.h"
#include "options/RadioGroup.h"
#include "support/AppFixture.h"
#include "support/AsOrdinaryUser.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <sys/stat.h>

class OptionsWindowTest : public AppFixture, public ToolbarHintsPort
{
protected:
    OptionsWindowTest() { app.toolbarHints = this; }
    ~OptionsWindowTest() override { app.toolbarHints = nullptr; }
    void showHintsOnToolbars(bool on) override { hints.push_back(on); }

    // Loads the settings (written first when given) and makes the window.
    TfrmOptions &open(const QStringList &settings = {})
    {
        if (!settings.isEmpty())
            writeSettings(settings);
        LoadSettings(app);
        form = std::make_unique<TfrmOptions>(app);
        return *form;
    }
    QByteArray fileBytes() const
    {
        QFile f(settingsPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    }
    bool fileHas(const QString &lines) const { return settingsText().contains(lines); }
    static void tick(TfrmOptions &w, const QString &extension, bool on)
    {
        w.lvFiles->findItems(extension, Qt::MatchExactly)
            .value(0)
            ->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    }
    // Runs the window as Tools > Options does, with the user's actions in between.
    int runWindow(const std::function<void(TfrmOptions &)> &actions)
    {
        ui.onModal("frmOptions", [&](QDialog *d) {
            actions(*static_cast<TfrmOptions *>(d));
            return d->result();
        });
        return ShowOptionsWindow(app);
    }

    std::vector<bool> hints;
    std::unique_ptr<TfrmOptions> form;
};

TEST_F(OptionsWindowTest, TheWindowShowsTheSettings)
{
    TfrmOptions &w = open({"JPEG_Scale=2", "JPEG_Grayscale=1", "JPEG_Performance=1", "JPEG_Pixel_Format=0",
                           "JPEG_Smoothing=0", "Show_Hints=0", "Expand_Treeview_At_End_Of_Scan=0",
                           "Scan_File_GIF=0", "Scan_OGG=0"});
    QString shown = QString("%1%2%3%4 ")
                        .arg(w.rgJPEGScaling->itemIndex())
                        .arg(w.rgJPEGColor->itemIndex())
                        .arg(w.rgJPEGPerformance->itemIndex())
                        .arg(w.rgJPEGPixel->itemIndex());
    for (const QCheckBox *box : {w.chkJPEGProgressiveDisplay, w.chkJPEGSmoothing, w.chkGeneralShowHint,
                                 w.chkGeneralBeepOnMessages, w.chkGeneralExpandAfterScan})
        shown += box->isChecked() ? '1' : '0';
    for (int i = 0; i < w.lvFiles->topLevelItemCount(); ++i)
        shown += ' ' + w.lvFiles->topLevelItem(i)->text(0) +
                 (w.lvFiles->topLevelItem(i)->checkState(0) ? '+' : '-');
    EXPECT_EQ(shown,
              "2110 10010 .ANI+ .AVI+ .BMP+ .EMF+ .FLAC+ .GIF- .ICO+ .JPG+ .MID+ .MKV+ .MP3+ .MP4+ .OGG- "
              ".PCX+ .PNG+ .TIF+ .WAV+ .WEBP+ .WMF+");
    EXPECT_EQ(w.PageControlOption->currentWidget(), w.TabSheetGeneral);
    EXPECT_FALSE(w.btnApply->isEnabled());
}

TEST_F(OptionsWindowTest, OkWithNothingChangedLeavesTheFileByteIdentical)
{
    // Spellings a rewrite would change.
    writeSettings(
        {"; by hand", "JPEG_Scale = 0x2", "show_hints=2", "Scan_File_BMP=1", "[Other]", "JPEG_Scale=3"});
    LoadSettings(app);
    const QByteArray before = fileBytes();
    EXPECT_EQ(runWindow([](TfrmOptions &w) {
                  w.PageControlOption->setCurrentWidget(w.TabSheetFiles); // looking around changes nothing
                  w.lvFiles->setCurrentItem(w.lvFiles->topLevelItem(3));
                  w.btnOK->click();
              }),
              QDialog::Accepted);
    EXPECT_EQ(fileBytes(), before);
    QFile::remove(settingsPath());
    runWindow([](TfrmOptions &w) { w.btnOK->click(); });
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(OptionsWindowTest, ApplyAndOkWriteTheChangedGroupsOnly)
{
    TfrmOptions &w = open({"Window_Width=800"});
    w.chkGeneralBeepOnMessages->click();
    w.btnApply->click();
    EXPECT_FALSE(w.btnApply->isEnabled());
    EXPECT_FALSE(app.st.settings.Beep_On_Error_Message);
    EXPECT_EQ(settingsText(), "[Lumavista]\nWindow_Width=800\nShow_Hints=1\nBeep_On_Error_Message=0\n"
                              "Expand_Treeview_At_End_Of_Scan=1\nKeep_Catalogue=1\nShow_Thumbnails=1\n");
    EXPECT_EQ(hints, std::vector<bool>{true});
    // A row ticked and unticked again is a change: OK writes the types' flags, nothing else.
    tick(w, ".PCX", false);
    tick(w, ".PCX", true);
    w.btnOK->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    for (MediaType t : kMediaTypes)
        EXPECT_TRUE(fileHas(QString(mediaTypeInfo(t).scanFlagKey) + "=1\n")) << mediaTypeInfo(t).scanFlagKey;
    EXPECT_FALSE(fileHas("JPEG"));
    EXPECT_EQ(hints.size(), 1u);
}

TEST_F(OptionsWindowTest, StoredValuesOutOfRangeAreShownAndStoredInRange)
{
    TfrmOptions &w = open({"JPEG_Scale=7", "JPEG_Performance=-3", "JPEG_Pixel_Format=5"});
    w.rgJPEGColor->item(1)->click();
    w.btnOK->click();
    EXPECT_TRUE(fileHas("JPEG_Scale=3\n") && fileHas("JPEG_Performance=0\n") &&
                fileHas("JPEG_Pixel_Format=1\n"))
        << settingsText().toStdString();
    TfrmOptions &low = open({"JPEG_Scale=-2"});
    EXPECT_TRUE(low.rgJPEGScaling->item(0)->isChecked());
    low.rgJPEGColor->item(1)->click();
    low.btnOK->click();
    EXPECT_TRUE(fileHas("JPEG_Scale=0\n"));
}

TEST_F(OptionsWindowTest, SmoothingFollowsProgressiveDisplayAndKeepsItsTick)
{
    TfrmOptions &w = open({"JPEG_Progressive_Display=1", "JPEG_Smoothing=1"});
    w.chkJPEGProgressiveDisplay->click();
    EXPECT_TRUE(w.chkJPEGSmoothing->isHidden());
    w.btnOK->click();
    EXPECT_TRUE(fileHas("JPEG_Progressive_Display=0\nJPEG_Smoothing=1\n"));
    // Off at opening: hidden and unticked, whatever the setting; shown unticked when ticked.
    TfrmOptions &off = open();
    EXPECT_TRUE(off.chkJPEGSmoothing->isHidden());
    off.chkJPEGProgressiveDisplay->click();
    EXPECT_FALSE(off.chkJPEGSmoothing->isHidden() || off.chkJPEGSmoothing->isChecked());
    off.btnOK->click();
    EXPECT_TRUE(fileHas("JPEG_Progressive_Display=1\nJPEG_Smoothing=0\n"));
}

TEST_F(OptionsWindowTest, TheScanFlagsReachTheNextScanAndCancelDiscards)
{
    LoadSettings(app);
    runWindow([](TfrmOptions &w) {
        w.btnFilesUnckeckALL->click();
        w.btnCancel->click();
    });
    EXPECT_TRUE(ScanFileFlag(app.st, mtGIF));
    EXPECT_FALSE(QFile::exists(settingsPath()));
    runWindow([](TfrmOptions &w) {
        w.btnFilesUnckeckALL->click();
        w.btnFilesCheckALL->click();
        tick(w, ".GIF", false);
        tick(w, ".OGG", false);
        w.btnOK->click();
    });
    EXPECT_TRUE(fileHas("Scan_File_GIF=0\n"));
    EXPECT_TRUE(fileHas("Scan_OGG=0\n"));
    // A scan starts with the catalogue's reset, which takes the flags.
    Catalogue cat(app);
    InitExtensions(app);
    InitTabSheets(app);
    ResetCatalogueStore(cat);
    // A type's every extension goes with its flag.
    EXPECT_EQ(
        app.st.CatalogueState.EnabledExtensions,
        ".ANI/.AVI/.BMP/.JPG/.MID/.WAV/.PCX/.TIF/.WMF/.EMF/.ICO/.PNG/.APNG/.WEBP/.MP3/.FLAC/.MP4/.M4V/.MOV/"
        ".MKV/.WEBM/");
}

TEST_F(OptionsWindowTest, AFailedWriteKeepsTheOldValuesAndTheWindowOpen)
{
    TfrmOptions &w = open({"Beep_On_Error_Message=1"});
    const QByteArray before = fileBytes();
    const QByteArray config = QFile::encodeName(tmp.filePath("config"));
    ::chmod(config, 0555); // no settings file can be written there
    {
        AsOrdinaryUser user;
        if (!user.ordinary())
            GTEST_SKIP() << "still root: permissions are not checked";
        ui.answerMessage(platform::mbOK);
        w.chkGeneralBeepOnMessages->click();
        w.chkJPEGProgressiveDisplay->click();
        w.btnOK->click();
    }
    ::chmod(config, 0755);
    EXPECT_EQ(ui.messages.at(0).text, "Ne peut écrire dans LUMA.INI.");
    EXPECT_NE(w.result(), QDialog::Accepted);
    EXPECT_TRUE(app.st.settings.Beep_On_Error_Message && app.st.settings.JPEG_Progressive_Display);
    EXPECT_TRUE(hints.empty());
    EXPECT_EQ(fileBytes(), before);
    // Once the file can be written, OK stores both groups.
    w.btnOK->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(fileHas("Beep_On_Error_Message=0\n") && fileHas("JPEG_Progressive_Display=0\n"));
}

TEST_F(OptionsWindowTest, KeepTheCatalogueIsAGeneralOptionAndOffRemovesTheKeptFile)
{
    TfrmOptions &w = open();
    EXPECT_EQ(w.chkGeneralKeepCatalogue->text(), "Conserver le catalogue entre deux sessions");
    EXPECT_EQ(w.chkGeneralKeepCatalogue->parentWidget(), w.TabSheetGeneral);
    EXPECT_TRUE(w.chkGeneralKeepCatalogue->isChecked()); // on by default
    // Every control of the page is named for a screen reader (a check box by its caption).
    for (QCheckBox *box : w.TabSheetGeneral->findChildren<QCheckBox *>())
        EXPECT_FALSE(box->text().isEmpty() && box->accessibleName().isEmpty())
            << qPrintable(box->objectName());

    const QString kept = tmp.filePath("cache/catalogue");
    QDir().mkpath(tmp.filePath("cache"));
    {
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("kept");
    }
    // Ticking another option leaves the file.
    runWindow([](TfrmOptions &o) {
        o.chkGeneralBeepOnMessages->click();
        o.btnOK->click();
    });
    EXPECT_TRUE(QFile::exists(kept));
    // Off, then Cancel: nothing happens.
    runWindow([](TfrmOptions &o) {
        o.chkGeneralKeepCatalogue->click();
        o.btnCancel->click();
    });
    EXPECT_TRUE(QFile::exists(kept));
    EXPECT_TRUE(app.st.settings.Keep_Catalogue);
    // Off with OK: saved, and the file is gone.
    runWindow([](TfrmOptions &o) {
        o.chkGeneralKeepCatalogue->click();
        o.btnOK->click();
    });
    EXPECT_FALSE(app.st.settings.Keep_Catalogue);
    EXPECT_TRUE(fileHas("Keep_Catalogue=0\n"));
    EXPECT_FALSE(QFile::exists(kept));
    // The next window shows it off.
    EXPECT_FALSE(open().chkGeneralKeepCatalogue->isChecked());
}

// Stands for the catalogue pane: counts the requests to show the lists' styles again.
struct StyleListener : CataloguePort
{
    Node currentNode() const override { return {}; }
    bool isMediaFolderChild() const override { return false; }
    bool showListedFile(const QString &, const QString &) override { return false; }
    void listStylesChanged() override { ++changes; }
    int changes = 0;
};

TEST_F(OptionsWindowTest, ThumbnailsInLargeIconsAreAGeneralOptionTheListsFollowAtOnce)
{
    StyleListener lists;
    app.cataloguePane = &lists;
    TfrmOptions &w = open();
    EXPECT_EQ(w.chkGeneralShowThumbnails->text(), "Vignettes en grandes icônes");
    EXPECT_EQ(w.chkGeneralShowThumbnails->parentWidget(), w.TabSheetGeneral);
    EXPECT_TRUE(w.chkGeneralShowThumbnails->isChecked()); // on by default
    EXPECT_TRUE(app.st.settings.Show_Thumbnails);
    // Off, then Cancel: nothing changes.
    runWindow([](TfrmOptions &o) {
        o.chkGeneralShowThumbnails->click();
        o.btnCancel->click();
    });
    EXPECT_TRUE(app.st.settings.Show_Thumbnails);
    EXPECT_EQ(lists.changes, 0);
    // Off with OK: saved, and the lists told.
    runWindow([](TfrmOptions &o) {
        o.chkGeneralShowThumbnails->click();
        o.btnOK->click();
    });
    EXPECT_FALSE(app.st.settings.Show_Thumbnails);
    EXPECT_TRUE(fileHas("Show_Thumbnails=0\n"));
    EXPECT_EQ(lists.changes, 1);
    EXPECT_FALSE(open().chkGeneralShowThumbnails->isChecked());
    app.cataloguePane = nullptr;
}

TEST_F(OptionsWindowTest, KeepZoomIsOnItsOwnPageAndWrittenWithTheViewersOptions)
{
    TfrmOptions &w = open({"Keep_Zoom=0"});
    EXPECT_EQ(w.PageControlOption->indexOf(w.TabSheetViewer), 3);
    EXPECT_EQ(w.PageControlOption->tabText(3), "Visionneuse");
    EXPECT_FALSE(w.chkViewerKeepZoom->isChecked());
    EXPECT_FALSE(w.chkViewerKeepZoom->text().isEmpty());
    w.PageControlOption->setCurrentWidget(w.TabSheetViewer);
    w.chkViewerKeepZoom->click();
    EXPECT_TRUE(w.btnApply->isEnabled());
    w.btnOK->click();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_TRUE(app.st.settings.Keep_Zoom);
    EXPECT_EQ(settingsText(), "[Lumavista]\nKeep_Zoom=1\nJPEG_Exif_Orientation=1\nSlide_Interval=4\n"
                              "Slide_Loop=0\nSlide_Shuffle=0\n");
    // Read back at the next start; by default off.
    LoadSettings(app);
    EXPECT_TRUE(app.st.settings.Keep_Zoom);
    EXPECT_FALSE(Settings().Keep_Zoom);
}

TEST_F(OptionsWindowTest, TheExifOrientationIsOnTheJpegPageTickedByDefault)
{
    TfrmOptions &w = open();
    EXPECT_TRUE(w.TabSheetJPEG->isAncestorOf(w.chkJPEGExifOrientation));
    EXPECT_TRUE(w.chkJPEGExifOrientation->isChecked());
    EXPECT_EQ(w.chkJPEGExifOrientation->text(), QString::fromUtf8("Redresser selon l'appareil photo (EXIF)"));
    w.chkJPEGExifOrientation->click();
    w.btnOK->click();
    EXPECT_FALSE(app.st.settings.JPEG_Exif_Orientation);
    EXPECT_TRUE(fileHas("JPEG_Exif_Orientation=0\n"));
    // The JPEG loading options were not changed: their group is not written.
    EXPECT_FALSE(fileHas("JPEG_Scale"));
}

TEST_F(OptionsWindowTest, TheSlideShowsIntervalLoopAndShuffleAreStoredInRange)
{
    TfrmOptions &w = open({"Slide_Interval=99999"});
    EXPECT_EQ(w.spnViewerSlideInterval->value(), 3600);
    EXPECT_FALSE(w.chkViewerSlideLoop->isChecked());
    EXPECT_FALSE(w.spnViewerSlideInterval->accessibleName().isEmpty());
    w.spnViewerSlideInterval->setValue(7);
    w.chkViewerSlideLoop->click();
    w.chkViewerSlideShuffle->click();
    w.btnOK->click();
    EXPECT_EQ(app.st.settings.Slide_Interval, 7);
    EXPECT_TRUE(app.st.settings.Slide_Loop);
    EXPECT_TRUE(app.st.settings.Slide_Shuffle);
    for (const char *line : {"Slide_Interval=7\n", "Slide_Loop=1\n", "Slide_Shuffle=1\n"})
        EXPECT_TRUE(fileHas(line)) << line << settingsText().toStdString();
}
