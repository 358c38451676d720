#include "platform/media/midisynth.h"

#include "platform/media/decoder.h"

#include <QCoreApplication>
#include <QFile>
#include <mutex>
#include <vector>

namespace platform {

namespace {

struct Synth
{
    fluid_settings_t *settings;
    fluid_synth_t *synth;
    int rate;
};

// At most this many idle synthesisers are kept; each holds the SoundFont's samples.
constexpr size_t keptSynths = 2;

std::mutex poolMutex;

// Outlives every player, also one destroyed while the process exits.
std::vector<Synth> &idleSynths()
{
    static auto *synths = new std::vector<Synth>;
    return *synths;
}

QString soundFontPath()
{
    for (const char *path :
         {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
          "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
        if (QFile::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    }
    return {};
}

void silenceLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, nullptr, nullptr);
    });
}

Synth createSynth(int rate)
{
    silenceLibrary();
    const QString path = soundFontPath();
    if (path.isEmpty()) {
        throw DecodeError(QCoreApplication::translate(
            "platform::MediaPlayer",
            "no General MIDI sound font is installed (/usr/share/sounds/sf2/default-GM.sf2)"));
    }
    fluid_settings_t *settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", rate);
    fluid_settings_setnum(settings, "synth.gain", 0.6);
    // The player serialises all calls itself.
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_synth_t *synth = new_fluid_synth(settings);
    if (!synth ||
        fluid_synth_sfload(synth, QFile::encodeName(path).constData(), 1) == FLUID_FAILED) {
        if (synth)
            delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        throw DecodeError(
            QCoreApplication::translate("platform::MediaPlayer",
                                        "the General MIDI sound font %1 cannot be loaded")
                .arg(path));
    }
    return {settings, synth, rate};
}

} // namespace

MidiSynth::MidiSynth(int rate) : m_rate(rate)
{
    {
        const std::lock_guard lock(poolMutex);
        std::vector<Synth> &idle = idleSynths();
        for (auto it = idle.begin(); it != idle.end(); ++it) {
            if (it->rate == rate) {
                m_settings = it->settings;
                m_synth = it->synth;
                idle.erase(it);
                break;
            }
        }
    }
    if (!m_synth) {
        const Synth made = createSynth(rate);
        m_settings = made.settings;
        m_synth = made.synth;
    }
    silence();
}

void MidiSynth::silence()
{
    // A reset alone lets the voices ring out; cut them first, and let the cut take effect.
    fluid_synth_all_sounds_off(m_synth, -1);
    float discard[2 * 64];
    fluid_synth_write_float(m_synth, 64, discard, 0, 2, discard, 1, 2);
    fluid_synth_system_reset(m_synth);
}

MidiSynth::~MidiSynth()
{
    fluid_synth_all_sounds_off(m_synth, -1);
    const std::lock_guard lock(poolMutex);
    std::vector<Synth> &idle = idleSynths();
    if (idle.size() < keptSynths) {
        idle.push_back({m_settings, m_synth, m_rate});
        return;
    }
    delete_fluid_synth(m_synth);
    delete_fluid_settings(m_settings);
}

} // namespace platform
