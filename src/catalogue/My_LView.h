// The file lists: columns, view styles, filling from the disk, the shared Selection record, and the
// small operations on the current list used by the viewers, menus and file operations.
// Pictures: 0..4 drives of type 2..6, 5 other drive or unknown file, 6 folder, 7..18 media files.
#pragma once

#include "shell/Global.h"

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

// Connects the thirteen lists (selection, keys, mouse, focus, double click, popup) to their handlers.
void ConnectListHandlers(App &app);
