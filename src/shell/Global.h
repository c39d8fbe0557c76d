// The program's global records. They live in one AppState object that the application owns (and
// each test creates afresh); the main window and the subsystems reach them through App.
#pragma once

#include "shell/Settings.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class ScanProgress;
class TListView;
struct App;

// Media type codes: 0 ALL, 1..12 the types, -1 no media type.
using MediaType = int;
enum : int {
    mtNone = -1,
    mtALL = 0,
    mtANI = 1,
    mtAVI = 2,
    mtBMP = 3,
    mtJPG = 4,
    mtMID = 5,
    mtWAV = 6,
    mtGIF = 7,
    mtPCX = 8,
    mtTIF = 9,
    mtWMF = 10,
    mtEMF = 11,
    mtICO = 12
};
constexpr int kTableRows = 21; // media-type and tab tables; the first empty row ends them

struct ExtensionsRecord
{
    QString Extension;  // "$$$" for ALL, ".ANI" .. ".ICO"; empty ends the table
    QString LastFolder; // folder last added to the trees for this type during the current root
};

struct TabSheetRecord
{
    QString Name; // "$$$", "ANI" .. "ICO"; empty ends the table
    int32_t PageIndex = -1;
    bool Enabled = false;
};

struct CatalogueStateRecord
{
    int32_t FirstType = -1;
    int32_t EnabledCount = -1;
    QTreeWidget *FirstTree = nullptr;
    int32_t FirstPageIndex = -1;
    QString EnabledExtensions; // ".ANI/.AVI/..." in code order
};

struct CurrentViewRecord
{
    MediaType CurrentType = mtALL;
    QString CurrentFolder; // with trailing backslash; empty for My computer or nothing
    QTreeWidget *CurrentTree = nullptr;
    QTreeWidgetItem *CurrentNode = nullptr;
    bool TreeHasFocus = false;
};

struct SelectionRecord
{
    int Item = -1;         // row of the list item on view in ListView, -1 none
    int32_t ItemKind = -1; // 0 drive, 1 folder, 2 file, -1 none
    TListView *ListView = nullptr;
    QString FileName;
    MediaType FileType = mtNone;
    bool ModifierKeyDown = false;
    bool RightButtonDown = false;
    bool ChangeGuard = false;
    int32_t FileCount = 0;
    bool ListHasFocus = false;
};

struct DiskRecord
{
    QString Letter;
    bool Present = false;
    int32_t DriveType = 0;
    bool Selected = false;
    QString VolumeLabel;
    QString SerialNumber;
    uint32_t FileSystemFlags = 0;
    QString FileSystemName;
    int64_t FileCount = 0; // 64-bit: a large disk holds more than 2^31 media files' worth of bytes
    int64_t FileBytes = 0;
};

struct ScanRequestRecord
{
    bool ScanDrives = true;
    QString Folder;
    int32_t CurrentDrive = 0;
    bool Scanning = false;
};

struct AppState
{
    // Shell state.
    QString SettingsFilePath = QStringLiteral("LUMA.INI");
    bool FormReady = false;
    bool ApplyingGeometry = false;
    bool RightPaneResizing = false;
    bool RelayoutOnly = false;
    bool PropagatingTreeWidth = false;
    bool SettingViewStyle = false; // re-entrancy guard of SetViewStyle

    Settings settings;

    // Catalogue.
    std::array<ExtensionsRecord, kTableRows> Extensions;
    std::array<TabSheetRecord, kTableRows> TabSheets;
    CatalogueStateRecord CatalogueState;
    CurrentViewRecord CurrentView;
    SelectionRecord Selection;
    std::array<DiskRecord, 27> Disks; // 1..26 = A..Z; row 0 unused
    ScanRequestRecord ScanRequest;
    bool ScanCancelled = false;
    bool ScanFailed = false;
    int64_t InaccessibleFolders = 0;    // folders skipped by the current root for access denied
    ScanProgress *ScanWindow = nullptr; // the open scan window; the walk reports its folders to it
    uint64_t ListFillSerial = 0;        // counts list fills; a fill that sees it move was overtaken

    // The delete commands a list's Delete key runs (set by the file operations; empty until then).
    std::function<void(App &)> DeleteOneFileCommand;
    std::function<void(App &)> DeleteSelectedFilesCommand;
};
