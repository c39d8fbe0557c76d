#include "shell/ViewerPopup.h"

#include "app/App.h"
#include "shell/Main.h"
#include "viewers/ViewerCommands.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/ViewerPane.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {
void showWith(QAction *item, const QToolButton *button)
{
    item->setVisible(button->isEnabled());
    if (item->isCheckable())
        item->setChecked(button->isChecked());
}
} // namespace

void UpdateViewerPopup(TfrmMain &form)
{
    ViewerPane &viewer = form.viewerPane();
    const auto item = [&form](const char *name) { return form.action(QString::fromLatin1(name)); };
    for (const char *separator :
         {"popmnuVF_Tiret_UnderStop", "popmnuVF_Tiret_UnderPreview", "popmnuVF_Tiret_UnderTile"})
        item(separator)->setVisible(true);
    QAction *play = item("popmnuVF_PlayFile");
    showWith(play, viewer.btnPlayFile);
    play->setText(PlayCaptionOfType(viewer, form.app.st.Selection.FileType));
    QAction *stop = item("popmnuVF_StopPlayingFile");
    showWith(stop, viewer.btnStopPlayingFile);
    if (!play->isVisible() && !stop->isVisible())
        item("popmnuVF_Tiret_UnderStop")->setVisible(false);
    QAction *preview = item("popmnuVF_PreviewFile");
    showWith(preview, viewer.btnPreview);
    if (!preview->isVisible())
        item("popmnuVF_Tiret_UnderPreview")->setVisible(false);
    QAction *loop = item("popmnuVF_Loop");
    QAction *stretch = item("popmnuVF_Stretch");
    QAction *tile = item("popmnuVF_Tile");
    showWith(loop, viewer.btnLoop);
    showWith(stretch, viewer.btnStretch);
    showWith(tile, viewer.btnTile);
    if (!loop->isVisible() && !stretch->isVisible() && !tile->isVisible())
        item("popmnuVF_Tiret_UnderTile")->setVisible(false);
    for (const char *always : {"popmnuVF_SaveFile", "popmnuVF_Tiret_UnderSaveAs", "popmnuVF_Execute",
                               "popmnuVF_Tiret_UnderExecute", "popmnuVF_Properties"})
        item(always)->setVisible(true);
}

void ConnectViewerPopup(TfrmMain &form)
{
    ViewerPane *viewer = &form.viewerPane();
    // Which separators show is decided above, not by the menu.
    form.popmnuViewFile->setSeparatorsCollapsible(false);
    const auto onTrigger = [&form, viewer](const char *name, void (*command)(ViewerPane &)) {
        QObject::connect(form.action(QString::fromLatin1(name)), &QAction::triggered, viewer,
                         [viewer, command] { command(*viewer); });
    };
    onTrigger("popmnuVF_PlayFile", btnPlayFileClick);
    onTrigger("popmnuVF_StopPlayingFile", btnStopPlayingFileClick);
    onTrigger("popmnuVF_PreviewFile", btnPreviewClick);
    onTrigger("popmnuVF_Loop", ToggleLoopButton);
    onTrigger("popmnuVF_Stretch", ToggleStretchButton);
    onTrigger("popmnuVF_Tile", ToggleTileButton);
    QObject::connect(viewer, &ViewerPane::viewFileContextMenuRequested, &form, [&form](const QPoint &at) {
        UpdateViewerPopup(form);
        form.popmnuViewFile->popup(at);
    });
}
