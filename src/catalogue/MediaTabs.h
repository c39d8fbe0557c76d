// The twenty tabs and the tables behind them: Extensions and TabSheets (21 rows each, ended by the
// first row with an empty name), the string of enabled extensions every found file is matched
// against, the lookups between a type, a tab, a tree and a list, and the catalogue reset. Tab order
// (ALL, then the types alphabetically) is not code order, so every translation between a type and a
// tab goes through these lookups.
#pragma once

#include "app/Global.h"

#include <QString>

class App;
class CataloguePane;
class QWidget;
class TFolderTreeView;
class TListView;
struct Catalogue;

// Lookups that end the program through InternalError when given something outside their domain.
MediaType TypeOfTabSheet(CataloguePane &pane, QWidget *sheet);        // 21
TListView *ListViewOfType(CataloguePane &pane, MediaType type);       // 22
TFolderTreeView *TreeViewOfType(CataloguePane &pane, MediaType type); // 23
MediaType TreeOfExtension(App &app, const QString &extension);        // 20
int PageIndexOfType(App &app, MediaType type);                        // 5
int EnabledPageIndex(App &app, MediaType type);

void InitExtensions(App &app);
void InitTabSheets(App &app);
void BuildEnabledExtensions(App &app);
void ShowFirstEnabledTab(CataloguePane &pane);
// Empties the trees (each enabled one keeps its root "Poste de travail") and the lists, shows the
// empty viewer page, hides the tabs of disabled types (it never shows one) and shows the first tab.
void ResetCatalogue(CataloguePane &pane);
// What the reset does without windows: the records, the tab table's flags, the store and its roots.
void ResetCatalogueStore(Catalogue &cat);
void SetTypeTabsVisible(CataloguePane &pane, bool visible);
void ShowNonEmptyTypeTabs(CataloguePane &pane, bool show);
bool TabShown(CataloguePane &pane, MediaType type);
void pcMainChange(CataloguePane &pane);
