#include "components/decoders/GdiContext.h"

#include "components/decoders/ImageLimits.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QtMath>
#include <cmath>

namespace pictures {

namespace {

// Text larger than this many output pixels is not drawn: glyphs that size are only ever a
// hostile file's way to stall the rasteriser.
constexpr double MaxTextPixels = 4096;
// Saved states kept at most; deeper saves are dropped.
constexpr size_t MaxSavedStates = 4096;
constexpr size_t MaxObjects = 65536;

double safeDiv(double a, double b)
{
    return b == 0 ? a : a / b;
}

QRectF normalized(const QRectF &r)
{
    return r.normalized();
}

} // namespace

GdiContext::GdiContext(QPaintDevice &target, const QTransform &base, double refDpi)
    : m_target(0, 0, target.width(), target.height()), m_painter(&target), m_base(base),
      m_refDpi(refDpi > 0 ? refDpi : 96)
{
    m_vector = m_painter.paintEngine() && m_painter.paintEngine()->type() != QPaintEngine::Raster;
    // GDI draws aliased; antialiasing would change the pixels a metafile sets.
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
}

GdiContext::~GdiContext()
{
    m_painter.end();
}

QTransform GdiContext::transform() const
{
    double sx = 1, sy = 1;
    switch (st.mapMode) {
    case 2:
        sx = m_refDpi / 254;
        sy = -sx;
        break; // MM_LOMETRIC
    case 3:
        sx = m_refDpi / 2540;
        sy = -sx;
        break; // MM_HIMETRIC
    case 4:
        sx = m_refDpi / 100;
        sy = -sx;
        break; // MM_LOENGLISH
    case 5:
        sx = m_refDpi / 1000;
        sy = -sx;
        break; // MM_HIENGLISH
    case 6:
        sx = m_refDpi / 1440;
        sy = -sx;
        break; // MM_TWIPS
    case 7:    // MM_ISOTROPIC: one scale, the smaller
    case 8:    // MM_ANISOTROPIC
        sx = safeDiv(st.vpExt.x(), st.winExt.x());
        sy = safeDiv(st.vpExt.y(), st.winExt.y());
        if (st.mapMode == 7) {
            const double s = qMin(std::abs(sx), std::abs(sy));
            sx = sx < 0 ? -s : s;
            sy = sy < 0 ? -s : s;
        }
        break;
    default:
        break; // MM_TEXT
    }
    const QTransform page(sx, 0, 0, sy, st.vpOrg.x() - st.winOrg.x() * sx, st.vpOrg.y() - st.winOrg.y() * sy);
    return st.world * page * m_base;
}

void GdiContext::save()
{
    if (m_saved.size() < MaxSavedStates)
        m_saved.push_back(st);
}

void GdiContext::restore(int relative)
{
    // Negative: that many states back; positive: an absolute depth (1 is the first save).
    qsizetype index = relative < 0 ? qsizetype(m_saved.size()) + relative : relative - 1;
    if (index < 0 || index >= qsizetype(m_saved.size()))
        return;
    st = m_saved[size_t(index)];
    m_saved.resize(size_t(index));
}

void GdiContext::setWindowExt(QPointF p)
{
    if (p.x() != 0 && p.y() != 0)
        st.winExt = p;
}

void GdiContext::setViewportExt(QPointF p)
{
    if (p.x() != 0 && p.y() != 0)
        st.vpExt = p;
}

void GdiContext::scaleWindowExt(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen != 0 && yDen != 0)
        setWindowExt(QPointF(st.winExt.x() * xNum / xDen, st.winExt.y() * yNum / yDen));
}

void GdiContext::scaleViewportExt(double xNum, double xDen, double yNum, double yDen)
{
    if (xDen != 0 && yDen != 0)
        setViewportExt(QPointF(st.vpExt.x() * xNum / xDen, st.vpExt.y() * yNum / yDen));
}

int GdiContext::addObject(const GdiObject &obj)
{
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i].kind == GdiObject::Empty) {
            objects[i] = obj;
            return int(i);
        }
    }
    if (objects.size() >= MaxObjects)
        return -1;
    objects.push_back(obj);
    return int(objects.size() - 1);
}

