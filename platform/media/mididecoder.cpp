#include "platform/media/mididecoder.h"

#include "platform/media/midifile.h"
#include "platform/media/midisynth.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <array>
#include <optional>

namespace platform {

namespace {

// Far above any song's file; a bigger one is not a MIDI file worth reading whole.
constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

class MidiDecoder : public Decoder
{
public:
    MidiDecoder(MidiFile file, int rate, std::unique_ptr<MidiSynth> synth)
        : m_file(std::move(file)), m_rate(rate), m_synth(std::move(synth))
    {
        m_frameCount = framesAtUs(m_file.lengthUs());
    }

    int sampleRate() const override { return m_rate; }
    int channels() const override { return 2; }
    qint64 frameCount() const override { return m_frameCount; }
    qint64 lengthMs() const override { return m_file.lengthUs() / 1000; }

    bool seek(qint64 frame) override
    {
        m_frame = std::clamp<qint64>(frame, 0, m_frameCount);
        m_next = 0;
        if (!m_synth)
            return true;
        m_synth->silence();
        fluid_synth_t *synth = m_synth->get();
        // Programs, controllers and bends set before the new position still hold there, and
        // notes held across it sound again, so a resumed song goes on as it was.
        std::array<std::array<quint8, 128>, 16> held{};
        const std::vector<MidiEvent> &events = m_file.events();
        for (; m_next < events.size() && framesAtUs(events[m_next].timeUs) < m_frame; ++m_next) {
            const MidiEvent &event = events[m_next];
            const quint8 kind = event.status & 0xF0;
            if (kind == 0x90 || kind == 0x80)
                held[event.status & 0x0F][event.data1] = kind == 0x90 ? event.data2 : 0;
            else if (kind != 0xA0)
                send(event);
        }
        for (int channel = 0; channel < 16; ++channel) {
            for (int key = 0; key < 128; ++key) {
                if (held[size_t(channel)][size_t(key)])
                    fluid_synth_noteon(synth, channel, key, held[size_t(channel)][size_t(key)]);
            }
        }
        return true;
    }

    qint64 read(float *out, qint64 frames) override
    {
        const qint64 wanted = std::min(frames, m_frameCount - m_frame);
        if (wanted <= 0)
            return 0;
        if (!m_synth) {
            std::fill(out, out + 2 * wanted, 0.0f);
            m_frame += wanted;
            return wanted;
        }
        const std::vector<MidiEvent> &events = m_file.events();
        qint64 done = 0;
        while (done < wanted) {
            while (m_next < events.size() && framesAtUs(events[m_next].timeUs) <= m_frame)
                send(events[m_next++]);
            const qint64 until =
                m_next < events.size() ? framesAtUs(events[m_next].timeUs) : m_frameCount;
            const int chunk = int(std::min(wanted - done, until - m_frame));
            float *at = out + 2 * done;
            fluid_synth_write_float(m_synth->get(), chunk, at, 0, 2, at, 1, 2);
            done += chunk;
            m_frame += chunk;
        }
        return done;
    }

private:
    qint64 framesAtUs(qint64 us) const { return (us * m_rate + 999999) / 1000000; }

    void send(const MidiEvent &event)
    {
        fluid_synth_t *synth = m_synth->get();
        const int channel = event.status & 0x0F;
        switch (event.status & 0xF0) {
        case 0x80:
            fluid_synth_noteoff(synth, channel, event.data1);
            break;
        case 0x90:
            fluid_synth_noteon(synth, channel, event.data1, event.data2);
            break;
        case 0xA0:
            fluid_synth_key_pressure(synth, channel, event.data1, event.data2);
            break;
        case 0xB0:
            fluid_synth_cc(synth, channel, event.data1, event.data2);
            break;
        case 0xC0:
            fluid_synth_program_change(synth, channel, event.data1);
            break;
        case 0xD0:
            fluid_synth_channel_pressure(synth, channel, event.data1);
            break;
        case 0xE0:
            fluid_synth_pitch_bend(synth, channel, event.data1 | event.data2 << 7);
            break;
        case 0xF0: {
            // FluidSynth takes the message without its framing bytes.
            qsizetype size = event.sysex.size() - 1;
            if (size > 0 && quint8(event.sysex.back()) == 0xF7)
                --size;
            if (size > 0)
                fluid_synth_sysex(synth, event.sysex.constData() + 1, int(size), nullptr, nullptr,
                                  nullptr, 0);
            break;
        }
        default:
            break;
        }
    }

    MidiFile m_file;
    int m_rate;
    std::unique_ptr<MidiSynth> m_synth;
    qint64 m_frameCount = 0;
    qint64 m_frame = 0;
    size_t m_next = 0;
};

} // namespace

std::unique_ptr<Decoder> openMidiFile(const QString &hostPath, DecoderUse use, int outputRate)
{
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly)) {
        throw DecodeError(
            QCoreApplication::translate("platform::MediaPlayer", "the file cannot be read (%1)")
                .arg(file.errorString()));
    }
    if (file.size() > maxFileBytes) {
        throw DecodeError(QCoreApplication::translate("platform::MediaPlayer",
                                                      "it is too large for a MIDI file"));
    }
    const QByteArray bytes = file.readAll();
    std::optional<MidiFile> midi;
    try {
        midi = MidiFile::parse(bytes);
    } catch (const MidiFileError &error) {
        throw DecodeError(error.reason());
    }
    std::unique_ptr<MidiSynth> synth;
    if (use == DecoderUse::Playback)
        synth = std::make_unique<MidiSynth>(outputRate);
    auto decoder = std::make_unique<MidiDecoder>(std::move(*midi), outputRate, std::move(synth));
    decoder->seek(0);
    return decoder;
}

} // namespace platform
