#pragma once

#include "platform/richtext/richtextlimits.h"

#include <QByteArrayView>

class QTextDocument;

namespace platform {

/**
 * Reads a plain text file into a QTextDocument: UTF-8 when the bytes are valid UTF-8 (a byte
 * order mark is dropped), else the ANSI code page; CR, LF and CR LF all end a line.
 */
class PlainTextReader
{
public:
    explicit PlainTextReader(RichTextLimits limits = {}) : m_limits(limits) {}

    /** Appends the text to `document`; false when a bound cut it short. */
    bool read(QByteArrayView bytes, QTextDocument &document) const;

private:
    RichTextLimits m_limits;
};

} // namespace platform
