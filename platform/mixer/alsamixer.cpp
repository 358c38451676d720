#include "platform/mixer/backgroundmixer.h"
#include "platform/mixer/mixer.h"
#include "platform/mixer/mixerscale.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace platform {

namespace {

constexpr const char *CardName = "default";
constexpr const char *ElementName = "Master";

struct MixerCloser
{
    void operator()(snd_mixer_t *mixer) const { snd_mixer_close(mixer); }
};
using MixerHandle = std::unique_ptr<snd_mixer_t, MixerCloser>;

// A local sound server answers in milliseconds; one that accepts connections but never answers
// (hung or stopped) would keep libpulse waiting 30 s.
constexpr std::chrono::seconds OpenDeadline{3};

void quietError(const char *, int, const char *, int, const char *, ...) {}

/** Opens the simple mixer of the `default` card, or gives nothing. */
MixerHandle loadMixer()
{
    snd_mixer_t *raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0) {
        return {};
    }
    MixerHandle mixer(raw);
    // snd_mixer_attach opens the card's controls non-blocking, so taking events never waits.
    if (snd_mixer_attach(mixer.get(), CardName) < 0 ||
        snd_mixer_selem_register(mixer.get(), nullptr, nullptr) < 0 ||
        snd_mixer_load(mixer.get()) < 0) {
        return {};
    }
    return mixer;
}

/**
 * loadMixer() on a thread of its own, waited for until the deadline: nothing when it took longer.
 * A load that outlives the deadline is left to finish alone and closes what it opened.
 */
std::optional<MixerHandle> loadMixerWithin(std::chrono::milliseconds deadline)
{
    struct Attempt
    {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        bool abandoned = false;
        MixerHandle mixer;
    };
    auto attempt = std::make_shared<Attempt>();
    try {
        std::thread([attempt] {
            MixerHandle mixer = loadMixer();
            std::lock_guard lock(attempt->mutex);
            attempt->done = true;
            if (!attempt->abandoned) {
                attempt->mixer = std::move(mixer);
            }
            attempt->finished.notify_one();
        }).detach();
    } catch (const std::system_error &) {
        // No thread to spare: load here, without the deadline, rather than give up the volume.
        return loadMixer();
    }

    std::unique_lock lock(attempt->mutex);
    if (!attempt->finished.wait_for(lock, deadline, [&] { return attempt->done; })) {
        attempt->abandoned = true;
        return std::nullopt;
    }
    return std::move(attempt->mixer);
}

/** The speaker volume on ALSA's simple mixer: card `default`, element `Master`. */
class AlsaMixer : public Mixer
{
public:
    ~AlsaMixer() override { close(); }

    bool open() override;
    void close() override;
    quint32 volume() const override;
    void setVolume(quint32 value) override;

private:
    static int elementChanged(snd_mixer_elem_t *element, unsigned int mask);
    bool findElement() const;
    void takeEvents() const;

    MixerHandle m_mixer;
    // Found again when events replace the element (a card or server that comes back).
    mutable snd_mixer_elem_t *m_element = nullptr;
    mutable long m_min = 0;
    mutable long m_max = 0;
};

bool AlsaMixer::open()
{
    close();
    // Without a card or server ALSA would print its complaints; a missing mixer is no error here.
    // A load left running past the deadline keeps the quiet handler, as it may still complain.
    snd_lib_error_set_handler(&quietError);
    std::optional<MixerHandle> loaded = loadMixerWithin(OpenDeadline);
    if (!loaded) {
        return false;
    }
    snd_lib_error_set_handler(nullptr);
    m_mixer = std::move(*loaded);
    if (!m_mixer || !findElement()) {
        close();
        return false;
    }
    return true;
}

void AlsaMixer::close()
{
    m_element = nullptr;
    m_mixer.reset();
}

bool AlsaMixer::findElement() const
{
    m_element = nullptr;
    snd_mixer_selem_id_t *id = nullptr;
    snd_mixer_selem_id_alloca(&id);
    snd_mixer_selem_id_set_name(id, ElementName);
    snd_mixer_selem_id_set_index(id, 0);
    snd_mixer_elem_t *element = snd_mixer_find_selem(m_mixer.get(), id);
    if (element == nullptr || !snd_mixer_selem_has_playback_volume(element)) {
        return false;
    }
    long min = 0;
    long max = 0;
    if (snd_mixer_selem_get_playback_volume_range(element, &min, &max) < 0 || max <= min) {
        return false;
    }
    m_min = min;
    m_max = max;
    m_element = element;
    snd_mixer_elem_set_callback(element, &AlsaMixer::elementChanged);
    snd_mixer_elem_set_callback_private(element, const_cast<AlsaMixer *>(this));
    return true;
}

int AlsaMixer::elementChanged(snd_mixer_elem_t *element, unsigned int mask)
{
    auto *self = static_cast<AlsaMixer *>(snd_mixer_elem_get_callback_private(element));
    if (mask == SND_CTL_EVENT_MASK_REMOVE && self->m_element == element) {
        self->m_element = nullptr;
    }
    return 0;
}

void AlsaMixer::takeEvents() const
{
    if (!m_mixer) {
        return;
    }
    // Changes made elsewhere (the desktop's volume) reach the element's cached values only here.
    snd_mixer_handle_events(m_mixer.get());
    if (m_element == nullptr) {
        findElement();
    }
}

quint32 AlsaMixer::volume() const
{
    takeEvents();
    if (m_element == nullptr) {
        return 0;
    }
    bool found = false;
    long loudest = m_min;
    for (int channel = 0; channel <= SND_MIXER_SCHN_LAST; ++channel) {
        const auto id = snd_mixer_selem_channel_id_t(channel);
        long value = 0;
        if (snd_mixer_selem_has_playback_channel(m_element, id) &&
            snd_mixer_selem_get_playback_volume(m_element, id, &value) == 0) {
            loudest = found ? std::max(loudest, value) : value;
            found = true;
        }
    }
    return found ? toMixerScale(loudest, m_min, m_max) : 0;
}

void AlsaMixer::setVolume(quint32 value)
{
    // Stale cached values could make the simple mixer skip a write it thinks changes nothing.
    takeEvents();
    if (m_element == nullptr) {
        return;
    }
    snd_mixer_selem_set_playback_volume_all(
        m_element, fromMixerScale(std::min(value, MaxVolume), m_min, m_max));
}

} // namespace

std::unique_ptr<Mixer> createSystemMixer()
{
    return std::make_unique<BackgroundMixer>([] { return std::make_unique<AlsaMixer>(); });
}

} // namespace platform
