#include "catalogue/LiveFolder.h"

#include "app/DriveText.h"
#include "app/MediaTypes.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/CatalogueSearch.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/MediaTabs.h"
#include "catalogue/ScanEngine.h"
#include "catalogue/TypeTabs.h"
#include "platform/drives/DirSearch.h"
#include "platform/watch/FolderWatch.h"

#include <algorithm>

namespace {

// What a folder holds now: which types, and how many media files of how many bytes.
struct Holding
{
    bool types[kTypeCount] = {};
    int64_t files = 0;
    int64_t bytes = 0;
    // The media files as a scan keeps them in the index.
    std::vector<ScanIndex::ListedFile> listed;
};

Holding holdingOf(App &app, const QString &folder)
{
    Holding h;
    const auto scanType = ScanTypeOfName(app.st);
    platform::DirSearch search(app.drives());
    search.setDetail(platform::SearchDetail::NamesAndKinds);
    for (int result = search.findFirst(folder + QStringLiteral("*.*")); result == platform::ERROR_SUCCESS;
         result = search.findNext()) {
        const platform::SearchEntry &e = search.entry();
        if (e.attributes & (platform::FILE_ATTRIBUTE_DIRECTORY | platform::FILE_ATTRIBUTE_VOLUME))
            continue;
        const MediaType scanned = scanType(e.name);
        if (scanned != mtNone)
            h.listed.push_back({e.name, int64_t(search.entrySize()), code(scanned)});
        const MediaType type = TypeOfFile(e.name);
        if (type == mtNone || !ScanFileFlag(app.st, type))
            continue;
        h.types[code(type)] = true;
        h.types[0] = true;
        ++h.files;
        h.bytes += int64_t(search.entrySize());
    }
    return h;
}

// The node of folder in a tree, or kNoNode.
NodeId nodeOfFolder(const CatalogueStore &store, MediaType tree, const QString &folder)
{
    NodeId n = store.root(tree);
    if (n == kNoNode || folder.size() < 3)
        return kNoNode;
    n = store.findChild(n, QLatin1Char('(') + folder.at(0) + QLatin1String(":)"));
    for (qsizetype s = 3; n != kNoNode && s < folder.size();) {
        qsizetype e = folder.indexOf(QLatin1Char('\\'), s);
        if (e < 0)
            e = folder.size();
        if (e > s)
            n = store.findChild(n, QStringView(folder).mid(s, e - s));
        s = e + 1;
    }
    return n;
}

// The deepest node of the tree on folder's way (the root at least).
NodeId nearestNode(const CatalogueStore &store, MediaType tree, QString folder)
{
    while (folder.size() > 3) {
        const NodeId n = nodeOfFolder(store, tree, folder);
        if (n != kNoNode)
            return n;
        folder = folder.left(folder.lastIndexOf(QLatin1Char('\\'), folder.size() - 2) + 1);
    }
    const NodeId drive = folder.size() == 3 ? nodeOfFolder(store, tree, folder) : kNoNode;
    return drive != kNoNode ? drive : store.root(tree);
}

} // namespace

ListedFolderFollow::ListedFolderFollow(CataloguePane &pane) : QObject(&pane), m_pane(pane)
{
    m_watch = new platform::FolderWatch(this);
    connect(m_watch, &platform::FolderWatch::changed, this, &ListedFolderFollow::folderChanged);
}

void ListedFolderFollow::follow()
{
    const AppState &st = m_pane.app.st;
    const QString folder = st.ScanRequest.Scanning ? QString() : st.CurrentView.CurrentFolder;
    if (folder == m_folder && (folder.isEmpty() || m_watch->isWatching()))
        return;
    m_folder.clear();
    m_watch->stop();
    const QString native = m_pane.app.drives().toNative(folder);
    if (!folder.isEmpty() && !native.isEmpty() && m_watch->watch(native))
        m_folder = folder;
}

