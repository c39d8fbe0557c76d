#include "shell/ViewerPopup.h"

#include "app/App.h"
#include "convert/window/ConvertCommands.h"
#include "shell/Main.h"
#include "viewers/ViewerPane.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace {
void showWith(QAction *item, const ViewerPane &viewer, ViewerCommand command)
{
    item->setVisible(viewer.commandEnabled(command));
    if (item->isCheckable())
        item->setChecked(viewer.commandChecked(command));
}
} // namespace

void UpdateViewerPopup(TfrmMain &form)
{
    const ViewerPane &viewer = form.viewerPane();
    const MenuActions &m = form.menus;
    using C = ViewerCommand;
    for (QAction *separator :
         {m.popmnuVF_Tiret_UnderStop, m.popmnuVF_Tiret_UnderPreview, m.popmnuVF_Tiret_UnderTile})
        separator->setVisible(true);
    showWith(m.popmnuVF_PlayFile, viewer, C::Play);
    m.popmnuVF_PlayFile->setText(viewer.playCaption());
    showWith(m.popmnuVF_StopPlayingFile, viewer, C::Stop);
    if (!m.popmnuVF_PlayFile->isVisible() && !m.popmnuVF_StopPlayingFile->isVisible())
        m.popmnuVF_Tiret_UnderStop->setVisible(false);
    showWith(m.popmnuVF_PreviewFile, viewer, C::Preview);
    if (!m.popmnuVF_PreviewFile->isVisible())
        m.popmnuVF_Tiret_UnderPreview->setVisible(false);
    showWith(m.popmnuVF_Loop, viewer, C::Loop);
    showWith(m.popmnuVF_Stretch, viewer, C::Stretch);
    showWith(m.popmnuVF_Tile, viewer, C::Tile);
    if (!m.popmnuVF_Loop->isVisible() && !m.popmnuVF_Stretch->isVisible() && !m.popmnuVF_Tile->isVisible())
        m.popmnuVF_Tiret_UnderTile->setVisible(false);
    for (QAction *always : {m.popmnuVF_SaveFile, m.popmnuVF_Tiret_UnderSaveAs, m.popmnuVF_Execute,
                            m.popmnuVF_Tiret_UnderExecute, m.popmnuVF_Properties})
        always->setVisible(true);
    m.popmnuVF_CopyPicture->setVisible(viewer.canCopyPicture());
    m.popmnuVF_Convert->setVisible(true);
    m.popmnuVF_Convert->setEnabled(CanConvertFileOnView(form.app));
}

void ConnectViewerPopup(TfrmMain &form)
{
    ViewerPane *viewer = &form.viewerPane();
    // Which separators show is decided above, not by the menu.
    form.popmnuViewFile->setSeparatorsCollapsible(false);
    QObject::connect(viewer, &ViewerPane::viewFileContextMenuRequested, &form, [&form](const QPoint &at) {
        UpdateViewerPopup(form);
        form.popmnuViewFile->popup(at);
    });
}
