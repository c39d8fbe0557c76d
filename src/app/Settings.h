// The settings values, one per key of the settings file (section "Lumavista" of LUMA.INI). One table
// (SettingsTable.cpp) names every key with its kind, default, range and the group whose saver writes
// it; LoadSettings reads every key through it and each saver writes its group's keys through it, at
// the moment they change. There is no save-all.
//
// Reading: an integer is decimal text, or hexadecimal when the text is longer than two characters
// and starts with 0x or 0X; text that does not convert gives the key's default. A flag is an integer,
// true when not 0. Values are stored as read: a range is applied where a value is used
// (ClampSetting), since some users of a value define their own handling of a bad one.
// Writing: a saver that cannot write the file shows the standard error box ("Ne peut écrire dans
// LUMA.INI.") and returns false; the command that called it stops there.
#pragma once

#include "app/MediaType.h"

#include <QString>

class App;
struct AppState;
namespace platform {
class DriveMap;
}

struct Settings
{
    Settings(); // every value at its key's default (Starting_Folder empty until loaded)

    int WindowLeft;
    int Window_Top;
    int Window_Width;
    int Window_Height;
    int Window_State; // 0 maximised, 1 (or anything else) normal
    int Panel_Width;
    int TreeView_Width;
    int Icon_Style;
    int Scan_Type;
    bool Beep_On_Error_Message;
    bool Show_Hints;
    QString Starting_Folder; // default: the drive path of the home folder (see defaultStartingFolder)
    int JPEG_Scale;
    bool JPEG_Grayscale;
    int JPEG_Performance;
    int JPEG_Pixel_Format;
    bool JPEG_Progressive_Display;
    bool JPEG_Smoothing;
    bool First_Time;
    int First_Drive_Number;
    bool Scan_After_Change_Folder;
    bool Show_Non_Empty_Tabs;
    bool Msg_If_Copy_Cancel;
    bool Dont_Close_Scan_Form;
    bool Wiew_When_Click_ListView;
    bool Expand_Treeview_At_End_Of_Scan;
    // The catalogue of the last completed scan is kept between runs and reused by the next rescan.
    bool Keep_Catalogue;
    // The large-icon style shows each file's thumbnail (from the desktop's thumbnail cache).
    bool Show_Thumbnails;
    // No floppy probe to spare here, and an untested A: that does not exist would fail every scan.
    bool DontTestAWhenStarting;
    QString Start_Scan_C_With;
    bool HasStartScanCFolder = false; // derived at load: Start_Scan_C_With is not empty
    bool Scan_Removable_Drive;
    bool Scan_Fixed_Drive;
    bool Scan_Network_Drive;
    bool Scan_CDRom_Drive;
    bool Scan_Ram_Drive;
    TypeTable<bool, kTypeCount> ScanFileFlags{}; // [1..19] by media type
    // Beyond the original program: the viewer's comfort.
    bool Keep_Zoom;             // a new file keeps the zoom of the last one
    bool JPEG_Exif_Orientation; // a JPEG is shown upright as its camera recorded
    int Slide_Interval;         // seconds a picture stays in a slide show
    bool Slide_Loop;            // the slide show starts again after the last file
    bool Slide_Shuffle;         // ... in an order drawn at random
    // Beyond the original program: the convert window's last choices. A format that its kind
    // cannot become (a hand-edited value) stands for the kind's default where it is used.
    QString Convert_Picture_Format;   // BMP, ICO, JPEG, PCX, TIFF, still GIF
    QString Convert_Animation_Format; // animated GIF, ANI
    QString Convert_Drawing_Format;   // WMF, EMF
    QString Convert_Sound_Format;     // WAV
    QString Convert_Tune_Format;      // MIDI
    QString Convert_Video_Format;     // AVI
    int Convert_Drawing_Width;        // pixels of a drawing made a picture; 0: the drawing's own size
    int Convert_Destination;          // 0 beside each file, 1 in Convert_Folder
    QString Convert_Folder;           // native path
};

extern const char *const kSettingsSection; // "Lumavista"

// The groups of keys, each written by its own saver.
enum class SettingGroup {
    Window,
    PanelWidth,
    TreeViewWidth,
    IconStyle,
    ScanType,
    StartingFolder,
    Jpeg,
    General,
    FirstTime,
    ScanFileFlags,
    Viewer,
    Convert,
    Never // read only: the user edits them by hand
};

// The drive path of the user's home folder ("C:\home\anne"), or "C:\" when it lies on no drive.
QString defaultStartingFolder(const platform::DriveMap &drives);

// Integer and flag conversions of the settings file (exposed for tests).
int profileToInt(const QString &text, int def);

// The value of an integer key brought into the key's range (the key's default for an unknown key).
int ClampSetting(const Settings &s, const char *key);

void LoadSettings(App &app);
void LoadScanTypeFlags(App &app);
void SetScanTypeFlagByExtension(AppState &st, const QString &extension, bool flag);

// Writes one group's keys; false (after the error box) when the file cannot be written.
bool SaveSettingGroup(App &app, SettingGroup group);
inline bool SaveScanTypeFlags(App &app)
{
    return SaveSettingGroup(app, SettingGroup::ScanFileFlags);
}
inline bool SaveWindowSettings(App &app)
{
    return SaveSettingGroup(app, SettingGroup::Window);
}
inline bool SavePanelWidth(App &app)
{
    return SaveSettingGroup(app, SettingGroup::PanelWidth);
}
inline bool SaveTreeViewWidth(App &app)
{
    return SaveSettingGroup(app, SettingGroup::TreeViewWidth);
}
inline bool SaveIconStyle(App &app)
{
    return SaveSettingGroup(app, SettingGroup::IconStyle);
}
inline bool SaveScanType(App &app)
{
    return SaveSettingGroup(app, SettingGroup::ScanType);
}
inline bool SaveStartingFolder(App &app)
{
    return SaveSettingGroup(app, SettingGroup::StartingFolder);
}
inline bool SaveJpegSettings(App &app)
{
    return SaveSettingGroup(app, SettingGroup::Jpeg);
}
inline bool SaveGeneralOptions(App &app)
{
    return SaveSettingGroup(app, SettingGroup::General);
}
inline bool SaveViewerSettings(App &app)
{
    return SaveSettingGroup(app, SettingGroup::Viewer);
}
inline bool SaveConvertSettings(App &app)
{
    return SaveSettingGroup(app, SettingGroup::Convert);
}
inline bool SaveFirstTime(App &app)
{
    return SaveSettingGroup(app, SettingGroup::FirstTime);
}
