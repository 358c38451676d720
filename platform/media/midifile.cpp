#include "platform/media/midifile.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

// Beyond these a file is taken as damaged: they keep every product of ticks and tempi in range.
constexpr qint64 maxTicks = qint64(1) << 38;
constexpr qint64 maxLengthUs = qint64(24) * 3600 * 1000000;

QString tr(const char *text)
{
    return QCoreApplication::translate("platform::MidiFile", text);
}

[[noreturn]] void truncated()
{
    throw MidiFileError(tr("the file is truncated"));
}

[[noreturn]] void damagedTrack()
{
    throw MidiFileError(tr("a track of the file is damaged"));
}

quint32 bigEndian(const uchar *p, int size)
{
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | p[i];
    return value;
}

quint32 littleEndian32(const uchar *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

/** Reads one track chunk's events, with bounds checked at every byte. */
class TrackReader
{
public:
    TrackReader(const uchar *begin, const uchar *end) : m_p(begin), m_end(end) {}

    bool atEnd() const { return m_p >= m_end; }

    quint8 byte()
    {
        if (m_p >= m_end)
            damagedTrack();
        return *m_p++;
    }

    quint32 varLength()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const quint8 b = byte();
            value = (value << 7) | (b & 0x7F);
            if (!(b & 0x80))
                return value;
        }
        damagedTrack();
    }

    const uchar *take(quint32 size)
    {
        if (quint64(m_end - m_p) < size)
            damagedTrack();
        const uchar *start = m_p;
        m_p += size;
        return start;
    }

private:
    const uchar *m_p;
    const uchar *m_end;
};

struct TrackEvent
{
    MidiEvent event;
    int track = 0;
};

struct TrackTempo
{
    qint64 tick = 0;
    quint32 usPerQuarter = 0;
};

/** Reads one track; returns the tick of its end. */
qint64 readTrack(const uchar *begin, const uchar *end, int track, std::vector<TrackEvent> &events,
                 std::vector<TrackTempo> &tempi)
{
    TrackReader in(begin, end);
    qint64 tick = 0;
    quint8 running = 0;
    while (!in.atEnd()) {
        tick += in.varLength();
        if (tick > maxTicks)
            throw MidiFileError(tr("the file plays for too long"));
        quint8 status = in.byte();
        quint8 first = 0;
        bool haveFirst = false;
        if (status < 0x80) {
            if (!running)
                damagedTrack();
            first = status;
            haveFirst = true;
            status = running;
        }
        if (status < 0xF0) {
            running = status;
            MidiEvent event;
            event.tick = tick;
            event.status = status;
            event.data1 = (haveFirst ? first : in.byte()) & 0x7F;
            const quint8 kind = status & 0xF0;
            if (kind != 0xC0 && kind != 0xD0)
                event.data2 = in.byte() & 0x7F;
            events.push_back({event, track});
        } else if (status == 0xF0 || status == 0xF7) {
            running = 0;
            const quint32 size = in.varLength();
            const uchar *data = in.take(size);
            // 0xF7 packets continue or escape a message; the synthesiser needs only whole ones.
            if (status == 0xF0) {
                MidiEvent event;
                event.tick = tick;
                event.status = status;
                event.sysex = QByteArray(1, char(0xF0));
                event.sysex.append(reinterpret_cast<const char *>(data), qsizetype(size));
                events.push_back({event, track});
            }
        } else if (status == 0xFF) {
            running = 0;
            const quint8 type = in.byte();
            const quint32 size = in.varLength();
            const uchar *data = in.take(size);
            if (type == 0x2F)
                return tick;
            if (type == 0x51 && size >= 3) {
                const quint32 usPerQuarter = bigEndian(data, 3);
                if (usPerQuarter > 0)
                    tempi.push_back({tick, usPerQuarter});
            }
        } else {
            damagedTrack();
        }
    }
    return tick;
}

/** The Standard MIDI File inside a RIFF "RMID" wrapper, or the bytes as they are. */
QByteArrayView unwrapRiff(QByteArrayView bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "RMID")
        return bytes;
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    qsizetype pos = 12;
    while (pos + 8 <= bytes.size()) {
        const quint32 size = littleEndian32(p + pos + 4);
        if (quint64(bytes.size() - pos - 8) < size)
            truncated();
        if (bytes.sliced(pos, 4) == "data")
            return bytes.sliced(pos + 8, size);
        pos += 8 + qsizetype(size) + (size & 1);
    }
    throw MidiFileError(tr("the RIFF file holds no MIDI data"));
}

} // namespace

