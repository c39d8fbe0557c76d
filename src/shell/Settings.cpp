#include "shell/Settings.h"

#include "platform/Profile.h"
#include "platform/drives/DriveMap.h"
#include "shell/Errors.h"
#include "shell/Global.h"

#include <QDir>

const char *const kSettingsSection = "Lumavista";
const char *const kScanFileKeys[13] = {"",
                                       "Scan_File_ANI",
                                       "Scan_File_AVI",
                                       "Scan_File_BMP",
                                       "Scan_File_JPG",
                                       "Scan_File_MID",
                                       "Scan_File_WAV",
                                       "Scan_File_GIF",
                                       "Scan_File_PCX",
                                       "Scan_File_TIF",
                                       "Scan_File_WMF",
                                       "Scan_File_EMF",
                                       "Scan_File_ICO"};

QString defaultStartingFolder()
{
    const auto drivePath = platform::DriveMap::current().toDrivePath(QDir::homePath());
    if (!drivePath || drivePath->isEmpty())
        return QStringLiteral("C:\\");
    QString p = *drivePath;
    if (p.size() > 3 && p.endsWith('\\'))
        p.chop(1);
    return p;
}

int profileToInt(const QString &text, int def)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.size() > 2 && (t.startsWith("0x") || t.startsWith("0X"))) {
        // Hexadecimal covers the 32 bits: 0xFFFFFFFF is -1.
        const unsigned long long v = t.mid(2).toULongLong(&ok, 16);
        if (!ok || v > UINT32_MAX)
            return def;
        return static_cast<int>(static_cast<uint32_t>(v));
    }
    const int v = t.toInt(&ok, 10);
    return ok ? v : def;
}

namespace {

QString readString(const AppState &st, const char *key, const QString &def)
{
    return platform::GetPrivateProfileString(kSettingsSection, key, def, st.SettingsFilePath);
}

int readInt(const AppState &st, const char *key, int def)
{
    const QString text =
        platform::GetPrivateProfileString(kSettingsSection, key, QString(), st.SettingsFilePath);
    return profileToInt(text, def);
}

bool readFlag(const AppState &st, const char *key, bool def)
{
    return readInt(st, key, def ? 1 : 0) != 0;
}

void write(const AppState &st, const char *key, const QString &value)
{
    QString reason;
    if (!platform::WritePrivateProfileString(kSettingsSection, key, value, st.SettingsFilePath, &reason))
        throw EInOutError(QStringLiteral("Ne peut écrire dans %1").arg(st.SettingsFilePath));
}

void writeInt(const AppState &st, const char *key, int value)
{
    write(st, key, QString::number(value));
}
void writeFlag(const AppState &st, const char *key, bool value)
{
    write(st, key, value ? "1" : "0");
}

} // namespace

void LoadScanTypeFlags(AppState &st)
{
    for (int code = 1; code <= 12; ++code)
        st.settings.ScanFileFlags[code] = readFlag(st, kScanFileKeys[code], true);
}

