#pragma once

#include "platform/richtext/richtextlimits.h"
#include "platform/richtext/rtfdocumentwriter.h"
#include "platform/richtext/rtfkeywords.h"
#include "platform/richtext/rtfpicture.h"
#include "platform/richtext/rtfstate.h"
#include "platform/richtext/rtftextdecoder.h"
#include "platform/richtext/rtftokenizer.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <vector>

namespace platform {

/** One run of the RTF reader over one input: the group stack, the tables and the output. */
class RtfParser
{
public:
    RtfParser(QTextDocument &document, const RichTextLimits &limits);

    /** True when the input was read to its end without reaching a bound. */
    bool run(QByteArrayView bytes);

private:
    enum class Destination { Normal, Skip, FontTable, ColorTable, Picture, Upr };

    struct Group
    {
        Destination destination = Destination::Normal;
        RtfCharState character;
        RtfParaState paragraph;
        int unicodeSkip = 1;
        bool uprChild = false; // a child of \upr: skipped unless it is the \ud one
    };

    struct Font
    {
        QString name;
        int charset = 0;
        int codePage = 0;
    };

    bool openGroup();
    bool closeGroup();
    void controlWord(const RtfToken &token, bool ignorable);
    void normalWord(RtfKeyword keyword, const RtfToken &token);
    void fontTableWord(RtfKeyword keyword, const RtfToken &token);
    void colorTableWord(RtfKeyword keyword, const RtfToken &token);
    void pictureWord(RtfKeyword keyword, const RtfToken &token);
    void controlSymbol(char symbol);
    void text(QByteArrayView bytes);
    void hexByte(unsigned char byte);

    void flushBytes();
    /** Writes decoded text; `wellFormed` text (a surrogate pair) skips the character check. */
    void emitText(QString &text, bool wellFormed = false);
    /** Hands the writer the formats of the current group where they changed. */
    void applyFormats();
    void emitChar(char16_t c);
    void emitCodePoint(int codePoint);
    void endParagraph();
    void finishFont();
    void finishColor();
    void finishPicture();

    Group &top() { return m_groups.back(); }
    const Font *currentFont() const;
    QByteArray codePageOf(const Font *font) const;
    QTextCharFormat charFormat(const RtfCharState &state) const;
    QTextBlockFormat blockFormat(const RtfParaState &state) const;
    QTextBlockFormat cachedBlockFormat(const RtfParaState &state);

    const RichTextLimits &m_limits;
    RtfDocumentWriter m_writer;
    RtfTextDecoder m_decoder;
    std::vector<Group> m_groups;

    QByteArray m_ansiCodePage;
    int m_defaultFont = 0;
    QHash<int, Font> m_fonts;
    QList<QColor> m_colors;

    // the font or colour being defined
    bool m_fontOpen = false;
    int m_fontIndex = 0;
    Font m_font;
    QByteArray m_fontName;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;

    RtfPicture m_picture;
    std::size_t m_pictureDepth = 0;
    qint64 m_pixelBudget = 0;

    QByteArray m_bytes; // literal text not yet decoded
    QString m_scratch;
    int m_unicodeSkipLeft = 0;
    int m_pendingCells = 0;
    bool m_pageBreakPending = false;
    char16_t m_highSurrogate = 0;
    RtfParaState m_lastParagraph; // of the document's group, for a last paragraph without \par
    RtfCharState m_applied;
    bool m_formatApplied = false;
    RtfParaState m_appliedParagraph;
    bool m_appliedPageBreak = false;
    bool m_paragraphApplied = false;
    std::vector<std::pair<RtfCharState, QTextCharFormat>> m_formatCache;
    struct BlockFormatEntry
    {
        RtfParaState state;
        bool pageBreak;
        QTextBlockFormat format;
    };
    std::vector<BlockFormatEntry> m_blockFormatCache;
};

} // namespace platform
