#include "platform/richtext/rtfreader.h"

#include "platform/richtext/rtfparser.h"

namespace platform {

bool RtfReader::isRtf(QByteArrayView bytes)
{
    return bytes.startsWith("{\\rtf");
}

bool RtfReader::read(QByteArrayView bytes, QTextDocument &document) const
{
    RtfParser parser(document, m_limits);
    return parser.run(bytes);
}

} // namespace platform
