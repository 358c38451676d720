#include "platform/picture/metafilepicture.h"

#ifndef KARVEL_WITHOUT_METAFILE
#include "platform/metafile/metafile.h"
#endif
#include "platform/platformerror.h"

#include <QFile>

namespace platform {

namespace {

// Metafiles are drawings of a few kilobytes; a bigger file is refused before it is read.
constexpr qint64 maxMetafileBytes = 64LL * 1024 * 1024;

[[noreturn]] void fail(const QString &shownPath, const QString &reason)
{
    throw PlatformError(QStringLiteral("Cannot load picture %1: %2").arg(shownPath, reason));
}

} // namespace

QImage loadMetafilePicture(const QString &hostPath, const QString &shownPath)
{
#ifdef KARVEL_WITHOUT_METAFILE
    Q_UNUSED(hostPath);
    fail(shownPath, QStringLiteral("metafile pictures are not supported in this build"));
#else
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        fail(shownPath, file.errorString());
    if (file.size() > maxMetafileBytes)
        fail(shownPath, QStringLiteral("the file is too large for a metafile"));
    const QByteArray bytes = file.readAll();
    // Windows tells a WMF from an EMF by the header, whatever the extension says.
    std::optional<QImage> image = renderMetafile(bytes);
    if (!image || image->isNull())
        fail(shownPath, QStringLiteral("the file is not a valid metafile picture"));
    return *image;
#endif
}

} // namespace platform
