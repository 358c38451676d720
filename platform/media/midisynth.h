#pragma once

#include <fluidsynth.h>

namespace platform {

/**
 * A FluidSynth synthesiser with the General MIDI SoundFont loaded. Loading the SoundFont takes
 * long, so released synthesisers are kept and handed out again, reset, for the next song.
 */
class MidiSynth
{
public:
    /** A synthesiser at `rate`, reset; throws DecodeError when no SoundFont is installed. */
    explicit MidiSynth(int rate);
    ~MidiSynth();
    MidiSynth(const MidiSynth &) = delete;
    MidiSynth &operator=(const MidiSynth &) = delete;

    fluid_synth_t *get() const { return m_synth; }

    /**
     * Cuts every sound, its reverb tail included, and resets programs and controllers, so
     * nothing of a song before (or of the part before a seek) is heard after.
     */
    void silence();

private:
    fluid_settings_t *m_settings = nullptr;
    fluid_synth_t *m_synth = nullptr;
    int m_rate = 0;
};

} // namespace platform
