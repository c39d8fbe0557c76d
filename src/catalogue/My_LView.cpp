#include "catalogue/My_LView.h"

#include "catalogue/DiskList.h"
#include "catalogue/ListView.h"
#include "catalogue/MediaTypes.h"
#include "catalogue/My_TView.h"
#include "platform/drives/DirSearch.h"
#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
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
    struct Clear {
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
    }
    InternalError(app, 12, SelectText("Style d'icône ivalide.", "Invalid icon style."));
}

void CheckViewStyleItem(App &app, int style)
{
    static const char *const kItems[4] = {"mnuMain_View_LargeIcon", "mnuMain_View_SmallIcon", "mnuMain_View_List",
                                          "mnuMain_View_Report"};
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

bool IsMediaItem(int imageIndex) { return imageIndex >= 7 && imageIndex <= 49; }

void FillList(App &app, QTreeWidget *tree, QTreeWidgetItem *node)
{
    ResetSelection(app.st);
    TListView *list = ListViewOfType(app, app.st.CurrentView.CurrentType);
    if (app.st.ScanRequest.Scanning)
        return;
    if (tree && tree->currentItem() && tree->indexOfTopLevelItem(tree->currentItem()) == 0)
        ListDriveNodes(app, node, list);
    else
        FillFileList(app, node, list);
}

void ListDriveNodes(App &app, QTreeWidgetItem *node, TListView *list)
{
    if (!list)
        return;
    ApplyViewStyle(app, list);
    list->clear();
    if (!node)
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem *child = node->child(i);
        const int type = DriveTypeOfImage(NodeImage(child));
        list->addItem({child->text(0), type >= 2 && type <= 6 ? type - 2 : 5, {}, {}, {}});
    }
}

void FillFileList(App &app, QTreeWidgetItem *node, TListView *list)
{
    AppState &st = app.st;
    if (!list)
        return;
    SetBusyCursor(true);
    list->setUpdatesEnabled(false);
    int counter = 0;
    QApplication::processEvents();
    st.Selection.FileCount = 0;
    list->clear();
    ApplyViewStyle(app, list);
    const QString folder = st.CurrentView.CurrentFolder;
    if (node) {
        for (int i = 0; i < node->childCount(); ++i) {
            const QString text = node->child(i)->text(0);
            list->addItem({text, 6, {}, SelectText("Dossier", "Folder"), FormatFolderDate(app, folder + text, true)});
        }
    }
    platform::DirSearch search;
    int code = search.findFirst(folder + "*.*");
    while (code != platform::ERROR_NO_MORE_FILES) {
        if (++counter > 10) {
            counter = 0;
            QApplication::processEvents();
        }
        if (code != platform::ERROR_SUCCESS) {
            ShowFolderAccessError(app, folder);
            break;
        }
        const platform::SearchEntry &e = search.entry();
        if (!(e.attributes & (platform::FILE_ATTRIBUTE_VOLUME | platform::FILE_ATTRIBUTE_DIRECTORY))) {
            const QString path = folder + e.name;
            if (FileMatchesType(st, path, st.CurrentView.CurrentType)) {
                ++st.Selection.FileCount;
                list->addItem({e.name, ListImageOfFile(path), FormatKilobytes(FileSizeOf(path)),
                               DescriptionOfFile(path), FormatFileDateTime(path)});
            }
        }
        code = search.findNext();
    }
    search.close();
    list->setUpdatesEnabled(true);
    SetBusyCursor(false);
}

void ConnectListHandlers(App &app)
{
    TfrmMain *f = app.frmMain;
    for (TListView *list : f->lv) {
        QObject::connect(list, &QWidget::customContextMenuRequested, f, [f, list](const QPoint &p) {
            f->popmnuListView->popup(list->mapToGlobal(p));
        });
    }
}
