#pragma once

#include "platform/richtext/richtextlimits.h"

#include <QByteArrayView>

class QTextDocument;

namespace platform {

/**
 * Reads RTF, as WordPad and Word write it, into a QTextDocument.
 *
 * Fonts (with the code page of their `\fcharset`), colours, character and paragraph formats,
 * special characters, `\uN` text, tables (one paragraph per row, cells split by tabs) and
 * PNG, JPEG, DIB and metafile pictures are kept; the style sheet, `\info`, headers, footers
 * and every destination it does not know are skipped. Text in the "auto" colour and text
 * whose font the file does not name take the document's defaults, which the pane sets.
 *
 * The input is not trusted: see RichTextLimits for the bounds. Reading time is linear in the size.
 */
class RtfReader
{
public:
    explicit RtfReader(RichTextLimits limits = {}) : m_limits(limits) {}

    /** True when `bytes` starts as RTF does ("{\rtf"). */
    static bool isRtf(QByteArrayView bytes);

    /**
     * Appends the RTF in `bytes` to `document`. True when all of it was read; false when a
     * bound stopped the reading (what was read before stays in the document).
     */
    bool read(QByteArrayView bytes, QTextDocument &document) const;

private:
    RichTextLimits m_limits;
};

} // namespace platform
