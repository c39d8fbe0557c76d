#include "shell/MenuState.h"

#include "app/App.h"
#include "app/Language.h"
#include "catalogue/CataloguePane.h"
#include "catalogue/FileListView.h"
#include "catalogue/FileLists.h"
#include "catalogue/FolderTrees.h"
#include "convert/window/ConvertCommands.h"
#include "fileops/FileCommands.h"
#include "shell/Main.h"
#include "shell/TbarMain.h"
#include "viewers/ViewerPane.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {

enum class FilePair { Plain, One, Several };

// Which pair of copy and delete items the list's selection offers (the plain pair: none).
FilePair filePair(const CommandFacts &f)
{
    if (!f.currentItemIsFile)
        return FilePair::Plain;
    if (f.selectedCount == 1 && f.selectedFileCount == 1)
        return FilePair::One;
    if (f.selectedCount > 1 && f.selectedFileCount > 0)
        return FilePair::Several;
    return FilePair::Plain;
}

void setState(QAction *a, bool visible, bool enabled)
{
    a->setVisible(visible);
    a->setEnabled(enabled);
}

} // namespace

CommandFacts GatherCommandFacts(TfrmMain &form)
{
    const AppState &st = form.app.st;
    CataloguePane &pane = form.cataloguePane();
    CommandFacts f;
    f.treeHasFocus = st.CurrentView.TreeHasFocus;
    f.listHasFocus = st.Selection.ListHasFocus;
    const CataloguePort::Node node = pane.currentNode();
    f.treeHasSelectedNode = node.kind != CataloguePort::NodeKind::None;
    f.folderSelected = f.treeHasSelectedNode && !st.CurrentView.CurrentFolder.isEmpty();
    f.treeHasContent = TreeHasContent(pane.cat);
    const MediaType type = st.CurrentView.CurrentType;
    const TListView *list = isMediaType(type) || type == mtALL ? pane.list(type) : nullptr;
    if (list) {
        f.hasList = true;
        f.listItemCount = list->count();
        const int current = list->currentItem();
        f.listHasCurrentItem = current >= 0;
        f.currentItemIsFile = current >= 0 && IsMediaItem(list, current);
        f.selectedCount = list->selectedCount();
        for (int row = 0; row < list->count(); ++row)
            f.selectedFileCount += list->isSelected(row) && IsMediaItem(list, row);
        f.oneFileToAct = HasOneFileToActOn(form.app);
        for (int row = 0; row < list->count() && !f.listHasFiles; ++row)
            f.listHasFiles = IsMediaItem(list, row);
        f.listViewStyle = list->viewStyle();
        f.filesToConvert = CanConvertSelectedFiles(form.app);
    }
    f.folderToConvert = CanConvertCurrentFolder(form.app);
    return f;
}

void UpdateFileMenu(TfrmMain &form, const CommandFacts &f)
{
    const MenuActions &m = form.menus;
    m.mnuMain_File_Properties->setEnabled((f.treeHasFocus && f.treeHasSelectedNode) ||
                                          (f.listHasFocus && f.listHasCurrentItem));
    const FilePair pair = !f.treeHasFocus && f.listHasFocus ? filePair(f) : FilePair::Plain;
    const bool one = pair == FilePair::One, several = pair == FilePair::Several;
    setState(m.mnuMain_File_Copy1FileSelected, one, one);
    setState(m.mnuMain_File_Delete1FileSelected, one, one);
    setState(m.mnuMain_File_CopySelectedFiles, several, several);
    setState(m.mnuMain_File_DeleteSelectedFiles, several, several);
    setState(m.mnuMain_File_CopyFile, pair == FilePair::Plain, false);
    setState(m.mnuMain_File_DeleteFile, pair == FilePair::Plain, false);
    // Execute opens one file: with several selected, the one on view among them.
    m.mnuMain_File_Execute->setEnabled(pair != FilePair::Plain && f.oneFileToAct);
    m.mnuMain_File_Convert->setEnabled(!f.treeHasFocus && f.listHasFocus && f.filesToConvert);
}

void UpdateViewMenu(TfrmMain &form, const CommandFacts &f)
{
    const Settings &s = form.app.st.settings;
    CheckViewStyleItem(form, f.listViewStyle >= 0 && f.listViewStyle <= 3 ? f.listViewStyle
                                                                          : std::clamp(s.Icon_Style, 0, 3));
    const bool folderMode = s.Scan_Type != 0;
    const MenuActions &m = form.menus;
    m.mnuMain_View_ScanNow->setText(folderMode
                                        ? SelectText("&Explorer le dossier maintenant", "Sc&an folder now")
                                        : SelectText("&Explorer les disques maintenant", "Sc&an drives now"));
    const bool collapse = f.treeHasContent;
    m.mnuMain_View_CollapseTreeView->setEnabled(collapse);
    m.mnuMain_View_ExpandTreeView->setEnabled(collapse);
    (folderMode ? m.mnuMain_View_Scan_Folder : m.mnuMain_View_Scan_Drives)->setChecked(true);
    m.mnuMain_View_TreeviewUpOneLevel->setEnabled(f.treeHasFocus && f.folderSelected);
}

