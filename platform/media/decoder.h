#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <stdexcept>

namespace platform {

/** Why a file cannot be opened as audio; the player adds the file's name. */
class DecodeError : public std::runtime_error
{
public:
    explicit DecodeError(const QString &reason)
        : std::runtime_error(reason.toStdString()), m_reason(reason)
    {}
    const QString &reason() const { return m_reason; }

private:
    QString m_reason;
};

/**
 * A stream of decoded sound: interleaved float frames read a block at a time, so a song is
 * never held whole in memory. Used from one thread at a time.
 */
class Decoder
{
public:
    virtual ~Decoder() = default;

    virtual int sampleRate() const = 0;
    virtual int channels() const = 0;
    /** The number of frames of the whole song. */
    virtual qint64 frameCount() const = 0;
    /** The song's length; by default the frame count in whole milliseconds. */
    virtual qint64 lengthMs() const { return frameCount() * 1000 / sampleRate(); }

    /** Moves to a frame (0 ... frameCount()); returns false when the stream cannot go there. */
    virtual bool seek(qint64 frame) = 0;
    /**
     * Reads up to `frames` frames into `out`; fewer only at the end of the song or where the
     * data is damaged, after which the stream gives nothing more.
     */
    virtual qint64 read(float *out, qint64 frames) = 0;
};

/** What the decoder is for: a player needs sound, a probe only the length. */
enum class DecoderUse { Playback, Probe };

/**
 * Opens a host file as a decoder chosen by its extension, or by its content when the extension
 * is not a known one. `outputRate` is the rate a synthesised stream (MIDI) renders at.
 * Throws DecodeError with the reason when the file is missing, unreadable, empty, damaged
 * or not sound.
 */
std::unique_ptr<Decoder> openDecoder(const QString &hostPath, DecoderUse use, int outputRate);

class WinPath;

/**
 * Opens the file a Windows path names, as openDecoder() does; throws PlatformError with a text
 * for the user that names the file as given and says why it cannot be opened.
 */
std::unique_ptr<Decoder> openMediaFile(const WinPath &paths, const QString &windowsPath,
                                       DecoderUse use, int outputRate);

/** The frame at which a position in milliseconds starts (rounded up, so it reads back exact). */
inline qint64 frameAtMs(qint64 ms, int rate)
{
    return (ms * rate + 999) / 1000;
}

} // namespace platform
