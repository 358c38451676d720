#pragma once

#include "platform/media/mediaplayer.h"

#include <functional>
#include <memory>

namespace platform {

class WinPath;

/**
 * The real player: streams the file (WAV, MP3, FLAC, Ogg through libsndfile, MIDI through
 * FluidSynth) to the process's one sound output, which is opened on the first open() and then
 * kept. Its position counts the frames handed to the output. `paths` must outlive the player.
 */
std::unique_ptr<MediaPlayer> createAudioPlayer(const WinPath &paths);

/**
 * The same, with a song started by play() held silent while `soundMayStart` answers false, for
 * at most 300 ms: so that it does not start louder than the volume asked for with it, while
 * that volume is still on its way to the sound server. `soundMayStart` is asked on the output's
 * thread and must not block; it must outlive the player.
 */
std::unique_ptr<MediaPlayer> createAudioPlayer(const WinPath &paths,
                                               std::function<bool()> soundMayStart);

/**
 * Opens the sound output now, on a thread of its own, so that the first song does not wait for
 * it. Returns at once. A failure is left for the first open() to report.
 */
void openSoundOutputEarly();

} // namespace platform
