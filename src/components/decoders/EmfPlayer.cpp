#include "components/decoders/DibDecoder.h"
#include "components/decoders/GdiContext.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <uemf.h>
#include <uemf_safe.h>

namespace pictures {

using platform::Error;
using platform::makeError;

namespace {

// One record, every field read through bounds checks (fields past the end read as zero).
struct Rec
{
    const char *p;
    quint32 size;
    quint32 u32(quint32 off) const
    {
        if (off + 4 > size)
            return 0;
        quint32 v;
        std::memcpy(&v, p + off, 4);
        return v;
    }
    qint32 i32(quint32 off) const { return qint32(u32(off)); }
    float f32(quint32 off) const
    {
        const quint32 v = u32(off);
        float f;
        std::memcpy(&f, &v, 4);
        return f;
    }
    qint16 i16(quint32 off) const
    {
        if (off + 2 > size)
            return 0;
        qint16 v;
        std::memcpy(&v, p + off, 2);
        return v;
    }
    QPointF point(quint32 off) const { return QPointF(i32(off), i32(off + 4)); }
    QRectF rect(quint32 off) const
    {
        return QRectF(QPointF(i32(off), i32(off + 4)), QPointF(i32(off + 8), i32(off + 12)));
    }
    // A span of the record given by offset and length fields; empty when it leaves the record.
    QByteArrayView span(quint32 off, quint32 len) const
    {
        if (len == 0 || off > size || len > size - off)
            return {};
        return QByteArrayView(p + off, len);
    }
};

struct Header
{
    QRectF bounds, frame;
    QSizeF device, millimeters;
};

platform::Status readHeader(QByteArrayView data, Header &h)
{
    if (data.size() < 88)
        return invalidData(QStringLiteral("not an enhanced metafile"));
    const Rec rec{data.data(), quint32(qMin<qsizetype>(data.size(), 0x7fffffff))};
    if (rec.u32(0) != U_EMR_HEADER || rec.u32(40) != 0x464D4520 || rec.u32(4) < 88 || rec.u32(4) > rec.size)
        return invalidData(QStringLiteral("not an enhanced metafile"));
    h.bounds = rec.rect(8);
    h.frame = rec.rect(24);
    h.device = QSizeF(rec.i32(72), rec.i32(76));
    h.millimeters = QSizeF(rec.i32(80), rec.i32(84));
    return {};
}

// The first window extent, for files whose header gives no size.
bool findWindow(QByteArrayView data, QRectF &window)
{
    qsizetype pos = 0;
    QPointF org;
    while (pos + 8 <= data.size()) {
        const Rec rec{data.data() + pos, 0};
        quint32 size;
        std::memcpy(&size, rec.p + 4, 4);
        if (size < 8 || size > data.size() - pos)
            return false;
        const Rec r{rec.p, size};
        const quint32 type = r.u32(0);
        if (type == U_EMR_SETWINDOWORGEX) {
            org = r.point(8);
        } else if (type == U_EMR_SETWINDOWEXTEX) {
            window = QRectF(org, QSizeF(r.i32(8), r.i32(12)));
            return window.width() != 0 && window.height() != 0;
        } else if (type == U_EMR_EOF) {
            return false;
        }
        pos += size;
    }
    return false;
}

// Size in pixels and the mapping from reference-device pixels to the picture.
platform::Status geometry(QByteArrayView data, Header &h, QSize &size, QTransform &base, double &dpi)
{
    if (const platform::Status header = readHeader(data, h); !header)
        return header;
    dpi = 96;
    if (h.device.width() > 0 && h.millimeters.width() > 0)
        dpi = h.device.width() * 25.4 / h.millimeters.width();
    const double fw = h.frame.right() - h.frame.left(), fh = h.frame.bottom() - h.frame.top();
    QRectF window;
    if (fw > 0 && fh > 0) {
        size = QSize(qRound(fw * 96 / 2540), qRound(fh * 96 / 2540));
        // Reference pixels to hundredths of a millimetre, then the frame onto the picture.
        const double mmx = 100.0 * 25.4 / dpi;
        const double mmy = h.device.height() > 0 && h.millimeters.height() > 0
                               ? 100.0 * h.millimeters.height() / h.device.height()
                               : mmx;
        base = QTransform(mmx, 0, 0, mmy, 0, 0) * QTransform::fromTranslate(-h.frame.left(), -h.frame.top()) *
               QTransform::fromScale(size.width() / fw, size.height() / fh);
    } else if (h.bounds.right() > h.bounds.left() && h.bounds.bottom() > h.bounds.top() &&
               h.bounds.width() < 1e6 && h.bounds.height() < 1e6) {
        size = QSize(int(h.bounds.width()) + 1, int(h.bounds.height()) + 1);
        base = QTransform::fromTranslate(-h.bounds.left(), -h.bounds.top());
    } else if (findWindow(data, window) && std::abs(window.width()) < 1e6 &&
               std::abs(window.height()) < 1e6) {
        size = QSize(qRound(std::abs(window.width())), qRound(std::abs(window.height())));
        base = QTransform();
    } else {
        return invalidData(QStringLiteral("metafile has no size"));
    }
    return metafileSizeAllowed(size);
}

QPolygonF points(const Rec &r, quint32 off, quint32 count, bool small)
{
    QPolygonF out;
    const quint32 each = small ? 4 : 8;
    if (count == 0 || off > r.size || count > (r.size - off) / each)
        return out;
    out.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const quint32 at = off + i * each;
        out << (small ? QPointF(r.i16(at), r.i16(at + 2)) : r.point(at));
    }
    return out;
}

QList<QPolygonF> polyPoints(const Rec &r, bool small)
{
    const quint32 n = r.u32(24), total = r.u32(28);
    QList<QPolygonF> out;
    if (n == 0 || n > (r.size - 32) / 4)
        return out;
    const QPolygonF all = points(r, 32 + 4 * n, total, small);
    if (quint32(all.size()) != total)
        return out;
    qsizetype at = 0;
    for (quint32 i = 0; i < n; ++i) {
        const quint32 count = r.u32(32 + 4 * i);
        if (count > quint32(all.size() - at))
            break;
        out << all.mid(at, count);
        at += count;
    }
    return out;
}

QImage dibOf(const Rec &r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits, bool &topDown)
{
    const QByteArrayView bmi = r.span(r.u32(offBmi), r.u32(cbBmi));
    const QByteArrayView bits = r.span(r.u32(offBits), r.u32(cbBits));
    if (bmi.isEmpty())
        return {};
    const platform::ErrorOr<DibInfo> info = readDibHeader(bmi);
    if (!info)
        return {};
    topDown = info->topDown;
    // A bitmap that cannot be read is left out of the drawing, as the record asks nothing else.
    const platform::ErrorOr<QImage> image = decodeDib(bmi, bits);
    return image ? *image : QImage();
}

GdiFont fontOf(const Rec &r)
{
    GdiFont f;
    f.height = r.i32(12);
    f.escapement = r.i32(20);
    f.weight = r.i32(28);
    f.italic = r.u32(32) & 0xff;
    f.underline = (r.u32(32) >> 8) & 0xff;
    f.strikeOut = (r.u32(32) >> 16) & 0xff;
    QString face;
    for (quint32 i = 0; i < 32; ++i) {
        const quint32 off = 40 + 2 * i;
        if (off + 2 > r.size)
            break;
        const char16_t ch = char16_t(quint16(r.i16(off)));
        if (!ch)
            break;
        face += QChar(ch);
    }
    f.face = face;
    return f;
}

void text(GdiContext &dc, const Rec &r, bool wide)
{
    const QPointF ref = r.point(36);
    const quint32 count = r.u32(44), offString = r.u32(48), options = r.u32(52);
    const bool hasRect = !(options & 0x100); // ETO_NO_RECT
    const QRectF clip = r.rect(56);
    const quint32 offDx = r.u32(hasRect ? 72 : 56);
    if (count == 0 || count > 0x100000)
        return;
    const QByteArrayView str = r.span(offString, count * (wide ? 2 : 1));
    if (str.isEmpty())
        return;
    const QString s = wide ? QString::fromUtf16(reinterpret_cast<const char16_t *>(str.data()), count)
                           : QString::fromLatin1(str.data(), count);
    QList<double> dx;
    if (!r.span(offDx, count * 4).isEmpty())
        for (quint32 i = 0; i < count; ++i)
            dx << r.i32(offDx + 4 * i);
    dc.textOut(ref, s, dx, options, hasRect && (options & 6) ? &clip : nullptr);
}

void play(GdiContext &dc, const Rec &r, quint32 type)
{
    switch (type) {
    case U_EMR_SETWINDOWEXTEX:
        dc.setWindowExt(r.point(8));
        break;
    case U_EMR_SETWINDOWORGEX:
        dc.setWindowOrg(r.point(8));
        break;
    case U_EMR_SETVIEWPORTEXTEX:
        dc.setViewportExt(r.point(8));
        break;
    case U_EMR_SETVIEWPORTORGEX:
        dc.setViewportOrg(r.point(8));
        break;
    case U_EMR_SCALEVIEWPORTEXTEX:
        dc.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SCALEWINDOWEXTEX:
        dc.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20));
        break;
    case U_EMR_SETMAPMODE:
        dc.st.mapMode = int(r.u32(8));
        break;
    case U_EMR_SETBKMODE:
        dc.st.bkMode = int(r.u32(8));
        break;
    case U_EMR_SETPOLYFILLMODE:
        dc.st.polyFillMode = int(r.u32(8));
        break;
    case U_EMR_SETROP2:
        dc.st.rop2 = int(r.u32(8));
        break;
    case U_EMR_SETTEXTALIGN:
        dc.st.textAlign = int(r.u32(8));
        break;
    case U_EMR_SETTEXTCOLOR:
        dc.st.textColor = GdiContext::colorRef(r.u32(8));
        break;
    case U_EMR_SETBKCOLOR:
        dc.st.bkColor = GdiContext::colorRef(r.u32(8));
        break;
    case U_EMR_SETARCDIRECTION:
        dc.st.arcDirection = int(r.u32(8));
        break;
    case U_EMR_MOVETOEX:
        dc.moveTo(r.point(8));
        break;
    case U_EMR_LINETO:
        dc.lineTo(r.point(8));
        break;
    case U_EMR_SETPIXELV:
        dc.setPixel(r.point(8), GdiContext::colorRef(r.u32(16)));
        break;
    case U_EMR_EXCLUDECLIPRECT:
        dc.excludeClip(r.rect(8));
        break;
    case U_EMR_INTERSECTCLIPRECT:
        dc.intersectClip(r.rect(8));
        break;
    case U_EMR_OFFSETCLIPRGN:
        dc.offsetClip(r.point(8));
        break;
    case U_EMR_EXTSELECTCLIPRGN: {
        const quint32 cb = r.u32(8), mode = r.u32(12);
        if (cb < 32) {
            dc.setClipRegion(std::nullopt, int(mode));
            break;
        }
        // Region rectangles are in device units of the reference device.
        quint32 count = r.u32(16 + 8);
        if (count > (r.size - 48) / 16)
            break;
        // Uniting rectangles one by one grows with their square: past a few thousand the
        // region's bounds stand in for it.
        if (count > 4096) {
            dc.setClipRegion(QRegion(dc.baseTransform()
                                         .mapRect(r.rect(32).normalized())
                                         .intersected(QRectF(-1, -1, 1e6, 1e6))
                                         .toAlignedRect()),
                             int(mode));
            break;
        }
        QRegion region;
        for (quint32 i = 0; i < count; ++i) {
            const QRectF dev = dc.baseTransform().mapRect(r.rect(48 + 16 * i).normalized());
            region += dev.intersected(QRectF(-1, -1, 1e6, 1e6)).toAlignedRect();
        }
        dc.setClipRegion(region, int(mode));
        break;
    }
    case U_EMR_SAVEDC:
        dc.save();
        break;
    case U_EMR_RESTOREDC:
        dc.restore(r.i32(8));
        break;
    case U_EMR_SETWORLDTRANSFORM:
    case U_EMR_MODIFYWORLDTRANSFORM: {
        const QTransform x(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        if (!x.isInvertible() || !std::isfinite(x.m11() + x.m12() + x.m21() + x.m22() + x.dx() + x.dy()))
            break;
        const quint32 mode = type == U_EMR_SETWORLDTRANSFORM ? 4 : r.u32(32);
        if (mode == 1)
            dc.st.world = QTransform();
        else if (mode == 2)
            dc.st.world = x * dc.st.world;
        else if (mode == 3)
            dc.st.world = dc.st.world * x;
        else if (mode == 4)
            dc.st.world = x;
        break;
    }
    case U_EMR_SELECTOBJECT:
        dc.selectObject(r.u32(8));
        break;
    case U_EMR_DELETEOBJECT:
        dc.deleteObject(r.u32(8));
        break;
    case U_EMR_CREATEPEN: {
        GdiObject o;
        o.kind = GdiObject::Pen;
        o.pen.style = int(r.u32(12) & 0xff);
        o.pen.endCap = int((r.u32(12) >> 8) & 0xf);
        o.pen.join = int((r.u32(12) >> 12) & 0xf);
        o.pen.width = r.i32(16);
        o.pen.color = GdiContext::colorRef(r.u32(24));
        dc.putObject(r.u32(8), o);
        break;
    }
    case U_EMR_EXTCREATEPEN: {
        GdiObject o;
        o.kind = GdiObject::Pen;
        const quint32 style = r.u32(28);
        o.pen.style = r.u32(36) == 1 ? 5 : int(style & 0xff); // a null brush draws nothing
        o.pen.endCap = int((style >> 8) & 0xf);
        o.pen.join = int((style >> 12) & 0xf);
        // Cosmetic pens are one pixel whatever their width field says.
        o.pen.width = (style & 0x00010000) ? r.u32(32) : 0;
        o.pen.color = GdiContext::colorRef(r.u32(40));
        dc.putObject(r.u32(8), o);
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Brush;
        o.brush.style = int(r.u32(12));
        o.brush.color = GdiContext::colorRef(r.u32(16));
        o.brush.hatch = int(r.u32(20));
        dc.putObject(r.u32(8), o);
        break;
    }
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATEMONOBRUSH: {
        GdiObject o;
        o.kind = GdiObject::Brush;
        bool topDown = false;
        o.brush.pattern = dibOf(r, 16, 20, 24, 28, topDown);
        o.brush.style = o.brush.pattern.isNull() ? 0 : 3;
        o.brush.color = Qt::gray;
        dc.putObject(r.u32(8), o);
        break;
    }
    case U_EMR_EXTCREATEFONTINDIRECTW: {
        GdiObject o;
        o.kind = GdiObject::Font;
        o.font = fontOf(r);
        dc.putObject(r.u32(8), o);
        break;
    }
    case U_EMR_CREATEPALETTE:
    case U_EMR_CREATECOLORSPACE:
    case U_EMR_CREATECOLORSPACEW: {
        GdiObject o;
        o.kind = GdiObject::Other;
        dc.putObject(r.u32(8), o);
        break;
    }
    case U_EMR_POLYBEZIER:
        dc.polyBezier(points(r, 28, r.u32(24), false), false);
        break;
    case U_EMR_POLYBEZIER16:
        dc.polyBezier(points(r, 28, r.u32(24), true), false);
        break;
    case U_EMR_POLYBEZIERTO:
        dc.polyBezier(points(r, 28, r.u32(24), false), true);
        break;
    case U_EMR_POLYBEZIERTO16:
        dc.polyBezier(points(r, 28, r.u32(24), true), true);
        break;
    case U_EMR_POLYGON:
        dc.polygon(points(r, 28, r.u32(24), false));
        break;
    case U_EMR_POLYGON16:
        dc.polygon(points(r, 28, r.u32(24), true));
        break;
    case U_EMR_POLYLINE:
        dc.polyline(points(r, 28, r.u32(24), false), false);
        break;
    case U_EMR_POLYLINE16:
        dc.polyline(points(r, 28, r.u32(24), true), false);
        break;
    case U_EMR_POLYLINETO:
        dc.polyline(points(r, 28, r.u32(24), false), true);
        break;
    case U_EMR_POLYLINETO16:
        dc.polyline(points(r, 28, r.u32(24), true), true);
        break;
    case U_EMR_POLYPOLYGON:
        dc.polyPolygon(polyPoints(r, false));
        break;
    case U_EMR_POLYPOLYGON16:
        dc.polyPolygon(polyPoints(r, true));
        break;
    case U_EMR_POLYPOLYLINE:
        dc.polyPolyline(polyPoints(r, false));
        break;
    case U_EMR_POLYPOLYLINE16:
        dc.polyPolyline(polyPoints(r, true));
        break;
    case U_EMR_RECTANGLE:
        dc.rectangle(r.rect(8));
        break;
    case U_EMR_ROUNDRECT:
        dc.roundRect(r.rect(8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case U_EMR_ELLIPSE:
        dc.ellipse(r.rect(8));
        break;
    case U_EMR_ARC:
        dc.arc(r.rect(8), r.point(24), r.point(32), ArcKind::Arc);
        break;
    case U_EMR_ARCTO:
        dc.arc(r.rect(8), r.point(24), r.point(32), ArcKind::Arc, true);
        break;
    case U_EMR_CHORD:
        dc.arc(r.rect(8), r.point(24), r.point(32), ArcKind::Chord);
        break;
    case U_EMR_PIE:
        dc.arc(r.rect(8), r.point(24), r.point(32), ArcKind::Pie);
        break;
    case U_EMR_ANGLEARC:
        dc.angleArc(r.point(8), r.u32(16), r.f32(20), r.f32(24));
        break;
    case U_EMR_BEGINPATH:
        dc.beginPath();
        break;
    case U_EMR_ENDPATH:
        dc.endPath();
        break;
    case U_EMR_CLOSEFIGURE:
        dc.closeFigure();
        break;
    case U_EMR_ABORTPATH:
        dc.abortPath();
        break;
    case U_EMR_FILLPATH:
        dc.fillPath();
        break;
    case U_EMR_STROKEPATH:
        dc.strokePath();
        break;
    case U_EMR_STROKEANDFILLPATH:
        dc.strokeAndFillPath();
        break;
    case U_EMR_SELECTCLIPPATH:
        dc.selectClipPath(int(r.u32(8)));
        break;
    case U_EMR_EXTTEXTOUTW:
        text(dc, r, true);
        break;
    case U_EMR_EXTTEXTOUTA:
        text(dc, r, false);
        break;
    case U_EMR_BITBLT:
    case U_EMR_STRETCHBLT: {
        const QRectF dest(r.point(24), QSizeF(r.i32(32), r.i32(36)));
        const quint32 rop = r.u32(40);
        bool topDown = false;
        const QImage img = dibOf(r, 84, 88, 92, 96, topDown);
        if (img.isNull()) {
            dc.patBlt(dest, rop); // no source bitmap
            break;
        }
        const QSizeF srcSize = type == U_EMR_STRETCHBLT ? QSizeF(r.i32(100), r.i32(104)) : dest.size();
        dc.drawBitmap(dest, img, QRectF(r.point(44), srcSize), rop);
        break;
    }
    case U_EMR_STRETCHDIBITS:
    case U_EMR_SETDIBITSTODEVICE: {
        bool topDown = false;
        const QImage img = dibOf(r, 48, 52, 56, 60, topDown);
        if (img.isNull())
            break;
        QRectF src(r.point(32), QSizeF(r.i32(40), r.i32(44)));
        if (!topDown) // source y counts from the bottom row of a bottom-up bitmap
            src.moveTop(img.height() - src.top() - src.height());
        const QSizeF destSize = type == U_EMR_STRETCHDIBITS ? QSizeF(r.i32(72), r.i32(76)) : src.size();
        dc.drawBitmap(QRectF(r.point(24), destSize), img, src,
                      type == U_EMR_STRETCHDIBITS ? r.u32(68) : 0x00cc0020);
        break;
    }
    default:
        break; // not drawn
    }
}

bool isPlayed(quint32 type)
{
    switch (type) {
    case U_EMR_ABORTPATH:
    case U_EMR_ANGLEARC:
    case U_EMR_ARC:
    case U_EMR_ARCTO:
    case U_EMR_BEGINPATH:
    case U_EMR_BITBLT:
    case U_EMR_CHORD:
    case U_EMR_CLOSEFIGURE:
    case U_EMR_CREATEBRUSHINDIRECT:
    case U_EMR_CREATECOLORSPACE:
    case U_EMR_CREATECOLORSPACEW:
    case U_EMR_CREATEDIBPATTERNBRUSHPT:
    case U_EMR_CREATEMONOBRUSH:
    case U_EMR_CREATEPALETTE:
    case U_EMR_CREATEPEN:
    case U_EMR_DELETEOBJECT:
    case U_EMR_ELLIPSE:
    case U_EMR_ENDPATH:
    case U_EMR_EXCLUDECLIPRECT:
    case U_EMR_EXTCREATEFONTINDIRECTW:
    case U_EMR_EXTCREATEPEN:
    case U_EMR_EXTSELECTCLIPRGN:
    case U_EMR_EXTTEXTOUTA:
    case U_EMR_EXTTEXTOUTW:
    case U_EMR_FILLPATH:
    case U_EMR_INTERSECTCLIPRECT:
    case U_EMR_LINETO:
    case U_EMR_MODIFYWORLDTRANSFORM:
    case U_EMR_MOVETOEX:
    case U_EMR_OFFSETCLIPRGN:
    case U_EMR_PIE:
    case U_EMR_POLYBEZIER:
    case U_EMR_POLYBEZIER16:
    case U_EMR_POLYBEZIERTO:
    case U_EMR_POLYBEZIERTO16:
    case U_EMR_POLYGON:
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE:
    case U_EMR_POLYLINE16:
    case U_EMR_POLYLINETO:
    case U_EMR_POLYLINETO16:
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYGON16:
    case U_EMR_POLYPOLYLINE:
    case U_EMR_POLYPOLYLINE16:
    case U_EMR_RECTANGLE:
    case U_EMR_RESTOREDC:
    case U_EMR_ROUNDRECT:
    case U_EMR_SAVEDC:
    case U_EMR_SCALEVIEWPORTEXTEX:
    case U_EMR_SCALEWINDOWEXTEX:
    case U_EMR_SELECTCLIPPATH:
    case U_EMR_SELECTOBJECT:
    case U_EMR_SETARCDIRECTION:
    case U_EMR_SETBKCOLOR:
    case U_EMR_SETBKMODE:
    case U_EMR_SETDIBITSTODEVICE:
    case U_EMR_SETMAPMODE:
    case U_EMR_SETPIXELV:
    case U_EMR_SETPOLYFILLMODE:
    case U_EMR_SETROP2:
    case U_EMR_SETTEXTALIGN:
    case U_EMR_SETTEXTCOLOR:
    case U_EMR_SETVIEWPORTEXTEX:
    case U_EMR_SETVIEWPORTORGEX:
    case U_EMR_SETWINDOWEXTEX:
    case U_EMR_SETWINDOWORGEX:
    case U_EMR_SETWORLDTRANSFORM:
    case U_EMR_STRETCHBLT:
    case U_EMR_STRETCHDIBITS:
    case U_EMR_STROKEANDFILLPATH:
    case U_EMR_STROKEPATH:
        return true;
    default:
        return false;
    }
}

// Plays the records onto device, after filling it with background when one is given; base maps
// reference-device pixels to device pixels.
platform::Status playRecords(QByteArrayView data, const QTransform &base, double dpi, QPaintDevice &device,
                             const std::optional<QColor> &background)
{
    GdiContext dc(device, base, dpi);
    if (background)
        dc.fillBackground(*background);

    qsizetype pos = 0;
    while (true) {
        if (pos + 8 > data.size()) {
            return makeError(Error::Kind::InvalidData,
                             QStringLiteral("metafile ends without its end record"));
        }
        const char *p = data.data() + pos;
        quint32 type, size32;
        std::memcpy(&type, p, 4);
        std::memcpy(&size32, p + 4, 4);
        if (size32 < 8 || (size32 & 3) || size32 > data.size() - pos) {
            return makeError(Error::Kind::InvalidData,
                             QStringLiteral("damaged metafile record at offset %1").arg(pos));
        }
        const qsizetype at = pos;
        pos += size32;
        // libUEMF's own consistency check of the record's counts and offsets, for the records
        // played (it has no check for some others, and says so on the terminal).
        if (type != U_EMR_HEADER && type != U_EMR_EOF && !isPlayed(type))
            continue;
        if (!U_emf_record_safe(p)) {
            return makeError(Error::Kind::InvalidData,
                             QStringLiteral("unsafe metafile record %1 at offset %2").arg(type).arg(at));
        }
        if (type == U_EMR_EOF)
            break;
        if (type != U_EMR_HEADER)
            play(dc, Rec{p, size32}, type);
    }
    return platform::Status::success();
}

} // namespace

namespace {

// A picture's size in pixels and the mapping from its reference device, read once for each entry.
struct Picture
{
    QSize size;
    QTransform base;
    double dpi = 96;
};

platform::ErrorOr<Picture> pictureOf(QByteArrayView data)
{
    Header h;
    Picture p;
    if (const platform::Status status = geometry(data, h, p.size, p.base, p.dpi); !status)
        return status.error();
    return p;
}

} // namespace

platform::ErrorOr<QSize> emfPictureSize(QByteArrayView data)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.error();
    return p->size;
}