void LoadSettings(AppState &st)
{
    Settings &s = st.settings;
    const Settings d; // defaults
    LoadScanTypeFlags(st);
    s.WindowLeft = readInt(st, "WindowLeft", d.WindowLeft);
    s.Window_Top = readInt(st, "Window_Top", d.Window_Top);
    s.Window_Width = readInt(st, "Window_Width", d.Window_Width);
    s.Window_Height = readInt(st, "Window_Height", d.Window_Height);
    s.Window_State = readInt(st, "Window_State", d.Window_State);
    s.Panel_Width = readInt(st, "Panel_Width", d.Panel_Width);
    s.TreeView_Width = readInt(st, "TreeView_Width", d.TreeView_Width);
    s.Icon_Style = readInt(st, "Icon_Style", d.Icon_Style);
    s.Scan_Type = readInt(st, "Scan_Type", d.Scan_Type);
    s.Beep_On_Error_Message = readFlag(st, "Beep_On_Error_Message", d.Beep_On_Error_Message);
    s.Show_Hints = readFlag(st, "Show_Hints", d.Show_Hints);
    s.Starting_Folder = readString(st, "Starting_Folder", defaultStartingFolder());
    s.JPEG_Scale = readInt(st, "JPEG_Scale", d.JPEG_Scale);
    s.JPEG_Grayscale = readFlag(st, "JPEG_Grayscale", d.JPEG_Grayscale);
    s.JPEG_Performance = readInt(st, "JPEG_Performance", d.JPEG_Performance);
    s.JPEG_Pixel_Format = readInt(st, "JPEG_Pixel_Format", d.JPEG_Pixel_Format);
    s.JPEG_Progressive_Display = readFlag(st, "JPEG_Progressive_Display", d.JPEG_Progressive_Display);
    s.JPEG_Smoothing = readFlag(st, "JPEG_Smoothing", d.JPEG_Smoothing);
    s.First_Time = readFlag(st, "First_Time", d.First_Time);
    s.First_Drive_Number = readInt(st, "First_Drive_Number", d.First_Drive_Number);
    s.Scan_After_Change_Folder = readFlag(st, "Scan_After_Change_Folder", d.Scan_After_Change_Folder);
    s.Show_Non_Empty_Tabs = readFlag(st, "Show_Non_Empty_Tabs", d.Show_Non_Empty_Tabs);
    s.Msg_If_Copy_Cancel = readFlag(st, "Msg_If_Copy_Cancel", d.Msg_If_Copy_Cancel);
    s.Dont_Close_Scan_Form = readFlag(st, "Dont_Close_Scan_Form", d.Dont_Close_Scan_Form);
    s.Wiew_When_Click_ListView = readFlag(st, "Wiew_When_Click_ListView", d.Wiew_When_Click_ListView);
    s.Expand_Treeview_At_End_Of_Scan =
        readFlag(st, "Expand_Treeview_At_End_Of_Scan", d.Expand_Treeview_At_End_Of_Scan);
    s.DontTestAWhenStarting = readFlag(st, "DontTestAWhenStarting", d.DontTestAWhenStarting);
    s.Start_Scan_C_With = readString(st, "Start_Scan_C_With", QString());
    s.HasStartScanCFolder = !s.Start_Scan_C_With.isEmpty();
    s.Scan_Removable_Drive = readFlag(st, "Scan_Removable_Drive", d.Scan_Removable_Drive);
    s.Scan_Fixed_Drive = readFlag(st, "Scan_Fixed_Drive", d.Scan_Fixed_Drive);
    s.Scan_Network_Drive = readFlag(st, "Scan_Network_Drive", d.Scan_Network_Drive);
    s.Scan_CDRom_Drive = readFlag(st, "Scan_CDRom_Drive", d.Scan_CDRom_Drive);
    s.Scan_Ram_Drive = readFlag(st, "Scan_Ram_Drive", d.Scan_Ram_Drive);
}

void SaveScanTypeFlags(AppState &st)
{
    for (int code = 1; code <= 12; ++code)
        writeFlag(st, kScanFileKeys[code], st.settings.ScanFileFlags[code]);
}

void SetScanTypeFlagByExtension(AppState &st, const QString &extension, bool flag)
{
    const QString x = extension.toUpper();
    for (int code = 1; code <= 12; ++code) {
        if (x == QString(kScanFileKeys[code]).right(3).prepend('.')) {
            st.settings.ScanFileFlags[code] = flag;
            return;
        }
    }
}

void SaveWindowSettings(AppState &st)
{
    const Settings &s = st.settings;
    writeInt(st, "WindowLeft", s.WindowLeft);
    writeInt(st, "Window_Top", s.Window_Top);
    writeInt(st, "Window_Width", s.Window_Width);
    writeInt(st, "Window_Height", s.Window_Height);
    writeInt(st, "Window_State", s.Window_State);
}

void SavePanelWidth(AppState &st)
{
    writeInt(st, "Panel_Width", st.settings.Panel_Width);
}
void SaveTreeViewWidth(AppState &st)
{
    writeInt(st, "TreeView_Width", st.settings.TreeView_Width);
}
void SaveIconStyle(AppState &st)
{
    writeInt(st, "Icon_Style", st.settings.Icon_Style);
}
void SaveScanType(AppState &st)
{
    writeInt(st, "Scan_Type", st.settings.Scan_Type);
}
void SaveStartingFolder(AppState &st)
{
    write(st, "Starting_Folder", st.settings.Starting_Folder);
}

void SaveJpegSettings(AppState &st)
{
    const Settings &s = st.settings;
    writeInt(st, "JPEG_Scale", s.JPEG_Scale);
    writeFlag(st, "JPEG_Grayscale", s.JPEG_Grayscale);
    writeInt(st, "JPEG_Performance", s.JPEG_Performance);
    writeInt(st, "JPEG_Pixel_Format", s.JPEG_Pixel_Format);
    writeFlag(st, "JPEG_Progressive_Display", s.JPEG_Progressive_Display);
    writeFlag(st, "JPEG_Smoothing", s.JPEG_Smoothing);
}

void SaveGeneralOptions(AppState &st)
{
    const Settings &s = st.settings;
    writeFlag(st, "Show_Hints", s.Show_Hints);
    writeFlag(st, "Beep_On_Error_Message", s.Beep_On_Error_Message);
    writeFlag(st, "Expand_Treeview_At_End_Of_Scan", s.Expand_Treeview_At_End_Of_Scan);
}

void SaveFirstTime(AppState &st)
{
    writeFlag(st, "First_Time", st.settings.First_Time);
}
