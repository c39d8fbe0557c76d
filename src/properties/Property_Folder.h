// The folder properties window TfrmProperty_Folder: the folder's name as the disk spells it, where
// it lies, its short name, date and attributes, and whether the scan found media files in it.
#pragma once

#include "properties/PropertyWindow.h"

class QLabel;

class TfrmProperty_Folder : public TPropertyWindow
{
    Q_OBJECT
public:
    explicit TfrmProperty_Folder(App &app);

    QLabel *lblFolderName = nullptr;
    QLabel *lblType = nullptr;
    QLabel *lblLocation = nullptr;
    QLabel *lblMsDosName = nullptr;
    QLabel *lblCreated = nullptr;
    propkit::Attributes attributes;
    QLabel *lblFilesFound = nullptr;
};

// path may end with a backslash (a tree's folder) or not (a list's item); imageIndex 18 or 19 marks
// a folder holding media files.
void ShowFolderProperties(App &app, const QString &path, int imageIndex);
// The folder holding the folder: "C:\" for a folder of a drive root, else the parent's path without
// its trailing backslash ("C:\Photos").
QString FolderLocationText(const QString &path);
// The folder's short name (empty: this system keeps none) and its attribute bits, left as they were
// when the search finds no folder. A search that fails other than by finding nothing shows the
// folder access error.
QString FolderShortName(App &app, const QString &path, uint32_t &attributes);
