// The small interfaces through which a subsystem asks another for something it does not own. Each
// is implemented by one pane or window; the main window sets App's port pointers in one place
// (TfrmMain::connectPorts) and clears them before its panes go. Until then, or in a test that builds
// one subsystem alone, a port is null and the request is simply not made: every caller checks.
#pragma once

#include <QString>
#include <vector>

// What the catalogue and the commands ask of the viewer pane.
class ViewerPort
{
public:
    virtual ~ViewerPort() = default;
    // Whether the Stop command can act now (something plays or is shown in motion).
    virtual bool stopAvailable() const = 0;
    // Runs the Stop command.
    virtual void stopPlayback() = 0;
    // Shows the empty page ("VIDE").
    virtual void showEmptyPage() = 0;
    // The Play command: shows or plays the file of the Selection (a refresh of a picture).
    virtual void play() = 0;
    // The Selection changed without Play: the toolbar offers Play for a file item.
    virtual void selectionChanged() = 0;
};

// What the viewer's navigation asks of the list of the Selection (Selection.List).
class FileListPort
{
public:
    virtual ~FileListPort() = default;
    virtual int itemCount() const = 0;
    // Whether the row stands for a media file.
    virtual bool isFileItem(int row) const = 0;
    // Clears the list's selection, selects the row, gives the list the focus and makes the row its
    // focused item: the list's change handler then does what a click would have done.
    virtual void selectItem(int row) = 0;
    virtual void deselectAll() = 0;
    // Runs the list's change handler for the item on view again (nothing when it is gone).
    virtual void refreshSelectedItem() = 0;
    // Whether the tree node on view is a folder holding media files.
    virtual bool currentNodeIsMediaFolder() const = 0;
};

// What the Properties command asks of the catalogue about the tree node and list item in focus.
class CataloguePort
{
public:
    enum class NodeKind { None, MyComputer, Drive, Folder, MediaFolder };
    struct Node
    {
        NodeKind kind = NodeKind::None;
        QString text;      // as the tree shows it: "(C:)" for a drive
        int driveType = 0; // drives only
    };
    virtual ~CataloguePort() = default;
    // The selected node of the tree on view (kind None when there is none).
    virtual Node currentNode() const = 0;
    // Whether the selected node has a child folder holding media files named like
    // Selection.FileName (ignoring case).
    virtual bool isMediaFolderChild() const = 0;
    // Shows a file the catalogue lists (folder with its trailing backslash) in the ALL list, as a
    // click on its folder's node and then on its row would, and on the viewer even when a click
    // would not show it; false, with nothing changed, when the catalogue does not list it.
    virtual bool showListedFile(const QString &folder, const QString &name) = 0;
    // The options of the lists' styles changed: every list shows them now.
    virtual void listStylesChanged() {}
};

// The main window's status bar: panels 0, 1 and 2, panel 3 (when the catalogue on show was made)
// and panel 4 (the viewer's zoom).
inline constexpr int kStatusPanels = 5;
class StatusPort
{
public:
    virtual ~StatusPort() = default;
    // Writes the panel and repaints it at once.
    virtual void setStatusText(int panel, const QString &text) = 0;
    virtual QString statusText(int panel) const = 0;
};

// The file commands a list's Delete key runs.
class FileCommandPort
{
public:
    virtual ~FileCommandPort() = default;
    virtual void deleteOneFile() = 0;
    virtual void deleteSelectedFiles() = 0;
};

// What the file commands ask of the list of the Selection: the files the user selected, and the
// list filled again once a command changed its folder.
class FileSelectionPort
{
public:
    struct SelectedFile
    {
        int row;
        QString name;   // the item's caption: the file's name in its folder
        QString folder; // its drive folder, with the trailing backslash
    };
    virtual ~FileSelectionPort() = default;
    // The selected items that stand for media files (never folders or drives), in list order.
    virtual std::vector<SelectedFile> selectedFiles() const = 0;
    // Fills the list of the current folder again from the disk. The file on view stays on view
    // (and selected) when it is still listed; otherwise the viewer is stopped and shows the empty page.
    virtual void refillList() = 0;
    // The file on view is gone (deleted): nothing is selected, and the viewer shows the empty page.
    virtual void forgetFileOnView() = 0;
    // A file the program deleted (drive folder with its trailing backslash): the catalogue forgets it.
    virtual void fileGone(const QString &folder, const QString &name)
    {
        Q_UNUSED(folder);
        Q_UNUSED(name);
    }
};

// What the options window asks of the main window.
class ToolbarHintsPort
{
public:
    virtual ~ToolbarHintsPort() = default;
    // Switches the tool tips of the four toolbars on or off at once.
    virtual void showHintsOnToolbars(bool on) = 0;
};
