#pragma once

#include <QImage>
#include <QRectF>

namespace platform {

/**
 * The source rectangle of a DIB drawing record, in the decoded image's top-down rows: for a
 * bottom-up DIB (positive height in its header) the record counts rows from the bottom.
 */
inline QRectF dibSourceRect(const QImage &image, bool bottomUp, double x, double y, double width,
                            double height)
{
    if (width == 0 || height == 0)
        return QRectF(image.rect());
    if (bottomUp)
        y = image.height() - y - height;
    return QRectF(x, y, width, height);
}

} // namespace platform
