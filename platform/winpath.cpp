#include "platform/winpath.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace platform {

namespace {

bool isSeparator(QChar c) { return c == u'\\' || c == u'/'; }

QString withoutTrailingSlash(QString folder)
{
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

bool hostStat(const QString &hostPath, struct stat &st)
{
    return ::stat(QFile::encodeName(hostPath).constData(), &st) == 0;
}

// The entry of `folder` whose name equals `name` without regard to case, if there is one.
std::optional<QString> findCaseless(const QString &folder, const QString &name)
{
    DIR *dir = ::opendir(QFile::encodeName(folder.isEmpty() ? QStringLiteral("/") : folder));
    if (!dir)
        return std::nullopt;
    std::optional<QString> found;
    while (dirent *entry = ::readdir(dir)) {
        const QString candidate = QFile::decodeName(entry->d_name);
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) {
            // Several spellings may exist on a Linux disk; the first in name order is taken,
            // so the choice does not depend on the order the folder lists them.
            if (!found || candidate < *found)
                found = candidate;
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace

WinPath WinPath::fromEnvironment()
{
    WinPath paths;
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    paths.mapDrive(u'C', dataHome + QStringLiteral("/karvel/drive_c"));
    paths.mapDrive(u'Z', QStringLiteral("/"));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QByteArray variable = QByteArray("KARVEL_DRIVE_") + letter;
        if (!qEnvironmentVariableIsSet(variable.constData()))
            continue;
        const QString folder = qEnvironmentVariable(variable.constData());
        if (folder.isEmpty())
            paths.unmapDrive(QChar::fromLatin1(letter));
        else
            paths.mapDrive(QChar::fromLatin1(letter), folder);
    }
    return paths;
}

void WinPath::mapDrive(QChar letter, const QString &hostFolder)
{
    m_drives.insert(letter.toUpper(), withoutTrailingSlash(QDir::cleanPath(QDir(hostFolder).absolutePath())));
}

void WinPath::unmapDrive(QChar letter) { m_drives.remove(letter.toUpper()); }

std::optional<QString> WinPath::driveFolder(QChar letter) const
{
    const auto it = m_drives.constFind(letter.toUpper());
    if (it == m_drives.constEnd())
        return std::nullopt;
    return *it;
}

// The host path with the drive mapped and the components cleaned, before case matching.
QString WinPath::hostAbsolute(const QString &windowsPath) const
{
    QString path = windowsPath.trimmed();
    if (path.isEmpty())
        return {};
    if (path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]))
        return {}; // network shares are not mapped

    QString root;
    QString rest;
    if (path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 128) {
        const auto folder = driveFolder(path[0]);
        if (!folder)
            return {};
        root = *folder;
        rest = path.mid(2);
    } else if (isSeparator(path[0])) {
        // Rooted but without a drive: the drive of the current folder.
        const QString current = currentDirectory();
        const auto folder = current.size() >= 2 ? driveFolder(current[0]) : std::nullopt;
        if (!folder)
            return {};
        root = *folder;
        rest = path;
    } else {
        root = QDir::currentPath();
        rest = path;
    }

    QStringList parts = root == u'/' ? QStringList() : root.split(u'/', Qt::SkipEmptyParts);
    const int rootDepth = parts.size();
    QString component;
    const auto flush = [&] {
        if (component.isEmpty() || component == u'.') {
        } else if (component == QStringLiteral("..")) {
            if (parts.size() > rootDepth)
                parts.removeLast();
        } else {
            parts.append(component);
        }
        component.clear();
    };
    for (QChar c : rest) {
        if (isSeparator(c))
            flush();
        else
            component.append(c);
    }
    flush();
    return u'/' + parts.join(u'/');
}

QString WinPath::toHost(const QString &windowsPath) const
{
    const QString absolute = hostAbsolute(windowsPath);
    if (absolute.isEmpty())
        return {};
    struct stat st;
    if (hostStat(absolute, st))
        return absolute; // the common case: the spelling on disk is the spelling asked for

    const QStringList parts = absolute.split(u'/', Qt::SkipEmptyParts);
    QString resolved;
    bool matching = true;
    for (const QString &part : parts) {
        if (matching) {
            const QString exact = resolved + u'/' + part;
            if (hostStat(exact, st)) {
                resolved = exact;
                continue;
            }
            if (const auto found = findCaseless(resolved, part)) {
                resolved += u'/' + *found;
                continue;
            }
            matching = false;
        }
        resolved += u'/' + part;
    }
    return resolved.isEmpty() ? QStringLiteral("/") : resolved;
}

QString WinPath::toWindows(const QString &hostPath) const
{
    const QString absolute = QDir::cleanPath(QDir(hostPath).absolutePath());
    QChar bestLetter;
    int bestLength = -1;
    for (auto it = m_drives.constBegin(); it != m_drives.constEnd(); ++it) {
        const QString &folder = it.value();
        const bool inside = folder == u'/' || absolute == folder || absolute.startsWith(folder + u'/');
        const int length = folder == u'/' ? 0 : folder.size();
        if (inside && (length > bestLength || (length == bestLength && it.key() < bestLetter))) {
            bestLetter = it.key();
            bestLength = length;
        }
    }
    QString rest;
    if (bestLength < 0) {
        bestLetter = u'Z'; // not reachable through the map; still named the way Z: would name it
        rest = absolute;
    } else {
        rest = absolute.mid(bestLength);
    }
    rest.replace(u'/', u'\\');
    if (!rest.startsWith(u'\\'))
        rest.prepend(u'\\');
    return QString(bestLetter) + u':' + rest;
}

bool WinPath::fileExists(const QString &windowsPath) const
{
    const QString host = toHost(windowsPath);
    struct stat st;
    return !host.isEmpty() && hostStat(host, st) && S_ISREG(st.st_mode);
}

bool WinPath::directoryExists(const QString &windowsPath) const
{
    const QString host = toHost(windowsPath);
    struct stat st;
    return !host.isEmpty() && hostStat(host, st) && S_ISDIR(st.st_mode);
}

QString WinPath::currentDirectory() const { return toWindows(QDir::currentPath()); }

QString WinPath::profilePath(const QString &name)
{
    if (name.contains(u'\\') || name.contains(u'/'))
        return name;
    return windowsDirectory() + u'\\' + name;
}

QString WinPath::fileName(const QString &windowsPath)
{
    qsizetype i = windowsPath.size();
    while (i > 0 && !isSeparator(windowsPath[i - 1]) && !(i == 2 && windowsPath[1] == u':'))
        --i;
    return windowsPath.mid(i);
}

QString WinPath::folder(const QString &windowsPath)
{
    const QString name = fileName(windowsPath);
    QString head = windowsPath.left(windowsPath.size() - name.size());
    if (head.size() > 1 && isSeparator(head.back()) && !(head.size() == 3 && head[1] == u':'))
        head.chop(1);
    return head;
}

} // namespace platform
