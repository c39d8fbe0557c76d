#include "viewers/ViewerDispatch.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "components/TGIFImage.h"
#include "components/TPicture.h"
#include "platform/Ui.h"
#include "viewers/Backgrnd.h"
#include "viewers/View_ANI.h"
#include "viewers/View_AVI.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_ICO.h"
#include "viewers/View_ImageEn.h"
#include "viewers/View_JPG.h"
#include "viewers/View_Sound.h"
#include "viewers/ViewerPane.h"
#include "viewers/pages/PageKit.h"
#include "viewers/previews/Previews.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QToolButton>

namespace {
void colour(QWidget *w, const QColor &c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
    if (auto *scroll = qobject_cast<QScrollArea *>(w))
        scroll->viewport()->setPalette(p);
}
} // namespace

void nbkViewerPageChanged(ViewerPane &pane)
{
    App &app = pane.app;
    if (!app.st.FormReady)
        return;
    if (pane.currentViewerPage() == QStringLiteral("VIDE"))
        app.st.Selection.FileType = mtNone;
    ApplyPageBackground(pane, app.st.Selection.FileType);
    SetViewerButtons(pane, app.st.Selection.FileType);
}

void ApplyPageBackground(ViewerPane &pane, MediaType type)
{
    if (type == mtNone)
        return;
    if (!isMediaType(type))
        InternalError(pane.app, 7, SelectText("Type de fichier incorrect", "Bad file type."));
    TfrmStoreBackground store; // created for this call only
    switch (type) {
    case mtANI:
        TileImage(store.picStoreANI->pixmap(), pane.pageANI->picBackgroundANI);
        break;
    case mtAVI:
        colour(pane.pageAVI_VIDEO->ListViewAVIPlayer, QColor(0x00, 0x80, 0x80));
        TileImage(store.PicStoreAVI->pixmap(), pane.pageAVI_WIN->picBackGroundAVI_WIN);
        // Let the tiles paint before the clip opens, without taking a click meanwhile.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        break;
    case mtBMP:
        colour(pane.pageBMP->scrollBMP, QColor(0xD1, 0xEB, 0xFE));
        break;
    case mtJPG:
        colour(pane.pageJPG->scrollJPG, QColor(0xFD, 0xFD, 0xC1));
        break;
    case mtMID:
        TileImage(store.PicStoreMID->pixmap(), pane.pageMID->picBackgroundMID);
        break;
    case mtWAV:
        TileImage(store.PicStoreWAV->pixmap(), pane.pageWAV->picBackgroundWAV);
        break;
    case mtGIF:
        colour(pane.pageGIF->ScrollGIF, Qt::white);
        break;
    case mtPCX:
        colour(pane.pagePCX->ScrollPCX, QColor(0x80, 0xFF, 0x80));
        break;
    case mtTIF:
        colour(pane.pageTIF->ScrollTIF, QColor(0x80, 0x80, 0xC0));
        break;
    case mtWMF:
        colour(pane.pageWMF->ScrollWMF, QColor(0x80, 0xFF, 0xFF));
        break;
    case mtEMF:
        colour(pane.pageEMF->ScrollEMF, QColor(0x40, 0x80, 0x80));
        break;
    case mtICO:
        TileImage(store.picStoreICO->pixmap(), pane.pageICO->picBackgroundICO);
        break;
    default:
        break;
    }
}

void SetViewerButtons(ViewerPane &pane, MediaType type)
{
    // Play, Stop, Preview, Loop, Stretch, Tile by type; -1 first.
    static const bool kTable[14][6] = {
        {0, 0, 0, 0, 0, 0}, // none
        {0, 0, 0, 0, 0, 0}, // ALL (never viewed)
        {1, 1, 0, 0, 0, 0}, // ANI
        {1, 1, 1, 1, 0, 0}, // AVI
        {1, 0, 1, 0, 1, 0}, // BMP
        {1, 0, 1, 0, 1, 0}, // JPG
        {1, 1, 0, 1, 0, 0}, // MID
        {1, 1, 0, 1, 0, 0}, // WAV
        {1, 1, 1, 0, 0, 1}, // GIF
        {1, 0, 1, 0, 0, 0}, // PCX
        {1, 0, 1, 0, 0, 0}, // TIF
        {1, 0, 1, 0, 0, 0}, // WMF
        {1, 0, 1, 0, 0, 0}, // EMF
        {1, 0, 0, 0, 0, 0}, // ICO
    };
    if (type != mtNone && !isMediaType(type))
        InternalError(pane.app, 9, SelectText("Type de fichier incorrect", "Bad file type."));
    for (QToolButton *b : {pane.btnFirstFile, pane.btnPreviousFile, pane.btnNextFile, pane.btnLastFile})
        b->setEnabled(true);
    const bool *row = kTable[code(type) + 1];
    QToolButton *buttons[6] = {pane.btnPlayFile, pane.btnStopPlayingFile, pane.btnPreview,
                               pane.btnLoop,     pane.btnStretch,         pane.btnTile};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setEnabled(row[i]);
    // A file selected but not shown (Wiew_When_Click_ListView off) can be shown with Play.
    const SelectionRecord &s = pane.app.st.Selection;
    if (type == mtNone && s.Item >= 0 && s.ItemKind == ListItemKind::File)
        pane.btnPlayFile->setEnabled(true);
}

