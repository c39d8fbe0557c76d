// The Properties command: from the tree node or list item in focus, which of the four property
// windows opens and with what; and the drives list of the My-computer window.
//
// Rules: a tree node opens My computer's window, a drive's (drive types 2 to 6; others nothing),
// or a folder's marked by whether it holds media files; a list item opens its drive's, its folder's
// or its file's window, the file's type taken from its name. With nothing selected nothing opens.
#pragma once

#include <QString>

class App;
class QTreeWidget;

void ShowTreeProperties(App &app);
void ShowListProperties(App &app);
// File > Properties: the tree's or the list's command, whichever has the focus.
void ShowPropertiesForFocus(App &app);

// The drives from First_Drive_Number (1 at least) to Z: that are present, with their type's text.
void FillDriveList(App &app, QTreeWidget *list);
