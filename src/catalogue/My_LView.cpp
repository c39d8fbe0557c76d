#include "catalogue/My_LView.h"

#include "catalogue/ListView.h"
#include "catalogue/My_TView.h"
#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QAction>
#include <QMenu>
#include <QSignalBlocker>
#include <QToolButton>
#include <QTreeWidget>

void SetupColumns(TListView *list)
{
    list->setColumns({SelectText("Nom", "Name"), SelectText("Taille", "Size"), SelectText("Type", "Type"),
                      SelectText("Modifié", "Modified")},
                     {130, 60, 130, -1}, {Qt::AlignLeft, Qt::AlignRight, Qt::AlignLeft, Qt::AlignLeft});
}

void ApplyViewStyle(App &app, TListView *list)
{
    if (!list)
        return;
    const int style = app.st.settings.Icon_Style;
    list->setViewStyle(style >= 0 && style <= 3 ? style : 0);
}

int ViewStyleOf(App &app, TListView *list)
{
    if (!list)
        return app.st.settings.Icon_Style;
    const int style = list->viewStyle();
    if (style < 0 || style > 3)
        InternalError(app, 19, SelectText("Valeur ViewStyle invalide", "Invalid ViewStyle value."));
    return style;
}

void SetViewStyle(App &app, int style)
{
    bool &running = app.st.SettingViewStyle;
    if (running)
        return;
    running = true;
    // Cleared on every way out: the save may throw a write error.
    struct Clear
    {
        bool &flag;
        ~Clear() { flag = false; }
    } clear{running};
    ViewStyleButton(app, style)->setChecked(true);
    app.st.settings.Icon_Style = style;
    SaveIconStyle(app.st);
    ApplyViewStyle(app, app.st.Selection.ListView);
}

QToolButton *ViewStyleButton(App &app, int style)
{
    TfrmMain *f = app.frmMain;
    switch (style) {
    case 0:
        return f->btnLargeIcon;
    case 1:
        return f->btnSmallIcon;
    case 2:
        return f->btnListIcon;
    case 3:
        return f->btnReportIcon;
    default:
        InternalError(app, 12, SelectText("Style d'icône ivalide.", "Invalid icon style."));
    }
}

void CheckViewStyleItem(App &app, int style)
{
    static const char *const kItems[4] = {"mnuMain_View_LargeIcon", "mnuMain_View_SmallIcon",
                                          "mnuMain_View_List", "mnuMain_View_Report"};
    if (style < 0 || style > 3)
        InternalError(app, 13, SelectText("Numéero ViewStyle invalide.", "Invalid ViewStyle number."));
    if (QAction *a = app.frmMain->action(kItems[style]))
        a->setChecked(true);
}

void ResetSelection(AppState &st)
{
    SelectionRecord &s = st.Selection;
    s.Item = -1;
    s.ItemKind = -1;
    s.FileType = mtNone;
    s.FileName.clear();
    s.ModifierKeyDown = false;
    s.RightButtonDown = false;
    s.ChangeGuard = false;
    s.FileCount = 0;
}

int ItemKindOf(int imageIndex)
{
    if (imageIndex < 6)
        return 0;
    return imageIndex == 6 ? 1 : 2;
}

bool IsMediaItem(int imageIndex)
{
    return imageIndex >= 7 && imageIndex <= 49;
}

int ItemKindOf(const TListView *list, int row)
{
    if (!list || row < 0 || row >= list->count())
        return -1;
    return ItemKindOf(list->item(row).image);
}

bool IsMediaItem(const TListView *list, int row)
{
    return list && row >= 0 && row < list->count() && IsMediaItem(list->item(row).image);
}

int FirstSelectedItem(const TListView *list)
{
    return list ? list->firstSelected() : -1;
}

void DeselectAll(TListView *list)
{
    if (list)
        list->deselectAll();
}

