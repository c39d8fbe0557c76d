// The file lists: columns, view styles, filling from the disk, the shared Selection record, the small
// operations on the current list used by the viewers, menus and file operations, and the lists' key,
// mouse, focus and double-click handlers.
// Pictures: 0..4 drives of type 2..6, 5 other drive or unknown file, 6 folder, 7..18 media files.
// Rules:
// - A list shows the drives (My computer selected) or one folder: its sub-folders from the tree,
//   then its media files of the tab's type in the order the directory search returns them.
// - Each item says what it stands for (drive, folder, file and the file's type); the picture only
//   shows it.
// - A fill lets pending input run every 11 directory entries. A fill started meanwhile (another
//   folder, another tab) or a reset of the catalogue wins: the interrupted fill stops at once
//   without touching the Selection again, and a list it had half filled is emptied (it is filled
//   again when its tab becomes current). A list therefore never holds parts of two folders.
// - Selection.Item is a row of the list of Selection.List, -1 for none; rows stay valid until the
//   next fill.
#pragma once

#include "app/Global.h"

#include <Qt>

class App;
class CataloguePane;
class TListView;
struct Catalogue;

void SetupColumns(TListView *list);
// Gives the list the Icon_Style (large icons for a style outside 0..3).
void ApplyViewStyle(App &app, TListView *list);
// The list's style; one outside 0..3 ends the program with internal error 19. Icon_Style without a list.
int ViewStyleOf(App &app, TListView *list);
// The list of Selection.List, or nullptr.
TListView *SelectionList(CataloguePane &pane);

void ResetSelection(AppState &st);
void FillList(CataloguePane &pane, MediaType tree, NodeId node);
void ListDriveNodes(CataloguePane &pane, NodeId node, TListView *list);
void FillFileList(CataloguePane &pane, NodeId node, TListView *list);

// What a row stands for (None outside the list).
ListItemKind ItemKindOf(const TListView *list, int row);
bool IsMediaItem(const TListView *list, int row);

int FirstSelectedItem(const TListView *list); // -1 when none
void DeselectAll(TListView *list);
bool IsMediaFolderChild(const Catalogue &cat);
void SelectAllFiles(CataloguePane &pane);
// After a fill: selects the file that was on view before it (as before holds it) again, quietly,
// and makes it the Selection's item once more. False when it is no longer listed, or when the user
// selected something else during the fill.
bool ReselectFileOnView(CataloguePane &pane, const SelectionRecord &before);
void OpenListFolder(CataloguePane &pane);

// Status bar panel 1: "0 fichier", "1 fichier", "N fichiers" from Selection.FileCount.
QString FileCountText(int count);
void ShowFileCount(App &app);

// The lists' change handler: the selection or the focus of a row changed. When the row is the
// list's focused item and selected, it becomes the item on view (Selection) and, when
// Wiew_When_Click_ListView is set, is shown; a right button or a held Shift or Ctrl key keep the
// file on view instead. ChangeGuard keeps the program's own changes from running it again.
void lvALLChange(CataloguePane &pane, TListView *sender, int row);

// Handlers shared by the twenty lists (the double click only on lvALL).
void lvALLKeyDown(CataloguePane &pane, TListView *sender, int key, Qt::KeyboardModifiers shift);
void lvALLKeyUp(App &app);
void lvALLMouseDown(App &app, Qt::MouseButton button);
void lvALLMouseUp(App &app);
void lvALLEnter(App &app);
void lvALLExit(App &app);
void lvALLDblClick(CataloguePane &pane);
