#pragma once

#include "platform/richtext/richtextlimits.h"

#include <QByteArrayView>

class QTextDocument;

namespace platform {

/**
 * Replaces the content of a document with the text of a file: as RTF when the bytes begin
 * with "{\rtf", else as plain text. The undo history starts afresh.
 */
class RichTextLoader
{
public:
    explicit RichTextLoader(RichTextLimits limits = {}) : m_limits(limits) {}

    /** False when a bound cut the text short (what was read is shown). */
    bool load(QByteArrayView bytes, QTextDocument &document) const;

private:
    RichTextLimits m_limits;
};

} // namespace platform
