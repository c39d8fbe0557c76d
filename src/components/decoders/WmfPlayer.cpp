#include "components/decoders/DibDecoder.h"
#include "components/decoders/GdiContext.h"
#include "components/decoders/ImageLimits.h"
#include "components/decoders/MetafilePlayer.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <uwmf.h>

namespace pictures {

using platform::Error;
using platform::makeError;

namespace {

template <typename T> T readAt(const char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

QPointF pt(const U_POINT16 &p)
{
    return QPointF(p.x, p.y);
}

QRectF rectOf(const U_RECT16 &r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom));
}

// Points of a polygon record, only when they lie inside the record.
QPolygonF points(const char *data, int count, const char *recEnd)
{
    QPolygonF out;
    if (!data || count <= 0 || data + qsizetype(count) * 4 > recEnd)
        return out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) {
        const auto p = readAt<U_POINT16>(data + 4 * i);
        out << QPointF(p.x, p.y);
    }
    return out;
}

struct TextRecord
{
    QPointF at;
    QString text;
    QList<double> dx;
    quint16 options = 0;
    bool hasRect = false;
    QRectF rect;
};

// TEXTOUT: length, string (padded to even), y, x. EXTTEXTOUT: y, x, length, options, a
// rectangle when the options clip or fill, string (padded), then optional spacing.
bool readText(const char *rec, const char *recEnd, bool extended, TextRecord &t)
{
    const char *p = rec + 6;
    auto has = [&](qsizetype n) { return p + n <= recEnd; };
    if (!extended) {
        if (!has(2))
            return false;
        const int length = readAt<int16_t>(p);
        p += 2;
        if (length <= 0 || !has(length + (length & 1) + 4))
            return false;
        t.text = QString::fromLatin1(p, length);
        p += length + (length & 1);
        t.at = QPointF(readAt<int16_t>(p + 2), readAt<int16_t>(p));
        return true;
    }
    if (!has(8))
        return false;
    t.at = QPointF(readAt<int16_t>(p + 2), readAt<int16_t>(p));
    const int length = readAt<int16_t>(p + 4);
    t.options = readAt<uint16_t>(p + 6);
    p += 8;
    if (t.options & 0x0006) {
        if (!has(8))
            return false;
        t.hasRect = true;
        t.rect = QRectF(QPointF(readAt<int16_t>(p), readAt<int16_t>(p + 2)),
                        QPointF(readAt<int16_t>(p + 4), readAt<int16_t>(p + 6)));
        p += 8;
    }
    if (length <= 0 || !has(length))
        return false;
    t.text = QString::fromLatin1(p, length);
    p += length + (length & 1);
    if (has(2 * qsizetype(length)))
        for (int i = 0; i < length; ++i)
            t.dx << readAt<int16_t>(p + 2 * i);
    return true;
}

struct Header
{
    qsizetype recordsStart = 0;
    bool placeable = false;
    QRectF bbox;
    double inch = 1440;
    int objects = 0;
};

platform::Status readHeader(QByteArrayView data, Header &h)
{
    U_WMRPLACEABLE placeable{};
    U_WMRHEADER header{};
    const char *base = data.data();
    if (data.size() < 18)
        return invalidData(QStringLiteral("not a Windows metafile"));
    const int size = wmfheader_get(base, base + data.size(), &placeable, &header);
    if (size <= 0 || size > data.size())
        return invalidData(QStringLiteral("not a Windows metafile"));
    h.recordsStart = size;
    h.placeable = placeable.Key == 0x9AC6CDD7;
    if (h.placeable) {
        h.bbox = rectOf(placeable.Dst).normalized();
        h.inch = placeable.Inch > 0 ? placeable.Inch : 1440;
    }
    h.objects = header.nObjects;
    return {};
}

// The first window origin and extent records, for files without a placeable header.
bool findWindow(QByteArrayView data, qsizetype pos, QRectF &window)
{
    const char *base = data.data(), *end = base + data.size();
    QPointF org(0, 0);
    while (pos < data.size()) {
        const char *rec = base + pos;
        const size_t n = U_WMRRECSAFE_get(rec, end);
        if (n == 0)
            return false;
        const int type = uchar(rec[4]);
        U_POINT16 p{};
        if (type == U_WMR_SETWINDOWORG && U_WMRSETWINDOWORG_get(rec, &p)) {
            org = pt(p);
        } else if (type == U_WMR_SETWINDOWEXT && U_WMRSETWINDOWEXT_get(rec, &p)) {
            window = QRectF(org, QSizeF(p.x, p.y));
            return p.x != 0 && p.y != 0;
        } else if (type == U_WMR_EOF) {
            return false;
        }
        pos += qsizetype(n);
    }
    return false;
}

