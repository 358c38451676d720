#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QTransform>
#include <variant>
#include <vector>

namespace platform {

/** A pen, brush or font as a metafile defines it, in logical units. */
struct GdiPen
{
    int style = 0; // PS_SOLID
    double width = 0;
    QColor color = Qt::black;
};

struct GdiBrush
{
    int style = 0; // BS_SOLID
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct GdiFont
{
    double height = 0;
    int weight = 400;
    int escapement = 0; // tenths of a degree
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 0;
    QString face;
};

/**
 * The device context a metafile draws on: mapping modes, the object table, the current
 * pen, brush, font and position, saved states and paths, painted with QPainter onto an image.
 *
 * Every drawing call costs work in proportion to the pixels it may touch; once the work
 * budget is spent, further drawing is ignored, so no metafile can keep the reader busy.
 */
class GdiCanvas
{
public:
    /** Draws on `image`; `workBudget` is in pixels touched. */
    GdiCanvas(QImage &image, qint64 workBudget);
    ~GdiCanvas();

    GdiCanvas(const GdiCanvas &) = delete;
    GdiCanvas &operator=(const GdiCanvas &) = delete;

    // Mapping. In window mode (WMF), the window rectangle is mapped onto the whole image;
    // else (EMF) logical units go through the mapping mode to device units, and
    // `deviceToImage` maps those to pixels.
    void setWindowMode(bool on) { m_windowMode = on; }
    void setDeviceToImage(const QTransform &transform) { m_deviceToImage = transform; }
    void setDevicePixelsPerMm(double x, double y);
    void setMapMode(int mode) { m_state.mapMode = mode; }
    void setWindowOrg(QPointF origin) { m_state.windowOrg = origin; }
    void setWindowExt(QSizeF extent);
    void setViewportOrg(QPointF origin) { m_state.viewportOrg = origin; }
    void setViewportExt(QSizeF extent);
    void offsetWindowOrg(QPointF by) { m_state.windowOrg += by; }
    void offsetViewportOrg(QPointF by) { m_state.viewportOrg += by; }
    void setWorldTransform(const QTransform &transform) { m_state.world = transform; }
    void modifyWorldTransform(const QTransform &transform, int mode);
    QSizeF windowExt() const { return m_state.windowExt; }

    void saveState();
    void restoreState(int which);

    // Attributes.
    void setTextColor(QColor color) { m_state.textColor = color; }
    void setBackgroundColor(QColor color) { m_state.backgroundColor = color; }
    void setBackgroundMode(int mode) { m_state.opaque = mode == 2; }
    void setTextAlign(int align) { m_state.textAlign = align; }
    void setPolyFillMode(int mode) { m_state.winding = mode == 2; }
    void setAnsiCodePage(const QByteArray &name) { m_ansiCodePage = name; }

    // Objects. Indices are the metafile's own; stock objects are selected by number.
    void createPen(quint32 index, const GdiPen &pen);
    void createBrush(quint32 index, const GdiBrush &brush);
    void createFont(quint32 index, const GdiFont &font);
    /** Any other object (palette, region): it takes a slot but selecting it does nothing. */
    void createOther(quint32 index);
    void selectObject(quint32 index);
    void selectStockObject(quint32 number);
    void deleteObject(quint32 index);
    bool hasObject(quint32 index) const { return m_objects.contains(index); }
    int objectCount() const { return int(m_objects.size()); }

    // Drawing, in logical coordinates.
    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const QPolygonF &points);
    void polylineTo(const QPolygonF &points);
    void polyBezier(const QPolygonF &points, bool fromCurrent);
    void polygon(const QPolygonF &points);
    void polyPolygon(const QList<QPolygonF> &polygons);
    void polyPolyline(const QList<QPolygonF> &polylines);
    void rectangle(const QRectF &rect);
    void roundRect(const QRectF &rect, QSizeF corner);
    void ellipse(const QRectF &rect);
    /** Arc, chord (closed by a line) or pie (closed through the centre). */
    void arc(const QRectF &rect, QPointF start, QPointF end, int kind);
    void setPixel(QPointF point, QColor color);
    /** Text at a point; `bytes` when the text is 8-bit, decoded by the font's character set. */
    void text(QPointF point, const QString &text, int options, const QRectF &rect);
    QString decodeText(QByteArrayView bytes) const;
    void image(const QRectF &target, const QImage &image, const QRectF &source);
    /** Fills a rectangle as BitBlt without a source does: with the brush, black or white. */
    void patternFill(const QRectF &target, quint32 rop);
    void intersectClip(const QRectF &rect);

    // Paths.
    void beginPath();
    void endPath() { m_pathOpen = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();

    bool exhausted() const { return m_work > m_workBudget; }
    QSize imageSize() const { return m_image.size(); }

private:
    struct State
    {
        int mapMode = 1; // MM_TEXT
        QPointF windowOrg{0, 0};
        QSizeF windowExt{1, 1};
        QPointF viewportOrg{0, 0};
        QSizeF viewportExt{1, 1};
        QTransform world;
        QPointF position{0, 0};
        GdiPen pen;
        GdiBrush brush;
        GdiFont font;
        QColor textColor = Qt::black;
        QColor backgroundColor = Qt::white;
        bool opaque = true;
        int textAlign = 0;
        bool winding = false;
    };
    using Object = std::variant<GdiPen, GdiBrush, GdiFont, std::monostate>;

    QTransform logicalToImage() const;
    QPen qtPen() const;
    QBrush qtBrush() const;
    /** Takes the work for painting `bounds` (logical); false when the budget is spent. */
    bool spend(const QRectF &bounds);
    void drawPath(const QPainterPath &path, bool fill, bool stroke);
    void addOrDraw(const QPainterPath &path, bool closed);

    QImage &m_image;
    QPainter m_painter;
    QTransform m_deviceToImage;
    double m_pixelsPerMmX = 96 / 25.4;
    double m_pixelsPerMmY = 96 / 25.4;
    bool m_windowMode = false;
    State m_state;
    std::vector<State> m_saved;
    QHash<quint32, Object> m_objects;
    QByteArray m_ansiCodePage;
    QPainterPath m_path;
    bool m_pathOpen = false;
    qint64 m_work = 0;
    qint64 m_workBudget;
};

} // namespace platform