void ListedFolderFollow::folderChanged(bool gone)
{
    App &app = m_pane.app;
    AppState &st = app.st;
    Catalogue &cat = m_pane.cat;
    const QString folder = m_folder;
    if (st.ScanRequest.Scanning || folder.isEmpty() || folder != st.CurrentView.CurrentFolder)
        return;
    const Holding now = gone ? Holding() : holdingOf(app, folder);

    // The drive's counts: what the folder holds now against what was counted for it.
    const int64_t indexed = cat.index.findFolder(folder);
    const int drive = DriveNumber(folder);
    std::pair<int64_t, int64_t> before(-1, -1);
    if (m_counted.contains(folder)) {
        before = m_counted.value(folder);
    } else if (indexed >= 0) {
        const ScanIndex::Folder &f = cat.index.folder(uint32_t(indexed));
        before = {0, 0};
        for (uint32_t i = 0; i < f.fileCount; ++i) {
            const ScanIndex::File &file = cat.index.files()[f.firstFile + i];
            if (ScanFileFlag(st, TypeOfFile(cat.index.nameOf(file.name)))) {
                ++before.first;
                before.second += file.size;
            }
        }
    }
    if (before.first >= 0 && drive >= 1 && drive <= 26) {
        st.Disks[drive].FileCount += now.files - before.first;
        st.Disks[drive].FileBytes += now.bytes - before.second;
        m_counted.insert(folder, {now.files, now.bytes});
    }
    if (indexed >= 0) {
        // The search finds what the folder holds now; the next rescan still reads it.
        cat.index.forgetTime(uint32_t(indexed));
        if (m_pane.search) {
            m_pane.search->folderRelisted(uint32_t(indexed), now.listed);
        } else {
            cat.aboutToChangeIndex();
            cat.index.replaceFiles(uint32_t(indexed), now.listed);
        }
    }
    cat.changedSinceKept = true;

    updateTrees(folder, now.types);
    if (gone) {
        m_folder.clear();
        // Results still on show name files of the index, which just moved.
        if (m_pane.search && m_pane.search->active())
            m_pane.search->refresh();
        return;
    }
    if (st.CurrentView.CurrentFolder == folder)
        m_pane.refillList();
}

void ListedFolderFollow::updateTrees(const QString &folder, const bool (&holds)[kTypeCount])
{
    AppState &st = m_pane.app.st;
    CatalogueStore &store = m_pane.cat.store;
    // A drive's root is its drive node: it never leaves its tree this way.
    if (folder.size() <= 3)
        return;
    bool changed[kTypeCount] = {};
    for (MediaType t : kAllTypes) {
        if (!st.TabSheets[t].Enabled)
            continue;
        const NodeId node = nodeOfFolder(store, t, folder);
        const bool listed = node != kNoNode && store.kind(node) == NodeKind::MediaFolder;
        const bool wanted = holds[code(t)];
        if (wanted == listed)
            continue;
        // The change resets the tree's model: what the user had open stays open.
        TFolderTreeView *view = m_pane.tree(t);
        const TFolderTreeView::Expansion open = view ? view->expansion() : TFolderTreeView::Expansion();
        if (wanted) {
            AddFolderToTree(m_pane.cat, t, folder);
            changed[code(t)] = true;
        } else {
            // The drive's node goes with the last folder only when its root holds no such file.
            const QString root = folder.left(3);
            Holding rootHolds;
            if (store.childCount(store.parent(node)) == 1)
                rootHolds = holdingOf(m_pane.app, root);
            store.dropMediaFolder(node, !rootHolds.types[code(t)]);
            changed[code(t)] = true;
        }
        if (!view)
            continue;
        // A tree that held nothing open (a new one) is shown as a scan leaves it.
        if (!open.nodes.empty() || open.pending != 0)
            view->restoreExpansion(open);
        else if (st.settings.Expand_Treeview_At_End_Of_Scan)
            ExpandTree(view);
        else
            CollapseTree(view);
    }
    if (std::none_of(std::begin(changed), std::end(changed), [](bool c) { return c; }))
        return;
    if (st.settings.Show_Non_Empty_Tabs)
        ShowNonEmptyTypeTabs(m_pane, true);
    const MediaType type = st.CurrentView.CurrentType;
    if (!TabShown(m_pane, type) || TypeOfTabSheet(m_pane, m_pane.pcMain->currentWidget()) != type) {
        pcMainChange(m_pane);
        return;
    }
    const NodeId stays = nearestNode(store, type, folder);
    TFolderTreeView *view = m_pane.tree(type);
    view->setCurrentNodeQuietly(stays);
    if (stays != st.CurrentView.CurrentNode || PathOfNode(store, stays) != folder)
        tvALLChange(m_pane, type, stays);
    else
        st.CurrentView.CurrentNode = stays;
}
