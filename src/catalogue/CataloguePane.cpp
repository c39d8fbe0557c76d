#include "catalogue/CataloguePane.h"

#include "app/Artwork.h"
#include "app/Libry.h"
#include "app/Settings.h"
#include "catalogue/CatalogueSearch.h"
#include "catalogue/DriveTable.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTreeView.h"
#include "catalogue/FolderTrees.h"
#include "catalogue/LiveFolder.h"
#include "catalogue/MediaTabs.h"
#include "catalogue/ScanCommands.h"
#include "catalogue/TypeTabs.h"
#include "catalogue/store/FolderTreeModel.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolBar *makeBar(const char *name, QWidget *parent)
{
    auto *bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(20, 20));
    bar->setFixedHeight(26);
    return bar;
}

// Keeps TreeHasFocus.
class TreeFocusWatcher : public QObject
{
public:
    TreeFocusWatcher(CataloguePane &pane) : QObject(&pane), m_pane(pane) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            tvALLEnter(m_pane);
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (!FocusStaysForCommands(reason))
                tvALLExit(m_pane);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CataloguePane &m_pane;
};

} // namespace

CataloguePane::CataloguePane(Catalogue &catalogue, QWidget *parent)
    : QObject(parent), cat(catalogue), app(catalogue.app)
{
    createDriveBar(parent);
    createTabs(parent);
    connectHandlers();
    liveFolder = new ListedFolderFollow(*this);
    search = new CatalogueSearch(*this);
}

CataloguePane::~CataloguePane() = default;

int CataloguePane::itemCount() const
{
    const MediaType t = app.st.Selection.List;
    return t == mtNone ? 0 : list(t)->count();
}

bool CataloguePane::isFileItem(int row) const
{
    const MediaType t = app.st.Selection.List;
    return t != mtNone && IsMediaItem(list(t), row);
}

void CataloguePane::selectItem(int row)
{
    const MediaType t = app.st.Selection.List;
    if (t == mtNone || row < 0 || row >= list(t)->count())
        return;
    TListView *l = list(t);
    DeselectAll(l);
    l->setSelected(row, true);
    l->setFocus(Qt::OtherFocusReason);
    l->setCurrentItem(row);
}

void CataloguePane::deselectAll()
{
    const MediaType t = app.st.Selection.List;
    if (t != mtNone)
        DeselectAll(list(t));
}

void CataloguePane::refreshSelectedItem()
{
    const SelectionRecord &s = app.st.Selection;
    if (s.List == mtNone)
        return;
    // The list may have been filled again since: an item that is no longer there is not shown.
    TListView *l = list(s.List);
    if (s.Item >= 0 && s.Item < l->count() && l->item(s.Item).caption == s.FileName)
        lvALLChange(*this, l, s.Item);
}

bool CataloguePane::currentNodeIsMediaFolder() const
{
    return IsMediaFolderNode(cat);
}

CataloguePort::Node CataloguePane::currentNode() const
{
    const NodeId id = app.st.CurrentView.CurrentNode;
    const CatalogueStore &store = cat.store;
    Node node;
    if (!store.isValid(id))
        return node;
    node.text = store.name(id);
    switch (store.kind(id)) {
    case ::NodeKind::MyComputer:
        node.kind = NodeKind::MyComputer;
        break;
    case ::NodeKind::Drive:
        node.kind = NodeKind::Drive;
        node.driveType = store.picture(id);
        break;
    case ::NodeKind::Folder:
        node.kind = NodeKind::Folder;
        break;
    case ::NodeKind::MediaFolder:
        node.kind = NodeKind::MediaFolder;
        break;
    }
    return node;
}

bool CataloguePane::isMediaFolderChild() const
{
    return IsMediaFolderChild(cat);
}

std::vector<FileSelectionPort::SelectedFile> CataloguePane::selectedFiles() const
{
    std::vector<SelectedFile> files;
    const MediaType t = app.st.Selection.List;
    if (t == mtNone)
        return files;
    const TListView *l = list(t);
    for (int row = 0; row < l->count(); ++row)
        if (l->isSelected(row) && IsMediaItem(l, row)) {
            const TListItem &item = l->item(row);
            files.push_back(
                {row, item.caption, item.folder.isEmpty() ? app.st.CurrentView.CurrentFolder : item.folder});
        }
    return files;
}

void CataloguePane::fileGone(const QString &folder, const QString &name)
{
    search->fileGone(folder, name);
}

void CataloguePane::refillList()
{
    // Results are filled again from the catalogue, not from the listed folder.
    if (search->active()) {
        search->refresh();
        return;
    }
    AppState &st = app.st;
    const SelectionRecord before = st.Selection;
    FillList(*this, st.CurrentView.CurrentTree, st.CurrentView.CurrentNode);
    ShowFileCount(app);
    if (before.ItemKind == ListItemKind::File && !ReselectFileOnView(*this, before)) {
        StopPlaybackIfActive(app);
        if (app.viewer)
            app.viewer->showEmptyPage();
    }
}

