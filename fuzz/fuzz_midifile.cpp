#include "platform/media/midifile.h"

#include <cstddef>
#include <cstdint>

/** Any bytes, read as the media player reads a MIDI file. */
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        platform::MidiFile::parse(QByteArrayView(data, qsizetype(size)));
    } catch (const platform::MidiFileError &) {
    }
    return 0;
}
