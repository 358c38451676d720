#pragma once

#include "platform/media/decoder.h"

#include <vector>

namespace platform {

/**
 * Turns a decoder's frames (any rate, mono, stereo or more channels) into stereo frames at the
 * output's rate, by cubic (Hermite) interpolation. At equal rates the samples pass unchanged.
 * It knows which source frame is sounding, so a player's position follows what was handed out.
 */
class Resampler
{
public:
    /** Starts at `frame` of `source`, which it seeks there; false when the seek fails. */
    bool start(Decoder &source, qint64 frame, int outputRate);

    /** Adds up to `frames` stereo frames into `out`; fewer once the source is used up. */
    int render(Decoder &source, float *out, int frames);

    /** The source frame now sounding: the count of source frames handed out. */
    qint64 position() const { return m_base; }
    /** The source gave its last frame and all of it was handed out. */
    bool finished() const { return m_sourceEnded && m_base >= m_sourceEnd; }

private:
    void shift(Decoder &source);
    bool pull(Decoder &source, float &left, float &right);

    double m_step = 1.0;
    double m_phase = 0.0;
    float m_history[4][2] = {};
    qint64 m_base = 0;
    qint64 m_sourceEnd = 0;
    qint64 m_pulled = 0;
    bool m_sourceEnded = false;
    int m_channels = 2;
    std::vector<float> m_input;
    qsizetype m_inputPos = 0;
    qsizetype m_inputFrames = 0;
};

} // namespace platform
