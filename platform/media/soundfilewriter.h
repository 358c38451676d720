#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

namespace platform {

/** The kinds of sound file SoundFileWriter makes. */
enum class SoundFileType { Wav16, WavFloat, Mp3, Flac, Ogg };

/**
 * Writes a sound file from interleaved float frames, a block at a time, so long files never sit
 * in memory. Used to make demo songs and test files. Throws PlatformError when the file cannot
 * be created or written.
 */
class SoundFileWriter
{
public:
    SoundFileWriter(const QString &hostPath, SoundFileType type, int sampleRate, int channels);
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter &) = delete;
    SoundFileWriter &operator=(const SoundFileWriter &) = delete;

    void write(const float *frames, qint64 count);
    /** Finishes the file; the destructor does it too, but cannot report a failure. */
    void close();

private:
    struct File;
    std::unique_ptr<File> m_file;
    QString m_path;
};

} // namespace platform
