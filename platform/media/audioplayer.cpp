#include "platform/media/audioplayer.h"

#include "platform/media/audiodevice.h"
#include "platform/media/decoder.h"
#include "platform/media/resampler.h"
#include "platform/platformerror.h"
#include "platform/winpath.h"

#include <algorithm>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

namespace {

/**
 * A player over the shared sound output. The output's thread renders under m_mutex, and every
 * call from the program takes it too, so the song's state has one owner at a time; slow work
 * (opening and closing files) happens outside the lock.
 */
class AudioMediaPlayer final : public MediaPlayer, private AudioSource
{
public:
    AudioMediaPlayer(const WinPath &paths, std::function<bool()> soundMayStart)
        : m_paths(paths), m_soundMayStart(std::move(soundMayStart))
    {
    }

    ~AudioMediaPlayer() override
    {
        if (m_device)
            m_device->detach(this);
    }

    void setFileName(const QString &windowsPath) override { m_fileName = windowsPath; }
    QString fileName() const override { return m_fileName; }

    void open() override
    {
        close();
        AudioDevice &device = AudioDevice::instance();
        std::unique_ptr<Decoder> decoder =
            openMediaFile(m_paths, m_fileName, DecoderUse::Playback, device.sampleRate());
        if (!m_device) {
            m_device = &device;
            m_device->attach(this);
        }
        const std::lock_guard lock(m_mutex);
        m_decoder = std::move(decoder);
        m_frame = 0;
        m_playing = false;
    }

    void close() override
    {
        std::unique_ptr<Decoder> closing;
        {
            const std::lock_guard lock(m_mutex);
            closing = std::move(m_decoder);
            m_frame = 0;
            m_playing = false;
        }
    }

    void play() override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_decoder || m_playing)
            return;
        if (m_frame >= m_decoder->frameCount())
            m_frame = 0;
        m_resampler.start(*m_decoder, m_frame, m_device->sampleRate());
        m_playing = true;
        m_heldFrames = m_soundMayStart ? 0 : -1;
    }

    void stop() override
    {
        const std::lock_guard lock(m_mutex);
        m_playing = false;
    }

    qint64 position() const override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_decoder)
            return 0;
        const qint64 length = m_decoder->lengthMs();
        if (m_frame >= m_decoder->frameCount())
            return length;
        return std::min(m_frame * 1000 / m_decoder->sampleRate(), length);
    }

    void setPosition(qint64 ms) override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_decoder)
            return;
        m_playing = false;
        const qint64 total = m_decoder->frameCount();
        m_frame =
            ms >= m_decoder->lengthMs()
                ? total
                : std::min(frameAtMs(std::max<qint64>(ms, 0), m_decoder->sampleRate()), total);
    }

    qint64 length() const override
    {
        const std::lock_guard lock(m_mutex);
        return m_decoder ? m_decoder->lengthMs() : 0;
    }

    MediaMode mode() const override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_decoder)
            return MediaMode::NotOpen;
        return m_playing ? MediaMode::Playing : MediaMode::Stopped;
    }

private:
    void render(float *out, int frames) override
    {
        const std::lock_guard lock(m_mutex);
        if (!m_playing || !m_decoder)
            return;
        if (m_heldFrames >= 0) {
            if (!m_soundMayStart() && m_heldFrames < qint64(m_device->sampleRate()) * MaxHoldMs / 1000) {
                m_heldFrames += frames;
                return;
            }
            m_heldFrames = -1;
        }
        m_resampler.render(*m_decoder, out, frames);
        // A damaged stream stops where its sound ends; a whole one stands at its end.
        m_frame = std::min(m_resampler.position(), m_decoder->frameCount());
        if (m_resampler.finished())
            m_playing = false;
    }

    static constexpr int MaxHoldMs = 300;

    const WinPath &m_paths;
    const std::function<bool()> m_soundMayStart;
    QString m_fileName;
    AudioDevice *m_device = nullptr;

    mutable std::mutex m_mutex;
    std::unique_ptr<Decoder> m_decoder;
    qint64 m_frame = 0;
    bool m_playing = false;
    qint64 m_heldFrames = -1; // frames of silence so far before a started song sounds; -1: not held
    Resampler m_resampler;
};

} // namespace

std::unique_ptr<MediaPlayer> createAudioPlayer(const WinPath &paths)
{
    return std::make_unique<AudioMediaPlayer>(paths, nullptr);
}

std::unique_ptr<MediaPlayer> createAudioPlayer(const WinPath &paths,
                                               std::function<bool()> soundMayStart)
{
    return std::make_unique<AudioMediaPlayer>(paths, std::move(soundMayStart));
}

void openSoundOutputEarly()
{
    try {
        std::thread([] {
            try {
                AudioDevice::instance();
            } catch (const PlatformError &) {
                // Reported by the open() that needs the output.
            }
        }).detach();
    } catch (const std::system_error &) {
        // No thread to spare: the first open() opens the output.
    }
}

} // namespace platform
