#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/**
 * Replaces a file's contents so that a crash or power cut leaves the old or the new file, never
 * a broken one: the bytes go to a temporary file in the same folder, are flushed to disk, and the
 * temporary file is renamed over the old one, with the old file's permissions. A symbolic link is
 * followed, so the link stays and its target is replaced.
 *
 * Returns an empty string on success, else the reason (the file is then as it was). A file or
 * folder without any write permission bit is refused even for root, as Windows refuses a
 * read-only file.
 */
QString writeFileAtomically(const QString &hostPath, const QByteArray &bytes);

} // namespace platform