void GdiContext::putObject(quint32 index, const GdiObject &obj)
{
    if (index >= MaxObjects)
        return;
    if (index >= objects.size())
        objects.resize(index + 1);
    objects[index] = obj;
}

void GdiContext::selectObject(quint32 index)
{
    if (index & 0x80000000u) {
        selectStock(index & 0x7fffffffu);
        return;
    }
    if (index >= objects.size())
        return;
    const GdiObject &o = objects[index];
    switch (o.kind) {
    case GdiObject::Pen:
        st.pen = o.pen;
        break;
    case GdiObject::Brush:
        st.brush = o.brush;
        break;
    case GdiObject::Font:
        st.font = o.font;
        break;
    default:
        break;
    }
}

void GdiContext::deleteObject(quint32 index)
{
    if (index < objects.size())
        objects[index] = GdiObject();
}

void GdiContext::selectStock(quint32 stock)
{
    static const int greys[] = {255, 192, 128, 64, 0};
    if (stock <= 4) {
        st.brush = GdiBrush{0, QColor(greys[stock], greys[stock], greys[stock]), 0, {}};
    } else if (stock == 5) {
        st.brush.style = 1;
    } else if (stock == 6 || stock == 7) {
        st.pen = GdiPen{0, 0, stock == 6 ? Qt::white : Qt::black, 0, 0};
    } else if (stock == 8) {
        st.pen.style = 5;
    } else if (stock >= 10 && stock <= 17) {
        st.font = GdiFont();
    }
}

QRegion GdiContext::fullRegion() const
{
    return QRegion(m_target);
}

void GdiContext::fillBackground(const QColor &color)
{
    m_painter.save();
    m_painter.resetTransform();
    m_painter.setClipping(false);
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.fillRect(m_target, color);
    m_painter.restore();
}

QRegion GdiContext::deviceRect(const QRectF &logical) const
{
    const QRectF r = transform().mapRect(normalized(logical));
    // Clamp before rounding: a hostile rectangle may be far outside int range.
    const QRectF bounded = r.intersected(QRectF(-1, -1, m_target.width() + 2, m_target.height() + 2));
    return QRegion(bounded.toAlignedRect());
}

void GdiContext::intersectClip(const QRectF &r)
{
    st.clip = st.clip.value_or(fullRegion()).intersected(deviceRect(r));
}

void GdiContext::excludeClip(const QRectF &r)
{
    st.clip = st.clip.value_or(fullRegion()).subtracted(deviceRect(r));
}

void GdiContext::offsetClip(QPointF d)
{
    if (!st.clip)
        return;
    const QTransform t = transform();
    const QPointF dd = t.map(d) - t.map(QPointF(0, 0));
    if (std::abs(dd.x()) < 1e6 && std::abs(dd.y()) < 1e6)
        st.clip->translate(qRound(dd.x()), qRound(dd.y()));
}

void GdiContext::setClipRegion(const std::optional<QRegion> &region, int mode)
{
    // RGN_AND 1, RGN_OR 2, RGN_XOR 3, RGN_DIFF 4, RGN_COPY 5
    if (!region) {
        if (mode == 5)
            st.clip.reset();
        return;
    }
    const QRegion current = st.clip.value_or(fullRegion());
    switch (mode) {
    case 1:
        st.clip = current.intersected(*region);
        break;
    case 2:
        st.clip = current.united(*region);
        break;
    case 3:
        st.clip = current.xored(*region);
        break;
    case 4:
        st.clip = current.subtracted(*region);
        break;
    default:
        st.clip = *region;
        break;
    }
}

QPen GdiContext::qtPen() const
{
    const GdiPen &p = st.pen;
    if ((p.style & 0xf) == 5)
        return Qt::NoPen;
    QPen pen(p.color);
    // Width 0 or 1 is one device pixel whatever the mapping, as GDI draws it.
    if (p.width <= 1) {
        pen.setCosmetic(true);
        pen.setWidthF(1);
    } else {
        pen.setWidthF(p.width);
    }
    switch (p.style & 0xf) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    pen.setCapStyle(p.endCap == 1 ? Qt::SquareCap : p.endCap == 2 ? Qt::FlatCap : Qt::RoundCap);
    pen.setJoinStyle(p.join == 1 ? Qt::BevelJoin : p.join == 2 ? Qt::MiterJoin : Qt::RoundJoin);
    return pen;
}

