#pragma once

#include <QImage>

namespace platform {

/**
 * A bitmap shown "transparent", as Windows shows glyphs and transparent pictures: every pixel
 * of the bottom-left pixel's colour becomes fully transparent. A picture that has an alpha
 * channel of its own is returned as it is.
 */
QImage bottomLeftTransparent(const QImage &image);

} // namespace platform
