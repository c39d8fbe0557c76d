// The program's global records. They live in one AppState object that App owns (and each test
// creates afresh). The Selection is written by the catalogue alone; OnView by the viewer alone. Kinds are
// explicit fields: a tree node is named by its id in the catalogue store, a list by the type of its tab,
// never by a widget or a picture number.
#pragma once

#include "app/MediaType.h"
#include "app/Settings.h"

#include <QString>
#include <cstdint>

// A node of the catalogue's folder trees (catalogue/CatalogueStore.h); valid until the next reset.
using NodeId = uint32_t;
inline constexpr NodeId kNoNode = 0xFFFFFFFFu;

// What a list item stands for.
enum class ListItemKind : int8_t { None = -1, Drive = 0, Folder = 1, File = 2 };

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
    MediaType FirstType = mtNone;
    int32_t EnabledCount = -1;
    MediaType FirstTree = mtNone; // the tree of FirstType
    int32_t FirstPageIndex = -1;
    QString EnabledExtensions; // ".ANI/.AVI/..." in code order
};

struct CurrentViewRecord
{
    MediaType CurrentType = mtALL;
    bool SearchShown = false;       // the list of CurrentType shows the results of a search, not a folder
    QString CurrentFolder;          // with trailing backslash; empty for My computer or nothing
    MediaType CurrentTree = mtNone; // the tree the current node belongs to
    NodeId CurrentNode = kNoNode;
    bool TreeHasFocus = false;
};

struct SelectionRecord
{
    int Item = -1; // row of the list item on view in List, -1 none
    ListItemKind ItemKind = ListItemKind::None;
    MediaType List = mtNone; // the list (by its tab's type) the selection belongs to
    QString FileName;
    QString FileFolder;          // the folder of the item on view (a search result's own, else the list's)
    MediaType FileType = mtNone; // the type of the selected file, None for none
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

// What a viewer page loaded last, one record per type (read by the previews and the file
// properties window). Each type fills the fields it has: a picture its size and colours, a GIF its
// animation facts, a sound its length and loop, a clip how it played.
struct ViewedRecord
{
    QString FileName;
    QString Path; // the drive path of the file; empty before the page loaded one
    int32_t Width = 0;
    int32_t Height = 0;
    bool Monochrome = false;
    bool Animated = false;
    bool Interlaced = false;
    bool Transparent = false;
    int32_t FrameCount = 0;
    int32_t Speed = 0; // percent of the file's own speed
    bool Tile = false;
    bool Repeat = false;   // play again at the end
    int32_t LengthMs = 0;  // as the device reports it (a clip: video playback only)
    bool InWindow = false; // a clip played by the animation control, not as video
};

// What the viewer shows: the type of the file on view, None for none.
struct OnViewRecord
{
    MediaType FileType = mtNone;
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
    TypeTable<ExtensionsRecord> Extensions;
    TypeTable<TabSheetRecord> TabSheets;
    CatalogueStateRecord CatalogueState;
    CurrentViewRecord CurrentView;
    SelectionRecord Selection;
    std::array<DiskRecord, 27> Disks; // 1..26 = A..Z; row 0 unused
    ScanRequestRecord ScanRequest;
    bool ScanCancelled = false;
    bool ScanFailed = false;
    int64_t InaccessibleFolders = 0; // folders skipped by the current root for access denied
    uint64_t ListFillSerial = 0;     // counts list fills; a fill that sees it move was overtaken

    // Viewers: Viewed[mtBMP] is what the BMP page loaded last, and so on.
    TypeTable<ViewedRecord> Viewed;
    OnViewRecord OnView;
};

// The drive folder of the file on view: a search result's own folder, else the folder listed.
inline QString SelectionFolder(const AppState &st)
{
    return st.Selection.FileFolder.isEmpty() ? st.CurrentView.CurrentFolder : st.Selection.FileFolder;
}
