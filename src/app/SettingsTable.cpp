#include "app/SettingsTable.h"

#include "app/MediaType.h"

#include <QString>
#include <vector>

namespace {

constexpr int kNoMin = 1;
constexpr int kNoMax = 0;

SettingKey intKey(const char *name, SettingGroup group, int Settings::*value, int def, int min = kNoMin,
                  int max = kNoMax)
{
    return {name, SettingKind::Int, group, def, min, max, value, nullptr, nullptr, 0};
}

SettingKey flagKey(const char *name, SettingGroup group, bool Settings::*value, bool def)
{
    return {name, SettingKind::Flag, group, def ? 1 : 0, 0, 1, nullptr, value, nullptr, 0};
}

SettingKey textKey(const char *name, SettingGroup group, QString Settings::*value)
{
    return {name, SettingKind::Text, group, 0, kNoMin, kNoMax, nullptr, nullptr, value, 0};
}

std::vector<SettingKey> buildTable()
{
    using G = SettingGroup;
    using S = Settings;
    std::vector<SettingKey> keys;
    for (MediaType t : kMediaTypes)
        keys.push_back({mediaTypeInfo(t).scanFlagKey, SettingKind::Flag, G::ScanFileFlags, 1, 0, 1, nullptr,
                        nullptr, nullptr, code(t)});
    const SettingKey rest[] = {
        intKey("WindowLeft", G::Window, &S::WindowLeft, 0),
        intKey("Window_Top", G::Window, &S::Window_Top, 0),
        intKey("Window_Width", G::Window, &S::Window_Width, 740),
        intKey("Window_Height", G::Window, &S::Window_Height, 565),
        intKey("Window_State", G::Window, &S::Window_State, 0),
        intKey("Panel_Width", G::PanelWidth, &S::Panel_Width, 400),
        intKey("TreeView_Width", G::TreeViewWidth, &S::TreeView_Width, 230),
        intKey("Icon_Style", G::IconStyle, &S::Icon_Style, 1, 0, 3),
        intKey("Scan_Type", G::ScanType, &S::Scan_Type, 0, 0, 1),
        flagKey("Show_Hints", G::General, &S::Show_Hints, true),
        flagKey("Beep_On_Error_Message", G::General, &S::Beep_On_Error_Message, true),
        textKey("Starting_Folder", G::StartingFolder, &S::Starting_Folder),
        intKey("JPEG_Scale", G::Jpeg, &S::JPEG_Scale, 0, 0, 3),
        flagKey("JPEG_Grayscale", G::Jpeg, &S::JPEG_Grayscale, false),
        intKey("JPEG_Performance", G::Jpeg, &S::JPEG_Performance, 0, 0, 1),
        intKey("JPEG_Pixel_Format", G::Jpeg, &S::JPEG_Pixel_Format, 1, 0, 1),
        flagKey("JPEG_Progressive_Display", G::Jpeg, &S::JPEG_Progressive_Display, true),
        flagKey("JPEG_Smoothing", G::Jpeg, &S::JPEG_Smoothing, true),
        flagKey("First_Time", G::FirstTime, &S::First_Time, true),
        intKey("First_Drive_Number", G::Never, &S::First_Drive_Number, 1, 1, 26),
        flagKey("Scan_After_Change_Folder", G::Never, &S::Scan_After_Change_Folder, true),
        flagKey("Show_Non_Empty_Tabs", G::Never, &S::Show_Non_Empty_Tabs, true),
        flagKey("Msg_If_Copy_Cancel", G::Never, &S::Msg_If_Copy_Cancel, true),
        flagKey("Dont_Close_Scan_Form", G::Never, &S::Dont_Close_Scan_Form, false),
        flagKey("Wiew_When_Click_ListView", G::Never, &S::Wiew_When_Click_ListView, true),
        flagKey("Expand_Treeview_At_End_Of_Scan", G::General, &S::Expand_Treeview_At_End_Of_Scan, true),
        flagKey("Keep_Catalogue", G::General, &S::Keep_Catalogue, true),
        flagKey("Show_Thumbnails", G::General, &S::Show_Thumbnails, true),
        flagKey("DontTestAWhenStarting", G::Never, &S::DontTestAWhenStarting, false),
        textKey("Start_Scan_C_With", G::Never, &S::Start_Scan_C_With),
        flagKey("Scan_Removable_Drive", G::Never, &S::Scan_Removable_Drive, true),
        flagKey("Scan_Fixed_Drive", G::Never, &S::Scan_Fixed_Drive, true),
        flagKey("Scan_Network_Drive", G::Never, &S::Scan_Network_Drive, true),
        flagKey("Scan_CDRom_Drive", G::Never, &S::Scan_CDRom_Drive, true),
        flagKey("Scan_Ram_Drive", G::Never, &S::Scan_Ram_Drive, true),
        flagKey("Keep_Zoom", G::Viewer, &S::Keep_Zoom, false),
        flagKey("JPEG_Exif_Orientation", G::Viewer, &S::JPEG_Exif_Orientation, true),
        intKey("Slide_Interval", G::Viewer, &S::Slide_Interval, 4, 1, 3600),
        flagKey("Slide_Loop", G::Viewer, &S::Slide_Loop, false),
        flagKey("Slide_Shuffle", G::Viewer, &S::Slide_Shuffle, false),
        textKey("Convert_Picture_Format", G::Convert, &S::Convert_Picture_Format),
        textKey("Convert_Animation_Format", G::Convert, &S::Convert_Animation_Format),
        textKey("Convert_Drawing_Format", G::Convert, &S::Convert_Drawing_Format),
        textKey("Convert_Sound_Format", G::Convert, &S::Convert_Sound_Format),
        textKey("Convert_Tune_Format", G::Convert, &S::Convert_Tune_Format),
        textKey("Convert_Video_Format", G::Convert, &S::Convert_Video_Format),
        intKey("Convert_Drawing_Width", G::Convert, &S::Convert_Drawing_Width, 0, 0, 65535),
        intKey("Convert_Destination", G::Convert, &S::Convert_Destination, 0, 0, 1),
        textKey("Convert_Folder", G::Convert, &S::Convert_Folder),
    };
    keys.insert(keys.end(), std::begin(rest), std::end(rest));
    return keys;
}

} // namespace

std::span<const SettingKey> SettingKeys()
{
    static const std::vector<SettingKey> table = buildTable(); // constant data, built once
    return table;
}

const SettingKey *FindSettingKey(const char *name)
{
    const QLatin1String wanted(name);
    for (const SettingKey &key : SettingKeys())
        if (wanted.compare(QLatin1String(key.name), Qt::CaseInsensitive) == 0)
            return &key;
    return nullptr;
}
