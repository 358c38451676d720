#include "platform/picture/metafilepicture.h"

#include "platform/platformerror.h"

namespace platform {

// The metafile renderer of platform/metafile/ plugs in here once it exists.
QImage loadMetafilePicture(const QString &, const QString &shownPath)
{
    throw PlatformError(
        QStringLiteral("Cannot load picture %1: metafile pictures are not supported yet")
            .arg(shownPath));
}

} // namespace platform
