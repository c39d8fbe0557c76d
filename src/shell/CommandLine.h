// A folder or file named on the command line, or handed over by a later start of the program.
//
// Rules:
// - The path is native and absolute; it must lie on a drive letter and exist, else an error box
//   names it and nothing changes.
// - A folder: the scan mode becomes "folder", the folder box takes the folder (saved as the starting
//   folder, as the browse button does) and the folder is scanned.
// - A file: its folder is scanned the same way; then the ALL tab shows that folder and the file is
//   selected in its list and shown, whether or not a click in a list shows a file. A file of no
//   media type is refused before the scan; a cancelled scan selects nothing and says nothing.
#pragma once

#include <QString>

class TfrmMain;

void OpenFromCommandLine(TfrmMain &form, const QString &nativePath);

// The same, as soon as the main window can take it: once it has been activated, the welcome window
// has gone and no modal window or scan runs. A request still waiting is replaced by a later one.
void OpenWhenReady(TfrmMain &form, const QString &nativePath);
