#pragma once

#include <QByteArrayView>
#include <QImage>

namespace platform {

/**
 * Decodes a Windows device-independent bitmap: a BITMAPINFO (any header version, palette,
 * bit masks) and its pixel bits, uncompressed, RLE, JPEG or PNG. A bitmap over `maxPixels`,
 * or one that is broken, gives a null image; bits that stop short read as black.
 */
QImage decodeDib(QByteArrayView info, QByteArrayView bits, qint64 maxPixels);

/** The same for a packed DIB, the BITMAPINFO directly followed by the bits. */
QImage decodeDib(QByteArrayView packed, qint64 maxPixels);

} // namespace platform
