// The tree commands: collapse, expand, up one level.
#include "catalogue/CataloguePane.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/MediaTabs.h"
#include "platform/Ui.h"

namespace {

// The program selects a node itself: the tree's own signal stays quiet and the handler runs once.
void selectNode(CataloguePane &pane, MediaType tree, NodeId node)
{
    TreeViewOfType(pane, tree)->setCurrentNodeQuietly(node);
    pane.app.st.CurrentView.CurrentNode = node;
    tvALLChange(pane, tree, node);
}

void beep(CataloguePane &pane)
{
    pane.app.ui().beep(platform::BeepKind::Plain);
}

} // namespace

void mnuMain_View_CollapseTreeViewClick(CataloguePane &pane)
{
    const MediaType tree = pane.app.st.CurrentView.CurrentTree;
    if (tree == mtNone || pane.cat.store.root(tree) == kNoNode)
        return;
    CollapseTree(TreeViewOfType(pane, tree));
    selectNode(pane, tree, pane.cat.store.root(tree));
}

void mnuMain_View_ExpandTreeViewClick(CataloguePane &pane)
{
    const MediaType tree = pane.app.st.CurrentView.CurrentTree;
    if (tree == mtNone)
        return;
    ExpandTree(TreeViewOfType(pane, tree));
    tvALLChange(pane, tree, pane.app.st.CurrentView.CurrentNode);
}

void mnuMain_View_TreeviewUpOneLevelClick(CataloguePane &pane)
{
    const MediaType tree = pane.app.st.CurrentView.CurrentTree;
    const NodeId node = pane.app.st.CurrentView.CurrentNode;
    const CatalogueStore &store = pane.cat.store;
    if (tree == mtNone || !store.isValid(node) || store.parent(node) == kNoNode)
        return;
    selectNode(pane, tree, store.parent(node));
}

void btnCollapseTreeViewClick(CataloguePane &pane)
{
    if (TreeHasContent(pane.cat))
        mnuMain_View_CollapseTreeViewClick(pane);
    else
        beep(pane);
}

void btnExpandTreeViewClick(CataloguePane &pane)
{
    if (TreeHasContent(pane.cat))
        mnuMain_View_ExpandTreeViewClick(pane);
    else
        beep(pane);
}

void btnUpOneLevelClick(CataloguePane &pane)
{
    if (!pane.app.st.CurrentView.CurrentFolder.isEmpty())
        mnuMain_View_TreeviewUpOneLevelClick(pane);
    else
        beep(pane);
}
