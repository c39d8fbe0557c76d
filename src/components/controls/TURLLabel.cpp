#include "components/controls/TURLLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>

TURLLabel::TURLLabel(QWidget *parent) : QLabel(parent)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

void TURLLabel::setAddress(const QString &address)
{
    QString a = address.trimmed();
    // A secure address keeps its scheme: the web rule would otherwise open "http://https://...".
    m_secure = a.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
    for (const char *prefix : {"mailto:", "http://", "https://"})
        if (a.startsWith(prefix, Qt::CaseInsensitive))
            a = a.mid(static_cast<int>(qstrlen(prefix)));
    m_address = a;
    setToolTip(a);
    setAccessibleName(a);
}

QString TURLLabel::target() const
{
    if (m_secure)
        return "https://" + m_address;
    if (m_address.contains('/'))
        return "http://" + m_address;
    if (m_address.contains('@'))
        return "mailto:" + m_address;
    return "http://" + m_address;
}

void TURLLabel::open()
{
    if (!m_address.isEmpty())
        emit openRequested(QUrl(target()));
}

void TURLLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open();
    QLabel::mouseReleaseEvent(event);
}

void TURLLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)
        open();
    else
        QLabel::keyPressEvent(event);
}
