#pragma once

#include <QtGlobal>
#include <mutex>
#include <vector>

namespace platform {

/** Something the sound output pulls stereo frames from, on the output's own thread. */
class AudioSource
{
public:
    virtual ~AudioSource() = default;
    /** Adds `frames` stereo frames at the output's rate into `out`. */
    virtual void render(float *out, int frames) = 0;
};

/**
 * The process's one sound output. It is opened on first use and stays open, running, until
 * the process ends: opening a device for each song would cut off the start of the sound and
 * add delay. Sources attached to it are mixed into it; with none it plays silence.
 */
class AudioDevice
{
public:
    /** The output, opened now if it is not open yet; throws PlatformError when there is none. */
    static AudioDevice &instance();

    int sampleRate() const { return m_rate; }
    int bufferFrames() const { return m_bufferFrames; }

    void attach(AudioSource *source);
    /** Once this returns, the output no longer calls the source. */
    void detach(AudioSource *source);

    /** Called by the back end's thread for each buffer it needs. */
    void fill(float *out, int frames);

private:
    AudioDevice() = default;

    int m_rate = 0;
    int m_bufferFrames = 0;
    std::mutex m_mutex;
    std::vector<AudioSource *> m_sources;
};

} // namespace platform
