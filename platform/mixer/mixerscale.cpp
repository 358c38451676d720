#include "platform/mixer/mixerscale.h"

#include "platform/mixer/mixer.h"

#include <algorithm>

namespace platform {

namespace {

// A control may report any range of longs; 128 bits hold its span times 65535 without overflow.
__extension__ typedef unsigned __int128 Wide;

/** round(numerator / denominator) for denominator > 0, halves rounded up. */
Wide roundedDivision(Wide numerator, Wide denominator)
{
    return (numerator + denominator / 2) / denominator;
}

Wide spanOf(long min, long max)
{
    return Wide(qint64(max)) - Wide(qint64(min));
}

} // namespace

quint32 toMixerScale(long controlValue, long min, long max)
{
    if (max <= min) {
        return 0;
    }
    const long clamped = std::clamp(controlValue, min, max);
    const Wide offset = spanOf(min, clamped);
    return quint32(roundedDivision(offset * Mixer::MaxVolume, spanOf(min, max)));
}

long fromMixerScale(quint32 value, long min, long max)
{
    if (max <= min) {
        return min;
    }
    const Wide clamped = std::min(value, Mixer::MaxVolume);
    const Wide offset = roundedDivision(clamped * spanOf(min, max), Mixer::MaxVolume);
    return long(Wide(qint64(min)) + offset);
}

} // namespace platform
