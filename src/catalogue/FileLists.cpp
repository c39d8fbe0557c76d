#include "catalogue/FileLists.h"

#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"

#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/MediaTabs.h"
#include <memory>

void SetupColumns(TListView *list)
{
    list->setColumns({SelectText("Nom", "Name"), SelectText("Taille", "Size"), SelectText("Type", "Type"),
                      SelectText("Modifié", "Modified")},
                     {130, 60, 130, -1}, {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft});
}

void ApplyViewStyle(App &app, TListView *list)
{
    if (!list)
        return;
    const int style = app.st.settings.Icon_Style;
    list->setThumbnailsShown(app.st.settings.Show_Thumbnails);
    list->setViewStyle(style >= 0 && style <= 3 ? style : 0);
}

int ViewStyleOf(App &app, TListView *list)
{
    if (!list)
        return app.st.settings.Icon_Style;
    const int style = list->viewStyle();
    if (style < 0 || style > 3)
        InternalError(app, 19, SelectText("Valeur ViewStyle invalide", "Invalid ViewStyle value."));
    return style;
}

TListView *SelectionList(CataloguePane &pane)
{
    const MediaType t = pane.app.st.Selection.List;
    return t == mtNone ? nullptr : pane.list(t);
}

void ResetSelection(AppState &st)
{
    SelectionRecord &s = st.Selection;
    s.Item = -1;
    s.ItemKind = ListItemKind::None;
    s.FileType = mtNone;
    s.FileName.clear();
    s.FileFolder.clear();
    s.ModifierKeyDown = false;
    s.RightButtonDown = false;
    s.ChangeGuard = false;
    s.FileCount = 0;
}

ListItemKind ItemKindOf(const TListView *list, int row)
{
    if (!list || row < 0 || row >= list->count())
        return ListItemKind::None;
    return list->item(row).kind;
}

bool IsMediaItem(const TListView *list, int row)
{
    return ItemKindOf(list, row) == ListItemKind::File && isMediaType(list->item(row).mediaType);
}

int FirstSelectedItem(const TListView *list)
{
    return list ? list->firstSelected() : -1;
}

void DeselectAll(TListView *list)
{
    if (list)
        list->deselectAll();
}

