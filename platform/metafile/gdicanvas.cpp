#include "platform/metafile/gdicanvas.h"

#include "platform/codepage.h"
#include "platform/richtext/wincharset.h"

#include <QFontMetricsF>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr std::size_t maxSavedStates = 256;
constexpr int maxObjects = 65536;
/** Shapes reaching this far outside the picture (in pixels) are absurd and not drawn. */
constexpr double coordinateLimit = 1 << 20;
constexpr double maxPenPixels = 4096;
constexpr double maxFontPixels = 4096;

bool finite(const QTransform &t)
{
    const double values[] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
    return std::all_of(std::begin(values), std::end(values),
                       [](double v) { return std::isfinite(v) && std::abs(v) < 1e12; });
}

bool reasonable(const QRectF &r)
{
    return std::isfinite(r.left()) && std::isfinite(r.top()) && std::isfinite(r.right()) &&
           std::isfinite(r.bottom()) && std::abs(r.left()) < coordinateLimit &&
           std::abs(r.right()) < coordinateLimit && std::abs(r.top()) < coordinateLimit &&
           std::abs(r.bottom()) < coordinateLimit;
}

Qt::BrushStyle hatchStyle(int hatch)
{
    switch (hatch) {
    case 0:
        return Qt::HorPattern;
    case 1:
        return Qt::VerPattern;
    case 2:
        return Qt::FDiagPattern;
    case 3:
        return Qt::BDiagPattern;
    case 4:
        return Qt::CrossPattern;
    default:
        return Qt::DiagCrossPattern;
    }
}

} // namespace

GdiCanvas::GdiCanvas(QImage &image, qint64 workBudget)
    : m_image(image), m_painter(&image), m_ansiCodePage(CodePage::ansi().name()),
      m_workBudget(workBudget)
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

GdiCanvas::~GdiCanvas()
{
    m_painter.end();
}

void GdiCanvas::setDevicePixelsPerMm(double x, double y)
{
    if (std::isfinite(x) && std::isfinite(y) && x > 0 && y > 0) {
        m_pixelsPerMmX = x;
        m_pixelsPerMmY = y;
    }
}

void GdiCanvas::setWindowExt(QSizeF extent)
{
    if (extent.width() != 0 && extent.height() != 0)
        m_state.windowExt = extent;
}

void GdiCanvas::setViewportExt(QSizeF extent)
{
    if (extent.width() != 0 && extent.height() != 0)
        m_state.viewportExt = extent;
}

void GdiCanvas::modifyWorldTransform(const QTransform &transform, int mode)
{
    if (!finite(transform))
        return;
    switch (mode) {
    case 1: // MWT_IDENTITY
        m_state.world = QTransform();
        break;
    case 2: // MWT_LEFTMULTIPLY
        m_state.world = transform * m_state.world;
        break;
    case 3: // MWT_RIGHTMULTIPLY
        m_state.world = m_state.world * transform;
        break;
    case 4: // MWT_SET
        m_state.world = transform;
        break;
    default:
        break;
    }
}

void GdiCanvas::saveState()
{
    if (m_saved.size() >= maxSavedStates)
        return;
    m_saved.push_back(m_state);
    m_painter.save();
}

void GdiCanvas::restoreState(int which)
{
    const qint64 depth = qint64(m_saved.size());
    qint64 count = which < 0 ? -qint64(which) : depth - which + 1;
    count = std::clamp<qint64>(count, 0, depth);
    for (qint64 i = 0; i < count; ++i) {
        m_state = m_saved.back();
        m_saved.pop_back();
        m_painter.restore();
    }
}

void GdiCanvas::createPen(quint32 index, const GdiPen &pen)
{
    if (m_objects.size() < maxObjects || m_objects.contains(index))
        m_objects.insert(index, pen);
}

void GdiCanvas::createBrush(quint32 index, const GdiBrush &brush)
{
    if (m_objects.size() < maxObjects || m_objects.contains(index))
        m_objects.insert(index, brush);
}

