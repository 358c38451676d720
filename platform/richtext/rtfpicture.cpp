#include "platform/richtext/rtfpicture.h"
#include "platform/richtext/rtftokenizer.h"

#include "platform/metafile/dib.h"
#include "platform/metafile/metafile.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

constexpr double twipsPerPixel = 15.0; // at 96 pixels per inch
constexpr double hundredthMmPerPixel = 2540.0 / 96.0;

bool isMetafile(RtfPicture::Format format)
{
    return format == RtfPicture::Format::Wmf || format == RtfPicture::Format::Emf;
}

/** The size a picture asks to be shown at, empty when it names none. */
QSizeF requestedSize(const RtfPicture &picture)
{
    const double sx = std::clamp(picture.scaleX, 1, 1000) / 100.0;
    const double sy = std::clamp(picture.scaleY, 1, 1000) / 100.0;
    if (picture.goalWidth > 0 && picture.goalHeight > 0)
        return {picture.goalWidth / twipsPerPixel * sx, picture.goalHeight / twipsPerPixel * sy};
    if (picture.width > 0 && picture.height > 0) {
        const double unit = isMetafile(picture.format) ? hundredthMmPerPixel : 1.0;
        return {picture.width / unit * sx, picture.height / unit * sy};
    }
    return {};
}

/** Shrinks `size` to fit the per-picture bounds and the budget, keeping its shape. */
QSize boundedSize(QSizeF size, const RichTextLimits &limits, qint64 pixelBudget)
{
    double w = std::max(1.0, size.width());
    double h = std::max(1.0, size.height());
    const double side = limits.maxPictureSide;
    const double fit = std::min({1.0, side / w, side / h});
    w *= fit;
    h *= fit;
    const double pixels = std::min<double>(limits.maxPicturePixels, double(pixelBudget));
    if (w * h > pixels) {
        const double f = std::sqrt(pixels / (w * h));
        w *= f;
        h *= f;
    }
    return {std::max(1, int(w)), std::max(1, int(h))};
}

QImage readCompressed(const QByteArray &data, const char *format, const RichTextLimits &limits,
                      qint64 pixelBudget)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > limits.maxPictureSide ||
        size.height() > limits.maxPictureSide)
        return {};
    const qint64 pixels = qint64(size.width()) * size.height();
    if (pixels > limits.maxPicturePixels || pixels > pixelBudget)
        return {};
    return reader.read();
}

} // namespace

void RtfPicture::addHex(QByteArrayView text, qsizetype maxBytes)
{
    for (const char c : text) {
        const int value = rtfHexValue(c);
        if (value < 0)
            continue;
        if (m_nibble < 0) {
            m_nibble = value;
            continue;
        }
        if (data.size() >= maxBytes) {
            tooBig = true;
            return;
        }
        data.append(char(m_nibble * 16 + value));
        m_nibble = -1;
    }
}

void RtfPicture::addBinary(QByteArrayView bytes, qsizetype maxBytes)
{
    if (data.size() + bytes.size() > maxBytes) {
        tooBig = true;
        return;
    }
    data.append(bytes);
}

RtfPictureImage decodeRtfPicture(const RtfPicture &picture, const RichTextLimits &limits,
                                 qint64 pixelBudget)
{
    RtfPictureImage result;
    if (picture.tooBig || picture.data.isEmpty() || pixelBudget <= 0)
        return result;
    const QSizeF requested = requestedSize(picture);
    switch (picture.format) {
    case RtfPicture::Format::Png:
        result.image = readCompressed(picture.data, "png", limits, pixelBudget);
        break;
    case RtfPicture::Format::Jpeg:
        result.image = readCompressed(picture.data, "jpeg", limits, pixelBudget);
        break;
    case RtfPicture::Format::Dib:
        result.image = decodeDib(picture.data, std::min(limits.maxPicturePixels, pixelBudget));
        break;
    case RtfPicture::Format::Wmf:
    case RtfPicture::Format::Emf: {
        QSizeF size = requested;
        if (size.isEmpty()) {
            const std::optional<QSize> natural = metafileSize(picture.data);
            if (!natural)
                return result;
            size = *natural;
        }
        result.image =
            renderMetafile(picture.data, boundedSize(size, limits, pixelBudget)).value_or(QImage());
        break;
    }
    case RtfPicture::Format::Unknown:
        break;
    }
    if (result.image.isNull())
        return result;
    if (result.image.width() > limits.maxPictureSide ||
        result.image.height() > limits.maxPictureSide) {
        result.image = QImage();
        return result;
    }
    QSizeF shown = requested.isEmpty() ? QSizeF(result.image.size()) : requested;
    const double fit = std::min(
        {1.0, limits.maxPictureSide / shown.width(), limits.maxPictureSide / shown.height()});
    result.displaySize = shown * fit;
    return result;
}

} // namespace platform