platform::Status pictureGeometry(QByteArrayView data, Header &h, QRectF &window, QSize &size)
{
    if (const platform::Status header = readHeader(data, h); !header)
        return header;
    if (h.placeable && h.bbox.width() > 0 && h.bbox.height() > 0) {
        window = h.bbox;
        size = QSize(qRound(h.bbox.width() * 96 / h.inch), qRound(h.bbox.height() * 96 / h.inch));
    } else if (findWindow(data, h.recordsStart, window)) {
        size = QSize(qRound(std::abs(window.width())), qRound(std::abs(window.height())));
    } else {
        return invalidData(QStringLiteral("metafile has no size"));
    }
    return metafileSizeAllowed(size);
}

QImage bitmapOf(const char *dib, const char *recEnd, bool &topDown)
{
    if (!dib || dib >= recEnd)
        return {};
    const QByteArrayView view(dib, recEnd - dib);
    const platform::ErrorOr<DibInfo> info = readDibHeader(view);
    if (!info)
        return {};
    topDown = info->topDown;
    // A bitmap that cannot be read is left out of the drawing, as the record asks nothing else.
    const platform::ErrorOr<QImage> image = decodePackedDib(view);
    return image ? *image : QImage();
}

// Source rectangle of a DIB drawn by StretchDIB or SetDIBitsToDevice: y counts from the bottom
// row of a bottom-up bitmap.
QRectF dibSource(const QImage &img, bool topDown, double x, double y, double w, double h)
{
    if (!topDown)
        y = img.height() - y - h;
    return QRectF(x, y, w, h);
}

GdiObject penOf(const U_PEN &p)
{
    GdiObject o;
    o.kind = GdiObject::Pen;
    o.pen.style = p.Style & 0xff;
    o.pen.endCap = (p.Style >> 8) & 0xf;
    o.pen.join = (p.Style >> 12) & 0xf;
    o.pen.width = p.Widthw[0];
    o.pen.color = GdiContext::colorRef(readAt<quint32>(reinterpret_cast<const char *>(&p.Color)));
    return o;
}

