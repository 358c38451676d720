#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/**
 * The code pages behind Windows font character sets (`\fcharset` in RTF, `lfCharSet` in a
 * metafile's font), as ICU names for QStringDecoder.
 */
class WinCharset
{
public:
    /** The character set of the Symbol and Wingdings fonts: bytes are glyph numbers. */
    static constexpr int symbol = 2;

    /**
     * The ICU name for a character set. ANSI (0) and DEFAULT (1) give `ansiCodePage`, since
     * the texts we read come from Russian Windows where the ANSI code page is Windows-1251.
     * An unknown set gives `ansiCodePage` too.
     */
    static QByteArray codePageName(int charset, const QByteArray &ansiCodePage);

    /** The ICU name for a Windows code page number (`\ansicpg1251`), empty when unknown. */
    static QByteArray codePageName(int codePage);

    /** The character a byte stands for in a symbol font named `fontName`. */
    static QChar symbolChar(unsigned char byte, const QString &fontName);
};

} // namespace platform
