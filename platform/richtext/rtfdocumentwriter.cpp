#include "platform/richtext/rtfdocumentwriter.h"

#include <QImage>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QTextOption>
#include <QUrl>

namespace platform {

RtfDocumentWriter::RtfDocumentWriter(QTextDocument &document, const RichTextLimits &limits)
    : m_document(document), m_limits(limits), m_cursor(&document)
{
    m_cursor.movePosition(QTextCursor::End);
    // One edit block: the document tells its layout and views of the change once, at the end.
    m_cursor.beginEditBlock();
}

void RtfDocumentWriter::setCharFormat(const QTextCharFormat &format)
{
    flush();
    m_format = format;
    if (m_length == 0)
        m_cursor.setBlockCharFormat(format);
}

void RtfDocumentWriter::setDefaultTabStop(double pixels)
{
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(pixels);
    m_document.setDefaultTextOption(option);
}

void RtfDocumentWriter::appendText(QStringView text)
{
    if (m_full || text.isEmpty())
        return;
    openPendingParagraph();
    if (m_full)
        return;
    if (m_length + text.size() > m_limits.maxTextLength) {
        text = text.first(std::max<qsizetype>(0, m_limits.maxTextLength - m_length));
        m_full = true;
    }
    m_pending += text;
    m_length += text.size();
}

void RtfDocumentWriter::endParagraph(const QTextBlockFormat &format)
{
    if (m_full)
        return;
    openPendingParagraph();
    if (m_full)
        return;
    flush();
    if (format != m_blockFormat) {
        m_cursor.setBlockFormat(format);
        m_blockFormat = format;
    }
    m_paragraphPending = true;
}

void RtfDocumentWriter::appendImage(const QImage &image, QSizeF displaySize)
{
    if (m_full || image.isNull())
        return;
    openPendingParagraph();
    if (m_full || m_length + 1 > m_limits.maxTextLength) {
        m_full = true;
        return;
    }
    flush();
    const QString name = QStringLiteral("rtf-picture:%1").arg(++m_images);
    m_document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.merge(m_format);
    format.setName(name);
    format.setWidth(displaySize.width());
    format.setHeight(displaySize.height());
    m_cursor.insertImage(format);
    ++m_length;
}

void RtfDocumentWriter::finish(const QTextBlockFormat &lastFormat)
{
    flush();
    if (!m_paragraphPending && lastFormat != m_blockFormat)
        m_cursor.setBlockFormat(lastFormat);
    m_cursor.endEditBlock();
}

void RtfDocumentWriter::flush()
{
    if (m_pending.isEmpty())
        return;
    m_cursor.insertText(m_pending, m_format);
    m_pending.clear();
}

void RtfDocumentWriter::openPendingParagraph()
{
    if (!m_paragraphPending)
        return;
    if (m_paragraphs >= m_limits.maxParagraphs || m_length + 1 > m_limits.maxTextLength) {
        m_full = true;
        return;
    }
    m_paragraphPending = false;
    m_cursor.insertBlock(m_nextBlockFormat, m_format);
    m_blockFormat = m_nextBlockFormat;
    ++m_paragraphs;
    ++m_length;
}

} // namespace platform
