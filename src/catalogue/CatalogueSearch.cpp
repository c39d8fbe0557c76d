#include "catalogue/CatalogueSearch.h"

#include "app/ControlTexts.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/TypeTabs.h"
#include "platform/drives/DirSearch.h"

#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <array>
#include <unordered_map>

namespace {

constexpr int kFolderColumnWidth = 320;

// The rows of one search's results, made when a view or a command asks for them.
class SearchRows : public TListRowSource
{
public:
    SearchRows(App &app, search::NameSearch &engine, std::shared_ptr<const search::Results> results)
        : m_app(app), m_engine(engine), m_results(std::move(results))
    {
    }
    int count() const override { return int(m_results->files.size()); }
    TListItem make(int row) const override
    {
        const ScanIndex &index = m_engine.index();
        const uint32_t f = m_results->files[size_t(row)];
        const ScanIndex::File &file = index.files()[f];
        TListItem item;
        item.caption = index.nameOf(file.name);
        item.kind = ListItemKind::File;
        item.mediaType = TypeOfFile(item.caption);
        item.image = static_cast<int16_t>(ListImageOfFile(item.caption));
        QString &description = m_descriptions[static_cast<size_t>(code(item.mediaType) + 1)];
        if (description.isNull())
            description = DescriptionOfFile(item.caption);
        item.typeText = description;
        item.setSize(file.size);
        item.folder = m_engine.folderOf(f);
        return item;
    }
    QString lateText(int row, int column) const override
    {
        if (column != 3)
            return {};
        auto it = m_times.find(row);
        if (it != m_times.end())
            return it->second;
        // Only the rows shown come here: one look at the file for each.
        QString text;
        const TListItem item = make(row);
        platform::DirSearch search(m_app.drives());
        if (search.findFirst(item.folder + item.caption) == platform::ERROR_SUCCESS &&
            search.entry().lastWrite.isValid())
            text = FormatListTime(search.entry().lastWrite.toMSecsSinceEpoch());
        search.close();
        return m_times.emplace(row, text).first->second;
    }

private:
    App &m_app;
    search::NameSearch &m_engine;
    std::shared_ptr<const search::Results> m_results;
    mutable std::array<QString, kTypeCount + 1> m_descriptions;
    mutable std::unordered_map<int, QString> m_times;
};

QStringList resultCaptions()
{
    return {SelectText("Nom", "Name"), SelectText("Taille", "Size"), SelectText("Type", "Type"),
            SelectText("Modifié", "Modified"), SelectText("Dossier", "Folder")};
}

} // namespace

CatalogueSearch::CatalogueSearch(CataloguePane &pane)
    : QObject(&pane), m_pane(pane), m_engine(std::make_unique<search::NameSearch>(pane.cat.index))
{
    m_field = new QLineEdit(pane.pcMain);
    m_field->setObjectName(QStringLiteral("edtSearch"));
    m_field->setPlaceholderText(SelectText("Rechercher", "Find"));
    NameControl(m_field, "Rechercher", "Find");
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    connect(m_field, &QLineEdit::textChanged, this, &CatalogueSearch::textChanged);
    connect(m_engine.get(), &search::NameSearch::found, this,
            [this](const std::shared_ptr<const search::Results> &results) { show(results); });
    pane.cat.indexChanging = [this] { indexChanging(); };
    pane.cat.indexChanged = [this] { m_engine->prepare(); };
    for (MediaType t : kAllTypes)
        connect(pane.list(t)->model(), &QAbstractItemModel::modelReset, this, [this, t] {
            if (!m_applying)
                foreignReset(t);
        });
    // After the pane's own handler: the new tab's list is on show and filled.
    connect(pane.pcMain, &TTypeTabs::currentChanged, this, [this] {
        const MediaType type = m_pane.app.st.CurrentView.CurrentType;
        placeField(type);
        if (active() && m_list != type)
            restore(false);
        if (!m_field->text().isEmpty())
            textChanged(m_field->text());
    });
    placeField(mtALL);
}

CatalogueSearch::~CatalogueSearch()
{
    m_pane.cat.indexChanging = nullptr;
    m_pane.cat.indexChanged = nullptr;
}

void CatalogueSearch::placeField(MediaType type)
{
    QWidget *column = m_pane.pnlList[static_cast<size_t>(code(type))];
    if (!column || m_field->parentWidget() == column)
        return;
    const bool focused = m_field->hasFocus();
    static_cast<QBoxLayout *>(column->layout())->insertWidget(0, m_field);
    m_field->show();
    if (focused)
        m_field->setFocus(Qt::OtherFocusReason);
}

void CatalogueSearch::focusField()
{
    placeField(m_pane.app.st.CurrentView.CurrentType);
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
}

