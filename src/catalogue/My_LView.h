// The file lists: columns, view styles, filling from the disk, the shared Selection record, the small
// operations on the current list used by the viewers, menus and file operations, and the lists' key,
// mouse, focus and double-click handlers.
// Pictures: 0..4 drives of type 2..6, 5 other drive or unknown file, 6 folder, 7..18 media files.
// Rules:
// - A list shows the drives (My computer selected) or one folder: its sub-folders from the tree,
//   then its media files of the tab's type in the order the directory search returns them.
// - A fill lets pending input run every 11 directory entries. A fill started meanwhile (another
//   folder, another tab) or a reset of the catalogue wins: the interrupted fill stops at once
//   without touching the Selection again, and a list it had half filled is emptied (it is filled
//   again when its tab becomes current). A list therefore never holds parts of two folders.
// - Selection.Item is a row of Selection.ListView, -1 for none; rows stay valid until the next fill.
#pragma once

#include "shell/Global.h"

#include <Qt>

struct App;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TListView;

void SetupColumns(TListView *list);
void ApplyViewStyle(App &app, TListView *list);
int ViewStyleOf(App &app, TListView *list);
void SetViewStyle(App &app, int style);
QToolButton *ViewStyleButton(App &app, int style);
void CheckViewStyleItem(App &app, int style);

void ResetSelection(AppState &st);
void FillList(App &app, QTreeWidget *tree, QTreeWidgetItem *node);
void ListDriveNodes(App &app, QTreeWidgetItem *node, TListView *list);
void FillFileList(App &app, QTreeWidgetItem *node, TListView *list);

// 0 drive, 1 folder, 2 file, from an item's picture.
int ItemKindOf(int imageIndex);
bool IsMediaItem(int imageIndex);
// The same for a row of a list (a row outside the list is neither).
int ItemKindOf(const TListView *list, int row);
bool IsMediaItem(const TListView *list, int row);

int FirstSelectedItem(const TListView *list); // -1 when none
void DeselectAll(TListView *list);
bool IsMediaFolderChild(App &app);
void SelectAllFiles(App &app);
void OpenListFolder(App &app);

// Status bar panel 1: "0 fichier", "1 fichier", "N fichiers" from Selection.FileCount.
QString FileCountText(int count);
void ShowFileCount(App &app);

// Handlers shared by the thirteen lists (the double click only on lvALL).
void lvALLKeyDown(App &app, TListView *sender, int key, Qt::KeyboardModifiers shift);
void lvALLKeyUp(App &app);
void lvALLMouseDown(App &app, Qt::MouseButton button);
void lvALLMouseUp(App &app);
void lvALLEnter(App &app);
void lvALLExit(App &app);
void lvALLDblClick(App &app);

// Connects the thirteen lists (keys, mouse, focus, double click, popup) to their handlers.
void ConnectListHandlers(App &app);