// Plays the records onto device, the picture's window mapped onto a viewport of the given size and
// then through view, after filling the device with background when one is given.
platform::Status playRecords(QByteArrayView data, const Header &h, const QRectF &window, QSize viewport,
                             QPaintDevice &device, const QTransform &view,
                             const std::optional<QColor> &background)
{
    GdiContext dc(device, view, 96);
    if (background)
        dc.fillBackground(*background);
    // The player's viewport is the picture; the file's window records map onto it.
    dc.st.mapMode = 8;
    dc.st.winOrg = window.topLeft();
    dc.setWindowExt(QPointF(window.width(), window.height()));
    dc.st.vpOrg = QPointF(0, 0);
    dc.setViewportExt(QPointF(viewport.width(), viewport.height()));
    dc.objects.resize(size_t(h.objects));

    const char *base = data.data(), *end = base + data.size();
    qsizetype pos = h.recordsStart;
    bool sawEnd = false;
    while (pos < data.size()) {
        const char *rec = base + pos;
        const size_t n = U_WMRRECSAFE_get(rec, end);
        if (n == 0) {
            return makeError(Error::Kind::InvalidData,
                             QStringLiteral("damaged metafile record at offset %1").arg(pos));
        }
        const char *recEnd = rec + n;
        pos += qsizetype(n);
        const int type = uchar(rec[4]);
        U_POINT16 a{}, b{}, c{}, d{};
        U_RECT16 r{};
        uint16_t u = 0;
        int16_t s = 0;
        U_COLORREF color{};
        uint32_t rop = 0;
        const char *ptr = nullptr;
        switch (type) {
        case U_WMR_EOF:
            sawEnd = true;
            break;
        case U_WMR_SETBKCOLOR:
            if (U_WMRSETBKCOLOR_get(rec, &color))
                dc.st.bkColor = GdiContext::colorRef(readAt<quint32>(reinterpret_cast<const char *>(&color)));
            break;
        case U_WMR_SETTEXTCOLOR:
            if (U_WMRSETTEXTCOLOR_get(rec, &color))
                dc.st.textColor =
                    GdiContext::colorRef(readAt<quint32>(reinterpret_cast<const char *>(&color)));
            break;
        case U_WMR_SETBKMODE:
            if (U_WMRSETBKMODE_get(rec, &u))
                dc.st.bkMode = u;
            break;
        case U_WMR_SETPOLYFILLMODE:
            if (U_WMRSETPOLYFILLMODE_get(rec, &u))
                dc.st.polyFillMode = u;
            break;
        case U_WMR_SETROP2:
            if (U_WMRSETROP2_get(rec, &u))
                dc.st.rop2 = u;
            break;
        case U_WMR_SETTEXTALIGN:
            if (U_WMRSETTEXTALIGN_get(rec, &u))
                dc.st.textAlign = u;
            break;
        case U_WMR_SETTEXTCHAREXTRA:
            if (U_WMRSETTEXTCHAREXTRA_get(rec, &u))
                dc.st.charExtra = int16_t(u);
            break;
        case U_WMR_SETWINDOWORG:
            if (U_WMRSETWINDOWORG_get(rec, &a))
                dc.setWindowOrg(pt(a));
            break;
        case U_WMR_SETWINDOWEXT:
            if (U_WMRSETWINDOWEXT_get(rec, &a))
                dc.setWindowExt(pt(a));
            break;
        case U_WMR_OFFSETWINDOWORG:
            if (U_WMROFFSETWINDOWORG_get(rec, &a))
                dc.setWindowOrg(dc.st.winOrg + pt(a));
            break;
        case U_WMR_SCALEWINDOWEXT:
            if (U_WMRSCALEWINDOWEXT_get(rec, &a, &b))
                dc.scaleWindowExt(b.x, a.x, b.y, a.y);
            break;
        case U_WMR_SAVEDC:
            dc.save();
            break;
        case U_WMR_RESTOREDC:
            if (U_WMRRESTOREDC_get(rec, &s))
                dc.restore(s);
            break;
        case U_WMR_MOVETO:
            if (U_WMRMOVETO_get(rec, &a))
                dc.moveTo(pt(a));
            break;
        case U_WMR_LINETO:
            if (U_WMRLINETO_get(rec, &a))
                dc.lineTo(pt(a));
            break;
        case U_WMR_EXCLUDECLIPRECT:
            if (U_WMREXCLUDECLIPRECT_get(rec, &r))
                dc.excludeClip(rectOf(r));
            break;
        case U_WMR_INTERSECTCLIPRECT:
            if (U_WMRINTERSECTCLIPRECT_get(rec, &r))
                dc.intersectClip(rectOf(r));
            break;
        case U_WMR_OFFSETCLIPRGN:
            if (U_WMROFFSETCLIPRGN_get(rec, &a))
                dc.offsetClip(pt(a));
            break;
        case U_WMR_SELECTCLIPREGION:
            // Regions are not kept; selecting none resets the clip, as it does in GDI.
            if (U_WMRSELECTCLIPREGION_get(rec, &u) && u == 0)
                dc.setClipRegion(std::nullopt, 5);
            break;
        case U_WMR_ARC:
        case U_WMR_PIE:
        case U_WMR_CHORD: {
            const int ok = type == U_WMR_ARC   ? U_WMRARC_get(rec, &a, &b, &r)
                           : type == U_WMR_PIE ? U_WMRPIE_get(rec, &a, &b, &r)
                                               : U_WMRCHORD_get(rec, &a, &b, &r);
            if (ok)
                dc.arc(rectOf(r), pt(a), pt(b),
                       type == U_WMR_ARC   ? ArcKind::Arc
                       : type == U_WMR_PIE ? ArcKind::Pie
                                           : ArcKind::Chord);
            break;
        }
        case U_WMR_ELLIPSE:
            if (U_WMRELLIPSE_get(rec, &r))
                dc.ellipse(rectOf(r));
            break;
        case U_WMR_RECTANGLE:
            if (U_WMRRECTANGLE_get(rec, &r))
                dc.rectangle(rectOf(r));
            break;
        case U_WMR_ROUNDRECT: {
            int16_t w = 0, hh = 0;
            if (U_WMRROUNDRECT_get(rec, &w, &hh, &r))
                dc.roundRect(rectOf(r), QSizeF(w, hh));
            break;
        }
        case U_WMR_PATBLT:
            if (U_WMRPATBLT_get(rec, &a, &b, &rop))
                dc.patBlt(QRectF(pt(a), QSizeF(b.x, b.y)), rop);
            break;
        case U_WMR_SETPIXEL:
            if (U_WMRSETPIXEL_get(rec, &color, &a))
                dc.setPixel(pt(a),
                            GdiContext::colorRef(readAt<quint32>(reinterpret_cast<const char *>(&color))));
            break;
        case U_WMR_POLYGON:
        case U_WMR_POLYLINE: {
            uint16_t count = 0;
            const int ok = type == U_WMR_POLYGON ? U_WMRPOLYGON_get(rec, &count, &ptr)
                                                 : U_WMRPOLYLINE_get(rec, &count, &ptr);
            if (!ok)
                break;
            const QPolygonF poly = points(ptr, count, recEnd);
            if (type == U_WMR_POLYGON)
                dc.polygon(poly);
            else
                dc.polyline(poly, false);
            break;
        }
        case U_WMR_POLYPOLYGON: {
            uint16_t nPolys = 0;
            const uint16_t *counts = nullptr;
            if (!U_WMRPOLYPOLYGON_get(rec, &nPolys, &counts, &ptr) || !counts || !ptr)
                break;
            const char *countBytes = reinterpret_cast<const char *>(counts);
            if (countBytes + 2 * qsizetype(nPolys) > recEnd)
                break;
            QList<QPolygonF> polys;
            const char *at = ptr;
            for (int i = 0; i < nPolys; ++i) {
                const int count = readAt<uint16_t>(countBytes + 2 * i);
                const QPolygonF poly = points(at, count, recEnd);
                if (poly.size() != count)
                    break;
                polys << poly;
                at += qsizetype(count) * 4;
            }
            dc.polyPolygon(polys);
            break;
        }
        case U_WMR_TEXTOUT:
        case U_WMR_EXTTEXTOUT: {
            // Read here rather than through libUEMF, whose text readers trust the string length.
            TextRecord t;
            if (readText(rec, recEnd, type == U_WMR_EXTTEXTOUT, t))
                dc.textOut(t.at, t.text, t.dx, t.options, t.hasRect ? &t.rect : nullptr);
            break;
        }
        case U_WMR_STRETCHDIB:
        case U_WMR_DIBSTRETCHBLT:
        case U_WMR_DIBBITBLT:
        case U_WMR_SETDIBTODEV: {
            bool ok = false, bottomRule = false;
            uint16_t usage = 0, scans = 0, start = 0;
            if (type == U_WMR_STRETCHDIB) {
                ok = U_WMRSTRETCHDIB_get(rec, &a, &b, &c, &d, &usage, &rop, &ptr);
                bottomRule = true;
            } else if (type == U_WMR_DIBSTRETCHBLT) {
                ok = U_WMRDIBSTRETCHBLT_get(rec, &a, &b, &c, &d, &rop, &ptr);
            } else if (type == U_WMR_DIBBITBLT) {
                ok = U_WMRDIBBITBLT_get(rec, &a, &b, &c, &rop, &ptr);
                d = b;
            } else {
                ok = U_WMRSETDIBTODEV_get(rec, &a, &b, &c, &usage, &scans, &start, &ptr);
                d = b;
                rop = 0x00cc0020;
                bottomRule = true;
            }
            if (!ok)
                break;
            const QRectF dest(pt(a), QSizeF(b.x, b.y));
            bool topDown = false;
            const QImage img = bitmapOf(ptr, recEnd, topDown);
            if (img.isNull()) {
                if (!ptr)
                    dc.patBlt(dest, rop); // no source bitmap: a pattern operation
                break;
            }
            const QRectF src =
                bottomRule ? dibSource(img, topDown, c.x, c.y, d.x, d.y) : QRectF(c.x, c.y, d.x, d.y);
            dc.drawBitmap(dest, img, src, rop);
            break;
        }
        case U_WMR_SELECTOBJECT:
            if (U_WMRSELECTOBJECT_get(rec, &u))
                dc.selectObject(u);
            break;
        case U_WMR_DELETEOBJECT:
            if (U_WMRDELETEOBJECT_get(rec, &u))
                dc.deleteObject(u);
            break;
        case U_WMR_CREATEPENINDIRECT: {
            U_PEN pen{};
            if (U_WMRCREATEPENINDIRECT_get(rec, &pen))
                dc.addObject(penOf(pen));
            break;
        }
        case U_WMR_CREATEBRUSHINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            if (U_WMRCREATEBRUSHINDIRECT_get(rec, &ptr) && ptr && ptr + 8 <= recEnd) {
                o.brush.style = readAt<uint16_t>(ptr);
                o.brush.color = GdiContext::colorRef(readAt<quint32>(ptr + 2));
                o.brush.hatch = readAt<uint16_t>(ptr + 6);
            }
            dc.addObject(o);
            break;
        }
        case U_WMR_DIBCREATEPATTERNBRUSH: {
            GdiObject o;
            o.kind = GdiObject::Brush;
            const char *bm16 = nullptr;
            uint16_t style = 0, usage = 0;
            if (U_WMRDIBCREATEPATTERNBRUSH_get(rec, &style, &usage, &bm16, &ptr)) {
                bool topDown = false;
                const QImage img = bitmapOf(ptr, recEnd, topDown);
                if (!img.isNull()) {
                    o.brush.style = 3;
                    o.brush.pattern = img;
                }
            }
            dc.addObject(o);
            break;
        }
        case U_WMR_CREATEFONTINDIRECT: {
            GdiObject o;
            o.kind = GdiObject::Font;
            if (U_WMRCREATEFONTINDIRECT_get(rec, &ptr) && ptr && ptr + 18 <= recEnd) {
                o.font.height = readAt<int16_t>(ptr);
                o.font.escapement = readAt<int16_t>(ptr + 4);
                o.font.weight = readAt<int16_t>(ptr + 8);
                o.font.italic = ptr[10];
                o.font.underline = ptr[11];
                o.font.strikeOut = ptr[12];
                const char *face = ptr + 18;
                qsizetype len = 0;
                while (len < 32 && face + len < recEnd && face[len])
                    ++len;
                o.font.face = QString::fromLatin1(face, len);
            }
            dc.addObject(o);
            break;
        }
        case U_WMR_CREATEPALETTE:
        case U_WMR_CREATEPATTERNBRUSH:
        case U_WMR_CREATEREGION:
        case U_WMR_CREATEBITMAPINDIRECT:
        case U_WMR_CREATEBITMAP: {
            // Kept as placeholders so later objects land in the slots the file expects.
            GdiObject o;
            o.kind = type == U_WMR_CREATEPATTERNBRUSH ? GdiObject::Brush : GdiObject::Other;
            if (o.kind == GdiObject::Brush)
                o.brush.color = Qt::gray;
            dc.addObject(o);
            break;
        }
        default:
            break; // not drawn
        }
        if (sawEnd)
            break;
    }
    if (!sawEnd) {
        return makeError(Error::Kind::InvalidData, QStringLiteral("metafile ends without its end record"));
    }
    return platform::Status::success();
}

} // namespace

