#pragma once

// Files the media tests make: generated sound files and small MIDI files built byte by byte.

#include "platform/media/soundfilewriter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cmath>
#include <vector>

namespace mediafixtures {

/** The value `writeTone` with `pattern` puts at a frame and channel: exact in float. */
inline float patternSample(qint64 frame, int channel)
{
    return float(((frame * 7919 + channel * 104729) % 60001) - 30000) / 32768.0f;
}

/** A sine tone (or, with `pattern`, a sequence of distinct exact values) of `frames` frames. */
inline void writeTone(const QString &hostPath, platform::SoundFileType type, int rate, int channels,
                      qint64 frames, bool pattern = false)
{
    platform::SoundFileWriter writer(hostPath, type, rate, channels);
    std::vector<float> block(size_t(4096 * channels));
    qint64 done = 0;
    while (done < frames) {
        const qint64 count = std::min<qint64>(4096, frames - done);
        for (qint64 i = 0; i < count; ++i) {
            const qint64 n = done + i;
            for (int c = 0; c < channels; ++c) {
                block[size_t(i * channels + c)] =
                    pattern ? patternSample(n, c)
                            : float(0.4 * std::sin(2 * M_PI * 440.0 * double(n) / rate));
            }
        }
        writer.write(block.data(), count);
        done += count;
    }
    writer.close();
}

/** Appends a variable-length quantity. */
inline void varLength(QByteArray &out, quint32 value)
{
    QByteArray bytes(1, char(value & 0x7F));
    while (value >>= 7)
        bytes.prepend(char(0x80 | (value & 0x7F)));
    out.append(bytes);
}

/** One track chunk's events, written as they are added. */
struct Track
{
    QByteArray events;

    Track &event(quint32 delta, std::initializer_list<int> bytes)
    {
        varLength(events, delta);
        for (int b : bytes)
            events.append(char(b));
        return *this;
    }
    Track &tempo(quint32 delta, quint32 usPerQuarter)
    {
        return event(delta, {0xFF, 0x51, 0x03, int(usPerQuarter >> 16),
                             int((usPerQuarter >> 8) & 0xFF), int(usPerQuarter & 0xFF)});
    }
    Track &note(quint32 delta, int key, quint32 duration)
    {
        event(delta, {0x90, key, 100});
        return event(duration, {0x80, key, 0});
    }
    Track &end(quint32 delta = 0) { return event(delta, {0xFF, 0x2F, 0x00}); }

    QByteArray chunk() const
    {
        QByteArray out("MTrk");
        const quint32 size = quint32(events.size());
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((size >> shift) & 0xFF));
        return out + events;
    }
};

/** A Standard MIDI File of the tracks; `division` as the header stores it. */
inline QByteArray smf(int format, quint16 division, const QList<Track> &tracks)
{
    QByteArray out("MThd");
    out.append(QByteArray::fromHex("00000006"));
    out.append(char(0)).append(char(format));
    out.append(char(tracks.size() >> 8)).append(char(tracks.size() & 0xFF));
    out.append(char(division >> 8)).append(char(division & 0xFF));
    for (const Track &track : tracks)
        out.append(track.chunk());
    return out;
}

/**
 * Format 1, 480 ticks a quarter: the tempo track plays 960 ticks at 120 bpm (1000 ms), then 960
 * at 240 bpm (500 ms), then 480 at 80 bpm (750 ms); the note track ends at tick 2400: 2250 ms.
 */
inline QByteArray tempoChangeSong()
{
    Track tempo;
    tempo.tempo(0, 500000).tempo(960, 250000).tempo(960, 750000).end(480);
    Track notes;
    notes.event(0, {0xC0, 0}).note(0, 60, 480).note(480, 64, 960).note(0, 67, 480).end(0);
    return smf(1, 480, {tempo, notes});
}

} // namespace mediafixtures