void GdiCanvas::createFont(quint32 index, const GdiFont &font)
{
    if (m_objects.size() < maxObjects || m_objects.contains(index))
        m_objects.insert(index, font);
}

void GdiCanvas::createOther(quint32 index)
{
    if (m_objects.size() < maxObjects || m_objects.contains(index))
        m_objects.insert(index, std::monostate());
}

void GdiCanvas::selectObject(quint32 index)
{
    const auto found = m_objects.constFind(index);
    if (found == m_objects.constEnd())
        return;
    if (const auto *pen = std::get_if<GdiPen>(&found.value()))
        m_state.pen = *pen;
    else if (const auto *brush = std::get_if<GdiBrush>(&found.value()))
        m_state.brush = *brush;
    else if (const auto *font = std::get_if<GdiFont>(&found.value()))
        m_state.font = *font;
}

void GdiCanvas::selectStockObject(quint32 number)
{
    static const int greys[] = {255, 192, 128, 64, 0};
    if (number <= 4) {
        m_state.brush = GdiBrush{0, QColor(greys[number], greys[number], greys[number]), 0, {}};
    } else if (number == 5) {
        m_state.brush = GdiBrush{1, Qt::white, 0, {}};
    } else if (number == 6 || number == 7) {
        m_state.pen = GdiPen{0, 0, number == 6 ? QColor(Qt::white) : QColor(Qt::black)};
    } else if (number == 8) {
        m_state.pen = GdiPen{5, 0, Qt::black};
    } else if (number >= 10 && number <= 17) {
        m_state.font = GdiFont();
    }
}

void GdiCanvas::deleteObject(quint32 index)
{
    m_objects.remove(index);
}

QTransform GdiCanvas::logicalToImage() const
{
    const State &s = m_state;
    if (m_windowMode) {
        const QTransform window = QTransform::fromTranslate(-s.windowOrg.x(), -s.windowOrg.y()) *
                                  QTransform::fromScale(m_image.width() / s.windowExt.width(),
                                                        m_image.height() / s.windowExt.height());
        return s.world * window;
    }
    double sx = 1;
    double sy = 1;
    switch (s.mapMode) {
    case 2: // MM_LOMETRIC, 0.1 mm, y up
        sx = 0.1 * m_pixelsPerMmX;
        sy = -0.1 * m_pixelsPerMmY;
        break;
    case 3: // MM_HIMETRIC
        sx = 0.01 * m_pixelsPerMmX;
        sy = -0.01 * m_pixelsPerMmY;
        break;
    case 4: // MM_LOENGLISH
        sx = 0.254 * m_pixelsPerMmX;
        sy = -0.254 * m_pixelsPerMmY;
        break;
    case 5: // MM_HIENGLISH
        sx = 0.0254 * m_pixelsPerMmX;
        sy = -0.0254 * m_pixelsPerMmY;
        break;
    case 6: // MM_TWIPS
        sx = 25.4 / 1440 * m_pixelsPerMmX;
        sy = -25.4 / 1440 * m_pixelsPerMmY;
        break;
    case 7: // MM_ISOTROPIC
    case 8: // MM_ANISOTROPIC
        sx = s.viewportExt.width() / s.windowExt.width();
        sy = s.viewportExt.height() / s.windowExt.height();
        if (s.mapMode == 7) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default:
        break;
    }
    const QTransform page = QTransform::fromTranslate(-s.windowOrg.x(), -s.windowOrg.y()) *
                            QTransform::fromScale(sx, sy) *
                            QTransform::fromTranslate(s.viewportOrg.x(), s.viewportOrg.y());
    return s.world * page * m_deviceToImage;
}

