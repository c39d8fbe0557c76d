#include "viewers/ViewerPane.h"

#include "app/App.h"
#include "app/Artwork.h"
#include "app/ControlTexts.h"
#include "app/Language.h"
#include "components/controls/TURLLabel.h"
#include "platform/Ui.h"
#include "viewers/View_ANI.h"
#include "viewers/View_AVI.h"
#include "viewers/View_Animated.h"
#include "viewers/View_BMP.h"
#include "viewers/View_GIF.h"
#include "viewers/View_ICO.h"
#include "viewers/View_ImageEn.h"
#include "viewers/View_JPG.h"
#include "viewers/View_Sound.h"
#include "viewers/View_VIDE.h"
#include "viewers/View_Video.h"
#include "viewers/ViewerCommands.h"
#include "viewers/ViewerDispatch.h"
#include "viewers/zoom/FullScreen.h"
#include "viewers/zoom/PictureTransfer.h"
#include "viewers/zoom/Slideshow.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomPicture.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QShortcut>
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
    createPages();

    TURLLabel *link = pageVIDE->URLLabelHomePage;
    link->setText(QString::fromLatin1(kHomePageAddress));
    link->setAddress(QString::fromLatin1(kHomePageAddress));
    connect(link, &TURLLabel::openRequested, this, [this](const QUrl &url) { app.ui().openUrl(url); });
    connect(pageVIDE->picPresentation, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        emit presentationContextMenuRequested(pageVIDE->picPresentation->mapToGlobal(p));
    });
    connect(nbkViewer, &QStackedWidget::currentChanged, this, [this] { nbkViewerPageChanged(*this); });
    connectCommands();
    createZoom();
    // Before any file is shown only the navigation is offered.
    SetViewerButtons(*this, mtNone);
}

// The one table of the viewer's pages, in the notebook's order (the AVI page adds "AVI_VIDEO"
// after itself).
void ViewerPane::createPages()
{
    pageVIDE = new TViewPageVIDE(nbkViewer);
    m_pages[mtANI] = new TViewPageANI(*this, nbkViewer);
    m_pages[mtAVI] = new TViewPageAVI_WIN(*this, nbkViewer);
    m_pages[mtBMP] = new TViewPageBMP(*this, nbkViewer);
    m_pages[mtJPG] = new TViewPageJPG(*this, nbkViewer);
    m_pages[mtMID] = new TViewPageMID(*this, nbkViewer);
    m_pages[mtWAV] = new TViewPageWAV(*this, nbkViewer);
    m_pages[mtGIF] = new TViewPageGIF(*this, nbkViewer);
    m_pages[mtPCX] = NewPagePCX(*this, nbkViewer);
    m_pages[mtTIF] = NewPageTIF(*this, nbkViewer);
    m_pages[mtWMF] = NewPageWMF(*this, nbkViewer);
    m_pages[mtEMF] = NewPageEMF(*this, nbkViewer);
    m_pages[mtICO] = new TViewPageICO(*this, nbkViewer);
    m_pages[mtPNG] = NewPagePNG(*this, nbkViewer);
    m_pages[mtWEBP] = NewPageWEBP(*this, nbkViewer);
    m_pages[mtMP3] = new TViewPageSound(*this, nbkViewer, "MP3", mtMP3, "timPositionMP3");
    m_pages[mtOGG] = new TViewPageSound(*this, nbkViewer, "OGG", mtOGG, "timPositionOGG");
    m_pages[mtFLAC] = new TViewPageSound(*this, nbkViewer, "FLAC", mtFLAC, "timPositionFLAC");
    m_pages[mtMP4] = new TViewPageVideo(*this, nbkViewer, "MP4", mtMP4);
    m_pages[mtMKV] = new TViewPageVideo(*this, nbkViewer, "MKV", mtMKV);
}

void ViewerPane::createZoom()
{
    m_zoom = new ViewerZoom(*this);
    m_fullScreen = new FullScreen(*this, *m_zoom);
    m_slideshow = new Slideshow(*this);
    // The picture pages and the video zoom and go full screen from their own controls.
    for (MediaType t : {mtANI, mtBMP, mtJPG, mtGIF, mtPCX, mtTIF, mtWMF, mtEMF, mtICO, mtPNG, mtWEBP})
        m_zoom->watch(m_pages[t]);
    if (QWidget *video = viewerPage(QStringLiteral("AVI_VIDEO")))
        m_zoom->watch(video);
    m_zoom->watch(m_pages[mtAVI]);
    for (MediaType t : {mtMP4, mtMKV})
        m_zoom->watch(m_pages[t]);
    connect(m_zoom, &ViewerZoom::fullScreenAsked, m_fullScreen, &FullScreen::toggle);
    // Ctrl+C with the keyboard in the viewer (in the window or full screen).
    auto *copy = new QShortcut(QKeySequence::Copy, nbkViewer);
    copy->setObjectName("scViewerCopy");
    copy->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, [this] { copyFileOnView(); });
    connect(nbkViewer, &QStackedWidget::currentChanged, m_zoom, &ViewerZoom::refresh);
    for (ViewerCommand c : {ViewerCommand::Stretch, ViewerCommand::Tile})
        connect(button(c), &QToolButton::toggled, m_zoom, &ViewerZoom::refresh);
}

bool ViewerPane::copyFileOnView()
{
    if (CopyFileOnView(*this))
        return true;
    app.ui().beep(platform::BeepKind::Plain);
    return false;
}

