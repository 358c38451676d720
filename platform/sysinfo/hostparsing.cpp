#include "platform/sysinfo/hostparsing.h"

#include <QCryptographicHash>
#include <QFile>
#include <QList>
#include <algorithm>
#include <limits>
#include <sys/statvfs.h>

namespace platform::hostinfo {

namespace {

// "key<tabs> : value" of /proc/cpuinfo; nothing when the line has no colon.
std::optional<std::pair<QByteArray, QByteArray>> cpuField(const QByteArray &line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return std::nullopt;
    return std::make_pair(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
}

// An os-release value: double or single quotes removed, backslash escapes resolved in double
// quotes.
QString unquote(const QByteArray &raw)
{
    if (raw.size() >= 2 && raw.front() == '\'' && raw.back() == '\'')
        return QString::fromUtf8(raw.mid(1, raw.size() - 2));
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"') {
        QByteArray value;
        const QByteArray inner = raw.mid(1, raw.size() - 2);
        for (qsizetype i = 0; i < inner.size(); ++i) {
            if (inner[i] == '\\' && i + 1 < inner.size())
                ++i;
            value += inner[i];
        }
        return QString::fromUtf8(value);
    }
    return QString::fromUtf8(raw);
}

std::optional<quint32> leadingNumber(const QByteArray &text)
{
    qsizetype digits = 0;
    while (digits < text.size() && digits < 9 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0)
        return std::nullopt;
    return text.left(digits).toUInt();
}

} // namespace

CpuDescription parseCpuInfo(const QByteArray &text)
{
    CpuDescription cpu;
    QHash<QByteArray, QByteArray> fields;
    for (const QByteArray &line : text.split('\n')) {
        if (line.trimmed().isEmpty()) {
            if (!fields.isEmpty())
                break; // the first processor's block is enough
            continue;
        }
        if (const auto field = cpuField(line); field && !fields.contains(field->first))
            fields.insert(field->first, field->second);
    }
    const auto value = [&](const char *key) { return fields.value(QByteArray(key)); };
    if (!value("vendor_id").isEmpty())
        cpu.vendor = QString::fromUtf8(value("vendor_id"));
    if (const auto family = leadingNumber(value("cpu family"))) {
        cpu.family = int(*family);
        cpu.identifier = QStringLiteral("x86 Family %1 Model %2 Stepping %3")
                             .arg(*family)
                             .arg(leadingNumber(value("model")).value_or(0))
                             .arg(leadingNumber(value("stepping")).value_or(0));
    } else {
        for (const char *key : {"model name", "cpu model", "Processor", "cpu"}) {
            if (!value(key).isEmpty()) {
                cpu.identifier = QString::fromUtf8(value(key));
                break;
            }
        }
    }
    const QList<QByteArray> flags = value("flags").split(' ');
    cpu.mmx = flags.contains(QByteArrayLiteral("mmx"));
    return cpu;
}

QHash<QString, QString> parseOsRelease(const QByteArray &text)
{
    QHash<QString, QString> variables;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (line.isEmpty() || line.startsWith('#') || equals <= 0)
            continue;
        variables.insert(QString::fromUtf8(line.left(equals)), unquote(line.mid(equals + 1)));
    }
    return variables;
}

std::optional<KernelRelease> parseKernelRelease(const QByteArray &release)
{
    const QList<QByteArray> parts = release.split('.');
    const auto major = leadingNumber(parts.value(0));
    if (!major)
        return std::nullopt;
    KernelRelease kernel;
    kernel.major = *major;
    kernel.minor = leadingNumber(parts.value(1)).value_or(0);
    kernel.patch = leadingNumber(parts.value(2)).value_or(0);
    return kernel;
}

quint32 versionWord(const KernelRelease &release)
{
    const quint32 major = std::min<quint32>(release.major, 255);
    const quint32 minor = std::min<quint32>(release.minor, 255);
    return major | minor << 8 | (release.patch & 0x7FFF) << 16;
}

std::optional<quint64> parseMemAvailable(const QByteArray &meminfo)
{
    for (const QByteArray &line : meminfo.split('\n')) {
        if (!line.startsWith("MemAvailable:"))
            continue;
        QByteArray number = line.mid(13).trimmed();
        const bool kilobytes = number.endsWith(" kB");
        if (kilobytes)
            number.chop(3);
        bool ok = false;
        const quint64 value = number.trimmed().toULongLong(&ok);
        if (!ok)
            return std::nullopt;
        return kilobytes ? value * 1024 : value;
    }
    return std::nullopt;
}

std::optional<QString> ownerName(const QByteArray &gecos, const QByteArray &login)
{
    const QString fullName = QString::fromUtf8(gecos.split(',').value(0)).trimmed();
    if (!fullName.isEmpty())
        return fullName;
    if (!login.isEmpty())
        return QString::fromUtf8(login);
    return std::nullopt;
}

std::optional<QString> productId(const QByteArray &machineId)
{
    const QByteArray id = machineId.trimmed();
    if (id.isEmpty())
        return std::nullopt;
    const QByteArray hex =
        QCryptographicHash::hash("karvel product id\n" + id, QCryptographicHash::Sha256)
            .toHex()
            .toUpper()
            .left(20);
    return QString::fromLatin1(hex.mid(0, 5) + '-' + hex.mid(5, 5) + '-' + hex.mid(10, 5) + '-' +
                               hex.mid(15, 5));
}

quint32 foldFileSystemId(quint64 id)
{
    return quint32(id) ^ quint32(id >> 32);
}

DiskSpace folderSpace(const QString &hostFolder)
{
    struct statvfs info
    {
    };
    if (hostFolder.isEmpty() || statvfs(QFile::encodeName(hostFolder).constData(), &info) != 0)
        return {};
    // Sizes beyond what a signed 64-bit count holds cannot occur on a real disk; cap them anyway.
    const auto bytes = [&](quint64 blocks) {
        const quint64 unit = info.f_frsize ? info.f_frsize : info.f_bsize;
        const quint64 limit = quint64(std::numeric_limits<qint64>::max());
        return unit && blocks > limit / unit ? qint64(limit) : qint64(blocks * unit);
    };
    return DiskSpace{bytes(info.f_blocks), bytes(info.f_bavail)};
}

std::optional<quint32> folderSerial(const QString &hostFolder)
{
    struct statvfs info
    {
    };
    if (hostFolder.isEmpty() || statvfs(QFile::encodeName(hostFolder).constData(), &info) != 0)
        return std::nullopt;
    return foldFileSystemId(quint64(info.f_fsid));
}

} // namespace platform::hostinfo
