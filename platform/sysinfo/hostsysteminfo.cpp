#include "platform/sysinfo/hostparsing.h"
#include "platform/sysinfo/systeminfo.h"
#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <pwd.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

const QString processorKey = QStringLiteral("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
const QString currentVersionKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion");

// Small files of /proc and /etc; /proc files report size 0, so read them to their end.
QByteArray readSmallFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(1 << 20);
}

// The first processor's block of /proc/cpuinfo: on a machine with many cores the rest is long
// and slow for the kernel to produce, and it describes the same processor again.
QByteArray cpuInfoHead()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray head;
    while (head.size() < (1 << 16)) {
        const QByteArray line = file.readLine(1 << 16);
        if (line.isEmpty() || (line.trimmed().isEmpty() && !head.trimmed().isEmpty()))
            break;
        head += line;
    }
    return head;
}

QHash<QString, QString> osRelease()
{
    QByteArray text = readSmallFile(QStringLiteral("/etc/os-release"));
    if (text.isEmpty())
        text = readSmallFile(QStringLiteral("/usr/lib/os-release"));
    return hostinfo::parseOsRelease(text);
}

std::optional<QString> nonEmpty(const QString &text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

std::optional<hostinfo::KernelRelease> kernelRelease()
{
    struct utsname names
    {
    };
    if (uname(&names) != 0)
        return std::nullopt;
    return hostinfo::parseKernelRelease(QByteArray(names.release));
}

std::optional<QString> accountOwner()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    struct passwd entry
    {
    };
    struct passwd *found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return std::nullopt;
    return hostinfo::ownerName(QByteArray(found->pw_gecos ? found->pw_gecos : ""),
                               QByteArray(found->pw_name ? found->pw_name : ""));
}

/** The system queries answered from this Linux host. */
class HostSystemInfo : public SystemInfo
{
public:
    explicit HostSystemInfo(const WinPath &paths) : m_paths(paths) {}

    MemoryStatus memoryStatus() const override
    {
        MemoryStatus status;
        struct sysinfo info
        {
        };
        if (sysinfo(&info) != 0)
            return status;
        const quint64 unit = info.mem_unit ? info.mem_unit : 1;
        status.totalPhys = quint64(info.totalram) * unit;
        // What Windows calls available memory includes the caches it can drop: MemAvailable.
        status.availPhys =
            hostinfo::parseMemAvailable(readSmallFile(QStringLiteral("/proc/meminfo")))
                .value_or((quint64(info.freeram) + quint64(info.bufferram)) * unit);
        status.totalPageFile = quint64(info.totalswap) * unit;
        status.availPageFile = quint64(info.freeswap) * unit;
        return status;
    }

    quint32 version() const override
    {
        const auto kernel = kernelRelease();
        return kernel ? hostinfo::versionWord(*kernel) : 0;
    }

    std::optional<VersionRecord> versionEx() const override
    {
        const auto kernel = kernelRelease();
        if (!kernel)
            return std::nullopt;
        const QHash<QString, QString> release = osRelease();
        VersionRecord record;
        record.major = kernel->major;
        record.minor = kernel->minor;
        record.buildNumber = kernel->patch;
        // The distribution's release stands for the service pack; Windows holds 127 characters.
        record.servicePack =
            release.value(QStringLiteral("VERSION"), release.value(QStringLiteral("VERSION_ID")))
                .left(127);
        record.platformId = 2; // Linux is shown as the NT family
        return record;
    }

    int processorLevel() const override { return cpu().family; }

    std::optional<QString> registryString(const QString &key, const QString &name) const override
    {
        const auto is = [](const QString &a, const QString &b) {
            return a.compare(b, Qt::CaseInsensitive) == 0;
        };
        if (is(key, processorKey)) {
            const hostinfo::CpuDescription processor = cpu();
            if (is(name, QStringLiteral("Identifier")))
                return processor.identifier;
            if (is(name, QStringLiteral("VendorIdentifier")))
                return processor.vendor;
            if (is(name, QStringLiteral("MMXIdentifier")))
                return processor.mmx ? std::optional<QString>(QStringLiteral("MMX")) : std::nullopt;
        } else if (is(key, currentVersionKey)) {
            if (is(name, QStringLiteral("ProductName"))) {
                const QHash<QString, QString> release = osRelease();
                return nonEmpty(release.value(QStringLiteral("PRETTY_NAME"),
                                              release.value(QStringLiteral("NAME"))));
            }
            if (is(name, QStringLiteral("RegisteredOwner")))
                return accountOwner();
            if (is(name, QStringLiteral("ProductId")))
                return hostinfo::productId(readSmallFile(QStringLiteral("/etc/machine-id")));
        }
        return std::nullopt;
    }

    DiskSpace diskSpace(QChar drive) const override
    {
        const auto folder = m_paths.driveFolder(drive);
        return folder ? hostinfo::folderSpace(*folder) : DiskSpace{};
    }

    std::optional<quint32> volumeSerial(QChar drive) const override
    {
        const auto folder = m_paths.driveFolder(drive);
        return folder ? hostinfo::folderSerial(*folder) : std::nullopt;
    }

    DiskSpace currentDriveSpace() const override
    {
        return hostinfo::folderSpace(QDir::currentPath());
    }

    QString windowsDirectory() const override { return WinPath::windowsDirectory(); }

private:
    static hostinfo::CpuDescription cpu() { return hostinfo::parseCpuInfo(cpuInfoHead()); }

    const WinPath &m_paths;
};

} // namespace

std::unique_ptr<SystemInfo> createHostSystemInfo(const WinPath &paths)
{
    return std::make_unique<HostSystemInfo>(paths);
}

} // namespace platform
