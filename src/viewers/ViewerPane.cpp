#include "viewers/ViewerPane.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "components/TAniIcon.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "components/controls/TURLLabel.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "platform/Ui.h"
#include "viewers/View_ANI.h"
#include "viewers/View_AVI.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_ICO.h"
#include "viewers/View_ImageEn.h"
#include "viewers/View_JPG.h"
#include "viewers/View_Sound.h"
#include "viewers/View_VIDE.h"
#include "viewers/ViewerCommands.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/previews/Pw_AVI_V.h"
#include "viewers/previews/Pw_AVI_W.h"

#include <QLabel>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QToolButton *viewerButton(QToolBar *bar, const char *name, const char *art, bool checkable = false)
{
    auto *b = new QToolButton(bar);
    b->setObjectName(name);
    b->setIcon(ArtToolbarIcon("viewer", art));
    b->setAutoRaise(true);
    b->setCheckable(checkable);
    // Tab reaches the buttons; a click leaves the focus with the tree or list it acts on.
    b->setFocusPolicy(Qt::TabFocus);
    bar->addWidget(b);
    return b;
}

const char *const kHomePageAddress = "lumavista.example.org/";
} // namespace

ViewerPane::ViewerPane(App &application, QWidget *parent) : QFrame(parent), app(application)
{
    setObjectName("pnlRight");
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(1, 1, 1, 1);
    lay->setSpacing(0);
    createToolbar();
    lay->addWidget(tbViewer);

    nbkViewer = new QStackedWidget(this);
    nbkViewer->setObjectName("nbkViewer");
    nbkViewer->setAutoFillBackground(true);
    nbkViewer->setBackgroundRole(QPalette::Button);
    lay->addWidget(nbkViewer, 1);
    pageVIDE = new TViewPageVIDE(nbkViewer);
    pageANI = new TViewPageANI(*this, nbkViewer);
    pageAVI_WIN = new TViewPageAVI_WIN(*this, nbkViewer);
    pageAVI_VIDEO = new TViewPageAVI_VIDEO(nbkViewer);
    pageBMP = new TViewPageBMP(*this, nbkViewer);
    pageJPG = new TViewPageJPG(*this, nbkViewer);
    pageMID = new TViewPageMID(*this, nbkViewer);
    pageWAV = new TViewPageWAV(*this, nbkViewer);
    pageGIF = new TViewPageGIF(*this, nbkViewer);
    pagePCX = new TViewPagePCX(*this, nbkViewer);
    pageTIF = new TViewPageTIF(*this, nbkViewer);
    pageWMF = new TViewPageWMF(*this, nbkViewer);
    pageEMF = new TViewPageEMF(*this, nbkViewer);
    pageICO = new TViewPageICO(*this, nbkViewer);
    frmPreview_AVI_VIDEO = new TfrmPreview_AVI_VIDEO(this);
    frmPreview_AVI_WINDOWS = new TfrmPreview_AVI_WINDOWS(this);
    connect(pageAVI_VIDEO->MediaPlayerAVI, &TMediaPlayer::OnNotify, pageAVI_WIN,
            &TViewPageAVI_WIN::MediaPlayerAVINotify);

    TURLLabel *link = pageVIDE->URLLabelHomePage;
    link->setText(QString::fromLatin1(kHomePageAddress));
    link->setAddress(QString::fromLatin1(kHomePageAddress));
    connect(link, &TURLLabel::openRequested, this, [this](const QUrl &url) { app.ui().openUrl(url); });
    connect(pageVIDE->picPresentation, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        emit presentationContextMenuRequested(pageVIDE->picPresentation->mapToGlobal(p));
    });
    for (QWidget *picture : std::initializer_list<QWidget *>{
             pageANI->picANI, pageBMP->picBMP, pageJPG->picJPG, pageGIF->picGIF, pagePCX->PicPcx,
             pageTIF->picTIF, pageWMF->picWMF, pageEMF->picEMF, pageICO->picICO})
        offerPopup(picture);
    connect(nbkViewer, &QStackedWidget::currentChanged, this, [this] { nbkViewerPageChanged(*this); });
    connectCommands();
    // Before any file is shown only the navigation is offered.
    SetViewerButtons(*this, mtNone);
}

void ViewerPane::offerPopup(QWidget *control)
{
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this,
            [this, control](const QPoint &p) { emit viewFileContextMenuRequested(control->mapToGlobal(p)); });
}

void ViewerPane::connectCommands()
{
    const auto onClick = [this](QToolButton *button, void (*command)(ViewerPane &)) {
        connect(button, &QToolButton::clicked, this, [this, command] { command(*this); });
    };
    onClick(btnFirstFile, btnFirstFileClick);
    onClick(btnPreviousFile, btnPreviousFileClick);
    onClick(btnNextFile, btnNextFileClick);
    onClick(btnLastFile, btnLastFileClick);
    onClick(btnPlayFile, btnPlayFileClick);
    onClick(btnStopPlayingFile, btnStopPlayingFileClick);
    onClick(btnPreview, btnPreviewClick);
    onClick(btnLoop, btnLoopClick);
    onClick(btnStretch, btnStretchClick);
    onClick(btnTile, btnTileClick);
}

