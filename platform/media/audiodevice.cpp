#include "platform/media/audiodevice.h"

#include "platform/platformerror.h"

#include <QCoreApplication>
#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace platform {

namespace {

// 512 frames at 48 kHz is about 11 ms: small enough that a click is heard at once.
constexpr int wantedRate = 48000;
constexpr int wantedBufferFrames = 512;

void fillFromSdl(void *device, Uint8 *stream, int bytes)
{
    static_cast<AudioDevice *>(device)->fill(reinterpret_cast<float *>(stream),
                                             bytes / int(2 * sizeof(float)));
}

} // namespace

AudioDevice &AudioDevice::instance()
{
    static std::mutex openMutex;
    // Kept for the life of the process on purpose: the output thread may run until exit.
    static AudioDevice *device = nullptr;
    const std::lock_guard lock(openMutex);
    if (device)
        return *device;

    const auto failure = [] {
        return PlatformError(QCoreApplication::translate("platform::MediaPlayer",
                                                         "No sound output device can be opened: %1")
                                 .arg(QString::fromUtf8(SDL_GetError())));
    };
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw failure();

    SDL_AudioSpec want{};
    want.freq = wantedRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = wantedBufferFrames;
    want.callback = fillFromSdl;
    SDL_AudioSpec have{};
    auto *created = new AudioDevice;
    want.userdata = created;
    const SDL_AudioDeviceID id =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (id == 0) {
        PlatformError error = failure();
        delete created;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw error;
    }
    // A new device stands paused, so its callback cannot run before these are set.
    created->m_rate = have.freq;
    created->m_bufferFrames = have.samples;
    device = created;
    SDL_PauseAudioDevice(id, 0);
    return *device;
}

void AudioDevice::attach(AudioSource *source)
{
    const std::lock_guard lock(m_mutex);
    if (std::find(m_sources.begin(), m_sources.end(), source) == m_sources.end())
        m_sources.push_back(source);
}

void AudioDevice::detach(AudioSource *source)
{
    const std::lock_guard lock(m_mutex);
    m_sources.erase(std::remove(m_sources.begin(), m_sources.end(), source), m_sources.end());
}

void AudioDevice::fill(float *out, int frames)
{
    std::memset(out, 0, sizeof(float) * 2 * size_t(frames));
    const std::lock_guard lock(m_mutex);
    for (AudioSource *source : m_sources)
        source->render(out, frames);
}

} // namespace platform
