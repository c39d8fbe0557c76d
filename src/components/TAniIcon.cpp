#include "components/TAniIcon.h"

#include <QPainter>

TAniIcon::TAniIcon(QWidget *parent) : QWidget(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        advanceStep();
        schedule();
    });
    connect(&m_file, &TAniFile::changed, this, &TAniIcon::fileChanged);
}

void TAniIcon::fileChanged()
{
    m_step = 0;
    if (!m_file.isEmpty())
        resize(m_file.size());
    updateGeometry();
    update();
    emit stepChanged(0);
    schedule();
}

void TAniIcon::setAnimated(bool on)
{
    m_animated = on;
    if (on)
        schedule();
    else
        m_timer.stop();
}

void TAniIcon::advanceStep()
{
    if (m_file.stepCount() == 0)
        return;
    m_step = (m_step + 1) % m_file.stepCount();
    update();
    emit stepChanged(m_step);
}

void TAniIcon::schedule()
{
    if (m_animated && m_file.stepCount() > 1)
        m_timer.start(m_file.stepMs(m_step));
    else
        m_timer.stop();
}

QSize TAniIcon::sizeHint() const
{
    return m_file.isEmpty() ? QSize(32, 32) : m_file.size();
}

void TAniIcon::paintEvent(QPaintEvent *)
{
    const QImage img = m_file.stepImage(m_step);
    if (img.isNull())
        return;
    QPainter p(this);
    p.drawImage((width() - img.width()) / 2, (height() - img.height()) / 2, img);
}