QBrush GdiContext::qtBrush() const
{
    const GdiBrush &b = st.brush;
    switch (b.style) {
    case 1:
        return Qt::NoBrush;
    case 2: {
        static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                 Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.color, hatches[qBound(0, b.hatch, 5)]);
    }
    case 3:
    case 5:
    case 6:
        if (!b.pattern.isNull())
            return QBrush(b.pattern);
        return QBrush(b.color);
    default:
        return QBrush(b.color);
    }
}

void GdiContext::prepare(bool usePen, bool useBrush)
{
    m_painter.resetTransform();
    if (st.clip)
        m_painter.setClipRegion(*st.clip);
    else
        m_painter.setClipping(false);
    m_painter.setTransform(transform());
    m_painter.setPen(usePen ? qtPen() : QPen(Qt::NoPen));
    m_painter.setBrush(useBrush ? qtBrush() : QBrush(Qt::NoBrush));
    // Hatches are drawn on the background colour in opaque mode.
    m_painter.setBackgroundMode(st.bkMode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter.setBackground(st.bkColor);
    switch (st.rop2) {
    case 7:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break; // R2_XORPEN
    case 6:
        m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        break; // R2_NOT
    case 9:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break; // R2_MASKPEN
    case 15:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break; // R2_MERGEPEN
    default:
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
}

void GdiContext::drawPath(const QPainterPath &path, bool fill, bool stroke)
{
    if (m_inPath) {
        m_path.addPath(path);
        return;
    }
    if (m_vector) {
        drawVectorPath(path, fill, stroke);
        return;
    }
    prepare(stroke, fill);
    m_painter.drawPath(path);
}

void GdiContext::drawVectorPath(const QPainterPath &path, bool fill, bool stroke)
{
    prepare(stroke, fill);
    const QTransform t = transform();
    const QPen pen = m_painter.pen();
    const QBrush brush = m_painter.brush();
    m_painter.resetTransform();
    m_painter.setClipping(false);
    QPainterPath clip;
    if (st.clip)
        clip.addRegion(*st.clip);
    if (fill && brush.style() != Qt::NoBrush) {
        QPainterPath area = t.map(path);
        if (st.clip)
            area = area.intersected(clip);
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(brush);
        m_painter.drawPath(area);
    }
    if (!stroke || pen.style() == Qt::NoPen)
        return;
    // A cosmetic pen is one pixel in device space; a wide one scales with the mapping.
    QPainterPathStroker stroker(pen);
    QPainterPath outline =
        pen.isCosmetic() ? stroker.createStroke(t.map(path)) : t.map(stroker.createStroke(path));
    outline.setFillRule(Qt::WindingFill);
    if (st.clip)
        outline = outline.intersected(clip);
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(pen.color());
    m_painter.drawPath(outline);
}

void GdiContext::moveTo(QPointF p)
{
    st.cur = p;
    if (m_inPath)
        m_path.moveTo(p);
}

void GdiContext::lineTo(QPointF p)
{
    if (m_inPath) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(st.cur);
        m_path.lineTo(p);
    } else if (m_vector) {
        QPainterPath line(st.cur);
        line.lineTo(p);
        drawVectorPath(line, false, true);
    } else {
        prepare(true, false);
        m_painter.drawLine(st.cur, p);
    }
    st.cur = p;
}

void GdiContext::polyline(const QPolygonF &pts, bool fromCurrent)
{
    if (pts.isEmpty())
        return;
    QPolygonF all = pts;
    if (fromCurrent)
        all.prepend(st.cur);
    if (m_inPath) {
        if (!fromCurrent || m_path.elementCount() == 0)
            m_path.moveTo(all.first());
        for (qsizetype i = 1; i < all.size(); ++i)
            m_path.lineTo(all[i]);
    } else if (m_vector) {
        QPainterPath line;
        line.addPolygon(all);
        drawVectorPath(line, false, true);
    } else {
        prepare(true, false);
        m_painter.drawPolyline(all);
    }
    if (fromCurrent)
        st.cur = pts.last();
}

void GdiContext::polygon(const QPolygonF &pts)
{
    if (pts.size() < 2)
        return;
    QPainterPath path;
    path.setFillRule(st.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    path.addPolygon(pts);
    path.closeSubpath();
    drawPath(path, true, true);
}

void GdiContext::polyPolygon(const QList<QPolygonF> &polys)
{
    QPainterPath path;
    path.setFillRule(st.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF &p : polys) {
        if (p.size() < 2)
            continue;
        path.addPolygon(p);
        path.closeSubpath();
    }
    drawPath(path, true, true);
}

void GdiContext::polyPolyline(const QList<QPolygonF> &lines)
{
    QPainterPath path;
    for (const QPolygonF &p : lines)
        if (!p.isEmpty())
            path.addPolygon(p);
    drawPath(path, false, true);
}

void GdiContext::polyBezier(const QPolygonF &pts, bool fromCurrent)
{
    QPolygonF all = pts;
    if (fromCurrent)
        all.prepend(st.cur);
    if (all.size() < 4)
        return;
    QPainterPath path(all[0]);
    qsizetype i = 1;
    for (; i + 2 < all.size(); i += 3)
        path.cubicTo(all[i], all[i + 1], all[i + 2]);
    if (fromCurrent)
        st.cur = all[i - 1];
    if (m_inPath) {
        if (fromCurrent && m_path.elementCount() > 0)
            m_path.connectPath(path);
        else
            m_path.addPath(path);
        return;
    }
    drawPath(path, false, true);
}

void GdiContext::rectangle(const QRectF &r)
{
    QPainterPath path;
    path.addRect(normalized(r));
    drawPath(path, true, true);
}

void GdiContext::roundRect(const QRectF &r, QSizeF corner)
{
    QPainterPath path;
    const QRectF n = normalized(r);
    path.addRoundedRect(n, qMin(std::abs(corner.width()) / 2, n.width() / 2),
                        qMin(std::abs(corner.height()) / 2, n.height() / 2));
    drawPath(path, true, true);
}

void GdiContext::ellipse(const QRectF &r)
{
    QPainterPath path;
    path.addEllipse(normalized(r));
    drawPath(path, true, true);
}

void GdiContext::arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind, bool arcTo)
{
    const QRectF r = normalized(box);
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QPointF c = r.center();
    const double rx = r.width() / 2, ry = r.height() / 2;
    // The radials' angles, turned into the parametric angles Qt's arcs use.
    auto angleOf = [&](QPointF p) {
        return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx));
    };
    const double a0 = angleOf(start), a1 = angleOf(end);
    double sweep = a1 - a0;
    if (st.arcDirection == 2) { // clockwise
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(r, a0, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    if (arcTo) {
        // ArcTo draws a line from the current position to the arc's start and ends at its end.
        QPainterPath withLine(st.cur);
        withLine.connectPath(path);
        st.cur = path.currentPosition();
        if (m_inPath)
            m_path.connectPath(withLine);
        else
            drawPath(withLine, false, true);
        return;
    }
    drawPath(path, kind != ArcKind::Arc, true);
}

void GdiContext::angleArc(QPointF center, double radius, double startDeg, double sweepDeg)
{
    if (!(radius > 0) || !std::isfinite(startDeg) || !std::isfinite(sweepDeg))
        return;
    const QRectF r(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath arcPath;
    arcPath.arcMoveTo(r, startDeg);
    arcPath.arcTo(r, startDeg, qBound(-360.0, sweepDeg, 360.0));
    QPainterPath path(st.cur);
    path.connectPath(arcPath);
    st.cur = arcPath.currentPosition();
    drawPath(path, false, true);
}

void GdiContext::setPixel(QPointF p, QColor c)
{
    const QPointF d = transform().map(p);
    if (!(d.x() >= 0 && d.y() >= 0 && d.x() < m_target.width() && d.y() < m_target.height()))
        return;
    const int x = int(d.x()), y = int(d.y());
    if (st.clip && !st.clip->contains(QPoint(x, y)))
        return;
    m_painter.resetTransform();
    m_painter.setClipping(false);
    m_painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_painter.fillRect(QRect(x, y, 1, 1), c);
}

QFont GdiContext::qtFont(double deviceHeight) const
{
    QFont font(st.font.face.isEmpty() ? QStringLiteral("Sans Serif") : st.font.face);
    font.setPixelSize(qMax(1, qRound(deviceHeight)));
    if (st.font.height > 0) {
        // A positive height is the cell height (ascent plus descent), not the em size.
        const QFontMetricsF fm(font);
        if (fm.height() > 0)
            font.setPixelSize(qMax(1, qRound(deviceHeight * deviceHeight / fm.height())));
    }
    font.setWeight(QFont::Weight(qBound(1, st.font.weight > 0 ? st.font.weight : 400, 1000)));
    font.setItalic(st.font.italic);
    font.setUnderline(st.font.underline);
    font.setStrikeOut(st.font.strikeOut);
    return font;
}

void GdiContext::textOut(QPointF p, const QString &text, const QList<double> &dx, quint32 options,
                         const QRectF *rect)
{
    if (m_inPath)
        return;
    const QTransform t = transform();
    const double scaleY = std::hypot(t.m21(), t.m22()), scaleX = std::hypot(t.m11(), t.m12());
    const double logicalHeight = st.font.height == 0 ? 16 / qMax(scaleY, 1e-9) : std::abs(st.font.height);
    const double deviceHeight = logicalHeight * scaleY;
    if (!(deviceHeight >= 0.5 && deviceHeight <= MaxTextPixels) || !std::isfinite(scaleX))
        return;

    const bool updateCp = st.textAlign & 1;
    const QPointF ref = updateCp ? st.cur : p;
    const QFont font = qtFont(deviceHeight);
    const QFontMetricsF fm(font);
    QList<double> advances;
    advances.reserve(text.size());
    double total = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const double a =
            i < dx.size() ? dx[i] * scaleX : fm.horizontalAdvance(text[i]) + st.charExtra * scaleX;
        advances << a;
        total += a;
    }
    if (!std::isfinite(total) || std::abs(total) > 1e7)
        return;

    const QPointF origin = t.map(ref);
    // Text placed millions of pixels away cannot show, and Qt's fixed-point text layout would
    // overflow on it.
    if (!(std::abs(origin.x()) < 1e6 && std::abs(origin.y()) < 1e6))
        return;
    prepare(false, false);
    if (rect && (options & 0x0002)) { // ETO_OPAQUE
        m_painter.fillRect(normalized(*rect), st.bkColor);
    }
    if (rect && (options & 0x0004)) { // ETO_CLIPPED
        const QRegion r = deviceRect(*rect);
        m_painter.resetTransform();
        m_painter.setClipRegion(st.clip ? st.clip->intersected(r) : r);
    }
    m_painter.setTransform(QTransform());
    m_painter.translate(origin);
    if (st.font.escapement != 0)
        m_painter.rotate(-st.font.escapement / 10.0);

    const int hAlign = st.textAlign & 6, vAlign = st.textAlign & 24;
    double x0 = 0;
    if (hAlign == 6)
        x0 = -total / 2;
    else if (hAlign == 2)
        x0 = -total;
    double baseline = 0;
    if (vAlign == 0)
        baseline = fm.ascent();
    else if (vAlign == 8)
        baseline = -fm.descent();
    if (st.bkMode == 2 && !(rect && (options & 0x0002)))
        m_painter.fillRect(QRectF(x0, baseline - fm.ascent(), total, fm.ascent() + fm.descent()), st.bkColor);
    m_painter.setFont(font);
    m_painter.setPen(st.textColor);
    if (dx.isEmpty() && st.charExtra == 0) {
        m_painter.drawText(QPointF(x0, baseline), text);
    } else {
        double x = x0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            m_painter.drawText(QPointF(x, baseline), QString(text[i]));
            x += advances[i];
        }
    }
    if (updateCp) {
        const QTransform inv = t.inverted();
        st.cur = inv.map(origin + QPointF(total, 0));
    }
}

