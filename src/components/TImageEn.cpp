#include "components/TImageEn.h"

#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"
#include "components/decoders/PcxDecoder.h"
#include "components/decoders/TiffDecoder.h"

#include <QFileInfo>
#include <QPainter>
#include <QScrollBar>

TImageEn::TImageEn(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setBackground(m_background);
}

platform::ErrorOr<QImage> TImageEn::decode(const QByteArray &data, const QString &extension,
                                           const QColor &background)
{
    const QString ext = extension.toLower();
    if (ext == QLatin1String("pcx"))
        return pictures::decodePcx(data);
    if (ext == QLatin1String("tif") || ext == QLatin1String("tiff"))
        return pictures::decodeTiff(data);
    if (ext == QLatin1String("wmf"))
        return pictures::renderWmf(data, background);
    if (ext == QLatin1String("emf"))
        return pictures::renderEmf(data, background);
    return pictures::invalidData(QStringLiteral("unknown picture type \"%1\"").arg(extension));
}

platform::Status TImageEn::loadFromFile(const QString &path)
{
    const platform::ErrorOr<QByteArray> data = pictures::readWholeFile(path);
    if (!data)
        return data.status();
    const QString ext = QFileInfo(path).suffix();
    platform::ErrorOr<QImage> decoded = decode(*data, ext, m_background);
    if (!decoded)
        return platform::makeError(
            decoded.error().kind,
            QStringLiteral("Cannot read picture \"%1\": %2").arg(path, decoded.error().message));
    QImage img = std::move(*decoded);
    if (m_eightBit && img.depth() > 8)
        img = img.convertToFormat(QImage::Format_Indexed8);
    m_bitmap = std::move(img);
    updateScrollBars();
    viewport()->update();
    return platform::Status::success();
}

void TImageEn::clear()
{
    if (m_bitmap.isNull())
        return;
    if (m_bitmap.format() == QImage::Format_Mono || m_bitmap.format() == QImage::Format_Indexed8)
        m_bitmap = QImage(m_bitmap.size(), QImage::Format_RGB32);
    m_bitmap.fill(m_background);
    viewport()->update();
}

void TImageEn::setBackground(const QColor &color)
{
    m_background = color;
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Window, color);
    viewport()->setPalette(pal);
    viewport()->setAutoFillBackground(true);
    viewport()->update();
}

void TImageEn::setScrollBars(bool on)
{
    m_scrollBars = on;
    setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(on ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    updateScrollBars();
}

void TImageEn::updateScrollBars()
{
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, m_scrollBars ? qMax(0, m_bitmap.width() - view.width()) : 0);
    verticalScrollBar()->setRange(0, m_scrollBars ? qMax(0, m_bitmap.height() - view.height()) : 0);
    horizontalScrollBar()->setPageStep(view.width());
    verticalScrollBar()->setPageStep(view.height());
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
}

void TImageEn::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const QSize view = viewport()->size();
    horizontalScrollBar()->setRange(0, m_scrollBars ? qMax(0, m_bitmap.width() - view.width()) : 0);
    verticalScrollBar()->setRange(0, m_scrollBars ? qMax(0, m_bitmap.height() - view.height()) : 0);
}

void TImageEn::paintEvent(QPaintEvent *)
{
    if (m_bitmap.isNull())
        return;
    QPainter p(viewport());
    p.drawImage(-horizontalScrollBar()->value(), -verticalScrollBar()->value(), m_bitmap);
}
