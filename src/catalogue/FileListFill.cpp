// Filling a list: the drives under My computer, or one folder's sub-folders and media files.
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/DriveTable.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/MediaTabs.h"
#include "platform/drives/DirSearch.h"

#include <QCoreApplication>
#include <array>

namespace {

// Entries between two moments where pending input runs.
constexpr int kEntriesPerPause = 11;

// One fill of one list. It owns the list from its own clear to its end; a newer fill anywhere, or
// anyone else clearing this list, overtakes it.
class ListFill
{
public:
    ListFill(App &app, TListView *list) : m_app(app), m_list(list), m_serial(++app.st.ListFillSerial)
    {
        SetBusyCursor(true);
        m_list->beginUpdate();
        m_stamp = m_list->contentStamp();
    }
    ~ListFill()
    {
        flush();
        if (overtaken() && m_list->contentStamp() == m_stamp)
            m_list->clear(); // half a folder is worse than an empty list
        m_list->endUpdate();
        SetBusyCursor(false);
    }
    ListFill(const ListFill &) = delete;
    ListFill &operator=(const ListFill &) = delete;

    // Lets pending input run; false when this fill has been overtaken meanwhile.
    bool pause()
    {
        flush();
        QCoreApplication::processEvents();
        return !overtaken();
    }
    bool overtaken() const
    {
        return m_app.st.ListFillSerial != m_serial || m_list->contentStamp() != m_stamp;
    }
    // Empties the list; its rows are this fill's from now on.
    void clearList()
    {
        m_list->clear();
        m_stamp = m_list->contentStamp();
    }
    void add(TListItem item) { m_batch.push_back(std::move(item)); }
    // Rows reach the list in batches: one insert notice per pause rather than one per file.
    void flush()
    {
        if (!m_batch.empty() && !overtaken())
            m_list->addItems(std::move(m_batch));
        m_batch.clear();
    }

private:
    App &m_app;
    TListView *m_list;
    uint64_t m_serial;
    uint64_t m_stamp = 0;
    std::vector<TListItem> m_batch;
};

} // namespace

void FillList(CataloguePane &pane, MediaType tree, NodeId node)
{
    AppState &st = pane.app.st;
    ResetSelection(st);
    ++st.ListFillSerial; // whatever follows, a fill still running is out of date
    TListView *list = ListViewOfType(pane, st.CurrentView.CurrentType);
    if (st.ScanRequest.Scanning)
        return;
    const CatalogueStore &store = pane.cat.store;
    NodeId selected = tree != mtNone ? TreeViewOfType(pane, tree)->currentNode() : kNoNode;
    if (!store.isValid(selected))
        selected = node;
    const bool root = store.isValid(selected) && store.kind(selected) == NodeKind::MyComputer;
    if (root)
        ListDriveNodes(pane, node, list);
    else
        FillFileList(pane, node, list);
}

void ListDriveNodes(CataloguePane &pane, NodeId node, TListView *list)
{
    if (!list)
        return;
    App &app = pane.app;
    ++app.st.ListFillSerial;
    ApplyViewStyle(app, list);
    list->clear();
    const CatalogueStore &store = pane.cat.store;
    if (!store.isValid(node))
        return;
    std::vector<TListItem> items;
    items.reserve(static_cast<size_t>(store.childCount(node)));
    for (int i = 0; i < store.childCount(node); ++i) {
        const NodeId child = store.child(node, i);
        // A drive node shows its drive type's picture.
        const int type = store.kind(child) == NodeKind::Drive ? store.picture(child) : 0;
        TListItem item;
        item.caption = store.name(child);
        item.kind = ListItemKind::Drive;
        item.image = static_cast<int16_t>(type >= 2 && type <= 6 ? type - 2 : 5);
        items.push_back(std::move(item));
    }
    list->addItems(std::move(items));
}

void FillFileList(CataloguePane &pane, NodeId node, TListView *list)
{
    if (!list)
        return;
    App &app = pane.app;
    AppState &st = app.st;
    ListFill fill(app, list);
    int counter = 0;
    if (!fill.pause())
        return;
    st.Selection.FileCount = 0;
    fill.clearList();
    ApplyViewStyle(app, list);
    const QString folder = st.CurrentView.CurrentFolder;
    list->setThumbnailPaths([&drives = app.drives(), folder](const TListItem &item) {
        // A search's result has a folder of its own.
        return drives.toNative((item.folder.isEmpty() ? folder : item.folder) + item.caption);
    });
    const MediaType type = st.CurrentView.CurrentType;

    // The tree's children are the sub-folders that hold media files somewhere below.
    const CatalogueStore &store = pane.cat.store;
    if (store.isValid(node)) {
        const QString folderType = SelectText("Dossier", "Folder");
        for (int i = 0; i < store.childCount(node); ++i) {
            TListItem item;
            item.caption = store.name(store.child(node, i));
            item.kind = ListItemKind::Folder;
            item.image = 6;
            item.typeText = folderType;
            // May show the folder access error, and with it let other code run.
            item.modifiedText = FormatFolderDate(app, folder + item.caption, true);
            if (fill.overtaken())
                return;
            fill.add(std::move(item));
        }
    }

    // Sizes and times come with the entries themselves; texts are formatted when shown. The
    // extension decides type, picture and description, so the name alone is tested, not the path.
    std::array<QString, kTypeCount + 1> descriptions; // by media type + 1, made once per fill
    platform::DirSearch search(app.drives());
    int result = search.findFirst(folder + "*.*");
    while (result != platform::ERROR_NO_MORE_FILES) {
        if (++counter >= kEntriesPerPause) {
            counter = 0;
            if (!fill.pause())
                return;
        }
        // An empty drive root answers "not found": it ends the search like "no more entries".
        if (result == platform::ERROR_FILE_NOT_FOUND)
            break;
        if (result != platform::ERROR_SUCCESS) {
            search.close();
            fill.flush();
            ShowFolderAccessError(app, folder);
            return;
        }
        const platform::SearchEntry &e = search.entry();
        if (!(e.attributes & (platform::FILE_ATTRIBUTE_VOLUME | platform::FILE_ATTRIBUTE_DIRECTORY)) &&
            FileMatchesType(st, e.name, type)) {
            ++st.Selection.FileCount;
            const MediaType fileType = TypeOfFile(e.name);
            QString &description = descriptions[static_cast<size_t>(code(fileType) + 1)];
            if (description.isNull())
                description = DescriptionOfFile(e.name);
            TListItem item;
            item.caption = e.name;
            item.kind = ListItemKind::File;
            item.mediaType = fileType;
            item.image = static_cast<int16_t>(ListImageOfFile(e.name));
            item.typeText = description;
            item.setSize(static_cast<int64_t>(e.size));
            if (e.lastWrite.isValid())
                item.setTime(e.lastWrite.toMSecsSinceEpoch());
            fill.add(std::move(item));
        }
        result = search.findNext();
    }
}
