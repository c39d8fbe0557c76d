// The settings values, one per key of the settings file (section "Lumavista" of LUMA.INI), with
// their defaults; read once at start by LoadSettings and written back group by group, by the saver
// of each group, at the moment they change. There is no save-all.
//
// Reading: an integer is decimal text, or hexadecimal when the text is longer than two characters
// and starts with 0x or 0X; text that does not convert gives the key's default. A flag is an integer,
// true when not 0. A failed write raises EInOutError ("Ne peut écrire dans %s").
#pragma once

#include <QString>
#include <array>

struct AppState;

struct Settings
{
    int WindowLeft = 0;
    int Window_Top = 0;
    int Window_Width = 740;
    int Window_Height = 565;
    int Window_State = 0; // 0 maximised, 1 (or anything else) normal
    int Panel_Width = 400;
    int TreeView_Width = 230;
    int Icon_Style = 1;
    int Scan_Type = 0;
    bool Beep_On_Error_Message = true;
    bool Show_Hints = true;
    QString Starting_Folder; // default: the drive path of the home folder (see defaultStartingFolder)
    int JPEG_Scale = 0;
    bool JPEG_Grayscale = false;
    int JPEG_Performance = 0;
    int JPEG_Pixel_Format = 1;
    bool JPEG_Progressive_Display = true;
    bool JPEG_Smoothing = true;
    bool First_Time = true;
    int First_Drive_Number = 1;
    bool Scan_After_Change_Folder = true;
    bool Show_Non_Empty_Tabs = true;
    bool Msg_If_Copy_Cancel = true;
    bool Dont_Close_Scan_Form = false;
    bool Wiew_When_Click_ListView = true;
    bool Expand_Treeview_At_End_Of_Scan = true;
    // No floppy probe to spare here, and an untested A: that does not exist would fail every scan.
    bool DontTestAWhenStarting = false;
    QString Start_Scan_C_With;
    bool HasStartScanCFolder = false;
    bool Scan_Removable_Drive = true;
    bool Scan_Fixed_Drive = true;
    bool Scan_Network_Drive = true;
    bool Scan_CDRom_Drive = true;
    bool Scan_Ram_Drive = true;
    std::array<bool, 13> ScanFileFlags{false, true, true, true, true, true, true,
                                       true,  true, true, true, true, true}; // 1..12
};

extern const char *const kSettingsSection;  // "Lumavista"
extern const char *const kScanFileKeys[13]; // [1..12] = "Scan_File_ANI" .. "Scan_File_ICO"

// The drive path of the user's home folder ("C:\home\anne"), or "C:\" when it lies on no drive.
QString defaultStartingFolder();

// Integer and flag conversions of the settings file (exposed for tests).
int profileToInt(const QString &text, int def);

void LoadSettings(AppState &st);
void LoadScanTypeFlags(AppState &st);
void SaveScanTypeFlags(AppState &st);
void SetScanTypeFlagByExtension(AppState &st, const QString &extension, bool flag);
void SaveWindowSettings(AppState &st);
void SavePanelWidth(AppState &st);
void SaveTreeViewWidth(AppState &st);
void SaveIconStyle(AppState &st);
void SaveScanType(AppState &st);
void SaveStartingFolder(AppState &st);
void SaveJpegSettings(AppState &st);
void SaveGeneralOptions(AppState &st);
void SaveFirstTime(AppState &st);
