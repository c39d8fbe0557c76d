#include "catalogue/FolderTrees.h"

#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/DriveTable.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/LiveFolder.h"
#include "catalogue/MediaTabs.h"

void AddMyComputerRoots(Catalogue &cat)
{
    for (MediaType t : kAllTypes)
        if (cat.app.st.TabSheets[t].Enabled)
            cat.store.addRoot(t, SelectText("Poste de travail", "My computer"));
}

NodeId AddFolderToTree(Catalogue &cat, MediaType type, const QString &folder)
{
    const MediaType tree = TreeOfExtension(cat.app, cat.app.st.Extensions[type].Extension);
    if (folder.isEmpty())
        return kNoNode;
    return cat.store.addFolder(tree, folder, DriveTypeOfPath(cat.app, folder));
}

QString PathOfNode(const CatalogueStore &store, NodeId node)
{
    return store.isValid(node) ? store.pathOf(node) : QString();
}

NodeId FindChildNode(const CatalogueStore &store, NodeId parent, const QString &name)
{
    return store.findChild(parent, name);
}

void ExpandTree(TFolderTreeView *tree)
{
    if (tree)
        tree->expandEverything();
}

void CollapseTree(TFolderTreeView *tree)
{
    if (tree)
        tree->collapseToDrives();
}

void ExpandAllTrees(CataloguePane &pane)
{
    for (MediaType t : kAllTypes)
        if (pane.app.st.TabSheets[t].Enabled)
            ExpandTree(TreeViewOfType(pane, t));
}

void CollapseAllTrees(CataloguePane &pane)
{
    for (MediaType t : kAllTypes)
        if (pane.app.st.TabSheets[t].Enabled)
            CollapseTree(TreeViewOfType(pane, t));
}

bool IsMediaFolderNode(const Catalogue &cat)
{
    const NodeId node = cat.app.st.CurrentView.CurrentNode;
    return cat.store.isValid(node) && cat.store.kind(node) == NodeKind::MediaFolder;
}

bool TreeHasContent(const Catalogue &cat)
{
    const CurrentViewRecord &view = cat.app.st.CurrentView;
    if (view.CurrentNode == kNoNode || view.CurrentTree == mtNone)
        return false;
    const NodeId root = cat.store.root(view.CurrentTree);
    return root != kNoNode && cat.store.childCount(root) > 0;
}

void tvALLChange(CataloguePane &pane, MediaType tree, NodeId node)
{
    App &app = pane.app;
    AppState &st = app.st;
    st.RelayoutOnly = false;
    StopPlaybackIfActive(app);
    if (app.viewer)
        app.viewer->showEmptyPage();
    st.CurrentView.CurrentFolder = PathOfNode(pane.cat.store, node);
    const bool empty = st.CurrentView.CurrentFolder.isEmpty();
    SetStatusText(app, 0,
                  empty ? QString()
                        : SelectText("Fichiers: ", "Files: ") + PatternOfType(st.CurrentView.CurrentType));
    SetStatusText(app, 2,
                  empty ? QString()
                        : SelectText("Dossier sélectionné: ", "Selected folder: ") +
                              st.CurrentView.CurrentFolder);
    st.CurrentView.CurrentTree = tree;
    st.CurrentView.CurrentNode = node;
    FillList(pane, tree, node);
    ShowFileCount(app);
    // A selection made during the fill's pauses may have changed the folder since.
    emit pane.upOneLevelAvailable(!st.CurrentView.CurrentFolder.isEmpty());
    pane.liveFolder->follow();
}

void tvALLEnter(CataloguePane &pane)
{
    pane.app.st.CurrentView.TreeHasFocus = true;
    emit pane.upOneLevelAvailable(!pane.app.st.CurrentView.CurrentFolder.isEmpty());
}

void tvALLExit(CataloguePane &pane)
{
    pane.app.st.CurrentView.TreeHasFocus = false;
    emit pane.upOneLevelAvailable(false);
}
