#include "viewers/ViewerCommands.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "app/MediaTypes.h"
#include "components/TGIFImage.h"
#include "platform/Ui.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/ViewerPage.h"
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
    // A search's results are files of many folders: they are walked as a folder's are.
    return ((!view.CurrentFolder.isEmpty() && view.CurrentNode != kNoNode) || view.SearchShown) &&
           pane.app.selectionList;
}

} // namespace

void btnPlayFileClick(ViewerPane &pane)
{
    App &app = pane.app;
    const SelectionRecord &s = app.st.Selection;
    if (s.Item < 0 || s.ItemKind != ListItemKind::File)
        return;
    const MediaType type = TypeOfFile(s.FileName);
    if (type == mtNone)
        InternalError(app, 2, SelectText("Type de fichier inconnu.", "Unknown file type."));
    app.st.OnView.FileType = type;
    const QString path = SelectionFolder(app.st) + s.FileName;
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
    SetLoopOfType(pane, pane.loopPressed());
}

void btnStretchClick(ViewerPane &pane)
{
    ApplyStretch(pane);
}

void btnTileClick(ViewerPane &pane)
{
    const bool on = pane.commandChecked(ViewerCommand::Tile);
    for (MediaType t : kMediaTypes)
        if (ViewerPage *page = pane.page(t))
            page->setTile(on);
}

void btnFirstFileClick(ViewerPane &pane)
{
    if (!canMove(pane)) {
        beep(pane);
        return;
    }
    FileListPort &list = *pane.app.selectionList;
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
    pane.button(ViewerCommand::First)->setEnabled(false);
}

void btnLastFileClick(ViewerPane &pane)
{
    if (!canMove(pane) || !pane.app.selectionList->currentNodeIsMediaFolder()) {
        beep(pane);
        return;
    }
    FileListPort &list = *pane.app.selectionList;
    const int last = list.itemCount() - 1;
    if (last >= 0 && list.isFileItem(last))
        list.selectItem(last);
    else
        beep(pane);
}

namespace {

// Next (+1) and Previous (-1): the neighbour of the item on view, when it is a file.
void step(ViewerPane &pane, int by)
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
    FileListPort &list = *pane.app.selectionList;
    const int next = item + by;
    if (!list.currentNodeIsMediaFolder() || next < 0 || next >= list.itemCount()) {
        beep(pane);
        return;
    }
    if (by < 0)
        list.deselectAll();
    if (list.isFileItem(next))
        list.selectItem(next);
    else
        beep(pane); // backwards: the first file of a folder with sub-folders; nothing stays selected
}

} // namespace

void btnNextFileClick(ViewerPane &pane)
{
    step(pane, +1);
}

void btnPreviousFileClick(ViewerPane &pane)
{
    step(pane, -1);
}

namespace {
void toggle(ViewerPane &pane, ViewerCommand command, void (*click)(ViewerPane &))
{
    QToolButton *b = pane.button(command);
    b->setChecked(!b->isChecked());
    click(pane);
}
} // namespace

void ToggleLoopButton(ViewerPane &pane)
{
    toggle(pane, ViewerCommand::Loop, btnLoopClick);
}

void ToggleStretchButton(ViewerPane &pane)
{
    toggle(pane, ViewerCommand::Stretch, btnStretchClick);
}

void ToggleTileButton(ViewerPane &pane)
{
    toggle(pane, ViewerCommand::Tile, btnTileClick);
}

void RunViewerCommand(ViewerPane &pane, ViewerCommand command)
{
    // In the order of ViewerCommand.
    static constexpr void (*const kClicks[])(ViewerPane &) = {
        btnFirstFileClick,       btnPreviousFileClick, btnNextFileClick, btnLastFileClick, btnPlayFileClick,
        btnStopPlayingFileClick, btnPreviewClick,      btnLoopClick,     btnStretchClick,  btnTileClick};
    kClicks[static_cast<size_t>(command)](pane);
}