void CataloguePane::createDriveBar(QWidget *parent)
{
    pnlToolBarDisk = new QFrame(parent);
    pnlToolBarDisk->setObjectName("pnlToolBarDisk");
    pnlToolBarDisk->setFixedHeight(26);
    auto *row = new QHBoxLayout(pnlToolBarDisk);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    pnlToolBarChoice = new QWidget(pnlToolBarDisk);
    pnlToolBarChoice->setObjectName("pnlToolBarChoice");
    pnlToolBarChoice->setFixedWidth(121);
    auto *choiceRow = new QHBoxLayout(pnlToolBarChoice);
    choiceRow->setContentsMargins(0, 0, 0, 0);
    tbChoice = makeBar("tbChoice", pnlToolBarChoice);
    ComboChoice = new QComboBox(tbChoice);
    ComboChoice->setObjectName("ComboChoice");
    ComboChoice->setFixedWidth(108);
    ComboChoice->setIconSize(QSize(13, 13));
    ComboChoice->addItem(ArtIcon("choice/drives"), "Scan drives");
    ComboChoice->addItem(ArtIcon("choice/folder"), "Scan folder");
    tbChoice->addWidget(ComboChoice);
    choiceRow->addWidget(tbChoice);
    row->addWidget(pnlToolBarChoice);

    pnlToolBarDir = new QWidget(pnlToolBarDisk);
    pnlToolBarDir->setObjectName("pnlToolBarDir");
    auto *dirRow = new QHBoxLayout(pnlToolBarDir);
    dirRow->setContentsMargins(0, 0, 0, 0);
    tbDir = makeBar("tbDir", pnlToolBarDir);
    btnMoreFolder = new QToolButton(tbDir);
    btnMoreFolder->setObjectName("btnMoreFolder");
    btnMoreFolder->setIcon(ArtIcon("toolbar/folder-open"));
    btnMoreFolder->setAutoRaise(true);
    btnMoreFolder->setFocusPolicy(Qt::NoFocus);
    tbDir->addWidget(btnMoreFolder);
    txtSelectFolder = new QLineEdit(tbDir);
    txtSelectFolder->setObjectName("txtSelectFolder");
    txtSelectFolder->setReadOnly(true);
    txtSelectFolder->setFixedWidth(226);
    tbDir->addWidget(txtSelectFolder);
    dirRow->addWidget(tbDir);
    pnlToolBarDir->setVisible(false);
    row->addWidget(pnlToolBarDir, 1);

    pnlToolBarAllDisks = new QWidget(pnlToolBarDisk);
    pnlToolBarAllDisks->setObjectName("pnlToolBarAllDisks");
    auto *diskRow = new QHBoxLayout(pnlToolBarAllDisks);
    diskRow->setContentsMargins(0, 0, 0, 0);
    tbDisk = makeBar("tbDisk", pnlToolBarAllDisks);
    tbDisk->setIconSize(QSize(16, 16));
    tbDisk->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (int n = 1; n <= 26; ++n) {
        const QString letter(QChar('A' + n - 1));
        auto *b = new QToolButton(tbDisk);
        b->setObjectName("tb" + letter);
        b->setText(letter);
        b->setCheckable(true);
        b->setAutoRaise(true);
        b->setFixedWidth(43);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setFocusPolicy(Qt::TabFocus);
        tbDrive[n] = b;
        // A widget in a tool bar is shown and hidden through its action.
        b->setProperty("toolbarAction", QVariant::fromValue(static_cast<QObject *>(tbDisk->addWidget(b))));
    }
    diskRow->addWidget(tbDisk);
    pnlToolBarAllDisks->setVisible(false);
    row->addWidget(pnlToolBarAllDisks, 1);
}

void CataloguePane::nameForScreenReaders(QWidget *tree, QWidget *list, const QString &tab)
{
    tree->setAccessibleName(QStringLiteral("Arborescence ") + tab);
    list->setAccessibleName(QStringLiteral("Liste ") + tab);
}

void CataloguePane::setTabCaption(MediaType type, const QString &caption)
{
    pcMain->setTabText(pcMain->indexOf(sheet(type)), caption);
    nameForScreenReaders(tree(type), list(type), caption);
}

