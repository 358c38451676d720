#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <optional>

namespace platform {

/**
 * Bounds of metafile rendering: a picture is drawn at most this big, and a metafile whose
 * drawing would touch more than `workPerPixel` times the picture's pixels is cut short there.
 */
struct MetafileLimits
{
    static constexpr int maxSide = 8192;
    static constexpr qint64 maxPixels = 16'000'000;
    static constexpr qint64 maxBitmapPixels = 16'000'000;
    static constexpr qint64 workPerPixel = 64;
    static constexpr qint64 minimumWork = 64'000'000;
};

/** The kind of a Windows metafile, told by its header. */
enum class MetafileType { None, Wmf, PlaceableWmf, Emf };

MetafileType metafileType(QByteArrayView bytes);

/**
 * The size a metafile is shown at, in pixels at 96 per inch: from the placeable header's
 * box, the EMF frame, or the window a plain WMF sets up. Empty when not a metafile.
 */
std::optional<QSize> metafileSize(QByteArrayView bytes);

/**
 * Draws a WMF (placeable or not) or an EMF onto a transparent image of `size` pixels (its own
 * size when empty), shrunk to fit MetafileLimits. Records we do not draw are skipped; a broken
 * record ends the drawing. Nothing when the bytes are not a metafile.
 */
std::optional<QImage> renderMetafile(QByteArrayView bytes, QSize size = {});

/** As renderMetafile(), but throws PlatformError when the bytes are not a metafile. */
QImage loadMetafile(QByteArrayView bytes, QSize size = {});

} // namespace platform
