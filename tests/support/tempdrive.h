#pragma once

#include "platform/winpath.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

/** A temporary folder mapped as drive C, with helpers to put files there by Windows path. */
class TempDrive
{
public:
    TempDrive();

    platform::WinPath &paths() { return m_paths; }
    /** The host folder behind drive C. */
    QString root() const { return m_dir.path(); }
    /** The host path of a Windows path on this drive. */
    QString host(const QString &windowsPath) const;

    /** Writes `bytes` to the file a Windows path names, making its folders. */
    void write(const QString &windowsPath, const QByteArray &bytes);
    QByteArray read(const QString &windowsPath) const;
    void makeFolder(const QString &windowsPath);
    /** Copies a test data file (a path below tests/data) to a Windows path. */
    void copyData(const QString &dataPath, const QString &windowsPath);

private:
    QTemporaryDir m_dir;
    platform::WinPath m_paths;
};
