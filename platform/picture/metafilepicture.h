#pragma once

#include <QImage>
#include <QString>

namespace platform {

/**
 * Windows metafiles (.wmf, .emf), drawn by the metafile unit: renders the file at `hostPath`.
 * Throws PlatformError "Cannot load picture <shownPath>: <reason>".
 */
QImage loadMetafilePicture(const QString &hostPath, const QString &shownPath);

} // namespace platform
