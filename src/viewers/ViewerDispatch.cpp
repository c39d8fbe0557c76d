#include "viewers/ViewerDispatch.h"

#include "shell/App.h"
#include "shell/Language.h"
#include "shell/Libry.h"
#include "shell/Main.h"
#include "viewers/Backgrnd.h"

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

void nbkViewerPageChanged(App &app)
{
    if (!app.st.FormReady)
        return;
    if (app.frmMain->currentViewerPage() == QStringLiteral("VIDE"))
        app.st.Selection.FileType = mtNone;
    ApplyPageBackground(app, app.st.Selection.FileType);
    SetViewerButtons(app, app.st.Selection.FileType);
}

void ApplyPageBackground(App &app, int mediaType)
{
    if (mediaType == mtNone)
        return;
    if (mediaType < 1 || mediaType > 12)
        InternalError(app, 7, SelectText("Type de fichier incorrect", "Bad file type."));
    TfrmMain *f = app.frmMain;
    TfrmStoreBackground store; // created for this call only
    switch (mediaType) {
    case mtANI:
        TileImage(store.picStoreANI->pixmap(), f->picBackgroundANI);
        break;
    case mtAVI:
        colour(f->ListViewAVIPlayer, QColor(0x00, 0x80, 0x80));
        TileImage(store.PicStoreAVI->pixmap(), f->picBackGroundAVI_WIN);
        QApplication::processEvents();
        break;
    case mtBMP:
        colour(f->scrollBMP, QColor(0xD1, 0xEB, 0xFE));
        break;
    case mtJPG:
        colour(f->scrollJPG, QColor(0xFD, 0xFD, 0xC1));
        break;
    case mtMID:
        TileImage(store.PicStoreMID->pixmap(), f->picBackgroundMID);
        break;
    case mtWAV:
        TileImage(store.PicStoreWAV->pixmap(), f->picBackgroundWAV);
        break;
    case mtGIF:
        colour(f->ScrollGIF, Qt::white);
        break;
    case mtPCX:
        colour(f->ScrollPCX, QColor(0x80, 0xFF, 0x80));
        break;
    case mtTIF:
        colour(f->ScrollTIF, QColor(0x80, 0x80, 0xC0));
        break;
    case mtWMF:
        colour(f->ScrollWMF, QColor(0x80, 0xFF, 0xFF));
        break;
    case mtEMF:
        colour(f->ScrollEMF, QColor(0x40, 0x80, 0x80));
        break;
    case mtICO:
        TileImage(store.picStoreICO->pixmap(), f->picBackgroundICO);
        break;
    }
}

void SetViewerButtons(App &app, int mediaType)
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
    if (mediaType < -1 || mediaType == 0 || mediaType > 12)
        InternalError(app, 9, SelectText("Type de fichier incorrect", "Bad file type."));
    TfrmMain *f = app.frmMain;
    for (QToolButton *b : {f->btnFirstFile, f->btnPreviousFile, f->btnNextFile, f->btnLastFile})
        b->setEnabled(true);
    const bool *row = kTable[mediaType + 1];
    QToolButton *buttons[6] = {f->btnPlayFile, f->btnStopPlayingFile, f->btnPreview,
                               f->btnLoop,     f->btnStretch,         f->btnTile};
    for (int i = 0; i < 6; ++i)
        buttons[i]->setEnabled(row[i]);
}

QString PlayCaptionOfType(App &app, int mediaType)
{
    switch (mediaType) {
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
    }
    InternalError(app, 11, SelectText("Type de fichier incorrect", "Bad file type."));
}
