#pragma once

#include <QString>
#include <QtGlobal>

namespace platform {

/** What a media player is doing. */
enum class MediaMode { NotOpen, Stopped, Playing };

/**
 * The program's media player: one audio file at a time, opened by its Windows path, played on
 * the sound output. All times are milliseconds.
 *
 * With nothing open, length() and position() are 0, mode() is NotOpen, frames() is 0, and
 * setPosition(), play() and stop() do nothing: they neither throw nor fail.
 *
 * A song that plays to its end stops there by itself: mode() becomes Stopped and position()
 * equals length(). play() from that very end starts the song again from the beginning.
 */
class MediaPlayer
{
public:
    virtual ~MediaPlayer() = default;

    virtual void setFileName(const QString &windowsPath) = 0;
    virtual QString fileName() const = 0;

    /**
     * Closes what was open, then opens fileName() with the device its type asks for (.wav,
     * .mp3, .mid/.midi/.rmi, .ogg, .flac; any other name is recognised by its content).
     * Throws PlatformError naming the file and the reason when it cannot be opened; the
     * player is then left with nothing open.
     */
    virtual void open() = 0;
    virtual void close() = 0;

    /** Plays on from the current position; from the very end, plays from the beginning. */
    virtual void play() = 0;
    /** Stops and keeps the position. */
    virtual void stop() = 0;

    virtual qint64 position() const = 0;
    /** Moves to `ms`, clamped to 0 ... length(), and leaves the player stopped there. */
    virtual void setPosition(qint64 ms) = 0;

    virtual qint64 length() const = 0;
    /** A tenth of the length (integer division). */
    qint64 frames() const { return length() / 10; }

    virtual MediaMode mode() const = 0;
};

} // namespace platform
