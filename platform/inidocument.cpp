#include "platform/inidocument.h"

#include <QStringDecoder>

namespace platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }

QByteArrayView trimmed(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    return bytes.sliced(begin, end - begin);
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

// Callers' section and key names lose their spaces, and nothing else, at both ends.
QStringView withoutSpaces(QStringView name)
{
    while (!name.isEmpty() && name.front() == u' ')
        name = name.sliced(1);
    while (!name.isEmpty() && name.back() == u' ')
        name.chop(1);
    return name;
}

QString folded(QStringView name) { return name.toString().toCaseFolded(); }

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

const QByteArray crlf = QByteArrayLiteral("\r\n");

} // namespace

IniDocument::IniDocument(const CodePage &ansi) : m_ansi(ansi) {}

IniDocument IniDocument::fromBytes(const QByteArray &bytes, const CodePage &ansi)
{
    IniDocument document(ansi);
    QByteArray text;
    if (bytes.startsWith("\xFF\xFE")) {
        document.m_encoding = IniEncoding::Utf16Le;
        QStringDecoder utf16(QStringConverter::Utf16LE);
        text = QString(utf16.decode(QByteArrayView(bytes).sliced(2))).toUtf8();
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        document.m_encoding = IniEncoding::Utf8Bom;
        text = bytes.sliced(3);
    } else {
        document.m_encoding = !isAscii(bytes) && CodePage::isValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Ansi;
        text = bytes;
    }

    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype endLength = (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
        document.m_lines.append({text.sliced(start, i - start), text.sliced(i, endLength)});
        i += endLength - 1;
        start = i + 1;
    }
    if (start < n)
        document.m_lines.append({text.sliced(start), QByteArray()});
    document.buildIndex();
    return document;
}

QByteArray IniDocument::toBytes() const
{
    QByteArray text;
    for (const Line &line : m_lines)
        text += line.text + line.end;
    switch (m_encoding) {
    case IniEncoding::Ansi:
    case IniEncoding::Utf8:
        return text;
    case IniEncoding::Utf8Bom:
        return QByteArrayLiteral("\xEF\xBB\xBF") + text;
    case IniEncoding::Utf16Le: {
        const QString unicode = QString::fromUtf8(text);
        return QByteArrayLiteral("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char *>(unicode.utf16()), unicode.size() * 2);
    }
    }
    return text;
}

QString IniDocument::decode(QByteArrayView bytes) const
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    return m_encoding == IniEncoding::Ansi ? m_ansi.decode(bytes) : QString::fromUtf8(bytes);
}

QByteArray IniDocument::encode(QStringView text)
{
    if (m_encoding == IniEncoding::Ansi) {
        if (const auto bytes = m_ansi.encode(text))
            return *bytes;
        convertToUtf8();
    }
    return text.toUtf8();
}

void IniDocument::convertToUtf8()
{
    for (Line &line : m_lines) {
        if (!isAscii(line.text))
            line.text = m_ansi.decode(line.text).toUtf8();
    }
    m_encoding = IniEncoding::Utf8;
}

void IniDocument::buildIndex()
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section *current = nullptr;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArrayView line = trimmed(m_lines[i].text);
        if (line.isEmpty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            QByteArrayView name = line.sliced(1);
            const qsizetype close = name.indexOf(']');
            if (close >= 0)
                name = name.first(close);
            m_sections.append({i, i, {}});
            current = &m_sections.last();
            const QString key = folded(decode(trimmed(name)));
            if (!m_sectionIndex.contains(key))
                m_sectionIndex.insert(key, m_sections.size() - 1);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!current || equals < 0)
            continue;
        const QString name = folded(decode(trimmed(line.first(equals))));
        current->lastKeyLine = i;
        if (!current->keys.contains(name))
            current->keys.insert(name, {i, decode(unquoted(trimmed(line.sliced(equals + 1))))});
    }
}

std::optional<QString> IniDocument::value(QStringView section, QStringView key) const
{
    const auto s = m_sectionIndex.constFind(folded(withoutSpaces(section)));
    if (s == m_sectionIndex.constEnd())
        return std::nullopt;
    const Section &found = m_sections[*s];
    const auto k = found.keys.constFind(folded(withoutSpaces(key)));
    if (k == found.keys.constEnd())
        return std::nullopt;
    return k->value;
}

void IniDocument::insertLine(qsizetype at, QByteArray text)
{
    if (at > 0 && m_lines[at - 1].end.isEmpty())
        m_lines[at - 1].end = crlf;
    m_lines.insert(at, {std::move(text), crlf});
}

void IniDocument::setValue(QStringView sectionName, QStringView keyName, QStringView value)
{
    const QStringView section = withoutSpaces(sectionName);
    const QStringView key = withoutSpaces(keyName);
    QString safeValue = value.toString();
    safeValue.replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(0));

    // Encode first: a value the code page cannot hold converts the lines indexed below.
    const QByteArray valueBytes = encode(safeValue);
    const QByteArray keyBytes = encode(key);
    const QByteArray sectionBytes = encode(section);

    const auto s = m_sectionIndex.constFind(folded(section));
    if (s == m_sectionIndex.constEnd()) {
        insertLine(m_lines.size(), '[' + sectionBytes + ']');
        insertLine(m_lines.size(), keyBytes + '=' + valueBytes);
    } else {
        const Section &found = m_sections[*s];
        const auto k = found.keys.constFind(folded(key));
        if (k != found.keys.constEnd()) {
            // The file's own spelling of the key, and everything before the '=', stay.
            Line &line = m_lines[k->line];
            line.text = line.text.first(line.text.indexOf('=') + 1) + valueBytes;
        } else {
            insertLine(found.lastKeyLine + 1, keyBytes + '=' + valueBytes);
        }
    }
    buildIndex();
}

} // namespace platform
