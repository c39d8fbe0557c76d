// The settings file: private-profile semantics and the typed settings on top of them.
#include "platform/Profile.h"
#include "app/Settings.h"
#include "support/AppFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

using platform::GetPrivateProfileString;
using platform::WritePrivateProfileString;

class ProfileTest : public AppFixture
{
};

TEST_F(ProfileTest, MissingFileOrKeyGivesDefaults)
{
    EXPECT_EQ(GetPrivateProfileString("Lumavista", "Icon_Style", "dflt", "LUMA.INI"), "dflt");
    writeSettings({"Other=1"});
    EXPECT_EQ(GetPrivateProfileString("Lumavista", "Icon_Style", "dflt", "LUMA.INI"), "dflt");
    EXPECT_EQ(GetPrivateProfileString("Nowhere", "Other", "d", "LUMA.INI"), "d");

    LoadSettings(app);
    const Settings &s = app.st.settings;
    EXPECT_EQ(s.Window_State, 0);
    EXPECT_EQ(s.Window_Width, 740);
    EXPECT_EQ(s.Window_Height, 565);
    EXPECT_EQ(s.Icon_Style, 1);
    EXPECT_EQ(s.Scan_Type, 0);
    EXPECT_TRUE(s.Beep_On_Error_Message);
    EXPECT_TRUE(s.Show_Hints);
    for (int code = 1; code <= 12; ++code)
        EXPECT_TRUE(s.ScanFileFlags[code]) << code;
    EXPECT_FALSE(s.DontTestAWhenStarting);
}

TEST_F(ProfileTest, NamesIgnoreCaseAndValuesAreTrimmedAndUnquoted)
{
    writeSettings({"  icon_style =  3  ", "Starting_Folder=\" D:\\Photos \"", "[other]", "Icon_Style=0"});
    EXPECT_EQ(GetPrivateProfileString("LUMAVISTA", "ICON_STYLE", "", "LUMA.INI"), "3");
    EXPECT_EQ(GetPrivateProfileString("lumavista", "starting_folder", "", "LUMA.INI"), " D:\\Photos ");
}

TEST_F(ProfileTest, NumbersAndFlagsConvertAsTheFileFormatSays)
{
    writeSettings({"First_Time=2", "Show_Hints=abc", "Icon_Style=0x1F", "WindowLeft=-12", "Window_Top=0x",
                   "Panel_Width=12abc", "Beep_On_Error_Message=0"});
    LoadSettings(app);
    const Settings &s = app.st.settings;
    EXPECT_TRUE(s.First_Time);     // "2" is a true flag
    EXPECT_TRUE(s.Show_Hints);     // "abc" gives the default (true)
    EXPECT_EQ(s.Icon_Style, 31);   // hexadecimal
    EXPECT_EQ(s.WindowLeft, -12);  // negative numbers
    EXPECT_EQ(s.Window_Top, 0);    // "0x" is too short for hexadecimal and not decimal
    EXPECT_EQ(s.Panel_Width, 400); // not a number: default
    EXPECT_FALSE(s.Beep_On_Error_Message);
    EXPECT_EQ(profileToInt("0xFFFFFFFF", 5), -1);
    EXPECT_EQ(profileToInt("99999999999", 5), 5);
}

TEST_F(ProfileTest, ValuesAreCutAt1023Characters)
{
    writeSettings({"Starting_Folder=" + QString(2000, 'x')});
    EXPECT_EQ(GetPrivateProfileString("Lumavista", "Starting_Folder", "", "LUMA.INI").size(), 1023);
}

TEST_F(ProfileTest, AWriteKeepsEveryOtherLineAsItWas)
{
    QFile f(settingsPath());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settingsPath()).absolutePath()));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; my notes\n[Other]\nWindow_Width=1\n\n[Lumavista]\nUnknown_Key = kept \n"
            "window_width=10\n; comment inside\nIcon_Style=2\n\n[Last]\nx=y\n");
    f.close();
    app.st.settings.Window_Width = 900;
    app.st.settings.Window_Height = 700;
    SaveWindowSettings(app);
    EXPECT_EQ(settingsText(), "; my notes\n[Other]\nWindow_Width=1\n\n[Lumavista]\nUnknown_Key = kept \n"
                              "window_width=900\n; comment inside\nIcon_Style=2\nWindowLeft=0\nWindow_Top=0\n"
                              "Window_Height=700\nWindow_State=0\n\n[Last]\nx=y\n");
}

TEST_F(ProfileTest, ANewSectionGoesAtTheEnd)
{
    writeSettings({"Icon_Style=2"});
    ASSERT_TRUE(WritePrivateProfileString("New", "Key", "v", "LUMA.INI").ok());
    EXPECT_EQ(settingsText(), "[Lumavista]\nIcon_Style=2\n\n[New]\nKey=v\n");
}

