#pragma once

#include "platform/mixer/mixer.h"

#include <QObject>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

namespace platform {

/**
 * A mixer whose writes go to another mixer on a thread of their own, so setVolume() returns at
 * once. A write to a sound server is a round trip that takes milliseconds, and one that never
 * comes back when the server hangs; neither the window nor the song may wait for it.
 *
 * The values asked for in one turn of the event loop go out as one write, the last of them: a
 * handler that sets 1 % and then the song's volume sends only the song's volume, and the server
 * ends as it would have. Writes keep their order, and one asked for while another is on its way
 * replaces any still waiting. Until the writes asked for are done, volume() answers the last
 * value asked for and settled() is false; after that, volume() is what the mixer reads.
lowering() compares the last value asked for with the last one written.
 * close() waits up to `closeDeadline` for the writes still to do, then leaves a hung one to
 * finish alone with its mixer.
 *
 * open(), close(), volume(), setVolume() and waitForWrites() belong to the thread that made
 * the mixer, which runs a Qt event loop; settled() and lowering() may be asked anywhere.
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
    bool lowering() const override;

    /** Whether every value asked for has been written. */
    bool settled() const;

    /** Sends what was asked for and waits until it is written; false when `deadline` passed first. */
    bool waitForWrites(std::chrono::milliseconds deadline);

private:
    struct Counters;
    struct Session;

    /** Hands the last value asked for in this turn of the event loop to the writer. */
    void handOver();

    Factory m_makeMixer;
    std::chrono::milliseconds m_closeDeadline;
    std::shared_ptr<Counters> m_counters; // shared with the writer, read by settled()
    std::shared_ptr<Session> m_session;
    std::unique_ptr<QObject> m_turns; // receives the hand-over at the end of the turn
    bool m_handOverDue = false;
};

} // namespace platform
