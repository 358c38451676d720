#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <stdexcept>
#include <vector>

namespace platform {

/** A byte sequence is not a Standard MIDI File this reader can play; the reason says why. */
class MidiFileError : public std::runtime_error
{
public:
    explicit MidiFileError(const QString &reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason)
    {}
    const QString &reason() const { return m_reason; }

private:
    QString m_reason;
};

/** One channel message or system exclusive message, at its tick and its exact time. */
struct MidiEvent
{
    qint64 tick = 0;
    qint64 timeUs = 0;
    quint8 status = 0;
    quint8 data1 = 0;
    quint8 data2 = 0;
    /** A system exclusive message's bytes, starting with 0xF0; empty for channel messages. */
    QByteArray sysex;
};

/** From `tick` on, a quarter note lasts `usPerQuarter`; the change happens at `timeUs`. */
struct TempoChange
{
    qint64 tick = 0;
    qint64 timeUs = 0;
    quint32 usPerQuarter = 500000;
};

/**
 * A Standard MIDI File (formats 0, 1 and 2, also wrapped in a RIFF "RMID" file) read into one
 * time-ordered list of events, with the tempo map that gives each tick its time in
 * microseconds. Format 2's independent sequences are laid over each other like format 1.
 * Any damage is reported as MidiFileError, never read past the end of the bytes.
 */
class MidiFile
{
public:
    /** Reads the file's bytes; throws MidiFileError when they are not a playable file. */
    static MidiFile parse(QByteArrayView bytes);

    int format() const { return m_format; }
    int trackCount() const { return m_trackCount; }
    /** Ticks per quarter note, or for SMPTE timing the ticks per second. */
    int ticksPerQuarter() const { return m_ticksPerQuarter; }
    bool isSmpte() const { return m_smpteTicksPerSecond > 0; }

    /** The channel and system exclusive messages of all tracks, in time order. */
    const std::vector<MidiEvent> &events() const { return m_events; }
    /** Starts with the default tempo (120 beats per minute) at tick 0. */
    const std::vector<TempoChange> &tempoMap() const { return m_tempoMap; }

    /** The end of the longest track (its end-of-track event), in ticks and in time. */
    qint64 lengthTicks() const { return m_lengthTicks; }
    qint64 lengthUs() const { return m_lengthUs; }

    qint64 timeUsAtTick(qint64 tick) const;

private:
    int m_format = 0;
    int m_trackCount = 0;
    int m_ticksPerQuarter = 0;
    double m_smpteTicksPerSecond = 0;
    std::vector<MidiEvent> m_events;
    std::vector<TempoChange> m_tempoMap;
    qint64 m_lengthTicks = 0;
    qint64 m_lengthUs = 0;
};

} // namespace platform
