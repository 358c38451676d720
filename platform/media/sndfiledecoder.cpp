#include "platform/media/sndfiledecoder.h"

#include <QCoreApplication>
#include <QFile>
#include <sndfile.h>

namespace platform {

namespace {

class SoundFileDecoder : public Decoder
{
public:
    SoundFileDecoder(SNDFILE *file, const SF_INFO &info) : m_file(file), m_info(info) {}
    ~SoundFileDecoder() override { sf_close(m_file); }

    int sampleRate() const override { return m_info.samplerate; }
    int channels() const override { return m_info.channels; }
    qint64 frameCount() const override { return m_info.frames; }

    bool seek(qint64 frame) override
    {
        m_ended = sf_seek(m_file, frame, SEEK_SET) != frame;
        return !m_ended;
    }

    qint64 read(float *out, qint64 frames) override
    {
        if (m_ended)
            return 0;
        const qint64 got = sf_readf_float(m_file, out, frames);
        if (got < frames)
            m_ended = true;
        return got > 0 ? got : 0;
    }

private:
    SNDFILE *m_file;
    SF_INFO m_info;
    bool m_ended = false;
};

QString tr(const char *text)
{
    return QCoreApplication::translate("platform::MediaPlayer", text);
}

/** The file begins as a sound file of a known kind does. */
bool startsLikeSound(const QString &hostPath)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(4);
    for (const char *magic : {"RIFF", "RF64", "FORM", "fLaC", "OggS", "ID3"}) {
        if (head.startsWith(magic))
            return true;
    }
    return head.size() >= 2 && quint8(head[0]) == 0xFF && (quint8(head[1]) & 0xE0) == 0xE0;
}

} // namespace

std::unique_ptr<Decoder> openSoundFile(const QString &hostPath)
{
    SF_INFO info{};
    SNDFILE *file = sf_open(QFile::encodeName(hostPath).constData(), SFM_READ, &info);
    if (!file) {
        // The library's own texts are about its internals; the user needs to know which case it is.
        throw DecodeError(startsLikeSound(hostPath)
                              ? tr("it is damaged or truncated")
                              : tr("it is not a sound file that can be played"));
    }
    auto decoder = std::make_unique<SoundFileDecoder>(file, info);
    if (info.frames <= 0 || info.samplerate <= 0 || info.channels <= 0)
        throw DecodeError(tr("it holds no sound"));
    return decoder;
}

} // namespace platform
