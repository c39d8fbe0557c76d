#include "viewers/ViewerDispatch.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "platform/Ui.h"
#include "viewers/ViewerPage.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/ViewerZoom.h"

#include <QToolButton>

namespace {

// The page of the type, or the internal error of the operation.
ViewerPage &pageOf(const ViewerPane &pane, MediaType type, int error, const char *fr, const char *en)
{
    ViewerPage *page = isMediaType(type) ? pane.page(type) : nullptr;
    if (!page)
        InternalError(pane.app, error, SelectText(QString::fromUtf8(fr), QString::fromUtf8(en)));
    return *page;
}

ViewerPage &pageOnView(const ViewerPane &pane, int error, const char *fr, const char *en)
{
    return pageOf(pane, pane.app.st.OnView.FileType, error, fr, en);
}

} // namespace

void nbkViewerPageChanged(ViewerPane &pane)
{
    App &app = pane.app;
    if (!app.st.FormReady)
        return;
    if (pane.currentViewerPage() == QStringLiteral("VIDE"))
        app.st.OnView.FileType = mtNone;
    ApplyPageBackground(pane, app.st.OnView.FileType);
    SetViewerButtons(pane, app.st.OnView.FileType);
}

void ApplyPageBackground(ViewerPane &pane, MediaType type)
{
    if (type == mtNone)
        return;
    pageOf(pane, type, 7, "Type de fichier incorrect", "Bad file type.").applyBackground();
}

void SetViewerButtons(ViewerPane &pane, MediaType type)
{
    const ViewerTools tools =
        type == mtNone ? ViewerTools{.play = false}
                       : pageOf(pane, type, 9, "Type de fichier incorrect", "Bad file type.").tools();
    using C = ViewerCommand;
    for (C move : {C::First, C::Previous, C::Next, C::Last})
        pane.button(move)->setEnabled(true);
    pane.button(C::Play)->setEnabled(tools.play);
    pane.button(C::Stop)->setEnabled(tools.stop);
    pane.button(C::Preview)->setEnabled(tools.preview);
    pane.button(C::Loop)->setEnabled(tools.loop);
    pane.button(C::Stretch)->setEnabled(tools.stretch);
    pane.button(C::Tile)->setEnabled(tools.tile);
    // A file selected but not shown (Wiew_When_Click_ListView off) can be shown with Play.
    const SelectionRecord &s = pane.app.st.Selection;
    if (type == mtNone && s.Item >= 0 && s.ItemKind == ListItemKind::File)
        pane.button(C::Play)->setEnabled(true);
}

void ShowFileByType(ViewerPane &pane, MediaType type, const QString &path)
{
    LoadOnPage(pane, &pageOf(pane, type, 3, "Extension inconnue", "Unknown extension."), path);
}

void LoadOnPage(ViewerPane &pane, ViewerPage *page, const QString &path)
{
    App &app = pane.app;
    if (!app.st.FormReady)
        return;
    const bool shown = page->load(path).ok();
    pane.zoom().fileLoaded(page);
    if (!shown)
        ShowFileAccessError(app);
}

void StopCurrentFile(ViewerPane &pane)
{
    if (pane.app.st.OnView.FileType == mtNone)
        return;
    pageOnView(pane, 6, "Type de fichier incorrect", "Bad file type.").stop();
}

void SetLoopOfType(ViewerPane &pane, bool pressed)
{
    if (pane.app.st.OnView.FileType == mtNone)
        return;
    pageOnView(pane, 18, "Type de fichier incorrect", "Bad file type.").setLoop(pressed);
}

void PreviewCurrentFile(ViewerPane &pane)
{
    if (pane.app.st.OnView.FileType == mtNone)
        return; // nothing on view: nothing to preview
    ViewerPage &page = pageOnView(pane, 4, "Type de fichier inconnu", "Unknown file type.");
    if (page.tools().preview)
        page.preview();
    else
        pane.app.ui().beep(platform::BeepKind::Plain);
}

void ApplyStretch(ViewerPane &pane)
{
    const bool on = pane.commandChecked(ViewerCommand::Stretch);
    for (MediaType t : kMediaTypes)
        if (ViewerPage *page = pane.page(t))
            page->setStretch(on);
}

QString PlayCaptionOfType(const ViewerPane &pane, MediaType type)
{
    if (type == mtNone)
        return {};
    return pageOf(pane, type, 11, "Type de fichier incorrect", "Bad file type.").playCaption();
}
