#include "platform/picture/picture.h"

#include "platform/picture/metafilepicture.h"
#include "platform/platformerror.h"
#include "platform/winpath.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

namespace platform {

namespace {

[[noreturn]] void fail(const QString &windowsPath, const QString &reason)
{
    throw PlatformError(QStringLiteral("Cannot load picture %1: %2").arg(windowsPath, reason));
}

QString existingHostFile(const WinPath &paths, const QString &windowsPath)
{
    if (!paths.fileExists(windowsPath))
        fail(windowsPath, QStringLiteral("the file does not exist"));
    return paths.toHost(windowsPath);
}

/**
 * The size a Windows bitmap's header claims. Qt's reader reports no size for a header it
 * distrusts, and we still want to tell the user that the picture is too large.
 */
QSize bitmapHeaderSize(const QString &hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(14 + 12);
    if (head.size() < 26 || !head.startsWith("BM"))
        return {};
    const char *info = head.constData() + 14;
    const quint32 infoSize = qFromLittleEndian<quint32>(info);
    if (infoSize == 12) // the OS/2 core header has 16-bit sides
        return QSize(qFromLittleEndian<quint16>(info + 4), qFromLittleEndian<quint16>(info + 6));
    // Negative heights mark top-down rows; the magnitude is the height.
    const qint64 width = qFromLittleEndian<qint32>(info + 4);
    const qint64 height = qAbs(qint64(qFromLittleEndian<qint32>(info + 8)));
    return QSize(int(qBound<qint64>(0, width, qint64(INT_MAX))),
                 int(qMin<qint64>(height, qint64(INT_MAX))));
}

/** Reads `hostPath` as exactly `format`, never guessing another type from the content. */
QImage readAs(const QString &hostPath, const QByteArray &format, const QString &windowsPath)
{
    QImageReader reader(hostPath, format);
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    // A second line of defence behind the header check: Qt refuses larger pixel buffers itself.
    reader.setAllocationLimit(int(maxPictureBytes / (1024 * 1024)));

    const QString typeName = QString::fromLatin1(format).toUpper();
    if (!reader.canRead())
        fail(windowsPath, QStringLiteral("the file is not a valid %1 picture").arg(typeName));

    // An icon file holds several sizes; the largest looks best on a stretched picture.
    if (format == "ico" && reader.imageCount() > 1) {
        int best = 0;
        qint64 bestArea = -1;
        for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
            const QSize entry = reader.size();
            if (qint64(entry.width()) * entry.height() > bestArea) {
                best = i;
                bestArea = qint64(entry.width()) * entry.height();
            }
        }
        reader.jumpToImage(best);
    }

    // The header's size decides before any pixel memory is taken, so a forged header cannot
    // exhaust memory.
    QSize size = reader.size();
    if (!size.isValid() && format == "bmp")
        size = bitmapHeaderSize(hostPath);
    if (size.isValid()) {
        // The sides first: two sides near INT_MAX would overflow the product.
        if (size.width() > maxPictureSide || size.height() > maxPictureSide ||
            qint64(size.width()) * size.height() * 4 > maxPictureBytes)
            fail(windowsPath, QStringLiteral("the picture is too large (%1 x %2 pixels)")
                                  .arg(size.width())
                                  .arg(size.height()));
    }

    QImage image = reader.read();
    if (image.isNull())
        fail(windowsPath, QStringLiteral("the file is not a valid %1 picture (%2)")
                              .arg(typeName, reader.errorString()));
    return image;
}

} // namespace

QImage loadPicture(const WinPath &paths, const QString &windowsPath)
{
    const QString suffix = QFileInfo(WinPath::fileName(windowsPath)).suffix().toLower();
    if (suffix == u"wmf" || suffix == u"emf")
        return loadMetafilePicture(existingHostFile(paths, windowsPath), windowsPath);

    QByteArray format;
    if (suffix == u"bmp")
        format = "bmp";
    else if (suffix == u"ico")
        format = "ico";
    else if (suffix == u"jpg" || suffix == u"jpeg")
        format = "jpeg";
    else
        fail(windowsPath, suffix.isEmpty()
                              ? QStringLiteral("the file name has no picture type")
                              : QStringLiteral("unknown picture type \".%1\"").arg(suffix));

    const QString host = existingHostFile(paths, windowsPath);
    if (!QImageReader::supportedImageFormats().contains(format))
        fail(windowsPath,
             QStringLiteral("%1 pictures cannot be read: Qt's %2 image plugin is "
                            "not installed")
                 .arg(QString::fromLatin1(format).toUpper(), QString::fromLatin1(format)));
    return readAs(host, format, windowsPath);
}

QImage loadBitmap(const WinPath &paths, const QString &windowsPath)
{
    return readAs(existingHostFile(paths, windowsPath), "bmp", windowsPath);
}

} // namespace platform
