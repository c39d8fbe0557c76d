// The file commands of the menus and of the lists' Delete key: copy one file under a name chosen in
// the save dialog (or save the file on view so), copy the selected files into a chosen folder,
// delete one or several files to the Trash, and open a file with the desktop's default application.
//
// Rules:
// - The files acted on are the list's selected file items (app.fileSelection), never folders or
//   drives. A one-file command takes the only selected file item; with several selected, the one
//   on view when it is among them. "Save as" and the viewer's Execute take the file on view. With no
//   such file a command gives the plain beep and does nothing.
// - A copy asks before it replaces a file and never touches its source (ShellCopy.h). A failed or
//   incomplete copy ends with the warning of Msg_If_Copy_Cancel; a copy that lands in the listed
//   folder fills the list again.
// - A delete asks first, then moves the files to the Trash; a file that no Trash can take is
//   deleted for good only when the user agrees to it. A file that cannot be deleted is reported and
//   kept. Deleting the file on view stops it and shows the empty page; the list is filled again.
// - Execute opens the file with its default application, never running the file itself; a refusal
//   is reported with the shell's result code (ShellErrorText).
#pragma once

#include "app/Ports.h"

class App;

enum class FileOpOutcome {
    Done,        // everything asked for was done
    NothingToDo, // no file to act on
    Cancelled,   // the user said no before anything was done (dialog closed, delete declined)
    Aborted,     // not everything was done by the user's choice (replace declined, copy cancelled)
    Failed       // some file failed (reported)
};

// popmnuLV_Copy1File, mnuMain_File_Copy1FileSelected (saveAs false); popmnuVF_SaveFile (true).
FileOpOutcome CopyOneFile(App &app, bool saveAs);
// popmnuLV_CopySelectedFiles, mnuMain_File_CopySelectedFiles.
FileOpOutcome CopySelectedFiles(App &app);
// popmnuLV_Delete1File, mnuMain_File_Delete1FileSelected, the Delete key on one file.
FileOpOutcome DeleteOneFile(App &app);
// popmnuLV_DeleteSelectedFiles, mnuMain_File_DeleteSelectedFiles, the Delete key on several files.
FileOpOutcome DeleteSelectedFiles(App &app);
// mnuMain_File_Execute, popmnuLV_ExecuteFile.
FileOpOutcome ExecuteSelectedFile(App &app);
// popmnuVF_Execute: the file the viewer shows.
FileOpOutcome ExecuteFileOnView(App &app);

// Whether a one-file command (or Execute) has a file to act on now, for the menus' states.
bool HasOneFileToActOn(App &app);

// The commands the lists' Delete key runs (the main window makes it app.fileCommands).
class FileCommands : public FileCommandPort
{
public:
    explicit FileCommands(App &app);
    FileCommands(const FileCommands &) = delete;
    FileCommands &operator=(const FileCommands &) = delete;

    void deleteOneFile() override { DeleteOneFile(m_app); }
    void deleteSelectedFiles() override { DeleteSelectedFiles(m_app); }

private:
    App &m_app;
};
