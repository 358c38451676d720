#pragma once

#include <QImage>
#include <QString>

namespace platform {

/**
 * The hook for Windows metafiles (.wmf, .emf): renders the file at `hostPath` into an image.
 * Throws PlatformError "Cannot load picture <shownPath>: <reason>".
 */
QImage loadMetafilePicture(const QString &hostPath, const QString &shownPath);

} // namespace platform
