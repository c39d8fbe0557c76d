// The My-computer window: the drives from First_Drive_Number on, and the finds of every drive.
#include "PropertiesFixture.h"
#include "app/MediaTypeList.h"
#include "app/MediaTypes.h"
#include "properties/Property_Disk.h"
#include "properties/Property_File.h"
#include "properties/Property_Folder.h"
#include "properties/Property_Ptrav.h"

#include <QTreeWidget>

class ComputerWindow : public PropertiesFixture
{
protected:
    ComputerWindow()
    {
        present('A', 2);
        present('B', 2);
        present('E', 5);
        present('Z', 4);
    }
    const ShownWindow &show()
    {
        shown.clear();
        ShowComputerProperties(app);
        return onlyWindow();
    }
    QStringList letters(int firstDrive)
    {
        app.st.settings.First_Drive_Number = firstDrive;
        QTreeWidget list;
        FillDriveList(app, &list);
        QStringList out;
        for (const QStringList &row : rowsOf(&list))
            out << row.value(0).trimmed();
        return out;
    }
};

TEST_F(ComputerWindow, DrivesFromTheFirstDriveNumber)
{
    const std::pair<int, QStringList> cases[] = {
        {1, {"A:", "B:", "C:", "E:", "Z:"}},
        {3, {"C:", "E:", "Z:"}},
        {4, {"E:", "Z:"}},
        {26, {"Z:"}},
        {27, {}},
        {0, {"A:", "B:", "C:", "E:", "Z:"}},
        {-4, {"A:", "B:", "C:", "E:", "Z:"}},
    };
    for (const auto &[first, expected] : cases)
        EXPECT_EQ(letters(first), expected) << first;
}

TEST_F(ComputerWindow, DriveRowsTellTheirType)
{
    app.st.settings.First_Drive_Number = 3;
    const ShownWindow &w = show();
    EXPECT_EQ(w.title, "Propriétés du Poste de travail");
    ASSERT_EQ(w.driveRows.size(), 3u);
    EXPECT_EQ(w.driveRows[0], (QStringList{"    C:", "Disque fixe"}));
    EXPECT_EQ(w.driveRows[1], (QStringList{"    E:", "Unité CD-ROM"}));
    EXPECT_EQ(w.driveRows[2], (QStringList{"    Z:", "Unité réseau"}));
}

TEST_F(ComputerWindow, FilesTabOnlyOnceAListHoldsItems)
{
    struct Case
    {
        const char *what;
        MediaType list;
        int items;
        bool filesTab;
    };
    const Case cases[] = {
        {"nothing filled", mtNone, 0, false},
        {"a list chosen but empty", mtALL, 0, false},
        {"no list chosen", mtNone, 3, false},
        {"a list with items", mtBMP, 3, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        app.st.Selection.List = c.list;
        lists.count = c.items;
        const ShownWindow &w = show();
        EXPECT_EQ(w.hasTab("Fichiers"), c.filesTab);
        EXPECT_EQ(w.tabs.front(), "Général");
    }
    // Without the list port (a catalogue not started) there is nothing to tell either.
    app.selectionList = nullptr;
    EXPECT_FALSE(show().hasTab("Fichiers"));
}

TEST_F(ComputerWindow, TotalsOfEveryDrive)
{
    app.st.Disks[1].FileCount = 2;
    app.st.Disks[1].FileBytes = 1000;
    app.st.Disks[3].FileCount = 3;
    app.st.Disks[3].FileBytes = 2048;
    app.st.Disks[26].FileCount = 1;
    app.st.Disks[26].FileBytes = 5368709120LL;
    // Drives before First_Drive_Number still count: the scan covered them.
    app.st.settings.First_Drive_Number = 3;
    const ShownWindow &w = show();
    EXPECT_EQ(w.text("lblNumberOfFiles"), "6");
    EXPECT_EQ(w.text("lblFileSize"), "5 368 712 168 octets");
    EXPECT_EQ(w.text("lblFileSizeMb"), "( 5,00 Go )");
}

// The summary list of every window's "Fichiers" tab.
TEST_F(ComputerWindow, MediaTypeListHasEveryTypeWhateverIsScanned)
{
    // Each type once, by its first extension, the later ones among the twelve.
    const QStringList extensions = {".ANI", ".AVI", ".BMP", ".EMF",  ".FLAC", ".GIF", ".ICO",
                                    ".JPG", ".MID", ".MKV", ".MP3",  ".MP4",  ".OGG", ".PCX",
                                    ".PNG", ".TIF", ".WAV", ".WEBP", ".WMF"};
    for (const bool scanned : {true, false}) {
        SCOPED_TRACE(scanned);
        for (MediaType t : kMediaTypes)
            app.st.settings.ScanFileFlags[size_t(code(t))] = scanned;
        QTreeWidget list;
        // Filled twice: the second fill replaces the first.
        FillMediaTypeList(app, &list);
        FillMediaTypeList(app, &list);
        const std::vector<QStringList> rows = rowsOf(&list);
        ASSERT_EQ(rows.size(), 19u);
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].value(0), extensions[int(i)]);
            EXPECT_EQ(rows[i].value(1), DescriptionOfType(TypeOfFile("x" + extensions[int(i)])));
            EXPECT_FALSE(list.topLevelItem(int(i))->icon(0).isNull()) << i;
        }
    }
}

TEST_F(ComputerWindow, EveryWindowShowsTheSameSummaryList)
{
    folder("c/Photos");
    writeFile("c/Photos/a.gif", "x");
    lists.count = 1;
    app.st.Selection.List = mtALL;
    ShowComputerProperties(app);
    ShowDiskProperties(app, "(C:)");
    ShowFolderProperties(app, "C:\\Photos\\", 14);
    ShowFileProperties(app, "C:\\Photos\\a.gif", mtGIF);
    ASSERT_EQ(shown.size(), 4u);
    for (const ShownWindow &w : shown) {
        SCOPED_TRACE(w.name.toStdString());
        ASSERT_EQ(w.typeRows.size(), 19u);
        EXPECT_EQ(w.typeRows.front().value(0), ".ANI");
        EXPECT_EQ(w.typeRows.back().value(0), ".WMF");
        EXPECT_EQ(w.tabs.at(1), "Fichiers");
    }
}
