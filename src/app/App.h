// The application object: the global records, and the services every subsystem reaches through it:
// the modal seam, the drive map, the pictures, and the ports between subsystems, which the main
// window connects.
// Nothing of this is global: the program builds one App in main(), each test builds its own.
#pragma once

#include "app/Global.h"
#include "app/Ports.h"
#include "platform/drives/DriveMap.h"

#include <memory>

namespace platform {
class Ui;
}
class QWidget;
struct ImageLists;

class App
{
public:
    App(platform::Ui &ui, platform::DriveMap drives);
    ~App();
    App(const App &) = delete;
    App &operator=(const App &) = delete;

    AppState st;

    platform::Ui &ui() const { return m_ui; }
    const platform::DriveMap &drives() const { return m_drives; }
    void setDrives(platform::DriveMap drives) { m_drives = std::move(drives); }
    // The program's image lists, drawn from its artwork on first use.
    const ImageLists &images() const;

    // The ports between subsystems, all set and cleared by the main window in one place
    // (TfrmMain::connectPorts); null before and after it lives, and in tests of one subsystem.
    ViewerPort *viewer = nullptr;               // the viewer pane
    StatusPort *status = nullptr;               // the main window's status bar
    FileCommandPort *fileCommands = nullptr;    // the file commands the lists' Delete key runs
    FileListPort *selectionList = nullptr;      // the one list the Selection belongs to
    CataloguePort *cataloguePane = nullptr;     // the tree node and list item in focus
    FileSelectionPort *fileSelection = nullptr; // the files selected in that list
    ToolbarHintsPort *toolbarHints = nullptr;   // the main window's toolbars
    // The window modal windows belong to; null before it exists.
    QWidget *mainWindow = nullptr;

private:
    platform::Ui &m_ui;
    platform::DriveMap m_drives;
    mutable std::unique_ptr<ImageLists> m_images;
};