void GdiContext::drawBitmap(const QRectF &dest, const QImage &image, const QRectF &src, quint32 rop)
{
    if (image.isNull() || m_inPath)
        return;
    const QRectF device = transform().mapRect(normalized(dest));
    if (!(device.width() < 1e7 && device.height() < 1e7 && std::abs(device.x()) < 1e7 &&
          std::abs(device.y()) < 1e7))
        return;
    prepare(false, false);
    switch (rop) {
    case 0x00ee0086:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case 0x008800c6:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case 0x00660046:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case 0x00330008:
        m_painter.setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    case 0x00440328:
        m_painter.setCompositionMode(QPainter::RasterOp_SourceAndNotDestination);
        break;
    case 0x00bb0226:
        m_painter.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination);
        break;
    default:
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
    // Negative extents mirror the bitmap, as StretchBlt does.
    m_painter.drawImage(dest, image.convertToFormat(QImage::Format_RGB32), src);
}

void GdiContext::patBlt(const QRectF &dest, quint32 rop)
{
    if (m_inPath)
        return;
    prepare(false, false);
    const QRectF r = normalized(dest);
    switch (rop) {
    case 0x00000042:
        m_painter.fillRect(r, Qt::black);
        break; // BLACKNESS
    case 0x00ff0062:
        m_painter.fillRect(r, Qt::white);
        break;       // WHITENESS
    case 0x00550009: // DSTINVERT
        m_painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        m_painter.fillRect(r, Qt::white);
        break;
    case 0x005a0049: // PATINVERT
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        m_painter.fillRect(r, qtBrush());
        break;
    case 0x00aa0029:
        break; // destination unchanged
    default:
        if (st.brush.style != 1)
            m_painter.fillRect(r, qtBrush());
        break;
    }
}

