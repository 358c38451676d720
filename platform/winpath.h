#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace platform {

/**
 * The Windows path space the program speaks: drive letters mapped onto host folders.
 *
 * Both `\` and `/` separate. Names are matched without regard to letter case, as on Windows,
 * so a kit naming `C:\KARVEL\Songs\A.MP3` finds `KARVEL/SONGS/a.mp3` under drive C's folder.
 * A path without a drive is relative to the process's current folder.
 */
class WinPath
{
public:
    /** No drive mapped. */
    WinPath() = default;

    /**
     * The default map: C: is `${XDG_DATA_HOME:-~/.local/share}/karvel/drive_c`, Z: is `/`;
     * `KARVEL_DRIVE_C` ... `KARVEL_DRIVE_Z` map (or, when empty, unmap) any letter.
     */
    static WinPath fromEnvironment();

    void mapDrive(QChar letter, const QString &hostFolder);
    void unmapDrive(QChar letter);
    std::optional<QString> driveFolder(QChar letter) const;

    /**
     * The host path a Windows path names. Each component that exists is found without regard
     * to case; from the first missing one on, the rest is kept as given. Empty when the path
     * names no mapped drive (or a network share).
     */
    QString toHost(const QString &windowsPath) const;

    /** The Windows path of a host path: under the folder of a mapped drive, else under Z:. */
    QString toWindows(const QString &hostPath) const;

    /** True only for an existing regular file; a folder of that name is not a file. */
    bool fileExists(const QString &windowsPath) const;
    bool directoryExists(const QString &windowsPath) const;

    /** The process's current folder as a Windows path. */
    QString currentDirectory() const;

    /** The Windows directory, where the profile functions put a bare file name. */
    static QString windowsDirectory() { return QStringLiteral("C:\\WINDOWS"); }

    /** A name without `\` or `/` lies in the Windows directory; any other name is kept. */
    static QString profilePath(const QString &name);

    /** The name after the last separator ("C:\a\b.qbk" gives "b.qbk"). */
    static QString fileName(const QString &windowsPath);
    /** Everything before the last separator ("C:\a\b.qbk" gives "C:\a"). */
    static QString folder(const QString &windowsPath);

private:
    QString hostAbsolute(const QString &windowsPath) const;

    QHash<QChar, QString> m_drives; // upper-case letter -> host folder without trailing '/'
};

} // namespace platform
