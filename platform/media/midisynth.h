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

private:
    fluid_settings_t *m_settings = nullptr;
    fluid_synth_t *m_synth = nullptr;
    int m_rate = 0;
};

} // namespace platform
