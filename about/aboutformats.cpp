#include "about/aboutformats.h"

namespace aboutformats {

namespace {

QString majorMinor(const char *name, quint32 major, quint32 minor)
{
    return QStringLiteral("%1 %2.%3")
        .arg(QLatin1String(name))
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'));
}

} // namespace

QString memory(quint64 bytes)
{
    return QString::number(bytes >> 10) + QStringLiteral(" K");
}

QString windowsVersion(quint32 versionWord)
{
    return majorMinor("Windows", versionWord & 0xFF, versionWord >> 8 & 0xFF);
}

QString dosVersion(quint32 versionWord)
{
    return majorMinor("DOS", versionWord >> 24, versionWord >> 16 & 0xFF);
}

QString processorName(int level)
{
    switch (level) {
    case 3:
        return QStringLiteral("Intel 80386");
    case 4:
        return QStringLiteral("Intel 80486");
    case 5:
        return QStringLiteral("Intel Pentium");
    case 6:
        return QStringLiteral("Intel Pentium III");
    default:
        return QString();
    }
}

QString subVersion(const platform::VersionRecord &record)
{
    // The record's fields are printed as signed numbers, as the version line always was.
    return QStringLiteral("%1.%2 (%3.%4)")
        .arg(qint32(record.major))
        .arg(qint32(record.minor))
        .arg(record.buildNumber & 0xFFFF)
        .arg(record.servicePack);
}

QString platformName(quint32 platformId)
{
    switch (platformId) {
    case 0:
        return QStringLiteral("Windows 3.1");
    case 1:
        return QStringLiteral("Windows 95");
    case 2:
        return QStringLiteral("Windows NT");
    default:
        return QString();
    }
}

QString megabytes(qint64 bytes)
{
    return QString::number(bytes / 1000000) + QStringLiteral(" Mb");
}

QString serialNumber(quint32 serial)
{
    return QString::number(serial);
}

} // namespace aboutformats
