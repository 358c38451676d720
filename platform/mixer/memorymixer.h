#pragma once

#include "platform/mixer/mixer.h"

#include <QList>

namespace platform {

/**
 * A mixer in memory, for tests: present or absent, with a current value that stands for the
 * desktop volume the user set before the program started. Records every write that reached it
 * and counts opens and closes.
 */
class MemoryMixer : public Mixer
{
public:
    enum class Presence { Present, Absent };

    explicit MemoryMixer(Presence presence = Presence::Present, quint32 current = 0);

    bool open() override;
    void close() override;
    quint32 volume() const override;
    void setVolume(quint32 value) override;

    bool isOpen() const { return m_open; }
    /** The value the control holds, whether open or not (as the desktop would show it). */
    quint32 current() const { return m_current; }
    /** Changes the value from outside, as the user would on the desktop; capped at 65535. */
    void setCurrent(quint32 value);

    /** Every value written while open, in order, after capping. */
    const QList<quint32> &writes() const { return m_writes; }
    int openCount() const { return m_opens; }
    int closeCount() const { return m_closes; }

private:
    Presence m_presence;
    quint32 m_current;
    bool m_open = false;
    QList<quint32> m_writes;
    int m_opens = 0;
    int m_closes = 0;
};

} // namespace platform
