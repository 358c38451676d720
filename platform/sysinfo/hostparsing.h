#pragma once

#include "platform/sysinfo/systeminfo.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>

/** How the host system information is read from the host's files: pure, so tests feed text. */
namespace platform::hostinfo {

/** What /proc/cpuinfo tells of the first processor. */
struct CpuDescription
{
    std::optional<QString> identifier; // "x86 Family 6 Model 167 Stepping 1", or the model name
    std::optional<QString> vendor;     // vendor_id
    bool mmx = false;                  // the "mmx" flag
    int family = 0;                    // "cpu family", 0 when absent
};

CpuDescription parseCpuInfo(const QByteArray &text);

/** The variables of an os-release file, unquoted; comments and malformed lines are skipped. */
QHash<QString, QString> parseOsRelease(const QByteArray &text);

/** The leading "major.minor.patch" numbers of a kernel release ("6.1.0-13-amd64"). */
struct KernelRelease
{
    quint32 major = 0;
    quint32 minor = 0;
    quint32 patch = 0;
};

/** Nothing when the release does not start with a number; missing parts are 0. */
std::optional<KernelRelease> parseKernelRelease(const QByteArray &release);

/**
 * The version word of a Windows NT system: major in byte 0, minor in byte 1 (each capped at
 * 255), the build number's low 15 bits in the high word (its top bit clear, as on NT).
 */
quint32 versionWord(const KernelRelease &release);

/** MemAvailable of /proc/meminfo in bytes; nothing when the line is absent. */
std::optional<quint64> parseMemAvailable(const QByteArray &meminfo);

/** The owner's name: the first field of the GECOS text, else the login; nothing when both are
 * empty. */
std::optional<QString> ownerName(const QByteArray &gecos, const QByteArray &login);

/** A product id of this machine that does not give its machine-id away: a hash, in groups of 5. */
std::optional<QString> productId(const QByteArray &machineId);

/** A 64-bit file system id folded to the 32 bits of a volume serial number. */
quint32 foldFileSystemId(quint64 id);

/** statvfs of a host folder: the total bytes and the bytes free to this user; -1 each on failure.
 */
DiskSpace folderSpace(const QString &hostFolder);

/** The serial number of the file system holding a host folder, or nothing on failure. */
std::optional<quint32> folderSerial(const QString &hostFolder);

} // namespace platform::hostinfo