bool ViewerPane::canCopyPicture() const
{
    ViewerPage *p = page(app.st.OnView.FileType);
    return p && currentViewerPage() != QLatin1String("VIDE") && p->zoomPicture() != nullptr;
}

void ViewerPane::offerPopup(QWidget *control)
{
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area reports the point in its viewport.
    auto *scroll = qobject_cast<QAbstractScrollArea *>(control);
    QWidget *origin = scroll ? scroll->viewport() : control;
    connect(control, &QWidget::customContextMenuRequested, this,
            [this, origin](const QPoint &p) { emit viewFileContextMenuRequested(origin->mapToGlobal(p)); });
}

void ViewerPane::connectCommands()
{
    for (ViewerCommand c :
         {ViewerCommand::First, ViewerCommand::Previous, ViewerCommand::Next, ViewerCommand::Last,
          ViewerCommand::Play, ViewerCommand::Stop, ViewerCommand::Preview, ViewerCommand::Loop,
          ViewerCommand::Stretch, ViewerCommand::Tile})
        connect(button(c), &QToolButton::clicked, this, [this, c] { RunViewerCommand(*this, c); });
}

ViewerPane::~ViewerPane() = default;

void ViewerPane::createToolbar()
{
    tbViewer = new QToolBar(this);
    tbViewer->setObjectName("tbViewer");
    tbViewer->setIconSize(QSize(20, 20));
    tbViewer->setFixedHeight(26);
    struct Button
    {
        ViewerCommand command;
        const char *name;
        const char *art;
        bool toggle;
        bool separatorAfter;
        const char *fr; // the hint, also what a screen reader says of the button, hints shown or not
        const char *en;
    };
    using C = ViewerCommand;
    const Button buttons[] = {
        {C::First, "btnFirstFile", "first", false, false, "Premier fichier", "First file in list"},
        {C::Previous, "btnPreviousFile", "previous", false, false, "Fichier précédent",
         "Previous file in list"},
        {C::Next, "btnNextFile", "next", false, false, "Fichier suivant", "Next file in list"},
        {C::Last, "btnLastFile", "last", false, true, "Dernier fichier", "Last file in list"},
        {C::Play, "btnPlayFile", "play", false, false, "Jouer le fichier/Rafraîchir l'image",
         "Play file / refresh image"},
        {C::Stop, "btnStopPlayingFile", "stop", false, true, "Arrêter la lecture", "Stop playing file"},
        {C::Preview, "btnPreview", "preview", false, true, "Mode aperçu", "Preview file"},
        {C::Loop, "btnLoop", "loop", true, false, "Boucle", "Loop"},
        {C::Stretch, "btnStretch", "stretch", true, false, "Etirer l'image", "Stretch image"},
        {C::Tile, "btnTile", "tile", true, false, "Mosaïque", "Tile image"},
    };
    for (const Button &b : buttons) {
        QToolButton *tool = viewerButton(tbViewer, b.name, b.art, b.toggle);
        NameControl(tool, b.fr, b.en);
        m_buttons[static_cast<size_t>(b.command)] = tool;
        if (b.separatorAfter)
            tbViewer->addSeparator();
    }
}

QToolButton *ViewerPane::button(ViewerCommand command) const
{
    return m_buttons[static_cast<size_t>(command)];
}

bool ViewerPane::commandEnabled(ViewerCommand command) const
{
    return button(command)->isEnabled();
}

bool ViewerPane::commandChecked(ViewerCommand command) const
{
    return button(command)->isChecked();
}

void ViewerPane::runCommand(ViewerCommand command)
{
    button(command)->click();
}

bool ViewerPane::loopPressed() const
{
    return commandChecked(ViewerCommand::Loop);
}

ViewerPage *ViewerPane::page(MediaType type) const
{
    return code(type) >= 0 && code(type) < kTableRows ? m_pages[type] : nullptr;
}

QSize ViewerPane::notebookSize() const
{
    return nbkViewer->size();
}

QPixmap ViewerPane::titlePicture() const
{
    return pageVIDE->picTitre->pixmap();
}

QString ViewerPane::playCaption() const
{
    const MediaType type = app.st.OnView.FileType;
    return type == mtNone ? QString() : PlayCaptionOfType(*this, type);
}

void ViewerPane::relayout()
{
    nbkViewerPageChanged(*this);
}

void ViewerPane::closePreviews()
{
    for (ViewerPage *p : m_pages)
        if (p)
            p->closeDevices();
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

void ViewerPane::showViewerPage(QWidget *page)
{
    if (page && nbkViewer->indexOf(page) >= 0)
        nbkViewer->setCurrentWidget(page);
}

void ViewerPane::CentreFramePanels()
{
    for (ViewerPage *p : m_pages)
        if (p)
            p->placeFrames();
}

bool ViewerPane::runLoad(const std::function<void()> &load)
{
    if (m_loading)
        return false;
    m_loading = true;
    struct Clear
    {
        bool &flag;
        ~Clear() { flag = false; }
    } clear{m_loading};
    load();
    return true;
}

bool ViewerPane::loadAgain(ViewerPage *page, const QString &path)
{
    return runLoad([this, page, &path] { LoadOnPage(*this, page, path); });
}

bool ViewerPane::stopAvailable() const
{
    return commandEnabled(ViewerCommand::Stop);
}

void ViewerPane::stopPlayback()
{
    runCommand(ViewerCommand::Stop);
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
    showViewerPage(pageVIDE);
}

void ViewerPane::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    emit resized();
}
