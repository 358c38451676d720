#include "platform/metafile/bytes.h"
#include "platform/metafile/dib.h"
#include "platform/metafile/dibsource.h"
#include "platform/metafile/gdicanvas.h"
#include "platform/metafile/metafile.h"
#include "platform/metafile/metafileplayers.h"

#include <vector>

namespace platform {

namespace {

constexpr std::size_t maxSlots = 65536;

QColor colorRef(quint32 value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

/** The handle table of a WMF: a new object takes the lowest free slot. */
class SlotTable
{
public:
    explicit SlotTable(std::size_t size) : m_used(std::min(size, maxSlots), false) {}

    std::optional<quint32> take()
    {
        for (std::size_t i = 0; i < m_used.size(); ++i)
            if (!m_used[i]) {
                m_used[i] = true;
                return quint32(i);
            }
        if (m_used.size() >= maxSlots)
            return std::nullopt;
        m_used.push_back(true);
        return quint32(m_used.size() - 1);
    }
    void release(quint32 slot)
    {
        if (slot < m_used.size())
            m_used[slot] = false;
    }

private:
    std::vector<bool> m_used;
};

QRectF rectFromLtrb(const LittleEndianView &r, qsizetype at)
{
    // Stored bottom, right, top, left.
    return QRectF(QPointF(r.i16(at + 6), r.i16(at + 4)), QPointF(r.i16(at + 2), r.i16(at)));
}

QPolygonF points16(const LittleEndianView &r, qsizetype at, qsizetype count)
{
    QPolygonF points;
    if (count <= 0 || !r.has(at, count * 4))
        return points;
    points.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        points.append(QPointF(r.i16(at + 4 * i), r.i16(at + 4 * i + 2)));
    return points;
}

void drawDib(GdiCanvas &canvas, QByteArrayView dib, const QRectF &target, double xSrc, double ySrc,
             double wSrc, double hSrc)
{
    const QImage image = decodeDib(dib, MetafileLimits::maxBitmapPixels);
    if (image.isNull())
        return;
    const bool bottomUp = LittleEndianView(dib).i32(8) > 0 || LittleEndianView(dib).u32(0) == 12;
    canvas.image(target, image, dibSourceRect(image, bottomUp, xSrc, ySrc, wSrc, hSrc));
}

void record(quint16 function, const LittleEndianView &r, GdiCanvas &canvas, SlotTable &handles)
{
    switch (function) {
    case 0x0201: // SETBKCOLOR
        canvas.setBackgroundColor(colorRef(r.u32(0)));
        break;
    case 0x0209: // SETTEXTCOLOR
        canvas.setTextColor(colorRef(r.u32(0)));
        break;
    case 0x0102: // SETBKMODE
        canvas.setBackgroundMode(r.u16(0));
        break;
    case 0x0106: // SETPOLYFILLMODE
        canvas.setPolyFillMode(r.u16(0));
        break;
    case 0x012e: // SETTEXTALIGN
        canvas.setTextAlign(r.u16(0));
        break;
    case 0x020b: // SETWINDOWORG
        canvas.setWindowOrg(QPointF(r.i16(2), r.i16(0)));
        break;
    case 0x020c: // SETWINDOWEXT
        canvas.setWindowExt(QSizeF(r.i16(2), r.i16(0)));
        break;
    case 0x020f: // OFFSETWINDOWORG
        canvas.offsetWindowOrg(QPointF(r.i16(2), r.i16(0)));
        break;
    case 0x0410: { // SCALEWINDOWEXT: yDenom, yNum, xDenom, xNum
        const double xNum = r.i16(6), xDenom = r.i16(4), yNum = r.i16(2), yDenom = r.i16(0);
        if (xDenom != 0 && yDenom != 0)
            canvas.setWindowExt(QSizeF(canvas.windowExt().width() * xNum / xDenom,
                                       canvas.windowExt().height() * yNum / yDenom));
        break;
    }
    case 0x001e: // SAVEDC
        canvas.saveState();
        break;
    case 0x0127: // RESTOREDC
        canvas.restoreState(r.i16(0));
        break;
    case 0x02fa: { // CREATEPENINDIRECT
        const auto slot = handles.take();
        if (slot)
            canvas.createPen(*slot, GdiPen{r.u16(0), double(r.i16(2)), colorRef(r.u32(6))});
        break;
    }
    case 0x02fc: { // CREATEBRUSHINDIRECT
        const auto slot = handles.take();
        if (slot)
            canvas.createBrush(*slot, GdiBrush{r.u16(0), colorRef(r.u32(2)), r.u16(6), {}});
        break;
    }
    case 0x0142: { // DIBCREATEPATTERNBRUSH
        const auto slot = handles.take();
        if (slot) {
            GdiBrush brush{
                3, Qt::gray, 0,
                decodeDib(r.bytes().sliced(std::min<qsizetype>(4, r.size())), 1'000'000)};
            canvas.createBrush(*slot, brush);
        }
        break;
    }
    case 0x02fb: { // CREATEFONTINDIRECT
        const auto slot = handles.take();
        if (!slot)
            break;
        GdiFont font;
        font.height = r.i16(0);
        font.escapement = r.i16(4);
        font.weight = r.i16(8);
        font.italic = r.u8(10);
        font.underline = r.u8(11);
        font.strikeOut = r.u8(12);
        font.charset = r.u8(13);
        const QByteArrayView face = r.slice(18, std::min<qsizetype>(32, r.size() - 18));
        const qsizetype end = face.indexOf('\0');
        font.face = QString::fromLatin1(end >= 0 ? face.first(end) : face);
        canvas.createFont(*slot, font);
        break;
    }
    case 0x00f7:   // CREATEPALETTE
    case 0x01f9:   // CREATEPATTERNBRUSH
    case 0x06ff: { // CREATEREGION
        const auto slot = handles.take();
        if (slot)
            canvas.createOther(*slot);
        break;
    }
    case 0x012d: // SELECTOBJECT
        canvas.selectObject(r.u16(0));
        break;
    case 0x01f0: // DELETEOBJECT
        canvas.deleteObject(r.u16(0));
        handles.release(r.u16(0));
        break;
    case 0x0214: // MOVETO
        canvas.moveTo(QPointF(r.i16(2), r.i16(0)));
        break;
    case 0x0213: // LINETO
        canvas.lineTo(QPointF(r.i16(2), r.i16(0)));
        break;
    case 0x0325: // POLYLINE
        canvas.polyline(points16(r, 2, r.i16(0)));
        break;
    case 0x0324: // POLYGON
        canvas.polygon(points16(r, 2, r.i16(0)));
        break;
    case 0x0538: { // POLYPOLYGON
        const int polygons = r.u16(0);
        if (!r.has(2, qsizetype(polygons) * 2))
            break;
        QList<QPolygonF> list;
        qsizetype at = 2 + qsizetype(polygons) * 2;
        for (int i = 0; i < polygons; ++i) {
            const int count = r.u16(2 + 2 * i);
            list.append(points16(r, at, count));
            at += qsizetype(count) * 4;
        }
        canvas.polyPolygon(list);
        break;
    }
    case 0x041b: // RECTANGLE
        canvas.rectangle(rectFromLtrb(r, 0));
        break;
    case 0x061c: // ROUNDRECT
        canvas.roundRect(rectFromLtrb(r, 4), QSizeF(r.i16(2), r.i16(0)));
        break;
    case 0x0418: // ELLIPSE
        canvas.ellipse(rectFromLtrb(r, 0));
        break;
    case 0x0817: // ARC
    case 0x0830: // CHORD
    case 0x081a: // PIE
        canvas.arc(rectFromLtrb(r, 8), QPointF(r.i16(6), r.i16(4)), QPointF(r.i16(2), r.i16(0)),
                   function == 0x0817   ? 0
                   : function == 0x0830 ? 1
                                        : 2);
        break;
    case 0x041f: // SETPIXEL
        canvas.setPixel(QPointF(r.i16(6), r.i16(4)), colorRef(r.u32(0)));
        break;
    case 0x0521: { // TEXTOUT
        const qsizetype length = r.i16(0);
        if (length <= 0 || !r.has(2, length))
            break;
        const qsizetype at = 2 + ((length + 1) & ~qsizetype(1));
        canvas.text(QPointF(r.i16(at + 2), r.i16(at)), canvas.decodeText(r.slice(2, length)), 0,
                    QRectF());
        break;
    }
    case 0x0a32: { // EXTTEXTOUT
        const qsizetype length = r.i16(4);
        const int options = r.u16(6);
        qsizetype at = 8;
        QRectF rect;
        if (options & 6) {
            rect = QRectF(QPointF(r.i16(8), r.i16(10)), QPointF(r.i16(12), r.i16(14)));
            at += 8;
        }
        if (length <= 0 || !r.has(at, length))
            break;
        canvas.text(QPointF(r.i16(2), r.i16(0)), canvas.decodeText(r.slice(at, length)), options,
                    rect);
        break;
    }
    case 0x0416: // INTERSECTCLIPRECT
        canvas.intersectClip(rectFromLtrb(r, 0));
        break;
    case 0x061d: // PATBLT
        canvas.patternFill(QRectF(r.i16(10), r.i16(8), r.i16(6), r.i16(4)), r.u32(0));
        break;
    case 0x0f43: // STRETCHDIB
        drawDib(canvas, r.bytes().sliced(std::min<qsizetype>(22, r.size())),
                QRectF(r.i16(20), r.i16(18), r.i16(16), r.i16(14)), r.i16(12), r.i16(10), r.i16(8),
                r.i16(6));
        break;
    case 0x0b41: // DIBSTRETCHBLT
        if (r.size() <= 22) {
            canvas.patternFill(QRectF(r.i16(20), r.i16(18), r.i16(16), r.i16(14)), r.u32(0));
            break;
        }
        drawDib(canvas, r.bytes().sliced(20), QRectF(r.i16(18), r.i16(16), r.i16(14), r.i16(12)),
                r.i16(10), r.i16(8), r.i16(6), r.i16(4));
        break;
    case 0x0940: // DIBBITBLT
        if (r.size() <= 18) {
            canvas.patternFill(QRectF(r.i16(16), r.i16(14), r.i16(12), r.i16(10)), r.u32(0));
            break;
        }
        drawDib(canvas, r.bytes().sliced(16), QRectF(r.i16(14), r.i16(12), r.i16(10), r.i16(8)),
                r.i16(6), r.i16(4), r.i16(10), r.i16(8));
        break;
    case 0x0d33: // SETDIBTODEV
        drawDib(canvas, r.bytes().sliced(std::min<qsizetype>(18, r.size())),
                QRectF(r.i16(16), r.i16(14), r.i16(12), r.i16(10)), r.i16(8), r.i16(6), r.i16(12),
                r.i16(10));
        break;
    default:
        break;
    }
}

} // namespace

void playWmf(QByteArrayView records, GdiCanvas &canvas)
{
    const LittleEndianView in(records);
    SlotTable handles(in.u16(10));
    qsizetype at = qsizetype(in.u16(2)) * 2;
    while (in.has(at, 6) && !canvas.exhausted()) {
        const quint32 words = in.u32(at);
        const quint16 function = in.u16(at + 4);
        if (words < 3 || function == 0 || words > quint32(in.size() / 2))
            break;
        const qsizetype length = qsizetype(words) * 2;
        if (!in.has(at, length))
            break;
        record(function, LittleEndianView(in.slice(at + 6, length - 6)), canvas, handles);
        at += length;
    }
}

} // namespace platform
