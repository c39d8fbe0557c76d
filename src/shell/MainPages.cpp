// Creation of the viewer pane: the viewer toolbar and the fourteen pages of the viewer notebook.
#include "components/TAniIcon.h"
#include "components/TGIFImage.h"
#include "components/TImageEn.h"
#include "components/TPicture.h"
#include "components/controls/TURLLabel.h"
#include "components/media/TAVIControl.h"
#include "components/media/TMediaPlayer.h"
#include "shell/App.h"
#include "shell/Artwork.h"
#include "shell/Main.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollArea>
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

QWidget *newPage(QStackedWidget *book, const char *name)
{
    auto *page = new QWidget(book);
    page->setObjectName(name);
    page->setAutoFillBackground(true);
    book->addWidget(page);
    return page;
}

// A picture that fills its page behind the other controls (stretched or tiled by the viewer).
QLabel *backgroundPicture(QWidget *page, const char *name)
{
    auto *pic = new QLabel(page);
    pic->setObjectName(name);
    pic->setScaledContents(true);
    pic->lower();
    return pic;
}

QScrollArea *scrollBox(QWidget *page, const char *name, const QColor &colour)
{
    auto *scroll = new QScrollArea(page);
    scroll->setObjectName(name);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette p = scroll->palette();
    p.setColor(QPalette::Window, colour);
    scroll->setPalette(p);
    scroll->setAutoFillBackground(true);
    scroll->viewport()->setAutoFillBackground(true);
    scroll->viewport()->setPalette(p);
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(scroll);
    return scroll;
}

template <class Control> Control *pictureIn(QScrollArea *scroll, const char *name, bool fill)
{
    auto *pic = new Control;
    pic->setObjectName(name);
    scroll->setWidget(pic);
    scroll->setWidgetResizable(fill);
    return pic;
}

TMediaPlayer *mediaPlayer(QWidget *page, const char *name)
{
    auto *player = new TMediaPlayer(page);
    player->setObjectName(name);
    player->setVisible(false);
    return player;
}

QFrame *sunkenFrame(QWidget *page, const char *name)
{
    auto *f = new QFrame(page);
    f->setObjectName(name);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Sunken);
    f->setFixedSize(100, 100);
    return f;
}

} // namespace

// Keeps a page's background picture filling the page.
class BackgroundFitter : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            auto *page = static_cast<QWidget *>(watched);
            for (QObject *child : page->children()) {
                auto *label = qobject_cast<QLabel *>(child);
                if (!label)
                    continue;
                if (label->objectName().startsWith("picBack"))
                    label->setGeometry(page->rect());
                else if (label->objectName() == "picPresentation")
                    label->move((page->width() - label->width()) / 2, (page->height() - label->height()) / 2);
            }
        }
        return false;
    }
};

void TfrmMain::createViewer()
{
    pnlRight = new QFrame(pnlAllClient);
    pnlRight->setObjectName("pnlRight");
    pnlRight->setFrameShape(QFrame::StyledPanel);
    pnlRight->setFrameShadow(QFrame::Sunken);
    pnlRight->installEventFilter(this);
    auto *lay = new QVBoxLayout(pnlRight);
    lay->setContentsMargins(1, 1, 1, 1);
    lay->setSpacing(0);

    tbViewer = new QToolBar(pnlRight);
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
    lay->addWidget(tbViewer);

    nbkViewer = new QStackedWidget(pnlRight);
    nbkViewer->setObjectName("nbkViewer");
    nbkViewer->setAutoFillBackground(true);
    nbkViewer->setBackgroundRole(QPalette::Button);
    lay->addWidget(nbkViewer, 1);
    createViewerPages();
}

