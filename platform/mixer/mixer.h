#pragma once

#include <QtGlobal>
#include <memory>

namespace platform {

/**
 * The speaker volume control of mixer device 0, on the program's 0 ... 65535 scale.
 *
 * With nothing open (open() not called, open() returned false, or after close()), volume() is 0
 * and setVolume() does nothing. No operation throws.
 */
class Mixer
{
public:
    static constexpr quint32 MaxVolume = 65535;

    virtual ~Mixer() = default;

    /**
     * Opens mixer device 0 and looks for the speaker line's volume control. Returns true when one
     * was found; false when there is none (no sound card, no such control, no sound server).
     * Returns within a bounded time, also when a sound server is configured but does not answer.
     */
    virtual bool open() = 0;
    virtual void close() = 0;

    /** The current volume, the loudest channel's, 0 ... 65535. */
    virtual quint32 volume() const = 0;
    /** Sets every channel to `value`; values above 65535 are taken as 65535. */
    virtual void setVolume(quint32 value) = 0;

    /**
     * Whether a value below the last one written is still on its way to the control: a sound
     * started now would come out louder than asked. A mixer that writes at once never has one.
     * Asked on the sound output's thread too, so it never blocks.
     */
    virtual bool lowering() const { return false; }
};

/**
 * The desktop's master volume: ALSA's `default` card, simple element `Master`, playback volume.
 * On PulseAudio and PipeWire desktops that is the sound server's volume of the default sink.
 * Writes go to the server in the background (see BackgroundMixer): each is a round trip.
 */
std::unique_ptr<Mixer> createSystemMixer();

} // namespace platform
