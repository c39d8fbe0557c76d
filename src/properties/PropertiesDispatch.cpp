#include "properties/PropertiesDispatch.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/DriveText.h"
#include "app/MediaTypes.h"
#include "properties/Property_Disk.h"
#include "properties/Property_File.h"
#include "properties/Property_Folder.h"
#include "properties/Property_Ptrav.h"

#include "platform/Ui.h"

#include <QTreeWidget>
#include <algorithm>

namespace {

CataloguePort::Node focusNode(const App &app)
{
    return app.cataloguePane ? app.cataloguePane->currentNode() : CataloguePort::Node{};
}

constexpr int kFolderMark = 14;
constexpr int kMediaFolderMark = 18;

} // namespace

void ShowTreeProperties(App &app)
{
    const CataloguePort::Node node = focusNode(app);
    const QString &folder = app.st.CurrentView.CurrentFolder;
    switch (node.kind) {
    case CataloguePort::NodeKind::None:
        return;
    case CataloguePort::NodeKind::MyComputer:
        ShowComputerProperties(app);
        return;
    case CataloguePort::NodeKind::Drive:
        // Drives of unknown type or without a root have no window.
        if (node.driveType >= 2 && node.driveType <= 6)
            ShowDiskProperties(app, node.text);
        return;
    case CataloguePort::NodeKind::Folder:
        ShowFolderProperties(app, folder, kFolderMark);
        return;
    case CataloguePort::NodeKind::MediaFolder:
        ShowFolderProperties(app, folder, kMediaFolderMark);
        return;
    }
}

void ShowListProperties(App &app)
{
    const SelectionRecord &s = app.st.Selection;
    if (s.Item < 0)
        return;
    const QString &folder = app.st.CurrentView.CurrentFolder;
    switch (s.ItemKind) {
    case ListItemKind::Drive:
        ShowDiskProperties(app, s.FileName);
        break;
    case ListItemKind::Folder: {
        const bool media = app.cataloguePane && app.cataloguePane->isMediaFolderChild();
        ShowFolderProperties(app, folder + s.FileName, media ? kMediaFolderMark : kFolderMark);
        break;
    }
    case ListItemKind::File:
        // The type of the name itself: the Selection's type may be stale (an empty page on view).
        ShowFileProperties(app, SelectionFolder(app.st) + s.FileName, TypeOfFile(s.FileName));
        break;
    case ListItemKind::None:
        break;
    }
}

void ShowPropertiesForFocus(App &app)
{
    if (app.st.CurrentView.TreeHasFocus)
        ShowTreeProperties(app);
    else if (app.st.Selection.ListHasFocus)
        ShowListProperties(app);
    else
        app.ui().beep(platform::BeepKind::Plain); // neither has the focus: nothing to describe
}

void FillDriveList(App &app, QTreeWidget *list)
{
    list->clear();
    list->setColumnCount(2);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSortingEnabled(false);
    list->setColumnWidth(1, 150);
    const int first = std::max(1, app.st.settings.First_Drive_Number);
    const auto &pictures = app.images().treeView;
    for (int n = first; n <= 26; ++n) {
        const DiskRecord &d = app.st.Disks[size_t(n)];
        if (!d.Present)
            continue;
        auto *item = new QTreeWidgetItem(
            list, {QStringLiteral("    ") + d.Letter + ':', DriveTypeText(DriveTypeOfImage(d.DriveType))});
        if (d.DriveType >= 0 && size_t(d.DriveType) < pictures.size())
            item->setIcon(0, pictures[size_t(d.DriveType)]);
    }
}
