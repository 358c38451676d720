#include "platform/media/resampler.h"

namespace platform {

namespace {

constexpr qsizetype inputBlockFrames = 1024;

float hermite(float before, float from, float to, float after, float t)
{
    const float c1 = 0.5f * (to - before);
    const float c2 = before - 2.5f * from + 2.0f * to - 0.5f * after;
    const float c3 = 0.5f * (after - before) + 1.5f * (from - to);
    return ((c3 * t + c2) * t + c1) * t + from;
}

} // namespace

bool Resampler::start(Decoder &source, qint64 frame, int outputRate)
{
    m_step = double(source.sampleRate()) / double(outputRate);
    m_phase = 0.0;
    m_channels = source.channels();
    m_input.resize(size_t(inputBlockFrames * m_channels));
    m_inputPos = 0;
    m_inputFrames = 0;
    m_base = frame;
    m_pulled = frame;
    m_sourceEnded = false;
    m_sourceEnd = 0;
    const bool moved = source.seek(frame);
    if (!moved) {
        m_sourceEnded = true;
        m_sourceEnd = frame;
    }
    // history: [0] the frame before the sounding one, [1] the sounding one, [2] and [3] ahead.
    float left = 0, right = 0;
    pull(source, left, right);
    m_history[0][0] = m_history[1][0] = left;
    m_history[0][1] = m_history[1][1] = right;
    for (int i = 2; i < 4; ++i) {
        pull(source, left, right);
        m_history[i][0] = left;
        m_history[i][1] = right;
    }
    return moved;
}

bool Resampler::pull(Decoder &source, float &left, float &right)
{
    if (m_inputPos == m_inputFrames && !m_sourceEnded) {
        m_inputFrames = source.read(m_input.data(), inputBlockFrames);
        m_inputPos = 0;
        if (m_inputFrames < inputBlockFrames) {
            m_sourceEnded = true;
            m_sourceEnd = m_pulled + m_inputFrames;
        }
    }
    if (m_inputPos == m_inputFrames) {
        left = right = 0;
        return false;
    }
    const float *frame = m_input.data() + m_inputPos * m_channels;
    left = frame[0];
    right = m_channels > 1 ? frame[1] : frame[0];
    ++m_inputPos;
    ++m_pulled;
    return true;
}

void Resampler::shift(Decoder &source)
{
    for (int i = 0; i < 3; ++i) {
        m_history[i][0] = m_history[i + 1][0];
        m_history[i][1] = m_history[i + 1][1];
    }
    pull(source, m_history[3][0], m_history[3][1]);
    ++m_base;
}

int Resampler::render(Decoder &source, float *out, int frames)
{
    int produced = 0;
    while (produced < frames && !finished()) {
        const float t = float(m_phase);
        out[2 * produced] +=
            hermite(m_history[0][0], m_history[1][0], m_history[2][0], m_history[3][0], t);
        out[2 * produced + 1] +=
            hermite(m_history[0][1], m_history[1][1], m_history[2][1], m_history[3][1], t);
        ++produced;
        m_phase += m_step;
        while (m_phase >= 1.0) {
            m_phase -= 1.0;
            shift(source);
        }
    }
    return produced;
}

} // namespace platform
