#pragma once

#include "platform/media/decoder.h"

namespace platform {

/** A file libsndfile reads (WAV, MP3, FLAC, Ogg and the rest of its formats), streamed. */
std::unique_ptr<Decoder> openSoundFile(const QString &hostPath);

} // namespace platform