TEST_F(ProfileTest, AFailedWriteReportsTheWriteErrorAndLeavesTheFileIntact)
{
    writeSettings({"Icon_Style=2"});
    const QByteArray dir = QFile::encodeName(QFileInfo(settingsPath()).absolutePath());
    const QByteArray top = QFile::encodeName(tmp.path());
    chmod(top.constData(), 0755);
    chmod(dir.constData(), 0555);
    // Root writes into read-only folders: the write is made as an ordinary user.
    const bool asRoot = geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(seteuid(65534), 0);
    }
    app.st.settings.Icon_Style = 3;
    ui.answerMessage(platform::mbOK);
    const bool saved = SaveIconStyle(app);
    if (asRoot) {
        ASSERT_EQ(seteuid(0), 0);
    }
    chmod(dir.constData(), 0755);
    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ne peut écrire dans LUMA.INI.");
    EXPECT_EQ(ui.messages[0].caption, "Lumavista");
    EXPECT_EQ(ui.messages[0].kind, platform::MsgKind::Error);
    EXPECT_EQ(settingsText(), "[Lumavista]\nIcon_Style=2\n");
}

TEST_F(ProfileTest, AWriteOverAFolderReportsTheWriteError)
{
    // A folder where the file should be cannot be replaced, whoever runs the test.
    QDir().mkpath(settingsPath());
    app.st.settings.Scan_Type = 1;
    ui.answerMessage(platform::mbOK);
    EXPECT_FALSE(SaveScanType(app));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Ne peut écrire dans LUMA.INI.");
}

TEST_F(ProfileTest, ScanTypeFlagsByExtension)
{
    SetScanTypeFlagByExtension(app.st, ".gif", false);
    SetScanTypeFlagByExtension(app.st, ".XYZ", false);
    EXPECT_FALSE(app.st.settings.ScanFileFlags[7]);
    for (int code = 1; code <= 12; ++code) {
        if (code != 7) {
            EXPECT_TRUE(app.st.settings.ScanFileFlags[code]);
        }
    }
    SaveScanTypeFlags(app);
    EXPECT_TRUE(settingsText().contains("Scan_File_GIF=0\n"));
    EXPECT_TRUE(settingsText().contains("Scan_File_ICO=1\n"));
}

TEST_F(ProfileTest, StartingFolderDefaultsToTheHomeFolderOnItsDrive)
{
    setDrives("C=/");
    LoadSettings(app);
    const QString home = QDir::homePath();
    const QString expected = home == "/" ? QStringLiteral("C:\\") : "C:" + QString(home).replace('/', '\\');
    EXPECT_EQ(app.st.settings.Starting_Folder, expected);
    setDrives("C=" + folder("elsewhere"));
    LoadSettings(app);
    EXPECT_EQ(app.st.settings.Starting_Folder, "C:\\");
    writeSettings({"Starting_Folder=C:\\Windows"});
    LoadSettings(app);
    EXPECT_EQ(app.st.settings.Starting_Folder, "C:\\Windows");
}

TEST_F(ProfileTest, EachSaverWritesItsOwnKeysInItsOwnOrder)
{
    const struct
    {
        bool (*save)(App &);
        QStringList keys;
    } savers[] = {
        {SaveWindowSettings, {"WindowLeft", "Window_Top", "Window_Width", "Window_Height", "Window_State"}},
        {SavePanelWidth, {"Panel_Width"}},
        {SaveTreeViewWidth, {"TreeView_Width"}},
        {SaveIconStyle, {"Icon_Style"}},
        {SaveScanType, {"Scan_Type"}},
        {SaveStartingFolder, {"Starting_Folder"}},
        {SaveJpegSettings,
         {"JPEG_Scale", "JPEG_Grayscale", "JPEG_Performance", "JPEG_Pixel_Format", "JPEG_Progressive_Display",
          "JPEG_Smoothing"}},
        {SaveGeneralOptions,
         {"Show_Hints", "Beep_On_Error_Message", "Expand_Treeview_At_End_Of_Scan", "Keep_Catalogue",
          "Show_Thumbnails"}},
        {SaveFirstTime, {"First_Time"}},
    };
    for (const auto &saver : savers) {
        QFile::remove(settingsPath());
        ASSERT_TRUE(saver.save(app));
        QStringList written;
        for (const QString &line : settingsText().split('\n', Qt::SkipEmptyParts))
            if (!line.startsWith('['))
                written << line.section('=', 0, 0);
        EXPECT_EQ(written, saver.keys);
    }
    // Keys only the user edits are never written.
    QFile::remove(settingsPath());
    for (const auto &saver : savers)
        ASSERT_TRUE(saver.save(app));
    ASSERT_TRUE(SaveScanTypeFlags(app));
    for (const char *key : {"First_Drive_Number", "Scan_After_Change_Folder", "Show_Non_Empty_Tabs",
                            "Dont_Close_Scan_Form", "Start_Scan_C_With", "Scan_Ram_Drive"})
        EXPECT_FALSE(settingsText().contains(QString(key) + '=')) << key;
}

TEST_F(ProfileTest, ValuesAreStoredAsReadAndClampedWhereUsed)
{
    writeSettings({"JPEG_Scale=7", "Icon_Style=-2", "First_Drive_Number=0", "Window_Width=99999"});
    LoadSettings(app);
    const Settings &s = app.st.settings;
    EXPECT_EQ(s.JPEG_Scale, 7);
    EXPECT_EQ(ClampSetting(s, "JPEG_Scale"), 3);
    EXPECT_EQ(ClampSetting(s, "icon_style"), 0);
    EXPECT_EQ(ClampSetting(s, "First_Drive_Number"), 1);
    // A key without a range keeps its value; a key the table does not know gives 0.
    EXPECT_EQ(ClampSetting(s, "Window_Width"), 99999);
    EXPECT_EQ(ClampSetting(s, "No_Such_Key"), 0);
}
