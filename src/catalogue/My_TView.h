// The folder trees: one per tab, holding under one "My computer" root the drives and the folders that
// hold media files of the tab's type. A node's picture index (0..19) is kept with the node: 0..6
// drives by type, 7..13 the same selected, 14/15 folder on the way, 16/17 My computer, 18/19 media
// folder.
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
QString PathOfNode(const QTreeWidgetItem *node);
void tvALLChange(App &app, QTreeWidget *tree, QTreeWidgetItem *node);

// Connects the thirteen trees and the tree commands (toolbar, menus, popup) to their handlers.
void ConnectTreeHandlers(App &app);