QPen GdiCanvas::qtPen() const
{
    const GdiPen &p = m_state.pen;
    const int style = p.style & 0xf;
    if (style == 5)
        return Qt::NoPen;
    QPen pen(p.color);
    const QTransform t = logicalToImage();
    const double scale = std::sqrt(std::abs(t.determinant()));
    // The pen is stroked in logical units and then mapped: on a stretched page its width grows by
    // the larger of the two scales, and the bound must hold along that axis too.
    const double largest = std::max(std::hypot(t.m11(), t.m12()), std::hypot(t.m21(), t.m22()));
    const double pixels = std::abs(p.width) * scale;
    if (pixels <= 1.0 || !std::isfinite(pixels) || !std::isfinite(largest)) {
        pen.setWidth(0); // cosmetic, one pixel
    } else {
        pen.setWidthF(std::min(std::abs(p.width), maxPenPixels / largest));
        // GDI draws a pen wider than a pixel solid whatever its style (and dashing a wide pen
        // would cost Qt seconds).
        return pen;
    }
    switch (style) {
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
        break;
    }
    return pen;
}

QBrush GdiCanvas::qtBrush() const
{
    const GdiBrush &b = m_state.brush;
    switch (b.style) {
    case 0:
        return QBrush(b.color);
    case 1:
        return Qt::NoBrush;
    case 2:
        return QBrush(b.color, hatchStyle(b.hatch));
    default:
        return b.pattern.isNull() ? QBrush(b.color) : QBrush(b.pattern);
    }
}

bool GdiCanvas::spend(const QRectF &bounds)
{
    if (exhausted())
        return false;
    const QRectF mapped = logicalToImage().mapRect(bounds);
    if (!reasonable(mapped)) {
        m_work += 16;
        return false;
    }
    const QRectF visible = mapped.adjusted(-2, -2, 2, 2).intersected(QRectF(m_image.rect()));
    m_work += qint64(visible.width() * visible.height()) + 16;
    return !exhausted();
}

void GdiCanvas::drawPath(const QPainterPath &path, bool fill, bool stroke)
{
    const QTransform t = logicalToImage();
    if (!finite(t) || !spend(path.controlPointRect()))
        return;
    m_painter.setTransform(t);
    m_painter.setPen(stroke ? qtPen() : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? qtBrush() : QBrush(Qt::NoBrush));
    m_painter.setBackgroundMode(m_state.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter.setBackground(m_state.backgroundColor);
    QPainterPath filled = path;
    filled.setFillRule(m_state.winding ? Qt::WindingFill : Qt::OddEvenFill);
    m_painter.drawPath(filled);
}

void GdiCanvas::addOrDraw(const QPainterPath &path, bool closed)
{
    if (m_pathOpen) {
        m_path.addPath(path);
        return;
    }
    drawPath(path, closed, true);
}

void GdiCanvas::moveTo(QPointF point)
{
    m_state.position = point;
    if (m_pathOpen)
        m_path.moveTo(point);
}

void GdiCanvas::lineTo(QPointF point)
{
    if (m_pathOpen) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(m_state.position);
        m_path.lineTo(point);
    } else {
        QPainterPath line(m_state.position);
        line.lineTo(point);
        drawPath(line, false, true);
    }
    m_state.position = point;
}

void GdiCanvas::polyline(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    addOrDraw(path, false);
}

void GdiCanvas::polylineTo(const QPolygonF &points)
{
    if (points.isEmpty())
        return;
    if (m_pathOpen) {
        if (m_path.elementCount() == 0)
            m_path.moveTo(m_state.position);
        for (const QPointF &p : points)
            m_path.lineTo(p);
    } else {
        QPainterPath path(m_state.position);
        for (const QPointF &p : points)
            path.lineTo(p);
        drawPath(path, false, true);
    }
    m_state.position = points.last();
}

void GdiCanvas::polyBezier(const QPolygonF &points, bool fromCurrent)
{
    qsizetype i = 0;
    QPainterPath path;
    if (fromCurrent) {
        path.moveTo(m_state.position);
    } else {
        if (points.isEmpty())
            return;
        path.moveTo(points[0]);
        i = 1;
    }
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    m_state.position = path.currentPosition();
    if (m_pathOpen) {
        if (fromCurrent && m_path.elementCount() > 0)
            m_path.connectPath(path);
        else
            m_path.addPath(path);
        return;
    }
    drawPath(path, false, true);
}

