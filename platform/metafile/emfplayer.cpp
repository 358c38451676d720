#include "platform/metafile/bytes.h"
#include "platform/metafile/dib.h"
#include "platform/metafile/dibsource.h"
#include "platform/metafile/gdicanvas.h"
#include "platform/metafile/metafile.h"
#include "platform/metafile/metafileplayers.h"

#include <cmath>

namespace platform {

namespace {

constexpr quint32 stockObject = 0x80000000;

QColor colorRef(quint32 value)
{
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

QRectF rectL(const LittleEndianView &r, qsizetype at)
{
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

QPointF pointL(const LittleEndianView &r, qsizetype at)
{
    return QPointF(r.i32(at), r.i32(at + 4));
}

/** `count` points at `at`, of 4 bytes (16-bit) or 8 bytes each; empty when they overrun. */
QPolygonF points(const LittleEndianView &r, qsizetype at, quint32 count, bool small)
{
    QPolygonF list;
    const qsizetype size = small ? 4 : 8;
    if (count == 0 || qsizetype(count) > r.size() / size || !r.has(at, qsizetype(count) * size))
        return list;
    list.reserve(count);
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype p = at + qsizetype(i) * size;
        list.append(small ? QPointF(r.i16(p), r.i16(p + 2)) : QPointF(r.i32(p), r.i32(p + 4)));
    }
    return list;
}

QList<QPolygonF> polyPoints(const LittleEndianView &r, bool small)
{
    QList<QPolygonF> list;
    const quint32 polygons = r.u32(24);
    if (qsizetype(polygons) > r.size() / 4 || !r.has(32, qsizetype(polygons) * 4))
        return list;
    qsizetype at = 32 + qsizetype(polygons) * 4;
    const qsizetype size = small ? 4 : 8;
    for (quint32 i = 0; i < polygons; ++i) {
        const quint32 count = r.u32(32 + 4 * qsizetype(i));
        if (qsizetype(count) > r.size() / size)
            return {};
        list.append(points(r, at, count, small));
        at += qsizetype(count) * size;
    }
    return list;
}

QTransform xform(const LittleEndianView &r, qsizetype at)
{
    return QTransform(r.f32(at), r.f32(at + 4), r.f32(at + 8), r.f32(at + 12), r.f32(at + 16),
                      r.f32(at + 20));
}

QImage bitmap(const LittleEndianView &r, qsizetype infoAt, qsizetype bitsAt, bool *bottomUp)
{
    const QByteArrayView info = r.slice(r.u32(infoAt), r.u32(infoAt + 4));
    const QByteArrayView bits = r.slice(r.u32(bitsAt), r.u32(bitsAt + 4));
    if (info.isEmpty())
        return {};
    const LittleEndianView header(info);
    *bottomUp = header.u32(0) == 12 || header.i32(8) > 0;
    return decodeDib(info, bits, MetafileLimits::maxBitmapPixels);
}

void setUp(const LittleEndianView &r, GdiCanvas &canvas, QSize imageSize)
{
    const QRectF bounds =
        QRectF(QPointF(r.i32(8), r.i32(12)), QPointF(r.i32(16) + 1.0, r.i32(20) + 1.0));
    const QRectF frame = rectL(r, 24);
    const double deviceX = r.i32(72), deviceY = r.i32(76);
    const double mmX = r.i32(80), mmY = r.i32(84);
    QTransform toImage;
    if (frame.width() > 0 && frame.height() > 0 && deviceX > 0 && deviceY > 0 && mmX > 0 &&
        mmY > 0) {
        // Device pixels to hundredths of a millimetre, then the frame onto the image.
        toImage = QTransform::fromScale(mmX * 100 / deviceX, mmY * 100 / deviceY) *
                  QTransform::fromTranslate(-frame.left(), -frame.top()) *
                  QTransform::fromScale(imageSize.width() / frame.width(),
                                        imageSize.height() / frame.height());
        canvas.setDevicePixelsPerMm(deviceX / mmX, deviceY / mmY);
    } else if (bounds.width() > 0 && bounds.height() > 0) {
        toImage = QTransform::fromTranslate(-bounds.left(), -bounds.top()) *
                  QTransform::fromScale(imageSize.width() / bounds.width(),
                                        imageSize.height() / bounds.height());
    }
    canvas.setDeviceToImage(toImage);
}

void textRecord(const LittleEndianView &r, GdiCanvas &canvas, bool wide)
{
    const QPointF reference = pointL(r, 36);
    const quint32 count = r.u32(44);
    const quint32 offset = r.u32(48);
    const int options = int(r.u32(52));
    const QRectF rect = rectL(r, 56);
    const qsizetype bytes = qsizetype(count) * (wide ? 2 : 1);
    if (count == 0 || qsizetype(count) > r.size() || !r.has(offset, bytes))
        return;
    const QByteArrayView data = r.slice(offset, bytes);
    QString text;
    if (wide) {
        text.resize(count);
        for (quint32 i = 0; i < count; ++i)
            text[i] = QChar(LittleEndianView(data).u16(2 * qsizetype(i)));
    } else {
        text = canvas.decodeText(data);
    }
    canvas.text(reference, text, options, rect);
}

void drawBitmap(const LittleEndianView &r, GdiCanvas &canvas, const QRectF &target, double xSrc,
                double ySrc, double wSrc, double hSrc, qsizetype infoAt, qsizetype bitsAt,
                quint32 rop)
{
    bool bottomUp = false;
    const QImage image = bitmap(r, infoAt, bitsAt, &bottomUp);
    if (image.isNull()) {
        canvas.patternFill(target, rop);
        return;
    }
    canvas.image(target, image, dibSourceRect(image, bottomUp, xSrc, ySrc, wSrc, hSrc));
}

/** False at the end-of-file record. */
bool record(quint32 type, const LittleEndianView &r, GdiCanvas &canvas, QSize imageSize)
{
    switch (type) {
    case 1: // HEADER
        setUp(r, canvas, imageSize);
        break;
    case 2: // POLYBEZIER
    case 85:
        canvas.polyBezier(points(r, 28, r.u32(24), type == 85), false);
        break;
    case 3: // POLYGON
    case 86:
        canvas.polygon(points(r, 28, r.u32(24), type == 86));
        break;
    case 4: // POLYLINE
    case 87:
        canvas.polyline(points(r, 28, r.u32(24), type == 87));
        break;
    case 5: // POLYBEZIERTO
    case 88:
        canvas.polyBezier(points(r, 28, r.u32(24), type == 88), true);
        break;
    case 6: // POLYLINETO
    case 89:
        canvas.polylineTo(points(r, 28, r.u32(24), type == 89));
        break;
    case 7: // POLYPOLYLINE
    case 90:
        canvas.polyPolyline(polyPoints(r, type == 90));
        break;
    case 8: // POLYPOLYGON
    case 91:
        canvas.polyPolygon(polyPoints(r, type == 91));
        break;
    case 9: // SETWINDOWEXTEX
        canvas.setWindowExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case 10: // SETWINDOWORGEX
        canvas.setWindowOrg(pointL(r, 8));
        break;
    case 11: // SETVIEWPORTEXTEX
        canvas.setViewportExt(QSizeF(r.i32(8), r.i32(12)));
        break;
    case 12: // SETVIEWPORTORGEX
        canvas.setViewportOrg(pointL(r, 8));
        break;
    case 14: // EOF
        return false;
    case 15: // SETPIXELV
        canvas.setPixel(pointL(r, 8), colorRef(r.u32(16)));
        break;
    case 17: // SETMAPMODE
        canvas.setMapMode(int(r.u32(8)));
        break;
    case 18: // SETBKMODE
        canvas.setBackgroundMode(int(r.u32(8)));
        break;
    case 19: // SETPOLYFILLMODE
        canvas.setPolyFillMode(int(r.u32(8)));
        break;
    case 22: // SETTEXTALIGN
        canvas.setTextAlign(int(r.u32(8)));
        break;
    case 24: // SETTEXTCOLOR
        canvas.setTextColor(colorRef(r.u32(8)));
        break;
    case 25: // SETBKCOLOR
        canvas.setBackgroundColor(colorRef(r.u32(8)));
        break;
    case 27: // MOVETOEX
        canvas.moveTo(pointL(r, 8));
        break;
    case 30: // INTERSECTCLIPRECT
        canvas.intersectClip(rectL(r, 8));
        break;
    case 33: // SAVEDC
        canvas.saveState();
        break;
    case 34: // RESTOREDC
        canvas.restoreState(r.i32(8));
        break;
    case 35: // SETWORLDTRANSFORM
        canvas.modifyWorldTransform(xform(r, 8), 4);
        break;
    case 36: // MODIFYWORLDTRANSFORM
        canvas.modifyWorldTransform(xform(r, 8), int(r.u32(32)));
        break;
    case 37: { // SELECTOBJECT
        const quint32 index = r.u32(8);
        if (index & stockObject)
            canvas.selectStockObject(index & ~stockObject);
        else
            canvas.selectObject(index);
        break;
    }
    case 38: // CREATEPEN
        canvas.createPen(r.u32(8), GdiPen{int(r.u32(12)), double(r.i32(16)), colorRef(r.u32(24))});
        break;
    case 95: // EXTCREATEPEN
        canvas.createPen(
            r.u32(8), GdiPen{int(r.u32(28)), double(r.u32(32) & 0x7fffffff), colorRef(r.u32(40))});
        break;
    case 39: // CREATEBRUSHINDIRECT
        canvas.createBrush(r.u32(8),
                           GdiBrush{int(r.u32(12)), colorRef(r.u32(16)), int(r.u32(20)), {}});
        break;
    case 93:   // CREATEMONOBRUSH
    case 94: { // CREATEDIBPATTERNBRUSHPT
        bool bottomUp = false;
        const QImage pattern = bitmap(r, 16, 24, &bottomUp);
        canvas.createBrush(r.u32(8), GdiBrush{3, Qt::gray, 0, pattern});
        break;
    }
    case 49: // CREATEPALETTE
        canvas.createOther(r.u32(8));
        break;
    case 40: // DELETEOBJECT
        canvas.deleteObject(r.u32(8));
        break;
    case 82: { // EXTCREATEFONTINDIRECTW
        GdiFont font;
        font.height = r.i32(12);
        font.escapement = r.i32(20);
        font.weight = r.i32(28);
        font.italic = r.u8(32);
        font.underline = r.u8(33);
        font.strikeOut = r.u8(34);
        font.charset = r.u8(35);
        for (int i = 0; i < 32; ++i) {
            const char16_t c = r.u16(40 + 2 * i);
            if (c == 0)
                break;
            font.face.append(QChar(c));
        }
        canvas.createFont(r.u32(8), font);
        break;
    }
    case 42: // ELLIPSE
        canvas.ellipse(rectL(r, 8));
        break;
    case 43: // RECTANGLE
        canvas.rectangle(rectL(r, 8));
        break;
    case 44: // ROUNDRECT
        canvas.roundRect(rectL(r, 8), QSizeF(r.i32(24), r.i32(28)));
        break;
    case 45: // ARC
    case 46: // CHORD
    case 47: // PIE
        canvas.arc(rectL(r, 8), pointL(r, 24), pointL(r, 32), int(type - 45));
        break;
    case 54: // LINETO
        canvas.lineTo(pointL(r, 8));
        break;
    case 59:
        canvas.beginPath();
        break;
    case 60:
        canvas.endPath();
        break;
    case 61:
        canvas.closeFigure();
        break;
    case 62:
        canvas.fillPath();
        break;
    case 63:
        canvas.strokeAndFillPath();
        break;
    case 64:
        canvas.strokePath();
        break;
    case 68:
        canvas.abortPath();
        break;
    case 76: // BITBLT
        drawBitmap(r, canvas, QRectF(r.i32(24), r.i32(28), r.i32(32), r.i32(36)), r.i32(44),
                   r.i32(48), r.i32(32), r.i32(36), 84, 92, r.u32(40));
        break;
    case 77: // STRETCHBLT
        drawBitmap(r, canvas, QRectF(r.i32(24), r.i32(28), r.i32(32), r.i32(36)), r.i32(44),
                   r.i32(48), r.i32(100), r.i32(104), 84, 92, r.u32(40));
        break;
    case 80: // SETDIBITSTODEVICE
        drawBitmap(r, canvas, QRectF(r.i32(24), r.i32(28), r.i32(40), r.i32(44)), r.i32(32),
                   r.i32(36), r.i32(40), r.i32(44), 48, 56, 0x00cc0020);
        break;
    case 81: // STRETCHDIBITS
        drawBitmap(r, canvas, QRectF(r.i32(24), r.i32(28), r.i32(72), r.i32(76)), r.i32(32),
                   r.i32(36), r.i32(40), r.i32(44), 48, 56, r.u32(68));
        break;
    case 83: // EXTTEXTOUTA
    case 84: // EXTTEXTOUTW
        textRecord(r, canvas, type == 84);
        break;
    default:
        break;
    }
    return true;
}

} // namespace

void playEmf(QByteArrayView bytes, GdiCanvas &canvas)
{
    const LittleEndianView in(bytes);
    const QSize imageSize = canvas.imageSize();
    qsizetype at = 0;
    while (in.has(at, 8) && !canvas.exhausted()) {
        const quint32 type = in.u32(at);
        const quint32 size = in.u32(at + 4);
        if (size < 8 || !in.has(at, size))
            break;
        if (!record(type, LittleEndianView(in.slice(at, size)), canvas, imageSize))
            break;
        at += size;
    }
}

} // namespace platform
