// The folder trees: one per tab, holding under one "My computer" root the drives and the folders
// that hold media files of the tab's type (the store's rules: store/CatalogueStore.h). This unit
// builds them from the scan, answers the questions the other units ask about them, and runs the
// trees' change handler and their commands (FolderTreeCommands.cpp).
//
// Rules:
// - The program's own selection changes run tvALLChange themselves, without the tree's change
//   signal; that signal stands for the user's changes only.
// - Menu and popup items act at once; the toolbar buttons test their rule first and beep when it
//   fails.
#pragma once

#include "app/Global.h"

#include <QString>

class CataloguePane;
class CatalogueStore;
class TFolderTreeView;
struct Catalogue;

// Gives every enabled tree its root "Poste de travail".
void AddMyComputerRoots(Catalogue &cat);
// Puts folder ("C:\Photos\2000\", or a drive root "C:\") into the tree of a type; its node.
NodeId AddFolderToTree(Catalogue &cat, MediaType type, const QString &folder);
// The folder of a node with trailing backslash; empty for the root.
QString PathOfNode(const CatalogueStore &store, NodeId node);
// The child of parent whose name is exactly name, or kNoNode.
NodeId FindChildNode(const CatalogueStore &store, NodeId parent, const QString &name);

void ExpandTree(TFolderTreeView *tree);
void CollapseTree(TFolderTreeView *tree);
void ExpandAllTrees(CataloguePane &pane);
void CollapseAllTrees(CataloguePane &pane);
// Whether CurrentNode is a media folder.
bool IsMediaFolderNode(const Catalogue &cat);
// Whether CurrentNode is set and its tree holds more than its root.
bool TreeHasContent(const Catalogue &cat);

void tvALLChange(CataloguePane &pane, MediaType tree, NodeId node);
void tvALLEnter(CataloguePane &pane);
void tvALLExit(CataloguePane &pane);

// The tree commands.
void mnuMain_View_CollapseTreeViewClick(CataloguePane &pane);
void mnuMain_View_ExpandTreeViewClick(CataloguePane &pane);
void mnuMain_View_TreeviewUpOneLevelClick(CataloguePane &pane);
void btnCollapseTreeViewClick(CataloguePane &pane);
void btnExpandTreeViewClick(CataloguePane &pane);
void btnUpOneLevelClick(CataloguePane &pane);
