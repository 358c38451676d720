#include "platform/metafile/metafile.h"

#include "platform/metafile/bytes.h"
#include "platform/metafile/gdicanvas.h"
#include "platform/metafile/metafileplayers.h"
#include "platform/platformerror.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr quint32 placeableKey = 0x9ac6cdd7;
constexpr quint32 emfSignature = 0x464d4520;
constexpr int placeableHeaderSize = 22;
constexpr int defaultSide = 256;

bool isWmfHeader(LittleEndianView in)
{
    const quint16 type = in.u16(0);
    return (type == 1 || type == 2) && in.u16(2) == 9 && in.has(0, 18);
}

/** The first window origin and extent that the records of a plain WMF set. */
QRectF wmfWindow(QByteArrayView records)
{
    LittleEndianView in(records);
    QPointF origin;
    QSizeF extent;
    qsizetype at = in.u16(2) * 2;
    for (int n = 0; n < 10000 && in.has(at, 6); ++n) {
        const quint32 words = in.u32(at);
        const quint16 function = in.u16(at + 4);
        if (words < 3 || function == 0)
            break;
        if (function == 0x020b)
            origin = QPointF(in.i16(at + 8), in.i16(at + 6));
        if (function == 0x020c) {
            extent = QSizeF(in.i16(at + 8), in.i16(at + 6));
            break;
        }
        if (words > quint32(in.size() / 2))
            break;
        at += qsizetype(words) * 2;
    }
    return QRectF(origin, extent);
}

QSize clampedSize(double width, double height)
{
    if (!std::isfinite(width) || !std::isfinite(height))
        return {};
    width = std::clamp(std::abs(width), 1.0, double(MetafileLimits::maxSide));
    height = std::clamp(std::abs(height), 1.0, double(MetafileLimits::maxSide));
    if (width * height > double(MetafileLimits::maxPixels)) {
        const double f = std::sqrt(MetafileLimits::maxPixels / (width * height));
        width *= f;
        height *= f;
    }
    return {std::max(1, int(std::lround(width))), std::max(1, int(std::lround(height)))};
}

QRectF emfFrame(LittleEndianView in)
{
    return QRectF(QPointF(in.i32(24), in.i32(28)), QPointF(in.i32(32), in.i32(36)));
}

QRectF emfBounds(LittleEndianView in)
{
    return QRectF(QPointF(in.i32(8), in.i32(12)), QPointF(in.i32(16) + 1.0, in.i32(20) + 1.0));
}

} // namespace

MetafileType metafileType(QByteArrayView bytes)
{
    const LittleEndianView in(bytes);
    if (in.u32(0) == placeableKey)
        return isWmfHeader(LittleEndianView(in.slice(placeableHeaderSize, 18)))
                   ? MetafileType::PlaceableWmf
                   : MetafileType::None;
    if (in.u32(0) == 1 && in.u32(40) == emfSignature && in.u32(4) >= 88)
        return MetafileType::Emf;
    if (isWmfHeader(in))
        return MetafileType::Wmf;
    return MetafileType::None;
}

std::optional<QSize> metafileSize(QByteArrayView bytes)
{
    const LittleEndianView in(bytes);
    switch (metafileType(bytes)) {
    case MetafileType::PlaceableWmf: {
        const double inch = in.u16(14) ? in.u16(14) : 1440;
        return clampedSize((in.i16(10) - in.i16(6)) / inch * 96,
                           (in.i16(12) - in.i16(8)) / inch * 96);
    }
    case MetafileType::Wmf: {
        const QRectF window = wmfWindow(bytes);
        if (window.width() == 0 || window.height() == 0)
            return QSize(defaultSide, defaultSide);
        // A window in unknown units: shown with its longer side at most 1024 pixels.
        const double longest = std::max(std::abs(window.width()), std::abs(window.height()));
        const double f = longest > 1024 ? 1024 / longest : 1.0;
        return clampedSize(window.width() * f, window.height() * f);
    }
    case MetafileType::Emf: {
        const QRectF frame = emfFrame(in);
        if (frame.width() > 0 && frame.height() > 0)
            return clampedSize(frame.width() * 96 / 2540, frame.height() * 96 / 2540);
        const QRectF bounds = emfBounds(in);
        return clampedSize(bounds.width(), bounds.height());
    }
    case MetafileType::None:
        break;
    }
    return std::nullopt;
}

std::optional<QImage> renderMetafile(QByteArrayView bytes, QSize size)
{
    const MetafileType type = metafileType(bytes);
    if (type == MetafileType::None)
        return std::nullopt;
    if (size.isEmpty())
        size = metafileSize(bytes).value_or(QSize(defaultSide, defaultSide));
    size = clampedSize(size.width(), size.height());
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    image.fill(Qt::transparent);
    const qint64 work = std::max(MetafileLimits::minimumWork,
                                 MetafileLimits::workPerPixel * size.width() * size.height());
    {
        GdiCanvas canvas(image, work);
        const LittleEndianView in(bytes);
        if (type == MetafileType::Emf) {
            playEmf(bytes, canvas);
        } else {
            QByteArrayView records = bytes;
            canvas.setWindowMode(true);
            if (type == MetafileType::PlaceableWmf) {
                records = bytes.sliced(placeableHeaderSize);
                const QRectF box(QPointF(in.i16(6), in.i16(8)), QPointF(in.i16(10), in.i16(12)));
                canvas.setWindowOrg(box.topLeft());
                canvas.setWindowExt(box.size());
            } else {
                const QRectF window = wmfWindow(bytes);
                canvas.setWindowOrg(window.topLeft());
                canvas.setWindowExt(window.width() != 0 && window.height() != 0 ? window.size()
                                                                                : QSizeF(size));
            }
            playWmf(records, canvas);
        }
    }
    return image;
}

QImage loadMetafile(QByteArrayView bytes, QSize size)
{
    std::optional<QImage> image = renderMetafile(bytes, size);
    if (!image)
        throw PlatformError(QStringLiteral("The picture is not a Windows metafile."));
    return *image;
}

} // namespace platform
