#pragma once

#include "platform/sysinfo/systeminfo.h"

#include <QHash>

namespace platform {

/** System answers for tests: each query returns what the test put in the public members. */
class FakeSystemInfo : public SystemInfo
{
public:
    MemoryStatus memory;
    quint32 versionWord = 0;
    std::optional<VersionRecord> versionRecord;
    int level = 0;
    /** Disks by upper-case drive letter; a letter not listed is a missing drive. */
    QHash<QChar, DiskSpace> disks;
    QHash<QChar, quint32> serials;
    DiskSpace currentDrive;
    QString windowsFolder = QStringLiteral("C:\\WINDOWS");

    /** Sets a registry string value; key and name are matched without regard to case. */
    void setRegistry(const QString &key, const QString &name, const QString &value)
    {
        m_registry.insert(registryName(key, name), value);
    }

    MemoryStatus memoryStatus() const override { return memory; }
    quint32 version() const override { return versionWord; }
    std::optional<VersionRecord> versionEx() const override { return versionRecord; }
    int processorLevel() const override { return level; }
    std::optional<QString> registryString(const QString &key, const QString &name) const override
    {
        const auto found = m_registry.constFind(registryName(key, name));
        return found == m_registry.constEnd() ? std::nullopt : std::optional<QString>(*found);
    }
    DiskSpace diskSpace(QChar drive) const override { return disks.value(drive.toUpper()); }
    std::optional<quint32> volumeSerial(QChar drive) const override
    {
        const auto found = serials.constFind(drive.toUpper());
        return found == serials.constEnd() ? std::nullopt : std::optional<quint32>(*found);
    }
    DiskSpace currentDriveSpace() const override { return currentDrive; }
    QString windowsDirectory() const override { return windowsFolder; }

private:
    static QString registryName(const QString &key, const QString &name)
    {
        return (key + QLatin1Char('\n') + name).toLower();
    }

    QHash<QString, QString> m_registry;
};

} // namespace platform