platform::ErrorOr<QImage> renderEmf(QByteArrayView data, const QColor &background)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.error();
    QImage image(p->size.width() - 1, p->size.height() - 1, QImage::Format_RGB32);
    if (image.isNull())
        return tooLarge(QStringLiteral("out of memory"));
    image.fill(background);
    if (const platform::Status played = playRecords(data, p->base, p->dpi, image, std::nullopt); !played)
        return played.error();
    return image;
}

platform::Status drawEmf(QByteArrayView data, QImage &target)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.status();
    if (target.isNull())
        return makeError(Error::Kind::Other, QStringLiteral("no bitmap to draw on"));
    // The picture scaled onto the whole target.
    const QTransform fit = QTransform::fromScale(double(target.width()) / p->size.width(),
                                                 double(target.height()) / p->size.height());
    return playRecords(data, p->base * fit, p->dpi, target, std::nullopt);
}

platform::Status playEmf(QByteArrayView data, QPaintDevice &device, double scale, const QColor &background)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.status();
    return playRecords(data, p->base * QTransform::fromScale(scale, scale), p->dpi, device, background);
}

platform::Status drawEmf(QByteArrayView data, QImage &target, double zoom, QPointF origin)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.status();
    // FIXME: clip regions a file gives in device pixels are not zoomed with the rest.
    return playRecords(data, p->base * zoomView(zoom, origin), p->dpi, target, std::nullopt);
}

} // namespace pictures
