#include "catalogue/My_TView.h"

#include "catalogue/DiskList.h"
#include "catalogue/MediaTypes.h"
#include "catalogue/My_LView.h"
#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QHash>
#include <QToolButton>
#include <QTreeWidget>

namespace {
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;

constexpr int kSelectedDriveOffset = 7;
constexpr int kFolderImage = 14;
constexpr int kMyComputerImage = 16;
constexpr int kMediaFolderImage = 18;

// One icon per picture pair, shared by every node that shows it (nodes are many, pairs few).
QIcon nodeIcon(int image, int selectedImage)
{
    static QHash<int, QIcon> cache;
    const int key = image * 64 + selectedImage;
    const auto found = cache.constFind(key);
    if (found != cache.constEnd())
        return *found;
    const auto &pictures = Images().treeView;
    const auto valid = [&](int i) { return i >= 0 && i < static_cast<int>(pictures.size()); };
    QIcon icon;
    for (const int side : {16, 32}) {
        if (valid(image))
            icon.addPixmap(pictures[image].pixmap(side, side), QIcon::Normal);
        if (valid(selectedImage))
            icon.addPixmap(pictures[selectedImage].pixmap(side, side), QIcon::Selected);
    }
    cache.insert(key, icon);
    return icon;
}

// The order of siblings: case-insensitive, then exact so that names equal but for case keep a fixed
// order whatever the order they were added in.
int compareNodeText(QStringView a, QStringView b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded : a.compare(b, Qt::CaseSensitive);
}

// Index of the first child of parent that does not sort before name.
int lowerBound(const QTreeWidgetItem *parent, QStringView name)
{
    int lo = 0;
    int hi = parent->childCount();
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (compareNodeText(parent->child(mid)->text(0), name) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// The child of parent named exactly name, created at its sorted place with these pictures if new.
QTreeWidgetItem *childNode(QTreeWidgetItem *parent, QStringView name, int image, int selectedImage)
{
    const int at = lowerBound(parent, name);
    if (at < parent->childCount()) {
        QTreeWidgetItem *existing = parent->child(at);
        if (existing->text(0) == name)
            return existing;
    }
    // Filled before it joins the tree, so no change signal runs for it.
    auto *node = new QTreeWidgetItem;
    node->setText(0, name.toString());
    SetNodeImages(node, image, selectedImage);
    parent->insertChild(at, node);
    return node;
}

int nodeCount(const QTreeWidget *tree, int atMost)
{
    int n = 0;
    for (int i = 0; i < tree->topLevelItemCount() && n < atMost; ++i)
        n += 1 + tree->topLevelItem(i)->childCount();
    return n;
}
} // namespace

int NodeImage(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kImageRole).toInt() : -1;
}

int NodeSelectedImage(const QTreeWidgetItem *node)
{
    return node ? node->data(0, kSelectedImageRole).toInt() : -1;
}

void SetNodeImages(QTreeWidgetItem *node, int image, int selectedImage)
{
    node->setData(0, kImageRole, image);
    node->setData(0, kSelectedImageRole, selectedImage);
    node->setIcon(0, nodeIcon(image, selectedImage));
}

void AddMyComputerRoots(App &app)
{
    for (int code = 0; code <= 12; ++code) {
        if (!app.st.TabSheets[code].Enabled)
            continue;
        auto *root = new QTreeWidgetItem;
        root->setText(0, SelectText("Poste de travail", "My computer"));
        SetNodeImages(root, kMyComputerImage, kMyComputerImage + 1);
        TreeViewOfType(app, code)->addTopLevelItem(root);
    }
}

void AddFolderToTree(App &app, int code, const QString &folder)
{
    QTreeWidget *tree = TreeViewOfExtension(app, app.st.Extensions[code].Extension);
    QTreeWidgetItem *root = tree->topLevelItem(0);
    if (!root || folder.isEmpty())
        return;
    const QChar letter = folder.at(0);
    const int driveImage = DriveTypeOfPath(app, folder);
    const QString driveText = QLatin1Char('(') + letter + QLatin1String(":)");
    QTreeWidgetItem *node = childNode(root, driveText, driveImage, driveImage + kSelectedDriveOffset);
    const qsizetype firstSlash = folder.indexOf(QLatin1Char('\\'));
    if (firstSlash < 0)
        return;
    QTreeWidgetItem *drive = node;
    const QStringView rest = QStringView(folder).mid(firstSlash + 1);
    for (qsizetype start = 0; start < rest.size();) {
        qsizetype end = rest.indexOf(u'\\', start);
        if (end < 0)
            end = rest.size();
        // An empty component (a doubled backslash) names no folder.
        if (end > start)
            node = childNode(node, rest.mid(start, end - start), kFolderImage, kFolderImage + 1);
        start = end + 1;
    }
    // Set once the node is in the tree, even when new: replacing the pictures leaves the node's
    // data in a block of its exact size, which a disk's worth of nodes notices.
    if (node != drive && NodeImage(node) != kMediaFolderImage)
        SetNodeImages(node, kMediaFolderImage, kMediaFolderImage + 1);
}

QString PathOfNode(const QTreeWidgetItem *node)
{
    QString path;
    for (; node && node->parent(); node = node->parent()) {
        QString text = node->text(0);
        if (text.startsWith('(') && text.mid(2, 2) == ":)")
            text = text.mid(1, 1);
        path.prepend(text + '\\');
    }
    if (!path.isEmpty())
        path.insert(1, ':');
    return path;
}

QTreeWidgetItem *FindChildNode(const QTreeWidgetItem *parent, const QString &name)
{
    if (!parent)
        return nullptr;
    const int at = lowerBound(parent, name);
    if (at < parent->childCount() && parent->child(at)->text(0) == name)
        return parent->child(at);
    return nullptr;
}

void ExpandTree(QTreeWidget *tree)
{
    if (!tree)
        return;
    tree->expandAll();
    tree->scrollToTop();
}

void CollapseTree(QTreeWidget *tree)
{
    if (!tree)
        return;
    tree->collapseAll();
    // Showing the drive nodes opens the root one level.
    if (QTreeWidgetItem *root = tree->topLevelItem(0); root && root->childCount() > 0)
        root->setExpanded(true);
    tree->scrollToTop();
}

void ExpandAllTrees(App &app)
{
    for (int code = 0; code <= 12; ++code)
        if (app.st.TabSheets[code].Enabled)
            ExpandTree(TreeViewOfType(app, code));
}

void CollapseAllTrees(App &app)
{
    for (int code = 0; code <= 12; ++code)
        if (app.st.TabSheets[code].Enabled)
            CollapseTree(TreeViewOfType(app, code));
}

bool IsMediaFolderNode(App &app)
{
    const int image = NodeImage(app.st.CurrentView.CurrentNode);
    return image == kMediaFolderImage || image == kMediaFolderImage + 1;
}

bool TreeHasContent(App &app)
{
    const CurrentViewRecord &view = app.st.CurrentView;
    return view.CurrentNode && view.CurrentTree && nodeCount(view.CurrentTree, 2) > 1;
}

void tvALLChange(App &app, QTreeWidget *tree, QTreeWidgetItem *node)
{
    AppState &st = app.st;
    st.RelayoutOnly = false;
    StopPlaybackIfActive(app);
    app.frmMain->showViewerPage(QStringLiteral("VIDE"));
    st.CurrentView.CurrentFolder = PathOfNode(node);
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
    FillList(app, tree, node);
    ShowFileCount(app);
    // A selection made during the fill's pauses may have changed the folder since.
    app.frmMain->btnUpOneLevel->setEnabled(!st.CurrentView.CurrentFolder.isEmpty());
}

void tvALLEnter(App &app)
{
    app.st.CurrentView.TreeHasFocus = true;
    app.frmMain->btnUpOneLevel->setEnabled(!app.st.CurrentView.CurrentFolder.isEmpty());
}

void tvALLExit(App &app)
{
    app.st.CurrentView.TreeHasFocus = false;
    app.frmMain->btnUpOneLevel->setEnabled(false);
}