MidiFile MidiFile::parse(QByteArrayView bytes)
{
    bytes = unwrapRiff(bytes);
    if (bytes.size() < 4 || !bytes.startsWith("MThd"))
        throw MidiFileError(tr("it is not a MIDI file"));
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    if (bytes.size() < 14)
        truncated();
    const quint32 headerSize = bigEndian(p + 4, 4);
    if (headerSize < 6)
        throw MidiFileError(tr("the MIDI header is damaged"));
    if (quint64(bytes.size() - 8) < headerSize)
        truncated();

    MidiFile file;
    file.m_format = int(bigEndian(p + 8, 2));
    const int declaredTracks = int(bigEndian(p + 10, 2));
    const quint32 division = bigEndian(p + 12, 2);
    if (file.m_format > 2)
        throw MidiFileError(tr("the MIDI format %1 is unknown").arg(file.m_format));
    if (division & 0x8000) {
        const int fps = -qint8(division >> 8);
        const int ticksPerFrame = int(division & 0xFF);
        if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticksPerFrame == 0)
            throw MidiFileError(tr("the MIDI header is damaged"));
        file.m_smpteTicksPerSecond = (fps == 29 ? 30000.0 / 1001.0 : fps) * ticksPerFrame;
        file.m_ticksPerQuarter = int(std::lround(file.m_smpteTicksPerSecond));
    } else {
        if (division == 0)
            throw MidiFileError(tr("the MIDI header is damaged"));
        file.m_ticksPerQuarter = int(division);
    }

    std::vector<TrackEvent> events;
    std::vector<TrackTempo> tempi;
    qsizetype pos = 8 + qsizetype(headerSize);
    while (pos < bytes.size() && file.m_trackCount < declaredTracks) {
        if (bytes.size() - pos < 8)
            truncated();
        const quint32 size = bigEndian(p + pos + 4, 4);
        if (quint64(bytes.size() - pos - 8) < size)
            truncated();
        if (bytes.sliced(pos, 4) == "MTrk") {
            const qint64 end =
                readTrack(p + pos + 8, p + pos + 8 + size, file.m_trackCount, events, tempi);
            file.m_lengthTicks = std::max(file.m_lengthTicks, end);
            ++file.m_trackCount;
        }
        pos += 8 + qsizetype(size);
    }
    if (file.m_trackCount == 0)
        throw MidiFileError(declaredTracks == 0 ? tr("the MIDI file holds no tracks")
                                                : tr("the file is truncated"));
    if (file.m_trackCount < declaredTracks)
        truncated();

    std::stable_sort(tempi.begin(), tempi.end(),
                     [](const TrackTempo &a, const TrackTempo &b) { return a.tick < b.tick; });
    file.m_tempoMap.push_back(TempoChange{});
    if (!file.isSmpte()) {
        for (const TrackTempo &tempo : tempi) {
            const qint64 timeUs = file.timeUsAtTick(tempo.tick);
            if (tempo.tick == file.m_tempoMap.back().tick)
                file.m_tempoMap.back().usPerQuarter = tempo.usPerQuarter;
            else
                file.m_tempoMap.push_back({tempo.tick, timeUs, tempo.usPerQuarter});
            if (timeUs > maxLengthUs)
                throw MidiFileError(tr("the file plays for too long"));
        }
    }
    file.m_lengthUs = file.timeUsAtTick(file.m_lengthTicks);
    if (file.m_lengthUs > maxLengthUs)
        throw MidiFileError(tr("the file plays for too long"));

    std::stable_sort(events.begin(), events.end(), [](const TrackEvent &a, const TrackEvent &b) {
        return a.event.tick < b.event.tick;
    });
    file.m_events.reserve(events.size());
    for (TrackEvent &event : events) {
        event.event.timeUs = file.timeUsAtTick(event.event.tick);
        file.m_events.push_back(std::move(event.event));
    }
    return file;
}

qint64 MidiFile::timeUsAtTick(qint64 tick) const
{
    if (isSmpte())
        return qint64(std::floor(double(tick) * 1e6 / m_smpteTicksPerSecond));
    auto after = std::upper_bound(m_tempoMap.begin(), m_tempoMap.end(), tick,
                                  [](qint64 t, const TempoChange &c) { return t < c.tick; });
    const TempoChange &tempo = after == m_tempoMap.begin() ? m_tempoMap.front() : *(after - 1);
    return tempo.timeUs + (tick - tempo.tick) * qint64(tempo.usPerQuarter) / m_ticksPerQuarter;
}

} // namespace platform
