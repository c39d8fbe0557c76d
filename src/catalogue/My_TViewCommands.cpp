// The tree commands (collapse, expand, up one level) and the wiring of the thirteen trees.
#include "catalogue/My_TView.h"

#include "platform/Ui.h"
#include "shell/App.h"
#include "shell/Main.h"

#include <QAction>
#include <QEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The program selects a node itself: the tree's own signal stays quiet and the handler runs once.
void selectNode(App &app, QTreeWidget *tree, QTreeWidgetItem *node)
{
    {
        const QSignalBlocker quiet(tree);
        tree->setCurrentItem(node);
    }
    app.st.CurrentView.CurrentNode = node;
    tvALLChange(app, tree, node);
}

void beep()
{
    platform::ui().beep(platform::BeepKind::Plain);
}

// Keeps TreeHasFocus. A popup menu or another window taking the focus for a while is not leaving the
// tree: the commands that follow still act on it.
class TreeFocusWatcher : public QObject
{
public:
    TreeFocusWatcher(App &app, QObject *parent) : QObject(parent), m_app(app) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn) {
            tvALLEnter(m_app);
        } else if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                tvALLExit(m_app);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    App &m_app;
};

} // namespace

void mnuMain_View_CollapseTreeViewClick(App &app)
{
    QTreeWidget *tree = app.st.CurrentView.CurrentTree;
    if (!tree || !tree->topLevelItem(0))
        return;
    CollapseTree(tree);
    selectNode(app, tree, tree->topLevelItem(0));
}

void mnuMain_View_ExpandTreeViewClick(App &app)
{
    QTreeWidget *tree = app.st.CurrentView.CurrentTree;
    if (!tree)
        return;
    ExpandTree(tree);
    tvALLChange(app, tree, app.st.CurrentView.CurrentNode);
}

void mnuMain_View_TreeviewUpOneLevelClick(App &app)
{
    QTreeWidget *tree = app.st.CurrentView.CurrentTree;
    QTreeWidgetItem *node = app.st.CurrentView.CurrentNode;
    if (!tree || !node || !node->parent())
        return;
    selectNode(app, tree, node->parent());
}

void btnCollapseTreeViewClick(App &app)
{
    if (TreeHasContent(app))
        mnuMain_View_CollapseTreeViewClick(app);
    else
        beep();
}

void btnExpandTreeViewClick(App &app)
{
    if (TreeHasContent(app))
        mnuMain_View_ExpandTreeViewClick(app);
    else
        beep();
}

void btnUpOneLevelClick(App &app)
{
    if (!app.st.CurrentView.CurrentFolder.isEmpty())
        mnuMain_View_TreeviewUpOneLevelClick(app);
    else
        beep();
}

void ConnectTreeHandlers(App &app)
{
    TfrmMain *f = app.frmMain;
    auto *focus = new TreeFocusWatcher(app, f);
    for (QTreeWidget *tree : f->tv) {
        // The user's changes only: the program's own selections run tvALLChange themselves. A tree
        // being emptied reports "no current node", which is no selection to show.
        QObject::connect(tree, &QTreeWidget::currentItemChanged, f, [&app, tree](QTreeWidgetItem *current) {
            if (current)
                tvALLChange(app, tree, current);
        });
        QObject::connect(tree, &QWidget::customContextMenuRequested, f, [f, tree](const QPoint &p) {
            f->popmnuTreeView->popup(tree->viewport()->mapToGlobal(p));
        });
        tree->installEventFilter(focus);
    }
    const auto onClick = [f, &app](QToolButton *button, void (*command)(App &)) {
        QObject::connect(button, &QToolButton::clicked, f, [&app, command] { command(app); });
    };
    onClick(f->btnCollapseTreeView, btnCollapseTreeViewClick);
    onClick(f->btnExpandTreeView, btnExpandTreeViewClick);
    onClick(f->btnUpOneLevel, btnUpOneLevelClick);
    const auto onTrigger = [f, &app](const char *name, void (*command)(App &)) {
        if (QAction *a = f->action(QString::fromLatin1(name)))
            QObject::connect(a, &QAction::triggered, f, [&app, command] { command(app); });
    };
    onTrigger("mnuMain_View_CollapseTreeView", mnuMain_View_CollapseTreeViewClick);
    onTrigger("popmnuTV_CollapseTreeView", mnuMain_View_CollapseTreeViewClick);
    onTrigger("mnuMain_View_ExpandTreeView", mnuMain_View_ExpandTreeViewClick);
    onTrigger("popmnuTV_ExpandTreeView", mnuMain_View_ExpandTreeViewClick);
    onTrigger("mnuMain_View_TreeviewUpOneLevel", mnuMain_View_TreeviewUpOneLevelClick);
}