void GdiCanvas::polygon(const QPolygonF &points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    addOrDraw(path, true);
}

void GdiCanvas::polyPolygon(const QList<QPolygonF> &polygons)
{
    QPainterPath path;
    for (const QPolygonF &points : polygons) {
        path.addPolygon(points);
        path.closeSubpath();
    }
    addOrDraw(path, true);
}

void GdiCanvas::polyPolyline(const QList<QPolygonF> &polylines)
{
    QPainterPath path;
    for (const QPolygonF &points : polylines)
        path.addPolygon(points);
    addOrDraw(path, false);
}

void GdiCanvas::rectangle(const QRectF &rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    addOrDraw(path, true);
}

void GdiCanvas::roundRect(const QRectF &rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2,
                        std::abs(corner.height()) / 2);
    addOrDraw(path, true);
}

void GdiCanvas::ellipse(const QRectF &rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    addOrDraw(path, true);
}

void GdiCanvas::arc(const QRectF &rect, QPointF start, QPointF end, int kind)
{
    const QRectF r = rect.normalized();
    if (r.isEmpty())
        return;
    const QPointF c = r.center();
    // Angles in Qt's sense (counter-clockwise, y up); GDI draws counter-clockwise on screen.
    const double a0 =
        std::atan2(-(start.y() - c.y()) * r.width(), (start.x() - c.x()) * r.height());
    const double a1 = std::atan2(-(end.y() - c.y()) * r.width(), (end.x() - c.x()) * r.height());
    double sweep = (a1 - a0) * 180 / M_PI;
    if (sweep <= 0)
        sweep += 360;
    const double startDegrees = a0 * 180 / M_PI;
    QPainterPath path;
    if (kind == 2) // pie
        path.moveTo(c);
    else
        path.arcMoveTo(r, startDegrees);
    path.arcTo(r, startDegrees, sweep);
    if (kind != 0)
        path.closeSubpath();
    addOrDraw(path, kind != 0);
}

void GdiCanvas::setPixel(QPointF point, QColor color)
{
    const QTransform t = logicalToImage();
    const QPointF p = t.map(point);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        return;
    const int x = int(std::floor(std::clamp(p.x(), -1.0, double(m_image.width()))));
    const int y = int(std::floor(std::clamp(p.y(), -1.0, double(m_image.height()))));
    if (m_image.rect().contains(x, y)) {
        m_painter.resetTransform();
        m_painter.fillRect(QRect(x, y, 1, 1), color);
    }
    m_work += 16;
}