void ViewerPane::closePreviews()
{
    TMediaPlayer *preview = frmPreview_AVI_VIDEO->MediaPlayerPreviewAVI;
    if (preview->DeviceID() != 0)
        preview->Close();
    frmPreview_AVI_WINDOWS->hide();
    for (TMediaPlayer *player :
         {pageAVI_VIDEO->MediaPlayerAVI, pageMID->MediaPlayerMID, pageWAV->MediaPlayerWAV})
        if (player->DeviceID() != 0)
            player->Close();
}

ViewerPane::~ViewerPane()
{
    if (app.viewer == this)
        app.viewer = nullptr;
}

void ViewerPane::createToolbar()
{
    tbViewer = new QToolBar(this);
    tbViewer->setObjectName("tbViewer");
    tbViewer->setIconSize(QSize(20, 20));
    tbViewer->setFixedHeight(26);
    btnFirstFile = viewerButton(tbViewer, "btnFirstFile", "first");
    btnPreviousFile = viewerButton(tbViewer, "btnPreviousFile", "previous");
    btnNextFile = viewerButton(tbViewer, "btnNextFile", "next");
    btnLastFile = viewerButton(tbViewer, "btnLastFile", "last");
    tbViewer->addSeparator();
    btnPlayFile = viewerButton(tbViewer, "btnPlayFile", "play");
    btnStopPlayingFile = viewerButton(tbViewer, "btnStopPlayingFile", "stop");
    tbViewer->addSeparator();
    btnPreview = viewerButton(tbViewer, "btnPreview", "preview");
    tbViewer->addSeparator();
    btnLoop = viewerButton(tbViewer, "btnLoop", "loop", true);
    btnStretch = viewerButton(tbViewer, "btnStretch", "stretch", true);
    btnTile = viewerButton(tbViewer, "btnTile", "tile", true);
    struct Hint
    {
        QToolButton *button;
        const char *fr;
        const char *en;
    };
    const Hint hints[] = {
        {btnFirstFile, "Premier fichier", "First file in list"},
        {btnPreviousFile, "Fichier précédent", "Previous file in list"},
        {btnNextFile, "Fichier suivant", "Next file in list"},
        {btnLastFile, "Dernier fichier", "Last file in list"},
        {btnPlayFile, "Jouer le fichier/Rafraîchir l'image", "Play file / refresh image"},
        {btnStopPlayingFile, "Arrêter la lecture", "Stop playing file"},
        {btnPreview, "Mode aperçu", "Preview file"},
        {btnLoop, "Boucle", "Loop"},
        {btnStretch, "Etirer l'image", "Stretch image"},
        {btnTile, "Mosaïque", "Tile image"},
    };
    // The hint is also what a screen reader says of the button, hints shown or not.
    for (const Hint &h : hints) {
        const QString text = SelectText(QString::fromUtf8(h.fr), QString::fromUtf8(h.en));
        h.button->setToolTip(text);
        h.button->setAccessibleName(text);
    }
}

QWidget *ViewerPane::viewerPage(const QString &name) const
{
    for (int i = 0; i < nbkViewer->count(); ++i)
        if (nbkViewer->widget(i)->objectName() == name)
            return nbkViewer->widget(i);
    return nullptr;
}

QString ViewerPane::currentViewerPage() const
{
    return nbkViewer->currentWidget() ? nbkViewer->currentWidget()->objectName() : QString();
}

void ViewerPane::showViewerPage(const QString &name)
{
    if (QWidget *page = viewerPage(name))
        nbkViewer->setCurrentWidget(page);
}

void ViewerPane::CentreFramePanels()
{
    const int w = nbkViewer->width();
    const int h = nbkViewer->height();
    for (QFrame *panel : {pageANI->pnlANI, pageICO->pnlICO})
        panel->move(w / 3 - panel->width() / 2, h / 3 - panel->height() / 2);
}

bool ViewerPane::stopAvailable() const
{
    return btnStopPlayingFile->isEnabled();
}

void ViewerPane::stopPlayback()
{
    btnStopPlayingFile->click();
}

void ViewerPane::play()
{
    btnPlayFileClick(*this);
}

void ViewerPane::selectionChanged()
{
    if (currentViewerPage() == QLatin1String("VIDE"))
        SetViewerButtons(*this, mtNone);
}

void ViewerPane::showEmptyPage()
{
    showViewerPage(QStringLiteral("VIDE"));
}

void ViewerPane::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit resized();
}
