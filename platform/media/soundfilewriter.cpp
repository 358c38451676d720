#include "platform/media/soundfilewriter.h"

#include "platform/platformerror.h"

#include <QCoreApplication>
#include <QFile>
#include <sndfile.h>

namespace platform {

struct SoundFileWriter::File
{
    SNDFILE *handle = nullptr;
};

namespace {

int formatOf(SoundFileType type)
{
    switch (type) {
    case SoundFileType::Wav16:
        return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    case SoundFileType::WavFloat:
        return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    case SoundFileType::Mp3:
        return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    case SoundFileType::Flac:
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case SoundFileType::Ogg:
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    }
    return 0;
}

PlatformError writeError(const QString &path, const char *reason)
{
    return PlatformError(QCoreApplication::translate("platform::SoundFileWriter",
                                                     "Unable to write the sound file %1: %2")
                             .arg(path, QString::fromLocal8Bit(reason)));
}

} // namespace

SoundFileWriter::SoundFileWriter(const QString &hostPath, SoundFileType type, int sampleRate,
                                 int channels)
    : m_file(std::make_unique<File>()), m_path(hostPath)
{
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = formatOf(type);
    m_file->handle = sf_open(QFile::encodeName(hostPath).constData(), SFM_WRITE, &info);
    if (!m_file->handle)
        throw writeError(hostPath, sf_strerror(nullptr));
}

SoundFileWriter::~SoundFileWriter()
{
    if (m_file->handle)
        sf_close(m_file->handle);
}

void SoundFileWriter::write(const float *frames, qint64 count)
{
    if (!m_file->handle || sf_writef_float(m_file->handle, frames, count) != count)
        throw writeError(m_path, m_file->handle ? sf_strerror(m_file->handle) : "closed");
}

void SoundFileWriter::close()
{
    if (!m_file->handle)
        return;
    const int result = sf_close(m_file->handle);
    m_file->handle = nullptr;
    if (result != 0)
        throw writeError(m_path, sf_error_number(result));
}

} // namespace platform