void UpdatePlayMenu(TfrmMain &form)
{
    const ViewerPane &viewer = form.viewerPane();
    const MenuActions &m = form.menus;
    using C = ViewerCommand;
    const std::pair<QAction *, ViewerCommand> mirrors[] = {
        {m.mnuMain_Play_FirstFile, C::First},
        {m.mnuMain_Play_PreviousFile, C::Previous},
        {m.NextFile, C::Next},
        {m.LastFile, C::Last},
        {m.mnuMain_Play_PlayFile, C::Play},
        {m.mnuMain_Play_StopFile, C::Stop},
        {m.mnuMain_Play_Preview, C::Preview},
        {m.mnuMain_Play_Loop, C::Loop},
        {m.mnuMain_Play_Stretch, C::Stretch},
        {m.mnuMain_Play_Tile, C::Tile},
    };
    for (const auto &[a, command] : mirrors) {
        a->setEnabled(viewer.commandEnabled(command));
        if (a->isCheckable())
            a->setChecked(viewer.commandChecked(command));
    }
}

void UpdateTreePopup(TfrmMain &form, const CommandFacts &f)
{
    const MenuActions &m = form.menus;
    m.popmnuTV_Properties->setVisible(f.treeHasSelectedNode);
    m.popmnuTV_CollapseTreeView->setEnabled(f.treeHasContent);
    m.popmnuTV_ExpandTreeView->setEnabled(f.treeHasContent);
    m.popmnuTV_Convert->setEnabled(f.folderToConvert);
}

void UpdateListPopup(TfrmMain &form, const CommandFacts &f)
{
    const FilePair pair = filePair(f);
    const bool one = pair == FilePair::One, several = pair == FilePair::Several;
    const MenuActions &m = form.menus;
    m.popmnuLV_Copy1File->setVisible(one);
    m.popmnuLV_Delete1File->setVisible(one);
    m.popmnuLV_CopySelectedFiles->setVisible(several);
    m.popmnuLV_DeleteSelectedFiles->setVisible(several);
    bool underCopy = one || several;
    const bool underDelete = one || several;
    const bool execute = underCopy;
    const bool selectAll = f.listHasFiles;
    if (underCopy && !selectAll)
        underCopy = false;
    const bool properties = f.hasList && f.listHasCurrentItem && f.listItemCount > 0 && f.treeHasSelectedNode;
    m.popmnuLV_TiretUnderCopy->setVisible(underCopy);
    m.popmnuLV_TiretUnderDelete->setVisible(underDelete);
    m.popmnuLV_ExecuteFile->setVisible(execute);
    m.popmnuLV_ExecuteFile->setEnabled(f.oneFileToAct);
    m.popmnuLV_Convert->setVisible(execute);
    m.popmnuLV_Convert->setEnabled(f.filesToConvert);
    m.popmnuLV_TiretUnderExecute->setVisible(execute);
    m.popmnuLV_SelectAll->setVisible(selectAll);
    m.popmnuLV_TiretUnderSelect->setVisible(selectAll && properties);
    m.popmnuLV_Properties->setVisible(properties);
}

void ConnectMenuStates(TfrmMain &form)
{
    // Separators are decided by the rules above, not collapsed by the menus.
    for (QMenu *m : {form.mnuMain_File, form.popmnuListView, form.popmnuTreeView})
        m->setSeparatorsCollapsible(false);
    QObject::connect(form.mnuMain_File, &QMenu::aboutToShow, &form,
                     [&form] { UpdateFileMenu(form, GatherCommandFacts(form)); });
    QObject::connect(form.mnuMain_View, &QMenu::aboutToShow, &form,
                     [&form] { UpdateViewMenu(form, GatherCommandFacts(form)); });
    QObject::connect(form.mnuMain_Play, &QMenu::aboutToShow, &form, [&form] { UpdatePlayMenu(form); });
    QObject::connect(form.popmnuTreeView, &QMenu::aboutToShow, &form,
                     [&form] { UpdateTreePopup(form, GatherCommandFacts(form)); });
    QObject::connect(form.popmnuListView, &QMenu::aboutToShow, &form,
                     [&form] { UpdateListPopup(form, GatherCommandFacts(form)); });
}
