#include "catalogue/My_TView.h"

#include "catalogue/MediaTypes.h"
#include "catalogue/My_LView.h"
#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QMenu>
#include <QToolButton>
#include <QTreeWidget>

namespace {
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kSelectedImageRole = Qt::UserRole + 2;
} // namespace

int NodeImage(const QTreeWidgetItem *node) { return node ? node->data(0, kImageRole).toInt() : -1; }

int NodeSelectedImage(const QTreeWidgetItem *node) { return node ? node->data(0, kSelectedImageRole).toInt() : -1; }

void SetNodeImages(QTreeWidgetItem *node, int image, int selectedImage)
{
    node->setData(0, kImageRole, image);
    node->setData(0, kSelectedImageRole, selectedImage);
    const auto &pictures = Images().treeView;
    QIcon icon;
    if (image >= 0 && image < static_cast<int>(pictures.size()))
        for (const QSize &s : pictures[image].availableSizes())
            icon.addPixmap(pictures[image].pixmap(s), QIcon::Normal);
    if (selectedImage >= 0 && selectedImage < static_cast<int>(pictures.size()))
        for (const QSize &s : pictures[selectedImage].availableSizes())
            icon.addPixmap(pictures[selectedImage].pixmap(s), QIcon::Selected);
    if (icon.isNull() && image >= 0 && image < static_cast<int>(pictures.size()))
        icon = pictures[image];
    node->setIcon(0, icon);
}

void AddMyComputerRoots(App &app)
{
    for (int code = 0; code <= 12; ++code) {
        if (!app.st.TabSheets[code].Enabled)
            continue;
        auto *root = new QTreeWidgetItem(TreeViewOfType(app, code));
        root->setText(0, SelectText("Poste de travail", "My computer"));
        SetNodeImages(root, 16, 17);
    }
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

void tvALLChange(App &app, QTreeWidget *tree, QTreeWidgetItem *node)
{
    AppState &st = app.st;
    st.RelayoutOnly = false;
    StopPlaybackIfActive(app);
    app.frmMain->showViewerPage(QStringLiteral("VIDE"));
    st.CurrentView.CurrentFolder = PathOfNode(node);
    const bool empty = st.CurrentView.CurrentFolder.isEmpty();
    SetStatusText(app, 0, empty ? QString() : SelectText("Fichiers: ", "Files: ") + PatternOfType(st.CurrentView.CurrentType));
    SetStatusText(app, 2, empty ? QString()
                                : SelectText("Dossier sélectionné: ", "Selected folder: ") + st.CurrentView.CurrentFolder);
    st.CurrentView.CurrentTree = tree;
    st.CurrentView.CurrentNode = node;
    FillList(app, tree, node);
    const int n = st.Selection.FileCount;
    SetStatusText(app, 1, n == 0   ? SelectText("0 fichier", "no file")
                          : n == 1 ? SelectText("1 fichier", "1 file")
                                   : QString::number(n) + SelectText(" fichiers", " files"));
    app.frmMain->btnUpOneLevel->setEnabled(!empty);
}

void ConnectTreeHandlers(App &app)
{
    TfrmMain *f = app.frmMain;
    for (QTreeWidget *tree : f->tv) {
        // User changes only: the program's own selections call tvALLChange directly.
        QObject::connect(tree, &QTreeWidget::currentItemChanged, f,
                         [&app, tree](QTreeWidgetItem *current) { tvALLChange(app, tree, current); });
        QObject::connect(tree, &QWidget::customContextMenuRequested, f, [f, tree](const QPoint &p) {
            f->popmnuTreeView->popup(tree->viewport()->mapToGlobal(p));
        });
    }
}
