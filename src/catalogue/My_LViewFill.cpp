// Filling a list: the drives under My computer, or one folder's sub-folders and media files.
#include "catalogue/DiskList.h"
#include "catalogue/ListView.h"
#include "catalogue/MediaTypes.h"
#include "catalogue/My_LView.h"
#include "catalogue/My_TView.h"
#include "platform/drives/DirSearch.h"
#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Libry.h"

#include <QCoreApplication>
#include <QTreeWidget>
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

void FillList(App &app, QTreeWidget *tree, QTreeWidgetItem *node)
{
    AppState &st = app.st;
    ResetSelection(st);
    ++st.ListFillSerial; // whatever follows, a fill still running is out of date
    TListView *list = ListViewOfType(app, st.CurrentView.CurrentType);
    if (st.ScanRequest.Scanning)
        return;
    QTreeWidgetItem *selected = tree ? tree->currentItem() : nullptr;
    if (!selected)
        selected = node;
    const bool root = selected && (tree ? tree->indexOfTopLevelItem(selected) == 0 : !selected->parent());
    if (root)
        ListDriveNodes(app, node, list);
    else
        FillFileList(app, node, list);
}

void ListDriveNodes(App &app, QTreeWidgetItem *node, TListView *list)
{
    if (!list)
        return;
    ++app.st.ListFillSerial;
    ApplyViewStyle(app, list);
    list->clear();
    if (!node)
        return;
    std::vector<TListItem> items;
    items.reserve(static_cast<size_t>(node->childCount()));
    for (int i = 0; i < node->childCount(); ++i) {
        const QTreeWidgetItem *child = node->child(i);
        const int type = DriveTypeOfImage(NodeImage(child));
        TListItem item;
        item.caption = child->text(0);
        item.image = static_cast<int16_t>(type >= 2 && type <= 6 ? type - 2 : 5);
        items.push_back(std::move(item));
    }
    list->addItems(std::move(items));
}

void FillFileList(App &app, QTreeWidgetItem *node, TListView *list)
{
    if (!list)
        return;
    AppState &st = app.st;
    ListFill fill(app, list);
    int counter = 0;
    if (!fill.pause())
        return;
    st.Selection.FileCount = 0;
    fill.clearList();
    ApplyViewStyle(app, list);
    const QString folder = st.CurrentView.CurrentFolder;
    const MediaType type = st.CurrentView.CurrentType;

    // The tree's children are the sub-folders that hold media files somewhere below.
    if (node) {
        const QString folderType = SelectText("Dossier", "Folder");
        for (int i = 0; i < node->childCount(); ++i) {
            TListItem item;
            item.caption = node->child(i)->text(0);
            item.image = 6;
            item.type = folderType;
            // May show the folder access error, and with it let other code run.
            item.modifiedText = FormatFolderDate(app, folder + item.caption, true);
            if (fill.overtaken())
                return;
            fill.add(std::move(item));
        }
    }

    // Sizes and times come with the entries themselves; texts are formatted when shown. The
    // extension decides type, picture and description, so the name alone is tested, not the path.
    std::array<QString, 14> descriptions; // by media type + 1, made once per fill
    platform::DirSearch search;
    int code = search.findFirst(folder + "*.*");
    while (code != platform::ERROR_NO_MORE_FILES) {
        if (++counter >= kEntriesPerPause) {
            counter = 0;
            if (!fill.pause())
                return;
        }
        // An empty drive root answers "not found": it ends the search like "no more entries".
        if (code == platform::ERROR_FILE_NOT_FOUND)
            break;
        if (code != platform::ERROR_SUCCESS) {
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
            QString &description = descriptions[static_cast<size_t>(fileType + 1)];
            if (description.isNull())
                description = DescriptionOfFile(e.name);
            TListItem item;
            item.caption = e.name;
            item.image = static_cast<int16_t>(fileType > 0 ? fileType + 6 : 5);
            item.type = description;
            item.setSize(static_cast<int64_t>(e.size));
            if (e.lastWrite.isValid())
                item.setTime(e.lastWrite.toMSecsSinceEpoch());
            fill.add(std::move(item));
        }
        code = search.findNext();
    }
}
