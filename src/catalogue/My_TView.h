// The folder trees: one per tab, holding under one "My computer" root the drives and the folders that
// hold media files of the tab's type. A node's picture index (0..19) is kept with the node: 0..6
// drives by type, 7..13 the same selected, 14/15 folder on the way, 16/17 My computer, 18/19 media
// folder.
//
// Rules:
// - Children are kept sorted at every level, case-insensitively (names equal but for case are
//   ordered exactly among themselves); each new node goes straight to its place by binary search,
//   so building a tree costs O(n log n) whatever the order the walk finds the folders in.
// - Folder and drive names compare exactly: the file systems are case-sensitive, so Photos and
//   PHOTOS are two folders, (C:) and (c:) two drive nodes.
// - A folder node that became a media folder (18/19) never goes back to 14/15; drive nodes keep
//   their drive pictures.
// - The program's own selection changes run tvALLChange themselves, with the tree's signals blocked;
//   the tree's current-item signal stands for the user's changes only.
#pragma once

#include <QString>

struct App;
class QTreeWidget;
class QTreeWidgetItem;

// Picture index of a node and its selected picture.
int NodeImage(const QTreeWidgetItem *node);
int NodeSelectedImage(const QTreeWidgetItem *node);
void SetNodeImages(QTreeWidgetItem *node, int image, int selectedImage);

void AddMyComputerRoots(App &app);
// Puts folder ("C:\Photos\2000\", or a drive root "C:\") into the tree of the type code.
void AddFolderToTree(App &app, int code, const QString &folder);
// The folder of a node with trailing backslash; empty for the root.
QString PathOfNode(const QTreeWidgetItem *node);
// The child of parent whose text is exactly name, or nullptr.
QTreeWidgetItem *FindChildNode(const QTreeWidgetItem *parent, const QString &name);

void ExpandTree(QTreeWidget *tree);
void CollapseTree(QTreeWidget *tree);
void ExpandAllTrees(App &app);
void CollapseAllTrees(App &app);
// Whether CurrentNode shows the media-folder picture.
bool IsMediaFolderNode(App &app);
// Whether CurrentNode is set and CurrentTree holds more than its root.
bool TreeHasContent(App &app);

void tvALLChange(App &app, QTreeWidget *tree, QTreeWidgetItem *node);
void tvALLEnter(App &app);
void tvALLExit(App &app);

// The tree commands (My_TViewCommands.cpp). Menu and popup items act at once; the toolbar buttons
// test their rule first and beep when it fails.
void mnuMain_View_CollapseTreeViewClick(App &app);
void mnuMain_View_ExpandTreeViewClick(App &app);
void mnuMain_View_TreeviewUpOneLevelClick(App &app);
void btnCollapseTreeViewClick(App &app);
void btnExpandTreeViewClick(App &app);
void btnUpOneLevelClick(App &app);

// Connects the thirteen trees and the tree commands (toolbar, menus, popup) to their handlers.
void ConnectTreeHandlers(App &app);
