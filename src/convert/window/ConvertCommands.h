// The convert commands of the menus: the selected files, the file on view, or a folder of the tree
// with its subfolders (the files of the tab's type, or of every type on ALL) go through the
// convert window, then the progress window, which ends with the run's report.
//
// Rules:
// - Nothing to convert (no file item, no folder, a folder without such files): the plain beep,
//   or for a folder the message that it holds nothing to convert; the windows do not open.
// - The window's choices are saved (LUMA.INI, keys Convert_*) before the run starts; a settings
//   file that cannot be written stops the command after its error box, as every saver does.
// - The run goes on a pool of threads (at most one a core); the interface stays live. Cancel
//   removes any output being written, skips the rest and keeps the outputs already complete.
// - A destination that cannot take the outputs (no access, full disk) stops the run; the report
//   says so and names the folder. No partial file is ever left.
// - The report counts the files converted, skipped (cancelled or stopped before their turn) and
//   failed, each failure with its reason. Outputs that land in the listed folder fill the list again.
#pragma once

#include "app/MediaType.h"

#include <QStringList>

class App;

enum class ConvertOutcome {
    NothingToDo, // nothing to convert: no window opened
    Cancelled,   // the convert window was closed without OK (or the settings could not be saved)
    Done,        // the run ended: everything converted
    Partly       // the run ended with failures, skipped files or a stop
};

// mnuMain_File_Convert, popmnuLV_Convert: the list's selected file items.
ConvertOutcome ConvertSelectedFiles(App &app);
// popmnuVF_Convert: the file on view.
ConvertOutcome ConvertFileOnView(App &app);
// popmnuTV_Convert: the folder of the tree's selected node, with its subfolders.
ConvertOutcome ConvertCurrentFolder(App &app);
// The run itself, for native file paths (what the three commands share).
ConvertOutcome ConvertFiles(App &app, const QStringList &files);

// Whether each command has something to act on now, for the menus' states.
bool CanConvertSelectedFiles(App &app);
bool CanConvertFileOnView(App &app);
bool CanConvertCurrentFolder(App &app);

// The media files of a native folder and its subfolders (symbolic links to folders not
// followed): the type's own, or those of every media type for ALL; in name order.
QStringList MediaFilesUnder(const QString &folder, MediaType type);
