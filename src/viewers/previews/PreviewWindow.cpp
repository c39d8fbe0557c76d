#include "viewers/previews/PreviewWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

TPreviewWindow::TPreviewWindow(QWidget *parent, const char *name)
    : QDialog(parent, Qt::Dialog | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      m_scroll(new QScrollArea(this))
{
    setObjectName(name);
    m_scroll->setObjectName("scrollPreview");
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    // The client area takes the picture's size, however small: the scroll box's own minimum (room
    // for its scroll bars) must not hold the window larger.
    lay->setSizeConstraint(QLayout::SetNoConstraint);
    lay->addWidget(m_scroll);
}

void TPreviewWindow::setContent(QWidget *content, bool fill)
{
    m_scroll->setWidget(content);
    m_scroll->setWidgetResizable(fill);
}

void TPreviewWindow::setClientSize(int width, int height)
{
    if (QWidget *content = m_scroll->widget())
        content->setMinimumSize(width, height);
    resize(width, height);
}

void TPreviewWindow::setColour(const QColor &colour)
{
    QPalette p = m_scroll->palette();
    p.setColor(QPalette::Window, colour);
    m_scroll->setPalette(p);
    m_scroll->viewport()->setPalette(p);
    m_scroll->viewport()->setAutoFillBackground(true);
}

void TPreviewWindow::placeAtTopLeft()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().topLeft());
}

void TPreviewWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_activated) {
        m_activated = true;
        emit activated();
    }
}