void GdiContext::beginPath()
{
    m_inPath = true;
    m_path = QPainterPath();
    m_path.moveTo(st.cur);
}

void GdiContext::abortPath()
{
    m_inPath = false;
    m_path = QPainterPath();
}

void GdiContext::closeFigure()
{
    if (m_inPath)
        m_path.closeSubpath();
}

void GdiContext::finishPath(bool fill, bool stroke)
{
    m_inPath = false;
    QPainterPath path = m_path;
    m_path = QPainterPath();
    path.setFillRule(st.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill);
    if (m_vector) {
        drawVectorPath(path, fill, stroke);
        return;
    }
    prepare(stroke, fill);
    m_painter.drawPath(path);
}

void GdiContext::selectClipPath(int mode)
{
    m_inPath = false;
    const QPainterPath device = transform().map(m_path);
    m_path = QPainterPath();
    const QRectF bounds = device.boundingRect();
    if (!bounds.isValid() || bounds.width() > 1e7 || bounds.height() > 1e7)
        return;
    // A path becomes a clip region through a one-bit mask of the target's size.
    QImage mask(m_target.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    {
        QPainter mp(&mask);
        mp.setPen(Qt::NoPen);
        mp.setBrush(Qt::white);
        mp.drawPath(device);
    }
    // Row runs are already in the banded order QRegion::setRects wants.
    QList<QRect> rects;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar *row = mask.constScanLine(y);
        for (int x = 0; x < mask.width();) {
            if (!row[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width() && row[x])
                ++x;
            rects << QRect(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    setClipRegion(region, mode);
}

platform::Status metafileSizeAllowed(QSize size)
{
    if (size.width() < 2 || size.height() < 2 || !imageSizeAllowed(size.width(), size.height()))
        return sizeRefusal(
            size.width(), size.height(),
            QStringLiteral("metafile size %1 x %2 is not allowed").arg(size.width()).arg(size.height()));
    return {};
}

} // namespace pictures