bool CatalogueSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && !m_field->text().isEmpty()) {
        const bool wasActive = active();
        const MediaType list = m_list;
        leave();
        if (wasActive)
            m_pane.list(list)->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CatalogueSearch::textChanged(const QString &text)
{
    const search::NameMatcher matcher(text);
    if (matcher.isEmpty()) {
        m_engine->cancel();
        m_waiting = 0;
        if (active())
            restore(true);
        return;
    }
    const AppState &st = m_pane.app.st;
    // The catalogue is being made: there is nothing whole to look through yet.
    if (st.ScanRequest.Scanning)
        return;
    m_waiting = m_engine->start(text, st.CurrentView.CurrentType);
}

void CatalogueSearch::show(const std::shared_ptr<const search::Results> &results)
{
    AppState &st = m_pane.app.st;
    if (!results || results->serial != m_waiting || results->type != st.CurrentView.CurrentType)
        return;
    TListView *list = m_pane.list(results->type);
    if (list->updating()) {
        // A fill lets input run: the results wait for its end rather than mix with its rows.
        QTimer::singleShot(10, this, [this, results] { show(results); });
        return;
    }
    if (active() && m_list != results->type)
        restore(false);
    if (!active()) {
        m_saved = Saved();
        m_saved.selection = st.Selection;
        for (const QItemSelectionRange &r : list->selectionModel()->selection())
            if (r.left() == 0)
                m_saved.selected.emplace_back(r.top(), r.bottom());
        m_saved.current = list->currentItem();
        m_list = results->type;
    }
    m_applying = true;
    const bool firstShow = !list->model()->showsSource();
    list->model()->showSource(std::make_shared<SearchRows>(m_pane.app, *m_engine, results), resultCaptions(),
                              {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft});
    m_applying = false;
    if (firstShow)
        list->reportView()->setColumnWidth(4, kFolderColumnWidth);
    st.CurrentView.SearchShown = true;
    m_shown = results->serial;
    SelectionRecord &s = st.Selection;
    s.Item = -1;
    s.ItemKind = ListItemKind::None;
    s.FileName.clear();
    s.FileFolder.clear();
    s.FileType = mtNone;
    s.List = m_list;
    s.FileCount = int32_t(results->files.size());
    ShowFileCount(m_pane.app);
}

void CatalogueSearch::restore(bool touchSelection)
{
    if (!active())
        return;
    App &app = m_pane.app;
    AppState &st = app.st;
    TListView *list = m_pane.list(m_list);
    const MediaType was = m_list;
    m_list = mtNone;
    st.CurrentView.SearchShown = false;
    m_applying = true;
    list->model()->restoreRows();
    m_applying = false;
    SelectionRecord &s = st.Selection;
    const bool guarded = s.ChangeGuard;
    s.ChangeGuard = true; // the rows come back selected; nothing new is shown
    list->selectRanges(m_saved.selected);
    list->setCurrentItem(m_saved.current);
    s.ChangeGuard = guarded;
    if (!touchSelection)
        return;
    const bool resultViewed = s.List == was && s.Item >= 0 && s.ItemKind == ListItemKind::File;
    const SelectionRecord now = s;
    s = m_saved.selection;
    s.ModifierKeyDown = now.ModifierKeyDown;
    s.RightButtonDown = now.RightButtonDown;
    s.ChangeGuard = now.ChangeGuard;
    s.ListHasFocus = now.ListHasFocus;
    ShowFileCount(app);
    if (!resultViewed || !app.viewer)
        return;
    // A result was on view: the viewer follows the item selected again.
    StopPlaybackIfActive(app);
    if (s.ItemKind == ListItemKind::File && s.Item >= 0 && st.settings.Wiew_When_Click_ListView) {
        app.viewer->play();
    } else {
        app.viewer->showEmptyPage();
        app.viewer->selectionChanged();
    }
}

void CatalogueSearch::leave()
{
    m_engine->cancel();
    m_waiting = 0;
    restore(true);
    const QSignalBlocker quiet(m_field);
    m_field->clear();
}

void CatalogueSearch::foreignReset(MediaType type)
{
    if (type != m_list)
        return;
    // The list was filled with something else (its rows kept aside went with the clear).
    m_list = mtNone;
    m_pane.app.st.CurrentView.SearchShown = false;
    // Leaving the tab fills the old list on the way (the new tab's tree takes the focus first): the
    // search goes on in the new tab (currentChanged, above), the old list is filled when shown again.
    if (m_pane.pcMain->currentWidget() != m_pane.sheet(type))
        return;
    m_engine->cancel();
    m_waiting = 0;
    const QSignalBlocker quiet(m_field);
    m_field->clear();
}

void CatalogueSearch::indexChanging()
{
    // Results name files of the index: the lists go back to their folders before it changes.
    if (active())
        leave();
    m_engine->release();
}

void CatalogueSearch::refresh()
{
    if (!active())
        return;
    App &app = m_pane.app;
    const SelectionRecord before = app.st.Selection;
    std::shared_ptr<const search::Results> results = m_engine->runNow(m_field->text(), m_list);
    if (!results)
        return;
    m_waiting = results->serial;
    show(results);
    if (before.ItemKind == ListItemKind::File && !ReselectFileOnView(m_pane, before)) {
        StopPlaybackIfActive(app);
        if (app.viewer)
            app.viewer->showEmptyPage();
    }
}

void CatalogueSearch::fileGone(const QString &folder, const QString &name)
{
    m_engine->hold();
    const int64_t file = m_pane.cat.index.removeFile(folder, name);
    if (file < 0)
        return;
    m_engine->fileRemoved(uint32_t(file));
    m_pane.cat.changedSinceKept = true;
    // The rows shown name files by their place in the index, which just moved.
    refresh();
}

void CatalogueSearch::folderRelisted(uint32_t folder, const std::vector<ScanIndex::ListedFile> &listed)
{
    m_engine->hold();
    ScanIndex &index = m_pane.cat.index;
    const uint32_t first = index.folder(folder).firstFile;
    const uint32_t before = index.replaceFiles(folder, listed);
    m_engine->filesReplaced(first, before, uint32_t(listed.size()));
}
