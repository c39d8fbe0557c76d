// The catalogue's answers about one file it lists: showing it in the ALL list as clicks would (the
// command line's "show this file"), and forgetting the file on view once it is gone.
#include "catalogue/CataloguePane.h"

#include "app/MediaTypes.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/TypeTabs.h"

namespace {

// The node of a folder ("C:\Photos\") in a tree, or kNoNode.
NodeId nodeOfFolder(const CatalogueStore &store, MediaType tree, const QString &folder)
{
    const NodeId root = store.root(tree);
    if (root == kNoNode || folder.size() < 3)
        return kNoNode;
    NodeId node = kNoNode;
    const QString drive = folder.left(3);
    for (int row = 0; row < store.childCount(root) && node == kNoNode; ++row)
        if (store.pathOf(store.child(root, row)) == drive)
            node = store.child(root, row);
    const QStringList names = folder.mid(3).split(u'\\', Qt::SkipEmptyParts);
    for (const QString &name : names) {
        if (node == kNoNode)
            break;
        node = store.findChild(node, name);
    }
    return node;
}

} // namespace

bool CataloguePane::showListedFile(const QString &folder, const QString &name)
{
    const NodeId node = nodeOfFolder(cat.store, mtALL, folder);
    if (node == kNoNode || pcMain->indexOf(sheet(mtALL)) < 0)
        return false;
    pcMain->setCurrentWidget(sheet(mtALL));
    app.st.CurrentView.CurrentType = mtALL;
    app.st.Selection.List = mtALL;
    tree(mtALL)->setCurrentNodeQuietly(node);
    tvALLChange(*this, mtALL, node);
    TListView *all = list(mtALL);
    int row = -1;
    for (int r = 0; r < all->count() && row < 0; ++r)
        if (IsMediaItem(all, r) && all->item(r).caption == name)
            row = r;
    if (row < 0)
        return false;
    selectItem(row);
    const SelectionRecord &s = app.st.Selection;
    // A click shows the file only when the options say so; here it is shown in any case.
    if (s.List == mtALL && s.Item == row && !app.st.settings.Wiew_When_Click_ListView && app.viewer)
        app.viewer->play();
    return true;
}

void CataloguePane::forgetFileOnView()
{
    SelectionRecord &s = app.st.Selection;
    s.Item = -1;
    s.ItemKind = ListItemKind::None;
    s.FileName.clear();
    s.FileType = mtNone;
    if (app.viewer)
        app.viewer->showEmptyPage();
}

void CataloguePane::clearFocusFlags()
{
    app.st.CurrentView.TreeHasFocus = false;
    app.st.Selection.ListHasFocus = false;
}
