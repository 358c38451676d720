#include "platform/media/decoder.h"
#include "platform/media/mididecoder.h"
#include "platform/media/sndfiledecoder.h"
#include "platform/platformerror.h"
#include "platform/winpath.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace platform {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("platform::MediaPlayer", text);
}

bool isMidiByName(const QString &suffix)
{
    return suffix == u"mid" || suffix == u"midi" || suffix == u"rmi";
}

bool isSoundFileByName(const QString &suffix)
{
    return suffix == u"wav" || suffix == u"mp3" || suffix == u"ogg" || suffix == u"flac";
}

bool looksLikeMidi(const QByteArray &head)
{
    return head.startsWith("MThd") || (head.startsWith("RIFF") && head.mid(8, 4) == "RMID");
}

} // namespace

std::unique_ptr<Decoder> openDecoder(const QString &hostPath, DecoderUse use, int outputRate)
{
    const QFileInfo info(hostPath);
    if (!info.exists())
        throw DecodeError(tr("the file does not exist"));
    if (info.isDir())
        throw DecodeError(tr("it is a folder, not a file"));
    // A pipe or a device would block the open or never end.
    if (!info.isFile())
        throw DecodeError(tr("it is not a regular file"));
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        throw DecodeError(tr("the file cannot be read (%1)").arg(file.errorString()));
    if (file.size() == 0)
        throw DecodeError(tr("the file is empty"));
    const QByteArray head = file.read(16);
    file.close();

    // The extension chooses the device, as on Windows; content decides only for other names.
    const QString suffix = info.suffix().toLower();
    if (isMidiByName(suffix) || (!isSoundFileByName(suffix) && looksLikeMidi(head)))
        return openMidiFile(hostPath, use, outputRate);
    return openSoundFile(hostPath);
}

std::unique_ptr<Decoder> openMediaFile(const WinPath &paths, const QString &windowsPath,
                                       DecoderUse use, int outputRate)
{
    try {
        const QString host = paths.toHost(windowsPath);
        if (host.isEmpty())
            throw DecodeError(tr("the file does not exist"));
        return openDecoder(host, use, outputRate);
    } catch (const DecodeError &error) {
        throw PlatformError(tr("Cannot open the file %1: %2.").arg(windowsPath, error.reason()));
    }
}

} // namespace platform