bool IsMediaFolderChild(App &app)
{
    const QTreeWidgetItem *node = app.st.CurrentView.CurrentNode;
    if (!node)
        return false;
    const QString &name = app.st.Selection.FileName;
    for (int i = 0; i < node->childCount(); ++i) {
        const QTreeWidgetItem *child = node->child(i);
        const int image = NodeImage(child);
        if ((image == 18 || image == 19) && child->text(0).compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void SelectAllFiles(App &app)
{
    TListView *list = app.st.Selection.ListView;
    if (!list)
        return;
    list->selectRowsWhere([list](int row) { return IsMediaItem(list->item(row).image); });
}

void OpenListFolder(App &app)
{
    AppState &st = app.st;
    TListView *list = st.Selection.ListView;
    const int row = st.Selection.Item;
    if (!list || row < 0 || row >= list->count() || IsMediaItem(list, row))
        return;
    QTreeWidget *tree = st.CurrentView.CurrentTree;
    QTreeWidgetItem *node = st.CurrentView.CurrentNode;
    if (!tree || !node)
        return;
    const QString caption = list->item(row).caption;
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem *child = node->child(i);
        if (child->text(0) != caption)
            continue;
        {
            // The change handler runs once, below, not again from the tree's own signal.
            const QSignalBlocker block(tree);
            tree->setCurrentItem(child);
        }
        tvALLChange(app, tree, child);
        return;
    }
}

QString FileCountText(int count)
{
    if (count == 0)
        return SelectText("0 fichier", "no file");
    if (count == 1)
        return SelectText("1 fichier", "1 file");
    return QString::number(count) + SelectText(" fichiers", " files");
}

void ShowFileCount(App &app)
{
    SetStatusText(app, 1, FileCountText(app.st.Selection.FileCount));
}

void lvALLKeyDown(App &app, TListView *sender, int key, Qt::KeyboardModifiers shift)
{
    SelectionRecord &s = app.st.Selection;
    // The keypad flag says where a key is, not that a modifier is held. A modifier key going down is
    // held, whether or not the platform already counts it in the state it reports.
    Qt::KeyboardModifiers held =
        shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (key == Qt::Key_Shift)
        held |= Qt::ShiftModifier;
    else if (key == Qt::Key_Control)
        held |= Qt::ControlModifier;
    s.ModifierKeyDown = held == Qt::ShiftModifier || held == Qt::ControlModifier;
    if (held != Qt::NoModifier || key != Qt::Key_Delete || s.ItemKind != 2 || !sender)
        return;
    const int selected = sender->selectedCount();
    if (selected == 1) {
        if (app.st.DeleteOneFileCommand)
            app.st.DeleteOneFileCommand(app);
    } else if (selected > 1) {
        if (app.st.DeleteSelectedFilesCommand)
            app.st.DeleteSelectedFilesCommand(app);
    }
}

void lvALLKeyUp(App &app)
{
    app.st.Selection.ModifierKeyDown = false;
}

void lvALLMouseDown(App &app, Qt::MouseButton button)
{
    app.st.Selection.RightButtonDown = button == Qt::RightButton;
}

void lvALLMouseUp(App &app)
{
    app.st.Selection.RightButtonDown = false;
}

void lvALLEnter(App &app)
{
    app.st.Selection.ListHasFocus = true;
}

void lvALLExit(App &app)
{
    SelectionRecord &s = app.st.Selection;
    s.RightButtonDown = false;
    s.ModifierKeyDown = false;
    s.ListHasFocus = false;
}

void lvALLDblClick(App &app)
{
    OpenListFolder(app);
}

void ConnectListHandlers(App &app)
{
    TfrmMain *f = app.frmMain;
    for (TListView *list : f->lv) {
        QObject::connect(list, &TListView::keyDown, f, [&app, list](int key, Qt::KeyboardModifiers shift) {
            lvALLKeyDown(app, list, key, shift);
        });
        QObject::connect(list, &TListView::keyUp, f, [&app] { lvALLKeyUp(app); });
        QObject::connect(list, &TListView::mouseDown, f,
                         [&app](Qt::MouseButton b) { lvALLMouseDown(app, b); });
        QObject::connect(list, &TListView::mouseUp, f, [&app] { lvALLMouseUp(app); });
        QObject::connect(list, &TListView::entered, f, [&app] { lvALLEnter(app); });
        QObject::connect(list, &TListView::exited, f, [&app] { lvALLExit(app); });
        QObject::connect(list, &QWidget::customContextMenuRequested, f,
                         [f, list](const QPoint &p) { f->popmnuListView->popup(list->mapToGlobal(p)); });
    }
    QObject::connect(f->lvALL(), &TListView::itemDoubleClicked, f, [&app] { lvALLDblClick(app); });
}