bool IsMediaFolderChild(const Catalogue &cat)
{
    const NodeId node = cat.app.st.CurrentView.CurrentNode;
    const CatalogueStore &store = cat.store;
    if (!store.isValid(node))
        return false;
    const QString &name = cat.app.st.Selection.FileName;
    for (int i = 0; i < store.childCount(node); ++i) {
        const NodeId child = store.child(node, i);
        if (store.kind(child) == NodeKind::MediaFolder &&
            store.name(child).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void SelectAllFiles(CataloguePane &pane)
{
    TListView *list = SelectionList(pane);
    if (!list)
        return;
    list->selectRowsWhere([list](int row) { return IsMediaItem(list, row); });
}

bool ReselectFileOnView(CataloguePane &pane, const SelectionRecord &before)
{
    SelectionRecord &s = pane.app.st.Selection;
    if (before.ItemKind != ListItemKind::File || before.List == mtNone || s.Item != -1 ||
        s.List != before.List)
        return false;
    TListView *list = pane.list(before.List);
    int row = 0;
    const auto folderOf = [&pane, list](int r) {
        return list->item(r).folder.isEmpty() ? pane.app.st.CurrentView.CurrentFolder : list->item(r).folder;
    };
    while (row < list->count() && !(IsMediaItem(list, row) && list->item(row).caption == before.FileName &&
                                    (before.FileFolder.isEmpty() || folderOf(row) == before.FileFolder)))
        ++row;
    if (row == list->count())
        return false;
    // The file is on view already: the change handler must not show it again.
    const bool guarded = s.ChangeGuard;
    s.ChangeGuard = true;
    list->setSelected(row, true);
    list->setCurrentItem(row);
    s.ChangeGuard = guarded;
    s.Item = row;
    s.ItemKind = ListItemKind::File;
    s.FileName = before.FileName;
    s.FileFolder = folderOf(row);
    s.FileType = before.FileType;
    return true;
}

void OpenListFolder(CataloguePane &pane)
{
    AppState &st = pane.app.st;
    TListView *list = SelectionList(pane);
    const int row = st.Selection.Item;
    if (!list || row < 0 || row >= list->count() || IsMediaItem(list, row))
        return;
    const MediaType tree = st.CurrentView.CurrentTree;
    const NodeId node = st.CurrentView.CurrentNode;
    if (tree == mtNone || !pane.cat.store.isValid(node))
        return;
    const NodeId child = FindChildNode(pane.cat.store, node, list->item(row).caption);
    if (child == kNoNode)
        return;
    // The change handler runs once, below, not again from the tree's own signal.
    TreeViewOfType(pane, tree)->setCurrentNodeQuietly(child);
    tvALLChange(pane, tree, child);
}

QString FileCountText(int count)
{
    if (count == 0)
        return SelectText("0 fichier", "no file");
    if (count == 1)
        return SelectText("1 fichier", "1 file");
    return QString::number(count) + SelectText(" fichiers", " files");
}

void ShowFileCount(App &app)
{
    SetStatusText(app, 1, FileCountText(app.st.Selection.FileCount));
}

void lvALLChange(CataloguePane &pane, TListView *sender, int row)
{
    App &app = pane.app;
    SelectionRecord &s = app.st.Selection;
    app.st.RelayoutOnly = false;
    if (!sender || row < 0 || row >= sender->count() || s.ChangeGuard)
        return;
    if (sender->currentItem() != row || !sender->isSelected(row))
        return;
    s.ChangeGuard = true;
    // Cleared on every way out.
    const std::unique_ptr<bool, void (*)(bool *)> guard(&s.ChangeGuard, [](bool *flag) { *flag = false; });
    if (!s.ModifierKeyDown)
        StopPlaybackIfActive(app);
    if (s.RightButtonDown)
        return; // the row is the focused item already; nothing new is shown
    MediaType listType = mtNone;
    for (MediaType t : kAllTypes)
        if (pane.list(t) == sender)
            listType = t;
    if (s.ModifierKeyDown) {
        // A selection being extended keeps the file on view, and the focus on it.
        if (s.List == listType && s.Item >= 0 && s.Item < sender->count())
            sender->setCurrentItem(s.Item);
        return;
    }
    s.Item = row;
    s.ItemKind = sender->item(row).kind;
    if (s.ItemKind != ListItemKind::File && app.viewer)
        app.viewer->showEmptyPage();
    s.List = listType;
    s.FileName = sender->item(row).caption;
    const QString &own = sender->item(row).folder;
    s.FileFolder = own.isEmpty() ? app.st.CurrentView.CurrentFolder : own;
    s.FileType = TypeOfFile(s.FileName);
    if (!app.viewer)
        return;
    app.viewer->selectionChanged();
    if (app.st.settings.Wiew_When_Click_ListView)
        app.viewer->play();
}

void lvALLKeyDown(CataloguePane &pane, TListView *sender, int key, Qt::KeyboardModifiers shift)
{
    App &app = pane.app;
    SelectionRecord &s = app.st.Selection;
    // The keypad flag says where a key is, not that a modifier is held. A modifier key going down is
    // held, whether or not the platform already counts it in the state it reports.
    Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key == Qt::Key_Shift)
        held |= Qt::ShiftModifier;
    else if (key == Qt::Key_Control)
        held |= Qt::ControlModifier;
    s.ModifierKeyDown = held == Qt::ShiftModifier || held == Qt::ControlModifier;
    if (held != Qt::NoModifier || key != Qt::Key_Delete || s.ItemKind != ListItemKind::File || !sender)
        return;
    const int selected = sender->selectedCount();
    // Folders and drives are never deleted from here: with no file among the selection, nothing.
    bool anyFile = false;
    for (int row = 0; row < sender->count() && !anyFile; ++row)
        anyFile = sender->isSelected(row) && IsMediaItem(sender, row);
    if (!app.fileCommands || !anyFile)
        return;
    if (selected == 1)
        app.fileCommands->deleteOneFile();
    else if (selected > 1)
        app.fileCommands->deleteSelectedFiles();
}

void lvALLKeyUp(App &app)
{
    app.st.Selection.ModifierKeyDown = false;
}

void lvALLMouseDown(App &app, Qt::MouseButton button)
{
    app.st.Selection.RightButtonDown = button == Qt::RightButton;
}

void lvALLMouseUp(App &app)
{
    app.st.Selection.RightButtonDown = false;
}

void lvALLEnter(App &app)
{
    app.st.Selection.ListHasFocus = true;
}

void lvALLExit(App &app)
{
    SelectionRecord &s = app.st.Selection;
    s.RightButtonDown = false;
    s.ModifierKeyDown = false;
    s.ListHasFocus = false;
}

void lvALLDblClick(CataloguePane &pane)
{
    OpenListFolder(pane);
}

void CataloguePane::listStylesChanged()
{
    for (MediaType t : kAllTypes)
        ApplyViewStyle(app, list(t));
}
