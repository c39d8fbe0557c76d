#include "catalogue/MediaTabs.h"

#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/TypeTabs.h"

#include <QSignalBlocker>

MediaType TypeOfTabSheet(CataloguePane &pane, QWidget *sheet)
{
    for (MediaType t : kAllTypes)
        if (sheet && pane.sheet(t) == sheet)
            return t;
    InternalError(pane.app, 21, SelectText("Type de fichier invalide", "Invalid file type"));
}

TListView *ListViewOfType(CataloguePane &pane, MediaType type)
{
    if (type == mtNone)
        InternalError(pane.app, 22, SelectText("numéro de fichier invalide", "Invalid file number."));
    return pane.list(type);
}

TFolderTreeView *TreeViewOfType(CataloguePane &pane, MediaType type)
{
    if (type == mtNone)
        InternalError(pane.app, 23, SelectText("Type de fichier invalide", "Invalid file type."));
    return pane.tree(type);
}

MediaType TreeOfExtension(App &app, const QString &extension)
{
    for (MediaType t : kAllTypes)
        if (app.st.Extensions[t].Extension == extension)
            return t;
    InternalError(app, 20, SelectText("Extension invalide", "Invalid extend."));
}

int PageIndexOfType(App &app, MediaType type)
{
    if (type == mtNone)
        InternalError(app, 5, SelectText("Type de fichier incorrect", "Bad file type."));
    if (!app.st.TabSheets[type].Enabled)
        return -1;
    // Tabs are hidden, never removed: a tab's index is its place in the tab order.
    return mediaTypeInfo(type).tabOrder;
}

int EnabledPageIndex(App &app, MediaType type)
{
    const TabSheetRecord &row = app.st.TabSheets[type];
    return row.Enabled ? row.PageIndex : -1;
}

void InitExtensions(App &app)
{
    auto &ext = app.st.Extensions;
    for (auto &row : ext)
        row = ExtensionsRecord{};
    for (MediaType t : kAllTypes)
        ext[t].Extension = QLatin1String(mediaTypeInfo(t).extension);
}

void InitTabSheets(App &app)
{
    auto &tabs = app.st.TabSheets;
    for (auto &row : tabs)
        row = TabSheetRecord{};
    tabs[mtALL] = {QStringLiteral("$$$"), 0, true};
    for (MediaType t : kMediaTypes) {
        tabs[t].Name = QLatin1String(mediaTypeInfo(t).tabName);
        tabs[t].Enabled = ScanFileFlag(app.st, t);
        tabs[t].PageIndex = PageIndexOfType(app, t);
    }
}

void BuildEnabledExtensions(App &app)
{
    AppState &st = app.st;
    CatalogueStateRecord &cs = st.CatalogueState;
    MediaType first = mtNone;
    int count = 0;
    int firstPage = -1;
    QString enabled;
    for (int row = 0; row < kTableRows && !st.TabSheets[row].Name.isEmpty(); ++row) {
        const TabSheetRecord &r = st.TabSheets[row];
        if (!r.Enabled)
            continue;
        ++count;
        if (first == mtNone) {
            first = mediaTypeOf(row);
            firstPage = r.PageIndex;
        }
        const MediaType type = mediaTypeOf(row);
        if (isMediaType(type))
            for (const char *x : mediaTypeInfo(type).extensions)
                if (x)
                    enabled += QLatin1String(x) + QLatin1Char('/');
    }
    cs.FirstType = first;
    cs.EnabledCount = count;
    cs.FirstTree = first;
    cs.FirstPageIndex = firstPage;
    cs.EnabledExtensions = enabled;
}

void ShowFirstEnabledTab(CataloguePane &pane)
{
    const int page = pane.app.st.CatalogueState.FirstPageIndex;
    // Showing the tab is not the user's change of tab: the tab's change handler does not run.
    const QSignalBlocker quiet(pane.pcMain);
    if (page >= 0)
        pane.pcMain->setCurrentIndex(page);
}

void SetTypeTabsVisible(CataloguePane &pane, bool visible)
{
    const QSignalBlocker quiet(pane.pcMain);
    for (MediaType t : kMediaTypes)
        pane.pcMain->setTabVisible(pane.pcMain->indexOf(pane.sheet(t)), visible);
}

void ShowNonEmptyTypeTabs(CataloguePane &pane, bool show)
{
    const QSignalBlocker quiet(pane.pcMain);
    const CatalogueStore &store = pane.cat.store;
    for (MediaType t : kMediaTypes) {
        const NodeId root = store.root(t);
        const bool filled = root != kNoNode && store.childCount(root) > 0;
        pane.pcMain->setTabVisible(pane.pcMain->indexOf(pane.sheet(t)), show && filled);
    }
}

bool TabShown(CataloguePane &pane, MediaType type)
{
    return pane.pcMain->isTabVisible(pane.pcMain->indexOf(pane.sheet(type)));
}

void ResetCatalogueStore(Catalogue &cat)
{
    AppState &st = cat.app.st;
    st.CurrentView.CurrentFolder.clear();
    st.CurrentView.CurrentTree = mtNone;
    st.CurrentView.CurrentNode = kNoNode;
    st.Selection.Item = -1;
    st.Selection.List = mtNone;
    CatalogueStateRecord &cs = st.CatalogueState;
    cs.FirstType = mtNone;
    cs.EnabledCount = -1;
    cs.FirstPageIndex = -1;
    cs.FirstTree = mtNone;
    cat.store.clear();
    for (MediaType t : kAllTypes)
        st.TabSheets[t].Enabled = t == mtALL ? true : ScanFileFlag(st, t);
    BuildEnabledExtensions(cat.app);
    AddMyComputerRoots(cat);
}

void ResetCatalogue(CataloguePane &pane)
{
    if (pane.app.viewer)
        pane.app.viewer->showEmptyPage();
    {
        // The trees' change handler is for the user's selections, not for emptying them.
        std::vector<std::unique_ptr<QSignalBlocker>> quiet;
        for (MediaType t : kAllTypes)
            quiet.push_back(std::make_unique<QSignalBlocker>(pane.tree(t)));
        ResetCatalogueStore(pane.cat);
    }
    const QSignalBlocker quietTabs(pane.pcMain);
    for (MediaType t : kAllTypes) {
        pane.list(t)->clear();
        ApplyViewStyle(pane.app, pane.list(t));
        // The reset hides tabs but never shows one.
        if (EnabledPageIndex(pane.app, t) < 0)
            pane.pcMain->setTabVisible(pane.pcMain->indexOf(pane.sheet(t)), false);
    }
    ShowFirstEnabledTab(pane);
    pane.pcMain->repaint();
}

void pcMainChange(CataloguePane &pane)
{
    AppState &st = pane.app.st;
    StopPlaybackIfActive(pane.app);
    st.CurrentView.CurrentType = TypeOfTabSheet(pane, pane.pcMain->currentWidget());
    const MediaType type = st.CurrentView.CurrentType;
    TFolderTreeView *view = TreeViewOfType(pane, type);
    NodeId node = view->currentNode();
    st.Selection.List = type;
    ListViewOfType(pane, type);
    const NodeId root = pane.cat.store.root(type);
    if (node == kNoNode && root != kNoNode) {
        node = root;
        view->setCurrentNodeQuietly(node); // the handler runs once, below
    }
    tvALLChange(pane, type, node);
}
