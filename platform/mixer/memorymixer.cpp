#include "platform/mixer/memorymixer.h"

#include <algorithm>

namespace platform {

MemoryMixer::MemoryMixer(Presence presence, quint32 current)
    : m_presence(presence), m_current(std::min(current, MaxVolume))
{}

bool MemoryMixer::open()
{
    ++m_opens;
    m_open = m_presence == Presence::Present;
    return m_open;
}

void MemoryMixer::close()
{
    ++m_closes;
    m_open = false;
}

quint32 MemoryMixer::volume() const
{
    return m_open ? m_current : 0;
}

void MemoryMixer::setVolume(quint32 value)
{
    if (!m_open) {
        return;
    }
    m_current = std::min(value, MaxVolume);
    m_writes.append(m_current);
}

void MemoryMixer::setCurrent(quint32 value)
{
    m_current = std::min(value, MaxVolume);
}

} // namespace platform
