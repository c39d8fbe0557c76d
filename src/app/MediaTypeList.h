// The media-type summary list every property window shows on its "Fichiers" tab, and the options
// window with check boxes: one row per media type, its extension and description, with the file
// list's picture of the type.
#pragma once

class App;
class QTreeWidget;

// Clears the list and fills it with the media types, sorted by extension; two columns (70 and 160
// pixels), no header, read-only.
void FillMediaTypeList(App &app, QTreeWidget *list);
