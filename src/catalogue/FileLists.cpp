#include "catalogue/FileLists.h"

#include "app/Language.h"
#include "app/Libry.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/MediaTabs.h"

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
    if (!app.fileCommands)
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
