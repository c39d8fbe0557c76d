#include "viewers/pages/PageKit.h"

#include "app/App.h"
#include "app/Language.h"
#include "app/Libry.h"
#include "components/TPicture.h"
#include "components/media/TMediaPlayer.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <optional>

namespace pagekit {

namespace {
// Keeps a page's background picture filling the page and its presentation picture centred.
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
// Pans a scroll area by the moves of a left-button drag over its viewport (the events its children
// leave to it reach it there).
class DragPan : public QObject
{
public:
    explicit DragPan(QAbstractScrollArea *scroll) : QObject(scroll), m_scroll(scroll) {}
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *m = static_cast<QMouseEvent *>(event);
            if (m->button() == Qt::LeftButton)
                m_from = m->globalPosition().toPoint();
            return false;
        }
        case QEvent::MouseMove: {
            auto *m = static_cast<QMouseEvent *>(event);
            if (!m_from || !(m->buttons() & Qt::LeftButton))
                return false;
            const QPoint now = m->globalPosition().toPoint(), moved = now - *m_from;
            m_from = now;
            m_scroll->horizontalScrollBar()->setValue(m_scroll->horizontalScrollBar()->value() - moved.x());
            m_scroll->verticalScrollBar()->setValue(m_scroll->verticalScrollBar()->value() - moved.y());
            return true;
        }
        case QEvent::MouseButtonRelease:
            m_from.reset();
            return false;
        default:
            return false;
        }
    }

private:
    QAbstractScrollArea *m_scroll;
    std::optional<QPoint> m_from;
};
} // namespace

void panByDragging(QAbstractScrollArea *scroll)
{
    scroll->viewport()->installEventFilter(new DragPan(scroll));
}

void becomePage(QWidget *page, QStackedWidget *book, const char *name)
{
    page->setObjectName(name);
    page->setAccessibleName(QString::fromLatin1(name));
    page->setAutoFillBackground(true);
    book->addWidget(page);
}

QLabel *backgroundPicture(QWidget *page, const char *name)
{
    if (!page->findChild<BackgroundFitter *>(QString(), Qt::FindDirectChildrenOnly))
        page->installEventFilter(new BackgroundFitter(page));
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
    // It takes the focus (the keyboard scrolls a large picture): a screen reader names it.
    scroll->setAccessibleName(SelectText("Image ", "Picture ") + page->accessibleName());
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette p = scroll->palette();
    p.setColor(QPalette::Window, colour);
    scroll->setPalette(p);
    scroll->setAutoFillBackground(true);
    scroll->viewport()->setAutoFillBackground(true);
    scroll->viewport()->setPalette(p);
    // A scroll area's viewport has no background role of its own: it would take the notebook's
    // (Button) and show grey instead of the page's colour.
    scroll->viewport()->setBackgroundRole(QPalette::Window);
    auto *lay = new QVBoxLayout(page);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(scroll);
    return scroll;
}

TMediaPlayer *mediaPlayer(QWidget *page, const char *name)
{
    auto *player = new TMediaPlayer(page);
    player->setObjectName(name);
    player->setVisible(false);
    return player;
}

QFrame *sunkenFrame(QWidget *page, const char *name, int size)
{
    auto *f = new QFrame(page);
    f->setObjectName(name);
    f->setFrameShape(QFrame::Panel);
    f->setFrameShadow(QFrame::Sunken);
    f->setFixedSize(size, size);
    return f;
}

QString nativePath(const App &app, const QString &drivePath)
{
    return app.drives().toNative(drivePath);
}

QString nameOf(const QString &drivePath)
{
    return drivePath.mid(drivePath.lastIndexOf(u'\\') + 1);
}

void showPictureIn(QScrollArea *scroll, TPicture *picture, bool stretched)
{
    picture->setStretch(stretched);
    picture->setAutoSize(false);
    scroll->setWidgetResizable(stretched);
    if (!stretched)
        picture->resize(picture->shownSize());
}

void scrollToOrigin(QScrollArea *scroll)
{
    scroll->horizontalScrollBar()->setValue(0);
    scroll->verticalScrollBar()->setValue(0);
}

BusyCursor::BusyCursor()
{
    SetBusyCursor(true);
}

BusyCursor::~BusyCursor()
{
    release();
}

void BusyCursor::release()
{
    if (m_on)
        SetBusyCursor(false);
    m_on = false;
}

void colour(QWidget *control, const QColor &colour)
{
    QPalette p = control->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::Base, colour);
    control->setPalette(p);
    control->setAutoFillBackground(true);
    if (auto *scroll = qobject_cast<QScrollArea *>(control))
        scroll->viewport()->setPalette(p);
}

void centreAtAThird(QWidget *frame, QSize notebook)
{
    frame->move(notebook.width() / 3 - frame->width() / 2, notebook.height() / 3 - frame->height() / 2);
}

} // namespace pagekit