QString GdiCanvas::decodeText(QByteArrayView bytes) const
{
    if (m_state.font.charset == WinCharset::symbol) {
        QString text;
        for (const char c : bytes)
            text.append(WinCharset::symbolChar(static_cast<unsigned char>(c), m_state.font.face));
        return text;
    }
    const QByteArray name = WinCharset::codePageName(m_state.font.charset, m_ansiCodePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

void GdiCanvas::text(QPointF point, const QString &text, int options, const QRectF &rect)
{
    const QTransform t = logicalToImage();
    if (!finite(t) || exhausted())
        return;
    const bool updatePosition = m_state.textAlign & 1;
    const QPointF at = t.map(updatePosition ? m_state.position : point);
    const double scale = std::sqrt(std::abs(t.determinant()));
    const double height = m_state.font.height != 0 ? std::abs(m_state.font.height) : 12.0;
    const double pixels = height * scale;
    if (!std::isfinite(pixels) || !std::isfinite(at.x()) || !std::isfinite(at.y()) ||
        std::abs(at.x()) > coordinateLimit || std::abs(at.y()) > coordinateLimit)
        return;
    QFont font(m_state.font.face.isEmpty() ? QStringLiteral("Sans Serif") : m_state.font.face);
    font.setPixelSize(int(std::clamp(std::round(pixels), 1.0, maxFontPixels)));
    font.setWeight(
        QFont::Weight(std::clamp(m_state.font.weight == 0 ? 400 : m_state.font.weight, 100, 900)));
    font.setItalic(m_state.font.italic);
    font.setUnderline(m_state.font.underline);
    font.setStrikeOut(m_state.font.strikeOut);
    const QFontMetricsF metrics(font);

    if ((options & 2) && rect.isValid() && spend(rect)) { // ETO_OPAQUE
        m_painter.setTransform(t);
        m_painter.fillRect(rect, m_state.backgroundColor);
    }
    const double width = metrics.horizontalAdvance(text);
    const QRectF box(at.x() - width, at.y() - font.pixelSize() * 2, width * 2,
                     font.pixelSize() * 4);
    if (!reasonable(box))
        return;
    const QRectF visible = box.intersected(QRectF(m_image.rect()));
    m_work += qint64(visible.width() * visible.height()) + 16 * text.size() + 16;
    if (exhausted())
        return;

    m_painter.save();
    if ((options & 4) && rect.isValid()) { // ETO_CLIPPED
        m_painter.setTransform(t);
        m_painter.setClipRect(rect, Qt::IntersectClip);
    }
    m_painter.resetTransform();
    m_painter.translate(at);
    m_painter.rotate(-m_state.font.escapement / 10.0);
    const int align = m_state.textAlign;
    double x = 0;
    if ((align & 6) == 6)
        x = -width / 2;
    else if (align & 2)
        x = -width;
    double y = metrics.ascent();
    if ((align & 24) == 24)
        y = 0;
    else if (align & 8)
        y = -metrics.descent();
    if (m_state.opaque)
        m_painter.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()),
                           m_state.backgroundColor);
    m_painter.setFont(font);
    m_painter.setPen(m_state.textColor);
    m_painter.drawText(QPointF(x, y), text);
    m_painter.restore();
    if (updatePosition && scale > 0)
        m_state.position.rx() += width / scale;
}

void GdiCanvas::image(const QRectF &target, const QImage &image, const QRectF &source)
{
    const QTransform t = logicalToImage();
    if (image.isNull() || !finite(t) || !spend(target.normalized()))
        return;
    QRectF from = source.normalized().intersected(QRectF(image.rect()));
    if (from.isEmpty())
        from = image.rect();
    const QImage part =
        image.copy(from.toAlignedRect()).mirrored(target.width() < 0, target.height() < 0);
    m_painter.setTransform(t);
    m_painter.drawImage(target.normalized(), part);
}

void GdiCanvas::patternFill(const QRectF &target, quint32 rop)
{
    const QTransform t = logicalToImage();
    if (!finite(t) || !spend(target.normalized()))
        return;
    m_painter.setTransform(t);
    if (rop == 0x00000042)
        m_painter.fillRect(target.normalized(), Qt::black);
    else if (rop == 0x00ff0062)
        m_painter.fillRect(target.normalized(), Qt::white);
    else if (rop == 0x00f00021 || rop == 0x005a0049)
        m_painter.fillRect(target.normalized(), qtBrush());
}

void GdiCanvas::intersectClip(const QRectF &rect)
{
    const QTransform t = logicalToImage();
    if (!finite(t) || !reasonable(t.mapRect(rect)))
        return;
    m_painter.setTransform(t);
    m_painter.setClipRect(rect.normalized(), Qt::IntersectClip);
}

void GdiCanvas::beginPath()
{
    m_path = QPainterPath();
    m_pathOpen = true;
}

void GdiCanvas::abortPath()
{
    m_path = QPainterPath();
    m_pathOpen = false;
}

void GdiCanvas::closeFigure()
{
    if (m_pathOpen)
        m_path.closeSubpath();
}

void GdiCanvas::fillPath()
{
    m_pathOpen = false;
    drawPath(m_path, true, false);
    m_path = QPainterPath();
}

void GdiCanvas::strokePath()
{
    m_pathOpen = false;
    drawPath(m_path, false, true);
    m_path = QPainterPath();
}

void GdiCanvas::strokeAndFillPath()
{
    m_pathOpen = false;
    drawPath(m_path, true, true);
    m_path = QPainterPath();
}

} // namespace platform
