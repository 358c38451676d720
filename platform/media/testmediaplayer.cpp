#include "platform/media/testmediaplayer.h"

#include "platform/media/decoder.h"

#include <algorithm>

namespace platform {

namespace {

// The rate does not change a file's length in milliseconds; it only has to be a real one.
constexpr int probeRate = 48000;

} // namespace

TestMediaPlayer::TestMediaPlayer(const WinPath &paths) : m_paths(paths) {}

void TestMediaPlayer::setFileName(const QString &windowsPath)
{
    m_calls.append(QStringLiteral("setFileName ") + windowsPath);
    m_fileName = windowsPath;
}

void TestMediaPlayer::open()
{
    m_calls.append(QStringLiteral("open"));
    m_open = false;
    m_playing = false;
    m_position = 0;
    m_fileLength = openMediaFile(m_paths, m_fileName, DecoderUse::Probe, probeRate)->lengthMs();
    m_length = std::max<qint64>(m_forcedLength.value_or(m_fileLength), 0);
    m_open = true;
}

void TestMediaPlayer::close()
{
    m_calls.append(QStringLiteral("close"));
    m_open = false;
    m_playing = false;
    m_position = 0;
}

void TestMediaPlayer::play()
{
    m_calls.append(QStringLiteral("play"));
    if (!m_open || m_playing)
        return;
    if (m_position >= m_length)
        m_position = 0;
    m_playing = true;
}

void TestMediaPlayer::stop()
{
    m_calls.append(QStringLiteral("stop"));
    m_playing = false;
}

void TestMediaPlayer::setPosition(qint64 ms)
{
    m_calls.append(QStringLiteral("setPosition %1").arg(ms));
    if (!m_open)
        return;
    m_playing = false;
    m_position = std::clamp<qint64>(ms, 0, m_length);
}

MediaMode TestMediaPlayer::mode() const
{
    if (!m_open)
        return MediaMode::NotOpen;
    return m_playing ? MediaMode::Playing : MediaMode::Stopped;
}

void TestMediaPlayer::advance(qint64 ms)
{
    if (!m_playing || ms <= 0)
        return;
    m_position = std::min(m_position + ms, m_length);
    if (m_position >= m_length)
        m_playing = false;
}

void TestMediaPlayer::forceLength(std::optional<qint64> ms)
{
    m_forcedLength = ms;
    if (!m_open)
        return;
    m_length = std::max<qint64>(m_forcedLength.value_or(m_fileLength), 0);
    m_position = std::min(m_position, m_length);
}

} // namespace platform
