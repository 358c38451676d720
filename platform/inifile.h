#pragma once

#include "platform/codepage.h"
#include "platform/inidocument.h"
#include "platform/winpath.h"

#include <QHash>
#include <QString>

#include <optional>

namespace platform {

/**
 * The private-profile functions: keys of INI files named by Windows paths, read and written by
 * the Windows rules. A bare file name ("pelcor.ini") lies in the Windows directory.
 *
 * Every read sees the file as it is on disk now, also after another program changed it. To
 * spare re-parsing a large kit for each of its keys, a parsed file is kept and reused only while
 * the file's identity and change stamps (device, inode, size, modification and change times)
 * are those it was read with. Stamps are coarse: within a short settling time after a change the
 * bytes are read again and compared as well.
 */
class ProfileStore
{
public:
    /** Whether a parsed file is kept between reads; parsing every read is the benchmarks' baseline. */
    enum class Caching { KeepParsedFiles, ParseEveryRead };

    explicit ProfileStore(const WinPath &paths, const CodePage &ansi = CodePage::ansi(),
                          Caching caching = Caching::KeepParsedFiles);

    /** A key's value; nothing when the file, the section or the key is missing or unreadable. */
    std::optional<QString> read(const QString &fileName, QStringView section, QStringView key);

    /**
     * Writes a key, creating the file and the section when missing, replacing the file
     * atomically. A refused write throws PlatformError "Unable to write to <fileName>", with the
     * name as the caller gave it, and leaves the file as it was.
     */
    void write(const QString &fileName, QStringView section, QStringView key, QStringView value);

    /** How many times a file was parsed from its bytes (for tests and benchmarks). */
    int parseCount() const { return m_parseCount; }

    const WinPath &paths() const { return m_paths; }

private:
    struct Stamp
    {
        quint64 device = 0, inode = 0;
        qint64 size = -1, modified = 0, changed = 0; // nanoseconds
        bool operator==(const Stamp &) const = default;
    };
    struct Entry
    {
        Stamp stamp;
        QByteArray bytes;
        IniDocument document;
        bool settled = false;
    };
    enum class Presence { Missing, Present, Unreadable };

    Presence load(const QString &hostPath, const Entry *&entry);
    void remember(const QString &hostPath, const Stamp &stamp, QByteArray bytes, IniDocument document);

    const WinPath &m_paths;
    CodePage m_ansi;
    Caching m_caching;
    QHash<QString, Entry> m_entries;
    int m_parseCount = 0;
};

/**
 * An accessor on one INI file, as the program uses it: create it on a file name, read or write
 * the keys needed, drop it. Reading follows the rules of a Delphi TIniFile.
 */
class IniFile
{
public:
    /** Values longer than this are cut when read. */
    static constexpr qsizetype MaxValueLength = 2047;

    IniFile(ProfileStore &store, QString fileName);

    const QString &fileName() const { return m_fileName; }

    /** The value, cut to 2047 characters; when missing, `fallback` without its trailing blanks. */
    QString readString(QStringView section, QStringView key, const QString &fallback) const;

    /** A decimal, or hexadecimal with a leading 0x, 0X or $; anything else gives `fallback`. */
    int readInteger(QStringView section, QStringView key, int fallback) const;

    void writeString(QStringView section, QStringView key, const QString &value) const;
    void writeInteger(QStringView section, QStringView key, int value) const;

    /** A whole number as a Delphi program reads one from an INI file, or nothing. */
    static std::optional<int> parseInteger(QStringView text);

private:
    ProfileStore &m_store;
    QString m_fileName;
};

} // namespace platform
