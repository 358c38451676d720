#pragma once

#include "platform/media/mediaplayer.h"

#include <QStringList>
#include <optional>

namespace platform {

class WinPath;

/**
 * A player for tests: no sound, and a clock the test moves with advance(). It keeps the real
 * player's rules (see MediaPlayer), and open() reads the file with the real decoders, so the
 * length and the open errors are the real ones. `paths` must outlive the player.
 */
class TestMediaPlayer : public MediaPlayer
{
public:
    explicit TestMediaPlayer(const WinPath &paths);

    void setFileName(const QString &windowsPath) override;
    QString fileName() const override { return m_fileName; }
    void open() override;
    void close() override;
    void play() override;
    void stop() override;
    qint64 position() const override { return m_position; }
    void setPosition(qint64 ms) override;
    qint64 length() const override { return m_open ? m_length : 0; }
    MediaMode mode() const override;

    /** Time passes: while playing, the position moves on; at the length it stops there. */
    void advance(qint64 ms);

    /**
     * From now on every open file reports this length instead of its own (also the file open
     * now, whose position is clamped to it); nullopt gives back the files' own lengths.
     */
    void forceLength(std::optional<qint64> ms);

    /**
     * The calls made so far, one entry each: "setFileName C:\x.wav", "open", "close", "play",
     * "stop", "setPosition 1200".
     */
    const QStringList &calls() const { return m_calls; }
    void clearCalls() { m_calls.clear(); }

private:
    const WinPath &m_paths;
    QString m_fileName;
    bool m_open = false;
    bool m_playing = false;
    qint64 m_fileLength = 0;
    qint64 m_length = 0;
    qint64 m_position = 0;
    std::optional<qint64> m_forcedLength;
    QStringList m_calls;
};

} // namespace platform
