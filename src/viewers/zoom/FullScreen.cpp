#include "viewers/zoom/FullScreen.h"

#include "app/Language.h"
#include "viewers/ViewerPane.h"
#include "viewers/zoom/ViewerZoom.h"
#include "viewers/zoom/ZoomPicture.h"
#include "viewers/zoom/ZoomView.h"

#include <QApplication>
#include <QBoxLayout>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

FullScreen::FullScreen(ViewerPane &pane, ViewerZoom &zoom) : QObject(&pane), m_pane(pane), m_zoom(zoom)
{
    m_pointerTimer.setSingleShot(true);
    m_pointerTimer.setTimerType(Qt::PreciseTimer);
    m_pointerTimer.setInterval(kPointerDelayMs);
    connect(&m_pointerTimer, &QTimer::timeout, this, [this] {
        if (m_active && !m_pointerHidden) {
            m_pointerHidden = true;
            QApplication::setOverrideCursor(Qt::BlankCursor);
        }
    });
}

FullScreen::~FullScreen()
{
    showPointer();
    delete m_window;
}

void FullScreen::createWindow()
{
    // A window of its own, not a child of the main window: the window manager puts it over
    // everything, and the main window stays as it was below it.
    m_window = new QWidget(nullptr, Qt::Window);
    m_window->setObjectName("frmFullScreen");
    // Not "Lumavista" alone: that is the main window's name for a screen reader.
    m_window->setWindowTitle(SelectText("Plein écran - Lumavista", "Full screen - Lumavista"));
    QPalette p = m_window->palette();
    p.setColor(QPalette::Window, Qt::black);
    m_window->setPalette(p);
    m_window->setAutoFillBackground(true);
    auto *lay = new QVBoxLayout(m_window);
    lay->setContentsMargins(0, 0, 0, 0);
    using C = ViewerCommand;
    const auto key = [this](const char *sequence, auto run) {
        auto *s = new QShortcut(QKeySequence(QString::fromLatin1(sequence)), m_window);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, run);
    };
    const auto move = [this](C c) { return [this, c] { m_pane.runCommand(c); }; };
    key("Escape", [this] { leave(); });
    key("F11", [this] { leave(); });
    key("Home", move(C::First));
    key("PgUp", move(C::Previous));
    key("Left", move(C::Previous));
    key("PgDown", move(C::Next));
    key("Right", move(C::Next));
    key("Space", move(C::Next));
    key("End", move(C::Last));
    key("Ctrl++", [this] { m_zoom.zoomIn(); });
    key("Ctrl+=", [this] { m_zoom.zoomIn(); });
    key("Ctrl+-", [this] { m_zoom.zoomOut(); });
    key("Ctrl+0", [this] { m_zoom.actualSize(); });
    key("Ctrl+9", [this] { m_zoom.fitToWindow(); });
}

void FullScreen::toggle()
{
    if (m_active)
        leave();
    else
        enter();
}

void FullScreen::enter()
{
    if (m_active)
        return;
    if (!m_window)
        createWindow();
    m_focusBefore = QApplication::focusWidget();
    m_activeBefore = QApplication::activeWindow();
    QStackedWidget *book = m_pane.notebook();
    auto *paneLayout = static_cast<QBoxLayout *>(m_pane.layout());
    m_notebookIndex = paneLayout->indexOf(book);
    m_window->layout()->addWidget(book);
    m_active = true;
    m_zoom.setFullScreen(true);
    // The screen of the main window, also where no window manager makes the window full screen.
    if (QWidget *main = m_pane.window(); main && main->screen())
        m_window->setGeometry(main->screen()->geometry());
    m_window->showFullScreen();
    m_window->raise();
    m_window->activateWindow();
    if (m_zoom.zoomed())
        m_zoom.view()->setFocus(Qt::OtherFocusReason);
    else if (QWidget *page = book->currentWidget())
        page->setFocus(Qt::OtherFocusReason);
    qApp->installEventFilter(this);
    m_pointerTimer.start();
    emit activeChanged(true);
}

void FullScreen::leave()
{
    if (!m_active)
        return;
    qApp->removeEventFilter(this);
    m_pointerTimer.stop();
    showPointer();
    QStackedWidget *book = m_pane.notebook();
    auto *paneLayout = static_cast<QBoxLayout *>(m_pane.layout());
    paneLayout->insertWidget(m_notebookIndex, book, 1);
    book->show();
    m_active = false;
    m_zoom.setFullScreen(false);
    m_window->hide();
    if (m_focusBefore)
        m_focusBefore->setFocus(Qt::OtherFocusReason);
    if (m_activeBefore && !m_activeBefore->isActiveWindow()) {
        // The window's own activation moves the focus (the main window gives it to its tree):
        // the focus goes back where it was once that is done.
        m_activeBefore->installEventFilter(this);
        m_activeBefore->activateWindow();
    }
    emit activeChanged(false);
}

void FullScreen::showPointer()
{
    if (m_pointerHidden) {
        m_pointerHidden = false;
        QApplication::restoreOverrideCursor();
    }
}

bool FullScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_activeBefore && event->type() == QEvent::ActivationChange) {
        m_activeBefore->removeEventFilter(this);
        QTimer::singleShot(0, this, [this] {
            if (m_focusBefore && !m_active)
                m_focusBefore->setFocus(Qt::OtherFocusReason);
        });
        return false;
    }
    if (event->type() == QEvent::MouseMove && m_active) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == m_window) {
            showPointer();
            m_pointerTimer.start();
        }
    }
    return false;
}
