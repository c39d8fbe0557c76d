// The media types and the thirteen tabs: the tables Extensions and TabSheets (21 rows each, ended by
// the first row with an empty name), the per-type scan flags, the string of enabled extensions every
// found file is matched against, the lookups between a type code, a file name, a tab, a tree and a
// list, and the catalogue reset. Page order (ALL, then the types alphabetically) is not code order,
// so every translation between a code and a tab goes through these lookups.
#pragma once

#include "shell/Global.h"

#include <QString>

struct App;
class QTreeWidget;
class QWidget;
class TListView;

// Pure lookups; an unknown name or code gives -1, picture 5, the "unknown" description, "*.???", false.
MediaType TypeOfFile(const QString &fileName);
int ListImageOfFile(const QString &fileName);
QString DescriptionOfFile(const QString &fileName);
QString PatternOfType(int code);
bool FileMatchesType(const AppState &st, const QString &fileName, int code);
bool ScanFileFlag(const AppState &st, int code);
// The upper-cased extension of a name with its dot (".BMP"), empty when the name has none.
QString UpperExtension(const QString &fileName);
// The three letters of a type ("ALL" for 0).
QString TypeCode(int code);

// Lookups that end the program through InternalError when given something outside their domain.
MediaType TypeOfTabSheet(App &app, QWidget *sheet);                   // 21
TListView *ListViewOfType(App &app, int code);                        // 22
QTreeWidget *TreeViewOfType(App &app, int code);                      // 23
QTreeWidget *TreeViewOfExtension(App &app, const QString &extension); // 20
int PageIndexOfType(App &app, int code);                              // 5
int EnabledPageIndex(App &app, int code);

void InitExtensions(App &app);
void InitTabSheets(App &app);
void BuildEnabledExtensions(App &app);
void ShowFirstEnabledTab(App &app);
void ResetCatalogue(App &app);
void SetTypeTabsVisible(App &app, bool visible);
void ShowNonEmptyTypeTabs(App &app, bool show);
void pcMainChange(App &app);
