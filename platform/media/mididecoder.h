#pragma once

#include "platform/media/decoder.h"

namespace platform {

/**
 * A Standard MIDI File played by FluidSynth with the system's General MIDI SoundFont, at
 * `outputRate`. Times follow the file's own tempo map, so length and seeking are exact in
 * milliseconds. A probe reads only the file and never loads the SoundFont.
 */
std::unique_ptr<Decoder> openMidiFile(const QString &hostPath, DecoderUse use, int outputRate);

} // namespace platform
