// The file on view handed to another program: on the clipboard (Ctrl+C on the viewer, "Copier
// l'image" in the viewer popup) as the picture itself, when it is one, and as the file's URI, which
// a file manager pastes as a copy of the file.
#pragma once

class QMimeData;
class ViewerPane;

// What the viewer gives of the file on view; null with no file on view.
QMimeData *FileOnViewMimeData(ViewerPane &pane);
// Puts it on the clipboard; false (and the clipboard left as it was) with no file on view.
bool CopyFileOnView(ViewerPane &pane);
