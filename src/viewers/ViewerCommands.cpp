#include "viewers/ViewerCommands.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "components/TGIFImage.h"
#include "platform/Ui.h"
#include "viewers/View_GIF.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/ViewerPane.h"

#include <QToolButton>

namespace {

void beep(ViewerPane &pane)
{
    pane.app.ui().beep(platform::BeepKind::Plain);
}

// The moves need a folder on view and the list of the Selection.
bool canMove(ViewerPane &pane)
{
    const CurrentViewRecord &view = pane.app.st.CurrentView;
    return !view.CurrentFolder.isEmpty() && view.CurrentNode != kNoNode && pane.app.lists;
}

} // namespace

void btnPlayFileClick(ViewerPane &pane)
{
    App &app = pane.app;
    SelectionRecord &s = app.st.Selection;
    if (s.Item < 0 || s.ItemKind != ListItemKind::File)
        return;
    s.FileType = TypeOfFile(s.FileName);
    if (s.FileType == mtNone)
        InternalError(app, 2, SelectText("Type de fichier inconnu.", "Unknown file type."));
    const QString path = app.st.CurrentView.CurrentFolder + s.FileName;
    const MediaType type = s.FileType;
    // A second Play while a load lets events run would load over the first one: it waits.
    pane.runLoad([&] { ShowFileByType(pane, type, path); });
}

void btnStopPlayingFileClick(ViewerPane &pane)
{
    StopCurrentFile(pane);
}

void btnPreviewClick(ViewerPane &pane)
{
    PreviewCurrentFile(pane);
}

void btnLoopClick(ViewerPane &pane)
{
    SetLoopOfType(pane, pane.btnLoop->isChecked());
}

void btnStretchClick(ViewerPane &pane)
{
    ApplyStretch(pane);
}

void btnTileClick(ViewerPane &pane)
{
    const bool on = pane.btnTile->isChecked();
    pane.pageGIF->picGIF->setTile(on);
    pane.app.st.ViewedGIF.Tile = on;
}

void btnFirstFileClick(ViewerPane &pane)
{
    if (!canMove(pane)) {
        beep(pane);
        return;
    }
    FileListPort &list = *pane.app.lists;
    if (!list.currentNodeIsMediaFolder()) {
        list.selectItem(0);
        return;
    }
    for (int row = 0; row < list.itemCount(); ++row) {
        if (list.isFileItem(row)) {
            list.selectItem(row);
            return;
        }
    }
    // Only folders here: the move is taken away, without a beep.
    pane.btnFirstFile->setEnabled(false);
}

void btnLastFileClick(ViewerPane &pane)
{
    if (!canMove(pane) || !pane.app.lists->currentNodeIsMediaFolder()) {
        beep(pane);
        return;
    }
    FileListPort &list = *pane.app.lists;
    const int last = list.itemCount() - 1;
    if (last >= 0 && list.isFileItem(last))
        list.selectItem(last);
    else
        beep(pane);
}

void btnNextFileClick(ViewerPane &pane)
{
    if (!canMove(pane)) {
        beep(pane);
        return;
    }
    const int item = pane.app.st.Selection.Item;
    if (item < 0) {
        btnFirstFileClick(pane);
        beep(pane);
        return;
    }
    FileListPort &list = *pane.app.lists;
    if (!list.currentNodeIsMediaFolder() || list.itemCount() - 1 == item) {
        beep(pane);
        return;
    }
    if (list.isFileItem(item + 1))
        list.selectItem(item + 1);
    else
        beep(pane);
}

void btnPreviousFileClick(ViewerPane &pane)
{
    if (!canMove(pane)) {
        beep(pane);
        return;
    }
    const int item = pane.app.st.Selection.Item;
    if (item < 0) {
        btnFirstFileClick(pane);
        beep(pane);
        return;
    }
    FileListPort &list = *pane.app.lists;
    if (!list.currentNodeIsMediaFolder() || item == 0) {
        beep(pane);
        return;
    }
    list.deselectAll();
    if (list.isFileItem(item - 1))
        list.selectItem(item - 1);
    else
        beep(pane); // the first file of a folder with sub-folders: nothing stays selected
}

void ToggleLoopButton(ViewerPane &pane)
{
    pane.btnLoop->setChecked(!pane.btnLoop->isChecked());
    btnLoopClick(pane);
}

void ToggleStretchButton(ViewerPane &pane)
{
    pane.btnStretch->setChecked(!pane.btnStretch->isChecked());
    btnStretchClick(pane);
}

void ToggleTileButton(ViewerPane &pane)
{
    pane.btnTile->setChecked(!pane.btnTile->isChecked());
    btnTileClick(pane);
}
