#include "viewers/zoom/ViewerZoom.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "viewers/ViewerPage.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/ZoomPicture.h"
#include "viewers/zoom/ZoomSteps.h"
#include "viewers/zoom/ZoomView.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QWheelEvent>

namespace {
constexpr int kZoomPanel = 4;
}

ViewerZoom::ViewerZoom(ViewerPane &pane) : QObject(&pane), m_pane(pane)
{
    QStackedWidget *book = pane.notebook();
    m_view = new ZoomView(book);
    m_view->setAccessibleName(SelectText("Image agrandie ou réduite", "Zoomed picture"));
    m_view->setVisible(false);
    pane.offerPopup(m_view);
    book->installEventFilter(this);
    connect(m_view, &ZoomView::stepAsked, this, [this](bool in, QPoint anchor) { step(in, anchor); });
    connect(m_view, &ZoomView::zoomChanged, this, [this] { showStatus(); });
    connect(m_view, &ZoomView::doubleClicked, this, &ViewerZoom::fullScreenAsked);
}

ViewerZoom::~ViewerZoom() = default;

void ViewerZoom::watch(QWidget *page)
{
    page->installEventFilter(this);
    for (QWidget *w : page->findChildren<QWidget *>())
        w->installEventFilter(this);
}

ViewerPage *ViewerZoom::pageOnView() const
{
    ViewerPage *page = m_pane.page(m_pane.app.st.OnView.FileType);
    return page && m_pane.notebook()->currentWidget() == page ? page : nullptr;
}

ZoomPicture *ViewerZoom::picture()
{
    ViewerPage *page = pageOnView();
    if (!page)
        return nullptr;
    if (!m_pictureMade || m_picturePage != page) {
        m_view->setPicture(nullptr);
        m_picture = page->zoomPicture();
        m_picturePage = page;
        m_pictureMade = true;
    }
    return m_picture.get();
}

double ViewerZoom::zoom() const
{
    return m_view->isVisibleTo(m_pane.notebook()) ? m_view->zoom() : 1.0;
}

bool ViewerZoom::zoomed() const
{
    return m_view->isVisibleTo(m_pane.notebook());
}

void ViewerZoom::refresh()
{
    const bool pressed =
        m_pane.commandChecked(ViewerCommand::Stretch) || m_pane.commandChecked(ViewerCommand::Tile);
    ZoomPicture *shown = picture();
    const bool available = shown && (m_fullScreen || !pressed);
    // Stretch or Tile pressed over a zoomed picture: the page's own display comes back.
    if (shown && pressed && !m_fullScreen)
        m_last.zoomed = false;
    const bool show = available && (m_last.zoomed || m_fullScreen);
    if (show) {
        ViewerPage *page = pageOnView();
        const bool fresh = m_view->picture() != m_picture.get() || !m_view->isVisibleTo(m_pane.notebook());
        m_view->setPicture(m_picture.get());
        m_view->setBackground(m_fullScreen ? QColor(Qt::black) : page->zoomBackground());
        if (m_last.fit)
            m_view->setFit(!m_fullScreen);
        else if (fresh)
            m_view->start(m_last.zoom, page->pictureOrigin());
    }
    showView(show);
    if (available != m_available) {
        m_available = available;
        emit availabilityChanged(available);
    }
    showStatus();
}

void ViewerZoom::showView(bool on)
{
    QStackedWidget *book = m_pane.notebook();
    const bool hadFocus = book->isAncestorOf(QApplication::focusWidget());
    if (on) {
        m_view->setGeometry(book->rect());
        m_view->raise();
    }
    m_view->setVisible(on);
    if (!hadFocus)
        return;
    if (on)
        m_view->setFocus(Qt::OtherFocusReason);
    else if (ViewerPage *page = pageOnView())
        page->setFocus(Qt::OtherFocusReason);
}

void ViewerZoom::showStatus()
{
    SetStatusText(m_pane.app, kZoomPanel,
                  m_available ? QStringLiteral("Zoom %1 %").arg(zoom::percent(zoom())) : QString());
}

void ViewerZoom::step(bool in, std::optional<QPoint> anchor)
{
    if (!m_available)
        return;
    if (!zoomed()) {
        m_last = {true, 1, false};
        refresh();
    }
    const double z = m_view->zoom();
    m_view->setZoom(in ? zoom::stepIn(z) : zoom::stepOut(z), anchor);
    m_last = {true, m_view->zoom(), false};
}

void ViewerZoom::zoomIn()
{
    step(true, std::nullopt);
}

void ViewerZoom::zoomOut()
{
    step(false, std::nullopt);
}

void ViewerZoom::stepAt(bool in, QPoint notebookPoint)
{
    if (!zoomed() && m_available) {
        m_last = {true, 1, false};
        refresh();
    }
    step(in, m_view->viewport()->mapFrom(m_pane.notebook(), notebookPoint));
}

void ViewerZoom::actualSize()
{
    if (!m_available)
        return;
    m_last = {m_fullScreen, 1, false};
    if (m_fullScreen)
        m_view->start(1);
    refresh();
}

void ViewerZoom::fitToWindow()
{
    if (!m_available)
        return;
    m_last = {true, 1, true};
    refresh();
}

void ViewerZoom::fileLoaded(ViewerPage *page)
{
    (void)page;
    m_view->setPicture(nullptr);
    m_picture.reset();
    m_pictureMade = false;
    if (!m_pane.app.st.settings.Keep_Zoom)
        m_last = {m_fullScreen, 1, m_fullScreen};
    // A kept zoom starts the new picture anew, at the top-left corner.
    m_view->setVisible(false);
    refresh();
}

void ViewerZoom::pictureReady(ViewerPage *page)
{
    if (page == m_picturePage)
        m_pictureMade = false;
    m_view->setVisible(false);
    refresh();
}

void ViewerZoom::setFullScreen(bool on)
{
    if (on == m_fullScreen)
        return;
    m_fullScreen = on;
    if (on) {
        m_windowed = m_last;
        m_last = {true, 1, true};
    } else {
        m_last = m_windowed;
    }
    m_view->setVisible(false);
    refresh();
}

bool ViewerZoom::eventFilter(QObject *watched, QEvent *event)
{
    QStackedWidget *book = m_pane.notebook();
    if (watched == book) {
        if (event->type() == QEvent::Resize && m_view->isVisibleTo(book))
            m_view->setGeometry(book->rect());
        return false;
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier) || wheel->angleDelta().y() == 0 || !m_available)
            return false;
        stepAt(wheel->angleDelta().y() > 0, widget->mapTo(book, wheel->position().toPoint()));
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        emit fullScreenAsked();
        return true;
    }
    return false;
}
