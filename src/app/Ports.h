// The small interfaces through which a subsystem asks another for something it does not own. The
// shell connects them (App's port pointers); until it does, or in a test that builds one subsystem
// alone, a port is null and the request is simply not made.
#pragma once

#include <QString>

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
};

// The main window's status bar: panels 0, 1 and 2.
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
