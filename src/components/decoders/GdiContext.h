// The drawing state shared by the Windows metafile and enhanced metafile players: a GDI device
// context played onto a QImage with QPainter. It keeps the mapping (mode, window and viewport
// origin and extent, EMF world transform), the saved-state stack, the selected pen, brush and
// font, text colour and alignment, background mode and colour, fill mode, current position,
// clipping (in output pixels) and the EMF path being built. Players parse records and call the
// primitives here in logical coordinates; nothing here reads file data. The target is a bitmap for
// the viewer, or any paint device (an SVG generator keeps the drawing as vectors). On a device that
// is not a bitmap, shapes are mapped to device coordinates here and clipped by path intersection,
// since vector engines keep neither clipping nor device-space hatch patterns; text and bitmaps
// are drawn there unclipped.
#pragma once

#include "platform/Result.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>
#include <optional>
#include <vector>

namespace pictures {

struct GdiPen
{
    int style = 0; // PS_SOLID; 5 is PS_NULL
    double width = 0;
    QColor color = Qt::black;
    int endCap = 0; // PS_ENDCAP_* >> 8
    int join = 0;   // PS_JOIN_* >> 12
};

struct GdiBrush
{
    int style = 0; // BS_SOLID; 1 BS_NULL, 2 BS_HATCHED, 3/5/6 pattern
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct GdiFont
{
    double height = 0;
    double escapement = 0; // tenths of a degree
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

struct GdiObject
{
    enum Kind { Empty, Pen, Brush, Font, Other } kind = Empty;
    GdiPen pen;
    GdiBrush brush;
    GdiFont font;
};

enum class ArcKind { Arc, Chord, Pie };

// A metafile's own size must leave a bitmap one pixel narrower and lower, within the memory limit.
platform::Status metafileSizeAllowed(QSize size);

class GdiContext
{
public:
    // target: the bitmap drawn on; base: reference-device coordinates to target pixels;
    // refDpi: dots per inch of the reference device, for the metric mapping modes.
    GdiContext(QPaintDevice &target, const QTransform &base, double refDpi);
    ~GdiContext();

    struct State
    {
        int mapMode = 1; // MM_TEXT
        QPointF winOrg{0, 0}, winExt{1, 1}, vpOrg{0, 0}, vpExt{1, 1};
        QTransform world;
        GdiPen pen;
        GdiBrush brush;
        GdiFont font;
        QColor textColor = Qt::black;
        QColor bkColor = Qt::white;
        int bkMode = 2; // OPAQUE
        int textAlign = 0;
        double charExtra = 0;
        int polyFillMode = 1; // ALTERNATE
        int arcDirection = 1; // counter-clockwise
        int rop2 = 13;        // R2_COPYPEN
        QPointF cur;
        std::optional<QRegion> clip;
    };
    State st;

    // Mapping and state.
    QTransform transform() const;
    const QTransform &baseTransform() const { return m_base; }
    void save();
    void restore(int relative);
    // Fills the whole target with a colour, whatever the state.
    void fillBackground(const QColor &color);
    void setWindowOrg(QPointF p) { st.winOrg = p; }
    void setWindowExt(QPointF p);
    void setViewportOrg(QPointF p) { st.vpOrg = p; }
    void setViewportExt(QPointF p);
    void scaleWindowExt(double xNum, double xDen, double yNum, double yDen);
    void scaleViewportExt(double xNum, double xDen, double yNum, double yDen);

    // Objects, by table index.
    std::vector<GdiObject> objects;
    int addObject(const GdiObject &obj); // first free slot (WMF rule)
    void putObject(quint32 index, const GdiObject &obj);
    void selectObject(quint32 index);
    void deleteObject(quint32 index);
    void selectStock(quint32 stock);

    // Clipping, in logical coordinates.
    void intersectClip(const QRectF &r);
    void excludeClip(const QRectF &r);
    void offsetClip(QPointF d);
    void setClipRegion(const std::optional<QRegion> &deviceRegion, int mode);

    // Drawing.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF &pts, bool fromCurrent);
    void polygon(const QPolygonF &pts);
    void polyPolygon(const QList<QPolygonF> &polys);
    void polyPolyline(const QList<QPolygonF> &lines);
    void polyBezier(const QPolygonF &pts, bool fromCurrent);
    void rectangle(const QRectF &r);
    void roundRect(const QRectF &r, QSizeF corner);
    void ellipse(const QRectF &r);
    void arc(const QRectF &box, QPointF start, QPointF end, ArcKind kind, bool arcTo = false);
    void angleArc(QPointF center, double radius, double startDeg, double sweepDeg);
    void setPixel(QPointF p, QColor c);
    void textOut(QPointF p, const QString &text, const QList<double> &dx, quint32 options,
                 const QRectF *rect);
    void drawBitmap(const QRectF &dest, const QImage &image, const QRectF &src, quint32 rop);
    void patBlt(const QRectF &dest, quint32 rop);

    // Paths (enhanced metafiles).
    void beginPath();
    void endPath() { m_inPath = false; }
    void abortPath();
    void closeFigure();
    void fillPath() { finishPath(true, false); }
    void strokePath() { finishPath(false, true); }
    void strokeAndFillPath() { finishPath(true, true); }
    void selectClipPath(int mode);

    static QColor colorRef(quint32 c)
    {
        return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
    }

private:
    void prepare(bool usePen, bool useBrush);
    void drawPath(const QPainterPath &path, bool fill, bool stroke);
    void drawVectorPath(const QPainterPath &path, bool fill, bool stroke);
    void finishPath(bool fill, bool stroke);
    QPen qtPen() const;
    QBrush qtBrush() const;
    QRegion deviceRect(const QRectF &logical) const;
    QRegion fullRegion() const;
    QFont qtFont(double deviceHeight) const;

    QRect m_target; // the target's pixels
    bool m_vector = false;
    QPainter m_painter;
    QTransform m_base;
    double m_refDpi;
    std::vector<State> m_saved;
    bool m_inPath = false;
    QPainterPath m_path;
};

} // namespace pictures
