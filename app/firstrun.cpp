#include "app/firstrun.h"

#include "platform/winpath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Installed files may be read-only; the user's copy is theirs to edit.
constexpr QFile::Permissions userFile = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                        QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

bool copyTree(const QString &from, const QString &to)
{
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        // A link could lead out of the demo; the demo drive holds none.
        if (entry.isSymLink())
            continue;
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir()) {
            if (!QDir().mkdir(target) || !copyTree(entry.filePath(), target))
                return false;
        } else if (entry.isFile()) {
            if (!QFile::copy(entry.filePath(), target) || !QFile::setPermissions(target, userFile))
                return false;
        }
    }
    return true;
}

} // namespace

QString installedDemoDrive()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/karvel/demo/drive_c"));
}

bool copyDemoDriveOnFirstRun(const platform::WinPath &paths, const QString &demoFolder)
{
    const std::optional<QString> drive = paths.driveFolder(u'C');
    if (!drive || drive->isEmpty())
        return false;
    const QFileInfo target(*drive);
    // exists() follows links; a dangling link is still something we must not replace.
    if (target.exists() || target.isSymLink() || !QFileInfo(demoFolder).isDir())
        return false;

    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    QTemporaryDir staging(parent + QStringLiteral("/.") + target.fileName() +
                          QStringLiteral("-XXXXXX"));
    if (!staging.isValid() || !copyTree(demoFolder, staging.path()))
        return false;
    // Qt renames without replacing, so a drive C made meanwhile by another start stays as it is.
    return QDir().rename(staging.path(), target.absoluteFilePath());
}