void CataloguePane::createTabs(QWidget *parent)
{
    // Tabs under the pages, in as many rows as they need.
    pcMain = new TTypeTabs(parent);
    pcMain->setObjectName("pcMain");
    const ImageLists &images = app.images();
    for (int page = 0; page < kTypeCount; ++page) {
        const MediaType t = typeAtTabOrder(page);
        const auto c = static_cast<size_t>(code(t));
        const QString name = QString::fromLatin1(mediaTypeInfo(t).code);
        auto *sheet = new QWidget(pcMain);
        sheet->setObjectName("ts" + name);
        auto *lay = new QHBoxLayout(sheet);
        lay->setContentsMargins(0, 0, 0, 0);
        auto *split = new QSplitter(Qt::Horizontal, sheet);
        split->setObjectName("SplitLeft" + name);
        split->setHandleWidth(7);
        split->setChildrenCollapsible(false);
        auto *view = new TFolderTreeView(split);
        view->setObjectName("tv" + name);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->setMinimumWidth(20);
        auto *model = new FolderTreeModel(cat.store, t, &images.treeView, view);
        view->setFolderModel(model);
        auto *column = new QWidget(split);
        column->setObjectName("pnlList" + name);
        auto *columnLayout = new QVBoxLayout(column);
        columnLayout->setContentsMargins(0, 0, 0, 0);
        columnLayout->setSpacing(2);
        auto *list = new TListView(column);
        columnLayout->addWidget(list);
        pnlList[c] = column;
        list->setObjectName("lv" + name);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->setImages(&images.smallList, &images.largeList);
        split->addWidget(view);
        split->addWidget(column);
        split->setStretchFactor(0, 0);
        split->setStretchFactor(1, 1);
        lay->addWidget(split);
        pcMain->addTab(sheet, name);
        ts[c] = sheet;
        nameForScreenReaders(view, list, name);
        tv[c] = view;
        tm[c] = model;
        SplitLeft[c] = split;
        lv[c] = list;
        connect(split, &QSplitter::splitterMoved, this, [this, split] { SplitLeftALLMoved(split); });
    }
}

void CataloguePane::connectHandlers()
{
    connect(pcMain, &TTypeTabs::currentChanged, this, [this] { pcMainChange(*this); });
    auto *focus = new TreeFocusWatcher(*this);
    for (MediaType t : kAllTypes) {
        TFolderTreeView *view = tree(t);
        // The user's changes only: the program's own selections run tvALLChange themselves.
        connect(view, &TFolderTreeView::currentNodeChanged, this,
                [this, t](NodeId node) { tvALLChange(*this, t, node); });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &p) {
            emit treeContextMenuRequested(view->viewport()->mapToGlobal(p));
        });
        view->installEventFilter(focus);

        TListView *l = list(t);
        connect(l, &TListView::keyDown, this,
                [this, l](int key, Qt::KeyboardModifiers shift) { lvALLKeyDown(*this, l, key, shift); });
        connect(l, &TListView::itemStateChanged, this, [this, l](int row) { lvALLChange(*this, l, row); });
        connect(l, &TListView::keyUp, this, [this] { lvALLKeyUp(app); });
        connect(l, &TListView::mouseDown, this, [this](Qt::MouseButton b) { lvALLMouseDown(app, b); });
        connect(l, &TListView::mouseUp, this, [this] { lvALLMouseUp(app); });
        connect(l, &TListView::entered, this, [this] { lvALLEnter(app); });
        connect(l, &TListView::exited, this, [this] { lvALLExit(app); });
        connect(l, &QWidget::customContextMenuRequested, this,
                [this, l](const QPoint &p) { emit listContextMenuRequested(l->mapToGlobal(p)); });
    }
    connect(list(mtALL), &TListView::itemDoubleClicked, this, [this] { lvALLDblClick(*this); });
    for (int n = 1; n <= 26; ++n) {
        QToolButton *b = tbDrive[n];
        connect(b, &QToolButton::clicked, this, [this, b] { tbAClick(*this, b); });
    }
    ConnectScanCommands(*this);
}

void CataloguePane::startUp()
{
    const Settings &s = app.st.settings;
    InitExtensions(app);
    InitTabSheets(app);
    InitDiskTable(*this);
    pnlToolBarAllDisks->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pnlToolBarDir->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    ComboChoice->setCurrentIndex(s.Scan_Type == 0 ? 0 : 1);
    ComboChoiceChange(*this);
    txtSelectFolder->setText(s.Starting_Folder);
    for (TListView *l : lv)
        SetupColumns(l);
}

void CataloguePane::showEmptyCatalogue()
{
    ResetCatalogue(*this);
    if (app.st.settings.Show_Non_Empty_Tabs)
        SetTypeTabsVisible(*this, false);
}

void CataloguePane::setTreeWidth(int treeWidth)
{
    // Splitters share out their own width; before the window is first laid out that width is not
    // known yet, so the splitter is first given room for the wanted width. Later growth goes to the
    // list (its stretch factor), so the width stays as set.
    QSplitter *all = SplitLeft[0];
    const int inner = qMax(all->width(), treeWidth + all->handleWidth() + 100);
    all->resize(inner, qMax(all->height(), 100));
    all->setSizes({treeWidth, inner - treeWidth - all->handleWidth()});
}

void CataloguePane::SplitLeftALLMoved(QSplitter *sender)
{
    AppState &st = app.st;
    if (st.PropagatingTreeWidth || !sender)
        return;
    const int width = sender->sizes().value(0);
    st.PropagatingTreeWidth = true;
    for (QSplitter *split : SplitLeft) {
        if (split == sender)
            continue;
        const int total = qMax(split->width(), sender->width());
        if (split->width() < total)
            split->resize(total, qMax(split->height(), 100));
        split->setSizes({width, qMax(1, total - width - split->handleWidth())});
    }
    st.PropagatingTreeWidth = false;
    st.settings.TreeView_Width = SplitLeft[0]->sizes().value(0);
    SaveTreeViewWidth(app);
}
