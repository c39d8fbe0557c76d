// The drive table and the drive buttons.
#include "CatalogueFixture.h"

#include "app/Artwork.h"
#include "catalogue/DriveTable.h"

#include <QToolButton>

class DriveTableTest : public CatalogueFixture
{
protected:
    QStringList shownLetters()
    {
        QStringList letters;
        for (int n = 1; n <= 26; ++n)
            if (DriveButtonShown(pane->tbDrive[n]))
                letters << pane->tbDrive[n]->text();
        return letters;
    }
};

TEST_F(DriveTableTest, TheMappedDrivesGetButtonsWithTheirKindHintAndPressedState)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d") + ",cdrom,PHOTOS,1A2B3C4D;E=" + folder("e") +
              ",network");
    writeSettings({"Scan_CDRom_Drive=0"});
    start();
    EXPECT_EQ(shownLetters(), QStringList({"C", "D", "E"}));
    EXPECT_EQ(pane->tbDrive[3]->toolTip(), "C: Disque fixe");
    EXPECT_EQ(pane->tbDrive[4]->toolTip(), "D: Unité CD-ROM");
    EXPECT_EQ(pane->tbDrive[5]->toolTip(), "E: Unité réseau");
    EXPECT_TRUE(pane->tbDrive[3]->isChecked());
    EXPECT_FALSE(pane->tbDrive[4]->isChecked());
    EXPECT_TRUE(pane->tbDrive[5]->isChecked());
    const DiskRecord &d = app.st.Disks[4];
    EXPECT_TRUE(d.Present);
    EXPECT_EQ(d.DriveType, 5);
    EXPECT_FALSE(d.Selected);
    EXPECT_EQ(d.VolumeLabel, "PHOTOS");
    EXPECT_EQ(d.SerialNumber, "1A2B3C4D");
    EXPECT_TRUE(app.st.Disks[3].Selected);
    EXPECT_FALSE(app.st.Disks[1].Present);
    EXPECT_EQ(app.st.Disks[1].DriveType, 1); // no root directory
    EXPECT_EQ(pane->tbDrive[3]->property("Tag").toInt(), 3);
    // The picture follows the drive type.
    EXPECT_EQ(pane->tbDrive[4]->icon().cacheKey() == app.images().disks[5].cacheKey(), true);

    // A click on a button selects or releases its drive.
    pane->tbDrive[4]->click();
    EXPECT_TRUE(app.st.Disks[4].Selected);
}

TEST_F(DriveTableTest, DriveAIsShownUntestedWhenTheSettingSaysSo)
{
    writeSettings({"DontTestAWhenStarting=1", "Scan_Removable_Drive=0"});
    start();
    EXPECT_EQ(shownLetters(), QStringList({"A", "C"}));
    EXPECT_EQ(pane->tbDrive[1]->toolTip(), "A: Disque amovible");
    EXPECT_FALSE(pane->tbDrive[1]->isChecked());
    EXPECT_EQ(app.st.Disks[1].DriveType, 2);
    EXPECT_TRUE(app.st.Disks[1].VolumeLabel.isEmpty());
}

TEST_F(DriveTableTest, DrivesBelowTheFirstDriveNumberAreNeverDetected)
{
    setDrives("A=" + folder("a") + ",removable;B=" + folder("b") + ";C=" + folder("c"));
    writeSettings({"First_Drive_Number=3"});
    start();
    EXPECT_EQ(shownLetters(), QStringList({"C"}));
    for (int n : {1, 2}) {
        EXPECT_EQ(app.st.Disks[n].DriveType, 0);
        EXPECT_FALSE(app.st.Disks[n].Present);
    }
}

TEST_F(DriveTableTest, AMappedRootThatDoesNotExistIsADriveWithoutMedium)
{
    setDrives("C=" + folder("c") + ";F=" + tmp.filePath("missing") + ",removable");
    start();
    EXPECT_EQ(shownLetters(), QStringList({"C", "F"}));
    EXPECT_TRUE(app.st.Disks[6].Present);
    EXPECT_EQ(app.st.Disks[6].DriveType, 2);
}

TEST(DriveNumbers, LettersPicturesAndTexts)
{
    EXPECT_EQ(DriveNumber("c:\\Photos"), 3);
    EXPECT_EQ(DriveNumber("A"), 1);
    EXPECT_EQ(DriveNumber("z:"), 26);
    EXPECT_EQ(DriveTypeOfImage(10), 3);
    EXPECT_EQ(DriveTypeOfImage(2), 2);
    EXPECT_EQ(DriveTypeOfImage(13), 6);
    EXPECT_EQ(DriveTypeOfImage(14), 0);
    EXPECT_EQ(DriveTypeOfImage(7), 0);
    EXPECT_EQ(DriveTypeText(1), "Type de disque indéterminé");
    EXPECT_EQ(DriveTypeText(0), "Type indéterminé");
    EXPECT_EQ(DriveTypeText(6), "Disque RAM");
}

TEST_F(DriveTableTest, AButtonForSomethingThatIsNotALetterEndsTheProgram)
{
    start();
    EXPECT_EQ(DriveButton(*pane, "c"), pane->tbDrive[3]);
    ui.answerMessage(platform::mbOK);
    EXPECT_THROW(DriveButton(*pane, "1"), ProcessExit);
    EXPECT_TRUE(ui.messages.back().text.startsWith("ERREUR INTERNE IRRECUPERABLE #1\n"));
    EXPECT_TRUE(ui.messages.back().text.endsWith("Unité invalide:"));
}

// The table without windows reads the same rows the buttons show.
TEST_F(DriveTableTest, TheTableAloneReadsTheDrivesAsTheButtonsDo)
{
    setDrives("C=" + folder("c") + ";D=" + folder("d") + ",cdrom,PHOTOS,1A2B3C4D;G=" + tmp.filePath("none") +
              ",removable");
    writeSettings({"Scan_CDRom_Drive=0"});
    LoadSettings(app);
    ReadDriveTable(app);
    EXPECT_TRUE(app.st.Disks[3].Present);
    EXPECT_TRUE(app.st.Disks[3].Selected);
    EXPECT_EQ(app.st.Disks[4].DriveType, 5);
    EXPECT_FALSE(app.st.Disks[4].Selected);
    EXPECT_EQ(app.st.Disks[4].VolumeLabel, "PHOTOS");
    EXPECT_TRUE(app.st.Disks[7].Present);
    EXPECT_EQ(app.st.Disks[7].DriveType, 2);
    EXPECT_FALSE(app.st.Disks[5].Present);
    EXPECT_EQ(app.st.Disks[26].Letter, "Z");
}