void TfrmMain::createViewerPages()
{
    auto *fitter = new BackgroundFitter(this);

    // "VIDE": empty page.
    QWidget *vide = newPage(nbkViewer, "VIDE");
    vide->installEventFilter(fitter);
    picBackGroundVIDE = backgroundPicture(vide, "picBackGroundVIDE");
    picBackGroundVIDE->setPixmap(ArtPixmap("backgrounds/vide", QSize(800, 600)));
    picPresentation = new QLabel(vide);
    picPresentation->setObjectName("picPresentation");
    picPresentation->setPixmap(ArtPixmap("backgrounds/presentation", QSize(260, 160)));
    picPresentation->setFixedSize(260, 160);
    picPresentation->setContextMenuPolicy(Qt::CustomContextMenu);
    picTitre = new QLabel(vide);
    picTitre->setObjectName("picTitre");
    picTitre->setPixmap(ArtPixmap("backgrounds/titre", QSize(337, 64)));
    picTitre->setVisible(false);
    pnlHomePage = new QFrame(vide);
    pnlHomePage->setObjectName("pnlHomePage");
    pnlHomePage->setGeometry(8, 8, 185, 25);
    pnlHomePage->setAutoFillBackground(true);
    pnlHomePage->setStyleSheet("QFrame#pnlHomePage { background: white; }");
    picHomePage = new QLabel(pnlHomePage);
    picHomePage->setObjectName("picHomePage");
    picHomePage->setGeometry(4, 4, 16, 16);
    picHomePage->setPixmap(ArtPixmap("app/homepage", QSize(16, 16)));
    URLLabelHomePage = new TURLLabel(pnlHomePage);
    URLLabelHomePage->setObjectName("URLLabelHomePage");
    URLLabelHomePage->setGeometry(24, 4, 158, 17);

    // "ANI".
    QWidget *ani = newPage(nbkViewer, "ANI");
    ani->installEventFilter(fitter);
    picBackgroundANI = backgroundPicture(ani, "picBackgroundANI");
    pnlANI = sunkenFrame(ani, "pnlANI");
    picANI = new TAniIcon(pnlANI);
    picANI->setObjectName("picANI");
    picANI->setGeometry(34, 34, 32, 32);

    // "AVI_WIN".
    QWidget *aviWin = newPage(nbkViewer, "AVI_WIN");
    aviWin->installEventFilter(fitter);
    picBackGroundAVI_WIN = backgroundPicture(aviWin, "picBackGroundAVI_WIN");
    AVIControlWIN = new TAVIControl(aviWin);
    AVIControlWIN->setObjectName("AVIControlWIN");

    // "AVI_VIDEO": a surface for the media player.
    QWidget *aviVideo = newPage(nbkViewer, "AVI_VIDEO");
    ListViewAVIPlayer = new QListWidget(aviVideo);
    ListViewAVIPlayer->setObjectName("ListViewAVIPlayer");
    auto *aviLay = new QVBoxLayout(aviVideo);
    aviLay->setContentsMargins(0, 0, 0, 0);
    aviLay->addWidget(ListViewAVIPlayer);
    MediaPlayerAVI = mediaPlayer(aviVideo, "MediaPlayerAVI");
    MediaPlayerAVI->setDisplay(ListViewAVIPlayer->viewport());

    // "BMP", "JPG".
    scrollBMP = scrollBox(newPage(nbkViewer, "BMP"), "scrollBMP", QColor(0xD1, 0xEB, 0xFE));
    picBMP = pictureIn<TPicture>(scrollBMP, "picBMP", false);
    QWidget *jpg = newPage(nbkViewer, "JPG");
    scrollJPG = scrollBox(jpg, "scrollJPG", QColor(0xFD, 0xFD, 0xC1));
    picJPG = pictureIn<TPicture>(scrollJPG, "picJPG", false);
    lblProgressJPG = new QLabel(jpg);
    lblProgressJPG->setObjectName("lblProgressJPG");
    lblProgressJPG->setAlignment(Qt::AlignCenter);
    lblProgressJPG->setStyleSheet("background: yellow;");
    QFont big = lblProgressJPG->font();
    big.setPixelSize(16);
    lblProgressJPG->setFont(big);
    lblProgressJPG->move(8, 13);
    lblProgressJPG->setVisible(false);

    // "MID" and "WAV".
    auto soundPage = [&](const char *page, const char *suffix, QWidget *&pnl, QProgressBar *&bar,
                         QGroupBox *&box, QLabel *&lblTotal, QLabel *&lblPlayed, QLabel *&total,
                         QLabel *&played, QLabel *&background, TMediaPlayer *&player) {
        QWidget *p = newPage(nbkViewer, page);
        auto *lay = new QVBoxLayout(p);
        lay->setContentsMargins(0, 0, 0, 0);
        lay->setSpacing(0);
        pnl = new QWidget(p);
        pnl->setObjectName(QStringLiteral("pnlPosition") + suffix);
        pnl->setFixedHeight(113);
        auto *pl = new QVBoxLayout(pnl);
        bar = new QProgressBar(pnl);
        bar->setObjectName(QStringLiteral("ProgressBar") + suffix);
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setTextVisible(false);
        pl->addWidget(bar);
        box = new QGroupBox("Time", pnl);
        box->setObjectName(QStringLiteral("GroupBox") + suffix);
        auto *grid = new QGridLayout(box);
        lblTotal = new QLabel("Total:", box);
        lblPlayed = new QLabel("Played:", box);
        total = new QLabel(box);
        total->setObjectName(QStringLiteral("lblTotalTime") + suffix);
        played = new QLabel(box);
        played->setObjectName(QStringLiteral("lblPlayedTime") + suffix);
        grid->addWidget(lblTotal, 0, 0);
        grid->addWidget(total, 0, 1);
        grid->addWidget(lblPlayed, 1, 0);
        grid->addWidget(played, 1, 1);
        grid->setColumnStretch(1, 1);
        pl->addWidget(box);
        lay->addWidget(pnl);
        background = new QLabel(p);
        background->setObjectName(QStringLiteral("picBackground") + suffix);
        background->setScaledContents(true);
        background->setMinimumSize(1, 1);
        background->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        lay->addWidget(background, 1);
        player = mediaPlayer(p, (QByteArray("MediaPlayer") + suffix).constData());
    };
    soundPage("MID", "MID", pnlPositionMID, ProgressBarMID, GroupBoxMID, lblTotalMID, lblPlayedMID,
              lblTotalTimeMID, lblPlayedTimeMID, picBackgroundMID, MediaPlayerMID);
    soundPage("WAV", "WAV", pnlPositionWAV, ProgressBarWAV, GroupBoxWAV, lblTotalWAV, lblPlayedWAV,
              lblTotalTimeWAV, lblPlayedTimeWAV, picBackgroundWAV, MediaPlayerWAV);

    // "GIF", "PCX", "TIF", "WMF", "EMF".
    ScrollGIF = scrollBox(newPage(nbkViewer, "GIF"), "ScrollGIF", Qt::white);
    picGIF = pictureIn<TGIFImage>(ScrollGIF, "picGIF", true);
    picGIF->setCenter(true);
    picGIF->setLoop(true);
    ScrollPCX = scrollBox(newPage(nbkViewer, "PCX"), "ScrollPCX", QColor(0x80, 0xFF, 0x80));
    PicPcx = pictureIn<TImageEn>(ScrollPCX, "PicPcx", true);
    ScrollTIF = scrollBox(newPage(nbkViewer, "TIF"), "ScrollTIF", QColor(0x80, 0x80, 0xC0));
    picTIF = pictureIn<TImageEn>(ScrollTIF, "picTIF", true);
    ScrollWMF = scrollBox(newPage(nbkViewer, "WMF"), "ScrollWMF", QColor(0x80, 0xFF, 0xFF));
    picWMF = pictureIn<TImageEn>(ScrollWMF, "picWMF", true);
    ScrollEMF = scrollBox(newPage(nbkViewer, "EMF"), "ScrollEMF", QColor(0x40, 0x80, 0x80));
    picEMF = pictureIn<TImageEn>(ScrollEMF, "picEMF", true);
    PicPcx->setBackground(QColor(0x80, 0xFF, 0x80));
    PicPcx->setScrollBars(true);
    picTIF->setBackground(QColor(0x80, 0x80, 0xC0));
    picWMF->setBackground(QColor(0x80, 0xFF, 0xFF));
    picWMF->setEightBit(true);
    picEMF->setBackground(QColor(0x40, 0x80, 0x80));

    // "ICO".
    QWidget *ico = newPage(nbkViewer, "ICO");
    ico->installEventFilter(fitter);
    picBackgroundICO = backgroundPicture(ico, "picBackgroundICO");
    pnlICO = sunkenFrame(ico, "pnlICO");
    picICO = new TPicture(pnlICO);
    picICO->setObjectName("picICO");
    picICO->setGeometry(2, 2, 96, 96);
    picICO->setCenter(true);
}
