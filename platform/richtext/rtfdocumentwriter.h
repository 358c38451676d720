#pragma once

#include "platform/richtext/richtextlimits.h"

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QImage;
class QTextDocument;

namespace platform {

/**
 * Appends runs, paragraphs and images to a QTextDocument in big pieces.
 *
 * A paragraph end is held back until more content follows, so the final `\par` that every
 * writer puts before the closing brace adds no empty line at the end. A paragraph opens with
 * the format it will most likely end with, so the usual paragraph needs no second change.
 */
class RtfDocumentWriter
{
public:
    RtfDocumentWriter(QTextDocument &document, const RichTextLimits &limits);

    /** The format of the text appended from now on. */
    void setCharFormat(const QTextCharFormat &format);
    /** The format a paragraph opened from now on starts with. */
    void setNextParagraphFormat(const QTextBlockFormat &format) { m_nextBlockFormat = format; }
    /** The distance of the tab stops a paragraph does not set itself (\deftab), in pixels. */
    void setDefaultTabStop(double pixels);
    void appendText(QStringView text);
    void endParagraph(const QTextBlockFormat &format);
    void appendImage(const QImage &image, QSizeF displaySize);
    /** Gives the last paragraph its format and writes what is pending; call it once, at the end. */
    void finish(const QTextBlockFormat &lastFormat);

    /** True once a bound on the text or the paragraphs was reached. */
    bool full() const { return m_full; }

private:
    void flush();
    void openPendingParagraph();

    QTextDocument &m_document;
    const RichTextLimits &m_limits;
    QTextCursor m_cursor;
    QTextCharFormat m_format;
    QTextBlockFormat m_blockFormat; // of the paragraph being written
    QTextBlockFormat m_nextBlockFormat;
    QString m_pending;
    qsizetype m_length = 0;
    int m_paragraphs = 1;
    int m_images = 0;
    bool m_paragraphPending = false;
    bool m_full = false;
};

} // namespace platform
