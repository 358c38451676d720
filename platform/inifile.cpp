#include "platform/inifile.h"

#include "platform/atomicfile.h"
#include "platform/platformerror.h"

#include <QFile>

#include <ctime>
#include <sys/stat.h>

namespace platform {

namespace {

// Longer than the coarsest change stamps met in practice (FAT keeps 2 seconds).
constexpr qint64 settlingNanoseconds = 2500LL * 1000 * 1000;
constexpr qsizetype maxCachedFiles = 16;

qint64 nanoseconds(const timespec &t) { return qint64(t.tv_sec) * 1000000000LL + t.tv_nsec; }

qint64 nowNanoseconds()
{
    timespec now;
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

} // namespace

ProfileStore::ProfileStore(const WinPath &paths, const CodePage &ansi, Caching caching)
    : m_paths(paths), m_ansi(ansi), m_caching(caching)
{
}

void ProfileStore::remember(const QString &hostPath, const Stamp &stamp, QByteArray bytes, IniDocument document)
{
    if (m_entries.size() >= maxCachedFiles && !m_entries.contains(hostPath))
        m_entries.clear();
    const bool settled = nowNanoseconds() - std::max(stamp.modified, stamp.changed) > settlingNanoseconds;
    m_entries.insert(hostPath, {stamp, std::move(bytes), std::move(document), settled});
}

ProfileStore::Presence ProfileStore::load(const QString &hostPath, const Entry *&entry)
{
    entry = nullptr;
    struct stat st;
    if (hostPath.isEmpty() || ::stat(QFile::encodeName(hostPath).constData(), &st) != 0) {
        m_entries.remove(hostPath);
        return Presence::Missing;
    }
    if (!S_ISREG(st.st_mode)) {
        m_entries.remove(hostPath);
        return Presence::Unreadable;
    }
    const Stamp stamp{quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), nanoseconds(st.st_mtim),
                      nanoseconds(st.st_ctim)};

    if (m_caching == Caching::ParseEveryRead)
        m_entries.remove(hostPath);
    auto cached = m_entries.find(hostPath);
    if (cached != m_entries.end() && cached->stamp == stamp && cached->settled) {
        entry = &*cached;
        return Presence::Present;
    }

    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_entries.remove(hostPath);
        return Presence::Unreadable;
    }
    QByteArray bytes = file.readAll();
    if (cached != m_entries.end() && cached->stamp == stamp && cached->bytes == bytes) {
        cached->settled = nowNanoseconds() - std::max(stamp.modified, stamp.changed) > settlingNanoseconds;
        entry = &*cached;
        return Presence::Present;
    }
    ++m_parseCount;
    IniDocument document = IniDocument::fromBytes(bytes, m_ansi);
    remember(hostPath, stamp, std::move(bytes), std::move(document));
    entry = &*m_entries.constFind(hostPath);
    return Presence::Present;
}

std::optional<QString> ProfileStore::read(const QString &fileName, QStringView section, QStringView key)
{
    const Entry *entry = nullptr;
    if (load(m_paths.toHost(WinPath::profilePath(fileName)), entry) != Presence::Present)
        return std::nullopt;
    return entry->document.value(section, key);
}

void ProfileStore::write(const QString &fileName, QStringView section, QStringView key, QStringView value)
{
    const auto refuse = [&] { return PlatformError(QStringLiteral("Unable to write to %1").arg(fileName)); };
    const QString hostPath = m_paths.toHost(WinPath::profilePath(fileName));
    if (hostPath.isEmpty() || section.trimmed().isEmpty())
        throw refuse();

    const Entry *entry = nullptr;
    const Presence presence = load(hostPath, entry);
    // A file that exists but cannot be read must not be replaced by one holding only this key.
    if (presence == Presence::Unreadable)
        throw refuse();
    IniDocument document = entry ? entry->document : IniDocument(m_ansi);
    document.setValue(section, key, value);
    QByteArray bytes = document.toBytes();
    if (!writeFileAtomically(hostPath, bytes).isEmpty())
        throw refuse();

    struct stat st;
    if (::stat(QFile::encodeName(hostPath).constData(), &st) == 0) {
        remember(hostPath,
                 {quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size), nanoseconds(st.st_mtim),
                  nanoseconds(st.st_ctim)},
                 std::move(bytes), std::move(document));
    } else {
        m_entries.remove(hostPath);
    }
}

IniFile::IniFile(ProfileStore &store, QString fileName) : m_store(store), m_fileName(std::move(fileName)) {}

QString IniFile::readString(QStringView section, QStringView key, const QString &fallback) const
{
    QString value;
    if (const auto stored = m_store.read(m_fileName, section, key)) {
        value = *stored;
    } else {
        value = fallback;
        while (value.endsWith(u' '))
            value.chop(1);
    }
    if (value.size() > MaxValueLength)
        value.truncate(MaxValueLength);
    return value;
}

int IniFile::readInteger(QStringView section, QStringView key, int fallback) const
{
    return parseInteger(readString(section, key, QString())).value_or(fallback);
}

void IniFile::writeString(QStringView section, QStringView key, const QString &value) const
{
    m_store.write(m_fileName, section, key, value);
}

void IniFile::writeInteger(QStringView section, QStringView key, int value) const
{
    m_store.write(m_fileName, section, key, QString::number(value));
}

std::optional<int> IniFile::parseInteger(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    quint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = QChar(text[i]).isDigit() && text[i].unicode() < 128 ? text[i].unicode() - '0'
                          : base == 16 && text[i].toLower() >= u'a' && text[i].toLower() <= u'f'
                              ? text[i].toLower().unicode() - 'a' + 10
                              : -1;
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * quint64(base) + quint64(digit);
        if (magnitude > 0xFFFFFFFFULL)
            return std::nullopt;
    }
    if (base == 16) {
        // Hexadecimal fills all 32 bits: $FFFFFFFF is -1.
        const quint32 bits = quint32(magnitude);
        return int(negative ? quint32(0) - bits : bits);
    }
    if (negative ? magnitude > 2147483648ULL : magnitude > 2147483647ULL)
        return std::nullopt;
    return negative ? int(-qint64(magnitude)) : int(magnitude);
}

} // namespace platform
