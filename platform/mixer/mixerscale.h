#pragma once

#include <QtGlobal>

namespace platform {

/**
 * The mapping between a control's own range min ... max and the program's 0 ... 65535 scale:
 * min is 0 and max is 65535 both ways, and values in between go to the nearest value.
 *
 * A range of 65536 values or more (max - min >= 65535, as PulseAudio's 0 ... 65536) round-trips
 * exactly: fromMixerScale then toMixerScale gives back every value of 0 ... 65535. A coarser range
 * cannot hold every value: a value written reads back as the nearest one the control can hold
 * (within half a control step), and writing back what was read changes nothing.
 * An empty or reversed range (max <= min) reads as 0 and writes min.
 */
quint32 toMixerScale(long controlValue, long min, long max);
long fromMixerScale(quint32 value, long min, long max);

} // namespace platform