namespace {

// What each entry reads first: the header, the window the records draw in, the picture's size.
struct Picture
{
    Header h;
    QRectF window;
    QSize size;
};

platform::ErrorOr<Picture> pictureOf(QByteArrayView data)
{
    Picture p;
    if (const platform::Status geometry = pictureGeometry(data, p.h, p.window, p.size); !geometry)
        return geometry.error();
    return p;
}

} // namespace

platform::ErrorOr<QSize> wmfPictureSize(QByteArrayView data)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.error();
    return p->size;
}

platform::ErrorOr<QImage> renderWmf(QByteArrayView data, const QColor &background)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.error();
    QImage image(p->size.width() - 1, p->size.height() - 1, QImage::Format_RGB32);
    if (image.isNull())
        return tooLarge(QStringLiteral("out of memory"));
    image.fill(background);
    if (const platform::Status played =
            playRecords(data, p->h, p->window, p->size, image, QTransform(), std::nullopt);
        !played)
        return played.error();
    return image;
}

platform::Status drawWmf(QByteArrayView data, QImage &target)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.status();
    if (target.isNull())
        return makeError(Error::Kind::Other, QStringLiteral("no bitmap to draw on"));
    return playRecords(data, p->h, p->window, target.size(), target, QTransform(), std::nullopt);
}

platform::Status playWmf(QByteArrayView data, QPaintDevice &device, double scale, const QColor &background)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.status();
    return playRecords(data, p->h, p->window, p->size, device, QTransform::fromScale(scale, scale),
                       background);
}

platform::Status drawWmf(QByteArrayView data, QImage &target, double zoom, QPointF origin)
{
    const platform::ErrorOr<Picture> p = pictureOf(data);
    if (!p)
        return p.status();
    return playRecords(data, p->h, p->window, p->size, target, zoomView(zoom, origin), std::nullopt);
}

} // namespace pictures
