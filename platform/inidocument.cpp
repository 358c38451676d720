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

} // namespace

IniDocument::IniDocument(const CodePage &ansi) : m_ansi(ansi) {}

IniDocument IniDocument::fromBytes(const QByteArray &bytes, const CodePage &ansi)
{
    IniDocument document(ansi);
    if (bytes.startsWith("\xFF\xFE")) {
        document.m_encoding = IniEncoding::Utf16Le;
        QStringDecoder utf16(QStringConverter::Utf16LE);
        document.m_text = QString(utf16.decode(QByteArrayView(bytes).sliced(2))).toUtf8();
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        document.m_encoding = IniEncoding::Utf8Bom;
        document.m_text = bytes.sliced(3);
    } else {
        document.m_encoding = !isAscii(bytes) && CodePage::isValidUtf8(bytes) ? IniEncoding::Utf8 : IniEncoding::Ansi;
        document.m_text = bytes;
    }
    document.index();
    return document;
}

QByteArray IniDocument::toBytes() const
{
    switch (m_encoding) {
    case IniEncoding::Ansi:
    case IniEncoding::Utf8:
        break;
    case IniEncoding::Utf8Bom:
        return QByteArrayLiteral("\xEF\xBB\xBF") + m_text;
    case IniEncoding::Utf16Le: {
        const QString unicode = QString::fromUtf8(m_text);
        return QByteArrayLiteral("\xFF\xFE") +
               QByteArray(reinterpret_cast<const char *>(unicode.utf16()), unicode.size() * 2);
    }
    }
    return m_text;
}

QString IniDocument::decode(QByteArrayView bytes) const
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    return m_encoding == IniEncoding::Ansi ? m_ansi.decode(bytes) : QString::fromUtf8(bytes);
}

QString IniDocument::foldedName(QByteArrayView bytes) const
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes).toLower();
    return decode(bytes).toCaseFolded();
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
    m_text = m_ansi.decode(m_text).toUtf8();
    m_encoding = IniEncoding::Utf8;
    index();
}

void IniDocument::index()
{
    m_lines.clear();
    m_sections.clear();
    m_sectionIndex.clear();

    const qsizetype n = m_text.size();
    const char *text = m_text.constData();
    qsizetype start = 0;
    while (start < n) {
        qsizetype end = start;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        const qsizetype endLength = end >= n ? 0 : (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ? 2 : 1;
        m_lines.append({start, end - start, endLength});
        start = end + endLength;
    }

    Section *current = nullptr;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QByteArrayView line = trimmed(lineText(m_lines[i]));
        if (line.isEmpty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            QByteArrayView name = line.sliced(1);
            const qsizetype close = name.indexOf(']');
            if (close >= 0)
                name = name.first(close);
            m_sections.append(Section{i, {}});
            current = &m_sections.last();
            QString key = foldedName(trimmed(name));
            if (!m_sectionIndex.contains(key))
                m_sectionIndex.insert(std::move(key), m_sections.size() - 1);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!current || equals < 0)
            continue;
        current->lastKeyLine = i;
        const QByteArrayView value = unquoted(trimmed(line.sliced(equals + 1)));
        QString name = foldedName(trimmed(line.first(equals)));
        if (!current->keys.contains(name))
            current->keys.insert(std::move(name), Key{i, value.data() - text, value.size()});
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
    return decode(QByteArrayView(m_text).sliced(k->valueBegin, k->valueLength));
}

void IniDocument::insertLineAfter(qsizetype line, const QByteArray &text)
{
    if (line < 0) {
        m_text.prepend(text + "\r\n");
        return;
    }
    const Line &after = m_lines[line];
    const qsizetype at = after.begin + after.length + after.endLength;
    m_text.insert(at, (after.endLength == 0 ? QByteArrayLiteral("\r\n") : QByteArray()) + text + "\r\n");
}

void IniDocument::setValue(QStringView sectionName, QStringView keyName, QStringView value)
{
    const QStringView section = withoutSpaces(sectionName);
    const QStringView key = withoutSpaces(keyName);
    QString safeValue = value.toString();
    safeValue.replace(u'\r', u' ').replace(u'\n', u' ').remove(QChar(0));

    // Encode first: a value the code page cannot hold converts the text, and the index with it.
    const QByteArray valueBytes = encode(safeValue);
    const QByteArray keyBytes = encode(key);
    const QByteArray sectionBytes = encode(section);

    const auto s = m_sectionIndex.constFind(folded(section));
    if (s == m_sectionIndex.constEnd()) {
        insertLineAfter(m_lines.size() - 1, '[' + sectionBytes + "]\r\n" + keyBytes + '=' + valueBytes);
    } else {
        const Section &found = m_sections[*s];
        const auto k = found.keys.constFind(folded(key));
        if (k != found.keys.constEnd()) {
            // The file's own spelling of the key, and everything before the '=', stay.
            const Line &line = m_lines[k->line];
            const qsizetype valueStart = line.begin + lineText(line).indexOf('=') + 1;
            m_text.replace(valueStart, line.begin + line.length - valueStart, valueBytes);
        } else {
            insertLineAfter(found.lastKeyLine, keyBytes + '=' + valueBytes);
        }
    }
    index();
}

} // namespace platform
