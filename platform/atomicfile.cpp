#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString errnoText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool isWritable(const QByteArray &path, const struct stat &st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.constData(), W_OK) == 0;
}

// The file a path finally names: symbolic links are followed, also to a target not yet there.
QByteArray finalTarget(const QByteArray &path)
{
    QByteArray current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char buffer[4096];
        const ssize_t n = ::readlink(current.constData(), buffer, sizeof buffer - 1);
        if (n <= 0)
            return current;
        QByteArray target(buffer, n);
        if (!target.startsWith('/')) {
            const qsizetype slash = current.lastIndexOf('/');
            target.prepend(slash >= 0 ? current.left(slash + 1) : QByteArray());
        }
        current = target;
    }
    return current;
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

} // namespace

QString writeFileAtomically(const QString &hostPath, const QByteArray &bytes)
{
    const QByteArray target = finalTarget(QFile::encodeName(hostPath));
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? target.left(slash) : (slash == 0 ? QByteArray("/") : QByteArray("."));
    const QByteArray name = target.mid(slash + 1);

    struct stat folderStat;
    if (::stat(folder.constData(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode))
        return QStringLiteral("the folder does not exist");
    if (!isWritable(folder, folderStat))
        return QStringLiteral("the folder is read-only");

    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return QStringLiteral("it is not a file");
    if (exists && !isWritable(target, old))
        return QStringLiteral("the file is read-only");

    QByteArray temporary = folder + "/." + name + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errnoText(errno);

    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.constData());
        return errnoText(error);
    };
    if (!writeAll(fd, bytes))
        return fail(errno);
    const mode_t mode = exists ? (old.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return mode_t(0666 & ~mask);
    }();
    if (::fchmod(fd, mode) != 0)
        return fail(errno);
    if (exists && ::geteuid() == 0 && (old.st_uid != 0 || old.st_gid != 0)) {
        // Root editing a user's kit must not leave it owned by root.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            return fail(errno);
    }
    if (::fsync(fd) != 0)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return errnoText(error);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = errno;
        ::unlink(temporary.constData());
        return errnoText(error);
    }
    // The rename itself must reach the disk too.
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

} // namespace platform
