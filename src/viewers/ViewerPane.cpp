#include "viewers/ViewerPane.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/Language.h"
#include "components/controls/TURLLabel.h"
#include "platform/Ui.h"
#include "viewers/View_ANI.h"
#include "viewers/View_AVI.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_Sound.h"
#include "viewers/View_VIDE.h"
#include "viewers/ViewerDispatch.h"

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
    b->setFocusPolicy(Qt::NoFocus);
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
    pageANI = new TViewPageANI(nbkViewer);
    pageAVI_WIN = new TViewPageAVI_WIN(nbkViewer);
    pageAVI_VIDEO = new TViewPageAVI_VIDEO(nbkViewer);
    pageBMP = new TViewPageBMP(nbkViewer);
    pageJPG = new TViewPageJPG(nbkViewer);
    pageMID = new TViewPageMID(nbkViewer);
    pageWAV = new TViewPageWAV(nbkViewer);
    pageGIF = new TViewPageGIF(nbkViewer);
    pagePCX = new TViewPagePCX(nbkViewer);
    pageTIF = new TViewPageTIF(nbkViewer);
    pageWMF = new TViewPageWMF(nbkViewer);
    pageEMF = new TViewPageEMF(nbkViewer);
    pageICO = new TViewPageICO(nbkViewer);

    TURLLabel *link = pageVIDE->URLLabelHomePage;
    link->setText(QString::fromLatin1(kHomePageAddress));
    link->setAddress(QString::fromLatin1(kHomePageAddress));
    connect(link, &TURLLabel::openRequested, this, [this](const QUrl &url) { app.ui().openUrl(url); });
    connect(pageVIDE->picPresentation, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        emit presentationContextMenuRequested(pageVIDE->picPresentation->mapToGlobal(p));
    });
    SetViewerButtons(*this, mtNone);
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

void ViewerPane::showEmptyPage()
{
    showViewerPage(QStringLiteral("VIDE"));
}

void ViewerPane::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit resized();
}
