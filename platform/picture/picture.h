#pragma once

#include <QImage>
#include <QString>

namespace platform {

class WinPath;

/**
 * Loads the picture a Windows path names, its type chosen by the file's extension, as the
 * program's picture objects do: bmp (Windows bitmap), ico (icon, the largest of its sizes), jpg
 * or jpeg (JPEG), wmf or emf (metafile). The extension is matched without regard to case, and the content must be of
 * that type: a JPEG named `.bmp` is refused, as it is on Windows.
 *
 * Throws PlatformError "Cannot load picture <path>: <reason>" for a missing file, an unknown
 * type, a file that is not a picture of its type, and a picture too large to hold in memory
 * (refused from its header, before any pixel memory is taken).
 */
QImage loadPicture(const WinPath &paths, const QString &windowsPath);

/**
 * Loads a Windows bitmap whatever the file's extension, as a button's glyph is loaded.
 * Throws PlatformError as loadPicture does.
 */
QImage loadBitmap(const WinPath &paths, const QString &windowsPath);

/** The largest picture either function accepts: width and height, and bytes of pixels. */
inline constexpr int maxPictureSide = 16384;
inline constexpr qint64 maxPictureBytes = 256LL * 1024 * 1024;

} // namespace platform