void ShowFileByType(ViewerPane &pane, MediaType type, const QString &path)
{
    switch (type) {
    case mtANI:
        pane.pageANI->LoadANI(path);
        return;
    case mtAVI:
        pane.pageAVI_WIN->LoadAVI(path);
        return;
    case mtBMP:
        pane.pageBMP->LoadBMP(path);
        return;
    case mtJPG:
        pane.pageJPG->LoadJPG(path);
        return;
    case mtMID:
        pane.pageMID->LoadMID(path);
        return;
    case mtWAV:
        pane.pageWAV->LoadWAV(path);
        return;
    case mtGIF:
        pane.pageGIF->LoadGIF(path);
        return;
    case mtPCX:
        pane.pagePCX->LoadPCX(path);
        return;
    case mtTIF:
        pane.pageTIF->LoadTIF(path);
        return;
    case mtWMF:
        pane.pageWMF->LoadWMF(path);
        return;
    case mtEMF:
        pane.pageEMF->LoadEMF(path);
        return;
    case mtICO:
        pane.pageICO->LoadICO(path);
        return;
    default:
        InternalError(pane.app, 3, SelectText("Extension inconnue", "Unknown extension."));
    }
}

void StopCurrentFile(ViewerPane &pane)
{
    switch (pane.app.st.Selection.FileType) {
    case mtANI:
        pane.pageANI->StopANI();
        return;
    case mtAVI:
        pane.pageAVI_WIN->StopAVI();
        return;
    case mtMID:
        pane.pageMID->StopMID();
        return;
    case mtWAV:
        pane.pageWAV->StopWAV();
        return;
    case mtGIF:
        pane.pageGIF->StopGIF();
        return;
    case mtNone:
    case mtBMP:
    case mtJPG:
    case mtPCX:
    case mtTIF:
    case mtWMF:
    case mtEMF:
    case mtICO:
        return;
    default:
        InternalError(pane.app, 6, SelectText("Type de fichier incorrect", "Bad file type."));
    }
}

void SetLoopOfType(ViewerPane &pane, bool pressed)
{
    AppState &st = pane.app.st;
    switch (st.Selection.FileType) {
    case mtAVI:
        pane.pageAVI_WIN->setLoop(pressed);
        return;
    case mtMID:
        st.ViewedMID.Repeat = pressed;
        return;
    case mtWAV:
        st.ViewedWAV.Repeat = pressed;
        return;
    case mtNone:
    case mtANI:
    case mtBMP:
    case mtJPG:
    case mtGIF:
    case mtPCX:
    case mtTIF:
    case mtWMF:
    case mtEMF:
    case mtICO:
        return;
    default:
        InternalError(pane.app, 18, SelectText("Type de fichier incorrect", "Bad file type."));
    }
}

void PreviewCurrentFile(ViewerPane &pane)
{
    switch (pane.app.st.Selection.FileType) {
    case mtAVI:
    case mtBMP:
    case mtJPG:
    case mtGIF:
    case mtPCX:
    case mtTIF:
    case mtWMF:
    case mtEMF:
        ShowPreview(pane, pane.app.st.Selection.FileType);
        return;
    case mtANI:
    case mtMID:
    case mtWAV:
    case mtICO:
        pane.app.ui().beep(platform::BeepKind::Plain);
        return;
    case mtNone:
        return; // nothing on view: nothing to preview
    default:
        InternalError(pane.app, 4, SelectText("Type de fichier inconnu", "Unknown file type."));
    }
}

void ApplyStretch(ViewerPane &pane)
{
    const bool on = pane.btnStretch->isChecked();
    pagekit::showPictureIn(pane.pageBMP->scrollBMP, pane.pageBMP->picBMP, on);
    pagekit::showPictureIn(pane.pageJPG->scrollJPG, pane.pageJPG->picJPG, on);
}

QString PlayCaptionOfType(ViewerPane &pane, MediaType type)
{
    switch (type) {
    case mtANI:
    case mtAVI:
    case mtMID:
    case mtWAV:
        return SelectText("&Jouer le fichier", "&Play file");
    case mtBMP:
    case mtJPG:
    case mtPCX:
    case mtTIF:
    case mtWMF:
    case mtEMF:
    case mtICO:
        return SelectText("&Rafraîchir l'image", "&Refresh image");
    case mtGIF:
        return SelectText("&Jouer/Rafraîchir l'image", "&Play/Refresh image");
    case mtNone:
        return {};
    default:
        break;
    }
    InternalError(pane.app, 11, SelectText("Type de fichier incorrect", "Bad file type."));
}
