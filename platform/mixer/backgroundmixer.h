#pragma once

#include "platform/mixer/mixer.h"

#include <chrono>
#include <functional>
#include <memory>

namespace platform {

/**
 * A mixer whose writes go to another mixer on a thread of their own, so setVolume() returns at
 * once. A write to a sound server is a round trip that takes milliseconds, and one that never
 * comes back when the server hangs; the song's sound must not wait for it, nor the window.
 *
 * Writes keep their order, but one asked for while another is on its way replaces any still
 * waiting: the latest value wins. Until the writes asked for are done, volume() answers the
 * last value asked for; after that, what the mixer reads. close() waits up to `closeDeadline`
 * for the writes still to do, then leaves a hung one to finish alone with its mixer.
 */
class BackgroundMixer : public Mixer
{
public:
    using Factory = std::function<std::unique_ptr<Mixer>()>;

    /** `makeMixer` makes the mixer each open() opens: a new one, as a hung one cannot be reused. */
    explicit BackgroundMixer(Factory makeMixer,
                             std::chrono::milliseconds closeDeadline = std::chrono::seconds(1));
    ~BackgroundMixer() override;

    bool open() override;
    void close() override;
    quint32 volume() const override;
    void setVolume(quint32 value) override;

    /** Waits until the writes asked for are done; false when `deadline` passed first. */
    bool waitForWrites(std::chrono::milliseconds deadline) const;

private:
    struct Session;

    Factory m_makeMixer;
    std::chrono::milliseconds m_closeDeadline;
    std::shared_ptr<Session> m_session;
};

} // namespace platform
