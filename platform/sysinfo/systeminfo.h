#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

namespace platform {

class WinPath;

/** The four byte counts of a memory status query. */
struct MemoryStatus
{
    quint64 totalPhys = 0;
    quint64 availPhys = 0;
    quint64 totalPageFile = 0;
    quint64 availPageFile = 0;
};

/** The extended version record: what a Windows version query fills in. */
struct VersionRecord
{
    quint32 major = 0;
    quint32 minor = 0;
    quint32 buildNumber = 0;
    QString servicePack;
    quint32 platformId = 0;
};

/** A drive's total and free bytes; -1 each when the drive is missing or not ready. */
struct DiskSpace
{
    qint64 totalBytes = -1;
    qint64 freeBytes = -1;
};

/**
 * The Windows system queries the About box and the options panel make, answered by the host.
 * Nothing here fails with an exception: a value that cannot be had is absent (or -1 for disks).
 */
class SystemInfo
{
public:
    virtual ~SystemInfo() = default;

    virtual MemoryStatus memoryStatus() const = 0;

    /**
     * The version word: byte 0 the major and byte 1 the minor version, the high word the build
     * number (which the About box shows as the "DOS" version).
     */
    virtual quint32 version() const = 0;

    /** The extended version record, or nothing when the query fails. */
    virtual std::optional<VersionRecord> versionEx() const = 0;

    /** The processor level (the x86 family). */
    virtual int processorLevel() const = 0;

    /**
     * A string value below HKEY_LOCAL_MACHINE: `key` is the path of its key
     * ("HARDWARE\DESCRIPTION\System\CentralProcessor\0"), matched without regard to case as
     * `name` is. Nothing when the key or the value is missing.
     */
    virtual std::optional<QString> registryString(const QString &key,
                                                  const QString &name) const = 0;

    /** The total and free bytes of a drive ('C' for C:). */
    virtual DiskSpace diskSpace(QChar drive) const = 0;

    /** The 32-bit serial number of the volume a drive is on, or nothing when it cannot be read. */
    virtual std::optional<quint32> volumeSerial(QChar drive) const = 0;

    /** The total and free bytes of the drive holding the process's current folder. */
    virtual DiskSpace currentDriveSpace() const = 0;

    /** The Windows directory, as a Windows path. */
    virtual QString windowsDirectory() const = 0;
};

/**
 * The answers of this Linux host: sysinfo(2) and /proc/meminfo for memory, uname(2) and
 * /etc/os-release for the version, /proc/cpuinfo for the processor, the user's account for the
 * owner, statvfs(3) on the folders of the drive map for disks.
 */
std::unique_ptr<SystemInfo> createHostSystemInfo(const WinPath &paths);

} // namespace platform
