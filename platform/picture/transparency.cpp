#include "platform/picture/transparency.h"

namespace platform {

QImage bottomLeftTransparent(const QImage &image)
{
    if (image.isNull() || image.hasAlphaChannel())
        return image;
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if (line[x] == key)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return result;
}

} // namespace platform
