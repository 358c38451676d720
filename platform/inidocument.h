#pragma once

#include "platform/codepage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace platform {

/** How an INI file's text is stored on disk; a file is written back as it came. */
enum class IniEncoding { Ansi, Utf8, Utf8Bom, Utf16Le };

/**
 * The lines of one INI file, read by the rules of the Windows profile functions and edited as
 * they edit a file: a written key changes its own line only, every other line keeps its bytes.
 *
 * Reading: a line ends at CR, LF or CRLF; indentation is ignored; a line starting with `[` names
 * a section up to the first `]`; `;` starts a comment line; a key is the text before the first
 * `=`, its value the rest, both trimmed, and one outer pair of matching quotes is removed from the
 * value. Names match without regard to case; the first section of a name and the first copy of a
 * key win; lines before the first section are unreachable.
 */
class IniDocument
{
public:
    /** An empty file, written in the ANSI code page. */
    explicit IniDocument(const CodePage &ansi);

    /**
     * Reads a file's bytes: UTF-16LE with its byte order mark, UTF-8 with a byte order mark or
     * when the bytes are well-formed UTF-8 with some non-ASCII text, else the ANSI code page.
     */
    static IniDocument fromBytes(const QByteArray &bytes, const CodePage &ansi);
    QByteArray toBytes() const;

    IniEncoding encoding() const { return m_encoding; }

    /** A key's value, or nothing when the section or the key is missing. */
    std::optional<QString> value(QStringView section, QStringView key) const;

    /**
     * Writes a key: an existing key's line is rewritten, a new key goes after the last key of its
     * section, a new section is appended. New lines end in CRLF. A value that the ANSI code page
     * cannot hold turns the whole file into UTF-8, so no character is lost. Line breaks in a
     * value would break the file; they are written as blanks.
     */
    void setValue(QStringView section, QStringView key, QStringView value);

private:
    // The file's text is kept whole; lines, sections and keys are spans of it.
    struct Line
    {
        qsizetype begin, length, endLength; // endLength: 2 for CRLF, 1 for CR or LF, 0 at the end
    };
    struct Key
    {
        qsizetype line;
        qsizetype valueBegin, valueLength; // trimmed and unquoted, decoded when read
    };
    struct Section
    {
        qsizetype lastKeyLine; // the header line when the section has no key
        QHash<QString, Key> keys; // by case-folded name; the first copy of a name only
    };

    void index();
    QString decode(QByteArrayView bytes) const;
    QString foldedName(QByteArrayView bytes) const;
    QByteArray encode(QStringView text);
    void convertToUtf8();
    QByteArrayView lineText(const Line &line) const { return QByteArrayView(m_text).sliced(line.begin, line.length); }
    void insertLineAfter(qsizetype line, const QByteArray &text);

    CodePage m_ansi;
    IniEncoding m_encoding = IniEncoding::Ansi;
    QByteArray m_text; // ANSI or UTF-8 bytes, as m_encoding says, without a byte order mark
    QList<Line> m_lines;
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // case-folded name -> first section of that name
};

} // namespace platform
